// The mesh drawer and the drawing primitives shared by every model, and the
// drawing side of the cross-section. All hand what they draw to the geometry
// back end in force (draw/geometry_sink.h): the window's GL, or an export.
#pragma once

#include <cmath>

#include "geom4/types.h"

namespace fourview {

// Moves every sample of the surface grid by the transform, projects it and
// draws the grid in each enabled style: solid strips, wireframe lines, cut.
void draw_surface_grid();

// One lit triangle, unless two corners coincide, an edge is broken by the
// infinity bound, or the corners are collinear (no normal, no area).
void draw_triangle(const Point3& a, const Point3& b, const Point3& c);

// A sphere of 10 slices and 10 stacks in the current material; nothing for a
// centre GL cannot take.
void draw_sphere_marker(const Point3& p, double radius);

// The side of a closed 30-faced tube from p to q, each face lit flat.
void draw_tube(const Point3& p, const Point3& q, double radius);

// Draws the cut of the transformed triangle A, B, C (D the quadrilateral's
// fourth corner, or C again) by the cutting hyperplane.
void section_triangle(const Point4& a, const Point4& b, const Point4& c, const Point4& d);

// A run of section_triangle calls (a grid, a cube, a polytope): inside it
// the section material, the cut's line width and point size are set once,
// at the first triangle that needs them, instead of for every triangle,
// which lets GL batch the whole cut into a few draws. Nothing else may
// change the material, line width or point size within the run.
void begin_section_run();
void end_section_run();

// A cut segment between two transformed points: a line 5 pixels wide, or a
// tube with balls for the polytopes with Bold Line.
void draw_section_segment(const Point4& p, const Point4& q);

// Whether GL may receive the point as a vertex: finite, and small enough to
// survive the conversion to single precision. A point projected from w = 2
// is infinite or not a number.
inline bool fits_gl(const Point3& p) {
    const double limit = 1e30;
    return std::fabs(p.x) < limit && std::fabs(p.y) < limit && std::fabs(p.z) < limit;
}

}  // namespace fourview
