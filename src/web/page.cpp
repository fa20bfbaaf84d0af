// The web page's side in C++: the graph drawn into the page's canvas through
// the WebGL back end, and the calls the page's script makes (fv_...). What
// the desktop does in its GLUT callbacks and console dialogues, the page
// does through these, with the same state record, models and engine.
#include <emscripten/emscripten.h>
#include <emscripten/html5.h>
#include <GLES3/gl3.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/app_state.h"
#include "draw/geometry_sink.h"
#include "export/export.h"
#include "expr/equation_entry.h"
#include "expr/graph_slots.h"
#include "geom4/projection.h"
#include "geom4/transform.h"
#include "geom4/view.h"
#include "models/axes.h"
#include "models/curved.h"
#include "models/models.h"
#include "models/polychora.h"
#include "models/uniform.h"
#include "ui/key_table.h"
#include "web/model_list.h"
#include "web/page_state.h"
#include "web/webgl_sink.h"

namespace fourview {

namespace {

using Matrix = double[16];  // column-major, as GL's

void multiply(const double* a, const double* b, double* out) {
    double r[16];
    for (int c = 0; c < 4; ++c)
        for (int row = 0; row < 4; ++row) {
            double sum = 0;
            for (int k = 0; k < 4; ++k) sum += a[4 * k + row] * b[4 * c + k];
            r[4 * c + row] = sum;
        }
    std::memcpy(out, r, sizeof r);
}

void ortho(double l, double r, double b, double t, double n, double f, double* m) {
    const Matrix o = {2 / (r - l), 0, 0, 0, 0, 2 / (t - b), 0, 0, 0, 0, -2 / (f - n), 0,
                      -(r + l) / (r - l), -(t + b) / (t - b), -(f + n) / (f - n), 1};
    std::memcpy(m, o, sizeof o);
}

// As gluLookAt.
void look_at(const std::array<double, 3>& eye, const std::array<double, 3>& centre,
             const std::array<double, 3>& up, double* m) {
    double f[3] = {centre[0] - eye[0], centre[1] - eye[1], centre[2] - eye[2]};
    const double fl = std::sqrt(f[0] * f[0] + f[1] * f[1] + f[2] * f[2]);
    for (double& v : f) v /= fl;
    double s[3] = {f[1] * up[2] - f[2] * up[1], f[2] * up[0] - f[0] * up[2], f[0] * up[1] - f[1] * up[0]};
    const double sl = std::sqrt(s[0] * s[0] + s[1] * s[1] + s[2] * s[2]);
    for (double& v : s) v /= sl;
    const double u[3] = {s[1] * f[2] - s[2] * f[1], s[2] * f[0] - s[0] * f[2], s[0] * f[1] - s[1] * f[0]};
    const Matrix r = {s[0], u[0], -f[0], 0, s[1], u[1], -f[1], 0, s[2], u[2], -f[2], 0, 0, 0, 0, 1};
    const Matrix t = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, -eye[0], -eye[1], -eye[2], 1};
    multiply(r, t, m);
}

void translate(double* m, double x, double y, double z) {
    const Matrix t = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, z, 1};
    multiply(m, t, m);
}

struct Page {
    int width = 640, height = 480;
    Matrix projection{}, scene{};
    // The overlay of the last frame: "kind<TAB>x<TAB>y<TAB>text" lines.
    std::string overlay;
    std::string text;  // what a call hands back to the script
    ExportBytes file, materials;
} page;

void add_overlay(const char* kind, double x, double y, const char* text) {
    char line[320];
    std::snprintf(line, sizeof line, "%s\t%.1f\t%.1f\t%s\n", kind, x, y, text);
    page.overlay += line;
}

// The axis letters go to the overlay at the pixel of their scene point.
void place_letter(const Point3& at, int k) {
    static const char* const kLetters[4] = {"x", "y", "z", "w"};
    static const char* const kUserGraph[4] = {"x", "y", "f(x, y)", "g(x, y)"};
    double clip[4];
    for (int r = 0; r < 4; ++r) {
        double eye = page.scene[r] * at.x + page.scene[4 + r] * at.y + page.scene[8 + r] * at.z + page.scene[12 + r];
        clip[r] = eye;
    }
    double c[4];
    for (int r = 0; r < 4; ++r)
        c[r] = page.projection[r] * clip[0] + page.projection[4 + r] * clip[1] +
               page.projection[8 + r] * clip[2] + page.projection[12 + r] * clip[3];
    if (!(c[3] != 0) || !std::isfinite(c[0] / c[3]) || !std::isfinite(c[1] / c[3])) return;
    const double x = (c[0] / c[3] + 1) / 2 * page.width;
    const double y = (1 - c[1] / c[3]) / 2 * page.height;
    add_overlay("axis", x, y, (app.model_id == kModelUserGraph ? kUserGraph : kLetters)[k]);
}

