// quillfen-iff palette --format and sprite: the tables and sprite words worked out by hand from
// the pictures, as bytes, and the text assembled exactly as printed to the same words.
#include "m68k_assembler.h"
#include "testing.h"

#include <gtest/gtest.h>

using namespace ifftool;

namespace {

// Every line of generated text is a comment or begins with a tab.
void expectPlainLines(const std::string &text) {
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find('\n', start);
        const std::string line = text.substr(start, end - start);
        EXPECT_TRUE(line.rfind(";", 0) == 0 || line.rfind("\t", 0) == 0) << "'" << line << "'";
        if (line.rfind("\t", 0) == 0) {
            EXPECT_EQ(line.find(' '), std::string::npos) << "a blank in '" << line << "'";
        }
        start = end == std::string::npos ? text.size() : end + 1;
    }
}

// The text assembles, exactly as printed, to the words of the bytes.
void expectAssemblesTo(const std::string &text, const Bytes &bytes) {
    expectPlainLines(text);
    if (!m68k::available()) {
        return;
    }
    const m68k::Result result = m68k::assemble(text);
    ASSERT_TRUE(result.words) << result.messages << text;
    EXPECT_EQ(*result.words, wordsOf(bytes)) << text;
}

} // namespace

TEST(QuillfenIffPalette, EveryFormatAsBytesAndAsTheSameText) {
    Folder folder;
    // Two colours: $12 $34 $56 and $ff $80 $01.
    const Indexed picture{2, 1, {0, 1}, {{0x12, 0x34, 0x56}, {0xff, 0x80, 0x01}}};
    iffbytes::save(folder.file("p.iff"), ilbmOf(picture, 1));
    savePng(folder.file("p.png"), picture, 1);
    const Bytes rgb32 = {0x12, 0x12, 0x12, 0x12, 0x34, 0x34, 0x34, 0x34, 0x56, 0x56, 0x56, 0x56,
                         0xff, 0xff, 0xff, 0xff, 0x80, 0x80, 0x80, 0x80, 0x01, 0x01, 0x01, 0x01};
    struct Case {
        const char *format;
        Bytes expected;
    } cases[] = {
        // LoadRGB4's words: the high nibbles of each gun, $0RGB.
        {"words", {0x01, 0x35, 0x0f, 0x80}},
        {"rgb8", {0x00, 0x12, 0x34, 0x56, 0x00, 0xff, 0x80, 0x01}},
        // LoadRGB32: each gun left-justified in a long, here the byte repeated.
        {"rgb32", rgb32},
        // A whole LoadRGB32 table: count << 16 | first colour, the guns, a 0 long.
        {"loadrgb32", iffbytes::cat({{0x00, 0x02, 0x00, 0x00}, rgb32, {0, 0, 0, 0}})},
        // COLOR00 is $180, COLOR01 $182.
        {"copper", {0x01, 0x80, 0x01, 0x35, 0x01, 0x82, 0x0f, 0x80}},
        // AGA: BPLCON3 ($106) at its reset value $0c00 (LOCT clear), the high nibbles; LOCT
        // ($0200) set, the low nibbles; the reset value again.
        {"copper-aga",
         {0x01, 0x06, 0x0c, 0x00, 0x01, 0x80, 0x01, 0x35, 0x01, 0x82, 0x0f, 0x80, 0x01, 0x06,
          0x0e, 0x00, 0x01, 0x80, 0x02, 0x46, 0x01, 0x82, 0x0f, 0x01, 0x01, 0x06, 0x0c, 0x00}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.format);
        for (const char *input : {"p.iff", "p.png"}) {
            const std::string format = std::string(c.format) + " " + folder.file(input);
            const std::string out = folder.file(std::string(c.format) + ".bin");
            succeeds("palette --binary --format " + format + " " + out);
            EXPECT_EQ(load(out), c.expected) << input;
            const std::string text = succeeds("palette --format=" + format);
            expectAssemblesTo(text, c.expected);
            // To a file, the same text.
            succeeds("palette --format " + format + " " + folder.file("p.s"));
            EXPECT_EQ(load(folder.file("p.s")), Bytes(text.begin(), text.end()));
        }
    }
    // --bplcon3 gives the base value the AGA forms keep; it is refused with the OCS/ECS forms.
    testprogram::Outcome r =
        tool("palette --format copper-aga --binary --colors 1 --bplcon3 1000 " +
             folder.file("p.png") + " -");
    EXPECT_EQ(r.out, std::string("\x01\x06\x10\x00\x01\x80\x01\x35\x01\x06\x12\x00\x01\x80"
                                 "\x02\x46\x01\x06\x10\x00",
                                 20));
    EXPECT_NE(
        tool("palette --aga --bplcon3 1000 " + folder.file("p.png")).out.find("BPLCON3,$1200"),
        std::string::npos);
    for (const char *refused :
         {"--ocs --bplcon3 0c00", "--format copper --bplcon3 0c00", "--aga --bplcon3 10000"})
        EXPECT_EQ(tool(std::string("palette ") + refused + " " + folder.file("p.png")).status, 2)
            << refused;
    // The first colours only; more than the map holds are refused.
    r = tool("palette --format words --binary --colors 1 " + folder.file("p.png") + " -");
    EXPECT_EQ(r.out, std::string("\x01\x35", 2));
    r = tool("palette --format words --colors 3 " + folder.file("p.png"));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("holds 2 colours, not 3"), std::string::npos) << r.err;
    // Without --format, the palette code as always, from a PNG too.
    const testprogram::Outcome fromIlbm = tool("palette " + folder.file("p.iff"));
    const testprogram::Outcome fromPng = tool("palette " + folder.file("p.png"));
    EXPECT_EQ(fromPng.status, 0) << fromPng.err;
    EXPECT_EQ(fromPng.out, fromIlbm.out);
    EXPECT_NE(fromPng.out.find("\tdc.w\tCOLOR01,$0f80\n"), std::string::npos) << fromPng.out;

    // A palette saved alone, as paint programs save one: a BMHD and a CMAP, no BODY.
    using iffbytes::chunk;
    ASSERT_TRUE(iffbytes::save(
        folder.file("alone.iff"),
        iffbytes::group("FORM", "ILBM",
                        {iffbytes::bmhd(320, 256, 2), chunk("CMAP", {0, 0, 0, 0xff, 0x80, 0})})));
    r = tool("palette --format words --binary " + folder.file("alone.iff") + " -");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, std::string("\x00\x00\x0f\x80", 4));
    // A picture without a colour map: the grey levels every reader of a palette takes, with or
    // without --format (16 levels for 4 planes: colour 1 is $11, 17 x 1).
    ASSERT_TRUE(iffbytes::save(
        folder.file("grey.iff"),
        iffbytes::group("FORM", "PBM ", {iffbytes::bmhd(2, 1, 4), chunk("BODY", {0, 1})})));
    r = tool("palette --ocs " + folder.file("grey.iff"));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\tdc.w\tCOLOR01,$0111\n"), std::string::npos) << r.out;
    EXPECT_NE(r.err.find("grey levels are used"), std::string::npos) << r.err;
}

