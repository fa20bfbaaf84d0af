#include "export/export.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <map>
#include <set>

#include "app/app_state.h"
#include "draw/geometry_sink.h"
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

Point3 unit(const Point3& a) {
    const double l = std::sqrt(dot(a, a));
    return l > 0 ? Point3{a.x / l, a.y / l, a.z / l} : Point3{0, 0, 0};
}
bool finite(const Point3& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }

using Key = std::array<double, 3>;
Key key(const Point3& p) { return {p.x, p.y, p.z}; }

struct Face {
    Point3 v[3], n[3];
    Part part;
};
struct Segment {
    Point3 a, b;
    Part part;
};
struct Rod {
    Point3 a, b;
    double radius;
    Part part;
};
struct Mark {
    Point3 p;
    double radius;  // 0 for a point
    Part part;
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
    std::set<std::array<double, 6>> seen_segments;
    std::set<Key> seen_balls;
    // Colour by w: the colour of every point of the faces and lines given
    // with one (a point has one colour: it is a function of the 4D point).
    ColourUse colour_use = ColourUse::kNone;
    Colour current_colour;
    std::map<Key, Colour> vertex_colours;

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
    }
    void vertex(const Point3& p) override {
        points.push_back(p);
        normals.push_back(current_normal);
        if (colour_use != ColourUse::kNone && kept() && finite(p)) vertex_colours[key(p)] = current_colour;
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
                     current_part};
        if (!finite(f.v[0]) || !finite(f.v[1]) || !finite(f.v[2])) return;
        if (dot(cross(minus(f.v[1], f.v[0]), minus(f.v[2], f.v[0])),
                cross(minus(f.v[1], f.v[0]), minus(f.v[2], f.v[0]))) == 0)
            return;  // no area
        faces.push_back(f);
    }
    void segment(const Point3& a, const Point3& b) {
        if (!finite(a) || !finite(b) || key(a) == key(b)) return;
        // An edge drawn twice (two faces of the cube share it) is kept once.
        const Key ka = key(a), kb = key(b);
        const Key& lo = ka < kb ? ka : kb;
        const Key& hi = ka < kb ? kb : ka;
        if (!seen_segments.insert({lo[0], lo[1], lo[2], hi[0], hi[1], hi[2]}).second) return;
        segments.push_back({a, b, current_part});
    }
    void mark(const Point3& p, double radius) {
        if (!finite(p) || !seen_balls.insert(key(p)).second) return;
        marks.push_back({p, radius, current_part});
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
                for (int i = 0; i + 1 < n; i += 2) segment(points[i], points[i + 1]);
                break;
            case Primitive::kLineStrip:
            case Primitive::kLineLoop:
                for (int i = 0; i + 1 < n; ++i) segment(points[i], points[i + 1]);
                if (kind == Primitive::kLineLoop && n > 2) segment(points[n - 1], points[0]);
                break;
            case Primitive::kPoints:
                for (const Point3& p : points) mark(p, 0);
                break;
        }
    }
    void tube(const Point3& p, const Point3& q, double radius) override {
        if (kept() && finite(p) && finite(q)) rods.push_back({p, q, radius, current_part});
    }
    void ball(const Point3& p, double radius) override {
        if (kept()) mark(p, radius);
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

// Shells of everything in `part` for printing: rods and balls as drawn,
// lines as the lattice, with a ball at every vertex of a line.
void shells_of(const ExportSink& sink, Part part, double lattice, std::vector<ShellTriangle>& out) {
    std::set<Key> balls;
    for (const Mark& m : sink.marks)
        if (m.part == part) {
            balls.insert(key(m.p));
            ball_shell(m.p, m.radius > 0 ? m.radius : lattice * kLatticeBall, kBallSlices, kBallStacks, out);
        }
    for (const Rod& r : sink.rods)
        if (r.part == part) tube_shell(r.a, r.b, r.radius, kTubeSides, out);
    for (const Segment& s : sink.segments) {
        if (s.part != part) continue;
        tube_shell(s.a, s.b, lattice, kLatticeSides, out);
        for (const Point3& end : {s.a, s.b})
            if (balls.insert(key(end)).second)
                ball_shell(end, lattice * kLatticeBall, kLatticeSlices, kLatticeStacks, out);
    }
}

void append(ExportBytes& out, const char* text) { out.insert(out.end(), text, text + std::strlen(text)); }
void append(ExportBytes& out, const std::string& text) { out.insert(out.end(), text.begin(), text.end()); }

// The shortest text that reads back as the same double.
void append_number(ExportBytes& out, double v) {
    char buffer[32];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, v == 0 ? 0.0 : v);
    out.push_back(' ');
    out.insert(out.end(), buffer, r.ptr);
}

