#include "expr/syntax.h"

#include "expr/tokenizer.h"

namespace {

const char* const MESSAGE_BAD_START = "数式の始まり方が不正です。";
const char* const MESSAGE_BAD_END = "数式の終わり方が不正です。";
const char* const MESSAGE_BAD_OPENER = "数学関数の配置の配置が不正です";
const char* const MESSAGE_BAD_CLOSER = "閉括弧の配置が不正です";
const char* const MESSAGE_UNOPENED_CLOSER = "閉括弧の対する開括弧が有りません";
const char* const MESSAGE_BAD_OPERATOR = "演算子の配置が不正です";
const char* const MESSAGE_BAD_OPERAND = "数値の配置が不正です";
const char* const MESSAGE_UNBALANCED = "開閉の括弧の数が不正です";
const char* const MESSAGE_UNKNOWN_KIND = "ここのエラーは divide_token で引っかかってるはず";

enum class TokenClass { operand, operator_, closer, opener, unknown };

TokenClass class_of(std::int32_t kind)
{
    if (is_operand(kind)) return TokenClass::operand;
    if (is_operator(kind)) return TokenClass::operator_;
    if (is_closer(kind)) return TokenClass::closer;
    if (is_opener(kind)) return TokenClass::opener;
    return TokenClass::unknown;
}

// Something a value can follow: the start, an operator or an opener.
bool expects_value(TokenClass previous) { return previous == TokenClass::operator_ || previous == TokenClass::opener; }

int fail(const char* message)
{
    print_error(message);
    return 0;
}

}  // namespace

int check_syntax(const Token* tokens, int count)
{
    if (count < 1) return 0;

    const TokenClass first = class_of(tokens[0].kind);
    if (first == TokenClass::operator_ || first == TokenClass::closer) return fail(MESSAGE_BAD_START);
    // The neighbour rule below reports unknown kinds only after the first token; a corrupt
    // first token must not slip through to the compiler either.
    if (first == TokenClass::unknown) return fail(MESSAGE_UNKNOWN_KIND);
    int depth = first == TokenClass::opener ? 1 : 0;

    for (int i = 1; i < count; ++i) {
        const TokenClass previous = class_of(tokens[i - 1].kind);
        switch (class_of(tokens[i].kind)) {
        case TokenClass::operand:
            if (!expects_value(previous)) return fail(MESSAGE_BAD_OPERAND);
            break;
        case TokenClass::operator_:
            if (expects_value(previous)) return fail(MESSAGE_BAD_OPERATOR);
            break;
        case TokenClass::closer:
            if (expects_value(previous)) return fail(MESSAGE_BAD_CLOSER);
            if (--depth < 0) return fail(MESSAGE_UNOPENED_CLOSER);
            break;
        case TokenClass::opener:
            if (!expects_value(previous)) return fail(MESSAGE_BAD_OPENER);
            ++depth;
            break;
        case TokenClass::unknown:
            return fail(MESSAGE_UNKNOWN_KIND);
        }
    }

    const TokenClass last = class_of(tokens[count - 1].kind);
    if (last == TokenClass::operator_ || last == TokenClass::opener) return fail(MESSAGE_BAD_END);
    if (depth != 0) return fail(MESSAGE_UNBALANCED);
    return count;
}
