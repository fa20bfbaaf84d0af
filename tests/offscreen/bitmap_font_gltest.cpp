// The offscreen glyphs against freeglut's own, in a real GLUT window: every
// character of every bitmap font, its pixels, its advance and its width.
#include <GL/freeglut.h>

#include <string>

#include "gl_fixture.h"
#include "offscreen/bitmap_font.h"

namespace fourview {
namespace {

using testing::Pixels;

void* const kFonts[] = {GLUT_BITMAP_8_BY_13,        GLUT_BITMAP_9_BY_15,
                        GLUT_BITMAP_TIMES_ROMAN_10, GLUT_BITMAP_TIMES_ROMAN_24,
                        GLUT_BITMAP_HELVETICA_10,   GLUT_BITMAP_HELVETICA_12,
                        GLUT_BITMAP_HELVETICA_18};

// Codes 0 to 255 (0 draws nothing in either), 32 to a row, each font in its
// own band; the unpack state left odd on purpose, as a caller might.
Pixels draw_all(void (*draw)(void*, int), float& end_x) {
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glClearColor(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glColor3f(0.2f, 0.4f, 0.6f);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 640, 0, 480, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 3);
    for (int f = 0; f < 7; ++f)
        for (int row = 0; row < 8; ++row) {
            glRasterPos2i(2 + 80 * f, 470 - 8 * row - 60 * (f % 2));
            for (int c = 32 * row; c < 32 * row + 32; ++c) draw(kFonts[f], c);
        }
    GLfloat raster[4];
    glGetFloatv(GL_CURRENT_RASTER_POSITION, raster);
    end_x = raster[0];
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glEnable(GL_LIGHTING);
    glEnable(GL_DEPTH_TEST);
    return testing::read_back_buffer();
}

TEST(BitmapFont, SameGlyphsAdvancesAndWidthsAsFreeglut) {
    testing::start_program();
    std::string problem;
    ASSERT_TRUE(check_bitmap_fonts(problem)) << problem;
    for (void* font : kFonts)
        for (int c = -1; c <= 256; ++c)
            ASSERT_EQ(bitmap_character_width(font, c), glutBitmapWidth(font, c)) << c;
    float glut_end = 0, own_end = 0;
    const Pixels glut = draw_all(glutBitmapCharacter, glut_end);
    const Pixels own = draw_all(draw_bitmap_character, own_end);
    EXPECT_EQ(own_end, glut_end);
    ASSERT_EQ(own.data.size(), glut.data.size());
    EXPECT_TRUE(own.data == glut.data);
    int drawn = 0;
    for (uint8_t v : glut.data) drawn += v != 255;
    EXPECT_GT(drawn, 10000) << "the glyphs were drawn at all";
}

}  // namespace
}  // namespace fourview
