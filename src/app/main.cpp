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
    glutMainLoop();
    return 0;
}
