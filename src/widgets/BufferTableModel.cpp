#include "BufferTableModel.h"

#include "StoreError.h"
#include "TIvBinaryDictionary.h"

#include <QCoreApplication>

BufferTableModel::BufferTableModel(QObject *parent) : QAbstractTableModel(parent)
{
    TIvBinaryDictionary::instance().registerClient(this);
}

BufferTableModel::~BufferTableModel()
{
    TIvBinaryDictionary::instance().unregisterClient(this);
}

void BufferTableModel::dictionaryChanged(bool, bool localeChanged)
{
    if (localeChanged && rowCount() > 0 && columnCount() > 0)
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {Qt::DisplayRole});
}

void BufferTableModel::setBuffer(RowList *buffer)
{
    beginResetModel();
    for (const auto &c : std::as_const(m_connections))
        disconnect(c);
    m_connections.clear();
    m_buffer = buffer;
    if (buffer) {
        m_connections << connect(buffer, &RowList::rowsReset, this, [this] {
            m_failureReported = false;
            beginResetModel();
            endResetModel();
        }) << connect(buffer, &RowList::fieldChanged, this, [this] {
            const int row = m_buffer->currentIndex();
            if (row >= 0)
                Q_EMIT dataChanged(index(row, 0), index(row, columnCount() - 1));
        });
    }
    endResetModel();
}

void BufferTableModel::setFields(const QStringList &fields)
{
    beginResetModel();
    m_fields = fields;
    endResetModel();
}

void BufferTableModel::setTitles(const QStringList &titles)
{
    m_titles = titles;
    Q_EMIT headerDataChanged(Qt::Horizontal, 0, std::max(0, columnCount() - 1));
}

void BufferTableModel::setAlignments(const QList<Qt::Alignment> &alignments)
{
    m_alignments = alignments;
    if (rowCount() > 0)
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {Qt::TextAlignmentRole});
}

int BufferTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() || !m_buffer ? 0 : m_buffer->recordCount();
}

int BufferTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_fields.size());
}

QVariant BufferTableModel::data(const QModelIndex &index, int role) const
{
    if (!m_buffer || !index.isValid())
        return {};
    if (role == Qt::TextAlignmentRole && index.column() < m_alignments.size())
        return QVariant::fromValue(m_alignments.at(index.column()) | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    try {
        return m_buffer->displayTextAt(index.row(), m_fields.at(index.column()));
    } catch (const StoreError &error) {
        reportLater(error);
        return {};
    }
}

// A list that reads its rows from the store as they are shown can fail while the view paints. An exception must not
// leave a paint event, so the cell stays empty and the error is raised again from the event loop, where the general
// error display shows it: once until the list is read anew, since every repaint would meet it again. It is raised on
// the application, which outlives a window closed before its events are handled.
void BufferTableModel::reportLater(const StoreError &error) const
{
    if (m_failureReported)
        return;
    m_failureReported = true;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [error] { throw error; }, Qt::QueuedConnection);
}

QVariant BufferTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role == Qt::DisplayRole && orientation == Qt::Horizontal)
        return section < m_titles.size() ? m_titles[section] : m_fields.value(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}
