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
#include <QSqlRecord>
#include <QStandardPaths>
#include <chrono>
#include <cmath>
#include <functional>
#include <memory>
#include <thread>

namespace {

const QString Title = QStringLiteral("DALVORA - BILL OF LADING");
constexpr int StartTimeout = 30000;
constexpr int EndTimeout = 15000;
// The centres of toolbar buttons, in the main window.
constexpr QPoint IncluirButton(38, 20);
constexpr QPoint ConfirmarButton(186, 20);
// Places in the main window: the CNTR choice of Carga and the Descrição page's tab, and on that page the Container
// button.
constexpr QPoint CntrCargaChoice(406, 294);
constexpr QPoint DescricaoTab(95, 53);
constexpr QPoint ContainerButton(685, 377);

// What the store file is: its bytes and its time stamp, or nothing when there is none.
QString fileState(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("<none>");
    return QString::fromLatin1(QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1).toHex()) +
           QLatin1Char(' ') + QFileInfo(path).lastModified().toString(Qt::ISODateWithMs);
}

// Uses the store file over a connection of the test's own, while no copy of the program writes it.
void withStore(const QString &file, const std::function<void(QSqlQuery &)> &use)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("check"));
        db.setDatabaseName(file);
        QVERIFY(db.open());
        QSqlQuery query(db);
        use(query);
    }
    QSqlDatabase::removeDatabase(QStringLiteral("check"));
}

void verifyIntegrity(QSqlQuery &q)
{
    QVERIFY(q.exec(QStringLiteral("PRAGMA integrity_check")) && q.next());
    QCOMPARE(q.value(0).toString(), QStringLiteral("ok"));
}

// Every row of a table with all its columns, by its code.
QMap<int, QVariantMap> rowsOf(QSqlQuery &q, const QString &table, const QString &key)
{
    QMap<int, QVariantMap> rows;
    if (!q.exec(QStringLiteral("SELECT * FROM ") + table))
        return rows;
    while (q.next()) {
        const QSqlRecord record = q.record();
        QVariantMap row;
        for (int i = 0; i < record.count(); ++i)
            row.insert(record.fieldName(i), record.value(i));
        rows.insert(row.value(key).toInt(), row);
    }
    return rows;
}

