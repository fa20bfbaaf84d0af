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

Point3 plus(const Point3& p, const Point3& d) { return Point3{p.x + d.x, p.y + d.y, p.z + d.z}; }
Point3 times(const Point3& p, double k) { return Point3{p.x * k, p.y * k, p.z * k}; }

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
        add_corner(shape, r, plus(p, times(r, radius)));
        add_corner(shape, r, plus(q, times(r, radius)));
    }
    for (int k = 0; k < sides; ++k) {
        const int b0 = 2 * k, t0 = b0 + 1, b1 = b0 + 2, t1 = b0 + 3;
        add_triangle(shape, b0, b1, t1);
        add_triangle(shape, b0, t1, t0);
    }
}

namespace {

double dot3(const Point3& a, const Point3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Point3 cross3(const Point3& a, const Point3& b) {
    return Point3{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

}  // namespace

bool path_shape(const TubeTable& table, const Point3* points, int count, double radius,
                PathShape& shape) {
    shape.corner_count = shape.triangle_count = 0;
    if (count < 2 || count > PathShape::kMaxPoints) return false;
    const int sides = table.sides;
    Point3 first{points[1].x - points[0].x, points[1].y - points[0].y, points[1].z - points[0].z};
    Point3 u = apply_matrix4(direction_frame(first), Point3{1, 0, 0});
    for (int k = 0; k < count; ++k) {
        const Point3& before = points[k > 0 ? k - 1 : 0];
        const Point3& after = points[k + 1 < count ? k + 1 : k];
        Point3 t{after.x - before.x, after.y - before.y, after.z - before.z};
        if (!normalise(t)) {
            shape.corner_count = shape.triangle_count = 0;
            return false;
        }
        u = Point3{u.x - dot3(u, t) * t.x, u.y - dot3(u, t) * t.y, u.z - dot3(u, t) * t.z};
        if (!normalise(u)) {
            shape.corner_count = shape.triangle_count = 0;
            return false;
        }
        // Counterclockwise about the direction of travel, as tube_shape runs.
        const Point3 w = cross3(t, u);
        for (int m = 0; m <= sides; ++m) {
            const Point3 r = plus(times(u, table.cosine[m]), times(w, table.sine[m]));
            add_corner(shape, r, plus(points[k], times(r, radius)));
        }
        if (k == 0) continue;
        const int below = (k - 1) * (sides + 1), above = k * (sides + 1);
        for (int m = 0; m < sides; ++m) {
            add_triangle(shape, below + m, below + m + 1, above + m + 1);
            add_triangle(shape, below + m, above + m + 1, above + m);
        }
    }
    return true;
}

void make_ball_table(int slices, int stacks, BallTable& table) {
    if (slices < 3 || slices > BatchShape::kMaxSlices) slices = BatchShape::kMaxSlices;
    if (stacks < 2 || stacks > BatchShape::kMaxStacks) stacks = BatchShape::kMaxStacks;
    table.slices = slices;
    table.stacks = stacks;
    for (int i = 0; i <= stacks; ++i) {
        const double rho = 3.141592653589793 * i / stacks;
        for (int j = 0; j <= slices; ++j) {
            const double theta = 6.283185307179586 * j / slices;
            table.unit[i][j] = Point3{std::sin(rho) * std::cos(theta),
                                      std::sin(rho) * std::sin(theta), std::cos(rho)};
        }
    }
}

void ball_shape(const BallTable& table, const Point3& centre, double radius, BatchShape& shape) {
    const int slices = table.slices, stacks = table.stacks, row = slices + 1;
    shape.corner_count = shape.triangle_count = 0;
    for (int i = 0; i <= stacks; ++i)
        for (int j = 0; j <= slices; ++j)
            add_corner(shape, table.unit[i][j], plus(centre, times(table.unit[i][j], radius)));
    for (int i = 0; i < stacks; ++i)
        for (int j = 0; j < slices; ++j) {
            const int at = i * row + j;
            // The first and last stacks are fans of triangles round the poles.
            if (i > 0) add_triangle(shape, at, at + row, at + 1);
            if (i + 1 < stacks) add_triangle(shape, at + 1, at + row, at + row + 1);
        }
}

}  // namespace fourview
