// What the mesh drawer and the models emit, counted in OpenGL feedback mode:
// strips, lines, tubes, joining lines, and the gaps where points leave the
// picture.
#include <GL/freeglut.h>

#include "app/app_state.h"
#include "draw/geometry_sink.h"
#include "gl_fixture.h"
#include "gl_values.h"
#include "models/mesh.h"
#include "models/models.h"
#include "models/samplers.h"
#include "models/surface_grid.h"
#include "models/polychora.h"
#include "render/frame.h"

namespace fourview {
namespace {

using testing::FeedbackCounts;

template <typename F>
FeedbackCounts count_feedback(F draw) {
    return testing::count_feedback([&] { draw(); });
}

class MeshTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing::start_program();
        styles(0, 0, 0);
    }
    static void styles(int solid, int wireframe, int cross_section) {
        app.solid = solid;
        app.wireframe = wireframe;
        app.cross_section = cross_section;
    }
    static void resolution(int n) {
        app.high_quality = n == 51 ? 1 : 0;
        app.mesh_resolution = n;
    }
};

// Each quad of a strip comes back as two triangles; a line strip of k
// vertices as k - 1 lines.
TEST_F(MeshTest, SolidDrawsOneStripPerRowPairOverTheDrawnColumns) {
    styles(1, 0, 0);
    for (int n : {25, 51}) {
        resolution(n);
        const FeedbackCounts c = count_feedback([] { sample_cylinder(); });
        const int strips = n - 3, pairs = n - 2;  // 22 of 23 at 25, 48 of 49 at 51
        EXPECT_EQ(c.polygons, strips * (pairs - 1) * 2) << "n=" << n;
        EXPECT_EQ(c.lines, 0);
        EXPECT_EQ(c.points, 0);
    }
}

TEST_F(MeshTest, WireframeDrawsALineAlongEveryDrawnRowAndColumn) {
    styles(0, 1, 0);
    for (int n : {25, 51}) {
        resolution(n);
        const FeedbackCounts c = count_feedback([] { sample_torus(); });
        const int lines = n - 2;  // 23 or 49 in each direction, of n - 2 points each
        EXPECT_EQ(c.lines, 2 * lines * (n - 3)) << "n=" << n;
        EXPECT_EQ(c.polygons, 0);
    }
}

TEST_F(MeshTest, EveryGridModelDrawsItsWholeGridAtTheStart) {
    // No edge of any built-in surface is broken in the start position, so
    // each draws every quad and every line.
    styles(1, 1, 0);
    resolution(25);
    void (*models[])() = {sample_cylinder,      sample_moebius_strip,      sample_sphere,
                          sample_torus,         sample_klein_bottle_1,     sample_klein_bottle_2,
                          sample_two_moebius_strips, sample_klein_bottle_4d};
    for (auto model : models) {
        const FeedbackCounts c = count_feedback(model);
        EXPECT_EQ(c.polygons, 22 * 22 * 2);
        EXPECT_EQ(c.lines, 2 * 23 * 22);
    }
}

TEST_F(MeshTest, CrossSectionAloneFillsAThreeDimensionalModelInTheHyperplane) {
    styles(0, 0, 1);
    resolution(25);
    FeedbackCounts c = count_feedback([] { sample_cylinder(); });
    EXPECT_EQ(c.polygons, 22 * 22 * 2) << "every cell's two triangles, filled";
    EXPECT_EQ(c.lines, 0);
    for (double offset : {0.05, -0.05}) {
        app.section_offset = offset;
        c = count_feedback([] { sample_cylinder(); });
        EXPECT_EQ(c.polygons + c.lines + c.points, 0) << "offset " << offset;
    }
}

TEST_F(MeshTest, NoStyleDrawsNothing) {
    resolution(25);
    void (*models[])() = {draw_cube, sample_sphere, sample_klein_bottle_4d, draw_hypersphere,
                          draw_five_cell, draw_hypercube};
    for (int bold : {0, 1}) {
        app.bold_line = bold;
        for (auto model : models) {
            const FeedbackCounts c = count_feedback(model);
            EXPECT_EQ(c.polygons + c.lines + c.points + c.bitmaps, 0) << "bold " << bold;
        }
    }
}

// A plane x = 1 whose w runs from 1 to 3 along the columns: column 12 of 25
// sits exactly at the eye distance w = 2.
void fill_plane_through_the_eye() {
    for (int i = 0; i < 25; ++i)
        for (int j = 0; j < 25; ++j)
            surface_grid.samples[i][j] =
                Point4{1, sample_fraction(i, 25), 0, 1 + 2 * sample_fraction(j, 25)};
}

