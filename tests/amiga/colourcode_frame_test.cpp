// Colour changes line by line on the copper: the code is assembled and run over a PAL frame by
// the copper model, and the lines whose colours do not all change before the window's left edge
// are the lines its note counts. (The colour, palette and rainbow texts, character for character,
// are colourcode_test.cpp's.)
#include <amiga/colourcode.h>
#include <amiga/copperframe.h>

#include "assembled_copper_list.h"
#include "m68k_assembler.h"

#include <gtest/gtest.h>

using namespace amiga;

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
        if (!note.empty()) {
            EXPECT_NE(text.find("; " + note), std::string::npos) << text;
        }
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
