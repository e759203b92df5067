// The display chips over one frame: chip memory, the copper and what the beam shows, pixel by
// pixel, with the story of any pixel (what made it).
//
// The frame starts from what typical start-up code leaves: DMACON DMAEN|BPLEN|COPEN (SPREN on
// request), BPLCON0 $0200, BPLCON1 0, BPLCON2 0, BPLCON3 $0c00, BPLCON4 $0011, FMODE 0,
// modulos 0, every colour 0, sprites disarmed. The copper starts at COP1LC at the top of every
// frame (line 0, colour clock 0).
//
// The copper (Hardware Reference Manual, "Copper"): a word every 2 colour clocks, a MOVE or SKIP
// takes 4, a WAIT 4, compares from the cycle after and takes 2 more to wake once its position
// came (a position already passed costs 4: measured on an emulator); COPJMP1/2 restart it at
// COP1LC/COP2LC; a MOVE below $040, or below $080 (COPCON's danger bit is never set here), stops
// it. DMA of other channels never delays it. A colour written at colour clock c shows from lores
// pixel 2c - 8 (measured on an emulator: WAIT h, MOVE COLOR00 shows from 2h + 4).
//
// Positions: lores pixels H (the display window's unit, 2 a colour clock) and lines V. The frame
// is drawn from H 0 to kFrameEnd ($1d4) and lines 0 to the frame's last; the emulator's buffer
// shows H $5c-$1d3, lines $1a-$137 (PAL) and $15-$105 (NTSC).
//
// Bitplanes: the fetch runs in units from the first point of a grid counted from $18 at or after
// DDFSTRT (the grid and the unit as in displaysetup.h: 16 pixels x the fetch mode's factor /
// pixels a clock, grid at least 4, unit at least 8) up to the unit that starts at DDFSTOP or the
// first after it ($d8 the latest); each plane reads its words from BPLxPT, and after the last
// unit the modulos are added (BPL1MOD odd planes, BPL2MOD even). A unit's pixels show from
// 2 x start + 2 x min(fetch length, 8) + 1, later by BPLCON1's delay (lores pixels; on AGA bits
// 11-10/15-14 above them as far as the fetch is wide, and quarter pixels in bits 9-8 for both
// playfields, which do not show on the hires grid: measured on an emulator). Bitplane DMA runs
// on lines inside the vertical window only, which opens from the line after the vertical blank
// ($1a PAL, $15 NTSC).
//
// The window: DIWSTRT/DIWSTOP (OCS: HSTART bit 8 0, HSTOP bit 8 1, VSTART bit 8 0, VSTOP bit 8
// NOT bit 7), DIWHIGH on ECS/AGA once written (a later DIWSTRT or DIWSTOP write goes back to the
// OCS bits). The horizontal window opens and closes where the beam meets HSTART/HSTOP, which it
// does up to H $1c7 only: a later HSTOP never closes it. Outside it: COLOR00 (black with ECS/AGA
// BRDRBLNK).
//
// Colours: single playfield: the plane bits (EHB with 6 planes unless AGA's KILLEHB; HAM6, HAM8
// with 8 planes on AGA: modify sets a gun's top 4 or 6 bits); dual playfield: odd planes
// playfield 1 (colours 0-7/0-15), even planes playfield 2 (8 on, AGA from PF2OF), PF2PRI puts
// playfield 2 in front; AGA BPLAM is XORed into the plane bits. Sprites: pixel p of a line at
// H HSTART + 1 + p, lines VSTART to VSTOP - 1, only inside the window; pair k uses COLOR
// 16 + 4k + value (AGA: BPLCON4's ESPRM/OSPRM banks), an attached pair COLOR 16 + its 4 bits;
// the lower sprite is in front; BPLCON2's code c (PF2P in a single playfield, each playfield its
// own in dual) puts pairs 0 to c - 1 in front of the playfield. Sprite DMA reads the control
// words on line $19 and at VSTOP; a fetch that starts in a sprite's DMA slots takes them (on OCS
// sprites from (start - $18) / 4 on, on ECS/AGA from (start - $14) / 4 on) and that sprite
// shows nothing on the line; on a line whose bitplane DMA DMACON turned off no sprite shows.
// AGA FMODE bits 3-2 make sprites 32 or 64 pixels wide (control words a fetch apart).
//
// Not modelled: the blitter, the CPU, collisions, audio and disk DMA (their registers are
// written and ignored), the copper's cycles taken by bitplane DMA, genlock, scan doubling and
// AGA's superhires sprite positions (SH10/SH1).
#pragma once