namespace {

// 16 x 5, colours 0-3: a diagonal of 1, a column of 2, a row of 3.
Indexed spritePicture() {
    Indexed picture{16,
                    5,
                    std::vector<std::uint8_t>(80, 0),
                    {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}}};
    for (unsigned y = 0; y < 5; y++) {
        picture.pixels[y * 16 + y] = 1;
        picture.pixels[y * 16 + 12] = 2;
        picture.pixels[4 * 16 + y + 6] = 3;
    }
    return picture;
}

// Each line's DATA (bit 0 of the colours) and DATB (bit 1) words.
std::vector<std::uint16_t> spriteLines(const Indexed &picture, unsigned lowBit = 0) {
    std::vector<std::uint16_t> words;
    for (unsigned y = 0; y < picture.height; y++) {
        for (unsigned plane : {lowBit, lowBit + 1}) {
            const Bytes row = planeRow(picture, y, plane);
            words.push_back(static_cast<std::uint16_t>(row[0] << 8 | row[1]));
        }
    }
    return words;
}

std::vector<std::uint16_t> join(std::initializer_list<std::vector<std::uint16_t>> parts) {
    std::vector<std::uint16_t> all;
    for (const auto &part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

} // namespace

TEST(QuillfenIffSprite, ControlWordsAndLinesAsBytesAndText) {
    Folder folder;
    const Indexed picture = spritePicture();
    const std::string png = folder.file("s.png");
    savePng(png, picture, 2);
    iffbytes::save(folder.file("s.iff"), ilbmOf(picture, 2));
    const std::vector<std::uint16_t> lines = spriteLines(picture);
    struct Case {
        std::string options;
        std::vector<std::uint16_t> words;
    } cases[] = {
        {"", lines},
        {"--control", join({{0, 0}, lines, {0, 0}})},
        // The Hardware Reference Manual's example: VSTART $6d, HSTART $c0, VSTOP $72 give
        // SPRxPOS $6d60 and SPRxCTL $7200.
        {"--x c0 --y 6d", join({{0x6d60, 0x7200}, lines, {0, 0}})},
        {"--x '$c1' --y 0x6d", join({{0x6d60, 0x7201}, lines, {0, 0}})},
        // VSTART and VSTOP past 255: their bit 8 in SPRxCTL bits 2 and 1.
        {"--x 0 --y 1fa", join({{0xfa00, 0xff06}, lines, {0, 0}})},
        // AGA's 35 ns and 70 ns steps: SPRxCTL bits 3 (SH0) and 4 (SH1).
        {"--chipset aga --x c0.4 --y 6d", join({{0x6d60, 0x7208}, lines, {0, 0}})},
        {"--chipset aga --x c0.8 --y 6d", join({{0x6d60, 0x7210}, lines, {0, 0}})},
        {"--chipset aga --x c0.c --y 6d", join({{0x6d60, 0x7218}, lines, {0, 0}})},
        // AGA's VSTART bit 9 (SV9, bit 6) and VSTOP bit 9 (EV9, bit 5).
        {"--chipset aga --x 0 --y 200", join({{0x0000, 0x0560}, lines, {0, 0}})},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.options);
        for (const char *input : {"s.png", "s.iff"}) {
            succeeds("sprite " + c.options + " " + folder.file(input) + " " + folder.file("s.bin"));
            const Bytes bytes = load(folder.file("s.bin"));
            EXPECT_EQ(wordsOf(bytes), c.words) << input;
            expectAssemblesTo(
                succeeds("sprite --text " + c.options + " " + folder.file(input) + " -"), bytes);
        }
    }
}

