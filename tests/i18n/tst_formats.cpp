#include "Formats.h"
#include "TIvBinaryDictionary.h"
#include "TestEnv.h"

#include <cmath>

using namespace Qt::StringLiterals;

// Formats under the conventions of each interface language (1 Portuguese with the user's Brazilian settings,
// 2 English, 3 Spanish), set as a language switch sets them.
class TestFormats : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { TIvBinaryDictionary::instance().switchLanguage(1); }
    void formatNumber_data();
    void formatNumber();
    void formatDate_data();
    void formatDate();
    void names();
    void parseNumber_data();
    void parseNumber();
    void editNumberReadsBack_data();
    void editNumberReadsBack();
    void conventionsComeBack();
    void errorText_data();
    void errorText();
};

void TestFormats::formatNumber_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("expected");
    const QString weight = QString::fromLatin1(Formats::WeightPattern);
    const QString shortWeight = QString::fromLatin1(Formats::ShortWeightPattern);
    const QString count = QString::fromLatin1(Formats::CountPattern);
    const QString shortCount = QString::fromLatin1(Formats::ShortCountPattern);
    const QString money = QString::fromLatin1(Formats::MoneyPattern);
    QTest::newRow("pt weight") << 1 << 1234.5 << weight << u"1.234,500"_s;
    QTest::newRow("pt zero") << 1 << 0.0 << weight << u"0,000"_s;
    QTest::newRow("pt short weight") << 1 << 12345.5 << shortWeight << u"12.345,500"_s;
    QTest::newRow("pt millions") << 1 << 123456789.125 << weight << u"123.456.789,125"_s;
    QTest::newRow("pt count") << 1 << 1234567.0 << count << u"1.234.567"_s;
    QTest::newRow("pt short count") << 1 << 999.0 << shortCount << u"999"_s;
    QTest::newRow("pt money rounds up") << 1 << 999.999 << money << u"1.000,00"_s;
    QTest::newRow("pt negative") << 1 << -1234.5 << weight << u"-1.234,500"_s;
    QTest::newRow("pt tiny negative") << 1 << -0.0001 << weight << u"0,000"_s;
    QTest::newRow("pt no grouping") << 1 << 1234.5 << u"0.00"_s << u"1234,50"_s;
    QTest::newRow("pt optional decimals") << 1 << 1234.5 << u"#,##0.0##"_s << u"1.234,5"_s;
    QTest::newRow("pt optional integer") << 1 << 0.5 << u"#.00"_s << u",50"_s;
    // A half rounds away from zero on the digits typed, though the double holds a hair less (or more).
    QTest::newRow("pt typed half") << 1 << 1.015 << money << u"1,02"_s;
    QTest::newRow("pt typed halves") << 1 << 2.675 << money << u"2,68"_s;
    QTest::newRow("pt half of a gram") << 1 << 19200.0035 << weight << u"19.200,004"_s;
    QTest::newRow("pt negative half") << 1 << -1.015 << money << u"-1,02"_s;
    QTest::newRow("pt half below") << 1 << 0.0049 << money << u"0,00"_s;
    QTest::newRow("pt half carried") << 1 << 999.995 << money << u"1.000,00"_s;
    QTest::newRow("pt half to a whole") << 1 << 0.5 << count << u"1"_s;
    QTest::newRow("pt below a half to zero") << 1 << 0.4 << count << u"0"_s;
    // Never more than the 15 digits a double holds of what was typed.
    QTest::newRow("pt 15 digits") << 1 << 99999999999999.9 << weight << u"99.999.999.999.999,900"_s;
    QTest::newRow("pt beyond 15 digits") << 1 << 1e20 << count << u"100.000.000.000.000.000.000"_s;
    QTest::newRow("pt tiny") << 1 << 1e-300 << weight << u"0,000"_s;
    QTest::newRow("en weight") << 2 << 1234.5 << weight << u"1,234.500"_s;
    QTest::newRow("en typed half") << 2 << 100.0015 << weight << u"100.002"_s;
    QTest::newRow("en short weight") << 2 << 12345.5 << shortWeight << u"12,345.500"_s;
    QTest::newRow("en money") << 2 << 1234567.891 << money << u"1,234,567.89"_s;
    QTest::newRow("en zero count") << 2 << 0.0 << count << u"0"_s;
    QTest::newRow("es weight") << 3 << 1234.5 << weight << u"1.234,500"_s;
    QTest::newRow("es count") << 3 << 1234.0 << count << u"1.234"_s;
}