#include "amiga/colourwords.h"
#include "amiga/displaysetup.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace amiga {

// Chip memory: bytes at addresses from 0. Reads past its end give 0.
struct ChipMemory {
    std::vector<std::uint8_t> bytes;
    std::uint16_t word(std::uint32_t address) const {
        address &= ~1u;
        if (address + 1 >= bytes.size())
            return 0;
        return static_cast<std::uint16_t>(bytes[address] << 8 | bytes[address + 1]);
    }
};

// The chip memory a chipset has: 512 KiB OCS/ECS, 2 MiB AGA.
constexpr std::uint32_t defaultChipSize(Chipset chipset) {
    return chipset == Chipset::Aga ? 2u << 20 : 512u << 10;
}

// A piece of data to be put into chip memory at an address.
struct ChipPlacement {
    std::uint32_t address = 0;
    std::vector<std::uint8_t> data;
    std::string name; // for messages
};

// Chip memory of size bytes holding the pieces; false, with a message, when one reaches past the
// end or two overlap.
bool placeInChip(std::span<const ChipPlacement> pieces, std::uint32_t size, ChipMemory *memory,
                 std::string *message);

constexpr int kFrameEnd = 0x1d4;       // the frame is drawn from lores pixel 0 up to here
constexpr int kPalLines = 312;         // a short PAL frame; the long frame has one line more
constexpr int kNtscLines = 262;        // a short NTSC frame
constexpr int kLastWindowH = 0x1c7;    // the last position where HSTART/HSTOP take effect
constexpr int kFirstSpriteLine = 0x19; // the line that sprite DMA reads control words on
constexpr int kFirstPalLine = 0x1a;    // the first line after the vertical blank (PAL)
constexpr int kFirstNtscLine = 0x15;   // (NTSC)

struct FrameSetup {
    Chipset chipset = Chipset::Ocs;
    bool ntsc = false;
    bool spriteDma = false;          // DMACON SPREN at the start
    bool longFrame = false;          // an interlaced long frame: one line more
    bool superhiresColumns = false;  // one column per superhires pixel rather than per hires one
    std::uint32_t copperAddress = 0; // COP1LC
    std::uint32_t listWords = 0;     // the words of the list there (for instruction numbers)
};

// One copper write as the model made it.
struct CopperEvent {
    long clock = 0; // colour clocks from the top of the frame
    std::uint16_t offset = 0;
    std::uint16_t value = 0;
    std::uint32_t address = 0; // of the instruction
};

// Why the copper stopped.
enum class CopperEnd {
    Waiting,     // at a WAIT whose position the frame did not reach (as the end of a list)
    FrameEnd,    // still running at the frame's end: the rest is cut
    IllegalMove, // a MOVE below $080: the copper stops there
    DmaOff,      // DMACON took COPEN or DMAEN away
};

struct CopperTrace {
    std::vector<CopperEvent> events;
    CopperEnd end = CopperEnd::Waiting;
    std::uint32_t endAddress = 0;
    long instructions = 0;
    bool blitterWrites = false; // MOVEs to the blitter's registers (not modelled)
    bool cpuWrites = false;     // MOVEs to INTENA, INTREQ (the CPU's interrupts, not modelled)
};

// Runs the copper from setup.copperAddress over a frame.
CopperTrace runCopper(const ChipMemory &memory, const FrameSetup &setup);

