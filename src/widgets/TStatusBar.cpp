#include "TStatusBar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>

TStatusBar::TStatusBar(QWidget *parent) : QWidget(parent)
{
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    row->addStretch();
}

void TStatusBar::setPanelWidths(const QList<int> &widths)
{
    qDeleteAll(m_panels);
    m_panels.clear();
    auto *row = static_cast<QHBoxLayout *>(layout());
    for (int i = 0; i < widths.size(); ++i) {
        auto *panel = new QLabel(this);
        panel->setObjectName(QStringLiteral("Panel%1").arg(i));
        panel->setFixedWidth(widths[i]);
        panel->setAlignment(Qt::AlignCenter);
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        row->insertWidget(i, panel);
        m_panels << panel;
    }
}

void TStatusBar::setPanelText(int panel, const QString &text)
{
    if (panel >= 0 && panel < m_panels.size())
        m_panels[panel]->setText(text);
}

QString TStatusBar::panelText(int panel) const
{
    return panel >= 0 && panel < m_panels.size() ? m_panels[panel]->text() : QString();
}

QStringList TStatusBar::panelTexts() const
{
    QStringList texts;
    for (const QLabel *panel : m_panels)
        texts << panel->text();
    return texts;
}

void TStatusBar::setPanelTexts(const QStringList &texts)
{
    for (int i = 0; i < texts.size(); ++i)
        setPanelText(i, texts[i]);
}

void TStatusBar::mouseReleaseEvent(QMouseEvent *event)
{
    QWidget::mouseReleaseEvent(event);
    Q_EMIT clicked();
}
