// The view as numbers: the views from the axes as GL built them (its
// single-precision quarter turns), the drag turn and the zoom drag.
#include <gtest/gtest.h>

#include <cmath>

#include "app/app_state.h"
#include "geom4/transform.h"
#include "geom4/view.h"

namespace fourview {
namespace {

// The modelview matrices GL left after glRotated(-90, Z), glRotated(-90, Y)
// and after glRotated(90, Z), glRotated(90, X), read back with glGetDoublev.
constexpr double kC = 4.3711388286737929e-08, kCC = 1.910685465164705e-15;
TEST(View, DirectionsAreTheMatricesGlBuilt) {
    const struct {
        int direction;
        Matrix4 expected;
    } table[] = {
        {0, identity_matrix4()},
        {1, {kCC, kC, 1, 0, 1, -kC, 0, 0, kC, 1, -kC, 0, 0, 0, 0, 1}},
        {2, {-kC, 1, 0, 0, kC, kCC, 1, 0, 1, kC, -kC, 0, 0, 0, 0, 1}},
        {7, identity_matrix4()},
    };
    for (const auto& row : table) EXPECT_EQ(view_direction_matrix(row.direction), row.expected) << row.direction;
}

TEST(View, DragTurnsOneDegreePerPixel) {
    const double d = 0.017453292519943295;
    const struct {
        int dx, dy;
        Point3 in, out;  // a point through the turn (rows of four: the inverse)
    } table[] = {
        {0, 0, {1, 2, 3}, {1, 2, 3}},
        {90, 0, {1, 0, 0}, {std::cos(90 * d), -std::sin(90 * d), 0}},
        {0, 90, {1, 0, 0}, {std::cos(90 * d), 0, std::sin(90 * d)}},
        {-30, 0, {0, 1, 0}, {std::sin(-30 * d), std::cos(30 * d), 0}},
    };
    for (const auto& row : table) {
        const Point3 p = apply_matrix4(dragged_view(identity_matrix4(), row.dx, row.dy), row.in);
        EXPECT_NEAR(p.x, row.out.x, 1e-12) << row.dx << "," << row.dy;
        EXPECT_NEAR(p.y, row.out.y, 1e-12) << row.dx << "," << row.dy;
        EXPECT_NEAR(p.z, row.out.z, 1e-12) << row.dx << "," << row.dy;
    }
}

TEST(View, ZoomDragFactor) {
    const struct {
        int up;
        double zoom, factor;
    } table[] = {{0, 1, 1}, {100, 1, 0.95}, {-100, 1, 1.05}, {100, 0.5, 0.9}, {2000, 1, 0}};
    for (const auto& row : table) EXPECT_NEAR(zoom_drag_factor(row.up, row.zoom), row.factor, 1e-12) << row.up;
}

}  // namespace
}  // namespace fourview

namespace fourview {
namespace {

TEST(View, ProjectionAfterACommand) {
    constexpr int P = kProjectionParallel, V = kProjectionPerspective, S = kProjectionStereographic;
    const struct {
        int command, mode, flat, after;
    } table[] = {
        {61, P, P, V}, {61, V, V, P}, {61, S, P, P}, {61, S, V, V},
        {63, P, P, S}, {63, V, V, S}, {63, S, V, V}, {63, S, P, P},
        {65, S, V, P}, {66, P, P, V}, {67, V, V, S}, {62, V, V, V}, {64, S, P, S},
    };
    for (const auto& row : table)
        EXPECT_EQ(projection_after(row.command, row.mode, row.flat), row.after)
            << row.command << " from " << row.mode;
}

}  // namespace
}  // namespace fourview
