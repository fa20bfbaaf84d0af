// The controller and values windows: their tables, presses, releases,
// drag-offs, the 50 ms repetition, forced sizes and repaint on demand only.
#include <GL/freeglut.h>
#include <dlfcn.h>

#include <chrono>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "app/app_state.h"
#include "gl_fixture.h"
#include "ui/controller.h"
#include "ui/input.h"
#include "ui/values.h"

// The held buttons' timers, kept here instead of GLUT's while `active`, so
// that a test fires them itself and counts what each one arms.
struct HeldTimers {
    bool active = false;
    std::vector<std::pair<void (*)(int), int>> armed;
} held_timers;

extern "C" void glutTimerFunc(unsigned int ms, void (*callback)(int), int value) {
    if (held_timers.active) {
        held_timers.armed.emplace_back(callback, value);
        return;
    }
    using Real = void (*)(unsigned int, void (*)(int), int);
    static const Real real = reinterpret_cast<Real>(dlsym(RTLD_NEXT, "glutTimerFunc"));
    real(ms, callback, value);
}

namespace fourview {
namespace {

class PanelsTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing::start_program();
        app.frame_changed = 0;
    }
    void TearDown() override {
        controller_pressed = -1;
        value_pressed = -1;
        app.save_screen = 0;
    }
};

// Runs GLUT's event loop until `done` holds or `seconds` pass.
template <typename F>
bool pump_until(F done, double seconds = 2.0) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < end) {
        glutMainLoopEvent();
        if (done()) return true;
    }
    return done();
}

// A round trip to the X server, so that its pending events are read.
void sync_with_server() {
    glutSetWindow(app.graph_window);
    (void)glutGet(GLUT_WINDOW_X);
    for (int i = 0; i < 5; ++i) glutMainLoopEvent();
}

int text_width(const ButtonPanel& b) {
    int w = 0;
    for (const char* c = b.text; *c; ++c) w += glutBitmapWidth(b.font, static_cast<unsigned char>(*c));
    return w;
}

TEST_F(PanelsTest, ControllerTable) {
    const char* labels[] = {"XY",   "YZ",   "ZX",   "XY R", "YZ R", "ZX R", "WX",   "WY",   "WZ",
                            "WX R", "WY R", "WZ R", "Reset View", "Solid", "Transparent",
                            "Wireframe", "Cross Section", "Axes", "Label", "Hight Quality",
                            "Bold Line", "Save Screen", "Global Rotation", "Frustum", "from X",
                            "Quit"};
    const int codes[] = {1, 3, 5, 2, 4, 6, 7, 9, 11, 8, 10, 12,
                         99, 50, 51, 52, 57, 53, 54, 55, 56, 58, 60, 61, 62, 100};
    const int* flags[] = {&app.solid, &app.transparent, &app.wireframe, &app.cross_section,
                          &app.axes, &app.label, &app.high_quality, &app.bold_line,
                          &app.save_screen};
    for (int i = 0; i < kControllerButtonCount; ++i) {
        const ButtonPanel& b = controller_buttons[i];
        EXPECT_STREQ(b.text, labels[i]) << i;
        EXPECT_EQ(b.code, codes[i]) << i;
        EXPECT_EQ(b.height, 30);
        EXPECT_EQ(b.align, 0);
        if (i < 12) {
            EXPECT_EQ(b.x, (i % 3) * 50) << i;
            EXPECT_EQ(b.y, (i / 3) * 30) << i;
            EXPECT_EQ(b.width, 50);
            EXPECT_EQ(b.font, GLUT_BITMAP_HELVETICA_12);
            EXPECT_EQ(b.enable, &always_on_flag);
        } else {
            EXPECT_EQ(b.x, 0);
            EXPECT_EQ(b.y, 120 + 30 * (i - 12)) << i;
            EXPECT_EQ(b.width, 150);
            EXPECT_EQ(b.font, GLUT_BITMAP_HELVETICA_18);
            if (i >= 13 && i <= 21)
                EXPECT_EQ(b.enable, flags[i - 13]) << i;
            else
                EXPECT_EQ(b.enable, &always_on_flag) << i;
        }
        EXPECT_EQ(b.text_x, (b.width - text_width(b)) / 2) << i;
    }
    EXPECT_EQ(controller_buttons[25].y + 30, 540) << "the panel fills the window";
    EXPECT_EQ(controller_buttons[0].text_y, 12);
    EXPECT_EQ(controller_buttons[12].text_y, 13);
}