void caption_overlay() {
    if (app.model_id == kModelUniform && app.label == 1) {  // its name and counts, as the desktop's
        if (const PolytopeLattice* p = find_lattice(kModelUniform)) {
            add_overlay("name", 14, 24, p->name.c_str());
            add_overlay("small", 15, 45, uniform_caption_counts());
        }
        return;
    }
    const Caption* caption = find_caption(app.model_id);
    if (caption == nullptr || app.label != 1) return;
    add_overlay("name", 14, 24, caption->name);
    for (int i = 0; i < caption->line_count; ++i) {
        const CaptionLine& line = caption->lines[i];
        add_overlay(line.font == CaptionFont::k8By13 ? "small" : "line", 15, line.y, line.text);
    }
    if (caption->user_equations) {
        char line[256];
        for (int i = 0; i < kEquationsPerSet; ++i) {
            std::snprintf(line, sizeof line, "%s = %s", UserEquationLabels[i], graph_slots[0].equation[i].text);
            add_overlay("line", 15, 49 + 24 * i, line);
        }
    }
}

// The label's background: from light grey at the top to dark grey at the
// bottom, as the desktop's light 0 lights white and black corners; it
// reaches past the view so that the ends of the scale do not show.
void draw_label_background() {
    Matrix box, identity = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    ortho(-1, 1, -1, 1, 0, 2, box);
    webgl_matrices(box, identity);
    GeometrySink& g = geometry();
    g.colours(GeometrySink::ColourUse::kUnlit);
    const Point3 corners[4] = {{-1, 1.5, -1}, {1, 1.5, -1}, {1, -1.5, -1}, {-1, -1.5, -1}};
    g.begin(Primitive::kTriangles);
    for (int k : {0, 1, 2, 0, 2, 3}) {
        g.colour(k < 2 ? Colour{1, 1, 1} : Colour{0, 0, 0});
        g.vertex(corners[k]);
    }
    g.end();
    g.colours(GeometrySink::ColourUse::kNone);
}

void draw_frame() {
    page.overlay.clear();
    glClearColor(1, 1, 1, 1);
    glDepthMask(GL_TRUE);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    webgl_viewport(page.width, page.height);
    const double half_height = 3.0 / app.zoom;
    const double half_width = 3.0 * page.width / (page.height * app.zoom);
    ortho(-half_width, half_width, -half_height, half_height, -100, 1000, page.projection);
    if (app.label == 1) draw_label_background();
    look_at(app.eye, app.look_at, app.up, page.scene);
    multiply(page.scene, app.view_matrix.data(), page.scene);
    prepare_model_sphere(true);
    if (app.model_id == kModelUserGraph) {
        Point3 q;
        const bool finite = graph_centre_image(q);
        if (finite) translate(page.scene, -q.x, -q.y, -q.z);
        webgl_matrices(page.projection, page.scene);
        if (finite && app.axes == 1) {
            GeometrySink& g = geometry();
            g.color(5);
            g.point_size(10);
            g.begin(Primitive::kPoints);
            g.vertex(q);
            g.end();
        }
    }
    webgl_matrices(page.projection, page.scene);
    const Matrix5 step = step_matrix_for(app.rotation_request, app.rotation_angle);
    app.rotation_request = 0;
    app.transform = app.rotation_mode == kRotationGlobal ? multiply_matrix5(app.transform, step)
                                                         : multiply_matrix5(step, app.transform);
    draw_model();
    if (app.axes == 1) draw_axes_with(place_letter);
    flush_webgl_geometry();
    caption_overlay();
}

void set_projection(int mode) {
    if (mode != kProjectionStereographic) app.flat_projection = mode;
    app.projection_mode = mode;
}

const char* hand_back(const std::string& s) {
    page.text = s;
    return page.text.c_str();
}