TEST_F(MeshTest, StripsAndLinesBreakWhereTheSurfaceCrossesTheEye) {
    resolution(25);
    app.projection_mode = kProjectionPerspective;
    styles(1, 0, 0);
    FeedbackCounts c;
    const testing::GlValues v =
        testing::watch_gl_values([&] { c = count_feedback([] {
                                          fill_plane_through_the_eye();
                                          draw_surface_grid();
                                      }); });
    // Columns 1-11 and 13-23 of every strip: 10 + 10 quads, none across.
    EXPECT_EQ(c.polygons, 22 * 20 * 2);
    EXPECT_EQ(v.bad, 0) << "the samples at w = 2 never reach GL";

    styles(0, 1, 0);
    c = count_feedback([] {
        fill_plane_through_the_eye();
        draw_surface_grid();
    });
    // Rows: 10 + 10 segments each; columns: column 12 is all at the eye.
    EXPECT_EQ(c.lines, 23 * 20 + 22 * 22);

    app.projection_mode = kProjectionParallel;
    styles(1, 1, 0);
    c = count_feedback([] {
        fill_plane_through_the_eye();
        draw_surface_grid();
    });
    EXPECT_EQ(c.polygons, 22 * 22 * 2) << "in parallel the same surface is whole";
    EXPECT_EQ(c.lines, 2 * 23 * 22);
}

TEST_F(MeshTest, SamplesBeyondTheInfinityBoundAreLeftOut) {
    resolution(25);
    styles(1, 1, 0);
    auto shifted_grid = [](double x) {
        return [x] {
            fill_cylinder(25);
            for (auto& row : surface_grid.samples)
                for (Point4& p : row) p.x += x;
            draw_surface_grid();
        };
    };
    FeedbackCounts c = count_feedback(shifted_grid(498));  // x from 497 to 499
    EXPECT_EQ(c.polygons, 22 * 22 * 2);
    c = count_feedback(shifted_grid(502));  // every point 501 or more from the origin
    EXPECT_EQ(c.polygons + c.lines, 0);
}

TEST_F(MeshTest, ALeftOutSampleDoesNotEndItsStrip) {
    // One far sample: its pair is skipped and its neighbours are joined, but
    // the edges to it break the strip on both sides.
    resolution(25);
    styles(1, 0, 0);
    const FeedbackCounts c = count_feedback([] {
        fill_cylinder(25);
        surface_grid.samples[5][10].x = 1000;
        draw_surface_grid();
    });
    // Strips 4 and 5 (rows 4-5 and 5-6) lose the quads on either side of column 10.
    EXPECT_EQ(c.polygons, (22 * 22 - 2 * 2) * 2);
}

TEST_F(MeshTest, TubeHasThirtyFacesWhateverItsLength) {
    EXPECT_EQ(count_feedback([] { draw_tube(Point3{0, 0, 0}, Point3{0, 1, 0}, 0.1); }).polygons,
              60);
    EXPECT_EQ(count_feedback([] { draw_tube(Point3{0, 0, 0}, Point3{0, 0, -3}, 0.1); }).polygons,
              60);
    // The infinity bound is not applied to tubes.
    EXPECT_EQ(
        count_feedback([] { draw_tube(Point3{-400, 0, 0}, Point3{400, 0, 0}, 0.1); }).polygons, 60);
    EXPECT_EQ(count_feedback([] { draw_tube(Point3{1, 2, 3}, Point3{1, 2, 3}, 0.1); }).polygons,
              0);
}

TEST_F(MeshTest, CubeDrawsFacesEdgesAndCutInTheirStyles) {
    styles(1, 0, 0);
    EXPECT_EQ(count_feedback(draw_cube).polygons, 12);
    styles(0, 1, 0);
    EXPECT_EQ(count_feedback(draw_cube).lines, 24);
    styles(0, 0, 1);
    EXPECT_EQ(count_feedback(draw_cube).polygons, 12) << "the cube lies in W = 0";
    styles(1, 1, 1);
    const FeedbackCounts all = count_feedback(draw_cube);
    EXPECT_EQ(all.polygons, 24);
    EXPECT_EQ(all.lines, 24);
}

