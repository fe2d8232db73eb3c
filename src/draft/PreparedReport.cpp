#include "PreparedReport.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QTransform>

namespace {

void paintText(QPainter &painter, const ReportItem &item)
{
    painter.setFont(PreparedReport::drawingFont(item));
    painter.setPen(item.color);
    if (item.rotation != 0) {
        // The box of the whole text, turned about its top-left corner, then moved so that the turned box's
        // bounding top-left corner lies on the design position.
        const QFontMetricsF metrics(item.font);
        const QRectF box(0, 0, metrics.horizontalAdvance(item.text), metrics.height());
        QTransform turn;
        turn.rotate(-item.rotation);
        painter.save();
        painter.translate(item.rect.topLeft() - turn.mapRect(box).topLeft());
        painter.rotate(-item.rotation);
        if (item.background.isValid())
            painter.fillRect(box, item.background);
        painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, item.text);
        painter.restore();
        return;
    }
    if (item.background.isValid())
        painter.fillRect(item.rect, item.background);
    const int flags = int(item.alignment) | Qt::AlignTop | Qt::TextSingleLine;
    if (item.autoSize) {
        painter.drawText(item.rect, flags | Qt::TextDontClip, item.text);
    } else {
        painter.save();
        painter.setClipRect(item.rect, Qt::IntersectClip);
        painter.drawText(item.rect, flags, item.text);
        painter.restore();
    }
}

void paintMemo(QPainter &painter, const ReportItem &item)
{
    painter.setFont(item.font);
    painter.setPen(item.color);
    QRectF line(item.rect.left(), item.rect.top(), item.rect.width(), item.lineHeight);
    for (const QString &text : item.lines) {
        painter.drawText(line, int(item.alignment) | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip, text);
        line.translate(0, item.lineHeight);
    }
}

} // namespace

QFont PreparedReport::drawingFont(const ReportItem &item)
{
    QFont font = item.font;
    if (!item.shrinkToFit || item.text.isEmpty())
        return font;
    while (font.pixelSize() > 1 && QFontMetricsF(font).horizontalAdvance(item.text) > item.rect.width())
        font.setPixelSize(font.pixelSize() - 1);
    return font;
}

PreparedReport::PreparedReport(const QSizeF &pageSize, const QList<QList<ReportItem>> &pages)
    : m_pageSize(pageSize), m_pages(pages)
{
}

const ReportItem *PreparedReport::item(int page, const QString &name) const
{
    for (const ReportItem &item : m_pages.at(page)) {
        if (item.name == name)
            return &item;
    }
    return nullptr;
}

void PreparedReport::paintPage(QPainter &painter, int page) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    for (const ReportItem &item : m_pages.at(page)) {
        switch (item.kind) {
        case ReportItem::Line:
            painter.fillRect(item.rect, item.color);
            break;
        case ReportItem::Label:
        case ReportItem::PageCounter:
            paintText(painter, item);
            break;
        case ReportItem::Memo:
            paintMemo(painter, item);
            break;
        case ReportItem::Picture:
            painter.drawImage(QRectF(item.rect.topLeft(), QSizeF(item.image.size())), item.image);
            break;
        }
    }
    painter.restore();
}

QImage PreparedReport::pageImage(int page, qreal scale) const
{
    QImage image((m_pageSize * scale).toSize(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.scale(scale, scale);
    paintPage(painter, page);
    return image;
}

bool PreparedReport::print(QPrinter &printer, int first, int last) const
{
    first = qMax(first, 1);
    last = last <= 0 ? pageCount() : qMin(last, pageCount());
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    // The painter starts at the printable area; the design is measured from the paper's corner.
    const QPointF paperOrigin =
        printer.paperRect(QPrinter::DevicePixel).topLeft() - printer.pageRect(QPrinter::DevicePixel).topLeft();
    const qreal scaleX = printer.logicalDpiX() / 96.0;
    const qreal scaleY = printer.logicalDpiY() / 96.0;
    const int copies = printer.supportsMultipleCopies() ? 1 : qMax(1, printer.copyCount());
    bool firstSheet = true;
    for (int copy = 0; copy < copies; ++copy) {
        for (int page = first; page <= last; ++page) {
            if (!firstSheet)
                printer.newPage();
            firstSheet = false;
            painter.save();
            painter.translate(paperOrigin);
            painter.scale(scaleX, scaleY);
            paintPage(painter, page - 1);
            painter.restore();
        }
    }
    return painter.end();
}
