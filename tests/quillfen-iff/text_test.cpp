// raw --text: the data lines assemble, as written, to the bytes raw writes for incbin with the
// same options (the lines themselves are the amiga library's, tests/amiga/asmtext_test.cpp).
#include "m68k_assembler.h"
#include "run_program.h"
#include "testing.h"

using namespace ifftool;
using testprogram::expectRow;

namespace {

// 21 x 3 in colours 0-5 of a map of 6: 3 planes, two words a row.
Indexed textPicture() {
    Indexed picture{21, 3, {}, {}};
    for (unsigned i = 0; i < 63; i++)
        picture.pixels.push_back(static_cast<std::uint8_t>(i * 7 % 6));
    for (std::uint32_t i = 0; i < 6; i++)
        picture.palette.push_back(0x2a0000 * i + 0x33);
    return picture;
}

std::string outputOf(const std::string &arguments, const Folder &folder, const char *name) {
    const std::string out = folder.file(name);
    std::filesystem::remove(out);
    const testprogram::Outcome r = tool(arguments + " " + out);
    EXPECT_EQ(r.status, 0) << arguments << ": " << r.err;
    const Bytes bytes = load(out);
    return std::string(bytes.begin(), bytes.end());
}

// The bytes of assembled text. The assembler's words leave out an odd last byte: text of dc.b
// lines gets a marker byte after it, taken off again.
Bytes assembledBytes(const std::string &text) {
    const bool odd = text.find("\tdc.b\t") != std::string::npos;
    const m68k::Result result = m68k::assemble(odd ? text + "\tdc.b\t$5a\n" : text);
    EXPECT_TRUE(result.words) << result.messages << text;
    Bytes bytes;
    for (std::uint16_t word : result.words.value_or(std::vector<std::uint16_t>{}))
        bytes.insert(bytes.end(),
                     {static_cast<std::uint8_t>(word >> 8), static_cast<std::uint8_t>(word)});
    if (odd && !bytes.empty()) {
        EXPECT_EQ(bytes.back(), 0x5a);
        bytes.pop_back();
    }
    return bytes;
}

} // namespace

TEST(QuillfenIffText, RawTextAssemblesToTheBinaryBytes) {
    if (!m68k::available())
        GTEST_SKIP() << "m68k-linux-gnu-as is not installed";
    Folder folder;
    savePng(folder.file("p.png"), textPicture(), 4);
    const std::string in = " " + folder.file("p.png");
    for (const char *options :
         {"", "--planar --mask", "--mask-only=inverted", "--depth 5 --transparent 2 --mask",
          "--chunky", "--chunky --region 1,1,3,1", "--region 3,0,17,2 --mask"}) {
        SCOPED_TRACE(options);
        const std::string binary = outputOf(std::string("raw ") + options + in, folder, "b.raw");
        const std::string text =
            outputOf(std::string("raw --text ") + options + in, folder, "sheet-1.s");
        EXPECT_EQ(assembledBytes(text), Bytes(binary.begin(), binary.end())) << text;
        // A comment, then the label of OUT's name.
        EXPECT_EQ(text.rfind("; ", 0), 0u) << text;
        EXPECT_NE(text.find("\nsheet_1:\n"), std::string::npos) << text;
    }
    // 21 x 3 in 3 planes, interleaved: 2 words a row, 36 bytes; --name names the label.
    EXPECT_EQ(outputOf("raw --text --name=hero" + in, folder, "out")
                  .rfind("; 21 x 3 pixels, 3 planes, interleaved, 36 bytes\nhero:\n\tdc.w\t", 0),
              0u);
    Folder empty;
    expectRow(kTool, empty.path(),
              {"raw --name hero %p.png %out", 2, nullptr, "--name names the data of --text"});
}
