// Reading a copper list back: 64 KiB of copper words (a list as large as a program's whole copper
// memory usually is) read from a binary dump, disassembled and run over a PAL frame, then
// written as a listing and that listing read as text. Beside them, in the same run: reading the
// same bytes alone, the least that looking at such a list costs.
#include <amiga/copperlist.h>
#include <amiga/copperread.h>
#include <amiga/customregisters.h>

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

namespace {

constexpr std::size_t kBytes = 64 * 1024;

// Every line of the frame: a WAIT, BPLCON3 and colour MOVEs (high then low halves); $ffdf after
// line $ff; then NOOPs to fill the 64 KiB, the last pair the end of list.
std::vector<std::uint8_t> makeDump() {
    std::vector<std::uint16_t> words;
    auto add = [&words](std::uint16_t first, std::uint16_t second) {
        words.push_back(first);
        words.push_back(second);
    };
    for (int line = 0; line < amiga::CopperFrame::kLines && words.size() < kBytes / 2 - 64;
         ++line) {
        if (line == 0x100)
            add(0xffdf, 0xfffe);
        add(static_cast<std::uint16_t>((line & 0xff) << 8 | 0x07), 0xfffe);
        for (const std::uint16_t bplcon3 : {0x0000, 0x0200}) {
            add(amiga::kBplcon3, static_cast<std::uint16_t>((line % 8) << 13 | bplcon3));
            for (int i = 0; i < 24; ++i)
                add(static_cast<std::uint16_t>(amiga::kColour00 + 2 * i),
                    static_cast<std::uint16_t>((line * 5 + i) & 0xfff));
        }
        add(0x0100, 0x5200);
        add(0x0096, 0x8380);
    }
    while (words.size() < kBytes / 2 - 2)
        add(amiga::kNoop, 0);
    words.resize(kBytes / 2 - 2);
    add(0xffff, 0xfffe);
    std::vector<std::uint8_t> bytes;
    for (const std::uint16_t word : words) {
        bytes.push_back(static_cast<std::uint8_t>(word >> 8));
        bytes.push_back(static_cast<std::uint8_t>(word));
    }
    return bytes;
}

const std::vector<std::uint8_t> &dump() {
    static const std::vector<std::uint8_t> bytes = makeDump();
    return bytes;
}

void BM_BaselineReadBytesOnly(benchmark::State &state) {
    for (auto _ : state) {
        const amiga::CopperRead read = amiga::readCopperBinary(dump());
        benchmark::DoNotOptimize(read.words.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<long>(kBytes));
}
BENCHMARK(BM_BaselineReadBytesOnly)->Unit(benchmark::kMicrosecond);

void BM_ReadDisassembleAndModel(benchmark::State &state) {
    std::size_t entries = 0;
    for (auto _ : state) {
        const amiga::CopperRead read = amiga::readCopperBinary(dump());
        const amiga::CopperListing listing =
            amiga::disassemble(read.words, {amiga::CopperFrame::Chipset::Aga, {}});
        entries = listing.entries.size();
        benchmark::DoNotOptimize(listing.entries.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<long>(kBytes));
    state.counters["instructions"] = static_cast<double>(entries);
}
BENCHMARK(BM_ReadDisassembleAndModel)->Unit(benchmark::kMicrosecond);

void BM_ListingTextAndReadItBack(benchmark::State &state) {
    const amiga::CopperRead read = amiga::readCopperBinary(dump());
    const amiga::CopperListing listing =
        amiga::disassemble(read.words, {amiga::CopperFrame::Chipset::Aga, {}});
    for (auto _ : state) {
        const std::string text = amiga::copperListingText(listing);
        const amiga::CopperRead again = amiga::readCopperText(text);
        benchmark::DoNotOptimize(again.words.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<long>(kBytes));
}
BENCHMARK(BM_ListingTextAndReadItBack)->Unit(benchmark::kMicrosecond);

} // namespace
