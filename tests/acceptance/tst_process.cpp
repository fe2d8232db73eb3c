#include "TestEnv.h"
#include "VirtualDisplay.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>
#include <functional>
#include <memory>

namespace {

const QString Title = QStringLiteral("DALVORA - BILL OF LADING");
constexpr int StartTimeout = 30000;
constexpr int EndTimeout = 15000;

// What the store file is: its bytes and its time stamp, or nothing when there is none.
QString fileState(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("<none>");
    return QString::fromLatin1(QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1).toHex()) +
           QLatin1Char(' ') + QFileInfo(path).lastModified().toString(Qt::ISODateWithMs);
}

} // namespace

// The built program run as the user runs it: on an X display of its own (Xvfb, without a window manager), one copy
// per desktop, and closed through its window's close box.
class TestProcess : public QObject
{
    Q_OBJECT

    VirtualDisplay m_display;
    QList<QProcess *> m_copies;

    QProcess *startCopy(const QString &folder)
    {
        QDir().mkpath(folder);
        auto *copy = new QProcess(this);
        copy->setProcessEnvironment(m_display.environment());
        copy->setWorkingDirectory(folder);
        copy->setProgram(QStringLiteral(DALVORA_PROGRAM));
        copy->setProcessChannelMode(QProcess::ForwardedChannels);
        copy->start();
        m_copies << copy;
        return copy;
    }

    // A running copy whose main window is on the display.
    QProcess *startFirstCopy(const QString &folder, XClient::Window &mainWindow)
    {
        QProcess *copy = startCopy(folder);
        mainWindow = m_display.waitForWindow(copy, StartTimeout);
        return copy;
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (VirtualDisplay::serverProgram().isEmpty())
            QSKIP(
                "Xvfb was not found on PATH (Debian package xvfb): the program cannot be run on a display of its own");
        const QString failure = m_display.start();
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
    }

    void cleanup()
    {
        for (QProcess *copy : std::as_const(m_copies)) {
            copy->kill();
            copy->waitForFinished(5000);
        }
        qDeleteAll(m_copies);
        m_copies.clear();
    }

    void aSecondCopyWarnsAndEndsWithoutTouchingTheTables_data()
    {
        QTest::addColumn<bool>("sameFolder");
        QTest::newRow("own folder") << false;
        QTest::newRow("folder of the running copy") << true;
    }

    void aSecondCopyWarnsAndEndsWithoutTouchingTheTables()
    {
        QFETCH(bool, sameFolder);
        const QString firstFolder = QDir::currentPath() + QStringLiteral("/first");
        XClient::Window mainWindow;
        QProcess *first = startFirstCopy(firstFolder, mainWindow);
        QCOMPARE(mainWindow.title, Title);
        QVERIFY(!mainWindow.dialog);
        const QString firstStore = firstFolder + QStringLiteral("/dalvora.db");
        QVERIFY(QFile::exists(firstStore));

        const QString folder = sameFolder ? firstFolder : QDir::currentPath() + QStringLiteral("/second");
        const QString store = folder + QStringLiteral("/dalvora.db");
        const QString storeBefore = fileState(store);
        const QStringList filesBefore = QDir(folder).entryList(QDir::Files);
        QProcess *second = startCopy(folder);

        // Its only window is the warning, which waits for its answer.
        const XClient::Window warning = m_display.waitForWindow(second, StartTimeout);
        QVERIFY2(warning.id != 0, "the second copy showed no single window");
        QCOMPARE(warning.title, Title);
        QVERIFY(warning.dialog);
        QVERIFY(warning.size.width() < mainWindow.size.width());
        QTest::qWait(500);
        QCOMPARE(second->state(), QProcess::Running);

        QVERIFY(m_display.client().requestClose(warning.id));
        QVERIFY(second->waitForFinished(EndTimeout));
        QCOMPARE(second->exitStatus(), QProcess::NormalExit);
        QCOMPARE(second->exitCode(), 0);
        QCOMPARE(fileState(store), storeBefore);
        QCOMPARE(QDir(folder).entryList(QDir::Files), filesBefore);

        // The running copy goes on as it was.
        QCOMPARE(first->state(), QProcess::Running);
        const QList<XClient::Window> firstWindows = m_display.windowsOf(first);
        QCOMPARE(firstWindows.size(), 1);
        QCOMPARE(firstWindows.constFirst().id, mainWindow.id);
    }

    // The program killed (SIGKILL) at random moments of its start, while it opens and prepares the store, and
    // while its window is up: after every kill the store is intact and holds every BL it held, and the next copy
    // starts at once over the dead one's lock.
    void killedAtRandomMomentsKeepsTheStore()
    {
        const QString folder = QDir::currentPath() + QStringLiteral("/killed");
        XClient::Window mainWindow;
        QProcess *first = startFirstCopy(folder, mainWindow);
        QVERIFY(mainWindow.id != 0);
        QVERIFY(m_display.client().requestClose(mainWindow.id));
        QVERIFY(first->waitForFinished(EndTimeout));
        const auto withStore = [&](const std::function<void(QSqlQuery &)> &use) {
            {
                QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("check"));
                db.setDatabaseName(folder + QStringLiteral("/dalvora.db"));
                QVERIFY(db.open());
                QSqlQuery query(db);
                use(query);
            }
            QSqlDatabase::removeDatabase(QStringLiteral("check"));
        };
        withStore([](QSqlQuery &q) {
            for (int code = 1; code <= 20; ++code)
                QVERIFY(q.exec(QStringLiteral("INSERT INTO Dal_Bls (Bls_Codigo, Bls_ReservaNr, Bls_Descricao) "
                                              "VALUES (%1, 'BOOK%1', '%2')")
                                   .arg(code)
                                   .arg(QString(2000, QLatin1Char('x')))));
        });

        for (int kill = 0; kill < 15; ++kill) {
            QProcess *copy = startCopy(folder);
            QVERIFY(copy->waitForStarted());
            QTest::qWait(QRandomGenerator::global()->bounded(1500));
            copy->kill();
            QVERIFY(copy->waitForFinished(EndTimeout));
            withStore([](QSqlQuery &q) {
                QVERIFY(q.exec(QStringLiteral("PRAGMA integrity_check")) && q.next());
                QCOMPARE(q.value(0).toString(), QStringLiteral("ok"));
                QVERIFY(q.exec(QStringLiteral("SELECT count(*) FROM Dal_Bls WHERE length(Bls_Descricao) = 2000")));
                QVERIFY(q.next());
                QCOMPARE(q.value(0).toInt(), 20);
            });
        }
        // The last copy's lock is stale: the next start shows the main window, not the warning of a second copy.
        const XClient::Window next = m_display.waitForWindow(startCopy(folder), StartTimeout);
        QCOMPARE(next.title, Title);
        QVERIFY(!next.dialog);
    }

    void theCloseBoxEndsTheProgram()
    {
        XClient::Window mainWindow;
        QProcess *copy = startFirstCopy(QDir::currentPath() + QStringLiteral("/closing"), mainWindow);
        QCOMPARE(mainWindow.title, Title);
        // With no BL opened since the start there is nothing to ask: the window closes and the program ends.
        QVERIFY(m_display.client().requestClose(mainWindow.id));
        QVERIFY2(copy->waitForFinished(EndTimeout), "the program was still running after its close box");
        QCOMPARE(copy->exitStatus(), QProcess::NormalExit);
        QCOMPARE(copy->exitCode(), 0);
    }
};

DALVORA_TEST_MAIN(TestProcess)
#include "tst_process.moc"
