// quillfen-iff copper: the palette changes of SHAM and PCHG pictures as a copper list, assembled
// as printed and run through the copper model, give every line of the display the registers the
// picture shows on it.
#include "assembled_copper_list.h"
#include "testing.h"

#include <amiga/copperframe.h>
#include <picture/linecolours.h>

#include <random>

using namespace ifftool;
using namespace iffbytes;

namespace {

// Random 12-bit colours as a CMAP (each gun n x 17, as the OCS registers show them).
std::vector<std::uint32_t> twelveBitColours(std::mt19937 &random, unsigned count) {
    std::vector<std::uint32_t> colours;
    for (unsigned i = 0; i < count; i++)
        colours.push_back((random() & 0x0f0f0f) * 17);
    return colours;
}

Bytes ilbmFile(unsigned width, unsigned height, unsigned planes, std::uint32_t camg,
               const std::vector<std::uint32_t> &colours, const Bytes &changes) {
    return group(
        "FORM", "ILBM",
        {bmhd(width, height, planes), picturetest::cmapOf(colours), picturetest::camgOf(camg),
         changes,
         chunk("BODY", picturetest::interleavedBody(
                           width, height, planes, std::vector<std::uint32_t>(width * height, 1)))});
}

// PCHG data changing `perLine` random registers (below `registers`) on each of lines.
Bytes pchgOf(std::mt19937 &random, unsigned height, const std::vector<unsigned> &lines,
             unsigned perLine, bool big, unsigned registers) {
    PchgHeader h;
    h.flags = big ? 2 : 1;
    h.lineCount = static_cast<std::uint16_t>(height);
    h.changedLines = static_cast<std::uint16_t>(lines.size());
    h.maxReg = static_cast<std::uint16_t>(registers - 1);
    h.maxChanges = static_cast<std::uint16_t>(perLine);
    h.totalChanges = static_cast<std::uint32_t>(lines.size() * perLine);
    Bytes mask((height + 31) / 32 * 4, 0);
    Bytes changes;
    for (unsigned line : lines) {
        mask[line / 8] = static_cast<unsigned char>(mask[line / 8] | 0x80 >> line % 8);
        changes.push_back(big ? 0 : static_cast<unsigned char>(perLine));
        changes.push_back(big ? static_cast<unsigned char>(perLine) : 0);
        for (unsigned c = 0; c < perLine; c++) {
            const unsigned reg = random() % registers;
            if (big) {
                append(changes, cat({be16(static_cast<std::uint16_t>(reg)), {0}}));
                for (int gun = 0; gun < 3; gun++)
                    changes.push_back(static_cast<unsigned char>(random()));
            } else {
                append(changes, be16(static_cast<std::uint16_t>(reg << 12 | (random() & 0xfff))));
            }
        }
    }
    return pchg(h, cat({mask, changes}));
}

} // namespace

TEST(QuillfenIffCopper, TheListGivesEachLineThePicturesPalette) {
    if (!m68k::available())
        GTEST_SKIP() << "m68k-linux-gnu-as is not installed";
    std::mt19937 random(5);
    Bytes sham = be16(0);
    for (unsigned i = 0; i < 16 * 6; i++)
        append(sham, be16(static_cast<std::uint16_t>(random() & 0xfff)));
    std::vector<unsigned> tall; // lines $f0-$110 of the display with the picture at $2c
    for (unsigned line = 0xc0; line < 0xe6; line += 3)
        tall.push_back(line);
    struct Case {
        const char *what;
        Bytes file;
        const char *options;
        unsigned top, perLine;
        amiga::CopperFrame::Chipset chipset;
    } cases[] = {
        {"SHAM, 16 colours on every line",
         ilbmFile(16, 6, 6, 0x800, twelveBitColours(random, 16), chunk("SHAM", sham)), "", 0x2c, 1,
         amiga::CopperFrame::Chipset::Ocs},
        {"interlaced SHAM: a palette for two lines on each display line",
         ilbmFile(16, 12, 6, 0x804, twelveBitColours(random, 16), chunk("SHAM", sham)), "--top 30",
         0x30, 2, amiga::CopperFrame::Chipset::Ocs},
        {"PCHG small, registers 0-31, past line $ff",
         ilbmFile(16, 240, 5, 0, twelveBitColours(random, 32),
                  pchgOf(random, 240, tall, 2, false, 32)),
         "", 0x2c, 1, amiga::CopperFrame::Chipset::Ocs},
        {"PCHG big: 24-bit colours, AGA",
         ilbmFile(16, 8, 8, 0, twelveBitColours(random, 256),
                  pchgOf(random, 8, {0, 1, 5, 7}, 3, true, 256)),
         "", 0x2c, 1, amiga::CopperFrame::Chipset::Aga},
    };
    Folder folder;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = folder.file("p.iff");
        ASSERT_TRUE(save(path, c.file));
        const testprogram::Outcome run = tool(std::string("copper ") + c.options + " " + path);
        ASSERT_EQ(run.status, 0) << run.err;
        const std::string &text = run.out;
        std::string error;
        const auto shown = picture::readPictureFile(path, &error);
        ASSERT_TRUE(shown) << error;
        ASSERT_FALSE(shown->colourChanges.empty());

        amiga::CopperFrame frame(c.chipset);
        frame.setInitialColours(shown->palette);
        frame.run(assembledCopperList(text));
        ASSERT_EQ(frame.stop(), amiga::CopperFrame::Stop::EndOfList);
        for (unsigned y = 0; y < shown->height; y += c.perLine) {
            // The display line shows the registers after the last of its picture lines.
            const unsigned last = std::min(y + c.perLine - 1, shown->height - 1);
            const std::vector<amiga::Rgb8> expected = picture::linePalette(*shown, last);
            const auto registers = frame.line(static_cast<int>(c.top + y / c.perLine));
            for (size_t r = 0; r < registers.size(); r++)
                ASSERT_EQ(registers[r], expected[r]) << "line " << y << " register " << r;
        }
    }
}
