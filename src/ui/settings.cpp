#include "ui/settings.h"

#include <GL/glut.h>

#include <cmath>
#include <cstdio>

#include "app/app_state.h"
#include "app/window_system.h"
#include "app/windows.h"
#include "expr/console.h"
#include "expr/equation_entry.h"
#include "render/frame.h"
#include "ui/values.h"

namespace fourview {

static_assert(kRangeTextSize == EXPRESSION_TEXT_LENGTH + 1,
              "a range bound keeps its whole text, as long as an equation");

namespace {

void say(const char* text) { console_write(stdout, text); }

// 0 until a GL context has told it.
int viewport_limit[2] = {0, 0};

// Asks with `prompt` until the answer is an int from `least` to `most`.
bool ask_int_between(const char* prompt, int least, int most, int& value) {
    for (;;) {
        say(prompt);
        int v = 0;
        const Answer a = read_int_answer(v);
        if (a == Answer::ended) return false;
        if (a == Answer::ok && v >= least && v <= most) {
            value = v;
            return true;
        }
    }
}

// Asks with `prompt` until the answer is a number greater than 0.
bool ask_positive(const char* prompt, double& value) {
    for (;;) {
        say(prompt);
        double v = 0;
        const Answer a = read_double_answers(&v, 1);
        if (a == Answer::ended) return false;
        if (a == Answer::ok && v > 0.0) {
            value = v;
            return true;
        }
    }
}

// Asks with `prompt` until `count` numbers are typed.
bool ask_numbers(const char* prompt, double* values, int count) {
    for (;;) {
        say(prompt);
        const Answer a = read_double_answers(values, count);
        if (a == Answer::ended) return false;
        if (a == Answer::ok) return true;
    }
}

// The width line also takes both sides at once, "800 600", "800, 600" or
// "(800, 600)", as the values window shows them; the height is then not
// asked.
bool ask_window_size() {
    say("\nPlease input Window Size.\n");
    int width = 0, height = 0;
    for (;;) {
        say("widht = ");
        int sides[2] = {0, 0};
        int count = 0;
        const Answer a = read_int_answers(sides, 1, 2, count);
        if (a == Answer::ended) return false;
        if (a != Answer::ok) continue;
        if (count == 2 ? window_size_fits(sides[0], sides[1]) : window_size_fits(sides[0], 1)) {
            width = sides[0];
            height = sides[1];
            break;
        }
    }
    while (height == 0 || !window_size_fits(width, height))
        if (!ask_int_between("height = ", 1, kLargestWindowSide, height)) return false;
    app.window_width = width;
    app.window_height = height;
    return true;
}

// Both bounds are asked for before either is stored, so an input that ends
// halfway leaves the old range whole.
bool ask_range(const char* heading, const char* low_name, const char* high_name, double& low,
               char* low_text, double& high, char* high_text) {
    double lo = 0, hi = 0;
    char lo_text[kRangeTextSize], hi_text[kRangeTextSize];
    do {
        say(heading);
        if (!ask_constant(lo, lo_text, low_name)) return false;
        if (!ask_constant(hi, hi_text, high_name)) return false;
    } while (!usable_range(lo, hi));
    low = lo;
    high = hi;
    std::snprintf(low_text, kRangeTextSize, "%s", lo_text);
    std::snprintf(high_text, kRangeTextSize, "%s", hi_text);
    return true;
}

bool ask_center() {
    say("\nPlease input graph_center.\n");
    double c[4];
    if (!ask_numbers("(x, y, z, w) = ", c, 4)) return false;
    app.graph_center = Point4{c[0], c[1], c[2], c[3]};
    return true;
}

bool ask_rotation_angle() {
    // The heading is the only prompt, so it is what a refused answer repeats.
    for (;;) {
        say("\nPlease input roation angle.\n");
        int angle = 0;
        const Answer a = read_int_answer(angle);
        if (a == Answer::ended) return false;
        if (a == Answer::ok) {
            app.rotation_angle = angle;
            return true;
        }
    }
}

bool ask_hyperplane() {
    double h[5];
    do {
        say("\nPlease input aX + bY + cZ + dW = e\n");
        if (!ask_numbers("(a,b,c,d,e) = ", h, 5)) return false;
    } while (!usable_normal(h[0], h[1], h[2], h[3]));
    for (int i = 0; i < 5; ++i) app.hyperplane[i] = h[i];
    return true;
}

bool ask_zoom() {
    say("Please input Zoom rate.\n");
    double zoom = 0;
    do {
        if (!ask_positive("Zoom = ", zoom)) return false;
    } while (!zoom_allowed(zoom));
    app.zoom = zoom;
    return true;
}

// The values-window row that shows the line of `code`.
int row_of(int code) {
    switch (code) {
        case 92: return value_window_size_row;
        case 81: return 1;
        case 82: return 2;
        case 80: return 3;
        case 83: return 4;
        case 84: return 5;
        case 85:
        case 88: return value_hyperplane_row;
        case 89: return value_zoom_row;
        default: return -1;
    }
}

}  // namespace

void note_viewport_limit() {
    GLint dims[2] = {0, 0};
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, dims);
    set_viewport_limit(dims[0], dims[1]);
}

