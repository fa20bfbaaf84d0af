#include "render/gl_sink.h"

// glMultiDrawArrays (OpenGL 1.4) is declared only with the extension prototypes.
#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>
#include <vector>

#include "app/app_state.h"
#include "geom4/stereo.h"
#include "geom4/vector3.h"
#include "models/normals.h"
#include "render/materials.h"

namespace fourview {

namespace {

// Vertices per batch: a multiple of 2 and 3, so that a full batch of lines
// or triangles always ends on a whole primitive.
constexpr int kCapacity = 6 * 4096;
// Strips and loops per batch (one glMultiDrawArrays draws them all).
constexpr int kRunCapacity = 4096;
// A strip or loop starts in a fresh batch unless this many vertices are
// left: a loop cannot continue across batches, and no loop is longer.
constexpr int kLoopRoom = 64;
constexpr int kBallSlices = 10, kBallStacks = 10;

// Colour by w on transparent faces: a blend mixes the colours of every face
// along a ray into one that is nowhere on the scale. Instead each pixel shows
// one face, in its colour: on the even squares of a checkerboard the nearest
// face turned towards the viewer, on the odd ones the nearest turned away,
// which for a closed shell is its far side (or an inner shell's). The eye
// sees both layers, and every pixel reads on the bar.
struct Stipple {
    GLubyte rows[128];
};
constexpr Stipple checkerboard(bool odd) {
    Stipple s{};
    for (int y = 0; y < 32; ++y)
        for (int b = 0; b < 4; ++b) s.rows[4 * y + b] = ((y % 2 == 0) != odd) ? 0x55 : 0xAA;
    return s;
}
constexpr Stipple kEvenSquares = checkerboard(false), kOddSquares = checkerboard(true);

// The scale as a texture of its three stops: with linear filtering between
// the texels' centres, a face's corners given positions on the scale show
// the scale in between, not a straight mix of two colours that cuts its
// corner at the neutral.
void use_scale_texture() {
    const Colour stops[3] = {w_colour(-1, 1), w_colour(0, 1), w_colour(1, 1)};
    GLfloat texels[3][3];
    for (int k = 0; k < 3; ++k) {
        texels[k][0] = stops[k].r;
        texels[k][1] = stops[k].g;
        texels[k][2] = stops[k].b;
    }
    glBindTexture(GL_TEXTURE_1D, 0);
    glTexImage1D(GL_TEXTURE_1D, 0, GL_RGB8, 3, 0, GL_RGB, GL_FLOAT, texels);
    glTexParameteri(GL_TEXTURE_1D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_1D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_1D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
}

// Texture coordinates of scale colours: position -1 .. 1 to the centres of
// the first and last texels.
void scale_coordinates(const GLfloat (*colours)[3], int count, GLfloat* out) {
    for (int k = 0; k < count; ++k)
        out[k] = (w_scale_position(Colour{colours[k][0], colours[k][1], colours[k][2]}) + 1.5f) / 3;
}

// Draws with the texture coordinates given, the scale's texture on.
template <typename Draw>
void draw_on_scale(const GLfloat* coordinates, Draw draw) {
    glEnable(GL_TEXTURE_1D);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glTexCoordPointer(1, GL_FLOAT, 0, coordinates);
    draw();
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisable(GL_TEXTURE_1D);
}

template <typename Draw>
void draw_in_two_layers(Draw draw) {
    glEnable(GL_POLYGON_STIPPLE);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glPolygonStipple(kEvenSquares.rows);
    draw();
    glCullFace(GL_FRONT);
    glPolygonStipple(kOddSquares.rows);
    draw();
    glCullFace(GL_BACK);
    glDisable(GL_CULL_FACE);
    glDisable(GL_POLYGON_STIPPLE);
}

GLenum gl_mode(Primitive kind) {
    switch (kind) {
        case Primitive::kTriangles: return GL_TRIANGLES;
        case Primitive::kQuadStrip: return GL_QUAD_STRIP;
        case Primitive::kLines: return GL_LINES;
        case Primitive::kLineStrip: return GL_LINE_STRIP;
        case Primitive::kLineLoop: return GL_LINE_LOOP;
        case Primitive::kPoints: return GL_POINTS;
    }
    return GL_POINTS;
}

// A point or normal of the scene as GL takes it.
void put(GLfloat* out, const Point3& p) {
    out[0] = static_cast<GLfloat>(p.x);
    out[1] = static_cast<GLfloat>(p.y);
    out[2] = static_cast<GLfloat>(p.z);
}

bool is_run(Primitive kind) {
    return kind == Primitive::kQuadStrip || kind == Primitive::kLineStrip ||
           kind == Primitive::kLineLoop;
}

// The indexed batch of tubes() and balls(): their corners are shared by
// two to six triangles each, so they are lit once, not once per triangle.
struct IndexedBatch {
    static constexpr int kVertices = 8192, kIndices = 3 * kVertices;
    GLfloat positions[kVertices][3], normals[kVertices][3];
    GLushort indices[kIndices];
    int vertex_count = 0, index_count = 0;

    void draw() {
        if (index_count > 0) glDrawElements(GL_TRIANGLES, index_count, GL_UNSIGNED_SHORT, indices);
        vertex_count = index_count = 0;
    }

    // Far halves culled: the shapes are closed toward the camera (a tube's
    // open ends hide in its balls), so only their outer faces can show, and
    // the rasteriser fills half as much.
    void begin() {
        vertex_count = index_count = 0;
        glEnable(GL_CULL_FACE);
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_NORMAL_ARRAY);
        glVertexPointer(3, GL_FLOAT, 0, positions);
        glNormalPointer(GL_FLOAT, 0, normals);
    }

    void end() {
        draw();
        glDisableClientState(GL_NORMAL_ARRAY);
        glDisableClientState(GL_VERTEX_ARRAY);
        glDisable(GL_CULL_FACE);
    }

    template <typename Shape>
    void add(const Shape& shape) {
        if (vertex_count + shape.corner_count > kVertices ||
            index_count + 3 * shape.triangle_count > kIndices)
            draw();
        const int first = vertex_count;
        for (int k = 0; k < shape.corner_count; ++k) {
            const Point3 &p = shape.points[k], &n = shape.normals[k];
            put(positions[vertex_count], p);
            put(normals[vertex_count], n);
            ++vertex_count;
        }
        for (int t = 0; t < shape.triangle_count; ++t)
            for (int c = 0; c < 3; ++c)
                indices[index_count++] = static_cast<GLushort>(first + shape.triangles[t][c]);
    }
} indexed;

// The patches of triangle_mesh(): lit and coloured once per corner, drawn
// two-sided (faces show from both sides) before anything given after them.
struct MeshBatch {
    static constexpr int kVertices = 8192, kIndices = 6 * kVertices;
    GLfloat positions[kVertices][3], normals[kVertices][3], colours[kVertices][3];
    GLushort indices[kIndices];
    int vertex_count = 0, index_count = 0;

