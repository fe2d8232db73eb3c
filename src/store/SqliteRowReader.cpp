#include "SqliteRowReader.h"

#include "Store.h"
#include "StoreError.h"
#include "TableDef.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <sqlite3.h>

namespace {
sqlite3 *handleOf(const QSqlDatabase &database)
{
    const QVariant handle = database.driver() ? database.driver()->handle() : QVariant();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        throw StoreError(QStringLiteral("Banco de dados não está aberto"));
    sqlite3 *db = *static_cast<sqlite3 *const *>(handle.constData());
    if (!db)
        throw StoreError(QStringLiteral("Banco de dados não está aberto"));
    return db;
}
} // namespace

SqliteRowReader::SqliteRowReader(const QSqlDatabase &database, const QString &sql, Store::Access access)
    : m_access(access)
{
    if (Store::dialect() == SqlDialect::Postgres) {
        m_query = std::make_unique<QSqlQuery>(database);
        if (!m_query->prepare(sql))
            throw Store::failure(m_query->lastError(), access);
        return;
    }
    sqlite3 *db = handleOf(database);
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(db, text.constData(), int(text.size()), &m_statement, nullptr) != SQLITE_OK) {
        const QSqlError error(QString(), QString::fromUtf8(sqlite3_errmsg(db)), QSqlError::StatementError,
                              QString::number(sqlite3_extended_errcode(db)));
        sqlite3_finalize(m_statement);
        throw Store::failure(error, access);
    }
    if (!m_statement) // only blanks or comments
        throw StoreError(QStringLiteral("Consulta sem comando SQL"));
}

SqliteRowReader::~SqliteRowReader()
{
    sqlite3_finalize(m_statement);
}

void SqliteRowReader::fail() const
{
    if (m_query)
        throw Store::failure(m_query->lastError(), m_access);
    sqlite3 *db = sqlite3_db_handle(m_statement);
    throw Store::failure(QSqlError(QString(), QString::fromUtf8(sqlite3_errmsg(db)), QSqlError::StatementError,
                                   QString::number(sqlite3_extended_errcode(db))),
                         m_access);
}

void SqliteRowReader::bind(const QString &name, const QVariant &value)
{
    if (m_query) {
        m_query->bindValue(QLatin1Char(':') + name, value);
        return;
    }
    const int position = sqlite3_bind_parameter_index(m_statement, (QLatin1Char(':') + name).toUtf8().constData());
    if (position == 0)
        throw StoreError(QStringLiteral("Parâmetro :%1 não existe na consulta").arg(name));
    bind(position, value);
}

void SqliteRowReader::bind(int position, const QVariant &value)
{
    if (m_query) {
        m_query->bindValue(position - 1, value);
        return;
    }
    int rc;
    if (!value.isValid() || value.isNull()) {
        rc = sqlite3_bind_null(m_statement, position);
    } else if (value.metaType() == QMetaType::fromType<StoredText>()) {
        const QByteArray bytes = value.value<StoredText>().bytes;
        rc = sqlite3_bind_text(m_statement, position, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
    } else {
        switch (value.typeId()) {
        case QMetaType::Bool:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
            rc = sqlite3_bind_int64(m_statement, position, value.toLongLong());
            break;
        case QMetaType::Double:
            rc = sqlite3_bind_double(m_statement, position, value.toDouble());
            break;
        case QMetaType::QByteArray: {
            const QByteArray bytes = value.toByteArray();
            rc = sqlite3_bind_blob(m_statement, position, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
            break;
        }
        default: {
            const QByteArray text = value.toString().toUtf8();
            rc = sqlite3_bind_text(m_statement, position, text.constData(), int(text.size()), SQLITE_TRANSIENT);
        }
        }
    }
    if (rc != SQLITE_OK)
        fail();
}

void SqliteRowReader::run() const
{
    if (m_ran)
        return;
    if (!m_query->exec())
        fail();
    m_ran = true;
}

QStringList SqliteRowReader::columnNames() const
{
    QStringList names;
    if (m_query) {
        // The server gives unquoted names in lower case; the tables' own spelling is kept for them.
        run();
        const QSqlRecord record = m_query->record();
        for (int i = 0; i < record.count(); ++i) {
            const ColumnDef *column = TableDef::findColumn(record.fieldName(i));
            names << (column ? column->name : record.fieldName(i));
        }
        return names;
    }
    const int count = sqlite3_column_count(m_statement);
    for (int i = 0; i < count; ++i)
        names << QString::fromUtf8(sqlite3_column_name(m_statement, i)).remove(QLatin1Char('"'));
    return names;
}

bool SqliteRowReader::next()
{
    if (m_query) {
        run();
        if (m_query->next())
            return true;
        if (m_query->lastError().isValid())
            fail();
        return false;
    }
    switch (sqlite3_step(m_statement)) {
    case SQLITE_ROW:
        return true;
    case SQLITE_DONE:
        return false;
    default:
        fail();
    }
}

int SqliteRowReader::changes() const
{
    if (m_query)
        return m_query->numRowsAffected();
    return sqlite3_changes(sqlite3_db_handle(m_statement));
}

void SqliteRowReader::reset()
{
    if (m_query) {
        m_query->finish();
        m_ran = false;
        return;
    }
    sqlite3_reset(m_statement);
}

bool SqliteRowReader::isNull(int column) const
{
    if (m_query)
        return m_query->isNull(column);
    return sqlite3_column_type(m_statement, column) == SQLITE_NULL;
}

qint64 SqliteRowReader::integer(int column) const
{
    if (m_query)
        return m_query->value(column).toLongLong();
    return sqlite3_column_int64(m_statement, column);
}

double SqliteRowReader::number(int column) const
{
    if (m_query)
        return m_query->value(column).toDouble();
    return sqlite3_column_double(m_statement, column);
}

QVariant SqliteRowReader::stored(int column) const
{
    if (m_query)
        return m_query->value(column);
    switch (sqlite3_column_type(m_statement, column)) {
    case SQLITE_NULL:
        return {};
    case SQLITE_INTEGER:
        return qlonglong(sqlite3_column_int64(m_statement, column));
    case SQLITE_FLOAT:
        return sqlite3_column_double(m_statement, column);
    case SQLITE_BLOB:
        return QByteArray(static_cast<const char *>(sqlite3_column_blob(m_statement, column)),
                          sqlite3_column_bytes(m_statement, column));
    default: {
        const QByteArray bytes(reinterpret_cast<const char *>(sqlite3_column_text(m_statement, column)),
                               sqlite3_column_bytes(m_statement, column));
        QString text = QString::fromUtf8(bytes);
        if (text.toUtf8() != bytes)
            return QVariant::fromValue(StoredText{bytes});
        return text;
    }
    }
}

QString SqliteRowReader::text(int column) const
{
    if (m_query)
        return m_query->value(column).toString();
    const auto *bytes = reinterpret_cast<const char *>(sqlite3_column_text(m_statement, column));
    return QString::fromUtf8(bytes, sqlite3_column_bytes(m_statement, column));
}

QByteArrayView SqliteRowReader::utf8(int column) const
{
    if (m_query) {
        const QVariant value = m_query->value(column);
        if (value.isNull())
            return {};
        m_utf8 = value.toString().toUtf8();
        return {m_utf8.constData(), m_utf8.size()};
    }
    return {reinterpret_cast<const char *>(sqlite3_column_text(m_statement, column)),
            sqlite3_column_bytes(m_statement, column)};
}
