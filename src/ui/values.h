// The values window: the numeric settings, one line each, with buttons.
#pragma once

namespace fourview {

// Rows of the lines that other subsystems refresh.
extern int value_window_size_row;  // 0
extern int value_hyperplane_row;   // 6
extern int value_zoom_row;         // 7

void setup_value_fields();
// Rebuilds the text of the value field `field` for line code `code`
// (80 infinity .. 92 window size), fits and places it, and redisplays the
// values window. Harmless before the fields exist.
void refresh_value_field(int code, int field);

void display_values();
void reshape_values(int width, int height);
void mouse_values(int button, int state, int x, int y);
void motion_values(int x, int y);

}  // namespace fourview