TEST_F(PanelsTest, ModeLabelsFollowTheStateWhenBuilt) {
    app.rotation_mode = kRotationLocal;
    app.projection_mode = kProjectionParallel;
    app.view_direction = 2;
    build_controller_panel();
    EXPECT_STREQ(controller_buttons[22].text, "Local Rotation");
    EXPECT_STREQ(controller_buttons[23].text, "Ortho");
    EXPECT_STREQ(controller_buttons[24].text, "from Z");
}

TEST_F(PanelsTest, AClickOnTheSharedBorderPressesTheEarlierButton) {
    mouse_controller(GLUT_LEFT_BUTTON, GLUT_DOWN, 25, 30);
    EXPECT_EQ(controller_pressed, 0) << "XY, not XY R";
    EXPECT_EQ(app.rotation_request, 1);
    mouse_controller(GLUT_LEFT_BUTTON, GLUT_UP, 25, 30);
    EXPECT_EQ(controller_pressed, -1);
}

TEST_F(PanelsTest, OptionButtonsActAtTheRelease) {
    mouse_controller(GLUT_LEFT_BUTTON, GLUT_DOWN, 75, 165);
    EXPECT_EQ(controller_pressed, 13);
    EXPECT_EQ(app.solid, 1) << "nothing yet at the press";
    mouse_controller(GLUT_LEFT_BUTTON, GLUT_UP, 75, 165);
    EXPECT_EQ(app.solid, 0);
    EXPECT_EQ(controller_pressed, -1);
    EXPECT_EQ(app.frame_changed, 1);
    mouse_controller(GLUT_LEFT_BUTTON, GLUT_DOWN, 75, 165);
    mouse_controller(GLUT_LEFT_BUTTON, GLUT_UP, 75, 165);
    EXPECT_EQ(app.solid, 1);
}

TEST_F(PanelsTest, DraggingOffQuitCancelsIt) {
    mouse_controller(GLUT_LEFT_BUTTON, GLUT_DOWN, 75, 525);
    EXPECT_EQ(controller_pressed, 25);
    motion_controller(75, 530);
    EXPECT_EQ(controller_pressed, 25) << "still on the button";
    motion_controller(75, 400);
    EXPECT_EQ(controller_pressed, -1);
    mouse_controller(GLUT_LEFT_BUTTON, GLUT_UP, 75, 525);  // back on it: too late
    EXPECT_EQ(controller_pressed, -1);
    SUCCEED() << "still running";
}

TEST_F(PanelsTest, APressOutsideEveryButtonChangesNothing) {
    mouse_controller(GLUT_LEFT_BUTTON, GLUT_DOWN, 200, 600);
    EXPECT_EQ(controller_pressed, -1);
    mouse_controller(GLUT_RIGHT_BUTTON, GLUT_DOWN, 75, 165);
    EXPECT_EQ(controller_pressed, -1);
    EXPECT_EQ(app.solid, 1);
}