void TestFormats::formatNumber()
{
    QFETCH(int, language);
    QFETCH(double, value);
    QFETCH(QString, pattern);
    QFETCH(QString, expected);
    TIvBinaryDictionary::instance().switchLanguage(language);
    QCOMPARE(Formats::formatNumber(value, pattern), expected);
}

void TestFormats::formatDate_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("shortDate");
    const QDate date(2010, 1, 5);
    const QString calendar = u" dddd, d  \"de\" mmmm \"de\" yyyy"_s;
    const QString display = QString::fromLatin1(Formats::DatePattern);
    QTest::newRow("pt display") << 1 << date << display << u"05/01/2010"_s << u"05/01/2010"_s;
    QTest::newRow("en display") << 2 << date << display << u"05/01/2010"_s << u"1/5/2010"_s;
    QTest::newRow("es display") << 3 << date << display << u"05/01/2010"_s << u"5/1/2010"_s;
    QTest::newRow("en calendar") << 2 << date << calendar << u" Tuesday, 5  de January de 2010"_s << u"1/5/2010"_s;
    QTest::newRow("es calendar") << 3 << date << calendar << u" martes, 5  de enero de 2010"_s << u"5/1/2010"_s;
    QTest::newRow("pt calendar") << 1 << date << calendar << u" terça-feira, 5  de janeiro de 2010"_s
                                 << u"05/01/2010"_s;
    QTest::newRow("short names, two-digit year")
        << 2 << QDate(2008, 3, 15) << u"ddd d mmm yy"_s << u"Sat 15 Mar 08"_s << u"3/15/2008"_s;
    QTest::newRow("invalid") << 1 << QDate() << display << QString() << QString();
    QTest::newRow("a year before year 1")
        << 1 << QDate(-217, 3, 14) << display << u"14/03/-0217"_s << QDate(-217, 3, 14).toString(u"dd/MM/yyyy"_s);
}

void TestFormats::formatDate()
{
    QFETCH(int, language);
    QFETCH(QDate, date);
    QFETCH(QString, pattern);
    QFETCH(QString, expected);
    QFETCH(QString, shortDate);
    TIvBinaryDictionary::instance().switchLanguage(language);
    QCOMPARE(Formats::formatDate(date, pattern), expected);
    QCOMPARE(Formats::shortDate(date), shortDate);
    QCOMPARE(Formats::dateSeparator(), u'/');
}

void TestFormats::names()
{
    TIvBinaryDictionary::instance().switchLanguage(2);
    QCOMPARE(Formats::monthName(12), u"December"_s);
    QCOMPARE(Formats::dayName(7, false), u"Sun"_s);
    TIvBinaryDictionary::instance().switchLanguage(3);
    QCOMPARE(Formats::monthName(2), u"febrero"_s);
    QCOMPARE(Formats::dayName(3), u"miércoles"_s);
}

