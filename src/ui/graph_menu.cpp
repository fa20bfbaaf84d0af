// The "4R Izure" menu's side of the equation sets: the table changes in
// expr/graph_slots.cpp, the entries follow here.
#include <GL/glut.h>

#include "app/app_state.h"
#include "ui/graph_slots.h"
#include "ui/menus.h"

namespace fourview {

namespace {

constexpr int kFirstSlotEntry = 21;
// Entry 1 is "NEW"; the slot entries follow it.
constexpr int kFirstSlotPosition = 2;

char labels[kGraphSlotCount][kGraphMenuLabelSize];

}  // namespace

void rebuild_graph_menu() {
    for (int k = 0; k < kGraphSlotCount; ++k) compose_graph_menu_label(labels[k], graph_slots[k]);
    if (app.graph_menu == 0) return;  // before the menus exist
    if (!menu_change_allowed(MenuChange::graph_entries)) return;
    const int previous = glutGetMenu();
    glutSetMenu(app.graph_menu);
    for (int k = 0; k < kGraphSlotCount; ++k) glutRemoveMenuItem(kFirstSlotPosition);
    for (int k = 0; k < kGraphSlotCount; ++k) glutAddMenuEntry(labels[k], kFirstSlotEntry + k);
    if (previous != 0) glutSetMenu(previous);
}

const char* graph_menu_label(int n) { return n >= 0 && n < kGraphSlotCount ? labels[n] : ""; }

void load_default_equations(int first) {
    fill_default_sets(first);
    rebuild_graph_menu();
}

void bring_slot_to_front(int n) {
    if (move_slot_to_front(n)) rebuild_graph_menu();
}

}  // namespace fourview
