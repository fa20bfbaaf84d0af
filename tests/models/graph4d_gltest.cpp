// The user graph (model 20): where it samples its equations, what f and g
// receive, what happens when an equation cannot be evaluated, and that it
// draws.
#include <GL/freeglut.h>

#include <cmath>
#include <string>

#include "../expr/dialogue_helpers.h"
#include "app/app_state.h"
#include "expr/graph_slots.h"
#include "gl_fixture.h"
#include "gl_values.h"
#include "models/models.h"
#include "models/surface_grid.h"

namespace fourview {
namespace {

const double kPi = 3.141592653589793;

class Graph4dTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing::start_program();
        app.model_id = kModelUserGraph;
        app.cross_section = 1;
    }
    static void resolution(int n) {
        app.high_quality = n == 51 ? 1 : 0;
        app.mesh_resolution = n;
    }
    static void current(const char* x, const char* y, const char* f, const char* g) {
        set_expression(graph_slots[0].equation[kEquationX], x);
        set_expression(graph_slots[0].equation[kEquationY], y);
        set_expression(graph_slots[0].equation[kEquationF], f);
        set_expression(graph_slots[0].equation[kEquationG], g);
    }
    // Samples and draws, as the frame does, into the graph window.
    static testing::FeedbackCounts draw() {
        return testing::count_feedback([] { sample_graph_4d(); });
    }
};

const Point4& at(int r, int c) { return surface_grid.samples[r][c]; }

TEST_F(Graph4dTest, FortyEightEqualStepsAtFiftyOne) {
    resolution(51);
    current("s", "t", "0", "0");
    draw();
    const double step = 2 * kPi / 48;
    EXPECT_DOUBLE_EQ(at(1, 0).x, -kPi);
    EXPECT_DOUBLE_EQ(at(49, 0).x, kPi);
    EXPECT_DOUBLE_EQ(at(0, 1).y, -kPi);
    EXPECT_DOUBLE_EQ(at(0, 49).y, kPi);
    for (int k = 0; k < 50; ++k) {
        EXPECT_NEAR(at(k + 1, 7).x - at(k, 7).x, step, 1e-12) << "s by row " << k;
        EXPECT_NEAR(at(7, k + 1).y - at(7, k).y, step, 1e-12) << "t by column " << k;
        EXPECT_EQ(at(k, 3).x, at(k, 40).x) << "s does not change along a row";
    }
    // The outer ring, one step outside the ranges.
    EXPECT_DOUBLE_EQ(at(0, 5).x, -kPi - step);
    EXPECT_DOUBLE_EQ(at(50, 5).x, kPi + step);
    EXPECT_DOUBLE_EQ(at(5, 0).y, -kPi - step);
    EXPECT_DOUBLE_EQ(at(5, 50).y, kPi + step);
}

TEST_F(Graph4dTest, TwentyTwoStepsAtTwentyFiveAndTheTypedRanges) {
    resolution(25);
    app.s_min = -1;
    app.s_max = 10;
    app.t_min = 0;
    app.t_max = kPi;
    current("s", "t", "0", "0");
    draw();
    EXPECT_DOUBLE_EQ(at(1, 1).x, -1);
    EXPECT_DOUBLE_EQ(at(23, 1).x, 10);
    EXPECT_DOUBLE_EQ(at(0, 1).x, -1 - 11.0 / 22);
    EXPECT_DOUBLE_EQ(at(24, 1).x, 10 + 11.0 / 22);
    EXPECT_DOUBLE_EQ(at(1, 23).y, kPi);
    EXPECT_DOUBLE_EQ(at(1, 24).y, kPi + kPi / 22);
}

TEST_F(Graph4dTest, TheStartSetOnTheFullGrid) {
    resolution(51);
    draw();  // slot 0 holds sin(s+t), cos(s+t), sin(s-t), cos(s-t)
    const double step = 2 * kPi / 48;
    for (int r : {0, 1, 17, 49, 50})
        for (int c : {0, 1, 30, 49, 50}) {
            const double s = (r - 1) * step - kPi, t = (c - 1) * step - kPi;
            EXPECT_NEAR(at(r, c).x, std::sin(s + t), 1e-12);
            EXPECT_NEAR(at(r, c).y, std::cos(s + t), 1e-12);
            EXPECT_NEAR(at(r, c).z, std::sin(s - t), 1e-12);
            EXPECT_NEAR(at(r, c).w, std::cos(s - t), 1e-12);
        }
}

TEST_F(Graph4dTest, FAndGReceiveTheXAndYOfTheSamePoint) {
    resolution(25);
    current("2*s", "t+1", "x^2 - y^2 + s", "x*y - t");
    draw();
    for (int r = 0; r < 25; ++r)
        for (int c = 0; c < 25; c += 6) {
            const double s = (r - 1) * (2 * kPi / 22) - kPi, t = (c - 1) * (2 * kPi / 22) - kPi;
            const double x = 2 * s, y = t + 1;
            ASSERT_NEAR(at(r, c).x, x, 1e-12);
            ASSERT_NEAR(at(r, c).y, y, 1e-12);
            ASSERT_NEAR(at(r, c).z, x * x - y * y + s, 1e-9);
            ASSERT_NEAR(at(r, c).w, x * y - t, 1e-9);
        }
}

TEST_F(Graph4dTest, AnEquationThatCannotBeEvaluatedGivesZeroAndDrawingGoesOn) {
    resolution(25);
    current("s", "t", "s*t", "1");
    graph_slots[0].equation[kEquationG].count = 0;  // no program: evaluation fails
    dialogue::Console console;
    testing::FeedbackCounts counts;
    const dialogue::Result r = console.run([&] { counts = draw(); });
    const std::string failed = "数式の計算に失敗しました\n\n";
    EXPECT_EQ(r.out, dialogue::repeat(failed, 25 * 25)) << "one message per point";
    for (int k = 0; k < 25; ++k) {
        EXPECT_EQ(at(k, k).w, 0.0);
        EXPECT_DOUBLE_EQ(at(k, 3).z, at(k, 3).x * at(k, 3).y);
    }
    EXPECT_GT(counts.polygons, 0);
}

TEST_F(Graph4dTest, DrawsTheSurfaceInEveryStyle) {
    resolution(51);
    app.solid = app.wireframe = app.cross_section = 1;
    const testing::FeedbackCounts c = draw();
    EXPECT_GT(c.polygons, 48 * 48);
    EXPECT_GT(c.lines, 0);
    EXPECT_FALSE(c.has_nan);
    const testing::GlValues v = testing::watch_gl_values([] { draw(); });
    EXPECT_GT(v.values, 0);
    EXPECT_EQ(v.bad, 0);
}

TEST_F(Graph4dTest, PolesLeaveGapsNotBadValues) {
    resolution(51);
    current("s", "t", "1/(x*x+y*y)", "tan(x)");
    const testing::GlValues v = testing::watch_gl_values([] { draw(); });
    EXPECT_GT(v.values, 0);
    EXPECT_EQ(v.bad, 0);
}

TEST_F(Graph4dTest, AnotherSetDrawsAnotherPicture) {
    resolution(51);
    const testing::Pixels first = testing::render_graph_frame();
    current("s", "t", "x^2 - y^2", "2*x*y");
    const testing::Pixels second = testing::render_graph_frame();
    EXPECT_NE(first.data, second.data);
    current("sin(s+t)", "cos(s+t)", "sin(s-t)", "cos(s-t)");
    const testing::Pixels again = testing::render_graph_frame();
    EXPECT_EQ(first.data, again.data);
}

}  // namespace
}  // namespace fourview
