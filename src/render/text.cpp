#include "render/text.h"

#include <GL/glut.h>

#include <cstdio>

#include "app/app_state.h"
#include "app/window_system.h"
#include "draw/geometry_sink.h"
#include "geom4/projection.h"
#include "geom4/stereo.h"
#include "geom4/transform.h"
#include "models/lattice.h"
#include "models/mesh.h"
#include "models/polychora.h"
#include "render/caption_table.h"
#include "render/materials.h"

namespace fourview {

void push_window_matrices() {
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
}

void pop_window_matrices() {
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

void draw_text(int x, int y, void* font, const char* text) {
    // The characters take their colour from lighting the raster position
    // with the current material, under light 0 alone.
    glEnable(GL_LIGHT0);
    glDisable(GL_LIGHT1);
    glDisable(GL_LIGHT2);
    const int w = window_width();
    const int h = window_height();
    push_window_matrices();
    glOrtho(0, w, 0, h, 0, 1);
    gluLookAt(0, 0, 0, 0, 0, -1, 0, 1, 0);
    if (font == GLUT_BITMAP_9_BY_15)
        glRasterPos3i(x + 1, h - y - 6, 0);
    else
        glRasterPos3i(x, h - y - 8, 0);
    for (const char* c = text; *c != '\0'; ++c)
        bitmap_character(font, static_cast<unsigned char>(*c));
    pop_window_matrices();
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

void draw_haloed_text(int x, int y, void* font, const char* text, bool white_ink) {
    // The ink first, then the eight neighbours in the other colour: text is
    // drawn at the near plane with the depth test on, so a pixel once
    // written keeps its colour, and the neighbours only fill a one-pixel
    // ring around every stroke, whatever lies beneath. Unlit, the raster
    // position takes the colour as it is given.
    const GLboolean lit = glIsEnabled(GL_LIGHTING);
    glDisable(GL_LIGHTING);
    const GLfloat ink = white_ink ? 1.0f : 0.0f;
    glColor3f(ink, ink, ink);
    draw_text(x, y, font, text);
    glColor3f(1 - ink, 1 - ink, 1 - ink);
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (dx != 0 || dy != 0) draw_text(x + dx, y + dy, font, text);
    if (lit) glEnable(GL_LIGHTING);
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

// Text from x = 15 in lines that end at a space before the window's edge
// (a word wider than the window is cut where it reaches it), from the line
// at y on, `step` apart; the y after the last line. Allocates nothing.
int draw_wrapped(const char* text, void* font, int y, int step, bool outlined) {
    const int room = window_width() - 30;
    char line[512];
    while (*text != '\0') {
        // A count stays with its name: a line ends after a comma or
        // before a "+" where it can, else at any space.
        int width = 0, length = 0, fit = 0, fit_group = 0;
        while (text[length] != '\0' && length + 1 < static_cast<int>(sizeof line)) {
            width += bitmap_width(font, static_cast<unsigned char>(text[length]));
            if (width > room && length > 0) break;
            ++length;
            if (text[length] == ' ' || text[length] == '\0') fit = length;
            if (text[length] == '\0' || (text[length] == ' ' && (text[length - 1] == ',' || text[length + 1] == '+')))
                fit_group = length;
        }
        if (fit_group > 0) fit = fit_group;
        if (fit == 0) fit = length > 0 ? length : 1;
        std::snprintf(line, sizeof line, "%.*s", fit, text);
        if (outlined) {
            set_color(5);
            draw_text(15, y + 1, font, line);
            set_color(4);
            draw_text(14, y, font, line);
        } else {
            draw_text(15, y, font, line);
        }
        y += step;
        text += fit;
        while (*text == ' ') ++text;
    }
    return y;
}

// A uniform polychoron's caption: its name and its counts, wrapped.
void draw_uniform_caption() {
    const PolytopeLattice* p = find_lattice(kModelUniform);
    if (p == nullptr) return;
    const int below_name = draw_wrapped(p->name.c_str(), GLUT_BITMAP_TIMES_ROMAN_24, 24, 28, true);
    set_color(5);
    draw_wrapped(uniform_caption_counts(), GLUT_BITMAP_9_BY_15, below_name - 3, 24, false);
}

}  // namespace

void draw_caption() {
    if (app.model_id == kModelUniform) {
        draw_uniform_caption();
        return;
    }
    set_color(5);
    const Caption* caption = find_caption(app.model_id);
    if (caption == nullptr) return;  // a number that names no model: nothing is drawn either
    // The stereographic shadow and the colours by w fill the window with
    // colour, dark and light: there the caption's black lines get a white
    // halo and the name a black one, to stay readable over any of it.
    if (app.projection_mode == kProjectionStereographic || app.colour_by_w == 1) {
        for (int i = 0; i < caption->line_count; ++i) {
            const CaptionLine& line = caption->lines[i];
            draw_haloed_text(15, line.y, glut_font(line.font), line.text, false);
        }
        char line[256];
        for (int i = 0; caption->user_equations && i < 4; ++i) {
            std::snprintf(line, sizeof line, "%s = %s", UserEquationLabels[i], graph_slot0_text(i));
            draw_haloed_text(15, 49 + 24 * i, GLUT_BITMAP_9_BY_15, line, false);
        }
        draw_haloed_text(14, 24, GLUT_BITMAP_TIMES_ROMAN_24, caption->name, true);
        return;
    }
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

BarPlace colour_bar_place(int width, int height) {
    constexpr int kWidth = 120, kHeight = 12, kRight = 16, kBottom = 30;
    return BarPlace{width - kRight - kWidth, height - kBottom - kHeight, width - kRight,
                    height - kBottom};
}

void draw_colour_bar() {
    const int w = window_width(), h = window_height();
    const BarPlace bar = colour_bar_place(w, h);
    const double r = app.model_radius;
    push_window_matrices();
    glOrtho(0, w, h, 0, -1, 1);  // window pixels, y downwards
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    // Three stops, as the scale has them: the quads interpolate between.
    glBegin(GL_QUAD_STRIP);
    for (int k = 0; k <= 2; ++k) {
        const double x = bar.x0 + (bar.x1 - bar.x0) * k / 2.0;
        glColor3fv(w_colour((k - 1) * r, r).data());
        glVertex2d(x, bar.y0);
        glVertex2d(x, bar.y1);
    }
    glEnd();
    glColor3f(0, 0, 0);
    glLineWidth(1.0f);
    glBegin(GL_LINE_LOOP);
    glVertex2d(bar.x0 + 0.5, bar.y0 + 0.5);
    glVertex2d(bar.x1 - 0.5, bar.y0 + 0.5);
    glVertex2d(bar.x1 - 0.5, bar.y1 - 0.5);
    glVertex2d(bar.x0 + 0.5, bar.y1 - 0.5);
    glEnd();
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    pop_window_matrices();

    char low[32], high[32];
    std::snprintf(low, sizeof low, "%.3g", -r);
    std::snprintf(high, sizeof high, "+%.3g", r);
    void* font = GLUT_BITMAP_HELVETICA_12;
    int high_width = 0;
    for (const char* c = high; *c != '\0'; ++c) high_width += bitmap_width(font, *c);
    // Black on a white halo: legible over any model beneath.
    draw_haloed_text(bar.x0, bar.y1 + 6, font, low, false);
    draw_haloed_text(bar.x1 - high_width, bar.y1 + 6, font, high, false);
    draw_haloed_text((bar.x0 + bar.x1) / 2 - bitmap_width(font, 'w') / 2, bar.y1 + 6, font, "w", false);
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
