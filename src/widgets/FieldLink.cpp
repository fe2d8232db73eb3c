#include "FieldLink.h"

#include "TIvBinaryDictionary.h"

FieldLink::FieldLink(QObject *control, std::function<void()> refresh) : QObject(control), m_refresh(std::move(refresh))
{
    TIvBinaryDictionary::instance().registerClient(this);
}

FieldLink::~FieldLink()
{
    TIvBinaryDictionary::instance().unregisterClient(this);
}

void FieldLink::dictionaryChanged(bool, bool localeChanged)
{
    // A number or date shown in the old conventions would read as another value ("1.234,500" in English); a field
    // without a row shows nothing to redo (the start's switch finds every field so).
    if (localeChanged && hasRow())
        m_refresh();
}

void FieldLink::bind(DataSource *source, const QString &field)
{
    for (const auto &c : std::as_const(m_connections))
        disconnect(c);
    m_connections.clear();
    m_source = source;
    m_field = field;
    if (source) {
        EditBuffer *b = source->buffer();
        m_connections << connect(b, &EditBuffer::currentChanged, this, [this] { m_refresh(); })
                      << connect(b, &EditBuffer::rowsReset, this, [this] { m_refresh(); })
                      << connect(b, &EditBuffer::fieldChanged, this,
                                 [this](const QString &column) {
                                     if (!m_writing && column.compare(m_field, Qt::CaseInsensitive) == 0)
                                         m_refresh();
                                 })
                      << connect(b, &EditBuffer::stateChanged, this, [this] {
                             Q_EMIT editingChanged(editing());
                             m_refresh();
                         });
    }
    Q_EMIT editingChanged(editing());
    m_refresh();
}

bool FieldLink::hasRow() const
{
    EditBuffer *b = buffer();
    return b && b->isOpen() && b->currentIndex() >= 0 && b->hasColumn(m_field);
}

bool FieldLink::editing() const
{
    return m_source && m_source->isEditing() && hasRow();
}

void FieldLink::write(const std::function<void(EditBuffer &)> &change)
{
    if (!editing())
        return;
    m_writing = true;
    try {
        change(*buffer());
    } catch (...) {
        m_writing = false;
        throw;
    }
    m_writing = false;
}
