// A stand-in for the window system, so that fuzz targets can run the panel
// and console code of the program without a display: GLUT needs glutInit and
// an X server before any call, and libFuzzer runs millions of inputs.
//
// Only what the code under test calls on its paths is stood in for; drawing
// entry points that are linked but never reached come from the real GL
// libraries.
#pragma once

namespace fourview::headless {

// Pixel width that the stand-in glutBitmapWidth gives every character of
// `font`: the fixed fonts' real width (8 for 8x13, 9 for 9x15) and, for the
// proportional fonts, whatever the target sets here.
int fixed_font_width(void* font);
// Widths the stand-in gives each character of the proportional (Helvetica
// and Times) fonts; a target may rewrite them for each input.
extern int proportional_widths[256];

// How many times the code asked for a redisplay or a new window size since
// the last reset.
extern int redisplays;
extern int reshapes;
extern int last_reshape_width, last_reshape_height;
void reset_counts();

}  // namespace fourview::headless
