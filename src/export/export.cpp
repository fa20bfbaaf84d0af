#include "export/export.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <strings.h>
#include <map>
#include <set>

#include "app/app_state.h"
#include "draw/geometry_sink.h"
#include "draw/material_values.h"
#include "geom4/vector3.h"
#include "models/models.h"
#include "models/slice_models.h"

namespace fourview {

namespace {

// The lattice a wireframe becomes for printing (or in an OBJ with Bold
// Line): tubes of half a per cent of the model's largest side and balls one
// and a half times as thick, as the drawn bold edges have them (a ball no
// thicker than its tubes would share points and edges with their ends),
// lighter than the drawn tubes, which keep their own radius and faces.
constexpr double kLatticeRadius = 0.005, kLatticeBall = 1.5;
constexpr int kLatticeSides = 12, kLatticeSlices = 8, kLatticeStacks = 6;
constexpr int kTubeSides = 30, kBallSlices = 10, kBallStacks = 10;

bool finite(const Point3& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }

using Key = std::array<double, 3>;
Key key(const Point3& p) { return {p.x, p.y, p.z}; }

// Colour by w: the colour of a corner, given with the corner (one projected
// point may stand for 4D points of several colours, as the hypercube's
// corners at w = -1 and w = +1 in parallel projection); r < 0 for none.
constexpr Colour kNoColour{-1, -1, -1};
bool has_colour(const Colour& c) { return c.r >= 0; }

struct Face {
    Point3 v[3], n[3];
    Part part;
    Colour c[3];
};
struct Segment {
    Point3 a, b;
    Part part;
    Colour ca, cb;
};
struct Rod {
    Point3 a, b;
    double radius;
    Part part;
    Colour c;
};
struct Mark {
    Point3 p;
    double radius;  // 0 for a point
    Part part;
    Colour c;
};

// Receives a frame through the seam and keeps, per part, what it shows.
// Primitives outside the model's parts (the axes, anything unbracketed) and
// any with a corner that is not finite are left out.
struct ExportSink final : GeometrySink {
    std::vector<Face> faces;
    std::vector<Segment> segments;
    std::vector<Rod> rods;
    std::vector<Mark> marks;
    bool transparent = false, bold_edges = false;

    Part current_part = Part::kNone;
    Primitive kind = Primitive::kPoints;
    Point3 current_normal{0, 0, 1};
    std::vector<Point3> points, normals;
    std::vector<Colour> point_colours;
    std::set<std::array<double, 12>> seen_segments;
    std::set<std::array<double, 6>> seen_balls;
    ColourUse colour_use = ColourUse::kNone;
    Colour current_colour;
    bool any_colour = false;

    Colour colour_now() {
        if (colour_use == ColourUse::kNone || !kept()) return kNoColour;
        any_colour = true;
        return current_colour;
    }

    bool kept() const { return current_part == Part::kFaces || current_part == Part::kEdges ||
                               current_part == Part::kSection; }

    void begin_surface() override {
        current_part = Part::kFaces;
        transparent = app.transparent == 1;
    }
    void end_surface() override { current_part = Part::kNone; }
    void begin_wire() override { current_part = Part::kEdges; }
    void end_wire() override { current_part = Part::kNone; }
    void part(Part p) override { current_part = p; }
    void section_material() override {}
    void bold_edge_material() override {
        if (current_part == Part::kEdges) bold_edges = true;
    }
    void color(int) override {}
    void line_width(float) override {}
    void point_size(float) override {}
    void normal(const Point3& n) override { current_normal = n; }
    void begin(Primitive k) override {
        kind = k;
        points.clear();
        normals.clear();
        point_colours.clear();
    }
    void vertex(const Point3& p) override {
        points.push_back(p);
        normals.push_back(current_normal);
        point_colours.push_back(colour_now());
    }
    void colours(ColourUse use) override { colour_use = use; }
    void colour(const Colour& c) override { current_colour = c; }
    bool wants_closed_shells() const override { return true; }
    void vertex(const Point3& n, const Point3& p) override {
        current_normal = n;
        vertex(p);
    }

