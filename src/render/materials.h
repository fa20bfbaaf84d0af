// The program's materials, its seven flat colours and the style brackets
// that every surface-drawing routine puts around its faces and lines.
#pragma once

namespace fourview {

void reset_material();
void solid_material();
void transparent_material();
void bold_edge_material();
void section_material();

// 1 red, 2 green, 3 blue, 4 white, 5 black, 6 yellow, 7 grey, other black.
// Sets ambient, diffuse and specular; may be called inside glBegin/glEnd.
void set_color(int index);

// Protocol: if solid, begin_surface / faces / end_surface; then if
// wireframe, begin_wire / lines / end_wire; then the cut. Each closing step
// leaves blending off, depth writes on and polygon offset off.
void begin_surface();
void end_surface();
void begin_wire();
void end_wire();

// Colour by w. Inside a face or tube bracket, glColor sets the material's
// diffuse colour (and its ambient one, unless the faces are transparent,
// whose blend multiplies and would double it); outside, lines take glColor
// unlit, so that their colour is the scale's and not the lights'.
void begin_lit_colours(bool blended);
// What a colour of the scale becomes as glColor inside that bracket, so
// that the lights (ambient 1.4 in all) and, for transparent faces, the
// blend that doubles what it receives, bring it back near the scale's.
float lit_colour_gain(bool blended);
void end_lit_colours();
void begin_unlit_colours();
void end_unlit_colours();

}  // namespace fourview
