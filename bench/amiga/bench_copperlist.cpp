// Reading a copper list back: 64 KiB of copper words (a list as large as a program's whole copper
// memory usually is) read from a binary dump, disassembled and run over a PAL frame, then
// written as a listing and that listing read as text. Beside them, in the same run: reading the
// same bytes alone, the least that looking at such a list costs.
//
// Memory: a list of 1 Mi words (512 Ki instructions, all of a 2 MiB chip memory) read as source
// text and as binary, listed and modelled as quillfen-asm copper does it, with the peak of the
// heap counted by the allocator below; it must stay within 64 MiB beyond the input. The baseline
// is the words alone.
#include <amiga/copperlist.h>
#include <amiga/copperread.h>
#include <amiga/customregisters.h>

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <malloc.h>
#include <new>
#include <string>
#include <vector>

// Every allocation of the program counted: the bytes live and the most that were.
namespace {
std::atomic<std::size_t> liveBytes{0};
std::atomic<std::size_t> peakBytes{0};

void *counted(std::size_t size) {
    void *block = std::malloc(size == 0 ? 1 : size);
    if (block == nullptr)
        throw std::bad_alloc();
    const std::size_t live = liveBytes += malloc_usable_size(block);
    std::size_t peak = peakBytes.load();
    while (live > peak && !peakBytes.compare_exchange_weak(peak, live)) {
    }
    return block;
}
} // namespace

void *operator new(std::size_t size) {
    return counted(size);
}
void *operator new[](std::size_t size) {
    return counted(size);
}
void operator delete(void *block) noexcept {
    if (block != nullptr)
        liveBytes -= malloc_usable_size(block);
    std::free(block);
}
void operator delete[](void *block) noexcept {
    operator delete(block);
}
void operator delete(void *block, std::size_t) noexcept {
    operator delete(block);
}
void operator delete[](void *block, std::size_t) noexcept {
    operator delete(block);
}

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

// 1 Mi words: lines of colour MOVEs, each 32 after a WAIT, the last pair the end of list.
constexpr std::size_t kChipWords = std::size_t{1} << 20;

std::vector<std::uint16_t> chipWords() {
    std::vector<std::uint16_t> words;
    words.reserve(kChipWords);
    for (std::size_t pair = 0; pair + 1 < kChipWords / 2; ++pair) {
        if (pair % 33 == 0) {
            words.push_back(static_cast<std::uint16_t>((0x2c + pair / 33) % 0xff << 8 | 0x07));
            words.push_back(0xfffe);
        } else {
            words.push_back(static_cast<std::uint16_t>(amiga::kColour00 + 2 * (pair % 33 - 1)));
            words.push_back(static_cast<std::uint16_t>(pair & 0xfff));
        }
    }
    words.push_back(0xffff);
    words.push_back(0xfffe);
    return words;
}

const std::vector<std::uint8_t> &chipBinary() {
    static const std::vector<std::uint8_t> bytes = [] {
        std::vector<std::uint8_t> out;
        for (const std::uint16_t word : chipWords()) {
            out.push_back(static_cast<std::uint8_t>(word >> 8));
            out.push_back(static_cast<std::uint8_t>(word));
        }
        return out;
    }();
    return bytes;
}

// The same list as a source: a label, an equate used before it is defined, every line dc.w
// with its comment.
const std::string &chipSource() {
    static const std::string text = [] {
        const std::vector<std::uint16_t> words = chipWords();
        std::string out = "copper:\n";
        char line[64];
        for (std::size_t i = 0; i < words.size(); i += 2) {
            std::snprintf(line, sizeof line, "\tdc.w\t$%04x,$%04x+BASE\t; %zu\n", words[i],
                          words[i + 1], i / 2);
            out += line;
        }
        return out + "BASE\tequ\t0\n";
    }();
    return text;
}

// Reads, lists and models as quillfen-asm copper does, the text written nowhere; reports the
// heap's peak in MiB beyond what was live before.
template <typename Read> void measure(benchmark::State &state, std::size_t inputBytes, Read read) {
    double peak = 0;
    std::size_t listed = 0;
    for (auto _ : state) {
        const std::size_t before = liveBytes.load();
        peakBytes = before;
        listed = read();
        peak = static_cast<double>(peakBytes.load() - before) / (1 << 20);
    }
    state.counters["peak_MiB"] = peak;
    state.counters["input_MiB"] = static_cast<double>(inputBytes) / (1 << 20);
    state.counters["listed_MiB"] = static_cast<double>(listed) / (1 << 20);
}

std::size_t listWritten(const std::vector<std::uint16_t> &words,
                        std::span<const amiga::CopperUnknownWord> unknown) {
    std::size_t bytes = 0;
    const amiga::CopperListing listing = amiga::writeCopperListing(
        words, {amiga::CopperFrame::Chipset::Aga, {}, amiga::CopperFrame::kLines, unknown},
        [&bytes](std::string_view piece) {
            bytes += piece.size();
            return true;
        });
    benchmark::DoNotOptimize(listing.stop);
    return bytes;
}

void BM_MemoryBaselineWordsOnly(benchmark::State &state) {
    measure(state, chipBinary().size(), [] {
        const amiga::CopperRead read = amiga::readCopperBinary(chipBinary());
        benchmark::DoNotOptimize(read.words.data());
        return std::size_t{0};
    });
}
BENCHMARK(BM_MemoryBaselineWordsOnly)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_MemoryListChipBinary(benchmark::State &state) {
    measure(state, chipBinary().size(), [] {
        const amiga::CopperRead read = amiga::readCopperBinary(chipBinary());
        return listWritten(read.words, read.unknown);
    });
}
BENCHMARK(BM_MemoryListChipBinary)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_MemoryListChipSource(benchmark::State &state) {
    measure(state, chipSource().size(), [] {
        const amiga::CopperRead read = amiga::readCopperText(chipSource());
        return read.ok() ? listWritten(read.words, read.unknown) : 0;
    });
}
BENCHMARK(BM_MemoryListChipSource)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
