#include "DialogDriver.h"
#include "TestEnv.h"

#include "BrowserLauncher.h"
#include "LanguageSwitch.h"
#include "TAboutBox.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <memory>
#include <optional>

#ifdef DALVORA_HAS_BROWSER
#include <QWebEnginePage>
#include <QWebEngineView>
#endif

namespace {
QList<QWidget *> browserWindows()
{
    QList<QWidget *> found;
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (widget->objectName() == u"F_Browser")
            found << widget;
    return found;
}

void closeBrowserWindows()
{
    for (QWidget *window : browserWindows())
        window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Records the key presses that reach it.
class KeyRecorder : public QWidget
{
public:
    QList<int> keys;

protected:
    void keyPressEvent(QKeyEvent *event) override { keys << event->key(); }
};
} // namespace

class TestTAboutBox : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup();
    void inEachLanguage_data();
    void inEachLanguage();
    void manualAddress();
    void errorWithoutBrowser();
#ifdef DALVORA_HAS_BROWSER
    void twoClicksTwoWindows();
    void newWindowRefused();
    void ctrlKeyHeldBackWhileBrowserLives();
#endif

private:
    QString writeManualSite();
};

void TestTAboutBox::cleanup()
{
    closeBrowserWindows();
    BrowserLauncher::setPluginFile(QString());
    TAboutBox::setManualSite(QStringLiteral("http://www.dalvora.example.com"));
    LanguageSwitch::apply(1);
}

void TestTAboutBox::inEachLanguage_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("manual");
    QTest::addColumn<QString>("exit");
    QTest::newRow("Portuguese") << 1 << QStringLiteral("Inclusão do Draft - Passo a Passo") << "Sair";
    QTest::newRow("English") << 2 << "Add new Draft - Step by Step"
                             << "Exit";
    QTest::newRow("Spanish") << 3 << QStringLiteral("Inclusión del Draft - Paso a Paso") << "Salir";
}

void TestTAboutBox::inEachLanguage()
{
    QFETCH(int, language);
    QFETCH(QString, manual);
    QFETCH(QString, exit);
    LanguageSwitch::apply(language);
    QWidget owner;
    DialogDriver driver;
    QString manualCaption, exitCaption, version, languageField, name;
    QSize size;
    bool owned = false;
    driver.handle([&](QWidget *box) {
        name = box->objectName();
        owned = box->parentWidget() == &owner;
        size = box->size();
        manualCaption = box->findChild<QPushButton *>("SB_Manual")->text();
        exitCaption = box->findChild<QPushButton *>("SpeedButton1")->text();
        version = box->findChild<QLabel *>("L_Versao")->text();
        languageField = box->findChild<QLineEdit *>("EdIdioma")->text();
        QTest::mouseClick(box->findChild<QPushButton *>("SpeedButton1"), Qt::LeftButton);
    });
    TAboutBox::execAbout(&owner, QString::number(language));
    QCOMPARE(driver.pending(), 0);
    QCOMPARE(name, QStringLiteral("AboutBox"));
    QVERIFY(owned);
    QCOMPARE(size, QSize(273, 284));
    QCOMPARE(manualCaption, manual);
    QCOMPARE(exitCaption, exit);
    QCOMPARE(version, QStringLiteral("1.1.26"));
    QCOMPARE(languageField, QString::number(language));
    QVERIFY(owner.findChildren<TAboutBox *>().isEmpty());
}

void TestTAboutBox::manualAddress()
{
    const QUrl page(QStringLiteral("http://www.dalvora.example.com/help/manuais/bl/P_Tressal.htm"));
    QCOMPARE(TAboutBox::manualAddress("1"), page);
    QCOMPARE(TAboutBox::manualAddress("2"), page);
    QCOMPARE(TAboutBox::manualAddress("3"), page);
}

void TestTAboutBox::errorWithoutBrowser()
{
    BrowserLauncher::setPluginFile(QDir::current().filePath("missing/libdalvora_browser.so"));
    LanguageSwitch::apply(2);
    TAboutBox box;
    box.setLanguage("2");
    box.show();
    DialogDriver driver;
    driver.press("OK");
    QTest::mouseClick(box.findChild<QPushButton *>("SB_Manual"), Qt::LeftButton);
    QCOMPARE(driver.pending(), 0);
    QCOMPARE(driver.texts(), QStringList{"Error in internet connection."});
    QCOMPARE(driver.seen.first().buttons, QStringList{"OK"});
    QVERIFY(box.isVisible());
    QVERIFY(browserWindows().isEmpty());
}

