#include "ListQuery.h"

#include "SqliteRowReader.h"
#include "Store.h"
#include "StoreError.h"
#include "StoredValue.h"

#include <QDate>
#include <QHash>
#include <algorithm>
#include <optional>

namespace {
// Rows read by one statement. Big enough to hold a screen of rows, small enough that reading them costs well under a
// millisecond.
constexpr int PageSize = 64;
constexpr int CachedRows = 32 * PageSize;
// Every so many rows, the sort column's value is kept at the open, so that a row's place is found in memory.
constexpr int FenceSpacing = 64;

// The test "the column starts with the bound prefix", case-sensitive and read through the column's index: GLOB on
// SQLite, LIKE on the server (whose text columns compare bytes, so LIKE is case-sensitive and uses the index there).
QString prefixTest()
{
    return Store::dialect() == SqlDialect::Sqlite ? QStringLiteral("GLOB ?") : QStringLiteral("LIKE ? ESCAPE '!'");
}

// A prefix as a pattern of prefixTest(): the pattern's own special characters stand for themselves.
QString prefixPattern(const QString &prefix)
{
    const bool glob = Store::dialect() == SqlDialect::Sqlite;
    QString pattern;
    pattern.reserve(prefix.size() + 1);
    for (const QChar c : prefix) {
        if (glob && (c == QLatin1Char('*') || c == QLatin1Char('?') || c == QLatin1Char('[')))
            pattern += QLatin1Char('[') + c + QLatin1Char(']');
        else if (!glob && (c == QLatin1Char('%') || c == QLatin1Char('_') || c == QLatin1Char('!')))
            pattern += QLatin1Char('!') + c;
        else
            pattern += c;
    }
    return pattern + (glob ? QLatin1Char('*') : QLatin1Char('%'));
}

// The order of ORDER BY: empty cells first, numbers by value, text by its UTF-8 bytes (SQLite's BINARY collation).
int storeOrder(const QVariant &a, const QVariant &b, ColumnType type)
{
    if (!a.isValid() || !b.isValid())
        return int(a.isValid()) - int(b.isValid());
    switch (type) {
    case ColumnType::Integer:
    case ColumnType::Logical:
        return (a.toLongLong() > b.toLongLong()) - (a.toLongLong() < b.toLongLong());
    case ColumnType::Number:
        return (a.toDouble() > b.toDouble()) - (a.toDouble() < b.toDouble());
    case ColumnType::Date:
        return (a.toDate() > b.toDate()) - (a.toDate() < b.toDate());
    default: {
        const QByteArray x = a.toString().toUtf8();
        const QByteArray y = b.toString().toUtf8();
        return (x > y) - (x < y);
    }
    }
}
} // namespace

ListQuery::ListQuery(const QString &name, const TableDef &table, const QStringList &columns, QObject *parent)
    : RowList(parent), m_name(name), m_table(table), m_columns(columns), m_pageSql(pageSql(PageSize)),
      m_rows(CachedRows)
{
    setObjectName(name);
    for (const QString &column : columns) {
        if (!table.column(column))
            throw StoreError(QStringLiteral("%1: campo '%2' não encontrado").arg(name, column));
        m_types << StoredValue::typeOf(column);
    }
    columnIndex(table.key); // the key must be shown: the list's rows are known by it
}

ListQuery::~ListQuery() = default;

void ListQuery::setOrder(const QString &column)
{
    if (!column.isEmpty() && !m_table.column(column))
        throw StoreError(QStringLiteral("%1: campo '%2' não encontrado").arg(m_name, column));
    m_order = column;
}

QString ListQuery::orderBy() const
{
    // Empty cells first on the server too, as SQLite puts them.
    const QString nulls = Store::dialect() == SqlDialect::Sqlite ? QString() : QStringLiteral(" NULLS FIRST");
    return m_order.isEmpty() ? m_table.key : m_order + nulls + QStringLiteral(", ") + m_table.key;
}

void ListQuery::open()
{
    close();
    // The sort column's values come through its index with the keys; only those of the fences are converted.
    const QString orderColumn = m_order.isEmpty() ? m_table.key : m_order;
    const ColumnType orderType = StoredValue::typeOf(orderColumn);
    SqliteRowReader reader(
        Store::database(),
        QStringLiteral("SELECT %1, %2 FROM %3 ORDER BY %4").arg(m_table.key, orderColumn, m_table.name, orderBy()));
    while (reader.next()) {
        if (!m_order.isEmpty() && m_keys.size() % FenceSpacing == 0)
            m_fences.push_back(StoredValue::read(reader, 1, orderType));
        m_keys.push_back(reader.integer(0));
    }
    m_current = m_keys.empty() ? -1 : 0;
    m_open = true;
    Q_EMIT rowsReset();
    Q_EMIT currentChanged();
}

