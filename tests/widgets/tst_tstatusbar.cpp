#include "TStatusBar.h"
#include "TestEnv.h"

#include <QLabel>
#include <QSignalSpy>

class TestStatusBar : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void panelsHoldCentredTextsAndAClickAnywhereIsReported()
    {
        TStatusBar bar;
        bar.resize(753, 19);
        bar.setPanelWidths({60, 80, 100});
        QCOMPARE(bar.panelCount(), 3);
        bar.setPanelText(1, QStringLiteral("10/12/2026"));
        bar.setPanelText(7, QStringLiteral("ignored")); // no such panel
        QCOMPARE(bar.panelTexts(), (QStringList{QString(), QStringLiteral("10/12/2026"), QString()}));
        bar.setProperty("panelTexts", QStringList{QStringLiteral("DALVORA"), QStringLiteral("x")});
        QCOMPARE(bar.panelText(0), QStringLiteral("DALVORA"));
        QCOMPARE(bar.panelText(2), QString());

        const QList<QLabel *> panels = bar.findChildren<QLabel *>();
        QCOMPARE(panels.size(), 3);
        QCOMPARE(panels[2]->width(), 100);
        QCOMPARE(panels[0]->alignment(), Qt::AlignCenter);

        bar.show();
        QSignalSpy clicked(&bar, &TStatusBar::clicked);
        QTest::mouseClick(panels[1], Qt::LeftButton);
        QTest::mouseClick(&bar, Qt::LeftButton, {}, QPoint(700, 9)); // beyond the panels
        QCOMPARE(clicked.count(), 2);
    }
};

DALVORA_TEST_MAIN(TestStatusBar)
#include "tst_tstatusbar.moc"
