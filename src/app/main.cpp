// fourview: a viewer for surfaces and solids of four-dimensional space.
#include <GL/glut.h>

#include "app/app_state.h"
#include "app/windows.h"
#include "ui/menus.h"

int main(int argc, char** argv) {
    using namespace fourview;
    glutInit(&argc, argv);
    create_windows();
    build_menus();
    init_contents();
    glutMainLoop();
    return 0;
}
