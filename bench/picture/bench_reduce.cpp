// Reducing a 640 x 640 photograph-like picture (made_pictures.h) to 32 colours, beside two
// baselines in the same run: a plain pass over its pixels, and pngquant at its default speed
// reducing the same picture from a PNG file to a PNG file (its whole run, as a user starts it;
// the benchmark is skipped when pngquant is not installed). Reading the PNG and reducing it is
// measured too, the nearest like for like.
#include "made_pictures.h"
#include "picture/reduce.h"
#include "picture_files.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

constexpr unsigned kSide = 640;

const picture::Picture &photo() {
    static const picture::Picture p = madepictures::photoLike(kSide, kSide, 1992);
    return p;
}

// The photo as an RGB PNG in the temporary folder.
const std::string &photoPng() {
    static const std::string path = [] {
        const std::string file =
            (std::filesystem::temp_directory_path() / "quillfen-bench-photo.png").string();
        std::vector<unsigned> samples;
        for (const picture::Rgba8 &c : photo().trueColour) {
            samples.insert(samples.end(), {c.red, c.green, c.blue});
        }
        picturetest::savePng(file,
                             picturetest::pngLayout(kSide, kSide, PNG_COLOR_TYPE_RGB, 8, samples));
        return file;
    }();
    return path;
}

void PlainPassOverPixels(benchmark::State &state) {
    for (auto _ : state) {
        unsigned long sum = 0;
        for (const picture::Rgba8 &c : photo().trueColour) {
            sum += c.red + c.green + c.blue;
        }
        benchmark::DoNotOptimize(sum);
    }
}

void Pngquant32(benchmark::State &state) {
    if (std::system("pngquant --version >/dev/null 2>&1") != 0) {
        state.SkipWithError("pngquant is not installed");
        return;
    }
    const std::string out = photoPng() + ".out.png";
    const std::string command = "pngquant --force --output " + out + " 32 " + photoPng();
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("pngquant failed");
            break;
        }
    }
    std::filesystem::remove(out);
}

void Reduce32(benchmark::State &state) {
    const picture::Reduction reduction{32, state.range(0) != 0,
                                       static_cast<picture::Dither>(state.range(1))};
    for (auto _ : state) {
        const picture::Picture reduced = picture::reduce(photo(), reduction);
        benchmark::DoNotOptimize(reduced.pixels.data());
    }
}

void ReadAndReduce32(benchmark::State &state) {
    for (auto _ : state) {
        std::string error;
        const auto read = picture::readPictureFile(photoPng(), &error);
        if (!read) {
            state.SkipWithError(error.c_str());
            break;
        }
        const picture::Picture reduced =
            picture::reduce(*read, {32, false, picture::Dither::Diffuse});
        benchmark::DoNotOptimize(reduced.pixels.data());
    }
}

} // namespace

BENCHMARK(PlainPassOverPixels)->Unit(benchmark::kMillisecond);
BENCHMARK(Pngquant32)->Unit(benchmark::kMillisecond)->UseRealTime();
// Arguments: 12-bit colours (1) or 24-bit (0); the dither (0 none, 1 diffused, 2 ordered).
BENCHMARK(Reduce32)
    ->ArgNames({"ocs", "dither"})
    ->Args({0, 0})
    ->Args({0, 1})
    ->Args({1, 0})
    ->Args({1, 2})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(ReadAndReduce32)->Unit(benchmark::kMillisecond)->UseRealTime();
