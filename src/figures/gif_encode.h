// Animated GIF through giflib, into memory: one global palette chosen from
// all the frames, a graphic control block with the delay before every
// frame, and the NETSCAPE2.0 block that makes viewers loop for ever.
#pragma once

#include <functional>
#include <vector>

#include "figures/image.h"
#include "figures/palette.h"

struct GifFileType;
struct ColorMapObject;

namespace fourview {

// An animation written as it is made, a frame at a time, so that its
// frames need not be held at once: the palette is chosen before (from
// counts over all the frames), the bytes go to `sink` as giflib gives them.
// The sink returns false when it cannot take them (the file failed).
using GifSink = std::function<bool(const uint8_t* data, std::size_t size)>;
struct GifWriter {
    GifFileType* gif = nullptr;
    ColorMapObject* map = nullptr;
    GifSink sink;
    int width = 0, height = 0;
};
bool gif_begin(GifWriter& w, int width, int height, const Palette& palette, GifSink sink);
bool gif_add_frame(GifWriter& w, Bytes& indices, int delay_centiseconds);
// Writes the trailer and frees the writer; false if anything before failed.
bool gif_end(GifWriter& w, bool ok);

// Frames of one size, shown `delay_centiseconds` each. False if giflib
// refuses or the frames are empty or of different sizes.
bool encode_gif(const std::vector<RgbImage>& frames, int delay_centiseconds, Bytes& out);

// The frames of a GIF as RGB (every frame a full picture, as this encoder
// writes them), and its loop count (-1: no NETSCAPE2.0 block); for tests.
bool decode_gif(const Bytes& data, std::vector<RgbImage>& frames, int& loop_count);

}  // namespace fourview
