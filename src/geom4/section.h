// The cut of one triangle by the cutting hyperplane, in numbers only: which
// of its points lie on the hyperplane, where its edges cross it, and what is
// left to draw. The drawing side (models/section_gl.cpp) only projects and
// emits what this decides.
#pragma once

#include "geom4/types.h"

namespace fourview {

// The cutting hyperplane is w = section_level() of the transformed space:
// section_offset measured along the unit normal of the typed hyperplane,
// with its sign kept.
double section_level();

// A shifted w (w minus the level) that counts as lying on the hyperplane.
inline bool on_hyperplane(double shifted_w) { return shifted_w * shifted_w < kZeroSquared; }

// The point where the segment P-Q of shifted points meets w = 0. None (false)
// when either end lies on the hyperplane: such an end is gathered as itself.
bool section_crossing(const Point4& p, const Point4& q, Point4& crossing);

enum class SectionShape {
    kUncut,     // an edge coincides or is broken by the infinity bound: left alone
    kNothing,   // examined, but nothing of it lies in the hyperplane (or only B-C)
    kPoint,     // points[0]
    kSegment,   // points[0]-points[1], in the order gathered
    kTwoEdges,  // points[0]-points[1] and points[0]-points[2]
    kFace,      // the triangle points[0], points[1], points[2] lies in the hyperplane
};

struct SectionCut {
    SectionShape shape = SectionShape::kUncut;
    Point4 points[3];  // transformed points (the shift undone), not projected
};

// The cut of the triangle A, B, C at w = level. D is the remaining corner of
// the quadrilateral the triangle belongs to (C again for a lone triangle); it
// only decides whether a triangle lying in the hyperplane is filled. No cut
// is ever drawn along B-C: the grid puts the diagonal of its cells there.
SectionCut cut_triangle(const Point4& a, const Point4& b, const Point4& c, const Point4& d,
                        double level);

// The cut of a convex plane polygon of n corners (n at most 5), given in
// order round its boundary, at w = level: one segment or point where its
// boundary meets the hyperplane, kFace when it lies wholly in it (the
// points are then left unset), kUncut when a side is broken by the infinity
// bound. Unlike a fan of triangles it draws nothing along inner diagonals.
SectionCut cut_polygon(const Point4* corners, int n, double level);

}  // namespace fourview
