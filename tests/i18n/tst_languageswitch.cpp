#include "LanguageHolder.h"
#include "LanguageSwitch.h"
#include "TIvBinaryDictionary.h"
#include "TestEnv.h"
#include "TranslateText.h"

#include <QImage>

using namespace Qt::StringLiterals;

class TestLanguageSwitch : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void apply_data();
    void apply();
};

void TestLanguageSwitch::apply_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("fechar");
    QTest::addColumn<QLocale::Language>("language");
    QTest::addColumn<QRgb>("flagCorner"); // top-left pixel: green, canton blue, red
    QTest::newRow("Inglês") << 2 << 1 << u"Close"_s << QLocale::English << qRgb(0x3C, 0x3B, 0x6E);
    QTest::newRow("Espanhol") << 3 << 2 << u"Cerrar"_s << QLocale::Spanish << qRgb(0xAA, 0x15, 0x1B);
    QTest::newRow("Português") << 1 << 0 << u"Fechar"_s << QLocale::Portuguese << qRgb(0x00, 0x9B, 0x3A);
}

void TestLanguageSwitch::apply()
{
    QFETCH(int, number);
    QFETCH(int, index);
    QFETCH(QString, fechar);
    QFETCH(QLocale::Language, language);
    QFETCH(QRgb, flagCorner);
    LanguageSwitch::apply(number);
    QCOMPARE(LanguageHolder::current(), QString::number(number));
    QCOMPARE(TIvBinaryDictionary::instance().language(), index);
    QCOMPARE(TranslateText(u"Fechar"_s), fechar);
    QCOMPARE(QLocale().language(), language);

    const QImage flag(LanguageSwitch::flagPath(number));
    QCOMPARE(flag.size(), QSize(42, 30));
    QCOMPARE(flag.depth(), 32); // decoded; the stored picture is 24-bit RGB
    QVERIFY(!flag.hasAlphaChannel());
    QCOMPARE(flag.pixel(0, 0), flagCorner);
}

DALVORA_TEST_MAIN(TestLanguageSwitch)
#include "tst_languageswitch.moc"
