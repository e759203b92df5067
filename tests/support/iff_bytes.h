// IFF-85 files built byte by byte, for the tests of the iff and ilbm libraries and for the seed
// programs of the fuzz targets. Nothing here uses the libraries: what a test expects of them is
// written out independently of their code.
#ifndef QUILLFEN_TESTS_IFF_BYTES_H
#define QUILLFEN_TESTS_IFF_BYTES_H

#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>

namespace iffbytes {

using Bytes = std::vector<unsigned char>;

inline void append(Bytes &bytes, const Bytes &more) {
    bytes.insert(bytes.end(), more.begin(), more.end());
}

inline Bytes cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes &part : parts)
        append(out, part);
    return out;
}

// The four bytes of an ID, zero bytes included.
inline Bytes id(const char *chunkId) {
    return Bytes(chunkId, chunkId + 4);
}

inline Bytes text(const std::string &s) {
    return Bytes(s.begin(), s.end());
}

inline Bytes be16(uint16_t value) {
    return {static_cast<unsigned char>(value >> 8), static_cast<unsigned char>(value)};
}

inline Bytes be32(uint32_t value) {
    return {static_cast<unsigned char>(value >> 24), static_cast<unsigned char>(value >> 16),
            static_cast<unsigned char>(value >> 8), static_cast<unsigned char>(value)};
}

// A chunk: its ID, the size of the body (or declaredSize when given), the body, and the padding
// byte of an odd body.
inline Bytes chunk(const char *chunkId, const Bytes &body, int64_t declaredSize = -1) {
    const uint32_t size = static_cast<uint32_t>(declaredSize < 0 ? body.size() : declaredSize);
    Bytes out = cat({id(chunkId), be32(size), body});
    if (body.size() % 2 != 0)
        out.push_back(0);
    return out;
}

// A group: ID, size, type, then the sub-chunks.
inline Bytes group(const char *chunkId, const char *type, std::initializer_list<Bytes> subChunks,
                   int64_t declaredSize = -1) {
    Bytes body = id(type);
    for (const Bytes &sub : subChunks)
        append(body, sub);
    return chunk(chunkId, body, declaredSize);
}

// A picture's BMHD chunk: x and y 0, aspect 10:11, the page as large as the picture.
inline Bytes bmhd(unsigned int w, unsigned int h, unsigned int nPlanes, unsigned int masking = 0,
                  unsigned int compression = 0, unsigned int pad1 = 0,
                  unsigned int transparentColor = 0) {
    const auto word = [](unsigned int v) { return be16(static_cast<uint16_t>(v)); };
    Bytes body = cat({word(w), word(h), word(0), word(0)});
    for (unsigned int byte : {nPlanes, masking, compression, pad1})
        body.push_back(static_cast<unsigned char>(byte));
    append(body, cat({word(transparentColor), Bytes{10, 11}, word(w), word(h)}));
    return chunk("BMHD", body);
}

// A 16 x 1 picture of one plane, black and white, with a DRNG as painting programs have written
// it: the fades flag set, but the chunk as long as the range without its fade part (26 bytes: 2
// colour cells and 5 index cells). Peer decoders show such pictures.
inline Bytes paintedPicture() {
    const Bytes range = {0, 31,  0x0A, 0xAA, 0, 8, 2, 5, 0, 255, 0, 0, 1,
                         0, 255, 0,    2,    3, 3, 4, 4, 5, 5,   6, 6, 7};
    return group("FORM", "ILBM",
                 {bmhd(16, 1, 1), chunk("CMAP", {0, 0, 0, 0xFF, 0xFF, 0xFF}), chunk("DRNG", range),
                  chunk("BODY", {0x0F, 0xF0})});
}

// A PCHG chunk's header: Compression, Flags (1 12-bit, 2 32-bit), StartLine, LineCount,
// ChangedLines, MinReg, MaxReg, MaxChanges and TotalChanges (S. Vigna's PCHG document).
struct PchgHeader {
    uint16_t compression = 0, flags = 1;
    int16_t startLine = 0;
    uint16_t lineCount = 0, changedLines = 0, minReg = 0, maxReg = 31, maxChanges = 32;
    uint32_t totalChanges = 0;
};

inline Bytes pchg(const PchgHeader &h, const Bytes &data) {
    return chunk("PCHG",
                 cat({be16(h.compression), be16(h.flags), be16(static_cast<uint16_t>(h.startLine)),
                      be16(h.lineCount), be16(h.changedLines), be16(h.minReg), be16(h.maxReg),
                      be16(h.maxChanges), be32(h.totalChanges), data}));
}

// PCHG data packed with the document's Huffman code (Compression 1): CompInfoSize,
// OriginalDataSize, the tree's words and the packed bits. The tree, the root its last word: at a
// node a 1 bit takes the node's word (a byte when 0 or more, else a step back of that many
// bytes to the next node); a 0 bit takes the word before it (a byte when bit 8 is set). Here
// byte 0 is "1" and any other byte "0" and its eight bits, top first.
inline Bytes pchgHuffman(const Bytes &plain) {
    std::vector<uint16_t> tree;
    // The node of the bytes that begin with prefix (depth bits of it); gives its word's place.
    auto layout = [&tree](auto &self, unsigned prefix, unsigned depth) -> size_t {
        if (depth == 7) {
            tree.push_back(static_cast<uint16_t>(0x100 | prefix << 1)); // its 0: a byte
            tree.push_back(static_cast<uint16_t>(prefix << 1 | 1));     // its 1: a byte
            return tree.size() - 1;
        }
        const size_t one = self(self, prefix << 1 | 1, depth + 1);
        self(self, prefix << 1, depth + 1); // its 0: the word just before its own
        tree.push_back(static_cast<uint16_t>(-2 * static_cast<long>(tree.size() - one)));
        return tree.size() - 1;
    };
    layout(layout, 0, 0);
    tree.push_back(0); // the root: 1 is byte 0, 0 the node of every byte
    Bytes packed;
    unsigned bits = 0;
    auto put = [&](unsigned bit) {
        if (bits % 8 == 0)
            packed.push_back(0);
        packed.back() = static_cast<unsigned char>(packed.back() | bit << (7 - bits % 8));
        bits++;
    };
    for (unsigned char byte : plain) {
        put(byte == 0 ? 1 : 0);
        for (int b = 7; byte != 0 && b >= 0; b--)
            put(byte >> b & 1);
    }
    Bytes out = cat(
        {be32(static_cast<uint32_t>(tree.size() * 2)), be32(static_cast<uint32_t>(plain.size()))});
    for (uint16_t word : tree)
        append(out, be16(word));
    append(out, packed);
    return out;
}

// Writes bytes to a file; false after a message on the standard error.
inline bool save(const std::string &path, const Bytes &bytes) {
    FILE *file = fopen(path.c_str(), "wb");
    if (file == nullptr) {
        perror(path.c_str());
        return false;
    }
    const bool written =
        bytes.empty() || fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return fclose(file) == 0 && written;
}

} // namespace iffbytes

#endif
