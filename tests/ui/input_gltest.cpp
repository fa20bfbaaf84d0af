// Keys, special keys, graph-window drags and the command executor, called
// directly in the program's own windows.
#include <GL/freeglut.h>

#include <cmath>
#include <string>

#include "app/app_state.h"
#include "gl_fixture.h"
#include "ui/controller.h"
#include "ui/input.h"
#include "ui/menus.h"
#include "ui/values.h"

namespace fourview {
namespace {

class InputTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing::start_program();
        app.frame_changed = 0;
    }
    // A frame drawn later must not save anything.
    void TearDown() override { app.save_screen = 0; }
};

void key(unsigned char k) { keyboard(k, 0, 0); }

Matrix4 preset(int direction) {
    const int kept = app.view_direction;
    const Matrix4 kept_matrix = app.view_matrix;
    app.view_direction = direction;
    apply_view_direction();
    const Matrix4 m = app.view_matrix;
    app.view_direction = kept;
    app.view_matrix = kept_matrix;
    return m;
}

// The OpenGL product of rotations in the order given, as glRotated builds it.
Matrix4 gl_rotations(std::initializer_list<std::array<double, 4>> rotations) {
    glutSetWindow(app.graph_window);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    for (const auto& r : rotations) glRotated(r[0], r[1], r[2], r[3]);
    Matrix4 m;
    glGetDoublev(GL_MODELVIEW_MATRIX, m.data());
    glPopMatrix();
    return m;
}

// GL keeps its matrices in single precision.
void expect_near(const Matrix4& a, const Matrix4& b, double tolerance = 1e-6) {
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(a[i], b[i], tolerance) << "element " << i;
}

TEST_F(InputTest, RotationKeysRequestOneStepEach) {
    const std::pair<unsigned char, int> table[] = {
        {'3', 1}, {'c', 2}, {'1', 3}, {'z', 4}, {'2', 5},  {'x', 6},
        {'4', 7}, {'7', 8}, {'5', 9}, {'8', 10}, {'6', 11}, {'9', 12},
    };
    const Matrix5 before = app.transform;
    for (const auto& [k, request] : table) {
        key(k);
        EXPECT_EQ(app.rotation_request, request) << k;
        EXPECT_EQ(app.frame_changed, 0) << "the frame applies the step: " << k;
    }
    EXPECT_EQ(app.transform, before);
}

TEST_F(InputTest, OptionKeysToggleTheirFlagAndBack) {
    const std::pair<unsigned char, int AppState::*> table[] = {
        {'a', &AppState::solid},     {'s', &AppState::transparent}, {'d', &AppState::wireframe},
        {'f', &AppState::cross_section}, {'g', &AppState::axes},    {'h', &AppState::label},
        {'k', &AppState::bold_line}, {'l', &AppState::save_screen},
    };
    for (const auto& [k, flag] : table) {
        const int before = app.*flag;
        app.frame_changed = 0;
        key(k);
        EXPECT_EQ(app.*flag, before == 0 ? 1 : 0) << k;
        EXPECT_EQ(app.frame_changed, 1) << k;
        key(k);
        EXPECT_EQ(app.*flag, before) << k;
    }
}

TEST_F(InputTest, HightQualityKeySetsTheMeshResolution) {
    ASSERT_EQ(app.mesh_resolution, 51);
    key('j');
    EXPECT_EQ(app.high_quality, 0);
    EXPECT_EQ(app.mesh_resolution, 25);
    key('j');
    EXPECT_EQ(app.high_quality, 1);
    EXPECT_EQ(app.mesh_resolution, 51);
}

TEST_F(InputTest, ModeKeysSwitchAndRelabelTheController) {
    key(';');
    EXPECT_EQ(app.rotation_mode, kRotationLocal);
    EXPECT_STREQ(controller_buttons[rotation_button_index].text, "Local Rotation");
    key(';');
    EXPECT_EQ(app.rotation_mode, kRotationGlobal);
    EXPECT_STREQ(controller_buttons[rotation_button_index].text, "Global Rotation");
    key(':');
    EXPECT_EQ(app.projection_mode, kProjectionParallel);
    EXPECT_STREQ(controller_buttons[projection_button_index].text, "Ortho");
    key(':');
    EXPECT_EQ(app.projection_mode, kProjectionPerspective);
    EXPECT_STREQ(controller_buttons[projection_button_index].text, "Frustum");
}

