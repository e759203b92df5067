// Blitter set-up in area mode: BLTCON0, BLTCON1 and BLTSIZE from what a blit should do.
//
// The blitter computes D from its sources A, B and C through a logic function of eight minterms:
// bit i of the function byte LF (BLTCON0 bits 7-0) is the value of D where A, B and C are the
// bits of i (i = 4A + 2B + C). So A is $f0, B is $cc and C is $aa, and a function written over
// them is the same function of those bytes: "A or B" is $fc, a cookie-cut AB+!AC (the mask A
// lets the bob B through and keeps the background C elsewhere) is $ca.
//
//   BLTCON0 = ASH << 12 | USEA << 11 | USEB << 10 | USEC << 9 | USED << 8 | LF
//   BLTCON1 = BSH << 12 | EFE << 4 | IFE << 3 | FCI << 2 | DESC << 1 | LINE
//   BLTSIZE = height << 6 | width, a width of 64 words and a height of 1024 lines written as 0;
//             writing it starts the blit.
//
// Line mode is left out. Larger blits (up to 32767 lines of 2047 words) need the ECS and AGA
// registers BLTSIZV and BLTSIZH, written in that order.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace amiga::blitter {

// The function byte of each source on its own.
constexpr std::uint8_t kA = 0xf0;
constexpr std::uint8_t kB = 0xcc;
constexpr std::uint8_t kC = 0xaa;

// The function byte of an expression over A, B and C (either case): not is a prefix ! or ~ or a
// postfix ', and is & or * or two terms side by side, or is + or |, exclusive or is ^; 0 and 1
// are constants; parentheses group; blanks are passed over. Not binds tightest, then and, then
// exclusive or, then or. On a fault, nullopt and *error says what and where.
std::optional<std::uint8_t> parseFunction(std::string_view expression,
                                          std::string *error = nullptr);

struct Channels {
    bool a = false, b = false, c = false, d = false;
    friend bool operator==(const Channels &, const Channels &) = default;
};

// The sources a function byte depends on, and D.
Channels channelsFor(std::uint8_t minterms);
// Channels as letters "ABCD" (any order, either case, each at most once); nullopt otherwise.
std::optional<Channels> parseChannels(std::string_view letters);
// "ABCD", "AD", …: the channels on, in order.
std::string channelLetters(const Channels &channels);

enum class Fill { None, Inclusive, Exclusive };

struct Blit {
    std::uint8_t minterms = 0;
    std::string function; // the expression the minterms came from, for the comment; may be empty
    Channels channels;
    int aShift = 0; // 0-15 pixels to the right
    int bShift = 0;
    // Descending: addresses count down, for a copy onto an overlapping area below its source.
    // Area fill works only descending, so fill sets it whatever this says.
    bool descending = false;
    Fill fill = Fill::None;
    bool fillCarryIn = false; // FCI: the fill state at the right edge of each line
    // The size in words and lines; 0 and 0 when no size is to be written.
    int widthWords = 0;
    int heightLines = 0;
};

std::uint16_t bltcon0(const Blit &blit);
std::uint16_t bltcon1(const Blit &blit);

enum class SizeFit {
    None,     // no size asked for (both 0)
    Standard, // 1-64 words, 1-1024 lines: BLTSIZE
    Big,      // up to 2047 words and 32767 lines: BLTSIZV and BLTSIZH (ECS and AGA)
    Invalid,  // a size of 0 on one side only, negative, or beyond the big registers
};
SizeFit sizeFit(int widthWords, int heightLines);
// BLTSIZE for a standard size.
std::uint16_t bltsize(int widthWords, int heightLines);

// The set-up as assembler text through the one writer: processor moves through a6 or, with
// copper, copper MOVEs as data; BLTCON0, BLTCON1, then the size that starts the blit. Each line
// has a comment that spells out its fields. A size that fits no register is left out and a
// comment line says why.
std::string blitterCode(const Blit &blit, bool copper);

struct Preset {
    const char *name;     // "Cookie-cut"
    const char *function; // "AB+!AC"
    const char *channels; // "ABCD"
    Fill fill;
    const char *summary; // one line for the tooltip and the help
};
// Copy A to D, clear D, cookie-cut and area fill.
const std::vector<Preset> &presets();

} // namespace amiga::blitter
