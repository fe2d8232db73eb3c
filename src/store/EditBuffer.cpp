#include "EditBuffer.h"

#include "Formats.h"
#include "SqliteRowReader.h"
#include "Store.h"
#include "StoreError.h"
#include "StoredValue.h"
#include "TranslateText.h"
#include "UpdateSql.h"

#include <QRegularExpression>
#include <QSet>
#include <algorithm>

namespace {
using StoredValue::plainText;
using StoredValue::typeOf;

QString lines(const QStringList &sql)
{
    return sql.join(QLatin1Char('\n'));
}

QVariant toStore(const QVariant &value, ColumnType type)
{
    if (value.isNull() || !value.isValid())
        return {};
    switch (type) {
    case ColumnType::Logical:
        return value.toBool() ? 1 : 0;
    case ColumnType::Date:
        return value.toDate().toString(Qt::ISODate);
    default:
        return value;
    }
}

QVariant coerce(const QVariant &value, ColumnType type)
{
    if (!value.isValid() || value.isNull())
        return {};
    switch (type) {
    case ColumnType::Integer:
        return value.toLongLong();
    case ColumnType::Number:
        return value.toDouble();
    case ColumnType::Logical:
        if (value.typeId() == QMetaType::QString)
            return value.toString().compare(QLatin1String("True"), Qt::CaseInsensitive) == 0;
        return value.toBool();
    case ColumnType::Date: {
        const QDate date = value.toDate();
        return date.isValid() ? QVariant(date) : QVariant();
    }
    default: {
        const QString text = value.toString();
        return text.isEmpty() ? QVariant() : QVariant(text);
    }
    }
}

const QRegularExpression &placeholderPattern()
{
    static const QRegularExpression pattern(QStringLiteral(":([A-Za-z_][A-Za-z0-9_]*)"));
    return pattern;
}
} // namespace

EditBuffer::EditBuffer(const QString &name, QObject *parent) : RowList(parent), m_name(name)
{
    setObjectName(name);
}

EditBuffer::~EditBuffer() = default;

void EditBuffer::setUpdateObject(const UpdateSql *update)
{
    m_update = update;
}

void EditBuffer::setSql(const QStringList &sqlLines)
{
    if (isOpen())
        close();
    m_sql = sqlLines;
}

void EditBuffer::setPp1(qint64 code)
{
    m_pp1 = code;
}

void EditBuffer::open()
{
    if (isOpen())
        close();
    const QString sql = lines(m_sql);
    SqliteRowReader reader(Store::database(), sql);
    const Row none;
    for (const auto &[name, value] : parameters(sql, none, none))
        reader.bind(name, value);
    m_columns = reader.columnNames();
    m_types.clear();
    m_index.clear();
    for (int i = 0; i < m_columns.size(); ++i) {
        m_types << typeOf(m_columns[i]);
        m_index.insert(key(m_columns[i]), i);
    }
    m_rows.clear();
    m_stored.clear();
    const int width = int(m_columns.size());
    while (reader.next()) {
        Row row(width);
        Row stored(width);
        for (int i = 0; i < width; ++i) {
            stored[i] = reader.stored(i); // first: reading as the declared type may convert the cell in place
            row[i] = StoredValue::read(reader, i, m_types[i]);
        }
        m_rows.append(std::move(row));
        m_stored.append(std::move(stored));
    }
    m_current = m_rows.isEmpty() ? -1 : 0;
    m_eof = m_rows.isEmpty();
    m_pending = Pending::None;
    setState(Browse);
    Q_EMIT rowsReset();
    Q_EMIT currentChanged();
}

void EditBuffer::close()
{
    if (!isOpen())
        return;
    m_rows.clear();
    m_stored.clear();
    m_current = -1;
    m_eof = true;
    m_pending = Pending::None;
    setState(Closed);
    Q_EMIT rowsReset();
    Q_EMIT currentChanged();
}

int EditBuffer::execSql()
{
    return runStatement(lines(m_sql), Row(), Row());
}

void EditBuffer::first()
{
    m_current = m_rows.isEmpty() ? -1 : 0;
    m_eof = m_rows.isEmpty();
    Q_EMIT currentChanged();
}

void EditBuffer::next()
{
    if (m_current + 1 < m_rows.size()) {
        ++m_current;
        Q_EMIT currentChanged();
    } else {
        m_eof = true;
    }
}

