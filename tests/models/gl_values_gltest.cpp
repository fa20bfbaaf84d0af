// No model hands GL a coordinate or normal that is not a finite number, at
// any rotation, with either projection, also with points exactly at the eye
// distance w = 2 of the perspective projection and with the cut there.
#include <GL/freeglut.h>

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>

#include "app/app_state.h"
#include "geom4/projection.h"
#include "geom4/transform.h"
#include "gl_fixture.h"
#include "gl_values.h"
#include "models/tables.h"
#include "render/frame.h"

extern "C" {
void __real_glVertex3d(GLdouble x, GLdouble y, GLdouble z);
void __real_glVertex3dv(const GLdouble* v);
void __real_glNormal3d(GLdouble x, GLdouble y, GLdouble z);
void __real_glNormal3dv(const GLdouble* v);
void __real_glTranslated(GLdouble x, GLdouble y, GLdouble z);
void __real_glRasterPos3d(GLdouble x, GLdouble y, GLdouble z);
void __real_glMultMatrixd(const GLdouble* m);
void __real_glVertexPointer(GLint size, GLenum type, GLsizei stride, const GLvoid* p);
void __real_glNormalPointer(GLenum type, GLsizei stride, const GLvoid* p);
void __real_glDrawArrays(GLenum mode, GLint first, GLsizei count);
void __real_glMultiDrawArrays(GLenum mode, const GLint* first, const GLsizei* count, GLsizei n);
}

namespace fourview {
namespace testing {

namespace {
GlValues seen;

void note(double v) {
    ++seen.values;
    // GL works in single precision: beyond its range a double becomes infinite.
    if (!(std::fabs(v) < FLT_MAX)) ++seen.bad;
}
void note3(double x, double y, double z) {
    note(x);
    note(y);
    note(z);
}
}  // namespace

void reset_gl_values() { seen = GlValues{}; }
GlValues gl_values() { return seen; }

}  // namespace testing
}  // namespace fourview

using fourview::testing::note3;

extern "C" void __wrap_glVertex3d(GLdouble x, GLdouble y, GLdouble z) {
    note3(x, y, z);
    __real_glVertex3d(x, y, z);
}
extern "C" void __wrap_glVertex3dv(const GLdouble* v) {
    note3(v[0], v[1], v[2]);
    __real_glVertex3dv(v);
}
extern "C" void __wrap_glNormal3d(GLdouble x, GLdouble y, GLdouble z) {
    note3(x, y, z);
    __real_glNormal3d(x, y, z);
}
extern "C" void __wrap_glNormal3dv(const GLdouble* v) {
    note3(v[0], v[1], v[2]);
    __real_glNormal3dv(v);
}
extern "C" void __wrap_glTranslated(GLdouble x, GLdouble y, GLdouble z) {
    note3(x, y, z);
    __real_glTranslated(x, y, z);
}
extern "C" void __wrap_glRasterPos3d(GLdouble x, GLdouble y, GLdouble z) {
    note3(x, y, z);
    __real_glRasterPos3d(x, y, z);
}
// The batches of the GL back end: every vertex and normal of every array
// drawn (the back end hands over tightly packed floats).
namespace {
const GLfloat* vertex_array = nullptr;
const GLfloat* normal_array = nullptr;
void note_arrays(GLint first, GLsizei count) {
    for (GLint i = first; i < first + count; ++i) {
        if (vertex_array != nullptr) note3(vertex_array[3 * i], vertex_array[3 * i + 1], vertex_array[3 * i + 2]);
        if (normal_array != nullptr) note3(normal_array[3 * i], normal_array[3 * i + 1], normal_array[3 * i + 2]);
    }
}
}  // namespace
extern "C" void __wrap_glVertexPointer(GLint size, GLenum type, GLsizei stride, const GLvoid* p) {
    const bool packed = size == 3 && type == GL_FLOAT && stride == 0;
    vertex_array = packed ? static_cast<const GLfloat*>(p) : nullptr;
    EXPECT_TRUE(packed) << "an array the watch cannot read";
    __real_glVertexPointer(size, type, stride, p);
}
extern "C" void __wrap_glNormalPointer(GLenum type, GLsizei stride, const GLvoid* p) {
    const bool packed = type == GL_FLOAT && stride == 0;
    normal_array = packed ? static_cast<const GLfloat*>(p) : nullptr;
    EXPECT_TRUE(packed) << "an array the watch cannot read";
    __real_glNormalPointer(type, stride, p);
}
extern "C" void __wrap_glDrawArrays(GLenum mode, GLint first, GLsizei count) {
    note_arrays(first, count);
    __real_glDrawArrays(mode, first, count);
}
extern "C" void __wrap_glMultiDrawArrays(GLenum mode, const GLint* first, const GLsizei* count,
                                         GLsizei n) {
    for (GLsizei k = 0; k < n; ++k) note_arrays(first[k], count[k]);
    __real_glMultiDrawArrays(mode, first, count, n);
}
extern "C" void __wrap_glMultMatrixd(const GLdouble* m) {
    for (int i = 0; i < 16; i += 4) note3(m[i], m[i + 1], m[i + 2]);
    __real_glMultMatrixd(m);
}

