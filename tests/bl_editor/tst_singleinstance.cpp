#include "TestEnv.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>

// The program as a process: one copy per desktop, and a crashed copy does not block the next start.
class TestSingleInstance : public QObject
{
    Q_OBJECT

    QString m_program = QStringLiteral(DALVORA_PROGRAM);
    QList<QProcess *> m_processes;

    QProcess *start(const QString &folder, bool readErrors = false)
    {
        QDir().mkpath(folder);
        auto *process = new QProcess(this);
        process->setWorkingDirectory(folder);
        process->setProgram(m_program);
        if (!readErrors)
            process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->start();
        m_processes << process;
        return process;
    }

    // A copy that got past the single-instance check opens (creates) its store in its working folder.
    static bool storeAppears(const QString &folder, int ms)
    {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < ms) {
            if (QFile::exists(folder + QStringLiteral("/dalvora.db")))
                return true;
            QTest::qWait(50);
        }
        return false;
    }

private Q_SLOTS:
    void cleanup()
    {
        for (QProcess *p : std::as_const(m_processes)) {
            p->kill();
            p->waitForFinished(5000);
        }
        qDeleteAll(m_processes);
        m_processes.clear();
    }

    void aSecondCopyWarnsAndTouchesNoTable()
    {
        const QString first = QDir::currentPath() + QStringLiteral("/first");
        const QString second = QDir::currentPath() + QStringLiteral("/second");
        start(first);
        QVERIFY(storeAppears(first, 20000));
        QProcess *copy = start(second);
        // The second copy stops at its warning: it never reaches the store.
        QVERIFY(!storeAppears(second, 2000));
        QCOMPARE(copy->state(), QProcess::Running);
    }

    void aCrashedCopyDoesNotBlockTheNextStart()
    {
        const QString first = QDir::currentPath() + QStringLiteral("/crashed");
        QProcess *crashed = start(first);
        QVERIFY(storeAppears(first, 20000));
        crashed->kill(); // SIGKILL: the lock file stays behind
        QVERIFY(crashed->waitForFinished(5000));
        const QString next = QDir::currentPath() + QStringLiteral("/next");
        start(next);
        QVERIFY(storeAppears(next, 20000));
    }

    // A lock that cannot be made is not taken for a running copy: the program says what is wrong and where, and
    // ends without opening the store. A lock file holding garbage is no lock at all: the program starts.
    void aLockThatCannotBeMadeIsSaidAsSuch()
    {
        const QString lockPath = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) +
                                 QStringLiteral("/TF_Principal-DALVORA - BILL OF LADING.lock");
        QFile::remove(lockPath);          // left by the copies killed before
        QVERIFY(QDir().mkpath(lockPath)); // a folder where the lock file goes
        const QString folder = QDir::currentPath() + QStringLiteral("/blocked");
        QProcess *blocked = start(folder, true);
        QByteArray said;
        QTRY_VERIFY_WITH_TIMEOUT((said += blocked->readAllStandardError()).contains(lockPath.toUtf8()), 20000);
        QVERIFY(said.contains("Não foi possível verificar se já há uma cópia em uso:"));
        QVERIFY(!storeAppears(folder, 500));
        blocked->kill();
        QVERIFY(QDir().rmdir(lockPath));

        QFile garbage(lockPath);
        QVERIFY(garbage.open(QIODevice::WriteOnly));
        garbage.write("\xff\x00garbage");
        garbage.close();
        const QString next = QDir::currentPath() + QStringLiteral("/after-garbage");
        start(next);
        QVERIFY(storeAppears(next, 20000));
    }
};

DALVORA_TEST_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
