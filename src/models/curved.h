// The table models (cube, polytopes) drawn point by point along their edges
// and faces, for the stereographic projection and colour by w.
#pragma once

#include "app/app_state.h"
#include "geom4/types.h"

namespace fourview {

// What draw_table_shape needs of a model: its edges, its faces (face k's
// corners at faces[k * face_size ...], or from faces[face_start[k]] to
// before faces[face_start[k + 1]] when face_start is given, in order round
// it, drawn as a fan), and the radii of its bold tubes and vertex balls (0:
// it has none, its bold edges stay lines).
struct TableShape {
    const int (*edges)[2];
    int edge_count;
    const int* faces;
    int face_size, face_count;
    double tube_radius, ball_radius;
    const int* face_start = nullptr;
    const int* face(int k) const { return face_start != nullptr ? faces + face_start[k] : faces + k * face_size; }
    int size(int k) const { return face_start != nullptr ? face_start[k + 1] - face_start[k] : face_size; }
};

// The sphere of the stereographic projection and of colour by w for the
// model about to be drawn (app.model_radius, app.push_onto_sphere). The
// polytopes are pushed onto their circumsphere; the surfaces are not (a push
// would fold every surface in w = 0 onto one sphere) and take the sphere
// through their farthest sample, which the grid sets as it draws. Only the
// centre of the user graph needs it before: for_centre evaluates the graph.
void prepare_model_sphere(bool for_centre);

// A bent tube (or ball) is made of short pieces: as many sides as keep it
// round at its size on the screen (a 120-cell's tubes are a pixel or two
// thick), so that the vertex count stays within the frame's budget. A tube
// of 4 sides (under 2 pixels) is drawn as a thin tube.
int bent_tube_sides(double radius);
// Balls among bent tubes, as many facets as their size on the screen
// needs; those under 3 pixels are drawn as thin balls.
void draw_bent_balls(const Point3* centres, int count, double radius);

// Whether the curved drawing is in force (stereographic, or colour by w).
bool curved_drawing();

// Faces and edges of the transformed vertices v in the styles in force;
// the cut stays with the model. With app.push_onto_sphere every edge is
// an arc of kArcPieces pieces and every triangle a patch.
void draw_table_shape(const Point4* v, int vertex_count, const TableShape& shape);

// A polytope (models/polychora.h) in every style, its cut included, while
// the curved drawing is in force; false for any other model.
bool draw_curved_polytope(ModelId model);

// A cut segment between two transformed points as an arc on the sphere:
// a line strip in the current width, or a tube when tube_radius > 0.
void draw_section_arc(const Point4& from, const Point4& to, double tube_radius);
// The arcs' tubes gathered since the last call, as one batch: the cut's
// many short arcs would each be a draw of their own.
void flush_section_arcs();

}  // namespace fourview
