#include "DraftFilling.h"
#include "LanguageSwitch.h"
#include "Store.h"
#include "StoreError.h"
#include "TDM_BL.h"
#include "TF_BLAPDF.h"
#include "TestEnv.h"

#include <QDir>
#include <QFile>

namespace {

// A BL as the clerk would have stored it, with every printed column set.
QVariantHash fullRow()
{
    QVariantHash row{
        {QStringLiteral("Bls_Codigo"), 7},
        {QStringLiteral("Bls_ReservaNr"), QStringLiteral("BK-2024/001")},
        {QStringLiteral("Bls_BillofLading"), QStringLiteral("DALV123456")},
        {QStringLiteral("Bls_Cia_Nome"), QStringLiteral("EXPORTADORA SUL")},
        {QStringLiteral("Bls_Cia_Usuario"), QStringLiteral("MARIA")},
        {QStringLiteral("Bls_Cia_Cidade"), QStringLiteral("SANTOS")},
        {QStringLiteral("Bls_Cia_Arquivo"), QStringLiteral("EXSUL")},
        {QStringLiteral("Bls_Viagem"), QStringLiteral("042E")},
        {QStringLiteral("Bls_Navio"), QStringLiteral("MSC AURORA")},
        {QStringLiteral("Bls_PlaceReceipt"), QStringLiteral("CAMPINAS")},
        {QStringLiteral("Bls_PortLoading"), QStringLiteral("SANTOS")},
        {QStringLiteral("Bls_PortDischarge"), QStringLiteral("HAMBURG")},
        {QStringLiteral("Bls_PlaceDelivery"), QStringLiteral("BERLIN")},
        {QStringLiteral("Bls_LCL_PesoBruto"), 1234.5},
        {QStringLiteral("Bls_LCL_Cubagem"), 12.25},
        {QStringLiteral("Bls_LCL_PesoLiquido"), 1000.0},
        {QStringLiteral("Bls_LCL_Volumes"), 48},
        {QStringLiteral("Bls_LCL_TipoVolume"), QStringLiteral("CAIXAS")},
        {QStringLiteral("Bls_Marks"), QStringLiteral("DALV\r\nSANTOS")},
        {QStringLiteral("Bls_Descricao"), QStringLiteral("48 CAIXAS\r\nPECAS DE MOTOR")},
    };
    for (int i = 1; i <= 5; ++i) {
        row.insert(QStringLiteral("Bls_Shipper%1").arg(i), QStringLiteral("SHIPPER LINE %1").arg(i));
        row.insert(QStringLiteral("Bls_Cnee%1").arg(i), QStringLiteral("CONSIGNEE LINE %1").arg(i));
        row.insert(QStringLiteral("Bls_Notify%1").arg(i), QStringLiteral("NOTIFY LINE %1").arg(i));
    }
    return row;
}

DraftRemarks portugueseRemarks()
{
    return {QStringLiteral("Emissão de B/L"),
            QStringLiteral("Origem"),
            QStringLiteral("As Per Agreement"),
            QStringLiteral("Não"),
            QStringLiteral("CARGA"),
            QStringLiteral("SOLTA"),
            QStringLiteral("IMO"),
            QStringLiteral("Sim")};
}

} // namespace

class TestDraftFilling : public QObject
{
    Q_OBJECT

    TDM_BL *dm = nullptr;

    int storeBl(const QVariantHash &values)
    {
        EditBuffer *bls = dm->qyBLS;
        bls->close();
        bls->setSql({QStringLiteral("SELECT * from Dal_Bls"), QStringLiteral("where Bls_Codigo is NULL")});
        bls->open();
        bls->insert();
        for (auto it = values.begin(); it != values.end(); ++it)
            bls->setValue(it.key(), it.value());
        return dm->postWithNewCode(bls);
    }

private Q_SLOTS:
    void init()
    {
        Store::open(QDir::currentPath());
        dm = new TDM_BL;
        DM_BL = dm;
        LanguageSwitch::apply(1);
    }

    void cleanup()
    {
        delete dm;
        Store::close();
        QFile::remove(QString::fromLatin1(Store::FileName));
        LanguageSwitch::apply(1);
    }

    void printQueryReadsTheStoredRowAfresh()
    {
        QVariantHash values = fullRow();
        values.remove(QStringLiteral("Bls_Codigo"));
        const int code = storeBl(values);
        // A change stored after the BL was shown is what the draft prints.
        dm->qyBLS->edit();
        dm->qyBLS->setText(QStringLiteral("Bls_Navio"), QStringLiteral("CHANGED"));
        dm->qyBLS->post();

        const QVariantHash row = DraftFilling::readPrintRow(code);
        QCOMPARE(row.value(QStringLiteral("Bls_Codigo")).toInt(), code);
        QCOMPARE(row.value(QStringLiteral("Bls_Navio")).toString(), QStringLiteral("CHANGED"));
        QCOMPARE(row.value(QStringLiteral("Bls_Marks")).toString(), QStringLiteral("DALV\r\nSANTOS"));
        QCOMPARE(row.value(QStringLiteral("Bls_LCL_PesoBruto")).toDouble(), 1234.5);
        QVERIFY(!dm->qyPrint->isOpen());
        QCOMPARE(dm->qyPrint->sql(),
                 (QStringList{QStringLiteral("SELECT * from Dal_Bls"), QStringLiteral("where Bls_Codigo = :pp1")}));

        QVERIFY(DraftFilling::readPrintRow(code + 1).isEmpty());
    }

