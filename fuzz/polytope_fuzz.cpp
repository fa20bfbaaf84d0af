// libFuzzer target: the reader of --polytope's diagrams and names, and the
// construction of what it accepts.
//
// Input: any bytes, taken as the text (a NUL ends it). read_polytope must
// either refuse with a one-line message or give a recipe with a name; a
// recipe of a modest size (rank-4 groups but the 120-cell's, polygons of at
// most 16 corners) is built, and the result must be a polytope: Euler's
// relation, unit edges, every face in two cells.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "geom4/vector4.h"
#include "models/lattice_build.h"
#include "models/uniform.h"

using namespace fourview;

namespace {

void fail(const std::string& text, const char* why) {
    std::fprintf(stderr, "polytope_fuzz: '%s': %s\n", text.c_str(), why);
    std::abort();
}

// Small enough to build many times a second under the sanitizers.
bool modest(const PolytopeRecipe& r) {
    if (r.kind == PolytopeRecipe::Kind::kAntiprismPrism) return r.n <= 16;
    if (r.kind != PolytopeRecipe::Kind::kDiagram) return r.kind != PolytopeRecipe::Kind::kSnubDodecahedronPrism;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            if (r.marks[i][j] == 5 || r.marks[i][j] > 8) return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    text = text.substr(0, text.find('\0'));
    PolytopeRecipe recipe;
    const std::string why = read_polytope(text, recipe);
    if (!why.empty()) {
        if (why.find('\n') != std::string::npos) fail(text, "a message of more than one line");
        return 0;
    }
    if (recipe.name.empty()) fail(text, "a polytope with no name");
    if (!modest(recipe)) return 0;
    PolytopeLattice l;
    const std::string built = build_polytope(recipe, l);
    if (!built.empty()) fail(text, ("read but not built: " + built).c_str());
    if (l.vertex_count() - l.edge_count() + l.face_count() - l.cell_count() != 0) fail(text, "Euler's relation");
    for (const auto& e : l.edges)
        if (std::fabs(distance(l.vertices[e[0]], l.vertices[e[1]]) - 1) > 1e-9) fail(text, "an edge not of length 1");
    std::vector<int> cells(l.face_count(), 0);
    for (int f : l.cell_faces) ++cells[f];
    for (int c : cells)
        if (c != 2) fail(text, "a face not in two cells");
    return 0;
}
