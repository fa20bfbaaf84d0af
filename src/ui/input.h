// Keyboard and mouse of the graph window, keys shared by all three
// windows, and the command executor behind keys, menus and buttons.
#pragma once

namespace fourview {

void keyboard(unsigned char key, int x, int y);
void special_key(int key, int x, int y);
void mouse_graph(int button, int state, int x, int y);
void motion_graph(int x, int y);

// mouse_graph with the modifier state of the event given rather than read
// from GLUT (which only knows it inside an input callback).
void mouse_graph_with_modifiers(int button, int state, int x, int y, int modifiers);

// Command codes: 50-59 option toggles, 60 rotation mode, 61 projection,
// 62 view direction, 63 stereographic, 65-67 a projection chosen by name,
// 99 reset, 100 quit, 101 and 102 save and load a scene (ui/scene_menu.h).
// Any code ends with the option marks rewritten and a
// redisplay.
//
// 61 switches between parallel and perspective, and from stereographic
// goes back to whichever of them was in force before; 63 ("p") turns
// stereographic on, or off again to that same one.
constexpr int kCommandStereographic = 63;
// 68 ("v", "Slice View") steps the view: projection, slice, side by side;
// 69 ("t") sweeps the cutting hyperplane through the model.
constexpr int kCommandSliceView = 68;
constexpr int kCommandSweep = 69;
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
