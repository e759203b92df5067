#include "amiga/bitplanes.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <optional>

#if defined(__SSE2__)
#include <immintrin.h>
#endif

namespace amiga {

namespace {

constexpr std::uint64_t kOnes = 0x0101010101010101ull;
constexpr std::uint64_t kHighBits = 0x8080808080808080ull;

// Eight bytes as a uint64 with the first byte in the most significant position, whatever the
// host's byte order.
inline std::uint64_t loadBigEndian(const std::uint8_t *bytes) {
    std::uint64_t value;
    std::memcpy(&value, bytes, sizeof value);
    if constexpr (std::endian::native == std::endian::little)
        value = __builtin_bswap64(value);
    return value;
}

// Each byte with its bits in reverse order.
constexpr auto kReversed = [] {
    std::array<std::uint8_t, 256> table{};
    for (unsigned b = 0; b < 256; ++b) {
        unsigned r = 0;
        for (unsigned i = 0; i < 8; ++i)
            r |= ((b >> i) & 1u) << (7 - i);
        table[b] = static_cast<std::uint8_t>(r);
    }
    return table;
}();

inline void storeLittleEndian(std::uint8_t *bytes, std::uint64_t value) {
    if constexpr (std::endian::native == std::endian::big)
        value = __builtin_bswap64(value);
    std::memcpy(bytes, &value, sizeof value);
}

// The 8x8 bit matrix transposed: bit 8r + c goes to bit 8c + r (three steps that swap the
// off-diagonal 1x1, 2x2 and 4x4 blocks). With byte i (counting from the least significant) the
// colour number of pixel 7 - i, byte p of the result is plane p's byte of the eight pixels,
// pixel 0 in its bit 7. It is its own inverse.
inline std::uint64_t transpose8x8(std::uint64_t x) {
    std::uint64_t t = (x ^ (x >> 7)) & 0x00aa00aa00aa00aaull;
    x ^= t ^ (t << 7);
    t = (x ^ (x >> 14)) & 0x0000cccc0000ccccull;
    x ^= t ^ (t << 14);
    t = (x ^ (x >> 28)) & 0x00000000f0f0f0f0ull;
    x ^= t ^ (t << 28);
    return x;
}

// The eight pixels from x (fewer at the end of a row: the rest are colour 0) as a uint64 ready
// for transpose8x8.
inline std::uint64_t pixelGroup(const std::uint8_t *row, unsigned x, unsigned width) {
    if (x + 8 <= width)
        return loadBigEndian(row + x);
    std::uint8_t tail[8] = {};
    std::memcpy(tail, row + x, width - x);
    return loadBigEndian(tail);
}

// Where each plane row of picture row y starts, and where its mask row starts (if any).
struct Placement {
    std::size_t rowBytes;
    std::size_t height;
    unsigned depth;
    bool interleaved;
    MaskOutput mask;