bool EditBuffer::eof() const
{
    return m_eof;
}

void EditBuffer::setCurrentIndex(int row)
{
    if (row < 0 || row >= m_rows.size() || row == m_current)
        return;
    if (m_state == Edit || m_state == Insert)
        throw StoreError(QStringLiteral("Registro em edição: confirme ou cancele antes de mudar de registro."));
    m_current = row;
    m_eof = false;
    Q_EMIT currentChanged();
}

bool EditBuffer::hasColumn(const QString &column) const
{
    return m_index.contains(key(column));
}

ColumnType EditBuffer::columnType(const QString &column) const
{
    const auto it = m_index.constFind(key(column));
    return it == m_index.constEnd() ? typeOf(column) : m_types[it.value()];
}

int EditBuffer::columnIndex(const QString &column) const
{
    const auto it = m_index.constFind(key(column));
    if (it == m_index.constEnd())
        throw StoreError(QStringLiteral("%1: campo '%2' não encontrado").arg(m_name, column));
    return it.value();
}

QVariant EditBuffer::value(const QString &column) const
{
    return valueAt(m_current, column);
}

QVariant EditBuffer::valueAt(int row, const QString &column) const
{
    const int c = columnIndex(column);
    if (row < 0 || row >= m_rows.size())
        return {};
    return m_rows[row][c];
}

bool EditBuffer::isNull(const QString &column) const
{
    return !value(column).isValid();
}

QString EditBuffer::text(const QString &column) const
{
    return plainText(value(column), columnType(column));
}

QString EditBuffer::textBeforeChange(const QString &column) const
{
    if (m_state != Edit)
        return text(column);
    return plainText(m_editRow.value(columnIndex(column)), columnType(column));
}

qint64 EditBuffer::integer(const QString &column) const
{
    const QVariant v = value(column);
    if (columnType(column) != ColumnType::Number)
        return v.toLongLong();
    // Whole part of a number, held to the range a key can take (a double beyond it has no integer value).
    constexpr double limit = 9.2e18;
    return qint64(std::clamp(v.toDouble(), -limit, limit));
}

double EditBuffer::number(const QString &column) const
{
    return value(column).toDouble();
}

bool EditBuffer::logical(const QString &column) const
{
    return value(column).toBool();
}

QString EditBuffer::logicalText(const QString &column) const
{
    const QVariant v = value(column);
    if (!v.isValid())
        return {};
    return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
}

QDate EditBuffer::date(const QString &column) const
{
    return value(column).toDate();
}

void EditBuffer::requireEditing(const char *action) const
{
    if (m_state != Edit && m_state != Insert)
        throw StoreError(QStringLiteral("%1: %2 sem estar em inclusão ou edição").arg(m_name, QLatin1String(action)));
}

void EditBuffer::setValue(const QString &column, const QVariant &newValue)
{
    requireEditing("gravação de campo");
    const int c = columnIndex(column);
    const QVariant v = coerce(newValue, m_types[c]);
    QVariant &slot = m_rows[m_current][c];
    if (slot == v && slot.isValid() == v.isValid())
        return;
    slot = v;
    Q_EMIT fieldChanged(m_columns[c]);
}

void EditBuffer::setText(const QString &column, const QString &text)
{
    setValue(column, text);
}

void EditBuffer::setInteger(const QString &column, qint64 value)
{
    setValue(column, value);
}

void EditBuffer::setNumber(const QString &column, double value)
{
    setValue(column, value);
}

void EditBuffer::setLogical(const QString &column, bool value)
{
    setValue(column, value);
}

void EditBuffer::setDate(const QString &column, const QDate &date)
{
    setValue(column, date);
}

void EditBuffer::clearField(const QString &column)
{
    setValue(column, QVariant());
}

void EditBuffer::setDisplayFormat(const QString &column, const QString &pattern)
{
    if (m_formats.value(key(column)) == pattern)
        return;
    m_formats.insert(key(column), pattern);
    // Controls already showing the field must show it in the new format.
    Q_EMIT fieldChanged(column);
}

QString EditBuffer::displayFormat(const QString &column) const
{
    return m_formats.value(key(column));
}

QString EditBuffer::displayText(const QString &column) const
{
    return displayTextAt(m_current, column);
}

