#include "models/uniform.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <vector>

#include "geom4/vector4.h"
#include "models/lattice_build.h"

namespace fourview {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kPhi = 1.6180339887498949;
constexpr int kMostMark = 100;

// ---- The catalogue ------------------------------------------------------

const char* const kPolygonWords[] = {"triangular", "square", "pentagonal", "hexagonal", "heptagonal",
                                     "octagonal", "enneagonal", "decagonal", "hendecagonal", "dodecagonal"};

// Names of rank-3 diagrams (read either way) as the adjective of a prism.
struct PolyhedronName {
    const char* symbol;
    const char* adjective;
};
constexpr PolyhedronName kPolyhedra[] = {
    {"x3o3o", "tetrahedral"},         {"o3x3o", "octahedral"},
    {"x3x3o", "truncated tetrahedral"}, {"x3o3x", "cuboctahedral"},
    {"x3x3x", "truncated octahedral"}, {"o3x3x", "truncated tetrahedral"},
    {"x4o3o", "cubic"},                {"o4x3o", "cuboctahedral"},
    {"o4o3x", "octahedral"},           {"x4x3o", "truncated cubic"},
    {"o4x3x", "truncated octahedral"}, {"x4o3x", "rhombicuboctahedral"},
    {"x4x3x", "truncated cuboctahedral"}, {"x5o3o", "dodecahedral"},
    {"o5x3o", "icosidodecahedral"},    {"o5o3x", "icosahedral"},
    {"x5x3o", "truncated dodecahedral"}, {"o5x3x", "truncated icosahedral"},
    {"x5o3x", "rhombicosidodecahedral"}, {"x5x3x", "truncated icosidodecahedral"},
};

// Diagrams of the 24-cell family written in the tesseract's group.
constexpr PolyhedronName kOtherSymbols[] = {
    {"o4o3x3o", "24-cell"},
    {"o4x3o3x", "rectified 24-cell"},
    {"o4x3x3x", "truncated 24-cell"},
};

}  // namespace

