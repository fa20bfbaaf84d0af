// The six stored equation sets of the "4R Izure" menu, as the menus use
// them. The equation engine owns the sets; these are its entry points.
#pragma once

namespace fourview {

// Empties all six slots.
void clear_graph_slots();
// Compiles the three built-in sets into slots first .. first + 2, then
// rewrites the slot entries of the menu.
void load_default_equations(int first);
// The "NEW" entry: moves every set down one slot and reads four equations
// for slot 0 on the console (blocks until they are typed).
void enter_new_equations();
// Makes slot n (0-5) the current set 0, the sets before it moving down one;
// an empty slot is left alone. Rewrites the slot entries.
void bring_slot_to_front(int n);
// Rewrites the six slot entries of the "4R Izure" menu (graph_menu).
void rebuild_graph_menu();
// Whether slot n holds a compiled x(s,t) equation; an empty slot's entry
// does nothing.
bool graph_slot_filled(int n);

}  // namespace fourview
