// The caption and the axes, read back from OpenGL feedback mode: which
// characters and lines are drawn, and where.
#include <GL/freeglut.h>

#include <cstring>
#include <vector>

#include "app/app_state.h"
#include "app/windows.h"
#include "gl_fixture.h"
#include "render/caption_table.h"
#include "render/frame.h"
#include "render/text.h"

namespace fourview {
namespace {

struct Feedback {
    struct Position {
        float x, y;
    };
    std::vector<Position> bitmaps;  // raster position of every character, window pixels
    int lines = 0;
};

// Runs draw in feedback mode with the matrices as they are: the caption sets
// its own, the axes use the graph window's projection and the camera.
template <typename F>
Feedback feedback(F&& draw) {
    static std::vector<GLfloat> buffer(1 << 20);
    glutSetWindow(app.graph_window);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(app.eye[0], app.eye[1], app.eye[2], 0, 0, 0, app.up[0], app.up[1], app.up[2]);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const GLint n = glRenderMode(GL_RENDER);
    Feedback f;
    EXPECT_GE(n, 0) << "feedback buffer overflow";
    for (GLint i = 0; i < n;) {
        const GLint token = static_cast<GLint>(buffer[i++]);
        if (token == GL_BITMAP_TOKEN || token == GL_DRAW_PIXEL_TOKEN) {
            f.bitmaps.push_back({buffer[i], buffer[i + 1]});
            i += 3;
        } else if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) {
            ++f.lines;
            i += 6;
        } else if (token == GL_POINT_TOKEN) {
            i += 3;
        } else if (token == GL_POLYGON_TOKEN) {
            i += 1 + 3 * static_cast<GLint>(buffer[i]);
        } else if (token == GL_PASS_THROUGH_TOKEN) {
            ++i;
        } else {
            ADD_FAILURE() << "unexpected token " << token;
            break;
        }
    }
    return f;
}

class OverlaysTest : public ::testing::Test {
protected:
    void SetUp() override { testing::start_program(); }
};

int caption_characters(ModelId model) {
    const Caption* c = find_caption(model);
    int n = 2 * static_cast<int>(std::strlen(c->name));
    for (int i = 0; i < c->line_count; ++i) n += static_cast<int>(std::strlen(c->lines[i].text));
    return n;
}

#define EXPECT_AT(position, px, py)       \
    do {                                  \
        EXPECT_FLOAT_EQ((position).x, px); \
        EXPECT_FLOAT_EQ((position).y, py); \
    } while (0)

TEST_F(OverlaysTest, CaptionLinesStartAtTheirRasterPositions) {
    // In a 480-pixel window a 9x15 line at y = 49 starts at (16, 425), an
    // 8x13 line at (15, 423).
    app.model_id = kModelCylinder;
    Feedback f = feedback(draw_caption);
    ASSERT_EQ(static_cast<int>(f.bitmaps.size()), caption_characters(kModelCylinder));
    EXPECT_AT(f.bitmaps[0], 16, 425);

    app.model_id = kModelKleinBottle1;
    f = feedback(draw_caption);
    ASSERT_EQ(static_cast<int>(f.bitmaps.size()), caption_characters(kModelKleinBottle1));
    EXPECT_AT(f.bitmaps[0], 15, 423);
}

TEST_F(OverlaysTest, NameIsDrawnTwiceOnePixelApart) {
    app.model_id = kModelHypercube;
    const Feedback f = feedback(draw_caption);
    const int name = static_cast<int>(std::strlen("Hypercube (8 Cell Envelope)"));
    ASSERT_EQ(static_cast<int>(f.bitmaps.size()), 2 * name) << "no formula lines";
    EXPECT_AT(f.bitmaps[0], 15, 480 - 25 - 8);    // black
    EXPECT_AT(f.bitmaps[name], 14, 480 - 24 - 8);  // white, up and left
}

TEST_F(OverlaysTest, UserGraphCaptionShowsTheEquationsOfSlotZero) {
    app.model_id = kModelUserGraph;
    const Feedback f = feedback(draw_caption);
    int expected = 2 * static_cast<int>(std::strlen("4R Izure"));
    for (int i = 0; i < 4; ++i)
        expected += static_cast<int>(std::strlen(UserEquationLabels[i]) + 3 +
                                     std::strlen(graph_slot0_text(i)));
    EXPECT_EQ(static_cast<int>(f.bitmaps.size()), expected);
    EXPECT_AT(f.bitmaps[0], 16, 425);
    EXPECT_STREQ(graph_slot0_text(0), "sin(s+t)");
}

TEST_F(OverlaysTest, LinesBelowTheWindowAreNotDrawn) {
    // Klein Bottle Part II's last line (y = 313) has its raster position
    // below the bottom of a window 300 pixels high.
    glutSetWindow(app.graph_window);
    glutReshapeWindow(640, 300);
    for (int i = 0; i < 100 && glutGet(GLUT_WINDOW_HEIGHT) != 300; ++i) glutMainLoopEvent();
    ASSERT_EQ(glutGet(GLUT_WINDOW_HEIGHT), 300);
    glViewport(0, 0, 640, 300);
    app.model_id = kModelKleinBottle2;
    const Feedback f = feedback(draw_caption);
    EXPECT_EQ(static_cast<int>(f.bitmaps.size()),
              caption_characters(kModelKleinBottle2) - static_cast<int>(std::strlen("w = 0")));
}

TEST_F(OverlaysTest, WAxisIsNotDrawnRightAfterStart) {
    const Feedback f = feedback(draw_axes);
    EXPECT_EQ(f.lines, 3);
    EXPECT_EQ(f.bitmaps.size(), 3u) << "x, y and z; no w";
}

TEST_F(OverlaysTest, UserGraphLabelsItsThirdAndFourthAxes) {
    app.model_id = kModelUserGraph;
    EXPECT_STREQ(axis_label_text(2), "f(x, y)");
    EXPECT_STREQ(axis_label_text(3), "g(x, y)");
    EXPECT_EQ(feedback(draw_axes).bitmaps.size(), 1u + 1u + 7u);
    app.model_id = kModelHypercube;
    EXPECT_STREQ(axis_label_text(2), "z");
    EXPECT_STREQ(axis_label_text(3), "w");
}

TEST_F(OverlaysTest, LabelSitsAtEightyPercentAlongTheAxisMovedDiagonally) {
    // The y axis ends at (0, 300, 0): its label at (0.3, 2.7, 0.3), that is
    // 2.7 units right of the centre and 0.3 up, at 80 pixels per unit.
    const Feedback f = feedback(draw_axes);
    ASSERT_EQ(f.bitmaps.size(), 3u);
    EXPECT_NEAR(f.bitmaps[1].x, 320 + 2.7 * 80, 0.01);
    EXPECT_NEAR(f.bitmaps[1].y, 240 + 0.3 * 80, 0.01);
    app.zoom = 2;  // the same place on the screen at any zoom
    apply_projection();
    const Feedback g = feedback(draw_axes);
    EXPECT_NEAR(g.bitmaps[1].x, 320 + 2.7 * 80, 0.01);
}

TEST_F(OverlaysTest, AxesFollowTheResetTransformNotTheRotations) {
    const Feedback before = feedback(draw_axes);
    app.transform[0] = 0;  // anything: the axes do not read it
    app.transform[3] = -1;
    const Feedback after = feedback(draw_axes);
    ASSERT_EQ(after.bitmaps.size(), before.bitmaps.size());
    for (size_t i = 0; i < before.bitmaps.size(); ++i) EXPECT_AT(after.bitmaps[i], before.bitmaps[i].x,
                                                                 before.bitmaps[i].y);
    // A hyperplane that is not W = 0 turns the reset frame: W now shows.
    app.hyperplane = {1, 0, 0, 1, 0};
    reset_view();
    const Feedback turned = feedback(draw_axes);
    EXPECT_EQ(turned.lines, 4);
    EXPECT_EQ(turned.bitmaps.size(), 4u);
}

}  // namespace
}  // namespace fourview
