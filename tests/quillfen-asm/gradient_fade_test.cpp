// quillfen-asm gradient and fade, run as a makefile would run them: the text they print, what it
// assembles to, and how they refuse bad input. Pictures are written here with the ILBM library.
#include "iff_bytes.h"
#include "m68k_assembler.h"
#include "run_program.h"
#include "scratch_files.h"

#include <iff/form.h>
#include <ilbm/bitmapheader.h>
#include <ilbm/colormap.h>
#include <ilbm/ilbm.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace {

testprogram::Outcome quillfenAsm(const std::string &arguments) {
    return testprogram::run(QUILLFEN_ASM_TOOL, arguments);
}

// A file of the tests' own scratch folder (removed when the program ends).
std::string scratchFile(const std::string &name) {
    static const testfiles::Folder folder;
    return folder.file(name);
}

// A picture file with a bitmap header and, unless empty, a colour map of these colours (0xrrggbb).
std::string picture(const std::string &name, const std::vector<std::uint32_t> &colours) {
    const std::string path = scratchFile(name + ".ilbm");
    IFF_Form *form = IFF_createForm("ILBM");
    IFF_addToForm(form, reinterpret_cast<IFF_Chunk *>(ILBM_createBitMapHeader()));
    if (!colours.empty()) {
        ILBM_ColorMap *map = ILBM_createColorMap();
        for (std::uint32_t c : colours) {
            ILBM_ColorRegister *reg = ILBM_addColorRegisterInColorMap(map);
            reg->red = static_cast<IFF_UByte>(c >> 16);
            reg->green = static_cast<IFF_UByte>(c >> 8);
            reg->blue = static_cast<IFF_UByte>(c);
        }
        IFF_addToForm(form, reinterpret_cast<IFF_Chunk *>(map));
    }
    EXPECT_TRUE(ILBM_write(path.c_str(), reinterpret_cast<IFF_Chunk *>(form)));
    ILBM_free(reinterpret_cast<IFF_Chunk *>(form));
    return path;
}

} // namespace

TEST(QuillfenAsmGradient, BlackToWhiteIsAWaitAndAMoveALine) {
    const testprogram::Outcome outcome =
        quillfenAsm("gradient --start 2b --lines 16 0:#000000 15:#FFFFFF");
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    // The last line counts 16 WAITs and 16 MOVEs; nothing else is printed.
    const std::string countLine = "; 32 instructions, 128 bytes\n";
    ASSERT_GE(outcome.out.size(), countLine.size());
    EXPECT_EQ(outcome.out.substr(outcome.out.size() - countLine.size()), countLine);
    if (!m68k::available())
        GTEST_SKIP() << "m68k-linux-gnu-as is not installed";
    const m68k::Result result = m68k::assemble(outcome.out);
    ASSERT_TRUE(result.words) << result.messages;
    std::vector<std::uint16_t> expected;
    for (int k = 0; k < 16; ++k)
        expected.insert(expected.end(), {static_cast<std::uint16_t>((0x2b + k) << 8 | 0x07), 0xfffe,
                                         0x180, static_cast<std::uint16_t>(0x111 * k)});
    EXPECT_EQ(*result.words, expected);

    // AGA register 37 (bank 1 COLOR05) in a display that keeps BPLCON3 at $1020, WAITs at
    // horizontal $41, an NTSC frame (line $106 is past its end), and the table form.
    const testprogram::Outcome aga =
        quillfenAsm("gradient --chipset aga --register 37 --hpos 40 --bplcon3 1020 --ntsc --start "
                    "105 --lines 2 0:#123456 1:#000000");
    EXPECT_EQ(aga.out, "\tdc.w\t$ffdf,$fffe\n\tdc.w\t$0541,$fffe\n\tdc.w\tBPLCON3,$3020\n"
                       "\tdc.w\tCOLOR05,$0135\n\tdc.w\tBPLCON3,$3220\n\tdc.w\tCOLOR05,$0246\n"
                       "\tdc.w\tBPLCON3,$1020\n"
                       "; lines $106 to $106 are past the end of an NTSC frame: left out\n"
                       "; 7 instructions, 28 bytes\n");
    const testprogram::Outcome table =
        quillfenAsm("gradient --table --lines 3 --dither=ordered 0:#000000 2:#ffffff");
    EXPECT_EQ(table.status, 0);
    EXPECT_EQ(table.out.substr(table.out.find('\n') + 1),
              "\tdc.w\t$0000\n\tdc.w\t$0888\n\tdc.w\t$0fff\n"); // 128 / 17 + 1/8 is 7.65: 7 or 8
}