void set_viewport_limit(int width, int height) {
    viewport_limit[0] = width > 0 ? width : 0;
    viewport_limit[1] = height > 0 ? height : 0;
}

bool window_size_fits(int width, int height) {
    if (width < 1 || height < 1 || width > kLargestWindowSide || height > kLargestWindowSide)
        return false;
    if (static_cast<long long>(width) * height > kMostWindowPixels) return false;
    return (viewport_limit[0] == 0 || width <= viewport_limit[0]) &&
           (viewport_limit[1] == 0 || height <= viewport_limit[1]);
}

bool zoom_allowed(double zoom) { return zoom >= kLeastZoom && zoom <= kMostZoom; }

bool ask_setting(int code) {
    // Once the console has ended no dialogue starts: not even its heading.
    if (code != 88 && row_of(code) >= 0 && console_input_gone()) return false;
    if (code != 88 && row_of(code) >= 0) show_console_notice();
    switch (code) {
        case 92: return ask_window_size();
        case 81:
            return ask_range("\ns_min <= s <= s_max\n", "s_min", "s_max", app.s_min, app.s_min_text,
                             app.s_max, app.s_max_text);
        case 82:
            return ask_range("\nt_min <= t <= t_max\n", "t_min", "t_max", app.t_min, app.t_min_text,
                             app.t_max, app.t_max_text);
        case 80: {
            double v = 0;
            if (!ask_positive("\nInfinity = ", v)) return false;
            app.infinity = v;
            return true;
        }
        case 83: return ask_center();
        case 84: return ask_rotation_angle();
        case 85: return ask_hyperplane();
        case 88:
            app.section_offset = 0.0;
            return true;
        case 89: return ask_zoom();
        default: return false;
    }
}

void edit_setting(int code, int index) {
    if (ask_setting(code)) {
        // The line of the pressed button's row; the "*" button sits in the
        // hyperplane row.
        const int row = code != 88 && index >= 0 && index < kValueFieldCount ? index : row_of(code);
        switch (code) {
            case 92:
                refresh_value_field(92, row);
                select_window(app.graph_window);
                reshape_window(app.window_width, app.window_height);
                apply_projection();
                break;
            case 85:
                refresh_value_field(85, row);
                reset_view();  // the view follows the new hyperplane; the offset goes back to 0
                break;
            case 88: refresh_value_field(85, row); break;
            case 89:
                apply_projection();
                refresh_value_field(89, row);
                break;
            default: refresh_value_field(code, row); break;
        }
    }
    app.frame_changed = 1;
    select_window(app.graph_window);
    post_redisplay();
}

}  // namespace fourview
