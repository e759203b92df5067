// The Copper tool's output, without its widgets: the sequence over a run of display lines.
#include "copper/CopperCode.h"
#include "copper/CopperMove.h"
#include "copper/CopperWait.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

namespace {

std::unique_ptr<CopperObject> move(const char *reg, int high, bool followsLine, int low,
                                   bool lowFollowsLine = false) {
    auto m = std::make_unique<CopperMove>();
    m->setRegisterReference(QString::fromLatin1(reg));
    m->setVerticalValue(high);
    m->setAutoVerticalValue(followsLine);
    m->setHorizontalValue(low);
    m->setAutoHorizontalValue(lowFollowsLine);
    return m;
}

std::unique_ptr<CopperObject> wait(int v, int h, int vm, int hm) {
    auto w = std::make_unique<CopperWait>();
    w->setVerticalPosition(v);
    w->setHorizontalPosition(h);
    w->setVerticalMask(vm);
    w->setHorizontalMask(hm);
    return w;
}

CopperRun lines(qint64 count, qint64 first, qint64 h = 0x07, qint64 vm = 0xff, qint64 hm = 0xfe) {
    return {count, first, h, vm, hm};
}

std::string code(const CopperRun &run, CopperSequence sequence = {}) {
    return copperCode(run, sequence);
}

CopperSequence sequenceOf(std::unique_ptr<CopperObject> a, std::unique_ptr<CopperObject> b = {}) {
    CopperSequence s;
    s.push_back(std::move(a));
    if (b)
        s.push_back(std::move(b));
    return s;
}

TEST(CopperCode, OneLinePerDisplayLine) {
    EXPECT_EQ(code(lines(3, 0x2c), sequenceOf(move("COLOR00", 0, true, 0))),
              "\tdc.w\t$2c07,$fffe,COLOR00,$2c00\n"
              "\tdc.w\t$2d07,$fffe,COLOR00,$2d00\n"
              "\tdc.w\t$2e07,$fffe,COLOR00,$2e00\n");
    EXPECT_EQ(code(lines(1, 0x2c),
                   sequenceOf(move("COLOR00", 0x0f, false, 0), wait(0, 0xe1, 0xff, 0xfe))),
              "\tdc.w\t$2c07,$fffe,COLOR00,$0f00,$2ce1,$fffe\n");
    // A low byte that follows the line takes the line's low byte, added to its own (mod 256).
    EXPECT_EQ(code(lines(2, 0xfe), sequenceOf(move("COLOR00", 0x0f, false, 0x01, true))),
              "\tdc.w\t$fe07,$fffe,COLOR00,$0fff\n"
              "\tdc.w\t$ff07,$fffe,COLOR00,$0f00\n");
    // An empty sequence leaves each line's WAIT alone on its line.
    EXPECT_EQ(code(lines(2, 0x2c)), "\tdc.w\t$2c07,$fffe\n\tdc.w\t$2d07,$fffe\n");
    for (const qint64 none : {qint64(0), qint64(-3)})
        EXPECT_EQ(code(lines(none, 0x2c), sequenceOf(move("COLOR00", 0, true, 0))), "");
}

TEST(CopperCode, TheLinesWaitIsAlwaysAWait) {
    const struct {
        qint64 h, vm, hm;
        const char *line;
    } cases[] = {
        {0x00, 0xff, 0xfe, "\tdc.w\t$2c01,$fffe\n"}, // was $2c00: a MOVE to BLTDDAT
        {0x06, 0xff, 0xfe, "\tdc.w\t$2c07,$fffe\n"},
        {0x07, 0xff, 0xff, "\tdc.w\t$2c07,$fffe\n"}, // was $ffff: a SKIP
        {0x07, 0x0f, 0xfe, "\tdc.w\t$2c07,$0ffe\n"},
        {0x07, 0xff, 0x0e, "\tdc.w\t$2c07,$ff0e\n"},
        {0x07, 0x00, 0x00, "\tdc.w\t$2c07,$0000\n"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(code(lines(1, 0x2c, c.h, c.vm, c.hm)), c.line) << c.line;
}

TEST(CopperCode, PastLineFfComesTheWaitForItsEnd) {
    EXPECT_EQ(code(lines(4, 0xfe), sequenceOf(move("COLOR00", 0, true, 0))),
              "\tdc.w\t$fe07,$fffe,COLOR00,$fe00\n"
              "\tdc.w\t$ff07,$fffe,COLOR00,$ff00\n"
              "\tdc.w\t$ffdf,$fffe\t; end of line $ff: later lines count from $00 again\n"
              "\tdc.w\t$0007,$fffe,COLOR00,$0000\n"
              "\tdc.w\t$0107,$fffe,COLOR00,$0100\n");
    // A run that starts past $ff needs it too: the list starts at the top of the frame, and
    // without it the WAIT for $105 would end on line $05.
    EXPECT_EQ(code(lines(1, 0x105)),
              "\tdc.w\t$ffdf,$fffe\t; end of line $ff: later lines count from $00 again\n"
              "\tdc.w\t$0507,$fffe\n");
}

TEST(CopperCode, LinesStopAtTheEndOfTheFrame) {
    // 300 lines from $2c: lines $2c-$137 are the 268 of them that the frame has.
    const std::string text = code(lines(300, 0x2c));
    std::vector<std::string> rows;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find('\n', start);
        rows.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    ASSERT_EQ(rows.size(), 268u + 2u);
    EXPECT_EQ(rows.front(), "\tdc.w\t$2c07,$fffe");
    EXPECT_EQ(rows[0xff - 0x2c], "\tdc.w\t$ff07,$fffe");
    EXPECT_EQ(rows[0x100 - 0x2c], "\tdc.w\t$ffdf,$fffe\t; end of line $ff: later lines count "
                                  "from $00 again");
    EXPECT_EQ(rows[rows.size() - 2], "\tdc.w\t$3707,$fffe");
    EXPECT_EQ(rows.back(), "; lines from $138 on are past the end of a PAL frame (312 lines): 32 "
                           "of the 300 lines asked for are not generated");

    // Any number of lines asked for stops there.
    const std::string huge = code(lines(std::numeric_limits<qint64>::max(), 0));
    EXPECT_EQ(std::count(huge.begin(), huge.end(), '\n'), 312 + 1 + 1);

    // An NTSC frame ends after line $105: lines $2c-$105 are 218 of the 300.
    CopperRun ntsc = lines(300, 0x2c);
    ntsc.frameLines = 262;
    const std::string shortFrame = code(ntsc);
    EXPECT_EQ(std::count(shortFrame.begin(), shortFrame.end(), '\n'), 218 + 1 + 1);
    EXPECT_NE(shortFrame.find("\tdc.w\t$0507,$fffe\n; lines from $106 on are past the end of an "
                              "NTSC frame (262 lines): 82 of the 300 lines asked for are not "
                              "generated\n"),
              std::string::npos)
        << shortFrame;
}

TEST(CopperCode, CommentsAboveForWhatTheCopperCannotDo) {
    CopperSequence sequence;
    sequence.push_back(move("COPCON", 0, false, 2));
    sequence.push_back(move("bltcon0", 0x09, false, 0xf0));
    sequence.push_back(move("COPCON", 0, false, 0));
    sequence.push_back(move("COLOR00", 0, true, 0));
    EXPECT_EQ(code(lines(2, 0x2c), std::move(sequence)),
              "; COPCON ($02e): the copper cannot write registers $000-$03e\n"
              "; BLTCON0 ($040): the copper writes registers $040-$07e only while COPCON's "
              "danger bit is set\n"
              "\tdc.w\t$2c07,$fffe,COPCON,$0002,BLTCON0,$09f0,COPCON,$0000,COLOR00,$2c00\n"
              "\tdc.w\t$2d07,$fffe,COPCON,$0002,BLTCON0,$09f0,COPCON,$0000,COLOR00,$2d00\n");

    // A WAIT of the sequence 16 lines down: from line $f0 on it is for line $100 or later,
    // before the line's own wait for the end of line $ff.
    const std::string text = code(lines(0x20, 0xe0), sequenceOf(wait(0x10, 0x07, 0xff, 0xfe)));
    EXPECT_EQ(text.substr(0, text.find('\n')),
              "; the WAIT for line $100 on line $f0 comes before the wait for the end of line "
              "$ff: the copper compares $00 and does not wait");
    const std::string late = code(lines(0x20, 0x30), sequenceOf(wait(0xff, 0x07, 0xff, 0xfe)));
    EXPECT_NE(late.find("; the WAIT for line $12f on line $30 comes before"), std::string::npos);
}

} // namespace
