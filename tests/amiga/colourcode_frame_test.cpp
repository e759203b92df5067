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