    void face(int a, int b, int c) {
        const Face f{{points[a], points[b], points[c]}, {normals[a], normals[b], normals[c]},
                     current_part, {point_colours[a], point_colours[b], point_colours[c]}};
        if (!finite(f.v[0]) || !finite(f.v[1]) || !finite(f.v[2])) return;
        if (dot(cross(minus(f.v[1], f.v[0]), minus(f.v[2], f.v[0])),
                cross(minus(f.v[1], f.v[0]), minus(f.v[2], f.v[0]))) == 0)
            return;  // no area
        faces.push_back(f);
    }
    void segment(int i, int j) {
        const Point3 &a = points[i], &b = points[j];
        if (!finite(a) || !finite(b) || key(a) == key(b)) return;
        // An edge drawn twice (two faces of the cube share it) is kept once;
        // in colour, once per pair of colours.
        const Key ka = key(a), kb = key(b);
        const bool forward = ka < kb;
        const Key& lo = forward ? ka : kb;
        const Key& hi = forward ? kb : ka;
        const Colour& cl = point_colours[forward ? i : j];
        const Colour& ch = point_colours[forward ? j : i];
        if (!seen_segments.insert({lo[0], lo[1], lo[2], hi[0], hi[1], hi[2], cl.r, cl.g, cl.b, ch.r, ch.g, ch.b})
                 .second)
            return;
        segments.push_back({a, b, current_part, point_colours[i], point_colours[j]});
    }
    void mark(const Point3& p, double radius, const Colour& c) {
        if (!finite(p) || !seen_balls.insert({p.x, p.y, p.z, c.r, c.g, c.b}).second) return;
        marks.push_back({p, radius, current_part, c});
    }

    void end() override {
        if (!kept()) return;
        const int n = static_cast<int>(points.size());
        switch (kind) {
            case Primitive::kTriangles:
                for (int i = 0; i + 2 < n; i += 3) face(i, i + 1, i + 2);
                break;
            case Primitive::kQuadStrip:
                // The quad of pairs i and i + 1 runs v0, v1, v3, v2.
                for (int i = 0; i + 3 < n; i += 2) {
                    face(i, i + 1, i + 3);
                    face(i, i + 3, i + 2);
                }
                break;
            case Primitive::kLines:
                for (int i = 0; i + 1 < n; i += 2) segment(i, i + 1);
                break;
            case Primitive::kLineStrip:
            case Primitive::kLineLoop:
                for (int i = 0; i + 1 < n; ++i) segment(i, i + 1);
                if (kind == Primitive::kLineLoop && n > 2) segment(n - 1, 0);
                break;
            case Primitive::kPoints:
                for (int i = 0; i < n; ++i) mark(points[i], 0, point_colours[i]);
                break;
        }
    }
    void tube(const Point3& p, const Point3& q, double radius) override {
        if (kept() && finite(p) && finite(q)) rods.push_back({p, q, radius, current_part, colour_now()});
    }
    void ball(const Point3& p, double radius) override {
        if (kept()) mark(p, radius, colour_now());
    }

    bool empty() const { return faces.empty() && segments.empty() && rods.empty() && marks.empty(); }

