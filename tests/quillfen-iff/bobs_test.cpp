// bobs: a sheet drawn here cut into frames whose plane words are worked out by hand; each frame
// the bytes raw --region writes of it; the index assembled and its offsets found in the data.
#include "m68k_assembler.h"
#include "run_program.h"
#include "testing.h"

using namespace ifftool;

namespace {

// 10 x 5 in colours 0-3: frames of 4 x 2 spaced 1,1 apart at 0,0 5,0 0,3 5,3 (the third all
// colour 0), a line of colour 3 between the rows and a column past them on the right.
Indexed bobSheet() {
    const char *rows[] = {"1230032101", "0000200013", "3333333333", "0000100222", "0000120000"};
    Indexed sheet{10, 5, {}, {0, 0xff0000, 0xff00, 0xff}};
    for (const char *row : rows)
        for (const char *c = row; *c != '\0'; c++)
            sheet.pixels.push_back(static_cast<std::uint8_t>(*c - '0'));
    return sheet;
}

Bytes words(std::initializer_list<std::uint16_t> list) {
    Bytes bytes;
    for (std::uint16_t w : list)
        append(bytes, be16(w));
    return bytes;
}

// Each word followed by a blank one, $ffff after every third (the inverted mask's rows).
Bytes widened(const Bytes &bytes, bool invertedMask) {
    Bytes out;
    for (size_t at = 0; at < bytes.size(); at += 2) {
        out.insert(out.end(), bytes.begin() + at, bytes.begin() + at + 2);
        const std::uint8_t blank = invertedMask && at / 2 % 3 == 2 ? 0xff : 0x00;
        out.insert(out.end(), 2, blank);
    }
    return out;
}

} // namespace

