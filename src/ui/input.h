// Keyboard and mouse of the graph window, keys shared by all three
// windows, and the command executor behind keys, menus and buttons.
#pragma once

namespace fourview {

void keyboard(unsigned char key, int x, int y);
void special_key(int key, int x, int y);
void mouse_graph(int button, int state, int x, int y);
void motion_graph(int x, int y);

// Command codes: 50-58 option toggles, 60 rotation mode, 61 projection,
// 62 view direction, 99 reset, 100 quit.
void execute_command(int command);

// Rebuilds view_matrix from view_direction, discarding drag rotations.
void apply_view_direction();

}  // namespace fourview
