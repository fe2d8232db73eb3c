#include "DialogDriver.h"
#include "StoreError.h"
#include "StoreFixture.h"
#include "TF_Duplicar.h"
#include "TF_Procura.h"
#include "TMsgDlg.h"
#include "TestEnv.h"

#include <QHeaderView>
#include <QScrollBar>
#include <functional>

// Drives the search window through its real entry: the window is modal, so each scenario runs as the answer to its
// appearance, and the dialogs it opens are answered from the driver's queue.
class TestTF_Procura : public QObject
{
    Q_OBJECT

    StoreFixture fx;
    DialogDriver *driver = nullptr;
    QList<qint64> codes; // codes of the four stored BLs, in the order below

    TF_Procura::Result runSearch(const std::function<void(TF_Procura *)> &steps)
    {
        driver->handle(StoreFixture::scenario<TF_Procura>(steps));
        return TF_Procura::execSearch(nullptr);
    }

    // The four BLs; every list column orders them differently.
    void storeFour()
    {
        const QStringList fields{"Bls_ReservaNr",     "Bls_RefShipper", "Bls_Navio", "Bls_Viagem", "Bls_PortLoading",
                                 "Bls_PortDischarge", "Bls_Shipper1",   "Bls_Cnee1", "Bls_Notify1"};
        const QList<QStringList> rows{
            {"SSZ1", "R1", "MAERSK", "V2", "SANTOS", "HAMBURG", "B", "B", "A"},
            {"AB100", "R4", "ZIM", "V9", "RIO", "ANTWERP", "C", "C", "B"},
            {"SSA2", "R3", "CMA", "V1", "PARANAGUA", "ROTTERDAM", "D", "A", "C"},
            {"XY7", "R2", "HAPAG", "V5", "ITAJAI", "BREMEN", "A", "D", "D"},
        };
        codes.clear();
        for (const QStringList &row : rows) {
            QVariantHash columns;
            for (int i = 0; i < fields.size(); ++i)
                columns.insert(fields[i], row[i]);
            codes << StoreFixture::storeBl(columns);
        }
    }

    // Positions (1 to 4) of the stored BLs in the order the list shows them.
    QList<int> shownOrder() const
    {
        QList<int> order;
        const ListQuery *list = DM_BL->qyMostra;
        for (int row = 0; row < list->recordCount(); ++row)
            order << codes.indexOf(list->valueAt(row, QStringLiteral("Bls_Codigo")).toLongLong()) + 1;
        return order;
    }

    static void clickTitle(TF_Procura *search, int column)
    {
        TDBGrid *grid = search->DBGrid1;
        grid->scrollTo(grid->model()->index(0, column));
        QHeaderView *header = grid->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(column) + 4, header->height() / 2));
    }

    static void clickRow(TF_Procura *search, int row)
    {
        TDBGrid *grid = search->DBGrid1;
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualRect(grid->model()->index(row, 0)).center());
    }

    static QString selectedReserva(TF_Procura *search)
    {
        // The grid shows the list's current row.
        [&] { QCOMPARE(search->DBGrid1->currentIndex().row(), DM_BL->qyMostra->currentIndex()); }();
        return DM_BL->qyMostra->text(QStringLiteral("Bls_ReservaNr"));
    }

