#include "LanguageHolder.h"

namespace {
QString &holder()
{
    static QString value = QStringLiteral("1");
    return value;
}
} // namespace

QString LanguageHolder::current()
{
    return holder();
}

void LanguageHolder::setCurrent(const QString &language)
{
    holder() = language;
}