const UniformEntry kUniformCatalogue[] = {
    {"5-cell family", "5-cell", "x3o3o3o"},
    {"5-cell family", "rectified 5-cell", "o3x3o3o"},
    {"5-cell family", "truncated 5-cell", "x3x3o3o"},
    {"5-cell family", "cantellated 5-cell", "x3o3x3o"},
    {"5-cell family", "runcinated 5-cell", "x3o3o3x"},
    {"5-cell family", "bitruncated 5-cell", "o3x3x3o"},
    {"5-cell family", "cantitruncated 5-cell", "x3x3x3o"},
    {"5-cell family", "runcitruncated 5-cell", "x3x3o3x"},
    {"5-cell family", "omnitruncated 5-cell", "x3x3x3x"},
    {"tesseract family", "tesseract", "x4o3o3o"},
    {"tesseract family", "rectified tesseract", "o4x3o3o"},
    {"tesseract family", "truncated tesseract", "x4x3o3o"},
    {"tesseract family", "cantellated tesseract", "x4o3x3o"},
    {"tesseract family", "runcinated tesseract", "x4o3o3x"},
    {"tesseract family", "bitruncated tesseract", "o4x3x3o"},
    {"tesseract family", "cantitruncated tesseract", "x4x3x3o"},
    {"tesseract family", "runcitruncated tesseract", "x4x3o3x"},
    {"tesseract family", "omnitruncated tesseract", "x4x3x3x"},
    {"tesseract family", "16-cell", "o4o3o3x"},
    {"tesseract family", "truncated 16-cell", "o4o3x3x"},
    {"tesseract family", "runcitruncated 16-cell", "x4o3x3x"},
    {"24-cell family", "24-cell", "x3o4o3o"},
    {"24-cell family", "rectified 24-cell", "o3x4o3o"},
    {"24-cell family", "truncated 24-cell", "x3x4o3o"},
    {"24-cell family", "cantellated 24-cell", "x3o4x3o"},
    {"24-cell family", "runcinated 24-cell", "x3o4o3x"},
    {"24-cell family", "bitruncated 24-cell", "o3x4x3o"},
    {"24-cell family", "cantitruncated 24-cell", "x3x4x3o"},
    {"24-cell family", "runcitruncated 24-cell", "x3x4o3x"},
    {"24-cell family", "omnitruncated 24-cell", "x3x4x3x"},
    {"24-cell family", "snub 24-cell", "snub 24-cell"},
    {"120-cell family", "120-cell", "x5o3o3o"},
    {"120-cell family", "rectified 120-cell", "o5x3o3o"},
    {"120-cell family", "truncated 120-cell", "x5x3o3o"},
    {"120-cell family", "cantellated 120-cell", "x5o3x3o"},
    {"120-cell family", "runcinated 120-cell", "x5o3o3x"},
    {"120-cell family", "bitruncated 120-cell", "o5x3x3o"},
    {"120-cell family", "cantitruncated 120-cell", "x5x3x3o"},
    {"120-cell family", "runcitruncated 120-cell", "x5x3o3x"},
    {"120-cell family", "omnitruncated 120-cell", "x5x3x3x"},
    {"120-cell family", "600-cell", "o5o3o3x"},
    {"120-cell family", "rectified 600-cell", "o5o3x3o"},
    {"120-cell family", "truncated 600-cell", "o5o3x3x"},
    {"120-cell family", "cantellated 600-cell", "o5x3o3x"},
    {"120-cell family", "cantitruncated 600-cell", "o5x3x3x"},
    {"120-cell family", "runcitruncated 600-cell", "x5o3x3x"},
    {"120-cell family", "grand antiprism", "grand antiprism"},
    {"polyhedral prisms", "tetrahedral prism", "x3o3o x"},
    {"polyhedral prisms", "truncated tetrahedral prism", "x3x3o x"},
    {"polyhedral prisms", "octahedral prism", "x3o4o x"},
    {"polyhedral prisms", "cuboctahedral prism", "o3x4o x"},
    {"polyhedral prisms", "truncated cubic prism", "x4x3o x"},
    {"polyhedral prisms", "truncated octahedral prism", "o4x3x x"},
    {"polyhedral prisms", "rhombicuboctahedral prism", "x4o3x x"},
    {"polyhedral prisms", "truncated cuboctahedral prism", "x4x3x x"},
    {"polyhedral prisms", "snub cubic prism", "snub cubic prism"},
    {"polyhedral prisms", "dodecahedral prism", "x5o3o x"},
    {"polyhedral prisms", "icosahedral prism", "x3o5o x"},
    {"polyhedral prisms", "icosidodecahedral prism", "o5x3o x"},
    {"polyhedral prisms", "truncated dodecahedral prism", "x5x3o x"},
    {"polyhedral prisms", "truncated icosahedral prism", "o5x3x x"},
    {"polyhedral prisms", "rhombicosidodecahedral prism", "x5o3x x"},
    {"polyhedral prisms", "truncated icosidodecahedral prism", "x5x3x x"},
    {"polyhedral prisms", "snub dodecahedral prism", "snub dodecahedral prism"},
    // The menu's selection of the two infinite families.
    {"duoprisms", "3-3 duoprism", "x3o x3o"},
    {"duoprisms", "3-4 duoprism", "x3o x4o"},
    {"duoprisms", "3-5 duoprism", "x3o x5o"},
    {"duoprisms", "3-6 duoprism", "x3o x6o"},
    {"duoprisms", "3-7 duoprism", "x3o x7o"},
    {"duoprisms", "3-8 duoprism", "x3o x8o"},
    {"duoprisms", "4-5 duoprism", "x4o x5o"},
    {"duoprisms", "4-6 duoprism", "x4o x6o"},
    {"duoprisms", "4-7 duoprism", "x4o x7o"},
    {"duoprisms", "4-8 duoprism", "x4o x8o"},
    {"duoprisms", "5-5 duoprism", "x5o x5o"},
    {"duoprisms", "5-6 duoprism", "x5o x6o"},
    {"duoprisms", "5-7 duoprism", "x5o x7o"},
    {"duoprisms", "5-8 duoprism", "x5o x8o"},
    {"duoprisms", "6-6 duoprism", "x6o x6o"},
    {"duoprisms", "6-7 duoprism", "x6o x7o"},
    {"duoprisms", "6-8 duoprism", "x6o x8o"},
    {"duoprisms", "7-7 duoprism", "x7o x7o"},
    {"duoprisms", "7-8 duoprism", "x7o x8o"},
    {"duoprisms", "8-8 duoprism", "x8o x8o"},
    {"antiprismatic prisms", "triangular antiprismatic prism", "triangular antiprismatic prism"},
    {"antiprismatic prisms", "square antiprismatic prism", "square antiprismatic prism"},
    {"antiprismatic prisms", "pentagonal antiprismatic prism", "pentagonal antiprismatic prism"},
    {"antiprismatic prisms", "hexagonal antiprismatic prism", "hexagonal antiprismatic prism"},
    {"antiprismatic prisms", "heptagonal antiprismatic prism", "heptagonal antiprismatic prism"},
    {"antiprismatic prisms", "octagonal antiprismatic prism", "octagonal antiprismatic prism"},
};
const int kUniformCatalogueCount = static_cast<int>(sizeof kUniformCatalogue / sizeof kUniformCatalogue[0]);