    // The largest side of the box around everything kept.
    double largest_side() const {
        Point3 lo{INFINITY, INFINITY, INFINITY}, hi{-INFINITY, -INFINITY, -INFINITY};
        auto grow = [&](const Point3& p) {
            lo = {std::fmin(lo.x, p.x), std::fmin(lo.y, p.y), std::fmin(lo.z, p.z)};
            hi = {std::fmax(hi.x, p.x), std::fmax(hi.y, p.y), std::fmax(hi.z, p.z)};
        };
        for (const Face& f : faces)
            for (const Point3& v : f.v) grow(v);
        for (const Segment& s : segments) grow(s.a), grow(s.b);
        for (const Rod& r : rods) grow(r.a), grow(r.b);
        for (const Mark& m : marks) grow(m.p);
        if (empty()) return 0;
        return std::fmax(hi.x - lo.x, std::fmax(hi.y - lo.y, hi.z - lo.z));
    }
};

void collect(ExportSink& sink) {
    ScopedGeometry use(sink);
    // The slice view exports what it shows.
    if (app.slice_view != kViewProjection)
        draw_model_slice();
    else
        draw_model();
}

void add_oriented(const Point3& a, const Point3& b, const Point3& c, const Point3& outward,
                  std::vector<ShellTriangle>& out) {
    const Point3 n = cross(minus(b, a), minus(c, a));
    if (dot(n, n) == 0) return;
    if (dot(n, outward) >= 0)
        out.push_back({{a, b, c}, unit(n)});
    else
        out.push_back({{a, c, b}, unit(Point3{-n.x, -n.y, -n.z})});
}

// Where the colours of a shell come from: each corner takes the colour of
// the nearer of the two ends (a tube's), or of the centre (a ball's).
struct ShellTint {
    Point3 a, b;
    Colour ca, cb;
    Colour at(const Point3& p) const {
        const Point3 axis = minus(b, a);
        const double length = dot(axis, axis);
        return length > 0 && dot(minus(p, a), axis) > length / 2 ? cb : ca;
    }
};

// Shells of everything in `part`: rods and balls as drawn, and, for
// printing or Bold Line, the lines as the lattice with a ball at every
// vertex of a line; one shell each, with its tint.
void shells_of(const ExportSink& sink, Part part, double lattice, bool with_lines, std::vector<Shell>& out,
               std::vector<ShellTint>& tints) {
    std::set<std::array<double, 6>> balls;
    auto next = [&](const Point3& a, const Point3& b, const Colour& ca, const Colour& cb) -> Shell& {
        tints.push_back({a, b, ca, cb});
        return out.emplace_back();
    };
    auto ball_key = [](const Point3& p, const Colour& c) {
        return std::array<double, 6>{p.x, p.y, p.z, c.r, c.g, c.b};
    };
    for (const Mark& m : sink.marks)
        if (m.part == part && (with_lines || m.radius > 0)) {
            balls.insert(ball_key(m.p, m.c));
            ball_shell(m.p, m.radius > 0 ? m.radius : lattice * kLatticeBall, kBallSlices, kBallStacks,
                       next(m.p, m.p, m.c, m.c));
        }
    for (const Rod& r : sink.rods)
        if (r.part == part) tube_shell(r.a, r.b, r.radius, kTubeSides, next(r.a, r.b, r.c, r.c));
    for (const Segment& s : sink.segments) {
        if (s.part != part || !with_lines) continue;
        tube_shell(s.a, s.b, lattice, kLatticeSides, next(s.a, s.b, s.ca, s.cb));
        for (const auto& [end, c] : {std::make_pair(s.a, s.ca), std::make_pair(s.b, s.cb)})
            if (balls.insert(ball_key(end, c)).second)
                ball_shell(end, lattice * kLatticeBall, kLatticeSlices, kLatticeStacks, next(end, end, c, c));
    }
    for (std::size_t i = out.size(); i-- > 0;)
        if (out[i].empty()) {
            out.erase(out.begin() + static_cast<std::ptrdiff_t>(i));
            tints.erase(tints.begin() + static_cast<std::ptrdiff_t>(i));
        }
}

// The faces of one part made printable. The triangles are joined into
// surfaces across the edges that exactly two of them share, and each
// surface's triangles are wound alike. A closed surface that can be so
// wound is written as the solid it bounds, wound outward; every other
// surface (open, one-sided, or one of several faces that meet at an edge,
// as the polytopes' faces meet three to an edge) becomes a plate `half`
// thick on either side of it, pushed out along the surface's normal at
// each corner, with walls along its border. A surface that has no normal
// somewhere (folded flat on itself, or one-sided) is made of one plate per
// triangle instead. Slicers unite the plates where they overlap.
std::pair<int, int> edge_key(int a, int b) { return a < b ? std::make_pair(a, b) : std::make_pair(b, a); }

struct PrintableFaces {
    std::vector<Point3> corners;
    std::vector<std::array<int, 3>> triangles;
    std::map<Key, int> corner_of;
    std::map<std::pair<int, int>, std::vector<int>> edge_triangles;  // (low, high) corner

