// The WebGL2 back end of the geometry seam: what the models hand over is
// batched into one vertex array and drawn by one small shader that does
// what the fixed-function pipeline does for the desktop picture: the two
// spot lights, the materials with emission, colour material, lighting per
// vertex, the blend of the transparent style, polygon offset (in the
// fragment shader), and lines and points as quads of their width.
#pragma once

#include "draw/geometry_sink.h"

namespace fourview {

// Compiles the shader and makes the buffers in the WebGL2 context that is
// current; false (with the reason on standard error) when it cannot.
bool start_webgl_geometry();

// Makes the WebGL back end the one in force.
void use_webgl_geometry();

// The matrices of what follows, column-major as GL keeps them, and the size
// of the drawing buffer in pixels (for the widths of lines and points).
// Whatever is batched is drawn first.
void webgl_matrices(const double* projection, const double* modelview);
void webgl_viewport(int width, int height);

// Draws whatever is batched.
void flush_webgl_geometry();

// What was drawn since the last call: draw calls and vertices.
struct WebglCounts {
    int draws = 0, vertices = 0;
};
WebglCounts take_webgl_counts();

}  // namespace fourview
