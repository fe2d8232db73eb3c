#pragma once

#include "ReportItem.h"

#include <QList>
#include <QSizeF>

class QImage;
class QPainter;
class QPrinter;

// The pages of a prepared report, each a list of placed elements. A plain value: whoever holds a copy keeps the
// pages, whatever happens to the report design and the data it was filled from.
class PreparedReport
{
public:
    PreparedReport() = default;
    PreparedReport(const QSizeF &pageSize, const QList<QList<ReportItem>> &pages);

    int pageCount() const { return int(m_pages.size()); }
    QSizeF pageSize() const { return m_pageSize; }
    // The elements of a page (0-based), in drawing order, at page coordinates.
    const QList<ReportItem> &items(int page) const { return m_pages.at(page); }
    // The first element of that name on the page; nullptr when the page has none.
    const ReportItem *item(int page, const QString &name) const;

    // The font an element's text is drawn in: its own, or for a figure that would not fit its box, the largest
    // smaller pixel size that fits.
    static QFont drawingFont(const ReportItem &item);

    // Draws a page; the painter's unit is one pixel at 96 per inch, its origin the page's top-left corner.
    void paintPage(QPainter &painter, int page) const;
    // A page drawn on a white image, `scale` device pixels per design pixel.
    QImage pageImage(int page, qreal scale = 1.0) const;
    // Prints pages first..last (1-based, clamped to the report) scaled to the printer's resolution, as many
    // copies as the printer asks for when its print system does not make them itself.
    // False when the printer cannot be started.
    bool print(QPrinter &printer, int first = 1, int last = 0) const;

private:
    QSizeF m_pageSize;
    QList<QList<ReportItem>> m_pages;
};
