// The table models (the cube and the polytopes) while the stereographic
// projection or colour by w is in force. Edges run through kArcPieces
// points and faces through a patch of small triangles, so that the push
// onto the sphere bends them; colours are taken at every one of those
// points. With neither feature on the models keep their own plain drawing.
#include <algorithm>
#include <cmath>
#include <vector>

#include "app/app_state.h"
#include "draw/geometry_sink.h"
#include "geom4/projection.h"
#include "geom4/stereo.h"
#include "geom4/transform.h"
#include "geom4/vector3.h"
#include "models/curved.h"
#include "models/mesh.h"
#include "models/models.h"
#include "models/normals.h"
#include "models/polychora.h"
#include "models/surface_grid.h"

namespace fourview {

namespace {

constexpr int kStraightTubeSides = 30;  // as the plain tubes have
constexpr int kMaxTubeSides = 30;

// Scratch tables of the frame, grown (once) to the largest polytope drawn:
// a frame of the same polytope allocates none.
std::vector<Point4> vertex_scratch, corner_scratch;
std::vector<Point3> projected_scratch, centre_scratch;
template <typename T>
T* scratch(std::vector<T>& v, int n) {
    if (v.size() < static_cast<std::size_t>(n)) v.resize(n);
    return v.data();
}

// Half a pixel in scene units at the current zoom and window height (the
// view is 6 / zoom high): the bend that no one can see.
double half_pixel() {
    const int h = app.window_height > 0 ? app.window_height : 480;
    return 0.5 * 6.0 / (app.zoom > 0 ? app.zoom : 1.0) / h;
}


using ColourUse = GeometrySink::ColourUse;

bool coloured = false;

// The w the colour shows: of the point on the sphere when points are pushed.
Colour colour_of(const Point4& p) {
    const Point4 c = model_centre();
    const Point4 d{p.x - c.x, p.y - c.y, p.z - c.z, p.w - c.w};
    const double w = app.push_onto_sphere == 1 ? onto_sphere(d, app.model_radius).w : d.w;
    return w_colour(w, app.model_radius);
}

void vertex(GeometrySink& g, const Point4& source, const Point3& p) {
    if (coloured) g.colour(colour_of(source));
    g.vertex(p);
}

// A piece of a bent edge obeys the infinity bound as the perspective's
// edges do; a straight edge only needs ends GL can take, as before.
bool piece_drawable(const Point3& a, const Point3& b, bool bent) {
    if (!fits_gl(a) || !fits_gl(b)) return false;
    return !bent || classify_edge3(a, b) == 1;
}

int pieces() { return app.push_onto_sphere == 1 ? kArcPieces : 1; }

// Inside a run of triangles: one small flat triangle, left out as
// draw_triangle leaves a triangle out.
void small_triangle(GeometrySink& g, const Point4* s, const Point3* q, int a, int b, int c,
                    const Point3& camera) {
    if (classify_edge3(q[a], q[b]) != 1 || classify_edge3(q[b], q[c]) != 1 ||
        classify_edge3(q[c], q[a]) != 1)
        return;
    if (!fits_gl(q[a]) || !fits_gl(q[b]) || !fits_gl(q[c])) return;
    Point3 n;
    if (!try_triangle_normal(q[a], q[b], q[c], camera, n)) return;
    g.normal(n);
    vertex(g, s[a], q[a]);
    vertex(g, s[b], q[b]);
    vertex(g, s[c], q[c]);
}

Point3 middle_of(const Point3& a, const Point3& b) {
    return Point3{(a.x + b.x) / 2, (a.y + b.y) / 2, (a.z + b.z) / 2};
}

// The direction to the camera (the view is parallel), and how far apart two
// points look across it: a bend along the line of sight moves nothing on
// the screen.
Point3 toward_camera{1, 0, 0};

double apart_on_screen(const Point3& a, const Point3& b) {
    const double x = a.x - b.x, y = a.y - b.y, z = a.z - b.z;
    const double along = x * toward_camera.x + y * toward_camera.y + z * toward_camera.z;
    return std::sqrt(std::fmax(0.0, x * x + y * y + z * z - along * along));
}

// Whether each of the d pieces of the side a-b (projected ends pa, pb), drawn
// straight, stays within the tolerance of the arc it stands for: the
// piece's middle, pushed and projected, against the middle of its chord.
bool side_flat(const Point4& a, const Point4& b, const Point3& pa, const Point3& pb, int d,
               double tolerance) {
    Point3 from = pa;
    for (int i = 0; i < d; ++i) {
        const Point3 to = i + 1 == d ? pb : project_point(edge_point(a, b, i + 1, d));
        const Point3 middle = project_point(edge_point(a, b, 2 * i + 1, 2 * d));
        if (!(apart_on_screen(middle, middle_of(from, to)) < tolerance)) return false;
        from = to;
    }
    return true;
}

// The divisions a side a-b of a face needs: the fewest (of 1 to
// kPatchDivisions) with which the side, pushed and projected, lies within
// the tolerance of its straight pieces, so that no one sees the patch is
// coarser than the curve; the full count where even that bends more. A
// piece's bend falls with the square of the divisions, so a side whose whole
// bend is s cannot do with fewer than sqrt(s / tolerance): those are not
// tried.
int side_divisions(const Point4& a, const Point4& b, const Point3& pa, const Point3& pb,
                   double tolerance) {
    const Point3 middle = project_point(edge_point(a, b, 1, 2));
    const double bend = apart_on_screen(middle, middle_of(pa, pb));
    if (std::isnan(bend)) return kPatchDivisions;
    if (bend < tolerance) return 1;
    for (int d = 2; d < kPatchDivisions; ++d) {
        if (bend >= tolerance * d * d) continue;
        if (side_flat(a, b, pa, pb, d, tolerance)) return d;
    }
    return kPatchDivisions;
}

// The divisions of a whole face: those its worst side needs. Only the
// face's own sides count, which the edges' arcs (lines or tubes) run along;
// the diagonals of its fan lie inside it, where a bend shows only in the
// shading, which the patch's exact normals keep. One count for the face
// keeps the points along each diagonal the same on both sides of it, so that
// no crack opens there.
int face_divisions(const Point4* v, const Point3* projected, const int* face, int size,
                   double tolerance) {
    int d = 1;
    for (int k = 0; k < size && d < kPatchDivisions; ++k) {
        const int i = face[k], j = face[(k + 1) % size];
        d = std::max(d, side_divisions(v[i], v[j], projected[i], projected[j], tolerance));
    }
    return d;
}

// The normal of a face's patch. A face lies in a 3-space through the
// sphere's centre (4D normal m), so its patch lies on a great 2-sphere, which
// the projection takes to a sphere (or plane) in 3-space: there m_w |q|^2 +
// 2 R (m_xyz . q) - m_w R^2 = 0 about the centre, whose gradient is the
// normal below. Exact at every point of the patch, so the small triangles
// share their corners and shade as one smooth piece.
// The centre of the sphere, its radius and the camera are the frame's: set
// once before the faces (patch_frame).
struct PatchFrame {
    Point4 centre;
    double radius = 0;
    Point3 camera;
} patch_frame;

struct PatchNormals {
    Point4 m;  // of the face's 3-space, about the centre
    bool exact = false;
    Point3 flat;

