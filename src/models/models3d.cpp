// The three-dimensional models: the cube from its tables, and the seven
// parametric surfaces, sampled on the grid and drawn by the mesh drawer.
#include "app/app_state.h"
#include "draw/geometry_sink.h"
#include "geom4/projection.h"
#include "geom4/transform.h"
#include "models/mesh.h"
#include "models/models.h"
#include "models/samplers.h"
#include "models/tables.h"

namespace fourview {

void draw_cube() {
    Point4 v[8];
    Point3 p[8];
    for (int k = 0; k < 8; ++k) {
        v[k] = transform_point4(app.transform, CubeVertices[k]);
        p[k] = project_point(v[k]);
    }
    GeometrySink& g = geometry();
    if (app.solid == 1) {
        g.begin_surface();
        for (const auto& f : CubeFaces) {
            draw_triangle(p[f[0]], p[f[1]], p[f[2]]);
            draw_triangle(p[f[0]], p[f[2]], p[f[3]]);
        }
        g.end_surface();
    }
    if (app.wireframe == 1) {
        g.begin_wire();
        for (const auto& f : CubeFaces) {
            if (fits_gl(p[f[0]]) && fits_gl(p[f[1]]) && fits_gl(p[f[2]]) && fits_gl(p[f[3]])) {
                g.begin(Primitive::kLineLoop);
                for (int k = 0; k < 4; ++k) g.vertex(p[f[k]]);
                g.end();
                continue;
            }
            // A corner projected from w = 2: only the edges GL can take.
            g.begin(Primitive::kLines);
            for (int k = 0; k < 4; ++k) {
                const Point3& a = p[f[k]];
                const Point3& b = p[f[(k + 1) % 4]];
                if (!fits_gl(a) || !fits_gl(b)) continue;
                g.vertex(a);
                g.vertex(b);
            }
            g.end();
        }
        g.end_wire();
    }
    if (app.cross_section == 1) {
        begin_section_run();
        for (const auto& f : CubeFaces) {
            section_triangle(v[f[0]], v[f[1]], v[f[2]], v[f[3]]);
            section_triangle(v[f[0]], v[f[2]], v[f[3]], v[f[1]]);
        }
        end_section_run();
    }
}

void sample_cylinder() {
    fill_cylinder(app.mesh_resolution);
    draw_surface_grid();
}

void sample_moebius_strip() {
    fill_moebius_strip(app.mesh_resolution);
    draw_surface_grid();
}

void sample_sphere() {
    fill_sphere(app.mesh_resolution);
    draw_surface_grid();
}

void sample_torus() {
    fill_torus(app.mesh_resolution);
    draw_surface_grid();
}

void sample_klein_bottle_1() {
    fill_klein_bottle_1(app.mesh_resolution);
    draw_surface_grid();
}

void sample_klein_bottle_2() {
    fill_klein_bottle_2(app.mesh_resolution);
    draw_surface_grid();
}

void sample_two_moebius_strips() {
    fill_two_moebius_strips(app.mesh_resolution);
    draw_surface_grid();
}

}  // namespace fourview