    void storeFailureLeavesThePrintQueryClosed()
    {
        Store::close();
        QVERIFY_THROWS_EXCEPTION(StoreError, DraftFilling::readPrintRow(1));
        QVERIFY(!dm->qyPrint->isOpen());
    }

    void everySlotIsFilled_data()
    {
        QTest::addColumn<QString>("slot");
        QTest::addColumn<QString>("expected");
        QTest::newRow("BL number") << "RLL_NrBL"
                                   << "DALV123456";
        QTest::newRow("booking") << "RLL_Reserva"
                                 << "BK-2024/001";
        QTest::newRow("company") << "RLL_Empresa"
                                 << "EXPORTADORA SUL";
        QTest::newRow("user") << "RLL_Usuario"
                              << "MARIA";
        QTest::newRow("city") << "RLL_Cidade"
                              << "SANTOS";
        QTest::newRow("file id") << "RLL_Identif"
                                 << "EXSUL";
        QTest::newRow("shipper 1") << "PDF_Shipper1"
                                   << "SHIPPER LINE 1";
        QTest::newRow("shipper 5") << "PDF_Shipper5"
                                   << "SHIPPER LINE 5";
        QTest::newRow("consignee 3") << "PDF_Cnee3"
                                     << "CONSIGNEE LINE 3";
        QTest::newRow("notify 4") << "PDF_Notify4"
                                  << "NOTIFY LINE 4";
        QTest::newRow("voyage") << "RLL_Voyage"
                                << "042E";
        QTest::newRow("vessel") << "RLL_Vessel"
                                << "MSC AURORA";
        QTest::newRow("receipt") << "RLL_PlaceOfReceipt"
                                 << "CAMPINAS";
        QTest::newRow("loading") << "RLL_PortOfLoading"
                                 << "SANTOS";
        QTest::newRow("discharge") << "RLL_PortOfDischarge"
                                   << "HAMBURG";
        QTest::newRow("delivery") << "RLL_PlaceOfDelivery"
                                  << "BERLIN";
        QTest::newRow("remarks heading") << "RLLabel17" << QStringLiteral("OBSERVAÇÕES");
        QTest::newRow("emission") << "PDF_ForDelivery1" << QStringLiteral("Emissão de B/L:  Origem");
        QTest::newRow("as per") << "PDF_ForDelivery2" << QStringLiteral("As Per Agreement:  Não");
        QTest::newRow("cargo") << "PDF_ForDelivery3"
                               << "CARGA:  SOLTA";
        QTest::newRow("imo") << "PDF_ForDelivery4"
                             << "IMO:  Sim";
        QTest::newRow("volumes") << "PDF_ForDelivery5"
                                 << "Volume:  48  CAIXAS";
        QTest::newRow("gross") << "PDF_Gross1"
                               << "1.234,500";
        QTest::newRow("gross unit") << "PDF_Gross2"
                                    << "KGS";
        QTest::newRow("measurement") << "PDF_Measu1"
                                     << "12,250";
        QTest::newRow("measurement unit") << "PDF_Measu2"
                                          << "M3";
        QTest::newRow("net") << "PDF_NetWeight1"
                             << "1.000,000";
        QTest::newRow("net unit") << "PDF_NetWeight2"
                                  << "KGS";
    }

    void everySlotIsFilled()
    {
        QFETCH(QString, slot);
        QFETCH(QString, expected);
        TF_BLAPDF form;
        DraftFilling::fill(form, fullRow(), portugueseRemarks());
        QCOMPARE(form.text(slot), expected);
    }

    void memosAreSplitAtTheirLineBreaks()
    {
        TF_BLAPDF form;
        DraftFilling::fill(form, fullRow(), portugueseRemarks());
        QCOMPARE(form.lines(QStringLiteral("PDF_MarksNumber")),
                 (QStringList{QStringLiteral("DALV"), QStringLiteral("SANTOS")}));
        QCOMPARE(form.lines(QStringLiteral("PDF_Desciption")),
                 (QStringList{QStringLiteral("48 CAIXAS"), QStringLiteral("PECAS DE MOTOR")}));
    }

