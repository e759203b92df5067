// The colour, palette and rainbow code, character for character, and what the assembler makes of
// it. Expected words are worked out by hand from the register layouts: COLORxx at $180 + 2n with
// red in bits 11-8, green 7-4, blue 3-0; BPLCON3 at $106 with BANK2-0 in bits 15-13 and LOCT in
// bit 9, every other bit kept from the base value, $0c00 by default (AGA documentation); a copper
// WAIT is $vvhh|1,$fffe (Hardware Reference Manual, copper).
#include <amiga/colourcode.h>

#include "m68k_assembler.h"

#include <gtest/gtest.h>

using namespace amiga;

namespace {

const ColourCodeOptions agaCopper{true, true};
const ColourCodeOptions agaCpu{true, false};
const ColourCodeOptions agaCopperBaseZero{true, true, 0x0000};
const ColourCodeOptions ocsCopper{false, true};
const ColourCodeOptions ocsCpu{false, false};

struct Case {
    const char *what;
    std::string text;
    std::string expected;
};

void check(const std::vector<Case> &cases) {
    for (const Case &c : cases) {
        EXPECT_EQ(c.text, c.expected) << c.what;
        if (!m68k::available())
            continue;
        const m68k::Result result = m68k::assemble(c.text);
        EXPECT_TRUE(result.words.has_value()) << c.what << "\n" << result.messages;
    }
}

std::vector<Rgb8> greys(std::initializer_list<std::uint8_t> values) {
    std::vector<Rgb8> colours;
    for (std::uint8_t v : values)
        colours.push_back({v, v, v});
    return colours;
}

} // namespace

TEST(ColourCode, SingleColour) {
    const Rgb8 c{0x12, 0x34, 0x56};
    check({
        {"AGA copper, bank 1 register 5", colourCode(agaCopper, 1, 5, c),
         "\tdc.w\tBPLCON3,$2c00\n"
         "\tdc.w\tCOLOR05,$0135\n"
         "\tdc.w\tBPLCON3,$2e00\n"
         "\tdc.w\tCOLOR05,$0246\n"
         "\tdc.w\tBPLCON3,$0c00\n"},
        // move.w #imm,d16(a6) is $3d7c, the immediate, the displacement (M68000 PRM, MOVE).
        {"AGA CPU, bank 1 register 5", colourCode(agaCpu, 1, 5, c),
         "\tmove.w\t#$2c00,BPLCON3(a6)\n"
         "\tmove.w\t#$0135,COLOR05(a6)\n"
         "\tmove.w\t#$2e00,BPLCON3(a6)\n"
         "\tmove.w\t#$0246,COLOR05(a6)\n"
         "\tmove.w\t#$0c00,BPLCON3(a6)\n"},
        // White as pictures of the OCS era store it (n << 4): the high half carries it all.
        // A base of 0 (PF2OF 0) is kept as given, and written last.
        {"AGA copper, bank 7 register 31, white stored as $f0, base $0000",
         colourCode(agaCopperBaseZero, 7, 31, {0xf0, 0xf0, 0xf0}),
         "\tdc.w\tBPLCON3,$e000\n"
         "\tdc.w\tCOLOR31,$0fff\n"
         "\tdc.w\tBPLCON3,$e200\n"
         "\tdc.w\tCOLOR31,$0000\n"
         "\tdc.w\tBPLCON3,$0000\n"},
        // 12-bit: the high nibble, $b9 -> b, $f0 -> f, $0f -> 0; the bank plays no part.
        {"OCS copper", colourCode(ocsCopper, 3, 7, {0xb9, 0xf0, 0x0f}), "\tdc.w\tCOLOR07,$0bf0\n"},
        {"OCS CPU", colourCode(ocsCpu, 0, 17, {0xff, 0x10, 0x88}),
         "\tmove.w\t#$0f18,COLOR17(a6)\n"},
    });
}

