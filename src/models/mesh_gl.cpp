#include <GL/glut.h>

#include <cmath>

#include "app/app_state.h"
#include "app/window_system.h"
#include "geom4/projection.h"
#include "geom4/transform.h"
#include "models/mesh.h"
#include "models/normals.h"
#include "models/surface_grid.h"
#include "render/materials.h"

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

void emit(const Point3& normal, const Point3& vertex) {
    glNormal3dv(normal.data());
    glVertex3dv(vertex.data());
}

// One quad strip per row pair i, i + 1, along the columns of the drawn part.
void draw_solid_strips(int n) {
    const Point3(&p)[kGridMax][kGridMax] = surface_grid.projected;
    // Every inner vertex lies in two strips: its normal is computed once.
    const Point3 camera = camera_in_scene();
    for (int i = 1; i <= n - 2; ++i)
        for (int j = 1; j <= n - 2; ++j)
            if (drawable(p[i][j]))
                normals[i][j] = vertex_normal_from(p[i][j], p[i][j + 1], p[i + 1][j], p[i][j - 1],
                                                   p[i - 1][j], camera);
    for (int i = 1; i <= n - 3; ++i) {
        glBegin(GL_QUAD_STRIP);
        for (int j = 1; j <= n - 2; ++j) {
            if (broken(p[i][j - 1], p[i][j]) || broken(p[i + 1][j - 1], p[i + 1][j])) {
                glEnd();
                glBegin(GL_QUAD_STRIP);
            }
            // A pair left out does not end the strip: its neighbours join.
            if (!drawable(p[i][j]) || !drawable(p[i + 1][j])) continue;
            emit(normals[i][j], p[i][j]);
            emit(normals[i + 1][j], p[i + 1][j]);
        }
        glEnd();
    }
}

// Line strips along the rows (row_major) or the columns, broken where an
// edge fails the infinity bound.
void draw_wire_lines(int n, bool row_major) {
    const Point3(&p)[kGridMax][kGridMax] = surface_grid.projected;
    for (int a = 1; a <= n - 2; ++a) {
        glBegin(GL_LINE_STRIP);
        for (int b = 1; b <= n - 2; ++b) {
            const Point3& here = row_major ? p[a][b] : p[b][a];
            const Point3& before = row_major ? p[a][b - 1] : p[b - 1][a];
            if (broken(here, before)) {
                glEnd();
                glBegin(GL_LINE_STRIP);
            }
            if (drawable(here)) glVertex3dv(here.data());
        }
        glEnd();
    }
}

}  // namespace

void draw_surface_grid() {
    select_window(app.graph_window);
    const int n = app.mesh_resolution;
    if (n < 4 || n > kGridMax) return;  // no drawn part, or beyond the grid
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
            transformed[i][j] = transform_point4(app.transform, surface_grid.samples[i][j]);
            surface_grid.projected[i][j] = project_point(transformed[i][j]);
        }

    if (app.solid == 1) {
        begin_surface();
        draw_solid_strips(n);
        end_surface();
    }
    if (app.wireframe == 1) {
        begin_wire();
        draw_wire_lines(n, true);
        draw_wire_lines(n, false);
        end_wire();
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
    glBegin(GL_TRIANGLES);
    glNormal3dv(n.data());
    glVertex3dv(a.data());
    glVertex3dv(b.data());
    glVertex3dv(c.data());
    glEnd();
}

void draw_sphere_marker(const Point3& p, double radius) {
    // One quadric for every marker, made at the first use.
    static GLUquadric* quadric = nullptr;
    if (!fits_gl(p)) return;
    if (quadric == nullptr) {
        quadric = gluNewQuadric();
        if (quadric == nullptr) return;
        gluQuadricDrawStyle(quadric, GLU_FILL);
        gluQuadricNormals(quadric, GLU_SMOOTH);
    }
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glTranslated(p.x, p.y, p.z);
    gluSphere(quadric, radius, 10, 10);
    glPopMatrix();
}

void draw_tube(const Point3& p, const Point3& q, double radius) {
    // The infinity bound is not applied: a tube between distant points is
    // still drawn, but never one with an end GL cannot take.
    if (classify_edge3(p, q) == 0) return;
    if (!fits_gl(p) || !fits_gl(q)) return;
    const double step = 0.20943951023931953;  // 2 pi / 30
    const Matrix4 frame = direction_frame(Point3{q.x - p.x, q.y - p.y, q.z - p.z});
    Point3 bottom[30], top[30];
    for (int k = 0; k < 30; ++k) {
        const Point3 ring =
            apply_matrix4(frame, Point3{radius * std::cos(k * step), radius * std::sin(k * step), 0});
        bottom[k] = Point3{p.x + ring.x, p.y + ring.y, p.z + ring.z};
        top[k] = Point3{q.x + ring.x, q.y + ring.y, q.z + ring.z};
    }
    const Point3 first = triangle_normal(bottom[29], bottom[0], top[0]);
    glBegin(GL_QUAD_STRIP);
    emit(first, bottom[0]);
    glVertex3dv(top[0].data());
    for (int k = 0; k < 29; ++k) {
        emit(triangle_normal(bottom[k], bottom[k + 1], top[k + 1]), bottom[k + 1]);
        glVertex3dv(top[k + 1].data());
    }
    // Back to the first pair: the tube closes.
    emit(first, bottom[0]);
    glVertex3dv(top[0].data());
    glEnd();
}

}  // namespace fourview
