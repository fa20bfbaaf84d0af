// fourview: a viewer for surfaces and solids of four-dimensional space.
#include <GL/glut.h>

#include "app/app_state.h"
#include "app/windows.h"
#include "ui/graph_slots.h"
#include "ui/menus.h"

int main(int argc, char** argv) {
    using namespace fourview;
    glutInit(&argc, argv);
    create_windows();
    build_menus();
    init_contents();
    clear_graph_slots();
    load_default_equations(0);
    // The menus were built before the mesh resolution had its start value:
    // mark "Hight Quality" (and every option) from the state now in force.
    refresh_option_labels();
    glutMainLoop();
    return 0;
}
