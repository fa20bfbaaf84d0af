// The equation texts of graph slot 0 as the program starts with them. The
// equation entry replaces this with the texts of the stored slot.
#include "render/text.h"

namespace fourview {

const char* graph_slot0_text(int which) {
    static const char* const kStartTexts[4] = {"sin(s+t)", "cos(s+t)", "sin(s-t)", "cos(s-t)"};
    return which >= 0 && which < 4 ? kStartTexts[which] : "";
}

}  // namespace fourview
