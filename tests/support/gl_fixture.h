// A real GL context for tests: the program's own three windows, created
// once per test process under the Xvfb that with_xvfb.sh started, with no
// main loop. Tests call the callbacks directly and read the back buffer.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace fourview {
namespace testing {

// Creates the windows and the initial contents once (glutInit on first
// use); afterwards resets the state record to its start values, so every
// test begins from a freshly started program.
void start_program();

// Restores AppState to the start-up values (windows and menus kept).
void restore_start_state();

struct Rgb {
    uint8_t r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

// The back buffer of the current window, rows bottom to top (GL order).
struct Pixels {
    int width = 0, height = 0;
    std::vector<uint8_t> data;
    // (x, y) with y counted from the top, as a person reads a screenshot.
    Rgb at(int x, int y) const;
};
Pixels read_back_buffer();

// Draws one graph frame without swapping away the result: runs
// display_graph with the swap suppressed, then reads the back buffer.
Pixels render_graph_frame();

// Counts the primitives the callable emits, in OpenGL feedback mode, in
// the graph window with a projection that encloses everything.
struct FeedbackCounts {
    int polygons = 0;     // GL_POLYGON_TOKEN (each quad of a strip gives two)
    int lines = 0;        // GL_LINE_TOKEN + GL_LINE_RESET_TOKEN
    int points = 0;       // GL_POINT_TOKEN
    int bitmaps = 0;      // GL_BITMAP_TOKEN, GL_DRAW_PIXEL_TOKEN...
    int pass_through = 0; // GL_PASS_THROUGH_TOKEN markers
    bool overflow = false;
    bool has_nan = false; // any vertex coordinate not finite
};
template <typename F>
FeedbackCounts count_feedback(F&& draw);
FeedbackCounts count_feedback_fn(void (*draw)(void*), void* ctx);

template <typename F>
FeedbackCounts count_feedback(F&& draw) {
    return count_feedback_fn([](void* c) { (*static_cast<F*>(c))(); }, &draw);
}

}  // namespace testing
}  // namespace fourview
