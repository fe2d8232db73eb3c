#include "AppInfo.h"
#include "DialogDriver.h"
#include "EdiBlFile.h"
#include "ExampleBl.h"
#include "FileSizeLimit.h"
#include "LanguageSwitch.h"
#include "MemoGeometry.h"
#include "StoreFixture.h"
#include "TF_TXT.h"
#include "TMsgDlg.h"
#include "TestEnv.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QRadioButton>
#include <functional>

namespace {
QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

QString folder()
{
    return QDir::homePath() + QStringLiteral("/DALVORA/BL");
}
} // namespace

// Drives the generation window shown as its entry shows it, but not modally, so the save dialog and the messages it
// opens are the modal windows the driver answers.
class TestTF_TXT : public QObject
{
    Q_OBJECT

    StoreFixture fx;
    DialogDriver *driver = nullptr;
    QFileDialog::Options seenOptions;

    // The example BL of the carrier's format: one container, one document, one NCM code.
    static int storeExample(const QVariantHash &more = {})
    {
        QVariantHash columns = ExampleBl::header();
        columns.insert("Bls_Marks", "EXEMPLO\r\nHAMBURG\r\n");
        columns.insert("Bls_Descricao", "1 X 20 DRY CONTAINER STC\r\n800 BAGS OF COFFEE");
        columns.insert(more);
        const int code = StoreFixture::newBl(columns);
        StoreFixture::addContainer(code, "ABCU1234567", "Dry Box 20", 19200, 2200,
                                   {{"Cnt_Volume", 800}, {"Cnt_VolTipo", "BAGS"}, {"Cnt_Lacre_1", "SEAL001"}});
        StoreFixture::addDetail(DM_BL->qySD, code, ExampleBl::document());
        StoreFixture::addDetail(DM_BL->qyNCM, code, {{"Ncm_Numero", ExampleBl::NcmCode}});
        StoreFixture::showBl(code);
        return code;
    }

    // The bytes of the example's file.
    static QByteArray exampleFile() { return EdiBlFile::bytes(exampleLines().join(u'\n')).value(); }

    static QStringList exampleLines()
    {
        return {"[Dalvora-BL]",
                QStringLiteral("[EP1]") + QLatin1String(AppInfo::Version),
                "[EP2]SSZ-123.456/7",
                "[EP3]ABC",
                "[EP4]EXPORTADORA EXEMPLO LTDA",
                "[EP5]EXPEDICAO",
                "[EP6]SANTOS",
                "[EP7]" + QDate::currentDate().toString("dd-MM-yyyy"),
                "[SH1]EXPORTADORA EXEMPLO LTDA",
                "[SH2]RUA DO PORTO 100",
                "[SH3]SANTOS SP ZEREVA",
                "[SH4]",
                "[SH5]",
                "[CE1]IMPORTER EXAMPLE GMBH",
                "[CE2]HAFENSTRASSE 1",
                "[CE3]HAMBURG",
                "[CE4]",
                "[CE5]",
                "[NT1]SAME AS CONSIGNEE",
                "[NT2]",
                "[NT3]",
                "[NT4]",
                "[NT5]",
                "[PO1]BL0001",
                "[PO2]REF77",
                "[PO3]ORI",
                "[PO4]SANTOS",
                "[PO5]SANTOS",
                "[PO6]HAMBURG",
                "[PO7]HAMBURG",
                "[PO8]EXAMPLE STAR",
                "[PO9]012E",
                "[CA1]FCL",
                "[CA2]0",
                "[CA3]0",
                "[CA4]0",
                "[CA5]",
                "[CA6]",
                "[IM1]False",
                "[IM2]",
                "[IM3]",
                "[EM1]ORI",
                "[EM2]False",
                "[MAR]EXEMPLO",
                "[MAR]HAMBURG",
                "[MAR]",
                "[DES]1 X 20 DRY CONTAINER STC",
                "[DES]800 BAGS OF COFFEE",
                "[DES]",
                "[CNN]ABCU1234567",
                "[CNT]Dry Box 20",
                "[CNB]19200",
                "[CNA]2200",
                "[CNV]800",
                "[CNP]BAGS",
                "[CN1]SEAL001",
                "[CN2]",
                "[CN3]",
                "[CN4]",
                "[CNX]",
                "[SDN]08/12345-6",
                "[SDD]15/03/2008",
                "[SDP]19200",
                "[SDV]800",
                "[SDF]45000,5",
                "[SDT]RE",
                "[SDC]",
                "[SDX]",
                "[NCM]0901.11.10",
                "[NCX]",
                "[Dalvora-BL]"};
    }

