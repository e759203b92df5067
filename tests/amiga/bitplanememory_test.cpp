// Bitplane memory, worked out by hand: a lores line of 320 pixels is 40 bytes; five planes of
// 256 such lines are 51,200 bytes; interleaved, BPLxMOD skips the other four planes' lines.
#include <amiga/bitplanememory.h>

#include <gtest/gtest.h>

#include <array>

TEST(BitplaneMemory, WorkedScreens) {
    struct Case {
        std::uint64_t w, h, d;
        std::array<std::uint64_t, 5>
            bytes; // a line, a plane, all planes, a line of all, the modulo
    } cases[] = {
        {320, 256, 5, {40, 10240, 51200, 200, 160}},
        {640, 512, 4, {80, 40960, 163840, 320, 240}},
        {1280, 1024, 8, {160, 163840, 1310720, 1280, 1120}},
        {327, 256, 5, {40, 10240, 51200, 200, 160}}, // pixels past the last whole byte are dropped
        {7, 100, 3, {0, 0, 0, 0, 0}},
        {320, 200, 1, {40, 8000, 8000, 40, 0}}, // one plane: nothing to skip
        {320, 256, 0, {40, 10240, 0, 0, 0}},    // no planes: no modulo, not one wrapped below 0
    };
    for (const Case &c : cases) {
        const amiga::BitplaneMemory m = amiga::bitplaneMemory(c.w, c.h, c.d);
        EXPECT_EQ((std::array{m.bytesPerLine, m.bytesPerPlane, m.bytesAllPlanes,
                              m.bytesPerLineAllPlanes, m.interleavedModulo}),
                  c.bytes)
            << c.w << "x" << c.h << "x" << c.d;
    }
}
