// The GL back end of the geometry seam: batches what the models hand over
// into client-side vertex arrays and draws them with the fixed-function
// pipeline, in the order received, with the same materials, lights and
// blending as one call per vertex would.
#pragma once

#include "draw/geometry_sink.h"

namespace fourview {

// Makes the GL back end the one in force (the windows and the offscreen
// figures do it once their context exists).
void use_gl_geometry();

// Draws whatever is batched. Needed before any GL call outside the seam that
// depends on the order (text, matrices, reading pixels).
void flush_gl_geometry();

}  // namespace fourview