private Q_SLOTS:
    void init()
    {
        fx.setUp();
        driver = new DialogDriver;
    }
    void cleanup()
    {
        QCOMPARE(driver->pending(), 0);
        delete driver;
        fx.tearDown();
    }

    void showsEveryBlByBookingNumber()
    {
        storeFour();
        const TF_Procura::Result result = runSearch([this](TF_Procura *search) {
            QCOMPARE(search->windowTitle(), QStringLiteral("B/L Draft - Procurar"));
            QVERIFY(search->Edit1->text().isEmpty());
            QCOMPARE(search->focusWidget(), search->Edit1);
            QCOMPARE(search->DBGrid1->columnTitles(),
                     QStringList({"Reserva", "Ref.", "Navio", "Viagem", "Port of Loading", "Port of Discharge",
                                  "Shipper", "Cnee", "Notify"}));
            const QList<int> widths{123, 115, 127, 100, 130, 130, 200, 200, 200};
            for (int i = 0; i < widths.size(); ++i)
                QCOMPARE(search->DBGrid1->columnWidth(i), widths[i]);
            QHeaderView *header = search->DBGrid1->horizontalHeader();
            QVERIFY(!header->sectionsMovable());
            QCOMPARE(header->sectionResizeMode(0), QHeaderView::Fixed);
            QCOMPARE(shownOrder(), QList<int>({2, 3, 1, 4}));
            QCOMPARE(selectedReserva(search), QStringLiteral("AB100"));
            clickRow(search, 2);
            QCOMPARE(selectedReserva(search), QStringLiteral("SSZ1"));
            QTest::mouseClick(search->SB_Confirma, Qt::LeftButton);
        });
        QCOMPARE(result.RetornoProcura, QStringLiteral("OK"));
        QCOMPARE(result.code, codes[0]);
        QVERIFY(!DM_BL->qyMostra->isOpen());
    }

    // A BL whose code needs more than 32 bits (a store written by another tool) is the one opened and deleted, not
    // the BL its code would wrap to.
    void keysPast32Bits()
    {
        storeFour();
        const qint64 big = 4294967297; // 2^32 + 1: codes[0] when cut to 32 bits
        QCOMPARE(codes[0], 1);
        StoreFixture::addDetail(DM_BL->qyCntr, codes[0], {{"Cnt_Numero", "ABCU1234567"}});
        QSqlQuery insert(Store::database());
        QVERIFY(
            insert.exec(QStringLiteral("INSERT INTO Dal_Bls (Bls_Codigo, Bls_ReservaNr) VALUES (%1, 'BIG')").arg(big)));
        QVERIFY(insert.exec(
            QStringLiteral("INSERT INTO Dal_Cntr (Cnt_Codigo, Cnt_Cod_BL, Cnt_Numero) VALUES (%1, %1, 'BIGC')")
                .arg(big)));
        const auto jumpToBig = [](TF_Procura *search) {
            QTest::keyClicks(search->Edit1, QStringLiteral("BIG"));
            QCOMPARE(selectedReserva(search), QStringLiteral("BIG"));
            QCOMPARE(search->selectedCode(), big);
        };
        const TF_Procura::Result opened = runSearch([&](TF_Procura *search) {
            jumpToBig(search);
            QTest::mouseClick(search->SB_Confirma, Qt::LeftButton);
        });
        QCOMPARE(opened.code, big);
        StoreFixture::showBl(opened.code);
        QCOMPARE(DM_BL->qyBLS->text(QStringLiteral("Bls_ReservaNr")), QStringLiteral("BIG"));
        DM_BL->qyBLS->close();

        runSearch([&](TF_Procura *search) {
            jumpToBig(search);
            driver->press("OK").press("OK");
            QTest::mouseClick(search->BB_Delete, Qt::LeftButton);
            QTest::mouseClick(search->BB_Fechar, Qt::LeftButton);
        });
        QCOMPARE(StoreFixture::count("SELECT COUNT(*) from Dal_Bls where Bls_Codigo = 4294967297"), 0);
        QCOMPARE(StoreFixture::count("SELECT COUNT(*) from Dal_Cntr where Cnt_Cod_BL = 4294967297"), 0);
        QCOMPARE(StoreFixture::count("SELECT COUNT(*) from Dal_Bls"), 4);
        QCOMPARE(StoreFixture::count("SELECT COUNT(*) from Dal_Cntr where Cnt_Cod_BL = 1"), 1);
    }

    void emptyList()
    {
        // Deleting does nothing, duplicating says there is no row, and confirming still returns "OK".
        driver->handle(StoreFixture::scenario<TF_Procura>([](TF_Procura *search) {
            QTest::mouseClick(search->BB_Delete, Qt::LeftButton);
            QTest::mouseClick(search->SB_Duplicar, Qt::LeftButton);
            QVERIFY(search->isVisible());
            QVERIFY(search->RetornoProcura.isEmpty());
            QTest::mouseClick(search->SB_Confirma, Qt::LeftButton);
        }));
        driver->press(QStringLiteral("OK"));
        const TF_Procura::Result result = TF_Procura::execSearch(nullptr);
        QCOMPARE(driver->texts(), QStringList{QStringLiteral("Não tem Registro selecionado")});
        QCOMPARE(result.RetornoProcura, QStringLiteral("OK"));
        QCOMPARE(result.code, 0);
    }

    void closeReturnsNothing()
    {
        storeFour();
        const TF_Procura::Result result = runSearch([](TF_Procura *search) {
            QTest::keyClick(search, Qt::Key_Escape); // not a way out
            QVERIFY(search->isVisible());
            QTest::mouseClick(search->BB_Fechar, Qt::LeftButton);
        });
        QVERIFY(result.RetornoProcura.isEmpty());
    }

    void sortByTitle_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QList<int>>("order");
        QTest::newRow("Reserva") << 0 << QList<int>{2, 3, 1, 4};
        QTest::newRow("Ref.") << 1 << QList<int>{1, 4, 3, 2};
        QTest::newRow("Navio") << 2 << QList<int>{3, 4, 1, 2};
        QTest::newRow("Viagem") << 3 << QList<int>{3, 1, 4, 2};
        QTest::newRow("Port of Loading") << 4 << QList<int>{4, 3, 2, 1};
        QTest::newRow("Port of Discharge") << 5 << QList<int>{2, 4, 1, 3};
        QTest::newRow("Shipper") << 6 << QList<int>{4, 1, 2, 3};
        QTest::newRow("Cnee") << 7 << QList<int>{3, 1, 2, 4};
        QTest::newRow("Notify") << 8 << QList<int>{1, 2, 3, 4};
    }

    void sortByTitle()
    {
        QFETCH(int, column);
        QFETCH(QList<int>, order);
        storeFour();
        runSearch([&](TF_Procura *search) {
            QTest::keyClicks(search->Edit1, QStringLiteral("XY"));
            // Ascending every time, the selection on the first row, the search box kept but not applied again.
            for (int click = 0; click < 2; ++click) {
                clickRow(search, 3);
                clickTitle(search, column);
                QCOMPARE(shownOrder(), order);
                QCOMPARE(DM_BL->qyMostra->currentIndex(), 0);
                QCOMPARE(search->DBGrid1->currentIndex().row(), 0);
                QCOMPARE(search->Edit1->text(), QStringLiteral("XY"));
            }
            QCOMPARE(DM_BL->qyMostra->order(), TF_Procura::orderColumn(column));
            QTest::mouseClick(search->BB_Fechar, Qt::LeftButton);
        });
    }

    void orderColumns()
    {
        const QStringList columns{"Bls_ReservaNr",     "Bls_RefShipper", "Bls_Navio", "Bls_Viagem", "Bls_PortLoading",
                                  "Bls_PortDischarge", "Bls_Shipper1",   "Bls_Cnee1", "Bls_Notify1"};
        for (int i = 0; i < columns.size(); ++i)
            QCOMPARE(TF_Procura::orderColumn(i), columns[i]);
        QVERIFY(TF_Procura::orderColumn(9).isEmpty());
        QVERIFY(TF_Procura::orderColumn(-1).isEmpty());
    }

    void jumpWhileTyping_data()
    {
        QTest::addColumn<int>("sortColumn");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<int>("listed");
        // The first match in the order shown; a text nothing continues leaves the selection; nothing is filtered.
        QTest::newRow("SS by booking number") << 0 << "ss"
                                              << "SSA2" << 4;
        QTest::newRow("SS by reference") << 1 << "ss"
                                         << "SSZ1" << 4;
        QTest::newRow("third letter") << 0 << "ssz"
                                      << "SSZ1" << 4;
        QTest::newRow("no continuation") << 0 << "sszq"
                                         << "SSZ1" << 4;
        QTest::newRow("nothing at all") << 2 << "q"
                                        << "SSA2" << 4;
    }

    void jumpWhileTyping()
    {
        QFETCH(int, sortColumn);
        QFETCH(QString, typed);
        QFETCH(QString, selected);
        QFETCH(int, listed);
        storeFour();
        runSearch([&](TF_Procura *search) {
            clickTitle(search, sortColumn);
            search->Edit1->setFocus();
            QTest::keyClicks(search->Edit1, typed);
            QCOMPARE(search->Edit1->text(), typed.toUpper());
            QCOMPARE(selectedReserva(search), selected);
            QCOMPARE(DM_BL->qyMostra->recordCount(), listed);
            // Emptying the box leaves the selection where it is.
            search->Edit1->clear();
            QCOMPARE(selectedReserva(search), selected);
            QTest::mouseClick(search->BB_Fechar, Qt::LeftButton);
        });
    }

    // The arrows and page keys in the search box move the selection; the focus stays in the box, and typing there
    // still jumps.
    void searchBoxKeysMoveTheSelection()
    {
        storeFour();
        runSearch([&](TF_Procura *search) {
            search->Edit1->setFocus();
            QTest::keyClicks(search->Edit1, QStringLiteral("SS"));
            QCOMPARE(selectedReserva(search), QStringLiteral("SSA2"));
            QTest::keyClick(search->Edit1, Qt::Key_Down);
            QCOMPARE(selectedReserva(search), QStringLiteral("SSZ1"));
            QTest::keyClick(search->Edit1, Qt::Key_PageDown);
            QCOMPARE(selectedReserva(search), QStringLiteral("XY7"));
            QTest::keyClick(search->Edit1, Qt::Key_Up);
            QCOMPARE(selectedReserva(search), QStringLiteral("SSZ1"));
            QTest::keyClick(search->Edit1, Qt::Key_PageUp);
            QCOMPARE(selectedReserva(search), QStringLiteral("AB100"));
            QCOMPARE(search->focusWidget(), search->Edit1);
            QCOMPARE(search->Edit1->text(), QStringLiteral("SS"));
            QTest::mouseClick(search->BB_Fechar, Qt::LeftButton);
        });
    }

    void deleteAsksTwice_data()
    {
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<bool>("deleted");
        QTest::newRow("Cancel first") << QStringList{"Cancelar"} << false;
        QTest::newRow("Cancel second") << QStringList{"OK", "Cancelar"} << false;
        QTest::newRow("OK twice") << QStringList{"OK", "OK"} << true;
    }

    void deleteAsksTwice()
    {
        QFETCH(QStringList, answers);
        QFETCH(bool, deleted);
        storeFour();
        const int target = codes[0];
        StoreFixture::addDetail(DM_BL->qyCntr, target, {{"Cnt_Numero", "ABCU1234567"}});
        StoreFixture::addDetail(DM_BL->qyCntr, target, {{"Cnt_Numero", "ABCU7654321"}});
        StoreFixture::addDetail(DM_BL->qySD, target);
        StoreFixture::addDetail(DM_BL->qyNCM, target);
        StoreFixture::addDetail(DM_BL->qyCntr, codes[1], {{"Cnt_Numero", "OTHER"}});
        QStringList questions;
        runSearch([&](TF_Procura *search) {
            clickTitle(search, 2); // Navio: CMA, HAPAG, MAERSK, ZIM
            clickRow(search, 2);
            QCOMPARE(selectedReserva(search), QStringLiteral("SSZ1"));
            for (const QString &answer : answers)
                driver->press(answer);
            QTest::mouseClick(search->BB_Delete, Qt::LeftButton);
            for (const DialogDriver::Seen &seen : driver->seen.mid(1))
                QVERIFY(seen.buttons.contains(QStringLiteral("Cancelar")));
            questions = {search->MD->lastText()};
            // Still sorted by vessel, on its first row.
            QCOMPARE(shownOrder(), deleted ? QList<int>({3, 4, 2}) : QList<int>({3, 4, 1, 2}));
            QCOMPARE(DM_BL->qyMostra->currentIndex(), deleted ? 0 : 2);
            QTest::mouseClick(search->BB_Fechar, Qt::LeftButton);
        });
        const QString first = QStringLiteral("DESEJA EXCLUIR ?\r\rNúmero:  SSZ1\r");
        QCOMPARE(driver->seen.size(), 1 + answers.size());
        QCOMPARE(driver->seen[1].text, QStringLiteral("DESEJA EXCLUIR ?\n\nNúmero:  SSZ1\n"));
        QCOMPARE(questions.last(), answers.size() == 1 ? first : QStringLiteral("DESEJA REALMENTE EXCLUIR ?"));
        const QString code = QString::number(target);
        QCOMPARE(StoreFixture::count("SELECT COUNT(*) from Dal_Bls where Bls_Codigo = " + code), deleted ? 0 : 1);
        QCOMPARE(StoreFixture::count("SELECT COUNT(*) from Dal_Cntr where Cnt_Cod_Bl = " + code), deleted ? 0 : 2);
        QCOMPARE(StoreFixture::count("SELECT COUNT(*) from Dal_SD where Sd_Cod_Bl = " + code), deleted ? 0 : 1);
        QCOMPARE(StoreFixture::count("SELECT COUNT(*) from Dal_NCM where Ncm_Cod_Bl = " + code), deleted ? 0 : 1);
        QCOMPARE(StoreFixture::count("SELECT COUNT(*) from Dal_Cntr"), deleted ? 1 : 3);
    }

    void failedDeletionDeletesNothing()
    {
        storeFour();
        const int target = codes[0];
        StoreFixture::addDetail(DM_BL->qyCntr, target, {{"Cnt_Numero", "ABCU1234567"}});
        StoreFixture::addDetail(DM_BL->qySD, target);
        StoreFixture::addDetail(DM_BL->qyNCM, target);
        // The BL itself cannot go, after its details went.
        QSqlQuery(Store::database())
            .exec("CREATE TRIGGER keep_bls BEFORE DELETE ON Dal_Bls BEGIN SELECT RAISE(ABORT, 'kept'); END");
        runSearch([&](TF_Procura *search) {
            clickTitle(search, 2);
            clickRow(search, 2);
            driver->press("OK").press("OK");
            // Called directly: the error is shown by the program's own event dispatch, absent here.
            QVERIFY_THROWS_EXCEPTION(StoreError, search->BB_DeleteClick());
            QCOMPARE(shownOrder(), QList<int>({3, 4, 1, 2}));
            QCOMPARE(selectedReserva(search), QStringLiteral("SSZ1"));
            QTest::mouseClick(search->BB_Fechar, Qt::LeftButton);
        });
        const QString code = QString::number(target);
        QCOMPARE(StoreFixture::count("SELECT COUNT(*) from Dal_Bls"), 4);
        QCOMPARE(StoreFixture::count("SELECT COUNT(*) from Dal_Cntr where Cnt_Cod_Bl = " + code), 1);
        QCOMPARE(StoreFixture::count("SELECT COUNT(*) from Dal_SD where Sd_Cod_Bl = " + code), 1);
        QCOMPARE(StoreFixture::count("SELECT COUNT(*) from Dal_NCM where Ncm_Cod_Bl = " + code), 1);
    }

    void duplicateCancelledStaysOpen()
    {
        storeFour();
        const TF_Procura::Result result = runSearch([this](TF_Procura *search) {
            clickRow(search, 1);
            driver->handle(StoreFixture::scenario<TF_Duplicar>(
                [](TF_Duplicar *dup) { QTest::mouseClick(dup->SB_Cancela, Qt::LeftButton); }));
            QTest::mouseClick(search->SB_Duplicar, Qt::LeftButton);
            QVERIFY(search->isVisible());
            QCOMPARE(search->RetornoProcura, QStringLiteral("erro"));
            QCOMPARE(shownOrder(), QList<int>({2, 3, 1, 4}));
            QCOMPARE(selectedReserva(search), QStringLiteral("SSA2"));
            QVERIFY(!DM_BL->qyBLS->isOpen());
            QTest::mouseClick(search->BB_Fechar, Qt::LeftButton);
        });
        QVERIFY(result.RetornoProcura.isEmpty());
    }

    void duplicateCarriesMarksAndDescription_data()
    {
        QTest::addColumn<bool>("marks");
        QTest::addColumn<bool>("description");
        QTest::newRow("both") << true << true;
        QTest::newRow("description only") << false << true;
        QTest::newRow("neither") << false << false;
    }

    void duplicateCarriesMarksAndDescription()
    {
        QFETCH(bool, marks);
        QFETCH(bool, description);
        const int source = StoreFixture::storeBl(
            {{"Bls_ReservaNr", "SSZ1"}, {"Bls_Marks", "N/M\r\nLOT 7"}, {"Bls_Descricao", "10 PALLETS\r\nSTC COFFEE"}});
        const TF_Procura::Result result = runSearch([&](TF_Procura *search) {
            driver->handle(StoreFixture::scenario<TF_Duplicar>([&](TF_Duplicar *dup) {
                if (marks)
                    QTest::mouseClick(dup->CB_Marks, Qt::LeftButton, {}, QPoint(8, 10));
                if (description)
                    QTest::mouseClick(dup->CB_Descricao, Qt::LeftButton, {}, QPoint(8, 10));
                QTest::mouseClick(dup->SB_Confirma, Qt::LeftButton);
            }));
            QTest::mouseClick(search->SB_Duplicar, Qt::LeftButton);
        });
        QCOMPARE(result.RetornoProcura, QStringLiteral("DUPLICA"));
        QCOMPARE(result.code, source);
        QCOMPARE(result.marks, marks ? QStringLiteral("N/M\nLOT 7") : QString());
        QCOMPARE(result.description, description ? QStringLiteral("10 PALLETS\nSTC COFFEE") : QString());
        QCOMPARE(DM_BL->qyBLS->state(), EditBuffer::Insert);
        QVERIFY(!DM_BL->qyDup->isOpen());
    }
};

DALVORA_TEST_MAIN(TestTF_Procura)
#include "tst_tf_procura.moc"
