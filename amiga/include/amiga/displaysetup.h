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
//   - data fetch, Hardware Reference Manual: lores DDFSTRT = HSTART / 2 - 8.5 rounded down to a
//     multiple of 8, DDFSTOP = DDFSTRT + 8 x (words - 1); hires HSTART / 2 - 4.5 to a multiple
//     of 4, DDFSTOP = DDFSTRT + 4 x (words - 2). Both say the same thing: the fetch runs in
//     blocks of 8 colour clocks (1 word per plane in lores, 2 in hires) and DDFSTOP is where
//     the last block starts. Superhires (ECS/AGA) fetches 4 words per plane in such a block,
//     and the AGA fetch modes (FMODE bits 1-0: 2 or 4 times the bytes per fetch, AGA
//     documentation) make the block 2 or 4 times as long; the same rule then gives DDFSTOP =
//     DDFSTRT + (colour clocks of the line) - (length of a block);
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
    // In lores non-interlaced units; none: centred in the standard display.
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
};

struct DisplaySetup {
    std::vector<DisplayValue> values; // in writing order; DIWHIGH and FMODE only when needed
    std::vector<DisplayWarning> warnings;
    // The numbers behind the values, for a reader who wants them.
    int hstart = 0, vstart = 0, hstop = 0, vstop = 0;
    int fetchedBytesPerPlaneLine = 0;

    const DisplayValue *find(DisplayRegister reg) const;
};

DisplaySetup displaySetup(const DisplayRequest &request);

// The set-up as copper data ("\tdc.w\tDIWSTRT,$2c81") or CPU code ("\tmove.w\t#$2c81,
// DIWSTRT(a6)"), with each warning as a ';' line before the register it concerns.
std::string displaySetupCode(const DisplaySetup &setup, bool cpu);

} // namespace amiga
