#include "EdiBlComposer.h"
#include "EdiBlFile.h"
#include "EdiComposeError.h"
#include "ExampleBl.h"
#include "Formats.h"
#include "TestEnv.h"

#include <QLocale>
#include <QRandomGenerator>
#include <QTest>
#include <charconv>
#include <cmath>

namespace {

QVariantMap toMap(const QVariantHash &columns)
{
    QVariantMap map;
    for (auto it = columns.begin(); it != columns.end(); ++it)
        map.insert(it.key(), it.value());
    return map;
}

// The example BL: one container, one SD document and one NCM code, FCL, no IMO cargo.
EdiBlRows exampleRows()
{
    EdiBlRows rows;
    rows.bl = toMap(ExampleBl::header());
    rows.bl.insert("Bls_Codigo", 1);
    rows.containers = {{{"Cnt_Numero", "ABCU1234567"},
                        {"Cnt_Tipo", "Dry Box 20"},
                        {"Cnt_Peso", 19200.0},
                        {"Cnt_Tara", 2200.0},
                        {"Cnt_Volume", 800},
                        {"Cnt_VolTipo", "BAGS"},
                        {"Cnt_Lacre_1", "SEAL001"}}};
    rows.documents = {toMap(ExampleBl::document())};
    rows.ncmCodes = {{{"Ncm_Numero", ExampleBl::NcmCode}}};
    return rows;
}

QStringList compose(const EdiBlRows &rows, const QStringList &marks = {}, const QStringList &description = {})
{
    QString text;
    EdiBlComposer::compose(rows, marks, description, QStringLiteral("1.1.26"), QDate(2008, 3, 5), text);
    return text.split(u'\n');
}

QString lineWithTag(const QStringList &lines, const QString &tag)
{
    for (const QString &line : lines)
        if (line.startsWith(tag))
            return line;
    return QStringLiteral("<missing %1>").arg(tag);
}

} // namespace

