// The slice view in a real GL context: the tesseract's slice at W = 0 is a
// cube whose faces show the colour of its cells' kind; side by side, the
// projection fills the left half and the slice the right; a hyperplane
// that misses the model leaves the frame with its notice.
#include <GL/freeglut.h>

#include <chrono>
#include <vector>

#include "app/app_state.h"
#include "gl_fixture.h"
#include "models/slice_models.h"
#include "render/frame.h"
#include "ui/controller.h"
#include "ui/input.h"
#include "ui/menus.h"
#include "ui/sweep.h"

namespace fourview {
namespace {

using testing::Pixels;
using testing::Rgb;

class SliceViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing::start_program();
        // Opaque faces on the white background, nothing else.
        app.transparent = 0;
        app.wireframe = 0;
        app.axes = 0;
        app.label = 0;
    }
    void TearDown() override { app.slice_view = kViewProjection; }
};

// The hue of a lit face of the cube kind's colour (0.95, 0.75, 0.15):
// red above green well above blue.
bool cube_coloured(const Rgb& c) { return c.r > 120 && c.r >= c.g && c.g > c.b + 40; }
// The projection's faces: the solid material's blue, lit nearly white.
bool projection_blue(const Rgb& c) { return c.b > c.r + 12 && c.b > c.g + 12; }
bool dark(const Rgb& c) { return c.r < 60 && c.g < 60 && c.b < 60; }

struct Counts {
    int cube = 0, blue = 0;
};
Counts count(const Pixels& p, int x0, int x1) {
    Counts n;
    for (int y = 0; y < p.height; ++y)
        for (int x = x0; x < x1; ++x) {
            n.cube += cube_coloured(p.at(x, y));
            n.blue += projection_blue(p.at(x, y));
        }
    return n;
}

TEST_F(SliceViewTest, ViewsInTurnShowTheProjectionTheSliceAndBoth) {
    struct Row {
        int view;
        bool slice_left, slice_right, projection_left, projection_right;
        const char* menu_label;
        const char* controller_label;
    };
    // The cube of side 2 spans 160 pixels about its half's centre.
    const Row rows[] = {
        {kViewProjection, false, false, true, true, "Slice View: Projection", "from X"},
        {kViewSlice, true, true, false, false, "Slice View: Slice", "Slice, from X"},
        {kViewSideBySide, false, true, true, false, "Slice View: Side by Side", "Both, from X"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.menu_label);
        EXPECT_EQ(app.slice_view, r.view);
        EXPECT_STREQ(options_menu_label(13), r.menu_label);
        EXPECT_STREQ(controller_buttons[view_button_index].text, r.controller_label);
        const Pixels p = testing::render_graph_frame();
        const Counts left = count(p, 0, 320), right = count(p, 320, 640);
        EXPECT_EQ(left.cube > 1000, r.slice_left) << left.cube;
        EXPECT_EQ(right.cube > 1000, r.slice_right) << right.cube;
        EXPECT_EQ(left.blue > 1000, r.projection_left) << left.blue;
        EXPECT_EQ(right.blue > 1000, r.projection_right) << right.blue;
        if (r.view == kViewSlice) {
            // A square of side 160 about the centre, seen from X.
            EXPECT_TRUE(cube_coloured(p.at(320, 240)));
            EXPECT_TRUE(cube_coloured(p.at(320 + 75, 240 - 75)));
            EXPECT_EQ(p.at(320 + 90, 240), (Rgb{255, 255, 255}));
        }
        if (r.view == kViewSideBySide) {
            EXPECT_TRUE(cube_coloured(p.at(480, 240)));
            EXPECT_TRUE(cube_coloured(p.at(480 - 75, 240)));
            EXPECT_EQ(p.at(480 - 90, 240), (Rgb{255, 255, 255}));
        }
        keyboard('v', 0, 0);
    }
    EXPECT_EQ(app.slice_view, kViewProjection);  // round again
}

TEST_F(SliceViewTest, TheCubeKindsColourAndItsLegend) {
    app.slice_view = kViewSlice;
    app.label = 1;
    const Pixels p = testing::render_graph_frame();
    const Colour c = cell_kind_colour("cube");
    const Rgb centre = p.at(320, 240);
    // Lit from the front, the face keeps its colour's proportions.
    EXPECT_NEAR(static_cast<double>(centre.g) / centre.r, c.g / c.r, 0.12);
    // The legend's swatch: the kind's colour unlit, in the lower left.
    const Rgb swatch = p.at(16, 480 - 10 - 18 + 9);
    EXPECT_NEAR(swatch.r, c.r * 255, 2);
    EXPECT_NEAR(swatch.g, c.g * 255, 2);
    EXPECT_NEAR(swatch.b, c.b * 255, 2);
}

TEST_F(SliceViewTest, AHyperplaneThatMissesLeavesTheNotice) {
    struct Row {
        double offset;
        bool notice;
    };
    const Row rows[] = {{0.0, false}, {1.5, true}, {-1.05, true}, {0.95, false}};
    app.slice_view = kViewSlice;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.offset);
        app.section_offset = r.offset;
        const Pixels p = testing::render_graph_frame();
        EXPECT_EQ(count(p, 0, 640).cube > 1000, !r.notice);
        // The notice's words reach far to the right along the bottom; the
        // legend's one word does not.
        int dark_pixels = 0;
        for (int y = 440; y < 475; ++y)
            for (int x = 120; x < 260; ++x) dark_pixels += dark(p.at(x, y));
        EXPECT_EQ(dark_pixels > 50, r.notice) << dark_pixels;
    }
}

// The key t: the offset runs from where the hyperplane first touches the
// tesseract (-1) to where it leaves (+1) in kSweepSteps steps at the held
// button's pace, then goes back; a key stops it early, also going back.
TEST_F(SliceViewTest, TheSweepKeyCarriesTheCutThroughAndBack) {
    struct Row {
        int stop_after;  // steps seen before a key stops it; 0: runs out
    };
    const Row rows[] = {{0}, {5}};
    app.slice_view = kViewSlice;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.stop_after);
        app.section_offset = 0.25;
        testing::render_graph_frame();
        keyboard('t', 0, 0);
        ASSERT_TRUE(sweep_running());
        EXPECT_DOUBLE_EQ(app.section_offset, -1.0);
        std::vector<double> seen{app.section_offset};
        const auto start = std::chrono::steady_clock::now();
        while (sweep_running() && std::chrono::steady_clock::now() - start < std::chrono::seconds(20)) {
            glutMainLoopEvent();
            if (app.section_offset != seen.back()) seen.push_back(app.section_offset);
            if (r.stop_after > 0 && static_cast<int>(seen.size()) == r.stop_after) keyboard('x', 0, 0);
        }
        ASSERT_FALSE(sweep_running());
        EXPECT_DOUBLE_EQ(app.section_offset, 0.25);  // back where it was
        EXPECT_EQ(app.rotation_request, 0) << "the stopping key does nothing else";
        if (r.stop_after == 0) {
            ASSERT_EQ(seen.size(), static_cast<size_t>(kSweepSteps) + 1);  // and the way back
            EXPECT_DOUBLE_EQ(seen[kSweepSteps - 1], 1.0);
            for (int i = 1; i < kSweepSteps; ++i) EXPECT_GT(seen[i], seen[i - 1]);
        } else {
            EXPECT_EQ(seen.size(), static_cast<size_t>(r.stop_after));  // no step after the key
        }
    }
}

}  // namespace
}  // namespace fourview
