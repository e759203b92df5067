// The colour value, its Amiga conversions and the default palette.
#include "colour/Colour.h"

#include <QColor>
#include <gtest/gtest.h>

namespace {

struct Guns {
    int r, g, b;
    bool operator==(const Guns &) const = default;
};
std::ostream &operator<<(std::ostream &os, const Guns &g) {
    return os << '(' << g.r << ", " << g.g << ", " << g.b << ')';
}
Guns guns(const Colour &c) {
    return {c.red8(), c.green8(), c.blue8()};
}

} // namespace

TEST(ColourModel, EveryEightBitValueSurvivesTheRoundTrip) {
    for (int v = 0; v < 256; ++v) {
        const Colour c = Colour::convertFrom24BitWithRed(v, 255 - v, v / 2);
        ASSERT_EQ(guns(c), (Guns{v, 255 - v, v / 2})) << "value " << v;
        // The stored component is the single-precision quotient, not the double one.
        ASSERT_EQ(c.redComponent(), static_cast<double>(static_cast<float>(v) / 255.0f));
        ASSERT_EQ(c.alphaComponent(), 1.0);
        // Through Qt's colour and back nothing changes either.
        ASSERT_EQ(Colour::fromQColor(c.toQColor()), c);
    }
    const Colour c = Colour::convertFrom24BitWithRed(0xff, 0x00, 0x80);
    EXPECT_EQ(c.redComponent(), 1.0);
    EXPECT_EQ(c.greenComponent(), 0.0);
    EXPECT_NEAR(c.blueComponent(), 0.5019608, 1e-7);
    EXPECT_EQ(c.name(), "#ff0080");
}

TEST(ColourModel, TwelveBitValuesAreTheHighNibble) {
    // Whether a picture stores a nibble n as n << 4 or as n x 17, it reads back as n; and
    // $b9 is b, as in the AGA high half of the same colour.
    struct Case {
        int eightBit, nibble;
    };
    for (const Case &k : {Case{0x0f, 0}, Case{0x10, 1}, Case{0x11, 1}, Case{0x88, 8},
                          Case{0xb9, 11}, Case{0xf0, 15}, Case{0xff, 15}})
        EXPECT_EQ(Colour::twelveBitValue(k.eightBit), k.nibble) << k.eightBit;
    EXPECT_EQ(Colour::convertFrom24BitWithRed(0xb9, 0xf0, 0x0f).toRgb8(),
              (amiga::Rgb8{0xb9, 0xf0, 0x0f}));
    // And the 12-bit constructor widens a nibble back: n x 17.
    for (int n = 0; n < 16; ++n)
        ASSERT_EQ(guns(Colour::convertFrom12BitWithRed(n, 15 - n, n)),
                  (Guns{n * 17, 255 - n * 17, n * 17}));
    EXPECT_EQ(guns(Colour::convertFrom12BitWithRed(16, 200, 255)), (Guns{255, 255, 255}));
}

TEST(ColourModel, ComponentsAreKeptInRange) {
    const Colour c = Colour::colorWithRed(1.5, -0.25, std::nan(""), 1.0);
    EXPECT_EQ(guns(c), (Guns{255, 0, 0}));
    EXPECT_EQ(Colour::colorWithRed(1.0, 0.5, 0.0).greenComponent(), 0.5);
}

TEST(ColourModel, DefaultPaletteAndGrey) {
    const Colour grey = Colour::defaultAmigaGrey();
    EXPECT_EQ(guns(grey), (Guns{0xaa, 0xaa, 0xaa}));
    EXPECT_TRUE(Colour::amigaDefaults(0).isEmpty());
    EXPECT_TRUE(Colour::amigaDefaults(-3).isEmpty());
    EXPECT_EQ(Colour::amigaDefaults(4), Colour::amigaDefaults(17).mid(0, 4));

    const QList<Guns> table = {
        {0x00, 0x00, 0x00}, {0xa0, 0xa0, 0xa0}, {0x55, 0x55, 0x55}, {0xff, 0xff, 0xff},
        {0x88, 0x00, 0x88}, {0xff, 0x44, 0xaa}, {0xee, 0x00, 0x00}, {0x66, 0x22, 0x00},
        {0xff, 0x66, 0x00}, {0xff, 0xaa, 0x88}, {0xff, 0xee, 0x00}, {0x00, 0x88, 0x00},
        {0x00, 0xdd, 0x00}, {0x00, 0xcc, 0xcc}, {0x00, 0x66, 0xff}, {0x00, 0x00, 0xaa}};
    const QList<Colour> seventeen = Colour::amigaDefaults(17);
    ASSERT_EQ(seventeen.size(), 17);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(guns(seventeen[i]), table[i]) << "entry " << i;
    EXPECT_EQ(seventeen[16], grey);

    const QList<Colour> all = Colour::amigaDefaults(256);
    ASSERT_EQ(all.size(), 256);
    EXPECT_EQ(all[15], seventeen[15]);
    EXPECT_EQ(all[255], grey);
}
