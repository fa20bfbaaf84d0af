// Arithmetic of points and directions of the projected scene, for the code
// that builds shapes from them.
#pragma once

#include <cmath>

#include "geom4/types.h"

namespace fourview {

inline Point3 plus(const Point3& a, const Point3& b) { return Point3{a.x + b.x, a.y + b.y, a.z + b.z}; }

inline Point3 minus(const Point3& a, const Point3& b) { return Point3{a.x - b.x, a.y - b.y, a.z - b.z}; }

inline Point3 scaled(const Point3& a, double s) { return Point3{a.x * s, a.y * s, a.z * s}; }

inline double dot(const Point3& a, const Point3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

inline double distance(const Point3& a, const Point3& b) {
    const Point3 d = minus(a, b);
    return std::sqrt(dot(d, d));
}

inline Point3 cross(const Point3& a, const Point3& b) {
    return Point3{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// Whether p is one of points[0..count-1], to a billionth: the balls at the
// ends of a cut's tubes, which the faces round an edge share, are drawn once.
inline bool among(const Point3* points, int count, const Point3& p) {
    for (int k = 0; k < count; ++k) {
        const Point3 d = minus(points[k], p);
        if (dot(d, d) < 1e-18) return true;
    }
    return false;
}

// v scaled to length 1; false (and v kept) when its length is 0 or not
// finite. The one test of a direction that can be made unit: the tubes, the
// patches and the exported normals all use it.
inline bool normalise(Point3& v) {
    const double l = std::sqrt(dot(v, v));
    if (!(l > 0) || !std::isfinite(l)) return false;
    v = Point3{v.x / l, v.y / l, v.z / l};
    return true;
}

// v scaled to length 1, or the zero vector when it cannot be.
inline Point3 unit(const Point3& v) {
    Point3 u = v;
    return normalise(u) ? u : Point3{};
}

// v scaled to length 1, or `otherwise` when it cannot be.
inline Point3 unit_or(const Point3& v, const Point3& otherwise) {
    Point3 u = v;
    return normalise(u) ? u : otherwise;
}

}  // namespace fourview
