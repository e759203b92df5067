#include "amiga/paletteformats.h"

#include "amiga/asmtext.h"
#include "amiga/colourcode.h"
#include "amiga/customregisters.h"

#include <algorithm>
#include <array>

namespace amiga {

namespace {

struct FormatName {
    PaletteFormat format;
    std::string_view name;
};

constexpr std::array<FormatName, 6> kNames = {{
    {PaletteFormat::Words, "words"},
    {PaletteFormat::Rgb8, "rgb8"},
    {PaletteFormat::Rgb32, "rgb32"},
    {PaletteFormat::LoadRgb32, "loadrgb32"},
    {PaletteFormat::Copper, "copper"},
    {PaletteFormat::CopperAga, "copper-aga"},
}};

// Values a text line holds: 8 words, 4 longs, or one colour's three longs.
constexpr std::size_t kWordsPerLine = 8;
constexpr std::size_t kLongsPerLine = 4;

std::string colourCount(std::size_t n) {
    return std::to_string(n) + (n == 1 ? " colour" : " colours");
}

std::uint32_t rgb8Long(Rgb8 c) {
    return static_cast<std::uint32_t>(c.red) << 16 | static_cast<std::uint32_t>(c.green) << 8 |
           c.blue;
}

// A gun's byte in all four bytes of a long, as LoadRGB32 takes it.
std::uint32_t repeated(std::uint8_t gun) {
    return gun * 0x01010101u;
}

// One copper MOVE: the register's offset and name, and the value.
struct Move {
    std::uint16_t offset;
    std::string name;
    std::uint16_t value;
};

// The colours a copper format writes, from colour register first on: those up to the format's
// limit.
std::size_t copperCount(PaletteFormat format, std::size_t colours, unsigned first) {
    const unsigned limit = paletteFormatLimit(format);
    return first >= limit ? 0 : std::min<std::size_t>(colours, limit - first);
}

// The MOVEs of the copper formats, in order (see the header).
std::vector<Move> copperMoves(PaletteFormat format, const std::vector<Rgb8> &colours,
                              unsigned first, std::uint16_t base) {
    std::vector<Move> moves;
    const std::size_t count = copperCount(format, colours.size(), first);
    const auto colourMove = [&](std::size_t i, std::uint16_t value) {
        const int index = static_cast<int>(first + i);
        moves.push_back({static_cast<std::uint16_t>(kColour00 + 2 * (index % kRegistersPerBank)),
                         colourRegisterName(index), value});
    };
    const auto bplcon3 = [&](int bank, bool low) {
        moves.push_back({kBplcon3, "BPLCON3", bplcon3For(bank, low, base)});
    };
    if (format == PaletteFormat::Copper) {
        for (std::size_t i = 0; i < count; ++i)
            colourMove(i, highWord(colours[i]));
        return moves;
    }
    // AGA: bank by bank, the high nibbles with LOCT clear, then the low nibbles with LOCT set.
    for (std::size_t start = 0; start < count;) {
        const int bank = static_cast<int>((first + start) / kRegistersPerBank);
        const std::size_t end = std::min<std::size_t>(
            count, (static_cast<std::size_t>(bank) + 1) * kRegistersPerBank - first);
        bplcon3(bank, false);
        for (std::size_t i = start; i < end; ++i)
            colourMove(i, highWord(colours[i]));
        bplcon3(bank, true);
        for (std::size_t i = start; i < end; ++i)
            colourMove(i, lowWord(colours[i]));
        start = end;
    }
    if (count > 0)
        moves.push_back({kBplcon3, "BPLCON3", base}); // later colour writes set every nibble
    return moves;
}

void putWord(std::vector<std::uint8_t> &out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value >> 8));
    out.push_back(static_cast<std::uint8_t>(value));
}

void putLong(std::vector<std::uint8_t> &out, std::uint32_t value) {
    putWord(out, static_cast<std::uint16_t>(value >> 16));
    putWord(out, static_cast<std::uint16_t>(value));
}

// The longs of a whole LoadRGB32 table: its first long, the entries, the terminating 0.
std::vector<std::uint32_t> loadRgb32Longs(const std::vector<Rgb8> &colours, std::size_t count,
                                          unsigned first) {
    std::vector<std::uint32_t> longs;
    longs.reserve(count * 3 + 2);
    longs.push_back(static_cast<std::uint32_t>(count) << 16 | first);
    for (std::size_t i = 0; i < count; ++i)
        for (std::uint8_t gun : {colours[i].red, colours[i].green, colours[i].blue})
            longs.push_back(repeated(gun));
    longs.push_back(0);
    return longs;
}

// How many colours a LoadRGB32 table holds: its count is a word, and so is its first colour.
std::size_t loadRgb32Count(std::size_t colours, unsigned first) {
    if (first > 0xffff)
        return 0;
    return std::min<std::size_t>(colours, paletteFormatLimit(PaletteFormat::LoadRgb32));
}

// Data lines of at most perLine values each.
void valueLines(AsmWriter &out, bool longs, const std::vector<std::uint32_t> &values,
                std::size_t perLine) {
    std::vector<std::string> operands;
    for (std::size_t i = 0; i < values.size(); ++i) {
        operands.push_back(hex(values[i], longs ? 8 : 4));
        if (operands.size() == perLine || i + 1 == values.size()) {
            if (longs)
                out.dcl(operands);
            else
                out.dcw(operands);
            operands.clear();
        }
    }
}