    bool fits(int vertices, int triangles) const {
        return vertex_count + vertices <= kVertices && index_count + 3 * triangles <= kIndices;
    }

    void draw(bool coloured) {
        if (index_count > 0) {
            glEnableClientState(GL_VERTEX_ARRAY);
            glEnableClientState(GL_NORMAL_ARRAY);
            glVertexPointer(3, GL_FLOAT, 0, positions);
            glNormalPointer(GL_FLOAT, 0, normals);
            if (coloured) {
                glEnableClientState(GL_COLOR_ARRAY);
                glColorPointer(3, GL_FLOAT, 0, colours);
            }
            glDrawElements(GL_TRIANGLES, index_count, GL_UNSIGNED_SHORT, indices);
            if (coloured) glDisableClientState(GL_COLOR_ARRAY);
        }
        vertex_count = index_count = 0;
    }
} mesh;

BatchShape batch_shape;  // scratch of one tube or ball
PathShape path;          // of one bent tube

// What faces the camera in the model's own coordinates, read from the
// modelview matrix (rows of its rotation).
Facing facing() {
    GLdouble m[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, m);
    return Facing{unit_or(Point3{m[2], m[6], m[10]}, Point3{0, 0, 1}),
                  unit_or(Point3{m[0], m[4], m[8]}, Point3{1, 0, 0}),
                  unit_or(Point3{m[1], m[5], m[9]}, Point3{0, 1, 0})};
}

GLfloat mesh_scale[MeshBatch::kVertices];  // texture coordinates of mesh's colours

struct GlSink final : GeometrySink {
    GLfloat positions[kCapacity][3];
    GLfloat scale_array[kCapacity];
    GLfloat normals[kCapacity][3];
    GLfloat colour_array[kCapacity][3];
    ColourUse colour_use = ColourUse::kNone;
    GLfloat current_colour[3] = {1, 1, 1};
    GLint firsts[kRunCapacity];
    GLsizei counts[kRunCapacity];
    int used = 0;   // vertices in the batch
    int runs = 0;   // finished strips or loops in the batch
    Primitive kind = Primitive::kPoints;  // of the batch and the open primitive
    bool open = false;                    // between begin and end
    int run_start = 0;
    GLfloat current[3] = {0, 0, 1};
    // Inside a bracket primitives are batched; outside, each is drawn at its
    // end, so that a lone primitive (a test, an axis) reaches GL at once.
    bool surface = false, wire = false, grouped = false;
    bool ball_normal_known = false;
    GLfloat ball_normal[3] = {0, 0, 1};

