#include "models/normals.h"

#include <cmath>

#include "app/app_state.h"
#include "draw/geometry_sink.h"
#include "geom4/transform.h"
#include "geom4/vector3.h"

namespace fourview {

namespace {

// Corners whose cross product is this small against the product of the edge
// lengths (an angle below 1e-10 radians) are collinear up to rounding.
constexpr double kCollinearSine2 = 1e-20;


}  // namespace

Point3 camera_in_scene() { return apply_matrix4(app.view_matrix, Point3{200, 0, 0}); }

bool try_triangle_normal(const Point3& a, const Point3& b, const Point3& c, const Point3& camera,
                         Point3& n) {
    const Point3 u{b.x - a.x, b.y - a.y, b.z - a.z};
    const Point3 v{c.x - a.x, c.y - a.y, c.z - a.z};
    Point3 m{u.y * v.z - u.z * v.y, u.z * v.x - u.x * v.z, u.x * v.y - u.y * v.x};
    const double len2 = m.x * m.x + m.y * m.y + m.z * m.z;
    const double uu = u.x * u.x + u.y * u.y + u.z * u.z;
    const double vv = v.x * v.x + v.y * v.y + v.z * v.z;
    // Written so that NaN and infinity fail too: a corner projected from
    // w = 2 must not lend its normal to anything.
    if (!(len2 > kCollinearSine2 * uu * vv) || !std::isfinite(len2) || !std::isfinite(uu * vv))
        return false;
    const double len = std::sqrt(len2);
    m = Point3{m.x / len, m.y / len, m.z / len};
    const double dx = camera.x - m.x, dy = camera.y - m.y, dz = camera.z - m.z;
    const double sx = camera.x + m.x, sy = camera.y + m.y, sz = camera.z + m.z;
    if (dx * dx + dy * dy + dz * dz > sx * sx + sy * sy + sz * sz) m = Point3{-m.x, -m.y, -m.z};
    n = m;
    return true;
}

Point3 triangle_normal(const Point3& a, const Point3& b, const Point3& c) {
    const Point3 camera = camera_in_scene();
    Point3 n;
    if (try_triangle_normal(a, b, c, camera, n)) return n;
    return unit(camera);
}

Point3 vertex_normal(const Point3& c, const Point3& right, const Point3& down, const Point3& left,
                     const Point3& up) {
    return vertex_normal_from(c, right, down, left, up, camera_in_scene());
}

Point3 vertex_normal_from(const Point3& c, const Point3& right, const Point3& down,
                          const Point3& left, const Point3& up, const Point3& camera) {
    const Point3* around[5] = {&right, &down, &left, &up, &right};
    Point3 sum;
    int count = 0;
    for (int k = 0; k < 4; ++k) {
        Point3 n;
        if (!try_triangle_normal(c, *around[k], *around[k + 1], camera, n)) continue;
        sum.x += n.x;
        sum.y += n.y;
        sum.z += n.z;
        ++count;
    }
    if (count == 0) return unit(camera);
    const double f = 1.0 / count;  // 0.25 when all four have one
    return Point3{sum.x * f, sum.y * f, sum.z * f};
}

Point3 away_from_camera() {
    const Point3 e = unit(camera_in_scene());
    return Point3{-e.x, -e.y, -e.z};
}

void flat_lit_tube(GeometrySink& sink, const Point3& p, const Point3& q, double radius) {
    constexpr int kSides = 30;
    Point3 bottom[kSides], top[kSides];
    tube_rings(p, q, radius, kSides, bottom, top);
    const Point3 first = triangle_normal(bottom[kSides - 1], bottom[0], top[0]);
    sink.begin(Primitive::kQuadStrip);
    sink.vertex(first, bottom[0]);
    sink.vertex(top[0]);
    for (int k = 0; k < kSides - 1; ++k) {
        sink.vertex(triangle_normal(bottom[k], bottom[k + 1], top[k + 1]), bottom[k + 1]);
        sink.vertex(top[k + 1]);
    }
    sink.vertex(first, bottom[0]);  // back to the first pair: the tube closes
    sink.vertex(top[0]);
    sink.end();
}

}  // namespace fourview
