// The four-dimensional models: the Klein bottle on the grid, the hypersphere
// as 21 turned spheres, and the envelopes of the 5-cell and the hypercube.
#include <cmath>

#include "app/app_state.h"
#include "draw/geometry_sink.h"
#include "geom4/projection.h"
#include "geom4/stereo.h"
#include "geom4/transform.h"
#include "models/lattice.h"
#include "models/mesh.h"
#include "models/models.h"
#include "models/polychora.h"
#include "models/samplers.h"
#include "models/surface_grid.h"

namespace fourview {

void sample_klein_bottle_4d() {
    fill_klein_bottle_4d(app.mesh_resolution);
    draw_surface_grid();
}

namespace {

constexpr int kSphereGrid = 21;
constexpr int kSphereCount = 21;

}  // namespace

void draw_hypersphere() {
    // Each sphere is turned by its own angle in the WX plane before the
    // accumulated transform acts; both borrowed settings go back at the end.
    const int saved_resolution = app.mesh_resolution;
    const Matrix5 saved_transform = app.transform;
    app.mesh_resolution = kSphereGrid;
    // The previous sphere's projected grid, for the lines joining the spheres,
    // and its colours by w.
    static Point3 previous[kSphereGrid][kSphereGrid];
    static Colour previous_colour[kSphereGrid][kSphereGrid];
    const bool coloured = app.colour_by_w == 1;
    const double pi = 3.141592653589793;
    for (int k = 0; k < kSphereCount; ++k) {
        const double u = (k - 1) * pi / 18;  // -10 to 190 degrees in steps of 10
        app.transform = saved_transform;
        Matrix5 turn = identity_matrix5();
        turn[0] = std::cos(u);
        turn[3] = -std::sin(u);
        turn[15] = std::sin(u);
        turn[18] = std::cos(u);
        app.transform = multiply_matrix5(app.transform, turn);
        sample_sphere();
        if (app.wireframe != 1) continue;
        GeometrySink& g = geometry();
        g.part(Part::kEdges);
        // Always 1 pixel wide, whatever Bold Line says.
        g.line_width(1.0f);
        g.color(5);
        if (coloured) g.colours(GeometrySink::ColourUse::kUnlit);
        g.begin(Primitive::kLines);
        for (int i = 0; i < kSphereGrid; ++i)
            for (int j = 0; j < kSphereGrid; ++j) {
                const Point3& here = surface_grid.projected[i][j];
                Colour colour;
                if (coloured)
                    colour = w_colour(turned_w(transform_point4(app.transform, surface_grid.samples[i][j])),
                                      app.model_radius);
                if (k > 0 && fits_gl(previous[i][j]) && fits_gl(here)) {
                    if (coloured) g.colour(previous_colour[i][j]);
                    g.vertex(previous[i][j]);
                    if (coloured) g.colour(colour);
                    g.vertex(here);
                }
                previous[i][j] = here;
                previous_colour[i][j] = colour;
            }
        g.end();
        if (coloured) g.colours(GeometrySink::ColourUse::kNone);
        g.part(Part::kNone);
    }
    app.transform = saved_transform;
    app.mesh_resolution = saved_resolution;
}

namespace {

// The edges of a polytope: plain black lines, or with Bold Line tubes and a
// ball at every vertex in the bold edge material.
void draw_polytope_edges(const Point3* p, const PolytopeLattice& shape, double tube_radius, double ball_radius) {
    GeometrySink& g = geometry();
    if (app.bold_line == 1) {
        g.bold_edge_material();
        for (const auto& e : shape.edges) draw_tube(p[e[0]], p[e[1]], tube_radius);
        for (int k = 0; k < shape.vertex_count(); ++k) draw_sphere_marker(p[k], ball_radius);
        return;
    }
    g.color(5);
    g.begin(Primitive::kLines);
    for (const auto& e : shape.edges) {
        if (!fits_gl(p[e[0]]) || !fits_gl(p[e[1]])) continue;  // a vertex at w = 2
        g.vertex(p[e[0]]);
        g.vertex(p[e[1]]);
    }
    g.end();
}

// The polytope's vertices transformed (v, kept for the cut) and projected
// (p), into the caller's tables of its vertex count.
void place_vertices(const PolytopeLattice& shape, Point4* v, Point3* p) {
    for (int k = 0; k < shape.vertex_count(); ++k) {
        v[k] = transform_point4(app.transform, shape.vertices[k]);
        p[k] = project_point(v[k]);
    }
}

}  // namespace

void draw_five_cell() {
    const PolytopeLattice& shape = *find_lattice(kModelFiveCell);
    Point4 v[5];
    Point3 p[5];
    place_vertices(shape, v, p);
    if (app.solid == 1) {
        geometry().begin_surface();
        for (int f = 0; f < shape.face_count(); ++f) {
            const int* t = shape.face(f);
            draw_triangle(p[t[0]], p[t[1]], p[t[2]]);
        }
        geometry().end_surface();
    }
    if (app.wireframe == 1) {
        geometry().begin_wire();
        draw_polytope_edges(p, shape, 0.05, 0.075);
        geometry().end_wire();
    }
    if (app.cross_section == 1) {
        begin_section_run();
        for (int f = 0; f < shape.face_count(); ++f) {
            const int* t = shape.face(f);
            section_triangle(v[t[0]], v[t[1]], v[t[2]], v[t[2]]);
        }
        end_section_run();
    }
}

void draw_hypercube() {
    const PolytopeLattice& shape = *find_lattice(kModelHypercube);
    Point4 v[16];
    Point3 p[16];
    place_vertices(shape, v, p);
    // Each square (a, b, c, d) in cyclic order is drawn and cut as two
    // triangles on its diagonal b-d, as the program always has: (a, b, d)
    // and (b, d, c).
    if (app.solid == 1) {
        geometry().begin_surface();
        for (int f = 0; f < shape.face_count(); ++f) {
            const int* s = shape.face(f);
            draw_triangle(p[s[0]], p[s[1]], p[s[3]]);
            draw_triangle(p[s[1]], p[s[3]], p[s[2]]);
        }
        geometry().end_surface();
    }
    if (app.wireframe == 1) {
        geometry().begin_wire();
        draw_polytope_edges(p, shape, 0.1, 0.15);
        if (app.bold_line != 1) geometry().line_width(1.0f);
        geometry().end_wire();
    }
    if (app.cross_section == 1) {
        begin_section_run();
        for (int f = 0; f < shape.face_count(); ++f) {
            const int* s = shape.face(f);
            section_triangle(v[s[0]], v[s[1]], v[s[3]], v[s[2]]);
            section_triangle(v[s[1]], v[s[3]], v[s[2]], v[s[0]]);
        }
        end_section_run();
    }
}

}  // namespace fourview
