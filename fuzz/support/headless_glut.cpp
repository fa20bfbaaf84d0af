#include "headless_glut.h"

#include <GL/glut.h>

#include "app/app_state.h"
#include "geom4/transform.h"
#include "ui/values.h"

namespace fourview::headless {

int proportional_widths[256];
int redisplays = 0;
int reshapes = 0;
int last_reshape_width = 0, last_reshape_height = 0;

void reset_counts() {
    redisplays = 0;
    reshapes = 0;
    last_reshape_width = last_reshape_height = 0;
}

}  // namespace fourview::headless

// The GLUT fonts are addresses of these objects (freeglut_std.h).
extern "C" {
void* glutStrokeRoman;
void* glutStrokeMonoRoman;
void* glutBitmap9By15;
void* glutBitmap8By13;
void* glutBitmapTimesRoman10;
void* glutBitmapTimesRoman24;
void* glutBitmapHelvetica10;
void* glutBitmapHelvetica12;
void* glutBitmapHelvetica18;

int glutBitmapWidth(void* font, int character) {
    const int fixed = fourview::headless::fixed_font_width(font);
    if (fixed > 0) return fixed;
    return fourview::headless::proportional_widths[character & 0xff];
}
void glutSetWindow(int) {}
int glutGetWindow() { return 0; }
void glutPostRedisplay() { ++fourview::headless::redisplays; }
void glutPostWindowRedisplay(int) { ++fourview::headless::redisplays; }
void glutReshapeWindow(int width, int height) {
    ++fourview::headless::reshapes;
    fourview::headless::last_reshape_width = width;
    fourview::headless::last_reshape_height = height;
}
void glutTimerFunc(unsigned int, void (*)(int), int) {}
void glutSwapBuffers() {}
void glutBitmapCharacter(void*, int) {}
int glutGet(GLenum) { return 0; }
int glutGetModifiers() { return 0; }
}

namespace fourview::headless {

int fixed_font_width(void* font) {
    if (font == GLUT_BITMAP_8_BY_13) return 8;
    if (font == GLUT_BITMAP_9_BY_15) return 9;
    return 0;
}

}  // namespace fourview::headless

// Routines of the drawing side (render/, app/) that the panel and console
// code calls: nothing to draw without a window.
namespace fourview {

void set_color(int) {}
void show_console_notice() {}
void draw_text(int, int, void*, const char*) {}
void apply_projection() { app.frame_changed = 1; }
// What the real reset_view (app/windows.cpp) does to the state, less the
// GL matrices of the view direction.
void reset_view() {
    reset_transform();
    app.section_offset = 0.0;
    refresh_value_field(85, value_hyperplane_row);
    app.eye = {200.0, 0.0, 0.0};
    app.zoom = default_zoom(app.model_id);
    refresh_value_field(89, value_zoom_row);
    apply_projection();
}

}  // namespace fourview

// The offscreen glyphs (offscreen/bitmap_font.cpp) are read from libglut's
// own font data, which the stand-in has not; the targets never draw
// offscreen, and widths are answered as above.
namespace fourview {
void draw_bitmap_character(void*, int) {}
int bitmap_character_width(void* font, int character) { return glutBitmapWidth(font, character); }
}  // namespace fourview