    std::size_t planeRowStride() const { return interleaved ? rowBytes : rowBytes * height; }
    std::size_t rowStride() const {
        if (!interleaved)
            return rowBytes;
        return rowBytes * (mask == MaskOutput::After ? depth + 1 : depth);
    }
    std::size_t total() const {
        const std::size_t rows = mask == MaskOutput::None    ? depth
                                 : mask == MaskOutput::After ? depth + 1
                                 : interleaved               ? depth
                                                             : 1;
        return rows * rowBytes * height;
    }
};

// Where the planes and mask of a picture go, or nothing for a picture that has none to write:
// no pixels, a depth outside 1 to maximumDepth, or a mask asked for and not given.
std::optional<Placement> placementFor(unsigned width, unsigned height, const BitplaneLayout &layout,
                                      const std::uint8_t *mask, unsigned maximumDepth) {
    if (width == 0 || height == 0 || layout.depth < 1 || layout.depth > maximumDepth)
        return std::nullopt;
    if (layout.mask != MaskOutput::None && mask == nullptr)
        return std::nullopt;
    return Placement{planeRowBytes(width), height, layout.depth, layout.interleaved, layout.mask};
}

// One mask row into place: complemented when asked, padding included (see the header: padding
// stays transparent, so the complement sets it).
void copyMaskRow(std::uint8_t *out, const std::uint8_t *maskRow, std::size_t rowBytes,
                 bool invert) {
    if (!invert) {
        std::memcpy(out, maskRow, rowBytes);
        return;
    }
    for (std::size_t i = 0; i < rowBytes; ++i)
        out[i] = static_cast<std::uint8_t>(~maskRow[i]);
}

std::vector<std::uint8_t> maskOnly(const Placement &place, const std::uint8_t *mask, bool invert) {
    std::vector<std::uint8_t> out(place.total());
    const std::size_t copies = place.interleaved ? place.depth : 1;
    for (std::size_t y = 0; y < place.height; ++y)
        for (std::size_t c = 0; c < copies; ++c)
            copyMaskRow(out.data() + (y * copies + c) * place.rowBytes, mask + y * place.rowBytes,
                        place.rowBytes, invert);
    return out;
}

void copyMaskAfter(std::uint8_t *out, const Placement &place, const std::uint8_t *mask,
                   bool invert) {
    for (std::size_t y = 0; y < place.height; ++y) {
        std::uint8_t *dest = place.interleaved
                                 ? out + y * place.rowStride() + place.depth * place.rowBytes
                                 : out + (place.depth * place.height + y) * place.rowBytes;
        copyMaskRow(dest, mask + y * place.rowBytes, place.rowBytes, invert);
    }
}

#if defined(__SSE2__)
bool hasAvx2() {
    static const bool avx2 = __builtin_cpu_supports("avx2");
    return avx2;
}

// planeRow's 64-pixel blocks with AVX2 (32 pixels a vector, the same movemask way as there);
// with maskDest, also the mask row's bytes for one transparent colour (complemented when
// invert). Gives the first pixel it left.
template <unsigned depth>
__attribute__((target("avx2"))) unsigned
planeRowAvx2For(const std::uint8_t *row, unsigned width, std::uint8_t *dest,
                std::size_t planeStride, std::uint8_t transparent, std::uint8_t *maskDest,
                bool invert) {
    // Each 8-byte quarter's bytes in reverse order.
    const __m256i reverse = _mm256_setr_epi8(7, 6, 5, 4, 3, 2, 1, 0, 15, 14, 13, 12, 11, 10, 9, 8,
                                             7, 6, 5, 4, 3, 2, 1, 0, 15, 14, 13, 12, 11, 10, 9, 8);
    const __m256i keep = _mm256_set1_epi8(static_cast<char>((1u << depth) - 1));
    const __m256i colour = _mm256_set1_epi8(static_cast<char>(transparent));
    const std::uint64_t flip = invert ? 0 : ~std::uint64_t{0};
    const int lift = static_cast<int>(8 - depth);
    unsigned x = 0;
    for (; x + 64 <= width; x += 64) {
        __m256i v0 = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(row + x));
        __m256i v1 = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(row + x + 32));
        v0 = _mm256_shuffle_epi8(v0, reverse);
        v1 = _mm256_shuffle_epi8(v1, reverse);
        if (maskDest != nullptr) {
            const std::uint64_t equal =
                static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(v0, colour))) |
                static_cast<std::uint64_t>(
                    static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(v1, colour))))
                    << 32;
            storeLittleEndian(maskDest + x / 8, equal ^ flip);
        }
        if (lift != 0) {
            v0 = _mm256_slli_epi16(_mm256_and_si256(v0, keep), lift);
            v1 = _mm256_slli_epi16(_mm256_and_si256(v1, keep), lift);
        }
        std::uint8_t *at = dest + x / 8 + (depth - 1) * planeStride;
#pragma GCC unroll 8
        for (unsigned p = 0; p < depth; ++p) {
            const std::uint64_t bits =
                static_cast<std::uint64_t>(static_cast<std::uint32_t>(_mm256_movemask_epi8(v0))) |
                static_cast<std::uint64_t>(static_cast<std::uint32_t>(_mm256_movemask_epi8(v1)))
                    << 32;
            storeLittleEndian(at, bits);
            at -= planeStride;
            v0 = _mm256_add_epi8(v0, v0);
            v1 = _mm256_add_epi8(v1, v1);
        }
    }
    return x;
}

unsigned planeRowAvx2(const std::uint8_t *row, unsigned width, unsigned depth, std::uint8_t *dest,
                      std::size_t planeStride, std::uint8_t transparent, std::uint8_t *maskDest,
                      bool invert) {
    using Kernel = unsigned (*)(const std::uint8_t *, unsigned, std::uint8_t *, std::size_t,
                                std::uint8_t, std::uint8_t *, bool);
    static constexpr Kernel kernels[] = {planeRowAvx2For<1>, planeRowAvx2For<2>, planeRowAvx2For<3>,
                                         planeRowAvx2For<4>, planeRowAvx2For<5>, planeRowAvx2For<6>,
                                         planeRowAvx2For<7>, planeRowAvx2For<8>};
    return kernels[depth - 1](row, width, dest, planeStride, transparent, maskDest, invert);
}

