#include <gtest/gtest.h>

#include "engine_helpers.h"

namespace {

using namespace engine_test;

struct TokenizerCase {
    std::string text;
    std::string tokens;   // dump of the list; "" when nothing is returned
    std::string output;   // what was printed
};

void PrintTo(const TokenizerCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }

class Tokenizer : public ::testing::TestWithParam<TokenizerCase> {};

TEST_P(Tokenizer, Splits)
{
    const TokenizerCase& c = GetParam();
    const TokenList list = tokenize(c.text);
    EXPECT_EQ(list.text(), c.tokens);
    EXPECT_EQ(list.output, c.output);
    if (c.tokens.empty()) {
        EXPECT_EQ(list.count, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Blanks, Tokenizer, ::testing::Values(
    TokenizerCase{"", "", ""},
    TokenizerCase{"   ", "", ""},
    TokenizerCase{"\t \t", "", ""},
    TokenizerCase{"x^2 - y^2", "x ^ 2 - y ^ 2", ""},
    TokenizerCase{"1 2", "12", ""},
    TokenizerCase{"s i n (s)", "sin( s )", ""},
    TokenizerCase{"sin (s)", "sin( s )", ""},
    TokenizerCase{"\tcos(\tt )", "cos( t )", ""}));

INSTANTIATE_TEST_SUITE_P(Case, Tokenizer, ::testing::Values(
    TokenizerCase{"SIN(S)", "sin( s )", ""},
    TokenizerCase{"PI", "pi", ""},
    TokenizerCase{"pi", "pi", ""},
    TokenizerCase{"Pi*X+Y-T", "pi * x + y - t", ""},
    TokenizerCase{"SQRT(FABS(s))", "sqrt( fabs( s ) )", ""}));

INSTANTIATE_TEST_SUITE_P(UnaryMinus, Tokenizer, ::testing::Values(
    TokenizerCase{"-s", "0 - s", ""},
    TokenizerCase{" -s", "0 - s", ""},
    TokenizerCase{"s-(-t)", "s - ( 0 - t )", ""},
    TokenizerCase{"sin(-s)", "sin( 0 - s )", ""},
    TokenizerCase{"sin( - s)", "sin( 0 - s )", ""},
    TokenizerCase{"s*-t", "s * - t", ""},
    TokenizerCase{"--s", "0 - - s", ""},
    TokenizerCase{"(-2)^2", "( 0 - 2 ) ^ 2", ""}));

INSTANTIATE_TEST_SUITE_P(Words, Tokenizer, ::testing::Values(
    TokenizerCase{"asin(acos(atan(s)))", "asin( acos( atan( s ) ) )", ""},
    TokenizerCase{"cos(cosh(exp(t)))", "cos( cosh( exp( t ) ) )", ""},
    TokenizerCase{"fabs(log(x))", "fabs( log( x ) )", ""},
    TokenizerCase{"sin(sinh(sqrt(y)))", "sin( sinh( sqrt( y ) ) )", ""},
    TokenizerCase{"tan(tanh(s))", "tan( tanh( s ) )", ""},
    TokenizerCase{"(s)", "( s )", ""},
    TokenizerCase{"s+t-x*y/s^t", "s + t - x * y / s ^ t", ""},
    TokenizerCase{"2s", "2 s", ""},
    TokenizerCase{"st", "s t", ""},
    TokenizerCase{"ts", "t s", ""},
    TokenizerCase{"tt(", "t t (", ""},
    TokenizerCase{"s(", "s (", ""}));

INSTANTIATE_TEST_SUITE_P(IllegalCharacters, Tokenizer, ::testing::Values(
    TokenizerCase{"sinh", "", message::illegal_character},
    TokenizerCase{"sin", "", message::illegal_character},
    TokenizerCase{"p", "", message::illegal_character},
    TokenizerCase{"s+p", "", message::illegal_character},
    TokenizerCase{"1e3", "", message::illegal_character},
    TokenizerCase{"e", "", message::illegal_character},
    TokenizerCase{"z", "", message::illegal_character},
    TokenizerCase{"asin", "", message::illegal_character},
    TokenizerCase{"cosh", "", message::illegal_character},
    TokenizerCase{"sqrt", "", message::illegal_character},
    TokenizerCase{"exp", "", message::illegal_character},
    TokenizerCase{"a", "", message::illegal_character},
    TokenizerCase{"s,t", "", message::illegal_character},
    TokenizerCase{"s=t", "", message::illegal_character},
    TokenizerCase{"[s]", "", message::illegal_character},
    TokenizerCase{"s\n", "", message::illegal_character},
    TokenizerCase{"\xe6\x95\xb0", "", message::illegal_character},
    TokenizerCase{"s+\x80", "", message::illegal_character},
    TokenizerCase{"\xff", "", message::illegal_character},
    TokenizerCase{"\x83\x54", "", message::illegal_character}));

INSTANTIATE_TEST_SUITE_P(Numbers, Tokenizer, ::testing::Values(
    TokenizerCase{"0", "0", ""},
    TokenizerCase{"2.5", "2.5", ""},
    TokenizerCase{"1.2.3", "1.2", ""},
    TokenizerCase{".", "0", ""},
    TokenizerCase{".5", "0.5", ""},
    TokenizerCase{"007", "7", ""},
    TokenizerCase{"1" + repeat("0", 99), "1e+99", ""},
    TokenizerCase{repeat(".", 100), "0", ""},
    TokenizerCase{"1" + repeat("0", 100), "", message::number_too_long},
    TokenizerCase{"s+" + repeat("9", 101), "", message::number_too_long},
    TokenizerCase{repeat("1", 50) + " " + repeat("1", 51), "", message::number_too_long}));

// Counts: elements are read while at most 100 tokens exist, a unary minus adds two.
INSTANTIATE_TEST_SUITE_P(Counts, Tokenizer, ::testing::Values(
    TokenizerCase{repeat("s+", 50) + "s", repeat("s + ", 50) + "s", ""},
    TokenizerCase{repeat("s+", 50) + "s+", "", message::too_many_tokens},
    TokenizerCase{repeat("(", 100) + "-", repeat("( ", 100) + "0 -", ""},
    TokenizerCase{repeat("(", 100) + "-s", "", message::too_many_tokens},
    TokenizerCase{repeat("s+", 99) + "s+", "", message::too_many_tokens}));

INSTANTIATE_TEST_SUITE_P(LineLength, Tokenizer, ::testing::Values(
    TokenizerCase{repeat("s+", 49) + "s" + repeat(" ", 101), repeat("s + ", 49) + "s", ""},
    TokenizerCase{repeat(" ", 200), "", ""},
    TokenizerCase{repeat("\x80", 200), "", message::illegal_character},
    TokenizerCase{repeat(" ", 199) + "s", "s", ""},
    TokenizerCase{repeat(" ", 200) + "s", "", message::line_too_long},
    TokenizerCase{repeat(" ", 201), "", message::line_too_long}));

TEST(TokenizerCount, ReportsTokensWritten)
{
    struct Row {
        std::string text;
        int count;
    };
    const Row rows[] = {
        {"s", 1}, {"-s", 3}, {"sin(s)", 3}, {repeat("s+", 50) + "s", 101}, {repeat("(", 100) + "-", 102},
    };
    for (const Row& row : rows) EXPECT_EQ(tokenize(row.text).count, row.count) << row.text;
}

TEST(TokenizerValues, NumbersKeepTheirValueAndOtherKindsCarryNone)
{
    const TokenList list = tokenize("0.125*s+1234567.5");
    ASSERT_EQ(list.count, 5);
    EXPECT_EQ(list.tokens[0].value, 0.125);
    EXPECT_EQ(list.tokens[4].value, 1234567.5);
    EXPECT_EQ(list.tokens[2].value, 0.0);
}

}  // namespace
