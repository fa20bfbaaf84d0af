// The 16-cell, 24-cell, 120-cell and 600-cell envelopes and the uniform
// polychora, drawn from their face lattice in the styles of the 5-cell and
// the hypercube.
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "app/app_state.h"
#include "draw/geometry_sink.h"
#include "geom4/projection.h"
#include "geom4/section.h"
#include "geom4/transform.h"
#include "geom4/vector3.h"
#include "models/mesh.h"
#include "models/models.h"
#include "models/normals.h"
#include "models/lattice.h"
#include "models/polychora.h"

namespace fourview {

namespace {

// The transformed (kept for the cut) and projected vertices of the frame.
// They grow, once, to the largest polytope drawn, so that no frame of the
// same polytope allocates them.
std::vector<Point4> transformed;
std::vector<Point3> projected;

// The faces round a tube or ball of the given radius: about one for every
// 4 pixels of its circumference at the present zoom and window height, 4 at
// least and never more than the standard tube's 30 or ball's 10. The
// 120-cell's 1200 tubes and 600 balls are 4 to 6 pixels wide at its default
// zoom: drawn with the standard faces they would cost several times the
// frame time for a look no different; zoomed in, they get the faces back.
int round_faces(double radius, int most) {
    const double pixels_per_unit = app.window_height * app.zoom / 6;  // apply_projection's box
    const double faces = std::ceil(2 * 3.141592653589793 * radius * pixels_per_unit / 4);
    if (!(faces < most)) return most;
    return faces < 4 ? 4 : static_cast<int>(faces);
}

// The tubes and balls of one batch that can be drawn: both ends fit GL and
// are apart, as draw_tube and draw_sphere_marker ask. Sized by the
// polytope (an edge or a face each) before its first frame.
struct Batch {
    int tube_count = 0, ball_count = 0;
    std::vector<std::array<int, 2>> tubes;  // indices into the points handed over; a cut has one per face
    std::vector<Point3> balls;
};
Batch batch;

void add_tube(int a, int b, const Point3* points) {
    if (!fits_gl(points[a]) || !fits_gl(points[b]) || classify_edge3(points[a], points[b]) == 0) return;
    batch.tubes[batch.tube_count][0] = a;
    batch.tubes[batch.tube_count][1] = b;
    ++batch.tube_count;
}

// A ball, unless one is already there: a crossing of the cut is shared by
// the 3 to 5 faces round its edge.
void add_ball(const Point3& p, bool once) {
    if (!fits_gl(p)) return;
    if (once && among(batch.balls.data(), batch.ball_count, p)) return;
    batch.balls[batch.ball_count++] = p;
}

// Hands the gathered tubes and balls to the sink, with faces for their size
// on screen; a ball's stacks from pole to pole are as wide as its slices
// round the equator.
void draw_batch(const Point3* points, double tube_radius, double ball_radius) {
    GeometrySink& g = geometry();
    if (batch.tube_count > 0)
        g.tubes(points, reinterpret_cast<const int(*)[2]>(batch.tubes.data()), batch.tube_count, tube_radius,
                round_faces(tube_radius, 30));
    const int slices = round_faces(ball_radius, 10);
    if (batch.ball_count > 0)
        g.balls(batch.balls.data(), batch.ball_count, ball_radius, slices, (slices + 1) / 2 + 1);
    batch.tube_count = batch.ball_count = 0;
}

// The corners of the faces' fans, each with its triangle's normal, and the
// fans' triangles; sized by the polytope (three corners a triangle at most).
std::vector<Point3> corner_points, corner_normals;
std::vector<std::array<int, 3>> fans;

void draw_faces(const PolytopeLattice& shape) {
    const Point3* p = projected.data();
    const Point3 camera = camera_in_scene();
    int corner_count = 0, triangle_count = 0;
    auto corner = [&](int v, const Point3& normal) {
        corner_points[corner_count] = p[v];
        corner_normals[corner_count] = normal;
        return corner_count++;
    };
    for (int f = 0; f < shape.face_count(); ++f) {
        const int* c = shape.face(f);
        // A fan from the first corner: one triangle for a triangle, three
        // for a pentagon, drawn as draw_triangle draws each. A triangle
        // whose normal is that of the one before (to the last bit) shares
        // its corners: they are lit alike.
        bool joined = false;
        Point3 before{};
        int first = 0, last = 0;
        for (int k = 1; k + 1 < shape.face_size(f); ++k) {
            const Point3 &a = p[c[0]], &b = p[c[k]], &d = p[c[k + 1]];
            Point3 n;
            if (classify_edge3(a, b) != 1 || classify_edge3(b, d) != 1 || classify_edge3(d, a) != 1 ||
                !fits_gl(a) || !fits_gl(b) || !fits_gl(d) || !try_triangle_normal(a, b, d, camera, n)) {
                joined = false;
                continue;
            }
            if (!(joined && n.x == before.x && n.y == before.y && n.z == before.z)) {
                first = corner(c[0], n);
                last = corner(c[k], n);
            }
            const int next = corner(c[k + 1], n);
            fans[triangle_count++] = {first, last, next};
            last = next;
            before = n;
            joined = true;
        }
    }
    geometry().begin_surface();
    geometry().flat_triangles(corner_points.data(), corner_normals.data(), corner_count,
                              reinterpret_cast<const int(*)[3]>(fans.data()), triangle_count);
    geometry().end_surface();
}

void draw_edges(const PolytopeLattice& shape) {
    const Point3* p = projected.data();
    GeometrySink& g = geometry();
    g.begin_wire();
    if (app.bold_line == 1) {
        g.bold_edge_material();
        for (int e = 0; e < shape.edge_count(); ++e) add_tube(shape.edges[e][0], shape.edges[e][1], p);
        for (int v = 0; v < shape.vertex_count(); ++v) add_ball(p[v], false);
        draw_batch(p, polytope_tube_radius(shape), polytope_ball_radius(shape));
    } else {
        g.color(5);
        int lines = 0;
        for (int e = 0; e < shape.edge_count(); ++e) {
            const int a = shape.edges[e][0], b = shape.edges[e][1];
            if (!fits_gl(p[a]) || !fits_gl(p[b])) continue;  // a vertex at w = 2
            batch.tubes[lines][0] = a;
            batch.tubes[lines++][1] = b;
        }
        g.line_pairs(p, shape.vertex_count(), reinterpret_cast<const int(*)[2]>(batch.tubes.data()), lines);
    }
    g.end_wire();
}

// The ends of the bold cut's segments, which its tubes index, and the
// corners of a face; sized before the polytope's first frame.
std::vector<Point3> cut_ends;
std::vector<Point4> corners;

// The cut of every face from its boundary, so that a pentagon gives one
// segment and not one per triangle of its fan. A face lying in the
// hyperplane, and a single corner touching it, go through section_triangle,
// which fills the one and marks the other as for every model. With Bold
// Line the segments are tubes with a ball at each end, as
// draw_section_segment makes them, gathered into one batch.
void draw_cut(ModelId model, const PolytopeLattice& shape) {
    const Point4* v = transformed.data();
    const double level = section_level();
    const bool bold = app.bold_line == 1;
    bool material_set = false;
    int ends = 0;
    begin_section_run();
    for (int f = 0; f < shape.face_count(); ++f) {
        const int* c = shape.face(f);
        const int n = shape.face_size(f);
        for (int k = 0; k < n; ++k) corners[k] = v[c[k]];
        const SectionCut cut = cut_polygon(corners.data(), n, level);
        switch (cut.shape) {
            case SectionShape::kFace:
                for (int k = 1; k + 1 < n; ++k)
                    section_triangle(corners[0], corners[k], corners[k + 1], corners[k + 1]);
                break;
            case SectionShape::kPoint:
                for (int k = 0; k < n; ++k)
                    if (on_hyperplane(corners[k].w - level)) {
                        section_triangle(corners[k], corners[(k + 1) % n], corners[(k + n - 1) % n],
                                         corners[(k + n - 1) % n]);
                        break;
                    }
                break;
            case SectionShape::kSegment:
                if (!material_set) geometry().section_material();
                material_set = true;
                if (!bold) {
                    draw_section_segment(cut.points[0], cut.points[1]);
                    break;
                }
                cut_ends[ends] = project_point(cut.points[0]);
                cut_ends[ends + 1] = project_point(cut.points[1]);
                add_tube(ends, ends + 1, cut_ends.data());
                add_ball(cut_ends[ends], true);
                add_ball(cut_ends[ends + 1], true);
                ends += 2;
                break;
            case SectionShape::kTwoEdges:
            case SectionShape::kUncut:
            case SectionShape::kNothing: break;
        }
    }
    const double radius = bold_cut_radius(model);
    draw_batch(cut_ends.data(), radius, radius);
    end_section_run();
}

template <typename T>
void grow(std::vector<T>& v, std::size_t n) {
    if (v.size() < n) v.resize(n);
}

void draw_polychoron(ModelId model) {
    const PolytopeLattice* shape = find_lattice(model);
    if (shape == nullptr) return;
    const int n = shape->vertex_count();
    // Sized again only when another polytope comes.
    static const PolytopeLattice* sized = nullptr;
    static int sized_counts[3] = {};
    if (shape != sized || sized_counts[0] != n || sized_counts[1] != shape->edge_count() ||
        sized_counts[2] != shape->face_count()) {
        sized = shape;
        sized_counts[0] = n;
        sized_counts[1] = shape->edge_count();
        sized_counts[2] = shape->face_count();
        const std::size_t pieces = std::max(shape->edge_count(), shape->face_count());
        int most_corners = 0;
        for (int f = 0; f < shape->face_count(); ++f) most_corners = std::max(most_corners, shape->face_size(f));
        grow(transformed, n);
        grow(projected, n);
        grow(batch.tubes, pieces);
        grow(batch.balls, 2 * pieces);
        grow(cut_ends, 2 * pieces);
        grow(corners, most_corners);
        std::size_t triangles = 0;
        for (int f = 0; f < shape->face_count(); ++f) triangles += std::max(0, shape->face_size(f) - 2);
        grow(fans, triangles);
        grow(corner_points, 3 * triangles);
        grow(corner_normals, 3 * triangles);
    }
    for (int k = 0; k < n; ++k) {
        transformed[k] = transform_point4(app.transform, shape->vertices[k]);
        projected[k] = project_point(transformed[k]);
    }
    if (app.solid == 1) draw_faces(*shape);
    if (app.wireframe == 1) draw_edges(*shape);
    if (app.cross_section == 1) draw_cut(model, *shape);
}

}  // namespace

void draw_sixteen_cell() { draw_polychoron(kModelSixteenCell); }
void draw_twenty_four_cell() { draw_polychoron(kModelTwentyFourCell); }
void draw_hundred_twenty_cell() { draw_polychoron(kModelHundredTwentyCell); }
void draw_six_hundred_cell() { draw_polychoron(kModelSixHundredCell); }
void draw_uniform_polychoron() { draw_polychoron(kModelUniform); }

}  // namespace fourview
