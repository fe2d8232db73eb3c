#include "BrowserLauncher.h"
#include "DalvoraApplication.h"
#include "DialogDriver.h"
#include "StoreFixture.h"
#include "TAboutBox.h"
#include "TDBRadioGroup.h"
#include "TF_Calendario.h"
#include "TF_Container.h"
#include "TF_Duplicar.h"
#include "TF_MandaMemo.h"
#include "TF_Principal.h"
#include "TF_Procura.h"
#include "TF_SD.h"
#include "TF_TXT.h"
#include "TestEnv.h"

#include <QAccessible>
#include <QButtonGroup>
#include <QLabel>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTabBar>
#include <QWindow>
#include <functional>
#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace {

// Records every modal dialog that comes up while it runs, by its message (or title), and closes it as Escape would.
class DialogCatcher : public QObject
{
public:
    explicit DialogCatcher(QWidget *home = nullptr) : m_home(home)
    {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            QWidget *modal = QApplication::activeModalWidget();
            if (!modal || modal == m_home || !modal->isVisible() || m_closing.contains(modal))
                return;
            m_closing << modal;
            const auto *message = modal->findChild<QLabel *>(QStringLiteral("message"));
            seen << (message ? message->text() : modal->windowTitle());
            QMetaObject::invokeMethod(
                modal, [modal] { static_cast<QDialog *>(modal)->reject(); }, Qt::QueuedConnection);
        });
        m_timer.start(5);
    }
    QStringList seen;

private:
    QWidget *m_home;
    QTimer m_timer;
    QList<QPointer<QWidget>> m_closing;
};

// Everything the four tables hold, as one text.
QString tables()
{
    QString all;
    for (const char *table : {"Dal_Bls", "Dal_Cntr", "Dal_SD", "Dal_NCM"}) {
        QSqlQuery q(Store::database());
        q.exec(u"SELECT * FROM "_s + QLatin1String(table) + u" ORDER BY 1"_s);
        while (q.next())
            for (int i = 0; i < q.record().count(); ++i)
                all += q.value(i).toString() + u'|';
        all += u'\n';
    }
    return all;
}

// A radio item stands for its group: the language buttons for their button group, the others for their box.
QString stopName(QWidget *widget)
{
    if (auto *item = qobject_cast<QRadioButton *>(widget)) {
        if (item->group() && !item->group()->objectName().isEmpty())
            return item->group()->objectName();
        return item->parentWidget()->objectName();
    }
    return widget ? widget->objectName() : u"(none)"_s;
}

QStringList walk(QWidget *first, qsizetype stops)
{
    first->setFocus(Qt::TabFocusReason);
    QStringList chain;
    while (chain.size() < stops) {
        QWidget *focus = QApplication::focusWidget();
        chain << stopName(focus);
        if (!focus)
            break;
        QTest::keyClick(focus, Qt::Key_Tab);
    }
    return chain;
}

bool focusable(QWidget *widget, QWidget *window)
{
    return widget->focusPolicy() != Qt::NoFocus && widget->isVisibleTo(window) && widget->isEnabled() &&
           !widget->objectName().startsWith(u"qt_"_s) && !widget->focusProxy();
}

} // namespace

// The windows as a clerk works them from the keyboard: Enter never presses a button, Tab follows each window's order,
// radio choices are one control, and the buttons of the start state answer with their notices.
class TestKeyboard : public QObject
{
    Q_OBJECT

    StoreFixture store;

    // A BL of containers with IMO data, one container, one document and one NCM code: every window has something a
    // stray key could change or delete.
    static void fillStore()
    {
        const int bl = StoreFixture::newBl({{"Bls_Imo", true},
                                            {"Bls_Imo_IMDG", "3"},
                                            {"Bls_Imo_UN", "1263"},
                                            {"Bls_Cia_Nome", "DALVORA"},
                                            {"Bls_Payable", "ORI"},
                                            {"Bls_EmissaoBL", "ORI"},
                                            {"Bls_AsPerAgee", false}});
        StoreFixture::addContainer(bl, u"MSKU9070323"_s, u"Dry Box 20"_s, 1000, 100,
                                   {{"Cnt_Lacre_1", "S1"}, {"Cnt_Lacre_2", "S2"}, {"Cnt_Lacre_3", "S3"}});
        StoreFixture::addDetail(DM_BL->qySD, bl, {{"Sd_Tipo", "SD"}, {"Sd_Numero", "SD-1"}});
        StoreFixture::addDetail(DM_BL->qyNCM, bl, {{"Ncm_Numero", "0901"}});
        DM_BL->qyBLS->close();
    }