TEST(ColourCode, Palette) {
    const std::vector<Rgb8> blackWhite = greys({0x00, 0xff});
    check({
        {"AGA copper, black and white", paletteCode(agaCopper, 0, 0, blackWhite),
         "; AGA palette: 2 colours from bank 0 COLOR00, copper list data\n"
         "\tdc.w\tBPLCON3,$0c00\n"
         "\tdc.w\tCOLOR00,$0000\n"
         "\tdc.w\tCOLOR01,$0fff\n"
         "\tdc.w\tBPLCON3,$0e00\n"
         "\tdc.w\tCOLOR00,$0000\n"
         "\tdc.w\tCOLOR01,$0fff\n"
         "\tdc.w\tBPLCON3,$0c00\n"},
        // Without copper instructions the same BPLCON3 halves as the single colour's move.w form.
        {"AGA CPU, bank 2 register 3", paletteCode(agaCpu, 2, 3, {{0x12, 0x34, 0x56}}),
         "; AGA palette: 1 colour from bank 2 COLOR03, move.w with a6 = $dff000\n"
         "\tmove.w\t#$4c00,BPLCON3(a6)\n"
         "\tmove.w\t#$0135,COLOR03(a6)\n"
         "\tmove.w\t#$4e00,BPLCON3(a6)\n"
         "\tmove.w\t#$0246,COLOR03(a6)\n"
         "\tmove.w\t#$0c00,BPLCON3(a6)\n"},
        // From register 30 the third colour is the first register of bank 1 (there is no
        // COLOR32); the base value ($0c00, bank 0) is written last.
        {"AGA copper, into the next bank", paletteCode(agaCopper, 0, 30, greys({0x11, 0x22, 0x33})),
         "; AGA palette: 3 colours from bank 0 COLOR30, copper list data\n"
         "\tdc.w\tBPLCON3,$0c00\n"
         "\tdc.w\tCOLOR30,$0111\n"
         "\tdc.w\tCOLOR31,$0222\n"
         "\tdc.w\tBPLCON3,$2c00\n"
         "\tdc.w\tCOLOR00,$0333\n"
         "\tdc.w\tBPLCON3,$0e00\n"
         "\tdc.w\tCOLOR30,$0111\n"
         "\tdc.w\tCOLOR31,$0222\n"
         "\tdc.w\tBPLCON3,$2e00\n"
         "\tdc.w\tCOLOR00,$0333\n"
         "\tdc.w\tBPLCON3,$0c00\n"},
        {"AGA copper, past bank 7", paletteCode(agaCopper, 7, 31, greys({0x9a, 0x00})),
         "; AGA palette: 2 colours from bank 7 COLOR31, copper list data\n"
         "\tdc.w\tBPLCON3,$ec00\n"
         "\tdc.w\tCOLOR31,$0999\n"
         "\tdc.w\tBPLCON3,$ee00\n"
         "\tdc.w\tCOLOR31,$0aaa\n"
         "\tdc.w\tBPLCON3,$0c00\n"
         "; AGA has no colour register after bank 7 COLOR31: left out from entry 1 on\n"},
        {"AGA copper, bank 2 register 3",
         paletteCode(agaCopper, 2, 3, {{0x01, 0x02, 0x03}, {0x45, 0x67, 0x89}, {0xab, 0xcd, 0xef}}),
         "; AGA palette: 3 colours from bank 2 COLOR03, copper list data\n"
         "\tdc.w\tBPLCON3,$4c00\n"
         "\tdc.w\tCOLOR03,$0000\n"
         "\tdc.w\tCOLOR04,$0468\n"
         "\tdc.w\tCOLOR05,$0ace\n"
         "\tdc.w\tBPLCON3,$4e00\n"
         "\tdc.w\tCOLOR03,$0123\n"
         "\tdc.w\tCOLOR04,$0579\n"
         "\tdc.w\tCOLOR05,$0bdf\n"
         "\tdc.w\tBPLCON3,$0c00\n"},
        {"OCS copper, past COLOR31", paletteCode(ocsCopper, 5, 30, greys({0xb9, 0xf0, 0x10})),
         "; OCS/ECS palette: 3 colours from COLOR30, copper list data\n"
         "\tdc.w\tCOLOR30,$0bbb\n"
         "\tdc.w\tCOLOR31,$0fff\n"
         "; OCS/ECS have no colour register after COLOR31: left out from entry 2 on\n"},
        {"OCS CPU", paletteCode(ocsCpu, 0, 0, {{0xff, 0x88, 0x87}}),
         "; OCS/ECS palette: 1 colour from COLOR00, move.w with a6 = $dff000\n"
         "\tmove.w\t#$0f88,COLOR00(a6)\n"},
        {"no colours", paletteCode(agaCopper, 0, 0, {}), ""},
    });
}

TEST(ColourCode, AFullAgaPaletteReachesEveryBank) {
    const std::vector<Rgb8> colours(256, Rgb8{0xab, 0xcd, 0xef});
    const std::string text = paletteCode(agaCopper, 0, 0, colours);
    EXPECT_EQ(text.find(';', 1), std::string::npos) << "nothing left out";
    for (const char *bankLine : {"BPLCON3,$0c00\n", "BPLCON3,$ec00\n", "BPLCON3,$ee00\n"})
        EXPECT_NE(text.find(bankLine), std::string::npos) << bankLine;
    if (!m68k::available())
        GTEST_SKIP() << "m68k-linux-gnu-as is not installed";
    const m68k::Result result = m68k::assemble(text);
    ASSERT_TRUE(result.words.has_value()) << result.messages;
    // Per half: 8 bank selections and 256 colours, two words each; then the base value.
    ASSERT_EQ(result.words->size(), 2u * 2 * (8 + 256) + 2);
    EXPECT_EQ((*result.words)[2 * (8 + 256)], 0x106);
    EXPECT_EQ((*result.words)[2 * (8 + 256) + 1], 0x0e00);
    EXPECT_EQ((*result.words)[2 * (8 + 256) + 2], 0x180);
    EXPECT_EQ((*result.words)[2 * (8 + 256) + 3], 0x0bdf);
}

