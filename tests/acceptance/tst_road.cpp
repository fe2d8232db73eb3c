#include "AppInfo.h"
#include "BalloonHints.h"
#include "DalvoraApplication.h"
#include "DialogDriver.h"
#include "DraftPreview.h"
#include "Formats.h"
#include "FrameworkTranslator.h"
#include "PgCluster.h"
#include "Store.h"
#include "TDM_BL.h"
#include "TF_Container.h"
#include "TF_Duplicar.h"
#include "TF_MandaMemo.h"
#include "TF_Principal.h"
#include "TF_Procura.h"
#include "TF_SD.h"
#include "TF_TXT.h"
#include "TMsgDlg.h"
#include "TestEnv.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QTabBar>
#include <functional>
#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace {

// One container as the clerk types it.
struct Container
{
    QString number;
    QString type;
    double gross;
    double tare;
    int packages;
    QString packageKind;
    QStringList seals;
};

const QList<Container> containers{
    {u"TGHU7654321"_s, u"Dry Box 40"_s, 24000, 3800, 1000, u"BAGS"_s, {u"SEAL002"_s, u"SEAL003"_s}},
    {u"MSKU1234565"_s, u"Dry Box 20"_s, 19200.5, 2200, 800, u"BAGS"_s, {u"SEAL001"_s}},
    {u"CAIU5550001"_s, u"Reefer 40"_s, 18000, 4500, 20, u"PALLETS"_s, {u"SEAL004"_s}}};

const QString booking = QStringLiteral("SSZ-123.456/7");
const QString fileName = QStringLiteral("DVBL_DALV1_SSZ1234567.TXT");

QByteArray withoutDateLine(QByteArray bytes)
{
    static const QRegularExpression dateLine(QStringLiteral("\\[EP7\\][^\\r\\n]*"));
    return QString::fromLatin1(bytes).replace(dateLine, QStringLiteral("[EP7]")).toLatin1();
}

} // namespace

// The road of a BL from an empty store to the carrier file, through the real windows as a clerk goes it: include,
// containers, documents and NCM codes, attach, print, generate the EDI/BL file, duplicate, delete. Once in each
// language the clerk can choose on the main window. Modal windows are driven from the dialog driver's queue, in the
// order they come up.
class TestRoad : public QObject
{
    Q_OBJECT

    QString m_root;
    int m_language = 1;
    TDM_BL *dm = nullptr;
    TF_Principal *w = nullptr;
    DialogDriver *driver = nullptr;

    // The text as the current language shows it.
    QString says(const QString &portuguese, const QString &english) const
    {
        return m_language == 2 ? english : portuguese;
    }
    QString ok() const { return TMsgDlg::caption(TMsgDlg::Ok, m_language); }

