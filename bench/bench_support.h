// What the benchmarks share: a graph frame timed to its end, the median of
// a run, and the --runs/--polytope arguments of the polytope benchmarks.
#pragma once

#include <GL/gl.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "render/frame.h"

namespace fourview::bench {

inline double process_cpu_ms() {
    timespec t;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// Wall clock and processor time of the whole process (the program's thread
// and llvmpipe's): the second moves less when other work shares the machine.
struct FrameTime {
    double wall_ms, cpu_ms;
};

// One graph frame, finished: glFinish waits for llvmpipe's threads.
inline FrameTime time_frame() {
    const double cpu = process_cpu_ms();
    const auto start = std::chrono::steady_clock::now();
    display_graph();
    glFinish();
    const std::chrono::duration<double, std::milli> wall = std::chrono::steady_clock::now() - start;
    return FrameTime{wall.count(), process_cpu_ms() - cpu};
}

inline double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// --runs=N and any number of --polytope=SYMBOL; anything else is a usage
// error (false, with the usage line written).
inline bool read_runs_and_polytopes(int argc, char** argv, const char* usage, int& runs,
                                    std::vector<std::string>& texts) {
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--runs=", 7) == 0) {
            runs = std::max(1, std::atoi(argv[i] + 7));
        } else if (std::strncmp(argv[i], "--polytope=", 11) == 0) {
            texts.push_back(argv[i] + 11);
        } else {
            std::fprintf(stderr, "usage: %s\n", usage);
            return false;
        }
    }
    return true;
}

}  // namespace fourview::bench