    bool bracketed() const { return surface || wire || grouped; }
    // Faces coloured by w in a surface: unlit, so that a pixel has the
    // scale's colour and not the lights' version of it; transparent, drawn
    // in two layers (draw_in_two_layers) instead of blended.
    bool scale_faces() const { return surface && colour_use == ColourUse::kLit; }
    bool layered() const { return scale_faces() && app.transparent == 1; }

    template <typename Draw>
    void draw_scale_faces(const GLfloat* coordinates, Draw draw) {
        draw_on_scale(coordinates, [&] {
            if (layered())
                draw_in_two_layers(draw);
            else
                draw();
        });
    }

    void flush() {
        const bool meshes = mesh.index_count > 0;
        if (meshes) {
            if (scale_faces()) {
                scale_coordinates(mesh.colours, mesh.vertex_count, mesh_scale);
                // draw() empties the mesh: a second layer draws it again.
                const int vertices = mesh.vertex_count, indices = mesh.index_count;
                const auto draw = [&] {
                    mesh.vertex_count = vertices;
                    mesh.index_count = indices;
                    mesh.draw(false);
                };
                draw_scale_faces(mesh_scale, draw);
            } else {
                mesh.draw(colour_use != ColourUse::kNone);
            }
        }
        if (used > 0) {
            int n = runs;
            if (open && is_run(kind) && used - run_start > 0 && n < kRunCapacity) {
                firsts[n] = run_start;
                counts[n] = used - run_start;
                ++n;
            }
            // The arrays stay enabled and point at the same two buffers for
            // good: nothing else in the program draws from arrays, and
            // glBegin/glEnd ignores them, while switching them per batch
            // costs the driver a revalidation each time.
            glEnableClientState(GL_VERTEX_ARRAY);
            glEnableClientState(GL_NORMAL_ARRAY);
            glVertexPointer(3, GL_FLOAT, 0, positions);
            glNormalPointer(GL_FLOAT, 0, normals);
            const bool coloured = colour_use != ColourUse::kNone && !scale_faces();
            if (coloured) {
                glEnableClientState(GL_COLOR_ARRAY);
                glColorPointer(3, GL_FLOAT, 0, colour_array);
            }
            const auto draw = [&] {
                if (is_run(kind))
                    glMultiDrawArrays(gl_mode(kind), firsts, counts, n);
                else
                    glDrawArrays(gl_mode(kind), 0, used);
            };
            if (scale_faces()) {
                scale_coordinates(colour_array, used, scale_array);
                draw_scale_faces(scale_array, draw);
            } else {
                draw();
            }
            if (coloured) glDisableClientState(GL_COLOR_ARRAY);
        }
        used = 0;
        runs = 0;
        run_start = 0;
        // A drawn array leaves the current normal undefined; what follows
        // (text lit at its raster position, the next frame's background)
        // expects the last one given, as after glEnd.
        glNormal3fv(current);
    }