const char kPolytopeNotationHelp[] =
    "A diagram names a uniform polytope by its mirrors: nodes x (ringed) or o, with the\n"
    "branch mark between neighbours; 3-3-3, 4-3-3, 3-4-3, 5-3-3 and their reverses.\n"
    "  x3o3o3o 5-cell, x4o3o3o tesseract, x3o4o3o 24-cell, x5o3o3o 120-cell,\n"
    "  x4x3o3o truncated tesseract, x5x3x3x omnitruncated 120-cell\n"
    "A product is its factors separated by a space, ranks adding to 4: x a segment,\n"
    "xPo a P-gon, xPx a 2P-gon (P 3 to 100), a 3-node diagram a polyhedron:\n"
    "  x3o5o x icosahedral prism, x5o x8o 5-8 duoprism\n"
    "Or a name: truncated tesseract, snub 24-cell, grand antiprism, snub cubic prism,\n"
    "snub dodecahedral prism, 6-8 duoprism, 7-gonal antiprismatic prism.\n";

namespace {

// ---- Reading -------------------------------------------------------------

// Letters and digits only, in lower case: what names are compared by.
std::string slug(const std::string& s) {
    std::string out;
    for (char c : s)
        if (std::isalnum(static_cast<unsigned char>(c))) out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// A whole number of at most 3 digits at s[i], or -1.
int read_number(const std::string& s, std::size_t& i) {
    int n = 0, digits = 0;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) {
        if (++digits > 3) return -1;
        n = 10 * n + (s[i++] - '0');
    }
    return digits == 0 ? -1 : n;
}

// One factor of a product: its nodes and marks.
struct Factor {
    std::string nodes;
    std::vector<int> marks;
};

std::string quoted(const std::string& s) { return "'" + s + "'"; }

// <diagram> = <factor> {" " <factor>}; <factor> = <node> {<mark> <node>};
// <node> = "x" | "o"; <mark> = 2 to 3 digits.
std::string read_factors(const std::string& text, std::vector<Factor>& factors) {
    std::size_t i = 0;
    const std::string bad = quoted(text) +
                            ": a diagram is nodes x (ringed) or o joined by branch marks, as x4x3o3o, "
                            "factors of a product separated by a space, as x5o x8o";
    while (i < text.size()) {
        while (i < text.size() && text[i] == ' ') ++i;
        if (i == text.size()) break;
        Factor f;
        for (;;) {
            const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(text[i])));
            if (c != 'x' && c != 'o') return bad;
            f.nodes += c;
            ++i;
            if (i == text.size() || text[i] == ' ') break;
            const int mark = read_number(text, i);
            if (mark < 0 || i == text.size() || text[i] == ' ') return bad;
            if (mark < 3 || mark > kMostMark)
                return quoted(text) + ": branch marks run from 3 to 100 (a product's factors are separated by a space)";
            f.marks.push_back(mark);
        }
        factors.push_back(f);
    }
    if (factors.empty()) return "an empty diagram: give one such as x4x3o3o, or a name such as truncated tesseract";
    return "";
}

bool finite_rank3(int a, int b) {
    return (a == 3 && b == 3) || (a == 3 && b == 4) || (a == 4 && b == 3) || (a == 3 && b == 5) || (a == 5 && b == 3);
}

bool finite_rank4(int a, int b, int c) {
    const int m[][3] = {{3, 3, 3}, {4, 3, 3}, {3, 3, 4}, {3, 4, 3}, {5, 3, 3}, {3, 3, 5}};
    for (const auto& r : m)
        if (r[0] == a && r[1] == b && r[2] == c) return true;
    return false;
}

std::string factor_text(const Factor& f) {
    std::string s(1, f.nodes[0]);
    for (std::size_t k = 0; k < f.marks.size(); ++k) s += std::to_string(f.marks[k]) + f.nodes[k + 1];
    return s;
}

std::string reversed(const Factor& f) {
    Factor r;
    r.nodes.assign(f.nodes.rbegin(), f.nodes.rend());
    r.marks.assign(f.marks.rbegin(), f.marks.rend());
    return factor_text(r);
}

