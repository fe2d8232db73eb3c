#pragma once

class QFocusEvent;
class QWidget;

// The value being typed when an action starts.
namespace TypedValue {
// Lets the field that has the focus in `window` take its text, as leaving it would: false when it refuses the text
// (it has then said so and shows the value kept), and the action should stop. The window's own focus is asked, not
// the application's: that is empty while another window is active, and the action would go on with the value kept.
bool commitFocused(const QWidget *window);
// Drops what the field that has the focus in `window` holds typed, before Cancelar throws the row's changes away:
// leaving the field would otherwise refuse a value that is being discarded anyway.
void discardFocused(const QWidget *window);
// The focus leaves the field only for a while: another window became active, or a menu opened over the field. What is
// being typed is then neither taken nor refused; the clerk comes back to it.
bool leavesForAWhile(const QFocusEvent *event);
} // namespace TypedValue
