#include "registers/RegisterWord.h"

namespace RegisterWord {

std::uint16_t wordOf(const Bits &bits) {
    std::uint16_t word = 0;
    for (int i = 0; i < 16; ++i)
        word |= static_cast<std::uint16_t>(bits[i] ? 1u << i : 0u);
    return word;
}

Bits bitsOf(std::uint16_t word) {
    Bits bits{};
    for (int i = 0; i < 16; ++i)
        bits[i] = (word >> i & 1u) != 0;
    return bits;
}

std::string binary(std::uint16_t word) {
    std::string text(16, '0');
    for (int i = 0; i < 16; ++i)
        if (word >> i & 1u)
            text[15 - i] = '1';
    return text;
}

GroupValue groupValue(std::uint16_t word, const std::vector<GroupMember> &members) {
    GroupValue result;
    std::array<char, 16> cells{};
    for (const GroupMember &member : members) {
        if (member.bit < 0 || member.bit > 15 || member.groupPosition < 0 ||
            member.groupPosition > 15)
            continue;
        const bool set = (word >> member.bit & 1u) != 0;
        result.value |= static_cast<std::uint16_t>(set ? 1u << member.groupPosition : 0u);
        cells[member.groupPosition] = set ? '1' : '0';
    }
    for (char cell : cells) {
        if (cell == 0)
            break;
        result.binary.insert(result.binary.begin(), cell);
    }
    return result;
}

namespace {

// The length of a "$" or "0x" prefix at the start of a goal text.
std::size_t goalPrefix(std::string_view text) {
    if (!text.empty() && text[0] == '$')
        return 1;
    if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        return 2;
    return 0;
}

bool isHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

} // namespace

std::string cleanGoal(std::string_view typed) {
    const std::size_t prefix = goalPrefix(typed);
    std::string clean(typed.substr(0, prefix));
    int digits = 0;
    for (char c : typed.substr(prefix)) {
        if (isHexDigit(c) && digits < 4) {
            clean += c;
            ++digits;
        }
    }
    return clean;
}

std::uint16_t goalWord(std::string_view text) {
    std::uint16_t word = 0;
    for (char c : text.substr(goalPrefix(text))) {
        int digit = -1;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        if (digit >= 0)
            word = static_cast<std::uint16_t>(word << 4 | digit);
    }
    return word;
}

} // namespace RegisterWord