TEST(QuillfenIffBobs, FramesInReadingOrderAsRawWritesEachAlone) {
    Folder folder;
    savePng(folder.file("sheet.png"), bobSheet(), 2);
    const std::string sheet = " " + folder.file("sheet.png") + " " + folder.file("out");
    auto written = [&](const std::string &arguments, const char *warning = "") {
        const testprogram::Outcome r = tool(arguments);
        EXPECT_EQ(r.status, 0) << arguments << r.err;
        EXPECT_NE(r.err.find(warning), std::string::npos) << r.err;
        return load(folder.file("out"));
    };
    // Per frame, interleaved: plane 0, plane 1, mask of row 0, then of row 1 (colour 0 clear).
    const Bytes f0 = words({0xa000, 0x6000, 0xe000, 0, 0, 0});
    const Bytes f1 = words({0xa000, 0xc000, 0xe000, 0x1000, 0, 0x1000});
    const Bytes f2 = words({0, 0, 0, 0, 0, 0});
    const Bytes f3 = words({0, 0x3000, 0x3000, 0, 0x8000, 0x8000});
    const std::string frames = "bobs --size 4x2 --spacing 1,1 --mask";
    const struct {
        std::string options;
        Bytes expected;
        const char *warning;
    } cases[] = {
        {"", cat({f0, f1, f2, f3}),
         "The picture, 10 x 5 pixels, is not a whole number of frames of 4 x 2 spaced 1,1 apart; "
         "4 whole frames are used, leaving out 1 pixel on the right."},
        {" --trim-empty", cat({f0, f1, f3}), "1 empty frame is left out"},
        {" --grid 1x2", cat({f0, f2}), ""},
        {" --count 3", cat({f0, f1, f2}), ""},
        {" --count 9 --grid 2x1", cat({f0, f1}), "9 frames were asked for; the sheet holds 2"},
        {" --interleaved --count 1", f0, ""},
        {" --planar --count 1", words({0xa000, 0, 0x6000, 0, 0xe000, 0}), ""},
        {" --add-word --count 2", cat({widened(f0, false), widened(f1, false)}), ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(written(frames + c.options + sheet, c.warning), c.expected) << c.options;
    // Parity: each frame is raw --region of it, however the mask and layout are asked for.
    for (const std::string options : {" --mask=inverted", " --planar --mask", ""}) {
        const Bytes all = written(frames.substr(0, frames.size() - 7) + options + sheet);
        Bytes parts;
        for (const char *at : {"0,0", "5,0", "0,3", "5,3"})
            append(parts, written("raw --region " + std::string(at) + ",4,2" + options + sheet));
        EXPECT_EQ(all, parts) << options;
        if (options == " --mask=inverted") {
            EXPECT_EQ(written(frames + "=inverted --add-word" + sheet), widened(parts, true));
        }
    }
    std::filesystem::remove(folder.file("out"));
    savePng(folder.file("blank.png"), Indexed{4, 2, std::vector<std::uint8_t>(8, 0), {0, 1}});
    savePng(folder.file("big.png"), Indexed{256, 256, std::vector<std::uint8_t>(65536, 1), {0, 1}});
    for (const testprogram::Row &row : std::initializer_list<testprogram::Row>{
             {"bobs --size 11x2 %sheet.png %out", 1, nullptr,
              "sheet.png: The picture, 10 x 5 pixels, holds no whole frame of 11 x 2. Nothing is "
              "written."},
             {"bobs --size 4x2 --grid 3x1 %sheet.png %out", 1, nullptr,
              "A grid of 3 x 1 frames of 4 x 2 needs 12 x 2 pixels; the picture is 10 x 5"},
             {"bobs --size 4x2 --trim-empty %blank.png %out", 1, nullptr,
              "The frame is empty: its pixels are all transparent."},
             {"bobs --size 1x1 %big.png %out", 1, nullptr, "holds 65536 frames of 1 x 1; at most"},
             {"bobs --size 1x1 --grid 255x257 %big.png %out", 1, nullptr, "A grid of 255 x 257"},
             {"bobs --size 4 %sheet.png %out", 2, nullptr, "option '--size' takes WxH"},
             {"bobs --size 4x0 %sheet.png %out", 2, nullptr, "option '--size' takes WxH"},
             {"bobs %sheet.png %out", 2, nullptr, "--size WxH, the size of a frame, is needed"},
             {"bobs --size 4x2 --grid 2 %sheet.png %out", 2, nullptr, "option '--grid' takes"},
             {"bobs --size 4x2 --spacing 1x1 %sheet.png %out", 2, nullptr,
              "option '--spacing' takes X,Y"},
             {"bobs --size 4x2 --planar --interleaved %sheet.png %out", 2, nullptr, "exclude"}}) {
        testprogram::expectRow(kTool, folder.path(), row);
        EXPECT_FALSE(exists(folder.file("out"))) << row.arguments;
    }
}

TEST(QuillfenIffBobs, TheIndexAssemblesToTheFramesOffsets) {
    if (!m68k::available())
        GTEST_SKIP() << "m68k-linux-gnu-as is not installed";
    Folder folder;
    savePng(folder.file("sheet.png"), bobSheet(), 2);
    const std::string sheet = " " + folder.file("sheet.png") + " ";
    const std::string index = " --index " + folder.file("b.i") + " --name b";
    ASSERT_EQ(tool("bobs --size 4x2 --spacing 1,1 --mask --add-word --trim-empty" + index + sheet +
                   folder.file("b.raw"))
                  .status,
              0);
    const Bytes data = load(folder.file("b.raw"));
    const std::string include = testfiles::loadText(folder.file("b.i"));
    const m68k::Result r = m68k::assemble(include + "\tdc.w\tb_width,b_height,b_words,b_rowbytes,"
                                                    "b_bytes,b_count\n");
    ASSERT_TRUE(r.words) << r.messages << include;
    // Three frames of 24 bytes (two words a row with the added one); the table's longs, then
    // 4 x 2 pixels, 2 words, 4 bytes a row, 24 bytes, 3 frames.
    EXPECT_EQ(*r.words, (std::vector<std::uint16_t>{0, 0, 0, 24, 0, 48, 4, 2, 2, 4, 24, 3}));
    // The third offset finds sheet frame 3 (the empty one left out), as raw writes it alone.
    ASSERT_EQ(data.size(), 72u);
    const Bytes f3(data.begin() + 48, data.end());
    ASSERT_EQ(tool("raw --mask --region 5,3,4,2" + sheet + folder.file("f3")).status, 0);
    EXPECT_EQ(f3, widened(load(folder.file("f3")), false));
    // The data as text assembles to the same bytes as the binary form.
    ASSERT_EQ(tool("bobs --size 4x2 --spacing 1,1 --mask --add-word --trim-empty --text" + index +
                   sheet + folder.file("b.s"))
                  .status,
              0);
    Bytes assembled;
    for (std::uint16_t word : m68k::assemble(testfiles::loadText(folder.file("b.s")))
                                  .words.value_or(std::vector<std::uint16_t>{}))
        append(assembled, be16(word));
    EXPECT_EQ(assembled, data);
}
