#pragma once

#include <QIcon>
#include <QIconEngine>
#include <QPixmap>
#include <QStyle>
#include <optional>

// The application style's standard icon for a button, read as it is drawn: the style's small image at once, its
// larger ones only when a size or a screen's scale asks for them. Made by the style, the icon reads every image (up
// to 128 pixels) when it is made, and the main window's five icons were a tenth of the program's start.
class StandardIconEngine : public QIconEngine
{
public:
    static QIcon icon(QStyle::StandardPixmap which);

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override;
    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override;
    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override;
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override;
    QIconEngine *clone() const override;

private:
    StandardIconEngine(QStyle::StandardPixmap which, const QPixmap &small);
    bool smallServes(const QSize &size) const;
    const QIcon &full();

    QStyle::StandardPixmap m_which;
    QPixmap m_small;
    std::optional<QIcon> m_full;
};
