#include "ReportEngine.h"
#include "TestEnv.h"

#include <QFontMetricsF>

namespace {

// A small page: header 10..30, body 30..250, footer from 250; memo lines 10 px apart from 5 px into the band,
// so 21 lines fit on every page.
constexpr qreal BodyTop = 30;
constexpr qreal FooterTop = 250;
constexpr int LinesPerPage = 21;

ReportItem textItem(const QString &name, const QRectF &rect, const QString &text = {})
{
    ReportItem item;
    item.name = name;
    item.rect = rect;
    item.text = text;
    item.font = QFont(QStringLiteral("Liberation Sans"));
    item.font.setPixelSize(11);
    return item;
}

ReportItem memo(const QString &name, qreal left, qreal top, const QStringList &lines)
{
    ReportItem item = textItem(name, {left, top, 400, 10});
    item.kind = ReportItem::Memo;
    item.lines = lines;
    item.lineHeight = 10;
    return item;
}

ReportDefinition smallReport(const QList<ReportBand> &details)
{
    ReportDefinition report;
    report.pageSize = QSizeF(500, 300);
    report.leftMargin = 10;
    report.topMargin = 10;
    report.footerTop = FooterTop;
    report.pageItems = {textItem(QStringLiteral("Mark"), {0, 0, 50, 10}, QStringLiteral("M"))};
    report.headers = {ReportBand{QStringLiteral("Header"), 20, {textItem(QStringLiteral("H"), {0, 0, 50, 10})}}};
    ReportItem counter = textItem(QStringLiteral("Counter"), {0, 0, 100, 10}, QStringLiteral("%1 of %2"));
    counter.kind = ReportItem::PageCounter;
    report.footers = {ReportBand{QStringLiteral("Footer"), 20, {counter}}};
    report.details = details;
    return report;
}

QStringList numbered(int count, const QString &prefix = QStringLiteral("L"))
{
    QStringList lines;
    for (int i = 1; i <= count; ++i)
        lines << prefix + QString::number(i);
    return lines;
}

QList<const ReportItem *> named(const PreparedReport &report, int page, const QString &name)
{
    QList<const ReportItem *> found;
    for (const ReportItem &item : report.items(page)) {
        if (item.name == name)
            found << &item;
    }
    return found;
}

} // namespace

