// The registers that open a bitplane screen: the display window (DIWSTRT, DIWSTOP and on ECS/AGA
// DIWHIGH), the data fetch (DDFSTRT, DDFSTOP), BPLCON0, the modulos and on AGA FMODE, worked
// out from the screen a programmer describes, each with the arithmetic that gave it, and the
// problems the hardware would have with it in words.
//
// Where the rules come from:
//   - window positions are in lores non-interlaced units: DIWSTRT = VSTART << 8 | HSTART,
//     DIWSTOP holds VSTOP and HSTOP in their low eight bits, the hardware supplying HSTART bit 8
//     = 0, HSTOP bit 8 = 1, VSTART bit 8 = 0 and VSTOP bit 8 = NOT bit 7 (Hardware Reference
//     Manual, display window); ECS and AGA take the missing bits from DIWHIGH;
//   - data fetch: the fetch runs in units of colour clocks that start on a grid counted from
//     $18, the earliest fetch (Hardware Reference Manual, DMA time slot allocation), and the
//     unit starting at DDFSTOP (or the first one after it) is the last. In units of the fetch
//     at its normal width (16 pixels per plane a fetch), the fetch of a plane takes 16 / pixels
//     per clock clocks: 8 in lores, 4 in hires, 2 in superhires; the AGA fetch modes (FMODE
//     bits 1-0, AGA documentation) fetch 2 or 4 times as much at once and take 2 or 4 times as
//     long. The grid is that length, at least 4 (DDFSTRT bit 1 is always 0); the unit is that
//     length, at least 8 (a unit of 8 clocks fetches hires and superhires planes 2 and 4
//     times). Lores DDFSTRT $38 shows its first pixel at HSTART $81, hires $3c does: the
//     picture starts 2 x DDFSTRT + 2 x (the fetch length, at most 8) + 1 (Hardware Reference
//     Manual: HSTART / 2 - 8.5 and - 4.5). Measured on an emulator with every fetch mode: a
//     DDFSTRT off the grid acts as the next grid point; a window that starts between two
//     grid points gets its picture there with the BPLCON1 delay (lores pixels, 4 bits on OCS
//     and ECS, 6 on AGA with bits 11-10 and 15-14 above them);
//   - the window: HSTOP $1c7 is the last that closes it (measured; a window that has not
//     closed by the end of the line stays open), and the fetch has to end by DDFSTOP $d8;
//   - BPLCON0: HIRES bit 15, BPU2-0 bits 14-12, COLOR bit 9, SHRES bit 6, BPU3 bit 4 (AGA,
//     8 planes), LACE bit 2;
//   - BPLxMOD: bytes from the start of one displayed line of a plane to the next, less the bytes
//     the fetch reads in a line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace amiga {

enum class Chipset { Ocs, Ecs, Aga };
enum class Resolution { Lores, Hires, SuperHires };

struct DisplayRequest {
    Chipset chipset = Chipset::Ocs;
    bool ntsc = false;
    Resolution resolution = Resolution::Lores;
    bool interlace = false;
    int width = 320;  // pixels of the chosen resolution
    int height = 256; // lines (both fields together when interlaced)
    int depth = 5;
    // In lores non-interlaced units; none: centred in the standard display (moved left or up
    // as far as the line and the frame need).
    std::optional<int> hstart = 0x81;
    std::optional<int> vstart = 0x2c;
    bool interleaved = false; // the planes' lines alternate in memory
    bool scroll = false;      // one more fetch block, for BPLCON1 scrolling
    int fetchMode = 0;        // AGA FMODE bits 1-0
};

// The registers a result concerns (also the order in which the code writes them).
enum class DisplayRegister {
    Diwstrt,
    Diwstop,
    Diwhigh,
    Ddfstrt,
    Ddfstop,
    Bplcon0,
    Bplcon1,
    Bpl1mod,
    Bpl2mod,
    Fmode,
};

// The hardware include name of a register.
const char *displayRegisterName(DisplayRegister reg);

struct DisplayValue {
    DisplayRegister reg;
    std::uint16_t value;
    std::string arithmetic; // how the value came about, in words and numbers
};

struct DisplayWarning {
    DisplayRegister reg; // the result it concerns
    std::string text;
    bool refusal = false; // the hardware cannot show the screen as asked
};

struct DisplaySetup {
    std::vector<DisplayValue> values; // in writing order; DIWHIGH, BPLCON1, FMODE when needed
    std::vector<DisplayWarning> warnings;
    // The numbers behind the values, for a reader who wants them.
    int hstart = 0, vstart = 0, hstop = 0, vstop = 0;
    int fetchedBytesPerPlaneLine = 0;

    const DisplayValue *find(DisplayRegister reg) const;
    // False when a warning says the hardware cannot show the screen as asked.
    bool showable() const;
};

DisplaySetup displaySetup(const DisplayRequest &request);

// The set-up as copper data ("\tdc.w\tDIWSTRT,$2c81") or CPU code ("\tmove.w\t#$2c81,
// DIWSTRT(a6)"), with each warning as a ';' line before the register it concerns.
std::string displaySetupCode(const DisplaySetup &setup, bool cpu);

} // namespace amiga
