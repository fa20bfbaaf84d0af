// The graph window's frame, its projection and reshape.
#pragma once

#include "geom4/types.h"
#include "models/models.h"  // draw_model

namespace fourview {

void display_graph();
void draw_label_background();
void apply_projection();
void reshape_graph(int width, int height);
// Draws the graph window at once with "Answer in the terminal" in it, for a
// console dialogue about to block the program; the dialogue's caller posts
// the normal frame when it ends. Takes no pending step and saves nothing.
void show_console_notice();

// The one-step rotation for a request code 1..12 by `angle_degrees` (odd
// codes turn forward, even codes back); the identity for any other code.
Matrix5 step_matrix_for(int request, int angle_degrees);

// What a frame does to the state before it draws: the rotation step of
// `request` (app.rotation_request, or 0 to hold it) applied to the
// transform. The keys of --keys take it without drawing the frame.
void take_rotation_step(int request);

}  // namespace fourview
