// Text in the windows (bitmap fonts) and the overlays of the graph window:
// the caption with the model's name and formulas, and the four axes.
#pragma once

#include "geom4/types.h"

namespace fourview {

// For drawing in window or unit coordinates over the frame: both matrices
// saved and set to the identity, the projection left current; the pop puts
// both back and leaves the modelview current.
void push_window_matrices();
void pop_window_matrices();

// x from the left, y downwards from the top of the current window; the
// baseline lies 8 pixels below y (6, and 1 to the right, for 9x15). Leaves
// light 0 off and lights 1 and 2 on.
void draw_text(int x, int y, void* font, const char* text);

// White text outlined in black, readable on any background: the message
// of a saved frame and the console notice.
void draw_outlined_text(int x, int y, void* font, const char* text);
// The text in black on a one-pixel white ring, or in white on a black one.
void draw_haloed_text(int x, int y, void* font, const char* text, bool white_ink);

// The characters of text at the scene point (x, y, z).
void draw_text_3d(double x, double y, double z, void* font, const char* text);

// The name of the current model, twice (black, then white one pixel up and
// left), and its formula lines.
void draw_caption();

// The scale of colour by w in the lower right corner of the current window:
// a bar from blue to orange, labelled with -R, w and +R of the model's radius.
void draw_colour_bar();

// Where the bar lies, x from the left and y downwards, for a window of the
// given size: the pixel rectangle [x0, x1) x [y0, y1).
struct BarPlace {
    int x0, y0, x1, y1;
};
BarPlace colour_bar_place(int width, int height);

// The X, Y, Z and W axes of the frame of the last reset, each with its
// letter near its end.
void draw_axes();

// Axis k (0 x .. 3 w) from the origin to the image of end under the base
// transform; an axis that projects onto the origin is left out.
void draw_axis(const Point4& end, int k);

// "x", "y", "z", "w"; for model 20 "f(x, y)" and "g(x, y)" for z and w.
const char* axis_label_text(int k);

// The stored text of equation `which` (0 x, 1 y, 2 f, 3 g) of graph slot 0.
const char* graph_slot0_text(int which);

}  // namespace fourview
