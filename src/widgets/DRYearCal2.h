#pragma once

#include <QColor>
#include <QDate>
#include <QFrame>

// The year calendar: the twelve months of one year in 4 columns and 3 rows, each with its heading (long month name
// and year), the Sunday-first day initials and the day numbers under their weekday. Names follow the formatting
// conventions in force. Sizes itself from the digit "0" of its font, so it never needs to be stretched.
class TDRYearCal : public QFrame
{
    Q_OBJECT
    Q_PROPERTY(int year READ year WRITE setYear NOTIFY yearChanged)

public:
    static constexpr int MonthColumns = 4;
    static constexpr int MonthRows = 3;
    static constexpr int DayColumnGap = 8;
    static constexpr int DayRowGap = 0;
    static constexpr int MonthColumnGap = 10;
    static constexpr int MonthRowGap = 8;

    static inline const QColor HeadingColor = QColor(0x00, 0x00, 0x80);  // navy
    static inline const QColor InitialsColor = QColor(0x80, 0x00, 0x00); // maroon
    static inline const QColor SundayColor = QColor(0xFF, 0x00, 0x00);   // red
    static inline const QColor DayColor = QColor(0x00, 0x00, 0x00);      // black
    static inline const QColor TodayColor = QColor(0xFF, 0x00, 0xFF);    // fuchsia

    explicit TDRYearCal(QWidget *parent = nullptr);

    int year() const { return m_year; }
    void setYear(int year);

    // The date drawn in the today colour (when the shown year holds it); the current date unless set.
    QDate today() const { return m_today; }
    void setToday(const QDate &today);

    // Gregorian: divisible by 4 and not by 100, or divisible by 400.
    static bool isLeapYear(int year);
    static int daysInMonth(int year, int month);

    // The colour a day of the shown year is drawn in; invalid for a date outside the shown year.
    QColor dayColor(const QDate &date) const;
    // Where a month's frame and a day's number are drawn (empty for a date outside the shown year).
    QRect monthRect(int month) const;
    QRect dayRect(const QDate &date) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

Q_SIGNALS:
    void yearChanged(int year);

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    struct Metrics
    {
        int cellWidth;  // two digits
        int rowHeight;  // one line of the font
        int padding;    // inside a month's frame
        int margin;     // between the border and the months
        int monthWidth; // frame included
        int monthHeight;
    };
    Metrics metrics() const;
    void paintMonth(QPainter &painter, int month, const Metrics &m) const;
    void updateSize();

    int m_year;
    QDate m_today;
};
