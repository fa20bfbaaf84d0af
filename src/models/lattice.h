// A convex polytope of 4D space down to its cells: the face lattice that the
// drawing, the cut, the slice, the caption and the export all read. It is
// built once per polytope (never per frame) and then only read.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "geom4/types.h"

namespace fourview {

struct PolytopeLattice {
    std::string name;    // "truncated tesseract"
    std::string symbol;  // the Coxeter-Dynkin diagram it was built from, "x4x3o3o"; "" if none

    // Vertices on a 3-sphere about the origin.
    std::vector<Point4> vertices;
    double edge_length = 1.0;  // every edge has this length
    double circumradius = 1.0;

    // Edge e joins vertices edges[e][0] < edges[e][1].
    std::vector<std::array<int, 2>> edges;

    // 2-face f has corners face_corners[face_start[f]] ..
    // face_corners[face_start[f + 1] - 1] in cyclic order: consecutive ones,
    // and the last with the first, are joined by an edge. face_start has
    // face_count() + 1 entries. Its kind is its number of corners.
    std::vector<int> face_start{0};
    std::vector<int> face_corners;

    // Cell c is bounded by the 2-faces cell_faces[cell_start[c]] ..
    // cell_faces[cell_start[c + 1] - 1]; cell_start has cell_count() + 1
    // entries. The cell lies in the supporting hyperplane
    // dot(cell_normal[c], p) = cell_offset[c] (unit outward normal) and is
    // of kind cell_kind[c], an index into cell_kind_names ("tetrahedron",
    // "truncated cube", "pentagonal antiprism", ...; singular).
    std::vector<int> cell_start{0};
    std::vector<int> cell_faces;
    std::vector<Point4> cell_normal;
    std::vector<double> cell_offset;
    std::vector<int> cell_kind;
    std::vector<std::string> cell_kind_names;

    int vertex_count() const { return static_cast<int>(vertices.size()); }
    int edge_count() const { return static_cast<int>(edges.size()); }
    int face_count() const { return static_cast<int>(face_start.size()) - 1; }
    int cell_count() const { return static_cast<int>(cell_start.size()) - 1; }
    int face_size(int f) const { return face_start[f + 1] - face_start[f]; }
    const int* face(int f) const { return face_corners.data() + face_start[f]; }
};

}  // namespace fourview