void ListQuery::close()
{
    if (!m_open)
        return;
    m_open = false;
    m_keys = {};
    m_fences = {};
    m_rows.clear();
    m_current = -1;
    Q_EMIT rowsReset();
    Q_EMIT currentChanged();
}

void ListQuery::setCurrentIndex(int row)
{
    if (row < 0 || row >= recordCount() || row == m_current)
        return;
    m_current = row;
    Q_EMIT currentChanged();
}

int ListQuery::columnIndex(const QString &column) const
{
    // The grid asks for each cell by the column's name as the list has it: an exact comparison finds it quickly.
    if (const qsizetype exact = m_columns.indexOf(column); exact >= 0)
        return int(exact);
    for (int i = 0; i < m_columns.size(); ++i)
        if (m_columns[i].compare(column, Qt::CaseInsensitive) == 0)
            return i;
    throw StoreError(QStringLiteral("%1: campo '%2' não encontrado").arg(m_name, column));
}

const ListQuery::Row &ListQuery::rowAt(int row) const
{
    if (const Row *cells = m_rows.object(row))
        return *cells;
    // One statement reads the rows from this one on, or up to it when the grid is scrolled upwards (the row after
    // it read already), so that a screen of rows is one read wherever it starts.
    const int count = std::min(PageSize, recordCount());
    const int first = std::clamp(m_rows.contains(row + 1) ? row - count + 1 : row, 0, recordCount() - count);
    SqliteRowReader reader(Store::database(), count == PageSize ? m_pageSql : pageSql(count));
    for (int i = 0; i < count; ++i)
        reader.bind(i + 1, m_keys[size_t(first + i)]);
    const int keyColumn = columnIndex(m_table.key);
    QHash<qint64, Row> found;
    found.reserve(count);
    while (reader.next())
        found.insert(reader.integer(keyColumn), readRow(reader));
    for (int i = 0; i < count; ++i)
        m_rows.insert(first + i, new Row(found.take(m_keys[size_t(first + i)])));
    return *m_rows.object(row);
}

QString ListQuery::pageSql(int rows) const
{
    return QStringLiteral("SELECT %1 FROM %2 WHERE %3 IN (%4)")
        .arg(m_columns.join(QStringLiteral(", ")), m_table.name, m_table.key,
             QStringList(rows, QStringLiteral("?")).join(QLatin1Char(',')));
}

ListQuery::Row ListQuery::readRow(const SqliteRowReader &reader) const
{
    Row row{QList<Cell>(m_columns.size()), {}};
    row.texts.reserve(256);
    for (int c = 0; c < m_columns.size(); ++c) {
        const ColumnType type = m_types[c];
        if (type == ColumnType::Text || type == ColumnType::Memo) {
            if (const QByteArrayView bytes = reader.utf8(c); !bytes.isNull()) {
                row.texts += bytes;
                row.cells[c].textEnd = row.texts.size();
            }
        } else {
            row.cells[c].value = StoredValue::read(reader, c, type);
        }
    }
    return row;
}

QVariant ListQuery::valueAt(int row, const QString &column) const
{
    return cell(row, columnIndex(column));
}

QVariant ListQuery::cell(int row, int column) const
{
    if (row < 0 || row >= recordCount())
        return {};
    const Row &cells = rowAt(row);
    if (cells.cells.isEmpty())
        return {};
    const qsizetype end = cells.cells[column].textEnd;
    if (end < 0)
        return cells.cells[column].value;
    qsizetype start = 0;
    for (int c = column - 1; c >= 0 && start == 0; --c)
        start = std::max<qsizetype>(cells.cells[c].textEnd, 0);
    return QString::fromUtf8(QByteArrayView(cells.texts).sliced(start, end - start));
}

QString ListQuery::displayTextAt(int row, const QString &column) const
{
    const int c = columnIndex(column);
    return StoredValue::plainText(cell(row, c), m_types[c]);
}

QString ListQuery::text(const QString &column) const
{
    return displayTextAt(m_current, column);
}

qint64 ListQuery::integer(const QString &column) const
{
    return valueAt(m_current, column).toLongLong();
}

