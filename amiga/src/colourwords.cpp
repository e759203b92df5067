#include "amiga/colourwords.h"

namespace amiga {

// The rules are constexpr and live in the header; these checks keep them honest at build time.
static_assert(nibbleOf(0xb9) == 0xb);
static_assert(nibbleOf(0xf0) == 0xf && nibbleOf(0xff) == 0xf);
static_assert(eightBitOf(0xf) == 0xff);
static_assert(highWord({0x12, 0x34, 0x56}) == 0x0135);
static_assert(lowWord({0x12, 0x34, 0x56}) == 0x0246);
static_assert(fromHalves(0x0135, 0x0246) == Rgb8{0x12, 0x34, 0x56});
static_assert(bplcon3For(7, true, kBplcon3Reset) == 0xee00);
static_assert(bplcon3For(0, false, 0xffff) == 0x1dff);

std::optional<Rgb8> rgbFromText(std::string_view text) {
    if (!text.empty() && text[0] == '#')
        text.remove_prefix(1);
    if (text.size() != 6)
        return std::nullopt;
    std::uint32_t value = 0;
    for (char c : text) {
        const int digit = c >= '0' && c <= '9'   ? c - '0'
                          : c >= 'a' && c <= 'f' ? c - 'a' + 10
                          : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                 : -1;
        if (digit < 0)
            return std::nullopt;
        value = value << 4 | static_cast<std::uint32_t>(digit);
    }
    return Rgb8{static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 8),
                static_cast<std::uint8_t>(value)};
}

} // namespace amiga
