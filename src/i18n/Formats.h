#pragma once

#include <QDate>
#include <QString>

#include <optional>

// Number and date display under the formatting conventions in force (QLocale's default, which the dictionary sets
// on every language switch). Display only: callers keep and store the unrounded values.
class Formats
{
public:
    static constexpr const char *WeightPattern = "###,###,##0.000";
    static constexpr const char *ShortWeightPattern = "###,##0.000";
    static constexpr const char *CountPattern = "###,###,##0";
    static constexpr const char *ShortCountPattern = "###,##0";
    static constexpr const char *MoneyPattern = "###,###,##0.00";
    static constexpr const char *DatePattern = "DD/MM/YYYY";

    // Numeric pictures: '0' a digit always shown, '#' a digit shown when significant, a ',' before the point asks for
    // thousands grouping, '.' the decimal point. Rounded to the picture's decimals; the separators are those in force
    // (Brazilian settings: 1234.5 under "###,###,##0.000" gives "1.234,500", 0 gives "0,000").
    static QString formatNumber(double value, const QString &pattern);
    // The decimals a numeric picture shows at most; -1 for no picture.
    static int decimals(const QString &pattern);

    // A number without a picture, in the general form (NumberWriter): at most 15 significant digits, no grouping,
    // the decimal separator in force.
    static QString generalNumber(double value);

    // Date pictures, letters in either case: d / dd day, ddd / dddd short / long day name, m / mm month,
    // mmm / mmmm short / long month name, yy / yyyy year, '/' the date separator in force, text in '...' or "..."
    // as it stands. An invalid date gives the empty text.
    static QString formatDate(const QDate &date, const QString &pattern);

    // The short date form in force, with a two-digit year widened to four ("10/12/2026" in Brazil, "12/10/2026" in
    // the United States).
    static QString shortDate(const QDate &date);
    static QString shortDateFormat();
    static QChar dateSeparator();

    // Month 1-12 and weekday 1 (Monday) - 7 (Sunday) names of the conventions in force.
    static QString monthName(int month, bool longName = true);
    static QString dayName(int weekday, bool longName = true);

    // The text a numeric edit shows while being edited: no grouping, the decimal separator in force, every
    // significant digit; with `decimals` (those the field shows, Formats::decimals), rounded to them as the field
    // shows the value, so that a sum's binary noise (30.299999999999997) reads as shown (30,3).
    static QString editNumber(double value, int decimals = -1);
    // Reads a number typed with the separators in force: optional sign, digits, thousands separators only between
    // groups of three, at most one decimal separator. Blanks at the ends are ignored; anything else (empty text,
    // exponents, letters, the other language's separators in the wrong places) gives no value.
    static std::optional<double> parseNumber(const QString &text);

    // The general error display's text: the message through the dictionary, and a full stop after it when its last
    // character sorts after ".".
    static QString errorText(const QString &message);
};
