// The user's equation sets: six GraphSlots in most-recently-used order.
// Slot 0 is the current set, the one the user graph draws and the caption
// shows. This part is pure (no GL): the menu side lives in ui/graph_menu.cpp.
#pragma once

#include <cstddef>

#include "expr/compiler.h"

namespace fourview {

// Positions of the four equations in a set.
enum EquationIndex { kEquationX = 0, kEquationY = 1, kEquationF = 2, kEquationG = 3 };
constexpr int kEquationsPerSet = 4;

// The names used in prompts and menu labels, in set order.
constexpr const char* EquationNames[kEquationsPerSet] = {"x(s,t)", "y(s,t)", "f(x,y,s,t)",
                                                         "g(x,y,s,t)"};

// x(s,t), y(s,t), f(x,y,s,t), g(x,y,s,t), always in this order.
struct GraphSlot {
    Expression equation[kEquationsPerSet];
};

constexpr int kGraphSlotCount = 6;
extern GraphSlot graph_slots[kGraphSlotCount];

// Every expression of every slot: no program, empty text.
void clear_graph_slots();

// Copies the texts, the counts and the meaningful program tokens. Source and
// destination may be the same slot.
void copy_graph_slot(const GraphSlot& source, GraphSlot& destination);

// A slot is filled when its x(s,t) holds a compiled program; an empty slot
// has an empty menu label and cannot be chosen. False outside 0..5.
bool graph_slot_filled(int n);

// Compiles a fixed text without any prompt. A text that does not tokenize or
// check leaves count 0 and the old text; the engine has printed why.
void set_expression(Expression& expression, const char* text);

// Compiles the three built-in sets into slots first .. first + 2 (those of
// them that exist). The menu is not touched.
void fill_default_sets(int first);

// Moves every set down one slot (the set in slot 5 is dropped), so that a new
// set can be written into slot 0, which still holds the previous current set.
void make_room_for_new_set();

// Makes slot n the current set: the sets in slots 0 .. n-1 move down one, the
// sets after n keep their places. An empty slot, or n outside 0..5, changes
// nothing and gives false.
bool move_slot_to_front(int n);

// Room for a slot's menu label: 60 characters, "..." and the NUL.
constexpr std::size_t kGraphMenuLabelSize = 64;

// "x(s,t) = .. , y(s,t) = .. , f(x,y,s,t) = .. , g(x,y,s,t) = ..", cut after
// the 60th character with "..." appended when it has 60 or more; "" for an
// empty slot. `out` holds kGraphMenuLabelSize bytes.
void compose_graph_menu_label(char* out, const GraphSlot& slot);

}  // namespace fourview
