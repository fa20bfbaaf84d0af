#pragma once
// Second stage of the expression engine: is a token list a well-formed equation?
//
//   <equation> = <term> { <operator> <term> }
//   <term>     = <operand> | <opener> <equation> <closer>
//
// There is no unary operator (the tokenizer writes a unary minus as "0 -") and no implied
// multiplication.

#include "expr/token.h"

// Returns `count` unchanged when the list is well formed; otherwise prints the message of the
// first fault with print_error and returns 0. Never changes the list. A count below 1 is
// returned as 0 without a message.
int check_syntax(const Token* tokens, int count);
