// The colour, palette and rainbow generators, character for character.
#include "colour/ColourCode.h"

#include "QtPrinters.h"
#include <gtest/gtest.h>

using ColourCode::EditorColour;
using ColourCode::Options;

namespace {

const Options agaCopper{true, true};
const Options agaCpu{true, false};
const Options ocsCopper{false, true};
const Options ocsCpu{false, false};

// The editor's fields for 8-bit guns, as the editor prints them.
EditorColour editor(int r, int g, int b) {
    auto twelve = [](int v) { return QString::asprintf("%.1x", Colour::twelveBitValue(v)); };
    return {QString::asprintf("%.2x", r),
            QString::asprintf("%.2x", g),
            QString::asprintf("%.2x", b),
            twelve(r),
            twelve(g),
            twelve(b)};
}

Colour rgb(int r, int g, int b) {
    return Colour::convertFrom24BitWithRed(r, g, b);
}

} // namespace

TEST(ColourCode, SingleColourInBothFormsAndChipsets) {
    const EditorColour c = editor(0x12, 0x34, 0x56);
    EXPECT_EQ(ColourCode::colourCode(agaCopper, 1, 5, c), "dc.w BPLCON3,$2000\n"
                                                          "dc.w COLOR05,$0135\n"
                                                          "dc.w BPLCON3,$2200\n"
                                                          "dc.w COLOR05,$0246");
    EXPECT_EQ(ColourCode::colourCode(agaCpu, 1, 5, c), "move.w #$2000,BPLCON3(a6)\n"
                                                       "move.w #$0135,COLOR05(a6)\n"
                                                       "move.w #$2200,BPLCON3(a6)\n"
                                                       "move.w #$0246,COLOR05(a6)");
    // Every bank's digit: the bank in bits 15-13.
    const QString digits = "02468ace";
    for (int bank = 0; bank < 8; ++bank)
        EXPECT_TRUE(
            ColourCode::colourCode(agaCopper, bank, 31, c)
                .startsWith(QString("dc.w BPLCON3,$") + digits[bank] + "000\ndc.w COLOR31,"));
    // OCS/ECS: one 12-bit value, nibble = value / 17 (0x12 -> 1, 0x34 -> 3, 0x56 -> 5).
    EXPECT_EQ(ColourCode::colourCode(ocsCopper, 3, 7, c), "dc.w COLOR07,$0135");
    EXPECT_EQ(ColourCode::colourCode(ocsCpu, 0, 17, editor(0xff, 0x10, 0x88)),
              "move.w #$0f08,COLOR17(a6)");
}

TEST(ColourCode, PaletteForAga) {
    const QList<Colour> bw = {rgb(0, 0, 0), rgb(255, 255, 255)};
    EXPECT_EQ(ColourCode::paletteCode(agaCopper, 0, 0, bw), "dc.w BPLCON3,$0000\n"
                                                            "dc.w COLOR00,$0000\n"
                                                            "dc.w COLOR01,$0fff\n"
                                                            "dc.w BPLCON3,$0200\n"
                                                            "dc.w COLOR00,$0000\n"
                                                            "dc.w COLOR01,$0fff\n");
    // Without copper instructions: the two runs, no bank selection.
    EXPECT_EQ(ColourCode::paletteCode(agaCpu, 0, 0, {rgb(0x12, 0x34, 0x56)}),
              "dc.w COLOR00,$0135\ndc.w COLOR00,$0246\n");
    // Bank 2 is selected once per half, registers count on from the chosen one.
    const QList<Colour> three = {rgb(1, 2, 3), rgb(0x45, 0x67, 0x89), rgb(0xab, 0xcd, 0xef)};
    EXPECT_EQ(ColourCode::paletteCode(agaCopper, 2, 3, three), "dc.w BPLCON3,$4000\n"
                                                               "dc.w COLOR03,$0000\n"
                                                               "dc.w COLOR04,$0468\n"
                                                               "dc.w COLOR05,$0ace\n"
                                                               "dc.w BPLCON3,$4200\n"
                                                               "dc.w COLOR03,$0123\n"
                                                               "dc.w COLOR04,$0579\n"
                                                               "dc.w COLOR05,$0bdf\n");
}

