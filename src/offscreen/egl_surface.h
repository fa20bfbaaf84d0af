// An OpenGL context with no window and no display: EGL on Mesa's surfaceless
// platform, a compatibility-profile context (the fixed-function drawing is
// the program's own), drawing into a framebuffer object of the figure's
// size with the graph window's pixel format under X: 8 bits per colour with
// alpha (the alpha-less formats round the clear colour differently) and a
// 32-bit depth buffer, the depth GLUT's window gets.
#pragma once

#include <string>

namespace fourview {

enum class OffscreenResult {
    kReady,
    kTooLarge,     // the size is beyond the renderer: a usage error
    kUnavailable,  // no EGL, no surfaceless platform, no context
};

// Makes the context current with a width x height framebuffer bound.
// `error` is one line when the result is not kReady.
OffscreenResult open_offscreen(int width, int height, std::string& error);
void close_offscreen();

// The frame drawn so far, RGB, rows from the top down.
void read_offscreen_pixels(int width, int height, unsigned char* rgb);

}  // namespace fourview
