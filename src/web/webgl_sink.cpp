#include "web/webgl_sink.h"

#include <GLES3/gl3.h>

#include <cmath>
#include <cstdio>
#include <cstring>

#include "app/app_state.h"
#include "draw/material_values.h"
#include "geom4/stereo.h"
#include "geom4/vector3.h"
#include "models/normals.h"

namespace fourview {

namespace {

// Every vertex carries what its kind needs: a face its own place; a line
// quad's corner also the other end of its segment and its offset across
// in pixels; a point quad's corner its offset in pixels. kind: 0 face, 1 face drawn only from the
// front, 2 line corner, 3 point corner (or, with no offset, an end of a line
// GL draws itself).
struct Vertex {
    float position[3], normal[3], colour[3], other[3], corner[2], kind;
};
constexpr int kFloats = sizeof(Vertex) / sizeof(float);
static_assert(kFloats == 15, "Vertex must be packed floats");

constexpr int kVertices = 1 << 16;
constexpr int kIndices = 6 * kVertices;
// An open primitive's vertices before they become triangles: a strip or
// loop longer than this goes on from its last vertices.
constexpr int kScratch = 8192;
constexpr int kBallSlices = 10, kBallStacks = 10;
// One step of a 24-bit depth buffer, the unit of glPolygonOffset.
constexpr float kDepthStep = 1.0f / 16777216.0f;

// Compiled twice: with LIT, and without for batches that nothing lights
// (colours as given, or the black of lines), which SwiftShader then spares
// the lights' work per vertex.
constexpr const char* kVertexShader = R"(
precision highp float;
uniform mat4 u_projection, u_modelview;
uniform vec2 u_viewport;
uniform vec4 u_ambient, u_diffuse, u_specular, u_emission;
uniform float u_shininess;
uniform int u_colour_use;  // 0 the material, 1 colour material, 2 unlit, 3 and 4 the w scale
uniform vec4 u_light_ambient[2], u_light_diffuse[2], u_light_specular[2], u_light_position[2];
uniform vec3 u_spot_direction[2];
uniform float u_spot_exponent[2];
in vec3 a_position, a_normal, a_colour, a_other;
in vec2 a_corner;
in float a_kind;
out vec4 v_colour;
out float v_place;
flat out int v_kind;

#ifdef LIT
vec4 lit(vec3 eye, vec3 n) {
    vec4 ambient = u_ambient, diffuse = u_diffuse;
    if (u_colour_use == 1) ambient = diffuse = vec4(a_colour, 1.0);
    // GL's default scene ambient; lights at infinity have neither spot nor
    // attenuation, but both lights of the scene stand at a place.
    vec3 c = u_emission.rgb + ambient.rgb * 0.2;
    for (int i = 0; i < 2; ++i) {
        vec3 l = normalize(u_light_position[i].xyz - eye);
        float spot = dot(-l, normalize(u_spot_direction[i]));
        if (spot < 0.0) continue;  // a cut-off of 90 degrees
        spot = u_spot_exponent[i] == 0.0 ? 1.0 : pow(spot, u_spot_exponent[i]);
        vec3 term = ambient.rgb * u_light_ambient[i].rgb;
        // The normal as given: GL_NORMALIZE is off on the desktop, and
        // a normal longer than 1 lights more.
        float nl = dot(n, l);
        if (nl > 0.0) {
            term += nl * diffuse.rgb * u_light_diffuse[i].rgb;
            float nh = max(dot(n, normalize(l + vec3(0.0, 0.0, 1.0))), 0.0);
            float f = u_shininess == 0.0 ? 1.0 : pow(nh, u_shininess);
            term += f * u_specular.rgb * u_light_specular[i].rgb;
        }
        c += spot * term;
    }
    return vec4(clamp(c, 0.0, 1.0), diffuse.a);
}
#endif

void main() {
    vec4 eye = u_modelview * vec4(a_position, 1.0);
    vec4 clip = u_projection * eye;
    v_kind = int(a_kind + 0.5);
    if (v_kind >= 2) {
        vec2 offset = a_corner;
        if (v_kind == 2) {
            // Across along the minor axis, as GL widens a line.
            vec4 other = u_projection * (u_modelview * vec4(a_other, 1.0));
            vec2 d = other.xy / other.w - clip.xy / clip.w;
            offset = abs(d.x) >= abs(d.y) ? vec2(0.0, a_corner.y) : vec2(a_corner.y, 0.0);
        }
        clip.xy += offset * 2.0 / u_viewport * clip.w;
    }
    v_place = a_colour.r;
#ifdef LIT
    v_colour = u_colour_use >= 2 ? vec4(a_colour, 1.0) : lit(eye.xyz, mat3(u_modelview) * a_normal);
#else
    // What lit() gives a material with no ambient, diffuse or specular
    // colour: its emission.
    v_colour = u_colour_use == 2 ? vec4(a_colour, 1.0) : vec4(clamp(u_emission.rgb, 0.0, 1.0), u_diffuse.a);
#endif
    gl_Position = clip;
}
)";

constexpr const char* kFragmentShader = R"(
precision highp float;
uniform vec2 u_offset;  // factor and units of glPolygonOffset, for faces
uniform highp int u_colour_use;  // as the vertex shader's, whose ints are highp
uniform vec3 u_stops[3];  // the w scale's blue, neutral and orange
in vec4 v_colour;
in float v_place;
flat in int v_kind;
out vec4 o_colour;
void main() {
    if (v_kind == 1 && !gl_FrontFacing) discard;
    float z = gl_FragCoord.z;
    if (v_kind <= 1) z += u_offset.x * max(abs(dFdx(z)), abs(dFdy(z))) + u_offset.y;
    gl_FragDepth = clamp(z, 0.0, 1.0);
    o_colour = v_colour;
    if (u_colour_use >= 3 && v_kind <= 1) {
        // Faces by w, as the desktop's texture of the scale: each pixel on
        // the scale, unlit; transparent, the nearest front face on one
        // square of a checkerboard and the nearest back face on the other.
        bool odd = (int(gl_FragCoord.x) + int(gl_FragCoord.y)) % 2 == 1;
        if (u_colour_use == 4 && odd != gl_FrontFacing) discard;
        float p = clamp(v_place, -1.0, 1.0);
        o_colour = vec4(p < 0.0 ? mix(u_stops[1], u_stops[0], -p) : mix(u_stops[1], u_stops[2], p), 1.0);
    }
}
)";

