// The display model over a PAL frame: 6 lores planes (320 x 256), all 8 sprites 256 lines
// tall over them, and a copper list of 1,000 instructions (the set-up, then a WAIT and colour
// MOVEs on every line of the picture). Beside it, in the same run: one plain pass over a frame
// buffer of the same size, each pixel written once, the least that drawing a frame costs.
#include <amiga/displaymodel.h>

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

namespace {

using namespace amiga;

constexpr std::uint32_t kList = 0x1000, kPlanes = 0x10000, kSprites = 0x60000;
constexpr int kInstructions = 1000;

struct Job {
    ChipMemory memory;
    FrameSetup setup;
    int instructions = 0;
};

Job makeJob() {
    std::vector<std::uint16_t> list;
    auto move = [&list](int offset, int value) {
        list.push_back(static_cast<std::uint16_t>(offset));
        list.push_back(static_cast<std::uint16_t>(value));
    };
    move(0x08e, 0x2c81);
    move(0x090, 0x2cc1);
    move(0x092, 0x0038);
    move(0x094, 0x00d0);
    move(0x100, 0x6200);
    move(0x104, 0x0024);
    for (int p = 0; p < 6; ++p) {
        const std::uint32_t at = kPlanes + static_cast<std::uint32_t>(p) * 40 * 256;
        move(0x0e0 + 4 * p, static_cast<int>(at >> 16));
        move(0x0e2 + 4 * p, static_cast<int>(at & 0xffff));
    }
    for (int s = 0; s < 8; ++s) {
        const std::uint32_t at = kSprites + static_cast<std::uint32_t>(s) * (4 + 4 * 256 + 4);
        move(0x120 + 4 * s, static_cast<int>(at >> 16));
        move(0x122 + 4 * s, static_cast<int>(at & 0xffff));
    }
    for (int c = 0; c < 32; ++c)
        move(0x180 + 2 * c, c * 0x111 & 0xfff);
    int line = 0x2c;
    while (list.size() / 2 + 4 < kInstructions) {
        list.push_back(static_cast<std::uint16_t>((line & 0xff) << 8 | 0x41));
        list.push_back(0xfffe);
        move(0x180, line * 7 & 0xfff);
        move(0x182, line * 13 & 0xfff);
        ++line;
    }
    list.push_back(0xffff);
    list.push_back(0xfffe);

    Job job;
    job.memory.bytes.assign(2u << 20, 0);
    auto put = [&job](std::uint32_t at, std::uint16_t w) {
        job.memory.bytes[at] = static_cast<std::uint8_t>(w >> 8);
        job.memory.bytes[at + 1] = static_cast<std::uint8_t>(w);
    };
    for (std::size_t i = 0; i < list.size(); ++i)
        put(kList + 2 * static_cast<std::uint32_t>(i), list[i]);
    std::uint32_t seed = 12345;
    for (std::uint32_t i = 0; i < 6 * 40 * 256; i += 2) {
        seed = seed * 1103515245 + 12345;
        put(kPlanes + i, static_cast<std::uint16_t>(seed >> 16));
    }
    for (int s = 0; s < 8; ++s) {
        std::uint32_t at = kSprites + static_cast<std::uint32_t>(s) * (4 + 4 * 256 + 4);
        const int hstart = 0x80 + 36 * s, vstart = 0x2c, vstop = 0x12c;
        put(at, static_cast<std::uint16_t>((vstart & 0xff) << 8 | (hstart >> 1)));
        put(at + 2,
            static_cast<std::uint16_t>((vstop & 0xff) << 8 | (vstop >> 8 & 1) << 1 | (hstart & 1)));
        for (int r = 0; r < 256; ++r) {
            put(at + 4 + 4 * r, static_cast<std::uint16_t>(0xf0f0 >> (r & 7)));
            put(at + 6 + 4 * r, static_cast<std::uint16_t>(0xff00 >> (r & 7)));
        }
    }
    job.setup.copperAddress = kList;
    job.setup.spriteDma = true;
    job.instructions = static_cast<int>(list.size() / 2);
    return job;
}

void BM_DisplayModel_PalFrame(benchmark::State &state) {
    const Job job = makeJob();
    for (auto _ : state) {
        const CopperTrace trace = runCopper(job.memory, job.setup);
        const Frame frame = renderFrame(job.memory, job.setup, trace);
        benchmark::DoNotOptimize(frame.pixels.data());
    }
    state.counters["instructions"] = job.instructions;
}
BENCHMARK(BM_DisplayModel_PalFrame)->Unit(benchmark::kMillisecond);

// The baseline: a frame buffer of the same size written once, pixel by pixel.
void BM_DisplayModel_PlainPass(benchmark::State &state) {
    const std::size_t size = static_cast<std::size_t>(kPalLines) * 2 * kFrameEnd;
    for (auto _ : state) {
        std::vector<std::uint32_t> pixels(size);
        std::uint32_t colour = 0;
        for (std::size_t i = 0; i < size; ++i) {
            colour = colour * 33 + static_cast<std::uint32_t>(i);
            pixels[i] = colour & 0xffffff;
        }
        benchmark::DoNotOptimize(pixels.data());
    }
}
BENCHMARK(BM_DisplayModel_PlainPass)->Unit(benchmark::kMillisecond);

} // namespace
