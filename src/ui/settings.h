// Console input of the settings shown in the values window.
#pragma once

namespace fourview {

// Runs the console dialogue of the values-window line `code` (80-92) for the
// button at `index`, stores and shows the answer, and has the graph redrawn.
// Blocks until the dialogue is answered; returns at once once the console
// input has ended, leaving the settings as they were.
void edit_setting(int code, int index);

// The console half of edit_setting, without GL: asks for the setting of
// `code`, validates it and stores it in the state record (88, the "*"
// button, sets the section offset to 0 without asking). True when the state
// changed; false for the codes without a dialogue and when the input ended
// before the dialogue was answered, which leaves every value as it was.
bool ask_setting(int code);

// A range for the parameter s or t: both bounds finite, the lower one below
// the upper one, and a finite width between them.
bool usable_range(double low, double high);

// A normal (a, b, c, d) of the cutting hyperplane that the view can be
// aligned with: not all 0, and a squared length that neither underflows to 0
// nor overflows.
bool usable_normal(double a, double b, double c, double d);

}  // namespace fourview
