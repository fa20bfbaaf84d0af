#include "ui/value_text.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace fourview {

void short_number(char* out, std::size_t size, double v) {
    std::snprintf(out, size, "%f", std::fabs(v));
    char* point = std::strchr(out, '.');
    if (point == nullptr) return;  // "inf", "nan", or cut before the point
    char* end = out + std::strlen(out);
    while (end > point + 1 && end[-1] == '0') --end;
    if (end == point + 1) end = point;
    *end = '\0';
}

void hyperplane_text(char* out, std::size_t size, const std::array<double, 5>& plane,
                     double offset) {
    static constexpr char Letters[4] = {'X', 'Y', 'Z', 'W'};
    char text[kValueLineWork] = "";
    std::size_t used = 0;
    auto append = [&](const char* format, auto... args) {
        if (used < sizeof text)
            used += std::snprintf(text + used, sizeof text - used, format, args...);
        if (used >= sizeof text) used = sizeof text - 1;
    };
    for (int i = 0; i < 4; ++i) {
        const double c = plane[i];
        if (c == 0.0) continue;
        if (c == 1.0) {
            append(" + %c", Letters[i]);
        } else if (c == -1.0) {
            append(" - %c", Letters[i]);
        } else {
            char number[kValueLineWork];
            short_number(number, sizeof number, c);
            append(c > 0.0 ? " + %s*%c" : " - %s*%c", number, Letters[i]);
        }
    }
    append(" = %f", plane[4] + offset);
    // The first term's sign is implied when positive.
    const char* start = text;
    while (*start == ' ' || *start == '+') ++start;
    std::snprintf(out, size, "%s", start);
}

bool value_line_text(char* out, std::size_t size, int code, const AppState& s) {
    switch (code) {
        case 80:
            std::snprintf(out, size, "%s%f", "Infinity = ", s.infinity);
            return true;
        case 81:
            std::snprintf(out, size, "{ s : %s%s%s }", s.s_min_text, " <= s <= ", s.s_max_text);
            return true;
        case 82:
            std::snprintf(out, size, "{ t : %s%s%s }", s.t_min_text, " <= t <= ", s.t_max_text);
            return true;
        case 83: {
            char c[4][kValueLineWork / 4];
            const double v[4] = {s.graph_center.x, s.graph_center.y, s.graph_center.z,
                                 s.graph_center.w};
            for (int i = 0; i < 4; ++i) {
                c[i][0] = '-';
                short_number(c[i] + 1, sizeof c[i] - 1, v[i]);
            }
            auto shown = [&](int i) { return v[i] < 0.0 ? c[i] : c[i] + 1; };
            // The label's own blank and the format's make two before "{".
            std::snprintf(out, size, "%s { %s, %s, %s, %s }", "Center = ", shown(0), shown(1),
                          shown(2), shown(3));
            return true;
        }
        case 84:
            std::snprintf(out, size, "%s%d", "Rotation Angle = ", s.rotation_angle);
            return true;
        case 85:
        case 86:
        case 87:
            hyperplane_text(out, size, s.hyperplane, s.section_offset);
            return true;
        case 89:
        case 90:
        case 91:
            std::snprintf(out, size, "%s%f", "Zoom = ", s.zoom);
            return true;
        case 92:
            std::snprintf(out, size, "%s%d, %d)", "Window Size = (", s.window_width,
                          s.window_height);
            return true;
        default:
            return false;
    }
}

void cut_to_cell(char* text, std::size_t max_chars) {
    if (max_chars < 3 || std::strlen(text) <= max_chars) return;
    std::strcpy(text + max_chars - 3, "...");
}

void fit_text_to_width(char* text, std::size_t max_chars, int width, void* font,
                       int (*char_width)(void* font, int character)) {
    auto w = [&](char c) { return char_width(font, static_cast<unsigned char>(c)); };
    int sum = 0;
    std::size_t i = 0;
    for (; text[i] != '\0'; ++i) {
        sum += w(text[i]);
        if (sum > width) break;
    }
    if (text[i] == '\0') return;  // fits whole
    // i is the first character that overflows; step back until the
    // characters before i and three dots fit.
    int before = sum - w(text[i]);
    const int dots = 3 * w('.');
    if (max_chars >= 3 && i > max_chars - 3) {
        while (i > max_chars - 3) before -= w(text[--i]);
    }
    while (i > 0 && before + dots >= width) before -= w(text[--i]);
    std::strcpy(text + i, max_chars >= 3 ? "..." : "");
}

}  // namespace fourview
