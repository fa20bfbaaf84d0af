// The state record at start and what reset_view keeps and resets, in the
// real program's windows.
#include <GL/freeglut.h>

#include <cmath>
#include <cstring>

#include "app/app_state.h"
#include "app/windows.h"
#include "geom4/transform.h"
#include "gl_fixture.h"
#include "render/frame.h"

namespace fourview {
namespace {

class StateTest : public ::testing::Test {
protected:
    void SetUp() override { testing::start_program(); }
};

TEST_F(StateTest, StartValues) {
    EXPECT_EQ(app.model_id, 13);
    EXPECT_EQ(app.zoom, 1.0);
    EXPECT_EQ(app.solid + app.transparent + app.wireframe + app.axes + app.label + app.high_quality, 6);
    EXPECT_EQ(app.cross_section + app.bold_line + app.save_screen, 0);
    EXPECT_EQ(app.mesh_resolution, 51);
    EXPECT_EQ(app.rotation_mode, kRotationGlobal);
    EXPECT_EQ(app.projection_mode, kProjectionPerspective);
    EXPECT_EQ(app.view_direction, 0);
    EXPECT_EQ(app.view_matrix, identity_matrix4());
    EXPECT_EQ(app.rotation_angle, 10);
    EXPECT_EQ(app.infinity, 500.0);
    EXPECT_EQ(app.window_width, 640);
    EXPECT_EQ(app.window_height, 480);
    EXPECT_EQ(app.s_min, -3.141592653589793);
    EXPECT_EQ(app.t_max, 3.141592653589793);
    EXPECT_STREQ(app.s_min_text, "-3.141593");
    EXPECT_STREQ(app.t_max_text, "3.141593");
    EXPECT_EQ(app.transform, identity_matrix5());
    EXPECT_EQ(app.base_transform, identity_matrix5());
    EXPECT_DOUBLE_EQ(app.up[0], 0);
    EXPECT_DOUBLE_EQ(app.up[1], 0);
    EXPECT_DOUBLE_EQ(app.up[2], 1);
    EXPECT_NE(app.graph_window, app.controller_window);
    EXPECT_NE(app.controller_window, app.values_window);
}

TEST_F(StateTest, DefaultZoomTable) {
    const double expected[] = {1.0, 2.0, 1.5, 1.5, 0.75, 2.5, 0.125, 1.0};
    for (int m = 0; m < 8; ++m) EXPECT_EQ(default_zoom(m), expected[m]) << m;
    EXPECT_EQ(default_zoom(10), 0.75);
    EXPECT_EQ(default_zoom(11), 1.5);
    EXPECT_EQ(default_zoom(12), 1.5);
    EXPECT_EQ(default_zoom(13), 1.0);
    EXPECT_EQ(default_zoom(20), 0.75);
    EXPECT_EQ(default_zoom(9), 0.75);
    EXPECT_EQ(default_zoom(-1), 0.75);
}

TEST_F(StateTest, ResetKeepsSettingsAndResetsTheView) {
    app.model_id = 6;
    app.zoom = 3.0;
    app.rotation_angle = 25;
    app.hyperplane = {0, 0, 0, 2, 1};
    app.section_offset = 0.35;
    app.eye = {1, 2, 3};
    app.solid = 0;
    app.cross_section = 1;
    app.rotation_mode = kRotationLocal;
    app.projection_mode = kProjectionParallel;
    app.infinity = 42;
    app.view_direction = 2;
    app.view_matrix[1] = 0.5;  // as if dragged
    app.transform = step_matrix_for(7, 40);

    reset_view();

    EXPECT_EQ(glutGetWindow(), app.graph_window);
    EXPECT_EQ(app.zoom, 0.125) << "model 6's default, whatever it was before";
    EXPECT_EQ(app.section_offset, 0.0);
    EXPECT_EQ(app.eye[0], 200.0);
    EXPECT_EQ(app.eye[1], 0.0);
    EXPECT_EQ(app.rotation_angle, 25);
    EXPECT_EQ(app.hyperplane[3], 2.0);
    EXPECT_EQ(app.hyperplane[4], 1.0);
    EXPECT_EQ(app.solid, 0);
    EXPECT_EQ(app.cross_section, 1);
    EXPECT_EQ(app.rotation_mode, kRotationLocal);
    EXPECT_EQ(app.projection_mode, kProjectionParallel);
    EXPECT_EQ(app.infinity, 42);
    EXPECT_EQ(app.view_direction, 2);
    EXPECT_EQ(app.frame_changed, 1);
    // The plain "from Z" preset, drag discarded: +X to the right, +Y up.
    const double from_z[16] = {0, 1, 0, 0, 0, 0, 1, 0, 1, 0, 0, 0, 0, 0, 0, 1};
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(app.view_matrix[i], from_z[i], 1e-6) << i;
    // The transform carries 2W = 1 onto w = 0: the origin has w = -0.5.
    EXPECT_NEAR(transform_point4(app.transform, Point4{}).w, -0.5, 1e-15);
    EXPECT_EQ(app.base_transform, app.transform);
}

TEST_F(StateTest, ViewDirectionPresets) {
    // Column j of the OpenGL matrix is the image of scene axis j. The camera
    // sits on +X looking at the origin with +Z up: world +X points towards
    // the viewer, +Y to the right, +Z up. GL keeps the matrix in floats.
    struct Case {
        int direction;
        double matrix[16];
    } cases[] = {
        {0, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}},
        {1, {0, 0, 1, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 1}},
        {2, {0, 1, 0, 0, 0, 0, 1, 0, 1, 0, 0, 0, 0, 0, 0, 1}},
    };
    for (const Case& c : cases) {
        app.view_direction = c.direction;
        reset_view();
        for (int i = 0; i < 16; ++i) EXPECT_NEAR(app.view_matrix[i], c.matrix[i], 1e-6)
            << "direction " << c.direction << " entry " << i;
    }
}

TEST_F(StateTest, StepMatricesForAllTwelveCodes) {
    // With 90 degrees each step carries one axis exactly onto another.
    struct Case {
        int code;
        Point4 from, to;
    } cases[] = {
        {1, {1, 0, 0, 0}, {0, 1, 0, 0}},  {2, {1, 0, 0, 0}, {0, -1, 0, 0}},
        {3, {0, 1, 0, 0}, {0, 0, 1, 0}},  {4, {0, 1, 0, 0}, {0, 0, -1, 0}},
        {5, {1, 0, 0, 0}, {0, 0, 1, 0}},  {6, {1, 0, 0, 0}, {0, 0, -1, 0}},
        {7, {1, 0, 0, 0}, {0, 0, 0, 1}},  {8, {1, 0, 0, 0}, {0, 0, 0, -1}},
        {9, {0, 1, 0, 0}, {0, 0, 0, 1}},  {10, {0, 1, 0, 0}, {0, 0, 0, -1}},
        {11, {0, 0, 1, 0}, {0, 0, 0, 1}}, {12, {0, 0, 1, 0}, {0, 0, 0, -1}},
    };
    app.model_id = 99;
    app.rotation_angle = 90;
    for (const Case& c : cases) {
        app.transform = identity_matrix5();
        app.rotation_request = c.code;
        testing::render_graph_frame();
        const Point4 p = transform_point4(app.transform, c.from);
        EXPECT_NEAR(p.x, c.to.x, 1e-15) << "code " << c.code;
        EXPECT_NEAR(p.y, c.to.y, 1e-15) << "code " << c.code;
        EXPECT_NEAR(p.z, c.to.z, 1e-15) << "code " << c.code;
        EXPECT_NEAR(p.w, c.to.w, 1e-15) << "code " << c.code;
    }
}

TEST_F(StateTest, AStepAndItsReverseRestoreTheTransform) {
    app.model_id = 99;
    app.transform = step_matrix_for(9, 33);
    const Matrix5 before = app.transform;
    for (int mode : {kRotationGlobal, kRotationLocal}) {
        app.rotation_mode = mode;
        app.rotation_request = 3;
        testing::render_graph_frame();
        app.rotation_request = 4;
        testing::render_graph_frame();
        for (int i = 0; i < 25; ++i) EXPECT_NEAR(app.transform[i], before[i], 1e-15) << i;
    }
}

TEST_F(StateTest, NoRequestLeavesTransformAndChangeFlagAlone) {
    app.model_id = 99;
    app.transform = step_matrix_for(11, 17);
    const Matrix5 before = app.transform;
    testing::render_graph_frame();  // clears the start-up change
    app.frame_changed = 0;
    testing::render_graph_frame();
    EXPECT_EQ(app.transform, before);
    EXPECT_EQ(app.frame_changed, 0);
}

}  // namespace
}  // namespace fourview
