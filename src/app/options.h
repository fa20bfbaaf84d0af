// The command line: what the user asked for at start, parsed before any
// window opens. Parsing is pure (no GL, no GLUT) so that every usage error
// is found, and reported with exit status 2, before a display is touched.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "geom4/types.h"
#include "scene/scene.h"

namespace fourview {

// The pictures and models to write instead of opening the windows.
struct FigureOptions {
    std::string png, gif;  // output paths; empty when not asked for
    std::string obj, stl;
    int width = 640, height = 480;  // --size WxH
    int frames = 36;                // GIF frames, one rotation step each
    int turn_plane = 3;             // index into RotationPlanes (3 = WX)
    double scale_mm = 100;          // STL: largest side of the bounding box
    // --sweep: the GIF's frames carry the cutting hyperplane through the
    // model, and --stl writes the slice of each step to its own file.
    bool sweep = false;
    double thickness_mm = 1;        // STL: plates made of faces that bound no solid
    std::string video;              // MP4 or WebM of the animation, by extension
    std::string save_scene;         // the scene the other options describe
};

// A setting of the values window given on the command line; `given` tells
// it from the start value, which stays in force otherwise.
template <typename T>
struct Given {
    bool given = false;
    T value{};
};

// GLUT's -geometry: the graph window's size and place; either may be left
// out. X and Y count from the right or bottom edge of the screen when
// written with '-'.
struct WindowGeometry {
    bool sized = false, placed = false;
    int width = 0, height = 0, x = 0, y = 0;
    bool from_right = false, from_bottom = false;
};

struct StartOptions {
    Given<ModelId> model;
    // A uniform polychoron by its diagram or name (models/uniform.h).
    Given<std::string> polytope;
    // The four equations of the user graph (x, y, f, g), as typed.
    Given<std::array<std::string, 4>> equations;
    std::string keys;  // applied in order, each as one frame would take it

    // One for every "Change" button of the values window, validated as the
    // console dialogue validates its answer.
    Given<std::array<int, 2>> window_size;
    Given<std::array<std::string, 2>> s_range, t_range;  // constant expressions
    Given<double> infinity;
    Given<Point4> center;
    Given<int> rotation_angle;
    Given<std::array<double, 5>> hyperplane;
    Given<double> zoom;

    // --scene: the view to start from, read and checked while parsing;
    // the other options are applied after it. --to-scene: the views a
    // flight goes on to, --frames frames a leg.
    Given<Scene> scene;
    std::vector<Scene> to_scenes;

    FigureOptions figures;
    // GLUT's own options (-display NAME, -sync, ...), in order, for
    // glutInit; -geometry is read into `geometry` instead.
    std::vector<std::string> glut_args;
    WindowGeometry geometry;
    Given<std::string> display;  // -display's value
};

enum class ParseOutcome {
    kRun,         // go on with `options`
    kExitOk,      // --help or --version printed; exit 0
    kExitFailure,  // --help or --version could not be written; one line on standard error; exit 1
    kUsageError,  // one line on standard error printed; exit 2
};

ParseOutcome parse_options(int argc, char** argv, StartOptions& options);

// Applies what was parsed to the state record once the windows (or the
// offscreen surface) exist and the start contents are in place: the stored
// equation set, the model, the settings; then the keys, each as if typed
// into the graph window and taken as its frame would take it (drawn only
// when Save Screen is on to keep it).
void apply_start_options(const StartOptions& options);
void apply_start_keys(const std::string& keys);

bool figures_requested(const FigureOptions& figures);

// Draws and writes the figures without opening any window: an offscreen GL
// context when there is no display, the start contents set up as for the
// windows, then apply_start_options and the figures. Returns the process's
// exit status (0 written, 1 an output could not be written).
int make_figures(const StartOptions& options);

}  // namespace fourview
