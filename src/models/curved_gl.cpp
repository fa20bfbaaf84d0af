// The table models (the cube and the polytopes) while the stereographic
// projection or colour by w is in force. Edges run through kArcPieces
// points and faces through a patch of small triangles, so that the push
// onto the sphere bends them; colours are taken at every one of those
// points. With neither feature on the models keep their own plain drawing.
#include <GL/gl.h>

#include <cmath>

#include "app/app_state.h"
#include "geom4/projection.h"
#include "geom4/stereo.h"
#include "geom4/transform.h"
#include "models/curved.h"
#include "models/mesh.h"
#include "models/normals.h"
#include "render/materials.h"

namespace fourview {

namespace {

constexpr double kTwoPi = 6.283185307179586;
// A bent tube is a run of short pieces: 12 sides keep it round at the size
// it is drawn while its vertex count stays within the frame's budget.
constexpr int kBentTubeSides = 12;
constexpr int kStraightTubeSides = 30;  // as the plain tubes have
constexpr int kMaxTubeSides = 30;

bool coloured = false;
float gain = 1.0f;

// The w the colour shows: of the point on the sphere when points are pushed.
Colour colour_of(const Point4& p) {
    const Point4 c = model_centre();
    const Point4 d{p.x - c.x, p.y - c.y, p.z - c.z, p.w - c.w};
    const double w = app.push_onto_sphere == 1 ? onto_sphere(d, app.model_radius).w : d.w;
    return w_colour(w, app.model_radius, gain);
}

void vertex(const Point4& source, const Point3& p) {
    if (coloured) glColor3fv(colour_of(source).data());
    glVertex3dv(p.data());
}

// A piece of a bent edge obeys the infinity bound as the perspective's
// edges do; a straight edge only needs ends GL can take, as before.
bool piece_drawable(const Point3& a, const Point3& b, bool bent) {
    if (!fits_gl(a) || !fits_gl(b)) return false;
    return !bent || classify_edge3(a, b) == 1;
}

int pieces() { return app.push_onto_sphere == 1 ? kArcPieces : 1; }

// Inside glBegin(GL_TRIANGLES): one small flat triangle, left out as
// draw_triangle leaves a triangle out.
void small_triangle(const Point4* s, const Point3* q, int a, int b, int c, const Point3& camera) {
    if (classify_edge3(q[a], q[b]) != 1 || classify_edge3(q[b], q[c]) != 1 ||
        classify_edge3(q[c], q[a]) != 1)
        return;
    if (!fits_gl(q[a]) || !fits_gl(q[b]) || !fits_gl(q[c])) return;
    Point3 n;
    if (!try_triangle_normal(q[a], q[b], q[c], camera, n)) return;
    glNormal3dv(n.data());
    vertex(s[a], q[a]);
    vertex(s[b], q[b]);
    vertex(s[c], q[c]);
}

void draw_faces(const Point4* v, const TableShape& shape) {
    const Point3 camera = camera_in_scene();
    const int d = app.push_onto_sphere == 1 ? kPatchDivisions : 1;
    Point4 s[kPatchPoints];
    Point3 q[kPatchPoints];
    glBegin(GL_TRIANGLES);
    for (int t = 0; t < shape.triangle_count; ++t) {
        const Point4& a = v[shape.triangles[t][0]];
        const Point4& b = v[shape.triangles[t][1]];
        const Point4& c = v[shape.triangles[t][2]];
        for (int i = 0; i <= d; ++i)
            for (int j = 0; j <= d - i; ++j) {
                const int k = patch_index(i, j, d);
                s[k] = patch_point(a, b, c, i, j, d);
                q[k] = project_point(s[k]);
            }
        for (int i = 0; i < d; ++i)
            for (int j = 0; j < d - i; ++j) {
                small_triangle(s, q, patch_index(i, j, d), patch_index(i + 1, j, d),
                               patch_index(i, j + 1, d), camera);
                if (j < d - i - 1)
                    small_triangle(s, q, patch_index(i + 1, j, d), patch_index(i + 1, j + 1, d),
                                   patch_index(i, j + 1, d), camera);
            }
    }
    glEnd();
}

Point3 minus(const Point3& a, const Point3& b) { return Point3{a.x - b.x, a.y - b.y, a.z - b.z}; }
double dot(const Point3& a, const Point3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
bool normalise(Point3& v) {
    const double l = std::sqrt(dot(v, v));
    if (!(l > 0) || !std::isfinite(l)) return false;
    v = Point3{v.x / l, v.y / l, v.z / l};
    return true;
}

// A tube along the points q[0..count-1], all drawable, each ring square to
// the path there and carried along it without twisting (its first axis
// projected onto each new ring's plane), lit with round normals.
void tube_run(const Point4* s, const Point3* q, int count, double radius, int sides) {
    if (count < 2) return;
    Point3 axis_u{}, previous[kMaxTubeSides], previous_normal[kMaxTubeSides];
    Colour previous_colour, colour;
    for (int k = 0; k < count; ++k) {
        Point3 t = minus(q[k + 1 < count ? k + 1 : k], q[k > 0 ? k - 1 : k]);
        if (!normalise(t)) return;
        if (k == 0) axis_u = apply_matrix4(direction_frame(t), Point3{1, 0, 0});
        const double along = dot(axis_u, t);
        axis_u = Point3{axis_u.x - along * t.x, axis_u.y - along * t.y, axis_u.z - along * t.z};
        if (!normalise(axis_u)) return;
        const Point3 axis_v{t.y * axis_u.z - t.z * axis_u.y, t.z * axis_u.x - t.x * axis_u.z,
                            t.x * axis_u.y - t.y * axis_u.x};
        if (coloured) colour = colour_of(s[k]);
        Point3 ring[kMaxTubeSides], normal[kMaxTubeSides];
        for (int m = 0; m < sides; ++m) {
            const double a = kTwoPi * m / sides, c = std::cos(a), n = std::sin(a);
            normal[m] = Point3{c * axis_u.x + n * axis_v.x, c * axis_u.y + n * axis_v.y,
                               c * axis_u.z + n * axis_v.z};
            ring[m] = Point3{q[k].x + radius * normal[m].x, q[k].y + radius * normal[m].y,
                             q[k].z + radius * normal[m].z};
        }
        if (k > 0) {
            glBegin(GL_QUAD_STRIP);
            for (int m = 0; m <= sides; ++m) {
                const int i = m % sides;
                if (coloured) glColor3fv(previous_colour.data());
                glNormal3dv(previous_normal[i].data());
                glVertex3dv(previous[i].data());
                if (coloured) glColor3fv(colour.data());
                glNormal3dv(normal[i].data());
                glVertex3dv(ring[i].data());
            }
            glEnd();
        }
        for (int m = 0; m < sides; ++m) {
            previous[m] = ring[m];
            previous_normal[m] = normal[m];
        }
        previous_colour = colour;
    }
}

// The points of one edge, projected; runs of drawable pieces go to `run`.
template <typename Run>
void edge_runs(const Point4& a, const Point4& b, Run run) {
    const int n = pieces();
    Point4 s[kArcPieces + 1];
    Point3 q[kArcPieces + 1];
    for (int k = 0; k <= n; ++k) {
        s[k] = edge_point(a, b, k, n);
        q[k] = project_point(s[k]);
    }
    int first = 0;
    for (int k = 1; k <= n; ++k) {
        if (piece_drawable(q[k - 1], q[k], n > 1)) continue;
        run(s + first, q + first, k - first);  // the points first .. k-1
        first = k;
    }
    run(s + first, q + first, n + 1 - first);
}

void draw_edges(const Point4* v, int vertex_count, const TableShape& shape) {
    if (app.bold_line == 1 && shape.tube_radius > 0) {
        bold_edge_material();
        if (coloured) begin_lit_colours(false);
        gain = lit_colour_gain(false);
        const int sides = pieces() > 1 ? kBentTubeSides : kStraightTubeSides;
        for (int e = 0; e < shape.edge_count; ++e)
            edge_runs(v[shape.edges[e][0]], v[shape.edges[e][1]],
                      [&](const Point4* s, const Point3* q, int count) {
                          tube_run(s, q, count, shape.tube_radius, sides);
                      });
        for (int k = 0; k < vertex_count; ++k) {
            if (coloured) glColor3fv(colour_of(v[k]).data());
            draw_sphere_marker(project_point(v[k]), shape.ball_radius);
        }
        if (coloured) end_lit_colours();
        gain = 1.0f;
        return;
    }
    if (coloured) begin_unlit_colours();
    glBegin(GL_LINES);
    for (int e = 0; e < shape.edge_count; ++e)
        edge_runs(v[shape.edges[e][0]], v[shape.edges[e][1]],
                  [](const Point4* s, const Point3* q, int count) {
                      for (int k = 1; k < count; ++k) {
                          vertex(s[k - 1], q[k - 1]);
                          vertex(s[k], q[k]);
                      }
                  });
    glEnd();
    if (coloured) end_unlit_colours();
}

}  // namespace

bool curved_drawing() {
    return app.projection_mode == kProjectionStereographic || app.colour_by_w == 1;
}

void draw_table_shape(const Point4* v, int vertex_count, const TableShape& shape) {
    coloured = app.colour_by_w == 1;
    if (app.solid == 1) {
        begin_surface();
        if (coloured) begin_lit_colours(app.transparent == 1);
        gain = lit_colour_gain(app.transparent == 1);
        draw_faces(v, shape);
        gain = 1.0f;
        if (coloured) end_lit_colours();
        end_surface();
    }
    if (app.wireframe == 1) {
        begin_wire();
        draw_edges(v, vertex_count, shape);
        glLineWidth(1.0f);
        end_wire();
    }
}

void draw_section_arc(const Point4& from, const Point4& to, double tube_radius) {
    coloured = false;
    edge_runs(from, to, [&](const Point4* s, const Point3* q, int count) {
        if (tube_radius > 0) {
            tube_run(s, q, count, tube_radius, kBentTubeSides);
            return;
        }
        glBegin(GL_LINE_STRIP);
        for (int k = 0; k < count; ++k) glVertex3dv(q[k].data());
        glEnd();
    });
}

}  // namespace fourview
