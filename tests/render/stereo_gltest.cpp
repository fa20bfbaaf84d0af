// Colour by w and its bar, read back as pixels of the graph window.
#include <GL/freeglut.h>

#include <cmath>
#include <cstdio>

#include "app/app_state.h"
#include "gl_fixture.h"
#include "geom4/stereo.h"
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

// Faces look the scale up in a texture between their corners: a pixel is
// off only by the rounding of 8-bit texels. The blend this replaced gave
// colours 150 and more levels off (rgb(54, 86, 48) at the 24-cell's
// centre), and corners mixed in RGB cut the scale's corner at the neutral
// by up to 55 levels.
constexpr double kTolerance = 3;

// How far a pixel is from the bar's scale (blue - neutral - orange, two
// straight pieces), in levels of 0 to 255.
double off_the_scale(const Rgb& c) {
    const Colour stops[3] = {w_colour(-1, 1), w_colour(0, 1), w_colour(1, 1)};
    const double p[3] = {c.r / 255.0, c.g / 255.0, c.b / 255.0};
    double best = 1e9;
    for (int k = 0; k < 2; ++k) {
        const double a[3] = {stops[k].r, stops[k].g, stops[k].b};
        const double b[3] = {stops[k + 1].r, stops[k + 1].g, stops[k + 1].b};
        double ab2 = 0, t = 0;
        for (int i = 0; i < 3; ++i) {
            ab2 += (b[i] - a[i]) * (b[i] - a[i]);
            t += (p[i] - a[i]) * (b[i] - a[i]);
        }
        t = std::fmin(1, std::fmax(0, t / ab2));
        double d2 = 0;
        for (int i = 0; i < 3; ++i) d2 += std::pow(p[i] - (a[i] + t * (b[i] - a[i])), 2);
        best = std::fmin(best, std::sqrt(d2) * 255);
    }
    return best;
}

// With Transparent on, faces coloured by w must still read on the bar: each
// pixel a face gives (found against the frame without faces) lies near the
// scale; the multiplying blend made dark olive and near-black of them. Both
// cells still show, the far one through the near. Models of every kind:
// the hypercube and the 24-cell (flat faces, divided), the torus (a grid
// surface), in parallel, perspective and stereographic projection.
TEST(ColourByW, TransparentFacesStayOnTheScale) {
    testing::start_program();
    const struct {
        ModelId model;
        int projection, request;
    } table[] = {{kModelHypercube, kProjectionPerspective, 7},
                 {kModelHypercube, kProjectionParallel, 8},
                 {static_cast<ModelId>(15), kProjectionPerspective, 7},
                 {static_cast<ModelId>(15), kProjectionStereographic, 7},
                 {static_cast<ModelId>(4), kProjectionPerspective, 0}};
    for (const auto& t : table) {
        testing::Pixels frames[2];
        for (int solid = 0; solid < 2; ++solid) {
            testing::restore_start_state();
            app.model_id = t.model;
            app.projection_mode = t.projection;
            app.colour_by_w = 1;
            app.transparent = 1;
            app.solid = solid;
            app.wireframe = app.axes = app.label = 0;
            app.rotation_request = t.request;
            frames[solid] = testing::render_graph_frame();
        }
        const testing::Pixels& p = frames[1];
        const BarPlace bar = colour_bar_place(p.width, p.height);
        int faces = 0, off = 0;
        double worst = 0;
        for (int y = 0; y < p.height; ++y)
            for (int x = 0; x < p.width; ++x) {
                if (x >= bar.x0 - 4 && y >= bar.y0 - 4) continue;
                if (p.at(x, y) == frames[0].at(x, y)) continue;
                ++faces;
                const double d = off_the_scale(p.at(x, y));
                worst = std::fmax(worst, d);
                off += d > kTolerance;
            }
        EXPECT_GT(faces, 5000) << "model " << t.model;
        std::printf("model %d, projection %d: %d face pixels, the worst %.0f levels off the scale\n",
                    t.model, t.projection, faces, worst);
        EXPECT_EQ(off, 0) << "model " << t.model << " projection " << t.projection << ": worst "
                          << worst << " levels off the scale";
    }
}

}  // namespace
}  // namespace fourview