    void state_change() {
        if (used > 0 || mesh.index_count > 0) flush();
    }

    void begin_surface() override {
        state_change();
        gl_begin_surface();
        surface = true;
    }
    void end_surface() override {
        flush();
        gl_end_surface();
        surface = false;
    }
    void begin_wire() override {
        state_change();
        gl_begin_wire();
        current[0] = -1, current[1] = 0, current[2] = 0;  // begin_wire's normal
        wire = true;
    }
    void end_wire() override {
        flush();
        gl_end_wire();
        wire = false;
    }
    void part(Part p) override {
        if (!(grouped = p != Part::kNone)) flush();
    }
    void section_material() override {
        state_change();
        gl_section_material();
    }
    void bold_edge_material() override {
        state_change();
        gl_bold_edge_material();
    }
    void color(int index) override {
        state_change();
        set_color(index);
    }
    void line_width(float pixels) override {
        state_change();
        glLineWidth(pixels);
    }
    void point_size(float pixels) override {
        state_change();
        glPointSize(pixels);
    }
    void normal(const Point3& n) override {
        current[0] = static_cast<GLfloat>(n.x);
        current[1] = static_cast<GLfloat>(n.y);
        current[2] = static_cast<GLfloat>(n.z);
    }

    void begin(Primitive k) override {
        if (mesh.index_count > 0) flush();
        if (used > 0 && (k != kind || (is_run(k) && runs == kRunCapacity))) flush();
        if (is_run(k) && used > kCapacity - kLoopRoom) flush();
        kind = k;
        open = true;
        run_start = used;
    }

    // A full batch is drawn and the open strip goes on in the next one from
    // its last vertices (two for a quad strip, one more for a pair half
    // given, one for a line strip).
    void overflow() {
        int carry = 0;
        const int run_length = used - run_start;
        if (kind == Primitive::kQuadStrip) carry = run_length % 2 == 0 ? 2 : 3;
        if (kind == Primitive::kLineStrip) carry = 1;
        if (carry > run_length) carry = run_length;
        GLfloat keep_p[3][3], keep_n[3][3], keep_c[3][3];
        for (int i = 0; i < carry; ++i)
            for (int c = 0; c < 3; ++c) {
                keep_p[i][c] = positions[used - carry + i][c];
                keep_n[i][c] = normals[used - carry + i][c];
                keep_c[i][c] = colour_array[used - carry + i][c];
            }
        flush();
        for (int i = 0; i < carry; ++i)
            for (int c = 0; c < 3; ++c) {
                positions[i][c] = keep_p[i][c];
                normals[i][c] = keep_n[i][c];
                colour_array[i][c] = keep_c[i][c];
            }
        used = carry;
    }

