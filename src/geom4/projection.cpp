#include "geom4/projection.h"

#include <cmath>

#include "app/app_state.h"
#include "geom4/stereo.h"

namespace fourview {

Point4 model_centre() {
    const Matrix5& m = app.transform;
    return Point4{m[4], m[9], m[14], m[19]};
}

double turned_w(const Point4& p) { return p.w - app.transform[19]; }

Point3 project_point(const Point4& p) {
    if (app.projection_mode == kProjectionParallel) return Point3{p.x, p.y, p.z};
    if (app.projection_mode == kProjectionStereographic) {
        // About the image of the model's own origin, so that the shift of a
        // typed hyperplane moves the cut, not the sphere under the model.
        const Point4 c = model_centre();
        const Point4 d{p.x - c.x, p.y - c.y, p.z - c.z, p.w - c.w};
        if (app.push_onto_sphere == 1) {
            // Pushed onto the sphere (d R / |d|) and projected (times R / (R - w)) in
            // one step: d R / (|d| - d.w), one root and one division per point.
            const double length = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z + d.w * d.w);
            if (length * length > kZeroSquared) {
                const double f = app.model_radius / (length - d.w);
                return Point3{d.x * f + c.x, d.y * f + c.y, d.z * f + c.z};
            }
        }
        const Point3 q = stereographic(d, app.model_radius);
        return Point3{q.x + c.x, q.y + c.y, q.z + c.z};
    }
    const double d = p.w - 2.0;
    return Point3{(p.x / d) * -2.0, (p.y / d) * -2.0, (p.z / d) * -2.0};
}

namespace {

// Written so that a NaN difference fails both comparisons and ends up
// broken: a vertex at w = 2 with a zero coordinate projects to 0/0, and it
// must never reach GL.
int classify(const double* d, int n) {
    bool all_zero = true;
    bool all_near = true;
    for (int i = 0; i < n; ++i) {
        const double a = std::fabs(d[i]);
        if (!(a < kZeroSquared)) all_zero = false;
        if (!(a < app.infinity)) all_near = false;
    }
    if (all_zero) return 0;
    return all_near ? 1 : 2;
}

}  // namespace

int classify_edge3(const Point3& a, const Point3& b) {
    const double d[3] = {b.x - a.x, b.y - a.y, b.z - a.z};
    return classify(d, 3);
}

int classify_edge4(const Point4& a, const Point4& b) {
    const double d[4] = {b.x - a.x, b.y - a.y, b.z - a.z, b.w - a.w};
    return classify(d, 4);
}

}  // namespace fourview
