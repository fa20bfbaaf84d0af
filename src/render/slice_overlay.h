// The slice view's words over the frame: the legend of the cell kinds the
// slice shows, or the notice that the hyperplane misses the model.
#pragma once

namespace fourview {

// Over the slice's part of the window, from x = left to its right edge:
// a swatch and the name of each cell kind present in the last slice, or,
// when nothing was drawn, "The hyperplane misses the model".
void draw_slice_overlay(int left, bool slice_drawn);

}  // namespace fourview
