#include "Store.h"

#include "ServerAddress.h"
#include "StoreError.h"
#include "TableDef.h"
#include "TranslateText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>
#include <optional>
#include <sys/stat.h>

namespace {
const QString Connection = QStringLiteral("dalvora");
int transactionDepth = 0;
SqlDialect openDialect = SqlDialect::Sqlite;
QString serverDescription;
// Set by the error of a statement whose connection to the server broke; the next action opens it again.
bool connectionLost = false;
// The key of the server lock that one write transaction at a time holds, as SQLite lets one writer at a time.
constexpr qint64 WriterLock = 0x44414c56; // "DALV"
// The identity of the file the connection writes to, so that a file deleted or replaced while the program runs is
// noticed before anything is written into a file nobody will read again.
struct FileIdentity
{
    dev_t device = 0;
    ino_t inode = 0;
    bool operator==(const FileIdentity &) const = default;
};
FileIdentity openedFile;

std::optional<FileIdentity> identityOf(const QString &path)
{
    struct stat info;
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return std::nullopt;
    return FileIdentity{info.st_dev, info.st_ino};
}

void execOrThrow(const QString &sql, const QString &what)
{
    QSqlQuery query(Store::database());
    if (!query.exec(sql))
        throw StoreError(what + QStringLiteral(": ") + query.lastError().text());
}

QString T(const char *native)
{
    return TranslateText(QString::fromUtf8(native));
}

QStringList namesOf(const QString &sql, const QString &bound = {})
{
    QSqlQuery query(Store::database());
    if (!query.prepare(sql))
        throw Store::failure(query.lastError());
    if (!bound.isNull())
        query.addBindValue(bound);
    if (!query.exec())
        throw Store::failure(query.lastError());
    QStringList names;
    while (query.next())
        names << query.value(0).toString();
    return names;
}

QStringList tableNames()
{
    if (openDialect == SqlDialect::Sqlite)
        return namesOf(
            QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%'"));
    return namesOf(QStringLiteral("SELECT table_name FROM information_schema.tables "
                                  "WHERE table_schema = current_schema() AND table_type = 'BASE TABLE'"));
}

QStringList columnNames(const QString &table)
{
    if (openDialect == SqlDialect::Sqlite)
        return namesOf(QStringLiteral("SELECT name FROM pragma_table_info(?)"), table);
    return namesOf(QStringLiteral("SELECT column_name FROM information_schema.columns "
                                  "WHERE table_schema = current_schema() AND table_name = ?"),
                   table);
}

// Why the file cannot hold the program's tables, or nothing when it can: a table of ours with other columns, or a
// file whose tables are all someone else's. Checked before anything is written into the file.
QString foreignShape()
{
    const QStringList tables = tableNames();
    bool anyOurs = false;
    for (const TableDef *table : TableDef::all()) {
        const auto found = std::find_if(tables.begin(), tables.end(), [table](const QString &name) {
            return name.compare(table->name, Qt::CaseInsensitive) == 0;
        });
        if (found == tables.end())
            continue;
        anyOurs = true;
        QStringList missing = table->columnNames();
        QStringList extra;
        for (const QString &column : columnNames(*found)) {
            const auto at = std::find_if(missing.begin(), missing.end(), [&column](const QString &name) {
                return name.compare(column, Qt::CaseInsensitive) == 0;
            });
            if (at == missing.end())
                extra << column;
            else
                missing.erase(at);
        }
        QStringList wrong;
        if (!missing.isEmpty())
            wrong << T("faltam as colunas") + QLatin1Char(' ') + missing.join(QStringLiteral(", "));
        if (!extra.isEmpty())
            wrong << T("colunas desconhecidas") + QLatin1Char(' ') + extra.join(QStringLiteral(", "));
        if (!wrong.isEmpty())
            return T("Tabela") + QLatin1Char(' ') + *found + QStringLiteral(": ") + wrong.join(QStringLiteral("; "));
    }
    if (!tables.isEmpty() && !anyOurs)
        return openDialect == SqlDialect::Sqlite ? T("O arquivo não contém as tabelas deste programa")
                                                 : T("O banco de dados não contém as tabelas deste programa");
    return {};
}

// A file or folder that cannot be written is told at start, not at the clerk's first Confirmar: one page is changed
// and rolled back, which needs what every later write needs (the file, and its journal beside it).
void probeWriting()
{
    if (openDialect == SqlDialect::Postgres) {
        // Taking the lock that every insert, update and delete takes needs the rights to write each table, and fails
        // on a server that only reads; it changes nothing.
        WriteTransaction transaction;
        QStringList names;
        for (const TableDef *table : TableDef::all())
            names << table->name;
        QSqlQuery lock(Store::database());
        if (!lock.exec(QStringLiteral("LOCK TABLE %1 IN ROW EXCLUSIVE MODE").arg(names.join(QStringLiteral(", ")))))
            throw Store::failure(lock.lastError());
        return;
    }
    QSqlQuery read(Store::database());
    if (!read.exec(QStringLiteral("PRAGMA user_version")) || !read.next())
        throw Store::failure(read.lastError());
    const int version = read.value(0).toInt();
    read.finish();
    WriteTransaction transaction; // never committed: rolled back when it goes
    QSqlQuery write(Store::database());
    if (!write.exec(QStringLiteral("PRAGMA user_version = %1").arg(version ^ 1)))
        throw Store::failure(write.lastError());
}
} // namespace

void Store::open(const QString &folder)
{
    if (const QString uri = qEnvironmentVariable(ServerSetting); !uri.isEmpty()) {
        openServer(uri);
        return;
    }
    close();
    const QString path = QDir(folder).absoluteFilePath(QString::fromLatin1(FileName));
    const QString cannot =
        TranslateText(QStringLiteral("Não foi possível abrir o banco de dados")) + QLatin1Char(' ') + path;
    if (QFileInfo(path).isDir())
        throw StoreError(cannot);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), Connection);
    db.setDatabaseName(path);
    // A store busy with another writer is retried for a short time before the error is shown.
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=3000"));
    if (!db.open()) {
        const QString error = db.lastError().text();
        close();
        throw StoreError(cannot + QStringLiteral(": ") + error);
    }
    try {
        execOrThrow(QStringLiteral("PRAGMA synchronous = FULL"), cannot);
        // Reading the schema fails at once on a file that is not a database; the write transaction fails on a
        // read-only or locked one, so the program stops before anything is changed.
        execOrThrow(QStringLiteral("SELECT count(*) FROM sqlite_master"), cannot);
        openedFile = identityOf(path).value_or(FileIdentity{});
        createTables(cannot);
    } catch (...) {
        close();
        throw;
    }
}

