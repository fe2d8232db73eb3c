#include "TranslateText.h"

QString TranslateText(const QString &text)
{
    return text;
}
