#pragma once

#include <QString>

// How a container number compares with the ISO 6346 form that carriers check: three letters of owner code, the
// equipment category U, J or Z, six digits and a check digit computed from the ten characters before it.
class ContainerNumber
{
public:
    enum class Verdict {
        Valid,
        Empty,
        WrongShape,     // not four letters, six digits and a digit
        WrongCategory,  // the right shape, but the fourth letter is not U, J or Z
        WrongCheckDigit // the right shape and category, but the last digit is not the computed one
    };

    struct Check
    {
        Verdict verdict;
        int expectedDigit = -1; // for WrongCheckDigit: the digit the number should end in
    };

    // Upper-case numbers only: the number field stores capitals.
    static Check check(const QString &number);

    // The check digit of the first ten characters (four capital letters, six digits).
    static int checkDigit(QStringView ownerCategorySerial);
};
