// The grid samplers: what they write, where, with which formulas.
#include "models/samplers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "models/surface_grid.h"

namespace fourview {
namespace {

constexpr double kPi = 3.141592653589793;

using Filler = void (*)(int);
struct Sampler {
    const char* name;
    Filler fill;
    bool flat;  // a three-dimensional model: w = 0 everywhere
};
const Sampler kSamplers[] = {
    {"cylinder", fill_cylinder, true},
    {"moebius strip", fill_moebius_strip, true},
    {"sphere", fill_sphere, true},
    {"torus", fill_torus, true},
    {"klein bottle I", fill_klein_bottle_1, true},
    {"klein bottle II", fill_klein_bottle_2, true},
    {"two moebius strips", fill_two_moebius_strips, true},
    {"klein bottle 4d", fill_klein_bottle_4d, false},
};

void poison_grid() {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (auto& row : surface_grid.samples)
        for (Point4& p : row) p = Point4{nan, nan, nan, nan};
}

bool finite(const Point4& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z) && std::isfinite(p.w);
}

TEST(Samplers, EveryPointOfTheNByNGridIsWrittenAndNothingBeyond) {
    for (const Sampler& s : kSamplers)
        for (int n : {21, 25, 51}) {
            poison_grid();
            s.fill(n);
            int written = 0, flat = 0, outside = 0;
            for (int i = 0; i < kGridMax; ++i)
                for (int j = 0; j < kGridMax; ++j) {
                    const Point4& p = surface_grid.samples[i][j];
                    if (i < n && j < n) {
                        written += finite(p);
                        flat += p.w == 0.0;
                    } else {
                        outside += finite(p);
                    }
                }
            EXPECT_EQ(written, n * n) << s.name << " n=" << n;
            EXPECT_EQ(outside, 0) << s.name << " n=" << n;
            if (s.flat)
                EXPECT_EQ(flat, n * n) << s.name << " n=" << n;
            else
                EXPECT_LT(flat, n * n / 2) << s.name << " has a genuine fourth coordinate";
        }
}

TEST(Samplers, SizesWithoutADrawnCellOrBeyondTheGridWriteNothing) {
    for (const Sampler& s : kSamplers)
        for (int n : {0, 3, 52}) {
            poison_grid();
            s.fill(n);
            EXPECT_FALSE(finite(surface_grid.samples[0][0])) << s.name << " n=" << n;
        }
}

TEST(Samplers, FractionCoversTheRangeWithOneStepBeyondEachEnd) {
    for (int n : {25, 51}) {
        EXPECT_DOUBLE_EQ(sample_fraction(1, n), 0.0);
        EXPECT_DOUBLE_EQ(sample_fraction(n - 2, n), 1.0);
        EXPECT_DOUBLE_EQ(sample_fraction(0, n), -1.0 / (n - 3));
        EXPECT_DOUBLE_EQ(sample_fraction(n - 1, n), 1.0 + 1.0 / (n - 3));
    }
}

void expect_near(const Point4& p, double x, double y, double z, double w, const char* what) {
    EXPECT_NEAR(p.x, x, 1e-12) << what;
    EXPECT_NEAR(p.y, y, 1e-12) << what;
    EXPECT_NEAR(p.z, z, 1e-12) << what;
    EXPECT_NEAR(p.w, w, 1e-12) << what;
}

TEST(Samplers, CylinderRunsHeightByRowAndAngleByColumn) {
    const int n = 25;
    fill_cylinder(n);
    expect_near(surface_grid.samples[1][1], 1, 0, -0.5, 0, "start");
    expect_near(surface_grid.samples[n - 2][1], 1, 0, 0.5, 0, "top");
    expect_near(surface_grid.samples[0][1], 1, 0, -0.5 - 1.0 / 22, 0, "ring below");
    const double a = 6 * 2 * kPi / 22;
    expect_near(surface_grid.samples[5][7], std::cos(a), std::sin(a), 4.0 / 22 - 0.5, 0, "inside");
}

TEST(Samplers, SurfacesFollowTheirFormulas) {
    const int n = 51;
    const int r = 9, c = 30;
    const double fr = (r - 1) / 48.0, fc = (c - 1) / 48.0;

    fill_moebius_strip(n);
    {
        const double phi = 2 * kPi * fr, v = fc - 0.5, k = 1 + v * std::cos(phi / 2);
        expect_near(surface_grid.samples[r][c], k * std::cos(phi), k * std::sin(phi),
                    v * std::sin(phi / 2), 0, "moebius");
    }
    fill_sphere(n);
    {
        const double th = 2 * kPi * fr, ph = kPi * fc;
        expect_near(surface_grid.samples[r][c], std::cos(ph) * std::cos(th),
                    std::sin(ph) * std::cos(th), std::sin(th), 0, "sphere");
    }
    fill_torus(n);
    {
        const double th = 2 * kPi * fr, ph = 2 * kPi * fc;
        expect_near(surface_grid.samples[r][c], std::cos(ph) * (std::cos(th) + 2),
                    std::sin(ph) * (std::cos(th) + 2), std::sin(th), 0, "torus");
    }
    fill_klein_bottle_1(n);
    {
        const double s = 2 * kPi * fr, t = kPi * fc;
        const double k = 3 * std::sin(2 * t) + 4;
        const double a = (4 * std::pow(std::cos(t), 2) - 3) * k * std::cos(t) / -36;
        const double b = std::sin(t) * k / 18;
        expect_near(surface_grid.samples[r][c], std::hypot(a, b) * std::sin(s),
                    b * std::cos(s) - std::sin(t) * std::pow(std::cos(t), 3),
                    a * std::cos(s) + std::pow(std::cos(t), 2), 0, "klein I");
    }
    fill_two_moebius_strips(n);
    {
        const double s = 2 * kPi * fr, t = 2 * kPi * fc;
        const double q = 1 + std::sin(t) * std::cos(s / 2) - std::sin(2 * t) * std::sin(s / 2) / 2;
        expect_near(surface_grid.samples[r][c], q * std::cos(s), q * std::sin(s),
                    std::sin(s / 2) * std::sin(t) + std::cos(s / 2) * std::sin(2 * t) / 2, 0,
                    "two moebius");
    }
    fill_klein_bottle_4d(n);
    {
        const double s = 2 * kPi * fc, t = 2 * kPi * fr;  // s by column here
        expect_near(surface_grid.samples[r][c], std::cos(s) * (std::cos(t) + 2),
                    std::sin(s) * (std::cos(t) + 2), std::cos(s / 2) * std::sin(t),
                    std::sin(s / 2) * std::sin(t), "klein 4d");
    }
}

// Klein Bottle Part II by its two formulas, for s in [0, 2 pi].
Point4 klein2(double s, double t) {
    const double r = 4 * (1 - std::cos(s) / 2);
    if (s >= kPi)
        return Point4{r * std::cos(t + kPi) + 6 * std::cos(s) * (1 + std::sin(s)), 16 * std::sin(s),
                      r * std::sin(t), 0};
    return Point4{std::cos(s) * (6 * (1 + std::sin(s)) + r * std::cos(t)),
                  std::sin(s) * (r * std::cos(t) + 16), r * std::sin(t), 0};
}

TEST(Samplers, KleinBottleTwoSwitchesFormulaAtPi) {
    for (int n : {25, 51}) {
        fill_klein_bottle_2(n);
        // Row (n - 1)/2 sits at s = pi exactly, where both formulas meet up to
        // rounding: only the bits of y tell which one was used.
        const int mid = (n - 1) / 2;
        const double s = static_cast<double>(mid - 1) / (n - 3) * 6.283185307179586;
        ASSERT_EQ(s, kPi);
        const double t = static_cast<double>(3) / (n - 3) * 6.283185307179586;
        const double r = 4 * (1 - 0.5 * std::cos(s));
        const Point4 p = surface_grid.samples[mid][4];
        EXPECT_EQ(p.y, 16 * std::sin(s)) << "the second formula";
        EXPECT_NE(p.y, std::sin(s) * (r * std::cos(t) + 16)) << "not the first";
        expect_near(p, klein2(kPi, t).x, klein2(kPi, t).y, klein2(kPi, t).z, 0, "s = pi");
        // Row 0 lies before s = 0 and uses the first formula.
        const double s0 = -1.0 / (n - 3) * 6.283185307179586;
        const double r0 = 4 * (1 - 0.5 * std::cos(s0));
        EXPECT_NEAR(surface_grid.samples[0][4].y, std::sin(s0) * (r0 * std::cos(t) + 16), 1e-12);
    }
}

TEST(Samplers, KleinBottleTwoSeamRowsAreRowsOneAndTwoMirrored) {
    for (int n : {25, 51}) {
        fill_klein_bottle_2(n);
        const int h = (n - 1) / 2;
        for (int j = 0; j < n; ++j) {
            const int from = j < h ? h + 1 - j : n - 2 + h - j;
            ASSERT_GE(from, 2);
            ASSERT_LE(from, n - 2);
            for (int row : {n - 2, n - 1}) {
                const Point4& got = surface_grid.samples[row][j];
                const Point4& src = surface_grid.samples[row == n - 2 ? 1 : 2][from];
                EXPECT_EQ(got.x, src.x) << "n=" << n << " row " << row << " col " << j;
                EXPECT_EQ(got.y, src.y);
                EXPECT_EQ(got.z, src.z);
            }
        }
    }
}

TEST(Samplers, KleinBottleTwoClosesWithoutAGapAtTwoPi) {
    // The seam row stands for s = 2 pi: it must be where the second formula
    // ends, the point at (2 pi, t) being the point at (0, pi - t).
    for (int n : {25, 51}) {
        fill_klein_bottle_2(n);
        for (int j = 1; j <= n - 2; ++j) {
            double q = static_cast<double>(j - 1) / (n - 3);
            if (q >= 1) q -= 1;
            const Point4 end = klein2(2 * kPi - 1e-12, q * 2 * kPi);
            const Point4& seam = surface_grid.samples[n - 2][j];
            EXPECT_NEAR(seam.x, end.x, 1e-9) << "n=" << n << " col " << j;
            EXPECT_NEAR(seam.y, end.y, 1e-9);
            EXPECT_NEAR(seam.z, end.z, 1e-9);
        }
    }
}

}  // namespace
}  // namespace fourview