    int corner(const Point3& p) {
        const auto [it, added] = corner_of.emplace(key(p), static_cast<int>(corners.size()));
        if (added) corners.push_back(p);
        return it->second;
    }
    void add(const Point3 (&v)[3]) {
        const std::array<int, 3> t{corner(v[0]), corner(v[1]), corner(v[2])};
        if (t[0] == t[1] || t[1] == t[2] || t[0] == t[2]) return;
        for (int k = 0; k < 3; ++k)
            edge_triangles[edge_key(t[k], t[(k + 1) % 3])].push_back(static_cast<int>(triangles.size()));
        triangles.push_back(t);
    }
    // Whether triangle t runs from corner a to corner b.
    bool runs(const std::array<int, 3>& t, int a, int b) const {
        for (int k = 0; k < 3; ++k)
            if (t[k] == a && t[(k + 1) % 3] == b) return true;
        return false;
    }

    void shells(double half, std::vector<Shell>& out) {
        std::vector<int> surface(triangles.size(), -1);
        for (std::size_t seed = 0; seed < triangles.size(); ++seed) {
            if (surface[seed] >= 0) continue;
            // Joined and wound alike, one neighbour after another.
            std::vector<int> members{static_cast<int>(seed)};
            surface[seed] = static_cast<int>(seed);
            bool one_sided = false, closed = true;
            for (std::size_t at = 0; at < members.size(); ++at) {
                const std::array<int, 3> t = triangles[members[at]];
                for (int k = 0; k < 3; ++k) {
                    const int a = t[k], b = t[(k + 1) % 3];
                    const std::vector<int>& sharing = edge_triangles[edge_key(a, b)];
                    if (sharing.size() != 2) {
                        closed = false;
                        continue;
                    }
                    const int other = sharing[0] == members[at] ? sharing[1] : sharing[0];
                    std::array<int, 3>& u = triangles[other];
                    if (surface[other] < 0) {
                        if (runs(u, a, b)) std::swap(u[1], u[2]);
                        surface[other] = static_cast<int>(seed);
                        members.push_back(other);
                    } else if (runs(u, a, b)) {
                        one_sided = true;
                    }
                }
            }
            if (one_sided) {
                for (int m : members) plate({m}, half, out);
                continue;
            }
            if (closed && solid(members, out)) continue;
            if (!plate(members, half, out))
                for (int m : members) plate({m}, half, out);
        }
    }

    // A closed surface as the solid it bounds; false if it bounds none
    // (its volume is 0: flat, or two sheets over each other).
    bool solid(const std::vector<int>& members, std::vector<Shell>& out) const {
        double volume = 0;
        for (int m : members) {
            const std::array<int, 3>& t = triangles[m];
            volume += dot(corners[t[0]], cross(corners[t[1]], corners[t[2]]));
        }
        if (!(volume != 0) || !std::isfinite(volume)) return false;
        Shell& shell = out.emplace_back();
        for (int m : members) {
            const std::array<int, 3>& t = triangles[m];
            const int b = volume > 0 ? t[1] : t[2], c = volume > 0 ? t[2] : t[1];
            const Point3 n = cross(minus(corners[b], corners[t[0]]), minus(corners[c], corners[t[0]]));
            shell.push_back({{corners[t[0]], corners[b], corners[c]}, unit(n)});
        }
        return true;
    }

