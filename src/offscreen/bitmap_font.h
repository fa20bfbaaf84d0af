// GLUT's bitmap fonts drawn without GLUT's window state. freeglut refuses
// glutBitmapCharacter before glutInit, and glutInit needs a display; the
// glyphs themselves are plain data in libglut, so an offscreen frame draws
// the very same bitmaps with the very same glBitmap call.
#pragma once

#include <string>

namespace fourview {

// Checks once that libglut's font records have the layout read here (256
// glyphs each, the known face names and heights). False, with a reason,
// when this freeglut lays them out otherwise: nothing may then be drawn.
bool check_bitmap_fonts(std::string& problem);

// As glutBitmapCharacter and glutBitmapWidth, for the GLUT_BITMAP_* ids.
void draw_bitmap_character(void* font, int character);
int bitmap_character_width(void* font, int character);

}  // namespace fourview
