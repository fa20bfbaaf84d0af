#include "ui/input.h"

#include <GL/glut.h>

#include "app/app_state.h"

namespace fourview {

void apply_view_direction() {
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    if (app.view_direction == 1) {
        glRotated(-90, 0, 0, 1);
        glRotated(-90, 0, 1, 0);
    } else if (app.view_direction == 2) {
        glRotated(90, 0, 0, 1);
        glRotated(90, 1, 0, 0);
    }
    glGetDoublev(GL_MODELVIEW_MATRIX, app.view_matrix.data());
    glPopMatrix();
}

}  // namespace fourview
