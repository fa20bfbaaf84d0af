#include "models/samplers.h"

#include <cmath>

#include "models/surface_grid.h"

namespace fourview {

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kTwoPi = 6.283185307179586;

// scale * frac(k), as (k - 1) * scale / (n - 3): the product first, so that
// the angles land on the same doubles however the range is scaled.
double scaled(int k, int n, double scale) { return (k - 1) * scale / (n - 3); }

Point4 (&grid())[kGridMax][kGridMax] { return surface_grid.samples; }

// At least one drawn cell, and no more than the grid holds.
bool fits_grid(int n) { return n >= 4 && n <= kGridMax; }

}  // namespace

void fill_cylinder(int n) {
    if (!fits_grid(n)) return;
    for (int r = 0; r < n; ++r) {
        const double h = sample_fraction(r, n) - 0.5;
        for (int c = 0; c < n; ++c) {
            const double theta = scaled(c, n, kTwoPi);
            grid()[r][c] = Point4{std::cos(theta), std::sin(theta), h, 0};
        }
    }
}

void fill_moebius_strip(int n) {
    if (!fits_grid(n)) return;
    for (int r = 0; r < n; ++r) {
        const double phi = scaled(r, n, kTwoPi);
        for (int c = 0; c < n; ++c) {
            const double v = sample_fraction(c, n) - 0.5;
            const double radius = 1 + v * std::cos(phi / 2);
            grid()[r][c] =
                Point4{radius * std::cos(phi), radius * std::sin(phi), v * std::sin(phi / 2), 0};
        }
    }
}

void fill_sphere(int n) {
    if (!fits_grid(n)) return;
    for (int r = 0; r < n; ++r) {
        const double theta = scaled(r, n, kTwoPi);
        const double ct = std::cos(theta), st = std::sin(theta);
        for (int c = 0; c < n; ++c) {
            const double phi = scaled(c, n, kPi);
            grid()[r][c] = Point4{std::cos(phi) * ct, std::sin(phi) * ct, st, 0};
        }
    }
}

void fill_torus(int n) {
    if (!fits_grid(n)) return;
    for (int r = 0; r < n; ++r) {
        const double theta = scaled(r, n, kTwoPi);
        const double ring = std::cos(theta) + 2;
        for (int c = 0; c < n; ++c) {
            const double phi = scaled(c, n, kTwoPi);
            grid()[r][c] = Point4{std::cos(phi) * ring, std::sin(phi) * ring, std::sin(theta), 0};
        }
    }
}

void fill_klein_bottle_1(int n) {
    if (!fits_grid(n)) return;
    const double minus_one_36th = -0.027777777777777776;
    const double one_18th = 0.05555555555555555;
    for (int r = 0; r < n; ++r) {
        const double s = scaled(r, n, kTwoPi);
        const double cs = std::cos(s), ss = std::sin(s);
        for (int c = 0; c < n; ++c) {
            const double t = scaled(c, n, kPi);
            const double ct = std::cos(t), st = std::sin(t);
            const double k = 3 * std::sin(2 * t) + 4;
            const double a = (4 * ct * ct - 3) * k * ct * minus_one_36th;
            const double b = st * k * one_18th;
            grid()[r][c] = Point4{std::sqrt(a * a + b * b) * ss, b * cs - st * ct * ct * ct,
                                  a * cs + ct * ct, 0};
        }
    }
}

void fill_klein_bottle_2(int n) {
    if (!fits_grid(n)) return;
    Point4(&g)[kGridMax][kGridMax] = grid();
    for (int r = 0; r < n; ++r) {
        // Both parameters wrap at the end of their range, so the last two
        // rows restart at s = 0; they are replaced by the seam below.
        double p = static_cast<double>(r - 1) / (n - 3);
        if (p >= 1) p -= 1;
        const double s = p * kTwoPi;
        const double cs = std::cos(s), ss = std::sin(s);
        const double radius = 4 * (1 - 0.5 * cs);
        const bool second_half = s >= kPi && s < kTwoPi;
        for (int c = 0; c < n; ++c) {
            double q = static_cast<double>(c - 1) / (n - 3);
            if (q >= 1) q -= 1;
            const double t = q * kTwoPi;
            const double z = radius * std::sin(t);
            if (second_half)
                g[r][c] = Point4{radius * std::cos(t + kPi) + 6 * cs * (1 + ss), 16 * ss, z, 0};
            else
                g[r][c] = Point4{cs * (6 * (1 + ss) + radius * std::cos(t)),
                                 ss * (radius * std::cos(t) + 16), z, 0};
        }
    }
    // Seam: the tube's end joins its start mirrored, the point at (2 pi, t)
    // being the point at (0, pi - t); copy rows 1 and 2 with mirrored columns.
    const int h = (n - 1) / 2;
    for (int j = 0; j < n; ++j) {
        const int from = j < h ? h + 1 - j : n - 2 + h - j;
        g[n - 2][j] = g[1][from];
        g[n - 1][j] = g[2][from];
    }
}

void fill_two_moebius_strips(int n) {
    if (!fits_grid(n)) return;
    for (int r = 0; r < n; ++r) {
        const double s = scaled(r, n, kTwoPi);
        const double ch = std::cos(s / 2), sh = std::sin(s / 2);
        for (int c = 0; c < n; ++c) {
            const double t = scaled(c, n, kTwoPi);
            const double st = std::sin(t), s2t = std::sin(2 * t);
            const double q = 1 + st * ch - 0.5 * sh * s2t;
            grid()[r][c] = Point4{q * std::cos(s), q * std::sin(s), sh * st + 0.5 * ch * s2t, 0};
        }
    }
}

void fill_klein_bottle_4d(int n) {
    if (!fits_grid(n)) return;
    for (int r = 0; r < n; ++r) {
        const double t = scaled(r, n, kTwoPi);
        const double ct = std::cos(t), st = std::sin(t);
        for (int c = 0; c < n; ++c) {
            const double s = scaled(c, n, kTwoPi);
            grid()[r][c] = Point4{std::cos(s) * (ct + 2), std::sin(s) * (ct + 2),
                                  std::cos(s / 2) * st, std::sin(s / 2) * st};
        }
    }
}

}  // namespace fourview
