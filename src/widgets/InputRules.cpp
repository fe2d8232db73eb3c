#include "InputRules.h"

#include "Windows1252.h"

#include <algorithm>

bool InputRules::isAcceptable(QStringView text, bool multiLine)
{
    for (const QChar c : text) {
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (!multiLine)
                return false;
        } else if (c.category() == QChar::Other_Control) {
            return false; // format characters other than the soft hyphen fail the code page below
        }
    }
    return Windows1252::fits(text);
}

void InputRules::dropEndingLineBreaks(QString &text, int &cursor)
{
    while (text.endsWith(QLatin1Char('\n')) || text.endsWith(QLatin1Char('\r')))
        text.chop(1);
    cursor = std::min(cursor, int(text.size()));
}

QString InputRules::upperCase(const QString &text)
{
    QString upper = text;
    for (QChar &c : upper) {
        const QChar capital = c.toUpper();
        if (capital != c && Windows1252::byteOf(capital.unicode()) >= 0)
            c = capital;
    }
    return upper;
}

bool InputRules::isDroppedWhenTyped(QStringView typed)
{
    return typed.size() == 1 && typed.front() == QChar::SoftHyphen;
}
