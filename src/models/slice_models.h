// What the slice view draws for each model, and the colours of cell kinds.
#pragma once

#include <string>

#include "app/app_state.h"
#include "geom4/types.h"
#include "models/lattice.h"
#include "models/polychora.h"  // find_lattice
#include "models/slice.h"

namespace fourview {

// The colour of a cell kind: a fixed colour for each kind the catalogue
// has by name (tetrahedron, cube, octahedron, the prisms, the truncated
// forms ...), and for any other name one of a few spare colours chosen by
// the name, so that a kind keeps its colour from frame to frame.
Colour cell_kind_colour(const std::string& kind);

// The slice view's frame of the current model under the current transform
// and hyperplane, handed to the geometry back end in force: the polytope's
// slice with its faces in the colours of their cells' kinds, the curves of a
// surface, the sphere of the hypersphere. False when the hyperplane misses
// the model (nothing was drawn).
bool draw_model_slice();

// The slice of the current polytope model under the current transform and
// hyperplane, into last_slice(); false when the model is no polytope or the
// hyperplane misses it.
bool compute_polytope_slice();

// The last polytope slice drawn (empty when the model is no polytope), and
// its lattice; for the legend and the export.
const PolytopeSlice& last_slice();
const PolytopeLattice* last_slice_lattice();

// Where the hyperplane first touches the current model under the current
// transform and where it leaves it, as levels of the cut (w of the
// transformed space); false for a model whose extent is not known.
bool model_w_range(double& low, double& high);

}  // namespace fourview
