#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRectF>
#include <QString>
#include <QStringList>

// One element of a report design or of a prepared page. Coordinates are pixels at 96 per inch: relative to the
// band's top-left corner in a design, relative to the page's top-left corner on a prepared page.
struct ReportItem
{
    enum Kind {
        Line,        // a filled rectangle: "701 x 1" is a horizontal rule
        Label,       // one line of text
        Memo,        // several lines, one under the other, `lineHeight` apart
        Picture,     // an image at its natural size
        PageCounter, // `text` with "%1" for the page number and "%2" for the number of pages
    };

    Kind kind = Label;
    QString name;
    QRectF rect;
    QString text;
    QStringList lines; // Memo: the wrapped lines (design: the text's own lines, wrapped by the engine)
    qreal lineHeight = 0;
    QFont font;
    Qt::Alignment alignment = Qt::AlignLeft;
    bool autoSize = false; // a self-sizing label runs on past its design width instead of being cut
    // A figure too wide for its fixed box is drawn in a smaller font rather than cut: a number that lost its
    // leading digits would read as another number.
    bool shrinkToFit = false;
    QColor color = Qt::black;
    QColor background;  // filled behind the text's box when valid
    qreal rotation = 0; // degrees counter-clockwise; the rotated box's bounding top-left sits at rect's top-left
    QImage image;
};
