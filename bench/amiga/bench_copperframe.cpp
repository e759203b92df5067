// The copper frame model over a 10,000-instruction list: every line of a PAL frame gets a WAIT
// and a run of colour MOVEs (AGA, with BPLCON3 bank and LOCT changes), ending with the end of
// list. Beside it, in the same run: decoding the same words alone, instruction by instruction,
// which is the least any run of the list costs.
#include <amiga/copper.h>
#include <amiga/copperframe.h>
#include <amiga/customregisters.h>

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

namespace {

constexpr std::size_t kInstructions = 10000;

std::vector<std::uint16_t> makeList() {
    std::vector<std::uint16_t> words;
    words.reserve(2 * kInstructions);
    auto add = [&words](amiga::CopperWords pair) {
        words.push_back(pair.first);
        words.push_back(pair.second);
    };
    // 312 lines with 32 instructions each: a WAIT, BPLCON3 and 14 colours for the high halves,
    // BPLCON3 and 14 colours for the low halves, a NOOP; $ffdf after line $ff. All of it fits
    // in the frame, so every instruction runs.
    for (int line = 0; line < amiga::CopperFrame::kLines; ++line) {
        if (line == 0x100)
            add({0xffdf, 0xfffe});
        add(amiga::encode(amiga::CopperInstruction::wait(static_cast<std::uint8_t>(line), 0x06)));
        const int bank = line % 8;
        for (const bool low : {false, true}) {
            add({0x0106, static_cast<std::uint16_t>(bank << 13 | (low ? 0x0200 : 0))});
            for (int i = 0; i < 14; ++i)
                add({static_cast<std::uint16_t>(0x180 + 2 * i),
                     static_cast<std::uint16_t>((line * 7 + i) & 0xfff)});
        }
        add({amiga::kNoop, 0x0000});
    }
    // The rest of the 10,000 are NOOPs on the last line, then the end of list.
    while (words.size() / 2 + 1 < kInstructions)
        add({amiga::kNoop, 0x0000});
    add(amiga::kCopperEndOfList);
    return words;
}

const std::vector<std::uint16_t> &list() {
    static const std::vector<std::uint16_t> words = makeList();
    return words;
}

void BM_CopperFrameRun(benchmark::State &state) {
    amiga::CopperFrame frame(amiga::CopperFrame::Chipset::Aga);
    for (auto _ : state) {
        frame.run(list());
        benchmark::DoNotOptimize(frame.line(0x137).data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long>(kInstructions));
    state.counters["instructions run"] = static_cast<double>(frame.instructionsRun());
}
BENCHMARK(BM_CopperFrameRun)->Unit(benchmark::kMicrosecond);

void BM_BaselineDecodeOnly(benchmark::State &state) {
    const std::vector<std::uint16_t> &words = list();
    for (auto _ : state) {
        unsigned sum = 0;
        for (std::size_t i = 0; i + 1 < words.size(); i += 2) {
            const amiga::CopperInstruction instruction = amiga::decode({words[i], words[i + 1]});
            sum += instruction.registerOffset + instruction.value + instruction.vertical;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long>(kInstructions));
}
BENCHMARK(BM_BaselineDecodeOnly)->Unit(benchmark::kMicrosecond);

} // namespace
