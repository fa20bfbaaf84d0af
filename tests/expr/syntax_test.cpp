#include <gtest/gtest.h>

#include "engine_helpers.h"

namespace {

using namespace engine_test;

std::string checked_output(const std::vector<Token>& tokens, int* result = nullptr)
{
    int r = 0;
    std::string out = output_of([&] { r = check_syntax(tokens.data(), static_cast<int>(tokens.size())); });
    if (result != nullptr) *result = r;
    return out;
}

struct SyntaxCase {
    std::string text;
    std::string output;  // "" when the line passes
};

void PrintTo(const SyntaxCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }

class Syntax : public ::testing::TestWithParam<SyntaxCase> {};

TEST_P(Syntax, ChecksLine)
{
    const SyntaxCase& c = GetParam();
    const TokenList list = tokenize(c.text);
    ASSERT_GT(list.count, 0) << list.output;
    int result = 0;
    const std::string output = checked_output(std::vector<Token>(list.tokens, list.tokens + list.count), &result);
    EXPECT_EQ(output, c.output);
    EXPECT_EQ(result, c.output.empty() ? list.count : 0);
}

INSTANTIATE_TEST_SUITE_P(Passes, Syntax, ::testing::Values(
    SyntaxCase{"s", ""},
    SyntaxCase{"-s", ""},
    SyntaxCase{"s*(-t)", ""},
    SyntaxCase{"s^(-1)", ""},
    SyntaxCase{"sin(s+t)", ""},
    SyntaxCase{"cos(s)*(2+cos(t))", ""},
    SyntaxCase{"x^2 - y^2", ""},
    SyntaxCase{"((s))", ""},
    SyntaxCase{"sqrt(fabs(-s))", ""},
    SyntaxCase{repeat("s+", 50) + "s", ""}));

INSTANTIATE_TEST_SUITE_P(Start, Syntax, ::testing::Values(
    SyntaxCase{")", message::bad_start},
    SyntaxCase{"+s", message::bad_start},
    SyntaxCase{"*s", message::bad_start},
    SyntaxCase{")s(", message::bad_start}));

INSTANTIATE_TEST_SUITE_P(End, Syntax, ::testing::Values(
    SyntaxCase{"(", message::bad_end},
    SyntaxCase{"s+", message::bad_end},
    SyntaxCase{"sin(", message::bad_end},
    SyntaxCase{"-", message::bad_end}));

INSTANTIATE_TEST_SUITE_P(Neighbours, Syntax, ::testing::Values(
    SyntaxCase{"()", message::bad_closer},
    SyntaxCase{"sin()", message::bad_closer},
    SyntaxCase{"(s+)", message::bad_closer},
    SyntaxCase{"2s", message::bad_operand},
    SyntaxCase{"s t", message::bad_operand},
    SyntaxCase{"(s)t", message::bad_operand},
    SyntaxCase{"2(s)", message::bad_opener},
    SyntaxCase{"s sin(t)", message::bad_opener},
    SyntaxCase{"(s)(t)", message::bad_opener},
    SyntaxCase{"s*-t", message::bad_operator},
    SyntaxCase{"s^-1", message::bad_operator},
    SyntaxCase{"(*s)", message::bad_operator}));

INSTANTIATE_TEST_SUITE_P(Parentheses, Syntax, ::testing::Values(
    SyntaxCase{"s)", message::unopened_closer},
    SyntaxCase{"(s))", message::unopened_closer},
    SyntaxCase{"s)+(t", message::unopened_closer},
    SyntaxCase{"((s)", message::unbalanced},
    SyntaxCase{"sin(cos(s)", message::unbalanced}));

// The succession rules as a table (row: previous token, column: current token), checked on lists
// built around each pair so that nothing else in the list is at fault.
enum Class { OPERAND, OPERATOR, CLOSER, OPENER };
const std::int32_t SAMPLE[] = {TOKEN_S, TOKEN_PLUS, TOKEN_CLOSE, TOKEN_SIN};
const bool ALLOWED[4][4] = {
    //          operand opr    closer opener
    /* operand */ {false, true, true, false},
    /* opr     */ {true, false, false, true},
    /* closer  */ {false, true, true, false},
    /* opener  */ {true, false, false, true},
};
const bool ALLOWED_FIRST[4] = {true, false, false, true};
const bool ALLOWED_LAST[4] = {true, false, true, false};
const std::string* const REFUSAL[4] = {&message::bad_operand, &message::bad_operator, &message::bad_closer,
                                        &message::bad_opener};

// Appends what makes a list ending in `last` a complete, balanced equation.
void complete(std::vector<Token>& tokens, Class last)
{
    if (last == OPERATOR || last == OPENER) tokens.push_back({TOKEN_S, 0.0});
    int depth = 0;
    for (const Token& t : tokens) depth += is_opener(t.kind) ? 1 : is_closer(t.kind) ? -1 : 0;
    for (; depth > 0; --depth) tokens.push_back({TOKEN_CLOSE, 0.0});
}

// A valid start that ends with a token of the given class; the two leading "(" leave room for
// closers after it.
std::vector<Token> lead_up_to(Class previous)
{
    std::vector<Token> tokens = kinds({TOKEN_OPEN, TOKEN_OPEN});
    if (previous == OPERATOR) tokens.push_back({TOKEN_S, 0.0});
    if (previous == CLOSER) {
        tokens.push_back({TOKEN_OPEN, 0.0});
        tokens.push_back({TOKEN_S, 0.0});
    }
    tokens.push_back({SAMPLE[previous], 0.0});
    return tokens;
}

TEST(SyntaxSuccession, FollowsTheTable)
{
    for (int previous = OPERAND; previous <= OPENER; ++previous) {
        for (int current = OPERAND; current <= OPENER; ++current) {
            std::vector<Token> tokens = lead_up_to(Class(previous));
            tokens.push_back({SAMPLE[current], 0.0});
            complete(tokens, Class(current));
            const std::string expected = ALLOWED[previous][current] ? "" : *REFUSAL[current];
            EXPECT_EQ(checked_output(tokens), expected)
                << dump_tokens(tokens.data(), static_cast<int>(tokens.size()));
        }
    }
}

TEST(SyntaxSuccession, FirstAndLastToken)
{
    // Lists whose only possible fault is their last token.
    const std::vector<Token> ending_in[4] = {
        kinds({TOKEN_S, TOKEN_PLUS, TOKEN_S}),
        kinds({TOKEN_S, TOKEN_PLUS}),
        kinds({TOKEN_OPEN, TOKEN_S, TOKEN_PLUS, TOKEN_OPEN, TOKEN_S, TOKEN_CLOSE, TOKEN_CLOSE}),
        kinds({TOKEN_S, TOKEN_PLUS, TOKEN_SIN}),
    };
    for (int c = OPERAND; c <= OPENER; ++c) {
        std::vector<Token> first = {{SAMPLE[c], 0.0}};
        complete(first, Class(c));
        EXPECT_EQ(checked_output(first), ALLOWED_FIRST[c] ? "" : message::bad_start)
            << dump_tokens(first.data(), static_cast<int>(first.size()));

        const std::vector<Token>& last = ending_in[c];
        EXPECT_EQ(checked_output(last), ALLOWED_LAST[c] ? "" : message::bad_end)
            << dump_tokens(last.data(), static_cast<int>(last.size()));
    }
}

TEST(SyntaxKinds, EveryKindOutsideTheClassesIsRefusedWherever)
{
    const std::int32_t outside[] = {0, 9, 16, 19, 25, 98, 100, 109, 124, -1};
    for (std::int32_t kind : outside) {
        const std::vector<std::vector<Token>> lists = {
            kinds({kind}),
            kinds({TOKEN_S, TOKEN_PLUS, kind}),
            kinds({TOKEN_S, kind, TOKEN_T}),
        };
        for (const auto& tokens : lists)
            EXPECT_EQ(checked_output(tokens), message::unknown_kind)
                << kind << " in " << dump_tokens(tokens.data(), static_cast<int>(tokens.size()));
    }
}

TEST(SyntaxCounts, NonPositiveCountIsRefusedSilently)
{
    const std::vector<Token> tokens = kinds({TOKEN_S});
    for (int count : {0, -1}) {
        int result = 1;
        EXPECT_EQ(output_of([&] { result = check_syntax(tokens.data(), count); }), "");
        EXPECT_EQ(result, 0);
    }
}

}  // namespace
