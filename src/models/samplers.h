// The grid samplers of the parametric models: each writes all n x n samples
// of the surface grid, its outer ring included, and draws nothing. The
// model routines (sample_cylinder...) call them and then draw the grid. A
// size outside 4..51 (no drawn cell, or beyond the grid) writes nothing.
#pragma once

namespace fourview {

void fill_cylinder(int n);
void fill_moebius_strip(int n);
void fill_sphere(int n);
void fill_torus(int n);
void fill_klein_bottle_1(int n);
void fill_klein_bottle_2(int n);
void fill_two_moebius_strips(int n);
void fill_klein_bottle_4d(int n);

}  // namespace fourview
