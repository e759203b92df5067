// The Copper tab's output as the user pastes it: assembled exactly as shown by the m68k
// assembler in its Motorola (MRI) syntax, then run by the copper over a PAL frame.
#include "CopperToolDriver.h"

#include "QtPrinters.h"
#include "m68k_assembler.h"

#include <amiga/copperframe.h>

#include <QTest>
#include <gtest/gtest.h>
#include <vector>

namespace {

using Words = std::vector<std::uint16_t>;

class CopperAssembly : public CopperToolDriver {
protected:
    void SetUp() override {
        if (!m68k::available())
            GTEST_SKIP() << "m68k-linux-gnu-as is not installed (Debian package "
                            "binutils-m68k-linux-gnu): generated code not assembled";
        CopperToolDriver::SetUp();
    }
    // The output view's text, assembled as it stands.
    m68k::Result generateAndAssemble() { return m68k::assemble(generate().toStdString()); }
};

TEST_F(CopperAssembly, ColourPerLineExample) {
    setLines("3", "2c", "07", "ff", "fe");
    click(ui->moveAutoVerticalValueButton);
    addMove("COLOR00", "", "00");
    const m68k::Result a = generateAndAssemble();
    ASSERT_TRUE(a.words) << a.messages;
    EXPECT_EQ(a.messages, "");
    EXPECT_EQ(*a.words, (Words{0x2c07, 0xfffe, 0x0180, 0x2c00, 0x2d07, 0xfffe, 0x0180, 0x2d00,
                               0x2e07, 0xfffe, 0x0180, 0x2e00}));
}

TEST_F(CopperAssembly, MoveAndWaitExample) {
    setLines("1", "2c", "07", "ff", "fe");
    addMove("COLOR00", "0f", "00");
    addWait("00", "e1", "ff", "fe");
    addMove("$182", "0", "f");
    addMove(" dff1f0 ", "12", "34"); // no name: printed as its offset
    const m68k::Result a = generateAndAssemble();
    ASSERT_TRUE(a.words) << a.messages;
    EXPECT_EQ(a.messages, "");
    EXPECT_EQ(*a.words, (Words{0x2c07, 0xfffe, 0x0180, 0x0f00, 0x2ce1, 0xfffe, 0x0182, 0x000f,
                               0x01f0, 0x1234}));
}

TEST_F(CopperAssembly, WaitsStayWaitsWhateverTheFieldsHold) {
    // The preset fields of old gave $2c00,$fffe, a MOVE to BLTDDAT; a horizontal mask of ff
    // gave a SKIP. Every pair meant as a WAIT is one.
    setLines("1", "2c", "00", "ff", "ff");
    addWait("", "", "", "");
    addWait("10", "06", "ff", "ff");
    click(ui->waitSkipButton);
    addWait("20", "e1", "ff", "fe");
    const m68k::Result a = generateAndAssemble();
    ASSERT_TRUE(a.words) << a.messages;
    EXPECT_EQ(*a.words, (Words{0x2c01, 0xfffe, 0x2c01, 0x0000, 0x3c07, 0xfffe, 0x4ce1, 0xffff}));
    const Words &w = *a.words;
    for (std::size_t i = 0; i < 6; i += 2)
        EXPECT_EQ(amiga::decode({w[i], w[i + 1]}).op, amiga::CopperOp::Wait) << i;
    EXPECT_EQ(amiga::decode({w[6], w[7]}).op, amiga::CopperOp::Skip);
}

TEST_F(CopperAssembly, ARunPastLineFfWrapsAndStopsAtTheEndOfTheFrame) {
    // 300 lines from $2c with COLOR00 following the line. Pasted, the words run by the copper
    // give each line $2c-$137 its own colour, line $12c included, where without the wait for
    // the end of line $ff the copper would not have waited.
    setLines("300", "2c", "07", "ff", "fe");
    click(ui->moveAutoVerticalValueButton);
    addMove("color00", "", "0f");
    const m68k::Result a = generateAndAssemble();
    ASSERT_TRUE(a.words) << a.messages;
    EXPECT_EQ(a.messages, "");
    // 268 lines of WAIT and MOVE, and the wait for the end of line $ff.
    ASSERT_EQ(a.words->size(), 268u * 4 + 2);
    Words list = *a.words;
    list.push_back(0xffff);
    list.push_back(0xfffe);

    amiga::CopperFrame frame(amiga::CopperFrame::Chipset::Ocs);
    frame.run(list);
    EXPECT_EQ(frame.stop(), amiga::CopperFrame::Stop::EndOfList);
    for (int line = 0; line < amiga::CopperFrame::kLines; ++line) {
        // The MOVE writes $LL0f: red is the line's low nibble, blue $f; black before line $2c.
        const amiga::Rgb8 expected =
            line < 0x2c ? amiga::Rgb8{0, 0, 0}
                        : amiga::Rgb8{static_cast<std::uint8_t>((line & 0xf) * 0x11), 0, 0xff};
        ASSERT_EQ(frame.colour(line, 0), expected) << "line " << line;
    }
}

TEST_F(CopperAssembly, WarningsAndCommentsAssembleToNothing) {
    setLines("1", "2c", "07", "ff", "fe");
    addMove("COPCON", "00", "02");
    addMove("BLTCON0", "09", "f0");
    const QString text = generate();
    EXPECT_TRUE(text.startsWith("; COPCON ($02e)")) << text.toStdString();
    const m68k::Result a = m68k::assemble(text.toStdString());
    ASSERT_TRUE(a.words) << a.messages;
    EXPECT_EQ(*a.words, (Words{0x2c07, 0xfffe, 0x002e, 0x0002, 0x0040, 0x09f0}));
}

} // namespace
