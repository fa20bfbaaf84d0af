#include "offscreen/bitmap_font.h"

#include <GL/freeglut.h>
#include <dlfcn.h>

#include <algorithm>
#include <cstring>

// freeglut's font record. Not in its public headers, but the same in every
// freeglut release for many years; check_bitmap_fonts verifies it on the
// library actually loaded before any glyph is drawn. The records are looked
// up by name when the figures first need them, never bound at load time:
// a freeglut that does not export them then refuses the figures with a
// line, and the windows, which draw through GLUT itself, still start.
struct FreeglutBitmapFont {
    const char* name;
    int quantity;  // glyphs, indexed by character code
    int height;
    const GLubyte** characters;  // each: width in pixels, then the rows
    float xorig, yorig;
};

namespace fourview {

namespace {

struct KnownFont {
    void* id;
    const char* symbol;  // libglut's record
    const char* name;
    int height;
};

const KnownFont kFonts[] = {
    {GLUT_BITMAP_8_BY_13, "fgFontFixed8x13",
     "-misc-fixed-medium-r-normal--13-120-75-75-C-80-iso8859-1", 14},
    {GLUT_BITMAP_9_BY_15, "fgFontFixed9x15",
     "-misc-fixed-medium-r-normal--15-140-75-75-C-90-iso8859-1", 16},
    {GLUT_BITMAP_TIMES_ROMAN_10, "fgFontTimesRoman10",
     "-adobe-times-medium-r-normal--10-100-75-75-p-54-iso8859-1", 14},
    {GLUT_BITMAP_TIMES_ROMAN_24, "fgFontTimesRoman24",
     "-adobe-times-medium-r-normal--24-240-75-75-p-124-iso8859-1", 29},
    {GLUT_BITMAP_HELVETICA_10, "fgFontHelvetica10",
     "-adobe-helvetica-medium-r-normal--10-100-75-75-p-56-iso8859-1", 14},
    {GLUT_BITMAP_HELVETICA_12, "fgFontHelvetica12",
     "-adobe-helvetica-medium-r-normal--12-120-75-75-p-67-iso8859-1", 16},
    {GLUT_BITMAP_HELVETICA_18, "fgFontHelvetica18",
     "-adobe-helvetica-medium-r-normal--18-180-75-75-p-98-iso8859-1", 23},
};
constexpr int kFontCount = sizeof kFonts / sizeof kFonts[0];

// The records found, by the index of kFonts; all null until
// check_bitmap_fonts has found every one of them.
const FreeglutBitmapFont* found[kFontCount] = {};

bool check_once() {
    static bool checked = false;
    static bool usable = false;
    if (!checked) {
        std::string problem;
        usable = check_bitmap_fonts(problem);
        checked = true;
    }
    return usable;
}

const FreeglutBitmapFont* font_for(void* id) {
    if (found[0] == nullptr && !check_once()) return nullptr;
    for (int i = 0; i < kFontCount; ++i)
        if (kFonts[i].id == id) return found[i];
    return nullptr;
}

// freeglut draws nothing for code 0 and codes past the table.
const GLubyte* glyph(void* id, int character) {
    const FreeglutBitmapFont* f = font_for(id);
    if (f == nullptr || character < 1 || character > 255) return nullptr;
    return f->characters[character];
}

}  // namespace

bool check_bitmap_fonts(std::string& problem) {
    const FreeglutBitmapFont* records[kFontCount];
    for (int i = 0; i < kFontCount; ++i) {
        const KnownFont& k = kFonts[i];
        records[i] = static_cast<const FreeglutBitmapFont*>(dlsym(RTLD_DEFAULT, k.symbol));
        if (records[i] == nullptr) {
            problem = std::string("this freeglut does not export its bitmap fonts (") + k.symbol +
                      "), which the figures draw their texts with";
            return false;
        }
        const FreeglutBitmapFont& f = *records[i];
        const bool same = f.name != nullptr && std::strcmp(f.name, k.name) == 0 &&
                          f.quantity == 256 && f.height == k.height && f.characters != nullptr &&
                          f.characters['M'] != nullptr && f.characters['M'][0] > 0 &&
                          f.characters['M'][0] < 64;
        if (!same) {
            problem = std::string("the bitmap fonts of this freeglut are not laid out as expected (") +
                      k.name + ")";
            return false;
        }
    }
    std::copy(records, records + kFontCount, found);
    return true;
}

void draw_bitmap_character(void* font, int character) {
    const GLubyte* face = glyph(font, character);
    if (face == nullptr) return;
    const FreeglutBitmapFont* f = font_for(font);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_SWAP_BYTES, GL_FALSE);
    glPixelStorei(GL_UNPACK_LSB_FIRST, GL_FALSE);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glBitmap(face[0], f->height, f->xorig, f->yorig, static_cast<float>(face[0]), 0.0f, face + 1);
    glPopClientAttrib();
}

int bitmap_character_width(void* font, int character) {
    const GLubyte* face = glyph(font, character);
    return face == nullptr ? 0 : face[0];
}

}  // namespace fourview
