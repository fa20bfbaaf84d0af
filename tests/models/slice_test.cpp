// Slices of the polytopes with known answers: the faces by number of
// corners, every edge in exactly two faces (met once each way), the edge
// lengths and the volume where they are known.
#include "models/slice.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <tuple>
#include <utility>

#include "geom4/transform.h"
#include "geom4/vector3.h"
#include "models/slice_models.h"

namespace fourview {
namespace {

// A reflection carrying the unit direction n onto W: the transformed w of a
// point is then its component along n.
Matrix5 w_along(Point4 n) {
    const double l = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z + n.w * n.w);
    n = Point4{n.x / l, n.y / l, n.z / l, n.w / l};
    double u[4] = {n.x, n.y, n.z, n.w - 1};
    const double uu = u[0] * u[0] + u[1] * u[1] + u[2] * u[2] + u[3] * u[3];
    Matrix5 m = identity_matrix5();
    if (uu < 1e-18) return m;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) m[5 * r + c] -= 2 * u[r] * u[c] / uu;
    return m;
}

Point4 mean(std::initializer_list<Point4> points) {
    Point4 s;
    for (const Point4& p : points) s = Point4{s.x + p.x, s.y + p.y, s.z + p.z, s.w + p.w};
    const double n = static_cast<double>(points.size());
    return Point4{s.x / n, s.y / n, s.z / n, s.w / n};
}

struct Case {
    const char* what;
    ModelId model;
    Matrix5 transform;
    double level;
    std::map<int, int> faces_by_corners;  // 3 -> triangles, 4 -> squares
    const char* kind;                     // of every face's cell
    double edge;                          // every slice edge; 0: not checked
    double volume;                        // 0: not checked
};

TEST(Slice, KnownAnswers) {
    const PolytopeLattice* five = find_lattice(kModelFiveCell);
    ASSERT_NE(five, nullptr);
    const Point4* v = five->vertices.data();
    const double five_edge = five->edge_length;
    const Case cases[] = {
        {"tesseract at W = 0: a cube of side 2", kModelHypercube, identity_matrix5(), 0,
         {{4, 6}}, "cube", 2, 8},
        {"tesseract vertex first, at the centre: an octahedron", kModelHypercube,
         w_along(Point4{1, 1, 1, 1}), 0, {{3, 8}}, "cube", std::sqrt(8.0), 32 / 3.0},
        {"24-cell at W = 0: a cuboctahedron", kModelTwentyFourCell, identity_matrix5(), 0,
         {{3, 8}, {4, 6}}, "octahedron", 1, 5 * std::sqrt(2.0) / 3},
        {"16-cell at W = 0: an octahedron", kModelSixteenCell, identity_matrix5(), 0, {{3, 8}},
         "tetrahedron", std::sqrt(2.0), 4 / 3.0},
        {"5-cell parallel to a cell, halfway to the opposite vertex: a tetrahedron of half its edge",
         kModelFiveCell, identity_matrix5(), 0.375, {{3, 4}}, "tetrahedron", five_edge / 2, 0},
        {"5-cell halfway between an edge and the opposite triangle: a triangular prism",
         kModelFiveCell, w_along([&] {
             const Point4 a = mean({v[0], v[1]}), b = mean({v[2], v[3], v[4]});
             return Point4{a.x - b.x, a.y - b.y, a.z - b.z, a.w - b.w};
         }()),
         0, {{3, 2}, {4, 3}}, "tetrahedron", five_edge / 2, 0},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        const PolytopeLattice* lattice = find_lattice(k.model);
        ASSERT_NE(lattice, nullptr);
        Matrix5 t = k.transform;
        double level = k.level;
        if (k.model == kModelFiveCell && k.faces_by_corners.count(4) == 1) {
            // Halfway along the direction between the edge and the triangle.
            const Point4 a = transform_point4(t, mean({v[0], v[1]}));
            const Point4 b = transform_point4(t, mean({v[2], v[3], v[4]}));
            level = (a.w + b.w) / 2;
        }
        PolytopeSlice slice;
        SliceScratch scratch;
        slice_polytope(*lattice, t, level, slice, scratch);
        std::map<int, int> sizes;
        for (int f = 0; f < slice.face_count(); ++f) ++sizes[slice.face_size(f)];
        EXPECT_EQ(sizes, k.faces_by_corners);
        for (int f = 0; f < slice.face_count(); ++f)
            EXPECT_EQ(lattice->cell_kind_names[lattice->cell_kind[slice.face_cell[f]]], k.kind);

        std::map<std::pair<int, int>, int> sides;
        for (int f = 0; f < slice.face_count(); ++f)
            for (int j = 0; j < slice.face_size(f); ++j) {
                const int a = slice.face(f)[j], b = slice.face(f)[(j + 1) % slice.face_size(f)];
                ++sides[{a, b}];
                if (k.edge > 0) {
                    EXPECT_NEAR(std::sqrt(dot(minus(slice.points[a], slice.points[b]),
                                              minus(slice.points[a], slice.points[b]))),
                                k.edge, 1e-5);
                }
            }
        for (const auto& [side, count] : sides) {
            EXPECT_EQ(count, 1) << side.first << "-" << side.second;
            EXPECT_EQ(sides.count({side.second, side.first}), 1u)
                << side.first << "-" << side.second << " in one face only";
        }
        if (k.volume > 0) {
            EXPECT_NEAR(slice_volume(slice), k.volume, 1e-9);
        }
        EXPECT_GT(slice_volume(slice), 0);  // the faces face outward
    }
}

