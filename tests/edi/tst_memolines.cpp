#include "AppFonts.h"
#include "MemoGeometry.h"
#include "MemoLines.h"
#include "TestEnv.h"

#include <QAbstractTextDocumentLayout>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextLayout>

namespace {
// A box set up as the marks and description boxes are: word wrap at the widget's width, scroll bar always shown.
void setUpBox(QPlainTextEdit &memo, int width)
{
    memo.setAttribute(Qt::WA_DontShowOnScreen);
    memo.setLineWrapMode(QPlainTextEdit::WidgetWidth);
    memo.setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    memo.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo.setFont(AppFonts::screen(MemoGeometry::FontPointSize));
    memo.setFixedSize(width, 120);
    memo.show();
}

// The lines as the box itself laid them out on screen.
QStringList shownLines(QPlainTextEdit &memo)
{
    QStringList lines;
    QAbstractTextDocumentLayout *documentLayout = memo.document()->documentLayout();
    for (QTextBlock block = memo.document()->begin(); block.isValid(); block = block.next()) {
        documentLayout->blockBoundingRect(block); // lays the block out if the box has not yet
        const QTextLayout *layout = block.layout();
        for (int i = 0; i < layout->lineCount(); ++i)
            lines << block.text().mid(layout->lineAt(i).textStart(), layout->lineAt(i).textLength());
    }
    return lines;
}

QString words(int count)
{
    QStringList list;
    for (int i = 0; i < count; ++i)
        list << QStringLiteral("SACOS%1").arg(i * 37 % 1000);
    return list.join(u' ');
}
} // namespace

class TestMemoLines : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void lineBreaks_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("empty") << "" << QStringList{};
        QTest::newRow("two lines") << "ABC\nDEF" << QStringList{"ABC", "DEF"};
        QTest::newRow("final line break") << "ABC\nDEF\n" << QStringList{"ABC", "DEF"};
        QTest::newRow("two final line breaks") << "ABC\nDEF\n\n" << QStringList{"ABC", "DEF", ""};
        QTest::newRow("empty inner line") << "A\n\nB" << QStringList{"A", "", "B"};
        QTest::newRow("only a line break") << "\n" << QStringList{""};
        QTest::newRow("blanks kept") << "  A  \n B" << QStringList{"  A  ", " B"};
    }

    void lineBreaks()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, lines);
        QPlainTextEdit memo;
        setUpBox(memo, MemoGeometry::MarksWidth);
        memo.setPlainText(text);
        QCOMPARE(MemoLines::displayLines(memo), lines);
    }

    // Wrapped lines are the ones the box shows, at the widths of both boxes.
    void wrapsAsTheBox_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<QString>("text");
        QTest::newRow("marks, words") << MemoGeometry::MarksWidth << words(40);
        QTest::newRow("description, words") << MemoGeometry::DescriptionWidth << words(60);
        QTest::newRow("marks, one long word") << MemoGeometry::MarksWidth << QString(90, u'W');
        QTest::newRow("description, paragraphs")
            << MemoGeometry::DescriptionWidth << words(25) + "\n\n" + words(3) + "\n" + QString(120, u'8') + "\n";
    }

    void wrapsAsTheBox()
    {
        QFETCH(int, width);
        QFETCH(QString, text);
        QPlainTextEdit memo;
        setUpBox(memo, width);
        memo.setPlainText(text);
        QStringList expected = shownLines(memo);
        if (text.endsWith(u'\n'))
            expected.removeLast(); // the empty line after a final line break is not a line of the text
        const QStringList lines = MemoLines::displayLines(memo);
        QCOMPARE(lines, expected);
        QVERIFY(lines.size() > text.count(u'\n') + 1);
        // Nothing is lost or added: the lines of each paragraph give the paragraph back.
        QCOMPARE(lines.join(QString()), QString(text).remove(u'\n'));
    }
};

DALVORA_TEST_MAIN(TestMemoLines)
#include "tst_memolines.moc"
