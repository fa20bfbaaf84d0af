// The convex uniform polychora: built from a Coxeter-Dynkin diagram in the
// x/o notation by Wythoff's construction, or by name for the forms the
// construction does not give, into the face lattice every consumer reads.
//
// A diagram is its nodes, x (ringed) or o, with the branch mark between
// neighbours: x4x3o3o is the truncated tesseract. A product is its factors
// separated by a space, their ranks adding to 4: x a unit segment, xPo a
// P-gon, xPx a 2P-gon, a rank-3 diagram a uniform polyhedron (x3o5o x the
// icosahedral prism, x5o x8o the 5-8 duoprism).
#pragma once

#include <string>

#include "models/lattice.h"

namespace fourview {

// What a symbol or name asks for, before anything is built.
struct PolytopeRecipe {
    enum class Kind { kDiagram, kSnub24Cell, kGrandAntiprism, kSnubCubePrism, kSnubDodecahedronPrism, kAntiprismPrism };
    Kind kind = Kind::kDiagram;
    // The diagram's nodes in order: mark[i][j] the branch between nodes i
    // and j (2 where none: the factors of a product and nodes apart).
    int marks[4][4] = {};
    bool ringed[4] = {};
    int n = 0;  // the antiprism's polygon
    std::string name;    // the catalogue's or a made name: "truncated tesseract", "5-8 duoprism"
    std::string symbol;  // the diagram as written in the catalogue, "" for the named forms
};

// Reads a diagram or a name (any case; a name may be cut short where it
// still fits one member). "" and the recipe, or a message that says why not.
std::string read_polytope(const std::string& text, PolytopeRecipe& recipe);

// Builds what read_polytope read, with unit edges (not yet scaled):
// "" or why not.
std::string build_polytope(const PolytopeRecipe& recipe, PolytopeLattice& lattice);

// Both, and scales the result to circumradius 1 when asked.
std::string make_polytope(const std::string& text, PolytopeLattice& lattice, bool unit_circumradius);

// The catalogue of the 64 convex uniform polychora and the menu's selection
// of duoprisms and antiprismatic prisms, in their families' order.
struct UniformEntry {
    const char* family;  // "5-cell family", ...
    const char* name;    // "truncated tesseract"
    const char* symbol;  // "x4x3o3o", or the name for the named forms
};
extern const UniformEntry kUniformCatalogue[];
extern const int kUniformCatalogueCount;  // the 64 come first
constexpr int kConvexUniformCount = 64;

// The notation in a few lines, for --help.
extern const char kPolytopeNotationHelp[];

}  // namespace fourview