    void vertex(const Point3& p) override {
        if (used == kCapacity) overflow();
        GLfloat* v = positions[used];
        v[0] = static_cast<GLfloat>(p.x);
        v[1] = static_cast<GLfloat>(p.y);
        v[2] = static_cast<GLfloat>(p.z);
        GLfloat* n = normals[used];
        n[0] = current[0];
        n[1] = current[1];
        n[2] = current[2];
        GLfloat* c = colour_array[used];
        c[0] = current_colour[0];
        c[1] = current_colour[1];
        c[2] = current_colour[2];
        ++used;
    }
    void vertex(const Point3& n, const Point3& p) override {
        normal(n);
        vertex(p);
    }

    void end() override {
        if (is_run(kind) && used - run_start > 0) {
            firsts[runs] = run_start;
            counts[runs] = used - run_start;
            ++runs;
        }
        open = false;
        run_start = used;
        if (!bracketed()) flush();
    }

    // The fans of a polytope's faces, each corner lit once for the
    // triangles of its face that share it. Coloured ones take the batch.
    std::vector<GLfloat> fan_points, fan_normals;
    std::vector<GLuint> fan_indices;
    void flat_triangles(const Point3* points, const Point3* normals, int corner_count,
                        const int (*triangles)[3], int count) override {
        if (count <= 0) return;
        if (colour_use != ColourUse::kNone || !bracketed()) {
            GeometrySink::flat_triangles(points, normals, corner_count, triangles, count);
            return;
        }
        state_change();
        // Grown once for the largest polytope drawn, never in a frame of it.
        const std::size_t corners = static_cast<std::size_t>(corner_count);
        if (fan_points.size() < 3 * corners) fan_points.resize(3 * corners);
        if (fan_normals.size() < 3 * corners) fan_normals.resize(3 * corners);
        if (fan_indices.size() < 3 * static_cast<std::size_t>(count)) fan_indices.resize(3 * count);
        for (int k = 0; k < corner_count; ++k) {
            put(&fan_points[3 * k], points[k]);
            put(&fan_normals[3 * k], normals[k]);
        }
        for (int t = 0; t < count; ++t)
            for (int c = 0; c < 3; ++c) fan_indices[3 * t + c] = static_cast<GLuint>(triangles[t][c]);
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_NORMAL_ARRAY);
        glVertexPointer(3, GL_FLOAT, 0, fan_points.data());
        glNormalPointer(GL_FLOAT, 0, fan_normals.data());
        glDrawElements(GL_TRIANGLES, 3 * count, GL_UNSIGNED_INT, fan_indices.data());
        glDisableClientState(GL_NORMAL_ARRAY);
        glDisableClientState(GL_VERTEX_ARRAY);
        // The last normal given stays current, as after the batch.
        const Point3& n = normals[triangles[count - 1][2]];
        normal(n);
        glNormal3fv(current);
    }

    // Each point converted and lit once, however many lines meet there: the
    // large polytopes have 3 to 6 edges at a vertex. Lines coloured one by
    // one take the batch.
    std::vector<GLfloat> line_points;
    std::vector<GLuint> line_indices;
    void line_pairs(const Point3* points, int point_count, const int (*pairs)[2], int count) override {
        if (count <= 0) return;
        if (colour_use != ColourUse::kNone || !bracketed()) {
            GeometrySink::line_pairs(points, point_count, pairs, count);
            return;
        }
        state_change();
        // Grown once for the largest polytope drawn, never in a frame of it.
        if (line_points.size() < 3 * static_cast<std::size_t>(point_count)) line_points.resize(3 * point_count);
        if (line_indices.size() < 2 * static_cast<std::size_t>(count)) line_indices.resize(2 * count);
        for (int k = 0; k < point_count; ++k) put(&line_points[3 * k], points[k]);
        for (int k = 0; k < count; ++k) {
            line_indices[2 * k] = static_cast<GLuint>(pairs[k][0]);
            line_indices[2 * k + 1] = static_cast<GLuint>(pairs[k][1]);
        }
        glEnableClientState(GL_VERTEX_ARRAY);
        glDisableClientState(GL_NORMAL_ARRAY);
        glVertexPointer(3, GL_FLOAT, 0, line_points.data());
        glNormal3fv(current);  // every line's, as the batch would give it
        glDrawElements(GL_LINES, 2 * count, GL_UNSIGNED_INT, line_indices.data());
        glDisableClientState(GL_VERTEX_ARRAY);
    }

