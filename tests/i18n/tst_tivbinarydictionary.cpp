#include "DictionaryClient.h"
#include "DictionaryContent.h"
#include "TIvBinaryDictionary.h"
#include "TestEnv.h"
#include "TranslateText.h"

#include <QBuffer>
#include <QStringEncoder>

#include <stdexcept>

using namespace Qt::StringLiterals;

namespace {
struct RecordingClient : DictionaryClient
{
    QList<QPair<bool, bool>> calls;
    void dictionaryChanged(bool languageChanged, bool localeChanged) override
    {
        calls.append({languageChanged, localeChanged});
    }
};

DictionaryContent contentFrom(const QString &text, bool *ok = nullptr, QString *error = nullptr)
{
    QByteArray bytes = text.toUtf8();
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    DictionaryContent content;
    const bool read = content.read(buffer, error);
    if (ok)
        *ok = read;
    return content;
}

const QString SmallDictionary = QStringLiteral("@Languages\t2\t3\n"
                                               "0\t\t0\t1\t65535\tNative\tNative\t\t0\tfalse\ttrue\n"
                                               "9\t\t1\t0\t1252\tEnglish\tEnglish\t\t0\tfalse\tfalse\n"
                                               "10\t\t1\t0\t1252\tSpanish\tespañol\t\t0\tfalse\tfalse\n"
                                               "@Translations\t2\t1\t2\n"
                                               "Fechar\t\t\tClose\tCerrar\n"
                                               "Sim\t\t\tYes\t\n"
                                               "@Locales\t2\t0\n");
} // namespace

class TestTIvBinaryDictionary : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void embeddedContent();
    void embeddedRows_data();
    void embeddedRows();
    void lookup_data();
    void lookup();
    void conventionsFollowTheLanguage();
    void clientsAreNotifiedOfEachChange();
    void closedDictionaryOnlyRecordsTheLanguage();
    void emptyTranslationsLeaveTheWorkingTable();
    void unknownLocaleIsRefused();
    void malformedContent_data();
    void malformedContent();
    void escapes();
    void userLocaleWithoutRegionalSettings_data();
    void userLocaleWithoutRegionalSettings();
};

void TestTIvBinaryDictionary::embeddedContent()
{
    const DictionaryContent &c = DictionaryContent::embedded();
    QCOMPARE(c.languages.size(), 3);
    // The screens' rows plus the program's own messages.
    QVERIFY(c.translations.size() >= 102);
    QCOMPARE(c.locales.size(), 3);
    QCOMPARE(c.contextKind, 1);

    QCOMPARE(c.languages[0].languageCode, 0);
    QCOMPARE(c.languages[0].codePage, 65535);
    QVERIFY(c.languages[0].anyCodePage);
    QCOMPARE(c.languages[1].languageCode, 9);
    QCOMPARE(c.languages[1].englishName, u"English");
    QCOMPARE(c.languages[2].languageCode, 10);
    QCOMPARE(c.languages[2].ownName, u"español");
    QCOMPARE(c.languages[2].defaultVariant, 1);
    QVERIFY(!c.languages[2].anyCodePage);

    QCOMPARE(c.locales[0].identifier(), 1033);
    QCOMPARE(c.locales[1].identifier(), 1046);
    QCOMPARE(c.locales[2].identifier(), 3082);
    QCOMPARE(c.locales[1].fields[10], u"R$ ");
    QCOMPARE(c.locales[2].fields.last(), u"Domingo");
    QCOMPARE(c.locales[1].fields.at(c.locales[1].fields.size() - 14), u"Seg");

    // Every text fits the single-byte code page the texts are kept in; keys are whole, contexts empty.
    QStringEncoder windows1252("windows-1252");
    QVERIFY(windows1252.isValid());
    for (const IvTranslation &row : c.translations) {
        for (const QString &text : QStringList{row.native, row.texts[0], row.texts[1]}) {
            QVERIFY2(!text.isEmpty(), qPrintable(row.native));
            (void)windows1252.encode(text);
            QVERIFY2(!windows1252.hasError(), qPrintable(text));
        }
        QVERIFY(row.context1.isEmpty() && row.context2.isEmpty());
    }
}

