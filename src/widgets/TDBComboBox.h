#pragma once

#include "DataSource.h"

#include <QComboBox>

class FieldLink;

// A data-aware editable drop-down: its text is the field's value; the entries are offers, any other text may be
// typed. Changes nothing unless the buffer is in Insert or Edit.
class TDBComboBox : public QComboBox
{
    Q_OBJECT
    Q_PROPERTY(QString dataField READ dataField WRITE setDataField)

public:
    explicit TDBComboBox(QWidget *parent = nullptr);

    void bind(DataSource *source, const QString &field);
    void setDataSource(DataSource *source);
    DataSource *dataSource() const;
    void setDataField(const QString &field);
    QString dataField() const { return m_field; }
    void showPopup() override;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void refresh();
    void store(const QString &text);

    FieldLink *m_link;
    QString m_field;
    bool m_refreshing = false;
};
