// Projection from four to three dimensions, and the edge test that decides
// which projected edges and points are drawn at all.
#pragma once

#include "geom4/types.h"

namespace fourview {

// Parallel (w dropped), perspective from the eye at w = 2, or stereographic
// from the pole (0, 0, 0, app.model_radius), by app.projection_mode.
Point3 project_point(const Point4& p);

// Where the transform puts the model's origin (its translation), and the w
// of a transformed point measured from there: w after the turn alone, the
// coordinate that colour by w shows.
Point4 model_centre();
double turned_w(const Point4& p);

// 0: the ends coincide; 1: drawable; 2: broken (some coordinate differs by
// app.infinity or more, or is not a number).
int classify_edge3(const Point3& a, const Point3& b);
int classify_edge4(const Point4& a, const Point4& b);

// A single projected point is drawn only if it is near enough to the origin.
inline bool point_drawable(const Point3& p) { return classify_edge3(Point3{}, p) != 2; }

}  // namespace fourview
