#include "app/options.h"

#include <GL/gl.h>
#include <getopt.h>

#include <cctype>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/scene_checks.h"
#include "app/scene_state.h"
#include "app/window_system.h"
#include "app/windows.h"
#include "expr/console.h"
#include "expr/equation_entry.h"
#include "expr/graph_slots.h"
#include "models/polychora.h"
#include "models/uniform.h"
#include "figures/video_encode.h"
#include "render/caption_table.h"
#include "render/frame.h"
#include "ui/graph_slots.h"
#include "ui/input.h"
#include "ui/menus.h"
#include "ui/settings.h"
#include "ui/values.h"

#ifndef FOURVIEW_VERSION
#define FOURVIEW_VERSION "0.0.0"
#endif

namespace fourview {

namespace {

// A GIF of more frames than this is no figure anyone waits for: ten turns
// at one degree a frame.
constexpr int kMostFrames = 3600;
// An STL's sizes: a micrometre to a kilometre, within a float's precision.
constexpr double kLeastMillimetres = 0.001, kMostMillimetres = 1e6;
// The offscreen renderer's pbuffers (Mesa's EGL) hold at most 4096 pixels a
// side: one rule for --size, known before any GL exists.
constexpr int kLargestFigureSide = 4096;

// Each size option's rule, in --help and in every message about it.
constexpr const char* kWindowSizeRule = "each side 1 to 32767, at most 33554432 pixels";
constexpr const char* kFigureSizeRule = "each side 1 to 4096";
static_assert(kLargestWindowSide == 32767 && kMostWindowPixels == 33554432,
              "kWindowSizeRule states these numbers");

enum LongOnly {
    kOptWindowSize = 256,
    kOptSRange,
    kOptTRange,
    kOptInfinity,
    kOptCenter,
    kOptRotationAngle,
    kOptHyperplane,
    kOptZoom,
    kOptEquations,
    kOptKeys,
    kOptModel,
    kOptPng,
    kOptGif,
    kOptSize,
    kOptFrames,
    kOptTurn,
    kOptObj,
    kOptStl,
    kOptScale,
    kOptThickness,
    kOptSweep,
    kOptPolytope,
    kOptScene,
    kOptToScene,
    kOptSaveScene,
    kOptVideo,
    kOptEnd,  // one past the last: the size of the table of options seen
};

// The option table and its --help lines: one row each, so that the usage
// can never leave an option out.
struct OptionRow {
    option entry;
    const char* argument;  // as --help shows it; nullptr for none
    const char* what;
};
const OptionRow OptionRows[] = {
    {{"model", required_argument, nullptr, kOptModel}, "ID|NAME",
     "start on this model (ids and names below)"},
    {{"polytope", required_argument, nullptr, kOptPolytope}, "SYMBOL|NAME",
     "start on this uniform polychoron: a Coxeter-Dynkin diagram or a name (notation below)"},
    {{"equations", required_argument, nullptr, kOptEquations}, "\"X;Y;F;G\"",
     "the user graph's x(s,t); y(s,t); f(x,y,s,t); g(x,y,s,t) as the first stored set "
     "(model 20 unless --model says otherwise)"},
    {{"keys", required_argument, nullptr, kOptKeys}, "KEYS",
     "keys typed into the graph window at start, in order, each as if a frame followed it "
     "(keys below; not Esc or l)"},
    {{"window-size", required_argument, nullptr, kOptWindowSize}, "WxH",
     "size of the graph window, each side 1 to 32767, at most 33554432 pixels (default 640x480)"},
    {{"s-range", required_argument, nullptr, kOptSRange}, "MIN,MAX",
     "range of s of the user graph (model 20) only, constant expressions such as -pi/2,2*pi"},
    {{"t-range", required_argument, nullptr, kOptTRange}, "MIN,MAX",
     "range of t of the user graph only, likewise"},
    {{"infinity", required_argument, nullptr, kOptInfinity}, "N", "Infinity, greater than 0"},
    {{"center", required_argument, nullptr, kOptCenter}, "X,Y,Z,W",
     "graph_center: where the user graph (model 20) is centred; no other model moves"},
    {{"rotation-angle", required_argument, nullptr, kOptRotationAngle}, "DEGREES",
     "rotation angle of one step, a whole number"},
    {{"hyperplane", required_argument, nullptr, kOptHyperplane}, "A,B,C,D,E",
     "the cut aX + bY + cZ + dW = e, a, b, c, d a usable normal (not all 0)"},
    {{"zoom", required_argument, nullptr, kOptZoom}, "Z", "zoom rate, from 1e-06 to 1e+06"},
    {{"png", required_argument, nullptr, kOptPng}, "FILE",
     "write one frame of the graph as PNG and exit, opening no window (- for standard output)"},
    {{"gif", required_argument, nullptr, kOptGif}, "FILE",
     "write a turning animation as GIF and exit, opening no window (- for standard output)"},
    {{"size", required_argument, nullptr, kOptSize}, "WxH",
     "size of the PNG or GIF, each side 1 to 4096 (default 640x480)"},
    {{"frames", required_argument, nullptr, kOptFrames}, "N",
     "frames of the GIF, one rotation step each (default 36, at most 3600)"},
    {{"turn", required_argument, nullptr, kOptTurn}, "PLANE",
     "plane the GIF turns in: XY, YZ, ZX, WX, WY or WZ (default WX)"},
    {{"obj", required_argument, nullptr, kOptObj}, "FILE",
     "write the model as a Wavefront OBJ file and exit"},
    {{"stl", required_argument, nullptr, kOptStl}, "FILE",
     "write the model as an STL file for printing and exit (- for standard output)"},
    {{"scale", required_argument, nullptr, kOptScale}, "MM",
     "largest side of the STL model in millimetres, from 0.001 to 1e+06 (default 100)"},
    {{"thickness", required_argument, nullptr, kOptThickness}, "MM",
     "thickness of the plates the STL makes of faces that bound no solid, in millimetres, "
     "from 0.001 to 1e+06 (default 1)"},
    {{"sweep", no_argument, nullptr, kOptSweep}, nullptr,
     "with --gif, sweep the cutting hyperplane through the model in --frames steps (from where it "
     "first touches the model to where it leaves) instead of turning it; with --stl, write the "
     "slices of that sweep as FILE-001.stl, FILE-002.stl ..."},
    {{"scene", required_argument, nullptr, kOptScene}, "FILE",
     "start from the view saved in a scene file; the other options apply after it"},
    {{"to-scene", required_argument, nullptr, kOptToScene}, "FILE",
     "with --scene and --gif or --video: fly on to this scene, --frames frames a leg "
     "(may be given again)"},
    {{"save-scene", required_argument, nullptr, kOptSaveScene}, "FILE",
     "write the view the other options describe as a scene file and exit"},
    {{"video", required_argument, nullptr, kOptVideo}, "FILE",
     "write the animation (as --gif) as MP4 (H.264) or WebM (VP9), by the extension, 25 "
     "frames a second, and exit"},
    {{"help", no_argument, nullptr, 'h'}, nullptr, "show this help and exit"},
    {{"version", no_argument, nullptr, 'V'}, nullptr, "show the version and exit"},
};
constexpr int kOptionRowCount = sizeof OptionRows / sizeof OptionRows[0];

// GLUT's own options, handed to glutInit: getopt_long would read "-display"
// as the short options d, i, s, ...
struct GlutOption {
    const char* name;
    bool takes_value;
};
constexpr GlutOption GlutOptions[] = {
    {"-display", true}, {"-geometry", true}, {"-iconic", false}, {"-direct", false},
    {"-gldebug", false}, {"-sync", false},
};
// -indirect is not among them: the X servers of today refuse indirect GL
// unless started with +iglx, and freeglut then ends the program with an X
// error. -geometry is read here (parse_geometry), not by GLUT, whose size
// and place the fixed places of the three windows would override.

const char* option_name(int code) {
    for (const OptionRow& r : OptionRows)
        if (r.entry.val == code) return r.entry.name;
    return "?";
}

// The one line of a usage error, on standard error.
ParseOutcome usage_error(const char* format, ...) __attribute__((format(printf, 1, 2)));
ParseOutcome usage_error(const char* format, ...) {
    char text[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    console_printf(stderr, "fourview: %s\n", text);
    return ParseOutcome::kUsageError;
}

// "Hypercube (8 Cell Envelope)" -> "hypercube-8-cell-envelope": what --help
// lists and what --model compares (letters and digits only, any case).
void model_slug(const char* label, char* out, std::size_t size) {
    std::size_t n = 0;
    bool gap = false;
    for (const char* c = label; *c != '\0' && n + 2 < size; ++c) {
        if (std::isalnum(static_cast<unsigned char>(*c))) {
            if (gap && n > 0) out[n++] = '-';
            out[n++] = static_cast<char>(std::tolower(static_cast<unsigned char>(*c)));
            gap = false;
        } else {
            gap = true;
        }
    }
    out[n] = '\0';
}

void alnum_lower(const char* text, char* out, std::size_t size) {
    std::size_t n = 0;
    for (const char* c = text; *c != '\0' && n + 1 < size; ++c)
        if (std::isalnum(static_cast<unsigned char>(*c)))
            out[n++] = static_cast<char>(std::tolower(static_cast<unsigned char>(*c)));
    out[n] = '\0';
}

// Model k of the list --help shows: the menu models, then the user graph.
int listed_model_count() { return menu_model_count() + 1; }
ModelId listed_model(int k, const char** label) {
    if (k < menu_model_count()) return menu_model(k, label);
    const Caption* c = find_caption(kModelUserGraph);
    *label = c != nullptr ? c->name : "4R Izure";
    return kModelUserGraph;
}

// An id of the list, or a name: whole, or a beginning that fits one model
// only ("hypercube"), compared on letters and digits in any case.
bool find_model(const char* text, ModelId& model, int& matches) {
    matches = 0;
    char* stop = nullptr;
    errno = 0;
    const long id = std::strtol(text, &stop, 10);
    if (text[0] != '\0' && *stop == '\0' && errno == 0) {
        for (int k = 0; k < listed_model_count(); ++k) {
            const char* label = nullptr;
            if (listed_model(k, &label) == id) {
                model = static_cast<ModelId>(id);
                return true;
            }
        }
        return false;
    }
    char wanted[256], name[256];
    alnum_lower(text, wanted, sizeof wanted);
    if (wanted[0] == '\0') return false;
    for (int k = 0; k < listed_model_count(); ++k) {
        const char* label = nullptr;
        const ModelId m = listed_model(k, &label);
        // The menu's label, and the caption's name where it differs.
        const Caption* caption = find_caption(m);
        const char* names[2] = {label, caption != nullptr ? caption->name : label};
        bool begins = false;
        for (const char* n : names) {
            alnum_lower(n, name, sizeof name);
            if (std::strcmp(name, wanted) == 0) {
                model = m;
                return true;
            }
            begins = begins || std::strncmp(name, wanted, std::strlen(wanted)) == 0;
        }
        if (begins) {
            model = m;
            ++matches;
        }
    }
    return matches == 1;
}

// Sizes are written "640x480" and also as the dialogue takes them:
// "640 480", "640, 480", "(640, 480)".
bool parse_size(const char* text, int& width, int& height) {
    char copy[256];
    std::snprintf(copy, sizeof copy, "%s", text);
    if (std::strlen(text) >= sizeof copy) return false;
    if (char* x = std::strpbrk(copy, "xX")) *x = ',';
    int sides[2];
    if (!parse_int_text(copy, sides, 2)) return false;
    width = sides[0];
    height = sides[1];
    return true;
}

bool figure_size_fits(int width, int height) {
    return width >= 1 && height >= 1 && width <= kLargestFigureSide && height <= kLargestFigureSide;
}

ParseOutcome check_size(const char* option, const char* text, int& width, int& height) {
    const bool figure = std::strcmp(option, "size") == 0;
    const char* rule = figure ? kFigureSizeRule : kWindowSizeRule;
    if (!parse_size(text, width, height))
        return usage_error("--%s: '%s' is no size; write it WxH, %s, for example 640x480", option,
                           text, rule);
    if (!(figure ? figure_size_fits(width, height) : window_size_fits(width, height)))
        return usage_error("--%s: %dx%d is outside WxH, %s", option, width, height, rule);
    return ParseOutcome::kRun;
}

// -geometry [=][WxH][{+-}X{+-}Y], as X reads it: the graph window's size
// and place. The size keeps --window-size's rule.
ParseOutcome parse_geometry(const char* text, WindowGeometry& g) {
    const char* c = text;
    if (*c == '=') ++c;
    auto number = [&c](int& value) {
        if (!std::isdigit(static_cast<unsigned char>(*c))) return false;
        long v = 0;
        while (std::isdigit(static_cast<unsigned char>(*c)) && v <= INT_MAX) v = v * 10 + (*c++ - '0');
        if (v > INT_MAX) return false;
        value = static_cast<int>(v);
        return true;
    };
    bool good = true;
    if (std::isdigit(static_cast<unsigned char>(*c))) {
        good = number(g.width) && (*c == 'x' || *c == 'X') && (++c, number(g.height));
        g.sized = good;
    }
    if (good && (*c == '+' || *c == '-')) {
        g.from_right = *c++ == '-';
        good = number(g.x) && (*c == '+' || *c == '-');
        if (good) {
            g.from_bottom = *c++ == '-';
            good = number(g.y);
        }
        g.placed = good;
    }
    if (!good || *c != '\0' || (!g.sized && !g.placed))
        return usage_error("-geometry: '%s' is no geometry; write WxH+X+Y, WxH or +X+Y, for "
                           "example 640x480+0+50",
                           text);
    if (g.sized && !window_size_fits(g.width, g.height))
        return usage_error("-geometry: %dx%d is outside WxH, %s", g.width, g.height, kWindowSizeRule);
    return ParseOutcome::kRun;
}

// The engine's own words for a refusal, which it would print on standard
// output, gathered into one line for the option's message.
struct EngineReason {
    std::string text;
    EngineReason() { console_capture_stdout(&text); }
    ~EngineReason() { console_capture_stdout(nullptr); }
    const char* line() {
        std::string one;
        for (char c : text) {
            if (c == '\n' || c == '\r' || c == '\t') c = ' ';
            if (c == ' ' && (one.empty() || one.back() == ' ')) continue;
            one += c;
        }
        while (!one.empty() && one.back() == ' ') one.pop_back();
        text = one.empty() ? "" : ": " + one;
        return text.c_str();
    }
};

bool blank_text(const std::string& s) {
    for (char c : s)
        if (!std::isspace(static_cast<unsigned char>(c))) return false;
    return true;
}

std::string trimmed(const std::string& s) {
    std::size_t a = 0, b = s.size();
    while (a < b && std::isspace(static_cast<unsigned char>(s[a]))) ++a;
    while (b > a && std::isspace(static_cast<unsigned char>(s[b - 1]))) --b;
    return s.substr(a, b - a);
}

// MIN,MAX: two constant expressions, as the range dialogue checks them.
ParseOutcome check_range(const char* option, const char* text, const char* low_name,
                         const char* high_name, std::array<std::string, 2>& bounds) {
    const char* comma = std::strchr(text, ',');
    if (comma == nullptr || std::strchr(comma + 1, ',') != nullptr)
        return usage_error("--%s: '%s' is no range; write MIN,MAX, for example -pi,pi", option, text);
    bounds[0] = trimmed(std::string(text, comma));
    bounds[1] = trimmed(std::string(comma + 1));
    double low = 0, high = 0;
    for (int i = 0; i < 2; ++i) {
        EngineReason reason;
        if (!constant_from_text(bounds[i].c_str(), i == 0 ? low_name : high_name, i == 0 ? low : high)) {
            const char* why = reason.line();
            return usage_error("--%s: %s '%s' is refused by the equation engine%s", option,
                               i == 0 ? low_name : high_name, bounds[i].c_str(), why);
        }
    }
    if (!usable_range(low, high))
        return usage_error("--%s: %s must be finite and below %s", option, low_name, high_name);
    return ParseOutcome::kRun;
}

ParseOutcome check_equations(const char* text, std::array<std::string, 4>& texts) {
    std::string rest = text;
    for (int i = 0; i < kEquationsPerSet; ++i) {
        const std::size_t semicolon = rest.find(';');
        if ((semicolon == std::string::npos) != (i == kEquationsPerSet - 1))
            return usage_error("--equations: write four equations separated by ';': X;Y;F;G");
        texts[i] = trimmed(rest.substr(0, semicolon));
        rest = semicolon == std::string::npos ? "" : rest.substr(semicolon + 1);
    }
    for (int i = 0; i < kEquationsPerSet; ++i) {
        Expression e{};
        if (blank_text(texts[i]))
            return usage_error("--equations: %s is empty", EquationNames[i]);
        EngineReason reason;
        if (!compile_equation(e, texts[i].c_str()) || !parametric_equation_ok(e, i)) {
            const char* why = reason.line();
            return usage_error("--equations: %s = %s is refused by the equation engine%s",
                               EquationNames[i], texts[i].c_str(), why);
        }
    }
    return ParseOutcome::kRun;
}

ParseOutcome check_keys(const char* keys) {
    for (const char* k = keys; *k != '\0'; ++k) {
        const unsigned char c = static_cast<unsigned char>(*k);
        if (c == 27) return usage_error("--keys: Esc would quit at once; it is refused in --keys");
        if (c == 'l')
            return usage_error("--keys: 'l' (Save Screen) is refused in --keys; switch it on in "
                               "the window");
        if (!key_is_known(c))
            return usage_error(std::isprint(c) ? "--keys: '%c' is no key of the graph window "
                                                 "(fourview --help lists them)"
                                               : "--keys: character %d is no key of the graph "
                                                 "window (fourview --help lists them)",
                               std::isprint(c) ? c : static_cast<int>(c));
    }
    return ParseOutcome::kRun;
}

// One number of a setting, or several, as the dialogue takes them.
ParseOutcome check_numbers(int code, const char* text, double* values, int count) {
    if (!parse_number_text(text, values, count))
        return usage_error(count == 1 ? "--%s: '%s' is not a finite number"
                                      : "--%s: '%s' is not %d finite numbers",
                           option_name(code), text, count);
    return ParseOutcome::kRun;
}

ParseOutcome take_option(int code, const char* value, StartOptions& o) {
    double v[5];
    switch (code) {
        case kOptModel: {
            int matches = 0;
            if (!find_model(value, o.model.value, matches))
                return usage_error(matches > 1 ? "--model: '%s' fits several models (fourview --help lists them)"
                                               : "--model: unknown model '%s' (fourview --help lists them)",
                                   value);
            o.model.given = true;
            return ParseOutcome::kRun;
        }
        case kOptPolytope: {
            PolytopeRecipe recipe;
            const std::string why = read_polytope(value, recipe);
            if (!why.empty()) return usage_error("--polytope: %s", why.c_str());
            o.polytope = {true, value};
            return ParseOutcome::kRun;
        }
        case kOptEquations:
            o.equations.given = true;
            return check_equations(value, o.equations.value);
        case kOptKeys:
            o.keys = value;
            return check_keys(value);
        case kOptWindowSize:
            o.window_size.given = true;
            return check_size("window-size", value, o.window_size.value[0], o.window_size.value[1]);
        case kOptSRange:
            o.s_range.given = true;
            return check_range("s-range", value, "s_min", "s_max", o.s_range.value);
        case kOptTRange:
            o.t_range.given = true;
            return check_range("t-range", value, "t_min", "t_max", o.t_range.value);
        case kOptInfinity:
            if (check_numbers(code, value, v, 1) != ParseOutcome::kRun) return ParseOutcome::kUsageError;
            if (!(v[0] > 0)) return usage_error("--infinity: %s is not greater than 0", value);
            o.infinity = {true, v[0]};
            return ParseOutcome::kRun;
        case kOptCenter:
            if (check_numbers(code, value, v, 4) != ParseOutcome::kRun) return ParseOutcome::kUsageError;
            o.center = {true, Point4{v[0], v[1], v[2], v[3]}};
            return ParseOutcome::kRun;
        case kOptRotationAngle: {
            int angle = 0;
            if (!parse_int_text(value, &angle, 1))
                return usage_error("--rotation-angle: '%s' is not a whole number of degrees", value);
            o.rotation_angle = {true, angle};
            return ParseOutcome::kRun;
        }
        case kOptHyperplane:
            if (check_numbers(code, value, v, 5) != ParseOutcome::kRun) return ParseOutcome::kUsageError;
            if (!usable_normal(v[0], v[1], v[2], v[3]))
                return usage_error("--hyperplane: a, b, c, d of '%s' give no usable normal", value);
            o.hyperplane.given = true;
            for (int i = 0; i < 5; ++i) o.hyperplane.value[i] = v[i];
            return ParseOutcome::kRun;
        case kOptZoom:
            if (check_numbers(code, value, v, 1) != ParseOutcome::kRun) return ParseOutcome::kUsageError;
            if (!zoom_allowed(v[0]))
                return usage_error("--zoom: %s is outside %g to %g", value, kLeastZoom, kMostZoom);
            o.zoom = {true, v[0]};
            return ParseOutcome::kRun;
        case kOptPng:
        case kOptGif:
        case kOptObj:
        case kOptStl:
            if (value[0] == '\0') return usage_error("--%s: the file name is empty", option_name(code));
            // An OBJ names its material library beside it: no file to name on a pipe.
            if (code == kOptObj && std::strcmp(value, "-") == 0)
                return usage_error("--obj: '-' cannot be written: the OBJ needs its .mtl file beside it");
            (code == kOptPng ? o.figures.png
             : code == kOptGif ? o.figures.gif
             : code == kOptObj ? o.figures.obj
                               : o.figures.stl) = value;
            return ParseOutcome::kRun;
        case kOptSize:
            return check_size("size", value, o.figures.width, o.figures.height);
        case kOptFrames: {
            int frames = 0;
            if (!parse_int_text(value, &frames, 1) || frames < 1 || frames > kMostFrames)
                return usage_error("--frames: '%s' is not a whole number from 1 to %d", value,
                                   kMostFrames);
            o.figures.frames = frames;
            return ParseOutcome::kRun;
        }
        case kOptTurn:
            for (int i = 0; i < 6; ++i)
                if (strcasecmp(value, RotationPlanes[i].name) == 0) {
                    o.figures.turn_plane = i;
                    return ParseOutcome::kRun;
                }
            return usage_error("--turn: '%s' is no plane; write XY, YZ, ZX, WX, WY or WZ", value);
        case kOptSweep:
            o.figures.sweep = true;
            return ParseOutcome::kRun;
        case kOptScene:
        case kOptToScene: {
            // Missing keys keep the start values, as in a fresh window.
            Scene scene;
            scene.zoom = default_zoom(scene.model_id);
            const SceneRead read = read_scene_file(value, scene, scene_refusal);
            for (const std::string& w : read.warnings) console_printf(stderr, "fourview: %s\n", w.c_str());
            if (!read.ok) return usage_error("--%s: %s", option_name(code), read.error.c_str());
            if (code == kOptScene) {
                if (o.scene.given) return usage_error("--scene: given twice; fly on with --to-scene");
                o.scene = {true, scene};
            } else {
                o.to_scenes.push_back(scene);
            }
            return ParseOutcome::kRun;
        }
        case kOptSaveScene:
        case kOptVideo:
            if (value[0] == '\0') return usage_error("--%s: the file name is empty", option_name(code));
            if (code == kOptVideo && video_format_for(value) == VideoFormat::kNone)
                return usage_error("--video: '%s' ends neither in .mp4 nor in .webm", value);
            (code == kOptVideo ? o.figures.video : o.figures.save_scene) = value;
            return ParseOutcome::kRun;
        case kOptScale:
            if (check_numbers(code, value, v, 1) != ParseOutcome::kRun) return ParseOutcome::kUsageError;
            if (!(v[0] >= kLeastMillimetres && v[0] <= kMostMillimetres))
                return usage_error("--scale: %s is outside %g to %g", value, kLeastMillimetres, kMostMillimetres);
            o.figures.scale_mm = v[0];
            return ParseOutcome::kRun;
        case kOptThickness:
            if (check_numbers(code, value, v, 1) != ParseOutcome::kRun) return ParseOutcome::kUsageError;
            if (!(v[0] >= kLeastMillimetres && v[0] <= kMostMillimetres))
                return usage_error("--thickness: %s is outside %g to %g", value, kLeastMillimetres,
                                   kMostMillimetres);
            o.figures.thickness_mm = v[0];
            return ParseOutcome::kRun;
        default: return usage_error("unknown option");
    }
}

void print_key_line(const char* key, const char* what) { std::printf("  %-6s %s\n", key, what); }

// `text` from column `indent` on, broken at blanks before column 80.
void print_wrapped(const char* text, int indent, int column) {
    constexpr int kWidth = 79;
    while (*text != '\0') {
        int room = kWidth - column;
        int cut = static_cast<int>(std::strlen(text));
        if (cut > room) {
            cut = room;
            while (cut > 0 && text[cut] != ' ') --cut;
            if (cut == 0) cut = room;
        }
        std::printf("%.*s\n", cut, text);
        text += cut;
        while (*text == ' ') ++text;
        if (*text != '\0') std::printf("%*s", indent, "");
        column = indent;
    }
}

void print_help() {
    std::printf(
        "Usage: fourview [OPTION]...\n"
        "A viewer for surfaces and solids of four-dimensional space: three windows\n"
        "(graph, controller, values), or figures written without any window.\n\n"
        "Options:\n");
    for (const OptionRow& r : OptionRows) {
        char head[64];
        const char* short_name = r.entry.val == 'h' ? "-h, " : r.entry.val == 'V' ? "-V, " : "    ";
        std::snprintf(head, sizeof head, "%s--%s%s%s", short_name, r.entry.name,
                      r.argument != nullptr ? " " : "", r.argument != nullptr ? r.argument : "");
        std::printf("  %-30s ", head);
        print_wrapped(r.what, 33, 33);
    }
    std::printf("\nX options (-geometry places and sizes the graph window; the rest go to GLUT):\n ");
    for (const GlutOption& g : GlutOptions)
        std::printf(" %s%s", g.name,
                    !g.takes_value ? "" : std::strcmp(g.name, "-display") == 0 ? " NAME" : " WxH+X+Y");
    std::printf("\n\nModels (--model takes the id, the name, or a beginning of it that fits one):\n");
    for (int k = 0; k < listed_model_count(); ++k) {
        const char* label = nullptr;
        const ModelId m = listed_model(k, &label);
        char slug[128];
        model_slug(label, slug, sizeof slug);
        const Caption* caption = find_caption(m);
        if (caption != nullptr && std::strcmp(caption->name, label) != 0)
            std::printf("  %3d  %-34s %s (%s)\n", m, slug, label, caption->name);
        else
            std::printf("  %3d  %-34s %s\n", m, slug, label);
    }
    std::printf("\nUniform polychora (--polytope):\n%s", kPolytopeNotationHelp);
    std::printf("\nKeys of the graph window (--keys takes them all but Esc and l):\n");
    describe_keys(print_key_line);
    std::printf("  %-6s %s\n", "Left", "move the cut by -0.05 (not in --keys)");
    std::printf("  %-6s %s\n", "Right", "move the cut by +0.05 (not in --keys)");
    std::printf("  %-6s %s\n", "Down", "the cut back to its hyperplane (not in --keys)");
    std::printf(
        "\n--center, --s-range and --t-range act on the user graph (model 20) only; given with\n"
        "another model they are kept for it, and a warning says so.\n");
    std::printf(
        "\nWithout --png, --gif, --obj or --stl fourview opens its windows on the X display\n"
        "named by -display or DISPLAY; with those options it needs no display.\n");
    std::printf(
        "\nExit status: 0 done, 1 a figure could not be written or no display could be\n"
        "opened, 2 a usage error.\n");
}

// What --help and --version wrote must have reached standard output: into a
// full disk or a closed descriptor they fail as GNU tools do, with status 1.
ParseOutcome finish_standard_output() {
    const int before = errno;
    if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return ParseOutcome::kExitOk;
    const int error = errno != 0 ? errno : before;
    console_printf(stderr, "fourview: write error: %s\n",
                   error != 0 ? std::strerror(error) : "standard output");
    return ParseOutcome::kExitFailure;
}

// "--name" of an option that takes a value, written whole and without "=".
bool takes_separate_value(const char* arg) {
    if (std::strncmp(arg, "--", 2) != 0) return false;
    for (const OptionRow& r : OptionRows)
        if (r.entry.has_arg == required_argument && std::strcmp(arg + 2, r.entry.name) == 0) return true;
    return false;
}

// The graph's own settings given with another model are not refused (the
// user graph keeps them, as the values window does), but said to be idle.
void warn_graph_settings(const StartOptions& o, const bool* seen) {
    const ModelId model = o.model.given       ? o.model.value
                          : o.equations.given ? kModelUserGraph
                                              : AppState{}.model_id;
    if (model == kModelUserGraph) return;
    std::string names;
    for (int code : {kOptCenter, kOptSRange, kOptTRange})
        if (seen[code - kOptWindowSize])
            names += (names.empty() ? "--" : ", --") + std::string(option_name(code));
    if (names.empty()) return;
    const char* label = nullptr;
    for (int k = 0; k < listed_model_count(); ++k)
        if (listed_model(k, &label) == model) break;
    console_printf(stderr,
                   "fourview: warning: %s act%s on the user graph (model 20) only, not on model %d (%s)\n",
                   names.c_str(), names.find(',') == std::string::npos ? "s" : "", static_cast<int>(model),
                   label != nullptr ? label : "?");
}

ParseOutcome check_together(const StartOptions& o, const bool* seen) {
    const FigureOptions& f = o.figures;
    if ((seen[kOptSize - kOptWindowSize] && f.png.empty() && f.gif.empty() && f.video.empty()))
        return usage_error("--size: only with --png or --gif");
    if (f.sweep && f.gif.empty() && f.video.empty() && f.stl.empty())
        return usage_error("--sweep: only with --gif, --video or --stl");
    if (seen[kOptFrames - kOptWindowSize] && f.gif.empty() && f.video.empty() && !(f.sweep && !f.stl.empty()))
        return usage_error("--frames: only with --gif, or --stl and --sweep");
    if (seen[kOptTurn - kOptWindowSize] && f.gif.empty() && f.video.empty())
        return usage_error("--turn: only with --gif");
    if (seen[kOptScale - kOptWindowSize] && f.stl.empty())
        return usage_error("--scale: only with --stl");
    if (seen[kOptThickness - kOptWindowSize] && f.stl.empty())
        return usage_error("--thickness: only with --stl");
    if (o.geometry.sized && o.window_size.given)
        return usage_error("--window-size: the size is given by -geometry already; give one of them");
    warn_graph_settings(o, seen);
    if (!o.to_scenes.empty()) {
        if (!o.scene.given) return usage_error("--to-scene: only after a --scene to fly from");
        if (f.gif.empty() && f.video.empty()) return usage_error("--to-scene: only with --gif or --video");
        if (seen[kOptTurn - kOptWindowSize]) return usage_error("--turn: not with --to-scene");
        // Each scene is a view of its own: keys would turn the first only.
        if (!o.keys.empty()) return usage_error("--keys: not with --to-scene");
    }
    // The 4:2:0 colour of H.264 and VP9 halves both sides.
    if (!f.video.empty() && (f.width % 2 != 0 || f.height % 2 != 0))
        return usage_error("--video: the size %dx%d must be even on both sides", f.width, f.height);
    return ParseOutcome::kRun;
}

}  // namespace

ParseOutcome parse_options(int argc, char** argv, StartOptions& options) {
    options = StartOptions{};
    // GLUT's options out first, in order; the rest goes to getopt_long.
    std::vector<char*> rest;
    rest.push_back(argc > 0 ? argv[0] : const_cast<char*>("fourview"));
    for (int i = 1; i < argc; ++i) {
        const GlutOption* glut = nullptr;
        for (const GlutOption& g : GlutOptions)
            if (std::strcmp(argv[i], g.name) == 0) glut = &g;
        if (std::strcmp(argv[i], "--") == 0) {
            for (; i < argc; ++i) rest.push_back(argv[i]);
            break;
        }
        if (glut == nullptr) {
            rest.push_back(argv[i]);
            // "--keys -sync" gives --keys its value, not GLUT an option.
            if (takes_separate_value(argv[i]) && i + 1 < argc) rest.push_back(argv[++i]);
            continue;
        }
        if (glut->takes_value && i + 1 >= argc) return usage_error("%s needs a value", glut->name);
        if (std::strcmp(glut->name, "-geometry") == 0) {
            options.geometry = WindowGeometry{};
            if (parse_geometry(argv[++i], options.geometry) != ParseOutcome::kRun)
                return ParseOutcome::kUsageError;
            continue;
        }
        if (std::strcmp(glut->name, "-display") == 0) options.display = {true, argv[i + 1]};
        options.glut_args.push_back(argv[i]);
        if (glut->takes_value) options.glut_args.push_back(argv[++i]);
    }
    rest.push_back(nullptr);

    option long_options[kOptionRowCount + 1];
    for (int i = 0; i < kOptionRowCount; ++i) long_options[i] = OptionRows[i].entry;
    long_options[kOptionRowCount] = option{nullptr, 0, nullptr, 0};
    bool seen[kOptEnd - kOptWindowSize] = {};

    const int count = static_cast<int>(rest.size()) - 1;
    char** args = rest.data();
    optind = 0;  // a fresh scan, also when called again
    opterr = 0;  // the messages are ours: one line, naming the option
    for (;;) {
        const int previous = optind == 0 ? 1 : optind;
        const int code = getopt_long(count, args, "+:hV", long_options, nullptr);
        if (code == -1) break;
        const char* given = args[previous] != nullptr ? args[previous] : "";
        if (code == 'h') {
            errno = 0;
            print_help();
            return finish_standard_output();
        }
        if (code == 'V') {
            errno = 0;
            std::printf("fourview %s\n", FOURVIEW_VERSION);
            return finish_standard_output();
        }
        if (code == ':') {
            if (optopt != 0 && optopt < 256)
                return usage_error("option '-%c' needs a value", optopt);
            return usage_error("option '--%s' needs a value", optopt != 0 ? option_name(optopt) : given);
        }
        if (code == '?') {
            // A long option that takes no value, given one ("--help=x"):
            // getopt_long reports it by its short code; name what was typed.
            if (std::strncmp(given, "--", 2) == 0 && std::strchr(given, '=') != nullptr) {
                const std::string name(given + 2, std::strchr(given, '='));
                for (const OptionRow& r : OptionRows)
                    if (r.entry.has_arg == no_argument && name == r.entry.name)
                        return usage_error("option '--%s' takes no value, but was given '%s'",
                                           r.entry.name, given);
            }
            if (optopt != 0 && std::strncmp(given, "--", 2) != 0) {
                // "-x", or a word of several letters ("-indirect") read as
                // short options: the whole word is what the user typed.
                if (std::strlen(given) > 2 && given[0] == '-')
                    return usage_error("unknown option '%s' (fourview --help lists them)", given);
                return usage_error("unknown option '-%c' (fourview --help lists them)", optopt);
            }
            return usage_error("unknown or ambiguous option '%s' (fourview --help lists them)", given);
        }
        seen[code - kOptWindowSize] = true;
        const ParseOutcome outcome = take_option(code, optarg, options);
        if (outcome != ParseOutcome::kRun) return outcome;
    }
    if (optind < count)
        return usage_error("unexpected argument '%s' (fourview takes options only)", args[optind]);
    if (options.polytope.given && (options.model.given || options.equations.given))
        return usage_error("--polytope: --%s names another model; give one of them",
                           options.model.given ? "model" : "equations");
    return check_together(options, seen);
}

bool figures_requested(const FigureOptions& figures) {
    return !figures.png.empty() || !figures.gif.empty() || !figures.obj.empty() ||
           !figures.stl.empty() || !figures.video.empty() || !figures.save_scene.empty();
}

void apply_start_options(const StartOptions& o) {
    // The viewport limit needs a context, which exists now; the other
    // bounds were checked before any window opened.
    note_viewport_limit();
    const bool figures = figures_requested(o.figures);
    struct Asked {
        bool given;
        const char* option;
        int width, height;
        const char* rule;
    } const asked[3] = {
        {o.window_size.given, "--window-size", o.window_size.value[0], o.window_size.value[1], kWindowSizeRule},
        {o.geometry.sized, "-geometry", o.geometry.width, o.geometry.height, kWindowSizeRule},
        {figures, "--size", o.figures.width, o.figures.height, kFigureSizeRule},
    };
    for (const Asked& a : asked)
        if (a.given && !window_size_fits(a.width, a.height)) {
            GLint dims[2] = {0, 0};
            glGetIntegerv(GL_MAX_VIEWPORT_DIMS, dims);
            usage_error("%s: %dx%d is outside WxH, %s, within this GL's %dx%d", a.option, a.width,
                        a.height, a.rule, dims[0], dims[1]);
            std::exit(2);
        }
    if (o.scene.given) apply_scene(o.scene.value);
    if (o.equations.given) {
        // As if "NEW" had been answered: the stored sets move down one.
        make_room_for_new_set();
        for (int i = 0; i < kEquationsPerSet; ++i)
            compile_equation(graph_slots[0].equation[i], o.equations.value[i].c_str());
        rebuild_graph_menu();
    }
    // The diagram was read when the options were; what remains (building
    // it) cannot fail for a diagram that reads.
    const bool polytope = o.polytope.given && choose_uniform_polytope(o.polytope.value).empty();
    const bool model_given = o.model.given || o.equations.given || polytope;
    if (model_given) {
        const ModelId model = polytope ? kModelUniform : o.model.given ? o.model.value : kModelUserGraph;
        // Keep the zoom relative to each model's own default, as the menus do.
        app.zoom = app.zoom * default_zoom(model) / default_zoom(app.model_id);
        app.model_id = model;
        refresh_value_field(89, value_zoom_row);
        apply_projection();
    }
    if (o.window_size.given) {
        app.window_width = o.window_size.value[0];
        app.window_height = o.window_size.value[1];
        refresh_value_field(92, value_window_size_row);
        select_window(app.graph_window);
        reshape_window(app.window_width, app.window_height);
        apply_projection();
    }
    struct Range {
        const Given<std::array<std::string, 2>>& given;
        const char *low_name, *high_name;
        double &low, &high;
        char *low_text, *high_text;
        int code;
    };
    const Range ranges[2] = {
        {o.s_range, "s_min", "s_max", app.s_min, app.s_max, app.s_min_text, app.s_max_text, 81},
        {o.t_range, "t_min", "t_max", app.t_min, app.t_max, app.t_min_text, app.t_max_text, 82},
    };
    for (const Range& r : ranges) {
        if (!r.given.given) continue;
        constant_from_text(r.given.value[0].c_str(), r.low_name, r.low);
        constant_from_text(r.given.value[1].c_str(), r.high_name, r.high);
        std::snprintf(r.low_text, kRangeTextSize, "%s", r.given.value[0].c_str());
        std::snprintf(r.high_text, kRangeTextSize, "%s", r.given.value[1].c_str());
        refresh_value_field(r.code, r.code == 81 ? 1 : 2);
    }
    if (o.infinity.given) {
        app.infinity = o.infinity.value;
        refresh_value_field(80, 3);
    }
    if (o.center.given) {
        app.graph_center = o.center.value;
        refresh_value_field(83, 4);
    }
    if (o.rotation_angle.given) {
        app.rotation_angle = o.rotation_angle.value;
        refresh_value_field(84, 5);
    }
    if (o.hyperplane.given) {
        app.hyperplane = o.hyperplane.value;
        refresh_value_field(85, value_hyperplane_row);
        reset_view();  // the view follows the new hyperplane, as after "Change"
    }
    if (o.zoom.given) {
        app.zoom = o.zoom.value;
        refresh_value_field(89, value_zoom_row);
        apply_projection();
    }
    app.frame_changed = 1;
    select_window(app.graph_window);
    post_redisplay();
}

void apply_start_keys(const std::string& keys) {
    for (const char c : keys) {
        select_window(app.graph_window);
        keyboard(static_cast<unsigned char>(c), 0, 0);
        select_window(app.graph_window);
        // A frame is drawn only where Save Screen keeps it; otherwise the
        // state moves on as the frame would move it (one rotation step per
        // key), and nobody waits for pictures nobody sees.
        if (app.save_screen == 1)
            display_graph();
        else
            take_rotation_step(app.rotation_request);
    }
}

}  // namespace fourview
