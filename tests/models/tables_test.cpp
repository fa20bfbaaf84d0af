// The cube and polytope tables against the rules that define them.
#include "models/tables.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <utility>

namespace fourview {
namespace {

int popcount(int v) { return __builtin_popcount(static_cast<unsigned>(v)); }

double coordinate(const Point4& p, int axis) {
    const double c[4] = {p.x, p.y, p.z, p.w};
    return c[axis];
}

TEST(Tables, VerticesFollowTheirBits) {
    auto sign = [](int k, int bit) { return (k & bit) ? 1.0 : -1.0; };
    for (int k = 0; k < 8; ++k) {
        const Point4& p = CubeVertices[k];
        EXPECT_TRUE(p.x == sign(k, 4) && p.y == sign(k, 2) && p.z == sign(k, 1) && p.w == 0) << k;
    }
    for (int k = 0; k < 16; ++k) {
        const Point4& p = HypercubeVertices[k];
        EXPECT_TRUE(p.x == sign(k, 8) && p.y == sign(k, 4) && p.z == sign(k, 2) && p.w == sign(k, 1))
            << k;
    }
}

TEST(Tables, CubeFacesAreClosedLoopsInTheirPlanes) {
    // x = 1, y = 1, z = 1, z = -1, y = -1, x = -1.
    const int axis[6] = {0, 1, 2, 2, 1, 0};
    const double value[6] = {1, 1, 1, -1, -1, -1};
    std::set<std::set<int>> faces;
    for (int f = 0; f < 6; ++f) {
        for (int k = 0; k < 4; ++k) {
            const int a = CubeFaces[f][k], b = CubeFaces[f][(k + 1) % 4];
            EXPECT_EQ(popcount(a ^ b), 1) << "face " << f << " corners " << a << ", " << b;
            EXPECT_EQ(coordinate(CubeVertices[a], axis[f]), value[f]) << "face " << f;
        }
        faces.insert({CubeFaces[f], CubeFaces[f] + 4});
    }
    EXPECT_EQ(faces.size(), 6u);
}

TEST(Tables, FiveCellIsRegularUpToTheRoundingOfItsConstant) {
    for (const Point4& p : FiveCellVertices)
        EXPECT_NEAR(p.x * p.x + p.y * p.y + p.z * p.z + p.w * p.w, 1.0, 1e-6);
    for (int a = 0; a < 5; ++a)
        for (int b = a + 1; b < 5; ++b) {
            const Point4 &p = FiveCellVertices[a], &q = FiveCellVertices[b];
            const double d2 = std::pow(p.x - q.x, 2) + std::pow(p.y - q.y, 2) +
                              std::pow(p.z - q.z, 2) + std::pow(p.w - q.w, 2);
            EXPECT_NEAR(d2, 2.5, 1e-5) << a << "-" << b;
        }
    std::set<std::pair<int, int>> edges;
    for (const auto& e : FiveCellEdges) edges.insert(std::minmax(e[0], e[1]));
    EXPECT_EQ(edges.size(), 10u) << "every pair once";
    std::set<std::set<int>> triangles;
    for (const auto& t : FiveCellTriangles) triangles.insert({t[0], t[1], t[2]});
    EXPECT_EQ(triangles.size(), 10u) << "every triple once";
}

TEST(Tables, HypercubeEdgesAreTheThirtyTwoOneBitPairs) {
    std::set<std::pair<int, int>> edges;
    for (const auto& e : HypercubeEdges) {
        EXPECT_EQ(popcount(e[0] ^ e[1]), 1) << e[0] << "-" << e[1];
        edges.insert(std::minmax(e[0], e[1]));
    }
    EXPECT_EQ(edges.size(), 32u);
}

TEST(Tables, HypercubeSquaresRunABDC) {
    std::set<std::set<int>> squares;
    for (const auto& s : HypercubeSquares) {
        const int low = s[0] ^ s[1], high = s[0] ^ s[2];
        EXPECT_EQ(popcount(low), 1);
        EXPECT_EQ(popcount(high), 1);
        EXPECT_LT(low, high) << "a-b differ in the lower bit";
        EXPECT_EQ(s[2] ^ s[3], low);
        EXPECT_EQ(s[1] ^ s[3], high);
        squares.insert({s[0], s[1], s[2], s[3]});
    }
    EXPECT_EQ(squares.size(), 24u);
}

}  // namespace
}  // namespace fourview
