#include "NumberWriter.h"

#include <algorithm>
#include <charconv>
#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace {

bool isFixed(double value)
{
    const double magnitude = std::fabs(value);
    return magnitude >= 0.00001 && magnitude < 1e15;
}

char *shortest(double value, char *text, std::size_t room)
{
    return std::to_chars(text, text + room, value,
                         isFixed(value) ? std::chars_format::fixed : std::chars_format::scientific)
        .ptr;
}

// The digits of a written number from its first one that is not zero, up to its exponent.
int significantDigits(const char *text, const char *end)
{
    int digits = 0;
    for (const char *c = text; c != end && *c != 'e'; ++c)
        if ((*c >= '1' && *c <= '9') || (*c == '0' && digits > 0))
            ++digits;
    return digits;
}

} // namespace

NumberWriter::NumberWriter()
{
    m_locale.setNumberOptions(QLocale::OmitGroupSeparator);
    // Digits other than ASCII go through the locale itself.
    m_asciiDigits = m_locale.zeroDigit() == u"0"_s;
    m_decimalPoint = m_locale.decimalPoint();
    m_negativeSign = m_locale.negativeSign();
    m_positiveSign = m_locale.positiveSign();
    m_exponential = m_locale.exponential();
}

QStringView NumberWriter::text(double value)
{
    if (value == 0.0)
        return u"0"; // also for -0
    char text[64];
    char *end = text;
    // Codes, counts and thousandths are whole: they need no rounding (most of a big BL's numbers).
    if (std::fabs(value) < 1e15 && value == std::trunc(value)) {
        if (!m_asciiDigits)
            return m_fallback = m_locale.toString(qint64(value));
        end = std::to_chars(text, text + sizeof text, qint64(value)).ptr;
    } else {
        // Rounded to 15 significant digits. A shortest form of 15 digits or fewer is already the form of the rounded
        // value: the rounding is needed only beyond them.
        end = shortest(value, text, sizeof text);
        if (significantDigits(text, end) > 15) {
            const auto written = std::to_chars(text, text + sizeof text, value, std::chars_format::scientific, 14);
            std::from_chars(text, written.ptr, value);
            end = shortest(value, text, sizeof text);
        }
        if (!m_asciiDigits)
            return m_fallback = m_locale.toString(value, isFixed(value) ? 'f' : 'e', QLocale::FloatingPointShortest);
    }
    // The shortest form in C's conventions, then the locale's symbols in place of C's.
    char16_t *out = m_shown;
    for (const char *c = text; c != end; ++c) {
        switch (*c) {
        case '.':
            out = put(m_decimalPoint, out);
            break;
        case '-':
            out = put(m_negativeSign, out);
            break;
        case '+':
            out = put(m_positiveSign, out);
            break;
        case 'e':
            out = put(m_exponential, out);
            break;
        default:
            *out++ = char16_t(*c);
        }
    }
    return QStringView(m_shown, out);
}

// A symbol of the locale; room for it is kept in m_shown (symbols are a few characters at most).
char16_t *NumberWriter::put(const QString &symbol, char16_t *out) const
{
    const qsizetype length = std::min<qsizetype>(symbol.size(), MaxSymbol);
    std::copy_n(reinterpret_cast<const char16_t *>(symbol.constData()), length, out);
    return out + length;
}
