// The lines of a memo as shown, over any text and box width: each paragraph's lines joined give the paragraph back.
#include "FuzzApplication.h"
#include "MemoLines.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    static QPlainTextEdit *memo = [] {
        auto *edit = new QPlainTextEdit;
        edit->setAttribute(Qt::WA_DontShowOnScreen);
        edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        edit->show();
        return edit;
    }();
    memo->resize(20 + data[0] * 3, 200);
    memo->setLineWrapMode(data[1] & 1 ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
    memo->setWordWrapMode(data[1] & 2 ? QTextOption::WrapAnywhere : QTextOption::WrapAtWordBoundaryOrAnywhere);
    memo->setPlainText(QString::fromUtf8(reinterpret_cast<const char *>(data + 2), qsizetype(size - 2)));

    const QStringList lines = MemoLines::displayLines(*memo);
    qsizetype at = 0;
    for (QTextBlock block = memo->document()->begin(); block.isValid(); block = block.next()) {
        const QString text = block.text();
        if (text.isEmpty() && !block.next().isValid())
            break;
        QString joined;
        do {
            if (at == lines.size())
                std::abort();
            joined += lines.at(at++);
        } while (joined.size() < text.size());
        if (joined != text)
            std::abort();
    }
    if (at != lines.size())
        std::abort();
    return 0;
}
