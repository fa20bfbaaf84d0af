// The styles as pixels: the cut in red whatever else is drawn, transparent
// faces that both show, black wires 1 or 3 pixels wide.
#include <GL/freeglut.h>

#include <cstdio>
#include <string>

#include "app/app_state.h"
#include "app/windows.h"
#include "gl_fixture.h"
#include "models/mesh.h"
#include "render/materials.h"

namespace fourview {
namespace {

using testing::Pixels;
using testing::Rgb;

class StylesTest : public ::testing::Test {
protected:
    void SetUp() override { testing::start_program(); }
};

std::string describe(const Rgb& c) {
    char s[32];
    std::snprintf(s, sizeof s, "(%d, %d, %d)", c.r, c.g, c.b);
    return s;
}

// The section material lit by ambient light alone: full red, a little green
// and blue. A cut lit from the front comes out pink, or nearly white.
bool cut_red(const Rgb& c) { return c.r >= 240 && c.g <= 100 && c.b <= 100; }

// From X at zoom 1 (80 pixels per unit), the start hypercube's cut by W = 0
// is the square y, z = +-1 around the window's centre. (400, 200) is on its
// edge y = 1 at z = 0.5, away from the hypercube's own edges and the axes.
TEST_F(StylesTest, CutOfTheStartHypercubeShowsRed) {
    app.cross_section = 1;
    const Pixels p = testing::render_graph_frame();
    EXPECT_TRUE(cut_red(p.at(400, 200))) << describe(p.at(400, 200));
    app.cross_section = 0;
    const Rgb off = testing::render_graph_frame().at(400, 200);
    EXPECT_FALSE(cut_red(off)) << describe(off);
}

// The cube turned 30 degrees in WY: its cut by W = 0 is the plane y = 0,
// which crosses the front face x = 1 along the column 320. (320, 280) lies
// on it at z = -0.5, below the centre where no axis runs.
TEST_F(StylesTest, CutIsRedInEveryCombinationOfStyles) {
    for (int solid : {0, 1})
        for (int transparent : {0, 1})
            for (int wireframe : {0, 1})
                for (int axes : {0, 1})
                    for (int label : {0, 1}) {
                        testing::restore_start_state();
                        app.model_id = kModelCube;
                        app.rotation_angle = 30;
                        app.rotation_request = 9;  // WY
                        app.cross_section = 1;
                        app.solid = solid;
                        app.transparent = transparent;
                        app.wireframe = wireframe;
                        app.axes = axes;
                        app.label = label;
                        // The second frame starts with what the first left
                        // current: the axes' normal, a face's normal.
                        testing::render_graph_frame();
                        const Rgb c = testing::render_graph_frame().at(320, 280);
                        EXPECT_TRUE(cut_red(c))
                            << describe(c) << " solid " << solid << " transparent " << transparent
                            << " wireframe " << wireframe << " axes " << axes << " label "
                            << label;
                    }
}

TEST_F(StylesTest, CutIsRedFromATurnedView) {
    // A view turned by the mouse must not bring the cut into the light.
    const double s = 0.7071067811865476;
    app.view_matrix = {s, 0, -s, 0, 0, 1, 0, 0, s, 0, s, 0, 0, 0, 0, 1};  // 45 degrees about y
    app.cross_section = 1;
    app.solid = 0;
    app.wireframe = 0;
    app.model_id = kModelCube;
    app.bold_line = 1;  // lines stay lines for the cube, 5 pixels wide
    app.rotation_angle = 30;
    for (int code : {7, 9}) {  // WX, WY: the cube now crosses W = 0
        app.rotation_request = code;
        testing::render_graph_frame();
    }
    const Pixels p = testing::render_graph_frame();
    int red = 0, pink = 0;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            const Rgb c = p.at(x, y);
            if (cut_red(c))
                ++red;
            else if (c.r >= 200 && c.r > c.g + 30 && c.g == c.b)
                ++pink;
        }
    EXPECT_GT(red, 100) << "the cut is drawn";
    EXPECT_EQ(pink, 0) << "no part of it lit toward pink";
}

// With Transparent off the lit faces write depth; what lies on a face
// turned to the camera (the cut of the cube, the hypercube's front edges)
// must still show over it, as it does with Transparent on.
TEST_F(StylesTest, CutAndEdgesShowOverOpaqueFaces) {
    struct Case {
        ModelId model;
        int cross_section;
        bool (*wanted)(const Rgb&);
        int at_least;
        int tenths;  // of the count with Transparent on
    };
    const auto black = [](const Rgb& c) { return c.r < 40 && c.g < 40 && c.b < 40; };
    // The cut lit through the blend is pink rather than full red.
    const auto reddish = [](const Rgb& c) { return c.r >= 240 && c.g <= 150 && c.b <= 150; };
    // The hypercube's front square, 320 pixels a side, hides the edges
    // behind it when opaque: only its own outline is asked for.
    const Case cases[] = {
        {kModelCube, 1, +reddish, 20000, 8},
        {kModelHypercube, 0, +black, 1200, 5},
    };
    for (const Case& k : cases) {
        int count[2] = {0, 0};
        for (int transparent : {1, 0}) {
            testing::restore_start_state();
            app.model_id = k.model;
            reset_view();
            app.axes = 0;
            app.label = 0;
            app.cross_section = k.cross_section;
            app.transparent = transparent;
            const Pixels p = testing::render_graph_frame();
            for (int y = 0; y < p.height; ++y)
                for (int x = 0; x < p.width; ++x) count[transparent] += k.wanted(p.at(x, y));
        }
        EXPECT_GE(count[0], k.at_least) << "model " << k.model << ", opaque faces";
        EXPECT_GE(count[0] * 10, count[1] * k.tenths) << "model " << k.model << ": opaque " << count[0]
                                               << " against transparent " << count[1];
    }
}

// Draws into the back buffer without the frame: the camera of the graph
// window, then `draw`, then reads the pixels.
template <typename F>
Pixels draw_alone(F&& draw) {
    glutSetWindow(app.graph_window);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(app.eye[0], app.eye[1], app.eye[2], 0, 0, 0, app.up[0], app.up[1], app.up[2]);
    draw();
    glFinish();
    return testing::read_back_buffer();
}

// A square of the plane 0.1x - 0.7y - 0.7z = c over y, z in the given range:
// tilted away from both lights, so it is lit by ambient light only and its
// colour stays far from white. A larger c lies nearer the camera.
void tilted_square(double y0, double y1, double c) {
    auto at = [c](double y, double z) { return Point3{(c + 0.7 * y + 0.7 * z) / 0.1, y, z}; };
    draw_triangle(at(y0, -1), at(y1, -1), at(y1, 1));
    draw_triangle(at(y0, -1), at(y1, 1), at(y0, 1));
}

void two_overlapping_squares() {
    begin_surface();
    tilted_square(-1.5, 0.5, 0.2);   // the nearer one, on the left
    tilted_square(-0.5, 1.5, -0.2);  // behind it, on the right
    end_surface();
}

TEST_F(StylesTest, OverlappingTransparentFacesBothShow) {
    app.transparent = 1;
    Pixels p = draw_alone(two_overlapping_squares);
    const Rgb left = p.at(240, 260), both = p.at(320, 260), right = p.at(400, 260);
    const Rgb white{255, 255, 255};
    EXPECT_FALSE(left == white) << describe(left);
    EXPECT_FALSE(right == white) << describe(right);
    // The blend multiplies: each face darkens what lies behind it.
    EXPECT_LT(both.r, left.r) << describe(both) << " vs " << describe(left);
    EXPECT_LT(both.r, right.r) << describe(both) << " vs " << describe(right);

    app.transparent = 0;
    p = draw_alone(two_overlapping_squares);
    // Smooth shading varies a face's colour by a unit or two across it.
    const Rgb near = p.at(240, 260), over = p.at(320, 260);
    EXPECT_NEAR(over.r, near.r, 3) << "opaque: the nearer face hides the other";
    EXPECT_NEAR(over.b, near.b, 3);
}

// The dark pixels across row y around column x; all must be pure black.
int dark_run(const Pixels& p, int x, int y) {
    int run = 0;
    for (int dx = -6; dx <= 6; ++dx) {
        const Rgb c = p.at(x + dx, y);
        if (c.r > 60 || c.g > 60 || c.b > 60) continue;
        ++run;
        EXPECT_EQ(c, (Rgb{0, 0, 0})) << describe(c);
    }
    return run;
}

TEST_F(StylesTest, WireframeIsBlackOnePixelOrThreeBold) {
    app.model_id = kModelCube;
    app.solid = 0;
    app.axes = 0;
    app.label = 0;
    // The cube's edge y = 1 runs down column 400.
    Pixels p = testing::render_graph_frame();
    EXPECT_EQ(dark_run(p, 400, 200), 1);
    app.bold_line = 1;
    p = testing::render_graph_frame();
    EXPECT_EQ(dark_run(p, 400, 200), 3);
}

TEST_F(StylesTest, StylesLeaveGlInItsBaseState) {
    const ModelId models[] = {0, 1, 11, 12, 13, 17};
    for (ModelId model : models)
        for (int transparent : {0, 1})
            for (int bold : {0, 1}) {
                app.model_id = model;
                app.high_quality = 0;
                app.mesh_resolution = 25;
                app.cross_section = 1;
                app.transparent = transparent;
                app.bold_line = bold;
                testing::render_graph_frame();
                GLboolean depth_mask = GL_FALSE;
                glGetBooleanv(GL_DEPTH_WRITEMASK, &depth_mask);
                EXPECT_FALSE(glIsEnabled(GL_BLEND)) << model;
                EXPECT_TRUE(depth_mask) << model;
                EXPECT_FALSE(glIsEnabled(GL_POLYGON_OFFSET_FILL)) << model;
                EXPECT_FALSE(glIsEnabled(GL_CULL_FACE)) << model;
            }
}

}  // namespace
}  // namespace fourview
