#pragma once

#include <QColor>

class QGroupBox;
class QWidget;

// Coloured and bold captions set through the palette and the font. Style sheets would give the same look, but each
// one costs a style of its own and a re-polish of the widget's children, which the main window's start-up feels.
namespace TextEmphasis {
// The widget's own text (a label, a radio button, a tool button) in the colour and weight given.
void apply(QWidget *widget, const QColor &color, bool bold);
// A group's title in the colour and weight given; the controls inside keep the plain text they had.
void applyToTitle(QGroupBox *group, const QColor &color, bool bold);
// The "emphasis" property set in a form: "navy", "navy bold", "navy bold title" (a group's title), or "bold tabs"
// (the captions of a tab widget's tabs). Groups are done first, so that a control inside one can still have its own.
void applyFormProperties(QWidget *form);
} // namespace TextEmphasis
