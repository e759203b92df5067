// Writes a starting corpus for the SHAM (FUZZ_SHAM) or PCHG reader into the folder given: each
// file two bytes of the picture's height, then a chunk's data.
#include "iff_bytes.h"

#include <cstdio>
#include <string>

using namespace iffbytes;

namespace {

void put(const std::string &folder, const std::string &name, unsigned height, const Bytes &data) {
    save(folder + "/" + name, cat({be16(static_cast<uint16_t>(height - 1)), data}));
}

// The data of a chunk built whole.
Bytes dataOf(const Bytes &chunk) {
    return Bytes(chunk.begin() + 8, chunk.end() - (chunk.size() % 2 != 0 ? 1 : 0));
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
#ifdef FUZZ_SHAM
    Bytes sham = be16(0);
    for (unsigned i = 0; i < 16 * 3; i++) {
        append(sham, be16(static_cast<uint16_t>(i * 0x111)));
    }
    put(folder, "sham3", 3, sham);
    put(folder, "sham-lace6", 0x8000 + 6, sham);
#else
    const Bytes small =
        cat({be32(0xa0000000), {1, 1}, be16(0x1f00), be16(0x20f0), {0, 1}, be16(0x000f)});
    PchgHeader h;
    h.lineCount = 3;
    h.changedLines = 2;
    h.maxChanges = 2;
    h.totalChanges = 3;
    put(folder, "small", 3, dataOf(pchg(h, small)));
    h.compression = 1;
    put(folder, "huffman", 3, dataOf(pchg(h, pchgHuffman(small))));
    PchgHeader big = h;
    big.compression = 0;
    big.flags = 2;
    big.startLine = -1;
    big.maxReg = 255;
    big.changedLines = 1;
    big.totalChanges = 2;
    put(folder, "big", 3,
        dataOf(pchg(
            big,
            cat({be32(0x80000000), be16(2), be16(200), {0, 1, 2, 3}, be16(7), {0, 4, 5, 6}}))));
#endif
    return 0;
}
