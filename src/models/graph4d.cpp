// The graph of the user's equations (model 20): the four equations of graph
// slot 0 evaluated at every point of the surface grid, on every frame.
#include "app/app_state.h"
#include "expr/derived.h"
#include "expr/graph_slots.h"
#include "models/mesh.h"
#include "models/models.h"
#include "models/surface_grid.h"

namespace fourview {

void fill_graph_4d() {
    const int n = app.mesh_resolution;
    if (n < 4 || n > kGridMax) return;  // no drawn cell, or beyond the grid
    const Expression* e = graph_slots[0].equation;
    // The derived forms follow the stored programs: rebuilt only when an
    // equation has changed since the last frame.
    static DerivedProgram derived[kEquationsPerSet];
    for (int i = 0; i < kEquationsPerSet; ++i) refresh_derived(derived[i], e[i].program, e[i].count);
    // Rows 1 .. n-2 cover s_min .. s_max in n - 3 steps (columns likewise for
    // t); rows 0 and n-1 lie one step outside, as for every grid model.
    const double ds = (app.s_max - app.s_min) / (n - 3);
    const double dt = (app.t_max - app.t_min) / (n - 3);
    for (int r = 0; r < n; ++r) {
        const double s = (r - 1) * ds + app.s_min;
        for (int c = 0; c < n; ++c) {
            const double t = (c - 1) * dt + app.t_min;
            // x and y first: f and g read them. x(s,t) and y(s,t) cannot name
            // x or y, so the zeros handed to them are never read.
            Point4& p = surface_grid.samples[r][c];
            p.x = evaluate_derived(derived[kEquationX], s, t, 0, 0);
            p.y = evaluate_derived(derived[kEquationY], s, t, 0, 0);
            p.z = evaluate_derived(derived[kEquationF], s, t, p.x, p.y);
            p.w = evaluate_derived(derived[kEquationG], s, t, p.x, p.y);
        }
    }
}

namespace {
bool filled_for_frame = false;
}  // namespace

void fill_graph_4d_for_frame() {
    fill_graph_4d();
    filled_for_frame = true;
}

void sample_graph_4d() {
    if (!filled_for_frame) fill_graph_4d();
    filled_for_frame = false;
    draw_surface_grid();
}

}  // namespace fourview
