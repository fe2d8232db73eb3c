#include "ContainerNumber.h"

namespace {
bool isCapital(QChar c)
{
    return c >= QLatin1Char('A') && c <= QLatin1Char('Z');
}

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Letters count from 10 up, skipping the multiples of the modulus 11: A = 10, B = 12, ..., L = 23, ..., Z = 38.
int letterValue(QChar letter)
{
    int value = 10;
    for (char16_t c = u'A'; c < letter.unicode(); ++c) {
        ++value;
        if (value % 11 == 0)
            ++value;
    }
    return value;
}
} // namespace

int ContainerNumber::checkDigit(QStringView ownerCategorySerial)
{
    int sum = 0;
    for (int i = 0; i < 10; ++i) {
        const QChar c = ownerCategorySerial.at(i);
        sum += (isDigit(c) ? c.unicode() - u'0' : letterValue(c)) << i;
    }
    return sum % 11 % 10; // a remainder of 10 is written as 0
}

ContainerNumber::Check ContainerNumber::check(const QString &number)
{
    if (number.isEmpty())
        return {Verdict::Empty};
    bool shaped = number.size() == 11;
    for (int i = 0; shaped && i < number.size(); ++i)
        shaped = i < 4 ? isCapital(number.at(i)) : isDigit(number.at(i));
    if (!shaped)
        return {Verdict::WrongShape};
    if (!QStringView(u"UJZ").contains(number.at(3)))
        return {Verdict::WrongCategory};
    const int expected = checkDigit(number);
    if (number.at(10).unicode() - u'0' != expected)
        return {Verdict::WrongCheckDigit, expected};
    return {Verdict::Valid};
}
