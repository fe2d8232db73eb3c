#pragma once

#include <QStringList>

class QPlainTextEdit;

// The lines of a memo as the user sees them: a new line at every line break of the text, and a further one
// wherever the box wraps a line too wide for it.
class MemoLines
{
public:
    // Lays out each paragraph in the memo's font and wrap mode at its text width (the viewport width less the
    // document margin on both sides), as the memo itself does. The memo must have been shown (or laid out) for
    // its viewport to have its width. An empty text has no lines, a line break at the very end opens none; a wrapped
    // line keeps the blank at which it was wrapped, so joining the lines of a paragraph gives the paragraph back.
    static QStringList displayLines(const QPlainTextEdit &memo);
};
