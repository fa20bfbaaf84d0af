// An OpenGL context with no window and no display: EGL on Mesa's surfaceless
// platform, a compatibility-profile context (the fixed-function drawing is
// the program's own), and a pbuffer of the figure's size with the pixel
// format of the graph window under X: 8 bits per colour with alpha 8 and a
// 32-bit depth buffer (the faces' polygon offset depends on the depth
// format, and the alpha-less formats round the clear colour differently).
#pragma once

#include <string>

namespace fourview {

enum class OffscreenResult {
    kReady,
    kTooLarge,    // the size is beyond the renderer: a usage error
    kUnavailable, // no EGL, no surfaceless platform, no context
};

// Makes the context current on a width x height surface. `error` is one
// line when the result is not kReady.
OffscreenResult open_offscreen(int width, int height, std::string& error);
void close_offscreen();

// The frame drawn so far, RGB, rows from the top down.
void read_offscreen_pixels(int width, int height, unsigned char* rgb);

}  // namespace fourview