    // The plate of a surface; false, with nothing added, where a corner has
    // no normal.
    bool plate(const std::vector<int>& members, double half, std::vector<Shell>& out) const {
        std::map<int, Point3> normal_at;
        for (int m : members) {
            const std::array<int, 3>& t = triangles[m];
            // Weighted by area: a sliver does not tilt the plate.
            const Point3 n = cross(minus(corners[t[1]], corners[t[0]]), minus(corners[t[2]], corners[t[0]]));
            for (int c : t) {
                Point3& sum = normal_at[c];
                sum = {sum.x + n.x, sum.y + n.y, sum.z + n.z};
            }
        }
        std::map<int, std::pair<Point3, Point3>> sides;  // corner: (top, bottom)
        for (const auto& [c, n] : normal_at) {
            const Point3 u = unit(n);
            if (dot(u, u) == 0) return false;
            const Point3& p = corners[c];
            sides[c] = {{p.x + half * u.x, p.y + half * u.y, p.z + half * u.z},
                        {p.x - half * u.x, p.y - half * u.y, p.z - half * u.z}};
        }
        std::set<int> in_plate(members.begin(), members.end());
        Shell& shell = out.emplace_back();
        // Kept even where the offset leaves no area: the shell stays closed.
        auto add = [&shell](const Point3& a, const Point3& b, const Point3& c) {
            shell.push_back({{a, b, c}, unit(cross(minus(b, a), minus(c, a)))});
        };
        for (int m : members) {
            const std::array<int, 3>& t = triangles[m];
            add(sides.at(t[0]).first, sides.at(t[1]).first, sides.at(t[2]).first);
            add(sides.at(t[0]).second, sides.at(t[2]).second, sides.at(t[1]).second);
            // A wall along every edge no other triangle of the plate shares.
            for (int k = 0; k < 3; ++k) {
                const int a = t[k], b = t[(k + 1) % 3];
                int shared = 0;
                for (int other : edge_triangles.at(edge_key(a, b)))
                    if (other != m && in_plate.count(other) != 0) ++shared;
                if (shared > 0) continue;
                const auto &pa = sides.at(a), &pb = sides.at(b);
                add(pb.first, pa.first, pa.second);
                add(pb.first, pa.second, pb.second);
            }
        }
        return true;
    }
};

void append(ExportBytes& out, const char* text) { out.insert(out.end(), text, text + std::strlen(text)); }
void append(ExportBytes& out, const std::string& text) { out.insert(out.end(), text.begin(), text.end()); }


// Numbers vertices and normals of the OBJ file, each distinct one once.
// In colour (colour by w), every vertex gets one after its coordinates, as
// "v x y z r g b", which MeshLab, Blender and assimp read: its own, or the
// colour of its group's material where it has none, so that no file mixes
// vertices with and without colours. A point of two colours is two vertices.
struct ObjIndex {
    std::map<std::array<double, 6>, int> vertices;
    std::map<Key, int> normals;
    ExportBytes v, vn;
    bool coloured = false;
    Colour fallback = kNoColour;  // the current group's
    int vertex(const Point3& p, Colour c) {
        if (!coloured)
            c = kNoColour;
        else if (!has_colour(c))
            c = fallback;
        for (float* component : {&c.r, &c.g, &c.b})
            if (coloured) *component = static_cast<float>(std::round(*component * 1000.0) / 1000.0);
        const auto [it, added] =
            vertices.emplace(std::array<double, 6>{p.x, p.y, p.z, c.r, c.g, c.b}, static_cast<int>(vertices.size()) + 1);
        if (added) {
            append(v, "v");
            for (double coordinate : {p.x, p.y, p.z}) append_number(v, coordinate);
            if (coloured)
                for (float component : {c.r, c.g, c.b}) append_number(v, component);
            v.push_back('\n');
        }
        return it->second;
    }
    int normal(const Point3& n) {
        const Point3 u = unit(n);
        const auto [it, added] = normals.emplace(key(u), static_cast<int>(normals.size()) + 1);
        if (added) {
            append(vn, "vn");
            for (double coordinate : {u.x, u.y, u.z}) append_number(vn, coordinate);
            vn.push_back('\n');
        }
        return it->second;
    }
};

// A triangle wound to agree with its normals: counterclockwise seen from
// the side they point to, which viewers take for the front.
void append_face(ExportBytes& out, ObjIndex& index, const Point3 (&v)[3], const Point3 (&n)[3],
                 const Colour (&c)[3]) {
    const Point3 wound = cross(minus(v[1], v[0]), minus(v[2], v[0]));
    // The normals as written (unit length) decide, as a viewer reads them.
    const Point3 u[3] = {unit(n[0]), unit(n[1]), unit(n[2])};
    const Point3 given{u[0].x + u[1].x + u[2].x, u[0].y + u[1].y + u[2].y, u[0].z + u[1].z + u[2].z};
    const int order[2][3] = {{0, 1, 2}, {0, 2, 1}};
    const int* o = order[dot(wound, given) < 0 ? 1 : 0];
    append(out, "f");
    for (int k = 0; k < 3; ++k)
        append(out, " " + std::to_string(index.vertex(v[o[k]], c[o[k]])) + "//" +
                        std::to_string(index.normal(n[o[k]])));
    out.push_back('\n');
}

// The colour a material shows lit head-on by the window's white lights:
// its ambient and diffuse parts together.
Colour shown_colour(const MaterialValues& m) {
    return {std::fmin(1.0f, m.ambient[0] + m.diffuse[0]), std::fmin(1.0f, m.ambient[1] + m.diffuse[1]),
            std::fmin(1.0f, m.ambient[2] + m.diffuse[2])};
}

// A material of the window as the material library gives it. Kd is the
// colour a face shows lit head-on by the window's white lights, its ambient
// and diffuse parts together: the cut, whose red is in its ambient part,
// is red in every viewer, as on the screen.
void append_material(ExportBytes& mtl, const char* name, const MaterialValues& m) {
    const Colour shown = shown_colour(m);
    char text[320];
    std::snprintf(text, sizeof text, "newmtl %s\nKa %g %g %g\nKd %g %g %g\nKs %g %g %g\nNs %d\nd %g\n\n", name,
                  m.ambient[0], m.ambient[1], m.ambient[2], shown.r, shown.g, shown.b, m.specular[0],
                  m.specular[1], m.specular[2], m.shininess, m.diffuse[3]);
    append(mtl, text);
}

}  // namespace

// The shortest text that reads back as the same double.
void append_number(ExportBytes& out, double v) {
    char buffer[32];
    v = v == 0 ? 0.0 : v;
#if defined(__cpp_lib_to_chars)
    char* end = std::to_chars(buffer, buffer + sizeof buffer, v).ptr;
#else
    // A library without floating to_chars (emscripten's libc++): 15, 16 or
    // 17 significant digits, the first that read back as the same double
    // (%g drops trailing zeros, so a short number stays short).
    int length = 0;
    for (int digits = 15; digits <= 17; ++digits) {
        length = std::snprintf(buffer, sizeof buffer, "%.*g", digits, v);
        if (std::strtod(buffer, nullptr) == v) break;
    }
    char* end = buffer + length;
#endif
    out.push_back(' ');
    out.insert(out.end(), buffer, end);
}

void tube_shell(const Point3& p, const Point3& q, double radius, int sides,
                std::vector<ShellTriangle>& out) {
    if (sides < 3 || sides > 64 || key(p) == key(q)) return;
    Point3 bottom[64], top[64];
    tube_rings(p, q, radius, sides, bottom, top);
    const Point3 axis = minus(q, p);
    const Point3 back{-axis.x, -axis.y, -axis.z};
    // The ends are shallow cones, their tips a quarter radius inside the
    // tube: tubes that meet at a vertex would otherwise share their caps'
    // centre, and with it the edges to ring points they have in common
    // (two tubes at right angles share two).
    const Point3 in = unit(axis);
    const double dent = radius / 4;
    const Point3 p_tip{p.x + in.x * dent, p.y + in.y * dent, p.z + in.z * dent};
    const Point3 q_tip{q.x - in.x * dent, q.y - in.y * dent, q.z - in.z * dent};
    for (int k = 0; k < sides; ++k) {
        const int k1 = (k + 1) % sides;
        const Point3 radial = minus(bottom[k], p);
        add_oriented(bottom[k], bottom[k1], top[k1], radial, out);
        add_oriented(bottom[k], top[k1], top[k], radial, out);
        add_oriented(p_tip, bottom[k1], bottom[k], back, out);
        add_oriented(q_tip, top[k], top[k1], axis, out);
    }
}

void ball_shell(const Point3& c, double radius, int slices, int stacks,
                std::vector<ShellTriangle>& out) {
    if (slices < 3 || slices > 32 || stacks < 2 || stacks > 32) return;
    // ring[j][k]: stack j from the top pole, slice k; the poles on their own.
    Point3 ring[33][32];
    for (int j = 1; j < stacks; ++j)
        for (int k = 0; k < slices; ++k) ring[j][k] = sphere_point(c, radius, j, stacks, k, slices);
    const Point3 north{c.x, c.y, c.z + radius}, south{c.x, c.y, c.z - radius};
    auto outward = [&](const Point3& a, const Point3& b, const Point3& d) {
        return Point3{(a.x + b.x + d.x) / 3 - c.x, (a.y + b.y + d.y) / 3 - c.y, (a.z + b.z + d.z) / 3 - c.z};
    };
    auto add = [&](const Point3& a, const Point3& b, const Point3& d) {
        add_oriented(a, b, d, outward(a, b, d), out);
    };
    for (int k = 0; k < slices; ++k) {
        const int k1 = (k + 1) % slices;
        add(north, ring[1][k], ring[1][k1]);
        for (int j = 1; j + 1 < stacks; ++j) {
            add(ring[j][k], ring[j + 1][k], ring[j + 1][k1]);
            add(ring[j][k], ring[j + 1][k1], ring[j][k1]);
        }
        add(south, ring[stacks - 1][k1], ring[stacks - 1][k]);
    }
}

std::string mtl_path_for(const std::string& obj_path) {
    const size_t slash = obj_path.rfind('/');
    const size_t start = slash == std::string::npos ? 0 : slash + 1;
    std::string name = obj_path.substr(start);
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos && strcasecmp(name.c_str() + dot, ".obj") == 0) name.erase(dot);
    // The OBJ names it on its "mtllib" line, which readers split at blanks.
    for (char& c : name)
        if (c == ' ' || c == '\t') c = '_';
    return obj_path.substr(0, start) + name + ".mtl";
}

