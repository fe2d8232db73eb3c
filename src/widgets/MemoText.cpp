#include "MemoText.h"

#include <QPlainTextEdit>
#include <QTextDocument>

QString MemoText::text(const QPlainTextEdit &memo, const QString &lineBreak)
{
    const QString raw = memo.document()->toRawText();
    QString text;
    text.reserve(raw.size());
    for (const QChar c : raw) {
        // Enter starts a paragraph, Shift+Enter a line inside one: both are a line break of the stored text.
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            text += lineBreak;
        else
            text += c;
    }
    return text;
}