QString EditBuffer::displayTextAt(int row, const QString &column) const
{
    const QVariant v = valueAt(row, column);
    if (!v.isValid())
        return {};
    const QString pattern = displayFormat(column);
    const ColumnType type = columnType(column);
    if (!pattern.isEmpty() && (type == ColumnType::Number || type == ColumnType::Integer))
        return Formats::formatNumber(v.toDouble(), pattern);
    if (!pattern.isEmpty() && type == ColumnType::Date)
        return Formats::formatDate(v.toDate(), pattern);
    return plainText(v, type);
}

void EditBuffer::setState(State state)
{
    if (m_state == state)
        return;
    m_state = state;
    Q_EMIT stateChanged(state);
}

void EditBuffer::insert()
{
    if (m_state != Browse)
        throw StoreError(QStringLiteral("%1: inclusão só é possível com o registro em visualização").arg(m_name));
    if (!m_update)
        throw StoreError(QStringLiteral("%1: consulta somente para leitura").arg(m_name));
    const Row row(m_columns.size());
    m_insertedAt = std::max(m_current, 0);
    m_rows.insert(m_insertedAt, row);
    m_stored.insert(m_insertedAt, Row());
    m_current = m_insertedAt;
    m_eof = false;
    setState(Insert);
    Q_EMIT rowsReset();
    Q_EMIT currentChanged();
}

void EditBuffer::edit()
{
    if (m_state == Edit)
        return;
    if (m_state != Browse || m_current < 0)
        throw StoreError(QStringLiteral("%1: não há registro para editar").arg(m_name));
    if (!m_update)
        throw StoreError(QStringLiteral("%1: consulta somente para leitura").arg(m_name));
    m_editRow = m_rows[m_current];
    setState(Edit);
}

void EditBuffer::cancel()
{
    if (m_state == Insert) {
        m_rows.removeAt(m_insertedAt);
        m_stored.removeAt(m_insertedAt);
        m_current = m_rows.isEmpty() ? -1 : std::min(m_insertedAt, int(m_rows.size()) - 1);
        m_eof = m_rows.isEmpty();
        setState(Browse);
        Q_EMIT rowsReset();
        Q_EMIT currentChanged();
    } else if (m_state == Edit) {
        m_rows[m_current] = m_editRow;
        setState(Browse);
        Q_EMIT currentChanged();
    }
}

void EditBuffer::post(const std::function<void()> &beforeApply)
{
    requireEditing("confirmação");
    // A failed apply puts everything back as it was before the post: the clerk keeps the typed values, still in
    // Insert or Edit, and can correct and confirm again or cancel. Nothing is written (the transaction rolls back).
    const State before = m_state;
    const Row typed = m_rows[m_current];
    const Row stored = m_stored[m_current];
    WriteTransaction transaction;
    try {
        if (beforeApply)
            beforeApply();
        m_pending = before == Insert ? Pending::Inserted : Pending::Modified;
        m_oldRow = before == Insert ? Row() : m_stored[m_current];
        m_state = Browse;
        applyUpdates();
        commitUpdates();
        transaction.commit();
    } catch (...) {
        m_pending = Pending::None;
        m_state = before;
        m_rows[m_current] = typed;
        // The row re-read before a failed commit was never stored: the next try must find the row as first read.
        m_stored[m_current] = stored;
        Q_EMIT currentChanged();
        throw;
    }
    Q_EMIT stateChanged(Browse);
    Q_EMIT currentChanged();
}

void EditBuffer::deleteCurrent()
{
    if (m_state != Browse || m_current < 0)
        throw StoreError(QStringLiteral("%1: não há registro para excluir").arg(m_name));
    if (!m_update)
        throw StoreError(QStringLiteral("%1: consulta somente para leitura").arg(m_name));
    const int index = m_current;
    m_oldRow = m_stored[index];
    m_pending = Pending::Deleted;
    WriteTransaction transaction;
    try {
        applyUpdates();
        commitUpdates();
        transaction.commit();
    } catch (...) {
        m_pending = Pending::None;
        throw;
    }
    m_rows.removeAt(index);
    m_stored.removeAt(index);
    m_current = m_rows.isEmpty() ? -1 : std::min(index, int(m_rows.size()) - 1);
    m_eof = m_rows.isEmpty();
    Q_EMIT rowsReset();
    Q_EMIT currentChanged();
}