bool encode_obj(const std::string& mtl_name, ExportBytes& obj, ExportBytes& mtl) {
    if (app.slice_view != kViewProjection && find_lattice(app.model_id) != nullptr)
        return encode_slice_obj(mtl_name, obj, mtl);
    ExportSink sink;
    collect(sink);
    const double lattice = kLatticeRadius * sink.largest_side();
    const bool bold = app.bold_line == 1;

    ObjIndex index;
    index.coloured = sink.any_colour;
    const MaterialValues& faces = sink.transparent ? kTransparentMaterial : kSolidMaterial;
    const MaterialValues& edges = sink.bold_edges ? kBoldEdgeMaterial : kLineMaterial;
    ExportBytes body;
    const struct {
        Part part;
        const char* name;
        const MaterialValues& material;
    } groups[] = {{Part::kFaces, "faces", faces}, {Part::kEdges, "edges", edges},
                  {Part::kSection, "section", kSectionMaterial}};
    for (const auto& group : groups) {
        ExportBytes elements;
        index.fallback = shown_colour(group.material);
        for (const Face& f : sink.faces)
            if (f.part == group.part) append_face(elements, index, f.v, f.n, f.c);
        // Lines stay lines unless Bold Line asks for solid edges.
        const bool solid_lines = bold && group.part == Part::kEdges;
        for (const Segment& s : sink.segments)
            if (s.part == group.part && !solid_lines)
                append(elements, "l " + std::to_string(index.vertex(s.a, s.ca)) + " " +
                                     std::to_string(index.vertex(s.b, s.cb)) + "\n");
        for (const Mark& m : sink.marks)
            if (m.part == group.part && m.radius == 0 && !solid_lines)
                append(elements, "p " + std::to_string(index.vertex(m.p, m.c)) + "\n");
        std::vector<Shell> shells;
        std::vector<ShellTint> tints;
        shells_of(sink, group.part, lattice, solid_lines, shells, tints);
        for (std::size_t i = 0; i < shells.size(); ++i)
            for (const ShellTriangle& t : shells[i])
                append_face(elements, index, t.v, {t.normal, t.normal, t.normal},
                            {tints[i].at(t.v[0]), tints[i].at(t.v[1]), tints[i].at(t.v[2])});
        if (elements.empty()) continue;
        append(body, std::string("g ") + group.name + "\nusemtl " + group.name + "\n");
        body.insert(body.end(), elements.begin(), elements.end());
    }

    obj.clear();
    append(obj, "# fourview: the frame's geometry after the 4D projection\n");
    append(obj, "mtllib " + mtl_name + "\n");
    obj.insert(obj.end(), index.v.begin(), index.v.end());
    obj.insert(obj.end(), index.vn.begin(), index.vn.end());
    obj.insert(obj.end(), body.begin(), body.end());

    mtl.clear();
    append(mtl, "# fourview materials\n");
    append_material(mtl, "faces", sink.transparent ? kTransparentMaterial : kSolidMaterial);
    append_material(mtl, "edges", sink.bold_edges ? kBoldEdgeMaterial : kLineMaterial);
    append_material(mtl, "section", kSectionMaterial);
    return !sink.empty();
}

