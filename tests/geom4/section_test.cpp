// The cut of one triangle by the cutting hyperplane, in numbers.
#include "geom4/section.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <vector>

#include "app/app_state.h"
#include "geom4/transform.h"

namespace fourview {
namespace {

class Section : public ::testing::Test {
protected:
    void TearDown() override { app = AppState{}; }
};

void expect_point(const Point4& p, double x, double y, double z, double w) {
    EXPECT_NEAR(p.x, x, 1e-15);
    EXPECT_NEAR(p.y, y, 1e-15);
    EXPECT_NEAR(p.z, z, 1e-15);
    EXPECT_NEAR(p.w, w, 1e-15);
}

TEST_F(Section, TwoCrossingsGiveTheSegmentBetweenThem) {
    const Point4 a{0, 0, 0, -1}, b{1, 0, 0, 1}, c{0, 1, 0, 2};
    const SectionCut cut = cut_triangle(a, b, c, c, 0.0);
    ASSERT_EQ(cut.shape, SectionShape::kSegment);
    expect_point(cut.points[0], 0.5, 0, 0, 0);      // on A-B
    expect_point(cut.points[1], 0, 1.0 / 3, 0, 0);  // on C-A
}

TEST_F(Section, CrossingIsInterpolatedInAllFourCoordinates) {
    Point4 x;
    ASSERT_TRUE(section_crossing(Point4{0, 0, 0, -1}, Point4{4, 8, -4, 3}, x));
    expect_point(x, 1, 2, -1, 0);
    EXPECT_FALSE(section_crossing(Point4{0, 0, 0, 0}, Point4{1, 1, 1, 1}, x));
    EXPECT_FALSE(section_crossing(Point4{1, 1, 1, 1}, Point4{0, 0, 0, 1e-10}, x))
        << "an end within the tolerance is on the hyperplane";
}

TEST_F(Section, VertexOnTheHyperplaneWithTheOthersOnOneSideIsAPoint) {
    const Point4 a{3, 4, 5, 0}, b{1, 0, 0, 1}, c{0, 1, 0, 2};
    const SectionCut cut = cut_triangle(a, b, c, c, 0.0);
    ASSERT_EQ(cut.shape, SectionShape::kPoint);
    expect_point(cut.points[0], 3, 4, 5, 0);
    // Within the tolerance counts as on; it does not pair with itself.
    const SectionCut near = cut_triangle(Point4{3, 4, 5, 2e-10}, b, c, c, 0.0);
    ASSERT_EQ(near.shape, SectionShape::kPoint);
}

TEST_F(Section, VertexOnTheHyperplaneWithTheOthersAcrossIsASegment) {
    const Point4 a{0, 0, 0, 0}, b{2, 0, 0, 1}, c{0, 2, 0, -1};
    const SectionCut cut = cut_triangle(a, b, c, c, 0.0);
    ASSERT_EQ(cut.shape, SectionShape::kSegment);
    expect_point(cut.points[0], 0, 0, 0, 0);  // A, gathered first
    expect_point(cut.points[1], 1, 1, 0, 0);  // the crossing of B-C
}

TEST_F(Section, TwoVerticesOnGiveTheirEdgeExceptBC) {
    const Point4 on1{1, 0, 0, 0}, on2{0, 1, 0, 0}, off{0, 0, 1, 1};
    const SectionCut ab = cut_triangle(on1, on2, off, off, 0.0);
    ASSERT_EQ(ab.shape, SectionShape::kSegment);
    expect_point(ab.points[0], 0, 1, 0, 0);  // B first, then A
    expect_point(ab.points[1], 1, 0, 0, 0);

    const SectionCut bc = cut_triangle(off, on1, on2, on2, 0.0);
    EXPECT_EQ(bc.shape, SectionShape::kNothing) << "the B-C edge is the cell diagonal: never drawn";
}

TEST_F(Section, TriangleInTheHyperplaneIsFilledOnlyWithItsFourthCorner) {
    const Point4 a{0, 0, 0, 0}, b{1, 0, 0, 0}, c{0, 1, 0, 0};
    const SectionCut face = cut_triangle(a, b, c, Point4{1, 1, 0, 0}, 0.0);
    EXPECT_EQ(face.shape, SectionShape::kFace);
    const SectionCut edges = cut_triangle(a, b, c, Point4{1, 1, 0, 1}, 0.0);
    ASSERT_EQ(edges.shape, SectionShape::kTwoEdges);
    expect_point(edges.points[0], 0, 0, 0, 0);  // both edges leave A
}

// The segments a cell of the grid draws, as unordered pairs of corner names.
std::vector<std::pair<char, char>> cell_segments(const Point4 (&corner)[4]) {
    // Corners: 0 (i, j), 1 (i, j+1), 2 (i+1, j), 3 (i+1, j+1), as the grid passes them.
    const int order[2][4] = {{0, 1, 2, 3}, {3, 2, 1, 0}};
    std::vector<std::pair<char, char>> out;
    auto name = [&](const Point4& p) {
        for (int k = 0; k < 4; ++k)
            if (p.x == corner[k].x && p.y == corner[k].y) return static_cast<char>('0' + k);
        return '?';
    };
    for (const auto& o : order) {
        const SectionCut cut =
            cut_triangle(corner[o[0]], corner[o[1]], corner[o[2]], corner[o[3]], 0.0);
        auto add = [&](const Point4& p, const Point4& q) {
            char m = name(p), n = name(q);
            if (m > n) std::swap(m, n);
            out.emplace_back(m, n);
        };
        if (cut.shape == SectionShape::kSegment) add(cut.points[0], cut.points[1]);
        if (cut.shape == SectionShape::kTwoEdges) {
            add(cut.points[0], cut.points[1]);
            add(cut.points[0], cut.points[2]);
        }
        EXPECT_NE(cut.shape, SectionShape::kFace);
    }
    std::sort(out.begin(), out.end());
    return out;
}

TEST_F(Section, CellWithThreeCornersOnDrawsItsTwoOuterEdgesAndNoDiagonal) {
    using Pairs = std::vector<std::pair<char, char>>;
    // Each case leaves one corner off the hyperplane.
    const Pairs expected[4] = {
        {{'1', '3'}, {'2', '3'}},  // corner 0 off
        {{'0', '2'}, {'2', '3'}},  // corner 1 off
        {{'0', '1'}, {'1', '3'}},  // corner 2 off
        {{'0', '1'}, {'0', '2'}},  // corner 3 off
    };
    for (int off = 0; off < 4; ++off) {
        Point4 corner[4] = {{0, 0, 0, 0}, {0, 1, 0, 0}, {1, 0, 0, 0}, {1, 1, 0, 0}};
        corner[off].w = 0.5;
        EXPECT_EQ(cell_segments(corner), expected[off]) << "corner " << off << " off";
    }
}

TEST_F(Section, TrianglesWithCoincidingOrBrokenEdgesAreNotCut) {
    const Point4 a{0, 0, 0, -1}, c{0, 1, 0, 1};
    EXPECT_EQ(cut_triangle(a, a, c, c, 0.0).shape, SectionShape::kUncut);
    app.infinity = 500;
    EXPECT_EQ(cut_triangle(a, Point4{500, 0, 0, 1}, c, c, 0.0).shape, SectionShape::kUncut);
    EXPECT_EQ(cut_triangle(a, Point4{499, 0, 0, 1}, c, c, 0.0).shape, SectionShape::kSegment);
}

TEST_F(Section, PointsAtTheEyeDistanceOrBeyondFloatingRangeAreNotCut) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Point4 a{0, 0, 0, -1}, c{0, 1, 0, 1};
    EXPECT_EQ(cut_triangle(a, Point4{inf, 0, 0, 1}, c, c, 0.0).shape, SectionShape::kUncut);
    EXPECT_EQ(cut_triangle(a, Point4{nan, 0, 0, 1}, c, c, 0.0).shape, SectionShape::kUncut);
}

TEST_F(Section, ThreeDimensionalFacesLieInTheDefaultHyperplaneOnly) {
    const Point4 a{0, 0, 0, 0}, b{1, 0, 0, 0}, c{0, 1, 0, 0}, d{1, 1, 0, 0};
    app.section_offset = 0.0;
    EXPECT_EQ(cut_triangle(a, b, c, d, section_level()).shape, SectionShape::kFace);
    for (double offset : {0.05, -0.05}) {
        app.section_offset = offset;
        EXPECT_EQ(cut_triangle(a, b, c, d, section_level()).shape, SectionShape::kNothing);
    }
}

TEST_F(Section, LevelIsTheOffsetAlongTheUnitNormalWithItsSign) {
    app.hyperplane = {0, 0, 0, 2, 0};
    app.section_offset = 0.5;
    EXPECT_DOUBLE_EQ(section_level(), 0.25);
    app.section_offset = -0.5;
    EXPECT_DOUBLE_EQ(section_level(), -0.25);
    app.hyperplane = {1, 2, 2, 4, 7};  // L = 5
    app.section_offset = 0.05;
    EXPECT_DOUBLE_EQ(section_level(), 0.01);
}

TEST_F(Section, CutForTwoWEqualsZeroWithOffsetHalfLiesAtAQuarter) {
    app.hyperplane = {0, 0, 0, 2, 0};
    app.section_offset = 0.5;
    reset_transform();
    const Point4 a = transform_point4(app.transform, Point4{0, 0, 0, -1});
    const Point4 b = transform_point4(app.transform, Point4{1, 0, 0, 1});
    const Point4 c = transform_point4(app.transform, Point4{0, 1, 0, 1});
    const SectionCut cut = cut_triangle(a, b, c, c, section_level());
    ASSERT_EQ(cut.shape, SectionShape::kSegment);
    expect_point(cut.points[0], 0.625, 0, 0, 0.25);
    expect_point(cut.points[1], 0, 0.625, 0, 0.25);
}

TEST_F(Section, AfterAResetTheCutIsTheTypedHyperplane) {
    // w = 1 after the reset sits on the cut; an offset step of 0.05 moves the
    // cut by 0.05 / L along the normal.
    app.hyperplane = {0, 0, 0, 2, 2};
    reset_transform();
    const Point4 on = transform_point4(app.transform, Point4{5, 6, 7, 1});
    EXPECT_EQ(cut_triangle(on, transform_point4(app.transform, Point4{1, 0, 0, 3}),
                           transform_point4(app.transform, Point4{0, 1, 0, 3}), on,
                           section_level())
                  .shape,
              SectionShape::kPoint);
    app.section_offset = 0.05;
    const Point4 moved = transform_point4(app.transform, Point4{5, 6, 7, 1.025});
    EXPECT_TRUE(on_hyperplane(moved.w - section_level()));
    EXPECT_FALSE(on_hyperplane(on.w - section_level()));
}

}  // namespace
}  // namespace fourview

