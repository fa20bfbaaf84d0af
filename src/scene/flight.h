// Flights: the scenes between two scenes. The 4D orientation moves along a
// geodesic of SO(4), written as the pair of unit quaternions (l, r) of
// p -> l p r: each factor turns at a constant rate about a fixed axis, and
// left and right multiplication commute, so the path is R0 exp(tX) — no
// jump and no change of speed. Pure: no GL.
#pragma once

#include <array>

#include "geom4/types.h"
#include "scene/scene.h"

namespace fourview {

using Quaternion = std::array<double, 4>;  // w + xi + yj + zk as (w, x, y, z)

// The pair with m = (p -> l p r), reading a point (x, y, z, w) of 4-space as
// the quaternion x + yi + zj + wk. The pair is fixed up to the sign of both.
void rotation_to_quaternions(const Matrix4& m, Quaternion& l, Quaternion& r);
Matrix4 quaternions_to_rotation(const Quaternion& l, const Quaternion& r);

// The rotation a fraction t (0 to 1) of the way from `from` to `to` along
// the shortest geodesic; t = 0 gives `from` exactly, t = 1 `to` up to
// rounding.
Matrix4 rotation_between(const Matrix4& from, const Matrix4& to, double t);

// The length of that geodesic: sqrt(a^2 + b^2) for the two angles a, b of
// from^T to (radians).
double rotation_distance(const Matrix4& from, const Matrix4& to);

// The scene a fraction t of the way from `a` to `b`: orientation and 3D
// view along their geodesics, translation, section offset and range-free
// values linearly, zoom geometrically; everything else from `a`.
Scene scene_between(const Scene& a, const Scene& b, double t);

}  // namespace fourview
