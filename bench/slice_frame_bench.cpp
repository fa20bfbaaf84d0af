// The slice view's frame against the projection's, for every member of the
// uniform catalogue and the six regular models: display_graph finished with
// glFinish at 640 x 480, with Solid, Transparent, Wireframe, Cross Section,
// Axes and Label on and one rotation step per frame, first in the projection
// and the slice view frame by frame in turn; the medians and their ratio
// per row, in wall-clock and in process CPU time (which a busy machine
// disturbs less). The target: every slice frame within its projection's time.
//
// Needs a display: run it under tests/support/with_xvfb.sh.
//   slice_frame_bench [--frames=N] [--only=TEXT]
#include <GL/freeglut.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/windows.h"
#include "models/polychora.h"
#include "models/uniform.h"
#include "render/frame.h"
#include "ui/graph_slots.h"
#include "ui/menus.h"
#include "bench_support.h"

namespace {

using namespace fourview;
using namespace fourview::bench;

FrameTime frame_ms(int view, int request) {
    app.slice_view = view;
    app.rotation_request = request;
    return time_frame();
}

// The two views frame by frame in turn, so that a busy spell of the
// machine weighs on both alike; each takes its own step forward.
// Medians of wall-clock and process CPU time (the program's thread and
// llvmpipe's), [0] the projection, [1] the slice.
void median_frames_ms(int frames, FrameTime (&medians)[2]) {
    reset_view();
    std::vector<double> wall[2], cpu[2];
    for (int i = 0; i < frames + 3; ++i) {
        const int request = 7 + 2 * (i % 3);  // WX, WY, WZ in turn
        const FrameTime t[2] = {frame_ms(kViewProjection, request), frame_ms(kViewSlice, request)};
        if (i < 3) continue;  // the warm-up
        for (int v = 0; v < 2; ++v) {
            wall[v].push_back(t[v].wall_ms);
            cpu[v].push_back(t[v].cpu_ms);
        }
    }
    for (int v = 0; v < 2; ++v) medians[v] = FrameTime{median(wall[v]), median(cpu[v])};
}

}  // namespace

int main(int argc, char** argv) {
    int frames = 11;
    std::string only;
    glutInit(&argc, argv);
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--frames=", 9) == 0) frames = std::max(1, std::atoi(argv[i] + 9));
        if (std::strncmp(argv[i], "--only=", 7) == 0) only = argv[i] + 7;
    }
    glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_CONTINUE_EXECUTION);
    create_windows();
    build_menus();
    init_contents();
    clear_graph_slots();
    load_default_equations(0);
    for (int i = 0; i < 20; ++i) glutMainLoopEvent();
    glutSetWindow(app.graph_window);
    app.solid = app.transparent = app.wireframe = app.cross_section = 1;
    app.axes = app.label = app.high_quality = 1;

    std::printf("| Polytope | Projection (ms) | Slice (ms) | Slice / projection | Projection CPU (ms) | "
                "Slice CPU (ms) | CPU ratio |\n|---|---:|---:|---:|---:|---:|---:|\n");
    double worst_ratio = 0;
    std::string worst;
    auto row = [&](ModelId model, const std::string& name) {
        app.model_id = model;
        app.zoom = default_zoom(model);
        FrameTime m[2];
        median_frames_ms(frames, m);
        const double ratio = m[1].wall_ms / m[0].wall_ms;
        std::printf("| %s | %.1f | %.1f | %.2f | %.1f | %.1f | %.2f |\n", name.c_str(), m[0].wall_ms, m[1].wall_ms,
                    ratio, m[0].cpu_ms, m[1].cpu_ms, m[1].cpu_ms / m[0].cpu_ms);
        std::fflush(stdout);
        if (ratio > worst_ratio) {
            worst_ratio = ratio;
            worst = name;
        }
    };
    const char* regular[] = {"5-cell", "tesseract", "16-cell", "24-cell", "120-cell", "600-cell"};
    for (ModelId m = kModelFiveCell; m <= kModelSixHundredCell; ++m)
        if (only.empty() || only == regular[m - kModelFiveCell]) row(m, regular[m - kModelFiveCell]);
    for (int k = 0; k < kConvexUniformCount; ++k) {
        const UniformEntry& e = kUniformCatalogue[k];
        if (!only.empty() && only != e.name && only != e.symbol) continue;
        if (!choose_uniform_polytope(e.symbol).empty()) continue;
        row(kModelUniform, e.name);
    }
    std::printf("\nLargest slice / projection: %.2f (%s); target at most 1\n", worst_ratio, worst.c_str());
    return 0;
}
