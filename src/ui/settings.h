// Console input of the settings shown in the values window.
#pragma once

namespace fourview {

// Runs the console dialogue of the values-window line `code` (80-92) for the
// button at `index`, stores and shows the answer, and has the graph redrawn.
// Blocks until the dialogue is answered.
void edit_setting(int code, int index);

}  // namespace fourview
