#include "AppInfo.h"
#include "DalvoraApplication.h"
#include "DialogDriver.h"
#include "Store.h"
#include "TDM_BL.h"
#include "TF_Principal.h"
#include "TestEnv.h"

#include <QClipboard>
#include <QDir>
#include <QLineEdit>
#include <QRadioButton>
#include <QSqlQuery>

// The main window driven as a clerk does: real clicks and keys, dialogs answered as they come.
class TestMainWindow : public QObject
{
    Q_OBJECT

    TF_Principal *w = nullptr;
    TDM_BL *dm = nullptr;

    void click(QAbstractButton *button) { QTest::mouseClick(button, Qt::LeftButton); }
    void type(QWidget *edit, const QString &text)
    {
        edit->setFocus();
        QTest::keyClicks(edit, text);
    }
    static int rows(const QString &sql)
    {
        QSqlQuery q(Store::database());
        q.exec(sql);
        q.next();
        return q.value(0).toInt();
    }
    // A BL with the seven required fields, confirmed; returns its code.
    int confirmNewBl(const QString &booking)
    {
        click(w->SB_Inclusao);
        type(w->DBEdit3, booking);
        type(w->DBEdit5, QStringLiteral("SANTOS"));
        type(w->DBEdit8, QStringLiteral("ROTTERDAM"));
        if (dm->qyBLS->text(QStringLiteral("Bls_Cia_Nome")).isEmpty()) {
            type(w->DBEdit30, QStringLiteral("cia"));
            type(w->DBEdit32, QStringLiteral("user"));
            type(w->DBEdit31, QStringLiteral("santos"));
            type(w->DBEdit33, QStringLiteral("cia01"));
        }
        click(w->SB_Grava);
        return dm->qyBLS->integer(QStringLiteral("Bls_Codigo"));
    }

private Q_SLOTS:
    void init()
    {
        Store::open(QDir::currentPath());
        dm = new TDM_BL;
        DM_BL = dm;
        w = new TF_Principal;
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
    }
    void cleanup()
    {
        delete w;
        delete dm;
        Store::close();
        QFile::remove(QStringLiteral("dalvora.db"));
    }

    void startsWithNoBlOpen()
    {
        QCOMPARE(w->windowTitle(), QStringLiteral("DALVORA - BILL OF LADING"));
        QCOMPARE(w->size(), QSize(753, 453));
        QCOMPARE(w->PageControl1->currentIndex(), 0);
        QVERIFY(w->RB_POR->isChecked());
        QVERIFY(w->SB_Inclusao->isEnabled());
        QVERIFY(w->SB_Procura->isEnabled());
        for (QWidget *off : {static_cast<QWidget *>(w->SB_Edit), static_cast<QWidget *>(w->SB_Grava),
                             static_cast<QWidget *>(w->SB_Cancela), static_cast<QWidget *>(w->SB_TXT)})
            QVERIFY2(!off->isEnabled(), qPrintable(off->objectName()));
        QCOMPARE(w->StatusBar1->panelText(0), QStringLiteral("DALVORA"));
        QCOMPARE(w->StatusBar1->panelText(2), QStringLiteral("Versão ") + QLatin1String(AppInfo::Version));
        QCOMPARE(w->StatusBar1->panelText(3), QStringLiteral("Sobre"));
        QCOMPARE(w->StatusBar1->panelText(5), QString());
        QCOMPARE(w->DBComboBox3->count(), 17);
        QCOMPARE(w->DBEdit3->maxLength(), 25);
        QCOMPARE(w->DBEdit33->maxLength(), 5);
        QCOMPARE(w->L_Ident->text(), QStringLiteral("Identificação Arquivo:   (Máximo de  5  caracteres) ..."));
        QCOMPARE(w->L_Reserva->buddy(), w->DBEdit3);
    }

