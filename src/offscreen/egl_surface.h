// An OpenGL context with no window and no display: EGL on Mesa's surfaceless
// platform (or a device's display where it is missing), a compatibility-profile context (the fixed-function drawing is
// the program's own), and a pbuffer of the figure's size with the pixel
// format of the graph window under X: 8 bits per colour with alpha 8 (the
// alpha-less formats round the clear colour differently) and a 32-bit depth
// buffer, the depth GLUT's window gets. A pbuffer rather than a framebuffer
// object: it is a window-system drawable like the window, and llvmpipe
// rasterises a few polygon-edge pixels of an object's image differently
// from a window's; with the pbuffer every pixel is the window's. Its size
// limit (EGL_MAX_PBUFFER_WIDTH/HEIGHT, 4096 x 4096 with llvmpipe) is the
// figures' limit.
#pragma once

#include <string>

namespace fourview {

enum class OffscreenResult {
    kReady,
    kTooLarge,     // the size is beyond the renderer: a usage error
    kUnavailable,  // no EGL, no surfaceless platform, no context
};

// Mesa's surfaceless platform, and where it is missing or does not start,
// a device's display (EGL_EXT_platform_device); the tests pick one.
enum class OffscreenPlatform { kAny, kSurfaceless, kDevice };

// Makes the context current on a width x height surface.
// `error` is one line when the result is not kReady.
OffscreenResult open_offscreen(int width, int height, std::string& error,
                               OffscreenPlatform platform = OffscreenPlatform::kAny);
void close_offscreen();

// The frame drawn so far, RGB, rows from the top down.
void read_offscreen_pixels(int width, int height, unsigned char* rgb);

}  // namespace fourview
