#include "iff_bytes.h"
#include "ilbm/byterun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using iffbytes::Bytes;

namespace {

Bytes pack(const Bytes &row) {
    Bytes out(ILBM_byteRunRowWorstCase(row.size()));
    out.resize(ILBM_packByteRunRow(row.data(), row.size(), out.data(), out.size()));
    return out;
}

Bytes unpack(const Bytes &packed, size_t size, ILBM_ByteRunResult *result) {
    Bytes out(size, 0xAA);
    *result = ILBM_unpackByteRunData(packed.data(), packed.size(), out.data(), size);
    out.resize(result->written);
    return out;
}

// count bytes from, from + 1, ... (modulo 256).
Bytes counting(unsigned int from, unsigned int count) {
    Bytes out;
    for (unsigned int i = 0; i < count; i++)
        out.push_back(static_cast<unsigned char>(from + i));
    return out;
}

} // namespace

TEST(ByteRun, PacksRowsByteForByteAndUnpacksThemBack) {
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
        // Runs and stretches of at most 128 bytes: 1 - 128 = $81, 1 - 72 = $B9; 127 and 0; 127,
        // 127 and 43.
        {Bytes(200, 0x42), {0x81, 0x42, 0xB9, 0x42}},
        {counting(0, 129), iffbytes::cat({{127}, counting(0, 128), {0, 128}})},
        {counting(0, 300),
         iffbytes::cat(
             {{127}, counting(0, 128), {127}, counting(128, 128), {43}, counting(0, 44)})},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(pack(c.row), c.packed) << c.row.size() << " bytes from " << int(c.row[0]);
        ILBM_ByteRunResult result;
        EXPECT_EQ(unpack(c.packed, c.row.size(), &result), c.row);
    }
    const Bytes row{1, 2, 3, 4};
    unsigned char out[4];
    EXPECT_EQ(ILBM_packByteRunRow(row.data(), row.size(), out, sizeof out), 0u) << "too small";
}

TEST(ByteRun, UnpackingNeverWritesOrReadsOutsideEitherBuffer) {
    const struct {
        Bytes packed;
        size_t room;
        Bytes out;
        int truncated, overrun;
        size_t consumed;
        unsigned int unknownControls;
    } cases[] = {
        {{0x02, 0x0A, 0x0B, 0x0C, 0xFD, 0x00}, 7, {0x0A, 0x0B, 0x0C, 0, 0, 0, 0}, 0, 0, 6, 0},
        {{0x80, 0x00, 0x05, 0x80, 0xFF, 0x06}, 3, {5, 6, 6}, 0, 0, 6, 2}, // $80: no operation
        {{0x81, 0x07}, 5, Bytes(5, 7), 0, 1, 2, 0},        // a run longer than the room left
        {{0x05, 1, 2, 3, 4, 5, 6}, 2, {1, 2}, 0, 1, 7, 0}, // a literal longer than the room
        {{0x05, 1, 2}, 10, {1, 2}, 1, 0, 3, 0},            // a literal longer than the data
        {{0x00, 9, 0xFE}, 10, {9}, 1, 0, 3, 0},            // a run control byte at the very end
        {{0xFF, 1, 0xFF, 2}, 2, {1, 1}, 0, 0, 2, 0},       // data left once the room is full
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.packed.size() << " packed bytes into " << c.room);
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

// Short rows of few values, then long ones of runs and noise (long enough for the block-copy
// path of unpacking): packed within the worst case, unpacked whole, and, cut short anywhere,
// unpacked as far as the data goes and flagged.
TEST(ByteRun, RandomRowsRoundTrip) {
    std::mt19937 random(4);
    for (int trial = 0; trial < 2200; trial++) {
        Bytes row(1 + random() % (trial < 2000 ? 700 : 5000));
        if (trial < 2000) {
            const unsigned int values = 1 + random() % 4;
            for (auto &b : row)
                b = static_cast<unsigned char>(random() % values);
        }
        for (size_t i = 0; trial >= 2000 && i < row.size();) {
            const size_t length = 1 + random() % 300;
            const bool repeat = random() % 2;
            const auto value = static_cast<unsigned char>(random());
            for (size_t k = 0; k < length && i < row.size(); k++, i++)
                row[i] = repeat ? value : static_cast<unsigned char>(random());
        }
        SCOPED_TRACE(trial);
        const Bytes packed = pack(row);
        ASSERT_LE(packed.size(), ILBM_byteRunRowWorstCase(row.size()));
        ILBM_ByteRunResult result;
        ASSERT_EQ(unpack(packed, row.size(), &result), row);
        EXPECT_EQ(result.consumed, packed.size());
        const Bytes shorter(packed.begin(), packed.begin() + random() % packed.size());
        const Bytes partial = unpack(shorter, row.size(), &result);
        EXPECT_TRUE(result.truncated);
        EXPECT_TRUE(std::equal(partial.begin(), partial.end(), row.begin()));
    }
}
