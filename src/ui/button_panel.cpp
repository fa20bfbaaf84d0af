#include "ui/button_panel.h"

#include <GL/glut.h>

#include <cstring>

#include "render/materials.h"
#include "render/text.h"
#include "app/window_system.h"

namespace fourview {

void set_button_text(ButtonPanel& b, const char* text) {
    std::strncpy(b.text, text, kButtonTextSize - 1);
    b.text[kButtonTextSize - 1] = '\0';
}

void place_button_text_for_width(ButtonPanel& b, int text_width) {
    if (b.align == 1)
        b.text_x = 2;
    else if (b.align == 2)
        b.text_x = b.width - text_width - 2;
    else
        b.text_x = static_cast<int>((b.width - text_width) * 0.5);  // toward zero
    // draw_text puts the baseline 8 pixels below its y; these offsets bring
    // the baseline of a 30-pixel button 20 (Helvetica 12) or 21 pixels down.
    const bool small = b.font == GLUT_BITMAP_HELVETICA_12 || b.font == GLUT_BITMAP_8_BY_13;
    b.text_y = static_cast<int>(b.height * 0.5) - (small ? 3 : 2);
}

void place_button_text(ButtonPanel& b) {
    int w = 0;
    for (const char* c = b.text; *c != '\0'; ++c)
        w += bitmap_width(b.font, static_cast<unsigned char>(*c));
    place_button_text_for_width(b, w);
}

void draw_button(const ButtonPanel& b, int raised) {
    glLineWidth(1.0f);
    glBegin(GL_LINES);
    set_color(raised == 1 ? 4 : 5);  // light from the top left when raised
    glVertex2i(b.x, b.y + 1);
    glVertex2i(b.x + b.width, b.y + 1);
    glVertex2i(b.x, b.y);
    glVertex2i(b.x, b.y + b.height);
    set_color(raised == 1 ? 5 : 4);
    glVertex2i(b.x, b.y + b.height);
    glVertex2i(b.x + b.width, b.y + b.height);
    glVertex2i(b.x + b.width - 1, b.y);
    glVertex2i(b.x + b.width - 1, b.y + b.height);
    glEnd();

    // A pressed label moves one pixel down and right, with the bevel.
    const int shift = raised == 1 ? 0 : 1;
    const int tx = b.x + b.text_x + shift, ty = b.y + b.text_y + shift;
    set_color(4);
    draw_text(tx - 1, ty - 1, b.font, b.text);
    if (*b.enable == 1) {
        set_color(5);
        draw_text(tx, ty, b.font, b.text);
        return;
    }
    // An option that is off: mid grey. Lit, any grey here comes out white,
    // for draw_text's light 0 keeps OpenGL's white diffuse and specular in
    // the panels; unlit, the glyphs take the current colour as it is.
    glDisable(GL_LIGHTING);
    glColor3ub(kOffLabelGrey, kOffLabelGrey, kOffLabelGrey);
    draw_text(tx, ty, b.font, b.text);
    glEnable(GL_LIGHTING);
}

int button_hit(const ButtonPanel& b, int x, int y) {
    return x >= b.x && y >= b.y && x <= b.x + b.width && y <= b.y + b.height ? 1 : 0;
}

void reshape_panel(int window, int width, int height, int fixed_width, int fixed_height) {
    if (height == 0) return;
    select_window(window);
    if (width != fixed_width || height != fixed_height) reshape_window(fixed_width, fixed_height);
    glViewport(0, 0, fixed_width, fixed_height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, fixed_width, fixed_height, 0, 0, 100);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(0, 0, 10, 0, 0, 0, 0, 1, 0);
}

}  // namespace fourview
