// fourview: a viewer for surfaces and solids of four-dimensional space.
#include <GL/glut.h>
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/app_state.h"
#include "app/options.h"
#include "app/windows.h"
#include "ui/graph_slots.h"
#include "ui/menus.h"

namespace {

// freeglut's own word for a display it cannot open is a line naming an
// empty display; the windows' user needs to hear what to do instead.
bool display_opens(const fourview::StartOptions& options) {
    const char* name = options.display.given ? options.display.value.c_str() : std::getenv("DISPLAY");
    // -display "" is DISPLAY to Xlib, as to freeglut.
    if (options.display.given || (name != nullptr && name[0] != '\0')) {
        if (Display* d = XOpenDisplay(name)) {
            XCloseDisplay(d);
            return true;
        }
        std::fprintf(stderr,
                     "fourview: cannot open the X display '%s' (%s); without a display, write "
                     "figures with --png, --gif, --obj or --stl\n",
                     name, options.display.given ? "-display" : "DISPLAY");
        return false;
    }
    std::fprintf(stderr,
                 "fourview: no X display: DISPLAY is not set and no -display given; without a "
                 "display, write figures with --png, --gif, --obj or --stl\n");
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace fourview;
    // Every usage error is found before a display is touched.
    StartOptions options;
    switch (parse_options(argc, argv, options)) {
        case ParseOutcome::kExitOk: return 0;
        case ParseOutcome::kExitFailure: return 1;
        case ParseOutcome::kUsageError: return 2;
        case ParseOutcome::kRun: break;
    }
    // Figures are drawn offscreen, display or not: no window opens.
    if (figures_requested(options.figures)) return make_figures(options);
    if (!display_opens(options)) return 1;
    std::vector<char*> glut_argv{argv[0]};
    for (std::string& a : options.glut_args) glut_argv.push_back(a.data());
    int glut_argc = static_cast<int>(glut_argv.size());
    glut_argv.push_back(nullptr);
    glutInit(&glut_argc, glut_argv.data());
    // The graph window opens at the asked size and place at once.
    if (options.window_size.given) {
        app.window_width = options.window_size.value[0];
        app.window_height = options.window_size.value[1];
    }
    const WindowGeometry& g = options.geometry;
    if (g.sized) {
        app.window_width = g.width;
        app.window_height = g.height;
    }
    int graph_x = 0, graph_y = 50;
    if (g.placed) {
        graph_x = g.from_right ? glutGet(GLUT_SCREEN_WIDTH) - app.window_width - g.x : g.x;
        graph_y = g.from_bottom ? glutGet(GLUT_SCREEN_HEIGHT) - app.window_height - g.y : g.y;
    }
    create_windows(graph_x, graph_y);
    build_menus();
    init_contents();
    clear_graph_slots();
    load_default_equations(0);
    // The menus were built before the mesh resolution had its start value:
    // mark "Hight Quality" (and every option) from the state now in force.
    refresh_option_labels();
    apply_start_options(options);
    apply_start_keys(options.keys);
    glutMainLoop();
    return 0;
}
