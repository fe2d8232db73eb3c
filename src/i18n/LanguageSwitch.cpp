#include "LanguageSwitch.h"

#include "LanguageHolder.h"
#include "TIvBinaryDictionary.h"

void LanguageSwitch::apply(int number)
{
    LanguageHolder::setCurrent(QString::number(number));
    TIvBinaryDictionary::instance().switchLanguage(number);
}

QString LanguageSwitch::flagPath(int number)
{
    return QStringLiteral(":/images/flag_%1.png").arg(number);
}