void stl_shells(double scale_mm, double thickness_mm, std::vector<Shell>& shells) {
    ExportSink sink;
    collect(sink);
    const double lattice = kLatticeRadius * sink.largest_side();
    shells.clear();
    std::vector<ShellTint> tints;
    for (Part part : {Part::kEdges, Part::kSection}) shells_of(sink, part, lattice, true, shells, tints);
    // The scale comes from the model without the plates' thickness, which
    // is given in millimetres of the scaled model.
    PrintableFaces faces[2];
    for (const Face& f : sink.faces) faces[f.part == Part::kSection ? 1 : 0].add(f.v);
    Point3 lo{INFINITY, INFINITY, INFINITY}, hi{-INFINITY, -INFINITY, -INFINITY};
    auto grow = [&](const Point3& p) {
        lo = {std::fmin(lo.x, p.x), std::fmin(lo.y, p.y), std::fmin(lo.z, p.z)};
        hi = {std::fmax(hi.x, p.x), std::fmax(hi.y, p.y), std::fmax(hi.z, p.z)};
    };
    for (const Shell& shell : shells)
        for (const ShellTriangle& t : shell)
            for (const Point3& p : t.v) grow(p);
    for (const PrintableFaces& f : faces)
        for (const Point3& p : f.corners) grow(p);
    const double side = std::fmax(hi.x - lo.x, std::fmax(hi.y - lo.y, hi.z - lo.z));
    const double scale = side > 0 && scale_mm > 0 ? scale_mm / side : 1;
    for (PrintableFaces& f : faces) f.shells(thickness_mm / scale / 2, shells);

    // Millimetres, the low corner of the whole at the origin.
    lo = {INFINITY, INFINITY, INFINITY};
    for (const Shell& shell : shells)
        for (const ShellTriangle& t : shell)
            for (const Point3& p : t.v) grow(p);
    for (Shell& shell : shells)
        for (ShellTriangle& t : shell)
            for (Point3& p : t.v) p = {(p.x - lo.x) * scale, (p.y - lo.y) * scale, (p.z - lo.z) * scale};
}