// The fragment shader of most batches: SwiftShader runs every branch of a
// shader for every pixel, and the general one above (its depth written for
// the offset, its discards, the w scale) costs several times this one per
// pixel, which is most of a frame. Faces pushed back or drawn only from the
// front take GL's own polygon offset and culling with it instead.
constexpr const char* kPlainFragmentShader = R"(
precision highp float;
in vec4 v_colour;
out vec4 o_colour;
void main() { o_colour = v_colour; }
)";

const char* const kAttributes[] = {"a_position", "a_normal", "a_colour", "a_other", "a_corner", "a_kind"};
constexpr int kAttributeSizes[] = {3, 3, 3, 3, 2, 1};

// What a batch is drawn with: a change of any of it draws the batch first.
struct DrawState {
    MaterialValues material = kResetMaterial;
    int colour_use = 0;
    float offset_factor = 0, offset_units = 0;
    bool blend = false, depth_write = true;
};

struct Uniforms {
    GLint projection, modelview, viewport, ambient, diffuse, specular, emission, shininess,
        colour_use, light_ambient, light_diffuse, light_specular, light_position, spot_direction,
        spot_exponent, offset, stops;
};

// A linked program, its uniforms and what was last sent to them.
struct Program {
    GLuint id = 0;
    Uniforms u{};
    DrawState sent;
    bool state_sent = false;
    unsigned matrices_sent = 0;
};
// The fragment shaders, and the programs: fragment shader * 2 + lit.
enum Shader { kGeneral, kPlain };
constexpr int kPrograms = 4;

struct RawVertex {
    float position[3], normal[3], colour[3];
};

GLuint compile(GLenum type, const char* source, const char* defines = "") {
    const GLuint shader = glCreateShader(type);
    const char* parts[] = {"#version 300 es\n", defines, source};
    glShaderSource(shader, 3, parts, nullptr);
    glCompileShader(shader);
    GLint ok = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        char log[1024] = "";
        glGetShaderInfoLog(shader, sizeof log, nullptr, log);
        std::fprintf(stderr, "fourview: the shader does not compile: %s\n", log);
        return 0;
    }
    return shader;
}

