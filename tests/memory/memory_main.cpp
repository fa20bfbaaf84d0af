// Resident memory of the program while a rotation is held: the graph window
// of each model is drawn frame after frame with a rotation step pending, as
// a held "WX" button has it drawn, and the resident set size is read from
// /proc/self/statm after the first 100 frames and after the last one.
//   fourview_memory [FRAMES [MODEL...]]    default: 5100 frames, models 11 and 20
// Prints one line per model and exits 1 when any model's resident memory
// grew by more than 2 MB between frame 100 and the last frame.
#include <GL/freeglut.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/app_state.h"
#include "app/windows.h"
#include "gl_fixture.h"
#include "render/frame.h"

namespace {

constexpr int kSettleFrames = 100;
constexpr long kAllowedGrowthKb = 2048;

long resident_kb() {
    std::FILE* f = std::fopen("/proc/self/statm", "r");
    if (f == nullptr) return -1;
    long size = 0, resident = 0;
    const int read = std::fscanf(f, "%ld %ld", &size, &resident);
    std::fclose(f);
    return read == 2 ? resident * (sysconf(_SC_PAGESIZE) / 1024) : -1;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace fourview;
    const int frames = argc > 1 ? std::atoi(argv[1]) : 5100;
    std::vector<ModelId> models;
    for (int i = 2; i < argc; ++i) models.push_back(std::atoi(argv[i]));
    if (models.empty()) models = {kModelHyperSphere, kModelUserGraph};
    if (frames <= kSettleFrames) {
        std::fprintf(stderr, "usage: %s [FRAMES (more than %d) [MODEL...]]\n", argv[0], kSettleFrames);
        return 2;
    }

    fourview::testing::start_program();
    int status = 0;
    for (ModelId model : models) {
        fourview::testing::restore_start_state();
        app.model_id = model;
        reset_view();
        long settled = 0;
        const auto start = std::chrono::steady_clock::now();
        for (int frame = 1; frame <= frames; ++frame) {
            app.rotation_request = 7;  // WX, as the held button's timer asks for it
            display_graph();
            // The events a running program would read between frames.
            glutMainLoopEvent();
            if (frame == kSettleFrames) settled = resident_kb();
        }
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const long last = resident_kb();
        const long growth = last - settled;
        std::printf("model %d: resident %ld kB after %d frames, %ld kB after %d: %+ld kB (%.2f ms a frame)\n",
                    model, settled, kSettleFrames, last, frames, growth, 1000.0 * seconds / frames);
        if (settled < 0 || last < 0 || growth > kAllowedGrowthKb) status = 1;
    }
    return status;
}