    void set(const Point4& a, const Point4& b, const Point4& c) {
        const Point4& o = patch_frame.centre;
        const Point4 p{a.x - o.x, a.y - o.y, a.z - o.z, a.w - o.w};
        const Point4 q{b.x - o.x, b.y - o.y, b.z - o.z, b.w - o.w};
        const Point4 r{c.x - o.x, c.y - o.y, c.z - o.z, c.w - o.w};
        // The 4D cross product of p, q and r: the cofactors of their matrix.
        auto det3 = [](double a1, double a2, double a3, double b1, double b2, double b3, double c1,
                       double c2, double c3) {
            return a1 * (b2 * c3 - b3 * c2) - a2 * (b1 * c3 - b3 * c1) + a3 * (b1 * c2 - b2 * c1);
        };
        m = Point4{det3(p.y, p.z, p.w, q.y, q.z, q.w, r.y, r.z, r.w),
                   -det3(p.x, p.z, p.w, q.x, q.z, q.w, r.x, r.z, r.w),
                   det3(p.x, p.y, p.w, q.x, q.y, q.w, r.x, r.y, r.w),
                   -det3(p.x, p.y, p.z, q.x, q.y, q.z, r.x, r.y, r.z)};
        const double size = std::sqrt(m.x * m.x + m.y * m.y + m.z * m.z + m.w * m.w);
        const double scale = std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z + p.w * p.w);
        // A face through the centre has no sphere of its own: it is drawn
        // with the flat normal of its corners.
        exact = size > 1e-9 * scale * scale * scale && std::isfinite(size);
        if (!exact) {
            flat = triangle_normal(project_point(a), project_point(b), project_point(c));
            return;
        }
        m = Point4{m.x / size, m.y / size, m.z / size, m.w / size};
    }

