// The colours of the model's materials: one table that the GL back end sets
// on the screen and the OBJ export writes to its material library, so that
// a file shows what the window shows. Pure data; no GL.
#pragma once

namespace fourview {

struct MaterialColours {
    float ambient[4], diffuse[4], specular[4];
    int shininess;
};

// GL's own default, which every material starts from.
constexpr MaterialColours kDefaultMaterial = {{0.2f, 0.2f, 0.2f, 1}, {0.8f, 0.8f, 0.8f, 1}, {0, 0, 0, 1}, 0};
// The faces, opaque (Transparent off) and seen through (on).
constexpr MaterialColours kSolidMaterial = {{0.4f, 0.4f, 0.7f, 1}, {0.2f, 0.2f, 0.5f, 1}, {0.7f, 0.7f, 0.7f, 1}, 50};
constexpr MaterialColours kTransparentMaterial = {{0.2f, 0.2f, 0.2f, 1}, {0.4f, 0.4f, 0.8f, 0.3f}, {0.6f, 0.6f, 0.6f, 1}, 50};
// The tubes and balls of Bold Line.
constexpr MaterialColours kBoldEdgeMaterial = {{0.5f, 0.5f, 1, 1}, {0.4f, 0.4f, 0.4f, 1}, {0, 0, 0, 1}, 0};
// The cut: red mostly from its ambient part.
constexpr MaterialColours kSectionMaterial = {{0.9f, 0.2f, 0.2f, 1}, {0.2f, 0.2f, 0.2f, 1}, {0.9f, 0.3f, 0.3f, 1}, 50};
// The thin lines of the wireframe (set_color(5)): black.
constexpr MaterialColours kLineMaterial = {{0, 0, 0, 1}, {0, 0, 0, 1}, {0, 0, 0, 1}, 0};

}  // namespace fourview
