#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "engine_helpers.h"
#include "expr/derived.h"

namespace {

using namespace engine_test;

constexpr double INF = std::numeric_limits<double>::infinity();
constexpr double NOT_A_NUMBER = std::numeric_limits<double>::quiet_NaN();

struct Point {
    double s, t, x, y;
};

// Zeros of both signs, infinities, NaN, extremes and a denormal, in every position.
const Point POINTS[] = {
    {0.5, -1.25, 2.0, 3.0},   {0.0, -0.0, -0.0, 0.0},    {-0.0, 0.0, 0.0, -0.0}, {NOT_A_NUMBER, 1.0, INF, -INF},
    {-INF, INF, NOT_A_NUMBER, 0.0}, {1e308, -1e308, 5e-324, -2.0}, {2.0, 2.0, 2.0, 2.0},  {-1.0, 1.0, -2.0, 0.5},
    {1e-300, 710.0, -745.5, 1e300},
};

bool same_double(double a, double b)
{
    if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Both paths at every point: the same double, bit for bit, and the same console output.
void expect_same_everywhere(const Token* program, std::int32_t count, const std::string& what)
{
    DerivedProgram d;
    derive_program(d, program, count);
    for (const Point& p : POINTS) {
        double stored = 0, derived = 0;
        const std::string stored_output = output_of([&] { stored = evaluate_expression(p.s, p.t, p.x, p.y, program, count); });
        const std::string derived_output = output_of([&] { derived = evaluate_derived(d, p.s, p.t, p.x, p.y); });
        EXPECT_TRUE(same_double(stored, derived))
            << what << " at s=" << p.s << " t=" << p.t << " x=" << p.x << " y=" << p.y << ": stored " << stored
            << ", derived " << derived;
        EXPECT_EQ(stored_output, derived_output) << what;
    }
}

struct DerivedCase {
    std::string text;
    int instructions;  // length of the derived program: what folding, fusing and dropping leave
};

void PrintTo(const DerivedCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }

class Derived : public ::testing::TestWithParam<DerivedCase> {};

TEST_P(Derived, GivesTheStoredProgramsDoubles)
{
    const DerivedCase& c = GetParam();
    const Compiled compiled = compile(c.text);
    ASSERT_GT(compiled.expression.count, 0) << compiled.output;
    expect_same_everywhere(compiled.expression.program, compiled.expression.count, dump(compiled.expression));
    DerivedProgram d;
    derive_program(d, compiled.expression.program, compiled.expression.count);
    EXPECT_EQ(d.length, c.instructions) << dump(compiled.expression);
}

INSTANTIATE_TEST_SUITE_P(DefaultEquations, Derived, ::testing::Values(
    DerivedCase{"sin(s+t)", 2}, DerivedCase{"cos(s+t)", 2}, DerivedCase{"sin(s-t)", 2}, DerivedCase{"cos(s-t)", 2},
    DerivedCase{"cos(s)*(2+cos(t))", 4}, DerivedCase{"sin(s)*(2+cos(t))", 4}, DerivedCase{"sin(t)", 1},
    DerivedCase{"0", 1}, DerivedCase{"s", 1}, DerivedCase{"t", 1}, DerivedCase{"x^2 - y^2", 3},
    DerivedCase{"2*x*y", 2}));

// Faults flowing through, folding in the evaluator's order, powers, signs of zero.
INSTANTIATE_TEST_SUITE_P(EdgeCases, Derived, ::testing::Values(
    DerivedCase{"0/0", 1}, DerivedCase{"1/0", 1}, DerivedCase{"-1/0", 1}, DerivedCase{"x/0", 1},
    DerivedCase{"0/x", 1}, DerivedCase{"log(0-1)", 1}, DerivedCase{"log(0)", 1}, DerivedCase{"log(x)", 1},
    DerivedCase{"sqrt(-1)+s", 1}, DerivedCase{"asin(x)+acos(y)", 3}, DerivedCase{"exp(1000)-exp(x)", 2},
    DerivedCase{"2^3^2", 1}, DerivedCase{"x^3^y", 2}, DerivedCase{"x^3", 1}, DerivedCase{"x^2^1", 1},
    DerivedCase{"x^(1+1)", 1}, DerivedCase{"2^x", 1}, DerivedCase{"x^y", 1}, DerivedCase{"(x*y)^(s-t)", 3},
    DerivedCase{"(-8)^(1/3)", 1}, DerivedCase{"-x", 1}, DerivedCase{"-(s*t)", 2}, DerivedCase{"(0-s)-(0-t)", 3},
    DerivedCase{"1-2+3-s", 1}, DerivedCase{"s+1-2", 2}, DerivedCase{"2*pi*s", 1}, DerivedCase{"s*2*pi", 2},
    DerivedCase{"1/3*x", 1}, DerivedCase{"x/3/y", 2}, DerivedCase{"y/(x-t)", 2}, DerivedCase{"t/x/(y/s)", 3},
    DerivedCase{"((((s))))", 1}, DerivedCase{"(((2)))", 1}, DerivedCase{"sin(1)*cos(2)+3/7", 1},
    DerivedCase{"fabs(s)*tan(t)-tanh(x)/sinh(y)+cosh(s)", 9}, DerivedCase{"atan(s)^sqrt(t)", 3},
    DerivedCase{"x*y-(s*t-(x+y))", 5}, DerivedCase{"tan(pi/2)*x", 1},
    // Long chains near 100 tokens: 99 tokens each, but the 97 of the nested sines.
    DerivedCase{"s" + repeat("+s", 49), 49}, DerivedCase{repeat("(", 49) + "s" + repeat(")", 49), 1},
    DerivedCase{repeat("sin((", 24) + "x" + repeat("))", 24), 24},
    DerivedCase{repeat("(s-", 24) + "t" + repeat(")", 24) + "^2", 25},
    DerivedCase{"1" + repeat("/2", 49), 1}));

// What the evaluator refuses or runs on an opener's 0.0 is handed to it whole: same value, same
// messages.
TEST(Derived, HandsOverWhatTheEvaluatorRefuses)
{
    const std::vector<std::vector<Token>> programs = {
        {},                                                          // no program
        kinds({TOKEN_OPEN}),                                         // a lone opener
        kinds({TOKEN_S, TOKEN_T}),                                   // two numbers left
        kinds({TOKEN_S, TOKEN_PLUS}),                                // an operator short of an operand
        kinds({TOKEN_OPEN, TOKEN_OPEN, TOKEN_CLOSE}),                // a closer of an opener: 0.0, silently
        kinds({TOKEN_SIN, TOKEN_OPEN, TOKEN_PLUS, TOKEN_CLOSE}),     // an operator on openers
        kinds({TOKEN_S, TOKEN_T, TOKEN_CLOSE}),                      // a closer without an opener
        kinds({TOKEN_S, TOKEN_T, 25}),                               // an unknown operator
        kinds({TOKEN_S, 7, TOKEN_PLUS}),                             // an unknown kind
    };
    for (const std::vector<Token>& program : programs)
        expect_same_everywhere(program.data(), static_cast<std::int32_t>(program.size()),
                               dump_tokens(program.data(), static_cast<int>(program.size())));
    // Too long a program, whatever it holds.
    const Compiled long_sum = compile("s" + repeat("+s", 49));
    expect_same_everywhere(long_sum.expression.program, EXPRESSION_TOKENS + 1, "101 tokens");
}

// The sampler keeps its derived forms across frames and must notice every change of a program.
TEST(Derived, IsRebuiltWhenTheStoredProgramChanges)
{
    static DerivedProgram d;  // zero-filled, as the sampler's
    Compiled e = compile("x-0");
    EXPECT_TRUE(refresh_derived(d, e.expression.program, e.expression.count));
    EXPECT_FALSE(refresh_derived(d, e.expression.program, e.expression.count));
    EXPECT_TRUE(std::signbit(evaluate_derived(d, 0, 0, -0.0, 0)));
    e.expression.program[1].value = -0.0;  // x - (-0) is +0 for x = -0
    EXPECT_TRUE(refresh_derived(d, e.expression.program, e.expression.count));
    EXPECT_FALSE(std::signbit(evaluate_derived(d, 0, 0, -0.0, 0)));
    e = compile("x-0+s");
    EXPECT_TRUE(refresh_derived(d, e.expression.program, 3));  // a shorter count of the same tokens
    EXPECT_TRUE(refresh_derived(d, e.expression.program, e.expression.count));
    EXPECT_EQ(evaluate_derived(d, 1, 0, 2, 0), 3.0);
}

}  // namespace
