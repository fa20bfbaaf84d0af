// The uniform polychora against their published counts and what makes a
// polytope: Euler's relation, unit edges, one circumsphere, every face in
// two cells, every cell closed; the refusals of bad diagrams and names.
#include "models/uniform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <utility>

#include "geom4/vector4.h"
#include "models/curved.h"
#include "models/lattice_build.h"
#include "models/polychora.h"

namespace fourview {
namespace {

struct Counts {
    const char* text;  // a diagram or a name
    int v, e, f, c;
};

// Published vertex, edge, face and cell counts.
constexpr Counts kCounts[] = {
    {"x3o3o3o", 5, 10, 10, 5},
    {"o3x3o3o", 10, 30, 30, 10},
    {"x3x3o3o", 20, 40, 30, 10},
    {"x3o3x3o", 30, 90, 80, 20},
    {"x3o3o3x", 20, 60, 70, 30},
    {"o3x3x3o", 30, 60, 40, 10},
    {"x3x3x3o", 60, 120, 80, 20},
    {"x3x3o3x", 60, 150, 120, 30},
    {"x3x3x3x", 120, 240, 150, 30},
    {"x4o3o3o", 16, 32, 24, 8},
    {"o4x3o3o", 32, 96, 88, 24},
    {"x4x3o3o", 64, 128, 88, 24},
    {"x4o3x3o", 96, 288, 248, 56},
    {"x4o3o3x", 64, 192, 208, 80},
    {"o4x3x3o", 96, 192, 120, 24},
    {"x4x3x3o", 192, 384, 248, 56},
    {"x4x3o3x", 192, 480, 368, 80},
    {"x4x3x3x", 384, 768, 464, 80},
    {"o4o3o3x", 8, 24, 32, 16},
    {"o4o3x3x", 48, 120, 96, 24},
    {"x4o3x3x", 192, 480, 368, 80},
    {"x3o4o3o", 24, 96, 96, 24},
    {"o3x4o3o", 96, 288, 240, 48},
    {"x3x4o3o", 192, 384, 240, 48},
    {"x3o4x3o", 288, 864, 720, 144},
    {"x3o4o3x", 144, 576, 672, 240},
    {"o3x4x3o", 288, 576, 336, 48},
    {"x3x4x3o", 576, 1152, 720, 144},
    {"x3x4o3x", 576, 1440, 1104, 240},
    {"x3x4x3x", 1152, 2304, 1392, 240},
    {"snub 24-cell", 96, 432, 480, 144},
    {"x5o3o3o", 600, 1200, 720, 120},
    {"o5x3o3o", 1200, 3600, 3120, 720},
    {"x5x3o3o", 2400, 4800, 3120, 720},
    {"x5o3x3o", 3600, 10800, 9120, 1920},
    {"x5o3o3x", 2400, 7200, 7440, 2640},
    {"o5x3x3o", 3600, 7200, 4320, 720},
    {"x5x3x3o", 7200, 14400, 9120, 1920},
    {"x5x3o3x", 7200, 18000, 13440, 2640},
    {"x5x3x3x", 14400, 28800, 17040, 2640},
    {"o5o3o3x", 120, 720, 1200, 600},
    {"o5o3x3o", 720, 3600, 3600, 720},
    {"o5o3x3x", 1440, 4320, 3600, 720},
    {"o5x3o3x", 3600, 10800, 8640, 1440},
    {"o5x3x3x", 7200, 14400, 8640, 1440},
    {"x5o3x3x", 7200, 18000, 13440, 2640},
    {"grand antiprism", 100, 500, 720, 320},
    {"x3o3o x", 8, 16, 14, 6},
    {"x3x3o x", 24, 48, 34, 10},
    {"x3o4o x", 12, 30, 28, 10},
    {"o3x4o x", 24, 60, 52, 16},
    {"x4x3o x", 48, 96, 64, 16},
    {"o4x3x x", 48, 96, 64, 16},
    {"x4o3x x", 48, 120, 100, 28},
    {"x4x3x x", 96, 192, 124, 28},
    {"snub cubic prism", 48, 144, 136, 40},
    {"x5o3o x", 40, 80, 54, 14},
    {"x3o5o x", 24, 72, 70, 22},
    {"o5x3o x", 60, 150, 124, 34},
    {"x5x3o x", 120, 240, 154, 34},
    {"o5x3x x", 120, 240, 154, 34},
    {"x5o3x x", 120, 300, 244, 64},
    {"x5x3x x", 240, 480, 304, 64},
    {"snub dodecahedral prism", 120, 360, 334, 94},
    // The infinite families: p-q duoprisms pq, 2pq, pq + p + q, p + q;
    // n-gonal antiprismatic prisms 4n, 10n, 8n + 4, 2n + 4.
    {"x3o x3o", 9, 18, 15, 6},
    {"x3o x24o", 72, 144, 99, 27},
    {"5-8 duoprism", 40, 80, 53, 13},
    {"x24o x24o", 576, 1152, 624, 48},
    {"triangular antiprismatic prism", 12, 30, 28, 10},
    {"8-gonal antiprismatic prism", 32, 80, 68, 20},
    {"24-gonal antiprismatic prism", 96, 240, 196, 52},
};

TEST(Uniform, EveryMemberAgainstItsCountsAndThePolytopeItMustBe) {
    static_assert(sizeof kCounts / sizeof kCounts[0] == 64 + 7, "the 64 and the sample of the families");
    for (const Counts& k : kCounts) {
        SCOPED_TRACE(k.text);
        PolytopeLattice l;
        ASSERT_EQ(make_polytope(k.text, l, false), "");
        EXPECT_EQ(l.vertex_count(), k.v);
        EXPECT_EQ(l.edge_count(), k.e);
        EXPECT_EQ(l.face_count(), k.f);
        EXPECT_EQ(l.cell_count(), k.c);
        EXPECT_EQ(l.vertex_count() - l.edge_count() + l.face_count() - l.cell_count(), 0);
        for (const auto& e : l.edges) EXPECT_NEAR(distance(l.vertices[e[0]], l.vertices[e[1]]), 1.0, 1e-9);
        for (const Point4& p : l.vertices) EXPECT_NEAR(std::sqrt(dot(p, p)), l.circumradius, 1e-9);
        // Every face in exactly two cells, each cell's edges in two of its faces.
        std::vector<int> cells_of_face(l.face_count(), 0);
        ASSERT_EQ(static_cast<int>(l.cell_kind.size()), l.cell_count());
        for (int c = 0; c < l.cell_count(); ++c) {
            std::map<std::pair<int, int>, int> edge_uses;
            for (int k = l.cell_start[c]; k < l.cell_start[c + 1]; ++k) {
                const int f = l.cell_faces[k];
                ++cells_of_face[f];
                const int n = l.face_size(f);
                for (int j = 0; j < n; ++j) ++edge_uses[std::minmax(l.face(f)[j], l.face(f)[(j + 1) % n])];
                // The face lies in the cell's hyperplane.
                for (int j = 0; j < n; ++j)
                    EXPECT_NEAR(dot(l.cell_normal[c], l.vertices[l.face(f)[j]]), l.cell_offset[c], 1e-7);
            }
            for (const auto& u : edge_uses) EXPECT_EQ(u.second, 2) << "cell " << c;
        }
        for (int f = 0; f < l.face_count(); ++f) EXPECT_EQ(cells_of_face[f], 2) << "face " << f;
    }
}

TEST(Uniform, CellKindsAndCaptions) {
    const struct {
        const char* text;
        const char* name;
        const char* counts;
    } cases[] = {
        {"x4x3o3o", "truncated tesseract",
         "64 vertices, 128 edges, 64 triangles + 24 octagons, 8 truncated cubes + 16 tetrahedra"},
        {"grand antiprism", "grand antiprism",
         "100 vertices, 500 edges, 700 triangles + 20 pentagons, 20 pentagonal antiprisms + 300 tetrahedra"},
        {"o5o3o3x", "600-cell", "120 vertices, 720 edges, 1200 triangles, 600 tetrahedra"},
        {"x3o3o3x", "runcinated 5-cell",
         "20 vertices, 60 edges, 40 triangles + 30 squares, 20 triangular prisms + 10 tetrahedra"},
        {"snub 24-cell", "snub 24-cell", "96 vertices, 432 edges, 480 triangles, 24 icosahedra + 120 tetrahedra"},
        {"x5o x8o", "5-8 duoprism", "40 vertices, 80 edges, 40 squares + 8 pentagons + 5 octagons, "
                                    "5 octagonal prisms + 8 pentagonal prisms"},
        {"square antiprismatic prism", "square antiprismatic prism",
         "16 vertices, 40 edges, 16 triangles + 20 squares, 2 square antiprisms + 2 cubes + 8 triangular prisms"},
        {"o3x3o3o", "rectified 5-cell", "10 vertices, 30 edges, 30 triangles, 5 octahedra + 5 tetrahedra"},
        {"x5x3x3x", "omnitruncated 120-cell",
         "14400 vertices, 28800 edges, 10800 squares + 4800 hexagons + 1440 decagons, "
         "120 truncated icosidodecahedra + 600 truncated octahedra + 720 decagonal prisms + 1200 hexagonal prisms"},
        {"snub dodecahedral prism", "snub dodecahedral prism",
         "120 vertices, 360 edges, 160 triangles + 150 squares + 24 pentagons, "
         "2 snub dodecahedra + 12 pentagonal prisms + 80 triangular prisms"},
        {"snub cube prism", "snub cubic prism",
         "48 vertices, 144 edges, 64 triangles + 72 squares, 2 snub cubes + 6 cubes + 32 triangular prisms"},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.text);
        PolytopeLattice l;
        ASSERT_EQ(make_polytope(k.text, l, true), "");
        EXPECT_EQ(l.name, k.name);
        EXPECT_EQ(lattice_counts(l), k.counts);
        EXPECT_NEAR(l.circumradius, 1.0, 1e-12);
    }
}

TEST(Uniform, NamesAndDiagramsReadAlike) {
    const struct {
        const char* text;
        const char* name;
    } cases[] = {
        {"o4o3o3x", "16-cell"},          {"x3o3o4o", "16-cell"},
        {"o5o3o3x", "600-cell"},         {"x3o3o5o", "600-cell"},
        {"X4x3o3o", "truncated tesseract"}, {"Truncated Tesseract", "truncated tesseract"},
        {"omnitruncated 120", "omnitruncated 120-cell"}, {"o4o3x3o", "24-cell"},
        {"rectified 16-cell", "24-cell"}, {"hypercube", "tesseract"},
        {"x x x x", "tesseract"},       {"x4o x4o", "tesseract"},
        {"x x8o x", "4-8 duoprism"},     {"x6x x3o", "3-12 duoprism"},
        {"6-8 duoprism", "6-8 duoprism"}, {"6 8 duoprism", "6-8 duoprism"},
        {"hexagonal antiprismatic prism", "hexagonal antiprismatic prism"},
        {"7-gonal antiprismatic prism", "heptagonal antiprismatic prism"},
        {"100-gonal antiprismatic prism", "100-gonal antiprismatic prism"},
        {"x3o5o x", "icosahedral prism"}, {"x o3x5x", "truncated dodecahedral prism"},
        {"grand", "grand antiprism"},    {"snub cube prism", "snub cubic prism"},
        {"  x4o3o3o ", "tesseract"},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.text);
        PolytopeRecipe r;
        ASSERT_EQ(read_polytope(k.text, r), "");
        EXPECT_EQ(r.name, k.name);
    }
}

