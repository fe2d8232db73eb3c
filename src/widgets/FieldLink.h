#pragma once

#include "DataSource.h"
#include "DictionaryClient.h"

#include <QObject>
#include <QPointer>
#include <functional>

// The link of one data-aware control to a field of a data source: it tells the control when to show the field
// again (the field changed, or the conventions its number or date is shown in) and whether the field may be written
// now.
class FieldLink : public QObject, public DictionaryClient
{
    Q_OBJECT

public:
    explicit FieldLink(QObject *control, std::function<void()> refresh);
    ~FieldLink() override;

    void bind(DataSource *source, const QString &field);
    DataSource *dataSource() const { return m_source; }
    QString field() const { return m_field; }
    EditBuffer *buffer() const { return m_source ? m_source->buffer() : nullptr; }
    // A current row is there to show.
    bool hasRow() const;
    // The buffer is in Insert or Edit: the control accepts input.
    bool editing() const;
    // Writes through the buffer; the refresh it causes is skipped while the control itself writes.
    void write(const std::function<void(EditBuffer &)> &change);
    bool writing() const { return m_writing; }

    void dictionaryChanged(bool languageChanged, bool localeChanged) override;

Q_SIGNALS:
    void editingChanged(bool editing);

private:
    QPointer<DataSource> m_source;
    QString m_field;
    std::function<void()> m_refresh;
    bool m_writing = false;
    QList<QMetaObject::Connection> m_connections;
};
