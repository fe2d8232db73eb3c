#include "BalloonHints.h"

#include "AppFonts.h"

#include <QApplication>
#include <QEvent>
#include <QProxyStyle>
#include <QToolTip>
#include <QWidget>

namespace {

class BalloonStyle : public QProxyStyle
{
public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override
    {
        if (hint == SH_ToolTip_WakeUpDelay)
            return 500;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

// Every widget, as it is polished, shows its hint for 5000 ms.
class HintDuration : public QObject
{
public:
    using QObject::QObject;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Polish && watched->isWidgetType())
            static_cast<QWidget *>(watched)->setToolTipDuration(5000);
        return false;
    }
};

} // namespace

void BalloonHints::install(QApplication &app)
{
    QApplication::setStyle(new BalloonStyle);
    // setStyle resets the tooltip font: set it afterwards.
    QToolTip::setFont(AppFonts::screen(8, true));
    QToolTip::setPalette(QApplication::palette("QToolTip"));
    app.installEventFilter(new HintDuration(&app));
}
