// raw --text and --format c: the data lines assemble, and the C arrays compile, to the bytes the
// command writes for incbin with the same options (the lines and arrays themselves are the amiga
// library's, tests/amiga/asmtext_test.cpp).
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

// The host's C compiler, or nothing.
std::string cCompiler() {
    for (const char *name : {"cc", "gcc", "clang"})
        if (testprogram::run("command", std::string("-v ") + name).status == 0)
            return name;
    return {};
}

// The bytes of the array "arr" of a C text, as the Amiga holds them: each element big-endian.
Bytes compiledBytes(const std::string &compiler, const std::string &text, const Folder &folder) {
    const std::string source = folder.file("arr.c"), program = folder.file("arr");
    const std::string main =
        "#include <stdio.h>\n"
        "int main(void) {\n"
        "    for (unsigned long i = 0; i < sizeof arr / sizeof arr[0]; i++) {\n"
        "        if (sizeof arr[0] == 2) putchar(arr[i] >> 8);\n"
        "        putchar(arr[i] & 0xff);\n"
        "    }\n"
        "    return 0;\n"
        "}\n";
    const std::string all = text + main;
    save(source, Bytes(all.begin(), all.end()));
    std::filesystem::remove(program);
    const testprogram::Outcome built =
        testprogram::run(compiler, "-std=c99 -Wall -Werror " + source + " -o " + program);
    EXPECT_EQ(built.status, 0) << built.err << text;
    const std::string out = testprogram::run(program, "").out;
    return Bytes(out.begin(), out.end());
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

TEST(QuillfenIffText, CArraysCompileToTheBinaryBytes) {
    const std::string compiler = cCompiler();
    if (compiler.empty())
        GTEST_SKIP() << "no C compiler (cc, gcc or clang) is installed";
    Folder folder;
    savePng(folder.file("p.png"), textPicture(), 4);
    const std::string in = " " + folder.file("p.png");
    for (const char *command :
         {"raw", "raw --planar --mask", "raw --chunky", "raw --chunky --region 1,1,3,1",
          "sprite --attached", "sprite --attached --control --region 0,0,16,2",
          "palette --format words", "palette --format loadrgb32"}) {
        SCOPED_TRACE(command);
        const bool palette = std::string(command).rfind("palette", 0) == 0;
        const std::string binary =
            outputOf(std::string(command) + (palette ? " --binary" : "") + in, folder, "b.raw");
        const std::string c =
            outputOf(std::string(command) + (palette ? " --binary=c" : " --format c") +
                         " --name arr --c-attribute '__attribute__((aligned(4)))'" + in,
                     folder, "out.c");
        EXPECT_EQ(compiledBytes(compiler, c, folder), Bytes(binary.begin(), binary.end())) << c;
        EXPECT_EQ(c.rfind("/* ", 0), 0u) << c;
    }
    // The name from OUT's, made an identifier.
    EXPECT_NE(outputOf("raw --format c" + in, folder, "2-hero.h")
                  .find("\nconst unsigned short _2_hero[] = {\n"),
              std::string::npos);
    const char *both = "--text and --format c exclude each other";
    Folder empty;
    for (const testprogram::Row &row : std::initializer_list<testprogram::Row>{
             {"raw --text --format c %p.png %out", 2, nullptr, both},
             {"sprite --text --format c %p.png %out", 2, nullptr, both},
             {"raw --format asm %p.png %out", 2, nullptr, "option '--format' takes c (a C array)"},
             {"sprite --c-attribute __chip %p.png %out", 2, nullptr,
              "--c-attribute goes with C output"},
             {"palette --format words --binary --name x %p.png %out", 2, nullptr,
              "--name names the data of --binary=c"},
             {"palette --format words --binary=asm %p.png %out", 2, nullptr, "usage:"},
         })
        expectRow(kTool, empty.path(), row);
}