namespace fourview {
namespace {

class GlValuesTest : public ::testing::Test {
protected:
    void SetUp() override { testing::start_program(); }
};

// A whole frame in feedback mode: every value still passes the wrappers,
// and nothing is rasterised.
testing::GlValues frame_values() {
    return testing::watch_gl_values([] { testing::count_feedback([] { display_graph(); }); });
}

const ModelId kModels[] = {0, 1, 2, 3, 4, 5, 6, 7, 10, 11, 12, 13, 14, 15, 16, 17, 20};

TEST_F(GlValuesTest, TheWatchSeesWhatTheLibraryDraws) {
    const testing::GlValues drawn = testing::watch_gl_values([] { display_graph(); });
    EXPECT_GT(drawn.values, 500) << "the hypercube's vertices pass through the wrappers";
    EXPECT_EQ(drawn.bad, 0);
    const testing::GlValues bad = testing::watch_gl_values([] {
        testing::count_feedback([] {
            glBegin(GL_POINTS);
            glVertex3d(NAN, 0, 0);
            glVertex3d(1e300, 0, 0);
            glEnd();
        });
    });
    EXPECT_EQ(bad.bad, 2);
}

TEST_F(GlValuesTest, PointsAtTheEyeDistanceReallyProjectToInfinity) {
    // The cases below put vertices exactly at w = 2: make sure they get there.
    app.projection_mode = kProjectionPerspective;
    Matrix5 shift = identity_matrix5();
    shift[19] = 1.0;  // w + 1
    const Point3 p = project_point(transform_point4(shift, HypercubeVertices[1]));
    EXPECT_FALSE(std::isfinite(p.x));
}

struct Case {
    std::string name;
    Matrix5 transform;
    double section_offset;
};

// The identity, shifts in w that put whole models or single vertices at
// w = 2 (the 3D models at w = 0, the hypercube, 5-cell, 4D Klein bottle and
// hypersphere all have points at w = 1 exactly), and random rotations.
std::vector<Case> cases() {
    std::vector<Case> out;
    for (double shift : {0.0, 1.0, 2.0}) {
        Matrix5 m = identity_matrix5();
        m[19] = shift;
        out.push_back({"w shift " + std::to_string(shift), m, shift == 0.0 ? 0.0 : 2.0});
    }
    std::mt19937 random(4);
    for (int k = 0; k < 6; ++k) {
        Matrix5 m = identity_matrix5();
        for (int step = 0; step < 8; ++step) {
            const int code = std::uniform_int_distribution<int>(1, 12)(random);
            const int angle = std::uniform_int_distribution<int>(0, 359)(random);
            m = multiply_matrix5(m, step_matrix_for(code, angle));
        }
        m[19] = k % 3;  // some also shifted toward the eye
        out.push_back({"rotation " + std::to_string(k), m, 0.5 * (k % 5)});
    }
    return out;
}

TEST_F(GlValuesTest, NoModelHandsGlANonFiniteValue) {
    const std::vector<Case> all = cases();
    for (int bold : {0, 1})
        for (int projection : {kProjectionParallel, kProjectionPerspective})
            for (const Case& c : all)
                for (ModelId model : kModels) {
                    // Every field a case changes is set afresh.
                    app.model_id = model;
                    app.high_quality = 0;
                    app.mesh_resolution = 25;
                    app.cross_section = 1;
                    app.bold_line = bold;
                    app.transparent = bold == 1 ? 0 : 1;
                    app.projection_mode = projection;
                    app.transform = c.transform;
                    app.section_offset = c.section_offset;
                    const testing::GlValues v = frame_values();
                    EXPECT_EQ(v.bad, 0) << "model " << model << ", " << c.name << ", projection "
                                        << projection << ", bold " << bold;
                }
}

TEST_F(GlValuesTest, FullResolutionWithTheModelsAtTheEye) {
    for (ModelId model : kModels) {
        testing::restore_start_state();
        app.model_id = model;
        app.cross_section = 1;
        app.transform[19] = 1.0;
        app.section_offset = 1.0;
        const testing::GlValues v = frame_values();
        EXPECT_EQ(v.bad, 0) << "model " << model;
    }
}

TEST_F(GlValuesTest, ZoomDraggedToZeroDrawsNoAxisToInfinity) {
    // Shift-drag keeps the zoom only non-negative: the axes' length 300/zoom
    // is then infinite.
    app.zoom = 0.0;
    const testing::GlValues v = testing::watch_gl_values([] { display_graph(); });
    EXPECT_EQ(v.bad, 0);
}

}  // namespace
}  // namespace fourview
