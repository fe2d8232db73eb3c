#include "AttachLines.h"
#include "StoreFixture.h"
#include "TestEnv.h"

#include <QLocale>

class TestAttachLines : public QObject
{
    Q_OBJECT

    StoreFixture fx;

    // The containers of a BL as the attach action reads them.
    static EditBuffer *openContainers(int bl)
    {
        EditBuffer *q = DM_BL->qyCntr;
        q->close();
        q->setSql({QStringLiteral("SELECT * from Dal_Cntr"), QStringLiteral("where Cnt_Cod_BL = :pp1"),
                   QStringLiteral("ORDER BY Cnt_Numero")});
        q->setPp1(bl);
        q->open();
        return q;
    }

    static ContainerLineParts parts(const QString &ticked)
    {
        ContainerLineParts p;
        p.number = ticked.contains(QLatin1Char('N'));
        p.type = ticked.contains(QLatin1Char('T'));
        p.seal = ticked.contains(QLatin1Char('S'));
        p.gross = ticked.contains(QLatin1Char('G'));
        p.tare = ticked.contains(QLatin1Char('R'));
        p.packages = ticked.contains(QLatin1Char('P'));
        p.packageKind = ticked.contains(QLatin1Char('K'));
        return p;
    }

private Q_SLOTS:
    void init() { fx.setUp(); }
    void cleanup()
    {
        fx.tearDown();
        QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    }

    void imoLine_data()
    {
        QTest::addColumn<QString>("imdg");
        QTest::addColumn<QString>("un");
        QTest::addColumn<QString>("line");
        QTest::newRow("both") << "3"
                              << "1263"
                              << "IMDG (CLASS): 3   UN NUMBER 1263";
        QTest::newRow("only class") << "3"
                                    << ""
                                    << "IMDG (CLASS): 3";
        QTest::newRow("only UN starts with three blanks") << ""
                                                          << "1263"
                                                          << "   UN NUMBER 1263";
        QTest::newRow("none") << ""
                              << ""
                              << "";
    }
    void imoLine()
    {
        QFETCH(QString, imdg);
        QFETCH(QString, un);
        QFETCH(QString, line);
        QCOMPARE(AttachLines::imoLine(imdg, un), line);
    }

    void containerLine_data()
    {
        QTest::addColumn<QString>("ticked");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("line");
        QTest::newRow("default boxes") << "NTS"
                                       << "pt_BR"
                                       << "[MSCU1234567 - Dry Box 20 - Seal L1/L3 - ]";
        QTest::newRow("every box") << "NTSGRPK"
                                   << "pt_BR"
                                   << "[MSCU1234567 - Dry Box 20 - Seal L1/L3 - Gross Weight 12.345,500 kg - "
                                      "Tare 2.200,000 kg - 1.200  CARTONS]";
        QTest::newRow("every box, English") << "NTSGRPK"
                                            << "en_US"
                                            << "[MSCU1234567 - Dry Box 20 - Seal L1/L3 - Gross Weight 12,345.500 "
                                               "kg - Tare 2,200.000 kg - 1,200  CARTONS]";
        QTest::newRow("weights only") << "GR"
                                      << "pt_BR"
                                      << "[Gross Weight 12.345,500 kg - Tare 2.200,000 kg - ]";
        QTest::newRow("nothing ticked") << ""
                                        << "pt_BR"
                                        << "[]";
    }
    void containerLine()
    {
        QFETCH(QString, ticked);
        QFETCH(QString, locale);
        QFETCH(QString, line);
        QLocale::setDefault(QLocale(locale));
        const int bl = StoreFixture::newBl();
        StoreFixture::addContainer(bl, QStringLiteral("MSCU1234567"), QStringLiteral("Dry Box 20"), 12345.5, 2200,
                                   {{QStringLiteral("Cnt_Lacre_1"), QStringLiteral("L1")},
                                    {QStringLiteral("Cnt_Lacre_3"), QStringLiteral("L3")},
                                    {QStringLiteral("Cnt_Volume"), 1200},
                                    {QStringLiteral("Cnt_VolTipo"), QStringLiteral("CARTONS")}});
        QCOMPARE(AttachLines::containerLine(*openContainers(bl), 0, parts(ticked)), line);
    }

