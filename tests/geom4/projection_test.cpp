// Projection to three dimensions and the edge test.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "app/app_state.h"
#include "geom4/projection.h"
#include "geom4/transform.h"

namespace fourview {
namespace {

class Projection : public ::testing::Test {
protected:
    void TearDown() override { app = AppState{}; }
};

void expect_point(const Point3& p, double x, double y, double z) {
    EXPECT_DOUBLE_EQ(p.x, x);
    EXPECT_DOUBLE_EQ(p.y, y);
    EXPECT_DOUBLE_EQ(p.z, z);
}

TEST_F(Projection, ParallelDropsW) {
    app.projection_mode = kProjectionParallel;
    expect_point(project_point(Point4{1, 2, 3, 4}), 1, 2, 3);
}

TEST_F(Projection, PerspectiveFromTheEyeAtWTwo) {
    app.projection_mode = kProjectionPerspective;
    expect_point(project_point(Point4{1, 2, 3, 0}), 1, 2, 3);
    expect_point(project_point(Point4{1, 2, 3, 1}), 2, 4, 6);
    expect_point(project_point(Point4{1, 2, 3, -2}), 0.5, 1, 1.5);
    expect_point(project_point(Point4{1, 2, 3, 4}), -1, -2, -3);  // beyond the eye: mirrored
}

// The stereographic projection of a pushed point takes one step; it must
// land where the two steps written out put it: d pushed onto the sphere of
// radius R (d R / |d|), then projected from the pole (0, 0, 0, R), times
// R / (R - w), about the model's centre. Points on every side of w = 0,
// near either pole, with the model moved and not.
TEST_F(Projection, StereographicOfAPushedPointIsTheTwoStepsInOne) {
    app.projection_mode = kProjectionStereographic;
    app.push_onto_sphere = 1;
    struct Row {
        double radius;
        Point4 centre, p;
    } const rows[] = {
        {2, {0, 0, 0, 0}, {1, 1, 1, 1}},        {2, {0, 0, 0, 0}, {1, -2, 0.5, -3}},
        {1, {0, 0, 0, 0}, {0.3, 0.1, 0, 0}},    {1, {0, 0, 0, 0}, {0.01, 0, 0, -5}},
        {1, {0, 0, 0, 0}, {0.2, 0, 0.1, 0.9}},  {3, {0.5, -1, 2, 0.25}, {1, 0, -2, 1.5}},
        {3, {0.5, -1, 2, 0.25}, {-4, 3, 1, -2}}, {0.5, {0, 0, 0, 1}, {0.1, 0.2, 0.3, 0.4}},
    };
    for (const Row& r : rows) {
        app.model_radius = r.radius;
        app.transform = identity_matrix5();
        app.transform[4] = r.centre.x, app.transform[9] = r.centre.y;
        app.transform[14] = r.centre.z, app.transform[19] = r.centre.w;
        const double d[4] = {r.p.x - r.centre.x, r.p.y - r.centre.y, r.p.z - r.centre.z,
                             r.p.w - r.centre.w};
        const double length = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2] + d[3] * d[3]);
        const double push = r.radius / length;
        const double lift = r.radius / (r.radius - d[3] * push);
        const Point3 q = project_point(r.p);
        const double want[3] = {d[0] * push * lift + r.centre.x, d[1] * push * lift + r.centre.y,
                                d[2] * push * lift + r.centre.z};
        const double got[3] = {q.x, q.y, q.z};
        for (int i = 0; i < 3; ++i)
            EXPECT_NEAR(got[i], want[i], 1e-12 * (1 + std::fabs(want[i])))
                << "coordinate " << i << " of (" << r.p.x << ", " << r.p.y << ", " << r.p.z << ", "
                << r.p.w << "), R " << r.radius;
    }
}

TEST_F(Projection, PointAtTheEyeIsNeverDrawable) {
    app.projection_mode = kProjectionPerspective;
    const Point3 far = project_point(Point4{1, 0, -1, 2});  // +-inf and 0/0
    EXPECT_TRUE(std::isinf(far.x));
    EXPECT_TRUE(std::isnan(far.y));
    EXPECT_FALSE(point_drawable(far));
    EXPECT_EQ(classify_edge3(Point3{}, far), 2);
    EXPECT_EQ(classify_edge3(far, far), 2) << "a NaN point never coincides with itself";
}

TEST_F(Projection, EdgeTestAtTheInfinityBound) {
    const double just_under = std::nextafter(500.0, 0.0);
    EXPECT_EQ(classify_edge3(Point3{0, 0, 0}, Point3{just_under, 0, 0}), 1);
    EXPECT_EQ(classify_edge3(Point3{0, 0, 0}, Point3{0, 500, 0}), 2);
    EXPECT_EQ(classify_edge3(Point3{0, 0, -250}, Point3{0, 0, 250}), 2);
    EXPECT_EQ(classify_edge4(Point4{0, 0, 0, 0}, Point4{0, 0, 0, just_under}), 1);
    EXPECT_EQ(classify_edge4(Point4{0, 0, 0, 0}, Point4{0, 0, 0, 500}), 2);
    app.infinity = 10;
    EXPECT_EQ(classify_edge3(Point3{0, 0, 0}, Point3{9.5, 0, 0}), 1);
    EXPECT_EQ(classify_edge3(Point3{0, 0, 0}, Point3{10, 0, 0}), 2);
}

TEST_F(Projection, CoincidentPointsHoweverLarge) {
    const Point3 a{1e6, -1e6, 3e5};
    EXPECT_EQ(classify_edge3(a, a), 0);
    EXPECT_EQ(classify_edge3(Point3{0, 0, 0}, Point3{5e-20, 0, 0}), 0);
    EXPECT_EQ(classify_edge3(Point3{0, 0, 0}, Point3{2e-19, 0, 0}), 1);
    EXPECT_EQ(classify_edge4(Point4{1, 2, 3, 4}, Point4{1, 2, 3, 4}), 0);
    EXPECT_EQ(classify_edge4(Point4{1, 2, 3, 4}, Point4{1, 2, 3, 4.5}), 1);
}

TEST_F(Projection, NotANumberIsBroken) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(classify_edge4(Point4{0, 0, 0, 0}, Point4{nan, 0, 0, 0}), 2);
    EXPECT_EQ(classify_edge3(Point3{nan, nan, nan}, Point3{nan, nan, nan}), 2);
}

}  // namespace
}  // namespace fourview
