#include "FieldValidator.h"

#include "DalvoraFolder.h"
#include "Formats.h"
#include "InputRules.h"

#include <QLocale>
#include <algorithm>
#include <limits>

namespace {
// The digits of a typed number from its first one that is not zero, without the zeros that end its decimals.
qsizetype significantDigits(const QString &typed, QChar point)
{
    QString digits;
    qsizetype pointAt = -1;
    for (const QChar c : typed) {
        if (c.isDigit())
            digits += c;
        else if (c == point)
            pointAt = digits.size();
    }
    const auto firstDigit = std::find_if(digits.cbegin(), digits.cend(), [](QChar c) { return c != u'0'; });
    if (firstDigit == digits.cend())
        return 0;
    const qsizetype first = firstDigit - digits.cbegin();
    qsizetype end = digits.size();
    while (pointAt >= 0 && end > pointAt && end > first && digits.at(end - 1) == u'0')
        --end;
    return end - first;
}
} // namespace

FieldValidator::FieldValidator(ColumnType type, bool upperCase, bool fileNamePart, QObject *parent)
    : QValidator(parent), m_type(type), m_upperCase(upperCase), m_fileNamePart(fileNamePart)
{
}

QValidator::State FieldValidator::validate(QString &input, int &cursor) const
{
    m_refusal = Refusal::None;
    return check(input, cursor);
}

QValidator::State FieldValidator::check(QString &input, int &cursor) const
{
    InputRules::dropEndingLineBreaks(input, cursor);
    if (m_type != ColumnType::Integer && m_type != ColumnType::Number) {
        if (m_upperCase)
            input = InputRules::upperCase(input);
        if (m_fileNamePart && !std::all_of(input.begin(), input.end(), DalvoraFolder::allowedInFileName))
            return refuse(Refusal::Character);
        return InputRules::isAcceptable(input, false) ? Acceptable : refuse(Refusal::Character);
    }
    // A number copied with blanks around it (a spreadsheet cell, a line of a text) pastes without them.
    const qsizetype leading =
        std::find_if(input.cbegin(), input.cend(), [](QChar c) { return !c.isSpace(); }) - input.cbegin();
    input = input.trimmed();
    cursor = int(std::clamp<qsizetype>(cursor - leading, 0, input.size()));
    if (input.isEmpty())
        return Acceptable;
    const QLocale locale;
    const QChar point = locale.decimalPoint().at(0);
    const QChar group = locale.groupSeparator().at(0);
    for (int i = 0; i < input.size(); ++i) {
        const QChar c = input[i];
        const bool sign = i == 0 && c == QLatin1Char('-');
        if (!c.isDigit() && !sign && c != group && !(c == point && m_type == ColumnType::Number))
            return refuse(m_type == ColumnType::Integer ? Refusal::NotAWholeNumber : Refusal::NotANumber);
    }
    // Decimals beyond those shown. A text that is no number yet ("1,234.5" typed under Portuguese separators) is
    // left to be refused whole when it is committed: cut at its decimals, it would read as another number.
    const qsizetype pointAt = m_type == ColumnType::Number && m_decimals >= 0 ? input.indexOf(point) : -1;
    if (pointAt >= 0) {
        const QStringView decimals = QStringView(input).mid(pointAt + 1);
        if (decimals.size() > m_decimals &&
            std::all_of(decimals.begin(), decimals.end(), [](QChar c) { return c.isDigit(); }))
            return refuse(Refusal::TooManyDecimals);
    }
    const std::optional<double> value = Formats::parseNumber(input);
    if (!value)
        return Intermediate;
    if (m_type == ColumnType::Integer &&
        (*value > std::numeric_limits<int>::max() || *value < std::numeric_limits<int>::min()))
        return refuse(Refusal::TooLarge);
    if (std::abs(*value) >= 1e15)
        return refuse(Refusal::TooLarge);
    // A double holds 15 significant digits: more would be stored changed, and shown with digits never typed.
    if (significantDigits(input, point) > 15)
        return refuse(Refusal::TooManyDigits);
    return Acceptable;
}