    // Turned toward the camera, as the flat faces' normals are.
    bool at(const Point3& q, Point3& n) const {
        if (!exact) {
            n = flat;
            return true;
        }
        const PatchFrame& f = patch_frame;
        const double x = q.x - f.centre.x, y = q.y - f.centre.y, z = q.z - f.centre.z;
        n = Point3{m.w * x + f.radius * m.x, m.w * y + f.radius * m.y, m.w * z + f.radius * m.z};
        const double length = std::sqrt(dot(n, n));
        if (!(length > 0) || !std::isfinite(length)) return false;
        const double s = dot(n, f.camera) < 0 ? -1 / length : 1 / length;
        n = Point3{n.x * s, n.y * s, n.z * s};
        return true;
    }
};

// A face's triangle pushed onto the sphere, as one patch of d x d small
// triangles with shared corners; a small triangle is left out as
// small_triangle leaves it out, bar the flat-normal test (the patch's
// normals are exact).
void sphere_patch(const Point4& a, const Point4& b, const Point4& c, int d) {
    PatchNormals normals;
    normals.set(a, b, c);
    static Point3 q[kPatchPoints], n[kPatchPoints];
    static Colour colours[kPatchPoints];
    static int triangles[kPatchDivisions * kPatchDivisions][3];
    bool usable[kPatchPoints];
    for (int i = 0; i <= d; ++i)
        for (int j = 0; j <= d - i; ++j) {
            const int k = patch_index(i, j, d);
            const Point4 s = patch_point(a, b, c, i, j, d);
            q[k] = project_point(s);
            usable[k] = fits_gl(q[k]) && normals.at(q[k], n[k]);
            if (coloured) colours[k] = colour_of(s);
        }
    int count = 0;
    auto add = [&](int x, int y, int z) {
        if (!usable[x] || !usable[y] || !usable[z]) return;
        if (classify_edge3(q[x], q[y]) != 1 || classify_edge3(q[y], q[z]) != 1 ||
            classify_edge3(q[z], q[x]) != 1)
            return;
        triangles[count][0] = x, triangles[count][1] = y, triangles[count][2] = z;
        ++count;
    };
    for (int i = 0; i < d; ++i)
        for (int j = 0; j < d - i; ++j) {
            add(patch_index(i, j, d), patch_index(i + 1, j, d), patch_index(i, j + 1, d));
            if (j < d - i - 1)
                add(patch_index(i + 1, j, d), patch_index(i + 1, j + 1, d), patch_index(i, j + 1, d));
        }
    geometry().triangle_mesh(q, n, coloured ? colours : nullptr, triangles, count);
}

// Faces in the plain projections: one flat triangle each (only the colours
// by w need the points); on the sphere each face is a patch.
void draw_flat_faces(const Point4* v, const TableShape& shape) {
    const Point3 camera = camera_in_scene();
    Point4 s[3];
    Point3 q[3];
    GeometrySink& g = geometry();
    g.begin(Primitive::kTriangles);
    for (int face = 0; face < shape.face_count; ++face)
        for (int m = 0; m + 2 < shape.size(face); ++m) {
            // Triangle m of the face's fan: corners 0, m + 1, m + 2.
            const int* f = shape.face(face);
            s[0] = v[f[0]], s[1] = v[f[m + 1]], s[2] = v[f[m + 2]];
            for (int k = 0; k < 3; ++k) q[k] = project_point(s[k]);
            small_triangle(g, s, q, 0, 1, 2, camera);
        }
    g.end();
}

void draw_faces(const Point4* v, int vertex_count, const TableShape& shape) {
    if (app.push_onto_sphere != 1) {
        draw_flat_faces(v, shape);
        return;
    }
    Point3* projected = scratch(projected_scratch, vertex_count);
    patch_frame = PatchFrame{model_centre(), app.model_radius, camera_in_scene()};
    toward_camera = patch_frame.camera;
    if (!normalise(toward_camera)) toward_camera = Point3{1, 0, 0};
    for (int k = 0; k < vertex_count; ++k) projected[k] = project_point(v[k]);
    // Under bold edges a side may stray from its arc by half the tube's
    // radius: the tube still covers it (its axis keeps within a tenth of the
    // radius or half a pixel of the arc, its outline at least 0.7 of the
    // radius out: a thin tube's at the radius, 4 to 12 sides' at cos 45 to
    // cos 15 degrees of it).
    // Under the edges' lines a side may stray by half a pixel more: a line
    // a pixel wide covers half a pixel on either side of its arc.
    double tolerance = app.wireframe == 1 ? 2 * half_pixel() : half_pixel();
    if (app.wireframe == 1 && app.bold_line == 1 && shape.tube_radius > 0)
        tolerance = std::fmax(tolerance, 0.5 * shape.tube_radius);
    for (int f = 0; f < shape.face_count; ++f) {
        const int* face = shape.face(f);
        const int d = face_divisions(v, projected, face, shape.size(f), tolerance);
        for (int m = 0; m + 2 < shape.size(f); ++m)
            sphere_patch(v[face[0]], v[face[m + 1]], v[face[m + 2]], d);
    }
}


// A tube along the points q[0..count-1], all drawable, each ring square to
// the path there and carried along it without twisting (its first axis
// projected onto each new ring's plane), lit with round normals.
void tube_run(const Point4* s, const Point3* q, int count, double radius, int sides) {
    if (count < 2) return;
    TubeTable table;
    make_tube_table(sides, table);
    sides = table.sides;
    Point3 axis_u{}, previous[kMaxTubeSides], previous_normal[kMaxTubeSides];
    Colour previous_colour, colour;
    GeometrySink& g = geometry();
    for (int k = 0; k < count; ++k) {
        Point3 t = minus(q[k + 1 < count ? k + 1 : k], q[k > 0 ? k - 1 : k]);
        if (!normalise(t)) return;
        if (k == 0) axis_u = apply_matrix4(direction_frame(t), Point3{1, 0, 0});
        Point3 normal[kMaxTubeSides + 1];
        if (!carry_ring(table, t, axis_u, normal)) return;
        if (coloured) colour = colour_of(s[k]);
        Point3 ring[kMaxTubeSides];
        for (int m = 0; m < sides; ++m) ring[m] = plus(q[k], scaled(normal[m], radius));
        if (k > 0) {
            g.begin(Primitive::kQuadStrip);
            for (int m = 0; m <= sides; ++m) {
                const int i = m % sides;
                if (coloured) g.colour(previous_colour);
                g.vertex(previous_normal[i], previous[i]);
                if (coloured) g.colour(colour);
                g.vertex(normal[i], ring[i]);
            }
            g.end();
        }
        for (int m = 0; m < sides; ++m) {
            previous[m] = ring[m];
            previous_normal[m] = normal[m];
        }
        previous_colour = colour;
    }
}

// Distance of p from the segment a-b.
double off_chord(const Point3& p, const Point3& a, const Point3& b) {
    const Point3 ab = minus(b, a), ap = minus(p, a);
    const double len2 = dot(ab, ab);
    const double t = len2 > 0 ? std::fmax(0.0, std::fmin(1.0, dot(ap, ab) / len2)) : 0.0;
    return distance(p, Point3{a.x + t * ab.x, a.y + t * ab.y, a.z + t * ab.z});
}

// Uncoloured bent tubes go to the sink as one batch. On the screen each is
// one path (tube_paths()), its rings shared by the pieces on either side;
// a sink that wants closed shells gets straight pieces (tubes()) with a
// ball of the tube's own radius at every joint, where the pieces meet at a
// slight angle.
struct TubeBatch {
    static constexpr int kPieces = 1200 * kArcPieces;  // the 120-cell's edges
    Point3 points[2 * kPieces];
    int pairs[kPieces][2];
    int count = 0;
    Point3 joints[kPieces];
    int joint_count = 0;
    int lengths[kPieces];  // of the paths, whose points fill `points`
    int path_count = 0, path_points = 0;
    double radius = 0;  // of the cut's arcs, gathered over a run
} tube_batch;

void flush_tube_batch(double radius) {
    const int sides = bent_tube_sides(radius);
    if (tube_batch.path_count > 0 && sides <= 4)
        geometry().thin_tube_paths(tube_batch.points, tube_batch.lengths, tube_batch.path_count, radius);
    else if (tube_batch.path_count > 0)
        geometry().tube_paths(tube_batch.points, tube_batch.lengths, tube_batch.path_count, radius,
                              sides);
    if (tube_batch.count > 0)
        geometry().tubes(tube_batch.points, tube_batch.pairs, tube_batch.count, radius, sides);
    if (tube_batch.joint_count > 0) draw_bent_balls(tube_batch.joints, tube_batch.joint_count, radius);
    tube_batch.count = tube_batch.joint_count = tube_batch.path_count = tube_batch.path_points = 0;
}

// For a back end that takes closed shells (the files), a tube along
// q[0..count-1] in pieces with the colour of each piece's middle, and a
// ball with its point's colour where two pieces meet.
void closed_coloured_tube(const Point4* s, const Point3* q, int count, double radius) {
    GeometrySink& g = geometry();
    for (int k = 1; k < count; ++k) {
        const Point4 middle{(s[k - 1].x + s[k].x) / 2, (s[k - 1].y + s[k].y) / 2, (s[k - 1].z + s[k].z) / 2,
                            (s[k - 1].w + s[k].w) / 2};
        g.colour(colour_of(middle));
        g.tube(q[k - 1], q[k], radius);
        if (k == 1) continue;
        g.colour(colour_of(s[k - 1]));
        g.ball(q[k - 1], radius);
    }
}

// A bent tube along q[0..count-1] with rings only where the path turns by
// more than a tenth of its radius (or half a pixel) off the straight line
// between the rings kept: the arc keeps its points, the tube its shape.
// Coloured, it is one strip whose rings take the colours; else its pieces
// join the batch, which the caller flushes.
void bent_tube(const Point4* s, const Point3* q, int count, double radius) {
    const double tolerance = std::fmax(half_pixel(), 0.1 * radius);
    Point4 ks[kArcPieces + 1];
    Point3 kq[kArcPieces + 1];
    int kept = 0;
    for (int i = 0; i < count;) {
        ks[kept] = s[i];
        kq[kept++] = q[i];
        if (i == count - 1) break;
        int j = i + 1;
        for (int next = j + 1; next < count; ++next) {
            bool straight = true;
            for (int m = i + 1; m < next && straight; ++m)
                straight = off_chord(q[m], q[i], q[next]) < tolerance;
            if (!straight) break;
            j = next;
        }
        i = j;
    }
    if (kept < 2) return;
    if (!geometry().wants_closed_shells()) {
        if (coloured) {
            tube_run(ks, kq, kept, radius, bent_tube_sides(radius));
            return;
        }
        if (tube_batch.path_points + kept > 2 * TubeBatch::kPieces ||
            tube_batch.path_count == TubeBatch::kPieces)
            flush_tube_batch(radius);
        for (int k = 0; k < kept; ++k) tube_batch.points[tube_batch.path_points++] = kq[k];
        tube_batch.lengths[tube_batch.path_count++] = kept;
        return;
    }
    if (coloured) {
        closed_coloured_tube(ks, kq, kept, radius);
        return;
    }
    for (int k = 1; k < kept; ++k) {
        if (tube_batch.count == TubeBatch::kPieces) flush_tube_batch(radius);
        const int n = tube_batch.count++;
        tube_batch.points[2 * n] = kq[k - 1];
        tube_batch.points[2 * n + 1] = kq[k];
        tube_batch.pairs[n][0] = 2 * n;
        tube_batch.pairs[n][1] = 2 * n + 1;
        if (k > 1) tube_batch.joints[tube_batch.joint_count++] = kq[k - 1];
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
    GeometrySink& g = geometry();
    if (app.bold_line == 1 && shape.tube_radius > 0) {
        g.bold_edge_material();
        if (coloured) g.colours(ColourUse::kLit);
        const bool bent = pieces() > 1;
        for (int e = 0; e < shape.edge_count; ++e)
            edge_runs(v[shape.edges[e][0]], v[shape.edges[e][1]],
                      [&](const Point4* s, const Point3* q, int count) {
                          if (bent)
                              bent_tube(s, q, count, shape.tube_radius);
                          else if (g.wants_closed_shells() && coloured)
                              closed_coloured_tube(s, q, count, shape.tube_radius);
                          else if (g.wants_closed_shells())
                              for (int k = 1; k < count; ++k) g.tube(q[k - 1], q[k], shape.tube_radius);
                          else
                              tube_run(s, q, count, shape.tube_radius, kStraightTubeSides);
                      });
        if (bent) flush_tube_batch(shape.tube_radius);
        if (coloured) {
            for (int k = 0; k < vertex_count; ++k) {
                const Point3 centre = project_point(v[k]);
                g.colour(colour_of(v[k]));
                if (!bent)
                    draw_sphere_marker(centre, shape.ball_radius);
                else if (fits_gl(centre))
                    draw_bent_balls(&centre, 1, shape.ball_radius);
            }
            g.colours(ColourUse::kNone);
            return;
        }
        // One batch, with as many facets as their size on the screen needs.
        Point3* centres = scratch(centre_scratch, vertex_count);
        int count = 0;
        for (int k = 0; k < vertex_count; ++k) {
            centres[count] = project_point(v[k]);
            if (fits_gl(centres[count])) ++count;
        }
        if (bent)
            draw_bent_balls(centres, count, shape.ball_radius);
        else
            g.balls(centres, count, shape.ball_radius, 10, 10);
        return;
    }
    if (coloured) g.colours(ColourUse::kUnlit);
    if (pieces() > 1) {
        // An arc is one strip: half the vertices of its pieces as lines.
        for (int e = 0; e < shape.edge_count; ++e)
            edge_runs(v[shape.edges[e][0]], v[shape.edges[e][1]],
                      [&g](const Point4* s, const Point3* q, int count) {
                          if (count < 2) return;
                          g.begin(Primitive::kLineStrip);
                          for (int k = 0; k < count; ++k) vertex(g, s[k], q[k]);
                          g.end();
                      });
        if (coloured) g.colours(ColourUse::kNone);
        return;
    }
    g.begin(Primitive::kLines);
    for (int e = 0; e < shape.edge_count; ++e)
        edge_runs(v[shape.edges[e][0]], v[shape.edges[e][1]],
                  [&g](const Point4* s, const Point3* q, int count) {
                      for (int k = 1; k < count; ++k) {
                          vertex(g, s[k - 1], q[k - 1]);
                          vertex(g, s[k], q[k]);
                      }
                  });
    g.end();
    if (coloured) g.colours(ColourUse::kNone);
}

}  // namespace

namespace {

// The circumradius of a polytope, on whose sphere its vertices lie; 0 for
// any other model.
double polytope_radius(ModelId model) {
    const PolytopeLattice* p = find_lattice(model);
    if (p == nullptr) return 0.0;
    const Point4& v = p->vertices[0];
    return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z + v.w * v.w);
}

}  // namespace