    void triangle_mesh(const Point3* points, const Point3* normals, const Colour* colours,
                       const int (*triangles)[3], int triangle_count) override {
        if (triangle_count <= 0) return;
        if (used > 0) flush();
        int corners = 0;
        for (int t = 0; t < triangle_count; ++t)
            for (int c = 0; c < 3; ++c)
                if (triangles[t][c] >= corners) corners = triangles[t][c] + 1;
        if (!mesh.fits(corners, triangle_count)) flush();
        if (!mesh.fits(corners, triangle_count)) return;  // larger than a whole batch
        const float g = gain();
        const int first = mesh.vertex_count;
        for (int k = 0; k < corners; ++k) {
            put(mesh.positions[first + k], points[k]);
            put(mesh.normals[first + k], normals[k]);
            GLfloat* c = mesh.colours[first + k];
            if (colours != nullptr) {
                c[0] = colours[k].r * g, c[1] = colours[k].g * g, c[2] = colours[k].b * g;
            } else {
                c[0] = current_colour[0], c[1] = current_colour[1], c[2] = current_colour[2];
            }
        }
        mesh.vertex_count += corners;
        for (int t = 0; t < triangle_count; ++t)
            for (int c = 0; c < 3; ++c)
                mesh.indices[mesh.index_count++] = static_cast<GLushort>(first + triangles[t][c]);
        if (!bracketed()) flush();
    }

    void tube(const Point3& p, const Point3& q, double radius) override { flat_lit_tube(*this, p, q, radius); }

    void tubes(const Point3* points, const int (*pairs)[2], int count, double radius,
               int sides) override {
        state_change();
        const TubeTable& table = cached_tube_table(sides);
        indexed.begin();
        for (int k = 0; k < count; ++k) {
            tube_shape(table, points[pairs[k][0]], points[pairs[k][1]], radius, batch_shape);
            indexed.add(batch_shape);
        }
        indexed.end();
        glNormal3fv(current);  // as flush leaves it
    }

    void tube_paths(const Point3* points, const int* lengths, int paths, double radius,
                    int sides) override {
        state_change();
        const TubeTable& table = cached_tube_table(sides);
        indexed.begin();
        for (int k = 0; k < paths; points += lengths[k++]) {
            // A straight tube exactly as tubes() draws it.
            if (lengths[k] == 2) {
                tube_shape(table, points[0], points[1], radius, batch_shape);
                indexed.add(batch_shape);
            } else if (path_shape(table, points, lengths[k], radius, path)) {
                indexed.add(path);
            }
        }
        indexed.end();
        glNormal3fv(current);
    }

    // Both drawn with culling off: every face of theirs faces the camera.
    void thin_tube_paths(const Point3* points, const int* lengths, int paths,
                         double radius) override {
        state_change();
        const Facing view = facing();
        indexed.begin();
        glDisable(GL_CULL_FACE);
        for (int k = 0; k < paths; points += lengths[k++])
            if (thin_path_shape(view, points, lengths[k], radius, path)) indexed.add(path);
        indexed.end();
        glNormal3fv(current);
    }

    void thin_balls(const Point3* points, int count, double radius, int rim) override {
        state_change();
        const Facing view = facing();
        const TubeTable& table = cached_tube_table(rim);
        if (colour_use == ColourUse::kLit || colour_use == ColourUse::kMaterial) glColor3fv(current_colour);
        indexed.begin();
        glDisable(GL_CULL_FACE);
        for (int k = 0; k < count; ++k) {
            thin_ball_shape(view, table, points[k], radius, batch_shape);
            indexed.add(batch_shape);
        }
        indexed.end();
        glNormal3fv(current);
    }

