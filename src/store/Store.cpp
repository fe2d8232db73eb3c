#include "Store.h"

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

QStringList namesOf(const QString &sql)
{
    QSqlQuery query(Store::database());
    QStringList names;
    if (query.exec(sql))
        while (query.next())
            names << query.value(0).toString();
    return names;
}

// Why the file cannot hold the program's tables, or nothing when it can: a table of ours with other columns, or a
// file whose tables are all someone else's. Checked before anything is written into the file.
QString foreignShape()
{
    const QStringList tables =
        namesOf(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%'"));
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
        for (const QString &column : namesOf(QStringLiteral("SELECT name FROM pragma_table_info('%1')").arg(*found))) {
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
        return T("O arquivo não contém as tabelas deste programa");
    return {};
}

// A file or folder that cannot be written is told at start, not at the clerk's first Confirmar: one page is changed
// and rolled back, which needs what every later write needs (the file, and its journal beside it).
void probeWriting()
{
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
        // Nothing is written into a file whose tables are not ours.
        if (const QString foreign = foreignShape(); !foreign.isEmpty())
            throw StoreError(cannot + QStringLiteral(": ") + foreign);
        openedFile = identityOf(path).value_or(FileIdentity{});
        {
            WriteTransaction transaction;
            // A store made before the indexes existed gets them here; its rows stay as they are.
            for (const TableDef *table : TableDef::all()) {
                execOrThrow(table->createSql(), cannot);
                for (const QString &index : table->indexSql())
                    execOrThrow(index, cannot);
            }
            transaction.commit();
        }
        probeWriting();
    } catch (...) {
        close();
        throw;
    }
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
}

bool Store::isOpen()
{
    return QSqlDatabase::contains(Connection) && QSqlDatabase::database(Connection, false).isOpen();
}

QSqlDatabase Store::database()
{
    if (!isOpen())
        throw StoreError(TranslateText(QStringLiteral("Banco de dados não está aberto.")));
    return QSqlDatabase::database(Connection, false);
}

QString Store::filePath()
{
    return isOpen() ? database().databaseName() : QString();
}

StoreError Store::failure(const QSqlError &error, Access access)
{
    const QString file = QLatin1String(" (") + filePath() + QLatin1Char(')');
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

WriteTransaction::WriteTransaction()
{
    if (transactionDepth == 0) {
        const QString path = Store::filePath();
        if (identityOf(path) != openedFile)
            throw StoreError(TranslateText(QStringLiteral("O arquivo do banco de dados foi removido ou substituído")) +
                             QLatin1Char(' ') + path);
        QSqlQuery begin(Store::database());
        if (!begin.exec(QStringLiteral("BEGIN IMMEDIATE")))
            throw Store::failure(begin.lastError());
        m_owner = true;
    }
    ++transactionDepth;
}

WriteTransaction::~WriteTransaction()
{
    --transactionDepth;
    if (m_owner && !m_done && Store::isOpen()) {
        QSqlQuery query(Store::database());
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
