// Nanoseconds per evaluation of the twelve default equations: the expression engine (the stored
// program through evaluate_expression, and its derived form through evaluate_derived) against the
// same formulas compiled as C++ and, when it is installed, against muparser. Then the cost of
// sampling the user graph's 51 x 51 grid with each default set, by both paths.
//
// Each evaluation takes the next of 256 fixed points, so nothing is folded into a constant. The
// native formulas are out-of-line functions: like evaluate_expression, one call per equation and
// point. Every benchmark runs ten times and the tables at the end use the fastest of the ten, in
// CPU time: the figures least disturbed by whatever else the machine is doing. The first table
// gives the ratios and the geometric means of engine/native and derived/native.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "expr/compiler.h"
#include "expr/derived.h"
#include "expr/evaluator.h"
#include "expr/syntax.h"
#include "expr/tokenizer.h"

#ifdef FOURVIEW_HAVE_MUPARSER
#include <muParser.h>
#endif

namespace {

using Formula = double (*)(double s, double t, double x, double y);

#define NATIVE(name, body) \
    __attribute__((noinline)) double name(double s, double t, double x, double y) { \
        (void)s; (void)t; (void)x; (void)y; \
        return body; \
    }

NATIVE(sin_s_plus_t, std::sin(s + t))
NATIVE(cos_s_plus_t, std::cos(s + t))
NATIVE(sin_s_minus_t, std::sin(s - t))
NATIVE(cos_s_minus_t, std::cos(s - t))
NATIVE(torus_x, std::cos(s) * (2 + std::cos(t)))
NATIVE(torus_y, std::sin(s) * (2 + std::cos(t)))
NATIVE(sin_t, std::sin(t))
NATIVE(zero, 0.0)
NATIVE(just_s, s)
NATIVE(just_t, t)
NATIVE(saddle, std::pow(x, 2) - std::pow(y, 2))
NATIVE(twice_xy, 2 * x * y)

struct Equation {
    const char* text;
    Formula native;
};

// The default equation sets, in slot order x, y, f, g.
const Equation EQUATIONS[] = {
    {"sin(s+t)", sin_s_plus_t}, {"cos(s+t)", cos_s_plus_t},
    {"sin(s-t)", sin_s_minus_t}, {"cos(s-t)", cos_s_minus_t},
    {"cos(s)*(2+cos(t))", torus_x}, {"sin(s)*(2+cos(t))", torus_y},
    {"sin(t)", sin_t}, {"0", zero},
    {"s", just_s}, {"t", just_t},
    {"x^2 - y^2", saddle}, {"2*x*y", twice_xy},
};
constexpr int EQUATION_COUNT = sizeof EQUATIONS / sizeof EQUATIONS[0];

struct Point {
    double s, t, x, y;
};
constexpr int POINT_COUNT = 256;
Point points[POINT_COUNT];

void make_points()
{
    for (int i = 0; i < POINT_COUNT; ++i) {
        const double s = -M_PI + 2 * M_PI * (i % 16) / 15.0;
        const double t = -M_PI + 2 * M_PI * (i / 16) / 15.0;
        points[i] = {s, t, std::sin(s + t), std::cos(s + t)};
    }
}

Expression compiled[EQUATION_COUNT];
DerivedProgram derived[EQUATION_COUNT];

bool compile_all()
{
    for (int i = 0; i < EQUATION_COUNT; ++i) {
        Token tokens[TOKEN_LIST_SIZE];
        int count = divide_token(EQUATIONS[i].text, tokens);
        if (count > 0) count = check_syntax(tokens, count);
        if (count <= 0 || count > EXPRESSION_TOKENS) return false;
        compiled[i].count = count;
        compile_expression(tokens, compiled[i].program, compiled[i].count);
        derive_program(derived[i], compiled[i].program, compiled[i].count);
    }
    return true;
}

void engine(benchmark::State& state, int i)
{
    const Expression& e = compiled[i];
    unsigned k = 0;
    for (auto _ : state) {
        const Point& p = points[k++ % POINT_COUNT];
        benchmark::DoNotOptimize(evaluate_expression(p.s, p.t, p.x, p.y, e.program, e.count));
    }
}

void derived_form(benchmark::State& state, int i)
{
    const DerivedProgram& d = derived[i];
    unsigned k = 0;
    for (auto _ : state) {
        const Point& p = points[k++ % POINT_COUNT];
        benchmark::DoNotOptimize(evaluate_derived(d, p.s, p.t, p.x, p.y));
    }
}

void native(benchmark::State& state, int i)
{
    const Formula f = EQUATIONS[i].native;
    unsigned k = 0;
    for (auto _ : state) {
        const Point& p = points[k++ % POINT_COUNT];
        benchmark::DoNotOptimize(f(p.s, p.t, p.x, p.y));
    }
}

#ifdef FOURVIEW_HAVE_MUPARSER
void muparser(benchmark::State& state, int i)
{
    double s = 0, t = 0, x = 0, y = 0;
    mu::Parser parser;
    parser.DefineVar("s", &s);
    parser.DefineVar("t", &t);
    parser.DefineVar("x", &x);
    parser.DefineVar("y", &y);
    parser.SetExpr(EQUATIONS[i].text);
    parser.Eval();  // the first call parses
    unsigned k = 0;
    for (auto _ : state) {
        const Point& p = points[k++ % POINT_COUNT];
        s = p.s;
        t = p.t;
        x = p.x;
        y = p.y;
        benchmark::DoNotOptimize(parser.Eval());
    }
}
#endif

// The user graph's grid at the high mesh resolution over the start-up ranges, as sample_graph_4d
// walks it: x and y first, then f and g with them. Each default set is four consecutive rows of
// EQUATIONS.
constexpr int GRID = 51;
constexpr int SET_COUNT = EQUATION_COUNT / 4;
double grid[GRID][GRID][4];

template <class Evaluate>
void sample_grid(Evaluate&& evaluate)
{
    const double ds = 2 * M_PI / (GRID - 3), dt = 2 * M_PI / (GRID - 3);
    for (int r = 0; r < GRID; ++r) {
        const double s = (r - 1) * ds - M_PI;
        for (int c = 0; c < GRID; ++c) {
            const double t = (c - 1) * dt - M_PI;
            double* p = grid[r][c];
            p[0] = evaluate(0, s, t, 0.0, 0.0);
            p[1] = evaluate(1, s, t, 0.0, 0.0);
            p[2] = evaluate(2, s, t, p[0], p[1]);
            p[3] = evaluate(3, s, t, p[0], p[1]);
        }
    }
    benchmark::ClobberMemory();
}

// The old path: the stored programs through evaluate_expression.
void grid_stored(benchmark::State& state, int set)
{
    const Expression* e = compiled + 4 * set;
    for (auto _ : state)
        sample_grid([e](int i, double s, double t, double x, double y) {
            return evaluate_expression(s, t, x, y, e[i].program, e[i].count);
        });
}

// The floor: the same four formulas compiled as C++.
void grid_native(benchmark::State& state, int set)
{
    const Equation* e = EQUATIONS + 4 * set;
    for (auto _ : state)
        sample_grid([e](int i, double s, double t, double x, double y) { return e[i].native(s, t, x, y); });
}

// The sampler's path: the derived forms, checked against the stored programs once per grid.
void grid_derived(benchmark::State& state, int set)
{
    const Expression* e = compiled + 4 * set;
    static DerivedProgram d[4];
    for (auto _ : state) {
        for (int i = 0; i < 4; ++i) refresh_derived(d[i], e[i].program, e[i].count);
        sample_grid([](int i, double s, double t, double x, double y) { return evaluate_derived(d[i], s, t, x, y); });
    }
}

double fastest(const std::vector<double>& times) { return *std::min_element(times.begin(), times.end()); }

// Keeps the fastest repetition of every benchmark, by name, for the table at the end (a single
// run when repetitions are turned off on the command line).
class RecordingReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> ns;

    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            const std::string& name = run.run_name.function_name;
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "min")
                ns[name] = run.GetAdjustedCPUTime();
            else if (run.run_type == Run::RT_Iteration && ns.count(name) == 0)
                ns[name] = run.GetAdjustedCPUTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

