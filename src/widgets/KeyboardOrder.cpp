#include "KeyboardOrder.h"

#include <QRadioButton>

void KeyboardOrder::set(const QList<QWidget *> &stops)
{
    QList<QWidget *> chain;
    for (QWidget *stop : stops) {
        const QList<QRadioButton *> items = stop->findChildren<QRadioButton *>(Qt::FindDirectChildrenOnly);
        if (items.isEmpty())
            chain << stop;
        else
            chain.append(QList<QWidget *>(items.begin(), items.end()));
    }
    for (qsizetype i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
}
