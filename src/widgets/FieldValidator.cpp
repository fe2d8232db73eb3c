#include "FieldValidator.h"

#include "DalvoraFolder.h"
#include "Formats.h"
#include "InputRules.h"

#include <QLocale>
#include <algorithm>
#include <limits>

FieldValidator::FieldValidator(ColumnType type, bool upperCase, bool fileNamePart, QObject *parent)
    : QValidator(parent), m_type(type), m_upperCase(upperCase), m_fileNamePart(fileNamePart)
{
}

QValidator::State FieldValidator::validate(QString &input, int &) const
{
    if (m_type != ColumnType::Integer && m_type != ColumnType::Number) {
        if (m_upperCase)
            input = InputRules::upperCase(input);
        if (m_fileNamePart && !std::all_of(input.begin(), input.end(), DalvoraFolder::allowedInFileName))
            return Invalid;
        return InputRules::isAcceptable(input, false) ? Acceptable : Invalid;
    }
    if (input.isEmpty())
        return Acceptable;
    const QLocale locale;
    const QChar point = locale.decimalPoint().at(0);
    const QChar group = locale.groupSeparator().at(0);
    for (int i = 0; i < input.size(); ++i) {
        const QChar c = input[i];
        const bool sign = i == 0 && c == QLatin1Char('-');
        if (!c.isDigit() && !sign && c != group && !(c == point && m_type == ColumnType::Number))
            return Invalid;
    }
    const std::optional<double> value = Formats::parseNumber(input);
    if (!value)
        return Intermediate;
    if (m_type == ColumnType::Integer &&
        (*value > std::numeric_limits<int>::max() || *value < std::numeric_limits<int>::min()))
        return Invalid;
    // A double holds 15 significant digits: more would be stored changed.
    if (std::abs(*value) >= 1e15)
        return Invalid;
    return Acceptable;
}
