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
