#include "web/model_list.h"

namespace fourview {

int model_list(ModelId* out, int room) {
    int n = 0;
    // Four-dimensional (10 and on), three-dimensional (below 10), the graph.
    const auto group = [](ModelId m) { return m == kModelUserGraph ? 2 : m >= 10 ? 0 : 1; };
    for (int g = 0; g < 3; ++g)
        for (const Caption& c : CaptionTable)
            if (group(c.model) == g && n < room) out[n++] = c.model;
    return n;
}

}  // namespace fourview
