// The face lattices of the polytope models, as the slice reads them: built
// the first time a model is sliced from its vertices, edges and 2-faces,
// with the cells found as the supporting hyperplanes of the hull.
#include "models/slice_models.h"

#include <cmath>
#include <memory>

#include "models/polychora.h"

namespace fourview {

namespace {

double dot4(const Point4& a, const Point4& b) { return a.x * b.x + a.y * b.y + a.z * b.z + a.w * b.w; }
Point4 minus4(const Point4& a, const Point4& b) { return {a.x - b.x, a.y - b.y, a.z - b.z, a.w - b.w}; }

// The direction square to a, b and c (the 4D cross product).
Point4 normal_of(const Point4& a, const Point4& b, const Point4& c) {
    auto det3 = [](double a1, double a2, double a3, double b1, double b2, double b3, double c1,
                   double c2, double c3) {
        return a1 * (b2 * c3 - b3 * c2) - a2 * (b1 * c3 - b3 * c1) + a3 * (b1 * c2 - b2 * c1);
    };
    return Point4{det3(a.y, a.z, a.w, b.y, b.z, b.w, c.y, c.z, c.w),
                  -det3(a.x, a.z, a.w, b.x, b.z, b.w, c.x, c.z, c.w),
                  det3(a.x, a.y, a.w, b.x, b.y, b.w, c.x, c.y, c.w),
                  -det3(a.x, a.y, a.z, b.x, b.y, b.z, c.x, c.y, c.z)};
}

}  // namespace

void find_cells(PolytopeLattice& lattice, const std::string& kind) {
    const int n = lattice.vertex_count();
    const double eps = 1e-9 * (lattice.circumradius > 0 ? lattice.circumradius : 1);
    std::vector<std::vector<int>> neighbours(n);
    for (const auto& e : lattice.edges) {
        neighbours[e[0]].push_back(e[1]);
        neighbours[e[1]].push_back(e[0]);
    }
    lattice.cell_start.assign(1, 0);
    lattice.cell_faces.clear();
    lattice.cell_normal.clear();
    lattice.cell_offset.clear();
    lattice.cell_kind.clear();
    lattice.cell_kind_names.assign(1, kind);
    // Every cell holds a 2-face and an edge leaving it from its first corner.
    for (int f = 0; f < lattice.face_count(); ++f) {
        const int* c = lattice.face(f);
        const Point4& o = lattice.vertices[c[0]];
        for (int x : neighbours[c[0]]) {
            Point4 m = normal_of(minus4(lattice.vertices[c[1]], o), minus4(lattice.vertices[c[2]], o),
                                 minus4(lattice.vertices[x], o));
            const double length = std::sqrt(dot4(m, m));
            if (length < eps) continue;  // x lies in the face's plane
            m = Point4{m.x / length, m.y / length, m.z / length, m.w / length};
            double offset = dot4(m, o);
            if (offset < 0) {
                m = Point4{-m.x, -m.y, -m.z, -m.w};
                offset = -offset;
            }
            if (offset < eps) continue;
            bool supporting = true;
            for (int v = 0; v < n && supporting; ++v)
                supporting = dot4(m, lattice.vertices[v]) <= offset + eps;
            bool known = false;
            for (const Point4& k : lattice.cell_normal) known = known || dot4(k, m) > 1 - 1e-9;
            if (!supporting || known) continue;
            for (int g = 0; g < lattice.face_count(); ++g) {
                bool in = true;
                for (int k = 0; k < lattice.face_size(g) && in; ++k)
                    in = std::fabs(dot4(m, lattice.vertices[lattice.face(g)[k]]) - offset) < eps;
                if (in) lattice.cell_faces.push_back(g);
            }
            lattice.cell_start.push_back(static_cast<int>(lattice.cell_faces.size()));
            lattice.cell_normal.push_back(m);
            lattice.cell_offset.push_back(offset);
            lattice.cell_kind.push_back(0);
        }
    }
}

const PolytopeLattice* model_lattice(ModelId model) {
    static std::unique_ptr<PolytopeLattice> built[kModelSixHundredCell + 1];
    const Polytope* p = find_polytope(model);
    if (p == nullptr || model < 0 || model > kModelSixHundredCell) return nullptr;
    if (built[model]) return built[model].get();
    auto lattice = std::make_unique<PolytopeLattice>();
    lattice->vertices.assign(p->vertices, p->vertices + p->vertex_count);
    lattice->edge_length = p->edge_length;
    lattice->circumradius = std::sqrt(dot4(p->vertices[0], p->vertices[0]));
    for (int e = 0; e < p->edge_count; ++e) {
        const int a = p->edges[e][0], b = p->edges[e][1];
        lattice->edges.push_back({a < b ? a : b, a < b ? b : a});
    }
    for (int f = 0; f < p->face_count; ++f) {
        for (int k = 0; k < p->face_size; ++k) lattice->face_corners.push_back(p->faces[f * p->face_size + k]);
        lattice->face_start.push_back(static_cast<int>(lattice->face_corners.size()));
    }
    // The caption's plural names the cells of the six.
    const std::string plural = p->cell_name;
    const char* kind = plural == "tetrahedra" ? "tetrahedron"
                       : plural == "cubes"     ? "cube"
                       : plural == "octahedra" ? "octahedron"
                       : plural == "dodecahedra" ? "dodecahedron"
                                                 : p->cell_name;
    find_cells(*lattice, kind);
    built[model] = std::move(lattice);
    return built[model].get();
}

}  // namespace fourview
