#include "figures/gif_encode.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>

#include "figures/palette.h"

namespace fourview {

namespace {

int pass_bytes(GifFileType* gif, const GifByteType* data, int length) {
    const GifSink* sink = static_cast<const GifSink*>(gif->UserData);
    return (*sink)(data, static_cast<std::size_t>(length)) ? length : 0;
}

struct ReadCursor {
    const Bytes* data;
    std::size_t at;
};

int read_bytes(GifFileType* gif, GifByteType* into, int length) {
    ReadCursor* c = static_cast<ReadCursor*>(gif->UserData);
    const std::size_t n = std::min<std::size_t>(length, c->data->size() - c->at);
    std::memcpy(into, c->data->data() + c->at, n);
    c->at += n;
    return static_cast<int>(n);
}

bool put_loop_block(GifFileType* gif) {
    static const GifByteType kName[] = "NETSCAPE2.0";
    static const GifByteType kLoopForever[3] = {1, 0, 0};  // sub-block 1: loop count 0
    return EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
           EGifPutExtensionBlock(gif, 11, kName) == GIF_OK &&
           EGifPutExtensionBlock(gif, 3, kLoopForever) == GIF_OK &&
           EGifPutExtensionTrailer(gif) == GIF_OK;
}

bool put_frame(GifFileType* gif, int width, int height, Bytes& indices, int delay) {
    GraphicsControlBlock control{};
    control.DisposalMode = DISPOSE_DO_NOT;
    control.DelayTime = delay;
    control.TransparentColor = NO_TRANSPARENT_COLOR;
    GifByteType block[4];
    const std::size_t n = EGifGCBToExtension(&control, block);
    if (EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(n), block) != GIF_OK)
        return false;
    if (EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr) != GIF_OK) return false;
    for (int y = 0; y < height; ++y)
        if (EGifPutLine(gif, indices.data() + static_cast<std::size_t>(y) * width, width) != GIF_OK)
            return false;
    return true;
}

int netscape_loop_count(const ExtensionBlock* blocks, int count) {
    for (int i = 0; i + 1 < count; ++i) {
        const ExtensionBlock& e = blocks[i];
        const ExtensionBlock& next = blocks[i + 1];
        if (e.Function == APPLICATION_EXT_FUNC_CODE && e.ByteCount == 11 &&
            std::memcmp(e.Bytes, "NETSCAPE2.0", 11) == 0 && next.ByteCount == 3 && next.Bytes[0] == 1)
            return next.Bytes[1] | next.Bytes[2] << 8;
    }
    return -1;
}

}  // namespace

bool gif_begin(GifWriter& w, int width, int height, const Palette& palette, GifSink sink) {
    w = GifWriter{};
    w.sink = std::move(sink);
    w.width = width;
    w.height = height;
    if (width < 1 || height < 1 || width > 65535 || height > 65535 || palette.colours.empty() ||
        palette.colours.size() > 256)
        return false;
    // GIF palettes come in powers of two; the unused entries stay black.
    int bits = 1;
    while ((1 << bits) < static_cast<int>(palette.colours.size())) ++bits;
    w.map = GifMakeMapObject(1 << bits, nullptr);
    if (w.map == nullptr) return false;
    for (std::size_t i = 0; i < palette.colours.size(); ++i)
        w.map->Colors[i] = GifColorType{palette.colours[i][0], palette.colours[i][1],
                                        palette.colours[i][2]};
    int error = 0;
    w.gif = EGifOpen(&w.sink, pass_bytes, &error);
    if (w.gif == nullptr) return false;
    EGifSetGifVersion(w.gif, true);
    return EGifPutScreenDesc(w.gif, width, height, bits, 0, w.map) == GIF_OK && put_loop_block(w.gif);
}

bool gif_add_frame(GifWriter& w, Bytes& indices, int delay_centiseconds) {
    if (w.gif == nullptr || indices.size() != static_cast<std::size_t>(w.width) * w.height) return false;
    return put_frame(w.gif, w.width, w.height, indices, delay_centiseconds);
}

bool gif_end(GifWriter& w, bool ok) {
    int error = 0;
    if (w.gif != nullptr) ok = EGifCloseFile(w.gif, &error) == GIF_OK && ok;
    else ok = false;
    if (w.map != nullptr) GifFreeMapObject(w.map);
    w.gif = nullptr;
    w.map = nullptr;
    return ok;
}

bool encode_gif(const std::vector<RgbImage>& frames, int delay_centiseconds, Bytes& out) {
    out.clear();
    if (frames.empty()) return false;
    const int width = frames[0].width, height = frames[0].height;
    for (const RgbImage& f : frames)
        if (f.width != width || f.height != height || f.rgb.size() != f.pixel_count() * 3)
            return false;

    Palette palette;
    std::vector<Bytes> indices;
    choose_palette(frames, palette, indices);
    GifWriter w;
    bool ok = gif_begin(w, width, height, palette, [&out](const uint8_t* data, std::size_t size) {
        out.insert(out.end(), data, data + size);
        return true;
    });
    for (std::size_t f = 0; ok && f < frames.size(); ++f) ok = gif_add_frame(w, indices[f], delay_centiseconds);
    ok = gif_end(w, ok);
    if (!ok) out.clear();
    return ok;
}

bool decode_gif(const Bytes& data, std::vector<RgbImage>& frames, int& loop_count) {
    ReadCursor cursor{&data, 0};
    int error = 0;
    GifFileType* gif = DGifOpen(&cursor, read_bytes, &error);
    if (gif == nullptr) return false;
    bool ok = DGifSlurp(gif) == GIF_OK;
    frames.clear();
    loop_count = -1;
    for (int i = 0; ok && i < gif->ImageCount; ++i) {
        const SavedImage& image = gif->SavedImages[i];
        const ColorMapObject* map =
            image.ImageDesc.ColorMap != nullptr ? image.ImageDesc.ColorMap : gif->SColorMap;
        ok = map != nullptr && image.ImageDesc.Left == 0 && image.ImageDesc.Top == 0 &&
             image.ImageDesc.Width == gif->SWidth && image.ImageDesc.Height == gif->SHeight;
        if (!ok) break;
        RgbImage f;
        f.width = gif->SWidth;
        f.height = gif->SHeight;
        f.rgb.resize(f.pixel_count() * 3);
        for (std::size_t p = 0; p < f.pixel_count(); ++p) {
            const GifColorType c = map->Colors[image.RasterBits[p] % map->ColorCount];
            f.rgb[3 * p] = c.Red;
            f.rgb[3 * p + 1] = c.Green;
            f.rgb[3 * p + 2] = c.Blue;
        }
        frames.push_back(std::move(f));
    }
    // giflib files the blocks met before a frame with that frame.
    if (ok && gif->ImageCount > 0) {
        const SavedImage& first = gif->SavedImages[0];
        loop_count = netscape_loop_count(first.ExtensionBlocks, first.ExtensionBlockCount);
    }
    DGifCloseFile(gif, &error);
    return ok;
}

}  // namespace fourview
