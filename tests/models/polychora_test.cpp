// The six regular polychora against what defines them: their counts, one
// edge length, the degree of every vertex, the faces around every edge,
// Euler's relation and the circumsphere.
#include "models/polychora.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <set>
#include <utility>

#include "draw/geometry_sink.h"
#include "render/caption_table.h"

namespace fourview {
namespace {

double distance(const Point4& a, const Point4& b) {
    return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) +
                     (a.z - b.z) * (a.z - b.z) + (a.w - b.w) * (a.w - b.w));
}

TEST(Polychora, CountsEdgesDegreesFacesAndEulerOfAllSix) {
    struct Case {
        ModelId model;
        int vertices, edges, faces, cells, face_size, degree, faces_per_edge;
        double radius;
    };
    const Case cases[] = {
        {kModelFiveCell, 5, 10, 10, 5, 3, 4, 3, 1},
        {kModelHypercube, 16, 32, 24, 8, 4, 4, 3, 2},
        {kModelSixteenCell, 8, 24, 32, 16, 3, 6, 4, 1},
        {kModelTwentyFourCell, 24, 96, 96, 24, 3, 8, 3, 1},
        {kModelHundredTwentyCell, 600, 1200, 720, 120, 5, 4, 3, 1},
        {kModelSixHundredCell, 120, 720, 1200, 600, 3, 12, 5, 1},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.model);
        const Polytope* p = find_polytope(k.model);
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(p->vertex_count, k.vertices);
        EXPECT_EQ(p->edge_count, k.edges);
        EXPECT_EQ(p->face_count, k.faces);
        EXPECT_EQ(p->cell_count, k.cells);
        EXPECT_EQ(p->face_size, k.face_size);
        EXPECT_EQ(p->vertex_count - p->edge_count + p->face_count - p->cell_count, 0);
        // The 5-cell's tabled constant is rounded to six places.
        for (int v = 0; v < p->vertex_count; ++v)
            EXPECT_NEAR(distance(p->vertices[v], Point4{}), k.radius, 1e-6) << "vertex " << v;

        std::map<int, int> degree;
        std::set<std::pair<int, int>> edges;
        for (int e = 0; e < p->edge_count; ++e) {
            const int a = p->edges[e][0], b = p->edges[e][1];
            EXPECT_NEAR(distance(p->vertices[a], p->vertices[b]), p->edge_length, 1e-6) << a << "-" << b;
            ++degree[a];
            ++degree[b];
            edges.insert(std::minmax(a, b));
        }
        EXPECT_EQ(edges.size(), static_cast<size_t>(k.edges)) << "no edge twice";
        for (int v = 0; v < p->vertex_count; ++v) EXPECT_EQ(degree[v], k.degree) << "vertex " << v;

        // Consecutive corners of each face are joined by an edge; every
        // edge borders the same number of faces.
        std::map<std::pair<int, int>, int> faces_at;
        std::set<std::set<int>> faces;
        for (int f = 0; f < p->face_count; ++f) {
            const int* c = p->faces + f * p->face_size;
            for (int i = 0; i < p->face_size; ++i) {
                const auto e = std::minmax(c[i], c[(i + 1) % p->face_size]);
                EXPECT_TRUE(edges.count(e)) << "face " << f << " side " << i;
                ++faces_at[e];
            }
            faces.insert(std::set<int>(c, c + p->face_size));
        }
        EXPECT_EQ(faces.size(), static_cast<size_t>(k.faces)) << "no face twice";
        for (const auto& e : edges) EXPECT_EQ(faces_at[e], k.faces_per_edge) << e.first << "-" << e.second;
    }
    EXPECT_EQ(find_polytope(kModelHyperSphere), nullptr);
}

