// Palette tables: each format's text worked out by hand from a few colours (with the reasons, in
// data/paletteformats.txt); every text assembled exactly as printed and compared with the bytes of
// the same format, which so are checked through the text.
#include <amiga/paletteformats.h>

#include "assembled_copper_list.h"

#include <gtest/gtest.h>

#include <random>

using namespace amiga;

namespace {

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

constexpr PaletteFormat kFormats[] = {PaletteFormat::Words,  PaletteFormat::Rgb8,
                                      PaletteFormat::Rgb32,  PaletteFormat::LoadRgb32,
                                      PaletteFormat::Copper, PaletteFormat::CopperAga};

} // namespace

TEST(PaletteFormats, TextsAreTheGoldenOnes) {
    const std::vector<Rgb8> three = {kOdd, kWhite, kDim};
    std::vector<Rgb8> nine;
    for (int i = 0; i < 3; ++i)
        nine.insert(nine.end(), three.begin(), three.end());
    expectGoldenTexts(
        QUILLFEN_AMIGA_DATA "/paletteformats.txt",
        {{"words, 9 colours", paletteText(PaletteFormat::Words, nine)},
         {"rgb8, 5 colours", paletteText(PaletteFormat::Rgb8, {nine.begin(), nine.begin() + 5})},
         {"rgb32, 2 colours", paletteText(PaletteFormat::Rgb32, {kOdd, kDim})},
         {"loadrgb32, 1 colour from colour 3", paletteText(PaletteFormat::LoadRgb32, {kWhite}, 3)},
         {"copper, 3 colours from COLOR30", paletteText(PaletteFormat::Copper, three, 30)},
         {"copper-aga, 2 colours from COLOR31",
          paletteText(PaletteFormat::CopperAga, {kOdd, kDim}, 31)}});
    // The display's BPLCON3 base, $1000 here, in every write (bank bits 15-13, LOCT bit 9).
    EXPECT_EQ(paletteBytes(PaletteFormat::CopperAga, {kOdd, kDim}, 31, 0x1000),
              bytesOfWords({0x106, 0x1000, 0x1be, 0x0b1f, 0x106, 0x1200, 0x1be, 0x092f, 0x106,
                            0x3000, 0x180, 0x0087, 0x106, 0x3200, 0x180, 0x000f, 0x106, 0x1000}));
    // Past the last register, or a LoadRGB32 first colour past a word, there is nothing to write.
    EXPECT_TRUE(paletteBytes(PaletteFormat::Copper, three, 32).empty());
    EXPECT_TRUE(paletteBytes(PaletteFormat::CopperAga, three, 256).empty());
    EXPECT_TRUE(paletteBytes(PaletteFormat::LoadRgb32, three, 0x10000).empty());
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