void copy3(float* to, const Point3& p) {
    to[0] = static_cast<float>(p.x);
    to[1] = static_cast<float>(p.y);
    to[2] = static_cast<float>(p.z);
}

BatchShape batch_shape;
PathShape path;

struct WebglSink final : GeometrySink {
    Program programs[kPrograms];
    int in_use = -1;
    GLuint vertex_buffer = 0, index_buffer = 0, vertex_array = 0;
    Vertex vertices[kVertices];
    GLuint indices[kIndices];
    int vertex_count = 0, index_count = 0;
    RawVertex scratch[kScratch];
    int scratch_count = 0;
    Primitive kind = Primitive::kPoints;
    bool open = false;
    DrawState state;
    // What the batch holds: faces, faces drawn only from the front, lines
    // and points.
    bool batch_faces = false, batch_front = false, batch_lines = false;
    GLenum batch_mode = GL_TRIANGLES;
    // GL's own switches as last set here: blend, offset, culling.
    int blend_on = -1, offset_on = -1, cull_on = -1;
    float offset_sent[2] = {0, 0};
    float projection_f[16] = {}, modelview_f[16] = {};
    unsigned matrices_version = 1;
    float current_normal[3] = {0, 0, 1};
    float current_colour[3] = {1, 1, 1};
    float width = 1, size = 1;
    bool surface = false;
    ColourUse use = ColourUse::kNone;
    double modelview[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    int viewport[2] = {1, 1};
    WebglCounts counts;

    bool link(Program& p, GLuint vs, const char* fragment) {
        const GLuint fs = compile(GL_FRAGMENT_SHADER, fragment);
        if (fs == 0) return false;
        const GLuint program = glCreateProgram();
        glAttachShader(program, vs);
        glAttachShader(program, fs);
        for (int k = 0; k < 6; ++k) glBindAttribLocation(program, k, kAttributes[k]);
        glLinkProgram(program);
        GLint ok = 0;
        glGetProgramiv(program, GL_LINK_STATUS, &ok);
        if (!ok) {
            std::fprintf(stderr, "fourview: the shader does not link\n");
            return false;
        }
        p = Program{};
        p.id = program;
        glUseProgram(program);
        const auto at = [program](const char* name) { return glGetUniformLocation(program, name); };
        Uniforms& u = p.u;
        u = Uniforms{at("u_projection"), at("u_modelview"), at("u_viewport"), at("u_ambient"),
                     at("u_diffuse"), at("u_specular"), at("u_emission"), at("u_shininess"),
                     at("u_colour_use"), at("u_light_ambient"), at("u_light_diffuse"),
                     at("u_light_specular"), at("u_light_position"), at("u_spot_direction"),
                     at("u_spot_exponent"), at("u_offset"), at("u_stops")};
        // The stops as the desktop's texels of 8 bits.
        float stops[9];
        for (int k = 0; k < 3; ++k) {
            const Colour c = w_colour(k - 1, 1);
            const float rgb[3] = {c.r, c.g, c.b};
            for (int i = 0; i < 3; ++i) stops[3 * k + i] = std::round(rgb[i] * 255) / 255;
        }
        glUniform3fv(u.stops, 3, stops);
        // The scene's lights, 1 and 2 of the desktop; light 0 lights only
        // the label background, which the page draws with its colours.
        float ambient[8], diffuse[8], specular[8], position[8], direction[6], exponent[2];
        for (int i = 0; i < 2; ++i) {
            const LightValues& l = kGraphLights[i + 1];
            std::memcpy(ambient + 4 * i, l.ambient, sizeof l.ambient);
            std::memcpy(diffuse + 4 * i, l.diffuse, sizeof l.diffuse);
            std::memcpy(specular + 4 * i, l.specular, sizeof l.specular);
            std::memcpy(position + 4 * i, l.position, sizeof l.position);
            std::memcpy(direction + 3 * i, l.spot_direction, sizeof l.spot_direction);
            exponent[i] = l.spot_exponent < 0 ? 0 : l.spot_exponent;
        }
        glUniform4fv(u.light_ambient, 2, ambient);
        glUniform4fv(u.light_diffuse, 2, diffuse);
        glUniform4fv(u.light_specular, 2, specular);
        glUniform4fv(u.light_position, 2, position);
        glUniform3fv(u.spot_direction, 2, direction);
        glUniform1fv(u.spot_exponent, 2, exponent);
        return true;
    }

    bool start() {
        const GLuint vertex[2] = {compile(GL_VERTEX_SHADER, kVertexShader),
                                  compile(GL_VERTEX_SHADER, kVertexShader, "#define LIT 1\n")};
        const char* fragment[2] = {kFragmentShader, kPlainFragmentShader};
        for (int k = 0; k < kPrograms; ++k)
            if (vertex[k % 2] == 0 || !link(programs[k], vertex[k % 2], fragment[k / 2])) return false;
        in_use = kPrograms - 1;
        blend_on = offset_on = cull_on = -1;
        glGenVertexArrays(1, &vertex_array);
        glBindVertexArray(vertex_array);
        glGenBuffers(1, &vertex_buffer);
        glGenBuffers(1, &index_buffer);
        glBindBuffer(GL_ARRAY_BUFFER, vertex_buffer);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, index_buffer);
        int offset = 0;
        for (int k = 0; k < 6; ++k) {
            glEnableVertexAttribArray(k);
            glVertexAttribPointer(k, kAttributeSizes[k], GL_FLOAT, GL_FALSE, sizeof(Vertex),
                                  reinterpret_cast<const void*>(static_cast<intptr_t>(offset)));
            offset += kAttributeSizes[k] * static_cast<int>(sizeof(float));
        }
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LESS);
        // The only blend: multiplying (2 * src * dst), for transparent faces.
        glBlendFunc(GL_DST_COLOR, GL_SRC_COLOR);
        return true;
    }

    static void set(GLenum what, bool on, int& was) {
        if (was == (on ? 1 : 0)) return;
        if (on)
            glEnable(what);
        else
            glDisable(what);
        was = on ? 1 : 0;
    }

    bool pushed_back() const {
        return (state.offset_factor != 0 || state.offset_units != 0) && (batch_faces || batch_front);
    }
    // The program for the batch: the plain one unless a pixel of it needs
    // what only the general one does (the w scale, or faces pushed back or
    // culled in one batch with lines or other faces, which GL's switches
    // would push back or cull too).
    Shader shader_for_batch() const {
        if (state.colour_use >= 3) return kGeneral;
        if (batch_front && (batch_faces || batch_lines)) return kGeneral;
        if (pushed_back() && batch_lines) return kGeneral;
        return kPlain;
    }

    // Lit by nothing: colours as given, or a material whose only colour
    // is its emission (the lines' black).
    bool unlit() const {
        if (state.colour_use == 2) return true;
        if (state.colour_use != 0) return false;
        const MaterialValues& m = state.material;
        for (int i = 0; i < 3; ++i)
            if (m.ambient[i] != 0 || m.diffuse[i] != 0 || m.specular[i] != 0) return false;
        return true;
    }

    void send_state(Shader shader) {
        const int chosen = 2 * shader + (unlit() ? 0 : 1);
        Program& p = programs[chosen];
        if (in_use != chosen) {
            glUseProgram(p.id);
            in_use = chosen;
        }
        const Uniforms& u = p.u;
        if (p.matrices_sent != matrices_version) {
            glUniformMatrix4fv(u.projection, 1, GL_FALSE, projection_f);
            glUniformMatrix4fv(u.modelview, 1, GL_FALSE, modelview_f);
            glUniform2f(u.viewport, static_cast<float>(viewport[0]), static_cast<float>(viewport[1]));
            p.matrices_sent = matrices_version;
        }
        if (!p.state_sent || std::memcmp(&p.sent, &state, sizeof state) != 0) {
            const MaterialValues& m = state.material;
            glUniform4fv(u.ambient, 1, m.ambient);
            glUniform4fv(u.diffuse, 1, m.diffuse);
            glUniform4fv(u.specular, 1, m.specular);
            glUniform4fv(u.emission, 1, m.emission);
            glUniform1f(u.shininess, static_cast<float>(m.shininess));
            glUniform1i(u.colour_use, state.colour_use);
            glUniform2f(u.offset, state.offset_factor, state.offset_units * kDepthStep);
            p.sent = state;
            p.state_sent = true;
        }
        const bool layered = state.colour_use == 4;  // blend off, each layer its nearest face
        set(GL_BLEND, state.blend && !layered, blend_on);
        glDepthMask(state.depth_write || layered ? GL_TRUE : GL_FALSE);
        const bool plain = shader == kPlain;
        set(GL_POLYGON_OFFSET_FILL, plain && pushed_back(), offset_on);
        if (offset_on == 1 && (offset_sent[0] != state.offset_factor || offset_sent[1] != state.offset_units)) {
            glPolygonOffset(state.offset_factor, state.offset_units);
            offset_sent[0] = state.offset_factor;
            offset_sent[1] = state.offset_units;
        }
        set(GL_CULL_FACE, plain && batch_front, cull_on);
    }

    void flush() {
        if (index_count > 0) {
            send_state(shader_for_batch());
            if (state.colour_use >= 3)  // the shader reads the place from red
                for (int k = 0; k < vertex_count; ++k) {
                    float* c = vertices[k].colour;
                    c[0] = w_scale_position(Colour{c[0], c[1], c[2]});
                }
            glBufferData(GL_ARRAY_BUFFER, vertex_count * sizeof(Vertex), vertices, GL_STREAM_DRAW);
            glBufferData(GL_ELEMENT_ARRAY_BUFFER, index_count * sizeof(GLuint), indices,
                         GL_STREAM_DRAW);
            glDrawElements(batch_mode, index_count, GL_UNSIGNED_INT, nullptr);
            ++counts.draws;
            counts.vertices += vertex_count;
        }
        vertex_count = index_count = 0;
        batch_faces = batch_front = batch_lines = false;
    }

    // A change of what the batch is drawn with.
    DrawState& change() {
        flush();
        return state;
    }

    // Room for v vertices and i indices of GL_TRIANGLES or GL_LINES,
    // drawing the batch first if need be.
    int room(int v, int i, GLenum mode = GL_TRIANGLES) {
        if (vertex_count + v > kVertices || index_count + i > kIndices ||
            (mode != batch_mode && index_count > 0))
            flush();
        batch_mode = mode;
        return vertex_count;
    }

    Vertex& put(const float* p, const float* n, const float* c, float vertex_kind) {
        Vertex& v = vertices[vertex_count++];
        std::memcpy(v.position, p, sizeof v.position);
        std::memcpy(v.normal, n, sizeof v.normal);
        std::memcpy(v.colour, c, sizeof v.colour);
        std::memcpy(v.other, p, sizeof v.other);
        v.corner[0] = v.corner[1] = 0;
        v.kind = vertex_kind;
        if (vertex_kind == 0)
            batch_faces = true;
        else if (vertex_kind == 1)
            batch_front = true;
        else
            batch_lines = true;
        return v;
    }

    void triangle(int a, int b, int c) {
        indices[index_count++] = a;
        indices[index_count++] = b;
        indices[index_count++] = c;
    }

    void segment(const RawVertex& p, const RawVertex& q) {
        if (width == 1) {
            // GL's own line of 1 pixel takes the same pixels as the
            // desktop's, where a quad 1 pixel wide takes others at its
            // ends; and it is two vertices where the quad is four.
            const int first = room(2, 2, GL_LINES);
            put(p.position, p.normal, p.colour, 3);
            put(q.position, q.normal, q.colour, 3);
            indices[index_count++] = first;
            indices[index_count++] = first + 1;
            return;
        }
        const int first = room(4, 6);
        const float half = width / 2;
        const RawVertex* ends[2] = {&p, &q};
        for (int e = 0; e < 2; ++e)
            for (int side = 0; side < 2; ++side) {
                const RawVertex& r = *ends[e];
                Vertex& v = put(r.position, r.normal, r.colour, 2);
                std::memcpy(v.other, ends[1 - e]->position, sizeof v.other);
                v.corner[1] = side == 0 ? half : -half;
            }
        triangle(first, first + 1, first + 3);
        triangle(first, first + 3, first + 2);
    }

    void point(const RawVertex& p) {
        const int first = room(4, 6);
        const float half = size / 2;
        const float corners[4][2] = {{-half, -half}, {half, -half}, {half, half}, {-half, half}};
        for (const auto& c : corners) {
            Vertex& v = put(p.position, p.normal, p.colour, 3);
            v.corner[0] = c[0], v.corner[1] = c[1];
        }
        triangle(first, first + 1, first + 2);
        triangle(first, first + 2, first + 3);
    }

    // The scratch's vertices as triangles; `last` when the primitive ends
    // with them (a loop closes then).
    void emit(bool last) {
        const int n = scratch_count;
        const RawVertex* s = scratch;
        switch (kind) {
            case Primitive::kTriangles: {
                for (int k = 0; k + 2 < n; k += 3) {
                    const int first = room(3, 3);
                    for (int c = 0; c < 3; ++c) put(s[k + c].position, s[k + c].normal, s[k + c].colour, 0);
                    triangle(first, first + 1, first + 2);
                }
                break;
            }
            case Primitive::kQuadStrip: {
                // Split on the diagonal from the quad's first vertex to its
                // last, as Mesa splits a quad strip: the colours are lit at
                // the corners and blended across each triangle, so on a
                // bent quad the other diagonal shades other pixels (the
                // stereographic hypersphere's large quads showed it).
                if (n < 4) break;
                const int quads = (n - 2) / 2;
                const int first = room(2 * quads + 2, 6 * quads);
                for (int k = 0; k < 2 * quads + 2; ++k) put(s[k].position, s[k].normal, s[k].colour, 0);
                for (int q = 0; q < quads; ++q) {
                    const int a = first + 2 * q;
                    triangle(a + 2, a, a + 3);
                    triangle(a, a + 1, a + 3);
                }
                break;
            }
            case Primitive::kLines:
                for (int k = 0; k + 1 < n; k += 2) segment(s[k], s[k + 1]);
                break;
            case Primitive::kLineStrip:
            case Primitive::kLineLoop: {
                const bool closed = last && kind == Primitive::kLineLoop && n > 2;
                if (width == 1 && n >= 2) {
                    // GL's lines, each vertex given once for the two
                    // segments that meet at it.
                    const int first = room(n, 2 * n, GL_LINES);
                    for (int k = 0; k < n; ++k) put(s[k].position, s[k].normal, s[k].colour, 3);
                    for (int k = 0; k + 1 < n; ++k) {
                        indices[index_count++] = first + k;
                        indices[index_count++] = first + k + 1;
                    }
                    if (closed) {
                        indices[index_count++] = first + n - 1;
                        indices[index_count++] = first;
                    }
                    break;
                }
                for (int k = 0; k + 1 < n; ++k) segment(s[k], s[k + 1]);
                if (closed) segment(s[n - 1], s[0]);
                break;
            }
            case Primitive::kPoints:
                for (int k = 0; k < n; ++k) point(s[k]);
                break;
        }
    }

    void add_shape(const Point3* points, const Point3* normals, const int (*triangles)[3],
                   int corners, int triangle_count, float vertex_kind) {
        const int first = room(corners, 3 * triangle_count);
        for (int k = 0; k < corners; ++k) {
            float p[3], n[3];
            copy3(p, points[k]);
            copy3(n, normals[k]);
            put(p, n, current_colour, vertex_kind);
        }
        for (int t = 0; t < triangle_count; ++t)
            triangle(first + triangles[t][0], first + triangles[t][1], first + triangles[t][2]);
    }
    template <typename Shape>
    void add_shape(const Shape& s, float vertex_kind) {
        add_shape(s.points, s.normals, s.triangles, s.corner_count, s.triangle_count, vertex_kind);
    }

    Facing facing() const {
        const double* m = modelview;
        return Facing{unit_or(Point3{m[2], m[6], m[10]}, Point3{0, 0, 1}),
                      unit_or(Point3{m[0], m[4], m[8]}, Point3{1, 0, 0}),
                      unit_or(Point3{m[1], m[5], m[9]}, Point3{0, 1, 0})};
    }

    // The style brackets, as render/materials.cpp sets them on the desktop.
    void begin_surface() override {
        DrawState& s = change();
        s.offset_factor = 2;
        s.offset_units = 2;
        surface = true;
        if (app.transparent == 1) {
            s.blend = true;
            s.depth_write = false;
            s.material = kTransparentMaterial;
        } else {
            s.material = kSolidMaterial;
        }
        settle_colour_use();
    }
    void end_surface() override {
        DrawState& s = change();
        s.blend = false;
        s.depth_write = true;
        s.offset_factor = s.offset_units = 0;
        surface = false;
        settle_colour_use();
    }
    void begin_wire() override {
        DrawState& s = change();
        s.offset_factor = s.offset_units = 1;
        width = app.bold_line == 1 ? 3.0f : 1.0f;
        color(5);
        current_normal[0] = -1, current_normal[1] = 0, current_normal[2] = 0;
    }
    void end_wire() override {
        DrawState& s = change();
        s.offset_factor = s.offset_units = 0;
    }
    void part(Part) override {}
    void section_material() override { change().material = kSectionMaterial; }
    void bold_edge_material() override { change().material = kBoldEdgeMaterial; }
    void color(int index) override {
        const FlatColour c = flat_colour(index);
        const float v[4] = {c.r, c.g, c.b, 1};
        MaterialValues m = state.material;
        std::memcpy(m.ambient, v, sizeof v);
        std::memcpy(m.diffuse, v, sizeof v);
        std::memcpy(m.specular, v, sizeof v);
        if (std::memcmp(&m, &state.material, sizeof m) != 0) change().material = m;
    }
    void line_width(float pixels) override { width = pixels; }
    void point_size(float pixels) override { size = pixels; }
    void normal(const Point3& n) override { copy3(current_normal, n); }

    void begin(Primitive k) override {
        kind = k;
        open = true;
        scratch_count = 0;
    }
    void vertex(const Point3& p) override {
        if (scratch_count == kScratch) {
            // Drawn so far, and the strip goes on from its last vertices.
            emit(false);
            int carry = 0;
            if (kind == Primitive::kQuadStrip) carry = 2;
            if (kind == Primitive::kLineStrip || kind == Primitive::kLineLoop) carry = 1;
            const RawVertex first = scratch[0];
            std::memmove(scratch, scratch + kScratch - carry, carry * sizeof(RawVertex));
            scratch_count = carry;
            // A loop still closes on its first vertex.
            if (kind == Primitive::kLineLoop) segment(scratch[0], first);
        }
        RawVertex& r = scratch[scratch_count++];
        copy3(r.position, p);
        std::memcpy(r.normal, current_normal, sizeof r.normal);
        std::memcpy(r.colour, current_colour, sizeof r.colour);
    }
    void vertex(const Point3& n, const Point3& p) override {
        normal(n);
        vertex(p);
    }
    void end() override {
        emit(true);
        scratch_count = 0;
        open = false;
    }

    void tube(const Point3& p, const Point3& q, double radius) override { flat_lit_tube(*this, p, q, radius); }
    void ball(const Point3& p, double radius) override {
        ball_shape(cached_ball_table(kBallSlices, kBallStacks), p, radius, batch_shape);
        add_shape(batch_shape, 0);
    }
    void tubes(const Point3* points, const int (*pairs)[2], int count, double radius,
               int sides) override {
        const TubeTable& table = cached_tube_table(sides);
        for (int k = 0; k < count; ++k) {
            tube_shape(table, points[pairs[k][0]], points[pairs[k][1]], radius, batch_shape);
            add_shape(batch_shape, 1);
        }
    }
    void balls(const Point3* points, int count, double radius, int slices, int stacks) override {
        const BallTable& table = cached_ball_table(slices, stacks);
        for (int k = 0; k < count; ++k) {
            ball_shape(table, points[k], radius, batch_shape);
            add_shape(batch_shape, 1);
        }
    }
    void tube_paths(const Point3* points, const int* lengths, int paths, double radius,
                    int sides) override {
        const TubeTable& table = cached_tube_table(sides);
        for (int k = 0; k < paths; points += lengths[k++]) {
            if (lengths[k] == 2) {
                tube_shape(table, points[0], points[1], radius, batch_shape);
                add_shape(batch_shape, 1);
            } else if (path_shape(table, points, lengths[k], radius, path)) {
                add_shape(path, 1);
            }
        }
    }
    void thin_tube_paths(const Point3* points, const int* lengths, int paths,
                         double radius) override {
        const Facing view = facing();
        for (int k = 0; k < paths; points += lengths[k++])
            if (thin_path_shape(view, points, lengths[k], radius, path)) add_shape(path, 0);
    }
    void thin_balls(const Point3* points, int count, double radius, int rim) override {
        const Facing view = facing();
        const TubeTable& table = cached_tube_table(rim);
        for (int k = 0; k < count; ++k) {
            thin_ball_shape(view, table, points[k], radius, batch_shape);
            add_shape(batch_shape, 0);
        }
    }
    void triangle_mesh(const Point3* points, const Point3* normals, const Colour* colours,
                       const int (*triangles)[3], int triangle_count) override {
        if (triangle_count <= 0) return;
        int corners = 0;
        for (int t = 0; t < triangle_count; ++t)
            for (int c = 0; c < 3; ++c)
                if (triangles[t][c] >= corners) corners = triangles[t][c] + 1;
        if (corners > kVertices || 3 * triangle_count > kIndices) return;
        const float g = gain();
        const int first = room(corners, 3 * triangle_count);
        for (int k = 0; k < corners; ++k) {
            float p[3], n[3], c[3];
            copy3(p, points[k]);
            copy3(n, normals[k]);
            if (colours != nullptr) {
                c[0] = colours[k].r * g, c[1] = colours[k].g * g, c[2] = colours[k].b * g;
            } else {
                std::memcpy(c, current_colour, sizeof c);
            }
            put(p, n, c, 0);
        }
        for (int t = 0; t < triangle_count; ++t)
            triangle(first + triangles[t][0], first + triangles[t][1], first + triangles[t][2]);
    }

    // Colours by w on a surface's faces are places on the scale (code 3, 4
    // in two layers when transparent); the slice's cell colours are lit as
    // colour material, as lines' colours by w are.
    int colour_code() const {
        if (use == ColourUse::kLit && surface) return app.transparent == 1 ? 4 : 3;
        if (use == ColourUse::kLit || use == ColourUse::kMaterial) return 1;
        return use == ColourUse::kUnlit ? 2 : 0;
    }
    void settle_colour_use() {
        const int code = colour_code();
        if (code != state.colour_use) change().colour_use = code;
    }
    void colours(ColourUse given) override {
        use = given;
        settle_colour_use();
    }
    // As the desktop: the lights add up to an ambient of 1.4 and the blend
    // of transparent faces doubles what it receives.
    float gain() const {
        return state.colour_use != 1 ? 1.0f : surface && app.transparent == 1 ? 0.4f : 0.42f;
    }
    void colour(const Colour& c) override {
        const float g = gain();
        current_colour[0] = c.r * g;
        current_colour[1] = c.g * g;
        current_colour[2] = c.b * g;
    }
    void hand_over() override { flush(); }
} webgl_sink;

}  // namespace

bool start_webgl_geometry() { return webgl_sink.start(); }

void use_webgl_geometry() { set_geometry(&webgl_sink); }

void webgl_matrices(const double* projection, const double* modelview) {
    webgl_sink.flush();
    for (int k = 0; k < 16; ++k) {
        webgl_sink.projection_f[k] = static_cast<float>(projection[k]);
        webgl_sink.modelview_f[k] = static_cast<float>(modelview[k]);
        webgl_sink.modelview[k] = modelview[k];
    }
    ++webgl_sink.matrices_version;
}

void webgl_viewport(int width, int height) {
    webgl_sink.flush();
    webgl_sink.viewport[0] = width > 0 ? width : 1;
    webgl_sink.viewport[1] = height > 0 ? height : 1;
    glViewport(0, 0, width, height);
    ++webgl_sink.matrices_version;
}

void flush_webgl_geometry() { webgl_sink.flush(); }

WebglCounts take_webgl_counts() {
    const WebglCounts c = webgl_sink.counts;
    webgl_sink.counts = WebglCounts{};
    return c;
}

}  // namespace fourview
