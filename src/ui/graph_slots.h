// The six stored equation sets of the "4R Izure" menu, as the menus use
// them. The table and the console dialogue are pure code (expr/); what
// touches the GLUT menu is declared here.
#pragma once

#include "expr/equation_entry.h"  // enter_new_equations
#include "expr/graph_slots.h"     // clear_graph_slots, graph_slot_filled

namespace fourview {

// Compiles the three built-in sets into slots first .. first + 2, then
// rewrites the slot entries of the menu.
void load_default_equations(int first);
// Makes slot n (0-5) the current set 0, the sets before it moving down one,
// and rewrites the slot entries; an empty slot is left alone, menu included.
void bring_slot_to_front(int n);
// Rewrites the six slot entries of the "4R Izure" menu (graph_menu): "NEW"
// stays first, then one entry per slot with value 21 + slot.
void rebuild_graph_menu();
// The label rebuild_graph_menu gave the entry of slot n ("" before the first
// rebuild and outside 0..5).
const char* graph_menu_label(int n);

}  // namespace fourview
