// The geometry of the current frame as a file: the model drawn through the
// export back end of the geometry seam, in the coordinates the 4D projection
// gives (before the 3D view turn and the zoom). Pure: no GL, no files; the
// caller writes the bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "geom4/types.h"

namespace fourview {

using ExportBytes = std::vector<uint8_t>;

// A space, then the shortest text that reads back as the same double.
void append_number(ExportBytes& out, double v);

// Wavefront OBJ: groups "faces" (triangles with vertex normals), "edges"
// (line elements, or closed tubes and balls when Bold Line is on) and
// "section"; `mtl_name` is the material library named by the file, whose
// text goes to `mtl`. False when the frame has nothing to export: the file
// is then valid and empty of geometry.
bool encode_obj(const std::string& mtl_name, ExportBytes& obj, ExportBytes& mtl);

// Binary STL for printing, in millimetres with the largest side of the
// model's bounding box `scale_mm` long (the faces as drawn, before their
// plates' thickness) and the low corner of the whole at the origin. Every
// shell is closed and wound outward: each edge, each line as a tube with
// a ball at its ends, and the faces as the solids they bound or as plates
// `thickness_mm` thick (see PrintableFaces in export.cpp).
// False when there is nothing to export (a valid file of no triangles).
bool encode_stl(double scale_mm, double thickness_mm, ExportBytes& stl);

// In the slice view a polytope's slice goes to the files as what it is, a
// closed convex polyhedron: in the OBJ file one polygon per face, grouped
// and coloured by the kind of the cell it comes from; in the STL file its
// faces as triangles that share their corners, a closed solid, scaled as
// encode_stl scales. False when the hyperplane misses the model.
bool encode_slice_obj(const std::string& mtl_name, ExportBytes& obj, ExportBytes& mtl);
bool encode_slice_stl(double scale_mm, ExportBytes& stl);

// The material library beside an OBJ file: its path with ".obj" (in any
// case) replaced, or ".mtl" added, and blanks in the name made '_'.
std::string mtl_path_for(const std::string& obj_path);

// A closed shell for printing: each triangle's corners counterclockwise seen
// from outside, with its outward unit normal. Shared corners are equal
// bit for bit, so every edge of a shell meets exactly two triangles.
struct ShellTriangle {
    Point3 v[3];
    Point3 normal;
};
using Shell = std::vector<ShellTriangle>;
// The shells encode_stl writes, in millimetres.
void stl_shells(double scale_mm, double thickness_mm, std::vector<Shell>& shells);
// Binary STL of shells already in millimetres; false when they hold no
// triangle.
bool stl_from_shells(const std::vector<Shell>& shells, ExportBytes& stl);

void tube_shell(const Point3& p, const Point3& q, double radius, int sides,
                std::vector<ShellTriangle>& out);
void ball_shell(const Point3& c, double radius, int slices, int stacks,
                std::vector<ShellTriangle>& out);

}  // namespace fourview
