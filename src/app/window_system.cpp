#include "app/window_system.h"

#include <GL/glut.h>

namespace fourview {

void select_window(int window) { glutSetWindow(window); }

int window_width() { return glutGet(GLUT_WINDOW_WIDTH); }

int window_height() { return glutGet(GLUT_WINDOW_HEIGHT); }

void post_redisplay() { glutPostRedisplay(); }

void post_window_redisplay(int window) { glutPostWindowRedisplay(window); }

void swap_window_buffers() { glutSwapBuffers(); }

void reshape_window(int width, int height) { glutReshapeWindow(width, height); }

int pointer_modifiers() { return glutGetModifiers(); }

void bitmap_character(void* font, int character) { glutBitmapCharacter(font, character); }

int bitmap_width(void* font, int character) { return glutBitmapWidth(font, character); }

}  // namespace fourview