std::string leftOut(PaletteFormat format, std::size_t written) {
    const std::string from = " left out from entry " + std::to_string(written) + " on";
    switch (format) {
    case PaletteFormat::Copper:
        return "OCS/ECS have no colour register after COLOR31:" + from;
    case PaletteFormat::CopperAga:
        return "AGA has no colour register after bank 7 COLOR31:" + from;
    default:
        return "a LoadRGB32 table holds at most 65535 colours, from a colour number up to "
               "65535:" +
               from;
    }
}

// Where a copper format's colours start: "COLOR05", on AGA past bank 0 "bank 1 COLOR08", and
// past the last register "colour 300".
std::string registerFrom(PaletteFormat format, unsigned first) {
    if (first >= paletteFormatLimit(format))
        return "colour " + std::to_string(first);
    const std::string name = colourRegisterName(static_cast<int>(first));
    if (first < static_cast<unsigned>(kRegistersPerBank))
        return name;
    return "bank " + std::to_string(first / kRegistersPerBank) + " " + name;
}

} // namespace

std::optional<PaletteFormat> paletteFormatNamed(std::string_view name) {
    for (const FormatName &entry : kNames)
        if (entry.name == name)
            return entry.format;
    return std::nullopt;
}

std::string_view paletteFormatName(PaletteFormat format) {
    for (const FormatName &entry : kNames)
        if (entry.format == format)
            return entry.name;
    return {};
}

unsigned paletteFormatLimit(PaletteFormat format) {
    switch (format) {
    case PaletteFormat::Copper:
        return kOcsColourRegisters;
    case PaletteFormat::CopperAga:
        return kAgaColourRegisters;
    case PaletteFormat::LoadRgb32:
        return 0xffff;
    default:
        return 0xffffffffu;
    }
}

std::vector<std::uint8_t> paletteBytes(PaletteFormat format, const std::vector<Rgb8> &colours,
                                       unsigned firstColour, std::uint16_t bplcon3) {
    std::vector<std::uint8_t> out;
    if (colours.empty())
        return out;
    switch (format) {
    case PaletteFormat::Words:
        for (Rgb8 c : colours)
            putWord(out, highWord(c));
        break;
    case PaletteFormat::Rgb8:
        for (Rgb8 c : colours)
            putLong(out, rgb8Long(c));
        break;
    case PaletteFormat::Rgb32:
        for (Rgb8 c : colours)
            for (std::uint8_t gun : {c.red, c.green, c.blue})
                putLong(out, repeated(gun));
        break;
    case PaletteFormat::LoadRgb32: {
        const std::size_t count = loadRgb32Count(colours.size(), firstColour);
        if (count == 0)
            break;
        for (std::uint32_t value : loadRgb32Longs(colours, count, firstColour))
            putLong(out, value);
        break;
    }
    case PaletteFormat::Copper:
    case PaletteFormat::CopperAga:
        for (const Move &move : copperMoves(format, colours, firstColour, bplcon3)) {
            putWord(out, move.offset);
            putWord(out, move.value);
        }
        break;
    }
    return out;
}

std::string paletteText(PaletteFormat format, const std::vector<Rgb8> &colours,
                        unsigned firstColour, std::uint16_t bplcon3) {
    if (colours.empty())
        return {};
    AsmWriter out;
    const std::string n = colourCount(colours.size());
    std::size_t written = colours.size();
    switch (format) {
    case PaletteFormat::Words: {
        out.comment(n + " as 12-bit colour words (a LoadRGB4 table)");
        std::vector<std::uint32_t> values;
        for (Rgb8 c : colours)
            values.push_back(highWord(c));
        valueLines(out, false, values, kWordsPerLine);
        break;
    }
    case PaletteFormat::Rgb8: {
        out.comment(n + " as 24-bit colour longs ($00rrggbb)");
        std::vector<std::uint32_t> values;
        for (Rgb8 c : colours)
            values.push_back(rgb8Long(c));
        valueLines(out, true, values, kLongsPerLine);
        break;
    }
    case PaletteFormat::Rgb32:
        out.comment(n + " as LoadRGB32 entries (red, green, blue longs a line)");
        for (Rgb8 c : colours)
            valueLines(out, true, {repeated(c.red), repeated(c.green), repeated(c.blue)}, 3);
        break;
    case PaletteFormat::LoadRgb32: {
        written = loadRgb32Count(colours.size(), firstColour);
        out.comment(colourCount(written) + " from colour " + std::to_string(firstColour) +
                    " as a LoadRGB32 table");
        if (written == 0)
            break;
        const std::vector<std::uint32_t> longs = loadRgb32Longs(colours, written, firstColour);
        valueLines(out, true, {longs.front()}, 1); // count << 16 | first colour
        for (std::size_t i = 0; i < written; ++i)
            valueLines(out, true, {longs[1 + 3 * i], longs[2 + 3 * i], longs[3 + 3 * i]}, 3);
        valueLines(out, true, {0}, 1);
        break;
    }
    case PaletteFormat::Copper:
    case PaletteFormat::CopperAga: {
        written = copperCount(format, colours.size(), firstColour);
        out.comment(n + " from " + registerFrom(format, firstColour) +
                    (format == PaletteFormat::Copper
                         ? " as copper MOVEs"
                         : " as AGA copper MOVEs: the high nibbles, then the low ones with LOCT"));
        for (const Move &move : copperMoves(format, colours, firstColour, bplcon3))
            out.copperMove(move.name, move.value);
        break;
    }
    }
    if (written < colours.size())
        out.comment(leftOut(format, written));
    return out.take();
}

} // namespace amiga
