// The built-in models and the user graph. Each reads the state, fills the
// surface grid or hands its own primitives to the geometry back end.
#pragma once

namespace fourview {

// Three-dimensional models (w = 0).
void draw_cube();
void sample_cylinder();
void sample_moebius_strip();
void sample_sphere();
void sample_torus();
void sample_klein_bottle_1();
void sample_klein_bottle_2();
void sample_two_moebius_strips();

// Four-dimensional models.
void sample_klein_bottle_4d();
void draw_hypersphere();
void draw_five_cell();
void draw_hypercube();
void draw_sixteen_cell();
void draw_twenty_four_cell();
void draw_hundred_twenty_cell();
void draw_six_hundred_cell();
void draw_uniform_polychoron();

// The graph of the user's equations of graph slot 0: fill_graph_4d only
// evaluates it into the surface grid, sample_graph_4d also draws it. A
// frame that needs the samples before drawing (the stereographic sphere
// through the farthest sample) fills them once with fill_graph_4d_for_frame,
// and the next sample_graph_4d draws them without evaluating them again.
void fill_graph_4d();
void fill_graph_4d_for_frame();
void sample_graph_4d();

// The current model (app.model_id) under the current transform, handed to
// the geometry back end in force; nothing for a number that names no model.
void draw_model();

}  // namespace fourview
