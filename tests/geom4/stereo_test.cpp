// The stereographic map and the colour scale by w.
#include "geom4/stereo.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "../support/arc_check.h"
#include "geom4/transform.h"
#include "models/tables.h"

namespace fourview {
namespace {

// A turn by `degrees` in the plane of coordinates a and b.
Matrix5 turn(int a, int b, double degrees) {
    const double t = degrees * 0.017453292519943295;
    Matrix5 m = identity_matrix5();
    m[5 * a + a] = m[5 * b + b] = std::cos(t);
    m[5 * a + b] = -std::sin(t);
    m[5 * b + a] = std::sin(t);
    return m;
}

TEST(Stereographic, TheEquatorStaysTheSouthPoleGoesToTheOriginThePoleAway) {
    const Point3 q = stereographic(Point4{1, -2, 0.5, 0}, 3);
    EXPECT_DOUBLE_EQ(q.x, 1);
    EXPECT_DOUBLE_EQ(q.y, -2);
    EXPECT_DOUBLE_EQ(q.z, 0.5);
    const Point3 south = stereographic(Point4{0, 0, 0, -2}, 2);
    EXPECT_EQ(south.x * south.x + south.y * south.y + south.z * south.z, 0);
    EXPECT_FALSE(std::isfinite(stereographic(Point4{1, 0, 0, 2}, 2).x));
    const Point4 pushed = onto_sphere(Point4{3, 0, 4, 0}, 2);
    EXPECT_DOUBLE_EQ(pushed.x, 1.2);
    EXPECT_DOUBLE_EQ(pushed.z, 1.6);
    EXPECT_EQ(onto_sphere(Point4{}, 2).w, 0) << "the origin has no ray";
}

// Every edge of the hypercube and of the 5-cell, turned in all three w
// planes so that no edge stays in w = 0: its arc points lie on one circle
// or line, and its ends are the projected vertices.
TEST(Stereographic, EdgesBecomeArcsThroughTheProjectedVertices) {
    const Matrix5 m = multiply_matrix5(multiply_matrix5(turn(0, 3, 10), turn(1, 3, 25)), turn(2, 3, -40));
    struct Case {
        const Point4* vertices;
        const int (*edges)[2];
        int edge_count;
        double radius;
    };
    const Case cases[] = {{HypercubeVertices, HypercubeEdges, 32, 2.0},
                          {FiveCellVertices, FiveCellEdges, 10, 1.0}};
    for (const Case& c : cases)
        for (int e = 0; e < c.edge_count; ++e) {
            const Point4 a = transform_point4(m, c.vertices[c.edges[e][0]]);
            const Point4 b = transform_point4(m, c.vertices[c.edges[e][1]]);
            std::vector<Point3> arc;
            for (int k = 0; k <= kArcPieces; ++k)
                arc.push_back(stereographic(onto_sphere(edge_point(a, b, k, kArcPieces), c.radius), c.radius));
            EXPECT_LT(testing::arc_residual(arc), 1e-9 * c.radius) << e;
            const Point3 ends[2] = {stereographic(onto_sphere(a, c.radius), c.radius),
                                    stereographic(onto_sphere(b, c.radius), c.radius)};
            EXPECT_EQ(arc.front().x, ends[0].x);
            EXPECT_EQ(arc.back().y, ends[1].y);
        }
}

TEST(Stereographic, PatchCornersAreTheVerticesAndItsSidesTheEdgesPoints) {
    const Point4 a{1, 1, 1, 1}, b{1, -1, 1, 1}, c{-1, 1, 1, 1};
    constexpr int d = kPatchDivisions;
    Point4 p[kPatchPoints];
    for (int i = 0; i <= d; ++i)
        for (int j = 0; j <= d - i; ++j) p[patch_index(i, j, d)] = patch_point(a, b, c, i, j, d);
    EXPECT_EQ(patch_index(d, 0, d), kPatchPoints - 1) << "every slot used once";
    EXPECT_EQ(p[patch_index(0, 0, d)].y, 1);
    EXPECT_EQ(p[patch_index(d, 0, d)].y, -1);
    EXPECT_EQ(p[patch_index(0, d, d)].x, -1);
    // A side's points are the edge's own points: no crack between faces.
    for (int i = 0; i <= d; ++i) {
        const Point4 ab = edge_point(a, b, i * (kArcPieces / d), kArcPieces);
        const Point4 cb = edge_point(c, b, i * (kArcPieces / d), kArcPieces);
        EXPECT_NEAR(p[patch_index(i, 0, d)].y, ab.y, 1e-15);
        EXPECT_NEAR(p[patch_index(i, d - i, d)].x, cb.x, 1e-15);
    }
    const Point4 q = onto_sphere(p[patch_index(1, 1, d)], 2.0);
    EXPECT_NEAR(q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w, 4.0, 1e-12);
}

TEST(Stereographic, FarthestRadiusSkipsWhatIsNotFinite) {
    const Point4 points[] = {{1, 0, 0, 0}, {0, 3, 4, 0}, {NAN, 0, 0, 0}, {0, 0, 0, INFINITY}};
    EXPECT_DOUBLE_EQ(farthest_radius(points, 4), 5);
    EXPECT_EQ(farthest_radius(points + 2, 2), 0) << "nothing finite";
}

TEST(ColourByW, BlueThroughNeutralToOrangeHeldAtTheEnds) {
    const struct {
        double w;
        bool blue, orange;
    } table[] = {{-2, true, false}, {-5, true, false}, {2, false, true}, {9, false, true}, {0, false, false}};
    for (const auto& t : table) {
        const Colour c = w_colour(t.w, 2);
        EXPECT_EQ(c.b > c.r + 0.5f, t.blue) << t.w;
        EXPECT_EQ(c.r > c.b + 0.5f && c.r > c.g, t.orange) << t.w;
    }
    const Colour mid = w_colour(0, 2);
    EXPECT_GT(mid.r + mid.g + mid.b, 2.4f) << "a light neutral";
    const Colour nan = w_colour(NAN, 2);
    EXPECT_TRUE(std::isfinite(nan.r));
    EXPECT_NEAR(w_colour(-1, 2).b, (w_colour(-2, 2).b + mid.b) / 2, 1e-6);
}

// The position on the scale of each of its colours, both sides and the
// neutral, with any radius.
TEST(ColourByW, ThePositionOfAColourOnTheScale) {
    for (double t : {-1.0, -0.75, -0.3, -0.01, 0.0, 0.02, 0.5, 0.9, 1.0})
        for (double radius : {0.5, 2.0}) {
            EXPECT_NEAR(w_scale_position(w_colour(t * radius, radius)), t, 1e-6) << t;
        }
    EXPECT_NEAR(w_scale_position(w_colour(-5, 1)), -1, 1e-6) << "held at the ends";
    EXPECT_NEAR(w_scale_position(w_colour(5, 1)), 1, 1e-6);
}

// Beyond +-R the colour is held at the end's: the same three numbers as at
// the end itself, never a channel outside 0 to 1 (GL would clamp each
// channel apart and show a hue that is on no part of the bar).
TEST(ColourByW, BeyondTheRadiusTheEndsColourExactly) {
    const struct {
        double w, radius, end;
    } table[] = {{-2.5, 2, -2}, {-40, 2, -2}, {3, 2, 2}, {1e9, 2, 2}, {-0.6, 0.5, -0.5},
                 {0.51, 0.5, 0.5}, {-INFINITY, 1, -1}, {INFINITY, 1, 1}};
    for (const auto& t : table) {
        const Colour c = w_colour(t.w, t.radius), end = w_colour(t.end, t.radius);
        EXPECT_EQ(c.r, end.r) << t.w;
        EXPECT_EQ(c.g, end.g) << t.w;
        EXPECT_EQ(c.b, end.b) << t.w;
        for (float channel : {c.r, c.g, c.b}) {
            EXPECT_GE(channel, 0.0f) << t.w;
            EXPECT_LE(channel, 1.0f) << t.w;
        }
    }
}

}  // namespace
}  // namespace fourview
