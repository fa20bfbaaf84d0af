// libFuzzer target: the lines of the values window built from extreme states.
//
// Every value the window shows (infinity, the s and t ranges as typed, the
// centre, the rotation angle, the hyperplane and its offset, the zoom, the
// window size) is taken from the input: doubles among +-0, +-1e308, the
// largest and smallest normal, denormals, NaN and +-infinity or any bit
// pattern; ints at their limits or any; range texts of up to 200 arbitrary
// characters. refresh_value_field builds and fits every line, and then the
// held buttons of the window are pressed, stepped and released.
//
// What must hold for each line: it ends inside its 100-byte cell, it is
// never wider than its field unless nothing but "..." is left, it is the
// whole text or a leading part of it followed by "...", and its label starts
// inside the field. short_number must give |v| as "%f" does, trailing zeros
// and a bare point dropped, whatever size it is given.

#include <GL/glut.h>
#include <fuzzer/FuzzedDataProvider.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/app_state.h"
#include "headless_glut.h"
#include "ui/button_panel.h"
#include "ui/value_text.h"
#include "ui/values.h"

namespace fourview {
namespace {

[[noreturn]] void fault(const char* what, const char* text) {
    std::fprintf(stderr, "values fault: %s\ntext: \"%s\"\n", what, text);
    std::abort();
}

double pick_double(FuzzedDataProvider& in) {
    static constexpr double Specials[] = {
        0.0, -0.0, 1e308, -1e308, DBL_MAX, -DBL_MAX, DBL_MIN, -DBL_MIN, 4.9406564584124654e-324,
        -4.9406564584124654e-324, 2.2250738585072009e-308, NAN, -NAN, INFINITY, -INFINITY, 1.0,
        -1.0, 0.5, 1e100, 0.0000005, 0.0000004999, 999999.9999995, -1e-7};
    constexpr std::size_t kCount = sizeof Specials / sizeof Specials[0];
    const std::size_t choice = in.ConsumeIntegralInRange<std::size_t>(0, kCount);
    if (choice < kCount) return Specials[choice];
    double v;
    const std::uint64_t bits = in.ConsumeIntegral<std::uint64_t>();
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

int pick_int(FuzzedDataProvider& in) {
    static constexpr int Specials[] = {INT_MIN, INT_MAX, INT_MIN + 1, INT_MAX - 1, -1, 0, 1, 32767};
    constexpr std::size_t kCount = sizeof Specials / sizeof Specials[0];
    const std::size_t choice = in.ConsumeIntegralInRange<std::size_t>(0, kCount);
    return choice < kCount ? Specials[choice] : in.ConsumeIntegral<int>();
}

void pick_text(FuzzedDataProvider& in, char* text) {
    const std::string s = in.ConsumeRandomLengthString(kRangeTextSize - 1);
    std::snprintf(text, kRangeTextSize, "%s", s.c_str());  // stops at a NUL byte
}

int text_width(const ButtonPanel& f) {
    int w = 0;
    for (const char* c = f.text; *c != '\0'; ++c) w += glutBitmapWidth(f.font, static_cast<unsigned char>(*c));
    return w;
}

// The field of `row`, just refreshed for `code`, against the line text.
void check_field(int row, int code) {
    const ButtonPanel& f = value_fields[row];
    const std::size_t length = strnlen(f.text, kButtonTextSize);
    if (length >= kButtonTextSize) fault("cell without its end", "");
    char line[kValueLineWork];
    if (!value_line_text(line, sizeof line, code, app)) return;
    if (strnlen(line, sizeof line) >= sizeof line) fault("line without its end", "");
    const int width = text_width(f);
    const bool dots = length >= 3 && std::strcmp(f.text + length - 3, "...") == 0;
    if (std::strcmp(f.text, line) != 0) {
        if (!dots) fault("a changed line does not end in ...", f.text);
        if (std::strncmp(f.text, line, length - 3) != 0) fault("the cut line is not the start of the text", f.text);
    }
    if (width > f.width && std::strcmp(f.text, "...") != 0) fault("the line is wider than its field", f.text);
    if (f.text_x < 0 && std::strcmp(f.text, "...") != 0) fault("the label starts left of its field", f.text);
}

void check_short_number(double v, std::size_t size) {
    char out[400];
    std::memset(out, '#', sizeof out);
    short_number(out, size, v);
    if (strnlen(out, size) >= size) fault("short number without its end", "");
    if (size < 330) return;  // cut short: only the end matters
    char full[400];
    std::snprintf(full, sizeof full, "%f", std::fabs(v));
    if (std::isnan(v)) {
        if (std::strcmp(out, full) != 0) fault("NaN not as %f gives it", out);
        return;
    }
    if (out[0] == '-') fault("short number with a sign", out);
    const std::size_t n = std::strlen(out);
    if (std::strchr(out, '.') != nullptr && (out[n - 1] == '0' || out[n - 1] == '.'))
        fault("trailing zero or point kept", out);
    if (std::strncmp(out, full, n) != 0) fault("short number is not the start of %f", out);
    if (std::isfinite(v) && std::strtod(out, nullptr) != std::strtod(full, nullptr))
        fault("short number changed the value", out);
}

}  // namespace
}  // namespace fourview

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace fourview;
    FuzzedDataProvider in(data, size);