void start_state() {
    app = AppState{};
    app.window_width = page.width;
    app.window_height = page.height;
    app.mesh_resolution = app.high_quality == 1 ? 51 : 25;
    const double pi = 3.141592653589793;
    app.s_min = app.t_min = -pi;
    app.s_max = app.t_max = pi;
    std::snprintf(app.s_min_text, sizeof app.s_min_text, "%f", app.s_min);
    std::snprintf(app.s_max_text, sizeof app.s_max_text, "%f", app.s_max);
    std::snprintf(app.t_min_text, sizeof app.t_min_text, "%f", app.t_min);
    std::snprintf(app.t_max_text, sizeof app.t_max_text, "%f", app.t_max);
    reset_view_state();
    // World Z made perpendicular to the line of sight.
    const double vx = app.look_at[0] - app.eye[0], vy = app.look_at[1] - app.eye[1],
                 vz = app.look_at[2] - app.eye[2];
    const double ux = -vx * vz, uy = -vy * vz, uz = vx * vx + vy * vy;
    const double len = std::sqrt(ux * ux + uy * uy + uz * uz);
    app.up = {ux / len, uy / len, uz / len};
    clear_graph_slots();
    fill_default_sets(0);
}

}  // namespace

}  // namespace fourview

using namespace fourview;

