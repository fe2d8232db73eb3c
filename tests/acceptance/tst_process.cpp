#include "TestEnv.h"
#include "XClient.h"

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

bool waitFor(const std::function<bool()> &condition, int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > ms)
            return false;
        QTest::qWait(50);
    }
    return true;
}

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

    QProcess m_server;
    QByteArray m_display;
    std::unique_ptr<XClient> m_x;
    QList<QProcess *> m_copies;

    QProcess *startCopy(const QString &folder)
    {
        QDir().mkpath(folder);
        auto *copy = new QProcess(this);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        environment.insert(QStringLiteral("DISPLAY"), QString::fromLatin1(m_display));
        copy->setProcessEnvironment(environment);
        copy->setWorkingDirectory(folder);
        copy->setProgram(QStringLiteral(DALVORA_PROGRAM));
        copy->setProcessChannelMode(QProcess::ForwardedChannels);
        copy->start();
        m_copies << copy;
        return copy;
    }

    QList<XClient::Window> windowsOf(const QProcess *copy) const
    {
        QList<XClient::Window> windows;
        for (const XClient::Window &window : m_x->viewableTopLevels())
            if (window.pid == copy->processId())
                windows << window;
        return windows;
    }

    // The one window a copy shows, once it is on the display; an empty window when none came in time.
    XClient::Window waitForWindow(const QProcess *copy)
    {
        QList<XClient::Window> windows;
        waitFor(
            [&] {
                windows = windowsOf(copy);
                return !windows.isEmpty() || copy->state() == QProcess::NotRunning;
            },
            StartTimeout);
        return windows.size() == 1 ? windows.constFirst() : XClient::Window{};
    }

    // A running copy whose main window is on the display.
    QProcess *startFirstCopy(const QString &folder, XClient::Window &mainWindow)
    {
        QProcess *copy = startCopy(folder);
        mainWindow = waitForWindow(copy);
        return copy;
    }

private Q_SLOTS:
    void initTestCase()
    {
        const QString server = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
        if (server.isEmpty())
            QSKIP(
                "Xvfb was not found on PATH (Debian package xvfb): the program cannot be run on a display of its own");
        // -displayfd: the server picks a free display number and writes it on stdout once it accepts clients.
        m_server.setProgram(server);
        m_server.setArguments({QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                               QStringLiteral("0"), QStringLiteral("1280x1024x24"), QStringLiteral("-nolisten"),
                               QStringLiteral("tcp")});
        // Its complaints go to the test's output, and never fill a pipe nobody reads.
        m_server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_server.start();
        QVERIFY2(m_server.waitForStarted(10000), qPrintable(m_server.errorString()));
        QVERIFY(waitFor([this] { return m_server.canReadLine() || m_server.state() != QProcess::Running; }, 20000));
        const QByteArray number = m_server.readLine().trimmed();
        QVERIFY2(!number.isEmpty(), "Xvfb gave no display number");
        m_display = ':' + number;
        m_x = std::make_unique<XClient>(m_display);
        QVERIFY2(m_x->isConnected(), m_display.constData());
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

    void cleanupTestCase()
    {
        m_x.reset();
        if (m_server.state() != QProcess::NotRunning) {
            m_server.terminate();
            if (!m_server.waitForFinished(5000)) {
                m_server.kill();
                m_server.waitForFinished(5000);
            }
        }
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
        const XClient::Window warning = waitForWindow(second);
        QVERIFY2(warning.id != 0, "the second copy showed no single window");
        QCOMPARE(warning.title, Title);
        QVERIFY(warning.dialog);
        QVERIFY(warning.size.width() < mainWindow.size.width());
        QTest::qWait(500);
        QCOMPARE(second->state(), QProcess::Running);

        QVERIFY(m_x->requestClose(warning.id));
        QVERIFY(second->waitForFinished(EndTimeout));
        QCOMPARE(second->exitStatus(), QProcess::NormalExit);
        QCOMPARE(second->exitCode(), 0);
        QCOMPARE(fileState(store), storeBefore);
        QCOMPARE(QDir(folder).entryList(QDir::Files), filesBefore);

        // The running copy goes on as it was.
        QCOMPARE(first->state(), QProcess::Running);
        const QList<XClient::Window> firstWindows = windowsOf(first);
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
        QVERIFY(m_x->requestClose(mainWindow.id));
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
        const XClient::Window next = waitForWindow(startCopy(folder));
        QCOMPARE(next.title, Title);
        QVERIFY(!next.dialog);
    }

    void theCloseBoxEndsTheProgram()
    {
        XClient::Window mainWindow;
        QProcess *copy = startFirstCopy(QDir::currentPath() + QStringLiteral("/closing"), mainWindow);
        QCOMPARE(mainWindow.title, Title);
        // With no BL opened since the start there is nothing to ask: the window closes and the program ends.
        QVERIFY(m_x->requestClose(mainWindow.id));
        QVERIFY2(copy->waitForFinished(EndTimeout), "the program was still running after its close box");
        QCOMPARE(copy->exitStatus(), QProcess::NormalExit);
        QCOMPARE(copy->exitCode(), 0);
    }
};

DALVORA_TEST_MAIN(TestProcess)
#include "tst_process.moc"
