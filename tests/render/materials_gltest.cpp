// The materials, colours and style brackets as the GL state they leave.
#include <GL/freeglut.h>

#include <array>

#include "app/app_state.h"
#include "gl_fixture.h"
#include "render/materials.h"

namespace fourview {
namespace {

class MaterialsTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing::start_program();
        glutSetWindow(app.graph_window);
    }
};

using Rgba = std::array<float, 4>;

Rgba material(GLenum what) {
    Rgba v{};
    glGetMaterialfv(GL_FRONT, what, v.data());
    return v;
}

float shininess() {
    float s = -1;
    glGetMaterialfv(GL_FRONT, GL_SHININESS, &s);
    return s;
}

void expect_rgba(const Rgba& got, const Rgba& want, const char* what) {
    for (int i = 0; i < 4; ++i) EXPECT_FLOAT_EQ(got[i], want[i]) << what << " [" << i << "]";
}

TEST_F(MaterialsTest, EachMaterialStartsFromTheResetValues) {
    const struct {
        const char* name;
        void (*set)();
        Rgba ambient, diffuse, specular;
        float shininess;
    } table[] = {
        {"reset", reset_material, {0.2f, 0.2f, 0.2f, 1}, {0.8f, 0.8f, 0.8f, 1}, {0, 0, 0, 1}, 0},
        {"solid", solid_material, {0.4f, 0.4f, 0.7f, 1}, {0.2f, 0.2f, 0.5f, 1}, {0.7f, 0.7f, 0.7f, 1},
         50},
        {"transparent", transparent_material, {0.2f, 0.2f, 0.2f, 1}, {0.4f, 0.4f, 0.8f, 0.3f},
         {0.6f, 0.6f, 0.6f, 1}, 50},
        {"bold edge", bold_edge_material, {0.5f, 0.5f, 1, 1}, {0.4f, 0.4f, 0.4f, 1}, {0, 0, 0, 1}, 0},
        {"section", section_material, {0.9f, 0.2f, 0.2f, 1}, {0.2f, 0.2f, 0.2f, 1},
         {0.9f, 0.3f, 0.3f, 1}, 50},
    };
    for (const auto& m : table) {
        // Something else first, so that a component left unset shows.
        set_color(6);
        glMaterialf(GL_FRONT, GL_SHININESS, 99);
        const GLfloat glow[4] = {0.5f, 0.5f, 0.5f, 1};
        glMaterialfv(GL_FRONT, GL_EMISSION, glow);
        m.set();
        expect_rgba(material(GL_AMBIENT), m.ambient, m.name);
        expect_rgba(material(GL_DIFFUSE), m.diffuse, m.name);
        expect_rgba(material(GL_SPECULAR), m.specular, m.name);
        expect_rgba(material(GL_EMISSION), {0, 0, 0, 1}, m.name);
        EXPECT_FLOAT_EQ(shininess(), m.shininess) << m.name;
    }
}

TEST_F(MaterialsTest, SetColorSetsThreeComponentsAndKeepsTheShininess) {
    const struct {
        int index;
        Rgba rgba;
    } table[] = {
        {1, {1, 0, 0, 1}}, {6, {1, 1, 0, 1}}, {7, {191 / 255.0f, 191 / 255.0f, 191 / 255.0f, 1}},
        {0, {0, 0, 0, 1}}, {8, {0, 0, 0, 1}},
    };
    for (const auto& c : table) {
        section_material();
        set_color(c.index);
        expect_rgba(material(GL_AMBIENT), c.rgba, "ambient");
        expect_rgba(material(GL_DIFFUSE), c.rgba, "diffuse");
        expect_rgba(material(GL_SPECULAR), c.rgba, "specular");
        EXPECT_FLOAT_EQ(shininess(), 50) << "index " << c.index;
    }
}

GLboolean depth_mask() {
    GLboolean m = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &m);
    return m;
}

float get_float(GLenum what) {
    float v = 0;
    glGetFloatv(what, &v);
    return v;
}

TEST_F(MaterialsTest, TransparentSurfaceBlendsByMultiplyingWithoutDepthWrites) {
    app.transparent = 1;
    begin_surface();
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(depth_mask());
    GLint src = 0, dst = 0;
    glGetIntegerv(GL_BLEND_SRC_RGB, &src);
    glGetIntegerv(GL_BLEND_DST_RGB, &dst);
    EXPECT_EQ(src, GL_DST_COLOR);
    EXPECT_EQ(dst, GL_SRC_COLOR);
    EXPECT_TRUE(glIsEnabled(GL_POLYGON_OFFSET_FILL));
    EXPECT_FLOAT_EQ(get_float(GL_POLYGON_OFFSET_FACTOR), 2);
    // Two steps of a 24-bit depth buffer, whatever depth the window has.
    GLint bits = 0;
    glGetIntegerv(GL_DEPTH_BITS, &bits);
    EXPECT_FLOAT_EQ(get_float(GL_POLYGON_OFFSET_UNITS), bits > 24 ? 2 << (bits - 24) : 2);
    expect_rgba(material(GL_DIFFUSE), {0.4f, 0.4f, 0.8f, 0.3f}, "transparent");
    end_surface();
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(depth_mask());
    EXPECT_FALSE(glIsEnabled(GL_POLYGON_OFFSET_FILL));
}

TEST_F(MaterialsTest, WireIsBlackWithAFixedNormalAndItsWidth) {
    for (int bold : {0, 1}) {
        app.bold_line = bold;
        glNormal3d(1, 1, 1);
        begin_wire();
        EXPECT_FLOAT_EQ(get_float(GL_LINE_WIDTH), bold == 1 ? 3 : 1);
        expect_rgba(material(GL_DIFFUSE), {0, 0, 0, 1}, "wire");
        float normal[4] = {};
        glGetFloatv(GL_CURRENT_NORMAL, normal);
        EXPECT_FLOAT_EQ(normal[0], -1);
        EXPECT_FLOAT_EQ(normal[1], 0);
        EXPECT_FLOAT_EQ(normal[2], 0);
        EXPECT_TRUE(glIsEnabled(GL_POLYGON_OFFSET_FILL));
        EXPECT_FLOAT_EQ(get_float(GL_POLYGON_OFFSET_FACTOR), 1);
        end_wire();
        EXPECT_FALSE(glIsEnabled(GL_POLYGON_OFFSET_FILL));
    }
}

}  // namespace
}  // namespace fourview
