#include "geom4/stereo.h"

#include <cmath>

namespace fourview {

namespace {

// Three stops of a diverging scale, chosen to stay apart under the lights:
// the blue and the orange differ in hue, and the neutral is light enough
// for either to stand out from it.
constexpr Colour kBlue{0.13f, 0.33f, 0.85f};
constexpr Colour kNeutral{0.88f, 0.87f, 0.84f};
constexpr Colour kOrange{0.96f, 0.52f, 0.08f};

Colour mix(const Colour& a, const Colour& b, float t) {
    return Colour{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Point4 lerp(const Point4& a, const Point4& b, double t) {
    return Point4{a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t, a.z + (b.z - a.z) * t,
                  a.w + (b.w - a.w) * t};
}

}  // namespace

Point4 onto_sphere(const Point4& p, double radius) {
    const double length = std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z + p.w * p.w);
    if (!(length * length > kZeroSquared)) return p;
    const double f = radius / length;
    return Point4{p.x * f, p.y * f, p.z * f, p.w * f};
}

Point3 stereographic(const Point4& p, double radius) {
    const double f = radius / (radius - p.w);
    return Point3{p.x * f, p.y * f, p.z * f};
}

Point4 edge_point(const Point4& a, const Point4& b, int k, int n) {
    if (k == n) return b;
    return lerp(a, b, static_cast<double>(k) / n);
}

Point4 patch_point(const Point4& a, const Point4& b, const Point4& c, int i, int j, int d) {
    if (i == d) return b;
    if (j == 0) return edge_point(a, b, i, d);
    if (j == d - i) return edge_point(c, b, i, d);
    return lerp(edge_point(a, b, i, d), edge_point(c, b, i, d), static_cast<double>(j) / (d - i));
}

double farthest_radius(const Point4* points, int count) {
    double best = 0;
    for (int k = 0; k < count; ++k) {
        const Point4& p = points[k];
        const double s = p.x * p.x + p.y * p.y + p.z * p.z + p.w * p.w;
        if (std::isfinite(s) && s > best) best = s;
    }
    return std::sqrt(best);
}

Colour w_colour(double w, double radius, float gain) {
    double t = radius > 0 ? w / radius : 0;
    if (!(t > -1)) t = -1;  // also a NaN
    if (t > 1) t = 1;
    const Colour c = t < 0 ? mix(kNeutral, kBlue, static_cast<float>(-t))
                           : mix(kNeutral, kOrange, static_cast<float>(t));
    return Colour{c.r * gain, c.g * gain, c.b * gain};
}

float w_scale_position(const Colour& c) {
    // Red falls from the neutral to the blue and rises a little to the
    // orange; blue falls far to the orange: each side read where it moves
    // most.
    if (c.r < kNeutral.r) return -(kNeutral.r - c.r) / (kNeutral.r - kBlue.r);
    return (kNeutral.b - c.b) / (kNeutral.b - kOrange.b);
}

}  // namespace fourview