    app = AppState{};
    app.infinity = pick_double(in);
    app.s_min = pick_double(in);
    app.s_max = pick_double(in);
    pick_text(in, app.s_min_text);
    pick_text(in, app.s_max_text);
    pick_text(in, app.t_min_text);
    pick_text(in, app.t_max_text);
    app.graph_center = Point4{pick_double(in), pick_double(in), pick_double(in), pick_double(in)};
    app.rotation_angle = pick_int(in);
    for (double& h : app.hyperplane) h = pick_double(in);
    app.section_offset = pick_double(in);
    app.zoom = pick_double(in);
    app.window_width = pick_int(in);
    app.window_height = pick_int(in);

    setup_value_fields();  // refreshes every row
    static constexpr int RowCodes[kValueFieldCount] = {92, 81, 82, 80, 83, 84, 85, 89};
    for (int row = 0; row < kValueFieldCount; ++row) check_field(row, RowCodes[row]);
    for (int code : {86, 87}) {
        refresh_value_field(code, value_hyperplane_row);
        check_field(value_hyperplane_row, code);
    }
    for (int code : {90, 91}) {
        refresh_value_field(code, value_zoom_row);
        check_field(value_zoom_row, code);
    }

    for (std::size_t cell : {std::size_t{1}, std::size_t{2}, std::size_t{8}, std::size_t{400}})
        check_short_number(pick_double(in), cell);

    // The held buttons: ">>", "<<" of the offset, "*", ">>", "<<" of the zoom,
    // pressed, stepped by their timer and released. "Change" would read the
    // console, which is another target's work.
    // A few presses per input keep the executions quick; the values they
    // step from are what varies.
    for (int press = 0; press < 8 && in.remaining_bytes() > 0; ++press) {
        const int button = in.ConsumeIntegralInRange<int>(8, kValueButtonCount - 1);
        const ButtonPanel& b = value_buttons[button];
        const double zoom_before = app.zoom;
        mouse_values(0, 0, b.x + b.width / 2, b.y + b.height / 2);  // left button down
        if (value_pressed != button) fault("a held button was not pressed", b.text);
        const int ticks = in.ConsumeIntegralInRange<int>(0, 20);
        for (int t = 0; t < ticks; ++t) repeat_value_step(b.code);
        mouse_values(0, 1, b.x + b.width / 2, b.y + b.height / 2);  // up
        if (b.code == 88 && app.section_offset != 0.0) fault("\"*\" left an offset", "");
        if ((b.code == 90 || b.code == 91) && zoom_before > 0.0 && !(app.zoom > 0.0))
            fault("the zoom went through its floor", "");
        check_field(value_hyperplane_row, 85);
        check_field(value_zoom_row, 89);
    }

    return 0;
}
