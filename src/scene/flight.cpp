#include "scene/flight.h"

#include <cmath>

#include "geom4/transform.h"

namespace fourview {

namespace {

Quaternion multiply(const Quaternion& a, const Quaternion& b) {
    return {a[0] * b[0] - a[1] * b[1] - a[2] * b[2] - a[3] * b[3],
            a[0] * b[1] + a[1] * b[0] + a[2] * b[3] - a[3] * b[2],
            a[0] * b[2] - a[1] * b[3] + a[2] * b[0] + a[3] * b[1],
            a[0] * b[3] + a[1] * b[2] - a[2] * b[1] + a[3] * b[0]};
}

Quaternion conjugate(const Quaternion& q) { return {q[0], -q[1], -q[2], -q[3]}; }

Quaternion column(const Matrix4& m, int c) { return {m[c], m[4 + c], m[8 + c], m[12 + c]}; }

Quaternion unit(Quaternion q) {
    const double n = std::sqrt(q[0] * q[0] + q[1] * q[1] + q[2] * q[2] + q[3] * q[3]);
    for (double& v : q) v /= n;
    return q;
}

// The angle of q from 1 (0 to pi) and its unit axis; the identity has none.
double half_angle(const Quaternion& q, std::array<double, 3>& axis) {
    const double s = std::sqrt(q[1] * q[1] + q[2] * q[2] + q[3] * q[3]);
    axis = {0.0, 0.0, 0.0};
    if (s > 0) axis = {q[1] / s, q[2] / s, q[3] / s};
    return std::atan2(s, q[0]);
}

Quaternion power(const Quaternion& q, double t) {
    std::array<double, 3> axis{};
    const double a = half_angle(q, axis) * t;
    const double s = std::sin(a);
    return {std::cos(a), axis[0] * s, axis[1] * s, axis[2] * s};
}

Matrix4 transpose_times(const Matrix4& a, const Matrix4& b) {
    Matrix4 m{};
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            for (int k = 0; k < 4; ++k) m[4 * i + j] += a[4 * k + i] * b[4 * k + j];
    return m;
}

// The pair of the step from^T to, signed for the shorter way round.
void step_pair(const Matrix4& from, const Matrix4& to, Quaternion& l, Quaternion& r) {
    rotation_to_quaternions(transpose_times(from, to), l, r);
    // (l, r) and (-l, -r) are the same rotation but two ways there; the
    // geodesic's length grows with the sum of the squared half-angles.
    std::array<double, 3> axis{};
    const double a = half_angle(l, axis), b = half_angle(r, axis);
    const double pi = 3.141592653589793;
    if ((pi - a) * (pi - a) + (pi - b) * (pi - b) < a * a + b * b) {
        for (double& v : l) v = -v;
        for (double& v : r) v = -v;
    }
}

}  // namespace

void rotation_to_quaternions(const Matrix4& m, Quaternion& l, Quaternion& r) {
    // m(1) = l r, and m(u) conj(m(1)) = l u conj(l): the 3D rotation of l,
    // whose quaternion follows by Shepperd's method.
    const Quaternion image_of_one = unit(column(m, 0));
    double k[3][3];  // k[i][j]: component i of the image of unit j (i, j, k)
    for (int j = 0; j < 3; ++j) {
        const Quaternion v = multiply(column(m, j + 1), conjugate(image_of_one));
        for (int i = 0; i < 3; ++i) k[i][j] = v[i + 1];
    }
    const double trace = k[0][0] + k[1][1] + k[2][2];
    Quaternion q{};
    if (trace >= k[0][0] && trace >= k[1][1] && trace >= k[2][2]) {
        const double s = std::sqrt(1.0 + trace) * 2;
        q = {s / 4, (k[2][1] - k[1][2]) / s, (k[0][2] - k[2][0]) / s, (k[1][0] - k[0][1]) / s};
    } else if (k[0][0] >= k[1][1] && k[0][0] >= k[2][2]) {
        const double s = std::sqrt(1.0 + k[0][0] - k[1][1] - k[2][2]) * 2;
        q = {(k[2][1] - k[1][2]) / s, s / 4, (k[0][1] + k[1][0]) / s, (k[0][2] + k[2][0]) / s};
    } else if (k[1][1] >= k[2][2]) {
        const double s = std::sqrt(1.0 + k[1][1] - k[0][0] - k[2][2]) * 2;
        q = {(k[0][2] - k[2][0]) / s, (k[0][1] + k[1][0]) / s, s / 4, (k[1][2] + k[2][1]) / s};
    } else {
        const double s = std::sqrt(1.0 + k[2][2] - k[0][0] - k[1][1]) * 2;
        q = {(k[1][0] - k[0][1]) / s, (k[0][2] + k[2][0]) / s, (k[1][2] + k[2][1]) / s, s / 4};
    }
    l = unit(q);
    r = unit(multiply(conjugate(l), image_of_one));
}

Matrix4 quaternions_to_rotation(const Quaternion& l, const Quaternion& r) {
    Matrix4 m{};
    for (int c = 0; c < 4; ++c) {
        Quaternion e{};
        e[c] = 1.0;
        const Quaternion image = multiply(multiply(l, e), r);
        for (int i = 0; i < 4; ++i) m[4 * i + c] = image[i];
    }
    return m;
}

Matrix4 rotation_between(const Matrix4& from, const Matrix4& to, double t) {
    // A flight from a view to itself stays still to the bit.
    if (t == 0.0 || from == to) return from;
    Quaternion l{}, r{};
    step_pair(from, to, l, r);
    return multiply_matrix4(from, quaternions_to_rotation(power(l, t), power(r, t)));
}

double rotation_distance(const Matrix4& from, const Matrix4& to) {
    Quaternion l{}, r{};
    step_pair(from, to, l, r);
    std::array<double, 3> axis{};
    const double a = half_angle(l, axis), b = half_angle(r, axis);
    // The two angles of p -> l p r are a + b and |a - b|.
    return std::sqrt((a + b) * (a + b) + (a - b) * (a - b));
}

Scene scene_between(const Scene& a, const Scene& b, double t) {
    Scene s = a;
    if (t == 0.0) return s;
    s.rotation = rotation_between(a.rotation, b.rotation, t);
    for (int i = 0; i < 4; ++i)
        s.translation[i] = a.translation[i] + t * (b.translation[i] - a.translation[i]);
    s.section_offset = a.section_offset + t * (b.section_offset - a.section_offset);
    // Equal steps of the picture's scale, whatever the two zooms.
    s.zoom = a.zoom * std::pow(b.zoom / a.zoom, t);
    // The view matrix is column-major; its transpose turns the same way.
    s.view_matrix = rotation_between(a.view_matrix, b.view_matrix, t);
    return s;
}

}  // namespace fourview
