// Display set-up. Every expected value is worked out by hand in the comments. Window positions
// are lores non-interlaced units (Hardware Reference Manual, display window). The fetch: a fetch
// of every plane takes L = 16 x (fetch mode factor 1, 2, 4) / (pixels a clock: 2 lores, 4 hires,
// 8 superhires) clocks; DDFSTRT steps by max(4, L) from $18 (DDFSTRT bit 1 is always 0, HRM
// register table), DDFSTOP by units of max(8, L) clocks, and DDFSTRT shows its first pixel at
// 2 x DDFSTRT + 2 x min(L, 8) + 1 (HRM: lores HSTART / 2 - 8.5, hires - 4.5; the AGA fetch
// modes measured on the emulator, tests/quillfen-asm/emulator/display-frames.txt). A window
// between two grid points gets BPLCON1's delay.
#include <amiga/displaysetup.h>

#include "assembled_copper_list.h"

#include <gtest/gtest.h>

using namespace amiga;

namespace {

std::uint16_t valueOf(const DisplaySetup &setup, DisplayRegister reg) {
    const DisplayValue *value = setup.find(reg);
    EXPECT_NE(value, nullptr) << displayRegisterName(reg);
    return value ? value->value : 0xdead;
}

bool warns(const DisplaySetup &setup, DisplayRegister reg, const std::string &words) {
    for (const DisplayWarning &w : setup.warnings)
        if (w.reg == reg && w.text.find(words) != std::string::npos)
            return true;
    return false;
}

} // namespace