    void runWindow(const std::function<void(TF_TXT *)> &scenario)
    {
        TF_TXT window;
        window.openQueries();
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        scenario(&window);
        QTest::mouseClick(window.SB_Fechar, Qt::LeftButton);
        QVERIFY(!window.isVisible());
        for (EditBuffer *query : {window.qyBL, window.qyCntr, window.qySD, window.qyNCM})
            QVERIFY(!query->isOpen());
    }

    // Answers the save dialog: checks what it offers, then types `name` (empty: keeps the proposal) and saves.
    void saveAs(const QString &name, const QString &title = "Salvar como",
                const QString &filter = "Arquivos TXT (*.TXT)")
    {
        driver->handle([=](QWidget *w) {
            auto *dialog = qobject_cast<QFileDialog *>(w);
            QVERIFY(dialog);
            QCOMPARE(dialog->objectName(), QStringLiteral("SaveDialog1"));
            QCOMPARE(dialog->windowTitle(), title);
            QCOMPARE(dialog->nameFilters(), QStringList{filter});
            QCOMPARE(dialog->directory().absolutePath(), folder());
            QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
            QVERIFY(dialog->testOption(QFileDialog::DontConfirmOverwrite));
            auto *nameEdit = dialog->findChild<QLineEdit *>("fileNameEdit");
            QVERIFY(nameEdit);
            QCOMPARE(nameEdit->text(), QStringLiteral("DVBL_ABC_SSZ1234567"));
            if (!name.isEmpty()) {
                // Typed into the focused name box, as the dialog then drops the file chosen in its list.
                nameEdit->setFocus();
                QTRY_VERIFY(nameEdit->hasFocus());
                nameEdit->selectAll();
                QTest::keyClicks(nameEdit, name);
            }
            QMetaObject::invokeMethod(dialog, "accept");
        });
    }

    void cancelSave()
    {
        driver->handle([](QWidget *w) { qobject_cast<QDialog *>(w)->reject(); });
    }

