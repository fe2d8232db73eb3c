#pragma once

// The value being typed when an action starts.
namespace TypedValue {
// Lets the field that has the focus take its text, as leaving it would: false when it refuses the text (it has then
// said so and shows the value kept), and the action should stop.
bool commitFocused();
} // namespace TypedValue
