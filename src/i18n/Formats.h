#pragma once

#include <QDate>
#include <QString>

// Number and date display under the formatting conventions in force (QLocale's default).
class Formats
{
public:
    // Patterns such as "###,###,##0.000": '0' always shown, '#' when significant, ',' asks for grouping.
    static QString formatNumber(double value, const QString &pattern);
    // "DD/MM/YYYY" style patterns; an invalid date gives the empty text.
    static QString formatDate(const QDate &date, const QString &pattern);
    static QString shortDate(const QDate &date);
};
