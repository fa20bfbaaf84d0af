// The face lattice of a convex polytope found from its vertices: the edges
// are the pairs at the edge length, the 2-faces the regular polygons of
// edges that bound the hull, the cells the supporting hyperplanes through
// the 2-faces. Built once per polytope, never per frame.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "geom4/types.h"
#include "models/lattice.h"

namespace fourview {

// Points of 4D space found again by position, within kPointTolerance: a
// grid of small cells in a hash table, a point near a cell's side looked
// for on both sides of it.
class PointIndex {
public:
    explicit PointIndex(const std::vector<Point4>& points) : points_(points) {}
    // The index of a point of the list within the tolerance of p, or -1.
    int find(const Point4& p) const;
    // Indexes point k of the list (its position must be in the list already).
    void insert(int k);
    void reserve(std::size_t n);

private:
    // Open addressing: a slot holds a point's cell and index (-1 free).
    struct Slot {
        std::uint64_t cell;
        int point;
    };
    const std::vector<Point4>& points_;
    std::vector<Slot> slots_;
    std::size_t used_ = 0;
};

constexpr double kPointTolerance = 1e-6;

// Every pair of vertices at the shortest distance among them (within a
// relative 1e-9 of its square) becomes an edge, and that distance the
// edge length. Compares every pair: for the few hundred vertices of the
// forms that are not built from a group.
void find_lattice_edges(PolytopeLattice& lattice);

// The 2-faces and cells from the vertices and edges: at every vertex, two
// edges whose angle is that of a regular polygon span a polygon, a 2-face
// if its corners are all vertices and the rest of the polytope lies on one
// side of its plane (in the plane's 2D normal space the edges that leave
// the polygon span less than a half-turn). The two outermost of those
// edges give the hyperplanes of the face's two cells; faces with the same
// hyperplane make one cell, named by its faces. "" or why the vertices make
// no polytope.
std::string find_lattice_faces_and_cells(PolytopeLattice& lattice);

// The cells alone, of faces given (every one a 2-face, kept in its order).
std::string find_lattice_cells(PolytopeLattice& lattice);

// All of the above from lattice.vertices, and the circumradius: "" or why.
std::string lattice_from_vertices(PolytopeLattice& lattice);

// Scales the polytope about its centre (the cut and the drawing want the
// circumradius 1).
void scale_lattice(PolytopeLattice& lattice, double factor);

// The name of a polygon of n corners: "triangle", "square", ... "dodecagon",
// else "n-gon"; plural "triangles" when plural.
std::string polygon_name(int corners, bool plural);
// The plural of a cell kind's name: "tetrahedra", "truncated cubes".
std::string plural_cell_name(const std::string& name);

// "64 vertices, 128 edges, 64 triangles + 24 octagons, 8 truncated cubes +
// 16 tetrahedra": the faces by size, the cells by kind in the lattice's order.
std::string lattice_counts(const PolytopeLattice& lattice);

}  // namespace fourview