    void emptyValuesLeaveTheirElementOut()
    {
        const int bl = StoreFixture::newBl();
        // No weights, no packages, seal 1 empty with seal 2 filled: the seals start with a slash.
        StoreFixture::addContainer(bl, QStringLiteral("C1"), QStringLiteral("Nor 20"), 0, 0,
                                   {{QStringLiteral("Cnt_Lacre_2"), QStringLiteral("S2")},
                                    {QStringLiteral("Cnt_VolTipo"), QStringLiteral("BAGS")}});
        QCOMPARE(AttachLines::containerLine(*openContainers(bl), 0, parts(QStringLiteral("NTSGRPK"))),
                 QStringLiteral("[C1 - Nor 20 - Seal /S2 - BAGS]"));
    }

    void linesInNumberOrder()
    {
        const int bl = StoreFixture::newBl();
        StoreFixture::addContainer(bl, QStringLiteral("B2"), QStringLiteral("Nor 40"));
        StoreFixture::addContainer(bl, QStringLiteral("A1"), QStringLiteral("Nor 20"));
        QCOMPARE(AttachLines::containerLines(*openContainers(bl), parts(QStringLiteral("N"))),
                 (QStringList{QStringLiteral("[A1 - ]"), QStringLiteral("[B2 - ]")}));
    }

    void sdAndNcmLines()
    {
        QCOMPARE(AttachLines::sdLine(QStringLiteral("DSE"), QStringLiteral("2024/001")),
                 QStringLiteral("[DSE  2024/001]"));
        QCOMPARE(AttachLines::ncmLine(QStringLiteral("8471.30.12")), QStringLiteral("[8471.30.12]"));
    }

    void appendLines_data()
    {
        QTest::addColumn<QString>("memo");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("result");
        const QStringList two{QStringLiteral("[A]"), QStringLiteral("[B]")};
        QTest::newRow("empty memo") << "" << two << "\r\n[A]\r\n\r\n[B]";
        QTest::newRow("below the text") << "MARKS\r\nN/M" << two << "MARKS\r\nN/M\r\n\r\n[A]\r\n\r\n[B]";
        QTest::newRow("text ending in a line break") << "MARKS\r\n" << two << "MARKS\r\n\r\n[A]\r\n\r\n[B]";
        QTest::newRow("no lines") << "MARKS" << QStringList() << "MARKS";
    }
    void appendLines()
    {
        QFETCH(QString, memo);
        QFETCH(QStringList, lines);
        QFETCH(QString, result);
        QCOMPARE(AttachLines::appendLines(memo, lines), result);
    }

    void refusalsInOrder_data()
    {
        QTest::addColumn<int>("containers");
        QTest::addColumn<QString>("imo");
        QTest::addColumn<int>("state");
        QTest::addColumn<QString>("message");
        const QString view = QStringLiteral("Tabela no modo Visualizar.\r\rNecessário Editar");
        QTest::newRow("nothing to attach comes first")
            << 0 << "" << int(EditBuffer::Browse) << "Não tem Registro selecionado";
        QTest::newRow("shown only, with containers") << 2 << "" << int(EditBuffer::Browse) << view;
        QTest::newRow("new BL") << 0 << "IMDG (CLASS): 3" << int(EditBuffer::Insert) << view;
        QTest::newRow("being edited") << 1 << "" << int(EditBuffer::Edit) << "";
        QTest::newRow("IMO data only, edited") << 0 << "   UN NUMBER 1" << int(EditBuffer::Edit) << "";
    }
    void refusalsInOrder()
    {
        QFETCH(int, containers);
        QFETCH(QString, imo);
        QFETCH(int, state);
        QFETCH(QString, message);
        QCOMPARE(AttachLines::refusal({containers, 0, 0}, imo, EditBuffer::State(state), QStringLiteral("Editar")),
                 message);
    }
};

DALVORA_TEST_MAIN(TestAttachLines)
#include "tst_attachlines.moc"
