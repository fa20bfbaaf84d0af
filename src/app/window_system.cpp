#include "app/window_system.h"

#include <GL/glut.h>

#include "offscreen/bitmap_font.h"

namespace fourview {

namespace {

bool offscreen = false;
int offscreen_width = 0, offscreen_height = 0;

}  // namespace

void use_offscreen_window_system(int width, int height) {
    offscreen = true;
    offscreen_width = width;
    offscreen_height = height;
}

bool offscreen_window_system() { return offscreen; }

void select_window(int window) {
    if (!offscreen) glutSetWindow(window);
}

int window_width() { return offscreen ? offscreen_width : glutGet(GLUT_WINDOW_WIDTH); }

int window_height() { return offscreen ? offscreen_height : glutGet(GLUT_WINDOW_HEIGHT); }

void post_redisplay() {
    if (!offscreen) glutPostRedisplay();
}

void post_window_redisplay(int window) {
    if (!offscreen) glutPostWindowRedisplay(window);
}

void swap_window_buffers() {
    if (!offscreen) glutSwapBuffers();
}

void reshape_window(int width, int height) {
    if (!offscreen) glutReshapeWindow(width, height);
}

int pointer_modifiers() { return offscreen ? 0 : glutGetModifiers(); }

void bitmap_character(void* font, int character) {
    if (offscreen)
        draw_bitmap_character(font, character);
    else
        glutBitmapCharacter(font, character);
}

int bitmap_width(void* font, int character) {
    return offscreen ? bitmap_character_width(font, character) : glutBitmapWidth(font, character);
}

}  // namespace fourview
