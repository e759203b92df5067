// The Registers tool's arithmetic without its widgets. Expected values are worked out by hand
// from the bit numbers (bit 0 is the least significant).
#include "registers/RegisterWord.h"

#include <gtest/gtest.h>

using namespace RegisterWord;

TEST(RegisterWord, BitsMakeTheWordItsBytesAndItsBinary) {
    struct Case {
        std::vector<int> set;
        std::uint16_t word;
        std::uint8_t low, high;
        const char *binary;
    } cases[] = {
        {{}, 0x0000, 0x00, 0x00, "0000000000000000"},
        {{0}, 0x0001, 0x01, 0x00, "0000000000000001"},
        {{15}, 0x8000, 0x00, 0x80, "1000000000000000"},
        {{9, 12, 14}, 0x5200, 0x00, 0x52, "0101001000000000"}, // BPLCON0: 5 planes, COLOR
        {{7, 8, 9, 15}, 0x8380, 0x80, 0x83, "1000001110000000"},
    };
    for (const Case &c : cases) {
        Bits bits{};
        for (int b : c.set)
            bits[b] = true;
        const std::uint16_t word = wordOf(bits);
        EXPECT_EQ(word, c.word);
        EXPECT_EQ(lowByte(word), c.low);
        EXPECT_EQ(highByte(word), c.high);
        EXPECT_EQ(binary(word), c.binary);
        EXPECT_EQ(bitsOf(word), bits);
    }
}

TEST(RegisterWord, GroupValueFollowsTheGroupPositionsNotTheBitNumbers) {
    // BPLCON0's plane count: BPU0-2 in bits 12-14, BPU3 in bit 4.
    const std::vector<GroupMember> bpu = {{12, 0}, {13, 1}, {14, 2}, {4, 3}};
    EXPECT_EQ(groupValue(0x5200, bpu).value, 5);
    EXPECT_EQ(groupValue(0x5200, bpu).binary, "0101");
    EXPECT_EQ(groupValue(0x0010, bpu).value, 8);
    EXPECT_EQ(groupValue(0x0010, bpu).binary, "1000");
    // A group listed out of order, and one with a gap: the digits stop at the gap.
    EXPECT_EQ(groupValue(0x0003, {{1, 1}, {0, 0}}).binary, "11");
    EXPECT_EQ(groupValue(0x0005, {{0, 0}, {2, 2}}).value, 5);
    EXPECT_EQ(groupValue(0x0005, {{0, 0}, {2, 2}}).binary, "1");
    // Members outside the word or the group's sixteen positions count for nothing.
    EXPECT_EQ(groupValue(0xffff, {{16, 0}, {0, 16}, {-1, 0}}).value, 0);
}

TEST(RegisterWord, GoalTextGivesTheWord) {
    EXPECT_EQ(goalWord("5200"), 0x5200);
    EXPECT_EQ(goalWord("aBcD"), 0xabcd);
    EXPECT_EQ(goalWord("f"), 0x000f);
    EXPECT_EQ(goalWord(""), 0x0000);
    EXPECT_EQ(goalWord("12345"), 0x2345); // the low sixteen bits
    // The prefix is no digit: "0x1234" is $1234, not $0123 shifted by the 0.
    EXPECT_EQ(goalWord("$5200"), 0x5200);
    EXPECT_EQ(goalWord("0x1234"), 0x1234);
    EXPECT_EQ(goalWord("0X00ff"), 0x00ff);
}

TEST(RegisterWord, GoalTextIsCleanedAsTyped) {
    EXPECT_EQ(cleanGoal("$52001"), "$5200");
    EXPECT_EQ(cleanGoal("0x1234f"), "0x1234");
    EXPECT_EQ(cleanGoal("0X"), "0X");
    EXPECT_EQ(cleanGoal("0"), "0");
    EXPECT_EQ(cleanGoal("12$3x4"), "1234");
    EXPECT_EQ(cleanGoal("$$1"), "$1");
    EXPECT_EQ(cleanGoal(" 0x1"), "01");
}