void prepare_model_sphere(bool for_centre) {
    const bool stereographic = app.projection_mode == kProjectionStereographic;
    app.push_onto_sphere = 0;
    if (!stereographic && app.colour_by_w != 1) return;
    if (const double r = polytope_radius(app.model_id); r > 0) {
        app.model_radius = r;
        app.push_onto_sphere = stereographic ? 1 : 0;
    } else if (app.model_id == kModelCube) {
        app.model_radius = std::sqrt(3.0);
    } else if (app.model_id == kModelUserGraph && stereographic && for_centre) {
        fill_graph_4d_for_frame();
        app.model_radius = surface_grid_radius(app.mesh_resolution);
    }
}

int bent_tube_sides(double radius) {
    const double pixels = radius / (2 * half_pixel());
    return pixels < 2 ? 4 : pixels < 4 ? 6 : pixels < 8 ? 8 : 12;
}

void draw_bent_balls(const Point3* centres, int count, double radius) {
    const double pixels = radius / (2 * half_pixel());
    if (pixels < 3) {
        geometry().thin_balls(centres, count, radius, 6);
        return;
    }
    const int slices = pixels < 6 ? 8 : 12;
    geometry().balls(centres, count, radius, slices, (slices + 1) / 2 + 1);
}

bool curved_drawing() {
    return app.projection_mode == kProjectionStereographic || app.colour_by_w == 1;
}

