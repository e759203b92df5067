// Palette tables: values worked out by hand from a few colours, every text assembled exactly as
// printed and compared with the bytes of the same format, and the AGA copper text run over a
// frame by the copper model to the colours it sets.
#include <amiga/copperframe.h>
#include <amiga/paletteformats.h>

#include "assembled_copper_list.h"
#include "m68k_assembler.h"

#include <gtest/gtest.h>

#include <random>

using namespace amiga;

namespace {

using Bytes = std::vector<std::uint8_t>;

// $b9 $12 $ff: high nibbles b 1 f, low nibbles 9 2 f.
constexpr Rgb8 kOdd = {0xb9, 0x12, 0xff};
constexpr Rgb8 kWhite = {0xff, 0xff, 0xff};
// $00 $80 $7f: high nibbles 0 8 7, low nibbles 0 0 f.
constexpr Rgb8 kDim = {0x00, 0x80, 0x7f};

std::vector<Rgb8> randomColours(std::size_t n, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<Rgb8> colours(n);
    for (Rgb8 &c : colours)
        c = {static_cast<std::uint8_t>(random()), static_cast<std::uint8_t>(random()),
             static_cast<std::uint8_t>(random())};
    return colours;
}

std::vector<std::string> lines(const std::string &text) {
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        out.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return out;
}

constexpr PaletteFormat kFormats[] = {PaletteFormat::Words,  PaletteFormat::Rgb8,
                                      PaletteFormat::Rgb32,  PaletteFormat::LoadRgb32,
                                      PaletteFormat::Copper, PaletteFormat::CopperAga};

} // namespace

TEST(PaletteFormats, TablesByHand) {
    const std::vector<Rgb8> colours = {kOdd, kWhite, kDim};
    EXPECT_EQ(paletteBytes(PaletteFormat::Words, colours),
              (Bytes{0x0b, 0x1f, 0x0f, 0xff, 0x00, 0x87}));
    EXPECT_EQ(paletteBytes(PaletteFormat::Rgb8, colours),
              (Bytes{0x00, 0xb9, 0x12, 0xff, 0x00, 0xff, 0xff, 0xff, 0x00, 0x00, 0x80, 0x7f}));
    // LoadRGB32 entries: each gun's byte in all four bytes, $12 -> $12121212.
    EXPECT_EQ(paletteBytes(PaletteFormat::Rgb32, {kOdd}),
              (Bytes{0xb9, 0xb9, 0xb9, 0xb9, 0x12, 0x12, 0x12, 0x12, 0xff, 0xff, 0xff, 0xff}));
    // A LoadRGB32 table of 2 colours from colour 5: $00020005, the entries, a 0 long.
    Bytes table = {0x00, 0x02, 0x00, 0x05};
    for (std::uint8_t gun : {0xffu, 0xffu, 0xffu, 0x00u, 0x80u, 0x7fu})
        table.insert(table.end(), 4, gun);
    table.insert(table.end(), 4, 0);
    EXPECT_EQ(paletteBytes(PaletteFormat::LoadRgb32, {kWhite, kDim}, 5), table);
    // Copper MOVEs: COLOR00 is $180, each register 2 further on.
    EXPECT_EQ(paletteBytes(PaletteFormat::Copper, colours),
              (Bytes{0x01, 0x80, 0x0b, 0x1f, 0x01, 0x82, 0x0f, 0xff, 0x01, 0x84, 0x00, 0x87}));
}

TEST(PaletteFormats, CopperLeavesOutColoursPastTheLastRegister) {
    // From COLOR30: COLOR30 ($1bc) and COLOR31 ($1be); the third colour has no register.
    const std::vector<Rgb8> colours = {kOdd, kWhite, kDim};
    EXPECT_EQ(paletteBytes(PaletteFormat::Copper, colours, 30),
              (Bytes{0x01, 0xbc, 0x0b, 0x1f, 0x01, 0xbe, 0x0f, 0xff}));
    EXPECT_EQ(paletteText(PaletteFormat::Copper, colours, 30),
              "; 3 colours from COLOR30 as copper MOVEs\n"
              "\tdc.w\tCOLOR30,$0b1f\n"
              "\tdc.w\tCOLOR31,$0fff\n"
              "; OCS/ECS have no colour register after COLOR31: left out from entry 2 on\n");
    EXPECT_TRUE(paletteBytes(PaletteFormat::Copper, colours, 32).empty());
    EXPECT_TRUE(paletteBytes(PaletteFormat::CopperAga, colours, 256).empty());
    EXPECT_TRUE(paletteBytes(PaletteFormat::LoadRgb32, colours, 0x10000).empty());
}

