// The controller window: twelve rotation buttons that step while held and
// fourteen option buttons that act when released.
#pragma once

#include "ui/button_panel.h"

namespace fourview {

constexpr int kControllerButtonCount = 26;
constexpr int kRotationButtonCount = 12;  // indices 0-11; the rest are options

extern ButtonPanel controller_buttons[kControllerButtonCount];
// Index of the button held down with the pointer on it, -1 when none.
extern int controller_pressed;

// The three buttons whose label names the mode in force.
constexpr int rotation_button_index = 22;
constexpr int projection_button_index = 23;
constexpr int view_button_index = 24;

void build_controller_panel();
void display_controller();
void reshape_controller(int width, int height);
void mouse_controller(int button, int state, int x, int y);
void motion_controller(int x, int y);

// Draws the 26 buttons, the pressed one sunken, into the current window.
void redraw_controller_panel();
// Asks for a repaint of the controller window; anything that changes what it
// shows calls this, since the window never repaints on its own.
void post_controller_redisplay();

// One rotation step for `code` and, through a timer of this press, another
// 50 ms later, for as long as the button with that code stays pressed.
void repeat_rotation_step(int code);

// The labels of the mode buttons for a state value.
const char* rotation_mode_label(int rotation_mode);
const char* projection_mode_label(int projection_mode);
const char* view_direction_label(int view_direction);
// The view direction's button: its direction, and the view in force when
// that is not the projection ("Slice, from X", "Both, from X").
const char* view_button_label();

}  // namespace fourview