TEST_F(InputTest, SpaceTogglesTransparentAndTheProjectionAtOnce) {
    key(' ');
    EXPECT_EQ(app.transparent, 0);
    EXPECT_EQ(app.projection_mode, kProjectionParallel);
    key(' ');
    EXPECT_EQ(app.transparent, 1);
    EXPECT_EQ(app.projection_mode, kProjectionPerspective);
}

TEST_F(InputTest, BracketCyclesTheViewDirections) {
    const char* labels[] = {"from Y", "from Z", "from X", "from Y"};
    for (int i = 0; i < 4; ++i) {
        key(']');
        EXPECT_EQ(app.view_direction, (i + 1) % 3);
        EXPECT_STREQ(controller_buttons[view_button_index].text, labels[i]);
        expect_near(app.view_matrix, preset(app.view_direction));
    }
}

TEST_F(InputTest, PresetKeysEndAtTheirPresetWhateverCameBefore) {
    const std::pair<unsigned char, int> table[] = {{'n', 1}, {'m', 2}, {'b', 0}};
    for (int start = 0; start < 3; ++start) {
        for (const auto& [k, direction] : table) {
            app.view_direction = start;
            // A drag first: the preset must discard it.
            mouse_graph_with_modifiers(GLUT_LEFT_BUTTON, GLUT_DOWN, 100, 100, 0);
            motion_graph(137, 71);
            mouse_graph_with_modifiers(GLUT_LEFT_BUTTON, GLUT_UP, 137, 71, 0);
            key(k);
            EXPECT_EQ(app.view_direction, direction) << k << " from " << start;
            expect_near(app.view_matrix, preset(direction));
        }
    }
}

TEST_F(InputTest, PresetsShowTheNamedAxisTowardsTheViewer) {
    // The camera sits on +X: the axis seen head-on is the one the preset
    // maps onto +X, with the next one to the right (+Y) and the last up.
    expect_near(preset(0), gl_rotations({}));
    expect_near(preset(1), gl_rotations({{-90, 0, 0, 1}, {-90, 0, 1, 0}}));
    expect_near(preset(2), gl_rotations({{90, 0, 0, 1}, {90, 1, 0, 0}}));
    const Matrix4 y = preset(1);  // column j is the image of axis j
    EXPECT_NEAR(y[4 + 0], 1, 1e-12) << "+Y comes towards the viewer";
    EXPECT_NEAR(y[8 + 1], 1, 1e-12) << "+Z to the right";
    EXPECT_NEAR(y[0 + 2], 1, 1e-12) << "+X up";
}

TEST_F(InputTest, AKeyNotInTheTableOnlyRedraws) {
    const AppState before = app;
    for (int k : {'A', 'Z', 'q', '0', '[', '\r'}) key(static_cast<unsigned char>(k));
    EXPECT_EQ(app.rotation_request, 0);
    EXPECT_EQ(app.frame_changed, 0);
    EXPECT_EQ(app.solid, before.solid);
    EXPECT_EQ(app.transparent, before.transparent);
    EXPECT_EQ(app.view_direction, before.view_direction);
    EXPECT_EQ(app.view_matrix, before.view_matrix);
    EXPECT_EQ(app.projection_mode, before.projection_mode);
}

TEST_F(InputTest, ArrowKeysMoveTheSectionAndRefreshItsLine) {
    for (int i = 0; i < 3; ++i) special_key(GLUT_KEY_LEFT, 0, 0);
    special_key(GLUT_KEY_RIGHT, 0, 0);
    EXPECT_NEAR(app.section_offset, -0.1, 1e-12);
    EXPECT_STREQ(value_fields[value_hyperplane_row].text, "W = -0.100000");
    EXPECT_EQ(app.frame_changed, 1);
    app.frame_changed = 0;
    special_key(GLUT_KEY_UP, 0, 0);
    EXPECT_NEAR(app.section_offset, -0.1, 1e-12);
    EXPECT_EQ(app.frame_changed, 1) << "any special key redraws";
    special_key(GLUT_KEY_DOWN, 0, 0);
    EXPECT_EQ(app.section_offset, 0.0);
    EXPECT_STREQ(value_fields[value_hyperplane_row].text, "W = 0.000000");
}

