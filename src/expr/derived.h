#pragma once
// The derived form of a compiled program: the same computation as evaluate_expression, faster.
//
// The stored program (compiler.h) is the program's own format and stays as it is: it keeps every
// opener and closer, and an operand is a token of its own. From it derive_program makes a short
// register program for the hot path (the user graph's four equations at every grid point):
//   - constants folded: an operator or function whose operands are all constants is computed once
//     here, with the evaluator's own arithmetic, in the evaluator's order (nothing reassociated);
//   - plain parentheses dropped; a function call is one instruction;
//   - operands fused into the instruction that uses them: registers 0 to 3 hold s, t, x and y,
//     a constant is carried in the instruction, a result goes to the register of its stack depth;
//   - "^ 2" with the constant 2 is one squaring (the evaluator's a * a); every other power,
//     "^ 3" included, stays pow, which a * a * a would not match to the bit;
//   - the last instruction returns its result instead of storing it.
// The unary minus "0 - a" stays a subtraction from 0 (negation would turn 0 into -0).
//
// Only a program that the evaluator runs without a message is derived. For any other (empty, too
// long, a corrupt token, a stack that would underflow or not end with one number) the derived
// form consists of one instruction that hands the stored program to evaluate_expression, so the
// messages and the result stay exactly its own.
//
// It is plain data of fixed size; deriving and evaluating allocate nothing. It is rebuilt from the
// stored program whenever that changes and never stored in a file or typed.

#include <cstdint>

#include "expr/token.h"

// One instruction. `op` picks the operation; `a` and `b` are registers (0-3: s, t, x, y; 4 and up:
// results), `k` the constant operand; the result goes to register `dst`.
struct DerivedInstruction {
    std::uint8_t op;
    std::uint8_t dst;
    std::uint8_t a;
    std::uint8_t b;
    double k;
};

// Registers: s, t, x, y and one per stack depth of the stored program.
constexpr int DERIVED_REGISTERS = 4 + EXPRESSION_TOKENS;

struct DerivedProgram {
    // At most one instruction per operator or closer of the stored program, and the one that
    // returns: never more than the stored program has tokens.
    DerivedInstruction code[EXPRESSION_TOKENS];
    std::int32_t length;                     // instructions in code
    // The stored program it was derived from: compared to see whether it must be rebuilt, and
    // run by evaluate_expression when it is not derivable.
    Token source[EXPRESSION_TOKENS];
    std::int32_t source_count;
};

// Derives `d` from `count` tokens of a stored program (any tokens and any count: what the
// evaluator would refuse becomes a hand-over to it). Prints nothing.
void derive_program(DerivedProgram& d, const Token* program, std::int32_t count);

// Derives `d` again when `program` and `count` differ from what it was derived from (kinds,
// count, and the bits of the numbers). True when it was rebuilt. A DerivedProgram that has never
// been derived must be zero-filled (a static one is) so that it is rebuilt on first use.
bool refresh_derived(DerivedProgram& d, const Token* program, std::int32_t count);

// The value of the program at (s, t, x, y): bit for bit the double evaluate_expression gives
// for the stored program (any NaN for a NaN), with the same messages for a program it refuses.
double evaluate_derived(const DerivedProgram& d, double s, double t, double x, double y);
