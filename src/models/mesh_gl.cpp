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

namespace {

Point3 plus(const Point3& p, const Point3& d) { return Point3{p.x + d.x, p.y + d.y, p.z + d.z}; }
Point3 times(const Point3& p, double k) { return Point3{p.x * k, p.y * k, p.z * k}; }

// A batch of lit triangles sharing their corners: vertex and normal arrays
// and triangle indices, drawn with glDrawElements whenever the next shape
// would not fit, and at the end. Static, so that no frame allocates.
struct TriangleBatch {
    static constexpr int kVertices = 8192, kIndices = 3 * kVertices;
    GLfloat vertices[kVertices][3], normals[kVertices][3];
    GLushort indices[kIndices];
    int vertex_count = 0, index_count = 0;
};
TriangleBatch batch;

void flush_batch() {
    if (batch.index_count > 0)
        glDrawElements(GL_TRIANGLES, batch.index_count, GL_UNSIGNED_SHORT, batch.indices);
    batch.vertex_count = batch.index_count = 0;
}

// Room for a shape of `vertices` corners and `indices` indices: the index
// of its first corner.
int reserve(int vertices, int indices) {
    if (batch.vertex_count + vertices > TriangleBatch::kVertices ||
        batch.index_count + indices > TriangleBatch::kIndices)
        flush_batch();
    return batch.vertex_count;
}

void add_corner(const Point3& normal, const Point3& vertex) {
    GLfloat* v = batch.vertices[batch.vertex_count];
    GLfloat* n = batch.normals[batch.vertex_count];
    v[0] = static_cast<GLfloat>(vertex.x);
    v[1] = static_cast<GLfloat>(vertex.y);
    v[2] = static_cast<GLfloat>(vertex.z);
    n[0] = static_cast<GLfloat>(normal.x);
    n[1] = static_cast<GLfloat>(normal.y);
    n[2] = static_cast<GLfloat>(normal.z);
    ++batch.vertex_count;
}

void add_triangle(int a, int b, int c) {
    GLushort* i = batch.indices + batch.index_count;
    i[0] = static_cast<GLushort>(a);
    i[1] = static_cast<GLushort>(b);
    i[2] = static_cast<GLushort>(c);
    batch.index_count += 3;
}

// Counterclockwise seen from outside, so that the far halves are culled:
// closed from the view by the balls at the tubes' ends, the tubes and balls
// show only their outer faces, and the rasteriser fills half as much.
void begin_batch() {
    batch.vertex_count = batch.index_count = 0;
    glEnable(GL_CULL_FACE);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, batch.vertices);
    glNormalPointer(GL_FLOAT, 0, batch.normals);
}

void end_batch() {
    flush_batch();
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisable(GL_CULL_FACE);
}

}  // namespace

void draw_tubes(const Point3* points, const int (*pairs)[2], int count, double radius, int sides) {
    if (sides < 3 || sides > kTubeSides) sides = kTubeSides;
    double cosine[kTubeSides + 1], sine[kTubeSides + 1];
    for (int k = 0; k <= sides; ++k) {
        cosine[k] = std::cos(6.283185307179586 * k / sides);
        sine[k] = std::sin(6.283185307179586 * k / sides);
    }
    begin_batch();
    for (int t = 0; t < count; ++t) {
        const Point3& p = points[pairs[t][0]];
        const Point3& q = points[pairs[t][1]];
        if (classify_edge3(p, q) == 0 || !fits_gl(p) || !fits_gl(q)) continue;
        const Matrix4 frame = direction_frame(Point3{q.x - p.x, q.y - p.y, q.z - p.z});
        Point3 ring[kTubeSides + 1];  // unit vectors round the axis
        for (int k = 0; k <= sides; ++k) ring[k] = apply_matrix4(frame, Point3{cosine[k], sine[k], 0});
        // Run the ring the other way when it turns clockwise about p to q.
        const Point3 turn{ring[0].y * ring[1].z - ring[0].z * ring[1].y,
                          ring[0].z * ring[1].x - ring[0].x * ring[1].z,
                          ring[0].x * ring[1].y - ring[0].y * ring[1].x};
        const bool reversed = turn.x * (q.x - p.x) + turn.y * (q.y - p.y) + turn.z * (q.z - p.z) < 0;
        // Corner pairs (at p, at q) round the ring; the first pair again at the end.
        const int first = reserve(2 * (sides + 1), 6 * sides);
        for (int k = 0; k <= sides; ++k) {
            const Point3& r = ring[reversed ? sides - k : k];
            add_corner(r, plus(p, times(r, radius)));
            add_corner(r, plus(q, times(r, radius)));
        }
        for (int k = 0; k < sides; ++k) {
            const int b0 = first + 2 * k, t0 = b0 + 1, b1 = b0 + 2, t1 = b0 + 3;
            add_triangle(b0, b1, t1);
            add_triangle(b0, t1, t0);
        }
    }
    end_batch();
}

void draw_balls(const Point3* points, int count, double radius, int slices, int stacks) {
    constexpr int kMost = 10;
    if (slices < 3 || slices > kMost) slices = kMost;
    if (stacks < 2 || stacks > kMost) stacks = kMost;
    // The unit sphere, poles on the z axis as gluSphere puts them.
    Point3 unit[kMost + 1][kMost + 1];
    for (int i = 0; i <= stacks; ++i) {
        const double rho = 3.141592653589793 * i / stacks;
        for (int j = 0; j <= slices; ++j) {
            const double theta = 6.283185307179586 * j / slices;
            unit[i][j] = Point3{std::sin(rho) * std::cos(theta), std::sin(rho) * std::sin(theta),
                                std::cos(rho)};
        }
    }
    const int row = slices + 1;
    begin_batch();
    for (int b = 0; b < count; ++b) {
        const Point3& c = points[b];
        if (!fits_gl(c)) continue;
        const int first = reserve((stacks + 1) * row, 6 * slices * (stacks - 1));
        for (int i = 0; i <= stacks; ++i)
            for (int j = 0; j <= slices; ++j) add_corner(unit[i][j], plus(c, times(unit[i][j], radius)));
        for (int i = 0; i < stacks; ++i)
            for (int j = 0; j < slices; ++j) {
                const int at = first + i * row + j;
                // The first and last stacks are fans of triangles round the poles.
                if (i > 0) add_triangle(at, at + row, at + 1);
                if (i + 1 < stacks) add_triangle(at + 1, at + row, at + row + 1);
            }
    }
    end_batch();
}

}  // namespace fourview
