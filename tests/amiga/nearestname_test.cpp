// Edit distance and the nearest name, for "did you mean" hints. Distances worked out by hand (the
// cases, with their reasons, in data/nearestname.txt).
#include <amiga/nearestname.h>

#include "case_table.h"

#include <gtest/gtest.h>

namespace {

TEST(NearestName, EditDistance) {
    const auto table = casetable::rows("nearestname.txt", "distances");
    EXPECT_EQ(table.size(), 8u);
    for (const casetable::Row &c : table) {
        const auto distance = static_cast<std::size_t>(std::stoul(c.at(2)));
        EXPECT_EQ(amiga::editDistance(c[0], c[1]), distance) << c[0] << " " << c[1];
        EXPECT_EQ(amiga::editDistance(c[1], c[0]), distance) << c[1] << " " << c[0];
    }
}

TEST(NearestName, OnlyASlipIsNamed) {
    const std::vector<std::string> names{"BPLCON0", "BPLCON1", "BPL1MOD", "COLOR00"};
    EXPECT_EQ(amiga::nearestName("bplcono", names), "BPLCON0");
    EXPECT_EQ(amiga::nearestName("BPLCON", names), "BPLCON0"); // a tie: the first
    EXPECT_EQ(amiga::nearestName("BPL1MDO", names), "BPL1MOD");
    // Up to a third of the length: two edits in seven letters, not three; one in two letters.
    EXPECT_EQ(amiga::nearestName("BXLCOX0", names), "BPLCON0");
    EXPECT_EQ(amiga::nearestName("BXLXOX0", names), std::nullopt);
    EXPECT_EQ(amiga::nearestName("ab", {"ax", "xy"}), "ax");
    EXPECT_EQ(amiga::nearestName("frobnicate", names), std::nullopt);
}

} // namespace
