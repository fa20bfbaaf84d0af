#include "render/materials.h"

#include <GL/gl.h>

#include "app/app_state.h"
#include "draw/material_table.h"

namespace fourview {

namespace {

void material(GLenum pname, GLfloat r, GLfloat g, GLfloat b, GLfloat a) {
    const GLfloat v[4] = {r, g, b, a};
    glMaterialfv(GL_FRONT, pname, v);
}

void apply(const MaterialColours& m) {
    glMaterialfv(GL_FRONT, GL_AMBIENT, m.ambient);
    glMaterialfv(GL_FRONT, GL_DIFFUSE, m.diffuse);
    glMaterialfv(GL_FRONT, GL_SPECULAR, m.specular);
    material(GL_EMISSION, 0, 0, 0, 1);
    glMateriali(GL_FRONT, GL_SHININESS, m.shininess);
}

}  // namespace

void reset_material() { apply(kDefaultMaterial); }
void solid_material() { apply(kSolidMaterial); }
void transparent_material() { apply(kTransparentMaterial); }
void gl_bold_edge_material() { apply(kBoldEdgeMaterial); }
void gl_section_material() { apply(kSectionMaterial); }

void set_color(int index) {
    GLfloat r = 0, g = 0, b = 0;
    switch (index) {
        case 1: r = 1; break;
        case 2: g = 1; break;
        case 3: b = 1; break;
        case 4: r = g = b = 1; break;
        case 6: r = g = 1; break;
        case 7: r = g = b = 191.0f / 255.0f; break;
        default: break;  // 5 and anything unknown: black
    }
    material(GL_AMBIENT, r, g, b, 1);
    material(GL_DIFFUSE, r, g, b, 1);
    material(GL_SPECULAR, r, g, b, 1);
}

void gl_frame_material() { glMateriali(GL_FRONT, GL_SHININESS, 50); }

void gl_begin_surface() {
    // Pushed back so that the mesh lines and the cut drawn afterwards stay
    // visible. The units term is measured in steps of the depth buffer: two
    // steps of a 24-bit buffer (about 1.2e-7) clear the float rounding of
    // the depth values, but two steps of a 32-bit one (5e-10) do not, and a
    // face flat to the camera, which gets nothing from the slope term, then
    // hides the lines that lie on it. Keep the offset at the 24-bit size.
    GLint depth_bits = 24;
    glGetIntegerv(GL_DEPTH_BITS, &depth_bits);
    const int extra_bits = depth_bits > 24 ? (depth_bits > 32 ? 8 : depth_bits - 24) : 0;
    glEnable(GL_POLYGON_OFFSET_FILL);
    glPolygonOffset(2, static_cast<GLfloat>(2 << extra_bits));
    if (app.transparent == 1) {
        // Multiplying blend (2 * src * dst); with depth writes off, faces
        // behind other faces still show through.
        glEnable(GL_BLEND);
        glDepthMask(GL_FALSE);
        glBlendFunc(GL_DST_COLOR, GL_SRC_COLOR);
        transparent_material();
    } else {
        solid_material();
    }
}

void gl_end_surface() {
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
    glDisable(GL_POLYGON_OFFSET_FILL);
}

void gl_begin_wire() {
    // Acts only on filled polygons inside the bracket (tubes and balls of
    // bold edges), never on lines.
    glEnable(GL_POLYGON_OFFSET_FILL);
    glPolygonOffset(1, 1);
    glLineWidth(app.bold_line == 1 ? 3.0f : 1.0f);
    set_color(5);
    glNormal3d(-1, 0, 0);
}

void gl_end_wire() { glDisable(GL_POLYGON_OFFSET_FILL); }

}  // namespace fourview
