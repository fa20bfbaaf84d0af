// The graph window's frame, its projection and reshape.
#pragma once

#include "geom4/types.h"
#include "models/models.h"  // draw_model

namespace fourview {

void display_graph();
void draw_label_background();
void apply_projection();
void reshape_graph(int width, int height);

// The one-step rotation for a request code 1..12 by `angle_degrees` (odd
// codes turn forward, even codes back); the identity for any other code.
Matrix5 step_matrix_for(int request, int angle_degrees);

}  // namespace fourview
