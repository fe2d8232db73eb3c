#include "ContainerTotals.h"
#include "ContainerTypes.h"
#include "StoreFixture.h"
#include "TestEnv.h"

using Item = ContainerTotals::Item;

class TestContainerTotals : public QObject
{
    Q_OBJECT

    StoreFixture fx;
    QStringList asked;
    QList<bool> answers; // answers in asking order; OK when the list runs out

    void totaliza()
    {
        ContainerTotals::TotalizaContainers(*DM_BL, QStringLiteral("Tipo Volume"), QStringLiteral("Cubagem"),
                                            [this](const QString &question) {
                                                asked << question;
                                                return answers.isEmpty() ? true : answers.takeFirst();
                                            });
    }

    // Stores the three containers of the usual example: two 20-foot and one 40-foot unit.
    static void threeContainers(int bl)
    {
        StoreFixture::addContainer(bl, QStringLiteral("AAAU1"), QStringLiteral("Dry Box 20"), 300, 100);
        StoreFixture::addContainer(bl, QStringLiteral("AAAU2"), QStringLiteral("Dry Box 20"), 250, 100);
        StoreFixture::addContainer(bl, QStringLiteral("AAAU3"), QStringLiteral("Reefer 40"), 400, 150);
    }

    static void compareStored(double gross, double net, double measurement, int volumes, const QString &kind)
    {
        // What is stored, read afresh from the table.
        StoreFixture::showBl(DM_BL->qyBLS->integer(QStringLiteral("Bls_Codigo")));
        const EditBuffer *bls = DM_BL->qyBLS;
        QCOMPARE(bls->state(), EditBuffer::Browse);
        QCOMPARE(bls->number(QStringLiteral("Bls_LCL_PesoBruto")), gross);
        QCOMPARE(bls->number(QStringLiteral("Bls_LCL_PesoLiquido")), net);
        QCOMPARE(bls->number(QStringLiteral("Bls_LCL_Cubagem")), measurement);
        QCOMPARE(bls->integer(QStringLiteral("Bls_LCL_Volumes")), volumes);
        QCOMPARE(bls->text(QStringLiteral("Bls_LCL_TipoVolume")), kind);
    }

private Q_SLOTS:
    void init()
    {
        fx.setUp();
        asked.clear();
        answers.clear();
    }
    void cleanup() { fx.tearDown(); }

    void typeTable()
    {
        QCOMPARE(ContainerTypes::names().size(), 16);
        QCOMPARE(ContainerTypes::names().first(), QStringLiteral("Dry Box 20"));
        QCOMPARE(ContainerTypes::names().last(), QStringLiteral("Nor 40"));
        QCOMPARE(ContainerTypes::sizeClass(QStringLiteral("Dry High-Cube 40")), 40);
        QCOMPARE(ContainerTypes::sizeClass(QStringLiteral("Plataforma 20")), 20);
        // Exact comparison: case and blanks count.
        QCOMPARE(ContainerTypes::sizeClass(QStringLiteral("dry box 20")), 0);
        QCOMPARE(ContainerTypes::sizeClass(QStringLiteral("Dry Box 20 ")), 0);
        QCOMPARE(ContainerTypes::sizeClass(QString()), 0);
    }

    void sizeSummary_data()
    {
        QTest::addColumn<int>("twenties");
        QTest::addColumn<int>("forties");
        QTest::addColumn<QString>("summary");
        QTest::newRow("both") << 3 << 1 << QStringLiteral("3 x 20\"  1 x 40\"");
        QTest::newRow("only twenties end in two blanks") << 2 << 0 << QStringLiteral("2 x 20\"  ");
        QTest::newRow("only forties") << 0 << 12 << QStringLiteral("12 x 40\"");
        QTest::newRow("none") << 0 << 0 << QString();
    }
    void sizeSummary()
    {
        QFETCH(int, twenties);
        QFETCH(int, forties);
        QFETCH(QString, summary);
        QCOMPARE(ContainerTotals::sizeSummary(twenties, forties), summary);
    }

    void sumsAndNetNeverNegative()
    {
        ContainerTotals sums;
        sums.addContainer(100, 250, QStringLiteral("Nor 40"));
        sums.addContainer(0, 0, QString());
        sums.addContainer(0, 0, QStringLiteral("Unknown 20"));
        const CargoTotals t = sums.totals();
        QCOMPARE(t.gross, 100.0);
        QCOMPARE(t.net, 0.0);
        QCOMPARE(t.measurement, 0.0);
        QCOMPARE(t.volumes, 3); // every row counts, whatever its type
        QCOMPARE(t.volumeKind, QStringLiteral("1 x 40\""));
    }