// A name for a product from its factors, as the catalogue would give it.
std::string product_name(std::vector<Factor> factors) {
    // Two segments make a square.
    std::vector<int> polygons;
    std::string polyhedron;
    int segments = 0;
    for (const Factor& f : factors) {
        if (f.nodes.size() == 1) ++segments;
        if (f.nodes.size() == 2) polygons.push_back(f.nodes == "xx" ? 2 * f.marks[0] : f.marks[0]);
        if (f.nodes.size() == 3) {
            for (const auto& p : kPolyhedra)
                if (factor_text(f) == p.symbol || reversed(f) == p.symbol) polyhedron = p.adjective;
        }
    }
    while (segments >= 2) {
        polygons.push_back(4);
        segments -= 2;
    }
    if (!polyhedron.empty()) return polyhedron == "cubic" ? "tesseract" : polyhedron + " prism";
    if (polygons.size() == 2) {
        std::sort(polygons.begin(), polygons.end());
        if (polygons[0] == 4 && polygons[1] == 4) return "tesseract";
        return std::to_string(polygons[0]) + "-" + std::to_string(polygons[1]) + " duoprism";
    }
    return "";
}

std::string read_diagram(const std::string& text, PolytopeRecipe& r) {
    std::vector<Factor> factors;
    std::string why = read_factors(text, factors);
    if (!why.empty()) return why;
    int rank = 0;
    for (const Factor& f : factors) rank += static_cast<int>(f.nodes.size());
    if (rank != 4)
        return quoted(text) + ": rank " + std::to_string(rank) +
               "; a polychoron's diagram has 4 nodes (the ranks of a product's factors add to 4)";
    for (const Factor& f : factors) {
        if (f.nodes.find('x') == std::string::npos)
            return quoted(text) + ": the factor " + quoted(factor_text(f)) +
                   " has no ringed node (x), so the polytope would not be four-dimensional";
        const auto& m = f.marks;
        if (f.nodes.size() == 3 && !finite_rank3(m[0], m[1]))
            return quoted(text) + ": the group " + std::to_string(m[0]) + "-" + std::to_string(m[1]) +
                   " is infinite (a tiling, not a polyhedron); the finite ones are 3-3, 4-3, 3-4, 5-3 and 3-5";
        if (f.nodes.size() == 4 && !finite_rank4(m[0], m[1], m[2]))
            return quoted(text) + ": the group " + std::to_string(m[0]) + "-" + std::to_string(m[1]) + "-" +
                   std::to_string(m[2]) +
                   " is infinite (a tiling, not a polytope); the finite ones are 3-3-3, 4-3-3, 3-4-3, 5-3-3 and their reverses";
    }
    r = PolytopeRecipe{};
    r.kind = PolytopeRecipe::Kind::kDiagram;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) r.marks[i][j] = 2;
    int node = 0;
    std::string written;
    for (const Factor& f : factors) {
        for (std::size_t k = 0; k < f.nodes.size(); ++k) {
            r.ringed[node + k] = f.nodes[k] == 'x';
            if (k + 1 < f.nodes.size()) r.marks[node + k][node + k + 1] = r.marks[node + k + 1][node + k] = f.marks[k];
        }
        node += static_cast<int>(f.nodes.size());
        written += (written.empty() ? "" : " ") + factor_text(f);
    }
    r.symbol = written;
    // The catalogue's name, the diagram read either way.
    if (factors.size() == 1) {
        const std::string back = reversed(factors[0]);
        for (int k = 0; k < kConvexUniformCount; ++k)
            if (written == kUniformCatalogue[k].symbol || back == kUniformCatalogue[k].symbol)
                r.name = kUniformCatalogue[k].name;
        for (const auto& o : kOtherSymbols)
            if (written == o.symbol || back == o.symbol) r.name = o.adjective;
    } else {
        r.name = product_name(factors);
    }
    if (r.name.empty()) r.name = written;
    return "";
}

// "7-gonal" or "heptagonal" (the word names up to 12): the number, or -1.
int polygon_number(const std::string& word) {
    for (int k = 0; k < 10; ++k)
        if (word == kPolygonWords[k]) return k + 3;
    const std::string gonal = "-gonal";
    if (word.size() > gonal.size() && word.compare(word.size() - gonal.size(), gonal.size(), gonal) == 0) {
        std::size_t i = 0;
        const int n = read_number(word, i);
        if (i == word.size() - gonal.size()) return n;
    }
    return -1;
}

std::string polygon_word(int n) { return n <= 12 ? kPolygonWords[n - 3] : std::to_string(n) + "-gonal"; }

