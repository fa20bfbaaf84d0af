// Stand-ins until input, menus, panels and capture are built: the windows
// clear, Esc quits, and everything else does nothing yet.
#include <GL/glut.h>

#include <cstdlib>

#include "app/app_state.h"
#include "ui/capture.h"
#include "ui/controller.h"
#include "ui/input.h"
#include "ui/menus.h"
#include "ui/values.h"

namespace fourview {

int value_window_size_row = 0;
int value_hyperplane_row = 6;
int value_zoom_row = 7;

void keyboard(unsigned char key, int, int) {
    if (key == 27) execute_command(100);
}
void special_key(int, int, int) {}
void mouse_graph(int, int, int, int) {}
void motion_graph(int, int) {}
void execute_command(int command) {
    if (command == 100) std::exit(0);
}

void build_menus() {}
void refresh_option_labels() {}

namespace {
void clear_and_swap() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glutSwapBuffers();
}
}  // namespace

void build_controller_panel() {}
void display_controller() { clear_and_swap(); }
void reshape_controller(int w, int h) { glViewport(0, 0, w, h); }
void mouse_controller(int, int, int, int) {}
void motion_controller(int, int) {}

void setup_value_fields() {}
void refresh_value_field(int, int) {}
void display_values() { clear_and_swap(); }
void reshape_values(int w, int h) { glViewport(0, 0, w, h); }
void mouse_values(int, int, int, int) {}
void motion_values(int, int) {}

void capture_frame() {}

}  // namespace fourview
