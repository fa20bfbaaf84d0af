// Points and 5x5 transforms: aliasing, the hyperplane alignment and its
// inverse, the tube frame.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "app/app_state.h"
#include "geom4/transform.h"

namespace fourview {
namespace {

Matrix5 sample_matrix(double seed) {
    Matrix5 m{};
    for (int i = 0; i < 20; ++i) m[i] = std::sin(seed + 1.7 * i);
    m[24] = 1.0;
    return m;
}

void expect_near(const Matrix5& a, const Matrix5& b, double tol, const char* what) {
    for (int i = 0; i < 25; ++i) EXPECT_NEAR(a[i], b[i], tol) << what << " entry " << i;
}

// The fourth column of a Matrix5 as a point.
Point4 column3(const Matrix5& m) { return Point4{m[3], m[8], m[13], m[18]}; }

double det4(const Matrix5& m) {
    // Expansion by the Laplace rule through the inverse's cofactor code is
    // what is under test, so compute independently by elimination.
    double a[4][4];
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) a[r][c] = m[5 * r + c];
    double det = 1.0;
    for (int c = 0; c < 4; ++c) {
        int pivot = c;
        for (int r = c + 1; r < 4; ++r)
            if (std::fabs(a[r][c]) > std::fabs(a[pivot][c])) pivot = r;
        if (pivot != c) {
            for (int k = 0; k < 4; ++k) std::swap(a[c][k], a[pivot][k]);
            det = -det;
        }
        det *= a[c][c];
        for (int r = c + 1; r < 4; ++r) {
            const double f = a[r][c] / a[c][c];
            for (int k = c; k < 4; ++k) a[r][k] -= f * a[c][k];
        }
    }
    return det;
}

TEST(Matrix5Product, ResultMayOverwriteEitherOperand) {
    const Matrix5 a = sample_matrix(0.3), b = sample_matrix(1.1);
    const Matrix5 expected = multiply_matrix5(a, b);
    Matrix5 over_a = a;
    over_a = multiply_matrix5(over_a, b);
    EXPECT_EQ(over_a, expected);
    Matrix5 over_b = b;
    over_b = multiply_matrix5(a, over_b);
    EXPECT_EQ(over_b, expected);
    Matrix5 self = a;
    self = multiply_matrix5(self, self);
    EXPECT_EQ(self, multiply_matrix5(a, a));
}

TEST(Matrix5Product, IdentityOnEitherSideIsExact) {
    const Matrix5 a = sample_matrix(2.0);
    EXPECT_EQ(multiply_matrix5(identity_matrix5(), a), a);
    EXPECT_EQ(multiply_matrix5(a, identity_matrix5()), a);
}

TEST(Matrix5Product, RightOperandActsFirstOnPoints) {
    const Matrix5 a = sample_matrix(0.7), b = sample_matrix(1.9);
    const Point4 p{0.5, -1.0, 2.0, 0.25};
    const Point4 two_steps = transform_point4(a, transform_point4(b, p));
    const Point4 product = transform_point4(multiply_matrix5(a, b), p);
    EXPECT_NEAR(two_steps.x, product.x, 1e-12);
    EXPECT_NEAR(two_steps.y, product.y, 1e-12);
    EXPECT_NEAR(two_steps.z, product.z, 1e-12);
    EXPECT_NEAR(two_steps.w, product.w, 1e-12);
}

TEST(TransformPoint, IdentityAndTranslation) {
    const Point4 p{1.5, -2.5, 3.25, -4.0};
    const Point4 same = transform_point4(identity_matrix5(), p);
    EXPECT_EQ(same.x, p.x);
    EXPECT_EQ(same.w, p.w);
    Matrix5 shift = identity_matrix5();
    shift[4] = 1;
    shift[9] = 2;
    shift[14] = 3;
    shift[19] = 4;
    Point4 q = p;
    q = transform_point4(shift, q);  // result over the input
    EXPECT_EQ(q.x, 2.5);
    EXPECT_EQ(q.y, -0.5);
    EXPECT_EQ(q.z, 6.25);
    EXPECT_EQ(q.w, 0.0);
}

TEST(Matrix4, ProductAndApplyUseRowsOfFour) {
    Matrix4 a{};
    for (int i = 0; i < 16; ++i) a[i] = i + 1;
    Matrix4 b = identity_matrix4();
    b[3] = 10;  // row 0, column 3: a translation of x in row-of-four indexing
    Matrix4 r = a;
    r = multiply_matrix4(r, b);
    EXPECT_EQ(r[3], a[0] * 10 + a[3]);
    EXPECT_EQ(r[0], a[0]);
    const Point3 v = apply_matrix4(b, Point3{1, 2, 3});
    EXPECT_EQ(v.x, 11);
    EXPECT_EQ(v.y, 2);
    EXPECT_EQ(v.z, 3);
}

TEST(HyperplaneOrientation, NegativeWAxisGivesTheListedMatrix) {
    const Matrix5 h = hyperplane_orientation(0, 0, 0, -1);
    const Matrix5 expected{-1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, -1, 0, 0, 0, 0, 0, 1};
    expect_near(h, expected, 0, "normal (0,0,0,-1)");
}

TEST(HyperplaneOrientation, FourthColumnIsTheUnitNormal) {
    struct Case {
        double a, b, c, d;
    } cases[] = {{1, 0, 0, 0}, {2, 0, 0, -1}, {0, 0, 0, 1}, {0, 3, 0, 0}, {0, 0, -2, 0},
                 {-1, 0, 0, 0}, {1, 2, 3, 4}};
    for (const Case& k : cases) {
        const double len = std::sqrt(k.a * k.a + k.b * k.b + k.c * k.c + k.d * k.d);
        const Point4 col = column3(hyperplane_orientation(k.a, k.b, k.c, k.d));
        EXPECT_NEAR(col.x, k.a / len, 1e-12) << k.a << k.b << k.c << k.d;
        EXPECT_NEAR(col.y, k.b / len, 1e-12) << k.a << k.b << k.c << k.d;
        EXPECT_NEAR(col.z, k.c / len, 1e-12) << k.a << k.b << k.c << k.d;
        EXPECT_NEAR(col.w, k.d / len, 1e-12) << k.a << k.b << k.c << k.d;
    }
}

TEST(HyperplaneOrientation, RandomNormalsGiveRotations) {
    std::mt19937 rng(12345);
    std::uniform_real_distribution<double> coord(-5, 5);
    for (int n = 0; n < 500; ++n) {
        double v[4];
        for (double& x : v) x = coord(rng);
        // Every few cases, zero some coordinates: the special branches.
        if (n % 5 == 1) v[1] = v[2] = 0;
        if (n % 5 == 2) v[0] = v[1] = v[2] = 0;
        if (n % 5 == 3) v[3] = 0;
        if (v[0] == 0 && v[1] == 0 && v[2] == 0 && v[3] == 0) v[3] = 1;
        const Matrix5 h = hyperplane_orientation(v[0], v[1], v[2], v[3]);
        // Orthogonal: H * H^T = I on the 4x4 block.
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 4; ++c) {
                double dot = 0;
                for (int k = 0; k < 4; ++k) dot += h[5 * r + k] * h[5 * c + k];
                ASSERT_NEAR(dot, r == c ? 1.0 : 0.0, 1e-9) << "case " << n;
            }
        ASSERT_NEAR(det4(h), 1.0, 1e-9) << "case " << n;
        const double len = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2] + v[3] * v[3]);
        const Point4 col = column3(h);
        ASSERT_NEAR(col.x, v[0] / len, 1e-9);
        ASSERT_NEAR(col.y, v[1] / len, 1e-9);
        ASSERT_NEAR(col.z, v[2] / len, 1e-9);
        ASSERT_NEAR(col.w, v[3] / len, 1e-9);
        // The inverse multiplied with it gives the identity.
        Matrix5 inv;
        ASSERT_TRUE(invert_matrix5(h, inv));
        expect_near(multiply_matrix5(inv, h), identity_matrix5(), 1e-9, "inverse");
    }
}

