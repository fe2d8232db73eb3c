#pragma once

#include "DataSource.h"

#include <QPlainTextEdit>

class FieldLink;

// A data-aware memo: word-wrapped, vertical scroll bar always shown, lines stored separated by CR LF. Accepts input
// only in Insert or Edit, and only characters the carrier file can hold.
class TDBMemo : public QPlainTextEdit
{
    Q_OBJECT
    Q_PROPERTY(QString dataField READ dataField WRITE setDataField)

public:
    explicit TDBMemo(QWidget *parent = nullptr);

    void bind(DataSource *source, const QString &field);
    void setDataSource(DataSource *source);
    DataSource *dataSource() const;
    void setDataField(const QString &field);
    QString dataField() const { return m_field; }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    bool canInsertFromMimeData(const QMimeData *source) const override;
    void insertFromMimeData(const QMimeData *source) override;

private:
    void refresh();
    void store();

    FieldLink *m_link;
    QString m_field;
    bool m_refreshing = false;
};
