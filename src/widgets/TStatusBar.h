#pragma once

#include <QList>
#include <QStringList>
#include <QWidget>

class QLabel;

// A status bar of panels with fixed widths and centred texts; a click anywhere on it is reported.
class TStatusBar : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QStringList panelTexts READ panelTexts WRITE setPanelTexts)

public:
    explicit TStatusBar(QWidget *parent = nullptr);

    void setPanelWidths(const QList<int> &widths);
    int panelCount() const { return int(m_panels.size()); }
    void setPanelText(int panel, const QString &text);
    QString panelText(int panel) const;
    QStringList panelTexts() const;
    void setPanelTexts(const QStringList &texts);

Q_SIGNALS:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QList<QLabel *> m_panels;
};
