// raw --text and --format c: the data lines assemble, and the C arrays compile, to the bytes the
// command writes for incbin with the same options (the lines and arrays themselves are the amiga
// library's, tests/amiga/asmtext_test.cpp).
#include "m68k_assembler.h"
#include "run_program.h"
#include "testing.h"

using namespace ifftool;

TEST(QuillfenIffText, TextAndCGiveTheBinaryBytes) {
    Folder folder;
    // 21 x 3 in colours 0-5 of a map of 6: 3 planes, two words a row.
    Indexed picture{21, 3, {}, {0x33, 0x2a0033, 0x540033, 0x7e0033, 0xa80033, 0xd20033}};
    for (unsigned i = 0; i < 63; i++)
        picture.pixels.push_back(static_cast<std::uint8_t>(i * 7 % 6));
    savePng(folder.file("p.png"), picture, 4);
    auto output = [&](const std::string &command, const char *out) {
        EXPECT_EQ(tool(command + " " + folder.file("p.png") + " " + folder.file(out)).status, 0);
        const Bytes bytes = load(folder.file(out));
        return std::string(bytes.begin(), bytes.end());
    };
    const bool cc = testprogram::run("command", "-v cc").status == 0;
    // A program that prints the array's elements big-endian, as the Amiga holds them.
    const std::string main = "#include <stdio.h>\nint main(void) { for (unsigned long i = 0; i < "
                             "sizeof arr / sizeof arr[0]; i++) { if (sizeof arr[0] == 2) "
                             "putchar(arr[i] >> 8); putchar(arr[i] & 0xff); } }\n";
    for (const std::string command : {"raw --chunky --region 1,1,3,1", "raw --planar --mask",
                                      "sprite --attached --control", "palette --format rgb32"}) {
        const bool palette = command[0] == 'p';
        const std::string binary = output(command + (palette ? " --binary" : ""), "b.raw");
        if (command[0] == 'r' && m68k::available()) {
            const std::string text = output(command + " --text", "s-1.s");
            EXPECT_EQ(m68k::assemble(text).bytes, iffbytes::text(binary)) << text;
            EXPECT_EQ(text.find("\ns_1:\n\tdc."), text.find('\n')) << text; // a comment, the label
        }
        if (!cc)
            continue;
        const std::string c = output(command + (palette ? " --binary=c" : " --format c") +
                                         " --name arr --c-attribute '__attribute__((aligned(4)))'",
                                     "arr.c");
        save(folder.file("arr.c"), text(c + main));
        const std::string exe = folder.file("arr");
        EXPECT_EQ(
            testprogram::run("cc", "-std=c99 -Wall -Werror -o " + exe + " " + exe + ".c && " + exe)
                .out,
            binary)
            << c;
    }
    for (const testprogram::Row &row : std::initializer_list<testprogram::Row>{
             {"raw --text --format c %p.png %out", 2, nullptr, "exclude each other"},
             {"sprite --c-attribute __chip %p.png %out", 2, nullptr, "goes with C output"},
             {"palette --format words --binary --name x %p.png %out", 2, nullptr, "--binary=c"}})
        testprogram::expectRow(kTool, folder.path(), row);
    if (!cc)
        GTEST_SKIP() << "no C compiler (cc) is installed";
}

// The sheet commands' C: each array compiles to the bytes the binary files hold (a font's glyphs
// and widths, the tiles and their map), and bobs' C header gives the offsets of its include.
TEST(QuillfenIffText, SheetsInCCompileToTheirBinaryBytes) {
    if (testprogram::run("command", "-v cc").status != 0)
        GTEST_SKIP() << "no C compiler (cc) is installed";
    Folder folder;
    // 16 x 8 in colours 0-3: two 8 x 8 tiles (the second the first mirrored left to right),
    // and as a font of 8 x 8 cells two glyphs, columns 1-3 set and 4-6 set.
    Indexed sheet{16, 8, {}, {0, 0xff0000, 0xff00, 0xff}};
    for (unsigned y = 0; y < 8; y++)
        for (unsigned x = 0; x < 16; x++) {
            const unsigned column = x < 8 ? x : 15 - x;
            sheet.pixels.push_back(
                static_cast<std::uint8_t>(column >= 1 && column <= 3 ? 1 + (column + y) % 3 : 0));
        }
    savePng(folder.file("s.png"), sheet, 2);
    const std::string in = " " + folder.file("s.png") + " ";
    // Prints each array's bytes big-endian, as the Amiga holds them.
    auto print = [](const char *name) {
        return std::string("for (unsigned long i = 0; i < sizeof ") + name + " / sizeof " + name +
               "[0]; i++) { if (sizeof " + name + "[0] == 2) putchar(" + name +
               "[i] >> 8); putchar(" + name + "[i] & 0xff); }\n";
    };
    auto compiled = [&](const std::string &sources, const std::string &body) {
        save(folder.file("main.c"),
             text(sources + "#include <stdio.h>\nint main(void) {\n" + body + "}\n"));
        const std::string exe = folder.file("main");
        return testprogram::run("cc",
                                "-std=c99 -Wall -Werror -o " + exe + " " + exe + ".c && " + exe)
            .out;
    };
    auto file = [&](const char *name) { return testfiles::loadText(folder.file(name)); };
    auto bytes = [&](const char *name) {
        const Bytes b = load(folder.file(name));
        return std::string(b.begin(), b.end());
    };

    ASSERT_EQ(
        tool("font --cell 8x8 --proportional --widths " + folder.file("w") + in + folder.file("g"))
            .status,
        0);
    ASSERT_EQ(
        tool("font --cell 8x8 --proportional --format c --name f" + in + folder.file("f.c")).status,
        0);
    EXPECT_EQ(compiled(file("f.c"), print("f") + print("f_widths")), bytes("g") + bytes("w"));

    ASSERT_EQ(
        tool("tiles --size 8x8 --dedupe --flips" + in + folder.file("t") + " " + folder.file("m"))
            .status,
        0);
    ASSERT_EQ(tool("tiles --size 8x8 --dedupe --flips --format c --c-attribute static" + in +
                   folder.file("lv.c") + " " + folder.file("lv.map"))
                  .status,
              0);
    EXPECT_EQ(compiled(file("lv.c") + file("lv.map"), print("lv") + print("lv_map")),
              bytes("t") + bytes("m"));

    // Two frames of 8 x 8 in two planes and a mask, interleaved: 8 rows of three words, 48
    // bytes a frame; the header declares the data it indexes and may be included again.
    ASSERT_EQ(tool("bobs --size 8x8 --mask --format c --index " + folder.file("b.h") + in +
                   folder.file("b.c"))
                  .status,
              0);
    EXPECT_EQ(compiled(file("b.c") + file("b.h") + file("b.h"), // included twice: guarded
                       "printf(\"%d %d %d %d %d %d\", B_BYTES, B_COUNT, B_WORDS, B_FRAME0, "
                       "B_FRAME1, (int)sizeof b);\n"),
              "48 2 1 0 48 96");
}
