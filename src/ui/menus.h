// The pop-up menus of the graph window.
#pragma once

#include <cstddef>

namespace fourview {

void build_menus();
// Rewrites the Options entries: the two submenus named by the mode in
// force, the option entries with "* " (on) or two blanks (off).
void refresh_option_labels();

// Changes of the menus that must wait while a menu is up.
enum class MenuChange { option_labels = 0, graph_entries = 1 };
// True when the change may be made now; false while a menu is up, and the
// change is then made again when the menu closes.
bool menu_change_allowed(MenuChange change);
// glutMenuStatusFunc's callback: tracks whether a menu is up, ends a left
// drag when one opens and makes the changes that waited when it closes.
void menu_status(int status, int x, int y);

// Callback of the model menus: 0-7, 10-17 a model, 20 "NEW" equations,
// 21-26 a stored equation set.
void select_model(int value);
// Entry k of the Uniform Polychora menu: the catalogue's member k (models/uniform.h).
void select_uniform(int value);
// The models of the "4D Models" and then the "3D Models" menu, in menu
// order: index 0 .. menu_model_count() - 1; `label` (if not null) gets the
// entry's text.
int menu_model_count();
int menu_model(int index, const char** label);

// Callbacks of the rotation and projection submenus: switch to the chosen
// mode; the mode in force is left alone.
void select_rotation_mode(int value);
void select_projection(int value);

// The Options entries 3-12 in menu order.
constexpr int kOptionEntryCount = 10;
struct OptionEntry {
    const char* label;
    int command;
};
constexpr OptionEntry OptionEntries[kOptionEntryCount] = {
    {"Solid", 50},     {"Transparent", 51},   {"Wireframe", 52},
    {"Cross Section", 57}, {"Axes", 53},      {"Label", 54},
    {"Hight Quality", 55}, {"Bold Line", 56}, {"Save Screen", 58},
    {"Colour by W", 59},
};

// Whether the option of a command is on; "Hight Quality" is on when the
// mesh has 51 samples.
bool option_is_on(int command);
// "* Solid" or "  Solid": the mark of the state in force and the bare label.
void compose_option_label(char* out, std::size_t size, const OptionEntry& entry);

// The projection modes under the program's own names, and as the X11 menus
// show them: freeglut draws menu text with Latin-1 bitmap glyphs, in which
// Japanese comes out illegible whatever its encoding.
struct ProjectionName {
    int mode;
    const char* name;
    const char* menu_label;
};
constexpr ProjectionName ProjectionNames[3] = {
    {65, "平行投影", "Heiko toei (parallel)"},
    {66, "透視投影", "Tooshi toei (perspective)"},
    {67, "立体射影", "Stereographic"},
};
const char* projection_menu_label(int projection_mode);

// The last Options entry, "Slice View", names the view in force.
const char* slice_view_menu_label(int view);

// The label the menus last received for Options entry 1-13.
const char* options_menu_label(int entry);

}  // namespace fourview