std::string read_name(const std::string& text, PolytopeRecipe& r) {
    std::string lower;
    for (char c : text) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    // "P-Q duoprism"
    {
        std::size_t i = 0;
        const int p = read_number(lower, i);
        if (p >= 0 && i < lower.size() && (lower[i] == '-' || lower[i] == ' ')) {
            ++i;
            const int q = read_number(lower, i);
            if (q >= 0 && slug(lower.substr(i)) == "duoprism") {
                if (p < 3 || q < 3 || p > kMostMark || q > kMostMark)
                    return quoted(text) + ": a duoprism's polygons have 3 to 100 corners";
                std::string why = read_diagram("x" + std::to_string(p) + "o x" + std::to_string(q) + "o", r);
                return why;
            }
        }
    }
    // "N-gonal antiprismatic prism"
    const std::string tail = " antiprismatic prism";
    if (lower.size() > tail.size() && lower.compare(lower.size() - tail.size(), tail.size(), tail) == 0) {
        const int n = polygon_number(lower.substr(0, lower.size() - tail.size()));
        if (n >= 0) {
            if (n < 3 || n > kMostMark) return quoted(text) + ": an antiprismatic prism's polygons have 3 to 100 corners";
            r = PolytopeRecipe{};
            r.kind = PolytopeRecipe::Kind::kAntiprismPrism;
            r.n = n;
            r.name = polygon_word(n) + " antiprismatic prism";
            return "";
        }
    }
    struct Named {
        const char* name;
        PolytopeRecipe::Kind kind;
    };
    const Named named[] = {
        {"snub 24-cell", PolytopeRecipe::Kind::kSnub24Cell},
        {"grand antiprism", PolytopeRecipe::Kind::kGrandAntiprism},
        {"snub cubic prism", PolytopeRecipe::Kind::kSnubCubePrism},
        {"snub cube prism", PolytopeRecipe::Kind::kSnubCubePrism},
        {"snub dodecahedral prism", PolytopeRecipe::Kind::kSnubDodecahedronPrism},
        {"snub dodecahedron prism", PolytopeRecipe::Kind::kSnubDodecahedronPrism},
    };
    // Other names of members, and the 16-cell's forms that are the 24-cell's.
    const PolyhedronName aliases[] = {
        {"hypercube", "x4o3o3o"},      {"8-cell", "x4o3o3o"},         {"cubic prism", "x4o3o3o"},
        {"rectified 16-cell", "o4o3x3o"}, {"cantellated 16-cell", "o4x3o3x"}, {"cantitruncated 16-cell", "o4x3x3x"},
        {"bitruncated 16-cell", "o4x3x3o"}, {"runcinated 16-cell", "x4o3o3x"}, {"omnitruncated 16-cell", "x4x3x3x"},
    };
    const std::string key = slug(text);
    if (key.empty()) return "an empty name: give a diagram such as x4x3o3o, or a name such as truncated tesseract";
    // Whole names first, then a beginning that fits one member.
    for (int pass = 0; pass < 2; ++pass) {
        int matches = 0;
        std::string found;
        PolytopeRecipe::Kind kind = PolytopeRecipe::Kind::kDiagram;
        std::string found_name;
        auto try_name = [&](const std::string& name, const std::string& symbol, PolytopeRecipe::Kind k) {
            const std::string s = slug(name);
            const bool fits = pass == 0 ? s == key : s.compare(0, key.size(), key) == 0;
            if (!fits || (matches > 0 && found == symbol && kind == k)) return;
            ++matches;
            found = symbol;
            kind = k;
            found_name = name;
        };
        for (int k = 0; k < kConvexUniformCount; ++k) {
            const UniformEntry& e = kUniformCatalogue[k];
            if (e.symbol[0] == 'x' || e.symbol[0] == 'o') try_name(e.name, e.symbol, PolytopeRecipe::Kind::kDiagram);
        }
        for (const Named& n : named) try_name(n.name, "", n.kind);
        for (const auto& a : aliases) try_name(a.symbol, a.adjective, PolytopeRecipe::Kind::kDiagram);
        if (matches > 1) return quoted(text) + " fits several polytopes; say more of the name";
        if (matches == 1) {
            if (kind != PolytopeRecipe::Kind::kDiagram) {
                r = PolytopeRecipe{};
                r.kind = kind;
                for (const Named& n : named)
                    if (n.kind == kind && r.name.empty()) r.name = n.name;
                return "";
            }
            return read_diagram(found, r);
        }
    }
    return "unknown polytope " + quoted(text) +
           " (a diagram such as x4x3o3o, or a name such as truncated tesseract; fourview --help explains)";
}

// ---- Building --------------------------------------------------------------

