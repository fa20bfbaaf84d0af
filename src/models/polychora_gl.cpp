// The 16-cell, 24-cell, 120-cell and 600-cell envelopes, drawn from their
// generated description in the styles of the 5-cell and the hypercube.
#include <GL/gl.h>

#include <cmath>

#include "app/app_state.h"
#include "geom4/projection.h"
#include "geom4/section.h"
#include "geom4/transform.h"
#include "models/mesh.h"
#include "models/models.h"
#include "models/polychora.h"
#include "render/materials.h"

namespace fourview {

namespace {

constexpr int kMaxCorners = 5;

// The transformed (kept for the cut) and projected vertices of the frame:
// static, so that no frame allocates them.
Point4 transformed[600];
Point3 projected[600];

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

// Stacks from pole to pole as wide as the slices round the equator.
void draw_vertex_balls(const Point3* points, int count, double radius) {
    const int slices = round_faces(radius, 10);
    draw_balls(points, count, radius, slices, (slices + 1) / 2 + 1);
}

void draw_faces(const Polytope& shape) {
    const Point3* p = projected;
    begin_surface();
    for (int f = 0; f < shape.face_count; ++f) {
        const int* c = shape.faces + f * shape.face_size;
        // A fan from the first corner: one triangle for a triangle, three
        // for a pentagon.
        for (int k = 1; k + 1 < shape.face_size; ++k) draw_triangle(p[c[0]], p[c[k]], p[c[k + 1]]);
    }
    end_surface();
}

void draw_edges(const Polytope& shape) {
    const Point3* p = projected;
    begin_wire();
    if (app.bold_line == 1) {
        bold_edge_material();
        const double tube = polytope_tube_radius(shape), ball = polytope_ball_radius(shape);
        draw_tubes(p, shape.edges, shape.edge_count, tube, round_faces(tube, kTubeSides));
        draw_vertex_balls(p, shape.vertex_count, ball);
    } else {
        set_color(5);
        glBegin(GL_LINES);
        for (int e = 0; e < shape.edge_count; ++e) {
            const Point3 &a = p[shape.edges[e][0]], &b = p[shape.edges[e][1]];
            if (!fits_gl(a) || !fits_gl(b)) continue;  // a vertex at w = 2
            glVertex3dv(a.data());
            glVertex3dv(b.data());
        }
        glEnd();
    }
    end_wire();
}

// The cut of every face from its boundary, so that a pentagon gives one
// segment and not one per triangle of its fan. A face lying in the
// hyperplane, and a single corner touching it, go through section_triangle,
// which fills the one and marks the other as for every model.
// With Bold Line a cut segment is a tube with a ball at each end, as
// draw_section_segment makes it, but gathered and drawn in one batch after
// the faces; and a crossing is shared by the 3 to 5 faces round its edge,
// so each ball is drawn once, not once per face.
struct BoldCut {
    int end_count = 0, tube_count = 0, ball_count = 0;
    Point3 ends[2 * 1200];  // two for each face at most
    int tubes[1200][2];
    Point3 balls[2 * 1200];
};
BoldCut bold_cut;

void add_cut_ball(const Point3& p) {
    for (int k = 0; k < bold_cut.ball_count; ++k) {
        const Point3& b = bold_cut.balls[k];
        const double dx = b.x - p.x, dy = b.y - p.y, dz = b.z - p.z;
        if (dx * dx + dy * dy + dz * dz < 1e-18) return;
    }
    bold_cut.balls[bold_cut.ball_count++] = p;
}

void add_bold_cut_segment(const Point4& from, const Point4& to) {
    const Point3 p = project_point(from), q = project_point(to);
    if (!fits_gl(p) || !fits_gl(q) || bold_cut.tube_count == 1200) return;
    BoldCut& b = bold_cut;
    b.tubes[b.tube_count][0] = b.end_count;
    b.ends[b.end_count++] = p;
    b.tubes[b.tube_count][1] = b.end_count;
    b.ends[b.end_count++] = q;
    ++b.tube_count;
    add_cut_ball(p);
    add_cut_ball(q);
}

void draw_cut(ModelId model, const Polytope& shape) {
    const Point4* v = transformed;
    const double level = section_level();
    bool material_set = false;
    const bool bold = app.bold_line == 1;
    bold_cut.end_count = bold_cut.tube_count = bold_cut.ball_count = 0;
    begin_section_run();
    for (int f = 0; f < shape.face_count; ++f) {
        const int* c = shape.faces + f * shape.face_size;
        Point4 corners[kMaxCorners];
        for (int k = 0; k < shape.face_size; ++k) corners[k] = v[c[k]];
        const SectionCut cut = cut_polygon(corners, shape.face_size, level);
        switch (cut.shape) {
            case SectionShape::kFace:
                for (int k = 1; k + 1 < shape.face_size; ++k)
                    section_triangle(corners[0], corners[k], corners[k + 1], corners[k + 1]);
                break;
            case SectionShape::kPoint:
                for (int k = 0; k < shape.face_size; ++k)
                    if (on_hyperplane(corners[k].w - level)) {
                        const int n = shape.face_size;
                        section_triangle(corners[k], corners[(k + 1) % n], corners[(k + n - 1) % n],
                                         corners[(k + n - 1) % n]);
                        break;
                    }
                break;
            case SectionShape::kSegment:
                if (!material_set) section_material();
                material_set = true;
                if (bold)
                    add_bold_cut_segment(cut.points[0], cut.points[1]);
                else
                    draw_section_segment(cut.points[0], cut.points[1]);
                break;
            case SectionShape::kTwoEdges:
            case SectionShape::kUncut:
            case SectionShape::kNothing: break;
        }
    }
    if (bold_cut.tube_count > 0) {
        const double radius = bold_cut_radius(model);
        draw_tubes(bold_cut.ends, bold_cut.tubes, bold_cut.tube_count, radius,
                   round_faces(radius, kTubeSides));
        draw_vertex_balls(bold_cut.balls, bold_cut.ball_count, radius);
    }
    end_section_run();
}

void draw_polychoron(ModelId model) {
    const Polytope* shape = find_polytope(model);
    if (shape == nullptr) return;
    for (int k = 0; k < shape->vertex_count; ++k) {
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

}  // namespace fourview
