#include "Store.h"
#include "StoreError.h"
#include "TableDef.h"
#include "TestEnv.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <functional>

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

    // A file with tables of the program's names but other columns, or with someone else's tables only, is refused
    // at opening with the file, the table and the columns named, and nothing is written into it.
    void aFileOfAnotherShapeIsRefusedUntouched_data()
    {
        QTest::addColumn<QStringList>("schema");
        QTest::addColumn<QString>("said");
        QTest::newRow("columns missing") << QStringList{"CREATE TABLE Dal_Bls (Bls_Codigo INTEGER, Name TEXT)"}
                                         << "Tabela Dal_Bls: faltam as colunas Bls_Shipper1, ";
        QTest::newRow("other columns")
            << QStringList{"CREATE TABLE Dal_NCM (Ncm_Codigo INTEGER PRIMARY KEY, Ncm_Cod_BL INTEGER, "
                           "Ncm_Numero TEXT, Ncm_Note TEXT)"}
            << "Tabela Dal_NCM: colunas desconhecidas Ncm_Note";
        QTest::newRow("someone else's tables") << QStringList{"CREATE TABLE invoices (id INTEGER, total REAL)"}
                                               << "O arquivo não contém as tabelas deste programa";
    }
    void aFileOfAnotherShapeIsRefusedUntouched()
    {
        QFETCH(QStringList, schema);
        QFETCH(QString, said);
        {
            QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("foreign"));
            other.setDatabaseName(QDir::current().absoluteFilePath(QStringLiteral("dalvora.db")));
            QVERIFY(other.open());
            for (const QString &sql : schema)
                QVERIFY(QSqlQuery(other).exec(sql));
            other.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("foreign"));
        QFile file(QStringLiteral("dalvora.db"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray before = file.readAll();
        file.close();
        try {
            Store::open(QDir::currentPath());
            QFAIL("a file of another shape must be refused");
        } catch (const StoreError &e) {
            QVERIFY2(e.message().contains(said), qPrintable(e.message()));
            QVERIFY2(e.message().contains(QDir::current().absoluteFilePath(QStringLiteral("dalvora.db"))),
                     qPrintable(e.message()));
        }
        QVERIFY(!Store::isOpen());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);
    }

    // A file, or a folder, that cannot be written is told at opening, with the file's name, in the interface
    // language; the program's user here is root, so the test makes them immutable where the file system allows it.
    void aStoreThatCannotBeWrittenIsToldAtOpening_data()
    {
        QTest::addColumn<bool>("folder");
        QTest::newRow("file") << false;
        QTest::newRow("folder") << true;
    }
    void aStoreThatCannotBeWrittenIsToldAtOpening()
    {
        QFETCH(bool, folder);
        const QString dir = QDir::current().absoluteFilePath(QStringLiteral("sealed"));
        QVERIFY(QDir().mkpath(dir));
        Store::open(dir);
        Store::close();
        const QString target = folder ? dir : dir + QStringLiteral("/dalvora.db");
        if (QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), target}) != 0)
            QSKIP("chattr +i is not available on this file system");
        const auto unseal = qScopeGuard([&] {
            QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), target});
        });
        try {
            Store::open(dir);
            QFAIL("a store that cannot be written must be told at opening");
        } catch (const StoreError &e) {
            QVERIFY2(e.message().contains(QStringLiteral("protegido contra gravação")), qPrintable(e.message()));
            QVERIFY2(e.message().contains(dir + QStringLiteral("/dalvora.db")), qPrintable(e.message()));
        }
        QVERIFY(!Store::isOpen());
    }

    // A full disk while writing: the message says so and names the file; nothing of the failed write stays.
    void aFullDiskIsToldWithTheFile()
    {
        Store::open(QDir::currentPath());
        QSqlQuery pages(Store::database());
        QVERIFY(pages.exec(QStringLiteral("PRAGMA page_count")) && pages.next());
        const int count = pages.value(0).toInt();
        pages.finish();
        QVERIFY(QSqlQuery(Store::database()).exec(QStringLiteral("PRAGMA max_page_count = %1").arg(count)));
        try {
            WriteTransaction transaction;
            QSqlQuery insert(Store::database());
            insert.prepare(QStringLiteral("INSERT INTO Dal_Bls (Bls_Codigo, Bls_Marks) VALUES (1, ?)"));
            insert.addBindValue(QString(100000, u'x'));
            if (!insert.exec())
                throw Store::failure(insert.lastError());
            transaction.commit();
            QFAIL("the write must fail on a full disk");
        } catch (const StoreError &e) {
            QVERIFY2(e.message().startsWith(QStringLiteral("Disco cheio")), qPrintable(e.message()));
            QVERIFY2(e.message().contains(Store::filePath()), qPrintable(e.message()));
        }
        QSqlQuery rows(Store::database());
        QVERIFY(rows.exec(QStringLiteral("SELECT count(*) FROM Dal_Bls")) && rows.next());
        QCOMPARE(rows.value(0).toInt(), 0);
    }

    // A store written before the list's indexes existed gets them on the first open, every row as it was; a program
    // that knows nothing of them still opens the file and writes to it.
    void anOlderStoreGetsTheIndexesWithItsRowsUnchanged()
    {
        const auto dump = [](QSqlQuery &q) {
            QStringList rows;
            q.exec(QStringLiteral("SELECT * FROM Dal_Bls ORDER BY Bls_Codigo"));
            while (q.next()) {
                QStringList cells;
                for (int i = 0; i < q.record().count(); ++i)
                    cells << (q.isNull(i) ? QStringLiteral("NULL") : q.value(i).toString());
                rows << cells.join(QLatin1Char('|'));
            }
            return rows;
        };
        QStringList before;
        asOlderProgram([&](QSqlQuery &q) {
            QVERIFY(q.exec(QStringLiteral("INSERT INTO Dal_Bls (Bls_Codigo, Bls_ReservaNr, Bls_Navio, Bls_Imo) VALUES "
                                          "(1, 'SSZ1', 'MAERSK', 1), (2, NULL, '', 0), (5, 'ab', 'ZIM', NULL)")));
            before = dump(q);
        });

        Store::open(QDir::currentPath());
        {
            QSqlQuery q(Store::database());
            QVERIFY(
                q.exec(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'index' AND name LIKE 'Ix_%'")));
            QVERIFY(q.next());
            QCOMPARE(q.value(0).toInt(), TableDef::bls().indexed.size());
            QCOMPARE(dump(q), before);
        }
        Store::close();

        asOlderProgram([](QSqlQuery &q) {
            QVERIFY2(q.exec(QStringLiteral("delete from Dal_Bls where Bls_Codigo = 1")),
                     qPrintable(q.lastError().text()));
            QCOMPARE(q.numRowsAffected(), 1);
            QVERIFY(q.exec(QStringLiteral("PRAGMA integrity_check")) && q.next());
            QCOMPARE(q.value(0).toString(), QStringLiteral("ok"));
        });
    }

private:
    // Opens the file on a connection of its own and creates the tables the way a program without the indexes does.
    static void asOlderProgram(const std::function<void(QSqlQuery &)> &work)
    {
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("older"));
            db.setDatabaseName(QStringLiteral("dalvora.db"));
            QVERIFY(db.open());
            QSqlQuery q(db);
            for (const TableDef *table : TableDef::all())
                QVERIFY(q.exec(table->createSql()));
            work(q);
        }
        QSqlDatabase::removeDatabase(QStringLiteral("older"));
    }
};

DALVORA_TEST_MAIN(TestStore)
#include "tst_store.moc"
