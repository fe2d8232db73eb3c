#include "DataSource.h"

DataSource::DataSource(EditBuffer *buffer, QObject *parent) : QObject(parent), m_buffer(buffer)
{
    connect(buffer, &EditBuffer::stateChanged, this, &DataSource::stateChanged);
}
