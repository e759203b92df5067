// Bitplane memory, worked out by hand: a lores line of 320 pixels is 40 bytes; five planes of
// 256 such lines are 51,200 bytes; interleaved, BPLxMOD skips the other four planes' lines.
#include <amiga/bitplanememory.h>

#include <gtest/gtest.h>

TEST(BitplaneMemory, WorkedScreens) {
    struct Case {
        std::uint64_t w, h, d;
        std::uint64_t line, plane, all, lineAll, modulo;
    } cases[] = {
        {320, 256, 5, 40, 10240, 51200, 200, 160},
        {640, 512, 4, 80, 40960, 163840, 320, 240},
        {1280, 1024, 8, 160, 163840, 1310720, 1280, 1120},
        {327, 256, 5, 40, 10240, 51200, 200, 160}, // pixels past the last whole byte are dropped
        {7, 100, 3, 0, 0, 0, 0, 0},
        {320, 200, 1, 40, 8000, 8000, 40, 0}, // one plane: nothing to skip
    };
    for (const Case &c : cases) {
        const amiga::BitplaneMemory m = amiga::bitplaneMemory(c.w, c.h, c.d);
        EXPECT_EQ(m.bytesPerLine, c.line) << c.w << "x" << c.h << "x" << c.d;
        EXPECT_EQ(m.bytesPerPlane, c.plane) << c.w << "x" << c.h << "x" << c.d;
        EXPECT_EQ(m.bytesAllPlanes, c.all) << c.w << "x" << c.h << "x" << c.d;
        EXPECT_EQ(m.bytesPerLineAllPlanes, c.lineAll) << c.w << "x" << c.h << "x" << c.d;
        EXPECT_EQ(m.interleavedModulo, c.modulo) << c.w << "x" << c.h << "x" << c.d;
    }
}

TEST(BitplaneMemory, NoPlanesHaveNoModuloRatherThanOneWrappedBelowZero) {
    const amiga::BitplaneMemory m = amiga::bitplaneMemory(320, 256, 0);
    EXPECT_EQ(m.bytesAllPlanes, 0u);
    EXPECT_EQ(m.interleavedModulo, 0u);
}
