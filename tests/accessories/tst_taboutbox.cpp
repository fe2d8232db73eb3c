#include "AppInfo.h"
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
#include <QScreen>

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
    void errorWithoutTheEngineHelper();
#ifdef DALVORA_HAS_BROWSER
    void twoClicksTwoWindows();
    void newWindowRefused();
    void ctrlKeyHeldBackWhileBrowserLives();
#endif

private:
    QString writeManualSite(const QByteArray &script = {});
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
    QCOMPARE(version, QLatin1String(AppInfo::Version));
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

// The engine's helper program missing (a copied or damaged install): the same message, never the engine ending the
// program.
void TestTAboutBox::errorWithoutTheEngineHelper()
{
    qputenv("QTWEBENGINEPROCESS_PATH", QDir::current().filePath("missing/QtWebEngineProcess").toLocal8Bit());
    const auto restore = qScopeGuard([] { qunsetenv("QTWEBENGINEPROCESS_PATH"); });
    TAboutBox box;
    box.setLanguage("1");
    box.show();
    DialogDriver driver;
    driver.press("OK");
    QTest::mouseClick(box.findChild<QPushButton *>("SB_Manual"), Qt::LeftButton);
    QCOMPARE(driver.texts(), QStringList{"Erro na conexão internet."});
    QVERIFY(box.isVisible());
    QVERIFY(browserWindows().isEmpty());
}

#ifdef DALVORA_HAS_BROWSER
// The program prepares the application for the web engine before creating it; so does this test.
static const bool preparedForBrowser = (BrowserLauncher::prepareApplication(), true);

namespace {
// The browser window's web view, read through its properties: the test, like the program, never links the engine.
QObject *webView(QWidget *window)
{
    return window->findChild<QObject *>("WebBrowser1");
}
} // namespace

// The manual page under a local site; `script` runs when it has loaded.
QString TestTAboutBox::writeManualSite(const QByteArray &script)
{
    const QString site = QDir::current().filePath("site");
    QDir().mkpath(site + "/help/manuais/bl");
    QFile page(site + "/help/manuais/bl/P_Tressal.htm");
    if (!page.open(QIODevice::WriteOnly))
        return {};
    page.write("<html><head><title>Manual</title><script>window.onload = function() {" + script +
               "};</script></head><body><a id='away' href='other.htm' target='_blank'>more</a></body></html>");
    TAboutBox::setManualSite(QUrl::fromLocalFile(site).toString());
    return site;
}

void TestTAboutBox::twoClicksTwoWindows()
{
    QVERIFY(preparedForBrowser);
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
        // 690 x 550 at (100, 42), moved clear of the box where they would meet (this screen is 800 x 600).
        QCOMPARE(window->width(), 690);
        QVERIFY(!window->frameGeometry().intersects(box.frameGeometry()));
        QVERIFY(box.screen()->availableGeometry().contains(window->frameGeometry()));
        QObject *view = webView(window);
        QVERIFY(view);
        QTRY_COMPARE_WITH_TIMEOUT(view->property("title").toString(), QStringLiteral("Manual"), 30000);
        QCOMPARE(view->property("url").toUrl(), TAboutBox::manualAddress("1"));
    }
}

void TestTAboutBox::newWindowRefused()
{
    // The page asks for a window from a script and follows a link with a target window; the window the script got
    // is closed at once when the request is refused.
    QVERIFY(!writeManualSite("var w = window.open('other.htm'); document.getElementById('away').click();"
                             "setTimeout(function() { document.title = 'closed=' + (w === null || w.closed); }, 500);")
                 .isEmpty());
    TAboutBox box;
    box.setLanguage("1");
    box.show();
    QTest::mouseClick(box.findChild<QPushButton *>("SB_Manual"), Qt::LeftButton);
    QCOMPARE(browserWindows().size(), 1);
    QObject *view = webView(browserWindows().first());
    QTRY_COMPARE_WITH_TIMEOUT(view->property("title").toString(), QStringLiteral("closed=true"), 30000);
    QCOMPARE(browserWindows().size(), 1);
    const QWidgetList topLevels = QApplication::topLevelWidgets();
    QCOMPARE(std::count_if(topLevels.begin(), topLevels.end(), [](QWidget *w) { return w->isVisible(); }), 2);
    QCOMPARE(view->property("url").toUrl(), TAboutBox::manualAddress("1"));
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