TEST(Polychora, BoldRadiiFollowTheEdgeAsTheHypercubesDo) {
    const Polytope& cube = *find_polytope(kModelHypercube);
    EXPECT_DOUBLE_EQ(polytope_tube_radius(cube), 0.1);
    EXPECT_DOUBLE_EQ(polytope_ball_radius(cube), 0.15);
    EXPECT_DOUBLE_EQ(bold_cut_radius(kModelHypercube), 0.025);
    const Polytope& small = *find_polytope(kModelSixHundredCell);
    EXPECT_NEAR(small.edge_length, 1 / 1.6180339887498949, 1e-12);
    EXPECT_NEAR(bold_cut_radius(kModelSixHundredCell), 0.025 * small.edge_length / 2, 1e-15);
    EXPECT_EQ(bold_cut_radius(kModelCube), 0);
}

}  // namespace
}  // namespace fourview

namespace fourview {
namespace {

// The second caption line of each new polytope says what was generated.
TEST(Polychora, CaptionsCountWhatWasGenerated) {
    for (ModelId model : {kModelSixteenCell, kModelTwentyFourCell, kModelHundredTwentyCell,
                          kModelSixHundredCell}) {
        const Polytope& p = *find_polytope(model);
        char expected[96];
        std::snprintf(expected, sizeof expected, "%d vertices, %d edges, %d %s, %d %s", p.vertex_count,
                      p.edge_count, p.face_count, p.face_size == 5 ? "pentagons" : "triangles",
                      p.cell_count, p.cell_name);
        const Caption* caption = find_caption(model);
        ASSERT_NE(caption, nullptr);
        ASSERT_EQ(caption->line_count, 1);
        EXPECT_STREQ(caption->lines[0].text, expected);
    }
}

// Batched tubes, bent tubes and balls are culled from behind: every triangle
// must turn counterclockwise seen from outside, whichever way the tube points.
TEST(Polychora, BatchedTubesAndBallsTurnOutward) {
    auto outward = [](const auto& s, auto centre_of) {
        for (int t = 0; t < s.triangle_count; ++t) {
            const Point3 &a = s.points[s.triangles[t][0]], &b = s.points[s.triangles[t][1]],
                         &c = s.points[s.triangles[t][2]];
            const Point3 u{b.x - a.x, b.y - a.y, b.z - a.z}, v{c.x - a.x, c.y - a.y, c.z - a.z};
            const Point3 n{u.y * v.z - u.z * v.y, u.z * v.x - u.x * v.z, u.x * v.y - u.y * v.x};
            const Point3 m{(a.x + b.x + c.x) / 3, (a.y + b.y + c.y) / 3, (a.z + b.z + c.z) / 3};
            const Point3 o = centre_of(m);
            if (n.x * (m.x - o.x) + n.y * (m.y - o.y) + n.z * (m.z - o.z) <= 0) return false;
        }
        return true;
    };
    TubeTable tube;
    BatchShape shape;
    const Point3 p{0.5, -1, 2};
    for (const Point3& d : {Point3{1, 0, 0}, Point3{0, 0, 1}, Point3{0, 0, -2}, Point3{-1, 2, 0.5},
                            Point3{0.3, -0.2, -3}})
        for (int sides : {4, 7, 30}) {
            make_tube_table(sides, tube);
            const Point3 q{p.x + d.x, p.y + d.y, p.z + d.z};
            tube_shape(tube, p, q, 0.1, shape);
            EXPECT_EQ(shape.triangle_count, 2 * sides);
            // The nearest point of the axis lies inside every face.
            EXPECT_TRUE(outward(shape, [&](const Point3& m) {
                const double dd = d.x * d.x + d.y * d.y + d.z * d.z;
                const double t = ((m.x - p.x) * d.x + (m.y - p.y) * d.y + (m.z - p.z) * d.z) / dd;
                return Point3{p.x + t * d.x, p.y + t * d.y, p.z + t * d.z};
            })) << sides << " sides, along " << d.x << " " << d.y << " " << d.z;
        }
    // Bent tubes along arcs of 9 points in several planes: rings of the
    // radius round each point, square to the path, the triangles outward
    // from the nearest point of the path; a path of two points is the
    // straight tube.
    PathShape path;
    for (const Point3& d : {Point3{1, 0, 0}, Point3{0, 0, 1}, Point3{-1, 2, 0.5}})
        for (int sides : {4, 7, 12}) {
            make_tube_table(sides, tube);
            Point3 arc[9];
            const Point3 e{-d.y, d.x + d.z, -d.y};  // square to d
            for (int k = 0; k < 9; ++k)
                arc[k] = Point3{p.x + 2 * (std::cos(0.1 * k) * d.x + std::sin(0.1 * k) * e.x),
                                p.y + 2 * (std::cos(0.1 * k) * d.y + std::sin(0.1 * k) * e.y),
                                p.z + 2 * (std::cos(0.1 * k) * d.z + std::sin(0.1 * k) * e.z)};
            ASSERT_TRUE(path_shape(tube, arc, 9, 0.1, path));
            EXPECT_EQ(path.triangle_count, 2 * sides * 8);
            for (int c = 0; c < path.corner_count; ++c) {
                const Point3& q = arc[c / (sides + 1)];
                const Point3 r{path.points[c].x - q.x, path.points[c].y - q.y, path.points[c].z - q.z};
                EXPECT_NEAR(std::sqrt(r.x * r.x + r.y * r.y + r.z * r.z), 0.1, 1e-12);
                const int k = c / (sides + 1);
                const Point3& a = arc[k > 0 ? k - 1 : 0];
                const Point3& b = arc[k < 8 ? k + 1 : 8];
                EXPECT_NEAR(r.x * (b.x - a.x) + r.y * (b.y - a.y) + r.z * (b.z - a.z), 0, 1e-12);
            }
            EXPECT_TRUE(outward(path, [&](const Point3& m) {
                Point3 best = arc[0];
                double best_d = 1e300;
                for (int k = 0; k < 8; ++k) {
                    const Point3 u{arc[k + 1].x - arc[k].x, arc[k + 1].y - arc[k].y, arc[k + 1].z - arc[k].z};
                    const double t = std::fmax(0.0, std::fmin(1.0, ((m.x - arc[k].x) * u.x + (m.y - arc[k].y) * u.y +
                                                                    (m.z - arc[k].z) * u.z) /
                                                                       (u.x * u.x + u.y * u.y + u.z * u.z)));
                    const Point3 o{arc[k].x + t * u.x, arc[k].y + t * u.y, arc[k].z + t * u.z};
                    const double dd = (m.x - o.x) * (m.x - o.x) + (m.y - o.y) * (m.y - o.y) + (m.z - o.z) * (m.z - o.z);
                    if (dd < best_d) best_d = dd, best = o;
                }
                return best;
            })) << sides << " sides";
            ASSERT_TRUE(path_shape(tube, arc, 2, 0.1, path));
            tube_shape(tube, arc[0], arc[1], 0.1, shape);
            ASSERT_EQ(path.corner_count, shape.corner_count);
            for (int c = 0; c < path.corner_count; ++c) {
                const Point3& a = path.points[c];
                const Point3& b = shape.points[(c % (sides + 1)) * 2 + c / (sides + 1)];
                EXPECT_NEAR(a.x, b.x, 1e-12);
                EXPECT_NEAR(a.y, b.y, 1e-12);
                EXPECT_NEAR(a.z, b.z, 1e-12);
            }
        }
    const Point3 same[3] = {p, p, Point3{1, 1, 1}};
    EXPECT_FALSE(path_shape(tube, same, 3, 0.1, path)) << "a piece of no length";
    BallTable ball;
    for (int slices : {4, 5, 10}) {
        make_ball_table(slices, slices / 2 + 1, ball);
        ball_shape(ball, p, 0.2, shape);
        EXPECT_EQ(shape.triangle_count, 2 * slices * (slices / 2));
        EXPECT_TRUE(outward(shape, [&](const Point3&) { return p; })) << slices << " slices";
    }
}

}  // namespace
}  // namespace fourview
