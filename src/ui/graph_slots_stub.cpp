// Stand-in for the stored equation sets until the equation engine provides
// them: the three built-in sets are only named in the menu, "NEW" reads
// nothing, and choosing a set keeps the order.
#include <GL/glut.h>

#include <cstdio>
#include <cstring>

#include "app/app_state.h"
#include "ui/graph_slots.h"

namespace fourview {

namespace {

constexpr int kSlots = 6;
constexpr int kDefaultSets = 3;
constexpr const char* DefaultSets[kDefaultSets][4] = {
    {"sin(s+t)", "cos(s+t)", "sin(s-t)", "cos(s-t)"},
    {"cos(s)*(2+cos(t))", "sin(s)*(2+cos(t))", "sin(t)", "0"},
    {"s", "t", "x^2 - y^2", "2*x*y"},
};
int slot_set[kSlots] = {-1, -1, -1, -1, -1, -1};  // index into DefaultSets, -1 empty

}  // namespace

void clear_graph_slots() {
    for (int& s : slot_set) s = -1;
}

void load_default_equations(int first) {
    for (int k = 0; k < kDefaultSets && first + k < kSlots; ++k) slot_set[first + k] = k;
    rebuild_graph_menu();
}

void enter_new_equations() {}

void bring_slot_to_front(int) {}

bool graph_slot_filled(int n) { return n >= 0 && n < kSlots && slot_set[n] >= 0; }

void rebuild_graph_menu() {
    if (app.graph_menu == 0) return;
    glutSetMenu(app.graph_menu);
    for (int k = 0; k < kSlots; ++k) glutRemoveMenuItem(2);
    for (int k = 0; k < kSlots; ++k) {
        char label[64] = "";
        if (slot_set[k] >= 0) {
            const char* const* e = DefaultSets[slot_set[k]];
            char full[512];
            std::snprintf(full, sizeof full, "%s = %s , %s = %s , %s = %s , %s = %s", "x(s,t)",
                          e[0], "y(s,t)", e[1], "f(x,y,s,t)", e[2], "g(x,y,s,t)", e[3]);
            if (std::strlen(full) >= 60) std::strcpy(full + 60, "...");
            std::snprintf(label, sizeof label, "%s", full);
        }
        glutAddMenuEntry(label, 21 + k);
    }
}

}  // namespace fourview
