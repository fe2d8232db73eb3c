#pragma once

#include "DataSource.h"

#include <QLineEdit>

class FieldLink;

// A data-aware date edit: day, month and four-digit year ("DD/MM/YYYY"), "_" in the positions not typed yet.
// An empty edit stores no date; a date that does not exist (31/02/2024) is refused with a message and nothing is
// stored.
class TDBDateEdit : public QLineEdit
{
    Q_OBJECT
    Q_PROPERTY(QString dataField READ dataField WRITE setDataField)

public:
    explicit TDBDateEdit(QWidget *parent = nullptr);

    void bind(DataSource *source, const QString &field);
    void setDataSource(DataSource *source);
    DataSource *dataSource() const;
    void setDataField(const QString &field);
    QString dataField() const { return m_field; }
    // Takes the typed date into the row; false (after the message) when it is not a real date.
    bool commit();
    // Drops a date being typed: the field shows its stored date again, so leaving it refuses nothing.
    void discard() { refresh(); }

protected:
    void focusOutEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    void refresh();

    FieldLink *m_link;
    QString m_field;
    bool m_committing = false;
};
