// The Copper tool's code as the user pastes it: assembled exactly as shown by the m68k assembler
// in its Motorola (MRI) syntax. (What the copper makes of such words across line $ff and the end
// of the frame is the frame model's: tests/amiga/copperframe_test.cpp.)
#include "copper/CopperTool.h"

#include "m68k_assembler.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

using Words = std::vector<std::uint16_t>;
using Move = CopperTool::MoveFields;
using Wait = CopperTool::WaitFields;

class CopperAssembly : public ::testing::Test {
protected:
    void SetUp() override {
        if (!m68k::available())
            GTEST_SKIP() << "m68k-linux-gnu-as is not installed (Debian package "
                            "binutils-m68k-linux-gnu): generated code not assembled";
    }
    // Lines from $2c, the line WAIT's fields as given.
    static void run(CopperTool &tool, const char *lines, const char *h = "07",
                    const char *hm = "fe") {
        tool.lines = lines;
        tool.firstLine = "2c";
        tool.horizontal = h;
        tool.verticalMask = "ff";
        tool.horizontalMask = hm;
    }
};

} // namespace

TEST_F(CopperAssembly, TheCodeAssemblesToTheWordsItMeans) {
    CopperTool moveAndWait, waitsStayWaits;
    // The warnings above the code are comments.
    moveAndWait.addMove(Move{"COPCON", "00", "02"});
    moveAndWait.addMove(Move{"COLOR00", "0f", "00"});
    moveAndWait.addWait(Wait{"00", "e1", "ff", "fe"});
    moveAndWait.addMove(Move{"$182", "0", "f"});
    moveAndWait.addMove(Move{" dff1f0 ", "12", "34"}); // no name: printed as its offset
    moveAndWait.addMove(Move{"BLTCON0", "09", "f0"});
    run(moveAndWait, "1");
    // Fields that once gave $2c00,$fffe (a MOVE to BLTDDAT) or a SKIP: every WAIT is one.
    waitsStayWaits.addWait(Wait{"", "", "", ""});
    waitsStayWaits.addWait(Wait{"10", "06", "ff", "ff"});
    waitsStayWaits.addWait(Wait{"20", "e1", "ff", "fe", true});
    run(waitsStayWaits, "1", "00", "ff");
    const struct {
        const CopperTool &tool;
        Words words;
    } cases[] = {
        {moveAndWait,
         {0x2c07, 0xfffe, 0x002e, 0x0002, 0x0180, 0x0f00, 0x2ce1, 0xfffe, 0x0182, 0x000f, 0x01f0,
          0x1234, 0x0040, 0x09f0}},
        {waitsStayWaits, {0x2c01, 0xfffe, 0x2c01, 0x0000, 0x3c07, 0xfffe, 0x4ce1, 0xffff}},
    };
    for (const auto &c : cases) {
        const m68k::Result a = m68k::assemble(c.tool.code());
        ASSERT_TRUE(a.words) << a.messages;
        EXPECT_EQ(a.messages, "");
        EXPECT_EQ(*a.words, c.words) << c.tool.code();
    }
}
