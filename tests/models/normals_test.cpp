// Normals of triangles and grid vertices: facing the camera, and never NaN.
#include "models/normals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "app/app_state.h"

namespace fourview {
namespace {

class Normals : public ::testing::Test {
protected:
    void TearDown() override { app = AppState{}; }
};

void expect_vector(const Point3& n, double x, double y, double z) {
    EXPECT_NEAR(n.x, x, 1e-12);
    EXPECT_NEAR(n.y, y, 1e-12);
    EXPECT_NEAR(n.z, z, 1e-12);
}

bool finite(const Point3& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

// A triangle in the plane x = 0, which the camera at (200, 0, 0) faces.
const Point3 kA{0, 0, 0}, kB{0, 1, 0}, kC{0, 0, 1};

TEST_F(Normals, TriangleNormalFacesTheCameraWhateverTheWinding) {
    expect_vector(triangle_normal(kA, kB, kC), 1, 0, 0);
    expect_vector(triangle_normal(kA, kC, kB), 1, 0, 0);
    const Point3 p{0.3, -1, 2}, q{1.5, 0.25, -0.5}, r{-2, 1, 1};
    const Point3 n1 = triangle_normal(p, q, r), n2 = triangle_normal(r, q, p);
    expect_vector(n2, n1.x, n1.y, n1.z);
    EXPECT_NEAR(n1.x * n1.x + n1.y * n1.y + n1.z * n1.z, 1.0, 1e-12);
    EXPECT_GT(n1.x, 0) << "on the camera's side";
}

TEST_F(Normals, CameraIsBroughtBackThroughTheViewRotation) {
    // A quarter turn about z in OpenGL's column-major layout: x goes to y.
    app.view_matrix = {0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    const Point3 e = camera_in_scene();
    expect_vector(e, 0, -200, 0);
    // The plane y = 0 now faces the camera from -y.
    expect_vector(triangle_normal(Point3{0, 0, 0}, Point3{1, 0, 0}, Point3{0, 0, 1}), 0, -1, 0);
    expect_vector(away_from_camera(), 0, 1, 0);
}

TEST_F(Normals, TinyButProperTrianglesKeepTheirNormal) {
    // Near a pole of the sphere the grid's rows shrink to 1e-17; the triangles
    // there still have a direction.
    Point3 n;
    ASSERT_TRUE(try_triangle_normal(Point3{0, 0, 0}, Point3{0, 1e-17, 0}, Point3{0, 0, 0.1},
                                    camera_in_scene(), n));
    expect_vector(n, 1, 0, 0);
}

TEST_F(Normals, VertexNormalIsTheMeanOfItsFourTriangles) {
    const Point3 c{0, 0, 0}, right{0, 1, 0}, down{0, 0, -1}, left{0, -1, 0}, up{0, 0, 1};
    expect_vector(vertex_normal(c, right, down, left, up), 1, 0, 0);
    // A fold along the column: two triangles on each side, mean not normalised.
    const Point3 r2{1, 1, 0}, l2{1, -1, 0};
    const Point3 n = vertex_normal(c, r2, down, l2, up);
    const double s = std::sqrt(0.5);
    expect_vector(n, s, 0, 0);
}

TEST_F(Normals, VertexNormalLeavesOutTrianglesWithoutNormal) {
    const Point3 c{0, 0, 0}, down{0, 0, -1}, left{0, -1, 0}, up{0, 0, 1};
    // The right neighbour on top of the centre, as at a pole: two triangles
    // lose their normal, the two others still give the full unit normal.
    const Point3 n = vertex_normal(c, c, down, left, up);
    expect_vector(n, 1, 0, 0);
    // A neighbour projected from w = 2.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Point3 m = vertex_normal(c, Point3{nan, nan, nan}, down, left, up);
    ASSERT_TRUE(finite(m));
    expect_vector(m, 1, 0, 0);
    // Nothing around it at all: the unit vector toward the camera.
    expect_vector(vertex_normal(c, c, c, c, c), 1, 0, 0);
    const double inf = std::numeric_limits<double>::infinity();
    const Point3 far{inf, -inf, inf};
    expect_vector(vertex_normal(far, far, far, far, far), 1, 0, 0);
}

}  // namespace
}  // namespace fourview