    // Opens the first BL of the search list on the main window, as Procurar and Confirmar do.
    static void openBl(TF_Principal *w)
    {
        DialogDriver driver;
        driver.handle([](QWidget *search) {
            QTest::mouseClick(search->findChild<QWidget *>(QStringLiteral("SB_Confirma")), Qt::LeftButton);
        });
        QTest::mouseClick(w->SB_Procura, Qt::LeftButton);
        QVERIFY2(driver.allAnswered(), qPrintable(driver.report()));
        show(w);
    }

    static void show(QWidget *window)
    {
        window->show();
        QApplication::setActiveWindow(window);
        QVERIFY(QTest::qWaitForWindowActive(window));
    }

    // Enter, Delete, Ctrl+Delete and Escape in every field of the window: whatever they do, they open no dialog, and
    // only Escape may close a window.
    static QStringList enterInEveryField(QWidget *window, const QString &state)
    {
        QStringList problems;
        for (QWidget *field : window->findChildren<QWidget *>()) {
            if (!focusable(field, window) || !window->isVisible())
                continue;
            {
                // Entering some fields is refused with a message by design; only what Enter does counts.
                DialogCatcher entering;
                field->setFocus(Qt::TabFocusReason);
                QTest::qWait(1);
            }
            if (QApplication::focusWidget() != field)
                continue;
            // Enter and the keypad's Enter, then the keys that delete; Escape last, since some windows close on it.
            const QList<std::pair<Qt::Key, Qt::KeyboardModifiers>> keys{{Qt::Key_Return, Qt::NoModifier},
                                                                        {Qt::Key_Enter, Qt::KeypadModifier},
                                                                        {Qt::Key_Delete, Qt::NoModifier},
                                                                        {Qt::Key_Delete, Qt::ControlModifier},
                                                                        {Qt::Key_Escape, Qt::NoModifier}};
            for (const auto &[key, modifiers] : keys) {
                DialogCatcher catcher;
                QTest::keyClick(field, key, modifiers);
                QTest::qWait(1);
                const QString pressed = QKeySequence(key | modifiers).toString();
                for (const QString &text : std::as_const(catcher.seen))
                    problems << u"%1, %2: %3 opened \"%4\""_s.arg(state, field->objectName(), pressed, text);
                if (!window->isVisible() && key != Qt::Key_Escape)
                    problems << u"%1, %2: %3 closed the window"_s.arg(state, field->objectName(), pressed);
            }
            if (!window->isVisible())
                show(window);
        }
        return problems;
    }

    // The stray keys in a detail editor viewing, inserting and editing a row.
    template <class Editor> static QStringList inEveryRecordState(Editor *editor, const QString &name)
    {
        QStringList problems = enterInEveryField(editor, name + u", viewing"_s);
        editor->SB_InclusaoClick();
        problems << enterInEveryField(editor, name + u", inserting"_s);
        editor->SB_CancelaClick();
        editor->SB_EditClick();
        problems << enterInEveryField(editor, name + u", editing"_s);
        editor->SB_CancelaClick();
        return problems;
    }

    template <class Window> std::unique_ptr<Window> shown(std::unique_ptr<Window> window)
    {
        show(window.get());
        return window;
    }

private Q_SLOTS:
    void init()
    {
        store.setUp();
        fillStore();
    }
    void cleanup()
    {
        for (QWidget *window : QApplication::topLevelWidgets())
            if (window->objectName() == u"F_Browser")
                delete window;
        DM_BL->qyBLS->close();
        store.tearDown();
    }

