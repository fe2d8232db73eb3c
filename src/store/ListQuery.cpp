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
// Rows read by one statement. Big enough that scrolling a screen reads at most one page, small enough that reading
// one costs well under a millisecond.
constexpr int PageSize = 64;
constexpr int CachedPages = 32;

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
    : RowList(parent), m_name(name), m_table(table), m_columns(columns), m_pages(CachedPages)
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
    SqliteRowReader reader(Store::database(),
                           QStringLiteral("SELECT %1 FROM %2 ORDER BY %3").arg(m_table.key, m_table.name, orderBy()));
    while (reader.next())
        m_keys.push_back(reader.integer(0));
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
    m_pages.clear();
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
    for (int i = 0; i < m_columns.size(); ++i)
        if (m_columns[i].compare(column, Qt::CaseInsensitive) == 0)
            return i;
    throw StoreError(QStringLiteral("%1: campo '%2' não encontrado").arg(m_name, column));
}

const ListQuery::Row &ListQuery::rowAt(int row) const
{
    const int page = row / PageSize;
    const int first = page * PageSize;
    if (const QList<Row> *rows = m_pages.object(page))
        return rows->at(row - first);
    const int count = std::min(PageSize, recordCount() - first);
    QStringList marks(count, QStringLiteral("?"));
    SqliteRowReader reader(Store::database(), QStringLiteral("SELECT %1 FROM %2 WHERE %3 IN (%4)")
                                                  .arg(m_columns.join(QStringLiteral(", ")), m_table.name, m_table.key,
                                                       marks.join(QLatin1Char(','))));
    for (int i = 0; i < count; ++i)
        reader.bind(i + 1, m_keys[first + i]);
    const int keyColumn = columnIndex(m_table.key);
    QHash<qint64, Row> found;
    while (reader.next()) {
        Row cells(m_columns.size());
        for (int c = 0; c < m_columns.size(); ++c)
            cells[c] = StoredValue::read(reader, c, m_types[c]);
        found.insert(reader.integer(keyColumn), std::move(cells));
    }
    auto *rows = new QList<Row>;
    rows->reserve(count);
    for (int i = 0; i < count; ++i)
        rows->append(found.value(m_keys[first + i], Row(m_columns.size())));
    m_pages.insert(page, rows);
    return rows->at(row - first);
}

QVariant ListQuery::valueAt(int row, const QString &column) const
{
    const int c = columnIndex(column);
    if (row < 0 || row >= recordCount())
        return {};
    return rowAt(row).at(c);
}

QString ListQuery::displayTextAt(int row, const QString &column) const
{
    return StoredValue::plainText(valueAt(row, column), m_types[columnIndex(column)]);
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

// Where a row stands in the list, knowing its value of the sort column: a binary search that reads the value of one
// listed row per step. A row deleted since the open has no value and spoils the search; the keys are then searched one
// by one.
int ListQuery::positionInOrder(qint64 key, const QVariant &value) const
{
    const ColumnType type = StoredValue::typeOf(m_order);
    SqliteRowReader probe(Store::database(),
                          QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?").arg(m_order, m_table.name, m_table.key));
    int low = 0;
    int high = recordCount();
    while (low < high) {
        const int middle = low + (high - low) / 2;
        const qint64 middleKey = m_keys[size_t(middle)];
        probe.reset();
        probe.bind(1, middleKey);
        if (!probe.next())
            return positionOf(key);
        const int order = storeOrder(StoredValue::read(probe, 0, type), value, type);
        if (order < 0 || (order == 0 && middleKey < key))
            low = middle + 1;
        else
            high = middle;
    }
    return low < recordCount() && m_keys[size_t(low)] == key ? low : positionOf(key);
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