    static void click(QAbstractButton *button) { QTest::mouseClick(button, Qt::LeftButton); }
    // Clicked on its mark, near the left edge, as a check box or radio button is.
    static void tick(QAbstractButton *button)
    {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    }
    static void type(QWidget *edit, const QString &text)
    {
        edit->setFocus();
        QTest::keyClicks(edit, text);
    }
    // Replaces what the box holds, as selecting all and typing over it does.
    static void retype(QWidget *edit, const QString &text)
    {
        edit->setFocus();
        QTest::keySequence(edit, QKeySequence::SelectAll);
        QTest::keyClicks(edit, text);
    }
    // A number as typed with the separators of the language in force.
    static QString typed(double value) { return Formats::editNumber(value); }
    // Chosen from the closed list with the keys: Home, then Down to the entry.
    static void choose(QComboBox *box, const QString &entry)
    {
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Home);
        for (int i = 0; i < box->findText(entry); ++i)
            QTest::keyClick(box, Qt::Key_Down);
    }
    void showPage(int index)
    {
        QTabBar *tabs = w->PageControl1->tabBar();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(index).center());
        QCOMPARE(w->PageControl1->currentIndex(), index);
    }
    static QVariantList column(const QString &sql)
    {
        QSqlQuery q(Store::database());
        if (!q.exec(sql))
            return {QStringLiteral("failed: ") + sql};
        QVariantList values;
        while (q.next())
            values << q.value(0);
        return values;
    }
    // Queues the steps to take in the next modal window, which must be a Window. A failed step leaves the window
    // open: it is closed then, so the road stops instead of waiting.
    template <typename Window> void inWindow(const std::function<void(Window *)> &steps)
    {
        driver->handle([steps](QWidget *window) {
            if (auto *expected = qobject_cast<Window *>(window))
                steps(expected);
            else
                QTest::qFail(qPrintable(u"unexpected window: "_s + window->windowTitle()), __FILE__, __LINE__);
            auto *dialog = qobject_cast<QDialog *>(window);
            if (QTest::currentTestFailed() && dialog && dialog->isVisible())
                dialog->reject();
        });
    }
    void answered()
    {
        QTRY_COMPARE(driver->pending(), 0);
        QVERIFY2(driver->allAnswered(), qPrintable(driver->report()));
    }
    const DialogDriver::Seen &lastSeen() const { return driver->seen.constLast(); }

    // 1. Incluir, the header typed field by field, Confirmar: the first BL gets code 1.
    void includeTheBl()
    {
        click(w->SB_Inclusao);
        QCOMPARE(w->StatusBar1->panelText(5), says(u"Incluir"_s, u"Add"_s));
        const QList<QPair<QWidget *, QString>> header{
            {w->DBEdit14, QStringLiteral("DALVORA EXPORTADORA LTDA")},
            {w->DBEdit15, QStringLiteral("AV. SÃO JOÃO 100")},
            {w->DBEdit16, QStringLiteral("SANTOS SP ZEREVA")},
            {w->DBEdit19, QStringLiteral("IMPORTER EXAMPLE GMBH")},
            {w->DBEdit20, QStringLiteral("HAFENSTRASSE 1")},
            {w->DBEdit21, QStringLiteral("HAMBURG")},
            {w->DBEdit24, QStringLiteral("SAME AS CONSIGNEE")},
            {w->DBEdit3, booking},
            {w->DBEdit1, QStringLiteral("BL0001")},
            {w->DBEdit2, QStringLiteral("REF77")},
            {w->DBEdit40, QStringLiteral("SANTOS")},
            {w->DBEdit5, QStringLiteral("SANTOS")},
            {w->DBEdit8, QStringLiteral("HAMBURG")},
            {w->DBEdit9, QStringLiteral("HAMBURG")},
            {w->DBEdit4, QStringLiteral("EXAMPLE STAR")},
            {w->DBEdit39, QStringLiteral("012E")},
            {w->DBEdit30, QStringLiteral("DALVORA EXPORTADORA LTDA")},
            {w->DBEdit32, QStringLiteral("EXPEDICAO")},
            {w->DBEdit31, QStringLiteral("SANTOS")},
            {w->DBEdit33, QStringLiteral("DALV1")},
        };
        for (const auto &[edit, text] : header)
            type(edit, text);
        tick(w->DBRG_Imo->buttons().at(0));
        showPage(1);
        type(w->DBEdit12, QStringLiteral("3"));
        type(w->DBEdit29, QStringLiteral("1263"));
        type(w->DBMemo1, QStringLiteral("DALVORA"));
        QTest::keyClick(w->DBMemo1, Qt::Key_Return);
        QTest::keyClicks(w->DBMemo1, QStringLiteral("HAMBURG"));
        type(w->DBMemo2, QStringLiteral("800 BAGS OF COFFEE"));
        type(w->DBEdit6, typed(1500)); // a gross weight typed before there are containers
        showPage(0);
        click(w->SB_Grava);
        QCOMPARE(dm->qyBLS->state(), EditBuffer::Browse);
        QCOMPARE(dm->qyBLS->integer(QStringLiteral("Bls_Codigo")), 1);
        QCOMPARE(w->StatusBar1->panelText(5), says(u"Visualizar"_s, u"View"_s));
        QCOMPARE(column(QStringLiteral("SELECT Bls_Shipper2 FROM Dal_Bls WHERE Bls_Codigo = 1")),
                 QVariantList{QStringLiteral("AV. SÃO JOÃO 100")});
    }

    // 2. The container editor refuses loose cargo; with the cargo switched to containers it takes three of them, and
    //    on closing the main window recounts and retotals, asking before it replaces the typed gross weight.
    void addContainers()
    {
        driver->press(ok());
        click(w->SB_Cntr);
        answered();
        QCOMPARE(lastSeen().text, says(u"Necessário CARGA CNTR"_s, u"Necessary CARGO CNTR"_s));
        QCOMPARE(lastSeen().title, says(u"Informação"_s, u"Information"_s));

        click(w->SB_Edit);
        tick(w->DBRG_Carga->buttons().at(1));
        QCOMPARE(w->GB_LCL->title(), QStringLiteral("CNTR"));
        click(w->SB_Grava);

        inWindow<TF_Container>([this](TF_Container *editor) {
            for (const Container &c : containers) {
                click(editor->SB_Inclusao);
                QCOMPARE(editor->StatusBar1->panelText(1), says(u"Incluir"_s, u"Add"_s));
                QTest::keyClicks(editor->DBEdit15, c.number.toLower()); // upper-cased as typed
                choose(editor->DBComboBox2, c.type);
                QCOMPARE(editor->DBComboBox2->currentText(), c.type);
                type(editor->DBEdit23, typed(c.gross));
                type(editor->DBEdit24, typed(c.tare));
                type(editor->DBEdit17, typed(c.packages));
                type(editor->DBEdit18, c.packageKind);
                const QList<TDBEdit *> sealEdits{editor->DBEdit19, editor->DBEdit20};
                for (int i = 0; i < c.seals.size(); ++i)
                    type(sealEdits.at(i), c.seals.at(i));
                click(editor->SB_Grava);
                QCOMPARE(editor->StatusBar1->panelText(1), says(u"Visualizar"_s, u"View"_s));
            }
            QCOMPARE(DM_BL->qyCntr->recordCount(), 3);
            click(editor->BB_Fechar);
        });
        driver->press(ok());
        click(w->SB_Cntr);
        answered();
        QCOMPARE(lastSeen().text, says(u"Deseja alterar Peso Bruto ?"_s, u"Do you want to modify Gross Weight ?"_s));
        QCOMPARE(lastSeen().title, says(u"Confirmação"_s, u"Confirmation"_s));
        QCOMPARE(w->SB_Cntr->text(), QStringLiteral("CONTAINER (3)"));
        const EditBuffer *bls = dm->qyBLS;
        QCOMPARE(bls->number(QStringLiteral("Bls_LCL_PesoBruto")), 61200.5);
        QCOMPARE(bls->number(QStringLiteral("Bls_LCL_PesoLiquido")), 50700.5);
        QCOMPARE(bls->integer(QStringLiteral("Bls_LCL_Volumes")), 3);
        QCOMPARE(w->DBEdit6->text(), says(u"61.200,500"_s, u"61,200.500"_s));
        QCOMPARE(w->DBComboBox3->currentText(), QStringLiteral("1 x 20\"  2 x 40\""));
        QCOMPARE(column(QStringLiteral("SELECT count(*) FROM Dal_Cntr WHERE Cnt_Cod_BL = 1")), QVariantList{3});
    }

    // 3. Two export documents and three NCM codes in the SD / NCM editor.
    void addDocumentsAndNcm()
    {
        inWindow<TF_SD>([this](TF_SD *editor) {
            struct Document
            {
                int kind; // SD, DSE, RE
                QString number;
                QString dueDigits;
                double weight;
                int packages;
                double fob;
            };
            const QList<Document> documents{
                {0, QStringLiteral("08/12345-6"), QStringLiteral("15032027"), 19200.5, 800, 45000.5},
                {2, QStringLiteral("08/7654321-0"), QString(), 42000, 1020, 98000}};
            for (const Document &d : documents) {
                click(editor->SB_Inclusao);
                QTest::keyClicks(editor->DBEdit2, d.number);
                if (!d.dueDigits.isEmpty()) {
                    editor->DBDateEdit9->setFocus();
                    editor->DBDateEdit9->home(false);
                    QTest::keyClicks(editor->DBDateEdit9, d.dueDigits);
                }
                type(editor->DBEdit3, typed(d.weight));
                type(editor->DBEdit4, typed(d.packages));
                type(editor->DBEdit8, typed(d.fob));
                tick(editor->DBRG_Tipo->buttons().at(d.kind));
                click(editor->SB_Grava);
                QCOMPARE(DM_BL->qySD->state(), EditBuffer::Browse);
            }
            for (const QString &code : {u"0901.11.10"_s, u"8471.30.12"_s, u"2009.12.00"_s}) {
                type(editor->EdNCM, code);
                click(editor->SB_IncNCM);
            }
            QCOMPARE(editor->L_Tot->text(), QStringLiteral("3"));
            click(editor->BB_Fechar);
        });
        click(w->SB_SD);
        answered();
        QCOMPARE(w->SB_SD->text(), QStringLiteral("SD (2) / NCM (3)"));
        QCOMPARE(column(QStringLiteral(
                     "SELECT coalesce(Sd_Vencto || '', 'NULL') FROM Dal_SD WHERE Sd_Cod_BL = 1 ORDER BY Sd_Codigo")),
                 (QVariantList{QStringLiteral("2027-03-15"), QStringLiteral("NULL")}));
    }

    // 4. Editar, ANEXAR: containers into the marks; documents, NCM codes and the IMO line into the description;
    //    Confirmar.
    void attachToMarksAndDescription()
    {
        click(w->SB_Edit);
        showPage(1);
        inWindow<TF_MandaMemo>([this](TF_MandaMemo *dialog) {
            QCOMPARE(dialog->windowTitle(), says(u"Escolher a opção:"_s, u"Choose the option:"_s));
            tick(dialog->RG_Cntr_item1);
            QVERIFY(dialog->CB_Num->isChecked() && dialog->CB_Tipo->isChecked() && dialog->CB_Lacre->isChecked());
            tick(dialog->RG_SD_item2);
            tick(dialog->RG_NCM_item2);
            tick(dialog->RG_Imo_item2);
            click(dialog->SB_Confirma);
        });
        click(w->SB_Pega1);
        answered();
        const QString marks = QStringLiteral("DALVORA\nHAMBURG\n\n"
                                             "[CAIU5550001 - Reefer 40 - Seal SEAL004 - ]\n\n"
                                             "[MSKU1234565 - Dry Box 20 - Seal SEAL001 - ]\n\n"
                                             "[TGHU7654321 - Dry Box 40 - Seal SEAL002/SEAL003 - ]");
        const QString description = QStringLiteral("800 BAGS OF COFFEE\n\n[SD  08/12345-6]\n\n[RE  08/7654321-0]\n\n"
                                                   "[0901.11.10]\n\n[2009.12.00]\n\n[8471.30.12]\n\n"
                                                   "IMDG (CLASS): 3   UN NUMBER 1263");
        QCOMPARE(w->DBMemo1->toPlainText(), marks);
        QCOMPARE(w->DBMemo2->toPlainText(), description);
        click(w->SB_Grava);
        QCOMPARE(dm->qyBLS->state(), EditBuffer::Browse);
        QCOMPARE(column(QStringLiteral("SELECT Bls_Marks FROM Dal_Bls WHERE Bls_Codigo = 1")),
                 QVariantList{QString(marks).replace(u"\n"_s, u"\r\n"_s)});
        QCOMPARE(column(QStringLiteral("SELECT Bls_Descricao FROM Dal_Bls WHERE Bls_Codigo = 1")),
                 QVariantList{QString(description).replace(u"\n"_s, u"\r\n"_s)});
        showPage(0);
    }

    // 5. Printing prepares the draft from the stored BL, attached lines included, and shows it on its own.
    void printTheDraft()
    {
        click(w->SB_Impressao);
        DraftPreview *preview = nullptr;
        for (QWidget *top : QApplication::topLevelWidgets())
            if (auto *p = qobject_cast<DraftPreview *>(top); p && p->isVisible())
                preview = p;
        QVERIFY(preview);
        const PreparedReport &report = preview->report();
        QCOMPARE(report.pageCount(), 1);
        QStringList marks;
        QStringList description;
        for (int page = 0; page < report.pageCount(); ++page) {
            for (const ReportItem &item : report.items(page)) {
                if (item.name == QLatin1String("PDF_MarksNumber"))
                    marks << item.lines;
                else if (item.name == QLatin1String("PDF_Desciption"))
                    description << item.lines;
            }
        }
        // Long lines wrap after a blank in the narrow marks column, which ends the wrapped line: run them together.
        const QString marksText = marks.join(QString());
        for (const Container &c : containers)
            QVERIFY2(
                marksText.contains(QStringLiteral("[%1 - %2 - Seal %3 - ]").arg(c.number, c.type, c.seals.join(u'/'))),
                qPrintable(marksText));
        QVERIFY2(description.contains(QStringLiteral("[SD  08/12345-6]")), qPrintable(description.join(u'|')));
        QVERIFY(description.contains(QStringLiteral("[RE  08/7654321-0]")));
        QVERIFY(description.contains(QStringLiteral("[8471.30.12]")));
        QVERIFY(description.contains(QStringLiteral("IMDG (CLASS): 3   UN NUMBER 1263")));
        QCOMPARE(report.item(0, QStringLiteral("RLL_NrBL"))->text, QStringLiteral("BL0001"));
        QCOMPARE(report.item(0, QStringLiteral("RLL_Reserva"))->text, booking);
        // Remarks and weights as the main window shows them, in the language in force.
        QCOMPARE(report.item(0, QStringLiteral("PDF_ForDelivery1"))->text,
                 says(u"Emissão de B/L:  Origem"_s, u"Emission of B/L:  Origin"_s));
        QCOMPARE(report.item(0, QStringLiteral("PDF_Gross1"))->text, says(u"61.200,500"_s, u"61,200.500"_s));

        // Drawn off screen: the page is not blank.
        const QImage page = report.pageImage(0);
        QCOMPARE(page.size(), QSize(794, 1123));
        QImage blank(page.size(), page.format());
        blank.fill(Qt::white);
        QVERIFY(page != blank);
        QTRY_COMPARE(preview->previewWidget()->pageCount(), 1);
        preview->close();
    }

    // 6. The EDI/BL window composes the stored BL and saves it, here into the working folder, under the proposed name;
    //    the file is the expected one byte for byte, but for the date it was made.
    void generateTheEdiFile()
    {
        inWindow<TF_TXT>([this](TF_TXT *edi) {
            QCOMPARE(edi->windowTitle(), says(u"Gerar - EDI/BL"_s, u"Generate - EDI/BL"_s));
            click(edi->SB_Confirma); // composes, then the save dialog and the message below
            // The composed lines are looked at on the check page.
            QTabBar *tabs = edi->PageControl1->tabBar();
            QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
            QCOMPARE(edi->PageControl1->currentWidget(), edi->TS_CHECK);
            QCOMPARE(edi->M_Track->toPlainText().section(u'\n', 0, 1),
                     QStringLiteral("[Dalvora-BL]\n[EP1]") + QLatin1String(AppInfo::Version));
            click(edi->SB_Fechar);
        });
        inWindow<QFileDialog>([this](QFileDialog *dialog) {
            QCOMPARE(dialog->windowTitle(), says(u"Salvar como"_s, u"Save as"_s));
            auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            QCOMPARE(name->text(), QFileInfo(fileName).completeBaseName());
            retype(name, QDir::currentPath() + u'/' + name->text());
            click(dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Save));
        });
        driver->press(ok());
        click(w->SB_TXT);
        answered();
        QCOMPARE(lastSeen().text, says(u"Arquivo gerado com sucesso"_s, u"File generated with success"_s));
        QCOMPARE(lastSeen().title, says(u"Informação"_s, u"Information"_s));

        QFile written(fileName);
        QVERIFY(written.open(QIODevice::ReadOnly));
        const QByteArray bytes = written.readAll();
        QVERIFY(bytes.contains("\r\n[EP7]" + QDate::currentDate().toString(u"dd-MM-yyyy").toLatin1() + "\r\n"));
        // Numbers and the due date follow the conventions of the language in force, so each has its own file.
        QFile expected(QStringLiteral(DALVORA_ROAD_DIR "/") + says(u"edibl-pt.TXT"_s, u"edibl-en.TXT"_s));
        QVERIFY(expected.open(QIODevice::ReadOnly));
        // The files carry @VERSION@ where the program writes its own version.
        const QByteArray wanted = expected.readAll().replace("@VERSION@", QByteArray(AppInfo::Version));
        QCOMPARE(QString::fromLatin1(withoutDateLine(bytes)).split(u"\r\n"_s),
                 QString::fromLatin1(withoutDateLine(wanted)).split(u"\r\n"_s));
        QVERIFY(withoutDateLine(bytes) == withoutDateLine(wanted));
    }

    // 7. Procurar, duplicate with every group ticked, a new booking number, Confirmar: the copy gets code 2 and no
    //    details.
    void duplicateTheBl()
    {
        inWindow<TF_Procura>([this](TF_Procura *search) {
            QCOMPARE(search->windowTitle(), says(u"B/L Draft - Procurar"_s, u"B/L Draft - Search"_s));
            click(search->SB_Duplicar);
        });
        inWindow<TF_Duplicar>([this](TF_Duplicar *duplicate) {
            click(duplicate->CB_Todos); // its mark is on the right
            QVERIFY(duplicate->CB_Marks->isChecked() && duplicate->CB_Shipper->isChecked());
            click(duplicate->SB_Confirma);
        });
        click(w->SB_Procura);
        answered();
        QCOMPARE(dm->qyBLS->state(), EditBuffer::Insert);
        QCOMPARE(w->DBEdit15->text(), QStringLiteral("AV. SÃO JOÃO 100"));
        retype(w->DBEdit3, QStringLiteral("SSZ-765.432/1"));
        click(w->SB_Grava);
        QCOMPARE(dm->qyBLS->state(), EditBuffer::Browse);
        QCOMPARE(dm->qyBLS->integer(QStringLiteral("Bls_Codigo")), 2);
        QVERIFY(dm->qyBLS->text(QStringLiteral("Bls_Marks")).contains(QStringLiteral("[MSKU1234565 - Dry Box 20")));
        QCOMPARE(w->SB_Cntr->text(), QStringLiteral("CONTAINER (0)"));
        QCOMPARE(column(QStringLiteral("SELECT Bls_ReservaNr FROM Dal_Bls ORDER BY Bls_Codigo")),
                 (QVariantList{booking, QStringLiteral("SSZ-765.432/1")}));
    }

    // 8. The first BL found by its booking number in the search window and deleted after both questions: its
    //    containers, documents and NCM codes go with it.
    void deleteTheFirstBl()
    {
        inWindow<TF_Procura>([this](TF_Procura *search) {
            QTest::keyClicks(search->Edit1, QStringLiteral("ssz-123"));
            QCOMPARE(search->selectedCode(), 1);
            click(search->BB_Delete);
            QCOMPARE(DM_BL->qyMostra->recordCount(), 1);
            click(search->BB_Fechar);
        });
        driver->press(ok()).press(ok());
        click(w->SB_Procura);
        answered();
        QVERIFY(driver->seen.size() >= 2);
        const DialogDriver::Seen &first = driver->seen.at(driver->seen.size() - 2);
        QVERIFY2(first.text.startsWith(says(u"DESEJA EXCLUIR ?"_s, u"DO YOU WANT TO DELETE ? "_s)),
                 qPrintable(first.text));
        QVERIFY(first.text.contains(booking));
        QCOMPARE(first.title, says(u"Confirmação"_s, u"Confirmation"_s));
        QCOMPARE(first.buttons, (QStringList{ok(), TMsgDlg::caption(TMsgDlg::Cancel, m_language)}));
        QCOMPARE(lastSeen().text, says(u"DESEJA REALMENTE EXCLUIR ?"_s, u"DO YOU WANT TO DELETE ? "_s));

        QCOMPARE(column(QStringLiteral("SELECT Bls_Codigo FROM Dal_Bls")), QVariantList{2});
        for (const char *table : {"Dal_Cntr", "Dal_SD", "Dal_NCM"})
            QCOMPARE(column(QStringLiteral("SELECT count(*) FROM %1").arg(QLatin1String(table))), QVariantList{0});
        QCOMPARE(dm->qyBLS->integer(QStringLiteral("Bls_Codigo")), 2);
    }

    std::unique_ptr<PgCluster> m_server; // started for the first road on the shared store
    int m_databases = 0;

