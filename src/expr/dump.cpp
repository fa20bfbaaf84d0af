#include "expr/dump.h"

#include <cstdio>
#include <cstdlib>

namespace {

const char* kind_text(std::int32_t kind)
{
    switch (kind) {
    case TOKEN_PI: return "pi";
    case TOKEN_S: return "s";
    case TOKEN_T: return "t";
    case TOKEN_X: return "x";
    case TOKEN_Y: return "y";
    case TOKEN_PLUS: return "+";
    case TOKEN_MINUS: return "-";
    case TOKEN_TIMES: return "*";
    case TOKEN_DIVIDE: return "/";
    case TOKEN_POWER: return "^";
    case TOKEN_CLOSE: return ")";
    case TOKEN_OPEN: return "(";
    case TOKEN_ASIN: return "asin(";
    case TOKEN_ACOS: return "acos(";
    case TOKEN_ATAN: return "atan(";
    case TOKEN_COS: return "cos(";
    case TOKEN_COSH: return "cosh(";
    case TOKEN_EXP: return "exp(";
    case TOKEN_FABS: return "fabs(";
    case TOKEN_LOG: return "log(";
    case TOKEN_SIN: return "sin(";
    case TOKEN_SINH: return "sinh(";
    case TOKEN_SQRT: return "sqrt(";
    case TOKEN_TAN: return "tan(";
    case TOKEN_TANH: return "tanh(";
    default: return nullptr;
    }
}

}  // namespace

std::string dump_token(const Token& token)
{
    char buffer[40];
    if (token.kind == TOKEN_NUMBER) {
        // The shortest of %.15g and %.17g that reads back as the same double: "1.2", not
        // "1.1999999999999999".
        std::snprintf(buffer, sizeof buffer, "%.15g", token.value);
        if (std::strtod(buffer, nullptr) != token.value && token.value == token.value)
            std::snprintf(buffer, sizeof buffer, "%.17g", token.value);
        return buffer;
    }
    if (const char* text = kind_text(token.kind)) return text;
    std::snprintf(buffer, sizeof buffer, "?%d", static_cast<int>(token.kind));
    return buffer;
}

std::string dump_tokens(const Token* tokens, int count)
{
    std::string out;
    for (int i = 0; i < count; ++i) {
        if (i > 0) out += ' ';
        out += dump_token(tokens[i]);
    }
    return out;
}

std::string dump(const Expression& expression)
{
    const int count = expression.count < 0 ? 0
                      : expression.count > EXPRESSION_TOKENS ? EXPRESSION_TOKENS
                                                             : expression.count;
    return dump_tokens(expression.program, count);
}
