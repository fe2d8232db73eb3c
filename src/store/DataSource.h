#pragma once

#include "EditBuffer.h"

#include <QObject>

// Binds data-aware controls to an edit buffer. Never starts editing by itself.
class DataSource : public QObject
{
    Q_OBJECT

public:
    explicit DataSource(EditBuffer *buffer, QObject *parent = nullptr);
    EditBuffer *buffer() const { return m_buffer; }
    EditBuffer::State state() const { return m_buffer->state(); }
    bool isEditing() const { return state() == EditBuffer::Edit || state() == EditBuffer::Insert; }

Q_SIGNALS:
    void stateChanged(EditBuffer::State state);

private:
    EditBuffer *m_buffer;
};
