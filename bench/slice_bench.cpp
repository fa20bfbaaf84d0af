// Time to slice a polytope at every step of a sweep, as the slice view does
// every frame: the model turned out of its symmetric position, then the
// hyperplane carried through it in 60 steps; the median and the slowest
// step of --runs=N sweeps (default 5), and the 95th percentile (the
// slowest shows the scheduler when other work shares the processors). The target is the omnitruncated
// 120-cell within 10 ms a step on one core.
//   slice_bench [--runs=N] [--polytope=SYMBOL]...
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "geom4/transform.h"
#include "models/slice.h"
#include "models/uniform.h"
#include "bench_support.h"

using namespace fourview;

namespace {

// A turn in every plane, so that no cell lies parallel to the hyperplane.
Matrix5 tilted() {
    Matrix5 m = identity_matrix5();
    const int planes[6][2] = {{0, 1}, {1, 2}, {0, 2}, {0, 3}, {1, 3}, {2, 3}};
    for (int k = 0; k < 6; ++k) {
        Matrix5 step = identity_matrix5();
        const double t = 0.3 + 0.17 * k, c = std::cos(t), s = std::sin(t);
        const int a = planes[k][0], b = planes[k][1];
        step[5 * a + a] = c, step[5 * a + b] = -s, step[5 * b + a] = s, step[5 * b + b] = c;
        m = multiply_matrix5(m, step);
    }
    return m;
}

}  // namespace

int main(int argc, char** argv) {
    int runs = 5;
    std::vector<std::string> texts;
    if (!fourview::bench::read_runs_and_polytopes(argc, argv, "slice_bench [--runs=N] [--polytope=SYMBOL]...", runs, texts)) return 2;
    if (texts.empty()) texts = {"x5x3x3x", "x5o3o3o", "x3o3o5o", "x4x3o3o"};
    constexpr int kSteps = 60;
    const Matrix5 turn = tilted();
    std::printf("%-34s %7s %7s %11s %9s %11s %9s %9s\n", "polytope", "V", "C", "median ms", "95% ms", "slowest ms",
                "faces", "setup ms");
    for (const std::string& text : texts) {
        PolytopeLattice lattice;
        const std::string why = make_polytope(text, lattice, true);
        if (!why.empty()) {
            std::fprintf(stderr, "slice_bench: %s: %s\n", text.c_str(), why.c_str());
            return 1;
        }
        double low = 0, high = 0;
        polytope_w_range(lattice, turn, low, high);
        PolytopeSlice slice;
        SliceScratch scratch;
        // The tables made once per polytope, apart from the frames.
        const auto first = std::chrono::steady_clock::now();
        slice_polytope(lattice, turn, sweep_level(low, high, 0, kSteps), slice, scratch);
        const std::chrono::duration<double, std::milli> setup = std::chrono::steady_clock::now() - first;
        std::vector<double> times;
        int most_faces = 0;
        for (int r = 0; r < runs; ++r)
            for (int i = 0; i < kSteps; ++i) {
                const double level = sweep_level(low, high, i, kSteps);
                const auto start = std::chrono::steady_clock::now();
                slice_polytope(lattice, turn, level, slice, scratch);
                const std::chrono::duration<double, std::milli> t = std::chrono::steady_clock::now() - start;
                times.push_back(t.count());
                most_faces = std::max(most_faces, slice.face_count());
            }
        std::sort(times.begin(), times.end());
        std::printf("%-34s %7d %7d %11.3f %9.3f %11.3f %9d %9.1f\n", lattice.name.c_str(), lattice.vertex_count(),
                    lattice.cell_count(), times[times.size() / 2], times[times.size() * 95 / 100], times.back(), most_faces, setup.count());
    }
    std::printf("target: the omnitruncated 120-cell within 10 ms a step\n");
    return 0;
}
