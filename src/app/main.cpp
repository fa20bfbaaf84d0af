// fourview: a viewer for surfaces and solids of four-dimensional space.
#include <GL/glut.h>

#include <vector>

#include "app/app_state.h"
#include "app/options.h"
#include "app/windows.h"
#include "ui/graph_slots.h"
#include "ui/menus.h"

int main(int argc, char** argv) {
    using namespace fourview;
    // Every usage error is found before a display is touched.
    StartOptions options;
    switch (parse_options(argc, argv, options)) {
        case ParseOutcome::kExitOk: return 0;
        case ParseOutcome::kUsageError: return 2;
        case ParseOutcome::kRun: break;
    }
    // Figures are drawn offscreen, display or not: no window opens.
    if (figures_requested(options.figures)) return make_figures(options);
    std::vector<char*> glut_argv{argv[0]};
    for (std::string& a : options.glut_args) glut_argv.push_back(a.data());
    int glut_argc = static_cast<int>(glut_argv.size());
    glut_argv.push_back(nullptr);
    glutInit(&glut_argc, glut_argv.data());
    // The graph window opens at the asked size at once.
    if (options.window_size.given) {
        app.window_width = options.window_size.value[0];
        app.window_height = options.window_size.value[1];
    }
    create_windows();
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