    void emptyRowPrintsZerosAndUnits()
    {
        TF_BLAPDF form;
        DraftFilling::fill(form, {}, portugueseRemarks());
        QCOMPARE(form.text(QStringLiteral("RLL_NrBL")), QString());
        QCOMPARE(form.text(QStringLiteral("PDF_Gross1")), QStringLiteral("0,000"));
        QCOMPARE(form.text(QStringLiteral("PDF_Measu1")), QStringLiteral("0,000"));
        QCOMPARE(form.text(QStringLiteral("PDF_NetWeight1")), QStringLiteral("0,000"));
        QCOMPARE(form.text(QStringLiteral("PDF_Gross2")), QStringLiteral("KGS"));
        QCOMPARE(form.text(QStringLiteral("PDF_ForDelivery5")), QStringLiteral("Volume:    "));
        QVERIFY(form.lines(QStringLiteral("PDF_MarksNumber")).isEmpty());
        QCOMPARE(form.prepare().pageCount(), 1);
    }

    void blNumberFallsBackToTheBooking_data()
    {
        QTest::addColumn<QVariant>("blNumber");
        QTest::addColumn<QString>("expected");
        QTest::newRow("own number") << QVariant(QStringLiteral("DALV1")) << "DALV1";
        QTest::newRow("empty text") << QVariant(QString()) << "BK-2024/001";
        QTest::newRow("null") << QVariant() << "BK-2024/001";
    }

    void blNumberFallsBackToTheBooking()
    {
        QFETCH(QVariant, blNumber);
        QFETCH(QString, expected);
        QVariantHash row = fullRow();
        row.insert(QStringLiteral("Bls_BillofLading"), blNumber);
        TF_BLAPDF form;
        DraftFilling::fill(form, row, portugueseRemarks());
        QCOMPARE(form.text(QStringLiteral("RLL_NrBL")), expected);
        QCOMPARE(form.text(QStringLiteral("RLL_Reserva")), QStringLiteral("BK-2024/001"));
    }

    void englishRemarksAndSeparators()
    {
        LanguageSwitch::apply(2);
        const DraftRemarks english{QStringLiteral("Emission of B/L"),
                                   QStringLiteral("Destination"),
                                   QStringLiteral("As Per Agreement"),
                                   QStringLiteral("Yes"),
                                   QStringLiteral("CARGO"),
                                   QStringLiteral("CNTR"),
                                   QStringLiteral("IMO"),
                                   QStringLiteral("No")};
        TF_BLAPDF form;
        DraftFilling::fill(form, fullRow(), english);
        QCOMPARE(form.text(QStringLiteral("PDF_ForDelivery1")), QStringLiteral("Emission of B/L:  Destination"));
        QCOMPARE(form.text(QStringLiteral("PDF_ForDelivery2")), QStringLiteral("As Per Agreement:  Yes"));
        QCOMPARE(form.text(QStringLiteral("PDF_ForDelivery3")), QStringLiteral("CARGO:  CNTR"));
        QCOMPARE(form.text(QStringLiteral("PDF_ForDelivery4")), QStringLiteral("IMO:  No"));
        QCOMPARE(form.text(QStringLiteral("PDF_ForDelivery5")), QStringLiteral("Volumes:  48  CAIXAS"));
        QCOMPARE(form.text(QStringLiteral("RLLabel17")), QStringLiteral("OBSERVATIONS"));
        QCOMPARE(form.text(QStringLiteral("PDF_Gross1")), QStringLiteral("1,234.500"));
        QCOMPARE(form.text(QStringLiteral("PDF_NetWeight1")), QStringLiteral("1,000.000"));
        // The page's own captions read the same in every language.
        QCOMPARE(form.text(QStringLiteral("RLLabel12")), QStringLiteral("Nº B/L"));
        QCOMPARE(form.text(QStringLiteral("RLLabel20")), QStringLiteral("MARKS AND NUMBERS"));
    }

    void blankLinesInStoredMarksAreKept()
    {
        const int code = storeBl({{QStringLiteral("Bls_ReservaNr"), QStringLiteral("BK")},
                                  {QStringLiteral("Bls_Marks"), QStringLiteral("DALV\r\n\r\n\r\nSANTOS\r\n")}});
        TF_BLAPDF form;
        DraftFilling::fill(form, DraftFilling::readPrintRow(code), portugueseRemarks());
        const QStringList expected{QStringLiteral("DALV"), QString(), QString(), QStringLiteral("SANTOS")};
        QCOMPARE(form.lines(QStringLiteral("PDF_MarksNumber")), expected);
        QCOMPARE(form.prepare().item(0, QStringLiteral("PDF_MarksNumber"))->lines, expected);
    }

    void memoLines_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("empty") << QString() << QStringList();
        QTest::newRow("one line") << "A" << QStringList{"A"};
        QTest::newRow("CR LF") << "A\r\nB" << QStringList{"A", "B"};
        QTest::newRow("blank lines") << "A\r\n\r\nB" << QStringList{"A", "", "B"};
        QTest::newRow("final break") << "A\r\n" << QStringList{"A"};
        QTest::newRow("only a break") << "\r\n" << QStringList{""};
        QTest::newRow("LF and CR") << "A\nB\rC" << QStringList{"A", "B", "C"};
    }

    void memoLines()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, lines);
        QCOMPARE(DraftFilling::memoLines(text), lines);
    }
};

DALVORA_TEST_MAIN(TestDraftFilling)
#include "tst_draftfilling.moc"