class TestReportEngine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void memoSplitsBetweenLinesAcrossPages_data()
    {
        QTest::addColumn<int>("lines");
        QTest::addColumn<QList<int>>("perPage");
        QTest::newRow("empty") << 0 << QList<int>{0};
        QTest::newRow("one page full") << LinesPerPage << QList<int>{LinesPerPage};
        QTest::newRow("one line over") << LinesPerPage + 1 << QList<int>{LinesPerPage, 1};
        QTest::newRow("three pages") << 2 * LinesPerPage + 5 << QList<int>{LinesPerPage, LinesPerPage, 5};
        QTest::newRow("2000 lines") << 2000 << [] {
            QList<int> counts(2000 / LinesPerPage, LinesPerPage);
            counts << 2000 % LinesPerPage;
            return counts;
        }();
    }

    void memoSplitsBetweenLinesAcrossPages()
    {
        QFETCH(int, lines);
        QFETCH(QList<int>, perPage);
        const QStringList text = numbered(lines);
        ReportBand band{QStringLiteral("Detail"), 30, {memo(QStringLiteral("Memo"), 5, 5, text)}};
        band.items << textItem(QStringLiteral("Figure"), {300, 7, 50, 10}, QStringLiteral("1,000"));
        const PreparedReport report = ReportEngine::prepare(smallReport({band}));

        QCOMPARE(report.pageCount(), perPage.size());
        QStringList printed;
        for (int page = 0; page < report.pageCount(); ++page) {
            // Every page has its page-level elements, header and footer, and knows the number of pages.
            QCOMPARE(named(report, page, QStringLiteral("Mark")).size(), 1);
            QCOMPARE(named(report, page, QStringLiteral("H")).first()->rect.topLeft(), QPointF(10, 10));
            QCOMPARE(named(report, page, QStringLiteral("Counter")).first()->text,
                     QStringLiteral("%1 of %2").arg(page + 1).arg(report.pageCount()));
            QCOMPARE(named(report, page, QStringLiteral("Figure")).size(), page == 0 ? 1 : 0);
            const auto parts = named(report, page, QStringLiteral("Memo"));
            const int count = parts.isEmpty() ? 0 : int(parts.first()->lines.size());
            QCOMPARE(count, perPage.at(page));
            if (count > 0) {
                QCOMPARE(parts.first()->rect.top(), BodyTop + 5);
                QVERIFY(parts.first()->rect.bottom() <= FooterTop);
                printed << parts.first()->lines;
            }
        }
        QCOMPARE(printed, text); // no line lost, doubled or reordered
    }

    void memosOfOneBandSplitEachOnTheirOwn()
    {
        ReportBand band{
            QStringLiteral("Detail"),
            30,
            {memo(QStringLiteral("Long"), 5, 5, numbered(30)), memo(QStringLiteral("Short"), 200, 15, numbered(20))}};
        const PreparedReport report = ReportEngine::prepare(smallReport({band}));
        QCOMPARE(report.pageCount(), 2);
        QCOMPARE(named(report, 0, QStringLiteral("Long")).first()->lines.size(), LinesPerPage);
        QCOMPARE(named(report, 0, QStringLiteral("Short")).first()->lines, numbered(20));
        QCOMPARE(named(report, 1, QStringLiteral("Long")).first()->lines.size(), 30 - LinesPerPage);
        QVERIFY(named(report, 1, QStringLiteral("Short")).isEmpty());
    }

    void bandThatDoesNotFitStartsTheNextPage()
    {
        const ReportBand first{QStringLiteral("First"), 30, {memo(QStringLiteral("Memo"), 5, 5, numbered(20))}};
        const ReportBand second{QStringLiteral("Second"), 40, {textItem(QStringLiteral("Total"), {5, 20, 50, 10})}};
        const PreparedReport report = ReportEngine::prepare(smallReport({first, second}));
        QCOMPARE(report.pageCount(), 2);
        QVERIFY(named(report, 0, QStringLiteral("Total")).isEmpty());
        QCOMPARE(named(report, 1, QStringLiteral("Total")).first()->rect.topLeft(), QPointF(15, BodyTop + 20));
    }

    void wrapKeepsWholeWordsAndBlankLines_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<qreal>("width");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("fits") << QStringList{QStringLiteral("ONE TWO")} << 200.0
                              << QStringList{QStringLiteral("ONE TWO")};
        QTest::newRow("blank lines kept")
            << QStringList{QStringLiteral("A"), QString(), QString(), QStringLiteral("B")} << 200.0
            << QStringList{QStringLiteral("A"), QString(), QString(), QStringLiteral("B")};
        QTest::newRow("at word boundary")
            << QStringList{QStringLiteral("AAAA BBBB CCCC")} << 45.0
            << QStringList{QStringLiteral("AAAA "), QStringLiteral("BBBB "), QStringLiteral("CCCC")};
    }

    void wrapKeepsWholeWordsAndBlankLines()
    {
        QFETCH(QStringList, lines);
        QFETCH(qreal, width);
        QFETCH(QStringList, expected);
        QFont font(QStringLiteral("Liberation Sans"));
        font.setPixelSize(11);
        QCOMPARE(ReportEngine::wrap(lines, font, width), expected);
    }

    void wordLongerThanTheWidthIsCutAnywhere()
    {
        QFont font(QStringLiteral("Liberation Sans"));
        font.setPixelSize(11);
        const QString word(60, QLatin1Char('W'));
        const QStringList wrapped = ReportEngine::wrap({word}, font, 100);
        QVERIFY(wrapped.size() > 1);
        QCOMPARE(wrapped.join(QString()), word);
        const QFontMetricsF metrics(font);
        for (const QString &line : wrapped)
            QVERIFY(metrics.horizontalAdvance(line) <= 100);
    }
};

DALVORA_TEST_MAIN(TestReportEngine)
#include "tst_reportengine.moc"
