#include "TypedValue.h"

#include "TDBDateEdit.h"
#include "TDBEdit.h"

#include <QFocusEvent>
#include <QWidget>

bool TypedValue::commitFocused(const QWidget *window)
{
    QWidget *focus = window->focusWidget();
    if (auto *edit = qobject_cast<TDBEdit *>(focus))
        return edit->commit();
    if (auto *date = qobject_cast<TDBDateEdit *>(focus))
        return date->commit();
    return true;
}

void TypedValue::discardFocused(const QWidget *window)
{
    QWidget *focus = window->focusWidget();
    if (auto *edit = qobject_cast<TDBEdit *>(focus))
        edit->discard();
    else if (auto *date = qobject_cast<TDBDateEdit *>(focus))
        date->discard();
}

bool TypedValue::leavesForAWhile(const QFocusEvent *event)
{
    return event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason;
}
