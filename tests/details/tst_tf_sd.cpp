#include "DialogDriver.h"
#include "StoreFixture.h"
#include "TF_SD.h"
#include "TestEnv.h"

#include <QClipboard>
#include <QLabel>
#include <QRadioButton>
#include <QSqlQuery>
#include <functional>

// Drives the SD / NCM editor through its real entry; see tst_tf_container.cpp for the pattern.
class TestTF_SD : public QObject
{
    Q_OBJECT

    StoreFixture fx;
    DialogDriver *driver = nullptr;

    // The window shown as its entry shows it, but not modally, so the message dialogs it opens are the only modal
    // ones and the driver answers them; closing ends as the entry does, with the queries closed.
    void runEditor(const std::function<void(TF_SD *)> &scenario)
    {
        TF_SD::openQueries();
        {
            TF_SD editor;
            editor.show();
            QVERIFY(QTest::qWaitForWindowActive(&editor));
            scenario(&editor);
            click(editor.BB_Fechar);
            QVERIFY(!editor.isVisible());
        }
        DM_BL->qyNCM->close();
        DM_BL->qySD->close();
    }

    // Clicked near the left edge, where a check box or radio button has its mark.
    static void click(QAbstractButton *button)
    {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    }

    static void type(QWidget *edit, const QString &text)
    {
        edit->setFocus();
        QTest::keyClicks(edit, text);
    }

    void addNcm(TF_SD *editor, const QString &code)
    {
        editor->EdNCM->setText(code);
        click(editor->SB_IncNCM);
    }

    // A new BL with one SD document, numbered "1".
    static void newBlWithADocument()
    {
        StoreFixture::addDetail(
            DM_BL->qySD, StoreFixture::newBl(),
            {{QStringLiteral("Sd_Numero"), QStringLiteral("1")}, {QStringLiteral("Sd_Tipo"), QStringLiteral("SD")}});
    }

    static int count(const QString &sql)
    {
        QSqlQuery q(Store::database());
        q.exec(QStringLiteral("SELECT count(*) FROM ") + sql);
        q.next();
        return q.value(0).toInt();
    }

