// The one path by which the models, the cut and the axes hand over what they
// draw: finished points of the scene (after the 4D projection), grouped into
// primitives, with the style in force. A back end behind it turns them into
// GL (render/gl_sink.cpp) or writes them to a file (export/). Nothing that
// draws through it includes a GL header.
#pragma once

#include "geom4/types.h"

namespace fourview {

// The primitive kinds of the fixed-function pipeline the picture is made of.
// Strips and loops are kept as such: split otherwise, the quads of a strip
// would be cut along other diagonals and give other pixels.
enum class Primitive { kTriangles, kQuadStrip, kLines, kLineStrip, kLineLoop, kPoints };

// What the primitives that follow belong to; the export groups by it and
// leaves out the axes. The style brackets set it too.
enum class Part { kNone, kFaces, kEdges, kSection, kAxes };

struct GeometrySink {
    // The style brackets of render/materials.h: faces (solid or transparent
    // as app.transparent says) and wires (1 or 3 pixels as app.bold_line
    // says). They set the part to faces or edges and back to none.
    virtual void begin_surface() = 0;
    virtual void end_surface() = 0;
    virtual void begin_wire() = 0;
    virtual void end_wire() = 0;
    virtual void part(Part p) = 0;

    // Materials and widths; each holds until the next.
    virtual void section_material() = 0;
    virtual void bold_edge_material() = 0;
    virtual void color(int index) = 0;  // as set_color: 1 red .. 7 grey
    virtual void line_width(float pixels) = 0;
    virtual void point_size(float pixels) = 0;

    // The current normal: a vertex without its own normal takes it, and a
    // vertex with one makes it current, as in immediate-mode GL.
    virtual void normal(const Point3& n) = 0;
    virtual void begin(Primitive kind) = 0;
    virtual void vertex(const Point3& p) = 0;
    virtual void vertex(const Point3& n, const Point3& p) = 0;
    virtual void end() = 0;

    // The side of a 30-faced tube from p to q (open: its ends hide in the
    // balls), and a ball of 10 slices and 10 stacks, in the current material.
    virtual void tube(const Point3& p, const Point3& q, double radius) = 0;
    virtual void ball(const Point3& p, double radius) = 0;

    // Many tubes of one radius, from points[pairs[k][0]] to
    // points[pairs[k][1]], and many balls: the large polytopes hand over
    // hundreds at a time, with `sides` faces round a tube and `slices` by
    // `stacks` for a ball, as few as their size on screen allows. Every end
    // is a drawable point and the two ends of a tube are apart. By default
    // each goes to tube() or ball(), with their full faces; the GL back end
    // draws them as indexed batches (see BatchShape).
    virtual void tubes(const Point3* points, const int (*pairs)[2], int count, double radius,
                       int sides);
    virtual void balls(const Point3* points, int count, double radius, int slices, int stacks);
    // Bent tubes of one radius: path k runs through the next lengths[k] (at
    // least 2) of the points, each a drawable point apart from the one
    // before. By default each piece goes to tube() with a ball() at every
    // joint; the GL back end draws each path as one indexed tube whose rings
    // are shared by the pieces on either side (see PathShape), so that no
    // joint needs a ball.
    virtual void tube_paths(const Point3* points, const int* lengths, int paths, double radius,
                            int sides);

    // Lines from points[pairs[k][0]] to points[pairs[k][1]], every end a
    // drawable point: the edges of a polytope, whose corners are shared by
    // three or more. By default the pairs go to vertex() one after another
    // as one kLines primitive; the GL back end hands each point over once
    // and the pairs as indices into them.
    virtual void line_pairs(const Point3* points, int point_count, const int (*pairs)[2], int count);

    // Triangles lit flat, each corner k at points[k] with normals[k], every
    // triangle's three corners with its own normal: the fans of a polytope's
    // faces, whose corners serve the triangles of a face alike. By default
    // each triangle goes to vertex() as a kTriangles primitive of its own;
    // the GL back end draws them indexed, each corner lit once.
    virtual void flat_triangles(const Point3* points, const Point3* normals, int corner_count,
                                const int (*triangles)[3], int count);

    // A patch of triangles that share their corners: corner k at points[k]
    // with normals[k] (and colours[k] when colours is not null), each
    // triangle three corner indices. By default the triangles go to
    // vertex() one after another as one kTriangles primitive; the GL back
    // end draws the patch indexed, each corner lit once however many
    // triangles share it.
    virtual void triangle_mesh(const Point3* points, const Point3* normals, const Colour* colours,
                               const int (*triangles)[3], int triangle_count);

    // Bent tubes and balls a few pixels across, too thin to show their
    // facets: the screen may draw only their halves that face the camera,
    // a tube as a ridge of two faces along its path, a ball as a cone of
    // `rim` faces whose rim is its outline. By default they are drawn whole,
    // by tube_paths() with 4 sides and balls().
    virtual void thin_tube_paths(const Point3* points, const int* lengths, int paths, double radius);
    virtual void thin_balls(const Point3* points, int count, double radius, int rim);

    // Colour by w: from colours(kLit) to colours(kNone) every vertex, tube
    // and ball takes the current colour() as the ambient and diffuse colour
    // of the material in force, lit as before; from colours(kUnlit) lines
    // show it as it is. A back end that shows no colours may ignore both.
    // From colours(kMaterial) every vertex takes the current colour() as
    // the ambient and diffuse colour of its material, lit, whatever colour
    // it is: the colours of the slice's cell kinds, which are no colours of
    // the w scale.
    enum class ColourUse { kNone, kLit, kUnlit, kMaterial };
    virtual void colours(ColourUse) {}
    virtual void colour(const Colour&) {}

