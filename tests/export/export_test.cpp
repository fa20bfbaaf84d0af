// The export back end: what the OBJ and STL files hold for known frames.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include "app/app_state.h"
#include "export/export.h"
#include "geom4/projection.h"
#include "geom4/stereo.h"
#include "../support/arc_check.h"
#include "expr/graph_slots.h"
#include "geom4/transform.h"
#include "geom4/vector3.h"
#include "models/polychora.h"
#include "models/tables.h"

namespace fourview {
namespace {

struct Obj {
    std::vector<std::array<double, 3>> v;
    std::vector<std::array<int, 3>> f;
    int lines = 0, bad_numbers = 0;
};

Obj parse_obj(const ExportBytes& bytes) {
    Obj o;
    std::istringstream in(std::string(bytes.begin(), bytes.end()));
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        std::string tag;
        words >> tag;
        if (tag == "v" || tag == "vn") {
            std::array<double, 3> p{};
            for (double& c : p) {
                std::string text;
                words >> text;
                c = std::strtod(text.c_str(), nullptr);
                if (!std::isfinite(c) || text.empty()) ++o.bad_numbers;
            }
            if (tag == "v") o.v.push_back(p);
        } else if (tag == "f") {
            std::array<int, 3> t{};
            for (int& i : t) {
                std::string corner;
                words >> corner;
                i = std::atoi(corner.c_str());
            }
            o.f.push_back(t);
        } else if (tag == "l") {
            ++o.lines;
        }
    }
    return o;
}

struct Stl {
    uint32_t count = 0;
    size_t size = 0;
    std::vector<std::array<float, 12>> triangles;  // normal, then three corners
};

Stl parse_stl(const ExportBytes& bytes) {
    Stl s;
    s.size = bytes.size();
    if (bytes.size() < 84) return s;
    std::memcpy(&s.count, bytes.data() + 80, 4);
    for (size_t at = 84; at + 50 <= bytes.size(); at += 50) {
        std::array<float, 12> t;
        std::memcpy(t.data(), bytes.data() + at, 48);
        s.triangles.push_back(t);
    }
    return s;
}

// The start hypercube with the styles given, everything else off.
void start_hypercube(int solid, int wireframe) {
    app = AppState{};
    app.solid = solid;
    app.transparent = 0;
    app.wireframe = wireframe;
    app.cross_section = 0;
    app.mesh_resolution = 25;
}

// One turn of the model by `angle` in rotation plane `plane` (3, 4, 5: WX, WY, WZ).
void turn(int plane, double angle) {
    Matrix5 m = identity_matrix5();
    const int a = RotationPlanes[plane].first, b = RotationPlanes[plane].second;
    m[5 * a + a] = m[5 * b + b] = std::cos(angle);
    m[5 * a + b] = -std::sin(angle);
    m[5 * b + a] = std::sin(angle);
    app.transform = multiply_matrix5(app.transform, m);
}

TEST(Export, StartHypercubeFacesAreItsProjectedVertices) {
    start_hypercube(1, 0);
    std::set<std::array<double, 3>> projected;
    for (const Point4& p : HypercubeVertices) {
        const Point3 q = project_point(p);
        projected.insert({q.x, q.y, q.z});
        for (double c : {q.x, q.y, q.z}) EXPECT_TRUE(std::fabs(c) == 2 || std::fabs(c) == 2.0 / 3);
    }
    ExportBytes obj, mtl;
    ASSERT_TRUE(encode_obj("cube.mtl", obj, mtl));
    const Obj o = parse_obj(obj);
    EXPECT_EQ(o.f.size(), 48u);
    EXPECT_EQ(o.lines, 0);
    std::set<std::array<double, 3>> corners;
    for (const auto& t : o.f)
        for (int i : t) corners.insert(o.v.at(i - 1));
    EXPECT_EQ(corners, projected);
    EXPECT_NE(std::string(mtl.begin(), mtl.end()).find("newmtl faces"), std::string::npos);

    start_hypercube(0, 1);
    ASSERT_TRUE(encode_obj("cube.mtl", obj, mtl));
    EXPECT_EQ(parse_obj(obj).lines, 32);
    EXPECT_EQ(parse_obj(obj).f.size(), 0u);
}

// Closed: every directed edge once and its reverse once (so each edge meets
// two triangles, wound alike). Outward: each stored normal agrees with its
// winding, and every shell (triangles joined by edges) encloses a positive
// volume.
void expect_closed_and_outward(const Stl& s) {
    using V = std::array<float, 3>;
    using Edge = std::pair<V, V>;
    std::map<Edge, int> directed, first_triangle;
    std::vector<int> shell(s.triangles.size());
    auto find = [&](int t) {
        while (shell[t] != t) t = shell[t] = shell[shell[t]];
        return t;
    };
    for (size_t i = 0; i < s.triangles.size(); ++i) {
        const auto& t = s.triangles[i];
        shell[i] = static_cast<int>(i);
        const V c[3] = {{t[3], t[4], t[5]}, {t[6], t[7], t[8]}, {t[9], t[10], t[11]}};
        for (int k = 0; k < 3; ++k) {
            const Edge e{c[k], c[(k + 1) % 3]};
            ++directed[e];
            const auto other = first_triangle.find({e.second, e.first});
            if (other != first_triangle.end()) shell[find(static_cast<int>(i))] = find(other->second);
            first_triangle.emplace(e, static_cast<int>(i));
        }
    }
    int open_edges = 0;
    for (const auto& [edge, n] : directed)
        if (n != 1 || directed.count({edge.second, edge.first}) == 0) ++open_edges;
    EXPECT_EQ(open_edges, 0);
    std::map<int, double> volume;
    int against = 0;
    for (size_t i = 0; i < s.triangles.size(); ++i) {
        const auto& t = s.triangles[i];
        const double a[3] = {t[3], t[4], t[5]}, b[3] = {t[6], t[7], t[8]}, c[3] = {t[9], t[10], t[11]};
        const double n[3] = {(b[1] - a[1]) * (c[2] - a[2]) - (b[2] - a[2]) * (c[1] - a[1]),
                             (b[2] - a[2]) * (c[0] - a[0]) - (b[0] - a[0]) * (c[2] - a[2]),
                             (b[0] - a[0]) * (c[1] - a[1]) - (b[1] - a[1]) * (c[0] - a[0])};
        if (n[0] * t[0] + n[1] * t[1] + n[2] * t[2] <= 0) ++against;
        volume[find(static_cast<int>(i))] += (a[0] * n[0] + a[1] * n[1] + a[2] * n[2]) / 6;
    }
    EXPECT_EQ(against, 0);
    for (const auto& [root, v] : volume) EXPECT_GT(v, 0);
    EXPECT_GE(volume.size(), 48u);  // the 32 edges' tubes and the 16 vertices' balls
}

TEST(Export, StlWireframeIsClosedOutwardAndScaled) {
    start_hypercube(0, 1);
    ExportBytes bytes;
    ASSERT_TRUE(encode_stl(100, 1, bytes));
    const Stl s = parse_stl(bytes);
    EXPECT_EQ(s.size, 84 + 50 * static_cast<size_t>(s.count));
    EXPECT_EQ(s.triangles.size(), s.count);
    expect_closed_and_outward(s);
    float hi[3] = {0, 0, 0};
    for (const auto& t : s.triangles)
        for (int k = 3; k < 12; ++k) {
            EXPECT_GE(t[k], 0);
            hi[k % 3] = std::fmax(hi[k % 3], t[k]);
        }
    EXPECT_NEAR(std::fmax(hi[0], std::fmax(hi[1], hi[2])), 100, 1e-3);

    app.bold_line = 1;  // the drawn tubes and balls, closed as well
    ASSERT_TRUE(encode_stl(40, 1, bytes));
    expect_closed_and_outward(parse_stl(bytes));
    app.projection_mode = kProjectionStereographic;  // the bent tubes too
    ASSERT_TRUE(encode_stl(40, 1, bytes));
    expect_closed_and_outward(parse_stl(bytes));
    app.colour_by_w = 1;  // which the screen draws as strips carrying colours
    for (int mode : {kProjectionStereographic, kProjectionPerspective}) {
        app.projection_mode = mode;
        ASSERT_TRUE(encode_stl(40, 1, bytes));
        expect_closed_and_outward(parse_stl(bytes));
    }
}

// Each shell of an STL on its own: every directed edge once and its
// reverse once, each stored normal with its winding, a positive volume.
// Returns the number of shells, or -1 after reporting the first bad one.
int bad_shells(const std::vector<Shell>& shells) {
    int bad = 0;
    for (std::size_t i = 0; i < shells.size(); ++i) {
        std::map<std::array<double, 6>, int> directed;
        double volume = 0;
        int against = 0;
        for (const ShellTriangle& t : shells[i]) {
            for (int k = 0; k < 3; ++k) {
                const Point3 &a = t.v[k], &b = t.v[(k + 1) % 3];
                ++directed[{a.x, a.y, a.z, b.x, b.y, b.z}];
            }
            const Point3 n = cross(minus(t.v[1], t.v[0]), minus(t.v[2], t.v[0]));
            if (dot(n, t.normal) < 0) ++against;
            volume += dot(t.v[0], n) / 6;
        }
        int open = 0;
        for (const auto& [e, count] : directed) {
            const auto back = directed.find({e[3], e[4], e[5], e[0], e[1], e[2]});
            if (count != 1 || back == directed.end() || back->second != 1) ++open;
        }
        if (open > 0 || against > 0 || !(volume > 0)) {
            if (bad == 0)
                ADD_FAILURE() << "shell " << i << " of " << shells.size() << ": " << shells[i].size()
                              << " triangles, " << open << " open edges, " << against
                              << " normals against the winding, volume " << volume;
            ++bad;
        }
    }
    return bad;
}

// Only Solid on: the faces alone, as a printer gets them.
void only_solid(ModelId model) {
    app = AppState{};
    app.model_id = model;
    app.solid = 1;
    app.transparent = 0;
    app.wireframe = 0;
    app.cross_section = 0;
    app.mesh_resolution = 25;
}

void user_graph(const char* f, const char* g) {
    only_solid(kModelUserGraph);
    app.s_min = app.t_min = -2;
    app.s_max = app.t_max = 2;
    set_expression(graph_slots[0].equation[kEquationX], "s");
    set_expression(graph_slots[0].equation[kEquationY], "t");
    set_expression(graph_slots[0].equation[kEquationF], f);
    set_expression(graph_slots[0].equation[kEquationG], g);
}

TEST(Export, StlFacesAreClosedShellsWoundOutward) {
    const struct {
        const char* name;
        void (*setup)();
        std::size_t shells;  // one per surface; the polytopes' faces one each
    } rows[] = {
        {"torus", [] { only_solid(kModelTorus); }, 1},
        {"sphere", [] { only_solid(kModelSphere); }, 1},
        {"cylinder", [] { only_solid(kModelCylinder); }, 1},
        {"cube", [] { only_solid(kModelCube); }, 1},
        {"hypercube", [] { only_solid(kModelHypercube); }, 24},
        {"hypercube turned", [] { only_solid(kModelHypercube); turn(3, 0.3); turn(4, 0.2); }, 24},
        {"Moebius strip", [] { only_solid(kModelMoebiusStrip); }, 1},
        {"Klein bottle", [] { only_solid(kModelKleinBottle4d); }, 1},
        {"user graph", [] { user_graph("sin(s)*cos(t)", "s*t"); }, 1},
        {"hypercube and its cut", [] { only_solid(kModelHypercube); app.cross_section = 1; turn(3, 0.4); }, 68},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        row.setup();
        std::vector<Shell> shells;
        stl_shells(100, 1, shells);
        ASSERT_FALSE(shells.empty());
        EXPECT_EQ(bad_shells(shells), 0);
        EXPECT_EQ(shells.size(), row.shells);
    }
}

TEST(Export, StlPlatesHaveTheThicknessAsked) {
    for (double thickness : {0.5, 1.0, 4.0}) {
        user_graph("0", "0");  // the flat square s, t in the plane z = 0
        std::vector<Shell> shells;
        stl_shells(50, thickness, shells);
        EXPECT_EQ(bad_shells(shells), 0);
        ASSERT_EQ(shells.size(), 1u) << "one plate for one surface";
        double lo[3] = {INFINITY, INFINITY, INFINITY}, hi[3] = {-INFINITY, -INFINITY, -INFINITY};
        for (const ShellTriangle& t : shells[0])
            for (const Point3& p : t.v) {
                const double c[3] = {p.x, p.y, p.z};
                for (int k = 0; k < 3; ++k) lo[k] = std::fmin(lo[k], c[k]), hi[k] = std::fmax(hi[k], c[k]);
            }
        // The square's side is the scale; the plate stands out by half the
        // thickness on either side of it.
        const double sides[3] = {hi[0] - lo[0], hi[1] - lo[1], hi[2] - lo[2]};
        std::vector<double> sorted(sides, sides + 3);
        std::sort(sorted.begin(), sorted.end());
        EXPECT_NEAR(sorted[0], thickness, 1e-9);
        EXPECT_NEAR(sorted[2], 50, 1e-9);
        EXPECT_NEAR(lo[0], 0, 1e-12);
    }
}

TEST(Export, NothingToExportGivesValidEmptyFiles) {
    start_hypercube(0, 0);
    ExportBytes bytes, mtl;
    EXPECT_FALSE(encode_stl(100, 1, bytes));
    EXPECT_EQ(bytes.size(), 84u);
    EXPECT_EQ(parse_stl(bytes).count, 0u);
    EXPECT_FALSE(encode_obj("x.mtl", bytes, mtl));
    EXPECT_EQ(parse_obj(bytes).v.size(), 0u);
}

TEST(Export, SurfaceThroughThePerspectiveEyeLeavesNoNonFiniteNumber) {
    // The 4D Klein bottle moved by 1 in w reaches w = 2 exactly, where the
    // perspective projection is infinite; moved by 1.5 it crosses it.
    for (double shift : {1.0, 1.5})
    for (int bold : {0, 1}) {
        app = AppState{};
        app.model_id = kModelKleinBottle4d;
        app.mesh_resolution = 25;
        app.cross_section = 1;
        app.bold_line = bold;
        app.transform[19] = shift;
        app.section_offset = shift;
        ExportBytes obj, mtl, stl;
        ASSERT_TRUE(encode_obj("k.mtl", obj, mtl));
        const Obj o = parse_obj(obj);
        EXPECT_GT(o.f.size(), 100u);
        EXPECT_EQ(o.bad_numbers, 0);
        const std::string text(obj.begin(), obj.end());
        EXPECT_EQ(text.find("nan"), std::string::npos);
        EXPECT_EQ(text.find("inf"), std::string::npos);
        ASSERT_TRUE(encode_stl(100, 1, stl));
        for (const auto& t : parse_stl(stl).triangles)
            for (float c : t) ASSERT_TRUE(std::isfinite(c));
    }
}

// The wireframe in the stereographic projection after turns in WX, WY and
// WZ: the line elements joined into one polyline per edge (from a vertex of
// the polytope to the next, through points met by two elements only), each
// on one circle or line and ending at two projected vertices.
TEST(Export, StereographicEdgesAreArcsBetweenTheProjectedVertices) {
    for (ModelId model : {kModelHypercube, kModelTwentyFourCell}) {
        app = AppState{};
        app.model_id = model;
        app.solid = 0;
        app.projection_mode = kProjectionStereographic;
        for (int plane : {3, 4, 5}) turn(plane, 0.35);  // WX, WY, WZ by 20 degrees
        const Polytope& p = *find_polytope(model);
        ExportBytes obj, mtl;
        ASSERT_TRUE(encode_obj("s.mtl", obj, mtl));
        std::vector<Point3> v;
        std::map<int, std::vector<int>> next;
        std::istringstream in(std::string(obj.begin(), obj.end()));
        for (std::string line; std::getline(in, line);) {
            std::istringstream words(line);
            std::string tag;
            words >> tag;
            Point3 q;
            int i, j;
            if (tag == "v" && words >> q.x >> q.y >> q.z) v.push_back(q);
            if (tag == "l" && words >> i >> j) next[i - 1].push_back(j - 1), next[j - 1].push_back(i - 1);
        }
        // The polytope's vertices, projected: the ends every arc must reach.
        app.push_onto_sphere = 1;
        app.model_radius = std::sqrt(p.vertices[0].x * p.vertices[0].x + p.vertices[0].y * p.vertices[0].y +
                                     p.vertices[0].z * p.vertices[0].z + p.vertices[0].w * p.vertices[0].w);
        std::set<std::array<double, 3>> ends;
        for (int k = 0; k < p.vertex_count; ++k) {
            const Point3 q = project_point(transform_point4(app.transform, p.vertices[k]));
            ends.insert({q.x, q.y, q.z});
        }
        int arcs = 0;
        for (const auto& [start, around] : next) {
            if (around.size() == 2) continue;  // inside an arc
            EXPECT_TRUE(ends.count({v[start].x, v[start].y, v[start].z})) << "not a vertex";
            for (int first : around) {
                std::vector<Point3> arc{v[start]};
                for (int at = start, here = first; arc.size() < 100;) {
                    arc.push_back(v[here]);
                    const std::vector<int>& n = next[here];
                    if (n.size() != 2) break;
                    const int after = n[0] == at ? n[1] : n[0];
                    at = here, here = after;
                }
                ++arcs;
                EXPECT_GE(arc.size(), 17u) << "16 pieces at least";
                EXPECT_TRUE(ends.count({arc.back().x, arc.back().y, arc.back().z})) << "ends at a vertex";
                EXPECT_LT(testing::arc_residual(arc), 1e-9 * app.model_radius);
            }
        }
        EXPECT_EQ(arcs, 2 * p.edge_count) << "each edge from both ends";
    }
}

// The faces in the stereographic projection are divided only as finely as
// their bend on the screen needs: seen from far off (zoom 0.01) the 120-cell's
// face triangles stay whole but for the few near the pole, seen from close by
// (zoom 1000) every one is a full patch of 16, and at the start zoom, also
// after turns towards the pole, they are in between.
TEST(Export, StereographicFacesAreDividedAsTheirBendNeeds) {
    const size_t whole = 720 * 3, full = whole * kPatchDivisions * kPatchDivisions;
    for (double zoom : {0.01, 1.0, 1000.0})
        for (int turns : {0, 3}) {
            app = AppState{};
            app.model_id = kModelHundredTwentyCell;
            app.wireframe = 0;
            app.zoom = zoom;
            app.projection_mode = kProjectionStereographic;
            for (int k = 0; k < turns; ++k) turn(3, 0.3);
            ExportBytes bytes, mtl;
            ASSERT_TRUE(encode_obj("f.mtl", bytes, mtl));
            const size_t triangles = parse_obj(bytes).f.size();
            if (zoom < 1) {
                EXPECT_LT(triangles, whole + whole / 4);
            } else if (zoom > 1) {
                EXPECT_EQ(triangles, full);
            } else {
                EXPECT_GT(triangles, whole * 4);
                EXPECT_LT(triangles, full * 2 / 3) << "the patches pay";
                // Under the edges' lines the sides may stray by half a pixel
                // more, under bold tubes by half their radius: fewer
                // divisions, but still bent faces.
                auto face_triangles = [&](int bold_line) {
                    app.wireframe = 1;
                    app.bold_line = bold_line;
                    EXPECT_TRUE(encode_obj("f.mtl", bytes, mtl));
                    std::istringstream in(std::string(bytes.begin(), bytes.end()));
                    size_t count = 0;
                    bool faces = false;
                    for (std::string line; std::getline(in, line);) {
                        if (line.rfind("g ", 0) == 0) faces = line == "g faces";
                        if (faces && line.rfind("f ", 0) == 0) ++count;
                    }
                    return count;
                };
                const size_t lines = face_triangles(0), bold = face_triangles(1);
                EXPECT_LT(lines, triangles - triangles / 10);
                EXPECT_GT(bold, whole * 2);
                EXPECT_LE(bold, lines);
            }
        }
}

// On the sphere a face lies on a sphere of 3-space, and its patch carries
// that sphere's normals rather than those of its small flat triangles: the
// lines along the normals at the corners of a triangle meet in one point,
// the centre, as far from each corner.
TEST(Export, StereographicFacesCarryTheNormalsOfTheirSphere) {
    auto minus = [](const Point3& a, const Point3& b) { return Point3{a.x - b.x, a.y - b.y, a.z - b.z}; };
    auto dot = [](const Point3& a, const Point3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; };
    auto along = [](const Point3& p, const Point3& n, double t) {
        return Point3{p.x + t * n.x, p.y + t * n.y, p.z + t * n.z};
    };
    for (ModelId model : {kModelHypercube, kModelTwentyFourCell, kModelHundredTwentyCell}) {
        app = AppState{};
        app.model_id = model;
        app.wireframe = 0;
        app.projection_mode = kProjectionStereographic;
        for (int plane : {3, 4}) turn(plane, 0.4);
        ExportBytes obj, mtl;
        ASSERT_TRUE(encode_obj("n.mtl", obj, mtl));
        std::vector<Point3> v, vn;
        std::istringstream in(std::string(obj.begin(), obj.end()));
        int curved = 0, off = 0;
        for (std::string line; std::getline(in, line);) {
            std::istringstream words(line);
            std::string tag;
            words >> tag;
            Point3 q;
            if (tag == "v" && words >> q.x >> q.y >> q.z) v.push_back(q);
            if (tag == "vn" && words >> q.x >> q.y >> q.z) vn.push_back(q);
            if (tag != "f") continue;
            Point3 p[3], n[3];
            for (int k = 0; k < 3; ++k) {
                int i = 0, j = 0;
                char slash;
                words >> i >> slash >> slash >> j;
                p[k] = v.at(i - 1), n[k] = vn.at(j - 1);
            }
            // The closest points of the lines through corners 0 and 1.
            const double b = dot(n[0], n[1]);
            if (1 - b * b < 1e-6) continue;  // nearly flat here
            ++curved;
            const Point3 r = minus(p[0], p[1]);
            const double d = dot(n[0], r), e = dot(n[1], r);
            const double t = (b * e - d) / (1 - b * b), u = (e - b * d) / (1 - b * b);
            const Point3 c0 = along(p[0], n[0], t), c1 = along(p[1], n[1], u);
            const Point3 c{(c0.x + c1.x) / 2, (c0.y + c1.y) / 2, (c0.z + c1.z) / 2};
            const double radius = std::sqrt(dot(minus(p[0], c), minus(p[0], c)));
            const Point3 to2 = minus(c, p[2]);
            const double across = dot(to2, to2) - dot(to2, n[2]) * dot(to2, n[2]);  // off line 2
            const double tolerance = 1e-6 * radius;
            if (std::sqrt(dot(minus(c0, c1), minus(c0, c1))) > tolerance || std::sqrt(std::fmax(0, across)) > tolerance ||
                std::fabs(std::sqrt(dot(to2, to2)) - radius) > tolerance ||
                std::fabs(std::sqrt(dot(minus(p[1], c), minus(p[1], c))) - radius) > tolerance)
                ++off;
        }
        EXPECT_GT(curved, 100) << "model " << model;
        EXPECT_EQ(off, 0) << "model " << model << ": normals of no one sphere";
    }
}

TEST(Export, ColourByWGivesEveryVertexOfFacesAndLinesItsColour) {
    start_hypercube(1, 1);
    app.colour_by_w = 1;
    app.transform[5 * 0 + 0] = app.transform[5 * 3 + 3] = std::cos(0.2);
    app.transform[5 * 0 + 3] = -std::sin(0.2);
    app.transform[5 * 3 + 0] = std::sin(0.2);
    ExportBytes obj, mtl;
    ASSERT_TRUE(encode_obj("c.mtl", obj, mtl));
    std::istringstream in(std::string(obj.begin(), obj.end()));
    int coloured = 0, plain = 0, orange = 0, blue = 0;
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        std::string tag;
        double x, y, z, r, g, b;
        if (!(words >> tag) || tag != "v" || !(words >> x >> y >> z)) continue;
        if (words >> r >> g >> b) {
            ++coloured;
            orange += r > b + 0.1;
            blue += b > r + 0.1;
        } else {
            ++plain;
        }
    }
    EXPECT_EQ(plain, 0);
    EXPECT_EQ(coloured, 16) << "faces and lines share the 16 projected vertices";
    // w turned to +-1.18 or +-0.78 of the scale's 2: eight each side of 0.
    EXPECT_EQ(orange, 8);
    EXPECT_EQ(blue, 8);
}