private Q_SLOTS:
    void initTestCase()
    {
        QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
        m_root = QDir::currentPath();
    }

    void init()
    {
        // Each run of the road starts from an empty store in a fresh working folder.
        const QString tag = QString::fromLatin1(QTest::currentDataTag());
        const QString folder = m_root + u'/' + tag;
        QVERIFY(QDir().mkpath(folder));
        QDir::setCurrent(folder);
        if (tag.endsWith(u"shared store"_s)) {
            if (!m_server)
                m_server = std::make_unique<PgCluster>();
            QVERIFY2(m_server->error().isEmpty(), qPrintable(m_server->error()));
            const QString database = u"road%1"_s.arg(++m_databases);
            m_server->createDatabase(database);
            qputenv(Store::ServerSetting, m_server->uri(database).toUtf8());
        }
        Store::open(folder);
        dm = new TDM_BL;
        DM_BL = dm;
        w = new TF_Principal;
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        driver = new DialogDriver;
    }

    void cleanup()
    {
        delete driver;
        delete w;
        delete dm;
        DM_BL = nullptr;
        Store::close();
        qunsetenv(Store::ServerSetting);
        QDir::setCurrent(m_root);
        m_language = 1;
    }

    void road_data()
    {
        QTest::addColumn<int>("language");
        QTest::newRow("Portuguese") << 1;
        // The office's shared store changes nothing the clerk sees: windows, texts, the draft, the file's bytes.
        QTest::newRow("Portuguese, shared store") << 1;
        QTest::newRow("English") << 2;
    }

    void road()
    {
        QFETCH(int, language);
        m_language = language;
        if (language == 2) {
            tick(w->RB_ING);
            QCOMPARE(dm->IdiomaAtual(), 2);
        }
        QCOMPARE(w->SB_Inclusao->text(), says(u"Incluir"_s, u"Add"_s));
        QCOMPARE(w->SB_Grava->text(), says(u"Confirmar"_s, u"Confirm"_s));
        QCOMPARE(w->L_Reserva->text(), says(u"Reserva Nr."_s, u"Reserve Nr."_s));
        QCOMPARE(w->StatusBar1->panelText(2), says(u"Versão "_s, u"Version "_s) + QLatin1String(AppInfo::Version));

        const QList<QPair<const char *, void (TestRoad::*)()>> steps{
            {"include", &TestRoad::includeTheBl},
            {"containers", &TestRoad::addContainers},
            {"documents and NCM", &TestRoad::addDocumentsAndNcm},
            {"attach", &TestRoad::attachToMarksAndDescription},
            {"print", &TestRoad::printTheDraft},
            {"EDI/BL file", &TestRoad::generateTheEdiFile},
            {"duplicate", &TestRoad::duplicateTheBl},
            {"delete", &TestRoad::deleteTheFirstBl},
        };
        for (const auto &[name, step] : steps) {
            (this->*step)();
            if (QTest::currentTestFailed())
                QFAIL(qPrintable(
                    QStringLiteral("the road stopped at: %1\n%2").arg(QLatin1String(name), driver->report())));
        }

        // The session ends with its question.
        driver->press(ok());
        click(w->SB_Fechar);
        answered();
        QCOMPARE(lastSeen().text,
                 says(u"Confirma que deseja fechar a sessão ?"_s, u"Do you want to close the session ?"_s));
        QVERIFY(!w->isVisible());
    }
};

int main(int argc, char *argv[])
{
    TestEnv env;
    DalvoraApplication app(argc, argv);
    prepareTestApplication();
    // As the program starts: the toolkit's own texts through the dictionary, the balloon hints' style.
    QCoreApplication::installTranslator(new FrameworkTranslator(&app));
    BalloonHints::install(app);
    TestRoad tc;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&tc, argc, argv);
}
#include "tst_road.moc"
