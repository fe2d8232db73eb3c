#include "Windows1252.h"

#include <QStringEncoder>
#include <QTest>

class TestWindows1252 : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void agreesWithTheSystemCodePage();
    void fitsOnlyWhenEveryCharacterHasAByte();
};

// Every UTF-16 unit has the byte the system's converter gives it, or none where the converter fails. The C1 control
// characters are left out: the converter passes some of them through, and no text of ours carries them. A lone
// surrogate has no byte; the converter would keep a trailing one pending and drop it from the file without an error.
void TestWindows1252::agreesWithTheSystemCodePage()
{
    int assigned = 0;
    for (char32_t unit = 0; unit <= 0xFFFF; ++unit) {
        const char16_t u = char16_t(unit);
        if (QChar::isSurrogate(unit))
            QVERIFY(Windows1252::byteOf(u) < 0);
        if ((unit >= 0x80 && unit <= 0x9F) || QChar::isSurrogate(unit))
            continue;
        QStringEncoder encoder("windows-1252");
        QVERIFY(encoder.isValid());
        const QByteArray expected = encoder.encode(QStringView(&u, 1));
        const int byte = Windows1252::byteOf(u);
        if (encoder.hasError()) {
            QVERIFY2(byte < 0, qPrintable(QString::number(unit, 16)));
        } else {
            QVERIFY2(expected.size() == 1, qPrintable(QString::number(unit, 16)));
            QCOMPARE(byte, int(uchar(expected.at(0))));
            ++assigned;
        }
    }
    QCOMPARE(assigned, 256 - 32 + 27);
}

void TestWindows1252::fitsOnlyWhenEveryCharacterHasAByte()
{
    QVERIFY(Windows1252::fits(u"Ação €‰ÿ"));
    QVERIFY(!Windows1252::fits(u"ab\u2603cd"));
    QVERIFY(!Windows1252::fits(u"x\U0001F600"));
    QVERIFY(Windows1252::fits(u""));
}

QTEST_APPLESS_MAIN(TestWindows1252)
#include "tst_windows1252.moc"
