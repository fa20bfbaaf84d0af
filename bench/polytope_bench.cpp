// Time to build each member of the uniform catalogue (the diagram read,
// Wythoff's construction or the named form, the edges, faces and cells
// found): the median of --runs=N builds (default 5) per row, then the
// slowest row. The target is the omnitruncated 120-cell in 100 ms and every
// other member faster.
//   polytope_bench [--runs=N] [--polytope=SYMBOL]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "models/lattice_build.h"
#include "models/uniform.h"
#include "bench_support.h"

using namespace fourview;

namespace {

double build_ms(const std::string& text, int runs, PolytopeLattice& l) {
    std::vector<double> times;
    for (int r = 0; r < runs; ++r) {
        const auto start = std::chrono::steady_clock::now();
        const std::string why = make_polytope(text, l, true);
        const std::chrono::duration<double, std::milli> t = std::chrono::steady_clock::now() - start;
        if (!why.empty()) {
            std::fprintf(stderr, "polytope_bench: %s: %s\n", text.c_str(), why.c_str());
            std::exit(1);
        }
        times.push_back(t.count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    int runs = 5;
    std::vector<std::string> texts;
    if (!fourview::bench::read_runs_and_polytopes(argc, argv, "polytope_bench [--runs=N] [--polytope=SYMBOL]", runs, texts)) return 2;
    if (texts.empty())
        for (int k = 0; k < kUniformCatalogueCount; ++k) texts.push_back(kUniformCatalogue[k].symbol);
    std::printf("%-36s %7s %7s %7s %6s %9s\n", "polytope", "V", "E", "F", "C", "build ms");
    double slowest = 0;
    std::string slowest_name;
    for (const std::string& t : texts) {
        PolytopeLattice l;
        const double ms = build_ms(t, runs, l);
        std::printf("%-36s %7d %7d %7d %6d %9.2f\n", l.name.c_str(), l.vertex_count(), l.edge_count(), l.face_count(),
                    l.cell_count(), ms);
        if (ms > slowest) {
            slowest = ms;
            slowest_name = l.name;
        }
    }
    std::printf("slowest: %s, %.2f ms (target 100 ms)\n", slowest_name.c_str(), slowest);
    return 0;
}