bool encode_stl(double scale_mm, double thickness_mm, ExportBytes& stl) {
    if (app.slice_view != kViewProjection && find_lattice(app.model_id) != nullptr)
        return encode_slice_stl(scale_mm, stl);
    std::vector<Shell> shells;
    stl_shells(scale_mm, thickness_mm, shells);
    return stl_from_shells(shells, stl);
}

bool stl_from_shells(const std::vector<Shell>& shells, ExportBytes& stl) {
    stl.assign(80, 0);
    const char header[] = "fourview binary STL, millimetres";
    std::memcpy(stl.data(), header, sizeof header - 1);
    auto put = [&stl](const void* data, size_t n) {
        const uint8_t* b = static_cast<const uint8_t*>(data);
        stl.insert(stl.end(), b, b + n);
    };
    uint32_t count = 0;
    for (const Shell& shell : shells) count += static_cast<uint32_t>(shell.size());
    // Little-endian, as the format and every machine this runs on.
    put(&count, 4);
    for (const Shell& shell : shells)
        for (const ShellTriangle& t : shell) {
            float v[12] = {static_cast<float>(t.normal.x), static_cast<float>(t.normal.y),
                           static_cast<float>(t.normal.z)};
            for (int k = 0; k < 3; ++k) {
                v[3 + 3 * k] = static_cast<float>(t.v[k].x);
                v[4 + 3 * k] = static_cast<float>(t.v[k].y);
                v[5 + 3 * k] = static_cast<float>(t.v[k].z);
            }
            put(v, sizeof v);
            const uint16_t attributes = 0;
            put(&attributes, 2);
        }
    return count > 0;
}

}  // namespace fourview
