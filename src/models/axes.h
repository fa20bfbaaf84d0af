// The four axes of the graph: lines from the origin through the geometry back
// end in force, and where each letter goes, for a back end to write it.
#pragma once

#include "geom4/types.h"

namespace fourview {

// The X, Y, Z and W axes of the frame of the last reset (red, green, blue,
// black, 2 pixels wide). `letter` is called for each axis drawn, at once
// after its line, with the scene point of its letter and k (0 x .. 3 w).
void draw_axes_with(void (*letter)(const Point3& at, int k));

}  // namespace fourview
