// Colours as the Amiga's colour registers hold them.
//
// OCS and ECS colour registers are 12-bit: $0RGB, one nibble per gun. AGA colour registers are
// 24-bit and are written in two 12-bit halves through the same addresses: BPLCON3 selects the
// bank of 32 registers (BANK2-0, bits 15-13) and whether a write sets the high nibbles (LOCT,
// bit 9, clear) or the low nibbles (LOCT set) of each gun. A write with LOCT clear also copies
// the high nibbles into the low ones, so the high half always goes first.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace amiga {

// One colour at 8 bits per gun.
struct Rgb8 {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const Rgb8 &, const Rgb8 &) = default;
};

// The 4-bit value a 12-bit colour register gets for an 8-bit gun: its high nibble. This matches
// the AGA high half of the same colour and pictures that store a nibble n either as n << 4 or as
// n x 17.
constexpr int nibbleOf(int eightBit) {
    return (eightBit >> 4) & 0xf;
}

// The 8-bit gun that a 4-bit value shows as: n x 17, so that $f is full intensity.
constexpr int eightBitOf(int nibble) {
    return (nibble & 0xf) * 17;
}

// $0RGB from the high nibbles: the OCS/ECS word, and the word of an AGA high-half write.
constexpr std::uint16_t highWord(Rgb8 colour) {
    return static_cast<std::uint16_t>(nibbleOf(colour.red) << 8 | nibbleOf(colour.green) << 4 |
                                      nibbleOf(colour.blue));
}

// $0rgb from the low nibbles: the word of an AGA low-half write (LOCT set).
constexpr std::uint16_t lowWord(Rgb8 colour) {
    return static_cast<std::uint16_t>((colour.red & 0xf) << 8 | (colour.green & 0xf) << 4 |
                                      (colour.blue & 0xf));
}

// The colour a 12-bit word shows.
constexpr Rgb8 fromTwelveBit(std::uint16_t word) {
    return {static_cast<std::uint8_t>(eightBitOf(word >> 8)),
            static_cast<std::uint8_t>(eightBitOf(word >> 4)),
            static_cast<std::uint8_t>(eightBitOf(word))};
}

// The colour an AGA register holds after a high-half write of high and a low-half write of low.
constexpr Rgb8 fromHalves(std::uint16_t high, std::uint16_t low) {
    return {static_cast<std::uint8_t>((high >> 4 & 0xf0) | (low >> 8 & 0xf)),
            static_cast<std::uint8_t>((high & 0xf0) | (low >> 4 & 0xf)),
            static_cast<std::uint8_t>((high << 4 & 0xf0) | (low & 0xf))};
}

// A colour typed as "#rrggbb" or "rrggbb": exactly six hexadecimal digits, in either case;
// nothing for anything else.
std::optional<Rgb8> rgbFromText(std::string_view text);

// The colour rounded to what a 12-bit register shows.
constexpr Rgb8 toTwelveBit(Rgb8 colour) {
    return fromTwelveBit(highWord(colour));
}

// BPLCON3 bits that the colour code sets: BANK2-0 (bits 15-13) and LOCT (bit 9). The others
// (PF2OF2-0, sprite resolution, border bits) belong to the display; the colour code keeps them
// as a base value says, by default as the machine resets them ($0c00: PF2OF = 3, playfield 2's
// colours from COLOR08).
constexpr std::uint16_t kBplcon3Loct = 1u << 9;
constexpr std::uint16_t kBplcon3Bank = 0xe000;
constexpr std::uint16_t kBplcon3Reset = 0x0c00;
constexpr int kBankShift = 13;
constexpr int kRegistersPerBank = 32;
constexpr int kAgaColourRegisters = 256;
constexpr int kOcsColourRegisters = 32;

// The BPLCON3 value that selects bank (0-7) and the high (low = false) or low half, with every
// other bit as base has it.
constexpr std::uint16_t bplcon3For(int bank, bool low, std::uint16_t base) {
    return static_cast<std::uint16_t>((base & ~(kBplcon3Bank | kBplcon3Loct)) |
                                      (bank & 7) << kBankShift | (low ? kBplcon3Loct : 0));
}

} // namespace amiga
