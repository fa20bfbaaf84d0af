#include "gl_fixture.h"

#include <GL/freeglut.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "app/app_state.h"
#include "app/windows.h"
#include "render/frame.h"
#include "ui/graph_slots.h"
#include "ui/menus.h"

// Test executables link with -Wl,--wrap=glutSwapBuffers so that a frame can
// be read from the back buffer before the swap makes it undefined.
extern "C" void __real_glutSwapBuffers();

namespace fourview {
namespace testing {

namespace {
bool started = false;
bool capture_next_swap = false;
Pixels captured;
}  // namespace

}  // namespace testing
}  // namespace fourview

extern "C" void __wrap_glutSwapBuffers() {
    using namespace fourview::testing;
    if (capture_next_swap) {
        captured = read_back_buffer();
        capture_next_swap = false;
    }
    __real_glutSwapBuffers();
}

namespace fourview {
namespace testing {

void restore_start_state() {
    // Size first: the reshape events it causes must be drained before the
    // state is reset, or a late one would overwrite the fresh window size.
    glutSetWindow(app.graph_window);
    if (glutGet(GLUT_WINDOW_WIDTH) != 640 || glutGet(GLUT_WINDOW_HEIGHT) != 480) {
        glutReshapeWindow(640, 480);
        for (int i = 0; i < 100 && (glutGet(GLUT_WINDOW_WIDTH) != 640 ||
                                    glutGet(GLUT_WINDOW_HEIGHT) != 480); ++i)
            glutMainLoopEvent();
    }
    for (int i = 0; i < 5; ++i) glutMainLoopEvent();
    const AppState kept = app;
    app = AppState{};
    app.graph_window = kept.graph_window;
    app.controller_window = kept.controller_window;
    app.values_window = kept.values_window;
    app.main_menu = kept.main_menu;
    app.options_menu = kept.options_menu;
    app.rotation_menu = kept.rotation_menu;
    app.projection_menu = kept.projection_menu;
    app.graph_menu = kept.graph_menu;
    app.models4_menu = kept.models4_menu;
    app.models3_menu = kept.models3_menu;
    glutSetWindow(app.graph_window);
    glViewport(0, 0, 640, 480);
    init_contents();
    // As main does: the stored equation sets start from the defaults.
    clear_graph_slots();
    load_default_equations(0);
    // A dialogue reached by a test must never wait for the terminal that runs
    // the tests: its answers come from an empty stream, which ends at once.
    static std::FILE* no_answers = std::fopen("/dev/null", "r");
    set_console_input(no_answers);
    app.frame_changed = 1;
}

void start_program() {
    if (!started) {
        static int argc = 1;
        static char name[] = "fourview-test";
        static char* argv[] = {name, nullptr};
        glutInit(&argc, argv);
        glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_CONTINUE_EXECUTION);
        create_windows();
        build_menus();
        init_contents();
        // Let the windows map and get their first reshape.
        for (int i = 0; i < 20; ++i) glutMainLoopEvent();
        started = true;
    }
    restore_start_state();
}

Rgb Pixels::at(int x, int y) const {
    const size_t i = (static_cast<size_t>(height - 1 - y) * width + x) * 3;
    return Rgb{data[i], data[i + 1], data[i + 2]};
}

Pixels read_back_buffer() {
    Pixels p;
    p.width = glutGet(GLUT_WINDOW_WIDTH);
    p.height = glutGet(GLUT_WINDOW_HEIGHT);
    p.data.resize(static_cast<size_t>(p.width) * p.height * 3);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, p.width, p.height, GL_RGB, GL_UNSIGNED_BYTE, p.data.data());
    return p;
}

Pixels render_graph_frame() {
    capture_next_swap = true;
    display_graph();
    capture_next_swap = false;
    return captured;
}

FeedbackCounts count_feedback_fn(void (*draw)(void*), void* ctx) {
    static std::vector<GLfloat> buffer(1 << 22);
    glutSetWindow(app.graph_window);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(-1e4, 1e4, -1e4, 1e4, -1e4, 1e4);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw(ctx);
    const GLint n = glRenderMode(GL_RENDER);
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);

    FeedbackCounts c;
    if (n < 0) {
        c.overflow = true;
        return c;
    }
    auto vertex = [&](GLint& i) {
        for (int k = 0; k < 3; ++k)
            if (!std::isfinite(buffer[i + k])) c.has_nan = true;
        i += 3;
    };
    for (GLint i = 0; i < n;) {
        const GLint token = static_cast<GLint>(buffer[i++]);
        switch (token) {
            case GL_POINT_TOKEN: ++c.points; vertex(i); break;
            case GL_LINE_TOKEN:
            case GL_LINE_RESET_TOKEN: ++c.lines; vertex(i); vertex(i); break;
            case GL_POLYGON_TOKEN: {
                const GLint count = static_cast<GLint>(buffer[i++]);
                ++c.polygons;
                for (GLint k = 0; k < count; ++k) vertex(i);
                break;
            }
            case GL_BITMAP_TOKEN:
            case GL_DRAW_PIXEL_TOKEN:
            case GL_COPY_PIXEL_TOKEN: ++c.bitmaps; vertex(i); break;
            case GL_PASS_THROUGH_TOKEN: ++c.pass_through; ++i; break;
            default: ADD_FAILURE() << "unknown feedback token " << token; return c;
        }
    }
    return c;
}

}  // namespace testing
}  // namespace fourview