void TestTIvBinaryDictionary::embeddedRows_data()
{
    QTest::addColumn<QString>("native");
    QTest::addColumn<QString>("english");
    QTest::addColumn<QString>("spanish");
    QTest::newRow("first") << u"(p/ Carga IMO)"_s << u"(for Load IMO)"_s << u"(p/ Carga IMO)"_s;
    QTest::newRow("trailing blank") << u"DESEJA EXCLUIR ?"_s << u"DO YOU WANT TO DELETE ? "_s << u"¿ DESEA EXCLUIR ?"_s;
    QTest::newRow("trailing blank 2") << u"Erro ao montar arquivo EDI"_s << u"Error when mounting EDI file "_s
                                      << u"Error al montar archivo EDI"_s;
    QTest::newRow("accents") << u"OBSERVAÇÕES"_s << u"OBSERVATIONS"_s << u"OBSERVACIÓNES"_s;
    QTest::newRow("acute accent") << u"Não tem Registro selecionado"_s << u"Doesn´t exist selected Register"_s
                                  << u"No tiene Registro seleccionado"_s;
    QTest::newRow("question") << u"Confirma que deseja fechar a sessão ?"_s << u"Do you want to close the session ?"_s
                              << u"¿ Confirma que desea cerrar la sesión ?"_s;
    QTest::newRow("abbreviation") << u"Destino"_s << u"Destin."_s << u"Destino"_s;
    QTest::newRow("last") << u"Volumes"_s << u"Volumes"_s << u"Bultos"_s;
}

void TestTIvBinaryDictionary::embeddedRows()
{
    QFETCH(QString, native);
    QFETCH(QString, english);
    QFETCH(QString, spanish);
    TIvBinaryDictionary &d = TIvBinaryDictionary::instance();
    d.switchLanguage(2);
    QCOMPARE(TranslateText(native), english);
    d.switchLanguage(3);
    QCOMPARE(TranslateText(native), spanish);
    d.switchLanguage(1);
    QCOMPARE(TranslateText(native), native);
}

void TestTIvBinaryDictionary::lookup_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");
    QTest::newRow("exact") << 2 << u"Cancelar"_s << u"Cancel"_s;
    QTest::newRow("case") << 2 << u"cancelar"_s << u"cancelar"_s;
    QTest::newRow("colon row") << 2 << u"Tipo:"_s << u"Type:"_s;
    QTest::newRow("without colon") << 2 << u"Tipo"_s << u"Type"_s;
    QTest::newRow("lower registro") << 2 << u"Incluir novo registro"_s << u"Add new record"_s;
    QTest::newRow("upper Registro") << 2 << u"Incluir novo Registro"_s << u"Add new Record"_s;
    QTest::newRow("extra trailing blank") << 2 << u"DESEJA EXCLUIR ? "_s << u"DESEJA EXCLUIR ? "_s;
    QTest::newRow("leading blank") << 2 << u" Cancelar"_s << u" Cancelar"_s;
    QTest::newRow("no row en") << 2 << u"Confirmar Alterações."_s << u"Confirmar Alterações."_s;
    QTest::newRow("no row es") << 3 << u"Confirmar Alterações."_s << u"Confirmar Alterações."_s;
    QTest::newRow("no row pt") << 1 << u"Confirmar Alterações."_s << u"Confirmar Alterações."_s;
    QTest::newRow("empty en") << 2 << QString() << QString();
    QTest::newRow("empty es") << 3 << QString() << QString();
    QTest::newRow("native keeps rows") << 1 << u"Cancelar"_s << u"Cancelar"_s;
    QTest::newRow("volume en") << 2 << u"Volume"_s << u"Volumes"_s;
    QTest::newRow("volume es") << 3 << u"Volume"_s << u"Bultos"_s;
    QTest::newRow("ampersand-free row") << 3 << u"Sim"_s << u"Sí"_s;
    QTest::newRow("before first key") << 2 << u"!"_s << u"!"_s;
    QTest::newRow("after last key") << 2 << u"zzz"_s << u"zzz"_s;
}

void TestTIvBinaryDictionary::lookup()
{
    QFETCH(int, language);
    QFETCH(QString, input);
    QFETCH(QString, expected);
    TIvBinaryDictionary::instance().switchLanguage(language);
    QCOMPARE(TranslateText(input), expected);
}

