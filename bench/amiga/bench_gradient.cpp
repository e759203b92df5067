// A 512-line gradient with OKLab blending and error diffusion, and what the Gradient tab does for
// every step of a dragged key (the copper list printed, read back and run over a frame). Beside
// them, in the same run: a plain loop that blends the same lines gun by gun in RGB, which is the
// least any gradient costs.
#include <amiga/asmtext.h>
#include <amiga/copperframe.h>
#include <amiga/gradient.h>

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

namespace {

constexpr int kLines = 512;

amiga::GradientRequest request() {
    amiga::GradientRequest r;
    r.firstLine = 0;
    r.lines = kLines;
    r.keys = {{0, {0x10, 0x20, 0x60}}, {200, {0xff, 0x80, 0x40}}, {511, {0xff, 0xe8, 0xa0}}};
    r.blend = amiga::GradientBlend::Oklab;
    r.dither = amiga::GradientDither::Diffuse;
    return r;
}

void BM_PlainRgbLoop(benchmark::State &state) {
    const amiga::GradientRequest r = request();
    std::vector<amiga::Rgb8> lines(kLines);
    for (auto _ : state) {
        for (int i = 0; i < kLines; ++i) {
            const auto &from = r.keys[i < 200 ? 0 : 1];
            const auto &to = r.keys[i < 200 ? 1 : 2];
            const int span = to.line - from.line;
            const int t = i - from.line;
            lines[i] = {static_cast<std::uint8_t>(from.colour.red +
                                                  (to.colour.red - from.colour.red) * t / span),
                        static_cast<std::uint8_t>(from.colour.green +
                                                  (to.colour.green - from.colour.green) * t / span),
                        static_cast<std::uint8_t>(from.colour.blue +
                                                  (to.colour.blue - from.colour.blue) * t / span)};
        }
        benchmark::DoNotOptimize(lines.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kLines);
}
BENCHMARK(BM_PlainRgbLoop);

void BM_GradientLinesOklabDiffuse(benchmark::State &state) {
    const amiga::GradientRequest r = request();
    for (auto _ : state) {
        std::vector<amiga::GradientLine> lines = amiga::gradientLines(r);
        benchmark::DoNotOptimize(lines.data());
    }
    state.SetItemsProcessed(state.iterations() * kLines);
}
BENCHMARK(BM_GradientLinesOklabDiffuse);

void BM_GradientCopperCodeOklabDiffuse(benchmark::State &state) {
    const amiga::GradientRequest r = request();
    for (auto _ : state) {
        std::string text = amiga::gradientCopperCode(r);
        benchmark::DoNotOptimize(text.data());
    }
    state.SetItemsProcessed(state.iterations() * kLines);
}
BENCHMARK(BM_GradientCopperCodeOklabDiffuse);

// One step of a drag in the Gradient tab: the lines, the printed list, its words read back and
// run over a frame (the whole frame on AGA, where every line changes).
void BM_PreviewStep(benchmark::State &state) {
    amiga::GradientRequest r = request();
    r.aga = true;
    r.dither = amiga::GradientDither::None;
    r.lines = amiga::CopperFrame::kLines;
    r.keys.back().line = r.lines - 1;
    amiga::CopperFrame frame(amiga::CopperFrame::Chipset::Aga);
    int key = 0;
    for (auto _ : state) {
        r.keys[1].line = 100 + (key++ % 100); // the dragged key
        std::vector<amiga::GradientLine> lines = amiga::gradientLines(r);
        std::vector<std::uint16_t> words =
            amiga::dataWords(amiga::gradientCopperCode(r)).value_or(std::vector<std::uint16_t>{});
        words.insert(words.end(), {0xffff, 0xfffe});
        frame.run(words);
        benchmark::DoNotOptimize(lines.data());
        benchmark::DoNotOptimize(frame.line(0x137).data());
    }
}
BENCHMARK(BM_PreviewStep);

} // namespace
