#pragma once

#include "TableDef.h"

#include <QValidator>

// Input rules of a single-line data-aware field: text fields take only characters the carrier file can hold (no
// line breaks or control characters), upper-cased where asked and within the column's width; number fields take
// only a number in the separators in force, within what the column can hold. A field that names a file takes no
// character a file name cannot hold.
class FieldValidator : public QValidator
{
    Q_OBJECT

public:
    // Why the last text checked was refused.
    enum class Refusal {
        None,
        Character,       // a character the field or the carrier file cannot hold
        NotANumber,      // a character that is no part of a number
        NotAWholeNumber, // a decimal point, or any other character, in a field of whole numbers
        TooLarge,        // beyond what the column can hold
        TooManyDigits,   // more significant digits than a stored number keeps
        TooManyDecimals  // more decimals than the field shows
    };

    FieldValidator(ColumnType type, bool upperCase, bool fileNamePart = false, QObject *parent = nullptr);
    State validate(QString &input, int &pos) const override;
    Refusal lastRefusal() const { return m_refusal; }
    // The decimals a number may have: those its field shows, so that what is stored, printed on the draft and sent
    // to the carrier is what the clerk saw. -1: any.
    void setDecimals(int decimals) { m_decimals = decimals; }
    int decimals() const { return m_decimals; }

private:
    State check(QString &input, int &cursor) const;
    State refuse(Refusal why) const
    {
        m_refusal = why;
        return Invalid;
    }

    ColumnType m_type;
    bool m_upperCase;
    bool m_fileNamePart;
    int m_decimals = -1;
    mutable Refusal m_refusal = Refusal::None;
};
