#include "ui/sweep.h"

#include <GL/glut.h>

#include <cmath>

#include "app/app_state.h"
#include "app/window_system.h"
#include "models/slice.h"
#include "models/slice_models.h"
#include "ui/values.h"

namespace fourview {

namespace {

struct Sweep {
    bool running = false;
    int step = 0;
    int chain = 0;  // a timer of an earlier sweep ends itself
    double low = 0, high = 0, saved_offset = 0;
} sweep;

void show_offset(double offset) {
    app.section_offset = offset;
    refresh_value_field(85, value_hyperplane_row);
    app.frame_changed = 1;
    select_window(app.graph_window);
    post_redisplay();
}

void sweep_timer(int chain) {
    if (!sweep.running || chain != sweep.chain) return;
    if (++sweep.step >= kSweepSteps) {
        stop_sweep();
        return;
    }
    show_offset(sweep_level(sweep.low, sweep.high, sweep.step, kSweepSteps));
    glutTimerFunc(kSweepStepMilliseconds, sweep_timer, sweep.chain);
}

}  // namespace

double offset_for_level(double level) {
    const auto& h = app.hyperplane;
    return level * std::sqrt(h[0] * h[0] + h[1] * h[1] + h[2] * h[2] + h[3] * h[3]);
}

bool sweep_range(double& low_offset, double& high_offset) {
    double low = 0, high = 0;
    if (!model_w_range(low, high) || !(high > low) || !std::isfinite(high - low)) return false;
    low_offset = offset_for_level(low);
    high_offset = offset_for_level(high);
    return true;
}

void start_sweep() {
    // No timers without GLUT's windows (a figure's --keys): nothing to sweep.
    if (offscreen_window_system() || sweep.running) return;
    double low = 0, high = 0;
    if (!sweep_range(low, high)) return;
    sweep = Sweep{true, 0, sweep.chain + 1, low, high, app.section_offset};
    show_offset(low);
    glutTimerFunc(kSweepStepMilliseconds, sweep_timer, sweep.chain);
}

bool sweep_running() { return sweep.running; }

void stop_sweep() {
    if (!sweep.running) return;
    sweep.running = false;
    ++sweep.chain;
    show_offset(sweep.saved_offset);
}

}  // namespace fourview
