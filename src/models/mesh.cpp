#include <cmath>

#include "app/app_state.h"
#include "draw/geometry_sink.h"
#include "geom4/projection.h"
#include "geom4/transform.h"
#include "models/mesh.h"
#include "models/normals.h"
#include "models/surface_grid.h"

namespace fourview {

namespace {

// The transformed samples of the grid being drawn, and the normals of its
// drawn vertices: scratch for one call of draw_surface_grid, kept static so
// that no frame allocates it.
Point4 transformed[kGridMax][kGridMax];
Point3 normals[kGridMax][kGridMax];

// A sample is drawn only near enough to the origin (the infinity bound) and
// only as a value GL can take.
bool drawable(const Point3& p) { return point_drawable(p) && fits_gl(p); }

bool broken(const Point3& a, const Point3& b) { return classify_edge3(a, b) == 2; }

// One quad strip per row pair i, i + 1, along the columns of the drawn part.
void draw_solid_strips(int n) {
    GeometrySink& g = geometry();
    const Point3(&p)[kGridMax][kGridMax] = surface_grid.projected;
    // Every inner vertex lies in two strips: its normal is computed once.
    const Point3 camera = camera_in_scene();
    for (int i = 1; i <= n - 2; ++i)
        for (int j = 1; j <= n - 2; ++j)
            if (drawable(p[i][j]))
                normals[i][j] = vertex_normal_from(p[i][j], p[i][j + 1], p[i + 1][j], p[i][j - 1],
                                                   p[i - 1][j], camera);
    for (int i = 1; i <= n - 3; ++i) {
        g.begin(Primitive::kQuadStrip);
        for (int j = 1; j <= n - 2; ++j) {
            if (broken(p[i][j - 1], p[i][j]) || broken(p[i + 1][j - 1], p[i + 1][j])) {
                g.end();
                g.begin(Primitive::kQuadStrip);
            }
            // A pair left out does not end the strip: its neighbours join.
            if (!drawable(p[i][j]) || !drawable(p[i + 1][j])) continue;
            g.vertex(normals[i][j], p[i][j]);
            g.vertex(normals[i + 1][j], p[i + 1][j]);
        }
        g.end();
    }
}

// Line strips along the rows (row_major) or the columns, broken where an
// edge fails the infinity bound.
void draw_wire_lines(int n, bool row_major) {
    GeometrySink& g = geometry();
    const Point3(&p)[kGridMax][kGridMax] = surface_grid.projected;
    for (int a = 1; a <= n - 2; ++a) {
        g.begin(Primitive::kLineStrip);
        for (int b = 1; b <= n - 2; ++b) {
            const Point3& here = row_major ? p[a][b] : p[b][a];
            const Point3& before = row_major ? p[a][b - 1] : p[b - 1][a];
            if (broken(here, before)) {
                g.end();
                g.begin(Primitive::kLineStrip);
            }
            if (drawable(here)) g.vertex(here);
        }
        g.end();
    }
}

}  // namespace

void draw_surface_grid() {
    const int n = app.mesh_resolution;
    if (n < 4 || n > kGridMax) return;  // no drawn part, or beyond the grid
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
            transformed[i][j] = transform_point4(app.transform, surface_grid.samples[i][j]);
            surface_grid.projected[i][j] = project_point(transformed[i][j]);
        }

    GeometrySink& g = geometry();
    if (app.solid == 1) {
        g.begin_surface();
        draw_solid_strips(n);
        g.end_surface();
    }
    if (app.wireframe == 1) {
        g.begin_wire();
        draw_wire_lines(n, true);
        draw_wire_lines(n, false);
        g.end_wire();
    }
    if (app.cross_section == 1) {
        const Point4(&t)[kGridMax][kGridMax] = transformed;
        begin_section_run();
        // Both triangles of a cell put the cell's diagonal (i, j+1)-(i+1, j)
        // on their B-C edge, along which no cut is drawn.
        for (int i = 1; i <= n - 3; ++i)
            for (int j = 1; j <= n - 3; ++j) {
                section_triangle(t[i][j], t[i][j + 1], t[i + 1][j], t[i + 1][j + 1]);
                section_triangle(t[i + 1][j + 1], t[i + 1][j], t[i][j + 1], t[i][j]);
            }
        end_section_run();
    }
}

void draw_triangle(const Point3& a, const Point3& b, const Point3& c) {
    if (classify_edge3(a, b) != 1 || classify_edge3(b, c) != 1 || classify_edge3(c, a) != 1) return;
    if (!fits_gl(a) || !fits_gl(b) || !fits_gl(c)) return;
    // Collinear corners enclose nothing to draw and have no normal to light.
    Point3 n;
    if (!try_triangle_normal(a, b, c, camera_in_scene(), n)) return;
    GeometrySink& g = geometry();
    g.begin(Primitive::kTriangles);
    g.vertex(n, a);
    g.vertex(b);
    g.vertex(c);
    g.end();
}

void draw_sphere_marker(const Point3& p, double radius) {
    if (!fits_gl(p)) return;
    geometry().ball(p, radius);
}

void draw_tube(const Point3& p, const Point3& q, double radius) {
    // The infinity bound is not applied: a tube between distant points is
    // still drawn, but never one with an end GL cannot take.
    if (classify_edge3(p, q) == 0) return;
    if (!fits_gl(p) || !fits_gl(q)) return;
    geometry().tube(p, q, radius);
}

}  // namespace fourview
