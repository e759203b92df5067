// Edit distance and the nearest name, for "did you mean" hints. Distances worked out by hand on
// the distance table; a swap of neighbours counts one edit, but a swapped pair is not edited
// again (so "ca" to "abc" is 3, where an unrestricted count would give 2).
#include <amiga/nearestname.h>

#include <gtest/gtest.h>

namespace {

TEST(NearestName, EditDistance) {
    // Swapped neighbours; case ignored and O for 0; two changes and an insertion.
    struct Case {
        const char *a, *b;
        std::size_t distance;
    } cases[] = {
        {"", "", 0},
        {"", "abc", 3},
        {"display", "display", 0},
        {"dispaly", "display", 1},
        {"BPLCONO", "bplcon0", 1},
        {"kitten", "sitting", 3},
        {"ca", "abc", 3},
        {"--widht", "--width", 1},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(amiga::editDistance(c.a, c.b), c.distance) << c.a << " " << c.b;
        EXPECT_EQ(amiga::editDistance(c.b, c.a), c.distance) << c.b << " " << c.a;
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