    static void addNcmRows(int bl, int howMany)
    {
        for (int i = 0; i < howMany; ++i)
            StoreFixture::addDetail(
                DM_BL->qyNCM, bl,
                {{QStringLiteral("Ncm_Numero"), QStringLiteral("%1").arg(i, 4, 10, QLatin1Char('0'))}});
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

    // The lists' alignments, and every column of the document list inside it at the window's size.
    void listsAlignAndShowEveryColumn_data()
    {
        QTest::addColumn<QString>("grid");
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("alignment");
        const int left = Qt::AlignLeft, centre = Qt::AlignHCenter, right = Qt::AlignRight;
        QTest::newRow("Tp") << "DBGrid1" << 0 << left;
        QTest::newRow("Número") << "DBGrid1" << 1 << left;
        QTest::newRow("Vencto") << "DBGrid1" << 2 << centre;
        QTest::newRow("Valor FOB") << "DBGrid1" << 3 << right;
        QTest::newRow("Peso") << "DBGrid1" << 4 << left;
        QTest::newRow("Vol.") << "DBGrid1" << 5 << centre;
        QTest::newRow("NCM") << "DBGrid2" << 0 << centre;
    }
    void listsAlignAndShowEveryColumn()
    {
        QFETCH(QString, grid);
        QFETCH(int, column);
        QFETCH(int, alignment);
        const int bl = StoreFixture::newBl();
        StoreFixture::addDetail(DM_BL->qySD, bl,
                                {{"Sd_Tipo", "SD"},
                                 {"Sd_Numero", "08/12345-6"},
                                 {"Sd_Vencto", QDate(2027, 3, 15)},
                                 {"Sd_ValorFOB", 45000.5},
                                 {"Sd_Peso", 19200.5},
                                 {"Sd_Volume", 800}});
        addNcmRows(bl, 1);
        StoreFixture::showBl(bl);
        runEditor([&](TF_SD *editor) {
            QCOMPARE(editor->size(), QSize(640, 382));
            auto *view = editor->findChild<TDBGrid *>(grid);
            const QModelIndex cell = view->model()->index(0, column);
            QCOMPARE(
                int(view->model()->data(cell, Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignHorizontal_Mask),
                alignment);
            const QRect shown = view->visualRect(cell);
            QVERIFY2(shown.left() >= 0 && shown.right() < view->viewport()->width(),
                     qPrintable(QStringLiteral("column %1 at %2-%3, list %4 wide")
                                    .arg(column)
                                    .arg(shown.left())
                                    .arg(shown.right())
                                    .arg(view->viewport()->width())));
        });
    }

    void showingComposesItsCaptions()
    {
        const int bl = StoreFixture::newBl();
        addNcmRows(bl, 3);
        // Through the real entry: the window is modal and closes with its button.
        driver->handle([](QWidget *window) {
            auto *editor = qobject_cast<TF_SD *>(window);
            QVERIFY(editor);
            QCOMPARE(editor->windowTitle(), QStringLiteral("SD"));
            QCOMPARE(editor->GB_NCM->title(), QStringLiteral("Cadastro NCM"));
            QCOMPARE(editor->L_Tot->text(), QStringLiteral("3"));
            QCOMPARE(editor->DBGrid1->property("columnTitles").toStringList().value(3), QStringLiteral("Valor FOB"));
            QCOMPARE(editor->StatusBar1->panelText(1), QStringLiteral("Visualizar"));
            QCOMPARE(DM_BL->qyNCM->text(QStringLiteral("Ncm_Numero")), QStringLiteral("0000"));
            click(editor->BB_Fechar);
        });
        TF_SD::execFor(nullptr);
        QVERIFY(!DM_BL->qyNCM->isOpen() && !DM_BL->qySD->isOpen());
    }

    void documentIncludedWithOnlyKindAndNumber()
    {
        const int other = StoreFixture::newBl();
        StoreFixture::addDetail(DM_BL->qySD, other, {{QStringLiteral("Sd_Numero"), QStringLiteral("X")}});
        const int bl = StoreFixture::newBl();
        runEditor([this](TF_SD *editor) {
            click(editor->SB_Inclusao);
            QVERIFY(editor->focusWidget() == editor->DBEdit2);
            QVERIFY(!editor->DBGrid1->isEnabled());
            driver->press(QStringLiteral("OK"));
            click(editor->SB_Grava);
            QCOMPARE(driver->texts().last(), QStringLiteral("Necessário Tipo"));
            click(editor->DBRG_Tipo->findChildren<QRadioButton *>().at(1)); // "DSE"
            driver->press(QStringLiteral("OK"));
            click(editor->SB_Grava);
            QCOMPARE(driver->texts().last(), QStringLiteral("Necessário Número"));
            QVERIFY(editor->focusWidget() == editor->DBEdit2);
            QTest::keyClicks(editor->DBEdit2, QStringLiteral("2024/7"));
            click(editor->SB_Grava);
            QCOMPARE(DM_BL->qySD->state(), EditBuffer::Browse);
            QVERIFY(editor->DBGrid1->isEnabled());
        });
        QSqlQuery q(Store::database());
        q.exec(QStringLiteral("SELECT Sd_Codigo, Sd_Cod_BL, Sd_Tipo, Sd_Numero, Sd_Vencto, Sd_Peso, Sd_Volume, "
                              "Sd_ValorFOB FROM Dal_SD WHERE Sd_Cod_BL = %1")
                   .arg(bl));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toInt(), 2);
        QCOMPARE(q.value(1).toInt(), bl);
        QCOMPARE(q.value(2).toString(), QStringLiteral("DSE"));
        QCOMPARE(q.value(3).toString(), QStringLiteral("2024/7"));
        for (int i = 4; i < 8; ++i)
            QVERIFY(q.value(i).isNull());
    }

    void impossibleDueDateKeepsTheDocumentPending()
    {
        newBlWithADocument();
        runEditor([this](TF_SD *editor) {
            click(editor->SB_Edit);
            auto typeDate = [editor](const QString &digits) {
                editor->DBDateEdit9->setFocus();
                editor->DBDateEdit9->home(false);
                QTest::keyClicks(editor->DBDateEdit9, digits);
            };
            typeDate(QStringLiteral("31022024"));
            driver->press(QStringLiteral("OK"));
            click(editor->SB_Grava);
            QCOMPARE(driver->texts(), QStringList{QStringLiteral("Data inválida.")});
            QCOMPARE(DM_BL->qySD->state(), EditBuffer::Edit);
            QVERIFY(!DM_BL->qySD->date(QStringLiteral("Sd_Vencto")).isValid());
            editor->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(editor));
            typeDate(QStringLiteral("29022024"));
            click(editor->SB_Grava);
            QCOMPARE(DM_BL->qySD->state(), EditBuffer::Browse);
            QCOMPARE(editor->DBDateEdit9->text(), QStringLiteral("29/02/2024"));
        });
        QSqlQuery q(Store::database());
        q.exec(QStringLiteral("SELECT Sd_Vencto FROM Dal_SD"));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString(), QStringLiteral("2024-02-29"));
    }

    // The FOB value shows two decimals: a third is refused with its reason, so that the draft and the carrier file
    // get the value the clerk saw.
    void valueTakesOnlyTheDecimalsItShows()
    {
        newBlWithADocument();
        runEditor([this](TF_SD *editor) {
            click(editor->SB_Edit);
            editor->DBEdit8->setFocus();
            QTest::keyClicks(editor->DBEdit8, QStringLiteral("45000,555"));
            QCOMPARE(editor->DBEdit8->text(), QStringLiteral("45000,55"));
            const QLabel *balloon = editor->DBEdit8->findChild<QLabel *>(QStringLiteral("RefusalHint"));
            QVERIFY(balloon && balloon->isVisible());
            QCOMPARE(balloon->text(), QStringLiteral("Este campo aceita no máximo 2 casas decimais."));
            click(editor->SB_Grava);
            QCOMPARE(DM_BL->qySD->state(), EditBuffer::Browse);
            QCOMPARE(editor->DBEdit8->text(), QStringLiteral("45.000,55"));
        });
        QSqlQuery q(Store::database());
        q.exec(QStringLiteral("SELECT Sd_ValorFOB FROM Dal_SD"));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toDouble(), 45000.55);
    }

    void editOnAnEmptyListIsRefused()
    {
        StoreFixture::newBl();
        runEditor([this](TF_SD *editor) {
            driver->press(QStringLiteral("OK"));
            click(editor->SB_Edit);
            QCOMPARE(driver->texts().last(), QStringLiteral("Não tem Registro selecionado"));
            QCOMPARE(DM_BL->qySD->state(), EditBuffer::Browse);
            QVERIFY(editor->SB_Inclusao->isEnabled() && !editor->SB_Grava->isEnabled());
        });
    }

    // Editar pressed with Space leaves the focus where a second Space does nothing, not on the calendar button.
    void editarFromTheKeyboardLeavesTheFocusOnTheToolbar()
    {
        const int bl = StoreFixture::newBl();
        StoreFixture::addDetail(DM_BL->qySD, bl, {{QStringLiteral("Sd_Numero"), QStringLiteral("1")}});
        runEditor([](TF_SD *editor) {
            editor->SB_Edit->setFocus(Qt::TabFocusReason);
            QTest::keyClick(editor->SB_Edit, Qt::Key_Space);
            QCOMPARE(DM_BL->qySD->state(), EditBuffer::Edit);
            QVERIFY(editor->focusWidget() != editor->SB_Calendario);
            QVERIFY(editor->SB_Cancela->isEnabled());
        });
    }

    void documentDeleteAsksTwice()
    {
        const int bl = StoreFixture::newBl();
        StoreFixture::addDetail(
            DM_BL->qySD, bl,
            {{QStringLiteral("Sd_Numero"), QStringLiteral("77")}, {QStringLiteral("Sd_Tipo"), QStringLiteral("RE")}});
        runEditor([this](TF_SD *editor) {
            driver->press(QStringLiteral("OK"));
            driver->press(QStringLiteral("OK"));
            click(editor->BB_Delete);
            QCOMPARE(driver->texts(), (QStringList{QStringLiteral("DESEJA EXCLUIR ?   Número:  77"),
                                                   QStringLiteral("DESEJA REALMENTE EXCLUIR ?")}));
        });
        QCOMPARE(count(QStringLiteral("Dal_SD")), 0);
    }

    void ncmRefusals_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty") << ""
                               << "Necessário Nr. NCM";
        QTest::newRow("already in the BL") << "0001"
                                           << "NCM já cadastrado";
        QTest::newRow("leading blank is another code") << " 0001"
                                                       << "";
        QTest::newRow("other case is another code") << "A1"
                                                    << "";
    }
    void ncmRefusals()
    {
        QFETCH(QString, code);
        QFETCH(QString, message);
        const int bl = StoreFixture::newBl();
        addNcmRows(bl, 2);
        StoreFixture::addDetail(DM_BL->qyNCM, bl, {{QStringLiteral("Ncm_Numero"), QStringLiteral("a1")}});
        runEditor([&](TF_SD *editor) {
            if (!message.isEmpty())
                driver->press(QStringLiteral("OK"));
            addNcm(editor, code);
            if (message.isEmpty()) {
                QVERIFY(driver->texts().isEmpty());
                QVERIFY(editor->EdNCM->text().isEmpty());
                QCOMPARE(editor->L_Tot->text(), QStringLiteral("4"));
            } else {
                QCOMPARE(driver->texts().last(), message);
                QCOMPARE(driver->seen.last().title, QStringLiteral("Erro"));
                QCOMPARE(editor->EdNCM->text(), code); // left for correction
                QCOMPARE(editor->L_Tot->text(), QStringLiteral("3"));
            }
            QCOMPARE(editor->L_Tot->text().toInt(), DM_BL->qyNCM->recordCount());
        });
    }

    // An NCM code copied from a spreadsheet cell comes with a line break, which the box leaves out.
    void ncmPastedFromASpreadsheetCell()
    {
        StoreFixture::newBl();
        runEditor([](TF_SD *editor) {
            QGuiApplication::clipboard()->setText(QStringLiteral("0901.11.10\r\n"));
            editor->EdNCM->paste();
            QCOMPARE(editor->EdNCM->text(), QStringLiteral("0901.11.10"));
        });
    }

    void ncmListStaysInCodeOrder()
    {
        const int bl = StoreFixture::newBl();
        StoreFixture::addDetail(DM_BL->qyNCM, bl, {{QStringLiteral("Ncm_Numero"), QStringLiteral("5000")}});
        // The same code may belong to another BL.
        StoreFixture::addDetail(DM_BL->qyNCM, StoreFixture::newBl(),
                                {{QStringLiteral("Ncm_Numero"), QStringLiteral("1000")}});
        StoreFixture::showBl(bl);
        runEditor([this](TF_SD *editor) {
            addNcm(editor, QStringLiteral("1000"));
            QVERIFY(driver->texts().isEmpty());
            const EditBuffer *q = DM_BL->qyNCM;
            QCOMPARE(q->valueAt(0, QStringLiteral("Ncm_Numero")).toString(), QStringLiteral("1000"));
            QCOMPARE(q->valueAt(1, QStringLiteral("Ncm_Numero")).toString(), QStringLiteral("5000"));
            QCOMPARE(q->valueAt(0, QStringLiteral("Ncm_Codigo")).toInt(), 3);
        });
    }

    void at190TheNextCodeIsRefused()
    {
        const int bl = StoreFixture::newBl();
        addNcmRows(bl, 188);
        runEditor([this](TF_SD *editor) {
            addNcm(editor, QStringLiteral("X189"));
            addNcm(editor, QStringLiteral("X190"));
            QVERIFY(driver->texts().isEmpty());
            QCOMPARE(editor->L_Tot->text(), QStringLiteral("190"));
            driver->press(QStringLiteral("OK"));
            addNcm(editor, QStringLiteral("X191"));
            QCOMPARE(driver->texts().last(), QStringLiteral("Máximo 190 NCM"));
        });
        QCOMPARE(count(QStringLiteral("Dal_NCM")), 190);
    }

    void ncmDeleteUpdatesTheTotal()
    {
        const int bl = StoreFixture::newBl();
        addNcmRows(bl, 2);
        runEditor([this](TF_SD *editor) {
            driver->press(QStringLiteral("OK"));
            driver->press(QStringLiteral("OK"));
            click(editor->SB_CancNCM);
            QCOMPARE(driver->texts().first(), QStringLiteral("DESEJA EXCLUIR ?   Número:  0000"));
            QCOMPARE(editor->L_Tot->text(), QStringLiteral("1"));
        });
        QCOMPARE(count(QStringLiteral("Dal_NCM")), 1);
    }

    void closingDropsAPendingDocument()
    {
        newBlWithADocument();
        runEditor([](TF_SD *editor) {
            click(editor->SB_Edit);
            type(editor->DBEdit2, QStringLiteral("99"));
            // NCM codes may be added while a document is being edited, and are stored at once.
            editor->EdNCM->setText(QStringLiteral("8471"));
            click(editor->SB_IncNCM);
        });
        QSqlQuery q(Store::database());
        q.exec(QStringLiteral("SELECT Sd_Numero FROM Dal_SD"));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString(), QStringLiteral("1"));
        QCOMPARE(count(QStringLiteral("Dal_NCM")), 1);
    }
};

DALVORA_TEST_MAIN(TestTF_SD)
#include "tst_tf_sd.moc"