// maskPlane's rows for one transparent colour with AVX2, 32 pixels at a time; gives the first
// pixel it left.
__attribute__((target("avx2"))) unsigned maskRowAvx2(const std::uint8_t *row, unsigned width,
                                                     std::uint8_t colour, std::uint8_t *dest) {
    const __m256i reverse = _mm256_setr_epi8(7, 6, 5, 4, 3, 2, 1, 0, 15, 14, 13, 12, 11, 10, 9, 8,
                                             7, 6, 5, 4, 3, 2, 1, 0, 15, 14, 13, 12, 11, 10, 9, 8);
    const __m256i transparent = _mm256_set1_epi8(static_cast<char>(colour));
    unsigned x = 0;
    for (; x + 32 <= width; x += 32) {
        __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(row + x));
        v = _mm256_cmpeq_epi8(_mm256_shuffle_epi8(v, reverse), transparent);
        const std::uint32_t opaque = ~static_cast<std::uint32_t>(_mm256_movemask_epi8(v));
        std::memcpy(dest + x / 8, &opaque, sizeof opaque); // little-endian: bytes in order
    }
    return x;
}
#endif

// The single transparent colour of a Transparency, if it has exactly one.
int singleTransparent(const Transparency &transparency) {
    int single = -1;
    const std::size_t n = std::min<std::size_t>(transparency.transparent.size(), 256);
    for (std::size_t c = 0; c < n; ++c) {
        if (!transparency.transparent[c])
            continue;
        if (single >= 0)
            return -1;
        single = static_cast<int>(c);
    }
    return single;
}

// The mask row for one transparent colour from pixel x (a multiple of 8) on: the bytes up to the
// last pixel's; the padding byte is left as it is.
void maskRow(const std::uint8_t *row, unsigned width, unsigned x, std::uint8_t single,
             std::uint8_t *dest) {
#if defined(__SSE2__)
    // Sixteen pixels a vector: the bytes equal to the colour, their high bits gathered (pixel i
    // in bit i), each byte's bits reversed and complemented.
    const __m128i colour = _mm_set1_epi8(static_cast<char>(single));
    for (; x + 16 <= width; x += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(row + x));
        const unsigned equal = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, colour)));
        dest[x / 8] = static_cast<std::uint8_t>(~kReversed[equal & 0xff]);
        dest[x / 8 + 1] = static_cast<std::uint8_t>(~kReversed[equal >> 8]);
    }
#endif
    // Eight pixels at a time: a byte of the group is opaque when it differs from the colour
    // (a SWAR test for a non-zero byte after the exclusive or).
    const std::uint64_t pattern = kOnes * single;
    for (; x < width; x += 8) {
        // Bytes past the width are made equal to the colour: transparent, bit clear.
        std::uint64_t group;
        if (x + 8 <= width) {
            group = loadBigEndian(row + x);
        } else {
            std::uint8_t tail[8];
            std::memset(tail, single, sizeof tail);
            std::memcpy(tail, row + x, width - x);
            group = loadBigEndian(tail);
        }
        const std::uint64_t v = group ^ pattern;
        const std::uint64_t nonZero = (((v & ~kHighBits) + ~kHighBits) | v) & kHighBits;
        // The high bits of bytes 7..0 (pixel 0 in byte 7) gathered into bits 7..0.
        dest[x / 8] = static_cast<std::uint8_t>(((nonZero >> 7) * 0x0102040810204080ull) >> 56);
    }
}

// The planes of one row of 8-bit colour numbers from pixel x (a multiple of 16) on: plane p's row
// at dest + p * planeStride, the bytes up to the last pixel's; the padding byte of a row whose
// pixels end in the first byte of its last word is left as it is (clear).
void planeRow(const std::uint8_t *row, unsigned width, unsigned depth, std::uint8_t *dest,
              std::size_t planeStride, unsigned x) {
#if defined(__SSE2__)
    // Sixteen pixels a vector. With the bytes of each half of a vector in reverse order, the high
    // bits of its bytes (movemask) are a plane's two bytes of those sixteen pixels as they lie in
    // memory, pixel 0 in bit 7 of the first; doubling every byte brings the next plane's bits up.
    const __m128i keep = _mm_set1_epi8(static_cast<char>((1u << depth) - 1));
    const int lift = static_cast<int>(8 - depth);
    const auto prepared = [&](const std::uint8_t *at) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(at));
        v = _mm_shufflelo_epi16(v, _MM_SHUFFLE(0, 1, 2, 3));
        v = _mm_shufflehi_epi16(v, _MM_SHUFFLE(0, 1, 2, 3));
        v = _mm_or_si128(_mm_slli_epi16(v, 8), _mm_srli_epi16(v, 8));
        // The planes above depth dropped and plane depth - 1 brought up to bit 7: the bits
        // kept in a byte cannot cross into its neighbour.
        return lift == 0 ? v : _mm_slli_epi16(_mm_and_si128(v, keep), lift);
    };
    for (; x + 16 <= width; x += 16) {
        __m128i v = prepared(row + x);
        std::uint8_t *at = dest + x / 8;
        for (unsigned p = depth; p-- > 0;) {
            const unsigned bits = static_cast<unsigned>(_mm_movemask_epi8(v));
            at[p * planeStride] = static_cast<std::uint8_t>(bits);
            at[p * planeStride + 1] = static_cast<std::uint8_t>(bits >> 8);
            v = _mm_add_epi8(v, v);
        }
    }
