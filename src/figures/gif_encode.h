// Animated GIF through giflib, into memory: one global palette chosen from
// all the frames, a graphic control block with the delay before every
// frame, and the NETSCAPE2.0 block that makes viewers loop for ever.
#pragma once

#include <vector>

#include "figures/image.h"

namespace fourview {

// Frames of one size, shown `delay_centiseconds` each. False if giflib
// refuses or the frames are empty or of different sizes.
bool encode_gif(const std::vector<RgbImage>& frames, int delay_centiseconds, Bytes& out);

// The frames of a GIF as RGB (every frame a full picture, as this encoder
// writes them), and its loop count (-1: no NETSCAPE2.0 block); for tests.
bool decode_gif(const Bytes& data, std::vector<RgbImage>& frames, int& loop_count);

}  // namespace fourview
