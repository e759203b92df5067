// The copper over a PAL or NTSC frame. Expected colours are worked out by hand from the words;
// the beam positions follow the Hardware Reference Manual ("Copper Instructions", "Beam
// position": 312 PAL lines, 262 NTSC lines, horizontal positions up to $e2, line $100 compares
// as $00).
#include <amiga/copperframe.h>

#include "case_table.h"

#include <gtest/gtest.h>
#include <vector>

using namespace amiga;

namespace {

using FrameChipset = CopperFrame::Chipset;
using Stop = CopperFrame::Stop;

constexpr Rgb8 kRed{0xff, 0, 0};
constexpr Rgb8 kBlue{0, 0, 0xff};

// The line where colour register index first shows colour, from line `from` on; -1 for never.
int firstLineWith(const CopperFrame &frame, int index, Rgb8 colour, int from = 0) {
    for (int line = from; line < frame.lineCount(); ++line) {
        if (frame.colour(line, index) == colour)
            return line;
    }
    return -1;
}

} // namespace

TEST(CopperFrame, TheFrameEndsAfterItsLastLine) {
    // After the end of line $ff, line $37 stands for $137, the last PAL line; $38 would be $138.
    // An NTSC frame ends after line $105 (262 lines).
    const struct {
        int lines;
        std::uint16_t last;
    } frames[] = {{CopperFrame::kLines, 0x37}, {CopperFrame::kNtscLines, 0x05}};
    for (const auto &f : frames) {
        CopperFrame frame(FrameChipset::Ocs, CopperFrame::kPictureStart, f.lines);
        const auto wait = [](int low) { return static_cast<std::uint16_t>(low << 8 | 0x01); };
        frame.run(Words{0xffdf, 0xfffe, wait(f.last), 0xff00, 0x0180, 0x0fff, wait(f.last + 1),
                        0xff00, 0x0180, 0x0f00, 0xffff, 0xfffe});
        EXPECT_EQ(frame.lineCount(), f.lines);
        EXPECT_EQ(firstLineWith(frame, 0, {0xff, 0xff, 0xff}), 0x100 + f.last) << f.lines;
        EXPECT_EQ(frame.stop(), Stop::NeverReached) << f.lines;
        EXPECT_EQ(frame.stopInstruction(), 3u) << f.lines;
        EXPECT_EQ(frame.stopLine(), 0x100 + f.last) << f.lines;
        EXPECT_EQ(frame.finalColours()[0], (Rgb8{0xff, 0xff, 0xff})) << f.lines;
    }
}

// The lists of data/copperframe.txt, each with the line where a colour first shows.
TEST(CopperFrame, WhenTheWaitsAndSkipsLetAWriteShow) {
    const auto table = casetable::rows("copperframe.txt", "waits and skips");
    EXPECT_EQ(table.size(), 13u);
    CopperFrame frame(FrameChipset::Ocs); // one frame for every run
    for (const casetable::Row &c : table) {
        Words list = casetable::words(c.at(1));
        list.insert(list.end(), {0xffff, 0xfffe});
        frame.run(list);
        EXPECT_EQ(firstLineWith(frame, 0, casetable::rgb(c.at(2))),
                  c.at(3) == "never" ? -1 : static_cast<int>(casetable::number(c[3])))
            << c[0];
    }
}

TEST(CopperFrame, AgaBanksAndHalvesFollowBplcon3) {
    Words list;
    for (const casetable::Row &c : casetable::rows("copperframe.txt", "banks and halves list"))
        for (const std::uint16_t w : casetable::words(c.at(0)))
            list.push_back(w);
    list.insert(list.end(), {0xffff, 0xfffe});
    CopperFrame aga(FrameChipset::Aga), ocs(FrameChipset::Ocs);
    for (CopperFrame *frame : {&aga, &ocs}) {
        frame->setInitialColours(std::vector<Rgb8>(256, Rgb8{0x12, 0x34, 0x56}));
        frame->run(list);
    }
    ASSERT_EQ(aga.colourCount(), 256);
    ASSERT_EQ(ocs.colourCount(), 32);
    for (const casetable::Row &c : casetable::rows("copperframe.txt", "banks and halves"))
        EXPECT_EQ((c.at(0) == "aga" ? aga : ocs).finalColours()[std::stoul(c.at(1))],
                  casetable::rgb(c.at(2)))
            << c[0] << " " << c[1];
    EXPECT_EQ(aga.line(0x137)[255], (Rgb8{0xad, 0xbe, 0xcf}));
}

TEST(CopperFrame, HowARunEnds) {
    CopperFrame frame(FrameChipset::Ocs);
    // No end of list: the copper runs out of words (an odd last word is not an instruction).
    frame.run(Words{0x0180, 0x0f00, 0x0182});
    EXPECT_EQ(frame.stop(), Stop::OutOfWords);
    EXPECT_EQ(frame.stopInstruction(), 1u);
    EXPECT_EQ(frame.colour(0, 0), kRed);

    // A WAIT for horizontal $e4 on line $ff is never reached.
    frame.run(Words{0xffe5, 0xfffe, 0x0180, 0x0f00});
    EXPECT_EQ(frame.stop(), Stop::NeverReached);
    EXPECT_EQ(firstLineWith(frame, 0, kRed), -1);

    // More MOVEs than a frame has time for: 4 colour clocks each, 312 x 227 clocks a frame.
    const Words moves(2 * 20000, 0);
    frame.run(moves);
    EXPECT_EQ(frame.stop(), Stop::EndOfFrame);
    EXPECT_EQ(frame.instructionsRun(), 312u * 227u / 4u);
    EXPECT_EQ(frame.stopLine(), CopperFrame::kLines);
}

// A colour a MOVE writes with a value the source does not give is not known from that write to
// the next known one; other registers and the lines before stay known.
TEST(CopperFrame, ColoursOfUnknownValuesAreNotKnownUntilWrittenAgain) {
    CopperFrame frame(FrameChipset::Ocs);
    // COLOR00 $f00; at line $2c COLOR00 = unknown (word 5), COLOR01 $0f0; at line $40 COLOR00 $00f.
    const Words words = {0x0180, 0x0f00, 0x2c07, 0xfffe, 0x0180, 0x0000, 0x0182,
                         0x00f0, 0x4007, 0xfffe, 0x0180, 0x000f, 0xffff, 0xfffe};
    const std::size_t unknown[] = {5};
    frame.run(words, unknown);
    struct Case {
        int line, index;
        bool known;
    } cases[] = {
        {0x2b, 0, true}, {0x2d, 0, false}, {0x3f, 0, false}, {0x2d, 1, true}, {0x41, 0, true}};
    for (const Case &c : cases)
        EXPECT_EQ(frame.colourKnown(c.line, c.index), c.known) << c.line << " " << c.index;
    EXPECT_EQ(frame.colour(0x41, 0), kBlue);
    frame.run(words);
    EXPECT_TRUE(frame.colourKnown(0x2d, 0));
}