TEST(DisplaySetup, TheMatrixOfScreens) {
    struct Case {
        const char *name;
        Chipset chipset;
        Resolution res;
        int fetchMode, width, height, depth, hstart; // hstart 0: centred
        bool ntsc, lace, interleaved;
        std::uint16_t diwstrt, diwstop, ddfstrt, ddfstop, bplcon0;
        int bplcon1; // -1: not written
        std::uint16_t modulo;
    };
    const auto L = Resolution::Lores, H = Resolution::Hires, S = Resolution::SuperHires;
    const auto O = Chipset::Ocs, E = Chipset::Ecs, A = Chipset::Aga;
    const Case cases[] = {
        // L 8: ($81 - 17) / 2 = $38; 20 units of 8 clocks: $38 + 8 x 19 = $d0.
        {"PAL lores", O, L, 0, 320, 256, 5, 0x81, false, false, false, //
         0x2c81, 0x2cc1, 0x38, 0xd0, 0x5200, -1, 0},
        // VSTOP $2c + 200 = $f4 (bit 7 set: no DIWHIGH needed).
        {"NTSC lores", O, L, 0, 320, 200, 4, 0x81, true, false, false, //
         0x2c81, 0xf4c1, 0x38, 0xd0, 0x4200, -1, 0},
        // L 4: ($81 - 9) / 2 = $3c; 20 units of 32 pixels: $3c + 8 x 19 = $d4. Each field
        // skips the other's line: 80.
        {"hires interlaced", O, H, 0, 640, 512, 4, 0x81, false, true, false, //
         0x2c81, 0x2cc1, 0x3c, 0xd4, 0xc204, -1, 80},
        {"NTSC hires interlaced", E, H, 0, 640, 400, 4, 0x81, true, true, false, //
         0x2c81, 0xf4c1, 0x3c, 0xd4, 0xc204, -1, 80},
        // ($87 - 17) / 2 = $3b, down to $38: the picture would start at $81, 6 pixels early.
        // 6 + 320 = 326 pixels: 21 units, $38 + 8 x 20 = $d8; 42 bytes of 40: -2. HSTOP $1c7.
        {"lores at the right edge", O, L, 0, 320, 256, 4, 0x87, false, false, false, //
         0x2c87, 0x2cc7, 0x38, 0xd8, 0x4200, 0x0066, 0xfffe},
        // ($5c - 17) / 2 = $25, down to $20: picture from $51, 11 early; 363 pixels: 23 units,
        // $20 + 8 x 22 = $d0; 46 bytes of 44.
        {"ECS lores at the left edge", E, L, 0, 352, 256, 4, 0x5c, false, false, false, //
         0x2c5c, 0x2cbc, 0x20, 0xd0, 0x4200, 0x00bb, 0xfffe},
        // L 32, grid and unit 32: $38 - $18 = 32; 5 units of 64: $38 + 32 x 4 = $b8.
        {"AGA lores fetch mode 3", A, L, 3, 320, 256, 8, 0x81, false, false, false, //
         0x2c81, 0x2cc1, 0x38, 0xb8, 0x0210, -1, 0},
        // L 16: 10 units of 32 pixels, $38 + 16 x 9 = $c8. Interleaved: 8 x 40 - 40 = 280.
        {"AGA lores fetch mode 1", A, L, 1, 320, 256, 8, 0x81, false, false, true, //
         0x2c81, 0x2cc1, 0x38, 0xc8, 0x0210, -1, 280},
        // L 16: ($81 - 17) / 2 = $38; 10 units of 64 pixels: $38 + 16 x 9 = $c8.
        {"AGA hires fetch mode 3", A, H, 3, 640, 256, 4, 0x81, false, false, false, //
         0x2c81, 0x2cc1, 0x38, 0xc8, 0xc200, -1, 0},
        // L 8: ($61 - 17) / 2 = $28; 22 units of 32 pixels: $28 + 8 x 21 = $d0.
        {"AGA hires fetch mode 2 overscan", A, H, 2, 704, 256, 4, 0x61, false, false, false, 0x2c61,
         0x2cc1, 0x28, 0xd0, 0xc200, -1, 0},
        // ($71 - 17) / 2 = $30, down to $28: 16 lores pixels early = 32 hires; 704 pixels: 11
        // units, $28 + 16 x 10 = $c8; 88 bytes of 84. Delay 16: bits 5-4 in 11-10 and 15-14.
        {"AGA hires fetch mode 3 at $71", A, H, 3, 672, 256, 4, 0x71, false, false, false, 0x2c71,
         0x2cc1, 0x28, 0xc8, 0xc200, 0x4400, 0xfffc},
        // Centred at $121 - 176 = $71 would close at $1d1: moved to $1c7 - 352 = $67. Lines
        // $ac - 136 = $24 to $134. ($67 - 17) / 2 = $2b, down to $18: picture from $41, 38
        // early (BPLCON1 2 << 14 | 2 << 10 | 6 << 4 | 6); 390 pixels: 7 units, $18 + 32 x 6 =
        // $d8; 56 bytes of 44: -12.
        {"AGA lores fetch mode 3 centred", A, L, 3, 352, 272, 8, 0, false, false, false, //
         0x2467, 0x34c7, 0x18, 0xd8, 0x0210, 0x8866, 0xfff4},
        // The standard window $81-$1c1 has its middle at $121: $121 - 128 = $a1; PAL lines
        // $2c-$12c have theirs at $ac: $ac - 100 = $48. ($a1 - 17) / 2 = $48; 16 units: $c0.
        {"centred", O, L, 0, 256, 200, 5, 0, false, false, false, //
         0x48a1, 0x10a1, 0x48, 0xc0, 0x5200, -1, 0},
        // L 2, grid 4, unit 8 (64 pixels): ($7d - 5) / 2 = $3c; 20 units: $3c + 8 x 19 = $d4.
        {"superhires", E, S, 0, 1280, 256, 2, 0x7d, false, false, false, //
         0x2c7d, 0x2cbd, 0x3c, 0xd4, 0x2240, -1, 0},
        // L 8, grid and unit 8: ($81 - 17) / 2 = $38; 20 units: $d0.
        {"AGA superhires fetch mode 3", A, S, 3, 1280, 256, 4, 0x81, false, false, false, //
         0x2c81, 0x2cc1, 0x38, 0xd0, 0x4240, -1, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        DisplayRequest request;
        request.chipset = c.chipset;
        request.resolution = c.res;
        request.fetchMode = c.fetchMode;
        request.width = c.width;
        request.height = c.height;
        request.depth = c.depth;
        request.ntsc = c.ntsc;
        request.interlace = c.lace;
        request.interleaved = c.interleaved;
        if (c.hstart == 0) {
            request.hstart.reset();
            request.vstart.reset();
        } else {
            request.hstart = c.hstart;
        }
        const DisplaySetup setup = displaySetup(request);
        EXPECT_TRUE(setup.showable()) << (setup.warnings.empty() ? "" : setup.warnings[0].text);
        EXPECT_EQ(valueOf(setup, DisplayRegister::Diwstrt), c.diwstrt);
        EXPECT_EQ(valueOf(setup, DisplayRegister::Diwstop), c.diwstop);
        EXPECT_EQ(valueOf(setup, DisplayRegister::Ddfstrt), c.ddfstrt);
        EXPECT_EQ(valueOf(setup, DisplayRegister::Ddfstop), c.ddfstop);
        EXPECT_EQ(valueOf(setup, DisplayRegister::Bplcon0), c.bplcon0);
        const DisplayValue *bplcon1 = setup.find(DisplayRegister::Bplcon1);
        EXPECT_EQ(bplcon1 ? bplcon1->value : -1, c.bplcon1);
        EXPECT_EQ(valueOf(setup, DisplayRegister::Bpl1mod), c.modulo);
        EXPECT_EQ(valueOf(setup, DisplayRegister::Bpl2mod), c.modulo);
        EXPECT_EQ(setup.find(DisplayRegister::Fmode) != nullptr, c.chipset == Chipset::Aga);
    }
}

TEST(DisplaySetup, ScreensTheHardwareCannotShowAreRefusedInWords) {
    struct Case {
        const char *name;
        DisplayRequest request;
        DisplayRegister reg;
        const char *words;
    };
    DisplayRequest right; // $88 + 320 = $1c8: the window never closes (measured: $1c7 does)
    right.hstart = 0x88;
    DisplayRequest wide; // $81 + 400 = $211: ECS would wrap it to $011
    wide.chipset = Chipset::Ecs;
    wide.width = 400;
    DisplayRequest huge; // 4096 hires pixels: HSTOP $881
    huge.chipset = Chipset::Aga;
    huge.resolution = Resolution::Hires;
    huge.width = 4096;
    DisplayRequest superhires; // ($81 - 5) / 2 = $3e, down to $3c: 1296 pixels, DDFSTOP $dc
    superhires.chipset = Chipset::Ecs;
    superhires.resolution = Resolution::SuperHires;
    superhires.width = 1280;
    superhires.depth = 2;
    DisplayRequest early; // ($40 - 17) / 2 = $17: before the earliest fetch
    early.chipset = Chipset::Ecs;
    early.hstart = 0x40;
    early.width = 64;
    DisplayRequest deep; // OCS hires shows 4 planes
    deep.resolution = Resolution::Hires;
    deep.width = 640;
    DisplayRequest low; // VSTOP $40 + 256 = $140, past line $137 of a PAL frame
    low.vstart = 0x40;
    DisplayRequest top; // VSTOP $60: OCS would take it for $160
    top.vstart = 0x20;
    top.height = 0x40;
    const Case cases[] = {
        {"HSTOP past $1c7", right, DisplayRegister::Diwstop, "close by HSTOP $1c7"},
        {"HSTOP past $1ff", wide, DisplayRegister::Diwstop, "no window this wide"},
        {"a zero-width window once", huge, DisplayRegister::Diwstop, "HSTOP $881"},
        {"fetch past $d8", superhires, DisplayRegister::Ddfstop, "DDFSTOP $dc"},
        {"fetch before $18", early, DisplayRegister::Ddfstrt, "HSTART $41 at the least"},
        {"too many planes", deep, DisplayRegister::Bplcon0, "at most 4 planes"},
        {"past the frame", low, DisplayRegister::Diwstop, "past the last line $137"},
        {"OCS window", top, DisplayRegister::Diwstop, "OCS cannot place this window"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const DisplaySetup setup = displaySetup(c.request);
        EXPECT_FALSE(setup.showable());
        EXPECT_TRUE(warns(setup, c.reg, c.words));
    }
}

TEST(DisplaySetup, ExtraWindowBitsGoToDiwhighOnEcs) {
    // DIWHIGH: VSTART bits 10-8 in bits 2-0, HSTART bit 8 in bit 5, VSTOP bits 10-8 in bits
    // 10-8, HSTOP bit 8 in bit 13. Needed only where the old rules do not place the window
    // (OCS refuses those: ScreensTheHardwareCannotShowAreRefusedInWords).
    const struct {
        Chipset chipset;
        int hstart, vstart, width, height;
        int diwhigh; // -1: not written
    } cases[] = {
        // VSTOP $60 has bit 7 clear, so the old rule would take it for $160; HSTOP $1c1.
        {Chipset::Ecs, 0x81, 0x20, 320, 0x40, 0x2000},
        {Chipset::Ocs, 0x81, 0x20, 320, 0x40, -1},
        // A narrow window that ends left of $100 (VSTOP $12c), and one that starts right of $ff.
        {Chipset::Ecs, 0x40, 0x2c, 64, 256, 0x0100},
        {Chipset::Ecs, 0x120, 0x2c, 64, 256, 0x2120},
        // The lines below $100 that a PAL frame has fit without DIWHIGH: VSTOP $138.
        {Chipset::Ecs, 0x81, 0x28, 320, 0x110, -1},
        {Chipset::Aga, 0x81, 0x2c, 320, 256, -1}, // the standard screen
    };
    for (const auto &c : cases) {
        DisplayRequest request;
        request.chipset = c.chipset;
        request.hstart = c.hstart;
        request.vstart = c.vstart;
        request.width = c.width;
        request.height = c.height;
        const DisplaySetup setup = displaySetup(request);
        const DisplayValue *diwhigh = setup.find(DisplayRegister::Diwhigh);
        EXPECT_EQ(diwhigh ? diwhigh->value : -1, c.diwhigh) << c.hstart << " " << c.vstart;
    }
}

TEST(DisplaySetup, WarningsNameTheProblem) {
    // Hires DDFSTRT (h - 9) / 2. ECS and AGA lose the sprites whose slots $15 + 4n, $17 + 4n
    // the fetch reaches; OCS one more, sprites (DDFSTRT - $18) / 4 to 7 (both as the emulator
    // shows, tests/quillfen-asm/emulator/display-sprites.txt).
    const struct {
        int hstart;
        const char *ocs, *ecs;                                // nullptr: no sprite is lost
    } sprites[] = {{0x79, nullptr, nullptr},                  // $38
                   {0x71, "sprite 7 is lost", nullptr},       // $34
                   {0x69, "sprites 6-7", "sprite 7 is lost"}, // $30
                   {0x59, "sprites 4-7", "sprites 5-7"},      // $28
                   {0x39, "sprites 0-7", "sprites 1-7"}};     // $18
    DisplayRequest overscan;
    overscan.resolution = Resolution::Hires;
    overscan.width = 512;
    overscan.depth = 4;
    for (const auto &s : sprites) {
        for (const Chipset chipset : {Chipset::Ocs, Chipset::Ecs}) {
            SCOPED_TRACE(s.hstart);
            overscan.hstart = s.hstart;
            overscan.chipset = chipset;
            const char *words = chipset == Chipset::Ocs ? s.ocs : s.ecs;
            const DisplaySetup setup = displaySetup(overscan);
            EXPECT_TRUE(setup.showable());
            if (words)
                EXPECT_TRUE(warns(setup, DisplayRegister::Ddfstrt, words)) << words;
            else
                EXPECT_TRUE(setup.warnings.empty());
        }
    }

    DisplayRequest aga;
    aga.chipset = Chipset::Aga;
    aga.width = 352;
    aga.fetchMode = 3;
    aga.hstart = 0x71; // down to $18: 48 + 352 pixels in units of 64
    EXPECT_TRUE(warns(displaySetup(aga), DisplayRegister::Ddfstop,
                      "64 pixels of each plane at a time: a line of 352 pixels after a delay of "
                      "48 is fetched as 448"));
    // Fetch mode 3 reads 8 bytes at a time: lines of 44 bytes leave that grid, 48 do not.
    EXPECT_TRUE(warns(displaySetup(aga), DisplayRegister::Bpl1mod, "44 bytes apart"));
    aga.width = 384;
    EXPECT_FALSE(warns(displaySetup(aga), DisplayRegister::Bpl1mod, "bytes apart"));
    aga.width = 360;
    aga.fetchMode = 0;
    aga.hstart = 0x81;
    EXPECT_TRUE(warns(displaySetup(aga), DisplayRegister::Bpl1mod, "not a whole number of words"));

    DisplayRequest high;
    high.vstart = 0x10;
    EXPECT_TRUE(warns(displaySetup(high), DisplayRegister::Diwstrt, "outside the visible lines"));
    DisplayRequest laced;
    laced.interlace = true;
    laced.height = 255;
    EXPECT_TRUE(warns(displaySetup(laced), DisplayRegister::Diwstop, "even number of lines"));
}

TEST(DisplaySetup, CodeAssemblesAsPastedToItsWords) {
    if (!m68k::available())
        GTEST_SKIP() << "m68k-linux-gnu-as is not installed";
    DisplayRequest request;
    request.chipset = Chipset::Aga;
    request.interleaved = true;
    const DisplaySetup setup = displaySetup(request);
    const std::string copper = displaySetupCode(setup, false);
    EXPECT_EQ(copper.substr(0, 20), "\tdc.w\tDIWSTRT,$2c81\n");
    // Register offsets from the hardware include files: DIWSTRT $8e, DIWSTOP $90, DDFSTRT $92,
    // DDFSTOP $94, BPLCON0 $100, BPL1MOD $108, BPL2MOD $10a, FMODE $1fc.
    const std::vector<std::uint16_t> words = {0x008e, 0x2c81, 0x0090, 0x2cc1, 0x0092, 0x0038,
                                              0x0094, 0x00d0, 0x0100, 0x5200, 0x0108, 0x00a0,
                                              0x010a, 0x00a0, 0x01fc, 0x0000};
    EXPECT_EQ(assembled(copper), words);

    // move.w #imm,d16(a6): $3d7c, the value, the register's offset.
    const std::string cpu = displaySetupCode(setup, true);
    std::vector<std::uint16_t> expected;
    for (std::size_t i = 0; i < words.size(); i += 2)
        expected.insert(expected.end(), {0x3d7c, words[i + 1], words[i]});
    EXPECT_EQ(assembled(cpu), expected);

    // Warnings are comments and assemble to nothing.
    DisplayRequest warned; // ($71 - 17) / 2 = $30: sprites 6-7 on OCS; no BPLCON1
    warned.hstart = 0x71;
    warned.width = 336;
    const std::string text = displaySetupCode(displaySetup(warned), false);
    EXPECT_NE(text.find("; the fetch starts at $30"), std::string::npos) << text;
    EXPECT_EQ(assembled(text).size(), 14u);
}