    void questionsInOrder()
    {
        const CargoTotals computed{950, 600, 0, 3, QStringLiteral("2 x 20\"  1 x 40\"")};
        // Equal values and values of 0 or less are replaced without a question.
        QVERIFY(ContainerTotals::questions(computed, computed).isEmpty());
        QVERIFY(ContainerTotals::questions(CargoTotals{-5, 0, 0, 0, QString()}, computed).isEmpty());
        const CargoTotals typed{950.0001, 1, 7.5, 2, QStringLiteral("2 x 20\" 1 x 40\"")};
        const QList<Item> expected{Item::Gross, Item::Net, Item::Volumes, Item::VolumeKind, Item::Measurement};
        QCOMPARE(ContainerTotals::questions(typed, computed), expected);
    }

    void questionTexts()
    {
        QCOMPARE(ContainerTotals::questionText(Item::Gross, QStringLiteral("T"), QStringLiteral("C")),
                 QStringLiteral("Deseja alterar Peso Bruto ?"));
        QCOMPARE(ContainerTotals::questionText(Item::Net, QStringLiteral("T"), QStringLiteral("C")),
                 QStringLiteral("Deseja alterar Peso Liquido ?"));
        QCOMPARE(ContainerTotals::questionText(Item::VolumeKind, QStringLiteral("Tipo Volume"), QStringLiteral("C")),
                 QStringLiteral("Deseja alterar Tipo Volume ?"));
        QCOMPARE(ContainerTotals::questionText(Item::Measurement, QStringLiteral("T"), QStringLiteral("Cubagem")),
                 QStringLiteral("Deseja alterar Cubagem ?"));
    }

    void emptyTotalsTakenWithoutQuestion()
    {
        const int bl = StoreFixture::newBl();
        threeContainers(bl);
        StoreFixture::addContainer(StoreFixture::newBl(), QStringLiteral("OTHER"), QStringLiteral("Nor 40"), 99);
        StoreFixture::showBl(bl);
        totaliza();
        QVERIFY(asked.isEmpty());
        compareStored(950, 600, 0, 3, QStringLiteral("2 x 20\"  1 x 40\""));
    }

    void typedGrossAsked_data()
    {
        QTest::addColumn<bool>("ok");
        QTest::addColumn<double>("gross");
        QTest::newRow("OK takes the computed gross") << true << 950.0;
        QTest::newRow("Cancel keeps the typed gross") << false << 900.0;
    }
    void typedGrossAsked()
    {
        QFETCH(bool, ok);
        QFETCH(double, gross);
        const int bl = StoreFixture::newBl({{QStringLiteral("Bls_LCL_PesoBruto"), 900.0}});
        threeContainers(bl);
        answers << ok;
        totaliza();
        QCOMPARE(asked, QStringList{QStringLiteral("Deseja alterar Peso Bruto ?")});
        compareStored(gross, 600, 0, 3, QStringLiteral("2 x 20\"  1 x 40\""));
    }

    void typedMeasurementIsAskedLast()
    {
        const int bl = StoreFixture::newBl({{QStringLiteral("Bls_LCL_Cubagem"), 12.5},
                                            {QStringLiteral("Bls_LCL_Volumes"), 9},
                                            {QStringLiteral("Bls_LCL_TipoVolume"), QStringLiteral("PALLETS")}});
        StoreFixture::addContainer(bl, QStringLiteral("A1"), QStringLiteral("Reefer 40"), 500, 200);
        answers << true << false << false;
        totaliza();
        QCOMPARE(asked, (QStringList{QStringLiteral("Deseja alterar Volumes ?"),
                                     QStringLiteral("Deseja alterar Tipo Volume ?"),
                                     QStringLiteral("Deseja alterar Cubagem ?")}));
        compareStored(500, 300, 12.5, 1, QStringLiteral("PALLETS"));
    }

    void noContainersAsksForEveryValueSet()
    {
        const int bl = StoreFixture::newBl({{QStringLiteral("Bls_LCL_PesoBruto"), 10.0},
                                            {QStringLiteral("Bls_LCL_PesoLiquido"), 8.0},
                                            {QStringLiteral("Bls_LCL_Cubagem"), 1.0},
                                            {QStringLiteral("Bls_LCL_Volumes"), 2},
                                            {QStringLiteral("Bls_LCL_TipoVolume"), QStringLiteral("BAGS")}});
        Q_UNUSED(bl);
        totaliza();
        QCOMPARE(asked.size(), 5);
        compareStored(0, 0, 0, 0, QString());
    }

    void emptyTypesGiveEmptySummary()
    {
        const int bl = StoreFixture::newBl({{QStringLiteral("Bls_LCL_TipoVolume"), QStringLiteral("1 x 40\"")}});
        StoreFixture::addContainer(bl, QStringLiteral("A1"), QString(), 100, 300);
        StoreFixture::addContainer(bl, QStringLiteral("A2"), QString(), 50, 0);
        answers << true;
        totaliza();
        QCOMPARE(asked, QStringList{QStringLiteral("Deseja alterar Tipo Volume ?")});
        // Tare greater than gross: net 0.
        compareStored(150, 0, 0, 2, QString());
    }
};

DALVORA_TEST_MAIN(TestContainerTotals)
#include "tst_containertotals.moc"
