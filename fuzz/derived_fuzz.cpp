// libFuzzer target: the derived form against the stored program it comes from.
//
// Input: a console line (up to the first newline or NUL, at most 200 bytes), then optionally 32
// bytes read as the doubles s, t, x, y. An input that starts with the byte 0xff is instead a raw
// stored program, one token per byte (any kind code, well formed or not, numbers from a table of
// awkward values), so that the hand-over of what the evaluator refuses is tried as well.
//
// For every program, at the input's point and at a table of points full of zeros of both signs,
// infinities, NaN, the extremes and denormals: evaluate_derived must give the double that
// evaluate_expression gives, bit for bit (any NaN for a NaN), and print exactly what it prints.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

#include "engine_input.h"
#include "expr/compiler.h"
#include "expr/derived.h"
#include "expr/evaluator.h"
#include "expr/syntax.h"
#include "expr/tokenizer.h"

namespace {

constexpr double INF = std::numeric_limits<double>::infinity();
constexpr double NAN_ = std::numeric_limits<double>::quiet_NaN();
constexpr double DENORMAL = std::numeric_limits<double>::denorm_min();
constexpr double BIG = std::numeric_limits<double>::max();

struct Point {
    double s, t, x, y;
};
const Point POINTS[] = {
    {0.5, -1.25, 2.0, 3.0},  {0.0, -0.0, -0.0, 0.0},  {-0.0, 0.0, 0.0, -0.0}, {NAN_, 1.0, INF, -INF},
    {-INF, INF, NAN_, 0.0},  {BIG, -BIG, DENORMAL, -2.0}, {2.0, 2.0, 2.0, 2.0}, {-1.0, 1.0, -2.0, 0.5},
    {1e-300, 710.0, -745.5, 1e300},
};

// Numbers of the raw programs.
const double VALUES[] = {0.0, -0.0, 1.0, 2.0, -2.0, 0.5, 3.0, INF, -INF, NAN_, BIG, DENORMAL, 1e-300, 710.0};

using engine_input::output;
using engine_input::start_output;

bool same(double a, double b)
{
    if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
    return std::memcmp(&a, &b, sizeof a) == 0;
}

[[noreturn]] void differs(const char* what, std::int32_t count, const char* how)
{
    std::fprintf(stderr, "derived form differs on %s (%d tokens): %s\n", what, count, how);
    std::abort();
}

// Both paths at every point, each path's messages caught as a whole.
void compare_everywhere(const Token* program, std::int32_t count, const Point* extra, const char* what)
{
    DerivedProgram d;
    derive_program(d, program, count);
    Point points[sizeof POINTS / sizeof POINTS[0] + 1];
    std::size_t n = 0;
    for (const Point& p : POINTS) points[n++] = p;
    if (extra != nullptr) points[n++] = *extra;

    double stored[sizeof points / sizeof points[0]];
    start_output();
    for (std::size_t i = 0; i < n; ++i)
        stored[i] = evaluate_expression(points[i].s, points[i].t, points[i].x, points[i].y, program, count);
    const std::string stored_output = output();
    start_output();
    for (std::size_t i = 0; i < n; ++i) {
        const Point& p = points[i];
        const double derived = evaluate_derived(d, p.s, p.t, p.x, p.y);
        if (same(stored[i], derived)) continue;
        char how[200];
        std::snprintf(how, sizeof how, "at s=%a t=%a x=%a y=%a stored %a, derived %a", p.s, p.t, p.x, p.y,
                      stored[i], derived);
        differs(what, count, how);
    }
    if (output() != stored_output) differs(what, count, "the messages");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    engine_input::capture_output();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > 0 && data[0] == 0xff) {
        // Any byte is a kind code near the real ones, so that most of them are.
        Token program[EXPRESSION_TOKENS];
        std::int32_t count = 0;
        for (std::size_t i = 1; i < size && count < EXPRESSION_TOKENS; ++i) {
            const std::uint8_t b = data[i];
            const std::int32_t codes[] = {TOKEN_NUMBER, TOKEN_PI, TOKEN_S, TOKEN_T, TOKEN_X, TOKEN_Y, TOKEN_PLUS,
                                          TOKEN_MINUS, TOKEN_TIMES, TOKEN_DIVIDE, TOKEN_POWER, TOKEN_CLOSE};
            const std::int32_t kind = b < 12 * 16 ? codes[b % 12] : b < 240 ? TOKEN_OPEN + (b % 14) : b - 240;
            program[count++] = {kind, kind == TOKEN_NUMBER ? VALUES[(b / 12) % (sizeof VALUES / sizeof VALUES[0])] : 0.0};
        }
        compare_everywhere(program, count, nullptr, "a raw program");
        return 0;
    }

    char line[EXPRESSION_TEXT_LENGTH + 1];
    const std::size_t length = engine_input::console_line(data, size, line);
    Point extra;
    const bool has_point = size >= length + 1 + sizeof extra;
    if (has_point) std::memcpy(&extra, data + length + 1, sizeof extra);

    // Refusals are the engine target's concern; here only what reaches a program matters.
    start_output();
    Token tokens[TOKEN_LIST_SIZE];
    int count = divide_token(line, tokens);
    if (count > 0) count = check_syntax(tokens, count);
    if (count <= 0 || count > EXPRESSION_TOKENS) return 0;
    Expression e;
    e.count = count;
    compile_expression(tokens, e.program, e.count);
    compare_everywhere(e.program, e.count, has_point ? &extra : nullptr, line);
    return 0;
}
