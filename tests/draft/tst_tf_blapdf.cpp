#include "ReportEngine.h"
#include "TF_BLAPDF.h"
#include "TestEnv.h"

#include <QFile>
#include <QImage>
#include <QPrinter>
#include <QRegularExpression>

namespace {

constexpr qreal Margin = TF_BLAPDF::Margin;

bool isInk(QRgb pixel)
{
    return qGray(pixel) < 100;
}

// The rightmost and leftmost dark pixel columns inside a strip of the image; -1 when the strip has none.
std::pair<int, int> inkColumns(const QImage &image, const QRect &strip)
{
    int left = -1;
    int right = -1;
    for (int y = strip.top(); y <= strip.bottom(); ++y) {
        for (int x = strip.left(); x <= strip.right(); ++x) {
            if (isInk(image.pixel(x, y))) {
                left = left < 0 ? x : qMin(left, x);
                right = qMax(right, x);
            }
        }
    }
    return {left, right};
}

QStringList numberedLines(int count)
{
    QStringList lines;
    for (int i = 1; i <= count; ++i)
        lines << QStringLiteral("LINE %1 OF THE DESCRIPTION").arg(i);
    return lines;
}

} // namespace

class TestDraftPage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void emptyDraftPrintsTheFullPage()
    {
        TF_BLAPDF form;
        const PreparedReport report = form.prepare();
        QCOMPARE(report.pageCount(), 1);
        QCOMPARE(report.pageSize(), QSizeF(794, 1123));
        QCOMPARE(report.item(0, QStringLiteral("RLSystemInfo4"))->text, QStringLiteral("Page: 1 / 1"));
        QCOMPARE(report.item(0, QStringLiteral("PDF_Gross1"))->rect, QRectF(Margin + 474, 420 + 7, 70, 13));
        QCOMPARE(report.item(0, QStringLiteral("PDF_NetWeight2"))->rect, QRectF(Margin + 632, 420 + 23, 70, 13));
        QCOMPARE(report.item(0, QStringLiteral("RLLabel20"))->rect.topLeft(), QPointF(Margin + 12, 398 + 4));
        QCOMPARE(report.item(0, QStringLiteral("RLLabel14"))->rect.topLeft(), QPointF(Margin + 16, 974 + 8));
        QCOMPARE(report.item(0, QStringLiteral("RLLabel12"))->text, QStringLiteral("Nº B/L"));
        QCOMPARE(report.item(0, QStringLiteral("RLImage1"))->image.size(), QSize(224, 48)); // decoded JPEG

        const QImage page = report.pageImage(0);
        // The body grid runs from the column header down to the footer spacer, empty as the body is.
        for (int x : {46, 254, 510, 588, 666, 746}) {
            QVERIFY2(isInk(page.pixel(x, 430)), qPrintable(QString::number(x)));
            QVERIFY2(isInk(page.pixel(x, 960)), qPrintable(QString::number(x)));
        }
        QVERIFY(isInk(page.pixel(400, 966)));
        // The header frame, the footer box, the logo and the watermark.
        QVERIFY(isInk(page.pixel(Margin + 8, Margin + 200)));
        QVERIFY(isInk(page.pixel(400, 974 + 76)));
        QVERIFY(inkColumns(page, QRect(Margin + 12, Margin + 24, 224, 48)).first >= 0);
        const QImage watermark = page.copy(QRect(120, 600, 400, 200));
        bool silver = false;
        for (int y = 0; y < watermark.height() && !silver; ++y)
            for (int x = 0; x < watermark.width() && !silver; ++x)
                silver = watermark.pixel(x, y) == qRgb(192, 192, 192);
        QVERIFY(silver);
    }

    void longDescriptionSpreadsOverTwoPages()
    {
        TF_BLAPDF form;
        const QStringList description = numberedLines(60);
        form.setLines(QStringLiteral("PDF_Desciption"), description);
        const PreparedReport report = form.prepare();
        QCOMPARE(report.pageCount(), 2);

        QStringList printed;
        for (int page = 0; page < 2; ++page) {
            for (const char *name : {"Watermark", "RLLabel8", "RLLabel18", "RLLabel20", "RLLabel24", "RLLabel14",
                                     "RLLabel2", "RLLabel25", "RLImage1"})
                QVERIFY2(report.item(page, QString::fromLatin1(name)), name);
            QCOMPARE(report.item(page, QStringLiteral("RLSystemInfo4"))->text,
                     QStringLiteral("Page: %1 / 2").arg(page + 1));
            const ReportItem *part = report.item(page, QStringLiteral("PDF_Desciption"));
            QCOMPARE(part->rect.topLeft(), QPointF(Margin + 220, 420 + 5));
            QVERIFY(part->rect.bottom() <= 958);
            printed << part->lines;
        }
        QCOMPARE(printed, description);
        // The figures belong to the band's first part only.
        QVERIFY(report.item(0, QStringLiteral("PDF_Gross1")));
        QVERIFY(!report.item(1, QStringLiteral("PDF_Gross1")));

        // The second page is drawn complete: grid, header frame, footer box.
        const QImage second = report.pageImage(1);
        QVERIFY(isInk(second.pixel(46, 900)));
        QVERIFY(isInk(second.pixel(Margin + 708, Margin + 100)));
        QVERIFY(isInk(second.pixel(400, 974 + 2)));
    }

    void blankMemoLinesKeepTheirPlace()
    {
        TF_BLAPDF form;
        form.setLines(QStringLiteral("PDF_MarksNumber"), {QStringLiteral("FIRST"), QString(), QStringLiteral("THIRD")});
        const PreparedReport report = form.prepare();
        const ReportItem *marks = report.item(0, QStringLiteral("PDF_MarksNumber"));
        QCOMPARE(marks->lines.size(), 3);
        const QImage page = report.pageImage(0);
        const int top = int(marks->rect.top());
        const int line = int(marks->lineHeight);
        const QRect column(Margin + 12, 0, 200, line);
        QVERIFY(inkColumns(page, column.translated(0, top)).first >= 0);
        QCOMPARE(inkColumns(page, column.translated(0, top + line)).first, -1);
        QVERIFY(inkColumns(page, column.translated(0, top + 2 * line)).first >= 0);
    }

    void figuresEndOnTheirRightEdge_data()
    {
        QTest::addColumn<QString>("figure");
        QTest::newRow("zero") << QStringLiteral("0,000");
        QTest::newRow("thousands") << QStringLiteral("1.234,500");
        QTest::newRow("ten millions") << QStringLiteral("12.345.678,900");
        QTest::newRow("wider than the slot") << QStringLiteral("999.999.999.999,999");
    }

    void figuresEndOnTheirRightEdge()
    {
        QFETCH(QString, figure);
        TF_BLAPDF form;
        form.setText(QStringLiteral("PDF_Gross1"), figure);
        const PreparedReport report = form.prepare();
        const QImage page = report.pageImage(0);
        const int right = int(Margin + 474 + 70); // x 544 of the band
        const auto [left, last] = inkColumns(page, QRect(Margin + 473, 420 + 7, 77, 13));
        QVERIFY2(last < right && last >= right - 5, qPrintable(QString::number(last)));
        QVERIFY2(left >= Margin + 474, qPrintable(QString::number(left)));
        // Every digit is drawn: a figure wider than its slot is drawn smaller, never cut (it would read as another).
        const ReportItem *item = report.item(0, QStringLiteral("PDF_Gross1"));
        const QFont font = PreparedReport::drawingFont(*item);
        QVERIFY(QFontMetricsF(font).horizontalAdvance(figure) <= item->rect.width());
        QCOMPARE(font.pixelSize() < item->font.pixelSize(),
                 QFontMetricsF(item->font).horizontalAdvance(figure) > item->rect.width());
    }

    void fixedSlotsAreCutSelfSizingOnesRunOn()
    {
        TF_BLAPDF form;
        const QString longText = QStringLiteral("A VERY LONG NAME THAT NEEDS FAR MORE THAN ONE HUNDRED AND SIXTY PX");
        form.setText(QStringLiteral("RLL_Vessel"), longText);
        form.setText(QStringLiteral("PDF_Shipper1"), longText);
        const QImage page = form.prepare().pageImage(0);

        const int vesselEdge = int(Margin + 360 + 165);
        const int vesselInk = inkColumns(page, QRect(Margin + 360, Margin + 186, 175, 13)).second;
        QVERIFY2(vesselInk < vesselEdge && vesselInk > vesselEdge - 10, qPrintable(QString::number(vesselInk)));

        const int shipperInk = inkColumns(page, QRect(Margin + 12, Margin + 110, 330, 13)).second;
        QVERIFY2(shipperInk > Margin + 12 + 250, qPrintable(QString::number(shipperInk)));
    }

    void pageCounterIsRightAligned()
    {
        TF_BLAPDF form;
        const QImage page = form.prepare().pageImage(0);
        const int edge = int(Margin + 382 + 265);
        const int ink = inkColumns(page, QRect(Margin + 382, Margin + 57, 280, 16)).second;
        QVERIFY2(ink < edge && ink >= edge - 3, qPrintable(QString::number(ink)));
    }

    void watermarkRisesFromItsPlace()
    {
        TF_BLAPDF form;
        const QImage page = form.prepare().pageImage(0);
        int minX = page.width(), minY = page.height(), maxY = 0;
        int xAtTop = 0, xAtBottom = 0;
        for (int y = 420; y < 960; ++y) { // the body, where nothing else is grey
            for (int x = 0; x < page.width(); ++x) {
                if (page.pixel(x, y) != qRgb(192, 192, 192))
                    continue;
                minX = qMin(minX, x);
                if (y < minY) {
                    minY = y;
                    xAtTop = x;
                }
                if (y > maxY) {
                    maxY = y;
                    xAtBottom = x;
                }
            }
        }
        QVERIFY2(minX >= 88 && minX < 88 + 30, qPrintable(QString::number(minX)));
        QVERIFY2(minY >= 477 && minY < 477 + 40, qPrintable(QString::number(minY)));
        // Rising from left to right: the top of the text is far to the right of its bottom.
        QVERIFY2(xAtTop > xAtBottom + 300, qPrintable(QStringLiteral("%1 %2").arg(xAtTop).arg(xAtBottom)));
    }

    void unknownSlotIsRefused()
    {
        TF_BLAPDF form;
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, form.setText(QStringLiteral("RLL_Nothing"), QString()));
    }

    void printsEveryPageOrARangeToPdf_data()
    {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::addColumn<int>("pages");
        QTest::newRow("all") << 1 << 0 << 2;
        QTest::newRow("second only") << 2 << 2 << 1;
    }

    void printsEveryPageOrARangeToPdf()
    {
        QFETCH(int, first);
        QFETCH(int, last);
        QFETCH(int, pages);
        TF_BLAPDF form;
        form.setLines(QStringLiteral("PDF_Desciption"), numberedLines(60));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QStringLiteral("draft.pdf"));
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setFullPage(true);
        QVERIFY(form.prepare().print(printer, first, last));
        QFile file(QStringLiteral("draft.pdf"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray pdf = file.readAll();
        QVERIFY(pdf.startsWith("%PDF"));
        static const QRegularExpression pageObject(QStringLiteral("/Type\\s*/Page[^s]"));
        QCOMPARE(QString::fromLatin1(pdf).count(pageObject), pages);
    }
};

DALVORA_TEST_MAIN(TestDraftPage)
#include "tst_tf_blapdf.moc"