TEST_F(InputTest, ModifierKeysAloneAreNoKeys) {
    // freeglut reports Shift and Ctrl as special keys; they must not mark the
    // frame changed (a capture would save an unchanged frame).
    for (int k = GLUT_KEY_SHIFT_L; k <= GLUT_KEY_SUPER_R; ++k) special_key(k, 0, 0);
    EXPECT_EQ(app.frame_changed, 0);
}

TEST_F(InputTest, DragTurnsTheSceneAboutTheViewersAxes) {
    mouse_graph_with_modifiers(GLUT_LEFT_BUTTON, GLUT_DOWN, 100, 100, 0);
    EXPECT_EQ(app.dragging, 1);
    EXPECT_EQ(app.zoom_drag, 0);
    motion_graph(100, 190);  // 90 pixels down: 90 degrees about +Y
    expect_near(app.view_matrix, gl_rotations({{90, 0, 1, 0}}));
    EXPECT_EQ(app.frame_changed, 1);
    EXPECT_EQ(app.last_mouse_y, 190);
    motion_graph(130, 190);  // 30 pixels right: 30 degrees about +Z, after
    expect_near(app.view_matrix, gl_rotations({{30, 0, 0, 1}, {90, 0, 1, 0}}));
    mouse_graph_with_modifiers(GLUT_LEFT_BUTTON, GLUT_UP, 130, 190, 0);
    EXPECT_EQ(app.dragging, 0);
    const Matrix4 after = app.view_matrix;
    motion_graph(300, 300);
    EXPECT_EQ(app.view_matrix, after) << "no drag without the button";
}

TEST_F(InputTest, DraggingDownBringsTheTopTowardsTheViewer) {
    mouse_graph_with_modifiers(GLUT_LEFT_BUTTON, GLUT_DOWN, 0, 0, 0);
    motion_graph(0, 10);
    // The image of +Z (column 2) gains a +X part: towards the camera on +X.
    EXPECT_GT(app.view_matrix[8], 0.1);
}

TEST_F(InputTest, ShiftDragOf100PixelsDownRaisesTheZoomBy005) {
    mouse_graph_with_modifiers(GLUT_LEFT_BUTTON, GLUT_DOWN, 100, 100, GLUT_ACTIVE_SHIFT);
    EXPECT_EQ(app.zoom_drag, 1);
    const Matrix4 view = app.view_matrix;
    motion_graph(100, 200);
    EXPECT_NEAR(app.zoom, 1.05, 1e-12);
    EXPECT_EQ(app.view_matrix, view);
    EXPECT_STREQ(value_fields[value_zoom_row].text, "Zoom = 1.050000");
    GLdouble m[16];
    glutSetWindow(app.graph_window);
    glGetDoublev(GL_PROJECTION_MATRIX, m);
    EXPECT_NEAR(m[5], 1.05 / 3.0, 1e-6) << "the projection follows the zoom";
    // The step per pixel does not depend on the zoom.
    motion_graph(100, 300);
    EXPECT_NEAR(app.zoom, 1.10, 1e-12);
}

TEST_F(InputTest, ShiftDragPastZeroStopsAndResumes) {
    app.zoom = 0.05;
    mouse_graph_with_modifiers(GLUT_LEFT_BUTTON, GLUT_DOWN, 100, 200, GLUT_ACTIVE_SHIFT);
    motion_graph(100, 99);  // would pass below zero: dropped whole
    EXPECT_EQ(app.zoom, 0.05);
    EXPECT_EQ(app.last_mouse_y, 200);
    EXPECT_EQ(app.frame_changed, 0);
    motion_graph(100, 100);  // exactly zero: dropped as well
    EXPECT_EQ(app.zoom, 0.05);
    EXPECT_EQ(app.last_mouse_y, 200);
    motion_graph(100, 150);  // back within range: the drag goes on
    EXPECT_NEAR(app.zoom, 0.025, 1e-12);
    EXPECT_EQ(app.last_mouse_y, 150);
    motion_graph(100, 210);
    EXPECT_NEAR(app.zoom, 0.055, 1e-12);
    EXPECT_GT(app.zoom, 0.0);
}

