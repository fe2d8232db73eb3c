#include "InputRules.h"

#include <QStringEncoder>

bool InputRules::isWindows1252(QStringView text)
{
    QStringEncoder encoder("windows-1252");
    if (!encoder.isValid())
        return true; // without the code page nothing can be checked here; writing the file checks again
    const QByteArray bytes = encoder.encode(text);
    return !encoder.hasError();
}

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
    return isWindows1252(text);
}

QString InputRules::upperCase(const QString &text)
{
    QString upper = text;
    for (QChar &c : upper) {
        const QChar capital = c.toUpper();
        if (capital != c && (capital.unicode() <= 0xFF || isWindows1252(QStringView(&capital, 1))))
            c = capital;
    }
    return upper;
}

bool InputRules::isDroppedWhenTyped(QStringView typed)
{
    return typed.size() == 1 && typed.front() == QChar::SoftHyphen;
}