void draw_table_shape(const Point4* v, int vertex_count, const TableShape& shape) {
    coloured = app.colour_by_w == 1;
    GeometrySink& g = geometry();
    if (app.solid == 1) {
        g.begin_surface();
        if (coloured) g.colours(ColourUse::kLit);
        draw_faces(v, vertex_count, shape);
        if (coloured) g.colours(ColourUse::kNone);
        g.end_surface();
        // On the sphere the faces and the edges each cost the rasteriser
        // and the program about as much: the faces are filled while the
        // arcs are worked out.
        if (app.push_onto_sphere == 1) g.hand_over();
    }
    if (app.wireframe == 1) {
        g.begin_wire();
        draw_edges(v, vertex_count, shape);
        g.line_width(1.0f);
        g.end_wire();
    }
}

bool draw_curved_polytope(ModelId model) {
    const PolytopeLattice* p = curved_drawing() ? find_lattice(model) : nullptr;
    if (p == nullptr) return false;
    Point4* v = scratch(vertex_scratch, p->vertex_count());
    for (int k = 0; k < p->vertex_count(); ++k) v[k] = transform_point4(app.transform, p->vertices[k]);
    // The 5-cell's tubes are thinner against its edge than the others'.
    const bool five = model == kModelFiveCell;
    TableShape shape{reinterpret_cast<const int(*)[2]>(p->edges.data()), p->edge_count(), p->face_corners.data(),
                     0, p->face_count(), five ? 0.05 : polytope_tube_radius(*p), five ? 0.075 : polytope_ball_radius(*p)};
    shape.face_start = p->face_start.data();
    draw_table_shape(v, p->vertex_count(), shape);
    if (app.cross_section == 1) {
        begin_section_run();
        for (int f = 0; f < p->face_count(); ++f) {
            Point4* corners = scratch(corner_scratch, p->face_size(f));
            for (int k = 0; k < p->face_size(f); ++k) corners[k] = v[p->face(f)[k]];
            section_polygon(corners, p->face_size(f));
        }
        end_section_run();
    }
    return true;
}

void draw_section_arc(const Point4& from, const Point4& to, double tube_radius) {
    coloured = false;
    edge_runs(from, to, [&](const Point4* s, const Point3* q, int count) {
        if (tube_radius > 0) {
            // Tubes of another radius go first: the batch has one.
            if (tube_batch.radius != tube_radius) flush_section_arcs();
            tube_batch.radius = tube_radius;
            bent_tube(s, q, count, tube_radius);
            return;
        }
        GeometrySink& g = geometry();
        g.begin(Primitive::kLineStrip);
        for (int k = 0; k < count; ++k) g.vertex(q[k]);
        g.end();
    });
}

void flush_section_arcs() {
    if (tube_batch.path_count > 0 || tube_batch.count > 0) flush_tube_batch(tube_batch.radius);
}

}  // namespace fourview
