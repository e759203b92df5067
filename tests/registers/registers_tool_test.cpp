// The Registers tool's rules and texts as tables on RegistersTool, without widgets. Words are
// worked out by hand from the bit numbers (bit 0 the least significant); the code line's text
// itself is the amiga library's (tests/amiga).
#include "registers/RegisterDatabase.h"
#include "registers/RegistersTool.h"

#include "QtPrinters.h"
#include <amiga/registercode.h>
#include <gtest/gtest.h>

namespace {

// GROUPS: bits 12-14 make BPU (0-2), bits 0-3 LOW, bits 5 and 6 GAP at positions 1 and 2 (none
// at 0); bit 9 is AGA only; bit 7's function is "A&B". PLAIN: no groups. WIDE is AGA only.
std::string testDatabase() {
    std::string xml = "<registers><register name=\"GROUPS\"><address>dff100</address>"
                      "<summary>Grouped</summary><note>The note</note>";
    for (int i = 0; i < 16; ++i) {
        const std::string n = std::to_string(i);
        std::string attributes =
            "position=\"" + n + "\" function=\"" + (i == 7 ? "A&amp;B" : "B" + n) + "\"";
        if (i >= 12 && i <= 14)
            attributes += " group=\"BPU\" group-position=\"" + std::to_string(i - 12) + "\"";
        else if (i <= 3)
            attributes += " group=\"LOW\" group-position=\"" + n + "\"";
        else if (i == 5 || i == 6)
            attributes += " group=\"GAP\" group-position=\"" + std::to_string(i - 4) + "\"";
        if (i == 9)
            attributes += " chipset=\"aga\"";
        xml += "<bit " + attributes + ">Description " + n + "</bit>";
    }
    xml += "</register>";
    for (const char *name : {"PLAIN", "WIDE"}) {
        xml += std::string("<register name=\"") + name + "\"" +
               (std::string(name) == "WIDE" ? " chipset=\"aga\"" : "") +
               "><address>dff1fc</address><summary>S</summary>";
        for (int i = 0; i < 16; ++i)
            xml += "<bit function=\"P" + std::to_string(i) + "\">d</bit>";
        xml += "</register>";
    }
    return xml + "</registers>";
}

RegistersTool toolOf(const std::string &xml) {
    RegistersTool tool;
    std::string error;
    tool.setRegisters(
        RegisterDatabase::registersOf(amiga::readRegisterDatabase(xml, &error), tool.chipset));
    EXPECT_EQ(error, "");
    return tool;
}

RegistersTool realTool() {
    RegistersTool tool;
    tool.setRegisters(RegisterDatabase::read());
    return tool;
}

} // namespace

TEST(RegistersToolTest, TheWordInThreeBasesAndTheGroupsValue) {
    struct Case {
        std::uint16_t word;
        const char *group;
        const char *results; // low, high, word: decimal, hex, binary; then the group's
    } cases[] = {
        {0x0000, "LOW", "0 0x00 00000000 0 0x00 00000000 0 0x0000 0000000000000000 0 0x0000 0000"},
        {0x8001, "LOW",
         "1 0x01 00000001 128 0x80 10000000 32769 0x8001 1000000000000001 1 0x0001 0001"},
        // BPU takes bits 12-14 only, whatever the other groups hold.
        {0x307f, "BPU",
         "127 0x7f 01111111 48 0x30 00110000 12415 0x307f 0011000001111111 3 0x0003 011"},
        // GAP has positions 1 and 2 but none at 0: counted, with no binary digits.
        {0x0060, "GAP", "96 0x60 01100000 0 0x00 00000000 96 0x0060 0000000001100000 6 0x0006 "},
    };
    RegistersTool tool = toolOf(testDatabase());
    ASSERT_TRUE(tool.show("GROUPS"));
    EXPECT_EQ(tool.groups(), QStringList({"LOW", "GAP", "BPU"}));
    for (const Case &c : cases) {
        tool.word = c.word;
        tool.group = c.group;
        EXPECT_EQ((tool.results() + tool.groupResults()).join(' '), c.results) << c.word;
    }
    tool.group.clear(); // no group, nothing to show
    EXPECT_TRUE(tool.groupResults().isEmpty());
    tool.seekGoal("$5200"); // RegisterWord's table holds the goal texts
    EXPECT_EQ(tool.word, 0x5200);
}

