#include "TestEnv.h"

#include "DRYearCal2.h"

#include <QImage>

namespace {
// Text drawn without antialiasing, so that each glyph's pixels carry exactly its pen colour.
void plainInk(TDRYearCal &calendar)
{
    QFont font = calendar.font();
    font.setStyleStrategy(QFont::NoAntialias);
    calendar.setFont(font);
}

// Pixels of exactly `color` inside `area` of the control as drawn.
int countPixels(TDRYearCal &calendar, const QColor &color, QRect area = {})
{
    const QImage image = calendar.grab().toImage();
    if (area.isNull())
        area = image.rect();
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += image.pixelColor(x, y) == color;
    return count;
}
} // namespace

class TestTDRYearCal : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void leapYears_data();
    void leapYears();
    void layoutKeepsTheGaps();
    void daysUnderTheirWeekday();
    void colours();
    void todayOnlyInTodaysYear();
};

void TestTDRYearCal::leapYears_data()
{
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("february");
    QTest::newRow("1900 divisible by 100") << 1900 << 28;
    QTest::newRow("2000 divisible by 400") << 2000 << 29;
    QTest::newRow("1999 plain") << 1999 << 28;
    QTest::newRow("2024 divisible by 4") << 2024 << 29;
}

void TestTDRYearCal::leapYears()
{
    QFETCH(int, year);
    QFETCH(int, february);
    QCOMPARE(TDRYearCal::daysInMonth(year, 2), february);
    QCOMPARE(TDRYearCal::daysInMonth(year, 1), 31);
    QCOMPARE(TDRYearCal::daysInMonth(year, 4), 30);

    // The 29th is drawn exactly when the year has it: the red of a Sunday or the black of another day shows there.
    TDRYearCal calendar;
    plainInk(calendar);
    calendar.setYear(year);
    calendar.setToday(QDate(1800, 1, 1));
    const QDate last28(year, 2, 28);
    const QRect cell28 = calendar.dayRect(last28);
    const QRect cell29 =
        last28.dayOfWeek() == Qt::Saturday
            ? QRect(calendar.dayRect(last28.addDays(-6)).left(), cell28.bottom() + 1, cell28.width(), cell28.height())
            : cell28.translated(cell28.width() + TDRYearCal::DayColumnGap, 0);
    const int ink =
        countPixels(calendar, TDRYearCal::DayColor, cell29) + countPixels(calendar, TDRYearCal::SundayColor, cell29);
    QCOMPARE(ink > 0, february == 29);
}

void TestTDRYearCal::layoutKeepsTheGaps()
{
    TDRYearCal calendar;
    plainInk(calendar);
    calendar.setYear(2026);
    QCOMPARE(calendar.size(), calendar.sizeHint());
    // Four months a row, January top left, in reading order.
    QCOMPARE(calendar.monthRect(2).top(), calendar.monthRect(1).top());
    QCOMPARE(calendar.monthRect(5).left(), calendar.monthRect(1).left());
    QCOMPARE(calendar.monthRect(2).left() - calendar.monthRect(1).right() - 1, TDRYearCal::MonthColumnGap);
    QCOMPARE(calendar.monthRect(5).top() - calendar.monthRect(1).bottom() - 1, TDRYearCal::MonthRowGap);
    QVERIFY(calendar.rect().contains(calendar.monthRect(12)));
    // 4 and 5 January 2026 are a Sunday and a Monday: neighbouring columns 8 px apart, weeks one row apart.
    const QRect sunday = calendar.dayRect(QDate(2026, 1, 4));
    const QRect monday = calendar.dayRect(QDate(2026, 1, 5));
    QCOMPARE(monday.left() - sunday.right() - 1, TDRYearCal::DayColumnGap);
    QCOMPARE(calendar.dayRect(QDate(2026, 1, 11)).top(), sunday.bottom() + 1 + TDRYearCal::DayRowGap);
    // The cells fit two digits of the control's font.
    QVERIFY(sunday.width() >= QFontMetrics(calendar.font()).horizontalAdvance(QStringLiteral("00")));
    QVERIFY(calendar.monthRect(1).contains(calendar.dayRect(QDate(2026, 1, 31))));
}

