// Colour by w and its bar, read back as pixels of the graph window.
#include <GL/freeglut.h>

#include "app/app_state.h"
#include "gl_fixture.h"
#include "render/text.h"

namespace fourview {
namespace {

using testing::Rgb;

// Far from the grey background, the blue-violet faces, the black lines and
// the axes' pure red, green and blue.
bool orange(const Rgb& c) { return c.r > 170 && c.g > 60 && c.r > c.g + 30 && c.g > c.b + 30; }
bool blue(const Rgb& c) { return c.r > 20 && c.g > 50 && c.b > c.r + 60 && c.b > c.g + 20; }

struct Census {
    int orange = 0, blue = 0;
};

// The pixels outside the bar's corner.
Census census(const testing::Pixels& p) {
    const BarPlace bar = colour_bar_place(p.width, p.height);
    Census c;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            if (x >= bar.x0 - 4 && y >= bar.y0 - 4) continue;
            const Rgb rgb = p.at(x, y);
            c.orange += orange(rgb);
            c.blue += blue(rgb);
        }
    return c;
}

// The hypercube after one WX step: the cell turned towards +w orange, the
// one turned away blue, each on a good part of the picture; with the option
// off not one orange pixel (its own faces are blue-violet), and no bar.
TEST(ColourByW, TheHypercubeAfterOneWxStepAndItsBar) {
    testing::start_program();
    const struct {
        int colour, transparent;
    } table[] = {{1, 0}, {1, 1}, {0, 0}, {0, 1}};
    for (const auto& t : table) {
        testing::restore_start_state();
        app.colour_by_w = t.colour;
        app.transparent = t.transparent;
        app.rotation_request = 7;  // WX
        const testing::Pixels p = testing::render_graph_frame();
        const Census c = census(p);
        const BarPlace bar = colour_bar_place(p.width, p.height);
        const int middle = (bar.y0 + bar.y1) / 2;
        const Rgb left = p.at(bar.x0 + 3, middle), right = p.at(bar.x1 - 4, middle);
        if (t.colour == 1) {
            EXPECT_GT(c.orange, 2000) << "transparent " << t.transparent;
            // Opaque, the cell turned towards the eye hides the far one.
            if (t.transparent == 1) {
                EXPECT_GT(c.blue, 2000);
            }
            EXPECT_TRUE(blue(left) && orange(right)) << "the bar";
        } else {
            EXPECT_EQ(c.orange, 0) << "transparent " << t.transparent;
            EXPECT_FALSE(blue(left) || orange(right)) << "no bar";
        }
    }
}

}  // namespace
}  // namespace fourview