TEST_F(PanelsTest, RotationRepeatsThroughTheTimerCallbackWhileHeld) {
    mouse_controller(GLUT_LEFT_BUTTON, GLUT_DOWN, 25, 75);  // "WX"
    EXPECT_EQ(controller_pressed, 6);
    EXPECT_EQ(app.rotation_request, 7) << "one step at the press";
    app.rotation_request = 0;  // taken by a frame
    repeat_rotation_step(7);   // the timer fires
    EXPECT_EQ(app.rotation_request, 7);
    app.rotation_request = 0;
    repeat_rotation_step(8);  // a chain of another button
    EXPECT_EQ(app.rotation_request, 0);
    motion_controller(200, 75);  // off the button
    repeat_rotation_step(7);
    EXPECT_EQ(app.rotation_request, 0) << "the chain ends";
    mouse_controller(GLUT_LEFT_BUTTON, GLUT_UP, 200, 75);
    repeat_rotation_step(7);
    EXPECT_EQ(app.rotation_request, 0);
}

TEST_F(PanelsTest, HeldRotationStepsAgainFromTheRealTimer) {
    glutSetWindow(app.graph_window);
    const Matrix5 start = app.transform;
    mouse_controller(GLUT_LEFT_BUTTON, GLUT_DOWN, 25, 75);
    ASSERT_TRUE(pump_until([&] { return app.transform != start; })) << "first step drawn";
    const Matrix5 first = app.transform;
    ASSERT_TRUE(pump_until([&] { return app.transform != first; })) << "a timer step follows";
    mouse_controller(GLUT_LEFT_BUTTON, GLUT_UP, 25, 75);
    // The timer armed before the release fires and stops; no step after it.
    pump_until([] { return false; }, 0.2);
    const Matrix5 settled = app.transform;
    pump_until([] { return false; }, 0.15);
    EXPECT_EQ(app.transform, settled);
    EXPECT_EQ(app.rotation_request, 0);
}

// Released and pressed again before the 50 ms timer of the first press fires:
// that timer must end, so that one chain steps, not two.
TEST_F(PanelsTest, AQuickReleaseAndPressLeavesOneChain) {
    struct Held {
        void (*mouse)(int, int, int, int);
        int x, y;
    };
    for (const Held& h : {Held{mouse_controller, 25, 75}, Held{mouse_values, 495, 170}}) {
        held_timers.active = true;
        held_timers.armed.clear();
        h.mouse(GLUT_LEFT_BUTTON, GLUT_DOWN, h.x, h.y);
        h.mouse(GLUT_LEFT_BUTTON, GLUT_UP, h.x, h.y);
        h.mouse(GLUT_LEFT_BUTTON, GLUT_DOWN, h.x, h.y);
        ASSERT_EQ(held_timers.armed.size(), 2u);
        // Both fire, the old one first: only the new one arms the next tick.
        for (int tick = 0; tick < 2; ++tick) {
            const auto armed = held_timers.armed;
            held_timers.armed.clear();
            for (const auto& t : armed) t.first(t.second);
            EXPECT_EQ(held_timers.armed.size(), 1u) << tick;
        }
        h.mouse(GLUT_LEFT_BUTTON, GLUT_UP, h.x, h.y);
        const auto armed = held_timers.armed;
        held_timers.armed.clear();
        for (const auto& t : armed) t.first(t.second);
        EXPECT_TRUE(held_timers.armed.empty()) << "the release ends the chain";
        held_timers.active = false;
    }
}

TEST_F(PanelsTest, ValueLinesAtStartUp) {
    const char* lines[] = {
        "Window Size = (640, 480)", "{ s : -3.141593 <= s <= 3.141593 }",
        "{ t : -3.141593 <= t <= 3.141593 }", "Infinity = 500.000000",
        "Center =  { 0, 0, 0, 0 }", "Rotation Angle = 10", "W = 0.000000", "Zoom = 1.000000",
    };
    for (int row = 0; row < kValueFieldCount; ++row) {
        const ButtonPanel& f = value_fields[row];
        EXPECT_STREQ(f.text, lines[row]) << row;
        EXPECT_EQ(f.x, 10);
        EXPECT_EQ(f.y, 10 + 25 * row);
        EXPECT_EQ(f.width, row < 6 ? 500 : 380);
        EXPECT_EQ(f.height, 20);
        EXPECT_EQ(f.font, GLUT_BITMAP_8_BY_13);
        EXPECT_EQ(f.text_x, (f.width - text_width(f)) / 2) << row;
    }
}

