#pragma once

#include <QString>

class QPlainTextEdit;

// The text a memo holds, every character as typed. QPlainTextEdit::toPlainText() gives a no-break space as a plain
// blank, which would change what is stored and what the carrier file holds; this reads the document's raw text and
// maps only its paragraph and line separators to the line break asked for.
class MemoText
{
public:
    static QString text(const QPlainTextEdit &memo, const QString &lineBreak = QStringLiteral("\n"));
};
