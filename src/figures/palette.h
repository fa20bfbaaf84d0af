// One palette of at most 256 colours for all the frames of an animation.
// When the frames use 256 colours or fewer, the palette holds exactly those
// and every pixel keeps its colour; otherwise a median cut over the colours
// of all frames, weighted by how often each appears, chooses them, and each
// pixel takes the nearest palette colour (no dithering: the flat shades of
// the label and the background stay flat).
#pragma once

#include <array>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "figures/image.h"

namespace fourview {

struct Palette {
    std::vector<std::array<uint8_t, 3>> colours;  // 1 to 256
    std::unordered_map<uint32_t, uint8_t> index_of;  // 0xRRGGBB of every colour met
};

// How often each colour appears over the frames counted so far: an
// animation is counted one frame at a time, so that its frames need not
// be held at once (they are drawn again to be encoded).
using ColourCounts = std::unordered_map<uint32_t, uint64_t>;
void count_colours(const RgbImage& frame, ColourCounts& counts);
void choose_palette(const ColourCounts& counts, Palette& palette);
// One palette index per pixel of a frame whose colours were counted.
void palette_indices(const Palette& palette, const RgbImage& frame, Bytes& indices);

// Fills `palette` and, for each frame, one palette index per pixel.
// Every frame must be non-empty and of the same size.
void choose_palette(const std::vector<RgbImage>& frames, Palette& palette,
                    std::vector<Bytes>& indices);

}  // namespace fourview