TEST_F(PanelsTest, ValueButtonsTable) {
    const int codes[] = {92, 81, 82, 80, 83, 84, 85, 89, 86, 87, 88, 90, 91};
    const char* labels[] = {"Change", "Change", "Change", "Change", "Change", "Change", "Change",
                            "Change", ">>", "<<", "*", ">>", "<<"};
    const int xs[] = {520, 520, 520, 520, 520, 520, 520, 520, 480, 400, 440, 460, 400};
    const int ys[] = {10, 35, 60, 85, 110, 135, 160, 185, 160, 160, 160, 185, 185};
    const int ws[] = {100, 100, 100, 100, 100, 100, 100, 100, 30, 30, 30, 50, 50};
    for (int i = 0; i < kValueButtonCount; ++i) {
        const ButtonPanel& b = value_buttons[i];
        EXPECT_EQ(b.code, codes[i]) << i;
        EXPECT_STREQ(b.text, labels[i]) << i;
        EXPECT_EQ(b.x, xs[i]) << i;
        EXPECT_EQ(b.y, ys[i]) << i;
        EXPECT_EQ(b.width, ws[i]) << i;
        EXPECT_EQ(b.height, 20);
        EXPECT_EQ(b.font, GLUT_BITMAP_9_BY_15);
        EXPECT_EQ(b.enable, &always_on_flag);
    }
}

TEST_F(PanelsTest, LongLinesEndInDotsInsideTheirField) {
    app.infinity = 1e100;
    refresh_value_field(80, 3);
    const ButtonPanel& f = value_fields[3];
    const std::string text = f.text;
    EXPECT_EQ(text.substr(text.size() - 3), "...");
    EXPECT_LT(text_width(f), f.width);
    EXPECT_LE(text.size(), 99u);
    EXPECT_EQ(text.substr(0, 13), "Infinity = 10");
    // The hyperplane field is narrower, leaving its buttons clear.
    app.hyperplane = {1.25, -2.5, 3.75, -4.125, 1e6};
    refresh_value_field(85, value_hyperplane_row);
    const ButtonPanel& h = value_fields[value_hyperplane_row];
    EXPECT_LT(text_width(h), 380);
    EXPECT_LE(h.x + h.width, value_buttons[9].x) << "never reaches the << button";
}

TEST_F(PanelsTest, RefreshOfALineWithoutATextOnlyPlacesItAgain) {
    set_button_text(value_fields[2], "kept as it is");
    refresh_value_field(88, 2);
    EXPECT_STREQ(value_fields[2].text, "kept as it is");
    refresh_value_field(85, 99);  // no such row: ignored
}

TEST_F(PanelsTest, HeldSectionButtonsStepAndStopAtTheRelease) {
    mouse_values(GLUT_LEFT_BUTTON, GLUT_DOWN, 495, 170);  // ">>"
    EXPECT_EQ(value_pressed, 8);
    EXPECT_NEAR(app.section_offset, 0.05, 1e-12);
    EXPECT_STREQ(value_fields[value_hyperplane_row].text, "W = 0.050000");
    EXPECT_EQ(app.frame_changed, 1);
    repeat_value_step(86);
    EXPECT_NEAR(app.section_offset, 0.10, 1e-12);
    mouse_values(GLUT_LEFT_BUTTON, GLUT_UP, 495, 170);
    EXPECT_EQ(value_pressed, -1);
    repeat_value_step(86);
    EXPECT_NEAR(app.section_offset, 0.10, 1e-12) << "the chain ends after the release";
    mouse_values(GLUT_LEFT_BUTTON, GLUT_DOWN, 415, 170);  // "<<"
    EXPECT_NEAR(app.section_offset, 0.05, 1e-12);
    mouse_values(GLUT_LEFT_BUTTON, GLUT_UP, 415, 170);
}

