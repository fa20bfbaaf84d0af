#include "draw/geometry_sink.h"

#include <cmath>

#include "geom4/transform.h"
#include "geom4/vector3.h"

namespace fourview {

namespace {

// Drops everything: what the models draw before any back end is installed.
struct NullSink final : GeometrySink {
    void begin_surface() override {}
    void end_surface() override {}
    void begin_wire() override {}
    void end_wire() override {}
    void part(Part) override {}
    void section_material() override {}
    void bold_edge_material() override {}
    void color(int) override {}
    void line_width(float) override {}
    void point_size(float) override {}
    void normal(const Point3&) override {}
    void begin(Primitive) override {}
    void vertex(const Point3&) override {}
    void vertex(const Point3&, const Point3&) override {}
    void end() override {}
    void tube(const Point3&, const Point3&, double) override {}
    void ball(const Point3&, double) override {}
} null_sink;

GeometrySink* current = &null_sink;

}  // namespace

GeometrySink& geometry() { return *current; }

void set_geometry(GeometrySink* sink) { current = sink != nullptr ? sink : &null_sink; }

void begin_surface() { current->begin_surface(); }
void end_surface() { current->end_surface(); }
void begin_wire() { current->begin_wire(); }
void end_wire() { current->end_wire(); }
void bold_edge_material() { current->bold_edge_material(); }
void section_material() { current->section_material(); }

ScopedGeometry::ScopedGeometry(GeometrySink& sink) : previous_(current) { current = &sink; }

ScopedGeometry::~ScopedGeometry() { current = previous_; }

void tube_rings(const Point3& p, const Point3& q, double radius, int sides, Point3* bottom,
                Point3* top) {
    const double step = 6.283185307179586 / sides;
    const Matrix4 frame = direction_frame(Point3{q.x - p.x, q.y - p.y, q.z - p.z});
    for (int k = 0; k < sides; ++k) {
        const Point3 ring =
            apply_matrix4(frame, Point3{radius * std::cos(k * step), radius * std::sin(k * step), 0});
        bottom[k] = Point3{p.x + ring.x, p.y + ring.y, p.z + ring.z};
        top[k] = Point3{q.x + ring.x, q.y + ring.y, q.z + ring.z};
    }
}


void GeometrySink::tubes(const Point3* points, const int (*pairs)[2], int count, double radius,
                         int) {
    for (int k = 0; k < count; ++k) tube(points[pairs[k][0]], points[pairs[k][1]], radius);
}

void GeometrySink::balls(const Point3* points, int count, double radius, int, int) {
    for (int k = 0; k < count; ++k) ball(points[k], radius);
}

void GeometrySink::line_pairs(const Point3* points, int, const int (*pairs)[2], int count) {
    begin(Primitive::kLines);
    for (int k = 0; k < count; ++k) {
        vertex(points[pairs[k][0]]);
        vertex(points[pairs[k][1]]);
    }
    end();
}

void GeometrySink::flat_triangles(const Point3* points, const Point3* normals, int,
                                  const int (*triangles)[3], int count) {
    for (int t = 0; t < count; ++t) {
        begin(Primitive::kTriangles);
        vertex(normals[triangles[t][0]], points[triangles[t][0]]);
        vertex(points[triangles[t][1]]);
        vertex(points[triangles[t][2]]);
        end();
    }
}

void GeometrySink::triangle_mesh(const Point3* points, const Point3* normals,
                                 const Colour* colours, const int (*triangles)[3],
                                 int triangle_count) {
    begin(Primitive::kTriangles);
    for (int t = 0; t < triangle_count; ++t)
        for (int c = 0; c < 3; ++c) {
            const int k = triangles[t][c];
            if (colours != nullptr) colour(colours[k]);
            vertex(normals[k], points[k]);
        }
    end();
}

void GeometrySink::thin_tube_paths(const Point3* points, const int* lengths, int paths,
                                   double radius) {
    tube_paths(points, lengths, paths, radius, 4);
}

void GeometrySink::thin_balls(const Point3* points, int count, double radius, int rim) {
    balls(points, count, radius, rim, (rim + 1) / 2 + 1);
}

void GeometrySink::tube_paths(const Point3* points, const int* lengths, int paths, double radius,
                              int) {
    for (int k = 0; k < paths; points += lengths[k++])
        for (int i = 1; i < lengths[k]; ++i) {
            tube(points[i - 1], points[i], radius);
            if (i > 1) ball(points[i - 1], radius);
        }
}

namespace {

template <typename Shape>
void add_corner(Shape& shape, const Point3& normal, const Point3& point) {
    shape.normals[shape.corner_count] = normal;
    shape.points[shape.corner_count++] = point;
}

template <typename Shape>
void add_triangle(Shape& shape, int a, int b, int c) {
    int* t = shape.triangles[shape.triangle_count++];
    t[0] = a;
    t[1] = b;
    t[2] = c;
}

}  // namespace

void make_tube_table(int sides, TubeTable& table) {
    if (sides < 3 || sides > BatchShape::kMaxSides) sides = BatchShape::kMaxSides;
    table.sides = sides;
    for (int k = 0; k <= sides; ++k) {
        table.cosine[k] = std::cos(6.283185307179586 * k / sides);
        table.sine[k] = std::sin(6.283185307179586 * k / sides);
    }
}

void tube_shape(const TubeTable& table, const Point3& p, const Point3& q, double radius,
                BatchShape& shape) {
    const int sides = table.sides;
    const Matrix4 frame = direction_frame(Point3{q.x - p.x, q.y - p.y, q.z - p.z});
    Point3 ring[BatchShape::kMaxSides + 1];  // unit vectors round the axis
    for (int k = 0; k <= sides; ++k)
        ring[k] = apply_matrix4(frame, Point3{table.cosine[k], table.sine[k], 0});
    // Run the ring the other way when it turns clockwise about p to q.
    const Point3 turn{ring[0].y * ring[1].z - ring[0].z * ring[1].y,
                      ring[0].z * ring[1].x - ring[0].x * ring[1].z,
                      ring[0].x * ring[1].y - ring[0].y * ring[1].x};
    const bool reversed = turn.x * (q.x - p.x) + turn.y * (q.y - p.y) + turn.z * (q.z - p.z) < 0;
    shape.corner_count = shape.triangle_count = 0;
    // Corner pairs (at p, at q) round the ring, the first pair again at the end.
    for (int k = 0; k <= sides; ++k) {
        const Point3& r = ring[reversed ? sides - k : k];
        add_corner(shape, r, plus(p, scaled(r, radius)));
        add_corner(shape, r, plus(q, scaled(r, radius)));
    }
    for (int k = 0; k < sides; ++k) {
        const int b0 = 2 * k, t0 = b0 + 1, b1 = b0 + 2, t1 = b0 + 3;
        add_triangle(shape, b0, b1, t1);
        add_triangle(shape, b0, t1, t0);
    }
}

bool carry_ring(const TubeTable& table, const Point3& t, Point3& u, Point3* ring) {
    u = Point3{u.x - dot(u, t) * t.x, u.y - dot(u, t) * t.y, u.z - dot(u, t) * t.z};
    if (!normalise(u)) return false;
    // Counterclockwise about the direction of travel, as tube_shape runs.
    const Point3 w = cross(t, u);
    for (int m = 0; m <= table.sides; ++m)
        ring[m] = plus(scaled(u, table.cosine[m]), scaled(w, table.sine[m]));
    return true;
}

bool path_shape(const TubeTable& table, const Point3* points, int count, double radius,
                PathShape& shape) {
    shape.corner_count = shape.triangle_count = 0;
    if (count < 2 || count > PathShape::kMaxPoints) return false;
    const int sides = table.sides;
    Point3 first{points[1].x - points[0].x, points[1].y - points[0].y, points[1].z - points[0].z};
    Point3 u = apply_matrix4(direction_frame(first), Point3{1, 0, 0});
    Point3 ring[BatchShape::kMaxSides + 1];
    for (int k = 0; k < count; ++k) {
        const Point3& before = points[k > 0 ? k - 1 : 0];
        const Point3& after = points[k + 1 < count ? k + 1 : k];
        Point3 t = minus(after, before);
        if (!normalise(t) || !carry_ring(table, t, u, ring)) {
            shape.corner_count = shape.triangle_count = 0;
            return false;
        }
        for (int m = 0; m <= sides; ++m) add_corner(shape, ring[m], plus(points[k], scaled(ring[m], radius)));
        if (k == 0) continue;
        const int below = (k - 1) * (sides + 1), above = k * (sides + 1);
        for (int m = 0; m < sides; ++m) {
            add_triangle(shape, below + m, below + m + 1, above + m + 1);
            add_triangle(shape, below + m, above + m + 1, above + m);
        }
    }
    return true;
}

Point3 sphere_point(const Point3& centre, double radius, int stack, int stacks, int slice, int slices) {
    const double rho = 3.141592653589793 * stack / stacks, theta = 6.283185307179586 * slice / slices;
    return Point3{centre.x + radius * std::sin(rho) * std::cos(theta),
                  centre.y + radius * std::sin(rho) * std::sin(theta), centre.z + radius * std::cos(rho)};
}

void make_ball_table(int slices, int stacks, BallTable& table) {
    if (slices < 3 || slices > BatchShape::kMaxSlices) slices = BatchShape::kMaxSlices;
    if (stacks < 2 || stacks > BatchShape::kMaxStacks) stacks = BatchShape::kMaxStacks;
    table.slices = slices;
    table.stacks = stacks;
    for (int i = 0; i <= stacks; ++i)
        for (int j = 0; j <= slices; ++j) table.unit[i][j] = sphere_point(Point3{}, 1, i, stacks, j, slices);
}

void ball_shape(const BallTable& table, const Point3& centre, double radius, BatchShape& shape) {
    const int slices = table.slices, stacks = table.stacks, row = slices + 1;
    shape.corner_count = shape.triangle_count = 0;
    for (int i = 0; i <= stacks; ++i)
        for (int j = 0; j <= slices; ++j)
            add_corner(shape, table.unit[i][j], plus(centre, scaled(table.unit[i][j], radius)));
    for (int i = 0; i < stacks; ++i)
        for (int j = 0; j < slices; ++j) {
            const int at = i * row + j;
            // The first and last stacks are fans of triangles round the poles.
            if (i > 0) add_triangle(shape, at, at + row, at + 1);
            if (i + 1 < stacks) add_triangle(shape, at + 1, at + row, at + row + 1);
        }
}

// The half of a thin bent tube that faces the camera: at every point of the
// path a ring of three, its two sides on the outline (radius out, square to
// the path and to the line of sight) and its ridge (radius out toward the
// camera), with the normals of the round tube there; two faces a piece.
bool thin_path_shape(const Facing& view, const Point3* points, int count, double radius,
                     PathShape& shape) {
    shape.corner_count = shape.triangle_count = 0;
    if (count < 2 || count > PathShape::kMaxPoints) return false;
    Point3 side = view.across;
    for (int k = 0; k < count; ++k) {
        const Point3& a = points[k > 0 ? k - 1 : 0];
        const Point3& b = points[k + 1 < count ? k + 1 : count - 1];
        const Point3 along = unit_or(minus(b, a), Point3{});
        if (along.x == 0 && along.y == 0 && along.z == 0) return false;
        side = unit_or(cross(along, view.toward), side);  // end on: the last one
        const Point3 front = unit_or(cross(side, along), view.toward);
        const Point3& p = points[k];
        const Point3 normals[3] = {side, front, Point3{-side.x, -side.y, -side.z}};
        for (const Point3& n : normals) add_corner(shape, n, plus(p, scaled(n, radius)));
        if (k == 0) continue;
        const int o = 3 * (k - 1), c = 3 * k;
        add_triangle(shape, o, o + 1, c);
        add_triangle(shape, o + 1, c + 1, c);
        add_triangle(shape, o + 1, o + 2, c + 1);
        add_triangle(shape, o + 2, c + 2, c + 1);
    }
    return true;
}

// The half of a thin ball that faces the camera: a cone of `rim` faces from
// its front point to its outline, with the normals of the ball there.
void thin_ball_shape(const Facing& view, const TubeTable& rim, const Point3& centre, double radius,
                     BatchShape& shape) {
    shape.corner_count = shape.triangle_count = 0;
    add_corner(shape, view.toward, plus(centre, scaled(view.toward, radius)));
    for (int k = 0; k < rim.sides; ++k) {
        const Point3 n{rim.cosine[k] * view.across.x + rim.sine[k] * view.up.x,
                       rim.cosine[k] * view.across.y + rim.sine[k] * view.up.y,
                       rim.cosine[k] * view.across.z + rim.sine[k] * view.up.z};
        add_corner(shape, n, plus(centre, scaled(n, radius)));
        add_triangle(shape, 0, 1 + k, 1 + (k + 1) % rim.sides);
    }
}

// The tables for the last counts asked for: a frame asks for the same few
// again and again (a coloured polytope once for each of its balls).
const TubeTable& cached_tube_table(int sides) {
    static TubeTable table;
    static int asked = -1;
    if (asked != sides) make_tube_table(sides, table);
    asked = sides;
    return table;
}

const BallTable& cached_ball_table(int slices, int stacks) {
    static BallTable table;
    static int asked_slices = -1, asked_stacks = -1;
    if (asked_slices != slices || asked_stacks != stacks) make_ball_table(slices, stacks, table);
    asked_slices = slices, asked_stacks = stacks;
    return table;
}

}  // namespace fourview
