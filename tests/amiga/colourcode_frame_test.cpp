// The colour code does on the copper what it says: the text as the Colour tab prints it is
// assembled, run over a PAL frame by the copper model, and every line's colour registers are
// compared with the bands and palettes worked out here from the entries.
#include <amiga/colourcode.h>
#include <amiga/copperframe.h>

#include "assembled_copper_list.h"
#include "m68k_assembler.h"

#include <gtest/gtest.h>

using namespace amiga;

namespace {

std::vector<Rgb8> ramp(int count, int seed) {
    std::vector<Rgb8> colours;
    for (int i = 0; i < count; ++i)
        colours.push_back({static_cast<std::uint8_t>(i * 37 + seed),
                           static_cast<std::uint8_t>(255 - i * 11 - seed),
                           static_cast<std::uint8_t>(i * 91 ^ seed)});
    return colours;
}

} // namespace

TEST(ColourCodeOnTheCopper, RainbowBandsStandOnTheLinesTheEntriesAskFor) {
    if (!m68k::available())
        GTEST_SKIP() << "m68k-linux-gnu-as is not installed";
    // Bands that cross the $ff/$100 wrap; the last entry runs to the end of the frame.
    const std::vector<Rgb8> colours = ramp(6, 3);
    const std::vector<int> heights = {40, 100, 1, 60, 30, 0};
    const int start = 0x2c;
    for (const bool aga : {true, false}) {
        SCOPED_TRACE(aga ? "AGA" : "OCS");
        const std::string text = rainbowCode({aga, true}, start, colours, heights);
        CopperFrame frame(aga ? CopperFrame::Chipset::Aga : CopperFrame::Chipset::Ocs);
        frame.run(assembledCopperList(text));
        EXPECT_EQ(frame.stop(), CopperFrame::Stop::EndOfList);
        int line = start;
        for (std::size_t i = 0; i < colours.size(); ++i) {
            const int end = i + 1 < colours.size() ? line + heights[i] : CopperFrame::kLines;
            const Rgb8 expected = aga ? colours[i] : toTwelveBit(colours[i]);
            for (int l = line; l < end; ++l)
                ASSERT_EQ(frame.colour(l, 0), expected) << "entry " << i << " line " << l;
            line = end;
        }
        for (int l = 0; l < start; ++l)
            ASSERT_EQ(frame.colour(l, 0), Rgb8{}) << "line " << l;
    }
}

TEST(ColourCodeOnTheCopper, PalettesFillTheirRegistersForTheWholeFrame) {
    if (!m68k::available())
        GTEST_SKIP() << "m68k-linux-gnu-as is not installed";
    struct Case {
        bool aga;
        int bank, colourRegister, count;
    } cases[] = {{true, 0, 0, 32}, {true, 2, 5, 100}, {true, 0, 0, 256}, {false, 0, 3, 16}};
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << (c.aga ? "AGA" : "OCS") << " bank " << c.bank
                                        << " register " << c.colourRegister << " x" << c.count);
        const std::vector<Rgb8> colours = ramp(c.count, c.bank);
        CopperFrame frame(c.aga ? CopperFrame::Chipset::Aga : CopperFrame::Chipset::Ocs);
        frame.run(
            assembledCopperList(paletteCode({c.aga, true}, c.bank, c.colourRegister, colours)));
        EXPECT_EQ(frame.stop(), CopperFrame::Stop::EndOfList);
        // 256 AGA colours take two MOVEs each, about ten lines of copper time: from line 16 on
        // every register holds its colour.
        const int first = c.bank * 32 + c.colourRegister;
        for (int l = 16; l < CopperFrame::kLines; l += 37) {
            for (int i = 0; i < c.count; ++i) {
                const Rgb8 expected = c.aga ? colours[i] : toTwelveBit(colours[i]);
                ASSERT_EQ(frame.colour(l, first + i), expected) << "line " << l << " entry " << i;
            }
        }
    }
}

TEST(ColourCodeOnTheCopper, LineChangesThatDoNotFitBeforeTheWindowAreNamed) {
    if (!m68k::available())
        GTEST_SKIP() << "m68k-linux-gnu-as is not installed";
    // Per display line, a number of changes around what fits between the WAIT (horizontal $e0
    // of the line before) and the window's left edge, colour clock $40: OCS 16 MOVEs; AGA two
    // MOVEs a colour plus BPLCON3 for the bank and for LOCT before the last colour's MOVE, so 7
    // colours fit and 8 do not. The note must count exactly the lines the copper shows wrong;
    // line 0 is set in the vertical blank, where nothing shows.
    struct Case {
        bool aga;
        std::vector<std::pair<long, int>> lines; // display line, colours changed on it
        const char *note;
    } cases[] = {
        {false,
         {{0, 20}, {0x2c, 16}, {0x2d, 17}, {0x30, 15}, {0x31, 18}},
         "2 lines need more than the 16 MOVEs that fit before the window's left edge: from "
         "line $2d on, the last colours of such a line change where it shows"},
        {true,
         {{0x40, 7}, {0x41, 8}},
         "1 line needs more than the 16 MOVEs that fit before the window's left edge: from "
         "line $41 on, the last colours of such a line change where it shows"},
        {true, {{0x40, 7}, {0x60, 1}}, ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.aga ? "AGA" : "OCS");
        std::vector<LineColour> changes;
        for (const auto &[line, count] : c.lines)
            for (int i = 0; i < count; ++i)
                changes.push_back({line,
                                   i,
                                   {static_cast<std::uint8_t>(0x11 * (i % 15 + 1)),
                                    static_cast<std::uint8_t>(line), 0x22}});
        std::string note = "unset";
        const std::string text = lineColoursCode({c.aga, true}, changes, &note);
        EXPECT_EQ(note, c.note);
        if (!note.empty())
            EXPECT_NE(text.find("; " + note), std::string::npos) << text;
        CopperFrame frame(c.aga ? CopperFrame::Chipset::Aga : CopperFrame::Chipset::Ocs);
        frame.run(assembledCopperList(text));
        ASSERT_EQ(frame.stop(), CopperFrame::Stop::EndOfList);
        int wrong = 0;
        for (const auto &[line, count] : c.lines) {
            if (line == 0)
                continue;
            bool whole = true;
            for (const LineColour &change : changes)
                if (change.line == line)
                    whole = whole && frame.colour(static_cast<int>(line), change.colourRegister) ==
                                         (c.aga ? change.colour : toTwelveBit(change.colour));
            wrong += whole ? 0 : 1;
        }
        EXPECT_EQ(wrong, note.empty() ? 0 : note[0] - '0');
    }
}
