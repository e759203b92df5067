// Reading a 1920 x 1080 palette PNG of 8 bits a pixel into a picture, and reading and showing it,
// beside libpng decoding the same file into a buffer by itself in the same run: the library's
// own work is what lies between the two.
#include "picture/picture.h"
#include "picture_files.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <random>

namespace {

using picturetest::Bytes;

constexpr unsigned kWidth = 1920;
constexpr unsigned kHeight = 1080;

// A photo-like picture of 256 colours: smooth gradients with a little noise, which the PNG
// filters and zlib compress as they compress real pictures.
const Bytes &pngFile() {
    static const Bytes file = [] {
        std::vector<png_color> palette(256);
        for (unsigned i = 0; i < 256; i++) {
            palette[i] = {static_cast<png_byte>(i), static_cast<png_byte>(255 - i),
                          static_cast<png_byte>(i * 3)};
        }
        std::vector<unsigned> samples;
        samples.reserve(size_t{kWidth} * kHeight);
        std::mt19937 random(1992);
        for (unsigned y = 0; y < kHeight; y++) {
            for (unsigned x = 0; x < kWidth; x++) {
                samples.push_back((x / 8 + y / 6 + random() % 3) % 256);
            }
        }
        return picturetest::pngOf(
            picturetest::pngLayout(kWidth, kHeight, PNG_COLOR_TYPE_PALETTE, 8, samples, palette));
    }();
    return file;
}

struct Source {
    const Bytes *bytes;
    size_t offset;
};

void readFromMemory(png_structp png, png_bytep out, png_size_t length) {
    auto *source = static_cast<Source *>(png_get_io_ptr(png));
    if (length > source->bytes->size() - source->offset) {
        png_error(png, "short");
    }
    std::memcpy(out, source->bytes->data() + source->offset, length);
    source->offset += length;
}

// The baseline: libpng's own decoding of the file into rows, nothing else.
void LibpngDecodeOnly(benchmark::State &state) {
    const Bytes &file = pngFile();
    std::vector<std::uint8_t> image(size_t{kWidth} * kHeight);
    std::vector<png_bytep> rows(kHeight);
    for (unsigned y = 0; y < kHeight; y++) {
        rows[y] = image.data() + size_t{y} * kWidth;
    }
    for (auto _ : state) {
        Source source{&file, 0};
        png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
        png_infop info = png_create_info_struct(png);
        if (setjmp(png_jmpbuf(png))) {
            png_destroy_read_struct(&png, &info, nullptr);
            state.SkipWithError("libpng failed");
            break;
        }
        png_set_read_fn(png, &source, readFromMemory);
        png_read_info(png, info);
        png_read_update_info(png, info);
        png_read_image(png, rows.data());
        png_read_end(png, nullptr);
        png_destroy_read_struct(&png, &info, nullptr);
        benchmark::DoNotOptimize(image.data());
    }
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}

// Reads the PNG, and renders it too when asked.
void readAndMaybeRender(benchmark::State &state, bool render) {
    const Bytes &file = pngFile();
    for (auto _ : state) {
        std::string error;
        auto picture = picture::readPicture(file, &error);
        if (!picture) {
            state.SkipWithError(error.c_str());
            break;
        }
        benchmark::DoNotOptimize(picture->pixels.data());
        if (render) {
            std::vector<amiga::Rgb8> shown = picture::render(*picture);
            benchmark::DoNotOptimize(shown.data());
        }
    }
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}

void ReadPicture(benchmark::State &state) {
    readAndMaybeRender(state, false);
}

void ReadPictureAndRender(benchmark::State &state) {
    readAndMaybeRender(state, true);
}

} // namespace

BENCHMARK(LibpngDecodeOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadPicture)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadPictureAndRender)->Unit(benchmark::kMillisecond);
