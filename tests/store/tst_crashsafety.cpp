#include "TestEnv.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>

// A process that confirms rows is killed (SIGKILL) at random moments: after every kill the store is intact and
// holds every row whose confirmation had returned, and no row is half written.
class TestCrashSafety : public QObject
{
    Q_OBJECT

    static int scalar(QSqlDatabase &db, const QString &sql)
    {
        QSqlQuery q(db);
        if (!q.exec(sql) || !q.next())
            return -1;
        return q.value(0).toInt();
    }

private Q_SLOTS:
    void killedAtRandomMomentsLosesNothing()
    {
        QList<int> confirmedBls;
        QList<int> confirmedContainers;
        for (int kill = 0; kill < 50; ++kill) {
            QProcess loop;
            loop.setProgram(QStringLiteral(CRASHLOOP_PROGRAM));
            loop.start();
            QVERIFY(loop.waitForStarted());
            QVERIFY(loop.waitForReadyRead(20000)); // the store is open and a first BL confirmed
            QTest::qWait(20 + QRandomGenerator::global()->bounded(120));
            loop.kill();
            QVERIFY(loop.waitForFinished(5000));
            for (const QByteArray &line : loop.readAllStandardOutput().split('\n')) {
                const QList<QByteArray> parts = line.split(' ');
                if (parts.size() == 2)
                    (parts[0] == "BL" ? confirmedBls : confirmedContainers) << parts[1].toInt();
            }
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("check"));
            db.setDatabaseName(QDir::current().absoluteFilePath(QStringLiteral("dalvora.db")));
            QVERIFY(db.open());
            {
                QSqlQuery integrity(db);
                QVERIFY(integrity.exec(QStringLiteral("PRAGMA integrity_check")) && integrity.next());
                QCOMPARE(integrity.value(0).toString(), QStringLiteral("ok"));
                for (int code : std::as_const(confirmedBls))
                    QCOMPARE(scalar(db, QStringLiteral("SELECT count(*) FROM Dal_Bls WHERE Bls_Codigo = %1").arg(code)),
                             1);
                for (int code : std::as_const(confirmedContainers))
                    QCOMPARE(
                        scalar(db, QStringLiteral("SELECT count(*) FROM Dal_Cntr WHERE Cnt_Codigo = %1").arg(code)), 1);
                QCOMPARE(scalar(db, QStringLiteral("SELECT count(*) FROM Dal_Bls WHERE Bls_ReservaNr IS NULL OR "
                                                   "length(Bls_Descricao) <> 2000")),
                         0);
                QCOMPARE(scalar(db, QStringLiteral("SELECT count(*) FROM Dal_Cntr WHERE Cnt_Numero IS NULL")), 0);
            }
            db.close();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(QStringLiteral("check"));
        }
        QVERIFY(!confirmedBls.isEmpty());
    }
};

DALVORA_TEST_MAIN(TestCrashSafety)
#include "tst_crashsafety.moc"
