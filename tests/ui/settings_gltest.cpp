// What a "Change" of the values window does once it is answered: the line
// of its row, the graph window's size and projection, the view after a new
// hyperplane, and the redraw of the graph.
#include <GL/freeglut.h>

#include <chrono>
#include <cstring>
#include <string>

#include "../expr/dialogue_helpers.h"
#include "app/app_state.h"
#include "app/windows.h"
#include "gl_fixture.h"
#include "ui/settings.h"
#include "ui/values.h"

namespace fourview {
namespace {

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing::start_program();
        app.frame_changed = 0;
    }
    void TearDown() override { value_pressed = -1; }

    // Presses the "Change" of `index` as edit_setting would be called on its
    // release, with `answers` on the console.
    dialogue::Result change(int index, const std::string& answers) {
        console_.fresh(answers);
        return console_.run([&] { edit_setting(value_buttons[index].code, index); });
    }

    dialogue::Console console_;
};

template <typename F>
bool pump_until(F done, double seconds = 3.0) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < end) {
        glutMainLoopEvent();
        if (done()) return true;
    }
    return done();
}

std::string line(int row) { return value_fields[row].text; }

double projection_entry(int i) {
    glutSetWindow(app.graph_window);
    GLdouble m[16];
    glGetDoublev(GL_PROJECTION_MATRIX, m);
    return m[i];
}

TEST_F(SettingsTest, WindowSizeResizesTheGraphWindow) {
    change(0, "400\n300\n");
    EXPECT_EQ(line(0), "Window Size = (400, 300)");
    EXPECT_EQ(app.frame_changed, 1);
    glutSetWindow(app.graph_window);
    ASSERT_TRUE(pump_until([] {
        glutSetWindow(app.graph_window);
        return glutGet(GLUT_WINDOW_WIDTH) == 400 && glutGet(GLUT_WINDOW_HEIGHT) == 300;
    }));
    pump_until([] { return false; }, 0.1);  // the reshape callback runs
    // The projection keeps the picture's proportions in the new window.
    EXPECT_DOUBLE_EQ(projection_entry(0), 1.0 * 300 / (3.0 * 400));
    EXPECT_EQ(app.window_width, 400);
    EXPECT_EQ(app.window_height, 300);
}

TEST_F(SettingsTest, RangesShowTheirTextsAsTyped) {
    change(1, "-pi/2\n2*pi\n");
    EXPECT_EQ(line(1), "{ s : -pi/2 <= s <= 2*pi }");
    change(2, "0\nsqrt(2)\n");
    EXPECT_EQ(line(2), "{ t : 0 <= t <= sqrt(2) }");
    EXPECT_EQ(app.frame_changed, 1);
}

TEST_F(SettingsTest, ALongRangeIsCutInTheLineButKeptWhole) {
    const std::string typed = "-(" + dialogue::repeat("1", 90) + "/" + dialogue::repeat("1", 90) + ")";
    change(1, typed + "\n1\n");
    EXPECT_EQ(std::string(app.s_min_text), typed);
    EXPECT_EQ(app.s_min, -1.0);
    const std::string shown = line(1);
    ASSERT_GE(shown.size(), 3u);
    EXPECT_EQ(shown.substr(shown.size() - 3), "...");
    EXPECT_EQ(shown.substr(0, 9), "{ s : -(1");
}

TEST_F(SettingsTest, InfinityCenterAndAngle) {
    change(3, "250\n");
    EXPECT_EQ(line(3), "Infinity = 250.000000");
    change(4, "-1.5 0 2 0.25\n");
    EXPECT_EQ(line(4), "Center =  { -1.5, 0, 2, 0.25 }");
    change(5, "-15\n");
    EXPECT_EQ(line(5), "Rotation Angle = -15");
}

TEST_F(SettingsTest, ANewHyperplaneResetsTheView) {
    app.section_offset = 0.5;
    app.transform[0] = 7;  // a rotation made by the user
    change(6, "0 0 1 -1 2\n");
    EXPECT_EQ(line(value_hyperplane_row), "Z - W = 2.000000");
    EXPECT_EQ(app.section_offset, 0.0);
    const Matrix5 after = app.transform;
    reset_view();
    EXPECT_EQ(app.transform, after) << "the transform that carries the new hyperplane onto w = 0";
    EXPECT_NE(after, identity_matrix5());
}

TEST_F(SettingsTest, TheStarButtonClearsTheOffset) {
    app.section_offset = 0.5;
    refresh_value_field(85, value_hyperplane_row);
    EXPECT_EQ(line(value_hyperplane_row), "W = 0.500000");
    const dialogue::Result r = change(10, "");
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(app.section_offset, 0.0);
    EXPECT_EQ(line(value_hyperplane_row), "W = 0.000000");
    EXPECT_EQ(app.frame_changed, 1);
}

TEST_F(SettingsTest, ZoomChangesTheProjection) {
    change(7, "0\n0.5\n");
    EXPECT_EQ(line(value_zoom_row), "Zoom = 0.500000");
    // glOrtho's x scale: zoom * height / (3 * width).
    EXPECT_DOUBLE_EQ(projection_entry(0), 0.5 * 480 / (3.0 * 640));
}

TEST_F(SettingsTest, PressAndReleaseOfAChangeButtonRunsItsDialogue) {
    console_.fresh("2\n");
    const dialogue::Result r = console_.run([] {
        glutSetWindow(app.values_window);
        mouse_values(GLUT_LEFT_BUTTON, GLUT_DOWN, 570, 195);
        mouse_values(GLUT_LEFT_BUTTON, GLUT_UP, 570, 195);
    });
    EXPECT_EQ(r.out, "Please input Zoom rate.\nZoom = ");
    EXPECT_EQ(app.zoom, 2.0);
    EXPECT_EQ(line(value_zoom_row), "Zoom = 2.000000");
    EXPECT_EQ(value_pressed, -1);
}

TEST_F(SettingsTest, AfterTheEndOfInputNothingChangesButTheGraphIsRedrawn) {
    const std::string before = line(value_zoom_row);
    const dialogue::Result r = change(7, "");
    EXPECT_EQ(r.out, "Please input Zoom rate.\nZoom = ");
    EXPECT_EQ(r.err, dialogue::input_ended);
    EXPECT_EQ(app.zoom, 1.0);
    EXPECT_EQ(line(value_zoom_row), before);
    EXPECT_EQ(app.frame_changed, 1) << "the common ending";
    app.frame_changed = 0;
    const dialogue::Result again = console_.run([] { edit_setting(92, 0); });
    EXPECT_EQ(again.out, "");
    EXPECT_EQ(again.err, "");
    EXPECT_EQ(line(0), "Window Size = (640, 480)");
    EXPECT_EQ(app.frame_changed, 1);
}

}  // namespace
}  // namespace fourview
