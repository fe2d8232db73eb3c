#include "DialogDriver.h"
#include "StoreFixture.h"
#include "TF_MandaMemo.h"
#include "TestEnv.h"

#include <QRadioButton>
#include <QStyle>
#include <functional>

// Drives the ANEXAR action and its dialog on a BL being edited, as the main window calls it.
class TestTF_MandaMemo : public QObject
{
    Q_OBJECT

    StoreFixture fx;
    DialogDriver *driver = nullptr;
    QStringList informed;

    // Clicked near the left edge, where a check box or radio button has its mark.
    static void click(QAbstractButton *button)
    {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    }

    static void choose(QGroupBox *group, int item) { click(group->findChildren<QRadioButton *>().at(item)); }

    // A BL with two containers (stored out of number order), one SD document, one NCM code and IMO data.
    static int fullBl(const QString &marks = QString())
    {
        const int bl = StoreFixture::newBl({{QStringLiteral("Bls_Imo_IMDG"), QStringLiteral("3")},
                                            {QStringLiteral("Bls_Imo_UN"), QStringLiteral("1263")},
                                            {QStringLiteral("Bls_Marks"), marks}});
        StoreFixture::addContainer(bl, QStringLiteral("B2"), QStringLiteral("Nor 40"), 0, 0,
                                   {{QStringLiteral("Cnt_Lacre_1"), QStringLiteral("S2")}});
        StoreFixture::addContainer(bl, QStringLiteral("A1"), QStringLiteral("Nor 20"), 0, 0,
                                   {{QStringLiteral("Cnt_Lacre_1"), QStringLiteral("S1")}});
        StoreFixture::addDetail(
            DM_BL->qySD, bl,
            {{QStringLiteral("Sd_Tipo"), QStringLiteral("SD")}, {QStringLiteral("Sd_Numero"), QStringLiteral("123")}});
        StoreFixture::addDetail(DM_BL->qyNCM, bl, {{QStringLiteral("Ncm_Numero"), QStringLiteral("8471")}});
        DM_BL->qyBLS->edit();
        return bl;
    }

    void anexar(const DetailCounts &counts, const std::function<void(TF_MandaMemo *)> &inDialog = {})
    {
        if (inDialog)
            driver->handle([inDialog](QWidget *window) {
                auto *dialog = qobject_cast<TF_MandaMemo *>(window);
                QVERIFY(dialog);
                inDialog(dialog);
            });
        TF_MandaMemo::anexar(nullptr, counts, QStringLiteral("Editar"),
                             [this](const QString &text) { informed << text; });
    }

    static QString memo(const char *column) { return DM_BL->qyBLS->text(QLatin1String(column)); }

private Q_SLOTS:
    void init()
    {
        fx.setUp();
        driver = new DialogDriver;
        informed.clear();
    }
    void cleanup()
    {
        QCOMPARE(driver->pending(), 0);
        delete driver;
        fx.tearDown();
    }

    void refusedOnABlOnlyShown()
    {
        fullBl();
        DM_BL->qyBLS->cancel();
        anexar({2, 1, 1});
        QCOMPARE(informed, QStringList{QStringLiteral("Tabela no modo Visualizar.\r\rNecessário Editar")});
    }

    void refusedWithNothingToAttach()
    {
        StoreFixture::newBl();
        DM_BL->qyBLS->edit();
        anexar({0, 0, 0});
        QCOMPARE(informed, QStringList{QStringLiteral("Não tem Registro selecionado")});
    }

    void containersToMarksWithTheDefaultBoxes()
    {
        fullBl(QStringLiteral("N/M"));
        anexar({2, 1, 1}, [](TF_MandaMemo *dialog) {
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Escolher a opção:"));
            QCOMPARE(dialog->L_Tit->text(), QStringLiteral("ENVIAR PARA"));
            QCOMPARE(dialog->GB_ContOpcao->title(), QStringLiteral("Container Opção"));
            QVERIFY(!dialog->CB_Num->isEnabled() && !dialog->CB_Num->isChecked());
            choose(dialog->RG_Cntr, 1);
            QVERIFY(dialog->CB_Num->isChecked() && dialog->CB_Tipo->isChecked() && dialog->CB_Lacre->isChecked());
            QVERIFY(!dialog->CB_Bruto->isChecked() && dialog->CB_Bruto->isEnabled());
            click(dialog->SB_Confirma);
        });
        QCOMPARE(memo("Bls_Marks"),
                 QStringLiteral("N/M\r\n\r\n[A1 - Nor 20 - Seal S1 - ]\r\n\r\n[B2 - Nor 40 - Seal S2 - ]"));
        QVERIFY(memo("Bls_Descricao").isEmpty());
        QCOMPARE(DM_BL->qyBLS->state(), EditBuffer::Edit);
    }

