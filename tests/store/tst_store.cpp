#include "Store.h"
#include "StoreError.h"
#include "TestEnv.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>

class TestStore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup()
    {
        Store::close();
        QFile::remove(QStringLiteral("dalvora.db"));
    }

    void createsTheFourTablesWhenMissing()
    {
        Store::open(QDir::currentPath());
        QVERIFY(QFile::exists(QStringLiteral("dalvora.db")));
        const QStringList tables = Store::database().tables();
        for (const char *name : {"Dal_Bls", "Dal_Cntr", "Dal_SD", "Dal_NCM"})
            QVERIFY2(tables.contains(QLatin1String(name)), name);
        Store::close();
        Store::open(QDir::currentPath()); // an existing store opens unchanged
        QCOMPARE(Store::database().tables().size(), 4);
    }

    void notADatabaseIsRefusedAndLeftUnchanged()
    {
        const QByteArray junk(4096, 'x');
        QFile file(QStringLiteral("dalvora.db"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(junk);
        file.close();
        try {
            Store::open(QDir::currentPath());
            QFAIL("a non-database file must be refused");
        } catch (const StoreError &e) {
            QVERIFY(e.message().contains(QDir::current().absoluteFilePath(QStringLiteral("dalvora.db"))));
        }
        QVERIFY(!Store::isOpen());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), junk);
    }

    // The file deleted or replaced by a non-database while the program runs: the next write is refused with a
    // clear error instead of going into a file nobody reads again; the replacement is left as it is.
    void aFileDeletedOrReplacedWhileRunningRefusesWrites()
    {
        Store::open(QDir::currentPath());
        QVERIFY(QFile::remove(QStringLiteral("dalvora.db")));
        QVERIFY_THROWS_EXCEPTION(StoreError, WriteTransaction());
        QFile junk(QStringLiteral("dalvora.db"));
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write("not a database");
        junk.close();
        try {
            WriteTransaction transaction;
            QFAIL("a replaced file must be refused");
        } catch (const StoreError &e) {
            QVERIFY(e.message().contains(QStringLiteral("removido ou substituído")));
        }
        QVERIFY(junk.open(QIODevice::ReadOnly));
        QCOMPARE(junk.readAll(), QByteArray("not a database"));
    }

    void lockedByAnotherProgramIsReported()
    {
        Store::open(QDir::currentPath());
        Store::close();
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
        other.setDatabaseName(QDir::current().absoluteFilePath(QStringLiteral("dalvora.db")));
        QVERIFY(other.open());
        QSqlQuery(other).exec(QStringLiteral("BEGIN EXCLUSIVE"));
        QVERIFY_THROWS_EXCEPTION(StoreError, Store::open(QDir::currentPath()));
        QSqlQuery(other).exec(QStringLiteral("ROLLBACK"));
        other.close();
        other = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("other"));
        Store::open(QDir::currentPath());
        QVERIFY(Store::isOpen());
    }
};

DALVORA_TEST_MAIN(TestStore)
#include "tst_store.moc"
