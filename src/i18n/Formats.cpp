#include "Formats.h"

#include <QLocale>

QString Formats::formatNumber(double value, const QString &pattern)
{
    const int point = pattern.indexOf(QLatin1Char('.'));
    const int decimals = point < 0 ? 0 : int(pattern.size() - point - 1);
    QLocale locale;
    if (!pattern.contains(QLatin1Char(',')))
        locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, 'f', decimals);
}

QString Formats::formatDate(const QDate &date, const QString &pattern)
{
    if (!date.isValid())
        return {};
    QString qt = pattern;
    qt.replace(QLatin1String("DD"), QLatin1String("dd")).replace(QLatin1String("YYYY"), QLatin1String("yyyy"));
    return QLocale().toString(date, qt);
}

QString Formats::shortDate(const QDate &date)
{
    return QLocale().toString(date, QLocale::ShortFormat);
}
