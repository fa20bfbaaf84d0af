// The graph frame in a real GL context: background, projection, rotation
// steps folded into the transform.
#include <GL/freeglut.h>

#include <climits>
#include <cmath>

#include "app/app_state.h"
#include "app/windows.h"
#include "geom4/transform.h"
#include "gl_fixture.h"
#include "render/frame.h"

namespace fourview {
namespace {

using testing::Pixels;
using testing::Rgb;

class FrameTest : public ::testing::Test {
protected:
    void SetUp() override { testing::start_program(); }
};

TEST_F(FrameTest, LabelBackgroundIsLighterAtTheTopThanAtTheBottom) {
    app.model_id = 99;  // draws nothing: only the background and overlays
    app.axes = 0;
    const Pixels p = testing::render_graph_frame();
    ASSERT_EQ(p.width, 640);
    ASSERT_EQ(p.height, 480);
    const Rgb top = p.at(320, 2), bottom = p.at(320, 477);
    EXPECT_GT(top.r, 200);
    EXPECT_LT(top.r, 255) << "the gradient reaches past the view: never pure white";
    EXPECT_LT(bottom.r, 60);
    EXPECT_GT(bottom.r, 0) << "never pure black either";
    EXPECT_EQ(top.r, top.g);
    EXPECT_EQ(top.g, top.b);
}

TEST_F(FrameTest, WithoutLabelTheBackgroundIsTheClearWhite) {
    app.model_id = 99;
    app.axes = 0;
    app.label = 0;
    const Pixels p = testing::render_graph_frame();
    for (int y : {0, 240, 479})
        for (int x : {0, 320, 639}) EXPECT_EQ(p.at(x, y), (Rgb{255, 255, 255})) << x << "," << y;
}

double projection_entry(int i) {
    GLdouble m[16];
    glGetDoublev(GL_PROJECTION_MATRIX, m);
    return m[i];
}

TEST_F(FrameTest, ReshapeTo800By400GivesAViewSixHighAndTwelveWide) {
    glutSetWindow(app.graph_window);
    glutReshapeWindow(800, 400);
    for (int i = 0; i < 100 && glutGet(GLUT_WINDOW_WIDTH) != 800; ++i) glutMainLoopEvent();
    ASSERT_EQ(glutGet(GLUT_WINDOW_WIDTH), 800);
    reshape_graph(800, 400);
    EXPECT_EQ(app.window_width, 800);
    EXPECT_EQ(app.window_height, 400);
    // glOrtho puts 2/(right-left) at [0] and 2/(top-bottom) at [5]; GL
    // keeps the matrix in single precision.
    EXPECT_NEAR(2.0 / projection_entry(0), 12.0, 1e-5);
    EXPECT_NEAR(2.0 / projection_entry(5), 6.0, 1e-5);
}

TEST_F(FrameTest, ReshapeToHeightZeroIsIgnored) {
    app.frame_changed = 0;
    reshape_graph(300, 0);
    EXPECT_EQ(app.window_width, 640);
    EXPECT_EQ(app.window_height, 480);
    EXPECT_EQ(app.frame_changed, 0);
}

TEST_F(FrameTest, ZeroZoomKeepsTheLastFiniteProjection) {
    apply_projection();
    const double before = projection_entry(0);
    app.zoom = 0.0;
    apply_projection();
    EXPECT_TRUE(std::isfinite(projection_entry(0)));
    EXPECT_EQ(projection_entry(0), before);
    EXPECT_EQ(app.frame_changed, 1);
}

TEST_F(FrameTest, APendingStepIsAppliedOnceAndCleared) {
    app.model_id = 99;
    app.rotation_angle = 90;
    app.rotation_request = 7;  // WX
    app.frame_changed = 0;
    testing::render_graph_frame();
    EXPECT_EQ(app.rotation_request, 0);
    const Point4 p = transform_point4(app.transform, Point4{1, 0, 0, 0});
    EXPECT_NEAR(p.x, 0, 1e-12);
    EXPECT_NEAR(p.w, 1, 1e-12);
    // The frame ends by clearing the flag it set for the capture.
    EXPECT_EQ(app.frame_changed, 0);
    const Matrix5 after_one = app.transform;
    testing::render_graph_frame();
    EXPECT_EQ(app.transform, after_one) << "a request yields exactly one step";
}

TEST_F(FrameTest, GlobalAndLocalOrderDiffer) {
    app.model_id = 99;
    app.rotation_angle = 30;
    const Matrix5 wx = step_matrix_for(7, 30), xy = step_matrix_for(1, 30);
    app.rotation_request = 7;
    testing::render_graph_frame();
    app.rotation_request = 1;
    testing::render_graph_frame();
    const Matrix5 global = app.transform;
    EXPECT_EQ(global, multiply_matrix5(wx, xy));

    testing::restore_start_state();
    app.model_id = 99;
    app.rotation_angle = 30;
    app.rotation_mode = kRotationLocal;
    app.rotation_request = 7;
    testing::render_graph_frame();
    app.rotation_request = 1;
    testing::render_graph_frame();
    EXPECT_EQ(app.transform, multiply_matrix5(xy, wx));
    EXPECT_NE(app.transform, global);
}

TEST_F(FrameTest, ReverseStepUndoesTheForwardStepAtEveryAngle) {
    for (int angle : {10, -10, INT_MAX, INT_MIN, INT_MIN + 1})
        for (int request = 1; request <= 12; request += 2) {
            const Matrix5 forward = step_matrix_for(request, angle);
            const Matrix5 back = step_matrix_for(request + 1, angle);
            const Matrix5 both = multiply_matrix5(forward, back);
            const Matrix5 one = identity_matrix5();
            for (int i = 0; i < 25; ++i) {
                // The reverse is the forward's transpose, to the last bit.
                EXPECT_EQ(back[i], forward[5 * (i % 5) + i / 5]) << angle << " " << request;
                EXPECT_NEAR(both[i], one[i], 1e-15) << angle << " " << request << " " << i;
            }
        }
}

}  // namespace
}  // namespace fourview

namespace fourview {
namespace {

int count_green(const testing::Pixels& p) {
    int n = 0;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            const testing::Rgb c = p.at(x, y);
            if (c.g > 200 && c.r < 60 && c.b < 60) ++n;
        }
    return n;
}

TEST_F(FrameTest, UserGraphCentreAtThePerspectiveEyeLeavesTheSceneDrawn) {
    app.model_id = kModelUserGraph;
    app.graph_center = Point4{0, 0, 0, 0};
    const int centred = count_green(testing::render_graph_frame());
    ASSERT_GT(centred, 100) << "the Y axis is drawn in green";
    // Its image under the perspective projection is infinite: the frame
    // must not translate the scene out of existence.
    app.graph_center = Point4{1, 0, 0, 2};
    EXPECT_GT(count_green(testing::render_graph_frame()), 100);
}

}  // namespace
}  // namespace fourview