    // What was given so far may be drawn while the rest is worked out: a
    // frame of many pieces goes to the rasteriser in parts, so that it
    // fills the first while the program makes the next.
    virtual void hand_over() {}

    // A file for printing or modelling wants every tube and ball as a closed
    // shell (tube() and ball()), even where the screen would take a strip
    // whose rings carry the colours by w.
    virtual bool wants_closed_shells() const { return false; }

protected:
    ~GeometrySink() = default;
};

// The back end in force. Until one is installed (the windows install the GL
// back end), a back end that drops everything.
GeometrySink& geometry();
void set_geometry(GeometrySink* sink);  // nullptr: back to dropping

// The style brackets and model materials as free routines, for drawing code
// written against them: each goes to the back end in force.
void begin_surface();
void end_surface();
void begin_wire();
void end_wire();
void bold_edge_material();
void section_material();

// Installs `sink` for the life of the object, then restores the previous.
class ScopedGeometry {
public:
    explicit ScopedGeometry(GeometrySink& sink);
    ~ScopedGeometry();
    ScopedGeometry(const ScopedGeometry&) = delete;
    ScopedGeometry& operator=(const ScopedGeometry&) = delete;

private:
    GeometrySink* previous_;
};

// The corners of one batched tube or ball, with radial normals so that a
// shape of few faces still shades round, and its triangles as corner
// indices, counterclockwise seen from outside.
struct BatchShape {
    static constexpr int kMaxSides = 30, kMaxSlices = 10, kMaxStacks = 10;
    static constexpr int kMaxCorners = (kMaxSlices + 1) * (kMaxStacks + 1);
    static constexpr int kMaxTriangles = 2 * kMaxSlices * (kMaxStacks - 1);
    int corner_count = 0, triangle_count = 0;
    Point3 normals[kMaxCorners], points[kMaxCorners];
    int triangles[kMaxTriangles][3];
};

// The angles of a ring of tube faces, or the unit sphere of a ball, worked
// out once for a whole batch. Counts out of range take the standard 30 or 10.
struct TubeTable {
    int sides = 0;
    double cosine[BatchShape::kMaxSides + 1], sine[BatchShape::kMaxSides + 1];
};
void make_tube_table(int sides, TubeTable& table);
void tube_shape(const TubeTable& table, const Point3& p, const Point3& q, double radius,
                BatchShape& shape);

// The side of one bent tube: a ring at every point of its path, square to
// the path there (to the first and last piece at the ends) and carried along
// it without twisting, with radial normals; the first ring sits as the ring
// of tube_shape for the first piece, so that a path of two points is that
// tube.
struct PathShape {
    static constexpr int kMaxPoints = 33, kMaxSides = BatchShape::kMaxSides;
    static constexpr int kMaxCorners = kMaxPoints * (kMaxSides + 1);
    static constexpr int kMaxTriangles = 2 * kMaxSides * (kMaxPoints - 1);
    int corner_count = 0, triangle_count = 0;
    Point3 normals[kMaxCorners], points[kMaxCorners];
    int triangles[kMaxTriangles][3];
};
// False (shape empty) for a path of fewer than 2 or more than kMaxPoints
// points, or one with a piece of no length.
bool path_shape(const TubeTable& table, const Point3* points, int count, double radius,
                PathShape& shape);

// The table for the last sides asked for, made again only when they
// change: a frame asks for the same few again and again (a coloured
// polytope once for each of its balls). For the drawing thread only.
const TubeTable& cached_tube_table(int sides);

// One ring of a bent tube at a point of its path: `u`, square to the path
// before it, carried without twisting to be square to the unit direction t
// there, and ring[0..sides] the ring's unit vectors round t,
// counterclockwise about it. False when u lies along t.
bool carry_ring(const TubeTable& table, const Point3& t, Point3& u, Point3* ring);

// What faces the camera in the scene: the direction to it and the two
// directions across the screen (the view is parallel).
struct Facing {
    Point3 toward, across, up;
};

// The half of a thin bent tube that faces the camera: at every point of the
// path a ring of three, its two sides on the outline (radius out, square to
// the path and to the line of sight) and its ridge (radius out toward the
// camera), with the normals of the round tube there; two faces a piece.
// False (shape empty) as for path_shape.
bool thin_path_shape(const Facing& view, const Point3* points, int count, double radius,
                     PathShape& shape);

// The point of a ball at stack `stack` of `stacks` from the pole on +z and
// slice `slice` of `slices` round it, as GLU lays out its spheres.
Point3 sphere_point(const Point3& centre, double radius, int stack, int stacks, int slice, int slices);

struct BallTable {
    int slices = 0, stacks = 0;
    Point3 unit[BatchShape::kMaxStacks + 1][BatchShape::kMaxSlices + 1];  // poles on z, as GLU's
};
void make_ball_table(int slices, int stacks, BallTable& table);
const BallTable& cached_ball_table(int slices, int stacks);
void ball_shape(const BallTable& table, const Point3& centre, double radius, BatchShape& shape);

// The half of a thin ball that faces the camera: a cone of `rim` faces (the
// table's sides) from its front point to its outline, with the normals of
// the ball there.
void thin_ball_shape(const Facing& view, const TubeTable& rim, const Point3& centre, double radius,
                     BatchShape& shape);

// The side of a tube of `sides` faces from p to q: ring k of the bottom end
// around p, ring k of the top end around q, in the frame that
// direction_frame gives the tube's axis.
void tube_rings(const Point3& p, const Point3& q, double radius, int sides, Point3* bottom,
                Point3* top);

}  // namespace fourview
