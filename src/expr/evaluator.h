#pragma once
// Last stage of the expression engine: runs a compiled program.
//
// The hot end of the engine (four calls per grid point per frame): no parsing, no strings, no
// allocation; one fixed stack of at most EXPRESSION_TOKENS entries.

#include <cstdint>

#include "expr/token.h"

// The double nearest to pi, the value of the token "pi".
constexpr double EXPRESSION_PI = 3.141592653589793;

// Runs `count` tokens of a program made by compile_expression, with s, t, x and y bound to the
// tokens of kinds 12 to 15. Mathematical faults are not checked: NaN and infinities flow through
// into the result as IEEE arithmetic and libm give them.
// A program that is empty, longer than EXPRESSION_TOKENS, or does not leave exactly one number
// on the stack prints "数式の計算に失敗しました" and gives 0.0. A closer whose marker is no
// opener prints "予期せぬ関数が含まれています" and passes its argument on; an unknown operator
// prints "予期せぬ演算子" and gives NaN; evaluation then goes on.
double evaluate_expression(double s, double t, double x, double y, const Token* program, std::int32_t count);
