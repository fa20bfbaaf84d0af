#include "render/text.h"

#include <GL/glut.h>

#include <cstdio>

#include "app/app_state.h"
#include "app/window_system.h"
#include "draw/geometry_sink.h"
#include "geom4/projection.h"
#include "geom4/transform.h"
#include "models/mesh.h"
#include "render/caption_table.h"
#include "render/materials.h"

namespace fourview {

void draw_text(int x, int y, void* font, const char* text) {
    // The characters take their colour from lighting the raster position
    // with the current material, under light 0 alone.
    glEnable(GL_LIGHT0);
    glDisable(GL_LIGHT1);
    glDisable(GL_LIGHT2);
    const int w = window_width();
    const int h = window_height();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, w, 0, h, 0, 1);
    gluLookAt(0, 0, 0, 0, 0, -1, 0, 1, 0);
    if (font == GLUT_BITMAP_9_BY_15)
        glRasterPos3i(x + 1, h - y - 6, 0);
    else
        glRasterPos3i(x, h - y - 8, 0);
    for (const char* c = text; *c != '\0'; ++c)
        bitmap_character(font, static_cast<unsigned char>(*c));
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glDisable(GL_LIGHT0);
    glEnable(GL_LIGHT1);
    glEnable(GL_LIGHT2);
}

void draw_outlined_text(int x, int y, void* font, const char* text) {
    set_color(4);
    draw_text(x, y, font, text);
    set_color(5);
    draw_text(x - 1, y - 1, font, text);
    draw_text(x - 1, y + 1, font, text);
    draw_text(x + 1, y - 1, font, text);
    draw_text(x + 1, y + 1, font, text);
}

void draw_text_3d(double x, double y, double z, void* font, const char* text) {
    glRasterPos3d(x, y, z);
    for (const char* c = text; *c != '\0'; ++c)
        bitmap_character(font, static_cast<unsigned char>(*c));
}

namespace {

void* glut_font(CaptionFont font) {
    return font == CaptionFont::k8By13 ? GLUT_BITMAP_8_BY_13 : GLUT_BITMAP_9_BY_15;
}

}  // namespace

void draw_caption() {
    set_color(5);
    const Caption* caption = find_caption(app.model_id);
    if (caption == nullptr) return;  // a number that names no model: nothing is drawn either
    for (int i = 0; i < caption->line_count; ++i) {
        const CaptionLine& line = caption->lines[i];
        draw_text(15, line.y, glut_font(line.font), line.text);
    }
    if (caption->user_equations) {
        // The longest line: a 10-character label, " = " and a 200-character
        // equation; longer texts are cut rather than overrun.
        char line[256];
        for (int i = 0; i < 4; ++i) {
            std::snprintf(line, sizeof line, "%s = %s", UserEquationLabels[i], graph_slot0_text(i));
            draw_text(15, 49 + 24 * i, GLUT_BITMAP_9_BY_15, line);
        }
    }
    // White over black one pixel down and right: a dark edge on the lower right.
    set_color(5);
    draw_text(15, 25, GLUT_BITMAP_TIMES_ROMAN_24, caption->name);
    set_color(4);
    draw_text(14, 24, GLUT_BITMAP_TIMES_ROMAN_24, caption->name);
}

const char* axis_label_text(int k) {
    static const char* const kLetters[4] = {"x", "y", "z", "w"};
    static const char* const kUserGraph[4] = {"x", "y", "f(x, y)", "g(x, y)"};
    if (k < 0 || k > 3) return "";
    return app.model_id == kModelUserGraph ? kUserGraph[k] : kLetters[k];
}

void draw_axis(const Point4& end, int k) {
    // The base transform, not the transform: the axes show the frame of the
    // last reset and do not turn with the rotation steps.
    const Point3 q = project_point(transform_point4(app.base_transform, end));
    // Also leaves out an end projected from w = 2, which is not finite.
    if (!(q.x * q.x + q.y * q.y + q.z * q.z > kZeroSquared) || !fits_gl(q)) return;
    // Outside any bracket the line reaches GL at once, before the letter's
    // raster position is lit with the normal it leaves current.
    GeometrySink& g = geometry();
    g.begin(Primitive::kLines);
    g.vertex(Point3{0, 0, 0});
    g.vertex(q);
    g.end();
    // At 80 % of the view's half-height (3/zoom) along an axis in the screen
    // plane, moved a tenth of the half-height diagonally.
    const double shift = 3 / app.zoom * 0.1;
    draw_text_3d(q.x * 0.008 + shift, q.y * 0.008 + shift, q.z * 0.008 + shift,
                 GLUT_BITMAP_TIMES_ROMAN_24, axis_label_text(k));
}

void draw_axes() {
    static const int kColours[4] = {1, 2, 3, 5};  // red, green, blue, black
    GeometrySink& g = geometry();
    g.line_width(2.0f);
    g.normal(Point3{1, 1, 1});
    // 100 times the view's half-height: the axes cross the window at any zoom.
    const double length = 300 / app.zoom;
    const Point4 ends[4] = {{length, 0, 0, 0}, {0, length, 0, 0}, {0, 0, length, 0},
                            {0, 0, 0, length}};
    for (int k = 0; k < 4; ++k) {
        g.color(kColours[k]);
        draw_axis(ends[k], k);
    }
}

}  // namespace fourview
