// The texts of the values window's lines, built from the state without GL,
// and their fitting to a field's width.
#pragma once

#include <cstddef>

#include "app/app_state.h"

namespace fourview {

// Room for any line before it is cut to its cell: a "%f" of the largest
// double has 316 characters, and the hyperplane line has five of them.
constexpr std::size_t kValueLineWork = 2048;

// |v| with "%f", trailing zeros after the point dropped, and the point too
// when nothing is left behind it: 1 -> "1", 0.5 -> "0.5", 3.14159265 ->
// "3.141593". Digits before the point are never touched.
void short_number(char* out, std::size_t size, double v);

// "X - 2*Y + 0.5*W = 3.000000": the terms of a, b, c, d, then e + offset.
void hyperplane_text(char* out, std::size_t size, const std::array<double, 5>& plane,
                     double offset);

// The line of `code` (80-92) for the state `s`. Returns false for the codes
// whose line text stays as it is (88 and unknown codes).
bool value_line_text(char* out, std::size_t size, int code, const AppState& s);

// Cuts a text longer than `max_chars` to max_chars - 3 characters and "...".
void cut_to_cell(char* text, std::size_t max_chars);

// Fits `text` to `width` pixels, measuring characters with char_width(font,
// c): a text that fits stays whole; otherwise it keeps as many leading
// characters as leave room for "..." and ends in "...". The result never
// grows past max_chars characters.
void fit_text_to_width(char* text, std::size_t max_chars, int width, void* font,
                       int (*char_width)(void* font, int character));

}  // namespace fourview
