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

    void captions()
    {
        QCOMPARE(TMsgDlg::caption(TMsgDlg::Yes, 3), QStringLiteral("Sí"));
        QCOMPARE(TMsgDlg::caption(TMsgDlg::NoToAll, 1), QStringLiteral("Não Todos"));
        QCOMPARE(TMsgDlg::caption(TMsgDlg::Cancel, 2), QStringLiteral("Cancel"));
        QCOMPARE(TMsgDlg::caption(TMsgDlg::Help, 3), QStringLiteral("Ayuda"));
        QCOMPARE(TMsgDlg::caption(TMsgDlg::Cancel, 9), QStringLiteral("Cancel")); // stock caption
        QCOMPARE(TMsgDlg::result(TMsgDlg::YesToAll), 6);
        QCOMPARE(TMsgDlg::result(TMsgDlg::NoToAll), 7);
    }

    // The layout with the main window's numbers: icon, text beside it, buttons centred under it, and a dialog
    // widened to hold buttons wider than the text.
    void layout_data()
    {
        QTest::addColumn<QSize>("label");
        QTest::addColumn<int>("buttons");
        QTest::addColumn<QSize>("client");
        QTest::addColumn<int>("firstLeft");
        QTest::newRow("one button centred") << QSize(300, 40) << 1 << QSize(388, 108) << 146;
        QTest::newRow("two buttons centred") << QSize(300, 40) << 2 << QSize(388, 108) << 89;
        QTest::newRow("text narrower than the buttons") << QSize(10, 16) << 2 << QSize(238, 100) << 14;
    }
    void layout()
    {
        QFETCH(QSize, label);
        QFETCH(int, buttons);
        QFETCH(QSize, client);
        QFETCH(int, firstLeft);
        TMsgDlg md;
        md.applyPreset(TMsgDlg::MainWindowPreset);
        const TMsgDlg::Geometry g = md.layout(label, buttons);
        QCOMPARE(g.icon, QRect(14, 14, 32, 32));
        QCOMPARE(g.label.topLeft(), QPoint(60, 14));
        QCOMPARE(g.client, client);
        QCOMPARE(g.buttons.first().left(), firstLeft);
        QCOMPARE(g.buttons.first().size(), QSize(95, 26));
        QCOMPARE(g.buttons.first().top(), std::max(46, 14 + label.height()) + 14);
    }

    void shownDialogFollowsTheLanguageAndEscapeCancels()
    {
        TMsgDlg md;
        md.applyPreset(TMsgDlg::MainWindowPreset);
        DialogDriver driver;
        QSize size;
        driver.handle([&](QWidget *dialog) {
            size = dialog->size();
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        QCOMPARE(md.show(QStringLiteral("Uma\\duas\\três|x"), TMsgDlg::Confirmation, 3, TMsgDlg::OkCancelButtons), 2);
        QCOMPARE(driver.seen[0].title, QStringLiteral("Confirmación"));
        QCOMPARE(driver.seen[0].text, QStringLiteral("Uma\nduas\ntrês|x"));
        QCOMPARE(driver.seen[0].buttons, (QStringList{QStringLiteral("OK"), QStringLiteral("Cancelar")}));
        QVERIFY(size.width() >= 2 * 95 + 20);

        driver.press(QStringLiteral("OK"));
        QCOMPARE(md.show(QStringLiteral("x"), TMsgDlg::Information, 2, TMsgDlg::OkButton), 1);
        driver.escape();
        QCOMPARE(md.show(QStringLiteral("x"), TMsgDlg::Information, 2, TMsgDlg::OkButton), 2);
    }
};

DALVORA_TEST_MAIN(TestMsgDlg)
#include "tst_tmsgdlg.moc"
