#pragma once
// The arithmetic of a program's tokens, shared by the evaluator and the derived form (and by the
// derived form's constant folding) so that the two give the same double for the same program:
// the same library call, the same operation, in the same order.

#include <cmath>
#include <cstdint>

#include "expr/token.h"

namespace expr_arithmetic {

// a ^ 2 is a * a, as the C++ compiler makes of pow(a, 2.0): the correctly rounded square, for a
// fraction of pow's cost on the commonest power. (glibc's pow differs from it in the last bit for
// about one argument in a thousand.) Any other exponent, 3 included, goes to pow: a * a * a
// rounds twice and is not pow's answer.
inline double power(double a, double b) { return b == 2.0 ? a * a : std::pow(a, b); }

// The function of a function opener (TOKEN_ASIN .. TOKEN_TANH); false for any other kind.
inline bool apply_named_function(std::int32_t opener, double v, double& result)
{
    switch (opener) {
    case TOKEN_ASIN: result = std::asin(v); return true;
    case TOKEN_ACOS: result = std::acos(v); return true;
    case TOKEN_ATAN: result = std::atan(v); return true;
    case TOKEN_COS: result = std::cos(v); return true;
    case TOKEN_COSH: result = std::cosh(v); return true;
    case TOKEN_EXP: result = std::exp(v); return true;
    case TOKEN_FABS: result = std::fabs(v); return true;
    case TOKEN_LOG: result = std::log(v); return true;
    case TOKEN_SIN: result = std::sin(v); return true;
    case TOKEN_SINH: result = std::sinh(v); return true;
    case TOKEN_SQRT: result = std::sqrt(v); return true;
    case TOKEN_TAN: result = std::tan(v); return true;
    case TOKEN_TANH: result = std::tanh(v); return true;
    default: return false;
    }
}

// The five operators (TOKEN_PLUS .. TOKEN_POWER); false for any other kind.
inline bool apply_known_operator(std::int32_t kind, double a, double b, double& result)
{
    switch (kind) {
    case TOKEN_PLUS: result = a + b; return true;
    case TOKEN_MINUS: result = a - b; return true;
    case TOKEN_TIMES: result = a * b; return true;
    case TOKEN_DIVIDE: result = a / b; return true;
    case TOKEN_POWER: result = power(a, b); return true;
    default: return false;
    }
}

}  // namespace expr_arithmetic
