// The one global record of view and settings state. Only GLUT callbacks on
// the main thread touch it, one at a time, so it needs no locking.
#pragma once

#include <array>

#include "geom4/types.h"

namespace fourview {

// Model numbers: 0-7 three-dimensional, 10-17 four-dimensional, 20 the
// graph of the user's equations. Other values draw nothing.
using ModelId = int;
enum : ModelId {
    kModelCube = 0,
    kModelCylinder = 1,
    kModelMoebiusStrip = 2,
    kModelSphere = 3,
    kModelTorus = 4,
    kModelKleinBottle1 = 5,
    kModelKleinBottle2 = 6,
    kModelTwoMoebiusStrips = 7,
    kModelKleinBottle4d = 10,
    kModelHyperSphere = 11,
    kModelFiveCell = 12,
    kModelHypercube = 13,
    kModelSixteenCell = 14,
    kModelTwentyFourCell = 15,
    kModelHundredTwentyCell = 16,
    kModelSixHundredCell = 17,
    kModelUserGraph = 20,
    kModelUniform = 30,  // the uniform polychoron chosen last (--polytope, the Uniform Polychora menu)
};

// The six coordinate planes, in button order, as index pairs
// (x = 0, y = 1, z = 2, w = 3).
struct RotationPlane {
    const char* name;
    int first, second;
};
constexpr RotationPlane RotationPlanes[6] = {
    {"XY", 0, 1}, {"YZ", 1, 2}, {"ZX", 0, 2}, {"WX", 0, 3}, {"WY", 1, 3}, {"WZ", 2, 3},
};

// 0: none pending. For plane k (1 = XY .. 6 = WZ) code 2k-1 turns by
// +rotation_angle and 2k by -rotation_angle.
using RotationRequest = int;

constexpr int kRotationGlobal = 63;
constexpr int kRotationLocal = 64;
constexpr int kProjectionParallel = 65;
constexpr int kProjectionPerspective = 66;
// From the pole of the 3-sphere through the model (geom4/stereo.h).
constexpr int kProjectionStereographic = 67;

// What the graph window shows: the projection of the model, its slice by
// the cutting hyperplane, or both side by side (projection left).
constexpr int kViewProjection = 0;
constexpr int kViewSlice = 1;
constexpr int kViewSideBySide = 2;

// Room for a range bound typed as an expression: as long as an equation.
constexpr int kRangeTextSize = 201;

struct AppState {
    // Model and drawing options (flags hold 0 or 1).
    ModelId model_id = kModelHypercube;
    int solid = 1;
    int transparent = 1;
    int wireframe = 1;
    int cross_section = 0;
    int axes = 1;
    int label = 1;
    int high_quality = 1;
    int mesh_resolution = 0;  // 51 or 25, set at start-up
    int bold_line = 0;
    int save_screen = 0;
    int colour_by_w = 0;
    int frame_changed = 1;

    // Four-dimensional rotation.
    RotationRequest rotation_request = 0;
    int rotation_angle = 10;  // degrees
    int rotation_mode = kRotationGlobal;
    Matrix5 transform = identity_matrix5();
    Matrix5 base_transform = identity_matrix5();

    // Projection and camera of the graph window.
    int projection_mode = kProjectionPerspective;
    // The one of parallel and perspective that was last in force: ":",
    // Space and the controller's button go back to it from stereographic.
    int flat_projection = kProjectionPerspective;
    // Set by the frame for the model being drawn: the radius of the 3-sphere
    // of the stereographic projection and of the colour scale, and whether
    // points are pushed onto that sphere (the polytopes) before projecting.
    double model_radius = 1.0;
    int push_onto_sphere = 0;
    double zoom = 1.0;
    int view_direction = 0;  // 0 from X, 1 from Y, 2 from Z
    Matrix4 view_matrix = identity_matrix4();  // OpenGL column-major
    std::array<double, 3> eye{200.0, 0.0, 0.0};
    std::array<double, 3> look_at{0.0, 0.0, 0.0};
    std::array<double, 3> up{0.0, 0.0, 0.0};  // computed at start-up
    double infinity = 500.0;

    // Cross-section: the hyperplane aX + bY + cZ + dW = e.
    std::array<double, 5> hyperplane{0.0, 0.0, 0.0, 1.0, 0.0};
    double section_offset = 0.0;
    int slice_view = kViewProjection;

    // Parameter domain of the user graph.
    double s_min = 0, s_max = 0, t_min = 0, t_max = 0;
    char s_min_text[kRangeTextSize] = "";
    char s_max_text[kRangeTextSize] = "";
    char t_min_text[kRangeTextSize] = "";
    char t_max_text[kRangeTextSize] = "";
    Point4 graph_center{};

    // Windows, pointer and menus.
    int graph_window = 0, controller_window = 0, values_window = 0;
    int window_width = 640, window_height = 480;
    int dragging = 0;
    int zoom_drag = 0;
    int last_mouse_x = 0, last_mouse_y = 0;
    int main_menu = 0, options_menu = 0, rotation_menu = 0, projection_menu = 0;
    int graph_menu = 0, models4_menu = 0, models3_menu = 0;
};

extern AppState app;

// Zoom at which each model fills the view.
double default_zoom(ModelId model);

}  // namespace fourview
