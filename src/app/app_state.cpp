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
        // Circumradius 1 against the hypercube's 2: in perspective from the
        // start they reach about 1 (16-cell) and 1.1 (the others) where the
        // hypercube reaches 2.
        case kModelSixteenCell: return 2.0;
        case kModelTwentyFourCell: return 1.75;
        case kModelHundredTwentyCell: return 1.75;
        case kModelSixHundredCell: return 1.75;
        case kModelUniform: return 1.75;  // circumradius 1, as the 120-cell
        default: return 0.75;  // the user graph and any unknown number
    }
}

}  // namespace fourview