std::string name(const char* kind, int i) { return std::string(kind) + "/" + EQUATIONS[i].text; }
std::string grid_name(const char* kind, int set) { return std::string(kind) + "/set " + std::to_string(set + 1); }

void print_table(const std::map<std::string, double>& ns)
{
    std::printf("\n%-20s %10s %10s %10s %11s %14s %15s %16s %17s\n", "equation", "engine ns", "derived ns",
                "native ns", "muparser ns", "engine/native", "derived/native", "muparser/engine",
                "muparser/derived");
    double engine_logs = 0, derived_logs = 0;
    int rows = 0;
    for (int i = 0; i < EQUATION_COUNT; ++i) {
        const auto e = ns.find(name("engine", i));
        const auto d = ns.find(name("derived", i));
        const auto n = ns.find(name("native", i));
        const auto m = ns.find(name("muparser", i));
        if (e == ns.end() || d == ns.end() || n == ns.end()) continue;
        engine_logs += std::log(e->second / n->second);
        derived_logs += std::log(d->second / n->second);
        ++rows;
        char muparser[3][32] = {"-", "-", "-"};
        if (m != ns.end()) {
            std::snprintf(muparser[0], sizeof muparser[0], "%.2f", m->second);
            std::snprintf(muparser[1], sizeof muparser[1], "%.2f", m->second / e->second);
            std::snprintf(muparser[2], sizeof muparser[2], "%.2f", m->second / d->second);
        }
        std::printf("%-20s %10.2f %10.2f %10.2f %11s %14.2f %15.2f %16s %17s\n", EQUATIONS[i].text, e->second,
                    d->second, n->second, muparser[0], e->second / n->second, d->second / n->second, muparser[1],
                    muparser[2]);
    }
    if (rows > 0)
        std::printf("geometric mean over %d equations: engine/native %.2f, derived/native %.2f\n", rows,
                    std::exp(engine_logs / rows), std::exp(derived_logs / rows));

    std::printf("\n%-8s %16s %17s %16s %15s %15s\n", "51 x 51", "stored path ms", "derived path ms",
                "native path ms", "stored/derived", "derived/native");
    for (int set = 0; set < SET_COUNT; ++set) {
        const auto o = ns.find(grid_name("grid_stored", set));
        const auto d = ns.find(grid_name("grid_derived", set));
        const auto n = ns.find(grid_name("grid_native", set));
        if (o == ns.end() || d == ns.end() || n == ns.end()) continue;
        std::printf("%-8s %16.3f %17.3f %16.3f %15.2f %15.2f\n", ("set " + std::to_string(set + 1)).c_str(),
                    o->second / 1e6, d->second / 1e6, n->second / 1e6, o->second / d->second, d->second / n->second);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    make_points();
    if (!compile_all()) {
        std::fprintf(stderr, "a default equation did not compile\n");
        return 1;
    }
    auto repeat = [](benchmark::internal::Benchmark* b) {
        b->Repetitions(10)->MinTime(0.05)->ComputeStatistics("min", fastest)->DisplayAggregatesOnly(true);
    };
    for (int i = 0; i < EQUATION_COUNT; ++i) {
        repeat(benchmark::RegisterBenchmark(name("engine", i).c_str(), engine, i));
        repeat(benchmark::RegisterBenchmark(name("derived", i).c_str(), derived_form, i));
        repeat(benchmark::RegisterBenchmark(name("native", i).c_str(), native, i));
#ifdef FOURVIEW_HAVE_MUPARSER
        repeat(benchmark::RegisterBenchmark(name("muparser", i).c_str(), muparser, i));
#endif
    }
    for (int set = 0; set < SET_COUNT; ++set) {
        repeat(benchmark::RegisterBenchmark(grid_name("grid_stored", set).c_str(), grid_stored, set));
        repeat(benchmark::RegisterBenchmark(grid_name("grid_derived", set).c_str(), grid_derived, set));
        repeat(benchmark::RegisterBenchmark(grid_name("grid_native", set).c_str(), grid_native, set));
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    print_table(reporter.ns);
#ifndef FOURVIEW_HAVE_MUPARSER
    std::printf("muparser not built in: its column is empty\n");
#endif
    benchmark::Shutdown();
    return 0;
}