// Unit normals of the mirrors, r[i] . r[j] = -cos(pi / m_ij): the rows of
// the Cholesky factor of that Gram matrix, lower triangular, so that the
// point at given distances from the mirrors comes by forward substitution.
bool mirror_normals(const int (&marks)[4][4], int rank, double (&r)[4][4]) {
    for (int i = 0; i < rank; ++i)
        for (int j = 0; j < 4; ++j) r[i][j] = 0;
    for (int i = 0; i < rank; ++i)
        for (int j = 0; j <= i; ++j) {
            double g = i == j ? 1.0 : -std::cos(kPi / marks[i][j]);
            for (int k = 0; k < j; ++k) g -= r[i][k] * r[j][k];
            if (i == j) {
                if (!(g > 1e-12)) return false;
                r[i][i] = std::sqrt(g);
            } else {
                r[i][j] = g / r[j][j];
            }
        }
    return true;
}

Point4 row(const double (&r)[4][4], int i) { return Point4{r[i][0], r[i][1], r[i][2], r[i][3]}; }

Point4 reflect(const Point4& p, const Point4& n) { return minus(p, scaled(n, 2 * dot(p, n))); }

using Matrix = std::array<double, 16>;

Point4 times(const Matrix& m, const Point4& p) {
    Point4 q;
    for (int i = 0; i < 4; ++i)
        coordinate(q, i) = m[4 * i] * p.x + m[4 * i + 1] * p.y + m[4 * i + 2] * p.z + m[4 * i + 3] * p.w;
    return q;
}

// Wythoff's construction: the orbit of the point half an edge from each
// ringed mirror and on each other one. Each vertex keeps the group element
// that took the first one there, so that its edges are the first vertex's
// edges carried along.
std::string wythoff(const PolytopeRecipe& recipe, PolytopeLattice& l) {
    double r[4][4];
    if (!mirror_normals(recipe.marks, 4, r)) return "the group is infinite";
    Point4 start{};
    for (int i = 0; i < 4; ++i) {
        double t = recipe.ringed[i] ? 0.5 : 0.0;
        for (int k = 0; k < i; ++k) t -= r[i][k] * coordinate(start, k);
        coordinate(start, i) = t / r[i][i];
    }
    Point4 mirror[4];
    for (int i = 0; i < 4; ++i) mirror[i] = row(r, i);
    // The first vertex's neighbours: the reflections in the ringed mirrors,
    // turned by the mirrors through it.
    std::vector<Point4> around;
    for (int i = 0; i < 4; ++i)
        if (recipe.ringed[i]) around.push_back(reflect(start, mirror[i]));
    for (std::size_t k = 0; k < around.size(); ++k)
        for (int i = 0; i < 4; ++i) {
            if (recipe.ringed[i]) continue;
            const Point4 q = reflect(around[k], mirror[i]);
            bool seen = false;
            for (const Point4& a : around) seen = seen || distance2(a, q) < kPointTolerance * kPointTolerance;
            if (!seen) around.push_back(q);
            if (around.size() > 64) return "the vertex figure is too large";
        }
    for (Point4& a : around) a = minus(a, start);

    l.vertices.assign(1, start);
    std::vector<Matrix> element{Matrix{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};
    PointIndex index(l.vertices);
    index.insert(0);
    constexpr std::size_t kMostVertices = 160000;
    for (std::size_t v = 0; v < l.vertices.size(); ++v)
        for (int i = 0; i < 4; ++i) {
            const Point4 q = reflect(l.vertices[v], mirror[i]);
            if (index.find(q) >= 0) continue;
            if (l.vertices.size() >= kMostVertices) return "more vertices than the construction holds";
            Matrix m = element[v];
            for (int c = 0; c < 4; ++c) {
                const double t = mirror[i].x * m[c] + mirror[i].y * m[4 + c] + mirror[i].z * m[8 + c] + mirror[i].w * m[12 + c];
                for (int k = 0; k < 4; ++k) m[4 * k + c] -= 2 * coordinate(mirror[i], k) * t;
            }
            l.vertices.push_back(q);
            element.push_back(m);
            index.insert(static_cast<int>(l.vertices.size()) - 1);
        }
    l.edges.clear();
    for (int v = 0; v < l.vertex_count(); ++v)
        for (const Point4& d : around) {
            const int w = index.find(plus(l.vertices[v], times(element[v], d)));
            if (w < 0) return "an edge leads to no vertex";
            if (v < w) l.edges.push_back({v, w});
        }
    l.edge_length = 1.0;
    return "";
}

// The snub of the polyhedron of marks p-3: the orbit under the rotations of
// the point whose three rotated images (about the p-fold, the 3-fold and the
// 2-fold axes of its chamber) lie at one distance, found by Newton's method.
std::vector<Point4> snub_polyhedron(int p) {
    int marks[4][4];
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) marks[i][j] = 2;
    marks[0][1] = marks[1][0] = p;
    marks[1][2] = marks[2][1] = 3;
    double r[4][4];
    mirror_normals(marks, 3, r);
    Point4 n[3];
    for (int i = 0; i < 3; ++i) n[i] = row(r, i);
    auto point = [&](double a, double b) {
        const double t[3] = {a, b, 1};
        Point4 s{};
        for (int i = 0; i < 3; ++i) {
            double v = t[i];
            for (int k = 0; k < i; ++k) v -= r[i][k] * coordinate(s, k);
            coordinate(s, i) = v / r[i][i];
        }
        return s;
    };
    auto gaps = [&](double a, double b, double (&g)[2]) {
        const Point4 s = point(a, b);
        const double d01 = distance2(s, reflect(reflect(s, n[1]), n[0]));
        const double d12 = distance2(s, reflect(reflect(s, n[2]), n[1]));
        const double d02 = distance2(s, reflect(reflect(s, n[2]), n[0]));
        g[0] = d01 - d02;
        g[1] = d12 - d02;
    };
    double a = 1, b = 1;
    for (int step = 0; step < 60; ++step) {
        double g[2], ga[2], gb[2];
        const double h = 1e-7;
        gaps(a, b, g);
        gaps(a + h, b, ga);
        gaps(a, b + h, gb);
        const double j00 = (ga[0] - g[0]) / h, j10 = (ga[1] - g[1]) / h, j01 = (gb[0] - g[0]) / h, j11 = (gb[1] - g[1]) / h;
        const double det = j00 * j11 - j01 * j10;
        if (std::fabs(det) < 1e-300) break;
        a -= (j11 * g[0] - j01 * g[1]) / det;
        b -= (-j10 * g[0] + j00 * g[1]) / det;
    }
    std::vector<Point4> points{point(a, b)};
    for (std::size_t k = 0; k < points.size() && points.size() < 200; ++k) {
        const Point4 turned[2] = {reflect(reflect(points[k], n[1]), n[0]), reflect(reflect(points[k], n[2]), n[1])};
        for (const Point4& q : turned) {
            bool seen = false;
            for (const Point4& o : points) seen = seen || distance2(o, q) < 1e-12;
            if (!seen) points.push_back(q);
        }
    }
    return points;
}

