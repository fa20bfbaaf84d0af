// Console dialogues: reading equations, constant expressions and numbers
// typed in answer to a prompt, and the "NEW" dialogue of the equation sets.
//
// Every prompt goes out through the console module, which flushes it, so a
// person or a program at the other end of a pipe sees it before the read.
// Answers come from one stream, standard input unless a test points the
// dialogues at another. When that stream ends, the dialogue in progress gives
// up and keeps the previous values, one line on standard error says so, and
// every later dialogue returns at once: a closed console must never make the
// program spin or hang inside a GLUT callback.
#pragma once

#include <cstdio>

#include "expr/compiler.h"

namespace fourview {

// Points the dialogues at `stream` (nullptr: standard input) and forgets
// that an earlier stream had ended.
void set_console_input(std::FILE* stream);
// True once the answers' stream has ended; it stays ended for the run.
bool console_input_ended();
// The same, for a dialogue about to start: the first time it finds the
// stream ended, it writes the one line on standard error that says so.
bool console_input_gone();

// Reads one line into `buffer` (EXPRESSION_TEXT_LENGTH characters and the
// NUL); the newline, and a carriage return before it, are not stored.
// Returns the length; 0 for an empty line and for a line of more than 200
// characters, which is read to its end and reported with "数式が長過ぎます";
// -1 when the input has ended before any character (the buffer then holds
// an empty text). A last line without a newline still counts as a line.
int read_equation_line(char* buffer);

// Prompts "<name> = " until a line tokenizes, checks and fits (at most 100
// tokens; more are refused without a message of their own), then stores the
// program and the line as typed. False when the input ended first; the
// expression is then left as it was.
bool ask_expression(Expression& expression, const char* name);

// Reads a range bound as a constant expression: asks with ask_expression
// until the equation names none of s, t, x, y, then stores its value and the
// text as typed (`text` holds EXPRESSION_TEXT_LENGTH characters and the NUL).
// False when the input ended first; value and text are then left alone.
bool ask_constant(double& value, char* text, const char* name);

// The checks of ask_expression, ask_constant and the "NEW" dialogue on a
// text given whole (a command-line option), with the same messages on
// standard output. compile_equation stores a text that tokenizes, checks and
// fits; constant_from_text evaluates a bound that names none of s, t, x, y;
// parametric_equation_ok refuses an x(s,t) or y(s,t) (index 0 or 1 of a set)
// that names x or y.
bool compile_equation(Expression& expression, const char* text);
bool constant_from_text(const char* text, const char* name, double& value);
bool constant_names_no_parameter(const Expression& bound, const char* name);
bool parametric_equation_ok(const Expression& e, int index);

// The outcome of reading a numeric answer.
enum class Answer {
    ok,            // every value read; the rest of the line is dropped
    not_a_number,  // a word that is not a whole finite number; its line is dropped
    ended,         // the input ended before every value was read
};

// Reads whitespace-separated numbers as scanf's "%d" / "%lf" would (values may
// stand on several lines), except that each must be a whole, finite number in
// range: "12abc", "1.5" for an int, "nan" and "inf" are not numbers. `values`
// is only written when the answer is ok.
// Numbers may also be separated by commas, and the whole answer put in one
// pair of parentheses, as the values window shows it: "(0.5, 0, 0, 0)".
Answer read_int_answer(int& value);
Answer read_double_answers(double* values, int count);
// `least` to `most` ints (at most 8); those beyond `least` only on the same
// line; `count` gets how many were read.
Answer read_int_answers(int* values, int least, int most, int& count);

// The same grammar on a whole text, which must hold exactly `count` numbers
// and nothing else (command-line values).
bool parse_number_text(const char* text, double* values, int count);
bool parse_int_text(const char* text, int* values, int count);

// The "NEW" dialogue: moves every set down one slot and reads four equations
// into slot 0; x(s,t) and y(s,t) are asked again while they name x or y.
// False when the input ended: the slots are then as they were before.
bool enter_new_equations();

}  // namespace fourview
