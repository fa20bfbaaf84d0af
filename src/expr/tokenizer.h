#pragma once
// First stage of the expression engine: one line of equation text into a list of tokens.

#include "expr/token.h"

// Splits a NUL-terminated line into tokens. `tokens` must have room for TOKEN_LIST_SIZE (102).
// Blanks and tabs are dropped wherever they stand and letters are folded to lower case, so
// "SIN (S)" reads as "sin(s)". A "-" at the start or right after a "(" is a unary minus and is
// written as the two tokens 0 and "-".
// Returns the number of tokens (at least 1), or 0 when the line holds only blanks (silently) or
// when a fault was reported with print_error: an illegal character, a number longer than 100
// characters, more text after more than 100 tokens, or a line longer than 200 characters.
// A count of 101 or 102 is returned as it is; it does not fit an Expression.
int divide_token(const char* text, Token* tokens);

// Writes one of the engine's messages (UTF-8 text) to standard output with "%s\n\n" through the
// console module, then flushes standard output.
void print_error(const char* message);
