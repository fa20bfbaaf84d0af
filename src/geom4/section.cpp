#include "geom4/section.h"

#include "app/app_state.h"
#include "geom4/projection.h"
#include "geom4/transform.h"

namespace fourview {

double section_level() {
    const double k = plane_distance(app.section_offset);
    return app.section_offset < 0 ? -k : k;
}

bool section_crossing(const Point4& p, const Point4& q, Point4& crossing) {
    if (on_hyperplane(p.w) || on_hyperplane(q.w)) return false;
    const double t = -p.w / (q.w - p.w);
    crossing = Point4{(q.x - p.x) * t + p.x, (q.y - p.y) * t + p.y, (q.z - p.z) * t + p.z,
                      (q.w - p.w) * t + p.w};
    return true;
}

namespace {

Point4 shifted(const Point4& p, double level) { return Point4{p.x, p.y, p.z, p.w - level}; }
Point4 unshifted(const Point4& p, double level) { return Point4{p.x, p.y, p.z, p.w + level}; }

}  // namespace

SectionCut cut_triangle(const Point4& a, const Point4& b, const Point4& c, const Point4& d,
                        double level) {
    SectionCut cut;
    const Point4 sa = shifted(a, level), sb = shifted(b, level), sc = shifted(c, level);
    if (classify_edge4(sa, sb) != 1 || classify_edge4(sb, sc) != 1 || classify_edge4(sc, sa) != 1)
        return cut;
    cut.shape = SectionShape::kNothing;

    const bool a_on = on_hyperplane(sa.w), b_on = on_hyperplane(sb.w), c_on = on_hyperplane(sc.w);
    if (a_on && b_on && c_on) {
        cut.points[0] = unshifted(sa, level);
        cut.points[1] = unshifted(sb, level);
        cut.points[2] = unshifted(sc, level);
        cut.shape = on_hyperplane(d.w - level) ? SectionShape::kFace : SectionShape::kTwoEdges;
        return cut;
    }
    if (b_on && c_on) return cut;  // only the edge B-C lies in it, and B-C is never drawn

    // The vertices on the hyperplane first, then the crossings of the edges.
    // At most two vertices are on here, so the vertices alone never overflow.
    Point4 gathered[2];
    int n = 0;
    if (b_on) gathered[n++] = sb;
    if (c_on) gathered[n++] = sc;
    if (a_on) gathered[n++] = sa;
    const Point4* edges[3][2] = {{&sa, &sb}, {&sb, &sc}, {&sc, &sa}};
    for (const auto& e : edges) {
        if (n >= 2) break;
        // A product of exactly 0 means an end on the hyperplane, not a crossing.
        if (e[0]->w * e[1]->w < 0) {
            Point4 x;
            if (section_crossing(*e[0], *e[1], x)) gathered[n++] = x;
        }
    }
    if (n == 1) {
        cut.shape = SectionShape::kPoint;
        cut.points[0] = unshifted(gathered[0], level);
    } else if (n == 2) {
        cut.shape = SectionShape::kSegment;
        cut.points[0] = unshifted(gathered[0], level);
        cut.points[1] = unshifted(gathered[1], level);
    }
    return cut;
}

SectionCut cut_polygon(const Point4* corners, int n, double level) {
    SectionCut cut;
    if (n < 3 || n > 5) return cut;
    Point4 s[5];
    bool on[5];
    int on_count = 0;
    for (int k = 0; k < n; ++k) {
        s[k] = shifted(corners[k], level);
        on[k] = on_hyperplane(s[k].w);
        on_count += on[k];
    }
    for (int k = 0; k < n; ++k)
        if (classify_edge4(s[k], s[(k + 1) % n]) != 1) return cut;
    cut.shape = SectionShape::kNothing;
    if (on_count == n) {
        cut.shape = SectionShape::kFace;
        return cut;
    }
    // A convex polygon not in the hyperplane meets it in at most two
    // boundary points: corners on it and crossings of sides between the two
    // half-spaces. Rounding may add a third next to one of them: ignored.
    Point4 gathered[2];
    int count = 0;
    for (int k = 0; k < n && count < 2; ++k) {
        if (on[k]) gathered[count++] = s[k];
        const Point4& a = s[k];
        const Point4& b = s[(k + 1) % n];
        Point4 x;
        if (count < 2 && a.w * b.w < 0 && section_crossing(a, b, x)) gathered[count++] = x;
    }
    if (count >= 1) cut.points[0] = unshifted(gathered[0], level);
    if (count == 2) cut.points[1] = unshifted(gathered[1], level);
    cut.shape = count == 2 ? SectionShape::kSegment
                           : count == 1 ? SectionShape::kPoint : SectionShape::kNothing;
    return cut;
}

}  // namespace fourview
