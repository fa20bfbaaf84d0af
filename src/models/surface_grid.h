// The one sampled surface grid that every parametric model fills.
#pragma once

#include "geom4/types.h"

namespace fourview {

constexpr int kGridMax = 51;

struct SurfaceGrid {
    // samples[i][j]: i the first parameter's index (row), j the second's.
    Point4 samples[kGridMax][kGridMax];
    // Projections of the transformed samples, rewritten by every
    // draw_surface_grid and read afterwards by the hypersphere.
    Point3 projected[kGridMax][kGridMax];
};

extern SurfaceGrid surface_grid;

// The radius of the sphere about the origin through the farthest finite
// sample of the first n x n: fixed for a model, since the transform only
// turns it, so its colours by w do not flicker and its pole stays put.
double surface_grid_radius(int n);

// (k - 1)/(N - 3): indices 1..N-2 cover the range in N - 3 equal steps;
// 0 and N - 1 lie one step outside it, so that normals and edge tests at the
// border of the drawn part have neighbours on every side.
inline double sample_fraction(int k, int n) { return static_cast<double>(k - 1) / (n - 3); }

}  // namespace fourview
