#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "engine_helpers.h"

namespace {

using namespace engine_test;

constexpr double INF = std::numeric_limits<double>::infinity();
constexpr double NOT_A_NUMBER = std::numeric_limits<double>::quiet_NaN();

// How a result is compared: exactly (NaN equals NaN), or within a few units in the last place.
enum class Match { exact, near };

struct EvaluatorCase {
    std::string text;
    double s, t, x, y;
    double expected;
    Match match;
};

void PrintTo(const EvaluatorCase& c, std::ostream* os)
{
    *os << '"' << c.text << "\" at s=" << c.s << " t=" << c.t << " x=" << c.x << " y=" << c.y;
}

class Evaluator : public ::testing::TestWithParam<EvaluatorCase> {};

TEST_P(Evaluator, Computes)
{
    const EvaluatorCase& c = GetParam();
    const Compiled compiled = compile(c.text);
    ASSERT_GT(compiled.expression.count, 0) << compiled.output;
    double result = 0.0;
    const std::string output = output_of([&] {
        result = evaluate_expression(c.s, c.t, c.x, c.y, compiled.expression.program, compiled.expression.count);
    });
    EXPECT_EQ(output, "") << dump(compiled.expression);
    if (std::isnan(c.expected)) {
        EXPECT_TRUE(std::isnan(result)) << result << " from " << dump(compiled.expression);
    } else if (c.match == Match::exact) {
        EXPECT_EQ(result, c.expected) << dump(compiled.expression);
    } else {
        EXPECT_DOUBLE_EQ(result, c.expected) << dump(compiled.expression);
    }
}

INSTANTIATE_TEST_SUITE_P(Arithmetic, Evaluator, ::testing::Values(
    EvaluatorCase{"pi", 0, 0, 0, 0, 3.141592653589793, Match::exact},
    EvaluatorCase{"2*pi", 0, 0, 0, 0, 6.283185307179586, Match::exact},
    EvaluatorCase{"2^3^2", 0, 0, 0, 0, 512, Match::exact},
    EvaluatorCase{"-2^2", 0, 0, 0, 0, -4, Match::exact},
    EvaluatorCase{"(-2)^2", 0, 0, 0, 0, 4, Match::exact},
    EvaluatorCase{"s-t-1", 5, 2, 0, 0, 2, Match::exact},
    EvaluatorCase{"s/t/2", 8, 2, 0, 0, 2, Match::exact},
    EvaluatorCase{"s-t+x", 1, 2, 3, 0, 2, Match::exact},
    EvaluatorCase{"1+2*3", 0, 0, 0, 0, 7, Match::exact},
    EvaluatorCase{"(1+2)*3", 0, 0, 0, 0, 9, Match::exact},
    EvaluatorCase{"-s*t", 2, 3, 0, 0, -6, Match::exact},
    EvaluatorCase{"2^(-1)", 0, 0, 0, 0, 0.5, Match::exact},
    EvaluatorCase{"x^2 - y^2", 0, 0, 3, 2, 5, Match::exact},
    EvaluatorCase{"2*x*y", 0, 0, 3, 2, 12, Match::exact},
    EvaluatorCase{"s^0.5", 2, 0, 0, 0, std::sqrt(2.0), Match::exact},
    EvaluatorCase{"x^3", 0, 0, 1.1, 0, std::pow(1.1, 3.0), Match::exact},
    EvaluatorCase{"x^2", 0, 0, 1.1, 0, 1.1 * 1.1, Match::exact},
    EvaluatorCase{"cos(s)*(2+cos(t))", 0, 0, 0, 0, 3, Match::exact}));

INSTANTIATE_TEST_SUITE_P(Bindings, Evaluator, ::testing::Values(
    EvaluatorCase{"s", 1.5, 2.5, 3.5, 4.5, 1.5, Match::exact},
    EvaluatorCase{"t", 1.5, 2.5, 3.5, 4.5, 2.5, Match::exact},
    EvaluatorCase{"x", 1.5, 2.5, 3.5, 4.5, 3.5, Match::exact},
    EvaluatorCase{"y", 1.5, 2.5, 3.5, 4.5, 4.5, Match::exact},
    EvaluatorCase{"0", 1.5, 2.5, 3.5, 4.5, 0, Match::exact},
    EvaluatorCase{"sin(s+t)", 0.25, 0.5, 0, 0, std::sin(0.75), Match::exact},
    EvaluatorCase{"sin(s)*(2+cos(t))", 0.25, 0.5, 0, 0, std::sin(0.25) * (2 + std::cos(0.5)), Match::exact}));

// Every function against the C library, angles in radians.
INSTANTIATE_TEST_SUITE_P(Functions, Evaluator, ::testing::Values(
    EvaluatorCase{"asin(s)", 0.3, 0, 0, 0, std::asin(0.3), Match::exact},
    EvaluatorCase{"acos(s)", 0.3, 0, 0, 0, std::acos(0.3), Match::exact},
    EvaluatorCase{"atan(s)", 0.3, 0, 0, 0, std::atan(0.3), Match::exact},
    EvaluatorCase{"cos(s)", 0.3, 0, 0, 0, std::cos(0.3), Match::exact},
    EvaluatorCase{"cosh(s)", 0.3, 0, 0, 0, std::cosh(0.3), Match::exact},
    EvaluatorCase{"exp(s)", 0.3, 0, 0, 0, std::exp(0.3), Match::exact},
    EvaluatorCase{"fabs(s)", -0.3, 0, 0, 0, 0.3, Match::exact},
    EvaluatorCase{"log(s)", 0.3, 0, 0, 0, std::log(0.3), Match::exact},
    EvaluatorCase{"sin(s)", 0.3, 0, 0, 0, std::sin(0.3), Match::exact},
    EvaluatorCase{"sinh(s)", 0.3, 0, 0, 0, std::sinh(0.3), Match::exact},
    EvaluatorCase{"sqrt(s)", 0.3, 0, 0, 0, std::sqrt(0.3), Match::exact},
    EvaluatorCase{"tan(s)", 0.3, 0, 0, 0, std::tan(0.3), Match::exact},
    EvaluatorCase{"tanh(s)", 0.3, 0, 0, 0, std::tanh(0.3), Match::exact},
    EvaluatorCase{"fabs(-3)", 0, 0, 0, 0, 3, Match::exact},
    EvaluatorCase{"atan(1)*4", 0, 0, 0, 0, 3.141592653589793, Match::exact},
    EvaluatorCase{"exp(log(2))", 0, 0, 0, 0, 2, Match::near},
    EvaluatorCase{"sqrt(fabs(-16))", 0, 0, 0, 0, 4, Match::exact}));

// IEEE results flow through without a message.
INSTANTIATE_TEST_SUITE_P(NonFinite, Evaluator, ::testing::Values(
    EvaluatorCase{"sqrt(-1)", 0, 0, 0, 0, NOT_A_NUMBER, Match::exact},
    EvaluatorCase{"0/0", 0, 0, 0, 0, NOT_A_NUMBER, Match::exact},
    EvaluatorCase{"log(-1)", 0, 0, 0, 0, NOT_A_NUMBER, Match::exact},
    EvaluatorCase{"asin(2)", 0, 0, 0, 0, NOT_A_NUMBER, Match::exact},
    EvaluatorCase{"(-8)^(1/3)", 0, 0, 0, 0, NOT_A_NUMBER, Match::exact},
    EvaluatorCase{"1+sqrt(-1)*0", 0, 0, 0, 0, NOT_A_NUMBER, Match::exact},
    EvaluatorCase{"1/0", 0, 0, 0, 0, INF, Match::exact},
    EvaluatorCase{"-1/0", 0, 0, 0, 0, -INF, Match::exact},
    EvaluatorCase{"log(0)", 0, 0, 0, 0, -INF, Match::exact},
    EvaluatorCase{"exp(1000)", 0, 0, 0, 0, INF, Match::exact},
    EvaluatorCase{"1/s", 0, 0, 0, 0, INF, Match::exact},
    EvaluatorCase{"1/(1/0)", 0, 0, 0, 0, 0, Match::exact},
    EvaluatorCase{"x^2", 0, 0, INF, 0, INF, Match::exact},
    EvaluatorCase{"x^2", 0, 0, NOT_A_NUMBER, 0, NOT_A_NUMBER, Match::exact}));

struct BrokenProgram {
    const char* name;
    std::vector<Token> program;
    std::int32_t count;
    double expected;
    std::string output;
};

void PrintTo(const BrokenProgram& c, std::ostream* os) { *os << c.name; }

class EvaluatorGuard : public ::testing::TestWithParam<BrokenProgram> {};

TEST_P(EvaluatorGuard, ReportsAndGoesOn)
{
    const BrokenProgram& c = GetParam();
    // The evaluator may read up to the count it is given, and never more than an Expression holds.
    Expression e{};
    std::copy(c.program.begin(), c.program.end(), e.program);
    double result = 0.0;
    const std::string output = output_of([&] { result = evaluate_expression(1, 2, 3, 4, e.program, c.count); });
    EXPECT_EQ(output, c.output);
    if (std::isnan(c.expected))
        EXPECT_TRUE(std::isnan(result)) << result;
    else
        EXPECT_EQ(result, c.expected);
}

const std::vector<Token> ONE_HUNDRED_S(100, Token{TOKEN_S, 0.0});

INSTANTIATE_TEST_SUITE_P(Programs, EvaluatorGuard, ::testing::Values(
    BrokenProgram{"empty", {}, 0, 0.0, message::evaluation_failed},
    BrokenProgram{"negative count", kinds({TOKEN_S}), -1, 0.0, message::evaluation_failed},
    BrokenProgram{"count past the program", kinds({TOKEN_S}), 101, 0.0, message::evaluation_failed},
    BrokenProgram{"two values left", kinds({TOKEN_S, TOKEN_T}), 2, 0.0, message::evaluation_failed},
    BrokenProgram{"hundred values left", ONE_HUNDRED_S, 100, 0.0, message::evaluation_failed},
    BrokenProgram{"operator on empty stack", kinds({TOKEN_PLUS}), 1, 0.0, message::evaluation_failed},
    BrokenProgram{"operator on one value", kinds({TOKEN_S, TOKEN_TIMES}), 2, 0.0, message::evaluation_failed},
    BrokenProgram{"closer alone", kinds({TOKEN_CLOSE}), 1, 0.0, message::evaluation_failed},
    BrokenProgram{"closer on one value", kinds({TOKEN_S, TOKEN_CLOSE}), 2, 0.0, message::evaluation_failed},
    BrokenProgram{"opener left open", kinds({TOKEN_SIN}), 1, 0.0, message::evaluation_failed},
    BrokenProgram{"unknown kind alone", kinds({50}), 1, 0.0, message::evaluation_failed},
    BrokenProgram{"kind past the codes", kinds({TOKEN_S, TOKEN_T, 1000}), 3, NOT_A_NUMBER, message::unknown_operator},
    BrokenProgram{"negative kind", kinds({TOKEN_S, TOKEN_T, -1}), 3, NOT_A_NUMBER, message::unknown_operator},
    BrokenProgram{"value under an open opener", kinds({TOKEN_SIN, TOKEN_S}), 2, 0.0, message::evaluation_failed},
    BrokenProgram{"closer without marker", kinds({TOKEN_S, TOKEN_T, TOKEN_CLOSE}), 3, 2.0,
                  message::unknown_function},
    BrokenProgram{"unknown operator", kinds({TOKEN_S, TOKEN_T, 30}), 3, NOT_A_NUMBER, message::unknown_operator},
    BrokenProgram{"unknown kind at the end", kinds({TOKEN_S, TOKEN_T, 5}), 3, NOT_A_NUMBER,
                  message::unknown_operator},
    BrokenProgram{"guards do not stop the run", kinds({TOKEN_S, TOKEN_T, 30, TOKEN_S, TOKEN_S, TOKEN_CLOSE}), 6,
                  0.0, message::unknown_operator + message::unknown_function + message::evaluation_failed}));

TEST(EvaluatorGuard, EmptyExpressionGivesZeroAndTheMessage)
{
    const Expression empty{};
    double result = 1.0;
    EXPECT_EQ(output_of([&] { result = evaluate_expression(0, 0, 0, 0, empty.program, empty.count); }),
              message::evaluation_failed);
    EXPECT_EQ(result, 0.0);
}

}  // namespace
