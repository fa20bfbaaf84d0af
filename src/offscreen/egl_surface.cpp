#include "offscreen/egl_surface.h"

#define GL_GLEXT_PROTOTYPES 1
#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cstring>

namespace fourview {

namespace {

EGLDisplay display = EGL_NO_DISPLAY;
EGLContext context = EGL_NO_CONTEXT;
GLuint framebuffer = 0;
GLuint renderbuffers[2] = {0, 0};  // colour, depth

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

OffscreenResult fail(std::string& error, const char* what) {
    error = std::string("no offscreen OpenGL: ") + what;
    close_offscreen();
    return OffscreenResult::kUnavailable;
}

OffscreenResult too_large(std::string& error, const std::string& what) {
    error = what;
    close_offscreen();
    return OffscreenResult::kTooLarge;
}

}  // namespace

OffscreenResult open_offscreen(int width, int height, std::string& error) {
    display = surfaceless_display();
    if (display == EGL_NO_DISPLAY) return fail(error, "EGL has no surfaceless platform (Mesa's libegl1)");
    if (!eglInitialize(display, nullptr, nullptr)) {
        display = EGL_NO_DISPLAY;
        return fail(error, "EGL could not be initialised");
    }
    if (!has_extension(eglQueryString(display, EGL_EXTENSIONS), "EGL_KHR_surfaceless_context"))
        return fail(error, "EGL cannot make a context current without a surface");
    // Any surface type: the default (windows) matches nothing here.
    const EGLint wanted[] = {EGL_SURFACE_TYPE, 0, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_NONE};
    EGLConfig config{};
    EGLint count = 0;
    if (!eglBindAPI(EGL_OPENGL_API) || !eglChooseConfig(display, wanted, &config, 1, &count) ||
        count < 1)
        return fail(error, "EGL offers no desktop OpenGL");
    // No attributes: the compatibility profile, where glBegin, the lights
    // and the materials work as in the windows.
    context = eglCreateContext(display, config, EGL_NO_CONTEXT, nullptr);
    if (context == EGL_NO_CONTEXT) return fail(error, "no context");
    if (!eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, context))
        return fail(error, "the context cannot be made current");

    GLint viewport[2] = {0, 0}, renderbuffer = 0;
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, viewport);
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &renderbuffer);
    const int most_width = std::min(viewport[0], renderbuffer);
    const int most_height = std::min(viewport[1], renderbuffer);
    if (width > most_width || height > most_height)
        return too_large(error, "the renderer draws pictures up to " + std::to_string(most_width) +
                                    "x" + std::to_string(most_height));

    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glGenRenderbuffers(2, renderbuffers);
    const GLenum formats[2] = {GL_RGBA8, GL_DEPTH_COMPONENT32};
    const GLenum attachments[2] = {GL_COLOR_ATTACHMENT0, GL_DEPTH_ATTACHMENT};
    while (glGetError() != GL_NO_ERROR) {
    }
    for (int i = 0; i < 2; ++i) {
        glBindRenderbuffer(GL_RENDERBUFFER, renderbuffers[i]);
        glRenderbufferStorage(GL_RENDERBUFFER, formats[i], width, height);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, attachments[i], GL_RENDERBUFFER, renderbuffers[i]);
    }
    if (glGetError() == GL_OUT_OF_MEMORY)
        return too_large(error, "the renderer cannot allocate a picture of this size");
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE)
        return fail(error, "no framebuffer of 8-bit RGBA with a 32-bit depth buffer");
    glDrawBuffer(GL_COLOR_ATTACHMENT0);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    glViewport(0, 0, width, height);
    return OffscreenResult::kReady;
}

void close_offscreen() {
    if (display == EGL_NO_DISPLAY) return;
    if (framebuffer != 0) {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glDeleteRenderbuffers(2, renderbuffers);
        glDeleteFramebuffers(1, &framebuffer);
    }
    eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (context != EGL_NO_CONTEXT) eglDestroyContext(display, context);
    eglTerminate(display);
    framebuffer = 0;
    renderbuffers[0] = renderbuffers[1] = 0;
    context = EGL_NO_CONTEXT;
    display = EGL_NO_DISPLAY;
}

void read_offscreen_pixels(int width, int height, unsigned char* rgb) {
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb);
    glPopClientAttrib();
    // OpenGL's row 0 is the bottom one.
    const std::size_t row_bytes = static_cast<std::size_t>(width) * 3;
    for (int top = 0, bottom = height - 1; top < bottom; ++top, --bottom)
        std::swap_ranges(rgb + row_bytes * top, rgb + row_bytes * (top + 1), rgb + row_bytes * bottom);
}

}  // namespace fourview
