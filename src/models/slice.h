// The slice of a convex polytope by the cutting hyperplane: a convex
// polyhedron of the hyperplane's own 3-space, each face the section of one
// cell, each edge the section of one 2-face. Pure numbers: the drawing, the
// export and the tests read the result.
//
// The hyperplane's frame: the cut is w = level of the transformed space, and
// the slice is given in that space's x, y, z. After a reset the transform
// carries the typed hyperplane's unit normal onto W with the rotation of
// hyperplane_orientation, so the frame is that rotation's first three
// columns; for the hyperplane W = e they are the X, Y and Z axes.
#pragma once

#include <cstdint>
#include <vector>

#include "geom4/types.h"
#include "models/lattice.h"

namespace fourview {

struct PolytopeSlice {
    std::vector<Point3> points;
    // Face f has corners corners[face_start[f]] .. corners[face_start[f+1]-1]
    // (indices into points), counterclockwise seen from outside, and comes
    // from cell face_cell[f] of the lattice.
    std::vector<int> face_start{0};
    std::vector<int> corners;
    std::vector<int> face_cell;
    std::vector<Point3> face_normal;  // outward, unit

    int face_count() const { return static_cast<int>(face_start.size()) - 1; }
    int face_size(int f) const { return face_start[f + 1] - face_start[f]; }
    const int* face(int f) const { return corners.data() + face_start[f]; }
    bool empty() const { return face_count() == 0; }
};

// What a slice keeps from frame to frame so that it allocates nothing once
// it has seen its largest slice: the moved vertices, and the polygon table
// of the last lattice sliced.
struct SliceScratch {
    const PolytopeLattice* lattice = nullptr;
    std::uint64_t fingerprint = 0;
    std::vector<int> corner_edge;  // edge from corner k of a face to the next
    std::vector<int> cell_vertex_start, cell_vertices;
    std::size_t corner_capacity = 0;  // corners the largest slice can have
    std::vector<Point4> moved;
    std::vector<double> side;      // w - level of each moved vertex
    std::vector<int> point_of;     // slice point of vertex v (v) or edge e (V + e), -1 none
    std::vector<int> stamp;        // last cell that gathered the vertex or edge
    std::vector<int> gathered;
    std::vector<double> angle;
    std::vector<int> order;
    std::vector<int> flat_faces;  // faces whose corners are all vertices of the polytope
};

// The slice of `lattice` moved by `transform` at w = level. Points within
// 1e-9 of the hyperplane count as lying on it. A polytope that the
// hyperplane misses, or only touches in a point or an edge, gives no faces.
void slice_polytope(const PolytopeLattice& lattice, const Matrix5& transform, double level,
                    PolytopeSlice& out, SliceScratch& scratch);

// The w extent of the moved lattice: where the hyperplane first touches it
// and where it leaves it.
void polytope_w_range(const PolytopeLattice& lattice, const Matrix5& transform, double& low,
                      double& high);

// Step i of a sweep of n steps from `low` (where the hyperplane first
// touches) to `high` (where it leaves), both ends included; one step lies
// halfway.
inline double sweep_level(double low, double high, int i, int n) {
    return n <= 1 ? (low + high) / 2 : low + (high - low) * i / (n - 1);
}

// Enclosed volume (the slice is closed and its faces face outward).
double slice_volume(const PolytopeSlice& slice);

}  // namespace fourview
