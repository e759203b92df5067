// Bitplane memory: the screens of data/bitplanememory.txt, worked out there by hand.
#include <amiga/bitplanememory.h>

#include "case_table.h"

#include <gtest/gtest.h>

TEST(BitplaneMemory, WorkedScreens) {
    const auto table = casetable::rows("bitplanememory.txt", "screens");
    EXPECT_EQ(table.size(), 7u);
    for (const casetable::Row &c : table) {
        const amiga::BitplaneMemory m =
            amiga::bitplaneMemory(std::stoull(c.at(0)), std::stoull(c.at(1)), std::stoull(c.at(2)));
        std::istringstream expected(c.at(3));
        for (const std::uint64_t got : {m.bytesPerLine, m.bytesPerPlane, m.bytesAllPlanes,
                                        m.bytesPerLineAllPlanes, m.interleavedModulo}) {
            std::uint64_t bytes = 0;
            expected >> bytes;
            EXPECT_EQ(got, bytes) << c[0] << "x" << c[1] << "x" << c[2];
        }
    }
}
