// A picture as the Amiga shows it. Colour numbers look up the colour map; EHB's colours 32-63
// are 0-31 with every gun halved; HAM starts every row from colour 0 and holds two guns while
// it modifies the third (Hardware Reference Manual, "Hold-and-Modify Mode"; AGA: HAM8).
#include "internal.h"

#include <algorithm>

namespace picture {

namespace {

using amiga::Rgb8;

Rgb8 entry(const std::vector<Rgb8> &palette, std::uint32_t index) {
    return index < palette.size() ? palette[index] : Rgb8{};
}

// A 12-bit register's colour: the high nibble of each gun, shown as n x 17.
Rgb8 twelveBit(Rgb8 c) {
    auto gun = [](std::uint8_t v) { return static_cast<std::uint8_t>((v >> 4) * 17); };
    return {gun(c.red), gun(c.green), gun(c.blue)};
}

// HAM6 on the OCS/ECS chips: 4 bits a gun. Control bits 5-4: 00 the colour register of bits
// 3-0, 01 blue, 10 red, 11 green takes bits 3-0.
void holdAndModify6(const std::vector<Rgb8> &palette, const std::uint8_t *row, unsigned width,
                    Rgb8 *shown) {
    Rgb8 colour = twelveBit(entry(palette, 0));
    for (unsigned x = 0; x < width; x++) {
        const unsigned data = row[x] & 0xf;
        const auto gun = static_cast<std::uint8_t>(data * 17);
        switch ((row[x] >> 4) & 3) {
        case 0:
            colour = twelveBit(entry(palette, data));
            break;
        case 1:
            colour.blue = gun;
            break;
        case 2:
            colour.red = gun;
            break;
        default:
            colour.green = gun;
            break;
        }
        shown[x] = colour;
    }
}

// HAM8 on AGA: control bits 7-6 as HAM6's; 00 takes one of 64 registers, the others put bits
// 5-0 in the top six bits of the gun and keep its low two.
void holdAndModify8(const std::vector<Rgb8> &palette, const std::uint8_t *row, unsigned width,
                    Rgb8 *shown) {
    Rgb8 colour = entry(palette, 0);
    for (unsigned x = 0; x < width; x++) {
        const unsigned data = row[x] & 0x3f;
        auto modify = [&](std::uint8_t gun) {
            return static_cast<std::uint8_t>(data << 2 | (gun & 3));
        };
        switch (row[x] >> 6) {
        case 0:
            colour = entry(palette, data);
            break;
        case 1:
            colour.blue = modify(colour.blue);
            break;
        case 2:
            colour.red = modify(colour.red);
            break;
        default:
            colour.green = modify(colour.green);
            break;
        }
        shown[x] = colour;
    }
}

// The colours of a line's pixel values: 256 of them (64 used by EHB). Colours 32-63 of EHB are
// the first 32 with each gun shifted right by one bit.
void lookUp(const std::vector<Rgb8> &palette, bool halfbrite, Rgb8 *shown) {
    for (unsigned i = 0; i < 256; i++) {
        shown[i] = entry(palette, i);
    }
    if (halfbrite) {
        for (unsigned i = 0; i < 32; i++) {
            const Rgb8 c = shown[i];
            shown[i + 32] = {static_cast<std::uint8_t>(c.red >> 1),
                             static_cast<std::uint8_t>(c.green >> 1),
                             static_cast<std::uint8_t>(c.blue >> 1)};
        }
    }
}

} // namespace

void detail::renderRows(const Picture &picture,
                        const std::function<void(unsigned y, const Rgb8 *line)> &each) {
    const unsigned width = picture.width;
    const size_t count = size_t{width} * picture.height;
    std::vector<Rgb8> line(width);
    if (!picture.trueColour.empty() || !picture.deepPixels.empty()) {
        for (unsigned y = 0; y < picture.height; y++) {
            for (unsigned x = 0; x < width; x++) {
                const size_t i = size_t{y} * width + x;
                if (!picture.trueColour.empty()) {
                    const Rgba8 c = i < picture.trueColour.size() ? picture.trueColour[i] : Rgba8{};
                    line[x] = {c.red, c.green, c.blue};
                } else if (i < picture.deepPixels.size()) {
                    const std::uint32_t v = picture.deepPixels[i];
                    line[x] =
                        picture.mode == DisplayMode::TrueColour
                            ? Rgb8{static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                                   static_cast<std::uint8_t>(v >> 16)}
                            : entry(picture.palette, v);
                } else {
                    line[x] = {};
                }
            }
            each(y, line.data());
        }
        return;
    }
    if (picture.pixels.size() < count) {
        for (unsigned y = 0; y < picture.height; y++) {
            each(y, line.data());
        }
        return;
    }
    // The registers line by line, each line's changes made before it shows.
    std::vector<Rgb8> registers = picture.palette;
    registers.resize(std::max<size_t>(registers.size(), 256));
    auto change = picture.colourChanges.begin();
    const bool halfbrite = picture.mode == DisplayMode::ExtraHalfbrite;
    Rgb8 shown[256];
    bool stale = true;
    for (unsigned y = 0; y < picture.height; y++) {
        for (; change != picture.colourChanges.end() && change->line <= y; ++change) {
            registers[change->colourRegister & 0xff] = change->colour;
            stale = true;
        }
        const std::uint8_t *row = picture.pixels.data() + size_t{y} * width;
        if (picture.mode == DisplayMode::Ham6) {
            holdAndModify6(registers, row, width, line.data());
        } else if (picture.mode == DisplayMode::Ham8) {
            holdAndModify8(registers, row, width, line.data());
        } else {
            if (stale) {
                lookUp(registers, halfbrite, shown);
                stale = false;
            }
            for (unsigned x = 0; x < width; x++) {
                line[x] = shown[halfbrite ? row[x] & 63 : row[x]];
            }
        }
        each(y, line.data());
    }
}

std::vector<Rgb8> render(const Picture &picture) {
    std::vector<Rgb8> out(size_t{picture.width} * picture.height);
    detail::renderRows(picture, [&](unsigned y, const Rgb8 *line) {
        std::copy(line, line + picture.width, out.begin() + std::ptrdiff_t{y} * picture.width);
    });
    return out;
}

} // namespace picture
