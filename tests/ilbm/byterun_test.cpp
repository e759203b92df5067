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
    if (result)
        *result = r;
    return out;
}

TEST(ByteRunPacking, PacksTheReferenceRowsByteForByte) {
    const struct {
        Bytes row, packed;
    } cases[] = {
        {{1, 2, 3, 3, 3}, {0x01, 1, 2, 0xFE, 3}},
        {{5, 5}, {0xFF, 5}},
        {{1, 2, 2, 3}, {0x03, 1, 2, 2, 3}},
        {{7}, {0x00, 7}},
        {{1, 2, 2}, {0x02, 1, 2, 2}},       // a pair ending a literal stretch stays in it
        {{4, 4, 4, 9}, {0xFE, 4, 0x00, 9}}, // a run ending a row, then a byte on its own
        {{1, 2, 2, 2, 3}, {0x00, 1, 0xFE, 2, 0x00, 3}}, // three equal bytes end a stretch
        {{1, 1, 2}, {0xFF, 1, 0x00, 2}},                // two start a run at a row's start
    };
    for (const auto &c : cases)
        EXPECT_EQ(pack(c.row), c.packed);
}

TEST(ByteRunPacking, SplitsLongRunsAndStretchesAt128) {
    Bytes run(200, 0x42);
    Bytes packed = pack(run);
    EXPECT_EQ(packed, (Bytes{0x81, 0x42, static_cast<unsigned char>(1 - 72), 0x42}));
    EXPECT_EQ(unpack(packed, 200), run);

    Bytes literal(300);
    for (size_t i = 0; i < literal.size(); i++)
        literal[i] = static_cast<unsigned char>(i);
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
        for (auto &b : row)
            b = static_cast<unsigned char>(random() % alphabet);
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

TEST(ByteRunUnpacking, NeverWritesOrReadsOutsideEitherBuffer) {
    const struct {
        Bytes packed;
        size_t room;
        Bytes out;
        bool truncated, overrun;
        size_t consumed;
        unsigned unknownControls;
    } cases[] = {
        {{0x02, 0x0A, 0x0B, 0x0C, 0xFD, 0x00},
         7,
         {0x0A, 0x0B, 0x0C, 0, 0, 0, 0},
         false,
         false,
         6,
         0},
        // $80 is no operation, and counted.
        {{0x80, 0x00, 0x05, 0x80, 0xFF, 0x06}, 3, {5, 6, 6}, false, false, 6, 2},
        {{0x81, 0x07}, 5, Bytes(5, 7), false, true, 2, 0},        // a run longer than the room left
        {{0x05, 1, 2, 3, 4, 5, 6}, 2, {1, 2}, false, true, 7, 0}, // a literal longer than the room
        {{0x05, 1, 2}, 10, {1, 2}, true, false, 3, 0},            // a literal longer than the data
        {{0x00, 9, 0xFE}, 10, {9}, true, false, 3, 0},       // a run control byte at the very end
        {{0xFF, 1, 0xFF, 2}, 2, {1, 1}, false, false, 2, 0}, // data left once the room is full
    };
    for (const auto &c : cases) {
        ILBM_ByteRunResult result;
        EXPECT_EQ(unpack(c.packed, c.room, &result), c.out);
        EXPECT_EQ(result.truncated, c.truncated);
        EXPECT_EQ(result.overrun, c.overrun);
        EXPECT_EQ(result.unknownControls, c.unknownControls);
        if (!c.overrun) { // how far an overrun reads is not part of the promise
            EXPECT_EQ(result.consumed, c.consumed);
        }
    }
}

TEST(ByteRunUnpacking, LongStreamsDecodeTheSameOnEveryPath) {
    // Long enough to go through the block-copy path and finish on the careful one.
    std::mt19937 random(7);
    for (int trial = 0; trial < 200; trial++) {
        Bytes original(1 + random() % 5000);
        for (size_t i = 0; i < original.size();) {
            size_t length = 1 + random() % 300;
            bool repeat = random() % 2;
            unsigned char value = static_cast<unsigned char>(random());
            for (size_t k = 0; k < length && i < original.size(); k++, i++)
                original[i] = repeat ? value : static_cast<unsigned char>(random());
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
