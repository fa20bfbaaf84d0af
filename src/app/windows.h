// Start-up: the three windows with their callbacks, GL state and lights,
// and the initial contents of the state and the panels.
#pragma once

namespace fourview {

// The graph window opens at (graph_x, graph_y) of the screen; the other two
// at their fixed places.
void create_windows(int graph_x = 0, int graph_y = 50);
// The graph window's GL state and lights, in the current context: the
// window's own, or the offscreen surface of a figure.
void init_graph_gl_state();
void init_contents();

// Carries the view back to its preset: view direction, transform aligned
// with the hyperplane, section offset 0, the model's default zoom. Runs with
// any window current and leaves the graph window current.
void reset_view();

}  // namespace fourview
