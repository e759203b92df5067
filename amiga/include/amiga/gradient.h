// Copper gradients: key colours at display lines, blended line by line, and written as the
// shortest copper list that shows them on one colour register.
//
// Every line's colour is blended from the keys around it (in RGB or in OKLab), rounded to 8 bits
// per gun, and then written as the chipset takes it: on AGA as it is (both 12-bit halves through
// BPLCON3), on OCS/ECS as the 12-bit word of its high nibbles, or, with dithering, as a 12-bit
// colour chosen so that the colours shown follow the 8-bit ones on average.
#pragma once

#include "amiga/colourwords.h"

#include <cstdint>
#include <string>
#include <vector>

namespace amiga {

enum class GradientBlend { Rgb, Oklab };
enum class GradientDither { None, Ordered, Diffuse };

struct GradientKey {
    int line = 0; // from the gradient's first line, 0 for the first
    Rgb8 colour;
    friend bool operator==(const GradientKey &, const GradientKey &) = default;
};

struct GradientRequest {
    int firstLine = 0x2c; // the display line of the gradient's line 0 (0 to $137)
    int lines = 200;      // how many lines
    // In any order; lines before the first key have its colour, lines after the last key the
    // last one's; of keys on the same line the last given counts. No keys: no gradient.
    std::vector<GradientKey> keys;
    bool aga = false;
    int colourRegister = 0; // 0-31, or 0-255 on AGA (bank x 32 + register)
    GradientBlend blend = GradientBlend::Rgb;
    GradientDither dither = GradientDither::None; // OCS/ECS only: AGA shows every 8-bit colour
    int horizontal = 0x07; // the WAITs' horizontal position (bit 0 is always set)
    // AGA: the BPLCON3 value the display keeps; the colour writes set the bank and LOCT in it.
    std::uint16_t bplcon3 = kBplcon3Reset;
    int frameLines = 312; // the frame's length: 312 on PAL, 262 on NTSC (CopperFrame)
};

// One line of a gradient.
struct GradientLine {
    Rgb8 colour;            // the blend, rounded to 8 bits per gun
    Rgb8 shown;             // what the register shows: the colour on AGA, the 12-bit one on OCS
    std::uint16_t high = 0; // the 12-bit word: OCS/ECS, or the AGA high half
    std::uint16_t low = 0;  // the AGA low half; 0 on OCS/ECS
    friend bool operator==(const GradientLine &, const GradientLine &) = default;
};

// Every line of the gradient, request.lines of them (none without keys).
std::vector<GradientLine> gradientLines(const GradientRequest &request);

// The copper list and what it holds, for a status line: nothing there needs to be read back out
// of the text.
struct GradientCopperList {
    std::string text;
    std::size_t instructions = 0; // the copper instructions written (4 bytes each)
    // Lines past the end of the frame, left out: the first and the last; -1 for none.
    long firstLeftOut = -1;
    long lastLeftOut = -1;
    std::size_t bytes() const { return instructions * 4; }
};

// The copper list: for each line whose written word(s) differ from the line before (and for the
// first line) a WAIT and the MOVEs that set the register; on AGA BPLCON3's base value at the
// end. Lines past the end of the frame (request.frameLines) are left out, with a ';' line. The last
// line is a ';' line with the count of instructions and bytes. Empty without keys.
GradientCopperList gradientCopperList(const GradientRequest &request);
// Its text alone.
std::string gradientCopperCode(const GradientRequest &request);

// The gradient as a table for a program that writes the colours from the CPU: after a ';' line
// that says what it holds, one dc.w a line: the 12-bit word, or on AGA the high and low halves.
// Empty without keys.
std::string gradientTableCode(const GradientRequest &request);

// OKLab, the perceptual colour space, from its published formulas: sRGB gun values are made
// linear with the sRGB transfer function, taken to cone responses by the matrix M1, cube-rooted,
// and taken to L, a, b by the matrix M2; back the other way with the inverses.
struct Oklab {
    double L = 0, a = 0, b = 0;
};
// An sRGB colour with guns from 0 to 255, not rounded.
struct RgbExact {
    double red = 0, green = 0, blue = 0;
};
Oklab toOklab(Rgb8 colour);
// The sRGB colour of an OKLab one, each gun clipped to 0-255.
RgbExact fromOklab(const Oklab &lab);

} // namespace amiga