TEST(InvertMatrix5, SingularBlockLeavesTheOutputAlone) {
    Matrix5 singular = identity_matrix5();
    singular[6] = 0;  // row 1 of the block is zero
    Matrix5 out = sample_matrix(4.0);
    const Matrix5 before = out;
    EXPECT_FALSE(invert_matrix5(singular, out));
    EXPECT_EQ(out, before);
}

TEST(InvertMatrix5, ResultMayOverwriteTheInput) {
    Matrix5 m = hyperplane_orientation(1, -2, 0.5, 3);
    const Matrix5 original = m;
    ASSERT_TRUE(invert_matrix5(m, m));
    expect_near(multiply_matrix5(m, original), identity_matrix5(), 1e-12, "in place");
    EXPECT_EQ(m[4], 0.0);
    EXPECT_EQ(m[24], 1.0);
}

TEST(DirectionFrame, AlongZIsTheIdentityAndXIsTurned) {
    EXPECT_EQ(direction_frame(Point3{0, 0, 5}), identity_matrix4());
    EXPECT_EQ(direction_frame(Point3{0, 0, -5}), identity_matrix4());
    const Matrix4 f = direction_frame(Point3{-2, 0, 0});
    const Matrix4 expected{0, 0, -1, 0, 0, 1, 0, 0, 1, 0, 0, 0, 0, 0, 0, 1};
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(f[i], expected[i], 1e-15) << i;
    // Third column is the unit direction for an arbitrary vector.
    const Point3 d{1, -2, 2};
    const Matrix4 g = direction_frame(d);
    EXPECT_NEAR(g[2], 1.0 / 3, 1e-12);
    EXPECT_NEAR(g[6], -2.0 / 3, 1e-12);
    EXPECT_NEAR(g[10], 2.0 / 3, 1e-12);
}

