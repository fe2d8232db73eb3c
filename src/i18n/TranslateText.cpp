#include "TranslateText.h"

#include "TIvBinaryDictionary.h"

QString TranslateText(const QString &text)
{
    return TIvBinaryDictionary::instance().translate(text);
}
