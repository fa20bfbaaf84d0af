// Normals of the drawn triangles, turned toward the camera so that both
// sides of a surface are lit alike. Pure arithmetic over the view matrix.
#pragma once

#include "geom4/types.h"

namespace fourview {

struct GeometrySink;

// The camera position (200, 0, 0) brought back through the view rotation
// into the frame in which the scene's points are given.
Point3 camera_in_scene();

// The unit normal of a, b, c on the camera's side. False (n untouched) when
// the triangle has none: its corners are collinear or coincide to within
// rounding, or a corner is not finite.
bool try_triangle_normal(const Point3& a, const Point3& b, const Point3& c, const Point3& camera,
                         Point3& n);

// Unit normal on the camera's side; a triangle without a normal gets the
// unit vector toward the camera, so it is lit as if it faced the viewer.
Point3 triangle_normal(const Point3& a, const Point3& b, const Point3& c);

// The side of the standard 30-faced tube from p to q, each face lit flat
// (its normal given at its first bottom corner holds for the top corner
// after it): how a lone tube is drawn by every back end that draws one
// itself.
void flat_lit_tube(GeometrySink& sink, const Point3& p, const Point3& q, double radius);

// The mean of the normals of the four triangles around c (c with its right,
// down, left and up neighbours), not normalised again. Triangles without a
// normal are left out of the mean; with none left, the unit vector toward
// the camera.
Point3 vertex_normal(const Point3& c, const Point3& right, const Point3& down, const Point3& left,
                     const Point3& up);

// The same with the camera given, for callers that compute many normals.
Point3 vertex_normal_from(const Point3& c, const Point3& right, const Point3& down,
                          const Point3& left, const Point3& up, const Point3& camera);

// The unit vector from the camera through the scene. The cut is drawn with
// it: a normal facing away from every light takes no diffuse or specular
// light, so only the material's ambient colour shows, from any view.
Point3 away_from_camera();

}  // namespace fourview
