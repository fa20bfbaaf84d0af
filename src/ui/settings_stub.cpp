// Stand-in for the console settings until they are built: every "Change"
// only has the graph redrawn.
#include <GL/glut.h>

#include "app/app_state.h"
#include "ui/settings.h"

namespace fourview {

void edit_setting(int, int) {
    app.frame_changed = 1;
    glutSetWindow(app.graph_window);
    glutPostRedisplay();
}

}  // namespace fourview