    void ok(int language = 1) { driver->press(TMsgDlg::caption(TMsgDlg::Ok, language)); }

private Q_SLOTS:
    void initTestCase() { QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs); }
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
        LanguageSwitch::apply(1);
        QDir(QDir::homePath() + "/DALVORA").removeRecursively();
        QFile::remove(QDir::homePath() + "/DALVORA");
    }

    void showsTheStoredBl()
    {
        storeExample();
        runWindow([](TF_TXT *w) {
            QCOMPARE(w->windowTitle(), QStringLiteral("Gerar - EDI/BL"));
            QCOMPARE(w->SB_Confirma->text(), QStringLiteral("Gerar - EDI/BL - Confirmar"));
            QCOMPARE(w->L_Ver1->text(), QStringLiteral("Versão"));
            QCOMPARE(w->L_Ver2->text(), QLatin1String(AppInfo::Version));
            QCOMPARE(w->PageControl1->currentWidget(), w->TS_BL);
            QCOMPARE(w->DBEdit1->text(), QStringLiteral("SSZ-123.456/7"));
            QCOMPARE(w->DBEdit3->text(), QStringLiteral("EXAMPLE STAR"));
            QCOMPARE(w->DBMemo1->toPlainText(), QStringLiteral("EXEMPLO\nHAMBURG\n"));
            QCOMPARE(w->DBMemo1->width(), MemoGeometry::MarksWidth);
            QCOMPARE(w->DBMemo2->width(), MemoGeometry::DescriptionWidth);
            QCOMPARE(w->DBRG_Carga->itemIndex(), 1);
            QCOMPARE(w->DBRG_Emissao->itemIndex(), 0);
            QCOMPARE(w->DBRG_Imo->itemIndex(), 1);
            // Nothing on the page can change the BL.
            QVERIFY(w->DBMemo1->isReadOnly());
            QVERIFY(w->DBEdit1->isReadOnly());
            QTest::mouseClick(w->DBRG_Emissao->buttons().at(1), Qt::LeftButton, {}, QPoint(6, 6));
            QCOMPARE(w->DBRG_Emissao->itemIndex(), 0);
            QCOMPARE(w->qyBL->state(), EditBuffer::Browse);
            QCOMPARE(w->qyCntr->recordCount(), 1);
            // Only SB_Fechar closes the window.
            QTest::keyClick(w, Qt::Key_Escape);
            QVERIFY(w->isVisible());
        });
    }

    void confirmComposesAndSaves()
    {
        storeExample();
        runWindow([this](TF_TXT *w) {
            saveAs(QString());
            ok();
            QTest::mouseClick(w->SB_Confirma, Qt::LeftButton);
            QCOMPARE(driver->texts(), QStringList{"Arquivo gerado com sucesso"});
            QCOMPARE(w->checkText().split(u'\n'), exampleLines());
            QCOMPARE(readAll(folder() + "/DVBL_ABC_SSZ1234567.TXT"), exampleFile());
            QCOMPARE(w->PageControl1->currentWidget(), w->TS_BL);

            // Again: the check page holds the new composition only; a name without extension gets ".TXT".
            saveAs("OTRO");
            ok();
            QTest::mouseClick(w->SB_Confirma, Qt::LeftButton);
            QCOMPARE(w->checkText().split(u'\n'), exampleLines());
            QCOMPARE(readAll(folder() + "/OTRO.TXT"), exampleFile());
        });
    }

    void replacesAnExistingFileWithoutAsking()
    {
        storeExample();
        QVERIFY(QDir().mkpath(folder()));
        QFile old(folder() + "/DVBL_ABC_SSZ1234567.TXT");
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(5000, 'x'));
        old.close();
        runWindow([this](TF_TXT *w) {
            saveAs(QString());
            ok();
            QTest::mouseClick(w->SB_Confirma, Qt::LeftButton);
            QCOMPARE(driver->seen.size(), 2); // the dialog and the message, no question between them
            QCOMPARE(driver->texts(), QStringList{"Arquivo gerado com sucesso"});
        });
        QCOMPARE(readAll(folder() + "/DVBL_ABC_SSZ1234567.TXT"), exampleFile());
    }

    void cancelKeepsTheLines()
    {
        storeExample();
        runWindow([this](TF_TXT *w) {
            cancelSave();
            QTest::mouseClick(w->SB_Confirma, Qt::LeftButton);
            QVERIFY(driver->texts().isEmpty());
            QCOMPARE(w->checkText().split(u'\n'), exampleLines());
        });
        QVERIFY(QDir(folder()).isEmpty());
    }

    void writeFailureIsReported()
    {
        storeExample();
        QVERIFY(QDir().mkpath(folder()));
        const QString path = folder() + "/DVBL_ABC_SSZ1234567.TXT";
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("previous\r\n");
        old.close();
        runWindow([this](TF_TXT *w) {
            saveAs(QString());
            ok();
            // The file is far larger than the limit: the write fails for any user, root included.
            FileSizeLimit limit(64);
            QTest::mouseClick(w->SB_Confirma, Qt::LeftButton);
            QCOMPARE(driver->texts(), QStringList{"Arquivo EDI/BL Problema na atualização."});
            QCOMPARE(w->checkText().split(u'\n'), exampleLines());
            QVERIFY(w->isVisible());
        });
        QCOMPARE(readAll(path), QByteArray("previous\r\n"));
        QCOMPARE(QDir(folder()).entryList(QDir::Files | QDir::Hidden), QStringList{"DVBL_ABC_SSZ1234567.TXT"});
    }

    void folderThatCannotBeMade()
    {
        storeExample();
        // A file named like the folder's parent: the folder cannot be made, the dialog opens all the same.
        QFile blocker(QDir::homePath() + "/DALVORA");
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        runWindow([this](TF_TXT *w) {
            cancelSave();
            QTest::mouseClick(w->SB_Confirma, Qt::LeftButton);
            QCOMPARE(driver->seen.size(), 1);
            QVERIFY(driver->texts().isEmpty());
        });
    }

    // A stored value the carrier file cannot carry stops the composition before any dialog.
    void refusedValue_data()
    {
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("lastLine");
        QTest::addColumn<QString>("field");
        QTest::newRow("line break") << "Bls_Navio"
                                    << "STAR\n[PO9]X"
                                    << "[PO7]HAMBURG"
                                    << "Vessel [PO8]";
        QTest::newRow("outside Windows-1252") << "Bls_Cnee2" << QStringLiteral("ŁÓDŹ") << "[CE1]IMPORTER EXAMPLE GMBH"
                                              << "Consignee [CE2]";
        QTest::newRow("NUL") << "Bls_Viagem" << QString::fromUtf16(u"A\0B", 3) << "[PO8]EXAMPLE STAR"
                             << "Voyage [PO9]";
    }

    void refusedValue()
    {
        QFETCH(QString, column);
        QFETCH(QString, value);
        QFETCH(QString, lastLine);
        QFETCH(QString, field);
        storeExample({{column, value}});
        runWindow([&](TF_TXT *w) {
            ok();
            QTest::mouseClick(w->SB_Confirma, Qt::LeftButton);
            QCOMPARE(driver->texts(), QStringList{"Erro ao montar arquivo EDI: " + field});
            QCOMPARE(driver->seen.size(), 1);
            QCOMPARE(w->checkText().split(u'\n').last(), lastLine);
        });
        QVERIFY(!QDir(folder()).exists() || QDir(folder()).isEmpty());
    }

    void englishInterface()
    {
        storeExample();
        LanguageSwitch::apply(2);
        runWindow([this](TF_TXT *w) {
            QCOMPARE(w->windowTitle(), QStringLiteral("Generate - EDI/BL"));
            QCOMPARE(w->L_Ver1->text(), QStringLiteral("Version"));
            saveAs(QString(), "Save as", "Files TXT (*.TXT)");
            ok(2);
            QTest::mouseClick(w->SB_Confirma, Qt::LeftButton);
            QCOMPARE(driver->texts(), QStringList{"File generated with success"});
        });
    }

    void englishRefusal()
    {
        storeExample({{QStringLiteral("Bls_LCL_TipoVolume"), QStringLiteral("BOX \u7BB1")}});
        LanguageSwitch::apply(2);
        runWindow([this](TF_TXT *w) {
            ok();
            QTest::mouseClick(w->SB_Confirma, Qt::LeftButton);
            QCOMPARE(driver->texts(), QStringList{"Error when mounting EDI file: Type Volumes [CA6]"});
        });
    }

    // In English: hints, captions and the save filter are translated; the choice items are not among this window's
    // kinds and keep their design texts.
    void translatesOnlyItsKinds_data()
    {
        QTest::addColumn<QString>("object");
        QTest::addColumn<QByteArray>("property");
        QTest::addColumn<QVariant>("shown");
        QTest::newRow("hint") << "SB_Fechar" << QByteArray("toolTip") << QVariant("Close");
        QTest::newRow("caption") << "Label3" << QByteArray("text") << QVariant("Reserve Nr.");
        QTest::newRow("group title") << "DBRG_Carga" << QByteArray("title") << QVariant("Cargo");
        QTest::newRow("cargo items") << "DBRG_Carga" << QByteArray("items") << QVariant(QStringList{"SOLTA", "CNTR"});
        QTest::newRow("IMO items") << "DBRG_Imo" << QByteArray("items") << QVariant(QStringList{"Sim", "Não"});
        QTest::newRow("as per items") << "DBRG_AsPer" << QByteArray("items") << QVariant(QStringList{"Sim", "Não"});
    }
    void translatesOnlyItsKinds()
    {
        QFETCH(QString, object);
        QFETCH(QByteArray, property);
        QFETCH(QVariant, shown);
        storeExample();
        LanguageSwitch::apply(2);
        runWindow([&](TF_TXT *w) {
            QObject *target = w->findChild<QObject *>(object);
            QVERIFY(target);
            QCOMPARE(target->property(property), shown);
        });
    }

    void entryCopiesCaptions()
    {
        storeExample();
        driver->handle([](QWidget *window) {
            auto *w = qobject_cast<TF_TXT *>(window);
            QVERIFY(w);
            QCOMPARE(w->DBRG_Emissao->items(), (QStringList{"Origin", "Destination", "Express Release"}));
            QCOMPARE(w->DBRG_Carga->title(), QStringLiteral("Cargo"));
            QVERIFY(w->qyBL->isOpen());
            QTest::mouseClick(w->SB_Fechar, Qt::LeftButton);
        });
        TF_TXT::execFor(nullptr, {"Origin", "Destination"}, "Cargo");
        QCOMPARE(driver->pending(), 0);
    }
};

DALVORA_TEST_MAIN(TestTF_TXT)
#include "tst_tf_txt.moc"
