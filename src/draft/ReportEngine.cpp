#include "ReportEngine.h"

#include <QFontMetricsF>
#include <QTextLayout>
#include <QtMath>

namespace {

// Places a band's elements (or some of them) on the page at the band's position.
void placeItem(QList<ReportItem> &page, ReportItem item, const QPointF &origin)
{
    item.rect.translate(origin);
    page.append(std::move(item));
}

void placeBand(QList<ReportItem> &page, const ReportBand &band, const QPointF &origin)
{
    for (const ReportItem &item : band.items)
        placeItem(page, item, origin);
}

// A growing memo of the detail band being printed: its wrapped lines and how many are on paper already.
struct MemoRun
{
    const ReportItem *design;
    QStringList lines;
    qreal lineHeight;
    qsizetype printed = 0;
};

} // namespace

QStringList ReportEngine::wrap(const QStringList &lines, const QFont &font, qreal width)
{
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    QStringList wrapped;
    wrapped.reserve(lines.size());
    for (const QString &line : lines) {
        if (line.isEmpty()) {
            wrapped.append(QString());
            continue;
        }
        QTextLayout layout(line, font);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine textLine = layout.createLine(); textLine.isValid(); textLine = layout.createLine()) {
            textLine.setLineWidth(width);
            wrapped.append(line.mid(textLine.textStart(), textLine.textLength()));
        }
        layout.endLayout();
    }
    return wrapped;
}

qreal ReportEngine::lineHeight(const QFont &font)
{
    return qCeil(QFontMetricsF(font).lineSpacing());
}

PreparedReport ReportEngine::prepare(const ReportDefinition &report)
{
    QList<QList<ReportItem>> pages;
    QList<ReportItem> page;
    qreal y = 0;
    qreal bodyTop = 0;

    const auto startPage = [&] {
        page = report.pageItems;
        y = report.topMargin;
        for (const ReportBand &band : report.headers) {
            placeBand(page, band, {report.leftMargin, y});
            y += band.height;
        }
        bodyTop = y;
    };
    const auto finishPage = [&] {
        qreal footerY = report.footerTop;
        for (const ReportBand &band : report.footers) {
            placeBand(page, band, {report.leftMargin, footerY});
            footerY += band.height;
        }
        pages.append(std::move(page));
        page = {};
    };

    startPage();
    for (const ReportBand &band : report.details) {
        QList<MemoRun> memos;
        QList<const ReportItem *> fixedItems;
        qreal fixedBottom = band.height; // the band's first part is at least as high as its design
        for (const ReportItem &item : band.items) {
            fixedBottom = qMax(fixedBottom, item.rect.bottom());
            if (item.kind == ReportItem::Memo) {
                const qreal height = item.lineHeight > 0 ? item.lineHeight : lineHeight(item.font);
                memos.append({&item, wrap(item.lines, item.font, item.rect.width()), height});
            } else {
                fixedItems.append(&item);
            }
        }

        bool firstPart = true;
        for (;;) {
            const qreal room = report.footerTop - y;
            const bool atTop = qFuzzyCompare(y, bodyTop);
            if (firstPart && fixedBottom > room && !atTop) {
                finishPage();
                startPage();
                continue;
            }
            qreal height = firstPart ? fixedBottom : 0;
            bool more = false;
            for (MemoRun &memo : memos) {
                const qsizetype left = memo.lines.size() - memo.printed;
                if (left == 0)
                    continue;
                qsizetype fit = qsizetype(qFloor((room - memo.design->rect.top()) / memo.lineHeight));
                if (atTop)
                    fit = qMax<qsizetype>(fit, 1); // a line taller than the whole body still goes somewhere
                const qsizetype count = qBound<qsizetype>(0, fit, left);
                if (count > 0) {
                    ReportItem part = *memo.design;
                    part.lines = memo.lines.mid(memo.printed, count);
                    part.lineHeight = memo.lineHeight;
                    part.rect.setHeight(count * memo.lineHeight);
                    height = qMax(height, part.rect.bottom());
                    placeItem(page, std::move(part), {report.leftMargin, y});
                    memo.printed += count;
                }
                more = more || memo.printed < memo.lines.size();
            }
            if (firstPart) {
                for (const ReportItem *item : fixedItems)
                    placeItem(page, *item, {report.leftMargin, y});
            }
            if (!more) {
                y += height;
                break;
            }
            finishPage();
            startPage();
            firstPart = false;
        }
    }
    finishPage();

    const int total = int(pages.size());
    for (int number = 0; number < total; ++number) {
        for (ReportItem &item : pages[number]) {
            if (item.kind == ReportItem::PageCounter)
                item.text = item.text.arg(number + 1).arg(total);
        }
    }
    return PreparedReport(report.pageSize, pages);
}
