// The numbers of the program's look: the materials of the styles, the seven
// flat colours and the lights of the graph. Pure data, read by every screen
// back end (the fixed-function one sets them as GL state, the WebGL one
// hands them to its shader) and by the OBJ export's material library, so
// that a file shows what the window shows.
#pragma once

namespace fourview {

struct MaterialValues {
    float ambient[4], diffuse[4], specular[4], emission[4];
    int shininess;
};

// GL's own default, which every material starts from.
constexpr MaterialValues kResetMaterial = {
    {0.2f, 0.2f, 0.2f, 1}, {0.8f, 0.8f, 0.8f, 1}, {0, 0, 0, 1}, {0, 0, 0, 1}, 0};
constexpr MaterialValues kSolidMaterial = {
    {0.4f, 0.4f, 0.7f, 1}, {0.2f, 0.2f, 0.5f, 1}, {0.7f, 0.7f, 0.7f, 1}, {0, 0, 0, 1}, 50};
// The alpha of the diffuse colour is what the lit colour carries; the blend
// of the transparent style ignores it.
constexpr MaterialValues kTransparentMaterial = {
    {0.2f, 0.2f, 0.2f, 1}, {0.4f, 0.4f, 0.8f, 0.3f}, {0.6f, 0.6f, 0.6f, 1}, {0, 0, 0, 1}, 50};
constexpr MaterialValues kBoldEdgeMaterial = {
    {0.5f, 0.5f, 1, 1}, {0.4f, 0.4f, 0.4f, 1}, {0, 0, 0, 1}, {0, 0, 0, 1}, 0};
constexpr MaterialValues kSectionMaterial = {
    {0.9f, 0.2f, 0.2f, 1}, {0.2f, 0.2f, 0.2f, 1}, {0.9f, 0.3f, 0.3f, 1}, {0, 0, 0, 1}, 50};

// The thin lines of the wireframe (set_color(5)): black.
constexpr MaterialValues kLineMaterial = {{0, 0, 0, 1}, {0, 0, 0, 1}, {0, 0, 0, 1}, {0, 0, 0, 1}, 0};

// set_color's colours: 1 red, 2 green, 3 blue, 4 white, 5 black, 6 yellow,
// 7 grey; any other index black. Ambient, diffuse and specular all take it.
struct FlatColour {
    float r, g, b;
};
constexpr FlatColour flat_colour(int index) {
    switch (index) {
        case 1: return {1, 0, 0};
        case 2: return {0, 1, 0};
        case 3: return {0, 0, 1};
        case 4: return {1, 1, 1};
        case 6: return {1, 1, 0};
        case 7: return {191.0f / 255.0f, 191.0f / 255.0f, 191.0f / 255.0f};
        default: return {0, 0, 0};  // 5 and anything unknown
    }
}

// The lights of the graph, given in eye coordinates (set while the
// modelview matrix is the identity, so they stay fixed to the viewer).
// Light 0 lights only the label background; 1 and 2 light the scene.
struct LightValues {
    float ambient[4], diffuse[4], specular[4], position[4], spot_direction[3];
    float spot_exponent;  // negative: left at OpenGL's default of 0
    float spot_cutoff;
};
constexpr LightValues kGraphLights[3] = {
    {{1, 1, 1, 1}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 100, 0}, {0, 0, -1}, 1, 90},
    {{0.8f, 0.8f, 0.8f, 1}, {0.8f, 0.8f, 0.8f, 1}, {0.5f, 0.5f, 0.5f, 1}, {50, 50, 50, 1},
     {-1, -1, -1}, -1, 90},
    {{0.4f, 0.4f, 0.4f, 1}, {0.2f, 0.2f, 0.2f, 1}, {0.8f, 0.2f, 0.2f, 1}, {200, 1, 1, 1},
     {-1, 0, 0}, 1, 90},
};

}  // namespace fourview