    void strayKeysChangeNothing()
    {
        const QString before = tables();
        QStringList problems;

        // The main window, on both pages, before any BL, viewing, inserting and editing.
        const QList<std::pair<QString, std::function<void(TF_Principal *)>>> mainStates{
            {u"no BL"_s, [](TF_Principal *) {}},
            {u"viewing"_s, [](TF_Principal *w) { openBl(w); }},
            {u"inserting"_s, [](TF_Principal *w) { QTest::mouseClick(w->SB_Inclusao, Qt::LeftButton); }},
            {u"editing"_s, [](TF_Principal *w) {
                 openBl(w);
                 QTest::mouseClick(w->SB_Edit, Qt::LeftButton);
             }}};
        for (const auto &[state, enter] : mainStates) {
            DM_BL->qyBLS->close();
            TF_Principal w;
            show(&w);
            enter(&w);
            for (int page = 0; page < 2; ++page) {
                w.PageControl1->setCurrentIndex(page);
                problems << enterInEveryField(&w, u"main window page %1, %2"_s.arg(page).arg(state));
            }
            DM_BL->qyBLS->cancel();
        }

        // The detail editors, viewing, inserting and editing.
        StoreFixture::showBl(1);
        TF_Container::openQuery();
        problems << inEveryRecordState(shown(std::make_unique<TF_Container>()).get(), u"containers"_s);
        TF_SD::openQueries();
        {
            auto editor = shown(std::make_unique<TF_SD>());
            editor->EdNCM->setText(u"8471"_s); // a code typed, not yet added
            problems << inEveryRecordState(editor.get(), u"SD / NCM"_s);
        }

        // The other windows have one state each.
        DM_BL->qyMostra->setOrder(TF_Procura::orderColumn(0));
        DM_BL->qyMostra->open();
        problems << enterInEveryField(shown(std::make_unique<TF_Procura>()).get(), u"search"_s);
        problems << enterInEveryField(shown(std::make_unique<TF_Duplicar>(1)).get(), u"duplicate"_s);
        problems << enterInEveryField(shown(std::make_unique<TF_TXT>()).get(), u"EDI/BL"_s);
        problems << enterInEveryField(shown(std::make_unique<TF_MandaMemo>()).get(), u"attach"_s);
        problems << enterInEveryField(shown(std::make_unique<TF_Calendario>()).get(), u"calendar"_s);
        problems << enterInEveryField(shown(std::make_unique<TAboutBox>()).get(), u"about"_s);

        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
        QCOMPARE(tables(), before);
    }

