// How far a polyline is from lying on one circle (or one line) of 3-space:
// the circle through its first, middle and last points, and the largest
// distance of any point from it (off its plane, or off its radius).
#pragma once

#include <algorithm>
#include <cmath>
#include <vector>

#include "geom4/types.h"

namespace fourview {
namespace testing {

inline Point3 sub(const Point3& a, const Point3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline double dot(const Point3& a, const Point3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Point3 cross(const Point3& a, const Point3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

inline double arc_residual(const std::vector<Point3>& p) {
    const Point3& a = p.front();
    const Point3& b = p[p.size() / 2];
    const Point3& c = p.back();
    const Point3 u = sub(b, a), v = sub(c, a), n = cross(u, v);
    const double nn = dot(n, n);
    double worst = 0;
    if (nn < 1e-24 * dot(v, v) * dot(v, v)) {  // a straight line through a and c
        const double vv = dot(v, v);
        for (const Point3& q : p) {
            const Point3 d = sub(q, a);
            const Point3 off = cross(d, v);
            worst = std::max(worst, std::sqrt(dot(off, off) / vv));
        }
        return worst;
    }
    // Circumcentre a + (|u|^2 (v x n) + |v|^2 (n x u)) / (2 |n|^2).
    const Point3 s = cross(v, n), t = cross(n, u);
    const double uu = dot(u, u), vv = dot(v, v);
    const Point3 centre{a.x + (uu * s.x + vv * t.x) / (2 * nn), a.y + (uu * s.y + vv * t.y) / (2 * nn),
                        a.z + (uu * s.z + vv * t.z) / (2 * nn)};
    const double radius = std::sqrt(dot(sub(a, centre), sub(a, centre)));
    const double nl = std::sqrt(nn);
    for (const Point3& q : p) {
        const Point3 d = sub(q, centre);
        worst = std::max(worst, std::fabs(dot(d, n)) / nl);
        worst = std::max(worst, std::fabs(std::sqrt(dot(d, d)) - radius));
    }
    return worst;
}

}  // namespace testing
}  // namespace fourview
