#include "expr/compiler.h"

#include "expr/tokenizer.h"

namespace {

const char* const MESSAGE_TOO_MANY_TOKENS = "入力された要素数が多すぎます";
const char* const MESSAGE_UNKNOWN_KIND = "中間ファイルの作成に失敗しました";

// Operators and openers waiting for their turn. Every token is pushed at most once, so a list of
// at most EXPRESSION_TOKENS never overflows it.
struct OperatorStack {
    std::int32_t kinds[EXPRESSION_TOKENS];
    int size = 0;

    bool top_is_one_of(std::int32_t low, std::int32_t high) const
    {
        return size > 0 && kinds[size - 1] >= low && kinds[size - 1] <= high;
    }
};

// Every token is appended at most once (an opener when it is pushed, never again when popped),
// so the program never grows past the list.
struct Output {
    Token* program;
    int size = 0;

    void append(std::int32_t kind, double value = 0.0) { program[size++] = {kind, value}; }
};

// "^" binds tightest and is right-associative, so it pops nothing. "*" and "/" pop "*" "/" "^";
// "+" and "-" pop every operator. Operator codes are ordered so that a range says this.
void push_operator(std::int32_t kind, OperatorStack& stack, Output& out)
{
    const std::int32_t lowest_popped = kind == TOKEN_POWER ? TOKEN_POWER + 1
                                       : kind >= TOKEN_TIMES ? TOKEN_TIMES
                                                             : TOKEN_PLUS;
    while (stack.top_is_one_of(lowest_popped, TOKEN_POWER)) out.append(stack.kinds[--stack.size]);
    stack.kinds[stack.size++] = kind;
}

// Pops down to the opener of this closer; the opener is already in the program, in front of
// its argument.
void close_argument(OperatorStack& stack, Output& out)
{
    while (stack.size > 0) {
        const std::int32_t kind = stack.kinds[--stack.size];
        if (is_opener(kind)) break;
        out.append(kind);
    }
    out.append(TOKEN_CLOSE);
}

}  // namespace

void compile_expression(const Token* tokens, Token* program, std::int32_t& count)
{
    if (count <= 0) {
        count = 0;
        return;
    }
    if (count > EXPRESSION_TOKENS) {
        print_error(MESSAGE_TOO_MANY_TOKENS);
        count = 0;
        return;
    }

    OperatorStack stack;
    Output out{program};
    for (int i = 0; i < count; ++i) {
        const Token& token = tokens[i];
        if (is_operand(token.kind)) {
            out.append(token.kind, token.value);
        } else if (is_operator(token.kind)) {
            push_operator(token.kind, stack, out);
        } else if (is_closer(token.kind)) {
            close_argument(stack, out);
        } else if (is_opener(token.kind)) {
            stack.kinds[stack.size++] = token.kind;
            out.append(token.kind);
        } else {
            print_error(MESSAGE_UNKNOWN_KIND);
        }
    }
    // After a passed check only operators remain; an opener left by an unchecked list is
    // already in the program and must not be appended twice.
    while (stack.size > 0) {
        const std::int32_t kind = stack.kinds[--stack.size];
        if (!is_opener(kind)) out.append(kind);
    }
    count = out.size;
}