    // Each window's Tab chain from its first control, a radio group as one stop.
    void tabFollowsTheKeyboardOrder()
    {
        TF_Principal w;
        show(&w);
        openBl(&w);
        QTest::mouseClick(w.SB_Edit, Qt::LeftButton);
        QCOMPARE(
            walk(w.DBEdit14, 32),
            (QStringList{u"DBEdit14"_s,   u"DBEdit15"_s,    u"DBEdit16"_s, u"DBEdit17"_s, u"DBEdit18"_s,  u"DBEdit19"_s,
                         u"DBEdit20"_s,   u"DBEdit21"_s,    u"DBEdit22"_s, u"DBEdit23"_s, u"DBEdit24"_s,  u"DBEdit25"_s,
                         u"DBEdit26"_s,   u"DBEdit27"_s,    u"DBEdit28"_s, u"DBEdit3"_s,  u"DBEdit2"_s,   u"DBEdit1"_s,
                         u"DBEdit4"_s,    u"DBEdit5"_s,     u"DBEdit8"_s,  u"DBEdit9"_s,  u"DBEdit39"_s,  u"DBEdit40"_s,
                         u"DBEdit30"_s,   u"DBEdit31"_s,    u"DBEdit32"_s, u"DBEdit33"_s, u"RG_Idioma"_s, u"DBRG_Imo"_s,
                         u"DBRG_Carga"_s, u"DBRG_Payable"_s}));
        w.PageControl1->setCurrentIndex(1);
        QCOMPARE(walk(w.DBMemo1, 14),
                 (QStringList{u"DBMemo1"_s, u"DBMemo2"_s, u"DBEdit6"_s, u"DBEdit13"_s, u"DBEdit7"_s, u"DBEdit10"_s,
                              u"DBComboBox3"_s, u"DBRG_Emissao"_s, u"DBRG_AsPer"_s, u"DBEdit12"_s, u"DBEdit29"_s,
                              u"SB_Pega1"_s, u"SB_Cntr"_s, u"SB_SD"_s}));
        DM_BL->qyBLS->cancel();

        StoreFixture::showBl(1);
        TF_Container::openQuery();
        {
            auto editor = shown(std::make_unique<TF_Container>());
            QCOMPARE(walk(editor->SB_Inclusao, 16),
                     (QStringList{u"SB_Inclusao"_s, u"SB_Edit"_s, u"SB_Calendario"_s, u"BB_Delete"_s, u"BB_Fechar"_s,
                                  u"DBEdit15"_s, u"DBComboBox2"_s, u"DBEdit23"_s, u"DBEdit24"_s, u"DBEdit17"_s,
                                  u"DBEdit18"_s, u"DBEdit19"_s, u"DBEdit20"_s, u"DBEdit21"_s, u"DBEdit22"_s,
                                  u"SB_Inclusao"_s}));
        }
        TF_SD::openQueries();
        {
            auto editor = shown(std::make_unique<TF_SD>());
            QCOMPARE(walk(editor->SB_Inclusao, 17),
                     (QStringList{u"SB_Inclusao"_s, u"SB_Edit"_s, u"SB_Calendario"_s, u"BB_Delete"_s, u"BB_Fechar"_s,
                                  u"DBEdit2"_s, u"DBDateEdit9"_s, u"DBEdit3"_s, u"DBEdit4"_s, u"DBEdit8"_s,
                                  u"DBRG_Tipo"_s, u"DBEdit1"_s, u"DBGrid1"_s, u"EdNCM"_s, u"SB_IncNCM"_s,
                                  u"SB_CancNCM"_s, u"SB_Inclusao"_s}));
        }
        DM_BL->qyMostra->setOrder(TF_Procura::orderColumn(0));
        DM_BL->qyMostra->open();
        QCOMPARE(walk(shown(std::make_unique<TF_Procura>())->Edit1, 8),
                 (QStringList{u"Edit1"_s, u"SB_Confirma"_s, u"SB_Calendario"_s, u"SB_Duplicar"_s, u"BB_Delete"_s,
                              u"BB_Fechar"_s, u"DBGrid1"_s, u"Edit1"_s}));
        QCOMPARE(
            walk(shown(std::make_unique<TF_Duplicar>(1))->CB_Shipper, 23),
            (QStringList{u"CB_Shipper"_s,  u"CB_Consignee"_s, u"CB_Notify"_s,    u"CB_Carga"_s,     u"CB_Imo"_s,
                         u"CB_Emissao"_s,  u"CB_AsPer"_s,     u"CB_Marks"_s,     u"CB_Descricao"_s, u"CB_Reserva"_s,
                         u"CB_RefShip"_s,  u"CB_Receipt"_s,   u"CB_Discharge"_s, u"CB_Vessel"_s,    u"CB_Bill"_s,
                         u"CB_Payable"_s,  u"CB_Loading"_s,   u"CB_Delivery"_s,  u"CB_Voyage"_s,    u"CB_Todos"_s,
                         u"SB_Confirma"_s, u"SB_Cancela"_s,   u"CB_Shipper"_s}));
        QCOMPARE(walk(shown(std::make_unique<TF_TXT>())->SB_Confirma, 15),
                 (QStringList{u"SB_Confirma"_s, u"SB_Calendario"_s, u"SB_Fechar"_s, u"qt_tabwidget_tabbar"_s,
                              u"DBMemo1"_s, u"DBMemo2"_s, u"DBEdit1"_s, u"DBEdit2"_s, u"DBEdit3"_s, u"DBEdit4"_s,
                              u"DBRG_Carga"_s, u"DBRG_Imo"_s, u"DBRG_AsPer"_s, u"DBRG_Emissao"_s, u"SB_Confirma"_s}));
        auto attach = shown(std::make_unique<TF_MandaMemo>());
        attach->RG_Cntr_item1->click(); // the container line's boxes are enabled only for attaching containers
        QCOMPARE(walk(attach->SB_Confirma, 14),
                 (QStringList{u"SB_Confirma"_s, u"SB_Fechar"_s, u"RG_Cntr"_s, u"RG_SD"_s, u"RG_NCM"_s, u"RG_Imo"_s,
                              u"CB_Num"_s, u"CB_Tipo"_s, u"CB_Lacre"_s, u"CB_Bruto"_s, u"CB_Tara"_s, u"CB_Vol"_s,
                              u"CB_TpVol"_s, u"SB_Confirma"_s}));
    }

