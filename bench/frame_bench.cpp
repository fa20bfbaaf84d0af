// Time of one graph frame (display_graph, finished with glFinish) for every
// model at 640 x 480 and N = 51, with Solid, Transparent, Wireframe, Cross
// Section, Axes and Label on and one rotation step per frame, as when a
// rotation button is held down. Prints, per model, the median and the worst
// wall-clock time and the median processor time of the whole process (its
// own thread and llvmpipe's), which shows what a frame costs when other
// work shares the processors. The target is a median of at most 25 ms (in
// the stereographic projection, the 120-cell's).
//
// Needs a display: run it under tests/support/with_xvfb.sh.
// --tiny draws into a 1 x 1 viewport: what remains is the program's own work
// and GL's vertex handling, with next to no rasterisation.
// --stereographic and --colour draw every model in the stereographic
// projection and coloured by w.
// --styles=LETTERS draws only the styles named (s Solid, t Transparent, w
// Wireframe, c Cross Section; all four by default) and --zoom=F scales the
// reset view's zoom: with them the frame's cost can be split by style and
// told apart from the area filled.
// --polytope=SYMBOL draws that uniform polychoron (a diagram or a name) and
// --catalogue every member of the uniform catalogue, each beside the
// 120-cell drawn in the same run: the target is the omnitruncated
// 120-cell's median within 4 times the 120-cell's, every other member's
// within 2 times.
//   frame_bench [--frames=N] [--model=ID] [--bold] [--tiny] [--stereographic] [--colour]
//               [--styles=LETTERS] [--zoom=F] [--polytope=SYMBOL] [--catalogue]
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
#include "render/caption_table.h"
#include "render/frame.h"
#include "ui/graph_slots.h"
#include "ui/menus.h"
#include "bench_support.h"

namespace {

using namespace fourview;
using namespace fourview::bench;

void start_program(int& argc, char** argv) {
    glutInit(&argc, argv);
    glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_CONTINUE_EXECUTION);
    create_windows();
    build_menus();
    init_contents();
    // As the program starts: model 20 draws the default equations.
    clear_graph_slots();
    load_default_equations(0);
    for (int i = 0; i < 20; ++i) glutMainLoopEvent();
}

}  // namespace

struct Style {
    int bold, colour, stereographic;
    std::string styles = "stwc";
    double zoom = 1;
};

// The median of `frames` frames of the model in every style, one rotation
// step each; worst and CPU median through the pointers.
double measure(ModelId model, const Style& style, std::vector<double>& wall, std::vector<double>& cpu) {
    app.model_id = model;
    auto on = [&](char letter) { return style.styles.find(letter) != std::string::npos ? 1 : 0; };
    app.solid = on('s');
    app.transparent = on('t');
    app.wireframe = on('w');
    app.cross_section = on('c');
    app.axes = app.label = app.high_quality = 1;
    app.bold_line = style.bold;
    app.colour_by_w = style.colour;
    app.projection_mode = style.stereographic == 1 ? kProjectionStereographic : kProjectionPerspective;
    app.mesh_resolution = 51;
    reset_view();
    app.zoom *= style.zoom;
    for (int i = 0; i < 3; ++i) time_frame();  // shaders compiled, caches warm
    for (size_t i = 0; i < wall.size(); ++i) {
        // One step per frame, in turn through the WX, WY and WZ planes.
        app.rotation_request = 7 + 2 * static_cast<int>(i % 3);
        const FrameTime t = time_frame();
        wall[i] = t.wall_ms;
        cpu[i] = t.cpu_ms;
    }
    return median(wall);
}

