// PNG through libpng, into memory: the file is written whole afterwards
// (figures/output_file.h), so that a failed write leaves nothing behind.
#pragma once

#include "figures/image.h"

namespace fourview {

// An 8-bit RGB PNG of the image. False only if libpng refuses (no memory).
bool encode_png(const RgbImage& image, Bytes& out);

// Reads an 8-bit RGB (or RGBA, alpha dropped) PNG back; for the tests and
// for tools that compare pictures.
bool decode_png(const Bytes& data, RgbImage& image);

}  // namespace fourview