TEST(RegistersToolTest, ARegisterIsShownByItsNameOrTheStartOfIt) {
    RegistersTool tool = toolOf(testDatabase());
    EXPECT_EQ(tool.shown, nullptr);
    const std::pair<const char *, int> typed[] = {{"wide", 2}, {" Groups ", 0}, {"P", 1},
                                                  {"W", 2},    {"NOSUCH", -1},  {"", -1}};
    for (const auto &[name, index] : typed)
        EXPECT_EQ(tool.indexOfTyped(name), index) << name;
    tool.word = 0x1234;
    EXPECT_FALSE(tool.show("NOSUCH"));
    EXPECT_EQ(tool.word, 0x1234); // nothing changes
    ASSERT_TRUE(tool.show("PLAIN"));
    EXPECT_EQ(tool.word, 0); // a register shows with all bits off
    EXPECT_TRUE(tool.groups().isEmpty());

    // A whole name goes before a longer one that starts with it.
    RegistersTool real = realTool();
    const int bplcon1 = real.indexOfTyped("bplcon1");
    ASSERT_GE(bplcon1, 0);
    EXPECT_EQ(real.registers[bplcon1]->name, "BPLCON1");
}

TEST(RegistersToolTest, AnotherChipsetNamesTheBitsItsWayAndKeepsTheWord) {
    // BPLCON1 on ECS: bits 3-0 are PF1H3-0 and bits 15-8 unused (Hardware Reference Manual); on
    // AGA bit 0 is PF1H2 and bit 8 PF1H0 (AGA documentation).
    RegistersTool tool = realTool();
    ASSERT_TRUE(tool.show("BPLCON1"));
    tool.word = 0xff11;
    EXPECT_EQ(tool.bitLabel(0).title, "PF1H2");
    tool.setChipset(amiga::Chipset::Ecs);
    EXPECT_EQ(tool.word, 0xff11);
    ASSERT_NE(tool.shown, nullptr);
    EXPECT_EQ(tool.bitLabel(0).title, "PF1H0");
    EXPECT_EQ(tool.bitLabel(8).title, "unused");
    EXPECT_EQ(tool.shown->chipset(), amiga::Chipset::Ecs);
}

TEST(RegistersToolTest, SetAndClearApplyOnlyToRegistersThatHaveThem) {
    struct Case {
        const char *name;
        bool clear;
        amiga::SetClear mode;
    } cases[] = {
        {"DMACON", false, amiga::SetClear::Set},
        {"DMACON", true, amiga::SetClear::Clear},
        {"INTENA", true, amiga::SetClear::Clear},
        {"BPLCON0", true, amiga::SetClear::AsGiven},
    };
    RegistersTool tool = realTool();
    EXPECT_EQ(tool.code(), ""); // no register shown
    for (const Case &c : cases) {
        ASSERT_TRUE(tool.show(c.name));
        tool.word = 0x8380;
        tool.clear = c.clear;
        tool.copper = c.clear;
        EXPECT_EQ(tool.setClearAllowed(), c.mode != amiga::SetClear::AsGiven) << c.name;
        EXPECT_EQ(tool.code().toStdString(),
                  amiga::registerWriteCode(tool.shown->layout(), 0x8380, c.mode, c.clear))
            << c.name;
    }
}

