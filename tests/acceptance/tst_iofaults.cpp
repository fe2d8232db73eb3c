#include "DalvoraApplication.h"
#include "DialogDriver.h"
#include "FileSizeLimit.h"
#include "IoFaultVfs.h"
#include "Store.h"
#include "TDM_BL.h"
#include "TF_Principal.h"
#include "TF_Procura.h"
#include "TF_TXT.h"
#include "TMsgDlg.h"
#include "TestEnv.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <functional>
#include <optional>

using namespace Qt::Literals::StringLiterals;

namespace {

// What the road has put in the store, as "BL <code>" -> booking and first shipper line, "CNTR <code>" -> its BL and
// number, and "FILE" -> the booking line of the EDI/BL file when there is one.
using Snapshot = QMap<QString, QString>;

const QString Booking = u"BOOK1"_s;
const QString EdiFile = u"DVBL_DALV1_BOOK1.TXT"_s;

// The store as a second connection reads it from the file; its integrity check's verdict under "integrity".
Snapshot readBack(const QString &folder)
{
    Snapshot rows;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"check"_s);
        db.setDatabaseName(folder + u"/dalvora.db"_s);
        if (!db.open())
            return {{u"integrity"_s, u"cannot open"_s}};
        QSqlQuery q(db);
        q.exec(u"PRAGMA integrity_check"_s);
        rows.insert(u"integrity"_s, q.next() ? q.value(0).toString() : q.lastError().text());
        // The BL entered after the fault is looked at by the test itself.
        q.exec(u"SELECT Bls_Codigo, Bls_ReservaNr, Bls_Shipper1 FROM Dal_Bls WHERE Bls_ReservaNr <> 'AFTER'"_s);
        while (q.next())
            rows.insert(u"BL "_s + q.value(0).toString(), q.value(1).toString() + u'|' + q.value(2).toString());
        q.exec(u"SELECT Cnt_Codigo, Cnt_Cod_BL, Cnt_Numero FROM Dal_Cntr"_s);
        while (q.next())
            rows.insert(u"CNTR "_s + q.value(0).toString(), q.value(1).toString() + u'|' + q.value(2).toString());
        q.exec(u"SELECT count(*) FROM Dal_Bls WHERE Bls_ReservaNr = 'AFTER'"_s);
        rows.insert(u"after"_s, q.next() ? q.value(0).toString() : QString());
    }
    QSqlDatabase::removeDatabase(u"check"_s);
    QFile file(folder + u'/' + EdiFile);
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = file.readAll();
        const qsizetype at = bytes.indexOf("[EP2]");
        rows.insert(u"FILE"_s, QString::fromLatin1(bytes.mid(at, bytes.indexOf('\r', at) - at)));
    }
    return rows;
}

QString describe(const Snapshot &rows)
{
    QStringList out;
    for (auto it = rows.begin(); it != rows.end(); ++it)
        out << it.key() + u" = "_s + it.value();
    return out.join(u"; "_s);
}

} // namespace

// The store's file fails one write, sync or lock at a time, the first call of the road, then the second, and so on
// until the road passes all of its calls: a BL confirmed, a container added, the BL edited, its EDI/BL file saved,
// a second BL confirmed and the first deleted with its details. After every fault the program has shown its error
// box and goes on (a new BL is confirmed), the file passes SQLite's integrity check, and the store holds exactly
// what the road had confirmed before the faulty step, with that step done whole or not at all.
class TestIoFaults : public QObject
{
    Q_OBJECT

    struct Step
    {
        const char *name;
        std::function<void()> act;
        std::function<void(Snapshot &)> expect; // what the step adds to or takes from the store when it succeeds
    };

    QString m_root;
    QString m_folder;
    TDM_BL *dm = nullptr;
    TF_Principal *w = nullptr;
    DialogDriver *driver = nullptr;
    bool m_fullDisk = false;
    bool m_fired = false;

    static QString ok() { return TMsgDlg::caption(TMsgDlg::Ok, 1); }
    static void click(QAbstractButton *button) { QTest::mouseClick(button, Qt::LeftButton); }
    static void retype(QWidget *edit, const QString &text)
    {
        edit->setFocus();
        QTest::keySequence(edit, QKeySequence::SelectAll);
        QTest::keyClicks(edit, text);
    }

