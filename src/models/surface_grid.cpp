#include "models/surface_grid.h"

namespace fourview {

SurfaceGrid surface_grid;

}  // namespace fourview