    void closingAsksOrRefusesByMode_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("closes");
        QTest::newRow("no BL") << "none"
                               << ""
                               << "" << true;
        QTest::newRow("viewing, OK") << "browse"
                                     << "OK"
                                     << "Confirma que deseja fechar a sessão ?" << true;
        QTest::newRow("viewing, Cancelar") << "browse"
                                           << "Cancelar"
                                           << "Confirma que deseja fechar a sessão ?" << false;
        QTest::newRow("viewing, Escape") << "browse"
                                         << "esc"
                                         << "Confirma que deseja fechar a sessão ?" << false;
        QTest::newRow("entering") << "insert"
                                  << "OK"
                                  << "Inclusão não foi Gravada ou Cancelada." << false;
        QTest::newRow("editing") << "edit"
                                 << "OK"
                                 << "Edição não foi Gravada ou Cancelada." << false;
    }
    void closingAsksOrRefusesByMode()
    {
        QFETCH(QString, mode);
        QFETCH(QString, answer);
        QFETCH(QString, message);
        QFETCH(bool, closes);
        if (mode != QLatin1String("none"))
            confirmNewBl(QStringLiteral("BK1"));
        if (mode == QLatin1String("insert"))
            click(w->SB_Inclusao);
        if (mode == QLatin1String("edit"))
            click(w->SB_Edit);
        DialogDriver driver;
        if (answer == QLatin1String("esc"))
            driver.escape();
        else if (!answer.isEmpty())
            driver.press(answer);
        click(w->SB_Fechar); // the close box runs the same routine: checked below for one mode
        QCOMPARE(driver.texts(), message.isEmpty() ? QStringList() : QStringList{message});
        QCOMPARE(w->isVisible(), !closes);
        if (mode == QLatin1String("insert")) {
            driver.press(QStringLiteral("OK"));
            QVERIFY(!w->close());
            QCOMPARE(driver.texts().size(), 2);
            QVERIFY(w->SB_Grava->isEnabled());
        }
    }

    void typingWhileOnlyViewingChangesNothing()
    {
        confirmNewBl(QStringLiteral("BK1"));
        type(w->DBEdit3, QStringLiteral("X"));
        QCOMPARE(w->DBEdit3->text(), QStringLiteral("BK1"));
        QCOMPARE(dm->qyBLS->text(QStringLiteral("Bls_ReservaNr")), QStringLiteral("BK1"));
    }

    // The file identification becomes part of the EDI/BL file's name: what a file name cannot hold is refused, typed
    // or pasted.
    void fileIdentificationTakesOnlyFileNameCharacters()
    {
        click(w->SB_Inclusao);
        type(w->DBEdit33, QStringLiteral("a/b\\:"));
        QCOMPARE(dm->qyBLS->text(QStringLiteral("Bls_Cia_Arquivo")), QStringLiteral("AB"));
        QApplication::clipboard()->setText(QStringLiteral("../.."));
        w->DBEdit33->paste();
        QCOMPARE(dm->qyBLS->text(QStringLiteral("Bls_Cia_Arquivo")), QStringLiteral("AB"));
        click(w->SB_Cancela);
    }

    void firstBlReportsMissingFieldsInOrderThenGetsCodeOne()
    {
        click(w->SB_Inclusao);
        QCOMPARE(w->StatusBar1->panelText(5), QStringLiteral("Incluir"));
        QCOMPARE(w->SB_Cntr->text(), QStringLiteral("CONTAINER (0)"));
        QCOMPARE(w->SB_SD->text(), QStringLiteral("SD (0) / NCM (0)"));
        DialogDriver driver;
        const QList<QPair<QWidget *, QString>> steps{
            {w->DBEdit3, QStringLiteral("Necessário Reserva Nr.")},
            {w->DBEdit5, QStringLiteral("Necessário Port of Loading")},
            {w->DBEdit8, QStringLiteral("Necessário Port of Discharge")},
            {w->DBEdit30, QStringLiteral("Necessário Empresa - Emissão: Nome")},
            {w->DBEdit32, QStringLiteral("Necessário Empresa - Emissão: Usuário")},
            {w->DBEdit31, QStringLiteral("Necessário Empresa - Emissão: Cidade")},
            {w->DBEdit33, QStringLiteral("Necessário Empresa - Emissão: Identificação")}};
        for (const auto &[edit, message] : steps) {
            driver.press(QStringLiteral("OK"));
            click(w->SB_Grava);
            QCOMPARE(driver.texts().last(), message);
            QCOMPARE(driver.seen.last().title, QStringLiteral("Informação"));
            QCOMPARE(dm->qyBLS->state(), EditBuffer::Insert);
            type(edit, QStringLiteral("x"));
        }
        click(w->SB_Grava);
        QCOMPARE(dm->qyBLS->integer(QStringLiteral("Bls_Codigo")), 1);
        QCOMPARE(rows(QStringLiteral("SELECT count(*) FROM Dal_Bls WHERE Bls_ReservaNr = 'X'")), 1);
        QCOMPARE(w->StatusBar1->panelText(5), QStringLiteral("Visualizar"));
        QVERIFY(w->SB_Edit->isEnabled() && w->SB_TXT->isEnabled() && !w->SB_Grava->isEnabled());
    }

    void aSecondBlTakesTheCompanyOfTheNewestAndTheDefaults()
    {
        confirmNewBl(QStringLiteral("BK1"));
        click(w->SB_Inclusao);
        EditBuffer *bls = dm->qyBLS;
        QCOMPARE(bls->text(QStringLiteral("Bls_Cia_Nome")), QStringLiteral("CIA"));
        QCOMPARE(bls->text(QStringLiteral("Bls_Cia_Arquivo")), QStringLiteral("CIA01"));
        QCOMPARE(bls->text(QStringLiteral("Bls_Payable")), QStringLiteral("ORI"));
        QCOMPARE(bls->text(QStringLiteral("Bls_Carga")), QStringLiteral("LCL"));
        QCOMPARE(bls->logicalText(QStringLiteral("Bls_Imo")), QStringLiteral("False"));
        QCOMPARE(bls->text(QStringLiteral("Bls_EmissaoBL")), QStringLiteral("ORI"));
        QCOMPARE(bls->logicalText(QStringLiteral("Bls_AsPerAgee")), QStringLiteral("False"));
        QVERIFY(w->DBRG_Carga->buttons().at(0)->isChecked());
        QCOMPARE(w->GB_LCL->title(), QStringLiteral("SOLTA"));
        click(w->DBRG_Carga->buttons().at(1));
        QCOMPARE(bls->text(QStringLiteral("Bls_Carga")), QStringLiteral("FCL"));
        QCOMPARE(w->GB_LCL->title(), QStringLiteral("CNTR"));
        // The chosen kind of cargo stands out in bold red, the other stays plain navy.
        const QList<QRadioButton *> kinds = w->DBRG_Carga->buttons();
        QCOMPARE(kinds.at(1)->palette().color(QPalette::WindowText), QColor(Qt::red));
        QVERIFY(kinds.at(1)->font().bold());
        QCOMPARE(kinds.at(0)->palette().color(QPalette::WindowText), QColor(Qt::darkBlue));
        QVERIFY(!kinds.at(0)->font().bold());
    }

    void editKeepsTheCodeAndCancelRestores()
    {
        const int code = confirmNewBl(QStringLiteral("BK1"));
        click(w->SB_Edit);
        QCOMPARE(w->StatusBar1->panelText(5), QStringLiteral("Editar"));
        type(w->DBEdit4, QStringLiteral("MSC"));
        w->DBMemo2->setFocus();
        QTest::keyClicks(w->DBMemo2, QStringLiteral("GOODS"));
        click(w->SB_Cancela);
        QCOMPARE(dm->qyBLS->text(QStringLiteral("Bls_Navio")), QString());
        QCOMPARE(w->DBMemo2->toPlainText(), QString());
        click(w->SB_Edit);
        type(w->DBEdit4, QStringLiteral("msc"));
        click(w->SB_Grava);
        QCOMPARE(dm->qyBLS->integer(QStringLiteral("Bls_Codigo")), code);
        QCOMPARE(rows(QStringLiteral("SELECT count(*) FROM Dal_Bls WHERE Bls_Navio = 'MSC'")), 1);
    }

    void cancelledNewBlLeavesNothingToEdit()
    {
        click(w->SB_Inclusao);
        click(w->SB_Cancela);
        QVERIFY(w->SB_Edit->isEnabled());
        DialogDriver driver;
        driver.press(QStringLiteral("OK"));
        click(w->SB_Edit);
        QCOMPARE(driver.texts(), QStringList{QStringLiteral("Não tem Registro selecionado")});
        QCOMPARE(rows(QStringLiteral("SELECT count(*) FROM Dal_Bls")), 0);
    }

    void searchIsRefusedWhileEntering()
    {
        click(w->SB_Inclusao);
        DialogDriver driver;
        driver.press(QStringLiteral("OK"));
        click(w->SB_Procura);
        QCOMPARE(driver.seen.size(), 1);
        QCOMPARE(driver.seen[0].title, QStringLiteral("Erro"));
        QCOMPARE(driver.seen[0].text,
                 QStringLiteral("Tabela no Modo Editar ou Incluir.\n\nNecessário Confirmar / Cancelar"));
        QCOMPARE(dm->qyBLS->state(), EditBuffer::Insert);
    }

    // The BL on screen was deleted or changed meanwhile: Confirmar ends with the store's "Update failed" and the
    // reason, in the interface language, through the general error display; nothing is written and the clerk is
    // still editing.
    void updateFailedIsShownAndNothingIsWritten_data()
    {
        QTest::addColumn<bool>("english");
        QTest::addColumn<QString>("meanwhile");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<QString>("title");
        QTest::newRow("deleted") << false << "DELETE FROM Dal_Bls"
                                 << "O registro foi alterado ou excluído por outro usuário. Abra-o novamente."
                                 << "Erro";
        QTest::newRow("changed, English") << true << "UPDATE Dal_Bls SET Bls_Navio = 'THEIRS'"
                                          << "The record was changed or deleted by another user. Open it again."
                                          << "Error";
    }

    void updateFailedIsShownAndNothingIsWritten()
    {
        QFETCH(bool, english);
        QFETCH(QString, meanwhile);
        QFETCH(QString, reason);
        QFETCH(QString, title);
        if (english)
            click(w->RB_ING);
        confirmNewBl(QStringLiteral("BK1"));
        click(w->SB_Edit);
        type(w->DBEdit4, QStringLiteral("X"));
        QSqlQuery(Store::database()).exec(meanwhile);
        const int before = rows(QStringLiteral("SELECT count(*) FROM Dal_Bls"));
        DialogDriver driver;
        driver.press(QStringLiteral("OK"));
        click(w->SB_Grava);
        QCOMPARE(driver.texts(), QStringList{QStringLiteral("Update failed\n") + reason});
        QCOMPARE(driver.seen[0].title, title);
        QCOMPARE(dm->qyBLS->state(), EditBuffer::Edit);
        QVERIFY(w->SB_Grava->isEnabled());
        QCOMPARE(rows(QStringLiteral("SELECT count(*) FROM Dal_Bls")), before);
        QCOMPARE(rows(QStringLiteral("SELECT count(*) FROM Dal_Bls WHERE Bls_Navio = 'X'")), 0);
    }

    // A number being typed that is not one stops Confirmar, whichever window is active: the clerk is told, the BL
    // stays in Editar and nothing is written, where it was once saved without the typed value.
    void aNumberThatIsNotOneKeepsTheBlPending()
    {
        confirmNewBl(QStringLiteral("BK1"));
        click(w->SB_Edit);
        w->PageControl1->setCurrentIndex(1);
        type(w->DBEdit10, QStringLiteral("1.2345678"));
        DialogDriver driver;
        driver.press(QStringLiteral("OK"));
        click(w->SB_Grava);
        QCOMPARE(driver.texts(), QStringList{QStringLiteral("Número inválido. 1.2345678")});
        QCOMPARE(dm->qyBLS->state(), EditBuffer::Edit);
        QVERIFY(w->SB_Grava->isEnabled());
        QCOMPARE(rows(QStringLiteral("SELECT count(*) FROM Dal_Bls WHERE Bls_LCL_Volumes IS NOT NULL")), 0);
        click(w->SB_Cancela);
    }

    // Opening a BL through the search window: the BL on screen, its counts, Editar and the EDI button on.
    // Opening is the first thing done after start: nothing has set the totals' formats yet.
    void searchOpensTheChosenBlWithItsCounts()
    {
        const int second = 2;
        QSqlQuery q(Store::database());
        for (int code = 1; code <= 2; ++code)
            q.exec(QStringLiteral("INSERT INTO Dal_Bls (Bls_Codigo, Bls_ReservaNr, Bls_Carga, Bls_LCL_PesoBruto) "
                                  "VALUES (%1, 'BK%1', 'LCL', 38400)")
                       .arg(code));
        for (int i = 1; i <= 2; ++i)
            q.exec(QStringLiteral("INSERT INTO Dal_Cntr (Cnt_Codigo, Cnt_Cod_BL, Cnt_Numero) VALUES (%1, %2, 'C')")
                       .arg(i)
                       .arg(second));
        q.exec(QStringLiteral("INSERT INTO Dal_SD (Sd_Codigo, Sd_Cod_BL, Sd_Numero) VALUES (1, %1, 'S')").arg(second));
        for (int i = 1; i <= 3; ++i)
            q.exec(QStringLiteral("INSERT INTO Dal_NCM (Ncm_Codigo, Ncm_Cod_BL, Ncm_Numero) VALUES (%1, %2, 'N%1')")
                       .arg(i)
                       .arg(second));
        DialogDriver driver;
        driver.handle([](QWidget *search) {
            auto *edit = search->findChild<QLineEdit *>(QStringLiteral("Edit1"));
            QTest::keyClicks(edit, QStringLiteral("BK2"));
            QTest::mouseClick(search->findChild<QAbstractButton *>(QStringLiteral("SB_Confirma")), Qt::LeftButton);
        });
        click(w->SB_Procura);
        QCOMPARE(dm->qyBLS->integer(QStringLiteral("Bls_Codigo")), second);
        QCOMPARE(dm->qyBLS->state(), EditBuffer::Browse);
        QCOMPARE(w->SB_Cntr->text(), QStringLiteral("CONTAINER (2)"));
        QCOMPARE(w->SB_SD->text(), QStringLiteral("SD (1) / NCM (3)"));
        QCOMPARE(w->DBEdit6->text(), QStringLiteral("38.400,000")); // formatted on the first open too
        QVERIFY(w->SB_Edit->isEnabled() && w->SB_TXT->isEnabled());
        QCOMPARE(w->StatusBar1->panelText(5), QStringLiteral("Visualizar"));
    }

    // A duplicate prepared in the search window waits on the main window in Insert mode; Confirmar gives it the
    // next code.
    void aDuplicateIsConfirmedLikeANewBl()
    {
        confirmNewBl(QStringLiteral("BK1"));
        DialogDriver driver;
        driver.handle([](QWidget *search) {
            QTest::mouseClick(search->findChild<QAbstractButton *>(QStringLiteral("SB_Duplicar")), Qt::LeftButton);
        });
        driver.handle([](QWidget *duplicate) {
            auto *all = duplicate->findChild<QAbstractButton *>(QStringLiteral("CB_Todos"));
            if (!all->isChecked())
                QTest::mouseClick(all, Qt::LeftButton);
            QTest::mouseClick(duplicate->findChild<QAbstractButton *>(QStringLiteral("SB_Confirma")), Qt::LeftButton);
        });
        click(w->SB_Procura);
        QCOMPARE(dm->qyBLS->state(), EditBuffer::Insert);
        QVERIFY(!w->SB_Inclusao->isEnabled() && !w->SB_Edit->isEnabled() && !w->SB_TXT->isEnabled());
        QVERIFY(w->SB_Grava->isEnabled() && w->SB_Cancela->isEnabled());
        QCOMPARE(dm->qyBLS->text(QStringLiteral("Bls_ReservaNr")), QStringLiteral("BK1"));
        click(w->SB_Grava);
        QCOMPARE(dm->qyBLS->integer(QStringLiteral("Bls_Codigo")), 2);
        QCOMPARE(rows(QStringLiteral("SELECT count(*) FROM Dal_Bls")), 2);
    }

    void englishCaptionsAndMessages()
    {
        click(w->RB_ING);
        QCOMPARE(w->StatusBar1->panelText(2), QStringLiteral("Version ") + QLatin1String(AppInfo::Version));
        QCOMPARE(w->SB_TXT->text(), QStringLiteral("Generate File"));
        QCOMPARE(w->DBRG_Payable->items().at(1), QStringLiteral("Destination"));
        QCOMPARE(w->L_Cuba->text(), QStringLiteral("Measurement"));
        DialogDriver driver;
        driver.press(QStringLiteral("OK"));
        click(w->SB_Edit->isEnabled() ? w->SB_Edit : w->SB_Impressao);
        click(w->RB_POR);
        QCOMPARE(w->SB_TXT->text(), QStringLiteral("Gerar Arquivo"));
        QCOMPARE(w->DBRG_Payable->items().at(1), QStringLiteral("Destino"));
        QCOMPARE(w->DBRG_Carga->title(), QStringLiteral("CARGA"));
    }
};

int main(int argc, char *argv[])
{
    TestEnv env;
    DalvoraApplication app(argc, argv);
    prepareTestApplication();
    TestMainWindow tc;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&tc, argc, argv);
}
#include "tst_tf_principal.moc"
