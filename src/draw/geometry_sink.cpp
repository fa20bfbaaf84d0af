#include "draw/geometry_sink.h"

#include <cmath>

#include "geom4/transform.h"

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

}  // namespace fourview
