// Keyboard and mouse of the graph window, keys shared by all three
// windows, and the command executor behind keys, menus and buttons.
#pragma once

#include "ui/key_table.h"

namespace fourview {

void keyboard(unsigned char key, int x, int y);
void special_key(int key, int x, int y);
void mouse_graph(int button, int state, int x, int y);
void motion_graph(int x, int y);

// mouse_graph with the modifier state of the event given rather than read
// from GLUT (which only knows it inside an input callback).
void mouse_graph_with_modifiers(int button, int state, int x, int y, int modifiers);

// Runs a command code of ui/key_table.h (101 and 102, save and load a
// scene: ui/scene_menu.h). Any code ends with the option
// marks rewritten and a redisplay.
void execute_command(int command);

// The flag an option command toggles (50-54, 56-58, and 55's high_quality);
// nullptr for any other code.
int* option_flag(int command);

// Whether `key` does anything in the graph window (the arrow keys aside).
bool key_is_known(unsigned char key);
// Calls `line` once per key of the graph window, in table order, with the
// key's name and what it does.
void describe_keys(void (*line)(const char* key, const char* what));

// Rebuilds view_matrix from view_direction, discarding drag rotations.
void apply_view_direction();
// Command 100: ends the process at once with status 0, its streams flushed.
[[noreturn]] void quit_now();

}  // namespace fourview