TEST_F(InputTest, ShiftWithCtrlStartsARotationDrag) {
    mouse_graph_with_modifiers(GLUT_LEFT_BUTTON, GLUT_DOWN, 100, 100,
                               GLUT_ACTIVE_SHIFT | GLUT_ACTIVE_CTRL);
    EXPECT_EQ(app.zoom_drag, 0);
    motion_graph(100, 200);
    EXPECT_EQ(app.zoom, 1.0);
}

TEST_F(InputTest, OtherButtonsDoNotDrag) {
    mouse_graph_with_modifiers(GLUT_MIDDLE_BUTTON, GLUT_DOWN, 100, 100, 0);
    EXPECT_EQ(app.dragging, 0);
}

// Another button, or the menu, may take the left release: the drag ends there.
TEST_F(InputTest, ADragEndsWhenItsReleaseCannotArrive) {
    for (int way = 0; way < 2; ++way) {
        mouse_graph_with_modifiers(GLUT_LEFT_BUTTON, GLUT_DOWN, 100, 100, 0);
        if (way == 0)
            mouse_graph_with_modifiers(GLUT_MIDDLE_BUTTON, GLUT_DOWN, 300, 300, 0);
        else
            menu_status(GLUT_MENU_IN_USE, 300, 300);
        EXPECT_EQ(app.dragging, 0) << way;
        const Matrix4 view = app.view_matrix;
        motion_graph(310, 310);
        EXPECT_EQ(app.view_matrix, view) << way;
        menu_status(GLUT_MENU_NOT_IN_USE, 300, 300);
    }
}

TEST_F(InputTest, ResetAfterDraggingRestoresTheChosenPreset) {
    key('m');  // from Z
    mouse_graph_with_modifiers(GLUT_LEFT_BUTTON, GLUT_DOWN, 10, 10, 0);
    motion_graph(60, 80);
    mouse_graph_with_modifiers(GLUT_LEFT_BUTTON, GLUT_UP, 60, 80, 0);
    app.section_offset = 0.3;
    app.rotation_angle = 25;
    app.solid = 0;
    execute_command(99);
    EXPECT_EQ(app.view_direction, 2);
    expect_near(app.view_matrix, preset(2));
    EXPECT_EQ(app.section_offset, 0.0);
    EXPECT_EQ(app.rotation_angle, 25);
    EXPECT_EQ(app.solid, 0);
}

TEST_F(InputTest, CommandsEndWithMarksAndARedraw) {
    execute_command(57);
    EXPECT_EQ(app.cross_section, 1);
    EXPECT_STREQ(options_menu_label(6), "* Cross Section");
    EXPECT_EQ(app.frame_changed, 1);
    app.frame_changed = 0;
    execute_command(42);  // no action of its own
    EXPECT_EQ(app.frame_changed, 1);
    execute_command(60);
    EXPECT_STREQ(options_menu_label(1), "Local Rotation");
    execute_command(61);
    EXPECT_STREQ(options_menu_label(2), "Heiko toei (parallel)");
}

TEST_F(InputTest, ToggleSetsOneOnlyFromZero) {
    app.solid = 5;  // not a proper flag: toggling gives 0, not 1
    execute_command(50);
    EXPECT_EQ(app.solid, 0);
}

TEST_F(InputTest, RotationButtonLabelIsCentredAgainButViewLabelKeepsItsPlace) {
    ButtonPanel& rotation = controller_buttons[rotation_button_index];
    execute_command(60);
    const int local_x = rotation.text_x;
    ButtonPanel expected = rotation;
    place_button_text(expected);
    EXPECT_EQ(local_x, expected.text_x);
    execute_command(60);
    EXPECT_NE(rotation.text_x, local_x) << "Global and Local Rotation differ in width";

    ButtonPanel& view = controller_buttons[view_button_index];
    const int x_before = view.text_x;
    execute_command(62);
    EXPECT_EQ(view.text_x, x_before);
}

}  // namespace
}  // namespace fourview