void TestTIvBinaryDictionary::conventionsFollowTheLanguage()
{
    TIvBinaryDictionary &d = TIvBinaryDictionary::instance();
    d.switchLanguage(2);
    QCOMPARE(d.language(), 1);
    QCOMPARE(d.primaryLanguage(), 9);
    QCOMPARE(d.subLanguage(), 0);
    QCOMPARE(d.workingTableSize(), int(DictionaryContent::embedded().translations.size()));
    QCOMPARE(QLocale().language(), QLocale::English);
    QCOMPARE(QLocale().territory(), QLocale::UnitedStates);

    d.switchLanguage(3);
    QCOMPARE(d.primaryLanguage(), 10);
    QCOMPARE(d.workingTableSize(), int(DictionaryContent::embedded().translations.size()));
    QCOMPARE(QLocale().language(), QLocale::Spanish);
    QCOMPARE(QLocale().territory(), QLocale::Spain);

    // Portuguese is the user's own settings again (LANG=pt_BR in the tests).
    d.switchLanguage(1);
    QCOMPARE(d.language(), 0);
    QCOMPARE(d.primaryLanguage(), 0);
    QCOMPARE(d.workingTableSize(), 0);
    QCOMPARE(QLocale().name(), QLocale::system().name());
    QCOMPARE(QLocale().decimalPoint(), u",");

    QVERIFY_THROWS_EXCEPTION(std::out_of_range, d.switchLanguage(4));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, d.switchLanguage(0));
}

void TestTIvBinaryDictionary::clientsAreNotifiedOfEachChange()
{
    TIvBinaryDictionary &d = TIvBinaryDictionary::instance();
    d.switchLanguage(1);
    RecordingClient client;
    d.registerClient(&client);
    d.registerClient(&client); // once only

    // The language brings the user's country of the language (none here: its default, a carried record), then the
    // bare language code replaces it: two notifications.
    d.switchLanguage(2);
    QCOMPARE(client.calls, (QList<QPair<bool, bool>>{{true, true}, {false, true}}));

    client.calls.clear();
    d.switchLanguage(2);
    QVERIFY(client.calls.isEmpty());

    d.setPrimaryLanguage(9); // same identifier: nothing
    QVERIFY(client.calls.isEmpty());

    d.switchLanguage(1);
    QCOMPARE(client.calls, (QList<QPair<bool, bool>>{{true, true}}));

    d.unregisterClient(&client);
    client.calls.clear();
    d.switchLanguage(3);
    QVERIFY(client.calls.isEmpty());
    d.switchLanguage(1);
}

void TestTIvBinaryDictionary::closedDictionaryOnlyRecordsTheLanguage()
{
    const DictionaryContent &content = DictionaryContent::embedded();
    TIvBinaryDictionary d(content);
    RecordingClient client;
    d.registerClient(&client);
    d.setLanguage(1);
    QVERIFY(!d.isOpen());
    QCOMPARE(d.translate(u"Fechar"_s), u"Fechar"_s);
    QVERIFY(client.calls.isEmpty());

    d.open();
    QCOMPARE(d.translate(u"Fechar"_s), u"Close"_s);
    QCOMPARE(d.primaryLanguage() + 1024 * d.subLanguage(), 1033);
    QCOMPARE(QLocale().language(), QLocale::English);
    TIvBinaryDictionary::instance().switchLanguage(1);
}

void TestTIvBinaryDictionary::emptyTranslationsLeaveTheWorkingTable()
{
    bool ok = false;
    const DictionaryContent content = contentFrom(SmallDictionary, &ok);
    QVERIFY(ok);
    TIvBinaryDictionary d(content);
    d.open();
    d.setLanguage(2);
    QCOMPARE(d.workingTableSize(), 1);
    QCOMPARE(d.translate(u"Fechar"_s), u"Cerrar"_s);
    QCOMPARE(d.translate(u"Sim"_s), u"Sim"_s);
    TIvBinaryDictionary::instance().switchLanguage(1);
}

void TestTIvBinaryDictionary::unknownLocaleIsRefused()
{
    TIvBinaryDictionary d(DictionaryContent::embedded());
    d.open();
    try {
        d.setPrimaryLanguage(7);
        QFAIL("no error");
    } catch (const std::runtime_error &e) {
        QCOMPARE(QString::fromUtf8(e.what()), u"The locale (7, 0) is not supported by the current code page"_s);
    }
    QCOMPARE(d.primaryLanguage(), 0); // nothing installed
    TIvBinaryDictionary::instance().switchLanguage(1);
}