TEST_F(MeshTest, HypercubeEdgesAsLinesOrTubesWithBalls) {
    styles(0, 1, 0);
    EXPECT_EQ(count_feedback(draw_hypercube).lines, 32);
    app.bold_line = 1;
    const FeedbackCounts bold = count_feedback(draw_hypercube);
    EXPECT_EQ(bold.lines, 0);
    EXPECT_EQ(bold.polygons, 32 * 60 + 16 * 180);
    styles(0, 0, 0);
    EXPECT_EQ(count_feedback(draw_hypercube).polygons, 0) << "Bold Line only changes the wireframe";
}

TEST_F(MeshTest, FiveCellDrawsItsTenTrianglesAndEdges) {
    styles(1, 1, 0);
    FeedbackCounts c = count_feedback(draw_five_cell);
    EXPECT_EQ(c.polygons, 10);
    EXPECT_EQ(c.lines, 10);
    app.bold_line = 1;
    c = count_feedback(draw_five_cell);
    EXPECT_EQ(c.polygons, 10 + 10 * 60 + 5 * 180);
}

TEST_F(MeshTest, HypercubeCutAtTheStartIsTheTwelveEdgesOfACube) {
    // Only the twelve squares spanning w cross W = 0, each in two halves.
    styles(0, 0, 1);
    FeedbackCounts c = count_feedback(draw_hypercube);
    EXPECT_EQ(c.lines, 24);
    EXPECT_EQ(c.polygons, 0);
    app.bold_line = 1;
    c = count_feedback(draw_hypercube);
    EXPECT_EQ(c.lines, 0);
    EXPECT_EQ(c.polygons, 24 * 60 + 48 * 180) << "tubes with a ball at each end";
    app.model_id = kModelCube;  // tubes only for the polytopes
    c = count_feedback(draw_hypercube);
    EXPECT_EQ(c.lines, 24);
}

// A polytope model by number, drawn as the frame draws it.
void draw_polytope_model() { draw_model(); }

// The same seen obliquely and enlarged: feedback looks along z, where many
// tube and ball faces would stand edge-on, and its box of 20,000 units
// leaves the thinnest a float rounding of area, counting on neither side.
void draw_polytope_model_turned() {
    glRotated(37, 0.3, 0.5, 0.8);
    glScaled(2000, 2000, 2000);
    draw_model();
}

// Tubes and balls cull their far halves: counted once with each winding
// taken as the front, every triangle of them shows exactly once.
FeedbackCounts count_both_sides(void (*draw)()) {
    FeedbackCounts c = count_feedback(draw);
    glFrontFace(GL_CW);
    const FeedbackCounts back = count_feedback(draw);
    glFrontFace(GL_CCW);
    EXPECT_GT(c.polygons, back.polygons * 4 / 10) << "near and far halves alike";
    EXPECT_LT(c.polygons, back.polygons * 10 / 4);
    c.polygons += back.polygons;
    return c;
}

TEST_F(MeshTest, PolychoraDrawFacesEdgesTubesAndBallsInTheirStyles) {
    struct Case {
        ModelId model;
        int solid, wireframe, bold;
        int polygons, lines;
    };
    const Case cases[] = {
        {kModelHundredTwentyCell, 1, 0, 0, 720 * 3, 0},  // each pentagon a fan of three
        {kModelHundredTwentyCell, 0, 1, 0, 0, 1200},
        {kModelSixteenCell, 1, 1, 0, 32, 24},
    };
    for (const Case& k : cases) {
        app.model_id = k.model;
        app.zoom = default_zoom(k.model);
        styles(k.solid, k.wireframe, 0);
        app.bold_line = k.bold;
        const FeedbackCounts c = count_feedback(draw_polytope_model);
        EXPECT_EQ(c.polygons, k.polygons) << "model " << k.model;
        EXPECT_EQ(c.lines, k.lines) << "model " << k.model;
    }
    // At its default zoom in the 480-pixel window the 600-cell's tubes get
    // 7 faces (two triangles each) and its balls 10 slices by 6 stacks
    // (100 triangles).
    app.model_id = kModelSixHundredCell;
    app.zoom = default_zoom(kModelSixHundredCell);
    styles(0, 1, 0);
    app.bold_line = 1;
    FeedbackCounts c = count_both_sides(draw_polytope_model_turned);
    EXPECT_EQ(c.polygons, 720 * 7 * 2 + 120 * 100);
    EXPECT_EQ(c.lines, 0);
    // Zoomed in four times, the same tubes get 28 faces.
    app.zoom *= 4;
    EXPECT_EQ(count_both_sides(draw_polytope_model_turned).polygons, 720 * 28 * 2 + 120 * 100);
}

