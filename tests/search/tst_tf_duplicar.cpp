#include "DialogDriver.h"
#include "StoreFixture.h"
#include "TF_Duplicar.h"
#include "TestEnv.h"

#include <functional>

// Drives the duplicate window modally, as the search window shows it, and reads the new BL it leaves in qyBLS.
class TestTF_Duplicar : public QObject
{
    Q_OBJECT

    StoreFixture fx;
    DialogDriver *driver = nullptr;

    QString runDuplicate(int source, const std::function<void(TF_Duplicar *)> &scenario)
    {
        driver->handle(StoreFixture::scenario<TF_Duplicar>([scenario](TF_Duplicar *dup) {
            QCOMPARE(dup->windowTitle(), QStringLiteral("Duplicar Draft"));
            scenario(dup);
        }));
        TF_Duplicar window(source);
        window.exec();
        return window.RetornoDuplicar;
    }

    // Clicks on the box of a tick box (on the left, or on the right when its caption is left of it).
    static void click(QAbstractButton *button)
    {
        const int x = button->layoutDirection() == Qt::RightToLeft ? button->width() - 8 : 8;
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(x, button->height() / 2));
    }

    static QList<QCheckBox *> boxes(TF_Duplicar *dup) { return dup->GroupBox1->findChildren<QCheckBox *>(); }

    // Text columns each box copies, by the box's name.
    static QHash<QString, QStringList> textColumns()
    {
        return {{"CB_Shipper", {"Bls_Shipper1", "Bls_Shipper2", "Bls_Shipper3", "Bls_Shipper4", "Bls_Shipper5"}},
                {"CB_Consignee", {"Bls_Cnee1", "Bls_Cnee2", "Bls_Cnee3", "Bls_Cnee4", "Bls_Cnee5"}},
                {"CB_Notify", {"Bls_Notify1", "Bls_Notify2", "Bls_Notify3", "Bls_Notify4", "Bls_Notify5"}},
                {"CB_Emissao", {"Bls_EmissaoBL"}},
                {"CB_Reserva", {"Bls_ReservaNr"}},
                {"CB_RefShip", {"Bls_RefShipper"}},
                {"CB_Receipt", {"Bls_PlaceReceipt"}},
                {"CB_Discharge", {"Bls_PortDischarge"}},
                {"CB_Vessel", {"Bls_Navio"}},
                {"CB_Bill", {"Bls_BillofLading"}},
                {"CB_Payable", {"Bls_Payable"}},
                {"CB_Loading", {"Bls_PortLoading"}},
                {"CB_Delivery", {"Bls_PlaceDelivery"}},
                {"CB_Voyage", {"Bls_Viagem"}}};
    }

    // An old IMO BL of one company, with every copied column filled, its cargo totals and three containers; then a
    // newer BL of another company.
    int storeSourceAndNewer()
    {
        QVariantHash columns{{"Bls_Carga", "FCL"},         {"Bls_Imo", true},
                             {"Bls_AsPerAgee", true},      {"Bls_Imo_IMDG", "3"},
                             {"Bls_Imo_UN", "1263"},       {"Bls_LCL_PesoBruto", 1500.5},
                             {"Bls_LCL_Volumes", 12},      {"Bls_LCL_TipoVolume", "PALLETS"},
                             {"Bls_Marks", "N/M"},         {"Bls_Descricao", "PAINT"},
                             {"Bls_Cia_Nome", "OLD LINE"}, {"Bls_Cia_Usuario", "ANA"},
                             {"Bls_Cia_Cidade", "SANTOS"}, {"Bls_Cia_Arquivo", "OLD"}};
        const QHash<QString, QStringList> text = textColumns();
        for (auto it = text.begin(); it != text.end(); ++it)
            for (const QString &column : it.value())
                columns.insert(column, column.mid(4).toUpper());
        const int source = StoreFixture::storeBl(columns);
        for (const char *number : {"AAAU1111111", "BBBU2222222", "CCCU3333333"})
            StoreFixture::addDetail(DM_BL->qyCntr, source, {{"Cnt_Numero", number}});
        StoreFixture::storeBl({{"Bls_ReservaNr", "NEWER"},
                               {"Bls_Cia_Nome", "NEW LINE"},
                               {"Bls_Cia_Usuario", "BIA"},
                               {"Bls_Cia_Cidade", "RIO"},
                               {"Bls_Cia_Arquivo", "NEW"}});
        return source;
    }

    static void verifyNewestCompany()
    {
        const EditBuffer *bls = DM_BL->qyBLS;
        QCOMPARE(bls->text("Bls_Cia_Nome"), QStringLiteral("NEW LINE"));
        QCOMPARE(bls->text("Bls_Cia_Usuario"), QStringLiteral("BIA"));
        QCOMPARE(bls->text("Bls_Cia_Cidade"), QStringLiteral("RIO"));
        QCOMPARE(bls->text("Bls_Cia_Arquivo"), QStringLiteral("NEW"));
    }

    // Never copied, whatever the boxes.
    static void verifyFreshParts()
    {
        const EditBuffer *bls = DM_BL->qyBLS;
        QCOMPARE(bls->state(), EditBuffer::Insert);
        QCOMPARE(bls->recordCount(), 1);
        for (const char *column :
             {"Bls_Codigo", "Bls_LCL_PesoBruto", "Bls_LCL_PesoLiquido", "Bls_LCL_Cubagem", "Bls_LCL_Volumes",
              "Bls_LCL_TipoVolume", "Bls_Imo_IMDG", "Bls_Imo_UN", "Bls_Marks", "Bls_Descricao"})
            QVERIFY2(bls->isNull(QString::fromLatin1(column)), column);
        QCOMPARE(bls->displayFormat("Bls_LCL_PesoBruto"), QStringLiteral("###,###,##0.000"));
        QCOMPARE(bls->displayFormat("Bls_LCL_Volumes"), QStringLiteral("###,###,##0"));
        QCOMPARE(StoreFixture::count("SELECT COUNT(*) from Dal_Bls"), 2);
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

    void noBoxTicked()
    {
        const int source = storeSourceAndNewer();
        const QString result = runDuplicate(source, [](TF_Duplicar *dup) {
            QCOMPARE(boxes(dup).size(), 20);
            for (QCheckBox *box : boxes(dup))
                QVERIFY2(!box->isChecked(), qPrintable(box->objectName()));
            click(dup->SB_Confirma);
            // The source's texts wait in the hidden memos for the search window.
            QCOMPARE(dup->DBM_Aux_Marks->toPlainText(), QStringLiteral("N/M"));
            QCOMPARE(dup->DBM_Aux_Descri->toPlainText(), QStringLiteral("PAINT"));
        });
        QCOMPARE(result, QStringLiteral("DUPLICA"));
        verifyNewestCompany();
        verifyFreshParts();
        const EditBuffer *bls = DM_BL->qyBLS;
        QCOMPARE(bls->text("Bls_Carga"), QStringLiteral("LCL"));
        QCOMPARE(bls->logicalText("Bls_Imo"), QStringLiteral("False"));
        // A copy leaves these empty where a new BL would start with "ORI" and false.
        QVERIFY(bls->isNull("Bls_AsPerAgee"));
        const QHash<QString, QStringList> text = textColumns();
        for (const QStringList &columns : text)
            for (const QString &column : columns)
                QVERIFY2(bls->text(column).isEmpty(), qPrintable(column));
        QVERIFY(!DM_BL->qyDup->isOpen());
    }

    void copiesTickedBoxes_data()
    {
        QTest::addColumn<QStringList>("unticked");
        QTest::newRow("Todos") << QStringList{};
        QTest::newRow("Todos minus Vessel") << QStringList{"CB_Vessel"};
        QTest::newRow("Todos minus Freight Payable") << QStringList{"CB_Payable"};
        QTest::newRow("Todos minus Carga, Imo, As Per") << QStringList{"CB_Carga", "CB_Imo", "CB_AsPer"};
    }

    void copiesTickedBoxes()
    {
        QFETCH(QStringList, unticked);
        const int source = storeSourceAndNewer();
        const QString result = runDuplicate(source, [&](TF_Duplicar *dup) {
            click(dup->CB_Todos);
            for (const QString &name : unticked)
                click(dup->findChild<QCheckBox *>(name));
            QVERIFY(dup->CB_Todos->isChecked()); // it does not follow the single boxes
            click(dup->SB_Confirma);
        });
        QCOMPARE(result, QStringLiteral("DUPLICA"));
        verifyNewestCompany();
        verifyFreshParts();
        const EditBuffer *bls = DM_BL->qyBLS;
        const QHash<QString, QStringList> text = textColumns();
        for (auto it = text.begin(); it != text.end(); ++it)
            for (const QString &column : it.value())
                QCOMPARE(bls->text(column), unticked.contains(it.key()) ? QString() : column.mid(4).toUpper());
        const bool flags = !unticked.contains("CB_Imo");
        QCOMPARE(bls->text("Bls_Carga"), flags ? QStringLiteral("FCL") : QStringLiteral("LCL"));
        QCOMPARE(bls->logicalText("Bls_Imo"), flags ? QStringLiteral("True") : QStringLiteral("False"));
        QCOMPARE(bls->logicalText("Bls_AsPerAgee"), flags ? QStringLiteral("True") : QString());

        // Stored on the main window's confirmation: the next code, and no containers.
        const int code = DM_BL->postWithNewCode(DM_BL->qyBLS);
        QCOMPARE(code, source + 2);
        QCOMPARE(StoreFixture::count(QStringLiteral("SELECT COUNT(*) from Dal_Cntr where Cnt_Cod_Bl = %1").arg(code)),
                 0);
        QCOMPARE(StoreFixture::count(QStringLiteral("SELECT COUNT(*) from Dal_Cntr")), 3);
    }

    void emptyLogicalsCopiedAsFalse()
    {
        const int source = StoreFixture::storeBl({{"Bls_ReservaNr", "PLAIN"}});
        runDuplicate(source, [](TF_Duplicar *dup) {
            click(dup->CB_Imo);
            click(dup->CB_AsPer);
            click(dup->SB_Confirma);
        });
        QCOMPARE(DM_BL->qyBLS->logicalText("Bls_Imo"), QStringLiteral("False"));
        QCOMPARE(DM_BL->qyBLS->logicalText("Bls_AsPerAgee"), QStringLiteral("False"));
    }

    void todosTicksAndUnticksAll()
    {
        const int source = storeSourceAndNewer();
        const QString result = runDuplicate(source, [](TF_Duplicar *dup) {
            click(dup->CB_Vessel);
            click(dup->CB_Todos);
            for (QCheckBox *box : boxes(dup))
                QVERIFY2(box->isChecked(), qPrintable(box->objectName()));
            click(dup->CB_Todos);
            for (QCheckBox *box : boxes(dup))
                QVERIFY2(!box->isChecked(), qPrintable(box->objectName()));
            QTest::keyClick(dup, Qt::Key_Escape); // not a way out
            QVERIFY(dup->isVisible());
            click(dup->SB_Cancela);
        });
        QCOMPARE(result, QStringLiteral("erro"));
    }

    void cancelChangesNothing()
    {
        const int source = storeSourceAndNewer();
        EditBuffer *bls = DM_BL->qyBLS;
        bls->setSql({QStringLiteral("SELECT * from Dal_Bls"), QStringLiteral("where Bls_Codigo = :pp1")});
        bls->setPp1(source + 1);
        bls->open();
        const QString result = runDuplicate(source, [](TF_Duplicar *dup) {
            click(dup->CB_Todos);
            click(dup->SB_Cancela);
        });
        QCOMPARE(result, QStringLiteral("erro"));
        QCOMPARE(bls->state(), EditBuffer::Browse);
        QCOMPARE(bls->text("Bls_ReservaNr"), QStringLiteral("NEWER"));
        QVERIFY(!DM_BL->qyDup->isOpen());
        QCOMPARE(StoreFixture::count("SELECT COUNT(*) from Dal_Bls"), 2);
    }
};

DALVORA_TEST_MAIN(TestTF_Duplicar)
#include "tst_tf_duplicar.moc"