    // Radio choices are one control: exclusive, one Tab stop, arrows move the choice, radio buttons to assistive
    // technology, and the chosen item chosen again changes nothing.
    void radioGroupsAreOneControl()
    {
        TF_Principal w;
        show(&w);
        openBl(&w);
        QSignalSpy changes(w.DBRG_Carga, &TDBRadioGroup::changed);
        const QList<QRadioButton *> carga = w.DBRG_Carga->buttons();

        // Viewing: the arrows move the focus only.
        carga.at(1)->setFocus(Qt::TabFocusReason);
        QTest::keyClick(carga.at(1), Qt::Key_Left);
        QCOMPARE(DM_BL->qyBLS->text(u"Bls_Carga"_s), u"FCL"_s);
        QVERIFY(carga.at(1)->isChecked());

        QTest::mouseClick(w.SB_Edit, Qt::LeftButton);
        carga.at(1)->setFocus(Qt::TabFocusReason);
        QTest::keyClick(carga.at(1), Qt::Key_Left);
        QCOMPARE(DM_BL->qyBLS->text(u"Bls_Carga"_s), u"LCL"_s);
        QVERIFY(carga.at(0)->isChecked() && !carga.at(1)->isChecked());
        QCOMPARE(changes.count(), 1);
        QCOMPARE(carga.at(0)->focusPolicy() & Qt::TabFocus, Qt::TabFocus);
        QCOMPARE(carga.at(1)->focusPolicy() & Qt::TabFocus, 0);
        QTest::keyClick(carga.at(0), Qt::Key_Right);
        QCOMPARE(DM_BL->qyBLS->text(u"Bls_Carga"_s), u"FCL"_s);
        QCOMPARE(changes.count(), 2);

        QTest::mouseClick(carga.at(1), Qt::LeftButton, {}, QPoint(6, carga.at(1)->height() / 2));
        QCOMPARE(changes.count(), 2);
        DM_BL->qyBLS->cancel();

        for (QRadioButton *item : w.findChildren<QRadioButton *>()) {
            QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(item);
            QVERIFY(accessible);
            QCOMPARE(accessible->role(), QAccessible::RadioButton);
            QCOMPARE(accessible->parent()->role(), QAccessible::Grouping);
        }

        // The language in force chosen again does not switch: the counts on the buttons stay.
        w.ContaDetalhes();
        const QString containers = w.SB_Cntr->text();
        QVERIFY(containers.contains(u'1'));
        QTest::mouseClick(w.RB_POR, Qt::LeftButton, {}, QPoint(6, w.RB_POR->height() / 2));
        QCOMPARE(w.SB_Cntr->text(), containers);
        QTest::mouseClick(w.RB_ING, Qt::LeftButton, {}, QPoint(6, w.RB_ING->height() / 2));
        QCOMPARE(DM_BL->IdiomaAtual(), 2);
        QVERIFY(w.RB_ING->isChecked() && !w.RB_POR->isChecked());
        QTest::mouseClick(w.RB_POR, Qt::LeftButton, {}, QPoint(6, w.RB_POR->height() / 2));
        QCOMPARE(DM_BL->IdiomaAtual(), 1);
    }

    // Before any BL is opened, and after a search that chose nothing, the buttons that need a BL give the notice.
    void startStateButtonsGiveNotices_data()
    {
        QTest::addColumn<bool>("afterEmptySearch");
        QTest::newRow("at start") << false;
        QTest::newRow("after an empty search") << true;
    }
    void startStateButtonsGiveNotices()
    {
        QFETCH(bool, afterEmptySearch);
        store.tearDown();
        store.setUp();
        TF_Principal w;
        show(&w);
        if (afterEmptySearch) {
            DialogDriver driver;
            driver.handle([](QWidget *search) {
                QTest::mouseClick(search->findChild<QWidget *>(u"SB_Confirma"_s), Qt::LeftButton);
            });
            QTest::mouseClick(w.SB_Procura, Qt::LeftButton);
            QVERIFY2(driver.allAnswered(), qPrintable(driver.report()));
        }
        // Every button that acts on the BL on screen gives the notice; the others open their windows. Incluir,
        // Procurar and the close button start something else.
        const QString none = u"Não tem Registro selecionado"_s;
        const QHash<QString, QString> expected{{u"SB_Calendario"_s, u"Calendar"_s},
                                               {u"SB_Help"_s, u"Zereva Sistemas"_s}};
        QStringList enabled;
        for (QAbstractButton *button : w.findChildren<QAbstractButton *>(QRegularExpression(u"^SB_"_s))) {
            if (!button->isEnabled() ||
                QStringList{u"SB_Inclusao"_s, u"SB_Procura"_s, u"SB_Fechar"_s}.contains(button->objectName()))
                continue;
            enabled << button->objectName();
            DialogCatcher catcher(&w);
            button->click();
            QTRY_COMPARE(catcher.seen.size(), 1);
            QCOMPARE(catcher.seen.first(), expected.value(button->objectName(), none));
        }
        enabled.sort();
        QStringList buttons{u"SB_Calendario"_s, u"SB_Cntr"_s,  u"SB_Help"_s,
                            u"SB_Impressao"_s,  u"SB_Pega1"_s, u"SB_SD"_s};
        if (afterEmptySearch)
            buttons << u"SB_Edit"_s << u"SB_TXT"_s;
        buttons.sort();
        QCOMPARE(enabled, buttons);
    }

