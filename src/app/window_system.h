// The window-system calls that drawing and the state routines make while
// the program runs: which window is current, its size, redisplay requests,
// the buffer swap and the bitmap fonts. Routed through here, never called on
// GLUT directly, so that one place decides who answers them — GLUT's
// windows, or an offscreen surface that draws the graph window's frame with
// no display at all (GLUT refuses every call before glutInit, and glutInit
// needs a display).
#pragma once

namespace fourview {

void select_window(int window);
int window_width();   // of the current window
int window_height();
void post_redisplay();  // of the current window
void post_window_redisplay(int window);
void swap_window_buffers();
void reshape_window(int width, int height);
int pointer_modifiers();

// One character of a GLUT bitmap font at the raster position, and its
// advance in pixels.
void bitmap_character(void* font, int character);
int bitmap_width(void* font, int character);

// From here on the calls above are answered for one offscreen frame of
// width x height, with no window and no GLUT: selecting a window, redisplay
// requests, the swap and reshapes do nothing (the figure's size is fixed),
// no modifier is held, and the bitmap fonts are drawn from libglut's glyph
// data (offscreen/bitmap_font.h).
void use_offscreen_window_system(int width, int height);
bool offscreen_window_system();

}  // namespace fourview
