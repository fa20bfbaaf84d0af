// Stand-ins until the models are built: each draws nothing yet.
#include "models/models.h"

namespace fourview {

void draw_cube() {}
void sample_cylinder() {}
void sample_moebius_strip() {}
void sample_sphere() {}
void sample_torus() {}
void sample_klein_bottle_1() {}
void sample_klein_bottle_2() {}
void sample_two_moebius_strips() {}
void sample_klein_bottle_4d() {}
void draw_hypersphere() {}
void draw_five_cell() {}
void draw_hypercube() {}
void sample_graph_4d() {}

}  // namespace fourview
