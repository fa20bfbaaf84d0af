// The graph of the user's equations (model 20). A stand-in until the
// equation slots exist: it samples nothing and draws nothing.
#include "models/models.h"

namespace fourview {

void sample_graph_4d() {}

}  // namespace fourview