TEST(QuillfenIffSprite, WideAttachedAndTransparentSprites) {
    Folder folder;
    // 32 x 2 on AGA: POS,0,CTL,0; each line DATA's long then DATB's; an end of four zeros.
    Indexed wide{
        32, 2, std::vector<std::uint8_t>(64, 0), {{0, 0, 0}, {9, 9, 9}, {8, 8, 8}, {7, 7, 7}}};
    wide.pixels[0] = 1;
    wide.pixels[31] = 3;
    wide.pixels[32 + 17] = 2;
    savePng(folder.file("w.png"), wide, 2);
    succeeds("sprite --width 32 --chipset aga --x 80 --y 40 " + folder.file("w.png") + " " +
             folder.file("w.bin"));
    EXPECT_EQ(wordsOf(load(folder.file("w.bin"))),
              (std::vector<std::uint16_t>{0x4040, 0, 0x4200, 0, 0x8000, 0x0001, 0x0000, 0x0001,
                                          0x0000, 0x0000, 0x0000, 0x4000, 0, 0, 0, 0}));
    expectAssemblesTo(succeeds("sprite --text --width 32 --chipset aga --x 80 --y 40 " +
                               folder.file("w.png") + " -"),
                      load(folder.file("w.bin")));
    // Two sprites of 16 side by side without --width 32.
    succeeds("sprite " + folder.file("w.png") + " " + folder.file("two.bin"));
    EXPECT_EQ(wordsOf(load(folder.file("two.bin"))),
              (std::vector<std::uint16_t>{0x8000, 0, 0, 0, 0x0001, 0x0001, 0x0000, 0x4000}));

    // Attached, 15 colours: the even sprite shows bits 0-1, the odd one bits 2-3 and has the
    // attach bit (SPRxCTL bit 7).
    Indexed colourful{16, 2, {}, {}};
    for (unsigned i = 0; i < 32; i++) {
        colourful.pixels.push_back(static_cast<std::uint8_t>(i % 16));
    }
    for (std::uint8_t i = 0; i < 16; i++) {
        colourful.palette.push_back({i, i, i});
    }
    savePng(folder.file("a.png"), colourful, 4);
    succeeds("sprite --attached --x 90 --y 30 " + folder.file("a.png") + " " +
             folder.file("a.bin"));
    const std::vector<std::uint16_t> words = wordsOf(load(folder.file("a.bin")));
    ASSERT_EQ(words.size(), 16u);
    EXPECT_EQ(words[0], 0x3048);
    EXPECT_EQ(words[1] & 0xff7f, 0x3200);
    EXPECT_EQ(std::vector<std::uint16_t>(words.begin() + 2, words.begin() + 8),
              join({spriteLines(colourful, 0), {0, 0}}));
    EXPECT_EQ(words[8], 0x3048);
    EXPECT_EQ(words[9], 0x3280);
    EXPECT_EQ(std::vector<std::uint16_t>(words.begin() + 10, words.end()),
              join({spriteLines(colourful, 2), {0, 0}}));
    // Without --attached, colours past 3 cannot be shown.
    testprogram::Outcome r = tool("sprite " + folder.file("a.png") + " " + folder.file("no.bin"));
    EXPECT_EQ(r.status, 1);
    EXPECT_FALSE(exists(folder.file("no.bin")));
    EXPECT_NE(r.err.find(folder.file("a.png")), std::string::npos) << r.err;

    // --transparent 3: its pixels become colour 0, and the picture's colour-0 pixels, opaque
    // now, cannot be shown: a warning says how many.
    const Indexed picture = spritePicture();
    savePng(folder.file("s.png"), picture, 2);
    r = tool("sprite --transparent 3 " + folder.file("s.png") + " " + folder.file("t.bin"));
    ASSERT_EQ(r.status, 0) << r.err;
    Indexed cleared = picture;
    for (std::uint8_t &pixel : cleared.pixels) {
        pixel = pixel == 3 ? 0 : pixel;
    }
    EXPECT_EQ(wordsOf(load(folder.file("t.bin"))), spriteLines(cleared));
    EXPECT_NE(r.err.find("65 opaque pixels have colour 0"), std::string::npos) << r.err;
    // A PNG's transparent colour (alpha 0) is what the sprite leaves out.
    savePng(folder.file("alpha.png"), picture, 2, {255, 255, 255, 0});
    succeeds("sprite " + folder.file("alpha.png") + " " + folder.file("alpha.bin"));
    EXPECT_EQ(wordsOf(load(folder.file("alpha.bin"))), spriteLines(cleared));
}