int ListQuery::positionOf(qint64 key) const
{
    const auto at = std::find(m_keys.begin(), m_keys.end(), key);
    return at == m_keys.end() ? -1 : int(at - m_keys.begin());
}

// Where a row stands in the list, knowing its value of the sort column: a binary search over the values kept at the
// open, then a look through the keys between two of them. A row whose value another connection changed since the
// open is not where its value says; the keys are then searched one by one.
int ListQuery::positionInOrder(qint64 key, const QVariant &value) const
{
    const ColumnType type = StoredValue::typeOf(m_order);
    size_t low = 0;
    size_t high = m_fences.size();
    while (low < high) {
        const size_t middle = low + (high - low) / 2;
        const int order = storeOrder(m_fences[middle], value, type);
        if (order < 0 || (order == 0 && m_keys[middle * FenceSpacing] <= key))
            low = middle + 1;
        else
            high = middle;
    }
    // `low` is the first fence after the row: the row is among the keys from the fence before it on.
    if (low > 0) {
        const auto from = m_keys.begin() + ptrdiff_t((low - 1) * FenceSpacing);
        const auto to = m_keys.begin() + ptrdiff_t(std::min(low * FenceSpacing, m_keys.size()));
        if (const auto at = std::find(from, to, key); at != to)
            return int(at - m_keys.begin());
    }
    return positionOf(key);
}

bool ListQuery::locate(const QString &column, const QString &prefix)
{
    if (!m_open)
        return false;
    columnIndex(column);
    const int row = firstMatch(column, prefix);
    if (row < 0)
        return false;
    setCurrentIndex(row);
    return true;
}

int ListQuery::firstMatch(const QString &column, const QString &prefix) const
{
    const QSqlDatabase db = Store::database();
    const QString pattern = prefixPattern(prefix);
    // Sorted by the searched column itself, the first match is a seek on its index.
    if (column.compare(m_order, Qt::CaseInsensitive) == 0) {
        SqliteRowReader seek(db, QStringLiteral("SELECT %1, %3 FROM %2 WHERE %3 %5 ORDER BY %4")
                                     .arg(m_table.key, m_table.name, column, orderBy(), prefixTest()));
        seek.bind(1, pattern);
        const ColumnType type = StoredValue::typeOf(column);
        while (seek.next())
            if (const int row = positionInOrder(seek.integer(0), StoredValue::read(seek, 1, type)); row >= 0)
                return row;
        return -1;
    }
    // Otherwise two readers take a row each in turn, so the jump costs about twice the cheaper of them:
    // - the rows in the list's order, each tested, stop at the first match: quick when matches are common;
    // - the matches read through the searched column's index, keeping the first in the list's order: quick when
    //   matches are rare.
    SqliteRowReader walk(
        db, QStringLiteral("SELECT %1, %2 FROM %3 ORDER BY %4").arg(m_table.key, column, m_table.name, orderBy()));
    const QString orderColumn = m_order.isEmpty() ? m_table.key : m_order;
    const ColumnType orderType = StoredValue::typeOf(orderColumn);
    SqliteRowReader matches(db, QStringLiteral("SELECT %1, %2 FROM %3 WHERE %4 %5")
                                    .arg(m_table.key, orderColumn, m_table.name, column, prefixTest()));
    matches.bind(1, pattern);
    // One row of the walk: false at its end; row is the row's position when it is a listed match, else -1.
    const auto walkOn = [&](int &row) {
        if (!walk.next())
            return false;
        row = walk.text(1).startsWith(prefix, Qt::CaseSensitive) ? positionOf(walk.integer(0)) : -1;
        return true;
    };
    std::optional<std::pair<QVariant, qint64>> first;
    int row = -1;
    while (true) {
        if (!walkOn(row))
            return -1; // the whole list walked: nothing matches
        if (row >= 0)
            return row;
        if (!matches.next())
            break;
        const QVariant value = StoredValue::read(matches, 1, orderType);
        const qint64 key = matches.integer(0);
        const int order = first ? storeOrder(value, first->first, orderType) : -1;
        if (order < 0 || (order == 0 && key < first->second))
            first = {value, key};
    }
    if (!first)
        return -1;
    if ((row = positionOf(first->second)) >= 0)
        return row;
    // The first match was added after the list was read: the first listed match comes later in the walk.
    while (walkOn(row))
        if (row >= 0)
            return row;
    return -1;
}
