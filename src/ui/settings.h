// Console input of the settings shown in the values window.
#pragma once

#include "geom4/view.h"

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

// usable_range and usable_normal: pure, shared with the web page.

// X keeps a window's width and height in 16 bits: a larger side would
// reach the server as another size, or as 0, which it refuses with an error
// that ends the program.
constexpr int kLargestWindowSide = 32767;
// The GL driver allocates front, back and depth buffers for every pixel: at
// 12 bytes a pixel, 2^25 pixels (an 8K screen, 7680 x 4320, fits) take
// 384 MiB. A larger window, or figure, can exhaust memory inside the driver.
constexpr long long kMostWindowPixels = 1LL << 25;
// A size the graph can be drawn at: each side 1 to 32767, at most
// kMostWindowPixels pixels, and within GL_MAX_VIEWPORT_DIMS once a context
// has been asked (note_viewport_limit).
bool window_size_fits(int width, int height);
// Reads GL_MAX_VIEWPORT_DIMS of the current context.
void note_viewport_limit();
// The same limit given directly; 0 means not known (no limit of its own).
void set_viewport_limit(int width, int height);

// The view box is 6 / zoom high and its width follows the window's aspect
// (down to 1 : 32767). Within these bounds every entry of the projection,
// and the model's coordinates through it, stay finite and normal in single
// precision; 1e-300 or 1e300 made the model vanish.
constexpr double kLeastZoom = 1e-6;
constexpr double kMostZoom = 1e6;
bool zoom_allowed(double zoom);

}  // namespace fourview
