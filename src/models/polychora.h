// The six regular polychora as one description: vertices on a 3-sphere,
// edges, and the 2-faces with their corners in cyclic order. The 5-cell and
// the hypercube come from their fixed tables; the 16-cell, 24-cell, 120-cell
// and 600-cell are generated from their standard coordinates the first time
// they are asked for, into static arrays (no heap), and never again.
#pragma once

#include "app/app_state.h"
#include <string>

#include "geom4/types.h"
#include "models/lattice.h"

namespace fourview {

struct Polytope {
    const char* cell_name;  // plural, as the caption counts them: "tetrahedra"
    const Point4* vertices;
    int vertex_count;
    const int (*edges)[2];
    int edge_count;
    // Face k has corners faces[k * face_size] to faces[k * face_size + face_size - 1],
    // consecutive ones (and the last with the first) joined by an edge.
    const int* faces;
    int face_size;  // 3 triangles, 4 squares, 5 pentagons
    int face_count;
    int cell_count;      // the 3-faces, found as the supporting hyperplanes
    double edge_length;  // of the first edge; all are equal
};

// The description of a polytope model (the 5-cell, the hypercube, models 14
// to 17), or null for any other model.
const Polytope* find_polytope(ModelId model);

// The face lattice of a polytope model: the six regular ones (their
// vertices, edges and faces in the order of their tables), and for
// kModelUniform the polytope chosen last; null for any other model.
const PolytopeLattice* find_lattice(ModelId model);

// Makes the polytope of a diagram or name (models/uniform.h) the one
// kModelUniform draws, scaled to circumradius 1: "" or why not (and the
// one before stays).
std::string choose_uniform_polytope(const std::string& text);
// Its counts for the caption: "64 vertices, 128 edges, 64 triangles + 24
// octagons, 8 truncated cubes + 16 tetrahedra".
const char* uniform_caption_counts();

// The radii of a polytope's Bold Line tubes and vertex balls, and of the
// tubes of its cut, in proportion to its edge: the hypercube's 0.1, 0.15
// and 0.025 to its edge of 2. 0 for a model whose cut stays a line.
double polytope_tube_radius(const Polytope& p);
double polytope_ball_radius(const Polytope& p);
double polytope_tube_radius(const PolytopeLattice& p);
double polytope_ball_radius(const PolytopeLattice& p);
double bold_cut_radius(ModelId model);

}  // namespace fourview
