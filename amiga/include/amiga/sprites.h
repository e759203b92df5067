// Hardware sprites from chunky pixels: the data the sprite DMA reads, as bytes to incbin or as
// data lines to paste.
//
// A sprite line is two words at 16 pixels (DATA: bit 0 of each pixel's colour, then DATB: bit
// 1), two longs at 32 pixels and two double-longs at 64 pixels (AGA, FMODE SPR32/SPAGEM), the
// leftmost pixel in the most significant bit. Colour 0 is transparent. An attached pair shows
// 15 colours: the even sprite holds colour bits 0-1, the odd sprite bits 2-3 and the attach bit.
// A picture wider than one sprite becomes a strip of sprites (or of attached pairs) side by side.
// Or the picture is a sheet of frames for one sprite (or one pair): each frame one sprite wide,
// the frames read left to right, then down, each frame a sprite of its own, one after another.
//
// With control words, a sprite is its control words (SPRxPOS, SPRxCTL: two words at 16 pixels,
// POS,0,CTL,0 at 32 and POS,0,0,0,CTL,0,0,0 at 64), its lines, then an end marker of zeros the
// size of the control words; without them, its lines alone.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace amiga {

struct SpritePosition {
    // HSTART in quarter lores pixels (35 ns steps: the lores pixel x 4), VSTART in lines.
    unsigned hstartQuarters = 0;
    unsigned vstart = 0;
};

struct SpriteOptions {
    unsigned width = 16;   // 16, 32 or 64 pixels
    bool attached = false; // pairs of sprites for 15 colours
    bool controlWords = false;
    // Control words from a position, else zero (but for the attach bit of an attached pair's
    // odd sprite, which the pair needs wherever the program puts it).
    std::optional<SpritePosition> position;
    // AGA: SV9/EV9 and the 35/70 ns bits; else OCS/ECS. Sprites 32 and 64 pixels wide exist
    // on AGA alone and follow its rules whatever this says.
    bool aga = false;
    // A sheet of frames: frames one sprite (or attached pair) wide and frameHeight lines tall (0:
    // the picture's height), instead of a strip. Every frame has the same position.
    bool frames = false;
    unsigned frameHeight = 0;
};

// The whole frames of a sheet (SpriteOptions::frames) and the pixels past them on the right and
// at the bottom, which no frame uses.
struct SpriteFrames {
    unsigned width = 0, height = 0; // of a frame
    unsigned columns = 0, rows = 0; // whole frames across and down
    unsigned rightOver = 0, bottomOver = 0;
    unsigned count() const { return columns * rows; }
};
SpriteFrames spriteFrames(unsigned width, unsigned height, const SpriteOptions &options);

// The sprites side by side that a picture width x height needs as a strip, counting both of each
// attached pair (at most 8 fit); 1 or 2 for a sheet of frames.
unsigned spritesSideBySide(unsigned width, const SpriteOptions &options);

struct SpriteControl {
    std::uint16_t pos = 0;
    std::uint16_t ctl = 0;
};

// SPRxPOS and SPRxCTL for a sprite from vstart to vstop (the first line after it) at
// hstartQuarters (see SpritePosition). POS: VSTART bits 7-0 in 15-8, HSTART bits 8-1 (lores
// pixels) in 7-0. CTL: VSTOP bits 7-0 in 15-8, the attach bit 7, VSTART bit 8 in bit 2, VSTOP
// bit 8 in bit 1, HSTART bit 0 in bit 0; on AGA also SV9 (bit 6), EV9 (bit 5), and the 70 ns
// (bit 4) and 35 ns (bit 3) steps of HSTART. The caller checks the ranges (spriteProblem).
SpriteControl spriteControl(unsigned hstartQuarters, unsigned vstart, unsigned vstop, bool attach,
                            bool aga);

// HSTART as a programmer writes it: lores pixels in hexadecimal (with or without "$" or "0x"),
// at most $1ff, and on AGA a hexadecimal fraction of a quarter, a half or three quarters of a
// pixel (".4", ".8", ".c": "c0.8" is 192.5). Read into quarter lores pixels, or the reason not.
struct HorizontalStart {
    enum class Problem {
        None,
        NotLoresPixels,   // the whole part is not a hexadecimal number from 0 to 1ff
        BadFraction,      // a fraction other than .4, .8 or .c
        FractionNeedsAga, // a fraction off AGA: OCS/ECS place sprites on whole lores pixels
    };
    unsigned quarters = 0;
    Problem problem = Problem::None;
};
HorizontalStart readHorizontalStart(std::string_view text, bool aga);

// Why a picture cannot become sprites with these options, in a sentence; nothing when it can.
// Checks the width option, an empty picture, the colours (0-3, or 0-15 attached), that the strip
// needs at most the machine's 8 sprites, and with a position the range of VSTART/VSTOP (9 bits
// OCS/ECS, 10 bits AGA; VSTOP = VSTART + height), HSTART of every sprite of the strip (9 bits of
// lores pixels) and, off AGA, that HSTART is a whole lores pixel. A sheet of frames: that it holds
// a whole frame, the colours of its whole frames alone, and VSTOP = VSTART + the frame's height.
// The sentences name no option of a program ("attached sprites", not a switch), so that every
// program can show them.
std::optional<std::string> spriteProblem(const std::uint8_t *pixels, unsigned width,
                                         unsigned height, const SpriteOptions &options);

// One sprite's data as words, in the order the DMA reads them.
struct SpriteData {
    unsigned index = 0; // 0, 1, 2 ... in the strip: pairs are (2k, 2k + 1) when attached
    bool attachedOdd = false;
    unsigned frame = 0; // of a sheet of frames; index is 0, or 0 and 1 for a pair
    std::vector<std::uint16_t> words;
};

// The sprites of a picture (width x height colour numbers; transparent pixels already colour 0),
// left to right; an attached pair as the even sprite then the odd one. Sprite k of a strip (pair
// k when attached) starts k x options.width lores pixels right of the position; a picture whose
// width is not a whole number of sprites is padded on the right with colour 0. Empty when
// spriteProblem has something to say. A sheet of frames: the frames in reading order, a pair as
// its even sprite then its odd one, each at the position.
std::vector<SpriteData> spriteData(const std::uint8_t *pixels, unsigned width, unsigned height,
                                   const SpriteOptions &options);

// The sprites as big-endian bytes, one after another.
std::vector<std::uint8_t> spriteBytes(const std::vector<SpriteData> &sprites);

// The sprites as data lines: for each sprite a comment line naming it, its control words as
// "\tdc.w\t" (all of them on one line), each image line as "\tdc.w\t$data,$datb" (16 pixels) or
// "\tdc.l\t" longs (32 and 64 pixels: DATA's longs then DATB's), and the end marker as the
// control words are; a blank line between sprites. Sprites wider than 16 pixels start with a
// comment line on FMODE and the alignment their data needs. Frames: first a comment line with
// their number, size and bytes each, then each frame's sprites named by the frame ("frame 3 of
// 20"). Empty for no sprites.
std::string spriteText(const std::vector<SpriteData> &sprites, const SpriteOptions &options);

} // namespace amiga