    void balls(const Point3* points, int count, double radius, int slices, int stacks) override {
        state_change();
        const BallTable& table = cached_ball_table(slices, stacks);
        if (colour_use == ColourUse::kLit || colour_use == ColourUse::kMaterial) glColor3fv(current_colour);
        indexed.begin();
        for (int k = 0; k < count; ++k) {
            ball_shape(table, points[k], radius, batch_shape);
            indexed.add(batch_shape);
        }
        indexed.end();
        glNormal3fv(current);
    }

    // A ball is few vertices and drawn only for bold edges and cuts: GLU
    // draws it, as it always has, moved into place by the modelview matrix.
    void ball(const Point3& p, double radius) override {
        static GLUquadric* quadric = nullptr;
        state_change();
        if (quadric == nullptr) {
            quadric = gluNewQuadric();
            if (quadric == nullptr) return;
            gluQuadricDrawStyle(quadric, GLU_FILL);
            gluQuadricNormals(quadric, GLU_SMOOTH);
        }
        if (colour_use == ColourUse::kLit || colour_use == ColourUse::kMaterial) glColor3fv(current_colour);
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        glTranslated(p.x, p.y, p.z);
        gluSphere(quadric, radius, kBallSlices, kBallStacks);
        glPopMatrix();
        // The sphere's last normal is current now; the back end's record of
        // it follows, read back once (it is the same for every ball).
        if (!ball_normal_known) {
            glGetFloatv(GL_CURRENT_NORMAL, ball_normal);
            ball_normal_known = true;
        }
        current[0] = ball_normal[0];
        current[1] = ball_normal[1];
        current[2] = ball_normal[2];
    }

    void colours(ColourUse use) override {
        if (use == colour_use) return;
        state_change();
        if (scale_faces()) {
            glEnable(GL_LIGHTING);
            if (app.transparent == 1) {  // back to the surface's blend
                glEnable(GL_BLEND);
                glDepthMask(GL_FALSE);
            }
        }
        if (colour_use == ColourUse::kLit || colour_use == ColourUse::kMaterial) glDisable(GL_COLOR_MATERIAL);
        if (colour_use == ColourUse::kUnlit) glEnable(GL_LIGHTING);
        colour_use = use;
        if (use == ColourUse::kLit || use == ColourUse::kMaterial) {
            glColorMaterial(GL_FRONT, GL_AMBIENT_AND_DIFFUSE);
            glEnable(GL_COLOR_MATERIAL);
        }
        if (use == ColourUse::kUnlit) glDisable(GL_LIGHTING);
        if (scale_faces()) {
            glDisable(GL_LIGHTING);
            use_scale_texture();
            if (app.transparent == 1) {  // each layer keeps its nearest face
                glDisable(GL_BLEND);
                glDepthMask(GL_TRUE);
            }
        }
    }
    // Lit, a colour of the scale would come out brighter than itself: the
    // lights add up to an ambient of 1.4, and the blend of transparent faces
    // doubles what it receives. These gains bring it back near the scale's.
    void hand_over() override {
        flush();
        glFlush();
    }

    float gain() const {
        // A material colour lit: near itself under the lights' ambient of
        // 1.4, and a little less on transparent faces, which the blend adds.
        if (colour_use == ColourUse::kMaterial) return surface && app.transparent == 1 ? 0.4f : 0.42f;
        return colour_use != ColourUse::kLit || scale_faces() ? 1.0f : 0.42f;
    }
    void colour(const Colour& c) override {
        const float g = gain();
        current_colour[0] = c.r * g;
        current_colour[1] = c.g * g;
        current_colour[2] = c.b * g;
    }
} gl_sink;

}  // namespace

void use_gl_geometry() { set_geometry(&gl_sink); }

void flush_gl_geometry() { gl_sink.flush(); }

}  // namespace fourview
