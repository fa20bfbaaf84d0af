// Text in the windows (bitmap fonts) and the overlays of the graph window.
#pragma once

namespace fourview {

// x from the left, y downwards from the top of the current window; the
// baseline lies 8 pixels below y (6, and 1 to the right, for 9x15).
void draw_text(int x, int y, void* font, const char* text);

void draw_caption();
void draw_axes();

}  // namespace fourview