namespace fourview {
namespace {

// A pentagon whose corners k have w = w[k]: only its boundary is cut, never
// the diagonals of a fan, so every cut that is not the whole face is one
// segment or one point.
TEST_F(Section, PolygonIsCutAlongItsBoundaryOnly) {
    struct Case {
        double w[5];
        double level;
        SectionShape shape;
        double x0, x1;  // the x of the gathered points, in order
    };
    const Case cases[] = {
        {{-1, 1, 1, 1, -1}, 0, SectionShape::kSegment, 0.5, 3.5},  // across sides 0-1 and 3-4
        {{0, 1, 1, 1, -1}, 0, SectionShape::kSegment, 0, 3.5},     // corner 0 and side 3-4
        {{0, 0, 1, 1, 1}, 0, SectionShape::kSegment, 0, 1},        // side 0-1 lies in it
        {{0, 1, 1, 1, 1}, 0, SectionShape::kPoint, 0, 0},
        {{1, 1, 1, 1, 1}, 0, SectionShape::kNothing, 0, 0},
        {{2, 2, 2, 2, 2}, 2, SectionShape::kFace, 0, 0},
    };
    for (const Case& k : cases) {
        Point4 corners[5];
        for (int i = 0; i < 5; ++i) corners[i] = Point4{double(i), i == 0 || i == 4 ? 0.0 : 1.0, 0, k.w[i]};
        const SectionCut cut = cut_polygon(corners, 5, k.level);
        EXPECT_EQ(cut.shape, k.shape) << k.w[0] << k.w[1] << k.w[4];
        if (cut.shape == SectionShape::kFace || cut.shape == SectionShape::kNothing) continue;
        EXPECT_NEAR(cut.points[0].x, k.x0, 1e-15);
        EXPECT_NEAR(cut.points[0].w, k.level, 1e-15);
        if (cut.shape == SectionShape::kSegment) {
            EXPECT_NEAR(cut.points[1].x, k.x1, 1e-15);
        }
    }
}

}  // namespace
}  // namespace fourview
