// Watches every vertex, normal, translation, matrix and raster position, and
// every vertex and normal of the GL back end's arrays, that the
// drawing code hands to GL in this test executable (see the link options in
// tests/CMakeLists.txt). Feedback mode cannot show such values: it silently
// drops primitives with a vertex that is not finite.
#pragma once

namespace fourview {
namespace testing {

struct GlValues {
    long values = 0;  // every coordinate handed over
    long bad = 0;     // not finite, or too large for single precision
};

// Zeroes the counts, runs draw, and returns what it handed to GL.
template <typename F>
GlValues watch_gl_values(F&& draw);

void reset_gl_values();
GlValues gl_values();

template <typename F>
GlValues watch_gl_values(F&& draw) {
    reset_gl_values();
    draw();
    return gl_values();
}

}  // namespace testing
}  // namespace fourview