    // Answers every window the road opens, whatever the order a fault leaves: error boxes and questions with OK,
    // the EDI/BL window by generating into the working folder, the search window by deleting the first BL.
    void answerAnything(QWidget *window)
    {
        if (auto *edi = qobject_cast<TF_TXT *>(window)) {
            click(edi->SB_Confirma);
            if (edi->isVisible())
                click(edi->SB_Fechar);
        } else if (auto *dialog = qobject_cast<QFileDialog *>(window)) {
            retype(dialog->findChild<QLineEdit *>(u"fileNameEdit"_s), m_folder + u'/' + EdiFile);
            click(dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Save));
        } else if (auto *search = qobject_cast<TF_Procura *>(window)) {
            QTest::keyClicks(search->Edit1, Booking);
            if (search->selectedCode() == 1)
                click(search->BB_Delete);
            if (search->isVisible())
                click(search->BB_Fechar);
        } else {
            for (QAbstractButton *button : window->findChildren<QAbstractButton *>())
                if (button->isVisible() && button->text() == ok())
                    return button->click();
            if (auto *modal = qobject_cast<QDialog *>(window))
                modal->reject();
        }
    }

    // A data-module action run from the event loop, as a window's handler runs: a store error it raises reaches the
    // general error display.
    static void asAction(const std::function<void()> &action)
    {
        QMetaObject::invokeMethod(qApp, action, Qt::QueuedConnection);
        QCoreApplication::sendPostedEvents(qApp, QEvent::MetaCall);
    }

    void includeBl(const QString &booking)
    {
        click(w->SB_Inclusao);
        const QList<QPair<QWidget *, QString>> required{{w->DBEdit3, booking},      {w->DBEdit5, u"SANTOS"_s},
                                                        {w->DBEdit8, u"HAMBURG"_s}, {w->DBEdit30, u"DALVORA"_s},
                                                        {w->DBEdit32, u"EXP"_s},    {w->DBEdit31, u"SANTOS"_s},
                                                        {w->DBEdit33, u"DALV1"_s}};
        for (const auto &[edit, text] : required)
            retype(edit, text);
        click(w->SB_Grava);
    }

    QList<Step> road()
    {
        return {
            {"confirm", [this] { includeBl(Booking); }, [](Snapshot &s) { s.insert(u"BL 1"_s, Booking + u'|'); }},
            {"container",
             [] {
                 asAction([] {
                     EditBuffer *cntr = DM_BL->qyCntr;
                     cntr->close();
                     cntr->setSql({u"SELECT * from Dal_Cntr"_s, u"where Cnt_Cod_BL = :pp1"_s});
                     cntr->setPp1(1);
                     cntr->open();
                     cntr->insert();
                     cntr->setText(u"Cnt_Numero"_s, u"MSKU1234565"_s);
                     DM_BL->postDetail(cntr, 1);
                 });
             },
             [](Snapshot &s) { s.insert(u"CNTR 1"_s, u"1|MSKU1234565"_s); }},
            {"edit",
             [this] {
                 click(w->SB_Edit);
                 retype(w->DBEdit14, u"SHIPPER"_s);
                 click(w->SB_Grava);
             },
             [](Snapshot &s) { s.insert(u"BL 1"_s, Booking + u"|SHIPPER"_s); }},
            {"EDI/BL file",
             [this] {
                 std::optional<FileSizeLimit> fullDisk;
                 if (m_fullDisk)
                     fullDisk.emplace(64);
                 click(w->SB_TXT);
             },
             [](Snapshot &s) { s.insert(u"FILE"_s, u"[EP2]"_s + Booking); }},
            {"second BL", [this] { includeBl(u"BOOK2"_s); }, [](Snapshot &s) { s.insert(u"BL 2"_s, u"BOOK2|"_s); }},
            {"delete with details", [this] { click(w->SB_Procura); },
             [](Snapshot &s) {
                 s.remove(u"BL 1"_s);
                 s.remove(u"CNTR 1"_s);
             }},
        };
    }

    // Runs the road over a new store with the n-th call of the operation failing (no SQLite fault with n = 0);
    // m_fired tells whether a fault came.
    void runRoad(IoFaultVfs::Operation operation, int n, const QString &tag)
    {
        m_fired = false;
        m_folder = m_root + u'/' + tag;
        QDir(m_folder).removeRecursively();
        QVERIFY(QDir().mkpath(m_folder));
        QDir::setCurrent(m_folder);
        Store::open(m_folder);
        dm = new TDM_BL;
        DM_BL = dm;
        w = new TF_Principal;
        w->show();
        driver = new DialogDriver;
        const auto cleanup = qScopeGuard([this] {
            IoFaultVfs::disarm();
            delete driver;
            delete w;
            delete dm;
            DM_BL = nullptr;
            Store::close();
            QDir::setCurrent(m_root);
        });
        for (int i = 0; i < 40; ++i)
            driver->handle([this](QWidget *window) { answerAnything(window); });

        if (n > 0)
            IoFaultVfs::failNth(operation, n);
        Snapshot before{{u"integrity"_s, u"ok"_s}};
        Snapshot after = before;
        QString faultyStep;
        for (const Step &step : road()) {
            before = after;
            step.act();
            step.expect(after);
            // A window repainted after the step may meet the fault and report it from the event loop.
            for (int i = 0; i < 3; ++i)
                QCoreApplication::processEvents();
            QTRY_VERIFY_WITH_TIMEOUT(!QApplication::activeModalWidget(), 20000);
            if (IoFaultVfs::fired() ||
                (m_fullDisk && !driver->seen.isEmpty() && driver->seen.constLast().title == u"Erro"_s)) {
                faultyStep = QString::fromLatin1(step.name);
                break;
            }
        }
        IoFaultVfs::disarm();
        m_fired = !faultyStep.isEmpty();
        bool retried = false;
        const bool fired = m_fired;
        const QString where = u"%1 at call %2 (step %3)\n"_s.arg(tag).arg(n).arg(faultyStep);
        if (fired) {
            const auto errors = std::count_if(driver->seen.begin(), driver->seen.end(),
                                              [](const DialogDriver::Seen &s) { return s.title == u"Erro"_s; });
            QVERIFY2(errors > 0, qPrintable(where + u"no error box\n"_s + driver->report()));
            // Each error of the store says which file it could not read or write.
            for (const DialogDriver::Seen &s : std::as_const(driver->seen))
                QVERIFY2(s.title != u"Erro"_s || !s.text.contains(u"banco de dados"_s) || s.text.contains(m_folder),
                         qPrintable(where + driver->report()));
            // The program goes on. What was being typed is still there, and Confirmar again stores it, as a clerk
            // would try once the fault has passed; then a new BL is confirmed.
            const qsizetype seenBefore = driver->seen.size();
            if (dm->qyBLS->state() == EditBuffer::Insert || dm->qyBLS->state() == EditBuffer::Edit) {
                click(w->SB_Grava);
                QVERIFY2(dm->qyBLS->state() == EditBuffer::Browse && driver->seen.size() == seenBefore,
                         qPrintable(where + u"Confirmar again failed\n"_s + driver->report()));
                retried = true;
            }
            includeBl(u"AFTER"_s);
            QVERIFY2(w->isVisible() && dm->qyBLS->state() == EditBuffer::Browse && driver->seen.size() == seenBefore,
                     qPrintable(where + u"no new BL after the fault\n"_s + driver->report()));
        }
        Snapshot stored = readBack(m_folder);
        QCOMPARE(stored.take(u"after"_s), fired ? u"1"_s : u"0"_s);
        QVERIFY2(stored == after || (!retried && stored == before),
                 qPrintable(where + u"stored: "_s + describe(stored) + u"\nbefore the step: "_s + describe(before) +
                            u"\nafter the step: "_s + describe(after)));
    }

