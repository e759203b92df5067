#include "picture/pngwrite.h"

#include <png.h>

#include <csetjmp>

namespace picture {

namespace {

void append(png_structp png, png_bytep data, png_size_t length) {
    auto *out = static_cast<std::vector<std::uint8_t> *>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void flushNothing(png_structp) {}

} // namespace

std::vector<std::uint8_t> rgbPng(int width, int height, std::span<const std::uint32_t> pixels) {
    if (width <= 0 || height <= 0 ||
        pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
        return {};
    std::vector<std::uint8_t> rows(pixels.size() * 3);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        rows[3 * i] = static_cast<std::uint8_t>(pixels[i] >> 16);
        rows[3 * i + 1] = static_cast<std::uint8_t>(pixels[i] >> 8);
        rows[3 * i + 2] = static_cast<std::uint8_t>(pixels[i]);
    }
    std::vector<png_bytep> pointers(static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y)
        pointers[static_cast<std::size_t>(y)] =
            rows.data() + static_cast<std::size_t>(y) * width * 3;
    std::vector<std::uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr)
        return {};
    png_infop info = png_create_info_struct(png);
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(png, &out, append, flushNothing);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_set_rows(png, info, pointers.data());
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

} // namespace picture