void TestTIvBinaryDictionary::malformedContent_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("error");
    QString wrongCount = SmallDictionary;
    wrongCount.replace(u"@Translations\t2\t1\t2"_s, u"@Translations\t2\t1\t3"_s);
    QTest::newRow("count") << wrongCount << u"Translations declares 3 records and holds 2"_s;
    QString version = SmallDictionary;
    version.replace(u"@Locales\t2"_s, u"@Locales\t3"_s);
    QTest::newRow("version") << version << u"bad list header"_s;
    QTest::newRow("fields") << QString(SmallDictionary + u"@Translations\t2\t1\t1\nA\tB\n"_s)
                            << u"a translation has 2 fields"_s;
    QString twice = SmallDictionary;
    twice.replace(u"Sim\t"_s, u"Fechar\t"_s);
    QTest::newRow("duplicate key") << twice << u"\"Fechar\" is a key twice"_s;
    QString flag = SmallDictionary;
    flag.replace(u"false\ttrue"_s, u"false\tyes"_s);
    QTest::newRow("flag") << flag << u"a flag is neither true nor false"_s;
    QString emptyKey = SmallDictionary;
    emptyKey.replace(u"\nSim\t"_s, u"\n\t"_s);
    QTest::newRow("empty key") << emptyKey << u"a translation has no native text"_s;
    QTest::newRow("unknown list") << u"@Words\t2\t0\n"_s << u"unknown list Words"_s;
    QTest::newRow("outside a list") << u"Fechar\t\t\tClose\tCerrar\n"_s << u"record outside a known list"_s;
}

void TestTIvBinaryDictionary::malformedContent()
{
    QFETCH(QString, text);
    QFETCH(QString, error);
    bool ok = true;
    QString why;
    contentFrom(text, &ok, &why);
    QVERIFY(!ok);
    QVERIFY2(why.endsWith(error), qPrintable(why));
}

void TestTIvBinaryDictionary::escapes()
{
    QCOMPARE(DictionaryContent::unescape(u"\\sa\\tb\\nc\\rd\\\\e\\s"), u" a\tb\nc\rd\\e "_s);
    QCOMPARE(DictionaryContent::unescape(u"trailing\\"), u"trailing\\"_s);
}

DALVORA_TEST_MAIN(TestTIvBinaryDictionary)
// A machine without regional settings (C or POSIX) gets Brazil's conventions for Portuguese; a real setting stands.
void TestTIvBinaryDictionary::userLocaleWithoutRegionalSettings_data()
{
    QTest::addColumn<QString>("system");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("month");
    QTest::addColumn<QString>("day");
    QTest::newRow("C") << "C"
                       << "10/12/2026"
                       << "1.234,500"
                       << "dezembro"
                       << "quinta-feira";
    QTest::newRow("POSIX") << "POSIX"
                           << "10/12/2026"
                           << "1.234,500"
                           << "dezembro"
                           << "quinta-feira";
    QTest::newRow("Brazil") << "pt_BR"
                            << "10/12/2026"
                            << "1.234,500"
                            << "dezembro"
                            << "quinta-feira";
    QTest::newRow("Portugal kept") << "pt_PT"
                                   << "10/12/2026"
                                   << "1234,500"
                                   << "dezembro"
                                   << "quinta-feira";
    QTest::newRow("United States kept") << "en_US"
                                        << "12/10/2026"
                                        << "1,234.500"
                                        << "December"
                                        << "Thursday";
    QTest::newRow("Germany kept") << "de_DE"
                                  << "10.12.2026"
                                  << "1.234,500"
                                  << "Dezember"
                                  << "Donnerstag";
}

void TestTIvBinaryDictionary::userLocaleWithoutRegionalSettings()
{
    QFETCH(QString, system);
    QFETCH(QString, date);
    QFETCH(QString, number);
    QFETCH(QString, month);
    QFETCH(QString, day);
    const QLocale locale = TIvBinaryDictionary::userLocale(QLocale(system));
    const QDate shown(2026, 12, 10);
    QString shortDate = locale.dateFormat(QLocale::ShortFormat); // widened to four-digit years, as on screen
    if (!shortDate.contains(u"yyyy"_qs))
        shortDate.replace(u"yy"_qs, u"yyyy"_qs);
    QCOMPARE(locale.toString(shown, shortDate), date);
    QCOMPARE(locale.toString(1234.5, 'f', 3), number);
    QCOMPARE(locale.monthName(12), month);
    QCOMPARE(locale.dayName(shown.dayOfWeek()), day);
}

#include "tst_tivbinarydictionary.moc"
