#pragma once
// Third stage of the expression engine: a checked token list into the stored program.
//
// Operators move behind their operands (precedence "^" over "*" "/" over "+" "-"; "^" right-
// associative, the others left-associative). Openers, plain "(" and function names alike, stay
// in front of their argument and their closer follows it, so the evaluator knows where an
// argument starts and which function the closer applies. The program has exactly as many
// tokens as the list: "cos(s)*(2+cos(t))" compiles to  cos( s ) ( 2 cos( t ) + ) *.

#include <cstdint>

#include "expr/token.h"

// One compiled equation with the text it came from. Plain data: copying it copies everything.
struct Expression {
    Token program[EXPRESSION_TOKENS];        // evaluation order; the first `count` are meaningful
    std::int32_t count;                      // 0: no valid equation stored
    char text[EXPRESSION_TEXT_LENGTH + 1];   // the equation as typed, blanks and case kept
};

// Compiles `count` tokens that passed check_syntax into `program`, which holds
// EXPRESSION_TOKENS tokens. On return `count` is the program's length, equal to the list's.
// A count of 0 or less becomes 0. A count above EXPRESSION_TOKENS never reaches the program:
// the message "入力された要素数が多すぎます" is printed, `count` becomes 0 and nothing is
// written. A token of unknown kind is left out after the message "中間ファイルの作成に失敗しました".
void compile_expression(const Token* tokens, Token* program, std::int32_t& count);