QList<std::pair<QString, QVariant>> EditBuffer::parameters(const QString &sql, const Row &newValues,
                                                           const Row &oldValues) const
{
    QList<std::pair<QString, QVariant>> values;
    QSet<QString> seen;
    auto it = placeholderPattern().globalMatch(sql);
    while (it.hasNext()) {
        const QString name = it.next().captured(1);
        if (seen.contains(name))
            continue;
        seen.insert(name);
        if (name == QLatin1String("pp1")) {
            values.append({name, m_pp1});
            continue;
        }
        const bool old = name.startsWith(QLatin1String("OLD_"));
        const QString column = old ? name.mid(4) : name;
        const Row &source = old ? oldValues : newValues;
        const auto found = m_index.constFind(key(column));
        if (source.isEmpty() || found == m_index.constEnd())
            throw StoreError(QStringLiteral("%1: parâmetro :%2 sem valor").arg(m_name, name));
        values.append({name, source[found.value()]});
    }
    return values;
}

EditBuffer::Row EditBuffer::rowToWrite(bool inserted) const
{
    const Row &typed = m_rows[m_current];
    const Row &stored = m_stored[m_current];
    Row row(typed.size());
    for (int c = 0; c < typed.size(); ++c) {
        const bool unchanged =
            !inserted && c < stored.size() && typed[c] == m_editRow[c] && typed[c].isValid() == m_editRow[c].isValid();
        row[c] = unchanged ? stored[c] : toStore(typed[c], m_types[c]);
    }
    return row;
}

// Run on the store's own statement, which binds a text as its exact bytes (see StoredText).
int EditBuffer::runStatement(const QString &sql, const Row &newValues, const Row &oldValues) const
{
    SqliteRowReader statement(Store::database(), sql, Store::Writing);
    for (const auto &[name, value] : parameters(sql, newValues, oldValues))
        statement.bind(name, value);
    statement.next();
    return statement.changes();
}

void EditBuffer::runUpdate(const QStringList &sqlLines, const Row &newValues, const Row &oldValues)
{
    if (runStatement(lines(sqlLines), newValues, oldValues) != 1)
        throw StoreError(
            QStringLiteral("Update failed\n") +
            TranslateText(QStringLiteral("O registro foi alterado ou excluído por outro usuário. Abra-o novamente.")));
}

void EditBuffer::applyUpdates()
{
    if (!m_update)
        throw StoreError(QStringLiteral("%1: consulta somente para leitura").arg(m_name));
    switch (m_pending) {
    case Pending::Inserted:
        runUpdate(m_update->insertSql(), rowToWrite(true), Row());
        break;
    case Pending::Modified:
        runUpdate(m_update->modifySql(), rowToWrite(false), m_oldRow);
        break;
    case Pending::Deleted:
        runUpdate(m_update->deleteSql(), Row(), m_oldRow);
        break;
    case Pending::None:
        break;
    }
}

void EditBuffer::commitUpdates()
{
    if (m_pending != Pending::Deleted && m_current >= 0 && m_update) {
        auto [typed, stored] = readRowByKey(m_rows[m_current][columnIndex(m_update->table().key)]);
        if (!typed.isEmpty()) {
            m_rows[m_current] = std::move(typed);
            m_stored[m_current] = std::move(stored);
        }
    }
    m_pending = Pending::None;
    m_oldRow.clear();
}

std::pair<EditBuffer::Row, EditBuffer::Row> EditBuffer::readRowByKey(const QVariant &keyValue) const
{
    const TableDef &table = m_update->table();
    SqliteRowReader reader(Store::database(),
                           QStringLiteral("SELECT * FROM %1 WHERE %2 = ?").arg(table.name, table.key));
    reader.bind(1, keyValue);
    Row row;
    Row stored;
    if (reader.next()) {
        QHash<QString, int> positions;
        const QStringList names = reader.columnNames();
        for (int i = 0; i < names.size(); ++i)
            positions.insert(key(names[i]), i);
        for (int i = 0; i < m_columns.size(); ++i) {
            const int at = positions.value(key(m_columns[i]), -1);
            stored << (at < 0 ? QVariant() : reader.stored(at));
            row << (at < 0 ? QVariant() : StoredValue::read(reader, at, m_types[i]));
        }
    }
    return {row, stored};
}
