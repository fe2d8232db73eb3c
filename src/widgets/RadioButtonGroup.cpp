#include "RadioButtonGroup.h"

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

void RadioButtonGroup::placeTabStop()
{
    const QList<QAbstractButton *> items = buttons();
    QAbstractButton *stop = checkedButton() ? checkedButton() : (items.isEmpty() ? nullptr : items.first());
    for (QAbstractButton *item : items)
        item->setFocusPolicy(item == stop ? Qt::StrongFocus : Qt::ClickFocus);
}