extern "C" {

// Makes the WebGL2 context on the canvas #graph and the start state; 0 when
// the browser has no WebGL2 (the page says so).
EMSCRIPTEN_KEEPALIVE int fv_start(int width, int height) {
    EmscriptenWebGLContextAttributes a;
    emscripten_webgl_init_context_attributes(&a);
    a.majorVersion = 2;
    a.minorVersion = 0;
    a.alpha = false;  // else the page shows through the blended faces
    a.depth = true;
    a.antialias = false;  // as the desktop's figures
    a.preserveDrawingBuffer = true;  // the picture is read back and saved
    const EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context = emscripten_webgl_create_context("#graph", &a);
    if (context <= 0 || emscripten_webgl_make_context_current(context) != EMSCRIPTEN_RESULT_SUCCESS)
        return 0;
    if (!start_webgl_geometry()) return 0;
    use_webgl_geometry();
    page.width = width > 0 ? width : 1;
    page.height = height > 0 ? height : 1;
    start_state();
    return 1;
}

EMSCRIPTEN_KEEPALIVE void fv_resize(int width, int height) {
    page.width = width > 0 ? width : 1;
    page.height = height > 0 ? height : 1;
    app.window_width = page.width;
    app.window_height = page.height;
}

// Draws a frame; gives the overlay's lines.
EMSCRIPTEN_KEEPALIVE const char* fv_frame() {
    draw_frame();
    return page.overlay.c_str();
}

// "id<TAB>name" lines, in picker order.
EMSCRIPTEN_KEEPALIVE const char* fv_models() {
    ModelId ids[64];
    const int n = model_list(ids, 64);
    std::string out;
    for (int k = 0; k < n; ++k) out += std::to_string(ids[k]) + "\t" + find_caption(ids[k])->name + "\n";
    return hand_back(out);
}

// As the desktop's model menu: the zoom kept relative to each model's own.
EMSCRIPTEN_KEEPALIVE void fv_model(int model) {
    if (find_caption(model) == nullptr && !(model == kModelUniform && find_lattice(model) != nullptr)) return;
    app.zoom = app.zoom * default_zoom(model) / default_zoom(app.model_id);
    app.model_id = model;
}

// "family<TAB>name<TAB>symbol" lines of the uniform catalogue, in its order.
EMSCRIPTEN_KEEPALIVE const char* fv_uniforms() {
    std::string out;
    for (int k = 0; k < kUniformCatalogueCount; ++k) {
        const UniformEntry& e = kUniformCatalogue[k];
        out += std::string(e.family) + "\t" + e.name + "\t" + e.symbol + "\n";
    }
    return hand_back(out);
}

// A uniform polychoron by symbol or name, as --polytope: shown, or the
// reader's message and nothing changed.
EMSCRIPTEN_KEEPALIVE const char* fv_polytope(const char* text) {
    const std::string why = choose_uniform_polytope(text);
    if (why.empty()) fv_model(kModelUniform);
    return hand_back(why);
}

// The symbol (or name) of the polychoron shown, "" for any other model.
EMSCRIPTEN_KEEPALIVE const char* fv_polytope_text() {
    const PolytopeLattice* p = app.model_id == kModelUniform ? find_lattice(kModelUniform) : nullptr;
    return hand_back(p == nullptr ? "" : p->symbol.empty() ? p->name : p->symbol);
}

// The command codes of ui/key_table.h, as the desktop's executor runs them
// (100, quit, does nothing in a page).
EMSCRIPTEN_KEEPALIVE void fv_command(int command) {
    int* flags[] = {&app.solid, &app.transparent, &app.wireframe, &app.axes, &app.label,
                    &app.high_quality, &app.bold_line, &app.cross_section, &app.save_screen,
                    &app.colour_by_w};
    if (command >= 50 && command <= 59) {
        int& flag = *flags[command - 50];
        flag = flag == 0 ? 1 : 0;
        if (command == 55) app.mesh_resolution = app.high_quality == 1 ? 51 : 25;
    } else if (command == 60) {
        app.rotation_mode = app.rotation_mode == kRotationGlobal ? kRotationLocal : kRotationGlobal;
    } else if (command == 61 || command == kCommandStereographic ||
               (command >= kProjectionParallel && command <= kProjectionStereographic)) {
        set_projection(projection_after(command, app.projection_mode, app.flat_projection));
    } else if (command == 62) {
        app.view_direction = (app.view_direction + 1) % 3;
        app.view_matrix = view_direction_matrix(app.view_direction);
    } else if (command == 99) {
        reset_view_state();
    }
}

// A key of the graph window, as the desktop takes it; an arrow key is
// 1000 + 37 (left), 39 (right), 40 (down). False for a key that does nothing.
EMSCRIPTEN_KEEPALIVE int fv_key(int key) {
    if (key == 1037 || key == 1039 || key == 1040) {
        app.section_offset = key == 1040 ? 0.0 : app.section_offset + (key == 1037 ? -kSectionStep : kSectionStep);
        return 1;
    }
    if (key == 27 || key == 'l') return 0;  // quit and saving frames are the desktop's
    bool known = false;
    for (const RotationKey& k : RotationKeys)
        if (k.key == key) app.rotation_request = k.request, known = true;
    for (const CommandKey& k : CommandKeys)
        if (k.key == key) fv_command(k.command), known = true;
    for (const PresetKey& k : PresetKeys)
        if (k.key == key) {
            app.view_direction = k.previous_direction;
            fv_command(62);
            known = true;
        }
    if (key == ' ') {
        fv_command(51);
        fv_command(61);
        known = true;
    }
    return known ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE void fv_rotate(int request) {
    if (request >= 1 && request <= 12) app.rotation_request = request;
}

// A drag of (dx, dy) pixels turns the 3D view; with `zoom` it zooms as a
// Shift drag does.
EMSCRIPTEN_KEEPALIVE void fv_drag(int dx, int dy, int zoom) {
    if (zoom != 0) {
        const double f = zoom_drag_factor(-dy, app.zoom);
        if (f > 0.0 && std::isfinite(app.zoom * f) && app.zoom * f >= 1e-6 && app.zoom * f <= 1e6)
            app.zoom *= f;
    } else {
        app.view_matrix = dragged_view(app.view_matrix, dx, dy);
    }
}

// The zoom times `factor` (the wheel, a pinch), within the desktop's bounds.
EMSCRIPTEN_KEEPALIVE void fv_zoom(double factor) {
    const double z = app.zoom * factor;
    if (factor > 0 && std::isfinite(z) && z >= 1e-6 && z <= 1e6) app.zoom = z;
}

// The cut aX + bY + cZ + dW = e; the view follows the new hyperplane as on
// the desktop. "" when taken, else why not.
EMSCRIPTEN_KEEPALIVE const char* fv_hyperplane(double a, double b, double c, double d, double e) {
    if (!std::isfinite(a) || !std::isfinite(b) || !std::isfinite(c) || !std::isfinite(d) ||
        !std::isfinite(e))
        return hand_back("every coefficient must be a number");
    if (!usable_normal(a, b, c, d)) return hand_back("a, b, c and d must not all be 0 (nor so small or large that their squares vanish or overflow)");
    app.hyperplane = {a, b, c, d, e};
    reset_view_state();
    return hand_back("");
}

EMSCRIPTEN_KEEPALIVE void fv_offset(double offset) {
    if (std::isfinite(offset)) app.section_offset = offset;
}

EMSCRIPTEN_KEEPALIVE double fv_value(int which) {
    switch (which) {
        case 0: case 1: case 2: case 3: case 4: return app.hyperplane[which];
        case 5: return app.section_offset;
        case 6: return app.zoom;
        case 7: return app.model_id;
        case 8: return app.projection_mode;
        case 9: return app.rotation_mode;
        case 10: return app.model_radius;
        default: return 0;
    }
}

EMSCRIPTEN_KEEPALIVE int fv_flag(int command) {
    int* flags[] = {&app.solid, &app.transparent, &app.wireframe, &app.axes, &app.label,
                    &app.high_quality, &app.bold_line, &app.cross_section, &app.save_screen,
                    &app.colour_by_w};
    return command >= 50 && command <= 59 ? *flags[command - 50] : 0;
}

// Equation `which` (0 x(s,t) .. 3 g(x,y,s,t)) of the current set; the engine
// prints why a text is refused, and the set then stays as it was. 1 taken.
EMSCRIPTEN_KEEPALIVE int fv_equation(int which, const char* text) {
    if (which < 0 || which >= kEquationsPerSet) return 0;
    Expression e{};
    if (!compile_equation(e, text) || !parametric_equation_ok(e, which)) return 0;
    graph_slots[0].equation[which] = e;
    return 1;
}

EMSCRIPTEN_KEEPALIVE const char* fv_equation_text(int which) {
    return which >= 0 && which < kEquationsPerSet ? graph_slots[0].equation[which].text : "";
}

// The range of s (0) or t (1) from two constant expressions: "" when taken,
// else why not (the engine prints its own messages first).
EMSCRIPTEN_KEEPALIVE const char* fv_range(int which, const char* low_text, const char* high_text) {
    double low = 0, high = 0;
    const char* names[2][2] = {{"s_min", "s_max"}, {"t_min", "t_max"}};
    if (which < 0 || which > 1) return hand_back("no such range");
    if (!constant_from_text(low_text, names[which][0], low)) return hand_back("the lower bound is refused");
    if (!constant_from_text(high_text, names[which][1], high)) return hand_back("the upper bound is refused");
    if (!usable_range(low, high)) return hand_back("the lower bound must be below the upper bound, both finite");
    (which == 0 ? app.s_min : app.t_min) = low;
    (which == 0 ? app.s_max : app.t_max) = high;
    std::snprintf(which == 0 ? app.s_min_text : app.t_min_text, kRangeTextSize, "%s", low_text);
    std::snprintf(which == 0 ? app.s_max_text : app.t_max_text, kRangeTextSize, "%s", high_text);
    return hand_back("");
}

EMSCRIPTEN_KEEPALIVE const char* fv_range_text(int which) {
    const char* texts[4] = {app.s_min_text, app.s_max_text, app.t_min_text, app.t_max_text};
    return which >= 0 && which < 4 ? texts[which] : "";
}

// The model of the frame as a file: 0 OBJ (its material library apart,
// fv_export_materials), 1 STL of 100 mm with the command line's plates of
// 1 mm. Gives the size; fv_export_data the bytes.
EMSCRIPTEN_KEEPALIVE int fv_export(int stl) {
    page.file.clear();
    page.materials.clear();
    if (stl != 0)
        encode_stl(100, 1, page.file);
    else
        encode_obj("fourview.mtl", page.file, page.materials);
    return static_cast<int>(page.file.size());
}
EMSCRIPTEN_KEEPALIVE const uint8_t* fv_export_data() { return page.file.data(); }
EMSCRIPTEN_KEEPALIVE const char* fv_export_materials() {
    return hand_back(std::string(page.materials.begin(), page.materials.end()));
}

EMSCRIPTEN_KEEPALIVE const char* fv_state() { return hand_back(encode_page_state()); }

// "" when the address's state is taken; else why not, and the page is
// back at the start state.
EMSCRIPTEN_KEEPALIVE const char* fv_restore(const char* text) {
    std::string error;
    if (decode_page_state(text, error)) return hand_back("");
    start_state();
    return hand_back(error);
}

// Back to the start state, the equations and ranges included.
EMSCRIPTEN_KEEPALIVE void fv_start_state() { start_state(); }

// What the last frames drew: draw calls and vertices, "draws vertices".
EMSCRIPTEN_KEEPALIVE const char* fv_counts() {
    const WebglCounts c = take_webgl_counts();
    return hand_back(std::to_string(c.draws) + " " + std::to_string(c.vertices));
}

}  // extern "C"
