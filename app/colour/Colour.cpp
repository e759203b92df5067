#include "colour/Colour.h"

#include <QColor>
#include <QString>
#include <algorithm>
#include <array>

namespace {

double clampUnit(double value) {
    // NaN fails both comparisons and becomes 0.
    if (!(value > 0.0))
        return 0.0;
    return std::min(value, 1.0);
}

struct Gun3 {
    std::uint8_t red, green, blue;
};

// The standard 16-colour palette, index 0 to 15.
constexpr std::array<Gun3, 16> defaultPalette = {{
    {0x00, 0x00, 0x00},
    {0xa0, 0xa0, 0xa0},
    {0x55, 0x55, 0x55},
    {0xff, 0xff, 0xff},
    {0x88, 0x00, 0x88},
    {0xff, 0x44, 0xaa},
    {0xee, 0x00, 0x00},
    {0x66, 0x22, 0x00},
    {0xff, 0x66, 0x00},
    {0xff, 0xaa, 0x88},
    {0xff, 0xee, 0x00},
    {0x00, 0x88, 0x00},
    {0x00, 0xdd, 0x00},
    {0x00, 0xcc, 0xcc},
    {0x00, 0x66, 0xff},
    {0x00, 0x00, 0xaa},
}};

} // namespace

Colour Colour::colorWithRed(double red, double green, double blue, double alpha) {
    Colour c;
    c.m_red = clampUnit(red);
    c.m_green = clampUnit(green);
    c.m_blue = clampUnit(blue);
    c.m_alpha = clampUnit(alpha);
    return c;
}

double Colour::componentOf(int eightBit) {
    return static_cast<double>(static_cast<float>(eightBit) / 255.0f);
}

int Colour::eightBitValue(double component) {
    return static_cast<int>(clampUnit(component) * 255.0);
}

int Colour::twelveBitValue(int eightBit) {
    return amiga::nibbleOf(eightBit);
}

amiga::Rgb8 Colour::toRgb8() const {
    return {static_cast<std::uint8_t>(red8()), static_cast<std::uint8_t>(green8()),
            static_cast<std::uint8_t>(blue8())};
}

Colour Colour::convertFrom24BitWithRed(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return colorWithRed(componentOf(red), componentOf(green), componentOf(blue), 1.0);
}

Colour Colour::convertFrom12BitWithRed(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    auto widen = [](std::uint8_t nibble) { return amiga::eightBitOf(std::min<int>(nibble, 15)); };
    return colorWithRed(componentOf(widen(red)), componentOf(widen(green)),
                        componentOf(widen(blue)), 1.0);
}

Colour Colour::defaultAmigaGrey() {
    return convertFrom24BitWithRed(0xaa, 0xaa, 0xaa);
}

QList<Colour> Colour::amigaDefaults(qint64 count) {
    QList<Colour> colours;
    if (count <= 0)
        return colours;
    colours.reserve(count);
    for (qint64 i = 0; i < count; ++i) {
        if (i < static_cast<qint64>(defaultPalette.size())) {
            const Gun3 &g = defaultPalette[static_cast<std::size_t>(i)];
            colours.append(convertFrom24BitWithRed(g.red, g.green, g.blue));
        } else {
            colours.append(defaultAmigaGrey());
        }
    }
    return colours;
}

QColor Colour::toQColor() const {
    return QColor(red8(), green8(), blue8());
}

Colour Colour::fromQColor(const QColor &colour) {
    const QColor rgb = colour.toRgb();
    return convertFrom24BitWithRed(static_cast<std::uint8_t>(rgb.red()),
                                   static_cast<std::uint8_t>(rgb.green()),
                                   static_cast<std::uint8_t>(rgb.blue()));
}

QString Colour::name() const {
    return QString::asprintf("#%.2x%.2x%.2x", red8(), green8(), blue8());
}
