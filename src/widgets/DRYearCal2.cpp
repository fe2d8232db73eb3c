#include "DRYearCal2.h"

#include "AppFonts.h"
#include "Formats.h"

#include <QEvent>
#include <QPainter>

namespace {
constexpr int RowsPerMonth = 8; // heading, day initials, six weeks

// Sunday first: column 0 is Sunday, 6 is Saturday.
int weekColumn(const QDate &date)
{
    return date.dayOfWeek() % 7;
}
} // namespace

TDRYearCal::TDRYearCal(QWidget *parent)
    : QFrame(parent), m_year(QDate::currentDate().year()), m_today(QDate::currentDate())
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    setFont(AppFonts::screen(8));
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, DayColor);
    setPalette(pal);
    updateSize();
}

void TDRYearCal::setYear(int year)
{
    if (year == m_year)
        return;
    m_year = year;
    update();
    Q_EMIT yearChanged(year);
}

void TDRYearCal::setToday(const QDate &today)
{
    m_today = today;
    update();
}

bool TDRYearCal::isLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int TDRYearCal::daysInMonth(int year, int month)
{
    static constexpr int Days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : Days[month - 1];
}

QColor TDRYearCal::dayColor(const QDate &date) const
{
    if (!date.isValid() || date.year() != m_year)
        return {};
    if (date == m_today)
        return TodayColor;
    return date.dayOfWeek() == Qt::Sunday ? SundayColor : DayColor;
}

TDRYearCal::Metrics TDRYearCal::metrics() const
{
    const QFontMetrics fm(font());
    Metrics m;
    m.cellWidth = 2 * fm.horizontalAdvance(QLatin1Char('0'));
    m.rowHeight = fm.height() + DayRowGap;
    m.padding = 2;
    m.margin = frameWidth() + 2;
    m.monthWidth = 7 * m.cellWidth + 6 * DayColumnGap + 2 * m.padding;
    m.monthHeight = RowsPerMonth * m.rowHeight + 2 * m.padding;
    return m;
}

QSize TDRYearCal::sizeHint() const
{
    const Metrics m = metrics();
    return {MonthColumns * m.monthWidth + (MonthColumns - 1) * MonthColumnGap + 2 * m.margin,
            MonthRows * m.monthHeight + (MonthRows - 1) * MonthRowGap + 2 * m.margin};
}

void TDRYearCal::updateSize()
{
    setFixedSize(sizeHint());
}

void TDRYearCal::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange)
        updateSize();
    QFrame::changeEvent(event);
}

QRect TDRYearCal::monthRect(int month) const
{
    const Metrics m = metrics();
    const int column = (month - 1) % MonthColumns;
    const int row = (month - 1) / MonthColumns;
    return {m.margin + column * (m.monthWidth + MonthColumnGap), m.margin + row * (m.monthHeight + MonthRowGap),
            m.monthWidth, m.monthHeight};
}

QRect TDRYearCal::dayRect(const QDate &date) const
{
    if (!date.isValid() || date.year() != m_year)
        return {};
    const Metrics m = metrics();
    const QRect frame = monthRect(date.month());
    const int first = weekColumn(QDate(date.year(), date.month(), 1));
    const int index = first + date.day() - 1;
    const int week = index / 7;
    const int column = index % 7;
    return {frame.left() + m.padding + column * (m.cellWidth + DayColumnGap),
            frame.top() + m.padding + (2 + week) * m.rowHeight, m.cellWidth, m.rowHeight};
}

void TDRYearCal::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(contentsRect(), palette().color(QPalette::HighlightedText));
    drawFrame(&painter);
    const Metrics m = metrics();
    for (int month = 1; month <= 12; ++month)
        paintMonth(painter, month, m);
}

void TDRYearCal::paintMonth(QPainter &painter, int month, const Metrics &m) const
{
    const QRect frame = monthRect(month);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(frame.adjusted(0, 0, -1, -1));

    const QRect inner = frame.adjusted(m.padding, m.padding, -m.padding, -m.padding);
    const QRect heading(inner.left(), inner.top(), inner.width(), m.rowHeight);
    painter.setPen(HeadingColor);
    painter.drawText(heading, Qt::AlignLeft | Qt::AlignVCenter, Formats::monthName(month));
    painter.drawText(heading, Qt::AlignRight | Qt::AlignVCenter, QString::number(m_year));

    painter.setPen(InitialsColor);
    for (int column = 0; column < 7; ++column) {
        const int weekday = column == 0 ? Qt::Sunday : column; // Qt numbers Monday 1 .. Sunday 7
        const QRect cell(inner.left() + column * (m.cellWidth + DayColumnGap), inner.top() + m.rowHeight, m.cellWidth,
                         m.rowHeight);
        painter.drawText(cell, Qt::AlignRight | Qt::AlignVCenter, Formats::dayName(weekday, false).left(1));
    }

    for (int day = 1; day <= daysInMonth(m_year, month); ++day) {
        const QDate date(m_year, month, day);
        painter.setPen(dayColor(date));
        painter.drawText(dayRect(date), Qt::AlignRight | Qt::AlignVCenter, QString::number(day));
    }
}