TEST(ColourCode, AgaPaletteWithoutTheCopperGoesOnIntoTheNextBankToo) {
    const std::string text =
        paletteCode(agaCpu, 0, 0, std::vector<Rgb8>(40, Rgb8{0xaa, 0xaa, 0xaa}));
    // Per half a bank line, 32 colours, a bank line, 8 colours; then the base value.
    std::size_t moves = 0;
    for (std::size_t at = text.find("\tmove.w\t"); at != std::string::npos;
         at = text.find("\tmove.w\t", at + 1))
        ++moves;
    EXPECT_EQ(moves, 2u * (1 + 32 + 1 + 8) + 1);
    EXPECT_NE(text.find("\tmove.w\t#$0aaa,COLOR31(a6)\n\tmove.w\t#$2c00,BPLCON3(a6)\n"
                        "\tmove.w\t#$0aaa,COLOR00(a6)\n"),
              std::string::npos)
        << text;
    EXPECT_EQ(text.find(';', 1), std::string::npos) << "nothing left out";
}

TEST(ColourCode, Rainbow) {
    const std::vector<Rgb8> three = {{0x12, 0x34, 0x56}, {0xff, 0xff, 0xff}, {0x00, 0x00, 0x00}};
    check({
        // Heights 4, 4, 0: waits at $2c, $30 and $34.
        {"AGA", rainbowCode(agaCopper, 0x2c, three, {4, 4, 0}),
         "\tdc.w\t$2c01,$fffe\n"
         "\tdc.w\tBPLCON3,$0c00\n"
         "\tdc.w\tCOLOR00,$0135\n"
         "\tdc.w\tBPLCON3,$0e00\n"
         "\tdc.w\tCOLOR00,$0246\n"
         "\tdc.w\t$3001,$fffe\n"
         "\tdc.w\tBPLCON3,$0c00\n"
         "\tdc.w\tCOLOR00,$0fff\n"
         "\tdc.w\tBPLCON3,$0e00\n"
         "\tdc.w\tCOLOR00,$0fff\n"
         "\tdc.w\t$3401,$fffe\n"
         "\tdc.w\tBPLCON3,$0c00\n"
         "\tdc.w\tCOLOR00,$0000\n"
         "\tdc.w\tBPLCON3,$0e00\n"
         "\tdc.w\tCOLOR00,$0000\n"
         "\tdc.w\tBPLCON3,$0c00\n"},
        // Lines $f0, $100, $11a and $21a: the end of line $ff first, then low bytes; $21a is
        // past the last PAL line.
        {"OCS over line $ff",
         rainbowCode(ocsCopper, 0xf0, greys({0, 0x99, 0x55, 0xff}), {0x10, 0x1a, 0x100, 1}),
         "\tdc.w\t$f001,$fffe\n"
         "\tdc.w\tCOLOR00,$0000\n"
         "\tdc.w\t$ffdf,$fffe\n"
         "\tdc.w\t$0001,$fffe\n"
         "\tdc.w\tCOLOR00,$0999\n"
         "\tdc.w\t$1a01,$fffe\n"
         "\tdc.w\tCOLOR00,$0555\n"
         "; line $21a is past the end of a PAL frame: left out from entry 3 on\n"},
        // $137 is the last line of a PAL frame (312 lines, Hardware Reference Manual, beam
        // position); a start past $ff waits for line $ff's end too.
        {"OCS from $137", rainbowCode(ocsCopper, 0x137, greys({0x10, 0x20}), {1}),
         "\tdc.w\t$ffdf,$fffe\n"
         "\tdc.w\t$3701,$fffe\n"
         "\tdc.w\tCOLOR00,$0111\n"
         "; line $138 is past the end of a PAL frame: left out from entry 1 on\n"},
        // Heights that are missing count as 0: the last two colours start on the same line.
        {"OCS from line 0", rainbowCode(ocsCopper, 0, greys({0x12, 0xff, 0x00}), {1}),
         "\tdc.w\t$0001,$fffe\n"
         "\tdc.w\tCOLOR00,$0111\n"
         "\tdc.w\t$0101,$fffe\n"
         "\tdc.w\tCOLOR00,$0fff\n"
         "\tdc.w\t$0101,$fffe\n"
         "\tdc.w\tCOLOR00,$0000\n"},
        {"AGA, nothing on the frame", rainbowCode(agaCopper, 0x140, greys({0x10}), {}),
         "; line $140 is past the end of a PAL frame: left out from entry 0 on\n"},
        {"AGA CPU: a rainbow is copper data", rainbowCode(agaCpu, 0x2c, three, {4, 4, 0}), ""},
        {"OCS CPU", rainbowCode(ocsCpu, 0x2c, three, {4, 4, 0}), ""},
        {"no colours", rainbowCode(agaCopper, 0x2c, {}, {}), ""},
    });
}