TEST(ColourCode, AgaPaletteGoesOnIntoTheNextBankInsteadOfInventingRegisters) {
    // From register 30 the third entry is the first register of the next bank
    // (there is no COLOR32).
    const QList<Colour> three = {rgb(0x11, 0x11, 0x11), rgb(0x22, 0x22, 0x22),
                                 rgb(0x33, 0x33, 0x33)};
    EXPECT_EQ(ColourCode::paletteCode(agaCopper, 0, 30, three), "dc.w BPLCON3,$0000\n"
                                                                "dc.w COLOR30,$0111\n"
                                                                "dc.w COLOR31,$0222\n"
                                                                "dc.w BPLCON3,$2000\n"
                                                                "dc.w COLOR00,$0333\n"
                                                                "dc.w BPLCON3,$0200\n"
                                                                "dc.w COLOR30,$0111\n"
                                                                "dc.w COLOR31,$0222\n"
                                                                "dc.w BPLCON3,$2200\n"
                                                                "dc.w COLOR00,$0333\n");
    // 256 entries from bank 0 register 0: eight bank lines per half, 512 colour lines.
    const QString all = ColourCode::paletteCode(agaCopper, 0, 0, Colour::amigaDefaults(256));
    EXPECT_EQ(all.count("BPLCON3"), 16);
    EXPECT_EQ(all.count("COLOR"), 512);
    EXPECT_TRUE(all.contains("dc.w BPLCON3,$e200\ndc.w COLOR00,$0aaa\n"));
    EXPECT_FALSE(all.contains(";"));
    // Past bank 7 register 31 there is nothing to write to: said in a comment.
    const QString over = ColourCode::paletteCode(agaCopper, 7, 30, Colour::amigaDefaults(5));
    EXPECT_EQ(over.count("dc.w COLOR"), 4);
    EXPECT_TRUE(over.endsWith(
        "; AGA has no colour register after bank 7 COLOR31: left out from entry 2 on\n"));
    // Without bank selection the registers stop at COLOR31 as well.
    const QString cpu = ColourCode::paletteCode(agaCpu, 0, 0, Colour::amigaDefaults(40));
    EXPECT_EQ(cpu.count("dc.w COLOR"), 64);
    EXPECT_TRUE(cpu.contains("dc.w COLOR31,$0aaa\ndc.w COLOR00,$0000\n"));
    EXPECT_TRUE(cpu.endsWith("without BPLCON3 bank selection: left out from entry 32 on\n"));
}

TEST(ColourCode, PaletteForOcs) {
    const QList<Colour> entries = {rgb(0x00, 0x10, 0x11), rgb(0xff, 0x88, 0x87)};
    EXPECT_EQ(ColourCode::paletteCode(ocsCopper, 5, 0, entries),
              "dc.w COLOR00,$0001\ndc.w COLOR01,$0f87\n");
    EXPECT_EQ(ColourCode::paletteCode(ocsCpu, 0, 30, entries),
              "dc.w COLOR30,$0001\ndc.w COLOR31,$0f87\n");
    const QString over = ColourCode::paletteCode(ocsCopper, 0, 0, Colour::amigaDefaults(64));
    EXPECT_EQ(over.count("\n"), 33);
    EXPECT_TRUE(over.endsWith(
        "dc.w COLOR31,$0aaa\n"
        "; OCS/ECS have no colour register after COLOR31: left out from entry 32 on\n"));
}

TEST(ColourCode, RainbowWaitsAndColours) {
    const QList<Colour> entries = {rgb(0x12, 0x34, 0x56), rgb(0xff, 0xff, 0xff), rgb(0, 0, 0)};
    EXPECT_EQ(ColourCode::rainbowCode(agaCopper, 0x2c, entries, {4, 4, 0}), "dc.w $2c01,$fffe\n"
                                                                            "dc.w BPLCON3,$0000\n"
                                                                            "dc.w COLOR00,$0135\n"
                                                                            "dc.w BPLCON3,$0200\n"
                                                                            "dc.w COLOR00,$0246\n"
                                                                            "dc.w $3001,$fffe\n"
                                                                            "dc.w BPLCON3,$0000\n"
                                                                            "dc.w COLOR00,$0fff\n"
                                                                            "dc.w BPLCON3,$0200\n"
                                                                            "dc.w COLOR00,$0fff\n"
                                                                            "dc.w $3401,$fffe\n"
                                                                            "dc.w BPLCON3,$0000\n"
                                                                            "dc.w COLOR00,$0000\n"
                                                                            "dc.w BPLCON3,$0200\n"
                                                                            "dc.w COLOR00,$0000\n");
    EXPECT_EQ(ColourCode::rainbowCode(ocsCopper, 0, entries, {1}),
              "dc.w $0001,$fffe\ndc.w COLOR00,$0135\n"
              "dc.w $0101,$fffe\ndc.w COLOR00,$0fff\n"
              "dc.w $0101,$fffe\ndc.w COLOR00,$0000\n");
    // A rainbow is copper data: nothing without copper instructions.
    EXPECT_EQ(ColourCode::rainbowCode(agaCpu, 0x2c, entries, {4, 4, 0}), "");
    EXPECT_EQ(ColourCode::rainbowCode(ocsCpu, 0x2c, entries, {4, 4, 0}), "");
    EXPECT_EQ(ColourCode::rainbowCode(agaCopper, 0x2c, {}, {}), "");
}

TEST(ColourCode, RainbowPastLineFfWaitsForTheEndOfLineFfFirst) {
    const QList<Colour> entries = Colour::amigaDefaults(4);
    EXPECT_EQ(ColourCode::rainbowCode(ocsCopper, 0xf0, entries, {0x10, 0x1a, 0x100, 1}),
              "dc.w $f001,$fffe\ndc.w COLOR00,$0000\n"
              "dc.w $ffdf,$fffe\n"
              "dc.w $0001,$fffe\ndc.w COLOR00,$0999\n"
              "dc.w $1a01,$fffe\ndc.w COLOR00,$0555\n"
              "; no display line $21a for a copper WAIT: left out from entry 3 on\n");
}
