#pragma once
// One element of an equation, as the tokenizer makes it and as compiled programs store it.
//
// The kind codes are fixed numbers: they are stored in compiled programs and the later stages
// test them by ranges (operands 10-15, operators 20-24, closer 99, openers 110-123).

#include <cstdint>

enum TokenKind : std::int32_t {
    // Operands.
    TOKEN_NUMBER = 10,
    TOKEN_PI = 11,
    TOKEN_S = 12,
    TOKEN_T = 13,
    TOKEN_X = 14,
    TOKEN_Y = 15,
    // Operators.
    TOKEN_PLUS = 20,
    TOKEN_MINUS = 21,
    TOKEN_TIMES = 22,
    TOKEN_DIVIDE = 23,
    TOKEN_POWER = 24,
    // Closer.
    TOKEN_CLOSE = 99,
    // Openers: a function name always carries its own "(".
    TOKEN_OPEN = 110,
    TOKEN_ASIN = 111,
    TOKEN_ACOS = 112,
    TOKEN_ATAN = 113,
    TOKEN_COS = 114,
    TOKEN_COSH = 115,
    TOKEN_EXP = 116,
    TOKEN_FABS = 117,
    TOKEN_LOG = 118,
    TOKEN_SIN = 119,
    TOKEN_SINH = 120,
    TOKEN_SQRT = 121,
    TOKEN_TAN = 122,
    TOKEN_TANH = 123,
};

struct Token {
    std::int32_t kind;  // a TokenKind code; any other value is a corrupt token
    double value;       // the number for TOKEN_NUMBER, 0 and ignored for every other kind
};

// Longest equation line, without its NUL.
constexpr int EXPRESSION_TEXT_LENGTH = 200;
// Tokens a compiled program holds.
constexpr int EXPRESSION_TOKENS = 100;
// Tokens divide_token may write: it stops adding elements once more than 100 exist, and the
// last element may be a unary minus, which is two tokens.
constexpr int TOKEN_LIST_SIZE = 102;
// Longest number, in characters.
constexpr int NUMBER_LENGTH = 100;

constexpr bool is_operand(std::int32_t kind) { return kind >= TOKEN_NUMBER && kind <= TOKEN_Y; }
constexpr bool is_operator(std::int32_t kind) { return kind >= TOKEN_PLUS && kind <= TOKEN_POWER; }
constexpr bool is_closer(std::int32_t kind) { return kind == TOKEN_CLOSE; }
constexpr bool is_opener(std::int32_t kind) { return kind >= TOKEN_OPEN && kind <= TOKEN_TANH; }
