// Start-up: the three windows with their callbacks, GL state and lights,
// and the initial contents of the state and the panels.
#pragma once

namespace fourview {

void create_windows();
void init_contents();

// Carries the view back to its preset: view direction, transform aligned
// with the hyperplane, section offset 0, the model's default zoom. Runs with
// any window current and leaves the graph window current.
void reset_view();

}  // namespace fourview
