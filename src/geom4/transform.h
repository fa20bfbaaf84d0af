// Products and transforms over Point4 / Matrix5 / Matrix4. Every operation
// computes into a temporary, so a result may share storage with an input.
#pragma once

#include "geom4/types.h"

namespace fourview {

// p' = m * (p, 1); row 4 of m is never read.
Point4 transform_point4(const Matrix5& m, const Point4& p);

Matrix5 multiply_matrix5(const Matrix5& a, const Matrix5& b);
Matrix4 multiply_matrix4(const Matrix4& a, const Matrix4& b);

// v'_i = m[4i]x + m[4i+1]y + m[4i+2]z + m[4i+3], i = 0..2.
Point3 apply_matrix4(const Matrix4& m, const Point3& v);

// Inverts the upper-left 4x4 block by cofactors. On a zero determinant
// `out` is left untouched and false is returned.
bool invert_matrix5(const Matrix5& m, Matrix5& out);

// A rotation whose fourth column is the unit normal (a, b, c, d)/L: it carries
// the W axis onto the normal. The normal must not be zero.
Matrix5 hyperplane_orientation(double a, double b, double c, double d);

// A rotation of 3-space (rows of four) whose third column is D/|D|.
Matrix4 direction_frame(const Point3& direction);

// |v| / sqrt(a^2 + b^2 + c^2 + d^2) for the current hyperplane.
double plane_distance(double v);

// Carries the current hyperplane onto w = 0 of the transformed space:
// rewrites app.transform and app.base_transform.
void reset_transform();

}  // namespace fourview
