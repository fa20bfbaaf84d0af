// A picture as the figures keep it: 8-bit RGB, rows from the top down, as a
// person reads it and as PNG and GIF store it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace fourview {

struct RgbImage {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;  // width * height * 3 bytes

    std::size_t pixel_count() const { return static_cast<std::size_t>(width) * height; }
};

using Bytes = std::vector<uint8_t>;

}  // namespace fourview
