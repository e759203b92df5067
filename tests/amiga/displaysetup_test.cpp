// Display set-up. Every expected value is worked out by hand in the comments from the Hardware
// Reference Manual's rules (window positions in lores non-interlaced units; lores DDFSTRT =
// HSTART/2 - 8.5 down to a multiple of 8, DDFSTOP = DDFSTRT + 8 x (words - 1); hires
// HSTART/2 - 4.5 down to a multiple of 4, DDFSTOP = DDFSTRT + 4 x (words - 2)).
#include <amiga/displaysetup.h>

#include "m68k_assembler.h"

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

struct Screen {
    const char *name;
    DisplayRequest request;
    std::uint16_t diwstrt, diwstop, ddfstrt, ddfstop, bplcon0, modulo;
};

} // namespace

TEST(DisplaySetup, WorkedScreens) {
    DisplayRequest pal; // PAL lores 320x256, 5 planes, window at $2c81
    DisplayRequest interleaved = pal;
    interleaved.interleaved = true;
    DisplayRequest hires = pal;
    hires.resolution = Resolution::Hires;
    hires.width = 640;
    hires.depth = 4;
    DisplayRequest ntsc = pal;
    ntsc.ntsc = true;
    ntsc.height = 200;
    DisplayRequest laced = hires;
    laced.height = 512;
    laced.interlace = true;
    DisplayRequest overscan = hires; // 704 hires pixels from HSTART $69
    overscan.width = 704;
    overscan.hstart = 0x69;
    DisplayRequest scrolling = pal;
    scrolling.scroll = true;
    DisplayRequest aga = pal;
    aga.chipset = Chipset::Aga;
    aga.depth = 8;
    aga.fetchMode = 3;

    const Screen screens[] = {
        // HSTOP $81 + 320 = $1c1, VSTOP $2c + 256 = $12c: low bytes $2c, $c1. 20 words:
        // $38 + 8 x 19 = $d0. BPU 5 in bits 14-12 with COLOR ($0200): $5200.
        {"PAL lores", pal, 0x2c81, 0x2cc1, 0x0038, 0x00d0, 0x5200, 0x0000},
        // Interleaved: a picture line is 5 x 40 bytes, 40 of them fetched: 160 = $a0.
        {"interleaved", interleaved, 0x2c81, 0x2cc1, 0x0038, 0x00d0, 0x5200, 0x00a0},
        // $81 / 2 - 4.5 = 60 = $3c; 40 words: $3c + 4 x 38 = $d4. HIRES | BPU 4 | COLOR.
        {"hires", hires, 0x2c81, 0x2cc1, 0x003c, 0x00d4, 0xc200, 0x0000},
        // VSTOP $2c + 200 = $f4.
        {"NTSC", ntsc, 0x2c81, 0xf4c1, 0x0038, 0x00d0, 0x5200, 0x0000},
        // 512 lines interlaced are 256 per field; each field skips the other's line: 80.
        {"interlaced", laced, 0x2c81, 0x2cc1, 0x003c, 0x00d4, 0xc204, 0x0050},
        // $69 / 2 - 4.5 = 48 = $30; 44 words: $30 + 4 x 42 = $d8. HSTOP $69 + 352 = $1c9.
        {"hires overscan", overscan, 0x2c69, 0x2cc9, 0x0030, 0x00d8, 0xc200, 0x0000},
        // One word more, fetched 8 clocks earlier; 42 bytes fetched of a 40-byte line: -2.
        {"scrolling", scrolling, 0x2c81, 0x2cc1, 0x0030, 0x00d0, 0x5200, 0xfffe},
        // Fetch mode 3 reads 64 pixels a block of 32 clocks: 5 blocks, $38 + 32 x 4 = $b8.
        // 8 planes are BPU 0 with BPU3 (bit 4).
        {"AGA 8 planes, fetch mode 3", aga, 0x2c81, 0x2cc1, 0x0038, 0x00b8, 0x0210, 0x0000},
    };
    for (const Screen &s : screens) {
        SCOPED_TRACE(s.name);
        const DisplaySetup setup = displaySetup(s.request);
        EXPECT_EQ(valueOf(setup, DisplayRegister::Diwstrt), s.diwstrt);
        EXPECT_EQ(valueOf(setup, DisplayRegister::Diwstop), s.diwstop);
        EXPECT_EQ(valueOf(setup, DisplayRegister::Ddfstrt), s.ddfstrt);
        EXPECT_EQ(valueOf(setup, DisplayRegister::Ddfstop), s.ddfstop);
        EXPECT_EQ(valueOf(setup, DisplayRegister::Bplcon0), s.bplcon0);
        EXPECT_EQ(valueOf(setup, DisplayRegister::Bpl1mod), s.modulo);
        EXPECT_EQ(valueOf(setup, DisplayRegister::Bpl2mod), s.modulo);
        EXPECT_EQ(setup.find(DisplayRegister::Fmode) != nullptr, s.request.chipset == Chipset::Aga);
    }
}

TEST(DisplaySetup, CentredWindowsSitInTheMiddleOfTheStandardScreen) {
    DisplayRequest request;
    request.width = 256;
    request.height = 200;
    request.hstart.reset();
    request.vstart.reset();
    // The standard window $81-$1c1 has its middle at $121: $121 - 128 = $a1. PAL lines
    // $2c-$12c have theirs at $ac: $ac - 100 = $48.
    const DisplaySetup setup = displaySetup(request);
    EXPECT_EQ(setup.hstart, 0xa1);
    EXPECT_EQ(setup.vstart, 0x48);
    EXPECT_EQ(setup.find(DisplayRegister::Diwstrt)->value, 0x48a1);
}

