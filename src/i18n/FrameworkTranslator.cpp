#include "FrameworkTranslator.h"

#include "TranslateText.h"

QString FrameworkTranslator::translate(const char *, const char *sourceText, const char *, int) const
{
    const QString source = QString::fromUtf8(sourceText);
    const QString text = TranslateText(source);
    // An empty answer tells the toolkit to keep its own text.
    return text == source ? QString() : text;
}