// The 600-cell's vertices about the origin, circumradius 1: the 24-cell's
// 24 and the 96 even permutations of (phi, 1, 1/phi, 0) / 2 with any signs.
std::vector<Point4> six_hundred_cell(std::vector<Point4>& snub) {
    std::vector<Point4> all;
    for (int i = 0; i < 4; ++i)
        for (int s = -1; s <= 1; s += 2) {
            Point4 p{};
            coordinate(p, i) = s;
            all.push_back(p);
        }
    for (int s = 0; s < 16; ++s)
        all.push_back(Point4{s & 1 ? -0.5 : 0.5, s & 2 ? -0.5 : 0.5, s & 4 ? -0.5 : 0.5, s & 8 ? -0.5 : 0.5});
    const double base[4] = {kPhi / 2, 0.5, 0.5 / kPhi, 0};
    const int even[12][4] = {{0, 1, 2, 3}, {0, 2, 3, 1}, {0, 3, 1, 2}, {1, 0, 3, 2}, {1, 2, 0, 3}, {1, 3, 2, 0},
                             {2, 0, 1, 3}, {2, 1, 3, 0}, {2, 3, 0, 1}, {3, 0, 2, 1}, {3, 1, 0, 2}, {3, 2, 1, 0}};
    snub.clear();
    for (const auto& perm : even)
        for (int s = 0; s < 8; ++s) {
            Point4 p{};
            int bit = 0;
            for (int i = 0; i < 4; ++i) {
                double c = base[perm[i]];
                if (c != 0 && (s >> bit++ & 1)) c = -c;
                coordinate(p, i) = c;
            }
            snub.push_back(p);
        }
    all.insert(all.end(), snub.begin(), snub.end());
    return all;
}

// The 600-cell less two great decagons in completely orthogonal planes.
std::vector<Point4> grand_antiprism() {
    std::vector<Point4> snub;
    const std::vector<Point4> all = six_hundred_cell(snub);
    // A decagon through (1, 0, 0, 0) and its neighbour a / |a|.
    const Point4 e1{1, 0, 0, 0};
    Point4 e2 = snub[0];  // (phi, 1, 1/phi, 0) / 2, an edge from e1
    e2 = minus(e2, scaled(e1, dot(e2, e1)));
    unit(e2);
    std::vector<Point4> kept;
    for (const Point4& p : all) {
        const double in = dot(p, e1) * dot(p, e1) + dot(p, e2) * dot(p, e2);
        if (std::fabs(in - 1) < 1e-9 || in < 1e-9) continue;  // in the plane, or in its orthogonal one
        kept.push_back(p);
    }
    return kept;
}

