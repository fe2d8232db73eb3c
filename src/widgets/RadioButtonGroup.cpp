#include "RadioButtonGroup.h"

#include <QKeyEvent>
#include <QRadioButton>

RadioButtonGroup::RadioButtonGroup(QObject *parent) : QButtonGroup(parent)
{
    setExclusive(true);
    connect(this, &QButtonGroup::buttonToggled, this, [this] { placeTabStop(); });
}

void RadioButtonGroup::addItem(QRadioButton *item)
{
    // The toolkit's exclusive groups move the choice with the arrows; the accessible role stays "radio button".
    item->setAutoExclusive(true);
    item->installEventFilter(this);
    addButton(item, int(buttons().size()));
    placeTabStop();
}

void RadioButtonGroup::setChosen(int index)
{
    QAbstractButton *target = button(index);
    if (target == checkedButton())
        return;
    const QSignalBlocker blocker(this);
    if (!target) {
        // An exclusive group never unchecks its last item by itself.
        setExclusive(false);
        if (QAbstractButton *current = checkedButton())
            current->setChecked(false);
        setExclusive(true);
    } else {
        target->setChecked(true);
    }
    placeTabStop();
}

int RadioButtonGroup::chosen() const
{
    return checkedId();
}

bool RadioButtonGroup::eventFilter(QObject *watched, QEvent *event)
{
    // While nothing is chosen the toolkit's arrows move only the focus, so a clerk who arrows onto an item and goes
    // on has chosen nothing: the arrow chooses the next item (the previous one with Up and Left), as it does once
    // an item is chosen.
    if (event->type() != QEvent::KeyPress || checkedButton())
        return false;
    const int key = static_cast<QKeyEvent *>(event)->key();
    const int step = key == Qt::Key_Down || key == Qt::Key_Right ? 1
                     : key == Qt::Key_Up || key == Qt::Key_Left  ? -1
                                                                 : 0;
    const QList<QAbstractButton *> items = buttons();
    const qsizetype from = items.indexOf(qobject_cast<QAbstractButton *>(watched));
    if (step == 0 || from < 0)
        return false;
    for (qsizetype i = from + step; i >= 0 && i < items.size(); i += step) {
        QAbstractButton *candidate = items.at(i);
        if (candidate->isEnabled() && candidate->isVisible()) {
            candidate->setFocus(Qt::TabFocusReason);
            candidate->click();
            break;
        }
    }
    return true;
}

void RadioButtonGroup::placeTabStop()
{
    const QList<QAbstractButton *> items = buttons();
    QAbstractButton *stop = checkedButton() ? checkedButton() : (items.isEmpty() ? nullptr : items.first());
    for (QAbstractButton *item : items)
        item->setFocusPolicy(item == stop ? Qt::StrongFocus : Qt::ClickFocus);
}