TEST(QuillfenAsmGradient, BadInputIsAUsageError) {
    for (const char *arguments : {"",
                                  "--start 138 0:#000000",
                                  "--lines 0 0:#000000",
                                  "--lines 313 0:#000000",
                                  "--register 32 0:#000000",
                                  "--chipset aga --register 256 0:#000000",
                                  "--chipset amiga 0:#000000",
                                  "--blend lab 0:#000000",
                                  "--dither fs 0:#000000",
                                  "--chipset aga --dither ordered 0:#000000",
                                  "--hpos e3 0:#000000",
                                  "--chipset aga --bplcon3 10000 0:#000000",
                                  "--bplcon3 0c00 0:#000000", // BPLCON3 is AGA's
                                  "0:#12345",
                                  "0:$123456",
                                  "x:#000000",
                                  "-1:#000000",
                                  "--lines 16 16:#000000",
                                  "0:#00000g",
                                  "0#000000",
                                  ":#000000",
                                  "0:#0000000",
                                  "0:#000000 junk"}) {
        SCOPED_TRACE(arguments);
        const testprogram::Outcome outcome = quillfenAsm(std::string("gradient ") + arguments);
        EXPECT_EQ(outcome.status, 2);
        EXPECT_TRUE(outcome.out.empty()) << outcome.out;
        EXPECT_NE(outcome.err.find("usage: quillfen-asm gradient"), std::string::npos)
            << outcome.err;
    }
    // The '#' may be left out.
    EXPECT_EQ(quillfenAsm("gradient 0:123456").out, quillfenAsm("gradient 0:#123456").out);
    const testprogram::Outcome help = quillfenAsm("gradient --help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("LINE:#rrggbb"), std::string::npos);
}

TEST(QuillfenAsmFade, PrintsOneLabelledRunOfWordsAStep) {
    const std::string file = picture("two", {0x123456, 0xff8000});
    // Step 1 of 3 is half way: 9, 26, 43 ($09 $1a $2b) and 127.5, 64, 0 ($80 $40 $00).
    const testprogram::Outcome ocs = quillfenAsm("fade --steps 3 " + file);
    ASSERT_EQ(ocs.status, 0) << ocs.err;
    EXPECT_EQ(ocs.out, "; fade of 2 colours to black in 3 steps, OCS/ECS: a step is one 12-bit "
                       "word a colour\n"
                       "fade0:\n\tdc.w\t$0135,$0f80\n"
                       "fade1:\n\tdc.w\t$0012,$0840\n"
                       "fade2:\n\tdc.w\t$0000,$0000\n");
    // To white on AGA: half way is $89 $9a $ab and $ff $c0 $80.
    const testprogram::Outcome aga =
        quillfenAsm("fade --steps=3 --chipset aga --to '#ffffff' " + file);
    EXPECT_NE(aga.out.find("to white in 3 steps"), std::string::npos) << aga.out;
    EXPECT_NE(aga.out.find("fade1:\n\tdc.w\t$089a,$0fc8,$09ab,$0f00\n"), std::string::npos)
        << aga.out;
    // To a second palette of one colour: the other entry goes to black.
    const std::string second = picture("one", {0x2040ff});
    const testprogram::Outcome two =
        quillfenAsm("fade --steps 2 --to-palette " + second + " " + file);
    EXPECT_NE(two.out.find("fade1:\n\tdc.w\t$024f,$0000\n"), std::string::npos) << two.out;
    // A file of both pictures: the first, unless --picture names another.
    const std::string both = scratchFile("both.iff");
    ASSERT_TRUE(iffbytes::save(
        both, iffbytes::group("CAT ", "ILBM", {testfiles::load(file), testfiles::load(second)})));
    EXPECT_NE(quillfenAsm("fade --steps 2 " + both).out.find("fade0:\n\tdc.w\t$0135,$0f80\n"),
              std::string::npos);
    EXPECT_NE(quillfenAsm("fade --steps 2 --picture 2 " + both).out.find("fade0:\n\tdc.w\t$024f\n"),
              std::string::npos);
    if (m68k::available()) {
        const m68k::Result result = m68k::assemble(aga.out);
        ASSERT_TRUE(result.words) << result.messages;
        EXPECT_EQ(result.words->size(), 12u); // three steps of 2 high and 2 low halves
    }
}

TEST(QuillfenAsmFade, ReadsThePaletteOfAPng) {
    // netpbm's pnmtopng writes the two colours as a palette PNG, in this order.
    const std::string png = scratchFile("two.png");
    const std::string command =
        "printf 'P3\\n2 1\\n255\\n18 52 86 255 128 0\\n' | pnmtopng >" + png + " 2>/dev/null";
    if (std::system(command.c_str()) != 0) {
        GTEST_SKIP() << "netpbm's pnmtopng is not installed";
    }
    const testprogram::Outcome ocs = quillfenAsm("fade --steps 3 " + png);
    ASSERT_EQ(ocs.status, 0) << ocs.err;
    EXPECT_NE(ocs.out.find("fade0:\n\tdc.w\t$0135,$0f80\nfade1:\n\tdc.w\t$0012,$0840\n"),
              std::string::npos)
        << ocs.out;
}

TEST(QuillfenAsmFade, BadInputIsRefused) {
    const std::string file = picture("good", {0x123456});
    for (const std::string &arguments :
         {"fade " + file, "fade --steps 1 " + file, "fade --steps 257 " + file,
          "fade --steps 4 --to '#fff' " + file, "fade --steps 4 --to red " + file,
          "fade --steps 4 --to 0x1234 " + file,
          "fade --steps 4 --to 000000 --to-palette " + file + " " + file,
          std::string("fade --steps 4"), "fade --steps 4 " + file + " " + file,
          "fade --steps 4 --chipset x " + file}) {
        SCOPED_TRACE(arguments);
        const testprogram::Outcome outcome = quillfenAsm(arguments);
        EXPECT_EQ(outcome.status, 2);
        EXPECT_TRUE(outcome.out.empty());
        EXPECT_NE(outcome.err.find("usage: quillfen-asm fade"), std::string::npos) << outcome.err;
    }
    // Files that give no palette: the message names the file.
    const std::string notIff = scratchFile("text.ilbm");
    std::ofstream(notIff) << "not a picture\n";
    const std::string noMap = picture("nomap", {});
    for (const std::string &path : {std::string("/nonexistent/picture.ilbm"), notIff, noMap}) {
        SCOPED_TRACE(path);
        const testprogram::Outcome outcome = quillfenAsm("fade --steps 4 " + path);
        EXPECT_EQ(outcome.status, 2);
        EXPECT_TRUE(outcome.out.empty());
        EXPECT_NE(outcome.err.find("quillfen-asm fade: "), std::string::npos) << outcome.err;
        EXPECT_NE(outcome.err.find(path), std::string::npos) << outcome.err;
    }
    const testprogram::Outcome missing =
        quillfenAsm("fade --steps 4 --to-palette " + noMap + " " + file);
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("no colour map"), std::string::npos) << missing.err;
}
