// The models the page offers, in the order of the desktop's menus (the
// four-dimensional ones first, then the three-dimensional ones, then the
// user graph), with their names as the caption shows them. The picker is
// filled from this list, so a model added here appears in the page.
#pragma once

#include "render/caption_table.h"

namespace fourview {

// (find_caption of the caption table gives each one's name, and nullptr
// for a number that names no model.)
// The models in picker order; at most `room` are written, the count is returned.
int model_list(ModelId* out, int room);

}  // namespace fourview