// Numbers vertices and normals of the OBJ file, each distinct one once.
// A vertex with a colour (colour by w) gets it after its coordinates, as
// "v x y z r g b", which MeshLab, Blender and assimp read.
struct ObjIndex {
    std::map<Key, int> vertices, normals;
    ExportBytes v, vn;
    const std::map<Key, Colour>* colours = nullptr;
    int vertex(const Point3& p) { return number(vertices, v, "v", p, colours); }
    int normal(const Point3& n) { return number(normals, vn, "vn", unit(n), nullptr); }
    static int number(std::map<Key, int>& seen, ExportBytes& text, const char* tag, const Point3& p,
                      const std::map<Key, Colour>* colours) {
        const auto [it, added] = seen.emplace(key(p), static_cast<int>(seen.size()) + 1);
        if (added) {
            append(text, tag);
            append_number(text, p.x);
            append_number(text, p.y);
            append_number(text, p.z);
            if (colours != nullptr) {
                const auto c = colours->find(key(p));
                if (c != colours->end())
                    for (float component : {c->second.r, c->second.g, c->second.b})
                        append_number(text, std::round(component * 1000.0) / 1000.0);
            }
            text.push_back('\n');
        }
        return it->second;
    }
};

void append_face(ExportBytes& out, ObjIndex& index, const Point3 (&v)[3], const Point3 (&n)[3]) {
    append(out, "f");
    for (int k = 0; k < 3; ++k)
        append(out, " " + std::to_string(index.vertex(v[k])) + "//" + std::to_string(index.normal(n[k])));
    out.push_back('\n');
}

void append_material(ExportBytes& mtl, const char* name, const float (&ambient)[3], const float (&diffuse)[3],
                     float alpha) {
    char text[256];
    std::snprintf(text, sizeof text, "newmtl %s\nKa %g %g %g\nKd %g %g %g\nd %g\n\n", name, ambient[0],
                  ambient[1], ambient[2], diffuse[0], diffuse[1], diffuse[2], alpha);
    append(mtl, text);
}

}  // namespace

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
    const double pi = 3.141592653589793;
    // ring[j][k]: stack j from the top pole, slice k; the poles on their own.
    Point3 ring[33][32];
    for (int j = 1; j < stacks; ++j)
        for (int k = 0; k < slices; ++k) {
            const double theta = pi * j / stacks, phi = 2 * pi * k / slices;
            ring[j][k] = {c.x + radius * std::sin(theta) * std::cos(phi),
                          c.y + radius * std::sin(theta) * std::sin(phi), c.z + radius * std::cos(theta)};
        }
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
    const size_t dot = obj_path.rfind('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash) &&
        obj_path.compare(dot, std::string::npos, ".obj") == 0)
        return obj_path.substr(0, dot) + ".mtl";
    return obj_path + ".mtl";
}