    // The manual opened from the about box takes the mouse while the box is open, and lies beside the box; the main
    // window waits for the box as before.
    void manualUsableBesideTheAboutBox()
    {
        const QString site = QDir::current().filePath(u"site"_s);
        QVERIFY(QDir().mkpath(site + u"/help/manuais/bl"_s));
        QFile page(site + u"/help/manuais/bl/P_Tressal.htm"_s);
        QVERIFY(page.open(QIODevice::WriteOnly));
        page.write("<html><head><title>Manual</title></head><body>manual</body></html>");
        page.close();
        TAboutBox::setManualSite(QUrl::fromLocalFile(site).toString());

        TF_Principal w;
        show(&w);
        DialogDriver driver;
        bool checked = false;
        driver.handle([&](QWidget *box) {
            // Sair, also when a check fails, so that the test goes on.
            const auto leave = qScopeGuard(
                [box] { QTest::mouseClick(box->findChild<QPushButton *>(u"SpeedButton1"_s), Qt::LeftButton); });
            QTest::mouseClick(box->findChild<QPushButton *>(u"SB_Manual"_s), Qt::LeftButton);
            QWidget *browser = nullptr;
            for (QWidget *window : QApplication::topLevelWidgets())
                if (window->objectName() == u"F_Browser")
                    browser = window;
            QVERIFY(browser);
            QVERIFY(!browser->frameGeometry().intersects(box->frameGeometry()));

            // A click from the window system reaches the browser window and not the main window.
            struct Clicks : QObject
            {
                int count = 0;
                bool eventFilter(QObject *, QEvent *e) override
                {
                    count += e->type() == QEvent::MouseButtonPress;
                    return false;
                }
            } browserClicks, mainClicks;
            browser->windowHandle()->installEventFilter(&browserClicks);
            w.windowHandle()->installEventFilter(&mainClicks);
            QTest::mouseClick(browser->windowHandle(), Qt::LeftButton, {}, QPoint(5, 5));
            QTest::mouseClick(w.windowHandle(), Qt::LeftButton, {}, QPoint(5, 5));
            browser->windowHandle()->removeEventFilter(&browserClicks);
            w.windowHandle()->removeEventFilter(&mainClicks);
            QCOMPARE(browserClicks.count, 1);
            QCOMPARE(mainClicks.count, 0);
            browser->close();
            QVERIFY(box->isVisible());
            checked = true;
        });
        QTest::mouseClick(w.SB_Help, Qt::LeftButton);
        QVERIFY2(driver.allAnswered(), qPrintable(driver.report()));
        QVERIFY(checked);
    }

    // Where the browser goes beside another window.
    void browserPlacedClearOfAWindow_data()
    {
        QTest::addColumn<QRect>("keepClear");
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QRect>("placed");
        const QRect wanted(100, 42, 690, 550);
        QTest::newRow("apart") << QRect(900, 100, 273, 284) << QRect(0, 0, 1920, 1080) << wanted;
        QTest::newRow("room on the left")
            << QRect(700, 398, 273, 284) << QRect(0, 0, 1920, 1080) << QRect(6, 42, 690, 550);
        QTest::newRow("narrowed on the wider side")
            << QRect(546, 242, 273, 284) << QRect(0, 0, 1366, 768) << QRect(823, 42, 543, 550);
        QTest::newRow("above when no side has room")
            << QRect(200, 400, 400, 100) << QRect(0, 0, 800, 600) << QRect(100, 0, 690, 396);
    }
    void browserPlacedClearOfAWindow()
    {
        QFETCH(QRect, keepClear);
        QFETCH(QRect, available);
        QFETCH(QRect, placed);
        const QRect result = BrowserLauncher::clearOf(QRect(100, 42, 690, 550), keepClear, available);
        QCOMPARE(result, placed);
        QVERIFY(!result.intersects(keepClear));
        QVERIFY(available.contains(result));
    }
};

int main(int argc, char *argv[])
{
    TestEnv env;
    BrowserLauncher::prepareApplication();
    DalvoraApplication app(argc, argv);
    prepareTestApplication();
    TestKeyboard tc;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&tc, argc, argv);
}

#include "tst_keyboard.moc"
