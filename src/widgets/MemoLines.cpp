#include "MemoLines.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

QStringList MemoLines::displayLines(const QPlainTextEdit &memo)
{
    const QTextDocument *document = memo.document();
    const qreal width = memo.viewport()->width() - 2 * document->documentMargin();
    QTextOption option = document->defaultTextOption();
    option.setWrapMode(memo.lineWrapMode() == QPlainTextEdit::NoWrap ? QTextOption::NoWrap : memo.wordWrapMode());

    QStringList lines;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        const QString text = block.text();
        // The empty paragraph after a final line break is only where the cursor may go.
        if (text.isEmpty() && !block.next().isValid())
            break;
        if (text.isEmpty()) {
            lines.append(QString());
            continue;
        }
        QTextLayout layout(text, document->defaultFont());
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            lines.append(text.mid(line.textStart(), line.textLength()));
        }
        layout.endLayout();
    }
    return lines;
}