void TestTDRYearCal::daysUnderTheirWeekday()
{
    TDRYearCal calendar;
    plainInk(calendar);
    calendar.setYear(2010);
    // 1 January 2010 was a Friday: the first week holds Friday 1 and Saturday 2 in the last two columns; Sunday 3
    // opens the second week in the first column, under which 31 January falls in the sixth week.
    const QRect friday = calendar.dayRect(QDate(2010, 1, 1));
    const QRect saturday = calendar.dayRect(QDate(2010, 1, 2));
    const QRect sunday = calendar.dayRect(QDate(2010, 1, 3));
    const int pitch = saturday.left() - friday.left();
    QCOMPARE(saturday.top(), friday.top());
    QCOMPARE(friday.left() - sunday.left(), 5 * pitch);
    QCOMPARE(sunday.top(), friday.bottom() + 1);
    QCOMPARE(calendar.dayRect(QDate(2010, 1, 31)).left(), sunday.left());
    QCOMPARE(calendar.dayRect(QDate(2010, 1, 31)).top(), sunday.top() + 4 * sunday.height());
    // Sunday before Monday: 1 August 2010 was a Sunday, so August starts in the first column.
    QCOMPARE(calendar.dayRect(QDate(2010, 8, 1)).left() - calendar.monthRect(8).left(),
             sunday.left() - calendar.monthRect(1).left());
    QVERIFY(calendar.dayRect(QDate(2011, 1, 1)).isNull());
}

void TestTDRYearCal::colours()
{
    TDRYearCal calendar;
    plainInk(calendar);
    calendar.setYear(2010);
    calendar.setToday(QDate(2010, 1, 5));
    QCOMPARE(calendar.dayColor(QDate(2010, 1, 3)), TDRYearCal::SundayColor);
    QCOMPARE(calendar.dayColor(QDate(2010, 1, 2)), TDRYearCal::DayColor); // Saturday
    QCOMPARE(calendar.dayColor(QDate(2010, 1, 5)), TDRYearCal::TodayColor);

    // As drawn: white background, navy headings, maroon initials, red Sundays.
    const QImage image = calendar.grab().toImage();
    QCOMPARE(image.pixelColor(calendar.monthRect(1).center()), QColor(Qt::white));
    QVERIFY(countPixels(calendar, TDRYearCal::HeadingColor) > 0);
    QVERIFY(countPixels(calendar, TDRYearCal::InitialsColor) > 0);
    QVERIFY(countPixels(calendar, TDRYearCal::SundayColor, calendar.dayRect(QDate(2010, 1, 3))) > 0);
    QCOMPARE(countPixels(calendar, TDRYearCal::SundayColor, calendar.dayRect(QDate(2010, 1, 2))), 0);
}

void TestTDRYearCal::todayOnlyInTodaysYear()
{
    TDRYearCal calendar;
    plainInk(calendar);
    const QDate today(2026, 12, 10);
    calendar.setToday(today);
    calendar.setYear(2026);
    QVERIFY(countPixels(calendar, TDRYearCal::TodayColor, calendar.dayRect(today)) > 0);
    QCOMPARE(countPixels(calendar, TDRYearCal::TodayColor),
             countPixels(calendar, TDRYearCal::TodayColor, calendar.dayRect(today)));

    calendar.setYear(2025);
    QCOMPARE(countPixels(calendar, TDRYearCal::TodayColor), 0);
    QCOMPARE(calendar.dayColor(QDate(2025, 12, 10)), TDRYearCal::DayColor);
    calendar.setYear(2027);
    QCOMPARE(countPixels(calendar, TDRYearCal::TodayColor), 0);
}

DALVORA_TEST_MAIN(TestTDRYearCal)
#include "tst_tdryearcal.moc"
