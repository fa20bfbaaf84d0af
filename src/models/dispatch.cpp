#include "app/app_state.h"
#include "models/curved.h"
#include "models/models.h"

namespace fourview {

void draw_model() {
    prepare_model_sphere(false);
    if (draw_curved_polytope(app.model_id)) {
        app.push_onto_sphere = 0;
        return;
    }
    switch (app.model_id) {
        case kModelCube: draw_cube(); break;
        case kModelCylinder: sample_cylinder(); break;
        case kModelMoebiusStrip: sample_moebius_strip(); break;
        case kModelSphere: sample_sphere(); break;
        case kModelTorus: sample_torus(); break;
        case kModelKleinBottle1: sample_klein_bottle_1(); break;
        case kModelKleinBottle2: sample_klein_bottle_2(); break;
        case kModelTwoMoebiusStrips: sample_two_moebius_strips(); break;
        case kModelKleinBottle4d: sample_klein_bottle_4d(); break;
        case kModelHyperSphere: draw_hypersphere(); break;
        case kModelFiveCell: draw_five_cell(); break;
        case kModelHypercube: draw_hypercube(); break;
        case kModelSixteenCell: draw_sixteen_cell(); break;
        case kModelTwentyFourCell: draw_twenty_four_cell(); break;
        case kModelHundredTwentyCell: draw_hundred_twenty_cell(); break;
        case kModelSixHundredCell: draw_six_hundred_cell(); break;
        case kModelUniform: draw_uniform_polychoron(); break;
        case kModelUserGraph: sample_graph_4d(); break;
        default: break;
    }
    app.push_onto_sphere = 0;  // what follows (the axes) is not on the sphere
}

}  // namespace fourview
