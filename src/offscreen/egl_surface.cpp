#include "offscreen/egl_surface.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace fourview {

namespace {

EGLDisplay display = EGL_NO_DISPLAY;
EGLContext context = EGL_NO_CONTEXT;
EGLSurface surface = EGL_NO_SURFACE;

EGLint attribute(EGLConfig config, EGLint name) {
    EGLint value = 0;
    eglGetConfigAttrib(display, config, name, &value);
    return value;
}

// The exact format first; another driver may not offer it, and then the
// deepest depth buffer with 8-bit colour will do.
bool choose_config(EGLConfig& chosen) {
    const EGLint wanted[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
                             EGL_RED_SIZE, 8, EGL_GREEN_SIZE, 8, EGL_BLUE_SIZE, 8, EGL_DEPTH_SIZE, 24,
                             EGL_NONE};
    EGLint count = 0;
    if (!eglChooseConfig(display, wanted, nullptr, 0, &count) || count < 1) return false;
    std::vector<EGLConfig> configs(static_cast<std::size_t>(count));
    eglChooseConfig(display, wanted, configs.data(), count, &count);
    int best_score = -1;
    for (EGLConfig c : configs) {
        if (attribute(c, EGL_RED_SIZE) != 8 || attribute(c, EGL_GREEN_SIZE) != 8 ||
            attribute(c, EGL_BLUE_SIZE) != 8)
            continue;
        const int score = (attribute(c, EGL_DEPTH_SIZE) == 32 ? 4 : 0) +
                          (attribute(c, EGL_ALPHA_SIZE) == 8 ? 2 : 0) +
                          (attribute(c, EGL_STENCIL_SIZE) == 0 ? 1 : 0);
        if (score > best_score) {
            best_score = score;
            chosen = c;
        }
    }
    return best_score >= 0;
}

bool has_extension(const char* list, const char* name) {
    if (list == nullptr) return false;
    const std::size_t n = std::strlen(name);
    for (const char* p = std::strstr(list, name); p != nullptr; p = std::strstr(p + n, name))
        if ((p == list || p[-1] == ' ') && (p[n] == ' ' || p[n] == '\0')) return true;
    return false;
}

EGLDisplay surfaceless_display() {
    if (!has_extension(eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS), "EGL_MESA_platform_surfaceless"))
        return EGL_NO_DISPLAY;
    auto get_platform_display = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (get_platform_display == nullptr) return EGL_NO_DISPLAY;
    return get_platform_display(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
}

// Where Mesa has no surfaceless platform (or it cannot start), a device's
// own display: a GPU's, or Mesa's software device.
EGLDisplay device_display() {
    const char* extensions = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
    if (!has_extension(extensions, "EGL_EXT_platform_device") ||
        !has_extension(extensions, "EGL_EXT_device_enumeration"))
        return EGL_NO_DISPLAY;
    auto query_devices = reinterpret_cast<PFNEGLQUERYDEVICESEXTPROC>(eglGetProcAddress("eglQueryDevicesEXT"));
    auto get_platform_display = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    EGLDeviceEXT devices[16];
    EGLint count = 0;
    if (query_devices == nullptr || get_platform_display == nullptr || !query_devices(16, devices, &count))
        return EGL_NO_DISPLAY;
    for (EGLint i = 0; i < count; ++i) {
        EGLDisplay d = get_platform_display(EGL_PLATFORM_DEVICE_EXT, devices[i], nullptr);
        if (d != EGL_NO_DISPLAY && eglInitialize(d, nullptr, nullptr)) return d;
    }
    return EGL_NO_DISPLAY;
}

// An initialised display on the platforms allowed, surfaceless first.
EGLDisplay initialised_display(OffscreenPlatform platform) {
    if (platform != OffscreenPlatform::kDevice) {
        EGLDisplay d = surfaceless_display();
        if (d != EGL_NO_DISPLAY && eglInitialize(d, nullptr, nullptr)) return d;
    }
    return platform == OffscreenPlatform::kSurfaceless ? EGL_NO_DISPLAY : device_display();
}

OffscreenResult fail(std::string& error, const std::string& what) {
    error = what;
    close_offscreen();
    return OffscreenResult::kUnavailable;
}

}  // namespace

