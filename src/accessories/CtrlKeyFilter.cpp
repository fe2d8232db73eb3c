#include "CtrlKeyFilter.h"

#include <QCoreApplication>
#include <QKeyEvent>

CtrlKeyFilter::CtrlKeyFilter(QObject *owner) : QObject(owner)
{
    setObjectName(QStringLiteral("ApplicationEvents1"));
    QCoreApplication::instance()->installEventFilter(this);
}

bool CtrlKeyFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) {
        if (static_cast<QKeyEvent *>(event)->key() == Qt::Key_Control)
            return true;
    }
    return QObject::eventFilter(watched, event);
}
