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

}  // namespace fourview
