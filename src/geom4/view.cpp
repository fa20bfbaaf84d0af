#include "geom4/view.h"

#include <array>
#include <cmath>

#include "app/app_state.h"
#include "geom4/projection.h"
#include "geom4/transform.h"

namespace fourview {

namespace {

constexpr double kRadiansPerDegree = 0.017453292519943295;
constexpr double kZoomPerPixel = 0.0005;

// A quarter turn about a coordinate axis (0 X, 1 Y, 2 Z), +1 or -1 of them,
// column-major, in single precision as GL keeps its matrices: the cosine of
// 90 degrees is then -4.4e-8, not 0, and the views from Y and Z carry it.
using Matrix4f = std::array<float, 16>;

Matrix4f quarter_turn(int axis, int sign) {
    const float angle = 90.0f * sign;
    const float s = std::sin(static_cast<float>(angle * kRadiansPerDegree));
    const float c = std::cos(static_cast<float>(angle * kRadiansPerDegree));
    Matrix4f m{};
    for (int i = 0; i < 4; ++i) m[5 * i] = 1;
    const int a = (axis + 1) % 3, b = (axis + 2) % 3;
    m[5 * a] = c;
    m[5 * b] = c;
    m[4 * a + b] = s;   // column a, row b
    m[4 * b + a] = -s;  // column b, row a
    return m;
}

// first, then second, as two glRotated calls leave the modelview matrix.
Matrix4 gl_product(const Matrix4f& first, const Matrix4f& second) {
    Matrix4 r;
    for (int col = 0; col < 4; ++col)
        for (int row = 0; row < 4; ++row) {
            float sum = 0;
            for (int k = 0; k < 4; ++k) sum += first[4 * k + row] * second[4 * col + k];
            r[4 * col + row] = sum;
        }
    return r;
}

}  // namespace

Matrix5 step_matrix_for(int request, int angle_degrees) {
    Matrix5 m = identity_matrix5();
    if (request < 1 || request > 12) return m;
    // Negated as a double: in int, -INT_MIN overflows and the reverse step
    // would turn the same way as the forward one.
    const double degrees = angle_degrees;
    const double theta = (request % 2 == 1 ? degrees : -degrees) * kRadiansPerDegree;
    const double c = std::cos(theta), s = std::sin(theta);
    const RotationPlane& plane = RotationPlanes[(request - 1) / 2];
    const int a = plane.first, b = plane.second;
    // Every plane (a, b), a < b, gets (a,a) = (b,b) = c, (a,b) = -s, (b,a) = s.
    m[5 * a + a] = c;
    m[5 * a + b] = -s;
    m[5 * b + a] = s;
    m[5 * b + b] = c;
    return m;
}

Matrix4 view_direction_matrix(int direction) {
    if (direction == 1) return gl_product(quarter_turn(2, -1), quarter_turn(1, -1));
    if (direction == 2) return gl_product(quarter_turn(2, 1), quarter_turn(0, 1));
    return identity_matrix4();
}

Matrix4 dragged_view(const Matrix4& view, int dx, int dy) {
    const double v = dy * kRadiansPerDegree;
    const double h = dx * kRadiansPerDegree;
    Matrix4 vertical{};  // about +Y
    vertical[0] = std::cos(v);
    vertical[2] = -std::sin(v);
    vertical[5] = 1;
    vertical[8] = std::sin(v);
    vertical[10] = std::cos(v);
    vertical[15] = 1;
    Matrix4 horizontal{};  // about +Z
    horizontal[0] = std::cos(h);
    horizontal[1] = std::sin(h);
    horizontal[4] = -std::sin(h);
    horizontal[5] = std::cos(h);
    horizontal[10] = 1;
    horizontal[15] = 1;
    // view <- S * view in OpenGL's column-major sense, which in the
    // row-of-four indexing of multiply_matrix4 is view * S.
    return multiply_matrix4(multiply_matrix4(view, vertical), horizontal);
}

double zoom_drag_factor(int up_pixels, double zoom) {
    return 1.0 - up_pixels * kZoomPerPixel / zoom;
}

void reset_view_state() {
    app.view_matrix = view_direction_matrix(app.view_direction);
    reset_transform();
    app.section_offset = 0.0;
    app.eye = {200.0, 0.0, 0.0};
    app.zoom = default_zoom(app.model_id);
}

int projection_after(int command, int mode, int flat) {
    if (command == 61)
        return mode == kProjectionStereographic ? flat
               : mode == kProjectionParallel    ? kProjectionPerspective
                                                : kProjectionParallel;
    // 63: kCommandStereographic of ui/key_table.h.
    if (command == 63) return mode == kProjectionStereographic ? flat : kProjectionStereographic;
    if (command >= kProjectionParallel && command <= kProjectionStereographic) return command;
    return mode;
}

bool graph_centre_image(Point3& q) {
    q = project_point(transform_point4(app.base_transform, app.graph_center));
    return std::isfinite(q.x) && std::isfinite(q.y) && std::isfinite(q.z);
}

bool usable_range(double low, double high) {
    // Written so that NaN fails: a NaN or infinite bound, or a width that
    // overflows, would make every sample of the user graph NaN.
    return std::isfinite(low) && std::isfinite(high) && low < high && std::isfinite(high - low);
}

bool usable_normal(double a, double b, double c, double d) {
    // All four 0 is no hyperplane. So, for the view's alignment, is a normal
    // whose squared length underflows to 0 (every coefficient below about
    // 1e-154) or overflows: the transform would be NaN and nothing drawn.
    const double squared = a * a + b * b + c * c + d * d;
    return squared > 0.0 && std::isfinite(squared);
}

}  // namespace fourview