TEST_F(PanelsTest, ARepeatChainBelongsToItsOwnButton) {
    mouse_values(GLUT_LEFT_BUTTON, GLUT_DOWN, 495, 170);  // ">>" of the section
    mouse_values(GLUT_LEFT_BUTTON, GLUT_UP, 495, 170);
    mouse_values(GLUT_LEFT_BUTTON, GLUT_DOWN, 570, 20);  // "Change" of the window size
    const double offset = app.section_offset;
    repeat_value_step(86);  // the old chain's tick
    EXPECT_EQ(app.section_offset, offset);
    motion_values(0, 0);
    mouse_values(GLUT_LEFT_BUTTON, GLUT_UP, 0, 0);
}

TEST_F(PanelsTest, ZoomButtonsStepAndNeverReachZero) {
    mouse_values(GLUT_LEFT_BUTTON, GLUT_DOWN, 485, 195);  // zoom ">>"
    EXPECT_EQ(value_pressed, 11);
    EXPECT_NEAR(app.zoom, 1.01, 1e-12);
    EXPECT_STREQ(value_fields[value_zoom_row].text, "Zoom = 1.010000");
    mouse_values(GLUT_LEFT_BUTTON, GLUT_UP, 485, 195);

    app.zoom = 0.01;
    app.frame_changed = 0;
    mouse_values(GLUT_LEFT_BUTTON, GLUT_DOWN, 425, 195);  // zoom "<<"
    EXPECT_EQ(app.zoom, 0.01) << "0.01 - 0.01 is not above zero";
    mouse_values(GLUT_LEFT_BUTTON, GLUT_UP, 425, 195);

    app.zoom = 0.015;
    mouse_values(GLUT_LEFT_BUTTON, GLUT_DOWN, 425, 195);
    EXPECT_NEAR(app.zoom, 0.005, 1e-12);
    repeat_value_step(91);
    EXPECT_NEAR(app.zoom, 0.005, 1e-12) << "stops at the floor";
    mouse_values(GLUT_LEFT_BUTTON, GLUT_UP, 425, 195);
}

TEST_F(PanelsTest, ChangeRunsTheConsoleInputOnlyWhenReleasedOnIt) {
    mouse_values(GLUT_LEFT_BUTTON, GLUT_DOWN, 570, 20);
    EXPECT_EQ(value_pressed, 0);
    motion_values(300, 100);
    EXPECT_EQ(value_pressed, -1);
    mouse_values(GLUT_LEFT_BUTTON, GLUT_UP, 300, 100);
    EXPECT_EQ(app.frame_changed, 0) << "no console input after a drag-off";
    mouse_values(GLUT_LEFT_BUTTON, GLUT_DOWN, 570, 195);
    mouse_values(GLUT_LEFT_BUTTON, GLUT_UP, 570, 195);
    EXPECT_EQ(app.frame_changed, 1) << "the settings input ends with a redraw";
    EXPECT_EQ(value_pressed, -1);
}

TEST_F(PanelsTest, PanelWindowsAreForcedBackToTheirSize) {
    struct Case {
        int window, width, height;
    };
    for (const Case& c : {Case{app.controller_window, 150, 540}, Case{app.values_window, 630, 210}}) {
        glutSetWindow(c.window);
        glutReshapeWindow(c.width + 77, c.height + 33);
        // The reshape callback answers the new size by asking for the old one.
        bool grew = pump_until([&] {
            glutSetWindow(c.window);
            return glutGet(GLUT_WINDOW_WIDTH) != c.width;
        });
        EXPECT_TRUE(grew);
        EXPECT_TRUE(pump_until([&] {
            glutSetWindow(c.window);
            return glutGet(GLUT_WINDOW_WIDTH) == c.width && glutGet(GLUT_WINDOW_HEIGHT) == c.height;
        })) << c.width;
    }
}

// Counts the repaints of the two panels.
int controller_paints = 0, values_paints = 0;
void counting_display_controller() {
    ++controller_paints;
    display_controller();
}
void counting_display_values() {
    ++values_paints;
    display_values();
}