void Store::openServer(const QString &uri)
{
    close();
    const ServerAddress address = ServerAddress::parse(uri);
    const QString cannot = TranslateText(QStringLiteral("Não foi possível abrir o banco de dados")) + QLatin1Char(' ') +
                           address.description();
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL")))
        throw StoreError(cannot + QStringLiteral(": QPSQL (libqt6sql6-psql)"));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), Connection);
    address.configure(db);
    openDialect = SqlDialect::Postgres;
    serverDescription = address.description();
    if (const QSqlError error = openConnection(db); error.isValid()) {
        close();
        throw StoreError(cannot + QStringLiteral(": ") + error.text());
    }
    try {
        createTables(cannot);
    } catch (...) {
        close();
        throw;
    }
}

QSqlError Store::openConnection(QSqlDatabase &db)
{
    if (!db.open())
        return db.lastError();
    // A store busy with another writer is waited for a short time before the error is shown, as with the file.
    QSqlQuery wait(db);
    return wait.exec(QStringLiteral("SET lock_timeout = 3000")) ? QSqlError() : wait.lastError();
}

void Store::createTables(const QString &cannot)
{
    // Nothing is written into a store whose tables are not ours.
    if (const QString foreign = foreignShape(); !foreign.isEmpty())
        throw StoreError(cannot + QStringLiteral(": ") + foreign);
    {
        WriteTransaction transaction;
        // On the server only what is missing is created: a clerk may have the rights to write the tables but not
        // to create anything, and the server checks that right even for what exists already.
        const bool all = openDialect == SqlDialect::Sqlite;
        const QStringList tables = all ? QStringList() : tableNames();
        const QStringList indexes = all ? QStringList()
                                        : namesOf(QStringLiteral("SELECT indexname FROM pg_indexes "
                                                                 "WHERE schemaname = current_schema()"));
        // A store made before the indexes existed gets them here; its rows stay as they are.
        for (const TableDef *table : TableDef::all()) {
            if (all || !tables.contains(table->name, Qt::CaseInsensitive))
                execOrThrow(table->createSql(openDialect), cannot);
            for (const QString &index : table->indexSql(openDialect)) // CREATE INDEX IF NOT EXISTS <name> ON ...
                if (all || !indexes.contains(index.section(QLatin1Char(' '), 5, 5), Qt::CaseInsensitive))
                    execOrThrow(index, cannot);
        }
        transaction.commit();
    }
    probeWriting();
}

