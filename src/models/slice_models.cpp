// The face lattices of the six regular models, as the slice reads them:
// built the first time a model is sliced from its vertices, edges and
// 2-faces, the cells found by the lattice builder.
#include "models/slice_models.h"

#include <cmath>
#include <memory>

#include "models/lattice_build.h"
#include "models/polychora.h"

namespace fourview {

const PolytopeLattice* model_lattice(ModelId model) {
    static std::unique_ptr<PolytopeLattice> built[kModelSixHundredCell + 1];
    const Polytope* p = find_polytope(model);
    if (p == nullptr || model < 0 || model > kModelSixHundredCell) return nullptr;
    if (built[model]) return built[model].get();
    auto lattice = std::make_unique<PolytopeLattice>();
    lattice->vertices.assign(p->vertices, p->vertices + p->vertex_count);
    lattice->edge_length = p->edge_length;
    const Point4& v = p->vertices[0];
    lattice->circumradius = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z + v.w * v.w);
    for (int e = 0; e < p->edge_count; ++e) {
        const int a = p->edges[e][0], b = p->edges[e][1];
        lattice->edges.push_back({a < b ? a : b, a < b ? b : a});
    }
    for (int f = 0; f < p->face_count; ++f) {
        for (int k = 0; k < p->face_size; ++k) lattice->face_corners.push_back(p->faces[f * p->face_size + k]);
        lattice->face_start.push_back(static_cast<int>(lattice->face_corners.size()));
    }
    if (!find_lattice_cells(*lattice).empty()) return nullptr;
    built[model] = std::move(lattice);
    return built[model].get();
}

}  // namespace fourview
