#pragma once

#include <QLocale>
#include <QString>
#include <QStringView>

// The general number form in the conventions in force: the shortest text with at most 15 significant digits (binary
// noise beyond them never shows), no grouping, the locale's decimal point and signs; fixed notation from 0.00001 up
// to 15 integer digits, the exponent form beyond. The locale's symbols are read once, when the writer is made: each
// question to the system's locale costs more than writing the number, and a big BL's file has some 5,000 of them.
class NumberWriter
{
public:
    NumberWriter();

    // The text of a value, valid until the next call.
    QStringView text(double value);

private:
    static constexpr qsizetype MaxSymbol = 8;

    char16_t *put(const QString &symbol, char16_t *out) const;

    QLocale m_locale;
    bool m_asciiDigits = false;
    QString m_decimalPoint;
    QString m_negativeSign;
    QString m_positiveSign;
    QString m_exponential;
    // A number's characters at most, each symbol at its widest.
    char16_t m_shown[64 * MaxSymbol];
    QString m_fallback;
};