// The GL back end draws a polytope's fans and edges indexed, each corner
// once: the same triangles and lines reach GL as when each goes one by one
// (the sink's own routes), whether or not the fan's triangles share corners.
TEST_F(MeshTest, IndexedFansAndEdgesDrawWhatTheOneByOneRouteDraws) {
    struct Case {
        const char* polytope;
        int polygons, lines;
    };
    const Case cases[] = {
        {"x4x3o3o", 64 + 24 * 6, 128},          // triangles, octagons as fans of six
        {"x3o x8o", 8 + 24 * 2 + 3 * 6, 48},  // triangles, squares, octagons
    };
    for (const Case& k : cases) {
        ASSERT_EQ(choose_uniform_polytope(k.polytope), "");
        app.model_id = kModelUniform;
        app.zoom = default_zoom(kModelUniform);
        styles(1, 1, 0);
        app.bold_line = 0;
        const FeedbackCounts c = count_feedback(draw_polytope_model);
        EXPECT_EQ(c.polygons, k.polygons) << k.polytope;
        EXPECT_EQ(c.lines, k.lines) << k.polytope;
    }
    // The default routes, given by hand: a square as a fan of two that
    // share two corners, and its four sides.
    static const Point3 points[4] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    static const Point3 normals[4] = {{0, 0, 1}, {0, 0, 1}, {0, 0, 1}, {0, 0, 1}};
    static const int fan[2][3] = {{0, 1, 2}, {0, 2, 3}};
    static const int sides[4][2] = {{0, 1}, {1, 2}, {2, 3}, {3, 0}};
    const FeedbackCounts by_hand = count_feedback([] {
        GeometrySink& g = geometry();
        g.begin_surface();
        g.flat_triangles(points, normals, 4, fan, 2);
        g.end_surface();
        g.begin_wire();
        g.line_pairs(points, 4, sides, 4);
        g.end_wire();
    });
    EXPECT_EQ(by_hand.polygons, 2);
    EXPECT_EQ(by_hand.lines, 4);
}

// Tubes and balls a pixel or two thick are drawn as their halves facing the
// camera: two faces a piece along a path, a cone of `rim` faces a ball, and
// none of them is culled away, from whatever side the view comes.
TEST_F(MeshTest, ThinTubesAndBallsDrawTheirFrontHalvesOnly) {
    static const Point3 path[5] = {{0, 0, 0}, {0.3, 0.1, 0}, {0.6, 0.1, 0.2}, {0.9, 0, 0.3}, {1, 0, 0}};
    static const int lengths[2] = {2, 3};  // the first two points, then the last three
    for (double turn : {0.0, 1.0, 2.5}) {
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        glRotated(turn * 57.3, 0.3, 1, 0.2);
        const FeedbackCounts c = count_feedback([] {
            GeometrySink& g = geometry();
            g.begin_wire();
            g.thin_tube_paths(path, lengths, 2, 0.02);
            g.thin_balls(path, 5, 0.03, 6);
            g.end_wire();
        });
        glPopMatrix();
        EXPECT_EQ(c.polygons, 2 * (1 + 2) * 2 + 5 * 6) << "turn " << turn;
    }
}

TEST_F(MeshTest, SixteenCellCutAtHalfIsAnOctahedronOfTwelveSegments) {
    // w = 0.5 crosses the six edges from (0, 0, 0, 1): one segment in each
    // of the twelve triangles at that vertex.
    app.model_id = kModelSixteenCell;
    app.zoom = default_zoom(kModelSixteenCell);
    styles(0, 0, 1);
    app.section_offset = 0.5;
    FeedbackCounts c = count_feedback(draw_polytope_model);
    EXPECT_EQ(c.lines, 12);
    EXPECT_EQ(c.polygons + c.points, 0);
    // Bold: twelve tubes, and a ball at each of the six corners once, not
    // once for each of the four triangles that meet there. Radius
    // 0.0125 * sqrt(2), 2.8 pixels at zoom 2: tubes of 5 faces, balls of 5
    // slices by 4 stacks (30 triangles).
    app.bold_line = 1;
    c = count_both_sides(draw_polytope_model_turned);
    EXPECT_EQ(c.lines, 0);
    EXPECT_EQ(c.polygons, 12 * 5 * 2 + 6 * 30);
}

