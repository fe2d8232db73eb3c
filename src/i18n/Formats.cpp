#include "Formats.h"

#include "NumberWriter.h"
#include "TranslateText.h"

#include <QLocale>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace {
QString groupDigits(const QString &digits, const QString &separator)
{
    QString out;
    out.reserve(digits.size() + digits.size() / 3);
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out += separator;
        out += digits[i];
    }
    return out;
}

bool allDigits(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// Digits with the separator only between groups of three ("1.234.567"), or digits alone.
bool validGrouping(QStringView digits, const QString &separator)
{
    if (separator.isEmpty() || !digits.contains(separator))
        return allDigits(digits);
    const QList<QStringView> groups = digits.split(separator);
    for (qsizetype i = 0; i < groups.size(); ++i) {
        const QStringView g = groups[i];
        if (!allDigits(g) || g.isEmpty() || g.size() > 3 || (i > 0 && g.size() != 3))
            return false;
    }
    return true;
}
// The digits of a magnitude with `decimals` decimals ("1234.50"), rounded half away from zero on its decimal digits.
// The value is first taken to 15 significant digits, all that a double holds of a typed number: 1.015 is stored a
// hair below itself, and rounding its binary form would show 1.01 where the clerk typed 1,015.
QString fixedDigits(double magnitude, int decimals)
{
    char text[40];
    const char *const end = std::to_chars(text, text + sizeof text, magnitude, std::chars_format::scientific, 14).ptr;
    // "d.dddddddddddddde+x": 15 digits, then the power of ten of the first one.
    std::string digits(1, text[0]);
    digits.append(text + 2, text + 16);
    const char *exponent = text + 17;
    const bool negativeExponent = *exponent == '-';
    int power = 0;
    std::from_chars(exponent + 1, end, power);
    // The value times 10^decimals is the 15 digits shifted by this many places (left when positive).
    const int shift = (negativeExponent ? -power : power) - 14 + decimals;
    if (shift >= 0) {
        digits.append(size_t(shift), '0');
    } else {
        const int dropped = -shift;
        const bool up = dropped <= 15 && digits[size_t(15 - dropped)] >= '5';
        digits.resize(size_t(std::max(0, 15 - dropped)));
        if (up) {
            qsizetype at = qsizetype(digits.size()) - 1;
            for (; at >= 0 && digits[size_t(at)] == '9'; --at)
                digits[size_t(at)] = '0';
            if (at >= 0)
                ++digits[size_t(at)];
            else
                digits.insert(digits.begin(), '1');
        }
    }
    // Whole digits before the point, at least one.
    if (digits.size() < size_t(decimals) + 1)
        digits.insert(0, size_t(decimals) + 1 - digits.size(), '0');
    const size_t whole = digits.size() - size_t(decimals);
    const size_t leadingZeros = std::min(digits.find_first_not_of('0'), whole - 1);
    QString out = QString::fromLatin1(digits.data() + leadingZeros, qsizetype(whole - leadingZeros));
    if (decimals > 0) {
        out += u'.';
        out += QLatin1String(digits.data() + whole, decimals);
    }
    return out;
}
} // namespace

int Formats::decimals(const QString &pattern)
{
    if (pattern.isEmpty())
        return -1;
    const qsizetype point = pattern.indexOf(u'.');
    const QStringView fractionPart = point < 0 ? QStringView() : QStringView(pattern).mid(point + 1);
    return int(fractionPart.count(u'0') + fractionPart.count(u'#'));
}

QString Formats::formatNumber(double value, const QString &pattern)
{
    const QLocale locale;
    if (!std::isfinite(value))
        return locale.toString(value);
    const qsizetype point = pattern.indexOf(u'.');
    const QStringView integerPart = QStringView(pattern).left(point < 0 ? pattern.size() : point);
    const QStringView fractionPart = point < 0 ? QStringView() : QStringView(pattern).mid(point + 1);
    const int minimumIntegerDigits = int(integerPart.count(u'0'));
    const int requiredDecimals = int(fractionPart.count(u'0'));
    const int decimals = Formats::decimals(pattern);

    const QString fixed = fixedDigits(std::abs(value), decimals);
    const qsizetype dot = fixed.indexOf(u'.');
    QString integerDigits = dot < 0 ? fixed : fixed.left(dot);
    QString fraction = dot < 0 ? QString() : fixed.mid(dot + 1);
    while (fraction.size() > requiredDecimals && fraction.endsWith(u'0'))
        fraction.chop(1);
    // Without a required digit before the point, a zero integer part is left out (".5").
    if (integerDigits == u"0" && minimumIntegerDigits == 0)
        integerDigits.clear();
    while (integerDigits.size() < minimumIntegerDigits)
        integerDigits.prepend(u'0');
    if (integerPart.contains(u','))
        integerDigits = groupDigits(integerDigits, locale.groupSeparator());

    // A value that rounds to zero is shown without a sign.
    const bool negative =
        value < 0 && std::any_of(fixed.begin(), fixed.end(), [](QChar c) { return c >= u'1' && c <= u'9'; });
    QString text = negative ? locale.negativeSign() + integerDigits : integerDigits;
    if (!fraction.isEmpty())
        text += locale.decimalPoint() + fraction;
    return text;
}