// The uniform polychora against the 120-cell drawn in the same run.
int run_polytopes(const std::vector<std::string>& texts, const Style& style, int frames) {
    std::vector<double> wall(static_cast<size_t>(frames)), cpu(wall);
    const double reference = measure(kModelHundredTwentyCell, style, wall, cpu);
    std::printf("| Polytope | V | E | F | C | Median (ms) | Worst (ms) | Median CPU (ms) | / 120-cell |\n"
                "|---|---:|---:|---:|---:|---:|---:|---:|---:|\n");
    std::printf("| 120-cell (model 16) | 600 | 1200 | 720 | 120 | %.1f | %.1f | %.1f | 1.00 |\n", reference,
                *std::max_element(wall.begin(), wall.end()), median(cpu));
    double worst_ratio = 0;
    std::string worst_name;
    for (const std::string& text : texts) {
        const std::string why = choose_uniform_polytope(text);
        if (!why.empty()) {
            std::fprintf(stderr, "frame_bench: --polytope: %s\n", why.c_str());
            return 2;
        }
        const PolytopeLattice& l = *find_lattice(kModelUniform);
        const double m = measure(kModelUniform, style, wall, cpu);
        std::printf("| %s | %d | %d | %d | %d | %.1f | %.1f | %.1f | %.2f |\n", l.name.c_str(), l.vertex_count(),
                    l.edge_count(), l.face_count(), l.cell_count(), m, *std::max_element(wall.begin(), wall.end()),
                    median(cpu), m / reference);
        const double limit = l.name == "omnitruncated 120-cell" ? 4 : 2;
        if (m / reference / limit > worst_ratio) {
            worst_ratio = m / reference / limit;
            worst_name = l.name;
        }
    }
    std::printf("\nNearest its target (4 x the 120-cell for the omnitruncated 120-cell, 2 x for the others): "
                "%s at %.2f of it\n", worst_name.c_str(), worst_ratio);
    return 0;
}

int main(int argc, char** argv) {
    int frames = 51;
    int only = -1;
    int bold = 0;
    bool tiny = false;
    int stereographic = 0, colour = 0;
    Style style{0, 0, 0};
    std::vector<std::string> polytopes;
    start_program(argc, argv);
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--frames=", 9) == 0) frames = std::max(1, std::atoi(argv[i] + 9));
        if (std::strncmp(argv[i], "--model=", 8) == 0) only = std::atoi(argv[i] + 8);
        if (std::strcmp(argv[i], "--bold") == 0) bold = 1;
        if (std::strncmp(argv[i], "--styles=", 9) == 0) style.styles = argv[i] + 9;
        if (std::strncmp(argv[i], "--zoom=", 7) == 0) style.zoom = std::atof(argv[i] + 7);
        if (std::strcmp(argv[i], "--tiny") == 0) tiny = true;
        if (std::strcmp(argv[i], "--stereographic") == 0) stereographic = 1;
        if (std::strcmp(argv[i], "--colour") == 0) colour = 1;
        if (std::strncmp(argv[i], "--polytope=", 11) == 0) polytopes.push_back(argv[i] + 11);
        if (std::strcmp(argv[i], "--catalogue") == 0)
            for (int k = 0; k < kUniformCatalogueCount; ++k) polytopes.push_back(kUniformCatalogue[k].symbol);
    }
    glutSetWindow(app.graph_window);
    if (tiny) glViewport(0, 0, 1, 1);
    style.bold = bold;
    style.colour = colour;
    style.stereographic = stereographic;
    std::printf("Graph frame at %dx%d, N = 51, %d frames per model%s%s%s%s, styles %s, zoom x%g\n\n",
                glutGet(GLUT_WINDOW_WIDTH), glutGet(GLUT_WINDOW_HEIGHT), frames,
                bold == 1 ? ", Bold Line" : "", tiny ? ", 1 x 1 viewport" : "",
                stereographic == 1 ? ", stereographic" : "", colour == 1 ? ", colour by w" : "",
                style.styles.c_str(), style.zoom);
    if (!polytopes.empty()) return run_polytopes(polytopes, style, frames);
    std::printf("| Model | Median (ms) | Worst (ms) | Median CPU (ms) |\n|---|---:|---:|---:|\n");
    static const ModelId kModels[] = {0, 1, 2, 3, 4, 5, 6, 7, 10, 11, 12, 13, 14, 15, 16, 17, 20};
    double largest = 0, hundred_twenty = -1;
    std::vector<double> wall(static_cast<size_t>(frames)), cpu(wall);
    for (ModelId model : kModels) {
        if (only >= 0 && model != only) continue;
        const double m = measure(model, style, wall, cpu);
        largest = std::max(largest, m);
        if (model == kModelHundredTwentyCell) hundred_twenty = m;
        const Caption* caption = find_caption(model);
        std::printf("| %d %s | %.1f | %.1f | %.1f |\n", model, caption ? caption->name : "", m,
                    *std::max_element(wall.begin(), wall.end()), median(cpu));
    }
    // In the stereographic projection the target is the 120-cell's: the
    // hypersphere's stack of spheres takes longer in any projection.
    if (stereographic == 1 && hundred_twenty >= 0)
        std::printf("\n120-cell median: %.1f ms (target 25 ms); largest median: %.1f ms\n",
                    hundred_twenty, largest);
    else
        std::printf("\nLargest median: %.1f ms (target 25 ms)\n", largest);
    return 0;
}