OffscreenResult open_offscreen(int width, int height, std::string& error, OffscreenPlatform platform) {
    display = initialised_display(platform);
    if (display == EGL_NO_DISPLAY)
        return fail(error, "no offscreen OpenGL: EGL has neither a surfaceless platform nor a device "
                           "that starts (Mesa's libegl1)");
    EGLConfig config{};
    if (!eglBindAPI(EGL_OPENGL_API) || !choose_config(config))
        return fail(error, "no offscreen OpenGL: no RGB pbuffer with a depth buffer");

    const EGLint max_width = attribute(config, EGL_MAX_PBUFFER_WIDTH);
    const EGLint max_height = attribute(config, EGL_MAX_PBUFFER_HEIGHT);
    const EGLint max_pixels = attribute(config, EGL_MAX_PBUFFER_PIXELS);
    if ((max_width > 0 && width > max_width) || (max_height > 0 && height > max_height) ||
        (max_pixels > 0 && static_cast<int64_t>(width) * height > max_pixels)) {
        error = "the renderer holds pictures up to " + std::to_string(max_width) + "x" +
                std::to_string(max_height);
        close_offscreen();
        return OffscreenResult::kTooLarge;
    }

    // No attributes: the compatibility profile, where glBegin, the lights
    // and the materials work as in the windows.
    context = eglCreateContext(display, config, EGL_NO_CONTEXT, nullptr);
    if (context == EGL_NO_CONTEXT) return fail(error, "no offscreen OpenGL: no context");
    const EGLint size[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
    surface = eglCreatePbufferSurface(display, config, size);
    if (surface == EGL_NO_SURFACE) {
        const bool memory = eglGetError() == EGL_BAD_ALLOC;
        error = memory ? "the renderer cannot allocate a picture of this size"
                       : "no offscreen OpenGL: no pbuffer";
        close_offscreen();
        return memory ? OffscreenResult::kTooLarge : OffscreenResult::kUnavailable;
    }
    if (!eglMakeCurrent(display, surface, surface, context))
        return fail(error, "no offscreen OpenGL: the context cannot be made current");

    GLint viewport[2] = {0, 0};
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, viewport);
    if (width > viewport[0] || height > viewport[1]) {
        error = "the renderer draws pictures up to " + std::to_string(viewport[0]) + "x" +
                std::to_string(viewport[1]);
        close_offscreen();
        return OffscreenResult::kTooLarge;
    }
    return OffscreenResult::kReady;
}

void close_offscreen() {
    if (display == EGL_NO_DISPLAY) return;
    eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (surface != EGL_NO_SURFACE) eglDestroySurface(display, surface);
    if (context != EGL_NO_CONTEXT) eglDestroyContext(display, context);
    eglTerminate(display);
    surface = EGL_NO_SURFACE;
    context = EGL_NO_CONTEXT;
    display = EGL_NO_DISPLAY;
}

void read_offscreen_pixels(int width, int height, unsigned char* rgb) {
    GLint buffer = GL_BACK;
    glGetIntegerv(GL_DRAW_BUFFER, &buffer);
    glReadBuffer(static_cast<GLenum>(buffer));
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb);
    // OpenGL's row 0 is the bottom one.
    const std::size_t row_bytes = static_cast<std::size_t>(width) * 3;
    for (int top = 0, bottom = height - 1; top < bottom; ++top, --bottom)
        std::swap_ranges(rgb + row_bytes * top, rgb + row_bytes * (top + 1), rgb + row_bytes * bottom);
    glPopClientAttrib();
}

}  // namespace fourview
