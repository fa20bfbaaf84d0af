// The equation texts of the current set, as typed, for the caption of the
// user graph.
#include "expr/graph_slots.h"
#include "render/text.h"

namespace fourview {

const char* graph_slot0_text(int which) {
    return which >= 0 && which < kEquationsPerSet ? graph_slots[0].equation[which].text : "";
}

}  // namespace fourview