TEST_F(PanelsTest, PanelsRepaintOnlyWhenSomethingTheyShowChanges) {
    glutSetWindow(app.controller_window);
    glutDisplayFunc(counting_display_controller);
    glutSetWindow(app.values_window);
    glutDisplayFunc(counting_display_values);
    sync_with_server();
    controller_paints = values_paints = 0;
    for (int i = 0; i < 50; ++i) glutMainLoopEvent();
    sync_with_server();
    EXPECT_EQ(controller_paints, 0) << "an idle panel does not repaint itself";
    EXPECT_EQ(values_paints, 0);

    execute_command(56);  // "Bold Line" turns black on the controller
    for (int i = 0; i < 20; ++i) glutMainLoopEvent();
    EXPECT_EQ(controller_paints, 1);
    EXPECT_EQ(values_paints, 0);

    special_key(GLUT_KEY_RIGHT, 0, 0);  // the hyperplane line changes
    for (int i = 0; i < 20; ++i) glutMainLoopEvent();
    EXPECT_EQ(values_paints, 1);

    mouse_controller(GLUT_LEFT_BUTTON, GLUT_DOWN, 75, 135);
    for (int i = 0; i < 20; ++i) glutMainLoopEvent();
    EXPECT_EQ(controller_paints, 2) << "the press shows";
    mouse_controller(GLUT_LEFT_BUTTON, GLUT_UP, 75, 135);  // "Reset View"
    for (int i = 0; i < 20; ++i) glutMainLoopEvent();
    EXPECT_EQ(controller_paints, 3);
    EXPECT_EQ(values_paints, 2) << "reset rebuilt the hyperplane and zoom lines";

    glutSetWindow(app.controller_window);
    glutDisplayFunc(display_controller);
    glutSetWindow(app.values_window);
    glutDisplayFunc(display_values);
}

// The panels light their text under a light 0 that saturates any grey to
// white; an off label must still come out grey, and nothing else change.
TEST_F(PanelsTest, AnOffLabelIsMidGreyAndNothingElseChanges) {
    auto controller = [] {
        glutSetWindow(app.controller_window);
        display_controller();  // shows, then swaps: draw again and read the back buffer
        glutSetWindow(app.controller_window);
        glClear(GL_COLOR_BUFFER_BIT);
        redraw_controller_panel();
        return testing::read_back_buffer();
    };
    const testing::Pixels on = controller();
    app.solid = 0;
    const testing::Pixels off = controller();
    const testing::Rgb black{0, 0, 0}, grey{kOffLabelGrey, kOffLabelGrey, kOffLabelGrey};
    int greyed = 0;
    for (int y = 0; y < on.height; ++y)
        for (int x = 0; x < on.width; ++x) {
            const bool in_solid_label = y > 150 && y < 180 && x > 1 && x < 148;  // inside the bevel
            if (in_solid_label && on.at(x, y) == black && off.at(x, y) == grey) ++greyed;
            else ASSERT_EQ(off.at(x, y), on.at(x, y)) << x << "," << y;
        }
    EXPECT_GT(greyed, 40) << "the label's strokes, black when on, are grey when off";
}

TEST_F(PanelsTest, APressedButtonIsDrawnSunken) {
    glutSetWindow(app.controller_window);
    display_controller();  // shows, then swaps: draw again and read the back buffer
    glutSetWindow(app.controller_window);
    auto top_edge = [] {
        glutSetWindow(app.controller_window);
        glClear(GL_COLOR_BUFFER_BIT);
        redraw_controller_panel();
        return testing::read_back_buffer().at(25, 1);
    };
    const testing::Rgb raised = top_edge();
    controller_pressed = 0;
    const testing::Rgb sunken = top_edge();
    EXPECT_EQ(raised.r, 255) << "a raised button is lit along its top";
    EXPECT_EQ(sunken.r, 0) << "a sunken one is dark there";
}

}  // namespace
}  // namespace fourview
