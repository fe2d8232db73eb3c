#include "TextEmphasis.h"

#include <QGroupBox>
#include <QTabBar>
#include <QTabWidget>
#include <algorithm>

namespace {
const char *const Property = "emphasis";

void setWeight(QWidget *widget, bool bold)
{
    QFont font = widget->font();
    font.setBold(bold);
    widget->setFont(font);
}
} // namespace

void TextEmphasis::apply(QWidget *widget, const QColor &color, bool bold)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color); // labels, radio buttons and group titles
    palette.setColor(QPalette::ButtonText, color); // tool and push buttons
    widget->setPalette(palette);
    setWeight(widget, bold);
}

void TextEmphasis::applyToTitle(QGroupBox *group, const QColor &color, bool bold)
{
    // Pin the children's text before the group changes, or they would inherit its colour and weight.
    for (QWidget *child : group->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        QPalette palette = child->palette();
        palette.setColor(QPalette::WindowText, palette.color(QPalette::WindowText));
        palette.setColor(QPalette::ButtonText, palette.color(QPalette::ButtonText));
        child->setPalette(palette);
        setWeight(child, child->font().bold());
    }
    apply(group, color, bold);
}

void TextEmphasis::applyFormProperties(QWidget *form)
{
    QList<QWidget *> marked;
    for (QWidget *w : form->findChildren<QWidget *>())
        if (w->property(Property).isValid())
            marked << w;
    std::stable_partition(marked.begin(), marked.end(), [](QWidget *w) { return qobject_cast<QGroupBox *>(w); });
    for (QWidget *w : std::as_const(marked)) {
        const QStringList words = w->property(Property).toString().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        const bool bold = words.contains(QLatin1String("bold"));
        const QColor color = words.contains(QLatin1String("navy")) ? QColor(Qt::darkBlue) : QColor();
        if (words.contains(QLatin1String("tabs"))) {
            if (auto *tabs = qobject_cast<QTabWidget *>(w))
                setWeight(tabs->tabBar(), bold);
        } else if (words.contains(QLatin1String("title"))) {
            if (auto *group = qobject_cast<QGroupBox *>(w))
                applyToTitle(group, color, bold);
        } else {
            apply(w, color.isValid() ? color : w->palette().color(QPalette::WindowText), bold);
        }
    }
}