    void eachKindToItsMemoInOrder()
    {
        fullBl();
        anexar({2, 1, 1}, [](TF_MandaMemo *dialog) {
            choose(dialog->RG_Imo, 2);
            choose(dialog->RG_NCM, 1);
            choose(dialog->RG_SD, 2);
            choose(dialog->RG_Cntr, 2);
            click(dialog->CB_Tipo);
            click(dialog->CB_Lacre);
            click(dialog->SB_Confirma);
        });
        QCOMPARE(memo("Bls_Marks"), QStringLiteral("\r\n[8471]"));
        QCOMPARE(memo("Bls_Descricao"), QStringLiteral("\r\n[A1 - ]\r\n\r\n[B2 - ]\r\n\r\n[SD  123]\r\n\r\n"
                                                       "IMDG (CLASS): 3   UN NUMBER 1263"));
    }

    // The close button shows the same close glyph as the other windows' close buttons.
    void closeButtonCarriesTheCloseGlyph()
    {
        TF_MandaMemo dialog;
        const QIcon close = dialog.style()->standardIcon(QStyle::SP_DialogCloseButton);
        QVERIFY(!dialog.SB_Fechar->icon().isNull());
        QCOMPARE(dialog.SB_Fechar->icon().pixmap(16).toImage(), close.pixmap(16).toImage());
    }

    void containerChoiceNeedsABox()
    {
        // Shown without the action, so its own message is the one modal dialog.
        TF_MandaMemo dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        choose(dialog.RG_Cntr, 1);
        for (QCheckBox *box : {dialog.CB_Num, dialog.CB_Tipo, dialog.CB_Lacre})
            click(box);
        driver->press(QStringLiteral("OK"));
        click(dialog.SB_Confirma);
        QCOMPARE(driver->texts(), QStringList{QStringLiteral("Necessário Opção")});
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        // Back to "Nenhuma": every box unticked and disabled, and the dialog may close.
        click(dialog.CB_Vol);
        choose(dialog.RG_Cntr, 0);
        for (QCheckBox *box : dialog.GB_ContOpcao->findChildren<QCheckBox *>())
            QVERIFY(!box->isEnabled() && !box->isChecked());
        click(dialog.SB_Confirma);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }

    void closingAttachesNothing()
    {
        fullBl();
        anexar({2, 1, 1}, [](TF_MandaMemo *dialog) {
            choose(dialog->RG_Cntr, 1);
            choose(dialog->RG_Imo, 1);
            click(dialog->SB_Fechar);
        });
        QVERIFY(memo("Bls_Marks").isEmpty());
        QVERIFY(memo("Bls_Descricao").isEmpty());
    }

    void imoDataAloneOffersOnlyImo()
    {
        StoreFixture::newBl({{QStringLiteral("Bls_Imo_UN"), QStringLiteral("1263")}});
        DM_BL->qyBLS->edit();
        anexar({0, 0, 0}, [](TF_MandaMemo *dialog) {
            QVERIFY(!dialog->RG_Cntr->isEnabled());
            QVERIFY(!dialog->RG_SD->isEnabled());
            QVERIFY(!dialog->RG_NCM->isEnabled());
            QVERIFY(dialog->RG_Imo->isEnabled());
            choose(dialog->RG_Imo, 1);
            click(dialog->SB_Confirma);
        });
        QCOMPARE(memo("Bls_Marks"), QStringLiteral("\r\n   UN NUMBER 1263"));
    }
};

DALVORA_TEST_MAIN(TestTF_MandaMemo)
#include "tst_tf_mandamemo.moc"