class ResetTransform : public ::testing::Test {
protected:
    void TearDown() override { app = AppState{}; }
    double transformed_w(const std::array<double, 5>& plane, Point4 p) {
        app.hyperplane = plane;
        reset_transform();
        EXPECT_EQ(app.transform, app.base_transform);
        return transform_point4(app.transform, p).w;
    }
};

TEST_F(ResetTransform, DefaultHyperplaneGivesTheIdentity) {
    app.transform = sample_matrix(1.0);
    reset_transform();
    EXPECT_EQ(app.transform, identity_matrix5());
    EXPECT_EQ(app.base_transform, identity_matrix5());
}

TEST_F(ResetTransform, TransformedWIsTheSignedDistance) {
    EXPECT_NEAR(transformed_w({1, 2, 3, 4, 0}, Point4{1, 2, 3, 4}), std::sqrt(30.0), 1e-12);
    EXPECT_NEAR(transformed_w({1, 2, 3, 4, 30}, Point4{1, 2, 3, 4}), 0.0, 1e-12);
    EXPECT_NEAR(transformed_w({0, 0, 0, 2, 1}, Point4{}), -0.5, 1e-15);
    EXPECT_NEAR(transformed_w({0, 0, 0, 2, -1}, Point4{}), 0.5, 1e-15);
    EXPECT_NEAR(transformed_w({0, 0, 0, -1, 0}, Point4{0, 0, 0, 2}), -2.0, 1e-15);
}

TEST_F(ResetTransform, PlaneDistanceScalesByTheNormalLength) {
    app.hyperplane = {0, 3, 0, 4, 0};
    EXPECT_DOUBLE_EQ(plane_distance(10), 2.0);
    EXPECT_DOUBLE_EQ(plane_distance(-10), 2.0);
}

}  // namespace
}  // namespace fourview