enum class PixelSource : std::uint8_t { Border, Background, Playfield1, Playfield2, Sprite };

// What made one pixel.
struct PixelStory {
    int h = 0, v = 0; // lores pixel and line
    int column = 0;   // within the line: hires (or superhires) column
    PixelSource source = PixelSource::Border;
    int sprite = -1;         // 0-7 for a sprite pixel
    int planeBits = 0;       // the bitplanes' value (a sprite's colour number for a sprite)
    int planes = 0;          // how many planes were fetched
    bool ham = false;        // a hold-and-modify pixel: register is the last one set
    int colourRegister = -1; // -1: a HAM modify (the colour held, modified)
    bool halfBrite = false;
    Rgb8 registerValue;
    Rgb8 shown;
    long writeClock = -1; // the copper write that last set the register; -1 none
    std::uint32_t writeAddress = 0;
    std::uint16_t writeValue = 0;
    std::uint16_t writeOffset = 0;
};

// Where a line's display window and its fetched picture are, in lores pixels (from, to
// excluded); -1 for none.
struct LineOutline {
    int windowFrom = -1, windowTo = -1;
    int fetchFrom = -1, fetchTo = -1;
};

struct Frame {
    int columns = 0; // per line: 2 per lores pixel (4 with superhires columns)
    int lines = 0;
    std::vector<std::uint32_t> pixels; // 0xRRGGBB, line after line
    std::vector<LineOutline> outlines; // a line each
    std::uint32_t at(int column, int line) const {
        return pixels[static_cast<std::size_t>(line) * columns + column];
    }
};

// Draws the frame; with story, also what made the pixel at (story->h, story->v) (first column of
// that lores pixel, or story->column when it is not -1).
Frame renderFrame(const ChipMemory &memory, const FrameSetup &setup, const CopperTrace &copper,
                  PixelStory *story = nullptr);

// A pixel's story in words, a line each, for the command line and the window.
std::string pixelStoryText(const PixelStory &story, const FrameSetup &setup);

// One line of English on how the copper ended, empty when it waits as lists end.
std::string copperEndText(const CopperTrace &trace, const FrameSetup &setup);

// A whole job as the command line and the window give it: the list (and for an interlaced
// picture the short frame's list), the chip data and where everything goes.
struct FrameRequest {
    FrameSetup setup; // copperAddress: where the list goes
    std::vector<std::uint16_t> list;
    std::vector<std::uint16_t> shortList; // the short frame's list, right after the first one
    bool hasShortList = false;
    std::vector<ChipPlacement> chip;
    std::uint32_t chipSize = 0; // 0: the chipset's
};

// Lores pixels h0 to h1 and lines v0 to v1, the last two excluded.
struct FrameRegion {
    int h0 = 0x5c, v0 = 0x1a, h1 = kFrameEnd, v1 = kPalLines;
};
// What the emulator's buffer shows of a frame: H $5c-$1d3 and lines $1a-$137 (PAL) or $15-$105.
FrameRegion visibleRegion(bool ntsc);

struct FramePicture {
    int columns = 0, rows = 0;
    bool interlaced = false;           // two rows a line, the long frame's first
    std::vector<std::uint32_t> pixels; // 0xRRGGBB
    std::vector<LineOutline> outlines; // a row each, in lores pixels of the frame
    std::vector<std::string> notes;    // what the model cut or leaves out, a sentence each
};

// The region of the frame; false with a message for chip data that does not fit or overlaps,
// or a region outside the frame. Interlaced (two frames, long then short) when there is a short
// list or the list sets BPLCON0's LACE.
bool drawFrame(const FrameRequest &request, const FrameRegion &region, FramePicture *picture,
               std::string *message);

// The story of the pixel at lores h, line v (of the long frame when interlaced), as text.
// With story, also the story itself (the instruction that set the colour: its address).
bool explainPixel(const FrameRequest &request, int h, int v, std::string *text,
                  std::string *message, PixelStory *story = nullptr);

} // namespace amiga
