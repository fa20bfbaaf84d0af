#include <gtest/gtest.h>

#include <algorithm>

#include "engine_helpers.h"

namespace {

using namespace engine_test;

struct CompilerCase {
    std::string text;
    std::string program;
};

void PrintTo(const CompilerCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }

class Compiler : public ::testing::TestWithParam<CompilerCase> {};

TEST_P(Compiler, ReordersIntoPostfixKeepingTheLength)
{
    const CompilerCase& c = GetParam();
    const Compiled compiled = compile(c.text);
    EXPECT_EQ(compiled.output, "");
    EXPECT_EQ(dump(compiled.expression), c.program);
    EXPECT_EQ(compiled.expression.count, compiled.token_count);
}

INSTANTIATE_TEST_SUITE_P(Examples, Compiler, ::testing::Values(
    CompilerCase{"sin(s)*2", "sin( s ) 2 *"},
    CompilerCase{"(s+t)*2", "( s t + ) 2 *"},
    CompilerCase{"2^3^2", "2 3 2 ^ ^"},
    CompilerCase{"-s^2", "0 s 2 ^ -"},
    CompilerCase{"cos(s)*(2+cos(t))", "cos( s ) ( 2 cos( t ) + ) *"},
    CompilerCase{"x^2 - y^2", "x 2 ^ y 2 ^ -"}));

INSTANTIATE_TEST_SUITE_P(Precedence, Compiler, ::testing::Values(
    CompilerCase{"(s)", "( s )"},
    CompilerCase{"sin((s))", "sin( ( s ) )"},
    CompilerCase{"s*t+x", "s t * x +"},
    CompilerCase{"s+t*x", "s t x * +"},
    CompilerCase{"s^t*x", "s t ^ x *"},
    CompilerCase{"s*t^x", "s t x ^ *"},
    CompilerCase{"s-t-1", "s t - 1 -"},
    CompilerCase{"s/t/2", "s t / 2 /"},
    CompilerCase{"s/t*2", "s t / 2 *"},
    CompilerCase{"s-t+x", "s t - x +"},
    CompilerCase{"s+t^x^y*2-1", "s t x y ^ ^ 2 * + 1 -"},
    CompilerCase{"(-s*t)", "( 0 s t * - )"},
    CompilerCase{"sqrt(s^2+t^2)", "sqrt( s 2 ^ t 2 ^ + )"},
    CompilerCase{"2*x*y", "2 x * y *"},
    CompilerCase{"pi", "pi"},
    CompilerCase{"0.5*pi", "0.5 pi *"}));

INSTANTIATE_TEST_SUITE_P(DefaultEquations, Compiler, ::testing::Values(
    CompilerCase{"sin(s+t)", "sin( s t + )"},
    CompilerCase{"cos(s+t)", "cos( s t + )"},
    CompilerCase{"sin(s-t)", "sin( s t - )"},
    CompilerCase{"cos(s-t)", "cos( s t - )"},
    CompilerCase{"sin(s)*(2+cos(t))", "sin( s ) ( 2 cos( t ) + ) *"},
    CompilerCase{"sin(t)", "sin( t )"},
    CompilerCase{"0", "0"},
    CompilerCase{"s", "s"},
    CompilerCase{"t", "t"}));

// A checked list always has an odd length, so 99 tokens is the longest program that fits.
INSTANTIATE_TEST_SUITE_P(Longest, Compiler, ::testing::Values(
    CompilerCase{repeat("(", 48) + "s" + repeat(")", 48) + "+t", repeat("( ", 48) + "s" + repeat(" )", 48) + " t +"},
    CompilerCase{repeat("s^", 48) + "s+t", repeat("s ", 49) + repeat("^ ", 48) + "t +"}));

constexpr Token SENTINEL = {-7, -7.0};

struct GuardCase {
    std::vector<Token> tokens;
    std::int32_t count;  // passed in
    std::int32_t result; // count on return
    std::string output;
};

TEST(CompilerGuard, ListsThatDoNotFitAreNeverWritten)
{
    const TokenList list = tokenize(repeat("s+", 50) + "s");
    ASSERT_EQ(list.count, 101);
    const std::vector<Token> long_list(list.tokens, list.tokens + list.count);
    std::vector<Token> longer = long_list;
    longer.push_back({TOKEN_PLUS, 0.0});
    longer.push_back({TOKEN_T, 0.0});

    const GuardCase rows[] = {
        {long_list, 101, 0, message::too_many_tokens},
        {longer, 102, 0, message::too_many_tokens},
        {longer, 103, 0, message::too_many_tokens},
        {kinds({TOKEN_S}), 0, 0, ""},
        {kinds({TOKEN_S}), -3, 0, ""},
    };
    for (const GuardCase& row : rows) {
        Expression e;
        std::fill(std::begin(e.program), std::end(e.program), SENTINEL);
        e.count = row.count;
        EXPECT_EQ(output_of([&] { compile_expression(row.tokens.data(), e.program, e.count); }), row.output)
            << row.count;
        EXPECT_EQ(e.count, row.result);
        EXPECT_TRUE(std::all_of(std::begin(e.program), std::end(e.program),
                                [](const Token& t) { return t.kind == SENTINEL.kind; }))
            << "written for count " << row.count;
    }
}

TEST(CompilerGuard, UnknownKindIsLeftOutWithItsMessage)
{
    const std::vector<Token> tokens = kinds({TOKEN_S, TOKEN_PLUS, 50, TOKEN_T});
    Expression e{};
    e.count = 4;
    EXPECT_EQ(output_of([&] { compile_expression(tokens.data(), e.program, e.count); }), message::compile_failed);
    EXPECT_EQ(dump(e), "s t +");
}

// Lists the syntax check would refuse still never make a program longer than themselves.
TEST(CompilerGuard, UncheckedListsStayWithinTheirLength)
{
    const std::vector<std::vector<Token>> lists = {
        kinds({TOKEN_OPEN, TOKEN_S}),
        kinds({TOKEN_SIN, TOKEN_OPEN, TOKEN_COS}),
        kinds({TOKEN_CLOSE, TOKEN_CLOSE, TOKEN_PLUS}),
        kinds({TOKEN_PLUS, TOKEN_TIMES, TOKEN_POWER, TOKEN_MINUS}),
    };
    for (const auto& tokens : lists) {
        Expression e{};
        e.count = static_cast<std::int32_t>(tokens.size());
        output_of([&] { compile_expression(tokens.data(), e.program, e.count); });
        EXPECT_LE(e.count, static_cast<std::int32_t>(tokens.size()))
            << dump_tokens(tokens.data(), static_cast<int>(tokens.size())) << " -> " << dump(e);
    }
}

TEST(CompilerValues, NumbersKeepTheirValues)
{
    const Compiled compiled = compile("0.1+2.5e");
    EXPECT_EQ(compiled.expression.count, 0);  // "e" is refused before compiling
    const Compiled ok = compile("0.1*2.5");
    ASSERT_EQ(ok.expression.count, 3);
    EXPECT_EQ(ok.expression.program[0].value, 0.1);
    EXPECT_EQ(ok.expression.program[1].value, 2.5);
}

}  // namespace
