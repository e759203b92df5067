// The SHAM and PCHG chunks read into colour changes.
//
// SHAM: a version word (0), then for each line (each two lines of an interlaced picture) 16
// colours as $0RGB words, registers 0-15 on that line.
//
// PCHG (S. Vigna, "PCHG: line by line palette control", http://amigan.1emu.net/reg/ILBM.PCHG.txt):
// a header of Compression, Flags, StartLine (signed), LineCount, ChangedLines, MinReg, MaxReg,
// MaxChanges (words) and TotalChanges (a long); with Compression 1 a long CompInfoSize and a
// long OriginalDataSize, CompInfoSize bytes of Huffman tree, then the packed data; else the data.
// The data: a line mask of LineCount bits in whole longs (the top bit of the first is StartLine),
// then for each line whose bit is set, its changes. Flags 1 (12-bit): a byte of changes to
// registers 0-15 and a byte of changes to 16-31, then a word each, the register's low four bits
// in bits 15-12 and the colour in bits 11-0. Flags 2 (32-bit): a word count, then six bytes each:
// the register (a word), alpha, red, blue, green (the document's LongColorChange; netpbm's
// ilbmtoppm reads them so too).
#include "picture/linecolours.h"

#include <algorithm>

namespace picture {

namespace {

using amiga::Rgb8;

constexpr unsigned kRegisters = 256;

Rgb8 fromWord(unsigned word) {
    auto gun = [](unsigned nibble) { return static_cast<std::uint8_t>((nibble & 0xf) * 17); };
    return {gun(word >> 8), gun(word >> 4), gun(word)};
}

// Big-endian fields read in order; a read past the end fails and stays failed.
class Fields {
public:
    explicit Fields(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}
    bool ok() const { return m_ok; }
    std::size_t left() const { return m_ok ? m_bytes.size() - m_at : 0; }
    std::span<const std::uint8_t> rest() const { return m_bytes.subspan(m_ok ? m_at : 0); }
    std::uint32_t take(unsigned size) {
        if (!m_ok || m_bytes.size() - m_at < size) {
            m_ok = false;
            return 0;
        }
        std::uint32_t value = 0;
        for (unsigned i = 0; i < size; i++) {
            value = value << 8 | m_bytes[m_at++];
        }
        return value;
    }
    std::uint32_t byte() { return take(1); }
    std::uint32_t word() { return take(2); }
    std::uint32_t longword() { return take(4); }

private:
    std::span<const std::uint8_t> m_bytes;
    std::size_t m_at = 0;
    bool m_ok = true;
};

bool fail(std::string *error, std::string text) {
    if (error != nullptr) {
        *error = std::move(text);
    }
    return false;
}

// PCHG's Huffman code: the tree is words, its root the last. At a node a 1 bit takes the node's
// own word: 0 or more is a byte (a leaf), less is a step back by that many bytes to the next
// node; a 0 bit takes the word before it: with bit 8 set (and positive) a byte, else the next
// node. Bits are read from the top of each byte.
bool unpackHuffman(std::span<const std::uint8_t> tree, std::span<const std::uint8_t> packed,
                   std::uint32_t size, std::vector<std::uint8_t> *out, std::string *error) {
    const std::size_t words = tree.size() / 2;
    if (words == 0 || tree.size() % 2 != 0) {
        return fail(error, "its Huffman tree of " + std::to_string(tree.size()) +
                               " bytes is no whole number of words");
    }
    // Each byte takes one bit at least.
    if (size / 8 > packed.size()) {
        return fail(error, "its " + std::to_string(packed.size()) +
                               " packed bytes cannot hold the " + std::to_string(size) +
                               " it unpacks to");
    }
    auto word = [&](std::size_t at) {
        return static_cast<std::int16_t>(tree[2 * at] << 8 | tree[2 * at + 1]);
    };
    out->clear();
    out->reserve(size);
    const std::size_t root = words - 1;
    std::size_t node = root;
    for (std::size_t bit = 0; out->size() < size; bit++) {
        if (bit / 8 >= packed.size()) {
            return fail(error, "its packed data ends after " + std::to_string(out->size()) +
                                   " of its " + std::to_string(size) + " bytes");
        }
        if ((packed[bit / 8] >> (7 - bit % 8)) & 1) {
            const int here = word(node);
            if (here >= 0) {
                out->push_back(static_cast<std::uint8_t>(here));
                node = root;
            } else if (static_cast<std::size_t>(-here / 2) > node || here % 2 != 0) {
                return fail(error, "its Huffman tree points outside itself");
            } else {
                node -= static_cast<std::size_t>(-here / 2);
            }
        } else {
            if (node == 0) {
                return fail(error, "its Huffman tree points outside itself");
            }
            node--;
            const int here = word(node);
            if (here > 0 && (here & 0x100) != 0) {
                out->push_back(static_cast<std::uint8_t>(here));
                node = root;
            }
        }
    }
    return true;
}

} // namespace

std::optional<std::vector<ColourChange>> readSham(std::span<const std::uint8_t> chunk,
                                                  const std::vector<Rgb8> &palette, unsigned height,
                                                  bool lace, std::string *error) {
    Fields fields(chunk);
    const std::uint32_t version = fields.word();
    if (!fields.ok()) {
        fail(error, "the SHAM chunk of " + std::to_string(chunk.size()) +
                        " bytes is too short for its version word");
        return std::nullopt;
    }
    if (version != 0) {
        fail(error, "the SHAM chunk is of version " + std::to_string(version) +
                        "; only version 0 is read");
        return std::nullopt;
    }
    const unsigned step = lace ? 2 : 1;
    const std::size_t lines = (height + step - 1) / step;
    const std::size_t held = fields.left() / 32;
    if (held != lines) {
        fail(error, "the SHAM chunk holds palettes for " + std::to_string(held) + " lines, the " +
                        (lace ? "interlaced picture needs " : "picture needs ") +
                        std::to_string(lines) + " (" + std::to_string(height) + " lines)");
        return std::nullopt;
    }
    Rgb8 registers[16];
    for (unsigned r = 0; r < 16; r++) {
        registers[r] = r < palette.size() ? palette[r] : Rgb8{};
    }
    std::vector<ColourChange> changes;
    for (unsigned line = 0; line < height; line += step) {
        for (unsigned r = 0; r < 16; r++) {
            const Rgb8 colour = fromWord(fields.word());
            if (!(colour == registers[r])) {
                changes.push_back({line, r, colour});
                registers[r] = colour;
            }
        }
    }
    return changes;
}

std::optional<std::vector<ColourChange>> readPchg(std::span<const std::uint8_t> chunk,
                                                  unsigned height, std::string *error) {
    Fields header(chunk);
    const std::uint32_t compression = header.word();
    const std::uint32_t flags = header.word();
    const auto startLine = static_cast<std::int16_t>(header.word());
    const std::uint32_t lineCount = header.word();
    const std::uint32_t changedLines = header.word();
    const std::uint32_t minReg = header.word();
    const std::uint32_t maxReg = header.word();
    const std::uint32_t maxChanges = header.word();
    const std::uint32_t totalChanges = header.longword();
    auto malformed = [&](const std::string &what) {
        fail(error, "the PCHG chunk is malformed: " + what);
        return std::nullopt;
    };
    if (!header.ok()) {
        fail(error, "the PCHG chunk of " + std::to_string(chunk.size()) +
                        " bytes is too short for its 20-byte header");
        return std::nullopt;
    }
    if (compression > 1) {
        fail(error, "the PCHG chunk is compressed with method " + std::to_string(compression) +
                        ", which is not read (only 0, none, and 1, Huffman)");
        return std::nullopt;
    }
    const bool small = (flags & 3) == 1;
    if ((flags & 3) == 0 || (flags & 3) == 3) {
        return malformed("its flags (" + std::to_string(flags) +
                         ") name neither 12-bit nor 32-bit changes alone");
    }
    if (startLine + static_cast<long>(lineCount) > static_cast<long>(height)) {
        fail(error, "the PCHG chunk changes lines " + std::to_string(startLine) + " to " +
                        std::to_string(startLine + static_cast<long>(lineCount) - 1) +
                        ", the picture has " + std::to_string(height));
        return std::nullopt;
    }

    std::vector<std::uint8_t> unpacked;
    std::span<const std::uint8_t> data = header.rest();
    if (compression == 1) {
        const std::uint32_t treeSize = header.longword();
        const std::uint32_t size = header.longword();
        if (!header.ok() || header.left() < treeSize) {
            return malformed("it ends inside its Huffman header or tree");
        }
        std::string problem;
        const std::span<const std::uint8_t> rest = header.rest();
        if (!unpackHuffman(rest.first(treeSize), rest.subspan(treeSize), size, &unpacked,
                           &problem)) {
            return malformed(problem);
        }
        data = unpacked;
    }

    Fields fields(data);
    const std::size_t maskLongs = (lineCount + 31) / 32;
    std::vector<std::uint8_t> mask(maskLongs * 4);
    for (std::uint8_t &byte : mask) {
        byte = static_cast<std::uint8_t>(fields.byte());
    }
    if (!fields.ok()) {
        return malformed("it ends inside its line mask");
    }
    std::vector<ColourChange> changes;
    std::uint32_t lines = 0;
    for (std::uint32_t i = 0; i < lineCount; i++) {
        if (((mask[i / 8] >> (7 - i % 8)) & 1) == 0) {
            continue;
        }
        lines++;
        const long line = std::max(0L, startLine + static_cast<long>(i));
        std::uint32_t count = 0;
        std::uint32_t low = 0;
        if (small) {
            low = fields.byte();
            count = low + fields.byte();
        } else {
            count = fields.word();
        }
        if (count > maxChanges) {
            return malformed("line " + std::to_string(line) + " has " + std::to_string(count) +
                             " changes, more than its MaxChanges of " + std::to_string(maxChanges));
        }
        for (std::uint32_t c = 0; c < count && fields.ok(); c++) {
            unsigned reg = 0;
            Rgb8 colour;
            if (small) {
                const std::uint32_t word = fields.word();
                reg = (word >> 12) + (c < low ? 0 : 16);
                colour = fromWord(word);
            } else {
                reg = fields.word();
                fields.byte(); // alpha
                colour.red = static_cast<std::uint8_t>(fields.byte());
                colour.blue = static_cast<std::uint8_t>(fields.byte());
                colour.green = static_cast<std::uint8_t>(fields.byte());
            }
            if (fields.ok() && (reg < minReg || reg > maxReg || reg >= kRegisters)) {
                return malformed("line " + std::to_string(line) + " changes register " +
                                 std::to_string(reg) + ", outside its registers " +
                                 std::to_string(minReg) + "-" +
                                 std::to_string(std::min(maxReg, kRegisters - 1)));
            }
            changes.push_back({static_cast<unsigned>(line), reg, colour});
        }
        if (!fields.ok()) {
            return malformed("it ends inside the changes of line " + std::to_string(line));
        }
    }
    if (lines != changedLines || changes.size() != totalChanges) {
        return malformed("it says " + std::to_string(changedLines) + " lines and " +
                         std::to_string(totalChanges) + " changes, its data holds " +
                         std::to_string(lines) + " and " + std::to_string(changes.size()));
    }
    return changes;
}

std::vector<Rgb8> linePalette(const Picture &picture, unsigned line) {
    std::vector<Rgb8> registers(std::max<std::size_t>(picture.palette.size(), kRegisters));
    std::copy(picture.palette.begin(), picture.palette.end(), registers.begin());
    for (const ColourChange &change : picture.colourChanges) {
        if (change.line > line) {
            break;
        }
        registers[change.colourRegister] = change.colour;
    }
    return registers;
}

} // namespace picture
