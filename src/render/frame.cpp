#include "render/frame.h"

#include <GL/glut.h>

#include <cmath>

#include "app/app_state.h"
#include "app/window_system.h"
#include "draw/geometry_sink.h"
#include "geom4/projection.h"
#include "geom4/transform.h"
#include "models/curved.h"
#include "models/models.h"
#include "models/slice_models.h"
#include "render/gl_sink.h"
#include "render/materials.h"
#include "render/slice_overlay.h"
#include "render/text.h"
#include "ui/capture.h"
#include "ui/values.h"

namespace fourview {

void take_rotation_step(int request) {
    const Matrix5 step = step_matrix_for(request, app.rotation_angle);
    if (request != 0) {
        app.rotation_request = 0;
        app.frame_changed = 1;
    }
    app.transform = app.rotation_mode == kRotationGlobal ? multiply_matrix5(app.transform, step)
                                                         : multiply_matrix5(step, app.transform);
}

namespace {

// Under Mesa's software rasteriser the drawable takes a new size only at a
// buffer swap: the first frame after a resize is drawn into the buffer of
// the old size, and shows clipped and offset. A resize therefore draws a
// second frame at once, and that one is the frame a capture keeps.
bool resize_frame_pending = false;

// Set while the frame shown before a console dialogue is drawn.
bool console_notice = false;

}  // namespace

void draw_label_background() {
    glShadeModel(GL_SMOOTH);
    glEnable(GL_LIGHT0);
    glDisable(GL_LIGHT1);
    glDisable(GL_LIGHT2);
    push_window_matrices();
    glOrtho(-1, 1, -1, 1, 0, 2);
    gluLookAt(0, 0, 0, 0, 0, -1, 0, 1, 0);
    // Reaches past the view (y = +-1.5), so the visible part runs from light
    // grey to dark grey rather than from white to black.
    glBegin(GL_POLYGON);
    set_color(4);
    glVertex3d(-1, 1.5, -1);
    glVertex3d(1, 1.5, -1);
    set_color(5);
    glVertex3d(1, -1.5, -1);
    glVertex3d(-1, -1.5, -1);
    glEnd();
    pop_window_matrices();
    glDisable(GL_LIGHT0);
    glEnable(GL_LIGHT1);
    glEnable(GL_LIGHT2);
}

namespace {

// One view of the model, between the label background and the overlays.
// The pending rotation step is taken by the first view of the frame.
void draw_view(bool slice, bool take_step, bool& slice_drawn) {
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glMultMatrixd(app.view_matrix.data());

    prepare_model_sphere(true);
    if (app.model_id == kModelUserGraph) {
        // Centre the image of graph_center under the reset transform, so the
        // view turns about it.
        // A centre whose image lies at the perspective eye (w = 2) has no
        // finite projection: leave the scene uncentred rather than hand GL
        // an infinite translation that would blank the whole picture.
        Point3 q;
        const bool finite = graph_centre_image(q);
        if (finite) glTranslated(-q.x, -q.y, -q.z);
        if (finite && app.axes == 1 && !slice) {
            GeometrySink& g = geometry();
            g.color(5);
            g.point_size(10);
            g.begin(Primitive::kPoints);
            g.vertex(q);
            g.end();
        }
    }

    // The notice frame leaves a pending step to the frame after the dialogue.
    if (take_step) take_rotation_step(console_notice ? 0 : app.rotation_request);

    if (slice) {
        slice_drawn = draw_model_slice();
    } else {
        draw_model();
        if (app.axes == 1) draw_axes();
    }
    flush_gl_geometry();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

// The orthographic box of the view for a viewport of w x h pixels.
void load_view_box(int w, int h) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    const double half_height = 3.0 / app.zoom;
    const double half_width = 3.0 * w / (h * app.zoom);
    glOrtho(-half_width, half_width, -half_height, half_height, -100, 1000);
}

}  // namespace

void display_graph() {
    select_window(app.graph_window);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(app.eye[0], app.eye[1], app.eye[2], app.look_at[0], app.look_at[1], app.look_at[2],
              app.up[0], app.up[1], app.up[2]);
    gl_frame_material();
    if (app.label == 1) draw_label_background();

    bool slice_drawn = true;
    const int view = app.slice_view;
    const int w = window_width(), h = window_height();
    if (view == kViewSideBySide && w >= 2 && h > 0 && app.zoom > 0.0) {
        // Each half the window, each with the window's box at its own width.
        const int half = w / 2;
        glViewport(0, 0, half, h);
        load_view_box(half, h);
        draw_view(false, true, slice_drawn);
        glViewport(half, 0, w - half, h);
        load_view_box(w - half, h);
        draw_view(true, false, slice_drawn);
        glViewport(0, 0, w, h);
        load_view_box(w, h);
        glMatrixMode(GL_MODELVIEW);
    } else {
        draw_view(view != kViewProjection, true, slice_drawn);
    }
    if (app.label == 1) draw_caption();
    if (app.colour_by_w == 1) draw_colour_bar();
    if (view != kViewProjection) draw_slice_overlay(view == kViewSideBySide ? w / 2 : 0, slice_drawn);
    if (console_notice) {
        // Neither saved nor counted as the changed frame: that is the one
        // drawn after the dialogue.
        draw_outlined_text(10, window_height() - 45, GLUT_BITMAP_HELVETICA_18,
                           "Answer in the terminal");
        glFlush();
        swap_window_buffers();
        return;
    }
    const bool stale_size = resize_frame_pending;
    resize_frame_pending = false;
    if (app.save_screen == 1 && app.frame_changed == 1 && !stale_size) capture_frame();
    glFlush();
    swap_window_buffers();
    if (stale_size)
        post_redisplay();
    else
        app.frame_changed = 0;
}

void show_console_notice() {
    if (app.graph_window == 0) return;
    console_notice = true;
    display_graph();
    console_notice = false;
}

void apply_projection() {
    select_window(app.graph_window);
    const int w = window_width();
    const int h = window_height();
    // A minimised window or a zoom of 0 would make the box infinite: keep
    // the last projection until the size and zoom make sense again.
    if (h > 0 && w > 0 && app.zoom > 0.0) load_view_box(w, h);
    app.frame_changed = 1;
    post_redisplay();
}

void reshape_graph(int width, int height) {
    if (height == 0) return;
    resize_frame_pending = true;
    glViewport(0, 0, width, height);
    app.window_width = width;
    app.window_height = height;
    refresh_value_field(92, value_window_size_row);
    apply_projection();
}

}  // namespace fourview
