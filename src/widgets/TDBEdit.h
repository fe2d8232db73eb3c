#pragma once

#include "DataSource.h"

#include <QLineEdit>

class FieldLink;

// A data-aware single-line edit: shows its field of the current row (with the field's display format while not
// being typed in), writes what the user types into the row, and accepts input only in Insert or Edit.
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
    QString m_field;
    bool m_upperCase = false;
    bool m_refreshing = false;
};