void TestFormats::parseNumber_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<double>("value");
    QTest::newRow("pt grouped") << 1 << u"1.234,5"_s << true << 1234.5;
    QTest::newRow("pt plain") << 1 << u"1234,5"_s << true << 1234.5;
    QTest::newRow("pt blanks and sign") << 1 << u" -12,25 "_s << true << -12.25;
    QTest::newRow("pt plus") << 1 << u"+7"_s << true << 7.0;
    QTest::newRow("pt fraction only") << 1 << u",5"_s << true << 0.5;
    QTest::newRow("pt millions") << 1 << u"1.234.567"_s << true << 1234567.0;
    QTest::newRow("pt english point") << 1 << u"1234.5"_s << false << 0.0;
    QTest::newRow("pt misplaced group") << 1 << u"1.23,4"_s << false << 0.0;
    QTest::newRow("pt two decimal separators") << 1 << u"1,2,3"_s << false << 0.0;
    QTest::newRow("pt exponent") << 1 << u"1e5"_s << false << 0.0;
    QTest::newRow("pt letters") << 1 << u"abc"_s << false << 0.0;
    QTest::newRow("pt empty") << 1 << QString() << false << 0.0;
    QTest::newRow("pt sign only") << 1 << u"-"_s << false << 0.0;
    QTest::newRow("pt inner blank") << 1 << u"1 234"_s << false << 0.0;
    QTest::newRow("en grouped") << 2 << u"1,234.5"_s << true << 1234.5;
    QTest::newRow("en brazilian form") << 2 << u"1.234,5"_s << false << 0.0;
    QTest::newRow("es grouped") << 3 << u"1.234,5"_s << true << 1234.5;
}

void TestFormats::parseNumber()
{
    QFETCH(int, language);
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(double, value);
    TIvBinaryDictionary::instance().switchLanguage(language);
    const std::optional<double> parsed = Formats::parseNumber(text);
    QCOMPARE(parsed.has_value(), valid);
    if (valid)
        QCOMPARE(*parsed, value);
}

void TestFormats::editNumberReadsBack_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("pt") << 1 << 1234.5 << u"1234,5"_s;
    QTest::newRow("en") << 2 << 1234.5 << u"1234.5"_s;
    QTest::newRow("pt unrounded") << 1 << 0.1 + 0.2 << u"0,30000000000000004"_s;
    QTest::newRow("en negative") << 2 << -12345678.125 << u"-12345678.125"_s;
}

void TestFormats::editNumberReadsBack()
{
    QFETCH(int, language);
    QFETCH(double, value);
    QFETCH(QString, text);
    TIvBinaryDictionary::instance().switchLanguage(language);
    QCOMPARE(Formats::editNumber(value), text);
    QCOMPARE(Formats::parseNumber(text).value(), value);
}

void TestFormats::conventionsComeBack()
{
    TIvBinaryDictionary &d = TIvBinaryDictionary::instance();
    d.switchLanguage(2);
    QCOMPARE(Formats::formatNumber(1234.5, QString::fromLatin1(Formats::WeightPattern)), u"1,234.500"_s);
    d.switchLanguage(1);
    QCOMPARE(Formats::formatNumber(1234.5, QString::fromLatin1(Formats::WeightPattern)), u"1.234,500"_s);
    QCOMPARE(Formats::shortDate(QDate(2008, 3, 15)), u"15/03/2008"_s);
    QCOMPARE(Formats::monthName(3), QLocale::system().monthName(3));
}

void TestFormats::errorText_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("expected");
    QTest::newRow("letter gets a stop") << 1 << u"Disco cheio"_s << u"Disco cheio."_s;
    QTest::newRow("digit gets a stop") << 1 << u"Erro 42"_s << u"Erro 42."_s;
    QTest::newRow("stop stays") << 1 << u"Fim."_s << u"Fim."_s;
    QTest::newRow("exclamation sorts before") << 1 << u"Falha!"_s << u"Falha!"_s;
    QTest::newRow("empty") << 1 << QString() << QString();
    QTest::newRow("translated") << 2 << u"Problema na atualização."_s << u"Problem in the update."_s;
    QTest::newRow("translated gets a stop")
        << 3 << u"Não tem Registro selecionado"_s << u"No tiene Registro seleccionado."_s;
}

void TestFormats::errorText()
{
    QFETCH(int, language);
    QFETCH(QString, message);
    QFETCH(QString, expected);
    TIvBinaryDictionary::instance().switchLanguage(language);
    QCOMPARE(Formats::errorText(message), expected);
}

DALVORA_TEST_MAIN(TestFormats)
#include "tst_formats.moc"
