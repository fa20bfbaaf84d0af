// The program's materials, its seven flat colours and the style brackets
// that every surface-drawing routine puts around its faces and lines.
#pragma once

// begin_surface, end_surface, begin_wire, end_wire, bold_edge_material and
// section_material, as the drawing code calls them: through the geometry
// back end in force, which keeps them in order with what it has batched.
#include "draw/geometry_sink.h"

namespace fourview {

void reset_material();
void solid_material();
void transparent_material();
// The GL side of the two model materials, called by the GL back end.
void gl_bold_edge_material();
void gl_section_material();

// 1 red, 2 green, 3 blue, 4 white, 5 black, 6 yellow, 7 grey, other black.
// Sets ambient, diffuse and specular; may be called inside glBegin/glEnd.
void set_color(int index);
// The shine every frame starts from: that of the surfaces, which most
// frames draw first. set_color leaves the shine alone, so without this the
// axes of a frame with no surface shone as whatever an earlier frame had
// drawn last, and one view could look two ways.
void gl_frame_material();

// Protocol: if solid, begin_surface / faces / end_surface; then if
// wireframe, begin_wire / lines / end_wire; then the cut. Each closing step
// leaves blending off, depth writes on and polygon offset off. These are the
// brackets' GL side, called by the GL back end.
void gl_begin_surface();
void gl_end_surface();
void gl_begin_wire();
void gl_end_wire();

}  // namespace fourview
