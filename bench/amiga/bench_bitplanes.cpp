// A 1920x1080 picture of 256 colours (random colour numbers) to interleaved bitplanes and a mask
// (colour 0 transparent): in one pass, and as a mask plane and then the planes. Beside them, in
// the same run: memcpy of the same 1920x1080 pixel bytes, the least any conversion costs. All
// count the picture's pixel bytes as processed.
#include <amiga/bitplanes.h>

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

namespace {

constexpr unsigned kWidth = 1920;
constexpr unsigned kHeight = 1080;
constexpr std::size_t kPixels = std::size_t{kWidth} * kHeight;

const std::vector<std::uint8_t> &picture() {
    static const std::vector<std::uint8_t> pixels = [] {
        std::vector<std::uint8_t> p(kPixels);
        std::mt19937 random(1920);
        for (std::uint8_t &c : p)
            c = static_cast<std::uint8_t>(random());
        return p;
    }();
    return pixels;
}

void BM_MemcpyPixels(benchmark::State &state) {
    const std::vector<std::uint8_t> &pixels = picture();
    std::vector<std::uint8_t> copy(kPixels);
    for (auto _ : state) {
        std::memcpy(copy.data(), pixels.data(), kPixels);
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kPixels));
}
BENCHMARK(BM_MemcpyPixels);

amiga::BitplaneLayout interleavedWithMask() {
    amiga::BitplaneLayout layout;
    layout.interleaved = true;
    layout.depth = 8;
    layout.mask = amiga::MaskOutput::After;
    return layout;
}

// The planes and the mask in one pass (the mask from the transparent colour).
void BM_InterleavedPlanesAndMask(benchmark::State &state) {
    const std::vector<std::uint8_t> &pixels = picture();
    const amiga::BitplaneLayout layout = interleavedWithMask();
    const amiga::Transparency transparency = amiga::Transparency::colour(0);
    for (auto _ : state) {
        std::vector<std::uint8_t> data =
            amiga::bitplaneDataAndMask(pixels.data(), kWidth, kHeight, layout, transparency);
        benchmark::DoNotOptimize(data.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kPixels));
}
BENCHMARK(BM_InterleavedPlanesAndMask);

// The same in two steps: the mask plane first, then the planes with it.
void BM_MaskPlaneThenPlanes(benchmark::State &state) {
    const std::vector<std::uint8_t> &pixels = picture();
    const amiga::BitplaneLayout layout = interleavedWithMask();
    const amiga::Transparency transparency = amiga::Transparency::colour(0);
    for (auto _ : state) {
        const std::vector<std::uint8_t> mask =
            amiga::maskPlane(pixels.data(), kWidth, kHeight, transparency);
        std::vector<std::uint8_t> data =
            amiga::bitplaneData(pixels.data(), kWidth, kHeight, layout, mask.data());
        benchmark::DoNotOptimize(data.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kPixels));
}
BENCHMARK(BM_MaskPlaneThenPlanes);

} // namespace
