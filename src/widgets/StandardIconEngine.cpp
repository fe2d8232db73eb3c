#include "StandardIconEngine.h"

#include <QApplication>
#include <QPainter>
#include <QStyleOption>

QIcon StandardIconEngine::icon(QStyle::StandardPixmap which)
{
    const QPixmap small = QApplication::style()->standardPixmap(which);
    if (small.isNull())
        return QApplication::style()->standardIcon(which);
    return QIcon(new StandardIconEngine(which, small));
}

StandardIconEngine::StandardIconEngine(QStyle::StandardPixmap which, const QPixmap &small)
    : m_which(which), m_small(small)
{
}

bool StandardIconEngine::smallServes(const QSize &size) const
{
    return size.width() <= m_small.width() && size.height() <= m_small.height();
}

const QIcon &StandardIconEngine::full()
{
    if (!m_full)
        m_full = QApplication::style()->standardIcon(m_which);
    return *m_full;
}

// `size` is in device pixels: a screen's scale comes already multiplied in.
QPixmap StandardIconEngine::pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state)
{
    if (!smallServes(size))
        return full().pixmap(size, mode, state);
    const QSize shownSize = m_small.size().scaled(size, Qt::KeepAspectRatio).boundedTo(m_small.size());
    QPixmap shown = shownSize == m_small.size()
                        ? m_small
                        : m_small.scaled(shownSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    if (mode != QIcon::Normal) {
        // As an icon of images shows the other modes: made by the style from the normal image.
        QStyleOption option(0);
        option.palette = QGuiApplication::palette();
        shown = QApplication::style()->generatedIconPixmap(mode, shown, &option);
    }
    return shown;
}

void StandardIconEngine::paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state)
{
    const qreal scale = painter->device() ? painter->device()->devicePixelRatio() : 1.0;
    painter->drawPixmap(rect, pixmap(rect.size() * scale, mode, state));
}

// Asked for by layouts rather than by drawing, so the style's own answer (its images have nominal sizes that the
// small image may not have exactly) costs nothing at the start.
QSize StandardIconEngine::actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state)
{
    return full().actualSize(size, mode, state);
}

QList<QSize> StandardIconEngine::availableSizes(QIcon::Mode mode, QIcon::State state)
{
    return full().availableSizes(mode, state);
}

QIconEngine *StandardIconEngine::clone() const
{
    return new StandardIconEngine(*this);
}
