#include "DialogDriver.h"
#include "TMsgDlg.h"
#include "TestEnv.h"

#include <QLabel>
#include <QPushButton>

class TestMsgDlg : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void titles_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("title");
        QTest::newRow("warning pt 0") << 0 << 0 << QStringLiteral("Atenção");
        QTest::newRow("error pt") << 1 << 1 << QStringLiteral("Erro");
        QTest::newRow("information en") << 2 << 2 << QStringLiteral("Information");
        QTest::newRow("confirmation es") << 3 << 3 << QStringLiteral("Confirmación");
        QTest::newRow("custom") << 4 << 2 << QStringLiteral("DALVORA - BILL OF LADING");
        QTest::newRow("language 7") << 2 << 7 << QStringLiteral("7");
    }
    void titles()
    {
        QFETCH(int, type);
        QFETCH(int, language);
        QFETCH(QString, title);
        QCOMPARE(TMsgDlg::title(type, language), title);
    }

    void captions_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("caption");
        QTest::newRow("yes pt 0") << int(TMsgDlg::Yes) << 0 << QStringLiteral("Sim");
        QTest::newRow("no-to-all pt") << int(TMsgDlg::NoToAll) << 1 << QStringLiteral("Não Todos");
        QTest::newRow("cancel en") << int(TMsgDlg::Cancel) << 2 << QStringLiteral("Cancel");
        QTest::newRow("yes-to-all en") << int(TMsgDlg::YesToAll) << 2 << QStringLiteral("Yes All");
        QTest::newRow("yes es") << int(TMsgDlg::Yes) << 3 << QStringLiteral("Sí");
        QTest::newRow("cancel es") << int(TMsgDlg::Cancel) << 3 << QStringLiteral("Cancelar");
        QTest::newRow("help es") << int(TMsgDlg::Help) << 3 << QStringLiteral("Ayuda");
        QTest::newRow("stock cancel") << int(TMsgDlg::Cancel) << 9 << QStringLiteral("Cancel");
        QTest::newRow("stock OK, negative language") << int(TMsgDlg::Ok) << -1 << QStringLiteral("OK");
    }
    void captions()
    {
        QFETCH(int, kind);
        QFETCH(int, language);
        QFETCH(QString, caption);
        QCOMPARE(TMsgDlg::caption(TMsgDlg::ButtonKind(kind), language), caption);
    }

    void results()
    {
        const QList<int> expected{6, 7, 1, 2, 3, 4, 5, 8, 7, 6};
        for (int kind = TMsgDlg::Yes; kind < TMsgDlg::Help; ++kind)
            QCOMPARE(TMsgDlg::result(TMsgDlg::ButtonKind(kind)), expected[kind]);
    }

    // The layout with the main window's numbers: icon, text beside it, buttons centred under it, and a dialog
    // widened to hold buttons wider than the text.
    void layout_data()
    {
        QTest::addColumn<int>("preset");
        QTest::addColumn<bool>("icon");
        QTest::addColumn<QSize>("label");
        QTest::addColumn<int>("buttons");
        QTest::addColumn<QSize>("client");
        QTest::addColumn<QPoint>("labelAt");
        QTest::addColumn<QRect>("firstButton");
        const int main = TMsgDlg::MainWindowPreset;
        const int dialog = TMsgDlg::DialogPreset;
        QTest::newRow("one button centred")
            << main << true << QSize(300, 40) << 1 << QSize(388, 108) << QPoint(60, 14) << QRect(146, 68, 95, 26);
        QTest::newRow("two buttons centred")
            << main << true << QSize(300, 40) << 2 << QSize(388, 108) << QPoint(60, 14) << QRect(89, 68, 95, 26);
        QTest::newRow("text narrower than the buttons")
            << main << true << QSize(10, 16) << 2 << QSize(238, 100) << QPoint(60, 14) << QRect(14, 60, 95, 26);
        QTest::newRow("small buttons") << dialog << true << QSize(200, 60) << 2 << QSize(288, 127) << QPoint(60, 14)
                                       << QRect(61, 88, 75, 25);
        QTest::newRow("no icon") << dialog << false << QSize(100, 20) << 1 << QSize(156, 87) << QPoint(28, 14)
                                 << QRect(40, 48, 75, 25);
    }
    void layout()
    {
        QFETCH(int, preset);
        QFETCH(bool, icon);
        QFETCH(QSize, label);
        QFETCH(int, buttons);
        QFETCH(QSize, client);
        QFETCH(QPoint, labelAt);
        QFETCH(QRect, firstButton);
        TMsgDlg md;
        md.applyPreset(TMsgDlg::Preset(preset));
        md.ShowIcon = icon;
        const TMsgDlg::Geometry g = md.layout(label, buttons);
        QCOMPARE(g.icon, icon ? QRect(14, 14, 32, 32) : QRect());
        QCOMPARE(g.label, QRect(labelAt, label));
        QCOMPARE(g.client, client);
        QCOMPARE(g.buttons.size(), buttons);
        QCOMPARE(g.buttons.first(), firstButton);
        QCOMPARE(g.buttons.last().left(), firstButton.left() + (buttons - 1) * (md.BtnWidth + md.BtnSpace));
    }

    // The dialog on screen has the computed client size and places; its buttons carry the window's colours.
    void shownDialogIsLaidOutAsComputed_data()
    {
        QTest::addColumn<int>("preset");
        QTest::addColumn<QColor>("buttonText");
        QTest::newRow("main window: navy buttons") << int(TMsgDlg::MainWindowPreset) << QColor(0, 0, 128);
        QTest::newRow("container window: plain buttons")
            << int(TMsgDlg::DetailWindowPreset) << QApplication::palette().color(QPalette::ButtonText);
        QTest::newRow("duplicate window: navy buttons") << int(TMsgDlg::DuplicatePreset) << QColor(0, 0, 128);
    }
    void shownDialogIsLaidOutAsComputed()
    {
        QFETCH(int, preset);
        QFETCH(QColor, buttonText);
        TMsgDlg md;
        md.applyPreset(TMsgDlg::Preset(preset));
        DialogDriver driver;
        QSize size, labelSize;
        QRect ok, cancel;
        QColor shownText;
        bool okHasFocus = false;
        driver.handle([&](QWidget *dialog) {
            size = dialog->size();
            labelSize = dialog->findChild<QLabel *>(QStringLiteral("message"))->size();
            auto *okButton = dialog->findChild<QPushButton *>(QStringLiteral("button2"));
            ok = okButton->geometry();
            cancel = dialog->findChild<QPushButton *>(QStringLiteral("button3"))->geometry();
            shownText = okButton->palette().color(QPalette::ButtonText);
            okHasFocus = dialog->focusWidget() == okButton;
            QTest::keyClick(dialog->focusWidget(), Qt::Key_Return); // Enter presses the focused button
        });
        QCOMPARE(
            md.show(QStringLiteral("Deseja alterar Peso Bruto ?"), TMsgDlg::Confirmation, 1, TMsgDlg::OkCancelButtons),
            1);
        const TMsgDlg::Geometry g = md.layout(labelSize, 2);
        QCOMPARE(size, g.client);
        QCOMPARE(ok, g.buttons[0]);
        QCOMPARE(cancel, g.buttons[1]);
        QCOMPARE(shownText, buttonText);
        QVERIFY(okHasFocus);
    }

    void shownDialogFollowsTheLanguageAndEscapeCancels()
    {
        TMsgDlg md;
        md.applyPreset(TMsgDlg::MainWindowPreset);
        DialogDriver driver;
        driver.escape();
        QCOMPARE(md.show(QStringLiteral("Uma\\duas\\três|x"), TMsgDlg::Confirmation, 3, TMsgDlg::OkCancelButtons), 2);
        QCOMPARE(driver.seen[0].title, QStringLiteral("Confirmación"));
        QCOMPARE(driver.seen[0].text, QStringLiteral("Uma\nduas\ntrês|x")); // three lines; "|" shown as it is
        QCOMPARE(driver.seen[0].buttons, (QStringList{QStringLiteral("OK"), QStringLiteral("Cancelar")}));
        QCOMPARE(md.lastType(), int(TMsgDlg::Confirmation));
        QCOMPARE(md.lastLanguage(), 3);

        // Escape cancels even where no Cancel button is shown; a window with "|" breaks lines there.
        md.applyPreset(TMsgDlg::DialogPreset);
        driver.press(QStringLiteral("OK")).escape();
        QCOMPARE(md.show(QStringLiteral("a|b\\c"), TMsgDlg::Information, 2, TMsgDlg::OkButton), 1);
        QCOMPARE(driver.seen[1].text, QStringLiteral("a\nb\\c"));
        QCOMPARE(md.show(QStringLiteral("x"), TMsgDlg::Information, 2, TMsgDlg::OkButton), 2);
        QVERIFY2(driver.allAnswered(), qPrintable(driver.report()));
    }

    void helpDoesNotCloseAndCustomShowsTheApplicationTitle()
    {
        TMsgDlg md;
        DialogDriver driver;
        bool openAfterHelp = false;
        driver.handle([&](QWidget *dialog) {
            dialog->findChild<QPushButton *>(QStringLiteral("button10"))->click();
            openAfterHelp = dialog->isVisible();
            dialog->findChild<QPushButton *>(QStringLiteral("button0"))->click();
        });
        QCOMPARE(md.show(QStringLiteral("x"), TMsgDlg::Custom, 1, (1 << TMsgDlg::Yes) | (1 << TMsgDlg::Help)), 6);
        QVERIFY(openAfterHelp);
        QCOMPARE(driver.seen[0].title, QStringLiteral("DALVORA - BILL OF LADING"));
        QCOMPARE(driver.seen[0].buttons, (QStringList{QStringLiteral("Sim"), QStringLiteral("Ajuda")}));
    }

    // An answer that opens a further dialog: the driver answers that one too, then the first goes on.
    void nestedDialogsAreAnsweredInOrder()
    {
        TMsgDlg outer, inner;
        DialogDriver driver;
        int innerResult = 0;
        driver.handle([&](QWidget *dialog) {
            innerResult = inner.show(QStringLiteral("inner"), TMsgDlg::Information, 2, TMsgDlg::OkButton);
            dialog->findChild<QPushButton *>(QStringLiteral("button3"))->click();
        });
        driver.press(QStringLiteral("OK"));
        QCOMPARE(outer.show(QStringLiteral("outer"), TMsgDlg::Confirmation, 1, TMsgDlg::OkCancelButtons), 2);
        QCOMPARE(innerResult, 1);
        QCOMPARE(driver.texts(), (QStringList{QStringLiteral("outer"), QStringLiteral("inner")}));
        QVERIFY2(driver.allAnswered(), qPrintable(driver.report()));
    }

    void missingButtonFailsTheDriverWithoutHanging()
    {
        TMsgDlg md;
        DialogDriver driver;
        driver.press(QStringLiteral("Cancelar"));
        QCOMPARE(md.show(QStringLiteral("x"), TMsgDlg::Error, 1, TMsgDlg::OkButton), 2);
        QVERIFY(!driver.allAnswered());
        QVERIFY(driver.report().contains(QStringLiteral("Cancelar")));
    }
};

DALVORA_TEST_MAIN(TestMsgDlg)
#include "tst_tmsgdlg.moc"
