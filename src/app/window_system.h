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

}  // namespace fourview
