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

    QProcess *start(const QString &folder)
    {
        QDir().mkpath(folder);
        auto *process = new QProcess(this);
        process->setWorkingDirectory(folder);
        process->setProgram(m_program);
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
};

DALVORA_TEST_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
