#include "models/surface_grid.h"

#include <algorithm>

#include "geom4/stereo.h"

namespace fourview {

SurfaceGrid surface_grid;

double surface_grid_radius(int n) {
    double best = 0;
    for (int i = 0; i < n; ++i) best = std::max(best, farthest_radius(surface_grid.samples[i], n));
    // Nothing finite, or all at the origin: any sphere will do.
    return best * best > kZeroSquared ? best : 1.0;
}

}  // namespace fourview
