// The drawing side of the cross-section: the cut of each triangle of a model
// by the cutting hyperplane, as lines, points, faces or bold tubes.
#include "app/app_state.h"
#include "draw/geometry_sink.h"
#include "geom4/projection.h"
#include "geom4/section.h"
#include "geom4/vector3.h"
#include "models/curved.h"
#include "models/mesh.h"
#include "models/normals.h"
#include "models/polychora.h"

namespace fourview {

namespace {

// What a run has set already. Outside a run nothing counts as set, so a
// lone section_triangle sets everything itself.
struct SectionRun {
    bool active = false;
    bool material = false;
    bool line_width = false;
    bool point_size = false;
} run;

// Sets a piece of state unless the current run has set it already.
template <typename Set>
void once_per_run(bool& done, Set set) {
    if (run.active && done) return;
    set();
    done = run.active;
}

// The cut's lines and points carry their own normal, facing away from the
// camera, rather than whatever normal a face or the axes left current: lit
// by ambient light alone they show the section material's red in every
// combination of styles, also over the white label background.
void set_cut_normal() {
    geometry().normal(away_from_camera());
}

// The balls at the ends of a curved run's bold cut arcs, each once (an end
// is shared by the faces round an edge), drawn as one batch at its end.
struct ArcBalls {
    Point3 centres[2400];
    int count = 0;
    double radius = 0;
} arc_balls;

void add_arc_ball(const Point3& p, double radius) {
    if (!fits_gl(p)) return;
    if (among(arc_balls.centres, arc_balls.count, p)) return;
    if (arc_balls.count == 2400 || (arc_balls.count > 0 && radius != arc_balls.radius)) return;
    arc_balls.radius = radius;
    arc_balls.centres[arc_balls.count++] = p;
}

void draw_arc_balls() {
    if (arc_balls.count > 0) draw_bent_balls(arc_balls.centres, arc_balls.count, arc_balls.radius);
    arc_balls.count = 0;
}

void draw_section_point(const Point4& point) {
    const Point3 p = project_point(point);
    if (!fits_gl(p)) return;
    once_per_run(run.point_size, [] { geometry().point_size(1); });
    set_cut_normal();
    GeometrySink& g = geometry();
    g.begin(Primitive::kPoints);
    g.vertex(p);
    g.end();
}

}  // namespace

void begin_section_run() {
    run = SectionRun{true, false, false, false};
    geometry().part(Part::kSection);
}

void end_section_run() {
    flush_section_arcs();
    draw_arc_balls();
    run = SectionRun{};
    geometry().part(Part::kNone);
}

void section_triangle(const Point4& a, const Point4& b, const Point4& c, const Point4& d) {
    const SectionCut cut = cut_triangle(a, b, c, d, section_level());
    if (cut.shape == SectionShape::kUncut) return;
    once_per_run(run.material, [] { geometry().section_material(); });
    const Point4* p = cut.points;
    switch (cut.shape) {
        case SectionShape::kFace:
            // The whole quadrilateral lies in the hyperplane: a filled, lit face.
            draw_triangle(project_point(p[0]), project_point(p[1]), project_point(p[2]));
            break;
        case SectionShape::kTwoEdges:
            draw_section_segment(p[0], p[1]);
            draw_section_segment(p[0], p[2]);
            break;
        case SectionShape::kSegment: draw_section_segment(p[0], p[1]); break;
        case SectionShape::kPoint: draw_section_point(p[0]); break;
        case SectionShape::kUncut:
        case SectionShape::kNothing: break;
    }
}

void section_polygon(const Point4* corners, int n) {
    const SectionCut cut = cut_polygon(corners, n, section_level());
    if (cut.shape == SectionShape::kUncut || cut.shape == SectionShape::kNothing) return;
    once_per_run(run.material, [] { geometry().section_material(); });
    switch (cut.shape) {
        case SectionShape::kFace:
            for (int k = 1; k + 1 < n; ++k)
                draw_triangle(project_point(corners[0]), project_point(corners[k]),
                              project_point(corners[k + 1]));
            break;
        case SectionShape::kTwoEdges:
            draw_section_segment(cut.points[0], cut.points[2]);
            [[fallthrough]];
        case SectionShape::kSegment: draw_section_segment(cut.points[0], cut.points[1]); break;
        case SectionShape::kPoint: draw_section_point(cut.points[0]); break;
        default: break;
    }
}

void draw_section_segment(const Point4& from, const Point4& to) {
    if (app.push_onto_sphere == 1 && app.projection_mode == kProjectionStereographic) {
        // On the curved faces it lies on: an arc of the sphere, as the edges.
        const double tube = app.bold_line == 1 ? bold_cut_radius(app.model_id) : 0;
        if (tube > 0) {
            draw_section_arc(from, to, tube);
            add_arc_ball(project_point(from), tube);
            add_arc_ball(project_point(to), tube);
            if (!run.active) {
                flush_section_arcs();
                draw_arc_balls();
            }
            return;
        }
        once_per_run(run.line_width, [] { geometry().line_width(5); });
        set_cut_normal();
        draw_section_arc(from, to, 0);
        return;
    }
    const Point3 p = project_point(from), q = project_point(to);
    if (!fits_gl(p) || !fits_gl(q)) return;
    const double radius = bold_cut_radius(app.model_id);  // 0 for all but the polytopes
    if (app.bold_line == 1 && radius > 0) {
        draw_tube(p, q, radius);
        draw_sphere_marker(p, radius);
        draw_sphere_marker(q, radius);
        return;
    }
    once_per_run(run.line_width, [] { geometry().line_width(5); });
    set_cut_normal();
    GeometrySink& g = geometry();
    g.begin(Primitive::kLines);
    g.vertex(p);
    g.vertex(q);
    g.end();
}

}  // namespace fourview
