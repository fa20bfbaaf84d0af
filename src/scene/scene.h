// A scene: everything that makes the graph window's picture, as plain data,
// and its file, a commented TOML text that a person can read and edit. The
// format is read with toml++ and written here, number by number, in the
// shortest form that reads back to the same bits. Pure: no GL, no state
// record; src/app/scene_state.cpp moves a scene into and out of the program.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "geom4/types.h"

namespace fourview {

// A file of a higher version is refused: it may hold what this program
// would draw differently.
constexpr int kSceneVersion = 1;
// A scene is a few kilobytes; anything much larger is no scene.
constexpr long kLargestSceneFile = 1 << 20;

struct Scene {
    int version = kSceneVersion;
    ModelId model_id = kModelHypercube;
    // A uniform polytope's symbol (e.g. "x4o3o3o"); "" when the model is
    // none. Kept and written back; the model id still decides the drawing.
    std::string polytope;
    // The user graph's current set x, y, f, g as typed; all "" when the
    // file names none (the program's sets are then left alone).
    std::array<std::string, 4> equations;

    // The values window.
    std::array<int, 2> window_size{640, 480};
    std::array<std::string, 2> s_range_text{"-3.141593", "3.141593"};
    std::array<std::string, 2> t_range_text{"-3.141593", "3.141593"};
    // The exact bounds: the texts are what the window shows, often rounded.
    std::array<double, 2> s_range{-3.141592653589793, 3.141592653589793};
    std::array<double, 2> t_range{-3.141592653589793, 3.141592653589793};
    double infinity = 500.0;
    Point4 center{};
    int rotation_angle = 10;
    std::array<double, 5> hyperplane{0.0, 0.0, 0.0, 1.0, 0.0};
    double section_offset = 0.0;
    double zoom = 1.0;

    // The drawing options (0 or 1), as the Options menu shows them. Save
    // Screen is left out: a scene read back must not start writing files.
    int solid = 1, transparent = 1, wireframe = 1, cross_section = 0, axes = 1, label = 1;
    int high_quality = 1, bold_line = 0, colour_by_w = 0;

    int rotation_mode = kRotationGlobal;
    int projection_mode = kProjectionPerspective;
    int flat_projection = kProjectionPerspective;
    int view_direction = 0;
    // The 3D view after the drags: OpenGL's column-major matrix.
    Matrix4 view_matrix = identity_matrix4();

    // The 4D orientation: the upper-left 4x4 block of the transform in
    // force (row-major, acting on columns x, y, z, w) and its translation.
    Matrix4 rotation = identity_matrix4();
    std::array<double, 4> translation{0.0, 0.0, 0.0, 0.0};
};

// The commented file of `scene`; the same scene always gives the same bytes.
std::string write_scene(const Scene& scene);

struct SceneRead {
    bool ok = false;
    // "FILE:LINE: KEY: reason" (or "FILE: reason" for a file that cannot be
    // read): one line for the user.
    std::string error;
    // Keys this version does not know, one line each; the rest is read.
    std::vector<std::string> warnings;
};

// The checks the dialogues make, run on a scene read whole: "" when it
// passes, else the reason, with `key` ("values.zoom") set to what is
// refused. It may settle what the file left to it (a range given only as
// text gets its value). scene_refusal (src/app/scene_checks.cpp) is the one.
using SceneCheck = std::string (*)(Scene& scene, std::string& key);

// Reads the text of a scene file named `name` over `scene`, which holds the
// values a missing key keeps. Types, ranges of enumerations, finite numbers
// and the rotation matrices are checked here, then `check`. On failure
// `scene` is left as it was.
SceneRead parse_scene(const std::string& text, const std::string& name, Scene& scene,
                      SceneCheck check);
// The same from a file (at most kLargestSceneFile bytes).
SceneRead read_scene_file(const std::string& path, Scene& scene, SceneCheck check);

// The six plane angles, in radians, of R = XY(a) ZX(b) WX(c) YZ(d) WY(e)
// WZ(f), each factor turning as a rotation step of that plane does (its
// angle positive for the forward key). Every rotation has such angles.
std::array<double, 6> plane_angles(const Matrix4& rotation);
Matrix4 rotation_from_plane_angles(const std::array<double, 6>& angles);
// The order of the factors above, as indices into RotationPlanes.
constexpr int kAnglePlaneOrder[6] = {0, 2, 3, 1, 4, 5};

// Whether `m` is a rotation (orthonormal rows, determinant +1) to within
// what rounding leaves after a long run of steps.
bool is_rotation(const Matrix4& m);

}  // namespace fourview
