// Picture body throughput on an 8192 x 8192 x 8-plane body (64 MiB, far larger than the
// caches), each beside memcpy of the same number of bytes in the same run.
#include "ilbm/byterun.h"
#include "ilbm/interleave.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

namespace {

constexpr unsigned int kWidth = 8192;
constexpr unsigned int kHeight = 8192;
constexpr unsigned int kPlanes = 8;
constexpr size_t kRowSize = kWidth / 8;
constexpr size_t kBodySize = kRowSize * kHeight * kPlanes;

using Bytes = std::vector<unsigned char>;

// Runs of 2 to 40 equal bytes between literal stretches of 1 to 40 bytes, as dithered and
// flat areas of a drawn picture give.
const Bytes &mixedBody() {
    static Bytes body = [] {
        Bytes b(kBodySize);
        std::mt19937 random(1985);
        size_t i = 0;
        while (i < b.size()) {
            size_t run = 2 + random() % 39;
            unsigned char value = static_cast<unsigned char>(random());
            for (size_t k = 0; k < run && i < b.size(); k++) {
                b[i++] = value;
            }
            size_t literal = 1 + random() % 40;
            for (size_t k = 0; k < literal && i < b.size(); k++) {
                b[i++] = static_cast<unsigned char>(random());
            }
        }
        return b;
    }();
    return body;
}

// Pairs of equal bytes each followed by a single byte.
const Bytes &worstBody() {
    static Bytes body = [] {
        Bytes b(kBodySize);
        for (size_t i = 0; i < b.size(); i++) {
            size_t group = i / 3;
            b[i] = static_cast<unsigned char>(i % 3 == 2 ? group * 7 + 3 : group * 7);
        }
        return b;
    }();
    return body;
}

Bytes packBody(const Bytes &body) {
    Bytes packed(ILBM_byteRunRowWorstCase(kRowSize) * kHeight * kPlanes);
    size_t length = 0;
    for (size_t offset = 0; offset < body.size(); offset += kRowSize) {
        length += ILBM_packByteRunRow(body.data() + offset, kRowSize, packed.data() + length,
                                      packed.size() - length);
    }
    packed.resize(length);
    return packed;
}

void setBytes(benchmark::State &state) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(kBodySize));
}

void BM_Memcpy(benchmark::State &state) {
    const Bytes &body = mixedBody();
    Bytes target(kBodySize);
    for (auto _ : state) {
        std::memcpy(target.data(), body.data(), kBodySize);
        benchmark::ClobberMemory();
    }
    setBytes(state);
}

void unpack(benchmark::State &state, const Bytes &body, Bytes packed) {
    Bytes target(kBodySize);
    for (auto _ : state) {
        ILBM_ByteRunResult r =
            ILBM_unpackByteRunData(packed.data(), packed.size(), target.data(), target.size());
        benchmark::DoNotOptimize(r);
        benchmark::ClobberMemory();
    }
    if (target != body) {
        state.SkipWithError("unpacked body differs");
    }
    state.counters["packed/unpacked"] = static_cast<double>(packed.size()) / kBodySize;
    setBytes(state);
}

void pack(benchmark::State &state, const Bytes &body) {
    Bytes packed(ILBM_byteRunRowWorstCase(kRowSize) * kHeight * kPlanes);
    for (auto _ : state) {
        size_t length = 0;
        for (size_t offset = 0; offset < body.size(); offset += kRowSize) {
            length += ILBM_packByteRunRow(body.data() + offset, kRowSize, packed.data() + length,
                                          packed.size() - length);
        }
        benchmark::DoNotOptimize(length);
        benchmark::ClobberMemory();
    }
    setBytes(state);
}

// The packed stream of alternating 2-byte runs and 1-byte literals: a control byte for every
// 1.5 bytes of output.
Bytes worstPacked(Bytes &unpacked) {
    Bytes packed;
    packed.reserve(kBodySize / 3 * 4 + 4);
    unpacked.assign(kBodySize, 0);
    for (size_t i = 0, token = 0; i < kBodySize; token++) {
        auto value = static_cast<unsigned char>(token * 13);
        if (token % 2 == 0 && i + 2 <= kBodySize) {
            packed.insert(packed.end(), {0xFF, value});
            unpacked[i++] = value;
            unpacked[i++] = value;
        } else {
            packed.insert(packed.end(), {0x00, value});
            unpacked[i++] = value;
        }
    }
    return packed;
}

void BM_UnpackMixed(benchmark::State &state) {
    unpack(state, mixedBody(), packBody(mixedBody()));
}
void BM_UnpackWorstCase(benchmark::State &state) {
    Bytes unpacked;
    Bytes packed = worstPacked(unpacked);
    unpack(state, unpacked, packed);
}
void BM_PackMixed(benchmark::State &state) {
    pack(state, mixedBody());
}
void BM_PackWorstCase(benchmark::State &state) {
    pack(state, worstBody());
}

void BM_Deinterleave(benchmark::State &state) {
    const Bytes &body = mixedBody();
    Bytes planes(kBodySize);
    unsigned char *pointers[kPlanes];
    for (unsigned int p = 0; p < kPlanes; p++) {
        pointers[p] = planes.data() + p * kRowSize * kHeight;
    }
    for (auto _ : state) {
        ILBM_deinterleaveRows(body.data(), kPlanes, kRowSize, kHeight, pointers);
        benchmark::ClobberMemory();
    }
    setBytes(state);
}

void BM_Interleave(benchmark::State &state) {
    const Bytes &planes = mixedBody();
    Bytes body(kBodySize);
    const unsigned char *pointers[kPlanes];
    for (unsigned int p = 0; p < kPlanes; p++) {
        pointers[p] = planes.data() + p * kRowSize * kHeight;
    }
    for (auto _ : state) {
        ILBM_interleaveRows(pointers, kPlanes, kRowSize, kHeight, body.data());
        benchmark::ClobberMemory();
    }
    setBytes(state);
}

} // namespace

BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UnpackMixed)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UnpackWorstCase)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PackMixed)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PackWorstCase)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Deinterleave)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Interleave)->Unit(benchmark::kMillisecond);