// A table after a kill: every row it held is as it was, and at most one row came in, under the code after the
// highest, with what was typed into it (none may come when nothing was typed). The new row's code, 0 when none came.
void verifyRows(const QMap<int, QVariantMap> &before, const QMap<int, QVariantMap> &now, const QVariantMap &typed,
                const QString &where, int &added)
{
    added = 0;
    for (auto row = before.cbegin(); row != before.cend(); ++row)
        for (auto column = row->cbegin(); column != row->cend(); ++column)
            QVERIFY2(now.value(row.key()).value(column.key()) == column.value(),
                     qPrintable(QStringLiteral("%1: row %2 lost its %3").arg(where).arg(row.key()).arg(column.key())));
    if (now.size() == before.size())
        return;
    QVERIFY2(now.size() == before.size() + 1 && !typed.isEmpty(),
             qPrintable(QStringLiteral("%1: %2 rows came in").arg(where).arg(now.size() - before.size())));
    added = (before.isEmpty() ? 0 : before.lastKey()) + 1;
    QVERIFY2(now.contains(added), qPrintable(QStringLiteral("%1: the new row is not %2").arg(where).arg(added)));
    for (auto column = typed.cbegin(); column != typed.cend(); ++column)
        QVERIFY2(now.value(added).value(column.key()).toString() == column.value().toString(),
                 qPrintable(QStringLiteral("%1: the new row's %2 is %3, not %4")
                                .arg(where, column.key(), now.value(added).value(column.key()).toString(),
                                     column.value().toString())));
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

    // The store file the program creates at its first start in a folder, once that copy has ended.
    QString createStore(const QString &folder)
    {
        XClient::Window mainWindow;
        QProcess *first = startFirstCopy(folder, mainWindow);
        if (mainWindow.id == 0 || !m_display.client().requestClose(mainWindow.id) ||
            !first->waitForFinished(EndTimeout))
            return {};
        return folder + QStringLiteral("/dalvora.db");
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
        const QString file = createStore(folder);
        QVERIFY(QFile::exists(file));
        withStore(file, [](QSqlQuery &q) {
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
            withStore(file, [](QSqlQuery &q) {
                verifyIntegrity(q);
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

    // The program killed (SIGKILL) while the clerk confirms a new BL, or a new container of a BL just confirmed: the
    // kill falls a random time after the click on Confirmar, before the program takes the click, inside its write, or
    // after the commit. The next copy starts over the dead one's lock and store; the store is intact, every row it
    // held is as it was, and the new row is either absent or there whole, under the code after the highest.
    void killedWhileConfirmingKeepsEveryRowWhole()
    {
        const QString folder = QDir::currentPath() + QStringLiteral("/confirming");
        const QString file = createStore(folder);
        QVERIFY(QFile::exists(file));
        const QVariantMap company{{QStringLiteral("Bls_Cia_Nome"), QStringLiteral("AGENCIA MARITIMA")},
                                  {QStringLiteral("Bls_Cia_Cidade"), QStringLiteral("SANTOS")},
                                  {QStringLiteral("Bls_Cia_Usuario"), QStringLiteral("CLERK")},
                                  {QStringLiteral("Bls_Cia_Arquivo"), QStringLiteral("AGMAR")}};
        QMap<int, QVariantMap> bls;
        QMap<int, QVariantMap> containers;
        withStore(file, [&](QSqlQuery &q) {
            // Descriptions longer than a page, so a BL's row spans several pages of the file.
            for (int code = 1; code <= 10; ++code)
                QVERIFY(q.exec(QStringLiteral("INSERT INTO Dal_Bls (Bls_Codigo, Bls_ReservaNr, Bls_PortLoading, "
                                              "Bls_PortDischarge, Bls_Carga, Bls_Descricao, Bls_Cia_Nome, "
                                              "Bls_Cia_Cidade, Bls_Cia_Usuario, Bls_Cia_Arquivo) VALUES (%1, "
                                              "'BOOK%1', 'PARANAGUA', 'ROTTERDAM', 'FCL', '%2', '%3', '%4', '%5', "
                                              "'%6')")
                                   .arg(code)
                                   .arg(QString(3000, QLatin1Char('a' + code)))
                                   .arg(company.value(QStringLiteral("Bls_Cia_Nome")).toString(),
                                        company.value(QStringLiteral("Bls_Cia_Cidade")).toString(),
                                        company.value(QStringLiteral("Bls_Cia_Usuario")).toString(),
                                        company.value(QStringLiteral("Bls_Cia_Arquivo")).toString())) &&
                        q.exec(QStringLiteral("INSERT INTO Dal_Cntr (Cnt_Codigo, Cnt_Cod_BL, Cnt_Numero, Cnt_Tipo, "
                                              "Cnt_Peso) VALUES (%1, %1, 'CSQU3054383', 'Dry Box 20', %2)")
                                   .arg(code)
                                   .arg(code * 1000.5)));
            bls = rowsOf(q, QStringLiteral("Dal_Bls"), QStringLiteral("Bls_Codigo"));
            containers = rowsOf(q, QStringLiteral("Dal_Cntr"), QStringLiteral("Cnt_Codigo"));
        });
        QCOMPARE(bls.size(), 10);
        QCOMPARE(containers.size(), 10);

        // The seed of a failed run, given in DALVORA_KILL_SEED, replays its delays.
        bool seeded = false;
        const quint32 given = qEnvironmentVariable("DALVORA_KILL_SEED").toUInt(&seeded);
        const quint32 seed = seeded ? given : QRandomGenerator::global()->generate();
        qInfo("Kills around Confirmar with DALVORA_KILL_SEED=%u", seed);
        QRandomGenerator random(seed);
        constexpr int Rounds = 26;
        // Where each kill fell, for BLs and for containers: before the write began, inside it (the file's rollback
        // journal was left), after the commit.
        enum Landing { BeforeWrite, InsideWrite, AfterCommit };
        int landings[2][3] = {};
        QVariantMap typedBl;
        QVariantMap typedContainer;
        bool journalLeft = false;
        for (int round = 0; round <= Rounds; ++round) {
            XClient::Window window;
            QProcess *copy = startFirstCopy(folder, window);
            QVERIFY2(window.id != 0 && !window.dialog, "the next copy did not show its main window");
            QMap<int, QVariantMap> nowBls;
            QMap<int, QVariantMap> nowContainers;
            withStore(file, [&](QSqlQuery &q) {
                verifyIntegrity(q);
                nowBls = rowsOf(q, QStringLiteral("Dal_Bls"), QStringLiteral("Bls_Codigo"));
                nowContainers = rowsOf(q, QStringLiteral("Dal_Cntr"), QStringLiteral("Cnt_Codigo"));
            });
            if (round > 0) {
                const QString where = QStringLiteral("round %1").arg(round - 1);
                int newBl = 0;
                int newContainer = 0;
                verifyRows(bls, nowBls, typedBl, where + QStringLiteral(", BL"), newBl);
                verifyRows(containers, nowContainers, typedContainer, where + QStringLiteral(", container"),
                           newContainer);
                if (QTest::currentTestFailed())
                    return;
                const bool containerRound = !typedContainer.isEmpty();
                if (containerRound) {
                    // Its BL was confirmed before the container window could open.
                    QVERIFY2(newBl != 0, qPrintable(where));
                    if (newContainer != 0)
                        QCOMPARE(nowContainers.value(newContainer).value(QStringLiteral("Cnt_Cod_BL")).toInt(), newBl);
                }
                ++landings[containerRound][(containerRound ? newContainer : newBl) != 0 ? AfterCommit
                                           : journalLeft                                ? InsideWrite
                                                                                        : BeforeWrite];
            }
            if (round == Rounds)
                break;
            bls = nowBls;
            containers = nowContainers;

            // Every other round confirms a container, which needs a BL of containers (CNTR) confirmed first.
            const bool containerRound = round % 2 == 1;
            typedBl = company;
            typedBl.insert(QStringLiteral("Bls_Shipper1"), QStringLiteral("SHIPPER %1").arg(round));
            typedBl.insert(QStringLiteral("Bls_ReservaNr"), QStringLiteral("RES%1-%2").arg(seed).arg(round));
            typedBl.insert(QStringLiteral("Bls_PortLoading"), QStringLiteral("SANTOS"));
            typedBl.insert(QStringLiteral("Bls_PortDischarge"), QStringLiteral("HAMBURG %1").arg(round));
            typedBl.insert(QStringLiteral("Bls_Carga"), containerRound ? QStringLiteral("FCL") : QStringLiteral("LCL"));
            typedContainer.clear();
            if (containerRound)
                typedContainer = {{QStringLiteral("Cnt_Numero"), QStringLiteral("MSCU1234565")},
                                  {QStringLiteral("Cnt_Tipo"), QStringLiteral("Reefer 20")},
                                  {QStringLiteral("Cnt_Peso"), 18500 + round}};

            const XClient &x = m_display.client();
            const QPoint origin = x.origin(window.id);
            x.focus(window.id);
            x.click(origin + IncluirButton);
            // After Incluir the first Shipper line has the keyboard; Tab walks Consignee and Notify to the booking,
            // then past Shippers Ref., the BL number and the vessel to the ports. The company comes from the newest BL.
            QVERIFY(x.type(typedBl.value(QStringLiteral("Bls_Shipper1")).toString() + QString(15, u'\t') +
                           typedBl.value(QStringLiteral("Bls_ReservaNr")).toString() + QString(4, u'\t') +
                           typedBl.value(QStringLiteral("Bls_PortLoading")).toString() + u'\t' +
                           typedBl.value(QStringLiteral("Bls_PortDischarge")).toString()));
            QPoint confirmar = origin + ConfirmarButton;
            if (containerRound) {
                x.click(origin + CntrCargaChoice);
                x.click(confirmar);
                x.click(origin + DescricaoTab);
                x.click(origin + ContainerButton);
                XClient::Window dialog;
                QVERIFY2(VirtualDisplay::waitUntil(
                             [&] {
                                 for (const XClient::Window &shown : m_display.windowsOf(copy))
                                     if (shown.title == QLatin1String("Containers"))
                                         dialog = shown;
                                 return dialog.id != 0;
                             },
                             StartTimeout),
                         "the container window did not open over the confirmed BL");
                const QPoint dialogOrigin = x.origin(dialog.id);
                x.focus(dialog.id);
                x.click(dialogOrigin + IncluirButton);
                // The number has the keyboard; a letter picks the type from the closed list.
                QVERIFY(x.type(typedContainer.value(QStringLiteral("Cnt_Numero")).toString() + QStringLiteral("\tR\t") +
                               typedContainer.value(QStringLiteral("Cnt_Peso")).toString()));
                confirmar = dialogOrigin + ConfirmarButton;
            }
            // The program has taken the keys before the click, so the kill's delay counts from the click.
            QTest::qWait(300);
            x.click(confirmar);
            if (round < 2) {
                // The first BL and the first container are killed only once stored: the keys and clicks do reach
                // the program, and what it stores is what was typed.
                const QString table = containerRound ? QStringLiteral("Dal_Cntr") : QStringLiteral("Dal_Bls");
                const qsizetype rowsBefore = (containerRound ? containers : bls).size();
                QVERIFY2(VirtualDisplay::waitUntil(
                             [&] {
                                 qsizetype rows = 0;
                                 withStore(file, [&](QSqlQuery &q) {
                                     if (q.exec(QStringLiteral("SELECT count(*) FROM ") + table) && q.next())
                                         rows = q.value(0).toInt();
                                 });
                                 return rows > rowsBefore;
                             },
                             StartTimeout),
                         "Confirmar stored nothing");
            } else {
                // Spread evenly over the decades from 0.1 ms to 300 ms: the commit takes a few milliseconds, and a
                // kill should fall often enough before, inside and after it.
                const double delayMs = 0.1 * std::pow(3000.0, random.generateDouble());
                std::this_thread::sleep_for(std::chrono::microseconds(qint64(delayMs * 1000)));
            }
            copy->kill();
            QVERIFY(copy->waitForFinished(EndTimeout));
            // A rollback journal with content is left only by a write that had begun and not committed.
            journalLeft = QFileInfo(file + QStringLiteral("-journal")).size() > 0;
        }
        for (const bool containerRound : {false, true})
            qInfo("Kills while confirming a %s: %d before the write, %d inside it, %d after the commit",
                  containerRound ? "container" : "BL", landings[containerRound][BeforeWrite],
                  landings[containerRound][InsideWrite], landings[containerRound][AfterCommit]);
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