void Store::close()
{
    if (QSqlDatabase::contains(Connection)) {
        {
            QSqlDatabase db = QSqlDatabase::database(Connection, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(Connection);
    }
    transactionDepth = 0;
    openDialect = SqlDialect::Sqlite;
    serverDescription.clear();
    connectionLost = false;
}

bool Store::isOpen()
{
    return QSqlDatabase::contains(Connection) && (connectionLost || QSqlDatabase::database(Connection, false).isOpen());
}

SqlDialect Store::dialect()
{
    return openDialect;
}

QSqlDatabase Store::database()
{
    if (!isOpen())
        throw StoreError(TranslateText(QStringLiteral("Banco de dados não está aberto.")));
    QSqlDatabase db = QSqlDatabase::database(Connection, false);
    if (connectionLost && transactionDepth == 0) {
        db.close();
        if (const QSqlError error = openConnection(db); error.isValid())
            throw StoreError(TranslateText(QStringLiteral("Não foi possível abrir o banco de dados")) +
                             QLatin1Char(' ') + serverDescription + QStringLiteral(": ") + error.text());
        connectionLost = false;
    }
    return db;
}

QString Store::filePath()
{
    if (openDialect == SqlDialect::Postgres)
        return serverDescription;
    return isOpen() ? QSqlDatabase::database(Connection, false).databaseName() : QString();
}

StoreError Store::failure(const QSqlError &error, Access access)
{
    const QString file = QLatin1String(" (") + filePath() + QLatin1Char(')');
    if (openDialect == SqlDialect::Postgres)
        return serverFailure(error, file, access);
    switch (error.nativeErrorCode().toInt() & 0xff) {
    case 13: // SQLITE_FULL
        return StoreError(T("Disco cheio: não foi possível gravar no banco de dados") + file);
    case 3:  // SQLITE_PERM
    case 5:  // SQLITE_BUSY
    case 6:  // SQLITE_LOCKED
    case 8:  // SQLITE_READONLY
    case 14: // SQLITE_CANTOPEN (the journal beside the file)
        return StoreError(T("Banco de dados ocupado ou protegido contra gravação") + file);
    default:
        return StoreError(T(access == Reading ? "Erro ao ler o banco de dados" : "Erro ao gravar no banco de dados") +
                          file + QStringLiteral(": ") + error.text());
    }
}

// The server's errors by their SQLSTATE. A connection that broke gives no state at all, or one of class 08, or
// one of the server's shutdown states.
StoreError Store::serverFailure(const QSqlError &error, const QString &server, Access access)
{
    const QString state = error.nativeErrorCode();
    if (state.isEmpty() || state.startsWith(QLatin1String("08")) || state.startsWith(QLatin1String("57P"))) {
        connectionLost = true;
        return StoreError(T("Conexão perdida com o servidor de banco de dados") + server);
    }
    if (state == QLatin1String("53100")) // disk_full
        return StoreError(T("Disco cheio: não foi possível gravar no banco de dados") + server);
    static const QStringList busyOrProtected{
        QStringLiteral("25006"), // read_only_sql_transaction
        QStringLiteral("42501"), // insufficient_privilege
        QStringLiteral("55P03"), // lock_not_available (the wait of lock_timeout ran out)
        QStringLiteral("40001"), // serialization_failure
        QStringLiteral("40P01"), // deadlock_detected
    };
    if (busyOrProtected.contains(state))
        return StoreError(T("Banco de dados ocupado ou protegido contra gravação") + server);
    return StoreError(T(access == Reading ? "Erro ao ler o banco de dados" : "Erro ao gravar no banco de dados") +
                      server + QStringLiteral(": ") + error.text());
}

WriteTransaction::WriteTransaction()
{
    if (transactionDepth == 0) {
        if (Store::dialect() == SqlDialect::Sqlite) {
            const QString path = Store::filePath();
            if (identityOf(path) != openedFile)
                throw StoreError(
                    TranslateText(QStringLiteral("O arquivo do banco de dados foi removido ou substituído")) +
                    QLatin1Char(' ') + path);
        }
        QSqlQuery begin(Store::database());
        if (Store::dialect() == SqlDialect::Sqlite) {
            if (!begin.exec(QStringLiteral("BEGIN IMMEDIATE")))
                throw Store::failure(begin.lastError());
        } else {
            if (!begin.exec(QStringLiteral("BEGIN")))
                throw Store::failure(begin.lastError());
            if (!begin.exec(QStringLiteral("SELECT pg_advisory_xact_lock(%1)").arg(WriterLock))) {
                const StoreError failed = Store::failure(begin.lastError());
                begin.exec(QStringLiteral("ROLLBACK")); // the error above is the one the clerk reads
                throw failed;
            }
        }
        m_owner = true;
    }
    ++transactionDepth;
}

WriteTransaction::~WriteTransaction()
{
    --transactionDepth;
    // Straight to the connection: reopening a lost one here could only throw. A lost connection took its
    // transaction with it.
    if (m_owner && !m_done && !connectionLost && Store::isOpen()) {
        QSqlQuery query(QSqlDatabase::database(Connection, false));
        query.exec(QStringLiteral("ROLLBACK")); // nothing more can be done if even the rollback fails
    }
}

void WriteTransaction::commit()
{
    if (m_owner) {
        QSqlQuery commit(Store::database());
        if (!commit.exec(QStringLiteral("COMMIT")))
            throw Store::failure(commit.lastError());
    }
    m_done = true;
}
