#pragma once

#include "DataSource.h"

#include <QLineEdit>
#include <QVariant>

class FieldLink;
class FieldValidator;

// A data-aware single-line edit: shows its field of the current row (with the field's display format while not
// being typed in), writes what the user types into the row, and accepts input only in Insert or Edit. A number field
// writes only a text that is a whole number in the separators in force; a text left otherwise is refused with a
// message and the field goes back to the value it held before the typing.
class TDBEdit : public QLineEdit
{
    Q_OBJECT
    Q_PROPERTY(QString dataField READ dataField WRITE setDataField)
    Q_PROPERTY(bool upperCase READ upperCase WRITE setUpperCase)

public:
    explicit TDBEdit(QWidget *parent = nullptr);

    void bind(DataSource *source, const QString &field);
    void setDataSource(DataSource *source);
    DataSource *dataSource() const;
    void setDataField(const QString &field);
    QString dataField() const;
    bool upperCase() const { return m_upperCase; }
    void setUpperCase(bool upper);
    // The field's text becomes part of a file name: characters a file name cannot hold are refused.
    void setFileNamePart(bool part);
    // Refuses, with a message, a number field's text that is not a whole number, putting back the value held before
    // the typing; false when refused. Runs when the field loses the focus.
    bool commit();
    // Drops a text being typed: the field shows its stored value again, so leaving it refuses nothing.
    void discard() { refresh(); }

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void refresh();
    void configure();
    void store(const QString &text);
    bool numeric() const;

    FieldLink *m_link;
    FieldValidator *m_rules = nullptr;
    QString m_field;
    bool m_upperCase = false;
    bool m_fileNamePart = false;
    bool m_refreshing = false;
    bool m_committing = false;
    bool m_typingLeftForAWhile = false; // another window or a menu took the focus while the field was edited
    // The field's value when the typing began: what a refused text leaves in the row.
    QVariant m_beforeTyping;
};