#ifdef DALVORA_HAS_BROWSER
namespace {
QVariant runScript(QWebEnginePage *page, const char *script)
{
    // Shared with the callback, which may come after a timed-out wait.
    auto result = std::make_shared<std::optional<QVariant>>();
    page->runJavaScript(QString::fromLatin1(script), [result](const QVariant &value) { *result = value; });
    if (!QTest::qWaitFor([&] { return result->has_value(); }, 30000))
        qWarning("no answer from the page to: %s", script);
    return result->value_or(QVariant());
}
} // namespace

QString TestTAboutBox::writeManualSite()
{
    const QString site = QDir::current().filePath("site");
    QDir().mkpath(site + "/help/manuais/bl");
    QFile page(site + "/help/manuais/bl/P_Tressal.htm");
    if (!page.open(QIODevice::WriteOnly))
        return {};
    page.write("<html><head><title>Manual</title></head><body><a id='away' href='other.htm' target='_blank'>more</a>"
               "</body></html>");
    TAboutBox::setManualSite(QUrl::fromLocalFile(site).toString());
    return site;
}

void TestTAboutBox::twoClicksTwoWindows()
{
    QVERIFY(!writeManualSite().isEmpty());
    TAboutBox box;
    box.setLanguage("1");
    box.show();
    auto *manual = box.findChild<QPushButton *>("SB_Manual");
    QTest::mouseClick(manual, Qt::LeftButton);
    QTest::mouseClick(manual, Qt::LeftButton);

    const QList<QWidget *> windows = browserWindows();
    QCOMPARE(windows.size(), 2);
    QVERIFY(box.isVisible());
    for (QWidget *window : windows) {
        QCOMPARE(window->parentWidget(), nullptr);
        QVERIFY(!window->isModal());
        QCOMPARE(window->windowTitle(), QStringLiteral("DALVORA do Zereva"));
        QCOMPARE(window->size(), QSize(690, 550));
        QCOMPARE(window->pos(), QPoint(100, 42));
        auto *view = window->findChild<QWebEngineView *>("WebBrowser1");
        QVERIFY(view);
        QTRY_COMPARE_WITH_TIMEOUT(view->title(), QStringLiteral("Manual"), 30000);
        QCOMPARE(view->url(), TAboutBox::manualAddress("1"));
    }
}

void TestTAboutBox::newWindowRefused()
{
    QVERIFY(!writeManualSite().isEmpty());
    TAboutBox box;
    box.setLanguage("1");
    box.show();
    QTest::mouseClick(box.findChild<QPushButton *>("SB_Manual"), Qt::LeftButton);
    QCOMPARE(browserWindows().size(), 1);
    auto *view = browserWindows().first()->findChild<QWebEngineView *>("WebBrowser1");
    QTRY_COMPARE_WITH_TIMEOUT(view->title(), QStringLiteral("Manual"), 30000);

    // A script asks for a window: it gets one that is closed at once, and no window appears. A link with a target
    // window opens nothing either.
    QCOMPARE(runScript(view->page(), "window.w = window.open('other.htm'); window.w !== null"), QVariant(true));
    QTRY_COMPARE_WITH_TIMEOUT(runScript(view->page(), "window.w.closed"), QVariant(true), 30000);
    view->page()->runJavaScript(QStringLiteral("document.getElementById('away').click()"));
    QTest::qWait(500);
    QCOMPARE(browserWindows().size(), 1);
    const QWidgetList topLevels = QApplication::topLevelWidgets();
    QCOMPARE(std::count_if(topLevels.begin(), topLevels.end(), [](QWidget *w) { return w->isVisible(); }), 2);
    QCOMPARE(view->url(), TAboutBox::manualAddress("1"));
}

void TestTAboutBox::ctrlKeyHeldBackWhileBrowserLives()
{
    QVERIFY(!writeManualSite().isEmpty());
    KeyRecorder recorder;
    recorder.show();
    QTest::keyPress(&recorder, Qt::Key_Control);
    QCOMPARE(recorder.keys, QList<int>{Qt::Key_Control});

    recorder.keys.clear();
    TAboutBox box;
    box.show();
    QTest::mouseClick(box.findChild<QPushButton *>("SB_Manual"), Qt::LeftButton);
    QCOMPARE(browserWindows().size(), 1);
    QTest::keyPress(&recorder, Qt::Key_Control);
    QTest::keyPress(&recorder, Qt::Key_A, Qt::ControlModifier);
    QTest::keyPress(&recorder, Qt::Key_B);
    QCOMPARE(recorder.keys, (QList<int>{Qt::Key_A, Qt::Key_B}));

    closeBrowserWindows();
    recorder.keys.clear();
    QTest::keyPress(&recorder, Qt::Key_Control);
    QCOMPARE(recorder.keys, QList<int>{Qt::Key_Control});
}
#endif

DALVORA_TEST_MAIN(TestTAboutBox)
#include "tst_taboutbox.moc"
