#include "ilbm/byterun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

Bytes pack(const Bytes &row) {
    Bytes out(ILBM_byteRunRowWorstCase(row.size()));
    size_t length = ILBM_packByteRunRow(row.data(), row.size(), out.data(), out.size());
    out.resize(length);
    return out;
}

Bytes unpack(const Bytes &packed, size_t size, ILBM_ByteRunResult *result = nullptr) {
    Bytes out(size, 0xAA);
    ILBM_ByteRunResult r = ILBM_unpackByteRunData(packed.data(), packed.size(), out.data(), size);
    out.resize(r.written);
    if (result) {
        *result = r;
    }
    return out;
}

TEST(ByteRunPacking, PacksTheReferenceRowsByteForByte) {
    EXPECT_EQ(pack({1, 2, 3, 3, 3}), (Bytes{0x01, 1, 2, 0xFE, 3}));
    EXPECT_EQ(pack({5, 5}), (Bytes{0xFF, 5}));
    EXPECT_EQ(pack({1, 2, 2, 3}), (Bytes{0x03, 1, 2, 2, 3}));
    EXPECT_EQ(pack({7}), (Bytes{0x00, 7}));
    // A pair at the end of a literal stretch stays in it.
    EXPECT_EQ(pack({1, 2, 2}), (Bytes{0x02, 1, 2, 2}));
    // A run ending a row, then a byte on its own.
    EXPECT_EQ(pack({4, 4, 4, 9}), (Bytes{0xFE, 4, 0x00, 9}));
    // Three equal bytes end a literal stretch and start a run; two start one at a row's start.
    EXPECT_EQ(pack({1, 2, 2, 2, 3}), (Bytes{0x00, 1, 0xFE, 2, 0x00, 3}));
    EXPECT_EQ(pack({1, 1, 2}), (Bytes{0xFF, 1, 0x00, 2}));
}

TEST(ByteRunPacking, SplitsLongRunsAndStretchesAt128) {
    Bytes run(200, 0x42);
    Bytes packed = pack(run);
    EXPECT_EQ(packed, (Bytes{0x81, 0x42, static_cast<unsigned char>(1 - 72), 0x42}));
    for (size_t i = 0; i < packed.size(); i += 2) {
        EXPECT_NE(packed[i], 0x80);
    }
    EXPECT_EQ(unpack(packed, 200), run);

    Bytes literal(300);
    for (size_t i = 0; i < literal.size(); i++) {
        literal[i] = static_cast<unsigned char>(i);
    }
    packed = pack(literal);
    ASSERT_EQ(packed.size(), 300u + 3u);
    EXPECT_EQ(packed[0], 127);
    EXPECT_EQ(packed[129], 127);
    EXPECT_EQ(packed[258], 300 - 256 - 1);
    EXPECT_EQ(unpack(packed, 300), literal);
}

TEST(ByteRunPacking, RandomRowsRoundTripWithinTheWorstCase) {
    std::mt19937 random(4);
    for (int trial = 0; trial < 2000; trial++) {
        size_t size = 1 + random() % 700;
        Bytes row(size);
        int alphabet = 1 + static_cast<int>(random() % 4);
        for (auto &b : row) {
            b = static_cast<unsigned char>(random() % alphabet);
        }
        Bytes packed = pack(row);
        ASSERT_FALSE(packed.empty());
        ASSERT_LE(packed.size(), ILBM_byteRunRowWorstCase(size));
        ASSERT_EQ(unpack(packed, size), row) << "trial " << trial;
    }
}

TEST(ByteRunPacking, RefusesAnOutputBufferThatIsTooSmall) {
    Bytes row{1, 2, 3, 4};
    unsigned char out[4];
    EXPECT_EQ(ILBM_packByteRunRow(row.data(), row.size(), out, sizeof out), 0u);
}

TEST(ByteRunUnpacking, DecodesRunsAndLiterals) {
    ILBM_ByteRunResult result;
    EXPECT_EQ(unpack({0x02, 0x0A, 0x0B, 0x0C, 0xFD, 0x00}, 7, &result),
              (Bytes{0x0A, 0x0B, 0x0C, 0, 0, 0, 0}));
    EXPECT_FALSE(result.truncated);
    EXPECT_FALSE(result.overrun);
    EXPECT_EQ(result.consumed, 6u);
}

TEST(ByteRunUnpacking, SkipsTheUnknownControlByte) {
    ILBM_ByteRunResult result;
    EXPECT_EQ(unpack({0x80, 0x00, 0x05, 0x80, 0xFF, 0x06}, 3, &result), (Bytes{5, 6, 6}));
    EXPECT_EQ(result.unknownControls, 2u);
}

TEST(ByteRunUnpacking, NeverWritesOrReadsOutsideEitherBuffer) {
    ILBM_ByteRunResult result;
    // A run longer than the room left.
    EXPECT_EQ(unpack({0x81, 0x07}, 5, &result), (Bytes(5, 7)));
    EXPECT_TRUE(result.overrun);
    // A literal longer than the room left.
    EXPECT_EQ(unpack({0x05, 1, 2, 3, 4, 5, 6}, 2, &result), (Bytes{1, 2}));
    EXPECT_TRUE(result.overrun);
    // A literal that claims more bytes than the data holds.
    EXPECT_EQ(unpack({0x05, 1, 2}, 10, &result), (Bytes{1, 2}));
    EXPECT_TRUE(result.truncated);
    // A run control byte at the very end.
    EXPECT_EQ(unpack({0x00, 9, 0xFE}, 10, &result), (Bytes{9}));
    EXPECT_TRUE(result.truncated);
    EXPECT_EQ(result.consumed, 3u);
    // Data left over once the destination is full.
    EXPECT_EQ(unpack({0xFF, 1, 0xFF, 2}, 2, &result), (Bytes{1, 1}));
    EXPECT_FALSE(result.truncated);
    EXPECT_EQ(result.consumed, 2u);
}

} // namespace

namespace {

TEST(ByteRunUnpacking, LongStreamsDecodeTheSameOnEveryPath) {
    // Long enough to go through the block-copy path and finish on the careful one.
    std::mt19937 random(7);
    for (int trial = 0; trial < 200; trial++) {
        Bytes original(1 + random() % 5000);
        for (size_t i = 0; i < original.size();) {
            size_t length = 1 + random() % 300;
            bool repeat = random() % 2;
            unsigned char value = static_cast<unsigned char>(random());
            for (size_t k = 0; k < length && i < original.size(); k++, i++) {
                original[i] = repeat ? value : static_cast<unsigned char>(random());
            }
        }
        Bytes packed = pack(original);
        ILBM_ByteRunResult result;
        ASSERT_EQ(unpack(packed, original.size(), &result), original);
        EXPECT_EQ(result.consumed, packed.size());
        // Cut short anywhere: never more than the data holds, always flagged.
        size_t cut = random() % packed.size();
        Bytes shorter(packed.begin(), packed.begin() + static_cast<long>(cut));
        Bytes partial = unpack(shorter, original.size(), &result);
        EXPECT_TRUE(result.truncated);
        EXPECT_TRUE(std::equal(partial.begin(), partial.end(), original.begin()));
    }
}

} // namespace
