#include "app/windows.h"

#include <GL/glut.h>

#include <cmath>
#include <cstdio>

#include "app/app_state.h"
#include "app/window_system.h"
#include "geom4/transform.h"
#include "render/frame.h"
#include "render/gl_sink.h"
#include "ui/controller.h"
#include "ui/input.h"
#include "ui/values.h"

namespace fourview {

namespace {

struct LightSetup {
    GLenum light;
    GLfloat ambient[4], diffuse[4], specular[4], position[4], spot_direction[3];
    GLfloat spot_exponent;  // negative: left at OpenGL's default
    GLfloat spot_cutoff;
};

// Set while the modelview matrix is the identity, so the lights stay fixed
// relative to the viewer whatever the scene rotation does later.
constexpr LightSetup GraphLights[3] = {
    {GL_LIGHT0, {1, 1, 1, 1}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 100, 0}, {0, 0, -1}, 1, 90},
    {GL_LIGHT1, {0.8f, 0.8f, 0.8f, 1}, {0.8f, 0.8f, 0.8f, 1}, {0.5f, 0.5f, 0.5f, 1},
     {50, 50, 50, 1}, {-1, -1, -1}, -1, 90},
    {GL_LIGHT2, {0.4f, 0.4f, 0.4f, 1}, {0.2f, 0.2f, 0.2f, 1}, {0.8f, 0.2f, 0.2f, 1},
     {200, 1, 1, 1}, {-1, 0, 0}, 1, 90},
};
constexpr LightSetup PanelLight = {
    GL_LIGHT3, {1, 1, 1, 1}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 100, 0}, {0, 0, -1}, 1, 90};

void set_light(const LightSetup& l) {
    glLightfv(l.light, GL_AMBIENT, l.ambient);
    glLightfv(l.light, GL_DIFFUSE, l.diffuse);
    glLightfv(l.light, GL_SPECULAR, l.specular);
    glLightfv(l.light, GL_POSITION, l.position);
    glLightfv(l.light, GL_SPOT_DIRECTION, l.spot_direction);
    if (l.spot_exponent >= 0) glLightf(l.light, GL_SPOT_EXPONENT, l.spot_exponent);
    glLightf(l.light, GL_SPOT_CUTOFF, l.spot_cutoff);
}

int open_window(const char* title, int x, int y, int width, int height) {
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowPosition(x, y);
    glutInitWindowSize(width, height);
    return glutCreateWindow(title);
}

void set_panel_gl_state() {
    glClearColor(1, 1, 1, 1);
    set_light(PanelLight);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT3);
}

}  // namespace

void init_graph_gl_state() {
    glClearColor(1, 1, 1, 1);
    glDepthFunc(GL_LESS);
    glEnable(GL_DEPTH_TEST);
    glShadeModel(GL_SMOOTH);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    for (const LightSetup& l : GraphLights) set_light(l);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT1);
    glEnable(GL_LIGHT2);
}

void create_windows(int graph_x, int graph_y) {
    app.graph_window = open_window("graph", graph_x, graph_y, app.window_width, app.window_height);
    glutDisplayFunc(display_graph);
    glutReshapeFunc(reshape_graph);
    glutKeyboardFunc(keyboard);
    glutSpecialFunc(special_key);
    glutMouseFunc(mouse_graph);
    glutMotionFunc(motion_graph);
    init_graph_gl_state();

    app.controller_window = open_window("controller", 652, 50, 150, 540);
    glutDisplayFunc(display_controller);
    glutReshapeFunc(reshape_controller);
    glutKeyboardFunc(keyboard);
    glutSpecialFunc(special_key);
    glutMouseFunc(mouse_controller);
    glutMotionFunc(motion_controller);
    set_panel_gl_state();

    app.values_window = open_window("values", 0, 560, 630, 210);
    glutDisplayFunc(display_values);
    glutReshapeFunc(reshape_values);
    glutKeyboardFunc(keyboard);
    glutSpecialFunc(special_key);
    glutMouseFunc(mouse_values);
    glutMotionFunc(motion_values);
    set_panel_gl_state();
}

void init_contents() {
    // The graph window's context exists: the models draw into it from now on.
    use_gl_geometry();
    reset_view();
    app.mesh_resolution = app.high_quality == 1 ? 51 : 25;
    const double pi = 3.141592653589793;
    app.s_min = -pi;
    app.s_max = pi;
    app.t_min = -pi;
    app.t_max = pi;
    std::snprintf(app.s_min_text, sizeof app.s_min_text, "%f", app.s_min);
    std::snprintf(app.s_max_text, sizeof app.s_max_text, "%f", app.s_max);
    std::snprintf(app.t_min_text, sizeof app.t_min_text, "%f", app.t_min);
    std::snprintf(app.t_max_text, sizeof app.t_max_text, "%f", app.t_max);
    build_controller_panel();
    setup_value_fields();
    // The graph slots are emptied and filled by the caller (main), which
    // owns the equation tables.

    // World Z made perpendicular to the line of sight.
    const double vx = app.look_at[0] - app.eye[0];
    const double vy = app.look_at[1] - app.eye[1];
    const double vz = app.look_at[2] - app.eye[2];
    double ux = -vx * vz, uy = -vy * vz, uz = vx * vx + vy * vy;
    const double len = std::sqrt(ux * ux + uy * uy + uz * uz);
    app.up = {ux / len, uy / len, uz / len};
}

void reset_view() {
    select_window(app.graph_window);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    apply_view_direction();
    reset_transform();
    app.section_offset = 0.0;
    refresh_value_field(85, value_hyperplane_row);
    app.eye = {200.0, 0.0, 0.0};
    app.zoom = default_zoom(app.model_id);
    refresh_value_field(89, value_zoom_row);
    apply_projection();
}

}  // namespace fourview
