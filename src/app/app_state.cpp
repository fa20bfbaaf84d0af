#include "app/app_state.h"

namespace fourview {

AppState app;

double default_zoom(ModelId model) {
    switch (model) {
        case kModelCube: return 1.0;
        case kModelCylinder: return 2.0;
        case kModelMoebiusStrip: return 1.5;
        case kModelSphere: return 1.5;
        case kModelTorus: return 0.75;
        case kModelKleinBottle1: return 2.5;
        case kModelKleinBottle2: return 0.125;
        case kModelTwoMoebiusStrips: return 1.0;
        case kModelKleinBottle4d: return 0.75;
        case kModelHyperSphere: return 1.5;
        case kModelFiveCell: return 1.5;
        case kModelHypercube: return 1.0;
        default: return 0.75;  // the user graph and any unknown number
    }
}

}  // namespace fourview