TEST(RegistersToolTest, EachBitButtonSaysWhatTheBitIs) {
    struct Case {
        const char *shown; // nullptr: no register
        int bit;
        const char *title, *toolTip, *accessibleName, *accessibleDescription;
        bool italic;
    } cases[] = {
        {"GROUPS", 9, "B9", "<p><b>Bit 9: B9</b> AGA only<br>Description 9</p>", "Bit 9 B9",
         "AGA only. Description 9", true},
        {"GROUPS", 13, "B13", "<p><b>Bit 13: B13</b> (BPU, bit 1)<br>Description 13</p>",
         "Bit 13 B13", "Bit 1 of group BPU. Description 13", false},
        // A title shows an ampersand doubled; a tooltip escapes it.
        {"GROUPS", 7, "A&&B", "<p><b>Bit 7: A&amp;B</b><br>Description 7</p>", "Bit 7 A&B",
         "Description 7", false},
        {nullptr, 7, "Bit 7", "Bit 7", "Bit 7", "", false},
    };
    for (const Case &c : cases) {
        RegistersTool tool = toolOf(testDatabase());
        if (c.shown)
            tool.show(c.shown);
        const RegistersTool::BitLabel label = tool.bitLabel(c.bit);
        EXPECT_EQ(label.title, c.title) << c.bit;
        EXPECT_EQ(label.toolTip, c.toolTip) << c.bit;
        EXPECT_EQ(label.accessibleName, c.accessibleName) << c.bit;
        EXPECT_EQ(label.accessibleDescription, c.accessibleDescription) << c.bit;
        EXPECT_EQ(label.italic, c.italic) << c.bit;
    }
}

TEST(RegistersToolTest, TheBlitterTakesPresetsAndTypedFunctions) {
    // Presets: function, channels, fill; a fill runs descending whatever was chosen. Minterms
    // by hand from the function over A $f0, B $cc, C $aa.
    struct Preset {
        int index;
        const char *minterms, *channels;
        int fill;
        bool descending;
    } presets[] = {
        {1, "LF $f0", "AD", 0, false},   // copy A to D
        {2, "LF $00", "D", 0, false},    // clear D
        {3, "LF $ca", "ABCD", 0, false}, // cookie-cut AB+!AC
        {4, "LF $f0", "AD", 1, true},    // area fill of A
    };
    for (const Preset &p : presets) {
        RegistersTool::Blitter blit;
        ASSERT_TRUE(blit.choosePreset(p.index));
        const amiga::blitter::Channels &ch = blit.channels;
        const std::string channels = std::string(ch.a ? "A" : "") + (ch.b ? "B" : "") +
                                     (ch.c ? "C" : "") + (ch.d ? "D" : "");
        EXPECT_EQ(blit.minterms(), p.minterms) << p.index;
        EXPECT_EQ(channels, p.channels) << p.index;
        EXPECT_EQ(blit.fill, p.fill) << p.index;
        EXPECT_EQ(blit.descending, p.descending) << p.index;
        EXPECT_EQ(blit.descendingAllowed(), p.fill == 0) << p.index;
        EXPECT_EQ(blit.fillCarryInAllowed(), p.fill != 0) << p.index;
        EXPECT_EQ(blit.preset, p.index);
    }
    RegistersTool::Blitter blit;
    EXPECT_FALSE(blit.choosePreset(0));
    EXPECT_FALSE(blit.choosePreset(5));

    // A typed function: "Custom", the channels it reads; one that cannot be read has no code.
    blit.choosePreset(4);
    blit.function = "A|B";
    blit.functionEdited();
    EXPECT_EQ(blit.preset, 0);
    EXPECT_EQ(blit.minterms(), "LF $fc");
    EXPECT_TRUE(blit.channels.a && blit.channels.b && !blit.channels.c);
    blit.function = "A|B+";
    blit.functionEdited();
    EXPECT_TRUE(blit.channels.a && blit.channels.b); // as they were
    EXPECT_TRUE(blit.minterms().startsWith("Cannot read: ")) << blit.minterms().toStdString();
    EXPECT_EQ(blit.code(), "");

    // Every field reaches the blit the code is written from.
    blit.function = " AB+!AC ";
    blit.channels = {true, true, true, true};
    blit.aShift = 4;
    blit.bShift = 3;
    blit.fill = 2;
    blit.fillCarryIn = true;
    blit.descending = true;
    blit.widthWords = 4;
    blit.heightLines = 20;
    blit.copper = true;
    amiga::blitter::Blit expected;
    expected.minterms = 0xca;
    expected.function = "AB+!AC";
    expected.channels = blit.channels;
    expected.aShift = 4;
    expected.bShift = 3;
    expected.fill = amiga::blitter::Fill::Exclusive;
    expected.fillCarryIn = true;
    expected.descending = true;
    expected.widthWords = 4;
    expected.heightLines = 20;
    EXPECT_EQ(blit.code().toStdString(), amiga::blitter::blitterCode(expected, true));
}
