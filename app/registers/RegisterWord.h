#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The arithmetic of the Registers tool, apart from its widgets: sixteen bits make a word, its
// bytes and the value of one bit group; a typed hexadecimal goal gives the bits back.
namespace RegisterWord {

using Bits = std::array<bool, 16>; // bit i is bits[i]

std::uint16_t wordOf(const Bits &bits);
Bits bitsOf(std::uint16_t word);

inline std::uint8_t lowByte(std::uint16_t word) {
    return static_cast<std::uint8_t>(word);
}
inline std::uint8_t highByte(std::uint16_t word) {
    return static_cast<std::uint8_t>(word >> 8);
}

// The word as sixteen binary digits, bit 15 first.
std::string binary(std::uint16_t word);

// One member of a bit group: which bit of the word holds which bit of the group.
struct GroupMember {
    int bit = 0;           // 0-15 in the word
    int groupPosition = 0; // 0-15 in the group's value
};

struct GroupValue {
    std::uint16_t value = 0;
    // The group's binary digits, most significant first, over the positions 0, 1, 2, …
    // that the group has without a gap.
    std::string binary;
};

GroupValue groupValue(std::uint16_t word, const std::vector<GroupMember> &members);

// The goal field as the user may type it: "$5200", "0x5200" or "5200". The prefix, when the text
// starts with one, is kept as typed; after it only hexadecimal digits (either case) stay, at most
// four of them. Everything else is dropped.
std::string cleanGoal(std::string_view typed);

// The word a goal text asks for: its hexadecimal digits (either case) after an optional "$" or
// "0x" read as one number, of which the low sixteen bits count; other characters are passed over.
std::uint16_t goalWord(std::string_view text);

} // namespace RegisterWord
