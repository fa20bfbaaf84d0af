// The values window: the numeric settings, one line each, with buttons.
#pragma once

#include "ui/button_panel.h"

namespace fourview {

// Rows of the lines that other subsystems refresh.
extern int value_window_size_row;  // 0
extern int value_hyperplane_row;   // 6
extern int value_zoom_row;         // 7

constexpr int kValueFieldCount = 8;
constexpr int kValueButtonCount = 13;
extern ButtonPanel value_fields[kValueFieldCount];
extern ButtonPanel value_buttons[kValueButtonCount];
// Index of the button held down with the pointer on it, -1 when none.
extern int value_pressed;

void setup_value_fields();
// Rebuilds the text of the value field `field` for line code `code`
// (80 infinity .. 92 window size), fits and places it, and redisplays the
// values window. Harmless before the fields exist.
void refresh_value_field(int code, int field);

void display_values();
void reshape_values(int width, int height);
void mouse_values(int button, int state, int x, int y);
void motion_values(int x, int y);

// The step of the held buttons (86, 87 section offset; 90, 91 zoom): one
// step now and, through a timer of this press, another 50 ms later while the
// button stays pressed.
void repeat_value_step(int code);

// A sunken frame and the shadowed text of one field, in the current window.
void draw_value_field(const ButtonPanel& field);
// Asks for a repaint of the values window, which never repaints on its own.
void post_values_redisplay();

}  // namespace fourview