private Q_SLOTS:
    void initTestCase()
    {
        QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
        IoFaultVfs::install();
        m_root = QDir::currentPath();
    }

    // An error that leaves a paint event breaks the toolkit's repaint (and crashes it at random).
    void init() { QTest::failOnWarning(QRegularExpression(u"active painter|being painted"_s)); }

    void roadWithoutFaultsStoresEverything()
    {
        runRoad(IoFaultVfs::Write, 0, u"clean"_s);
        QVERIFY(!QTest::currentTestFailed() && !m_fired);
        const Snapshot stored = readBack(m_root + u"/clean"_s);
        QCOMPARE(stored.value(u"BL 2"_s), u"BOOK2|"_s);
        QCOMPARE(stored.value(u"FILE"_s), u"[EP2]BOOK1"_s);
        QVERIFY(!stored.contains(u"BL 1"_s));
    }

    void everyCallOfTheRoadFailsOnce_data()
    {
        QTest::addColumn<int>("operation");
        QTest::newRow("write") << int(IoFaultVfs::Write);
        QTest::newRow("sync") << int(IoFaultVfs::Sync);
        QTest::newRow("lock") << int(IoFaultVfs::Lock);
    }

    void everyCallOfTheRoadFailsOnce()
    {
        QFETCH(int, operation);
        int n = 0;
        do
            runRoad(IoFaultVfs::Operation(operation), ++n, QString::fromLatin1(QTest::currentDataTag()));
        while (m_fired && !QTest::currentTestFailed());
        QVERIFY2(n > 1, "the road made no such call");
        qInfo("%s: %d calls, each failed once", QTest::currentDataTag(), n - 1);
    }

    // The EDI/BL file is written through its own temporary file, not the store: a full disk (the process's file
    // size limit) refuses it with the error box, and the road goes on.
    void ediFileOnAFullDisk()
    {
        m_fullDisk = true;
        runRoad(IoFaultVfs::Write, 0, u"full disk"_s);
        m_fullDisk = false;
        QVERIFY(m_fired);
        QVERIFY(!QFile::exists(m_root + u"/full disk/"_s + EdiFile));
    }
};

int main(int argc, char *argv[])
{
    TestEnv env;
    DalvoraApplication app(argc, argv);
    prepareTestApplication();
    TestIoFaults tc;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&tc, argc, argv);
}
#include "tst_iofaults.moc"