// Colour by w in parallel projection: the hypercube unturned puts each
// corner at w = -1 over one at w = +1; each keeps its own colour, the
// blue half and the orange half of the bar, in faces, lines and Bold Line.
TEST(Export, ColourByWInParallelProjectionGivesEachCornerItsOwnColour) {
    for (int bold : {0, 1}) {
        SCOPED_TRACE(bold ? "Bold Line" : "lines");
        start_hypercube(1, 1);
        app.bold_line = bold;
        app.colour_by_w = 1;
        app.projection_mode = app.flat_projection = kProjectionParallel;
        ExportBytes obj, mtl;
        ASSERT_TRUE(encode_obj("c.mtl", obj, mtl));
        std::istringstream in(std::string(obj.begin(), obj.end()));
        std::map<std::array<double, 3>, std::set<std::array<double, 3>>> colours_at;
        int plain = 0;
        for (std::string line; std::getline(in, line);) {
            std::istringstream words(line);
            std::string tag;
            double x, y, z, r, g, b;
            if (!(words >> tag) || tag != "v" || !(words >> x >> y >> z)) continue;
            if (words >> r >> g >> b)
                colours_at[{x, y, z}].insert({r, g, b});
            else
                ++plain;
        }
        EXPECT_EQ(plain, 0) << "no file mixes vertices with and without colours";
        const Colour low = w_colour(-1, 2), high = w_colour(1, 2);
        const std::array<double, 3> blue{std::round(low.r * 1000) / 1000, std::round(low.g * 1000) / 1000,
                                         std::round(low.b * 1000) / 1000};
        const std::array<double, 3> orange{std::round(high.r * 1000) / 1000, std::round(high.g * 1000) / 1000,
                                           std::round(high.b * 1000) / 1000};
        ASSERT_GT(blue[2], blue[0]);
        ASSERT_GT(orange[0], orange[2]);
        int corners = 0;
        for (const Point4& p : HypercubeVertices) {
            if (p.w != 1) continue;
            const Point3 q = project_point(p);
            const auto it = colours_at.find({q.x, q.y, q.z});
            ASSERT_NE(it, colours_at.end());
            EXPECT_EQ(it->second, (std::set<std::array<double, 3>>{blue, orange}));
            ++corners;
        }
        EXPECT_EQ(corners, 8);
    }
}

