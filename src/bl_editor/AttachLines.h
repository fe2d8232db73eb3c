#pragma once

#include "EditBuffer.h"

#include <QString>
#include <QStringList>

// The counts of a BL's details as last shown on the main window's CONTAINER and SD / NCM buttons.
struct DetailCounts
{
    int containers = 0;
    int sd = 0;
    int ncm = 0;
};

// Which container data make up a container line (the boxes of the attach dialog).
struct ContainerLineParts
{
    bool number = false;
    bool type = false;
    bool seal = false;
    bool gross = false;
    bool tare = false;
    bool packages = false;
    bool packageKind = false;

    bool any() const { return number || type || seal || gross || tare || packages || packageKind; }
};

// Where the lines of one kind go: nowhere, the marks memo or the description memo.
enum class AttachTarget { None = 0, Marks = 1, Description = 2 };

// The bracketed lines attached to a BL's marks and description, built from its detail rows. The words of the
// line formats are fixed and never translated.
namespace AttachLines {

// "IMDG (CLASS): <class>" and/or "   UN NUMBER <number>"; empty when both are empty.
QString imoLine(const QString &imdg, const QString &un);
// One container row (current row of a buffer over Dal_Cntr): "[" elements "]".
QString containerLine(const EditBuffer &rows, int row, const ContainerLineParts &parts);
// "[" kind "  " number "]".
QString sdLine(const QString &kind, const QString &number);
// "[" code "]".
QString ncmLine(const QString &code);

// All lines of a detail buffer, in its row order.
QStringList containerLines(const EditBuffer &rows, const ContainerLineParts &parts);
QStringList sdLines(const EditBuffer &rows);
QStringList ncmLines(const EditBuffer &rows);

// The memo text (lines separated by CR LF) with each line appended after an empty line; the text already there is
// kept as it is.
QString appendLines(const QString &memo, const QStringList &lines);

// The refusal of the attach action, in checking order, or the empty text when the dialog may open:
// nothing to attach at all, then a BL that is not being edited. editCaption: the main window's Editar caption.
QString refusal(const DetailCounts &counts, const QString &imoLine, EditBuffer::State blState,
                const QString &editCaption);

} // namespace AttachLines