TEST(Uniform, RefusalsSayWhy) {
    const struct {
        const char* text;
        const char* message;
    } cases[] = {
        {"", "an empty diagram: give one such as x4x3o3o, or a name such as truncated tesseract"},
        {"x3o3o", "'x3o3o': rank 3; a polychoron's diagram has 4 nodes (the ranks of a product's factors add to 4)"},
        {"x3o3o3o3o", "'x3o3o3o3o': rank 5; a polychoron's diagram has 4 nodes (the ranks of a product's factors add to 4)"},
        {"x3o3o o", "'x3o3o o': the factor 'o' has no ringed node (x), so the polytope would not be four-dimensional"},
        {"o3o3o3o", "'o3o3o3o': the factor 'o3o3o3o' has no ringed node (x), so the polytope would not be four-dimensional"},
        {"x4o3o4o", "'x4o3o4o': the group 4-3-4 is infinite (a tiling, not a polytope); the finite ones are 3-3-3, "
                    "4-3-3, 3-4-3, 5-3-3 and their reverses"},
        {"x3o5o3o", "'x3o5o3o': the group 3-5-3 is infinite (a tiling, not a polytope); the finite ones are 3-3-3, "
                    "4-3-3, 3-4-3, 5-3-3 and their reverses"},
        {"x6o3o x", "'x6o3o x': the group 6-3 is infinite (a tiling, not a polyhedron); the finite ones are 3-3, 4-3, "
                    "3-4, 5-3 and 3-5"},
        {"x2o x3o", "'x2o x3o': branch marks run from 3 to 100 (a product's factors are separated by a space)"},
        {"x101o x3o", "'x101o x3o': branch marks run from 3 to 100 (a product's factors are separated by a space)"},
        {"x3y3o3o", "'x3y3o3o': a diagram is nodes x (ringed) or o joined by branch marks, as x4x3o3o, factors of a "
                    "product separated by a space, as x5o x8o"},
        {"x3o3o3", "'x3o3o3': a diagram is nodes x (ringed) or o joined by branch marks, as x4x3o3o, factors of a "
                   "product separated by a space, as x5o x8o"},
        {"x33333o x", "'x33333o x': a diagram is nodes x (ringed) or o joined by branch marks, as x4x3o3o, factors of "
                      "a product separated by a space, as x5o x8o"},
        {"truncated", "'truncated' fits several polytopes; say more of the name"},
        {"rhombic triacontahedron", "unknown polytope 'rhombic triacontahedron' (a diagram such as x4x3o3o, or a "
                                    "name such as truncated tesseract; fourview --help explains)"},
        {"2-8 duoprism", "'2-8 duoprism': a duoprism's polygons have 3 to 100 corners"},
        {"x4x3o3o\nx", "a diagram or name holds no control characters"},
        {"101-gonal antiprismatic prism", "'101-gonal antiprismatic prism': an antiprismatic prism's polygons have "
                                          "3 to 100 corners"},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.text);
        PolytopeRecipe r;
        EXPECT_EQ(read_polytope(k.text, r), k.message);
    }
}

}  // namespace
}  // namespace fourview

namespace fourview {
namespace {

// The chosen polytope is model kModelUniform at circumradius 1, on whose
// sphere the stereographic projection and colour by w put it; a refused
// diagram keeps the one before.
TEST(Uniform, TheChosenPolytopeIsTheUniformModel) {
    ASSERT_EQ(choose_uniform_polytope("x4x3o3o"), "");
    const PolytopeLattice* l = find_lattice(kModelUniform);
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(l->name, "truncated tesseract");
    EXPECT_STREQ(uniform_caption_counts(),
                 "64 vertices, 128 edges, 64 triangles + 24 octagons, 8 truncated cubes + 16 tetrahedra");
    EXPECT_NE(choose_uniform_polytope("x4o3o4o"), "");
    EXPECT_EQ(find_lattice(kModelUniform)->name, "truncated tesseract");
    const AppState saved = app;
    app.model_id = kModelUniform;
    app.projection_mode = kProjectionStereographic;
    app.model_radius = 7;
    prepare_model_sphere(false);
    EXPECT_NEAR(app.model_radius, 1.0, 1e-12);
    EXPECT_EQ(app.push_onto_sphere, 1);
    app = saved;
}

}  // namespace
}  // namespace fourview
