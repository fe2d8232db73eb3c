#include "Store.h"

#include "StoreError.h"
#include "TableDef.h"
#include "TranslateText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
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
        openedFile = identityOf(path).value_or(FileIdentity{});
        WriteTransaction transaction;
        // A store made before the indexes existed gets them here; its rows stay as they are.
        for (const TableDef *table : TableDef::all()) {
            execOrThrow(table->createSql(), cannot);
            for (const QString &index : table->indexSql())
                execOrThrow(index, cannot);
        }
        transaction.commit();
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

WriteTransaction::WriteTransaction()
{
    if (transactionDepth == 0) {
        const QString path = Store::filePath();
        if (identityOf(path) != openedFile)
            throw StoreError(TranslateText(QStringLiteral("O arquivo do banco de dados foi removido ou substituído")) +
                             QLatin1Char(' ') + path);
        execOrThrow(QStringLiteral("BEGIN IMMEDIATE"),
                    TranslateText(QStringLiteral("Banco de dados ocupado ou protegido contra gravação")) +
                        QStringLiteral(" (") + Store::filePath() + QLatin1Char(')'));
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
    if (m_owner)
        execOrThrow(QStringLiteral("COMMIT"), TranslateText(QStringLiteral("Erro ao gravar no banco de dados")));
    m_done = true;
}