bool encode_obj(const std::string& mtl_name, ExportBytes& obj, ExportBytes& mtl) {
    if (app.slice_view != kViewProjection && find_lattice(app.model_id) != nullptr)
        return encode_slice_obj(mtl_name, obj, mtl);
    ExportSink sink;
    collect(sink);
    const double lattice = kLatticeRadius * sink.largest_side();
    const bool bold = app.bold_line == 1;

    ObjIndex index;
    index.colours = &sink.vertex_colours;
    ExportBytes body;
    static const struct {
        Part part;
        const char* name;
    } kGroups[] = {{Part::kFaces, "faces"}, {Part::kEdges, "edges"}, {Part::kSection, "section"}};
    for (const auto& group : kGroups) {
        ExportBytes elements;
        for (const Face& f : sink.faces)
            if (f.part == group.part) append_face(elements, index, f.v, f.n);
        // Lines stay lines unless Bold Line asks for solid edges.
        const bool solid_lines = bold && group.part == Part::kEdges;
        for (const Segment& s : sink.segments)
            if (s.part == group.part && !solid_lines)
                append(elements, "l " + std::to_string(index.vertex(s.a)) + " " +
                                     std::to_string(index.vertex(s.b)) + "\n");
        for (const Mark& m : sink.marks)
            if (m.part == group.part && m.radius == 0 && !solid_lines)
                append(elements, "p " + std::to_string(index.vertex(m.p)) + "\n");
        std::vector<ShellTriangle> shells;
        if (solid_lines) {
            shells_of(sink, group.part, lattice, shells);
        } else {
            for (const Mark& m : sink.marks)
                if (m.part == group.part && m.radius > 0) ball_shell(m.p, m.radius, kBallSlices, kBallStacks, shells);
            for (const Rod& r : sink.rods)
                if (r.part == group.part) tube_shell(r.a, r.b, r.radius, kTubeSides, shells);
        }
        for (const ShellTriangle& t : shells) append_face(elements, index, t.v, {t.normal, t.normal, t.normal});
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

    // The colours of the window's materials (ambient and diffuse as drawn).
    mtl.clear();
    append(mtl, "# fourview materials\n");
    if (sink.transparent)
        append_material(mtl, "faces", {0.2f, 0.2f, 0.2f}, {0.4f, 0.4f, 0.8f}, 0.3f);
    else
        append_material(mtl, "faces", {0.4f, 0.4f, 0.7f}, {0.2f, 0.2f, 0.5f}, 1);
    if (sink.bold_edges)
        append_material(mtl, "edges", {0.5f, 0.5f, 1}, {0.4f, 0.4f, 0.4f}, 1);
    else
        append_material(mtl, "edges", {0, 0, 0}, {0, 0, 0}, 1);
    append_material(mtl, "section", {0.9f, 0.2f, 0.2f}, {0.2f, 0.2f, 0.2f}, 1);
    return !sink.empty();
}

bool stl_from_triangles(const std::vector<ShellTriangle>& triangles, double scale_mm, ExportBytes& stl) {
    Point3 lo{INFINITY, INFINITY, INFINITY}, hi{-INFINITY, -INFINITY, -INFINITY};
    for (const ShellTriangle& t : triangles)
        for (const Point3& p : t.v) {
            lo = {std::fmin(lo.x, p.x), std::fmin(lo.y, p.y), std::fmin(lo.z, p.z)};
            hi = {std::fmax(hi.x, p.x), std::fmax(hi.y, p.y), std::fmax(hi.z, p.z)};
        }
    const double side = std::fmax(hi.x - lo.x, std::fmax(hi.y - lo.y, hi.z - lo.z));
    const double scale = side > 0 && scale_mm > 0 ? scale_mm / side : 1;

    stl.assign(80, 0);
    const char header[] = "fourview binary STL, millimetres";
    std::memcpy(stl.data(), header, sizeof header - 1);
    auto put = [&stl](const void* data, size_t n) {
        const uint8_t* b = static_cast<const uint8_t*>(data);
        stl.insert(stl.end(), b, b + n);
    };
    // Little-endian, as the format and every machine this runs on.
    const uint32_t count = static_cast<uint32_t>(triangles.size());
    put(&count, 4);
    for (const ShellTriangle& t : triangles) {
        float v[12] = {static_cast<float>(t.normal.x), static_cast<float>(t.normal.y),
                       static_cast<float>(t.normal.z)};
        for (int k = 0; k < 3; ++k) {
            v[3 + 3 * k] = static_cast<float>((t.v[k].x - lo.x) * scale);
            v[4 + 3 * k] = static_cast<float>((t.v[k].y - lo.y) * scale);
            v[5 + 3 * k] = static_cast<float>((t.v[k].z - lo.z) * scale);
        }
        put(v, sizeof v);
        const uint16_t attributes = 0;
        put(&attributes, 2);
    }
    return count > 0;
}

bool encode_stl(double scale_mm, ExportBytes& stl) {
    if (app.slice_view != kViewProjection && find_lattice(app.model_id) != nullptr)
        return encode_slice_stl(scale_mm, stl);
    ExportSink sink;
    collect(sink);
    const double lattice = kLatticeRadius * sink.largest_side();
    std::vector<ShellTriangle> triangles;
    for (const Face& f : sink.faces) {
        // Open surfaces have no outside: the side their drawn normals face.
        const Point3 drawn{f.n[0].x + f.n[1].x + f.n[2].x, f.n[0].y + f.n[1].y + f.n[2].y,
                           f.n[0].z + f.n[1].z + f.n[2].z};
        add_oriented(f.v[0], f.v[1], f.v[2], drawn, triangles);
    }
    for (Part part : {Part::kEdges, Part::kSection}) shells_of(sink, part, lattice, triangles);

    return stl_from_triangles(triangles, scale_mm, stl);
}

}  // namespace fourview
