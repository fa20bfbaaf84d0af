// The names and formula lines the graph window shows for each model. The
// formulas are labels only, never evaluated.
#pragma once

#include "app/app_state.h"

namespace fourview {

// The two fonts of the formula lines, named here so that the table stays
// plain data; draw_caption maps them onto the GLUT bitmap fonts.
enum class CaptionFont { k9By15, k8By13 };

struct CaptionLine {
    int y;  // pixels down from the top of the window; every line starts at x = 15
    CaptionFont font;
    const char* text;
};

constexpr int kMaxCaptionLines = 10;

struct Caption {
    ModelId model;
    const char* name;
    // Model 20 shows the equations of graph slot 0 instead of fixed lines.
    bool user_equations;
    int line_count;
    CaptionLine lines[kMaxCaptionLines];
};

constexpr CaptionFont k9 = CaptionFont::k9By15;
constexpr CaptionFont k8 = CaptionFont::k8By13;

// Klein Bottle Part II leaves y = 73 and y = 193 empty; its texts, typos
// included, are as the program has always shown them.
inline constexpr Caption CaptionTable[] = {
    {kModelCube, "Cube", false, 0, {}},
    {kModelCylinder, "Cylinder", false, 4,
     {{49, k9, "x = r0*cos(t)"},
      {73, k9, "y = r0*sin(t)"},
      {97, k9, "bottom <= z <= top"},
      {121, k9, "w = 0"}}},
    {kModelMoebiusStrip, "Moebius Strip", false, 4,
     {{49, k9, "x = cos(t)*(r0+r1*cos(t/2))"},
      {73, k9, "y = sin(t)*(r0+r1*cos(t/2))"},
      {97, k9, "z = r1*sin(t/2)"},
      {121, k9, "w = 0"}}},
    {kModelSphere, "Sphere", false, 4,
     {{49, k9, "x = r0*cos(s)*cos(t)"},
      {73, k9, "y = r0*cos(s)*sin(t)"},
      {97, k9, "z = r0*sin(s)"},
      {121, k9, "w = 0"}}},
    {kModelTorus, "Torus", false, 4,
     {{49, k9, "x = cos(t)*(r0+r1*cos(s))"},
      {73, k9, "y = sin(t)*(r0+r1*cos(s))"},
      {97, k9, "z = r1*sin(s)"},
      {121, k9, "w = 0"}}},
    {kModelKleinBottle1, "Klein Bottle Part I", false, 7,
     {{49, k8, "tz = -1/36*cos(t)*(-3+4*cos(t)^2)*(3*sin(2*t)+4)"},
      {72, k8, "ty = 1/18*sin(t)*(3*sin(2*t)+4)"},
      {95, k8, "tx = sqrt(ty^2+tz^2)"},
      {121, k9, "x = tx*sin(s)"},
      {145, k9, "y = ty*cos(s) - cos(t)^3*sin(t)"},
      {169, k9, "z = tz*cos(s) + cos(t)^2"},
      {193, k9, "w = 0"}}},
    {kModelKleinBottle2, "Klein Bottle Part II", false, 10,
     {{49, k9, "r = 4*(1-cos(t)/2)"},
      {97, k9, "(0 < s <= PI)"},
      {121, k9, "x = 6cos(s)*(1+sin(s))+r*cos(s)*cos(t))"},
      {145, k9, "y = 16*sin(s)+r*sin(s)*cos(t)"},
      {169, k9, "z = r*sin(s)"},
      {217, k9, "(PI < s <= 2*PI)"},
      {241, k9, "x = 6cos(s)*(1+sin(s))+r*cos(s)*cos(t))"},
      {265, k9, "y = 16*sin(s)"},
      {289, k9, "z = r*sin(s)"},
      {313, k9, "w = 0"}}},
    {kModelTwoMoebiusStrips, "Two Moebius Strips", false, 4,
     {{49, k9, "x = cos(s)*(1+sin(t)*cos(s/2)-sin(2*t)*sin(s/2)/2)"},
      {73, k9, "y = sin(s)*(1+sin(t)*cos(s/2)-sin(2*t)*sin(s/2)/2)"},
      {97, k9, "z = sin(s/2)*sin(t) + cos(s/2)*sin(2*t)/2"},
      {121, k9, "w = 0"}}},
    {kModelKleinBottle4d, "Klein Bottle on Four Dimensions", false, 4,
     {{49, k9, "x = cos(s)*(2+cos(t))"},
      {73, k9, "y = sin(s)*(2+cos(t))"},
      {97, k9, "z = cos(s/2)*sin(t)"},
      {121, k9, "w = sin(s/2)*sin(t)"}}},
    {kModelHyperSphere, "Hyper Sphere", false, 4,
     {{49, k9, "x = r0*cos(s)*cos(t)*cos(u)"},
      {73, k9, "y = r0*cos(s)*cos(t)*sin(u)"},
      {97, k9, "z = r0*cos(s)*sin(t)"},
      {121, k9, "w = r0*sin(s)"}}},
    {kModelFiveCell, "5 Cell Envelope", false, 0, {}},
    {kModelHypercube, "Hypercube (8 Cell Envelope)", false, 0, {}},
    {kModelSixteenCell, "16 Cell Envelope", false, 1,
     {{49, k9, "8 vertices, 24 edges, 32 triangles, 16 tetrahedra"}}},
    {kModelTwentyFourCell, "24 Cell Envelope", false, 1,
     {{49, k9, "24 vertices, 96 edges, 96 triangles, 24 octahedra"}}},
    {kModelHundredTwentyCell, "120 Cell Envelope", false, 1,
     {{49, k9, "600 vertices, 1200 edges, 720 pentagons, 120 dodecahedra"}}},
    {kModelSixHundredCell, "600 Cell Envelope", false, 1,
     {{49, k9, "120 vertices, 720 edges, 1200 triangles, 600 tetrahedra"}}},
    {kModelUserGraph, "4R Izure", true, 0, {}},
};

// The entry of a model, or null for a number that names no model.
constexpr const Caption* find_caption(ModelId model) {
    for (const Caption& c : CaptionTable)
        if (c.model == model) return &c;
    return nullptr;
}

// The labels of model 20's caption lines, before " = " and the equation.
inline constexpr const char* UserEquationLabels[4] = {"x(s,t)", "y(s,t)", "f(x,y,s,t)",
                                                      "g(x,y,s,t)"};

}  // namespace fourview
