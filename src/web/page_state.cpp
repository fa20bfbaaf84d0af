#include "web/page_state.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/app_state.h"
#include "geom4/transform.h"
#include "geom4/view.h"
#include "models/polychora.h"
#include "web/model_list.h"

namespace fourview {

namespace {

// The drawing options in the order of their digits in "style".
int AppState::*const kStyleFlags[] = {
    &AppState::solid,        &AppState::transparent, &AppState::wireframe,
    &AppState::cross_section, &AppState::axes,       &AppState::label,
    &AppState::high_quality, &AppState::bold_line,   &AppState::colour_by_w,
};
constexpr int kStyleCount = sizeof kStyleFlags / sizeof kStyleFlags[0];

void append_numbers(std::string& out, const char* key, const double* v, int count) {
    out += out.empty() ? "" : "&";
    out += key;
    out += '=';
    char number[32];
    for (int k = 0; k < count; ++k) {
        std::snprintf(number, sizeof number, "%s%.17g", k > 0 ? "," : "", v[k] == 0 ? 0.0 : v[k]);
        out += number;
    }
}

// Exactly `count` finite numbers separated by commas, and nothing else.
bool read_numbers(const char* text, double* v, int count) {
    for (int k = 0; k < count; ++k) {
        char* end = nullptr;
        v[k] = std::strtod(text, &end);
        if (end == text || !std::isfinite(v[k])) return false;
        text = end;
        if (k + 1 < count && *text++ != ',') return false;
    }
    return *text == '\0';
}

bool read_int(const char* text, int& value, int least, int most) {
    double v = 0;
    if (!read_numbers(text, &v, 1) || v != std::floor(v) || v < least || v > most) return false;
    value = static_cast<int>(v);
    return true;
}

}  // namespace

std::string encode_page_state() {
    std::string out;
    const double model = app.model_id;
    append_numbers(out, "model", &model, 1);
    if (const PolytopeLattice* p = app.model_id == kModelUniform ? find_lattice(kModelUniform) : nullptr) {
        // Its symbol or name, with "_" for the spaces that an address would
        // show as "%20".
        std::string text = p->symbol.empty() ? p->name : p->symbol;
        for (char& c : text)
            if (c == ' ') c = '_';
        out += "&polytope=" + text;
    }
    out += "&style=";
    for (int k = 0; k < kStyleCount; ++k) out += app.*kStyleFlags[k] == 1 ? '1' : '0';
    const double small[4] = {static_cast<double>(app.projection_mode),
                             static_cast<double>(app.rotation_mode),
                             static_cast<double>(app.view_direction),
                             static_cast<double>(app.rotation_angle)};
    append_numbers(out, "projection", small, 1);
    append_numbers(out, "rotation", small + 1, 1);
    append_numbers(out, "from", small + 2, 1);
    append_numbers(out, "angle", small + 3, 1);
    append_numbers(out, "plane", app.hyperplane.data(), 5);
    append_numbers(out, "offset", &app.section_offset, 1);
    append_numbers(out, "turn", app.transform.data(), 20);  // row 4 is never read
    append_numbers(out, "view", app.view_matrix.data(), 16);
    append_numbers(out, "zoom", &app.zoom, 1);
    return out;
}

bool decode_page_state(const char* text, std::string& error) {
    AppState next = app;
    bool turned = false, viewed = false;
    std::string polytope;
    Matrix5 turn = identity_matrix5();
    Matrix4 view = identity_matrix4();
    const char* p = text;
    while (*p != '\0') {
        const char* amp = std::strchr(p, '&');
        const std::size_t length = amp != nullptr ? static_cast<std::size_t>(amp - p) : std::strlen(p);
        char item[1024];
        if (length == 0 || length >= sizeof item) {
            error = "an empty or overlong part";
            return false;
        }
        std::memcpy(item, p, length);
        item[length] = '\0';
        p += length + (amp != nullptr ? 1 : 0);
        char* value = std::strchr(item, '=');
        if (value == nullptr) {
            error = std::string("no value for \"") + item + "\"";
            return false;
        }
        *value++ = '\0';
        const std::string key = item;
        bool ok = true;
        if (key == "model") {
            ok = read_int(value, next.model_id, 0, 99) &&
                 (find_caption(next.model_id) != nullptr || next.model_id == kModelUniform);
        } else if (key == "polytope") {
            polytope = value;
            for (char& c : polytope)
                if (c == '_') c = ' ';
            ok = !polytope.empty();
        } else if (key == "style") {
            ok = std::strlen(value) == kStyleCount;
            for (int k = 0; ok && k < kStyleCount; ++k) {
                ok = value[k] == '0' || value[k] == '1';
                next.*kStyleFlags[k] = value[k] - '0';
            }
        } else if (key == "projection") {
            ok = read_int(value, next.projection_mode, kProjectionParallel, kProjectionStereographic);
        } else if (key == "rotation") {
            ok = read_int(value, next.rotation_mode, kRotationGlobal, kRotationLocal);
        } else if (key == "from") {
            ok = read_int(value, next.view_direction, 0, 2);
        } else if (key == "angle") {
            ok = read_int(value, next.rotation_angle, -360, 360);
        } else if (key == "plane") {
            ok = read_numbers(value, next.hyperplane.data(), 5) &&
                 usable_normal(next.hyperplane[0], next.hyperplane[1], next.hyperplane[2],
                               next.hyperplane[3]);
        } else if (key == "offset") {
            ok = read_numbers(value, &next.section_offset, 1);
        } else if (key == "turn") {
            ok = turned = read_numbers(value, turn.data(), 20);
        } else if (key == "view") {
            ok = viewed = read_numbers(value, view.data(), 16);
        } else if (key == "zoom") {
            ok = read_numbers(value, &next.zoom, 1) && next.zoom >= 1e-6 && next.zoom <= 1e6;
        } else {
            error = "unknown key \"" + key + "\"";
            return false;
        }
        if (!ok) {
            error = "a wrong value for \"" + key + "\"";
            return false;
        }
    }
    // The polytope is chosen last, when all else has read well: a refused
    // one leaves the one before.
    if (next.model_id == kModelUniform && polytope.empty() && find_lattice(kModelUniform) == nullptr) {
        error = "no polytope for model " + std::to_string(kModelUniform);
        return false;
    }
    if (!polytope.empty()) {
        const std::string why = choose_uniform_polytope(polytope);
        if (!why.empty()) {
            error = "a wrong value for \"polytope\": " + why;
            return false;
        }
    }
    if (next.projection_mode != kProjectionStereographic) next.flat_projection = next.projection_mode;
    next.mesh_resolution = next.high_quality == 1 ? 51 : 25;
    app = next;
    // The axes show the frame of the hyperplane; the turn then replaces
    // the transform that the reset gives.
    const double offset = app.section_offset;
    reset_transform();
    app.section_offset = offset;
    if (turned) app.transform = turn;
    app.view_matrix = viewed ? view : view_direction_matrix(app.view_direction);
    app.frame_changed = 1;
    return true;
}

}  // namespace fourview
