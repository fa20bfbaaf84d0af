#pragma once
// Readable form of tokens and programs, for test failure messages and debugging.

#include <cstdint>
#include <string>

#include "expr/compiler.h"

// The text of one token: a number in the shortest form that reads back ("2", "1.2"), the other
// kinds as written in an equation ("pi", "s", "+", ")", "sin("), an unknown kind as "?<code>".
std::string dump_token(const Token& token);

// The tokens separated by single blanks: "cos( s ) 2 *".
std::string dump_tokens(const Token* tokens, int count);

// The program of an Expression, as dump_tokens.
std::string dump(const Expression& expression);
