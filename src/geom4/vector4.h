// Arithmetic of points of four-dimensional space, for the code that builds
// and cuts polytopes. One home: the polytope builders, the uniform
// construction and their tests read these and keep no copies.
#pragma once

#include <cmath>

#include "geom4/types.h"

namespace fourview {

inline Point4 plus(const Point4& a, const Point4& b) { return {a.x + b.x, a.y + b.y, a.z + b.z, a.w + b.w}; }
inline Point4 minus(const Point4& a, const Point4& b) { return {a.x - b.x, a.y - b.y, a.z - b.z, a.w - b.w}; }
inline Point4 scaled(const Point4& a, double s) { return {a.x * s, a.y * s, a.z * s, a.w * s}; }
inline double dot(const Point4& a, const Point4& b) { return a.x * b.x + a.y * b.y + a.z * b.z + a.w * b.w; }
inline double distance2(const Point4& a, const Point4& b) {
    const Point4 d = minus(a, b);
    return dot(d, d);
}
inline double distance(const Point4& a, const Point4& b) { return std::sqrt(distance2(a, b)); }

// v scaled to length 1; false (and v kept) when its square is "zero".
inline bool unit(Point4& v) {
    const double length2 = dot(v, v);
    if (!(length2 > kZeroSquared)) return false;
    v = scaled(v, 1 / std::sqrt(length2));
    return true;
}

// Coordinate i (0 x .. 3 w) of p.
inline double& coordinate(Point4& p, int i) { return (&p.x)[i]; }
inline double coordinate(const Point4& p, int i) { return (&p.x)[i]; }

}  // namespace fourview