// Every triangle of an OBJ wound counterclockwise seen from where its
// normals point, as viewers take the front of a face.
TEST(Export, ObjTrianglesAreWoundWithTheirNormals) {
    const struct {
        const char* name;
        void (*setup)();
    } rows[] = {
        {"torus", [] { only_solid(kModelTorus); }},
        {"sphere", [] { only_solid(kModelSphere); }},
        {"cube", [] { only_solid(kModelCube); }},
        {"hypercube", [] { start_hypercube(1, 1); app.bold_line = 1; turn(3, 0.3); }},
        {"Klein bottle", [] { only_solid(kModelKleinBottle4d); app.cross_section = 1; }},
        {"user graph", [] { user_graph("sin(s)*cos(t)", "s*t"); }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        row.setup();
        ExportBytes obj, mtl;
        ASSERT_TRUE(encode_obj("w.mtl", obj, mtl));
        std::vector<Point3> v, vn;
        int faces = 0, against = 0;
        std::istringstream in(std::string(obj.begin(), obj.end()));
        for (std::string line; std::getline(in, line);) {
            std::istringstream words(line);
            std::string tag;
            words >> tag;
            Point3 p{};
            if (tag == "v" || tag == "vn") {
                words >> p.x >> p.y >> p.z;
                (tag == "v" ? v : vn).push_back(p);
            } else if (tag == "f") {
                Point3 corner[3], normal{0, 0, 0};
                for (Point3& c : corner) {
                    std::string item;
                    words >> item;
                    const std::size_t slashes = item.find("//");
                    c = v.at(std::stoi(item) - 1);
                    const Point3& n = vn.at(std::stoi(item.substr(slashes + 2)) - 1);
                    normal = {normal.x + n.x, normal.y + n.y, normal.z + n.z};
                }
                ++faces;
                if (dot(cross(minus(corner[1], corner[0]), minus(corner[2], corner[0])), normal) < 0) ++against;
            }
        }
        EXPECT_GT(faces, 0);
        EXPECT_EQ(against, 0) << "of " << faces;
    }
}

// The material library holds the window's materials; Kd is what a face
// shows lit head-on, so that the cut is red (its red is ambient).
TEST(Export, MaterialLibraryGivesTheWindowsColours) {
    const struct {
        int transparent, bold;
        const char* faces;
        const char* edges;
    } rows[] = {
        {0, 0, "newmtl faces\nKa 0.4 0.4 0.7\nKd 0.6 0.6 1\nKs 0.7 0.7 0.7\nNs 50\nd 1\n",
         "newmtl edges\nKa 0 0 0\nKd 0 0 0\n"},
        {1, 1, "newmtl faces\nKa 0.2 0.2 0.2\nKd 0.6 0.6 1\nKs 0.6 0.6 0.6\nNs 50\nd 0.3\n",
         "newmtl edges\nKa 0.5 0.5 1\nKd 0.9 0.9 1\n"},
    };
    for (const auto& row : rows) {
        start_hypercube(1, 1);
        app.transparent = row.transparent;
        app.bold_line = row.bold;
        ExportBytes obj, mtl;
        ASSERT_TRUE(encode_obj("m.mtl", obj, mtl));
        const std::string text(mtl.begin(), mtl.end());
        EXPECT_NE(text.find(row.faces), std::string::npos) << text;
        EXPECT_NE(text.find(row.edges), std::string::npos) << text;
        EXPECT_NE(text.find("newmtl section\nKa 0.9 0.2 0.2\nKd 1 0.4 0.4\n"), std::string::npos) << text;
    }
}

TEST(Export, MaterialLibraryBesideTheObjFile) {
    const std::pair<const char*, const char*> cases[] = {
        {"out/cube.obj", "out/cube.mtl"}, {"cube", "cube.mtl"}, {"a.b/cube", "a.b/cube.mtl"},
        {"x.OBJ", "x.mtl"}, {"x.Obj", "x.mtl"}, {"my dir/my model.obj", "my dir/my_model.mtl"},
        {"tab\tname.obj", "tab_name.mtl"}, {"x.objx", "x.objx.mtl"}};
    for (const auto& [obj, mtl] : cases) EXPECT_EQ(mtl_path_for(obj), mtl) << obj;
}

}  // namespace
}  // namespace fourview
