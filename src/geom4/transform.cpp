#include "geom4/transform.h"

#include <cmath>

#include "app/app_state.h"

namespace fourview {

Point4 transform_point4(const Matrix5& m, const Point4& p) {
    const double in[4] = {p.x, p.y, p.z, p.w};
    double out[4];
    for (int i = 0; i < 4; ++i) {
        const double* row = &m[5 * i];
        out[i] = row[0] * in[0] + row[1] * in[1] + row[2] * in[2] + row[3] * in[3] + row[4];
    }
    return Point4{out[0], out[1], out[2], out[3]};
}

Matrix5 multiply_matrix5(const Matrix5& a, const Matrix5& b) {
    Matrix5 r;
    for (int row = 0; row < 5; ++row)
        for (int col = 0; col < 5; ++col) {
            double sum = 0.0;
            for (int k = 0; k < 5; ++k) sum += a[5 * row + k] * b[5 * k + col];
            r[5 * row + col] = sum;
        }
    return r;
}

Matrix4 multiply_matrix4(const Matrix4& a, const Matrix4& b) {
    Matrix4 r;
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 4; ++col) {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k) sum += a[4 * row + k] * b[4 * k + col];
            r[4 * row + col] = sum;
        }
    return r;
}

Point3 apply_matrix4(const Matrix4& m, const Point3& v) {
    Point3 r;
    r.x = m[0] * v.x + m[1] * v.y + m[2] * v.z + m[3];
    r.y = m[4] * v.x + m[5] * v.y + m[6] * v.z + m[7];
    r.z = m[8] * v.x + m[9] * v.y + m[10] * v.z + m[11];
    return r;
}

namespace {

// Determinant of the 3x3 minor of the 4x4 block of m without row `skip_row`
// and column `skip_col`.
double minor3(const Matrix5& m, int skip_row, int skip_col) {
    double e[9];
    int n = 0;
    for (int r = 0; r < 4; ++r) {
        if (r == skip_row) continue;
        for (int c = 0; c < 4; ++c) {
            if (c == skip_col) continue;
            e[n++] = m[5 * r + c];
        }
    }
    return e[0] * (e[4] * e[8] - e[5] * e[7]) - e[1] * (e[3] * e[8] - e[5] * e[6]) +
           e[2] * (e[3] * e[7] - e[4] * e[6]);
}

}  // namespace

bool invert_matrix5(const Matrix5& m, Matrix5& out) {
    double cof[4][4];
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) cof[i][j] = (((i + j) & 1) ? -1.0 : 1.0) * minor3(m, i, j);
    double det = 0.0;
    for (int j = 0; j < 4; ++j) det += m[j] * cof[0][j];
    if (det == 0.0) return false;
    Matrix5 r{};
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) r[5 * i + j] = cof[j][i] / det;
    r[24] = 1.0;
    out = r;
    return true;
}

Matrix5 hyperplane_orientation(double a, double b, double c, double d) {
    const double len = std::sqrt(a * a + b * b + c * c + d * d);
    const double nx = a / len, ny = b / len, nz = c / len, nw = d / len;
    double cw = nw;
    // Rounding can push nw^2 past 1; the root of a negative would be NaN.
    double sw = std::sqrt(std::fmax(0.0, 1.0 - cw * cw));
    double cx, m, p, q;
    if (sw * sw < kZeroSquared) {
        // The normal is the W axis itself (either way): turn nothing but w.
        sw = 0.0;
        cw = nw > 0 ? 1.0 : -1.0;
        cx = 1.0;
        m = 0.0;
        p = 1.0;
        q = 0.0;
    } else {
        cx = -nx / sw;
        // m = sqrt(1 - cx^2), taken from the y and z parts themselves: for a
        // normal in the XW plane 1 - cx^2 is pure rounding noise (even
        // negative), and p = q = 0 from it would flatten the matrix.
        const double yz = std::sqrt(ny * ny + nz * nz);
        m = yz / sw;
        if (m * m < kZeroSquared) {
            m = 0.0;
            cx = cx > 0 ? 1.0 : -1.0;
            p = 1.0;
            q = 0.0;
        } else {
            p = -ny / yz;
            q = -nz / yz;
        }
    }
    return Matrix5{cx * cw,     -m,     0.0, -cx * sw,     0.0,
                   p * m * cw,  p * cx, -q,  -p * m * sw,  0.0,
                   q * m * cw,  q * cx, p,   -q * m * sw,  0.0,
                   sw,          0.0,    0.0, cw,           0.0,
                   0.0,         0.0,    0.0, 0.0,          1.0};
}

Matrix4 direction_frame(const Point3& d) {
    const double len = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
    const double cz = d.z / len;
    const double sz = std::sqrt(1.0 - cz * cz);
    if (!(sz > 0.0)) return identity_matrix4();
    const double px = -d.x / (len * sz);
    const double py = -d.y / (len * sz);
    return Matrix4{px * cz, -py, -px * sz, 0.0,
                   py * cz, px,  -py * sz, 0.0,
                   sz,      0.0, cz,       0.0,
                   0.0,     0.0, 0.0,      1.0};
}

double plane_distance(double v) {
    const auto& h = app.hyperplane;
    return std::fabs(v) / std::sqrt(h[0] * h[0] + h[1] * h[1] + h[2] * h[2] + h[3] * h[3]);
}

void reset_transform() {
    const auto& h = app.hyperplane;
    Matrix5 t = identity_matrix5();
    // Signed distance of the hyperplane from the origin, negated, as the
    // translation of w: afterwards the transformed w of a point is its
    // signed distance from the typed hyperplane.
    const double dist = plane_distance(h[4]);
    t[5 * 3 + 4] = h[4] < 0 ? dist : -dist;
    Matrix5 orient = hyperplane_orientation(h[0], h[1], h[2], h[3]);
    invert_matrix5(orient, orient);  // a rotation: never singular
    app.transform = multiply_matrix5(t, orient);
    app.base_transform = app.transform;
}

}  // namespace fourview