void scale_points(std::vector<Point4>& points, double factor) {
    for (Point4& p : points) p = scaled(p, factor);
}

// Scales the points so that the shortest distance between them is 1.
void unit_edges(std::vector<Point4>& points) {
    double shortest = 0;
    for (std::size_t a = 0; a < points.size(); ++a)
        for (std::size_t b = a + 1; b < points.size(); ++b) {
            const double d = distance2(points[a], points[b]);
            if (shortest == 0 || d < shortest) shortest = d;
        }
    if (shortest > 0) scale_points(points, 1 / std::sqrt(shortest));
}

std::vector<Point4> prism_of(const std::vector<Point4>& base) {
    std::vector<Point4> out;
    for (double w : {-0.5, 0.5})
        for (const Point4& p : base) out.push_back(Point4{p.x, p.y, p.z, w});
    return out;
}

std::vector<Point4> antiprism(int n) {
    // Corners of the n-gon at the edge 1, the other n-gon turned half a
    // step; the heights make the slanting edges 1 too.
    const double radius = 1 / (2 * std::sin(kPi / n));
    const double chord = 2 * radius * std::sin(kPi / (2 * n));
    const double half = std::sqrt(std::max(0.0, 1 - chord * chord)) / 2;
    std::vector<Point4> out;
    for (int k = 0; k < 2 * n; ++k) {
        const double t = kPi * k / n;
        out.push_back(Point4{radius * std::cos(t), radius * std::sin(t), k % 2 ? half : -half, 0});
    }
    return out;
}

}  // namespace

std::string read_polytope(const std::string& text, PolytopeRecipe& recipe) {
    if (text.size() > 200) return "a diagram or name of more than 200 characters";
    // The messages quote the text: it must not break their one line.
    for (char c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) return "a diagram or name holds no control characters";
    std::string trimmed = text;
    while (!trimmed.empty() && trimmed.back() == ' ') trimmed.pop_back();
    trimmed.erase(0, trimmed.find_first_not_of(' ') == std::string::npos ? trimmed.size() : trimmed.find_first_not_of(' '));
    // A diagram starts with a node and a mark or a space ("x", "x4o3o3o"),
    // where no name does.
    const bool diagram = !trimmed.empty() && (trimmed[0] == 'x' || trimmed[0] == 'o' || trimmed[0] == 'X' || trimmed[0] == 'O') &&
                         (trimmed.size() == 1 || std::isdigit(static_cast<unsigned char>(trimmed[1])) || trimmed[1] == ' ');
    if (trimmed.empty()) return "an empty diagram: give one such as x4x3o3o, or a name such as truncated tesseract";
    return diagram ? read_diagram(trimmed, recipe) : read_name(trimmed, recipe);
}

std::string build_polytope(const PolytopeRecipe& recipe, PolytopeLattice& l) {
    l = PolytopeLattice{};
    l.name = recipe.name;
    l.symbol = recipe.symbol;
    std::vector<Point4> points, snub;
    switch (recipe.kind) {
        case PolytopeRecipe::Kind::kDiagram: {
            const std::string why = wythoff(recipe, l);
            if (!why.empty()) return why;
            break;
        }
        case PolytopeRecipe::Kind::kSnub24Cell:
            six_hundred_cell(snub);
            points = snub;
            break;
        case PolytopeRecipe::Kind::kGrandAntiprism: points = grand_antiprism(); break;
        case PolytopeRecipe::Kind::kSnubCubePrism:
            points = snub_polyhedron(4);
            unit_edges(points);
            points = prism_of(points);
            break;
        case PolytopeRecipe::Kind::kSnubDodecahedronPrism:
            points = snub_polyhedron(5);
            unit_edges(points);
            points = prism_of(points);
            break;
        case PolytopeRecipe::Kind::kAntiprismPrism: points = prism_of(antiprism(recipe.n)); break;
    }
    if (recipe.kind != PolytopeRecipe::Kind::kDiagram) {
        unit_edges(points);
        l.vertices = points;
    }
    return lattice_from_vertices(l);
}

std::string make_polytope(const std::string& text, PolytopeLattice& lattice, bool unit_circumradius) {
    PolytopeRecipe recipe;
    std::string why = read_polytope(text, recipe);
    if (why.empty()) why = build_polytope(recipe, lattice);
    if (why.empty() && unit_circumradius && lattice.circumradius > 0) scale_lattice(lattice, 1 / lattice.circumradius);
    return why;
}

}  // namespace fourview
