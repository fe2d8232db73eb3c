#include "FrameworkTranslator.h"
#include "TIvBinaryDictionary.h"
#include "TestEnv.h"

#include <QDialogButtonBox>
#include <QPushButton>

using namespace Qt::StringLiterals;

class TestFrameworkTranslator : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QCoreApplication::installTranslator(new FrameworkTranslator(this)); }
    void cleanup() { TIvBinaryDictionary::instance().switchLanguage(1); }
    void toolkitTexts_data();
    void toolkitTexts();
};

void TestFrameworkTranslator::toolkitTexts_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("help");
    QTest::addColumn<QString>("cancel");
    QTest::newRow("Português") << 1 << u"Help"_s << u"Cancel"_s;
    QTest::newRow("Inglês") << 2 << u"Help"_s << u"Cancel"_s;
    QTest::newRow("Espanhol") << 3 << u"Ayuda"_s << u"Cancel"_s; // only "Help" is a key of the dictionary
}

void TestFrameworkTranslator::toolkitTexts()
{
    QFETCH(int, language);
    QFETCH(QString, help);
    QFETCH(QString, cancel);
    TIvBinaryDictionary::instance().switchLanguage(language);
    QDialogButtonBox box(QDialogButtonBox::Help | QDialogButtonBox::Cancel);
    QCOMPARE(box.button(QDialogButtonBox::Help)->text(), help);
    QCOMPARE(box.button(QDialogButtonBox::Cancel)->text(), cancel);
}

DALVORA_TEST_MAIN(TestFrameworkTranslator)
#include "tst_frameworktranslator.moc"
