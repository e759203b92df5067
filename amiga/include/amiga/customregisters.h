// The custom-chip registers by their offset from the chip base $dff000, named as the hardware
// include files name them (OCS, ECS and AGA), and which of them the copper may write.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace amiga {

// The custom chips' base address; a register's address is the base plus its offset.
constexpr std::uint32_t kCustomBase = 0xdff000;
// The highest register offset: registers are words at even offsets $000-$1fe.
constexpr std::uint16_t kLastRegisterOffset = 0x1fe;

// Offsets that the copper code and the frame model use by value.
constexpr std::uint16_t kCopcon = 0x02e;
constexpr std::uint16_t kBplcon3 = 0x106;
constexpr std::uint16_t kColour00 = 0x180;
constexpr std::uint16_t kColour31 = 0x1be;
constexpr std::uint16_t kNoop = 0x1fe;

constexpr bool isColourRegister(std::uint16_t offset) {
    return offset >= kColour00 && offset <= kColour31 && offset % 2 == 0;
}

// The register's name ("COLOR00" for $180); empty for an odd offset, an offset past $1fe and
// the offsets that hold no register.
std::string_view registerName(std::uint16_t offset);

// The offset a text names: a register name in any case ("color00", " BPLCON0 "), or a
// hexadecimal offset or address in any of the forms "$180", "180", "0x180", "$dff180",
// "dff180". Blanks around the text are ignored. Nothing for anything else, for odd offsets and
// for addresses outside $dff000-$dff1fe.
std::optional<std::uint16_t> registerOffset(std::string_view text);

// How the copper may write a register (Hardware Reference Manual, "Copper control register":
// registers $000-$03e never, $040-$07e only while COPCON's danger bit CDANG is set, $080 up
// always). The rule is applied to every chipset: it is the manual's rule for the original chips
// and the strictest one, so no copper list that it passes fails on a later chip.
enum class CopperAccess { Always, WithDangerBit, Never };
constexpr CopperAccess copperAccess(std::uint16_t offset) {
    if (offset < 0x040)
        return CopperAccess::Never;
    if (offset < 0x080)
        return CopperAccess::WithDangerBit;
    return CopperAccess::Always;
}

} // namespace amiga
