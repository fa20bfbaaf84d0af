// Points and matrices shared by every drawing path.
#pragma once

#include <array>

namespace fourview {

// A point of four-dimensional space. There is no stored homogeneous
// coordinate: the 5x5 transforms treat it as 1.
struct Point4 {
    double x = 0, y = 0, z = 0, w = 0;
};

// A projected point. x, y, z are contiguous so that &p.x can be handed to
// glVertex3dv / glNormal3dv.
struct Point3 {
    double x = 0, y = 0, z = 0;
    const double* data() const { return &x; }
};
static_assert(sizeof(Point3) == 3 * sizeof(double), "Point3 must be three packed doubles");
static_assert(sizeof(Point4) == 4 * sizeof(double), "Point4 must be four packed doubles");

// A colour of a vertex, red, green and blue from 0 to 1.
struct Colour {
    float r = 0, g = 0, b = 0;
    const float* data() const { return &r; }
};
static_assert(sizeof(Colour) == 3 * sizeof(float), "Colour must be three packed floats");

// 5x5 homogeneous matrix, row-major: entry (r, c) is element 5r + c. It acts
// on columns (x, y, z, w, 1); column 4 is the translation.
using Matrix5 = std::array<double, 25>;

// 16 doubles. The view matrix keeps OpenGL's column-major layout; the
// operations below index it as rows of four, so applying them to the view
// rotation applies its transpose, i.e. its inverse.
using Matrix4 = std::array<double, 16>;

constexpr Matrix5 identity_matrix5() {
    Matrix5 m{};
    for (int i = 0; i < 5; ++i) m[6 * i] = 1.0;
    return m;
}

constexpr Matrix4 identity_matrix4() {
    Matrix4 m{};
    for (int i = 0; i < 4; ++i) m[5 * i] = 1.0;
    return m;
}

// "Zero" throughout the geometry: a square below this.
constexpr double kZeroSquared = 1e-19;

}  // namespace fourview