#endif
    for (; x < width; x += 8) {
        const std::uint64_t planes = transpose8x8(pixelGroup(row, x, width));
        for (unsigned p = 0; p < depth; ++p)
            dest[p * planeStride + x / 8] = static_cast<std::uint8_t>(planes >> (8 * p));
    }
}

} // namespace

Transparency Transparency::colour(unsigned c) {
    Transparency t;
    t.transparent.assign(static_cast<std::size_t>(c) + 1, false);
    t.transparent[c] = true;
    return t;
}

std::vector<std::uint8_t> maskPlane(const std::uint8_t *pixels, unsigned width, unsigned height,
                                    const Transparency &transparency) {
    const std::size_t rowBytes = planeRowBytes(width);
    std::vector<std::uint8_t> out(rowBytes * height);
    if (out.empty())
        return out;

    const int single = singleTransparent(transparency);
    if (single >= 0) {
        for (unsigned y = 0; y < height; ++y) {
            const std::uint8_t *row = pixels + static_cast<std::size_t>(y) * width;
            std::uint8_t *dest = out.data() + y * rowBytes;
            unsigned x = 0;
#if defined(__SSE2__)
            if (width >= 32 && hasAvx2())
                x = maskRowAvx2(row, width, static_cast<std::uint8_t>(single), dest);
#endif
            maskRow(row, width, x, static_cast<std::uint8_t>(single), dest);
        }
        return out;
    }

    bool opaque[256];
    for (unsigned c = 0; c < 256; ++c)
        opaque[c] = !transparency.isTransparent(c);
    for (unsigned y = 0; y < height; ++y) {
        const std::uint8_t *row = pixels + static_cast<std::size_t>(y) * width;
        std::uint8_t *dest = out.data() + y * rowBytes;
        for (unsigned x = 0; x < width; ++x)
            if (opaque[row[x]])
                dest[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
    }
    return out;
}

std::vector<std::uint8_t> maskPlaneFromOpacity(const std::uint8_t *opacity, unsigned width,
                                               unsigned height) {
    const std::size_t rowBytes = planeRowBytes(width);
    std::vector<std::uint8_t> out(rowBytes * height);
    for (unsigned y = 0; y < height; ++y) {
        const std::uint8_t *row = opacity + static_cast<std::size_t>(y) * width;
        std::uint8_t *dest = out.data() + y * rowBytes;
        for (unsigned x = 0; x < width; ++x)
            if (row[x] != 0)
                dest[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
    }
    return out;
}

std::vector<std::uint8_t> bitplaneData(const std::uint8_t *pixels, unsigned width, unsigned height,
                                       const BitplaneLayout &layout, const std::uint8_t *mask) {
    const std::optional<Placement> placement = placementFor(width, height, layout, mask, 8);
    if (!placement)
        return {};
    const Placement &place = *placement;
    if (layout.mask == MaskOutput::Only)
        return maskOnly(place, mask, layout.invertMask);

    std::vector<std::uint8_t> out(place.total());
    const std::size_t planeStride = place.planeRowStride();
#if defined(__SSE2__)
    const bool avx2 = width >= 64 && hasAvx2();
#endif
    for (unsigned y = 0; y < height; ++y) {
        const std::uint8_t *row = pixels + static_cast<std::size_t>(y) * width;
        std::uint8_t *dest = out.data() + y * place.rowStride();
        unsigned x = 0;
#if defined(__SSE2__)
        if (avx2)
            x = planeRowAvx2(row, width, layout.depth, dest, planeStride, 0, nullptr, false);
#endif
        planeRow(row, width, layout.depth, dest, planeStride, x);
    }
    if (layout.mask == MaskOutput::After)
        copyMaskAfter(out.data(), place, mask, layout.invertMask);
    return out;
}

std::vector<std::uint8_t> bitplaneDataAndMask(const std::uint8_t *pixels, unsigned width,
                                              unsigned height, const BitplaneLayout &layout,
                                              const Transparency &transparency) {
    const int single = singleTransparent(transparency);
    if (layout.mask != MaskOutput::After || single < 0 || width == 0 || height == 0 ||
        layout.depth < 1 || layout.depth > 8) {
        if (layout.mask == MaskOutput::None)
            return bitplaneData(pixels, width, height, layout, nullptr);
        const std::vector<std::uint8_t> mask = maskPlane(pixels, width, height, transparency);
        return bitplaneData(pixels, width, height, layout, mask.data());
    }

    // The planes and the mask row of each picture row in one pass over its pixels.
    const Placement place{planeRowBytes(width), height, layout.depth, layout.interleaved,
                          layout.mask};
    std::vector<std::uint8_t> out(place.total());
    const std::size_t planeStride = place.planeRowStride();
    const auto colour = static_cast<std::uint8_t>(single);
#if defined(__SSE2__)
    const bool avx2 = width >= 64 && hasAvx2();
#endif
    for (unsigned y = 0; y < height; ++y) {
        const std::uint8_t *row = pixels + static_cast<std::size_t>(y) * width;
        std::uint8_t *dest = out.data() + y * place.rowStride();
        std::uint8_t *maskDest =
            out.data() + (place.interleaved
                              ? y * place.rowStride() + layout.depth * place.rowBytes
                              : (layout.depth * std::size_t{height} + y) * place.rowBytes);
        unsigned x = 0;
#if defined(__SSE2__)
        if (avx2)
            x = planeRowAvx2(row, width, layout.depth, dest, planeStride, colour, maskDest,
                             layout.invertMask);
#endif
        planeRow(row, width, layout.depth, dest, planeStride, x);
        maskRow(row, width, x, colour, maskDest);
        if (layout.invertMask)
            for (std::size_t i = x / 8; i < place.rowBytes; ++i)
                maskDest[i] = static_cast<std::uint8_t>(~maskDest[i]);
    }
    return out;
}

std::vector<std::uint8_t> bitplaneData(const std::uint32_t *pixels, unsigned width, unsigned height,
                                       const BitplaneLayout &layout, const std::uint8_t *mask) {
    const std::optional<Placement> placement = placementFor(width, height, layout, mask, 32);
    if (!placement)
        return {};
    const Placement &place = *placement;
    if (layout.mask == MaskOutput::Only)
        return maskOnly(place, mask, layout.invertMask);

    std::vector<std::uint8_t> out(place.total());
    const std::size_t planeStride = place.planeRowStride();
    for (unsigned y = 0; y < height; ++y) {
        const std::uint32_t *row = pixels + static_cast<std::size_t>(y) * width;
        std::uint8_t *dest = out.data() + y * place.rowStride();
        for (unsigned p = 0; p < layout.depth; ++p) {
            std::uint8_t *plane = dest + p * planeStride;
            for (unsigned x = 0; x < width; ++x)
                if ((row[x] >> p) & 1u)
                    plane[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        }
    }
    if (layout.mask == MaskOutput::After)
        copyMaskAfter(out.data(), place, mask, layout.invertMask);
    return out;
}

std::vector<std::uint8_t> chunkyFromPlanes(const std::uint8_t *planes, unsigned width,
                                           unsigned height, unsigned depth) {
    if (width == 0 || height == 0 || depth < 1 || depth > 8)
        return {};
    const std::size_t rowBytes = planeRowBytes(width);
    const std::size_t planeBytes = rowBytes * height;
    std::vector<std::uint8_t> out(static_cast<std::size_t>(width) * height);
    for (unsigned y = 0; y < height; ++y) {
        std::uint8_t *row = out.data() + static_cast<std::size_t>(y) * width;
        for (unsigned x = 0; x < width; x += 8) {
            std::uint64_t group = 0;
            for (unsigned p = 0; p < depth; ++p)
                group |= static_cast<std::uint64_t>(planes[p * planeBytes + y * rowBytes + x / 8])
                         << (8 * p);
            // Byte i of the transposed group is pixel 7 - i: most significant byte first.
            std::uint64_t pixelsOut = transpose8x8(group);
            if constexpr (std::endian::native == std::endian::little)
                pixelsOut = __builtin_bswap64(pixelsOut);
            std::memcpy(row + x, &pixelsOut, std::min(8u, width - x));
        }
    }
    return out;
}

} // namespace amiga
