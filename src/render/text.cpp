#include "render/text.h"

#include <GL/glut.h>

namespace fourview {

void draw_text(int x, int y, void* font, const char* text) {
    // The characters take their colour from lighting the raster position
    // with the current material, under light 0 alone.
    glEnable(GL_LIGHT0);
    glDisable(GL_LIGHT1);
    glDisable(GL_LIGHT2);
    const int w = glutGet(GLUT_WINDOW_WIDTH);
    const int h = glutGet(GLUT_WINDOW_HEIGHT);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, w, 0, h, 0, 1);
    gluLookAt(0, 0, 0, 0, 0, -1, 0, 1, 0);
    if (font == GLUT_BITMAP_9_BY_15)
        glRasterPos3i(x + 1, h - y - 6, 0);
    else
        glRasterPos3i(x, h - y - 8, 0);
    for (const char* c = text; *c != '\0'; ++c)
        glutBitmapCharacter(font, static_cast<unsigned char>(*c));
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glDisable(GL_LIGHT0);
    glEnable(GL_LIGHT1);
    glEnable(GL_LIGHT2);
}

}  // namespace fourview