TEST(DisplaySetup, ExtraWindowBitsGoToDiwhighOnEcsAndAreRefusedOnOcs) {
    // A short window at the top: VSTOP $60 has bit 7 clear, so OCS would take it for $160.
    DisplayRequest tall;
    tall.vstart = 0x20;
    tall.height = 0x40;
    const DisplaySetup ocs = displaySetup(tall);
    EXPECT_EQ(ocs.find(DisplayRegister::Diwhigh), nullptr);
    EXPECT_TRUE(warns(ocs, DisplayRegister::Diwstop, "OCS cannot place this window"));
    tall.chipset = Chipset::Ecs;
    const DisplaySetup ecs = displaySetup(tall);
    // VSTOP $60: bits 10-8 = 0 in DIWHIGH bits 10-8; HSTOP $1c1: bit 8 in DIWHIGH bit 13.
    ASSERT_NE(ecs.find(DisplayRegister::Diwhigh), nullptr);
    EXPECT_EQ(ecs.find(DisplayRegister::Diwhigh)->value, 0x2000);
    // A narrow window that ends left of $100, and one that starts right of $ff.
    DisplayRequest narrow;
    narrow.chipset = Chipset::Ecs;
    narrow.hstart = 0x40;
    narrow.width = 64;
    ASSERT_NE(displaySetup(narrow).find(DisplayRegister::Diwhigh), nullptr);
    EXPECT_EQ(displaySetup(narrow).find(DisplayRegister::Diwhigh)->value, 0x0100); // VSTOP $12c
    narrow.hstart = 0x120;
    ASSERT_NE(displaySetup(narrow).find(DisplayRegister::Diwhigh), nullptr);
    EXPECT_EQ(displaySetup(narrow).find(DisplayRegister::Diwhigh)->value, 0x2120);
    // The lines below $100 that a PAL frame has fit without DIWHIGH: VSTOP $138.
    DisplayRequest full;
    full.chipset = Chipset::Ecs;
    full.vstart = 0x28;
    full.height = 0x110;
    EXPECT_EQ(displaySetup(full).find(DisplayRegister::Diwhigh), nullptr);
    // The standard screen needs no DIWHIGH on any chipset.
    DisplayRequest standard;
    standard.chipset = Chipset::Aga;
    EXPECT_EQ(displaySetup(standard).find(DisplayRegister::Diwhigh), nullptr);
}

TEST(DisplaySetup, WarningsNameTheProblem) {
    DisplayRequest overscan;
    overscan.resolution = Resolution::Hires;
    overscan.width = 704;
    overscan.depth = 4;
    overscan.hstart = 0x69;
    EXPECT_TRUE(warns(displaySetup(overscan), DisplayRegister::Ddfstrt, "sprite 7"));
    overscan.hstart = 0x59; // $59 / 2 - 4.5 = 40 = $28: sprites 6 and 7
    EXPECT_TRUE(warns(displaySetup(overscan), DisplayRegister::Ddfstrt, "sprites 6-7"));
    overscan.hstart = 0x81; // 44 words from $3c end at $3c + 168 = $e4
    EXPECT_TRUE(warns(displaySetup(overscan), DisplayRegister::Ddfstop, "($d8)"));
    overscan.hstart = 0x21; // $21 / 2 - 4.5 = 12: before $18
    EXPECT_TRUE(warns(displaySetup(overscan), DisplayRegister::Ddfstrt, "($18)"));

    DisplayRequest aga;
    aga.chipset = Chipset::Aga;
    aga.width = 352;
    aga.fetchMode = 3;
    EXPECT_TRUE(warns(displaySetup(aga), DisplayRegister::Ddfstop, "fetches 64 pixels at a time"));
    aga.fetchMode = 1;
    aga.width = 336;
    EXPECT_TRUE(warns(displaySetup(aga), DisplayRegister::Ddfstop, "fetches 32 pixels at a time"));
    aga.width = 360;
    aga.fetchMode = 0;
    EXPECT_TRUE(warns(displaySetup(aga), DisplayRegister::Bpl1mod, "not a whole number of words"));

    DisplayRequest low;
    low.vstart = 0x10;
    EXPECT_TRUE(warns(displaySetup(low), DisplayRegister::Diwstrt, "outside the visible lines"));
    DisplayRequest deep;
    deep.depth = 7;
    EXPECT_TRUE(warns(displaySetup(deep), DisplayRegister::Bplcon0, "at most 6 planes"));
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
    const m68k::Result fromCopper = m68k::assemble(copper);
    ASSERT_TRUE(fromCopper.words) << fromCopper.messages << copper;
    EXPECT_EQ(*fromCopper.words, words);

    // move.w #imm,d16(a6): $3d7c, the value, the register's offset.
    const std::string cpu = displaySetupCode(setup, true);
    const m68k::Result fromCpu = m68k::assemble(cpu);
    ASSERT_TRUE(fromCpu.words) << fromCpu.messages << cpu;
    std::vector<std::uint16_t> expected;
    for (std::size_t i = 0; i < words.size(); i += 2)
        expected.insert(expected.end(), {0x3d7c, words[i + 1], words[i]});
    EXPECT_EQ(*fromCpu.words, expected);

    // Warnings are comments and assemble to nothing.
    DisplayRequest warned;
    warned.hstart = 0x69;
    warned.width = 352;
    const std::string text = displaySetupCode(displaySetup(warned), false);
    EXPECT_NE(text.find("; the fetch starts before $38"), std::string::npos) << text;
    const m68k::Result fromWarned = m68k::assemble(text);
    ASSERT_TRUE(fromWarned.words) << fromWarned.messages << text;
    EXPECT_EQ(fromWarned.words->size(), 14u);
}
