// The stereographic projection and the colour scale by w, in numbers only.
// The polytopes are drawn as their shadow on the 3-sphere of their
// circumradius R: every point is pushed radially onto that sphere and
// projected from its pole (0, 0, 0, R) onto w = 0. Edges then come out as
// circular arcs (the push carries a segment onto a great circle, and the
// projection keeps circles circles), faces as curved patches.
#pragma once

#include "geom4/types.h"

namespace fourview {

// Pieces of one edge, and divisions of each side of a face's triangle (a
// triangle becomes kPatchDivisions^2 small ones).
constexpr int kArcPieces = 16;
constexpr int kPatchDivisions = 4;
constexpr int kPatchPoints = (kPatchDivisions + 1) * (kPatchDivisions + 2) / 2;

// Point k of n along the segment a-b; k = 0 and k = n give a and b exactly.
Point4 edge_point(const Point4& a, const Point4& b, int k, int n);

// The points of triangle a, b, c on a barycentric grid of d divisions: row
// i (0..d) from a towards b, j (0..d-i) from side a-b towards side c-b, so
// that a row's ends are points of those sides and two faces that share a
// side share its points. Stored row by row at patch_index(i, j, d).
Point4 patch_point(const Point4& a, const Point4& b, const Point4& c, int i, int j, int d);
constexpr int patch_index(int i, int j, int d) { return i * (d + 1) - i * (i - 1) / 2 + j; }

// p pushed along its ray from the origin onto the sphere of the radius. The
// origin has no ray and stays where it is.
Point4 onto_sphere(const Point4& p, double radius);

// From the pole (0, 0, 0, R) onto w = 0: (x, y, z) R / (R - w). The pole
// itself goes to infinity (or 0/0), which the infinity bound then refuses.
Point3 stereographic(const Point4& p, double radius);


// The largest distance from the origin among the finite points; 0 when none
// is finite.
double farthest_radius(const Point4* points, int count);

// Colour by w: blue at w = -R, a light neutral at 0, orange at +R, linear
// between, held at the ends beyond them.
Colour w_colour(double w, double radius, float gain = 1.0f);

// Where a colour of the scale (gain 1) lies on it: -1 blue, 0 the neutral,
// +1 orange; the inverse of w_colour over [-R, R], for a back end that
// draws the scale itself (the GL faces look it up in a texture, so that
// what lies between two corners is on the scale too).
float w_scale_position(const Colour& c);

}  // namespace fourview