TEST_F(MeshTest, HypersphereJoinsItsSpheresOnlyWithWireframe) {
    const int sphere_lines = 2 * 19 * 18, sphere_quads = 18 * 18;
    styles(0, 1, 0);
    FeedbackCounts c = count_feedback(draw_hypersphere);
    EXPECT_EQ(c.lines - 21 * sphere_lines, 20 * 441);
    styles(1, 0, 0);
    c = count_feedback(draw_hypersphere);
    EXPECT_EQ(c.lines, 0);
    EXPECT_EQ(c.polygons, 21 * sphere_quads * 2);
}

TEST_F(MeshTest, HypersphereRestoresResolutionAndTransform) {
    styles(1, 1, 1);
    for (int n : {25, 51}) {
        resolution(n);
        app.transform[3] = 0.25;  // anything but the identity
        const Matrix5 before = app.transform;
        count_feedback(draw_hypersphere);
        EXPECT_EQ(app.mesh_resolution, n);
        EXPECT_EQ(app.transform, before);
    }
}

// Strips and lists longer than the GL back end's buffer go on across
// batches without losing or adding a primitive: a strip of k vertices gives
// k - 1 lines or k - 2 triangles, wherever the buffer was full. A lead of
// `runs` short strips of `lead` vertices comes first in the same batch: an
// odd lead puts the long quad strip's pairs at odd places, so that the
// batch fills with half a pair given (three vertices carried, not two);
// thousands of short strips fill the batch's table of strips before its
// vertices (24,576 of them, 4,096 strips).
TEST_F(MeshTest, PrimitivesLongerThanABatchStayWhole) {
    struct Row {
        Primitive kind;
        int runs, lead, vertices, lines, polygons;
    } const rows[] = {{Primitive::kLineStrip, 0, 0, 30001, 30000, 0},
                      {Primitive::kQuadStrip, 0, 0, 30002, 0, 30000},
                      {Primitive::kQuadStrip, 1, 3, 30002, 0, 30000},
                      {Primitive::kQuadStrip, 1, 5, 30002, 0, 30000 + 2},
                      {Primitive::kLineStrip, 1, 3, 30001, 30000 + 2, 0},
                      {Primitive::kQuadStrip, 5000, 4, 4, 0, 5001 * 2},
                      {Primitive::kLineStrip, 5000, 2, 2, 5001, 0},
                      {Primitive::kTriangles, 0, 0, 30000, 0, 10000},
                      {Primitive::kLines, 0, 0, 50000, 25000, 0}};
    for (const Row& r : rows) {
        const FeedbackCounts c = count_feedback([&] {
            GeometrySink& g = geometry();
            g.begin_wire();
            for (int k = 0; k < r.runs; ++k) {
                g.begin(r.kind);
                for (int i = 0; i < r.lead; ++i)
                    g.vertex(Point3{0.0001 * k, (i % 2) * 1.0 + 0.001 * i, 0.0});
                g.end();
            }
            g.begin(r.kind);
            for (int i = 0; i < r.vertices; ++i)
                g.vertex(Point3{0.001 * i, (i % 2) * 1.0 + 0.001 * (i % 3), 0.0});
            g.end();
            g.end_wire();
        });
        EXPECT_EQ(c.lines, r.lines) << static_cast<int>(r.kind) << " after " << r.runs;
        EXPECT_EQ(c.polygons, r.polygons) << static_cast<int>(r.kind) << " after " << r.runs;
    }
    // Patches of shared corners, ten batches' worth, with lone triangles
    // given between them: none lost, none drawn twice.
    const FeedbackCounts c = count_feedback([] {
        static const Point3 corners[4] = {{0, 0, 0}, {0.1, 0, 0}, {0, 0.1, 0}, {0.1, 0.1, 0.01}};
        static const Point3 normals[4] = {{0, 0, 1}, {0, 0, 1}, {0, 0.6, 0.8}, {0.6, 0, 0.8}};
        static const int two[2][3] = {{0, 1, 2}, {1, 3, 2}};
        GeometrySink& g = geometry();
        g.begin_surface();
        for (int k = 0; k < 20000; ++k) {
            g.triangle_mesh(corners, normals, nullptr, two, 2);
            if (k % 1000 != 0) continue;
            g.begin(Primitive::kTriangles);
            for (const Point3& p : corners) g.vertex(p);
            g.end();
        }
        g.end_surface();
    });
    EXPECT_EQ(c.polygons, 2 * 20000 + 20);
}

}  // namespace
}  // namespace fourview