TEST(PaletteFormats, CopperAgaGoesBankByBankAndEndsWithTheBase) {
    // Two colours from COLOR31 of bank 0: one in bank 0, one in bank 1 (BPLCON3 bank bits 15-13,
    // LOCT bit 9, set in the base value: $0c00, or $1000 as given; see colourwords.h). BPLCON3
    // is $106.
    const std::vector<Rgb8> colours = {kOdd, kDim};
    EXPECT_EQ(paletteText(PaletteFormat::CopperAga, colours, 31),
              "; 2 colours from COLOR31 as AGA copper MOVEs: the high nibbles, then the low ones "
              "with LOCT\n"
              "\tdc.w\tBPLCON3,$0c00\n"
              "\tdc.w\tCOLOR31,$0b1f\n"
              "\tdc.w\tBPLCON3,$0e00\n"
              "\tdc.w\tCOLOR31,$092f\n"
              "\tdc.w\tBPLCON3,$2c00\n"
              "\tdc.w\tCOLOR00,$0087\n"
              "\tdc.w\tBPLCON3,$2e00\n"
              "\tdc.w\tCOLOR00,$000f\n"
              "\tdc.w\tBPLCON3,$0c00\n");
    EXPECT_EQ(paletteBytes(PaletteFormat::CopperAga, colours, 31, 0x1000),
              bytesOfWords({0x106, 0x1000, 0x1be, 0x0b1f, 0x106, 0x1200, 0x1be, 0x092f, 0x106,
                            0x3000, 0x180, 0x0087, 0x106, 0x3200, 0x180, 0x000f, 0x106, 0x1000}));
}

TEST(PaletteFormats, TextLinesHoldWhatTheyShould) {
    const std::vector<Rgb8> colours = randomColours(9, 1);
    // 9 words: 8 on the first line, 1 on the second.
    const auto words = lines(paletteText(PaletteFormat::Words, colours));
    ASSERT_EQ(words.size(), 3u);
    EXPECT_EQ(words[0], "; 9 colours as 12-bit colour words (a LoadRGB4 table)");
    EXPECT_EQ(std::count(words[1].begin(), words[1].end(), '$'), 8);
    EXPECT_EQ(std::count(words[2].begin(), words[2].end(), '$'), 1);
    // 9 longs: 4, 4, 1.
    EXPECT_EQ(lines(paletteText(PaletteFormat::Rgb8, colours)).size(), 4u);
    // A colour a line; LoadRGB32 adds its first long and its 0.
    EXPECT_EQ(lines(paletteText(PaletteFormat::Rgb32, colours)).size(), 10u);
    const auto table = lines(paletteText(PaletteFormat::LoadRgb32, {kWhite}, 3));
    EXPECT_EQ(table, (std::vector<std::string>{
                         "; 1 colour from colour 3 as a LoadRGB32 table", "\tdc.l\t$00010003",
                         "\tdc.l\t$ffffffff,$ffffffff,$ffffffff", "\tdc.l\t$00000000"}));
    for (PaletteFormat f : kFormats) {
        EXPECT_TRUE(paletteText(f, {}).empty());
        EXPECT_TRUE(paletteBytes(f, {}).empty());
    }
}

TEST(PaletteFormats, EveryTextAssemblesToItsBytes) {
    if (!m68k::available())
        GTEST_SKIP() << "m68k-linux-gnu-as is not installed";
    struct Case {
        std::size_t count;
        unsigned first;
    } cases[] = {{1, 0}, {9, 3}, {40, 0}, {40, 230}, {300, 0}};
    for (const Case &c : cases) {
        const std::vector<Rgb8> colours = randomColours(c.count, c.first + 5);
        for (PaletteFormat f : kFormats) {
            SCOPED_TRACE(testing::Message()
                         << paletteFormatName(f) << ", " << c.count << " colours from " << c.first);
            const std::string text = paletteText(f, colours, c.first);
            EXPECT_EQ(bytesOfWords(assembled(text)), paletteBytes(f, colours, c.first));
        }
    }
}

TEST(PaletteFormats, CopperAgaSetsFortyColoursOnTheCopper) {
    if (!m68k::available())
        GTEST_SKIP() << "m68k-linux-gnu-as is not installed";
    const std::vector<Rgb8> colours = randomColours(40, 9);
    for (unsigned first : {0u, 20u}) {
        SCOPED_TRACE(testing::Message() << "from colour " << first);
        CopperFrame frame(CopperFrame::Chipset::Aga);
        frame.run(assembledCopperList(paletteText(PaletteFormat::CopperAga, colours, first)));
        EXPECT_EQ(frame.stop(), CopperFrame::Stop::EndOfList);
        for (unsigned i = 0; i < 256; ++i) {
            const Rgb8 expected = i >= first && i < first + 40 ? colours[i - first] : Rgb8{};
            ASSERT_EQ(frame.finalColours()[i], expected) << "register " << i;
        }
        // Written again through the same words with LOCT as the list left it, a colour sets all
        // of its nibbles: the list ends with BPLCON3's base, LOCT clear. (CopperFrame::colourWrite
        // with LOCT clear copies the high nibbles into the low ones.)
        const auto words = assembled(paletteText(PaletteFormat::CopperAga, colours, first));
        ASSERT_GE(words.size(), 2u);
        EXPECT_EQ(words[words.size() - 2], 0x106);
        EXPECT_EQ(words.back(), 0x0c00);
    }
    // OCS copper from COLOR00: 32 registers set to the 12-bit colours, the rest left out.
    CopperFrame ocs(CopperFrame::Chipset::Ocs);
    ocs.run(assembledCopperList(paletteText(PaletteFormat::Copper, colours)));
    for (int i = 0; i < 32; ++i)
        ASSERT_EQ(ocs.finalColours()[i], toTwelveBit(colours[i])) << "register " << i;
}