QString Formats::generalNumber(double value)
{
    return NumberWriter().text(value).toString();
}

QString Formats::formatDate(const QDate &date, const QString &pattern)
{
    if (!date.isValid())
        return {};
    const QLocale locale;
    QString out;
    for (qsizetype i = 0; i < pattern.size();) {
        const QChar c = pattern[i];
        if (c == u'"' || c == u'\'') {
            const qsizetype end = pattern.indexOf(c, i + 1);
            const qsizetype stop = end < 0 ? pattern.size() : end;
            out += QStringView(pattern).mid(i + 1, stop - i - 1);
            i = stop + 1;
            continue;
        }
        const QChar letter = c.toLower();
        qsizetype run = 1;
        while (i + run < pattern.size() && pattern[i + run].toLower() == letter)
            ++run;
        if (letter == u'd') {
            out += run == 1   ? QString::number(date.day())
                   : run == 2 ? QStringLiteral("%1").arg(date.day(), 2, 10, QLatin1Char('0'))
                              : locale.dayName(date.dayOfWeek(), run == 3 ? QLocale::ShortFormat : QLocale::LongFormat);
        } else if (letter == u'm') {
            out += run == 1   ? QString::number(date.month())
                   : run == 2 ? QStringLiteral("%1").arg(date.month(), 2, 10, QLatin1Char('0'))
                              : locale.monthName(date.month(), run == 3 ? QLocale::ShortFormat : QLocale::LongFormat);
        } else if (letter == u'y') {
            // A year before year 1 (only a damaged store holds one) keeps its four digits after the sign.
            if (run > 2 && date.year() < 0)
                out += locale.negativeSign();
            out += run <= 2 ? QStringLiteral("%1").arg(date.year() % 100, 2, 10, QLatin1Char('0'))
                            : QStringLiteral("%1").arg(std::abs(date.year()), 4, 10, QLatin1Char('0'));
        } else if (c == u'/') {
            out += QString(dateSeparator()).repeated(int(run));
        } else {
            out += QStringView(pattern).mid(i, run);
        }
        i += run;
    }
    return out;
}

QString Formats::shortDateFormat()
{
    QString format = QLocale().dateFormat(QLocale::ShortFormat);
    if (!format.contains(QLatin1String("yyyy")))
        format.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    return format;
}

QString Formats::shortDate(const QDate &date)
{
    return date.isValid() ? QLocale().toString(date, shortDateFormat()) : QString();
}

QChar Formats::dateSeparator()
{
    for (const QChar c : shortDateFormat()) {
        if (!c.isLetter() && c != u'\'')
            return c;
    }
    return u'/';
}

QString Formats::monthName(int month, bool longName)
{
    return QLocale().monthName(month, longName ? QLocale::LongFormat : QLocale::ShortFormat);
}

QString Formats::dayName(int weekday, bool longName)
{
    return QLocale().dayName(weekday, longName ? QLocale::LongFormat : QLocale::ShortFormat);
}

QString Formats::editNumber(double value, int decimals)
{
    if (decimals >= 0 && std::isfinite(value)) {
        const double rounded = fixedDigits(std::abs(value), decimals).toDouble();
        value = value < 0 && rounded != 0 ? -rounded : rounded;
    }
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, 'f', QLocale::FloatingPointShortest);
}

std::optional<double> Formats::parseNumber(const QString &text)
{
    const QLocale locale;
    QStringView rest = QStringView(text).trimmed();
    bool negative = false;
    if (rest.startsWith(locale.negativeSign()) || rest.startsWith(u'-')) {
        negative = true;
        rest = rest.mid(rest.startsWith(locale.negativeSign()) ? locale.negativeSign().size() : 1);
    } else if (rest.startsWith(locale.positiveSign()) || rest.startsWith(u'+')) {
        rest = rest.mid(rest.startsWith(locale.positiveSign()) ? locale.positiveSign().size() : 1);
    }
    const QString decimal = locale.decimalPoint();
    const qsizetype point = rest.indexOf(decimal);
    const QStringView integerPart = point < 0 ? rest : rest.left(point);
    const QStringView fraction = point < 0 ? QStringView() : rest.mid(point + decimal.size());
    if (integerPart.isEmpty() && fraction.isEmpty())
        return std::nullopt;
    if (!validGrouping(integerPart, locale.groupSeparator()) || !allDigits(fraction))
        return std::nullopt;
    QString plain = integerPart.toString().remove(locale.groupSeparator());
    if (!fraction.isEmpty())
        plain += u'.' + fraction.toString();
    bool ok = false;
    const double value = plain.toDouble(&ok);
    if (!ok)
        return std::nullopt;
    return negative ? -value : value;
}

QString Formats::errorText(const QString &message)
{
    QString text = TranslateText(message);
    if (!text.isEmpty() && text.back() > u'.')
        text += u'.';
    return text;
}
