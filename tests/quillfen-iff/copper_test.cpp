// quillfen-iff copper: the palette changes of a picture as a copper list, assembled as printed and
// run through the copper model, give every line of the display the registers the picture shows on
// it. Reading SHAM and PCHG is the picture library's (tests/picture/linecolours_test.cpp).
#include "assembled_copper_list.h"
#include "testing.h"

#include <amiga/copperframe.h>
#include <picture/linecolours.h>

#include <random>

using namespace ifftool;
using namespace iffbytes;

namespace {

// PCHG data of 24-bit colours (the big form) changing `perLine` random registers of 256 on each
// of lines.
Bytes pchgOf(std::mt19937 &random, unsigned height, const std::vector<unsigned> &lines,
             unsigned perLine) {
    PchgHeader h;
    h.flags = 2;
    h.lineCount = static_cast<std::uint16_t>(height);
    h.changedLines = static_cast<std::uint16_t>(lines.size());
    h.maxReg = 255;
    h.maxChanges = static_cast<std::uint16_t>(perLine);
    h.totalChanges = static_cast<std::uint32_t>(lines.size() * perLine);
    Bytes mask((height + 31) / 32 * 4, 0);
    Bytes changes;
    for (unsigned line : lines) {
        mask[line / 8] = static_cast<unsigned char>(mask[line / 8] | 0x80 >> line % 8);
        append(changes, {0, static_cast<unsigned char>(perLine)});
        for (unsigned c = 0; c < perLine; c++) {
            append(changes, cat({be16(static_cast<std::uint16_t>(random() % 256)), {0}}));
            for (int gun = 0; gun < 3; gun++)
                changes.push_back(static_cast<unsigned char>(random()));
        }
    }
    return pchg(h, cat({mask, changes}));
}

} // namespace

TEST(QuillfenIffCopper, TheListGivesEachLineThePicturesPalette) {
    if (!m68k::available())
        GTEST_SKIP() << "m68k-linux-gnu-as is not installed";
    // An interlaced picture (CAMG LACE, $4) of 16 lines whose PCHG changes 24-bit colours of
    // registers up to 255: two of its lines on each display line from --top $30, on AGA. At most
    // three changes a display line: their MOVEs end before the line's colours are read.
    std::mt19937 random(5);
    std::vector<std::uint32_t> colours; // 12-bit colours, each gun n x 17
    for (unsigned i = 0; i < 256; i++)
        colours.push_back((random() & 0x0f0f0f) * 17);
    const unsigned top = 0x30, perLine = 2, height = 16;
    Folder folder;
    const std::string path = folder.file("p.iff");
    ASSERT_TRUE(save(
        path,
        group("FORM", "ILBM",
              {bmhd(16, height, 8), picturetest::cmapOf(colours), picturetest::camgOf(0x4),
               pchgOf(random, height, {0, 5, 8, 15}, 3),
               chunk("BODY", picturetest::interleavedBody(
                                 16, height, 8, std::vector<std::uint32_t>(16 * height, 1)))})));
    const testprogram::Outcome run = tool("copper --top 30 " + path);
    ASSERT_EQ(run.status, 0) << run.err;
    std::string error;
    const auto shown = picture::readPictureFile(path, &error);
    ASSERT_TRUE(shown) << error;

    amiga::CopperFrame frame(amiga::CopperFrame::Chipset::Aga);
    frame.setInitialColours(shown->palette);
    frame.run(assembledCopperList(run.out));
    ASSERT_EQ(frame.stop(), amiga::CopperFrame::Stop::EndOfList);
    for (unsigned y = 0; y < height; y += perLine) {
        // The display line shows the registers after the last of its picture lines.
        const std::vector<amiga::Rgb8> expected = picture::linePalette(*shown, y + perLine - 1);
        const auto registers = frame.line(static_cast<int>(top + y / perLine));
        for (size_t r = 0; r < registers.size(); r++)
            ASSERT_EQ(registers[r], expected[r]) << "line " << y << " register " << r;
    }
}

TEST(QuillfenIffCopper, ALineWithMoreChangesThanFitIsNamedInAWarning) {
    // Nine 24-bit changes on line 5 take 18 MOVEs and more: more than fit before the window's
    // left edge. The list is still written; its closing comment (the library's sentence, checked
    // there) is the warning too, naming line $35 (--top $30 + 5).
    std::mt19937 random(7);
    Folder folder;
    const std::string path = folder.file("p.iff");
    ASSERT_TRUE(save(path, group("FORM", "ILBM",
                                 {bmhd(16, 8, 1), picturetest::cmapOf({0, 0xffffff}),
                                  pchgOf(random, 8, {5}, 9), chunk("BODY", Bytes(2 * 8, 0))})));
    const testprogram::Outcome run = tool("copper --top 30 " + path);
    EXPECT_EQ(run.status, 0) << run.err;
    const std::size_t last = run.out.rfind("\n; ", run.out.size() - 2);
    ASSERT_NE(last, std::string::npos) << run.out;
    const std::string note = run.out.substr(last + 3);
    EXPECT_NE(note.find("from line $35 on"), std::string::npos) << note;
    EXPECT_EQ(run.err, "quillfen-iff copper: " + path + ": " + note);
}