class TestEdiBlComposer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil)); }

    void workedExampleByteForByte()
    {
        const QStringList lines =
            compose(exampleRows(), {"EXEMPLO", "HAMBURG"}, {"1 X 20 DRY CONTAINER STC", "800 BAGS OF COFFEE"});
        const QByteArray expected =
            "[Dalvora-BL]\r\n[EP1]1.1.26\r\n[EP2]SSZ-123.456/7\r\n[EP3]ABC\r\n"
            "[EP4]EXPORTADORA EXEMPLO LTDA\r\n[EP5]EXPEDICAO\r\n[EP6]SANTOS\r\n[EP7]05-03-2008\r\n"
            "[SH1]EXPORTADORA EXEMPLO LTDA\r\n[SH2]RUA DO PORTO 100\r\n[SH3]SANTOS SP ZEREVA\r\n"
            "[SH4]\r\n[SH5]\r\n"
            "[CE1]IMPORTER EXAMPLE GMBH\r\n[CE2]HAFENSTRASSE 1\r\n[CE3]HAMBURG\r\n[CE4]\r\n[CE5]\r\n"
            "[NT1]SAME AS CONSIGNEE\r\n[NT2]\r\n[NT3]\r\n[NT4]\r\n[NT5]\r\n"
            "[PO1]BL0001\r\n[PO2]REF77\r\n[PO3]ORI\r\n[PO4]SANTOS\r\n[PO5]SANTOS\r\n"
            "[PO6]HAMBURG\r\n[PO7]HAMBURG\r\n[PO8]EXAMPLE STAR\r\n[PO9]012E\r\n"
            "[CA1]FCL\r\n[CA2]0\r\n[CA3]0\r\n[CA4]0\r\n[CA5]\r\n[CA6]\r\n"
            "[IM1]False\r\n[IM2]\r\n[IM3]\r\n[EM1]ORI\r\n[EM2]False\r\n"
            "[MAR]EXEMPLO\r\n[MAR]HAMBURG\r\n[MAR]\r\n"
            "[DES]1 X 20 DRY CONTAINER STC\r\n[DES]800 BAGS OF COFFEE\r\n[DES]\r\n"
            "[CNN]ABCU1234567\r\n[CNT]Dry Box 20\r\n[CNB]19200\r\n[CNA]2200\r\n[CNV]800\r\n"
            "[CNP]BAGS\r\n[CN1]SEAL001\r\n[CN2]\r\n[CN3]\r\n[CN4]\r\n[CNX]\r\n"
            "[SDN]08/12345-6\r\n[SDD]15/03/2008\r\n[SDP]19200\r\n[SDV]800\r\n[SDF]45000,5\r\n"
            "[SDT]RE\r\n[SDC]\r\n[SDX]\r\n"
            "[NCM]0901.11.10\r\n[NCX]\r\n"
            "[Dalvora-BL]\r\n";
        QCOMPARE(lines.size(), 71);
        QCOMPARE(EdiBlFile::bytes(lines.join(u'\n')).value_or("<not encodable>"), expected);
        QCOMPARE(EdiBlComposer::fileName("ABC", "SSZ-123.456/7"), QStringLiteral("DVBL_ABC_SSZ1234567"));
    }

    void emptyBlHas46Lines()
    {
        const QStringList lines = compose({});
        QCOMPARE(lines.size(), 46);
        QCOMPARE(lines.first(), QStringLiteral("[Dalvora-BL]"));
        QCOMPARE(lines.mid(43), (QStringList{"[MAR]", "[DES]", "[Dalvora-BL]"}));
        // Every fixed tag is written, bare when its column is empty; the LCL quantities count an empty value as 0.
        QCOMPARE(lines.at(2), QStringLiteral("[EP2]"));
        QCOMPARE(lines.mid(33, 5), (QStringList{"[CA2]0", "[CA3]0", "[CA4]0", "[CA5]", "[CA6]"}));
        QCOMPARE(lines.mid(38, 5), (QStringList{"[IM1]", "[IM2]", "[IM3]", "[EM1]", "[EM2]"}));
        static const QRegularExpression tagForm(QStringLiteral("^\\[([A-Z]{3}|[A-Z]{2}[0-9])\\]"));
        for (const QString &line : lines.mid(1, 42))
            QVERIFY2(tagForm.match(line).hasMatch(), qPrintable(line));
    }

    void lineCountRule_data()
    {
        QTest::addColumn<int>("marks");
        QTest::addColumn<int>("description");
        QTest::addColumn<int>("containers");
        QTest::addColumn<int>("documents");
        QTest::addColumn<int>("ncm");
        QTest::newRow("details only") << 0 << 0 << 2 << 0 << 1;
        QTest::newRow("texts only") << 3 << 5 << 0 << 0 << 0;
        QTest::newRow("everything") << 2 << 1 << 3 << 2 << 4;
        QTest::newRow("documents only") << 0 << 0 << 0 << 3 << 0;
    }

    void lineCountRule()
    {
        QFETCH(int, marks);
        QFETCH(int, description);
        QFETCH(int, containers);
        QFETCH(int, documents);
        QFETCH(int, ncm);
        EdiBlRows rows;
        for (int i = 0; i < containers; ++i)
            rows.containers.append({{"Cnt_Numero", QStringLiteral("C%1").arg(i)}});
        for (int i = 0; i < documents; ++i)
            rows.documents.append({{"Sd_Numero", QStringLiteral("S%1").arg(i)}});
        for (int i = 0; i < ncm; ++i)
            rows.ncmCodes.append({{"Ncm_Numero", QStringLiteral("N%1").arg(i)}});
        const QStringList lines = compose(rows, QStringList(marks, "M"), QStringList(description, "D"));
        QCOMPARE(lines.size(), 46 + marks + description + 11 * containers + 8 * documents + 2 * ncm);

        // Groups follow one another row by row, each row closed by its tag, an empty group writing nothing.
        int at = 43 + marks + 1 + description + 1;
        for (int i = 0; i < containers; ++i, at += 11) {
            QCOMPARE(lines.at(at), QStringLiteral("[CNN]C%1").arg(i));
            QCOMPARE(lines.at(at + 10), QStringLiteral("[CNX]"));
        }
        for (int i = 0; i < documents; ++i, at += 8) {
            QCOMPARE(lines.at(at), QStringLiteral("[SDN]S%1").arg(i));
            QCOMPARE(lines.at(at + 7), QStringLiteral("[SDX]"));
        }
        for (int i = 0; i < ncm; ++i, at += 2)
            QCOMPARE(lines.mid(at, 2), (QStringList{QStringLiteral("[NCM]N%1").arg(i), "[NCX]"}));
        QCOMPARE(lines.at(at), QStringLiteral("[Dalvora-BL]"));
    }

    void marksAndDescriptionLines()
    {
        // An empty inner line is a bare tag; each text ends with one more bare tag.
        const QStringList lines = compose({}, {"A", "", "B"}, {"X"});
        QCOMPARE(lines.mid(43, 6), (QStringList{"[MAR]A", "[MAR]", "[MAR]B", "[MAR]", "[DES]X", "[DES]"}));
    }

    void lclQuantities_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QString>("written");
        QTest::newRow("half a kilogram") << QVariant(0.5) << "500";
        QTest::newRow("fraction left") << QVariant(1.2345) << "1234,5";
        QTest::newRow("grams") << QVariant(12.345) << "12345";
        QTest::newRow("negative") << QVariant(-5.5) << "5500";
        QTest::newRow("empty") << QVariant() << "0";
        QTest::newRow("large") << QVariant(123456789.123) << "123456789123";
    }

    void lclQuantities()
    {
        QFETCH(QVariant, stored);
        QFETCH(QString, written);
        EdiBlRows rows;
        rows.bl = {{"Bls_LCL_PesoBruto", stored}, {"Bls_LCL_PesoLiquido", stored}, {"Bls_LCL_Cubagem", stored}};
        const QStringList lines = compose(rows);
        QCOMPARE(lines.mid(33, 3), (QStringList{"[CA2]" + written, "[CA3]" + written, "[CA4]" + written}));
    }

    void numbersAsStored()
    {
        // Container and document quantities are not scaled; the package count is written as stored.
        EdiBlRows rows;
        rows.bl = {{"Bls_LCL_Volumes", 12}, {"Bls_Imo", true}, {"Bls_AsPerAgee", false}};
        rows.containers = {{{"Cnt_Peso", 19200.5}, {"Cnt_Tara", -3.25}, {"Cnt_Volume", 0}}};
        rows.documents = {{{"Sd_Peso", 0.001}, {"Sd_Volume", 1234567.0}}};
        const QStringList lines = compose(rows);
        QCOMPARE(lineWithTag(lines, "[CA5]"), QStringLiteral("[CA5]12"));
        QCOMPARE(lineWithTag(lines, "[IM1]"), QStringLiteral("[IM1]True"));
        QCOMPARE(lineWithTag(lines, "[EM2]"), QStringLiteral("[EM2]False"));
        QCOMPARE(lineWithTag(lines, "[CNB]"), QStringLiteral("[CNB]19200,5"));
        QCOMPARE(lineWithTag(lines, "[CNA]"), QStringLiteral("[CNA]-3,25"));
        QCOMPARE(lineWithTag(lines, "[CNV]"), QStringLiteral("[CNV]0"));
        QCOMPARE(lineWithTag(lines, "[SDP]"), QStringLiteral("[SDP]0,001"));
        QCOMPARE(lineWithTag(lines, "[SDV]"), QStringLiteral("[SDV]1234567"));
        QCOMPARE(lineWithTag(lines, "[SDF]"), QStringLiteral("[SDF]"));
    }

    void generalNumberForm_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("no grouping") << "pt_BR" << 1234.5 << "1234,5";
        QTest::newRow("zero") << "pt_BR" << 0.0 << "0";
        QTest::newRow("negative zero") << "pt_BR" << -0.0 << "0";
        QTest::newRow("negative") << "pt_BR" << -2.25 << "-2,25";
        QTest::newRow("binary noise") << "pt_BR" << 0.1 + 0.2 << "0,3";
        QTest::newRow("15 digits") << "pt_BR" << 123456789012345.0 << "123456789012345";
        QTest::newRow("negative whole") << "pt_BR" << -1234567.0 << "-1234567";
        QTest::newRow("rounded to 15 digits") << "pt_BR" << 1.23456789012345678 << "1,23456789012346";
        QTest::newRow("smallest fixed") << "pt_BR" << 0.00001 << "0,00001";
        QTest::newRow("United States") << "en_US" << 1234.5 << "1234.5";
        QTest::newRow("Spain") << "es_ES" << 98765.25 << "98765,25";
    }

    void generalNumberForm()
    {
        QFETCH(QString, locale);
        QFETCH(double, value);
        QFETCH(QString, text);
        QLocale::setDefault(QLocale(locale));
        QCOMPARE(Formats::generalNumber(value), text);
    }

    // The number form is written without asking the locale for each number; it must give what the locale's own
    // formatting of the value rounded to 15 digits gives, in any convention (Arabic digits go through the locale).
    void numberFormAgreesWithTheLocale()
    {
        QRandomGenerator random(18);
        for (const char *name : {"pt_BR", "en_US", "es_ES", "de_CH", "fr_FR", "ar_EG"}) {
            QLocale locale{QLatin1String(name)};
            QLocale::setDefault(locale);
            locale.setNumberOptions(QLocale::OmitGroupSeparator);
            for (int i = 0; i < 3000; ++i) {
                // Whole and fractional values, over magnitudes on both sides of the fixed range.
                const double mantissa = random.bounded(2) ? double(random.bounded(1000000)) : random.generateDouble();
                const double value = (random.bounded(2) ? -1 : 1) * mantissa * std::pow(10.0, random.bounded(-12, 22));
                QString expected = QStringLiteral("0");
                if (value != 0.0 && std::fabs(value) < 1e15 && value == std::trunc(value)) {
                    expected = locale.toString(qint64(value));
                } else if (value != 0.0) {
                    char digits[32];
                    const auto written =
                        std::to_chars(digits, digits + sizeof digits, value, std::chars_format::scientific, 14);
                    double rounded = value;
                    std::from_chars(digits, written.ptr, rounded);
                    const double magnitude = std::fabs(rounded);
                    expected = locale.toString(rounded, magnitude >= 0.00001 && magnitude < 1e15 ? 'f' : 'e',
                                               QLocale::FloatingPointShortest);
                }
                QCOMPARE(Formats::generalNumber(value), expected);
            }
        }
    }

    // Dates, too, are written without the locale's formatting for each one; they must read as the short form in
    // force shows them, month names included (the C locale's form has them), and years beyond four digits.
    void dateFormAgreesWithTheLocale()
    {
        QRandomGenerator random(18);
        for (const char *name :
             {"C", "pt_BR", "en_US", "es_ES", "de_DE", "fi_FI", "hu_HU", "zh_CN", "ko_KR", "fr_CA"}) {
            QLocale::setDefault(QLocale{QLatin1String(name)});
            EdiBlRows rows;
            QList<QDate> dates{QDate(1899, 12, 31), QDate(9999, 12, 31), QDate(10000, 1, 1), QDate(123456, 7, 8)};
            for (int i = 0; i < 300; ++i)
                dates << QDate(1900, 1, 1).addDays(random.bounded(80000));
            for (const QDate &date : std::as_const(dates))
                rows.documents << QVariantMap{{"Sd_Vencto", date}};
            const QStringList lines = compose(rows);
            qsizetype at = lines.indexOf(QStringLiteral("[SDX]")) - 6;
            for (const QDate &date : std::as_const(dates)) {
                QCOMPARE(lines.at(at), QStringLiteral("[SDD]") + Formats::shortDate(date));
                at += 8;
            }
        }
    }

    void exponentOutsideFixedRange()
    {
        // Outside the fixed range the platform's exponent form is used; the value must still read back.
        for (const double value : {1e15, 0.000001, -2.5e20}) {
            const QString text = Formats::generalNumber(value);
            QVERIFY2(text.contains(u'e', Qt::CaseInsensitive), qPrintable(text));
            QCOMPARE(QLocale().toDouble(text), value);
        }
    }

    void expiryDate_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QString>("line");
        QTest::newRow("set") << QVariant(QDate(2008, 3, 15)) << "[SDD]15/03/2008";
        QTest::newRow("empty") << QVariant() << "[SDD]";
        QTest::newRow("the empty day") << QVariant(QDate(1899, 12, 30)) << "[SDD]";
        QTest::newRow("the day after") << QVariant(QDate(1899, 12, 31)) << "[SDD]31/12/1899";
    }

    void expiryDate()
    {
        QFETCH(QVariant, stored);
        QFETCH(QString, line);
        EdiBlRows rows;
        rows.documents = {{{"Sd_Vencto", stored}}};
        QCOMPARE(lineWithTag(compose(rows), "[SDD]"), line);
    }

    void datesInTheirOwnForms()
    {
        // "[EP7]" keeps its fixed form under any settings; "[SDD]" follows the settings in force.
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        EdiBlRows rows;
        rows.documents = {{{"Sd_Vencto", QDate(2008, 3, 15)}}};
        const QStringList lines = compose(rows);
        QCOMPARE(lineWithTag(lines, "[EP7]"), QStringLiteral("[EP7]05-03-2008"));
        QCOMPARE(lineWithTag(lines, "[SDD]"), QStringLiteral("[SDD]3/15/2008"));
    }

    void textsAsStored()
    {
        EdiBlRows rows;
        rows.bl = {{"Bls_Shipper1", "  rua são joão, 12  "}, {"Bls_Cnee1", QStringLiteral("CAFÉ € “BOM”")}};
        const QStringList lines = compose(rows);
        QCOMPARE(lines.at(8), QStringLiteral("[SH1]  rua são joão, 12  "));
        QCOMPARE(lines.at(13), QStringLiteral("[CE1]CAFÉ € “BOM”"));
    }

    // A value that would forge a line, or lose a character, stops the composition at its tag.
    void refusedValues_data()
    {
        QTest::addColumn<QString>("column");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("lastGoodLine");
        QTest::addColumn<QString>("tag");
        QTest::newRow("line feed") << "Bls_Cia_Nome" << QVariant("LTDA\n[PO1]FORGED") << "[EP3]"
                                   << "[EP4]";
        QTest::newRow("carriage return") << "Bls_Navio" << QVariant("STAR\r") << "[PO7]"
                                         << "[PO8]";
        QTest::newRow("no Windows-1252 byte") << "Bls_Shipper2" << QVariant(QStringLiteral("ŁÓDŹ")) << "[SH1]"
                                              << "[SH2]";
        QTest::newRow("symbol outside the code page") << "Bls_Viagem" << QVariant(QStringLiteral("12→E")) << "[PO8]"
                                                      << "[PO9]";
        QTest::newRow("NUL") << "Bls_Viagem" << QVariant(QString::fromUtf16(u"A\0B", 3)) << "[PO8]"
                             << "[PO9]";
        QTest::newRow("control character") << "Bls_Cnee1" << QVariant(QStringLiteral("A\x1b[2JB")) << "[SH5]"
                                           << "[CE1]";
        QTest::newRow("infinite weight") << "Bls_LCL_PesoBruto" << QVariant(qInf()) << "[CA1]"
                                         << "[CA2]";
        QTest::newRow("not a number") << "Bls_LCL_Volumes" << QVariant(qQNaN()) << "[CA4]"
                                      << "[CA5]";
    }

    void refusedValues()
    {
        QFETCH(QString, column);
        QFETCH(QVariant, value);
        QFETCH(QString, lastGoodLine);
        QFETCH(QString, tag);
        EdiBlRows rows;
        rows.bl = {{column, value}};
        QString text;
        try {
            EdiBlComposer::compose(rows, {}, {}, "1.1.26", QDate(2008, 3, 5), text);
            QFAIL("composed");
        } catch (const EdiComposeError &error) {
            QCOMPARE(error.tag(), tag);
        }
        const QString lastLine = text.section(u'\n', -1);
        QVERIFY2(!text.isEmpty() && lastLine.startsWith(lastGoodLine), qPrintable(lastLine));
    }

    // The field a refused line comes from, as the clerk knows it, in the language in force.
    void captionOfARefusedLine_data()
    {
        QTest::addColumn<QString>("tag");
        QTest::addColumn<QString>("caption");
        QTest::newRow("header") << "[PO9]"
                                << "Voyage";
        QTest::newRow("numbered line") << "[SH3]"
                                       << "Shipper";
        QTest::newRow("container column") << "[CN2]"
                                          << "Container Lacre";
        QTest::newRow("document column") << "[SDN]"
                                         << "SD Número";
        // Kinds of packages, as their boxes are captioned: not the container's or the document's "Tipo".
        QTest::newRow("kind of the BL's packages") << "[CA6]"
                                                   << "Tipo Volume";
        QTest::newRow("kind of a container's packages") << "[CNP]"
                                                        << "Container Tipo Volume";
        QTest::newRow("memo") << "[MAR]"
                              << "Marks and Numbers";
        QTest::newRow("frame") << "[Dalvora-BL]"
                               << "";
    }
    void captionOfARefusedLine()
    {
        QFETCH(QString, tag);
        QFETCH(QString, caption);
        QCOMPARE(EdiBlComposer::caption(tag), caption);
    }

    void refusedDetailAndMemoLines()
    {
        EdiBlRows rows;
        rows.ncmCodes = {{{"Ncm_Numero", "0901\r\n"}}};
        // What the composition held before is replaced, also when it stops.
        QString text = QStringLiteral("[Dalvora-BL]\n[EP1]0.9");
        QVERIFY_THROWS_EXCEPTION(EdiComposeError,
                                 EdiBlComposer::compose(rows, {}, {}, "1.1.26", QDate(2008, 3, 5), text));
        QCOMPARE(text.split(u'\n').size(), 45);
        QVERIFY_THROWS_EXCEPTION(EdiComposeError, EdiBlComposer::compose({}, {QStringLiteral("✓ OK")}, {}, "1.1.26",
                                                                         QDate(2008, 3, 5), text));
        QCOMPARE(text.split(u'\n').size(), 43);
    }

    void fileName_data()
    {
        QTest::addColumn<QString>("ciaArquivo");
        QTest::addColumn<QString>("reservaNr");
        QTest::addColumn<QString>("name");
        QTest::newRow("every removed character") << "ABC"
                                                 << "SSZ-123.456/7 A"
                                                 << "DVBL_ABC_SSZ1234567A";
        QTest::newRow("others kept") << "ABC"
                                     << "a*b,c_d#1"
                                     << "DVBL_ABC_abc_d#1";
        QTest::newRow("identification as stored") << "A.B 1"
                                                  << "X"
                                                  << "DVBL_A.B 1_X";
        QTest::newRow("empty") << ""
                               << ""
                               << "DVBL__";
        QTest::newRow("path separators") << "../.."
                                         << "VLC2026001"
                                         << "DVBL_...._VLC2026001";
        QTest::newRow("characters no file name holds") << "A:B*"
                                                       << "C?\"<>|\\D"
                                                       << "DVBL_AB_CD";
    }

    void fileName()
    {
        QFETCH(QString, ciaArquivo);
        QFETCH(QString, reservaNr);
        QFETCH(QString, name);
        QCOMPARE(EdiBlFileName(ciaArquivo, reservaNr), name);
    }
};

DALVORA_TEST_MAIN(TestEdiBlComposer)
#include "tst_ediblcomposer.moc"
