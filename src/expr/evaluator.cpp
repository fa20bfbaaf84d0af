#include "expr/evaluator.h"

#include <cmath>
#include <limits>

#include "expr/tokenizer.h"

namespace {

const char* const MESSAGE_FAILED = "数式の計算に失敗しました";
const char* const MESSAGE_UNKNOWN_FUNCTION = "予期せぬ関数が含まれています";
const char* const MESSAGE_UNKNOWN_OPERATOR = "予期せぬ演算子";

double fail()
{
    print_error(MESSAGE_FAILED);
    return 0.0;
}

// The function of an opener, applied to its argument at the closer.
double apply_function(std::int32_t opener, double v)
{
    switch (opener) {
    case TOKEN_OPEN: return v;
    case TOKEN_ASIN: return std::asin(v);
    case TOKEN_ACOS: return std::acos(v);
    case TOKEN_ATAN: return std::atan(v);
    case TOKEN_COS: return std::cos(v);
    case TOKEN_COSH: return std::cosh(v);
    case TOKEN_EXP: return std::exp(v);
    case TOKEN_FABS: return std::fabs(v);
    case TOKEN_LOG: return std::log(v);
    case TOKEN_SIN: return std::sin(v);
    case TOKEN_SINH: return std::sinh(v);
    case TOKEN_SQRT: return std::sqrt(v);
    case TOKEN_TAN: return std::tan(v);
    case TOKEN_TANH: return std::tanh(v);
    default:
        print_error(MESSAGE_UNKNOWN_FUNCTION);
        return v;
    }
}

// a ^ 2 is a * a: the exact square, correctly rounded, which is what pow returns for it and what
// the C++ compiler makes of pow(a, 2.0); it saves a libm call on the commonest power.
double power(double a, double b) { return b == 2.0 ? a * a : std::pow(a, b); }

double apply_operator(std::int32_t kind, double a, double b)
{
    switch (kind) {
    case TOKEN_PLUS: return a + b;
    case TOKEN_MINUS: return a - b;
    case TOKEN_TIMES: return a * b;
    case TOKEN_DIVIDE: return a / b;
    case TOKEN_POWER: return power(a, b);
    default:
        print_error(MESSAGE_UNKNOWN_OPERATOR);
        return std::numeric_limits<double>::quiet_NaN();
    }
}

}  // namespace

double evaluate_expression(double s, double t, double x, double y, const Token* program, std::int32_t count)
{
    // Each token pushes at most one entry, so a program that fits an Expression cannot overflow
    // the stack; only the pops need a depth test.
    if (count <= 0 || count > EXPRESSION_TOKENS) return fail();
    std::int32_t kinds[EXPRESSION_TOKENS];  // TOKEN_NUMBER, or the opener waiting for its closer
    double values[EXPRESSION_TOKENS];
    int depth = 0;

    for (const Token* token = program; token != program + count; ++token) {
        double pushed;
        switch (token->kind) {
        case TOKEN_NUMBER: pushed = token->value; break;
        case TOKEN_PI: pushed = EXPRESSION_PI; break;
        case TOKEN_S: pushed = s; break;
        case TOKEN_T: pushed = t; break;
        case TOKEN_X: pushed = x; break;
        case TOKEN_Y: pushed = y; break;
        case TOKEN_CLOSE:
            if (depth < 2) return fail();
            --depth;
            values[depth - 1] = apply_function(kinds[depth - 1], values[depth]);
            kinds[depth - 1] = TOKEN_NUMBER;
            continue;
        case TOKEN_OPEN: case TOKEN_ASIN: case TOKEN_ACOS: case TOKEN_ATAN: case TOKEN_COS:
        case TOKEN_COSH: case TOKEN_EXP: case TOKEN_FABS: case TOKEN_LOG: case TOKEN_SIN:
        case TOKEN_SINH: case TOKEN_SQRT: case TOKEN_TAN: case TOKEN_TANH:
            kinds[depth] = token->kind;
            values[depth] = 0.0;
            ++depth;
            continue;
        default:
            if (depth < 2) return fail();
            --depth;
            values[depth - 1] = apply_operator(token->kind, values[depth - 1], values[depth]);
            kinds[depth - 1] = TOKEN_NUMBER;
            continue;
        }
        kinds[depth] = TOKEN_NUMBER;
        values[depth] = pushed;
        ++depth;
    }
    if (depth != 1 || kinds[0] != TOKEN_NUMBER) return fail();
    return values[0];
}