TEST(Slice, MissesOrTouchesOutsideTheRange) {
    const PolytopeLattice* cube = find_lattice(kModelHypercube);
    ASSERT_NE(cube, nullptr);
    double low = 0, high = 0;
    polytope_w_range(*cube, identity_matrix5(), low, high);
    EXPECT_EQ(low, -1);
    EXPECT_EQ(high, 1);
    struct Row {
        double level;
        int faces;
    };
    // At W = 1 the hyperplane holds a whole cell: its six squares, from the
    // six cells round it.
    const Row rows[] = {{-1.5, 0}, {1.01, 0}, {1, 6}, {0.99, 6}};
    PolytopeSlice slice;
    SliceScratch scratch;
    for (const Row& r : rows) {
        slice_polytope(*cube, identity_matrix5(), r.level, slice, scratch);
        EXPECT_EQ(slice.face_count(), r.faces) << "level " << r.level;
    }
    // A vertex alone touches: nothing to draw.
    slice_polytope(*cube, w_along(Point4{1, 1, 1, 1}), 2, slice, scratch);
    EXPECT_TRUE(slice.empty());
}

// The uniform model's lattice is replaced in place by the next one chosen:
// a scratch kept from frame to frame must notice, even when the counts stay.
TEST(Slice, AScratchFollowsALatticeReplacedInPlace) {
    PolytopeLattice lattice = *find_lattice(kModelHypercube);
    PolytopeSlice kept, fresh;
    SliceScratch scratch;
    slice_polytope(lattice, identity_matrix5(), 0.3, kept, scratch);
    // The same polytope with its vertices and edges numbered backwards: the
    // same counts, other tables.
    const int n = lattice.vertex_count();
    std::reverse(lattice.vertices.begin(), lattice.vertices.end());
    for (auto& e : lattice.edges) e = {n - 1 - e[1], n - 1 - e[0]};
    std::reverse(lattice.edges.begin(), lattice.edges.end());
    for (int& c : lattice.face_corners) c = n - 1 - c;
    slice_polytope(lattice, identity_matrix5(), 0.3, kept, scratch);
    SliceScratch new_scratch;
    slice_polytope(lattice, identity_matrix5(), 0.3, fresh, new_scratch);
    EXPECT_EQ(kept.face_count(), 6);
    EXPECT_EQ(kept.corners, fresh.corners);
    EXPECT_NEAR(slice_volume(kept), 8, 1e-9);
}

TEST(Slice, CellKindColoursAreFixedAndApart) {
    const char* kinds[] = {"tetrahedron", "cube", "octahedron", "dodecahedron",
                           "truncated tetrahedron", "triangular prism", "truncated cube"};
    std::set<std::tuple<float, float, float>> seen;
    for (const char* k : kinds) {
        const Colour c = cell_kind_colour(k);
        EXPECT_TRUE(seen.insert({c.r, c.g, c.b}).second) << k << " shares its colour";
    }
    const Colour tetrahedron = cell_kind_colour("tetrahedron");
    EXPECT_FLOAT_EQ(tetrahedron.r, 0.90f);
    EXPECT_FLOAT_EQ(tetrahedron.g, 0.20f);
    const Colour spare = cell_kind_colour("17-gonal prism");
    const Colour again = cell_kind_colour("17-gonal prism");
    EXPECT_EQ(spare.r, again.r);
    EXPECT_EQ(spare.b, again.b);
}

}  // namespace
}  // namespace fourview
