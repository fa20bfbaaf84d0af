// The slice of a polytope as a file: a closed convex polyhedron.
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "export/export.h"
#include "models/slice_models.h"

namespace fourview {

namespace {

void append(ExportBytes& out, const std::string& text) { out.insert(out.end(), text.begin(), text.end()); }

void append_point(ExportBytes& out, const char* tag, const Point3& p) {
    append(out, tag);
    for (double v : {p.x, p.y, p.z}) append_number(out, v);
    out.push_back('\n');
}

// "truncated cube" -> "truncated_cube": a group and material name in one word.
std::string word(const std::string& kind) {
    std::string w = kind;
    for (char& c : w)
        if (c == ' ') c = '_';
    return w;
}

}  // namespace

bool encode_slice_obj(const std::string& mtl_name, ExportBytes& obj, ExportBytes& mtl) {
    obj.clear();
    mtl.clear();
    append(obj, "# fourview: the slice of the model by the cutting hyperplane, in its own x, y, z\n");
    append(obj, "mtllib " + mtl_name + "\n");
    append(mtl, "# fourview materials: one per cell kind\n");
    if (!compute_polytope_slice()) return false;
    const PolytopeSlice& slice = last_slice();
    const PolytopeLattice& lattice = *last_slice_lattice();
    for (const Point3& p : slice.points) append_point(obj, "v", p);
    for (const Point3& n : slice.face_normal) append_point(obj, "vn", n);
    // A group per kind present, in the lattice's order of kinds.
    for (int k = 0; k < static_cast<int>(lattice.cell_kind_names.size()); ++k) {
        bool present = false;
        for (int f = 0; f < slice.face_count() && !present; ++f)
            present = lattice.cell_kind[slice.face_cell[f]] == k;
        if (!present) continue;
        const std::string name = word(lattice.cell_kind_names[k]);
        append(obj, "g " + name + "\nusemtl " + name + "\n");
        for (int f = 0; f < slice.face_count(); ++f) {
            if (lattice.cell_kind[slice.face_cell[f]] != k) continue;
            append(obj, "f");
            for (int j = 0; j < slice.face_size(f); ++j)
                append(obj, " " + std::to_string(slice.face(f)[j] + 1) + "//" + std::to_string(f + 1));
            obj.push_back('\n');
        }
        const Colour c = cell_kind_colour(lattice.cell_kind_names[k]);
        char text[256];
        std::snprintf(text, sizeof text, "newmtl %s\nKa %g %g %g\nKd %g %g %g\nd 1\n\n", name.c_str(),
                      c.r * 0.5, c.g * 0.5, c.b * 0.5, c.r, c.g, c.b);
        append(mtl, text);
    }
    return true;
}

bool encode_slice_stl(double scale_mm, ExportBytes& stl) {
    std::vector<Shell> shells(1);
    Shell& solid = shells[0];
    if (compute_polytope_slice()) {
        const PolytopeSlice& slice = last_slice();
        // Fans of the convex faces, counterclockwise from outside; the
        // corners are shared bit for bit, so the solid is closed.
        for (int f = 0; f < slice.face_count(); ++f) {
            const int* c = slice.face(f);
            for (int k = 1; k + 1 < slice.face_size(f); ++k)
                solid.push_back({{slice.points[c[0]], slice.points[c[k]], slice.points[c[k + 1]]},
                                 slice.face_normal[f]});
        }
    }
    // Millimetres, the largest side scale_mm long, the low corner at the origin.
    Point3 lo{INFINITY, INFINITY, INFINITY}, hi{-INFINITY, -INFINITY, -INFINITY};
    for (const ShellTriangle& t : solid)
        for (const Point3& p : t.v) {
            lo = {std::fmin(lo.x, p.x), std::fmin(lo.y, p.y), std::fmin(lo.z, p.z)};
            hi = {std::fmax(hi.x, p.x), std::fmax(hi.y, p.y), std::fmax(hi.z, p.z)};
        }
    const double side = std::fmax(hi.x - lo.x, std::fmax(hi.y - lo.y, hi.z - lo.z));
    const double scale = side > 0 && scale_mm > 0 ? scale_mm / side : 1;
    for (ShellTriangle& t : solid)
        for (Point3& p : t.v) p = {(p.x - lo.x) * scale, (p.y - lo.y) * scale, (p.z - lo.z) * scale};
    return stl_from_shells(shells, stl);
}

}  // namespace fourview
