#include "figures/png_encode.h"

#include <png.h>

#include <csetjmp>

namespace fourview {

namespace {

void append_bytes(png_structp png, png_bytep data, png_size_t length) {
    Bytes* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void no_flush(png_structp) {}

// libpng's default handlers print to standard error; a failure is reported
// once, by the caller, instead.
void fail_quietly(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void ignore_warning(png_structp, png_const_charp) {}

// Kept apart from encode_png so that no C++ object lives in the frame that
// libpng's error path jumps across.
bool encode_rows(png_structp png, png_infop info, const RgbImage& image, Bytes* out) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_write_fn(png, out, append_bytes, no_flush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width),
                 static_cast<png_uint_32>(image.height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    const std::size_t row_bytes = static_cast<std::size_t>(image.width) * 3;
    for (int y = 0; y < image.height; ++y)
        png_write_row(png, const_cast<png_bytep>(image.rgb.data() + row_bytes * y));
    png_write_end(png, info);
    return true;
}

}  // namespace

bool encode_png(const RgbImage& image, Bytes& out) {
    out.clear();
    if (image.width < 1 || image.height < 1 || image.rgb.size() != image.pixel_count() * 3)
        return false;
    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, fail_quietly, ignore_warning);
    if (png == nullptr) return false;
    png_infop info = png_create_info_struct(png);
    const bool ok = info != nullptr && encode_rows(png, info, image, &out);
    png_destroy_write_struct(&png, info != nullptr ? &info : nullptr);
    return ok;
}

bool decode_png(const Bytes& data, RgbImage& image) {
    png_image read{};
    read.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&read, data.data(), data.size())) return false;
    read.format = PNG_FORMAT_RGB;
    image.width = static_cast<int>(read.width);
    image.height = static_cast<int>(read.height);
    image.rgb.assign(PNG_IMAGE_SIZE(read), 0);
    if (!png_image_finish_read(&read, nullptr, image.rgb.data(), 0, nullptr)) {
        png_image_free(&read);
        return false;
    }
    return true;
}

}  // namespace fourview
