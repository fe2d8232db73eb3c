#include "BalloonHints.h"
#include "TestEnv.h"

#include <QFontInfo>
#include <QLineEdit>
#include <QStyle>
#include <QToolTip>

class TestBalloonHints : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void hintsWakeAfterHalfASecondStayFiveAndAreBold()
    {
        BalloonHints::install(*qApp);
        QCOMPARE(QApplication::style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay), 500);
        QVERIFY(QToolTip::font().bold());
        QCOMPARE(QToolTip::font().family(), QStringLiteral("Liberation Sans"));
        QCOMPARE(QToolTip::font().pointSize(), 8);

        QWidget window; // created after the installation, as every window of the program is
        auto *edit = new QLineEdit(&window);
        edit->setToolTip(QStringLiteral("Reserva"));
        window.show();
        QCOMPARE(edit->toolTipDuration(), 5000);
        QCOMPARE(window.toolTipDuration(), 5000);
    }
};

DALVORA_TEST_MAIN(TestBalloonHints)
#include "tst_balloonhints.moc"
