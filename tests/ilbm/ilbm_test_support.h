// Helpers shared by the picture library's tests, beside the shared IFF byte builders: reading and
// writing with the picture chunk types, and trees released at the end of a scope.
#ifndef ILBM_TEST_SUPPORT_H
#define ILBM_TEST_SUPPORT_H

#include "iff_bytes.h"
#include "iff_capture.h"
#include "ilbm/ilbm.h"

namespace ilbmtest {

using namespace iffbytes;

inline IFF_Chunk *readBytes(const Bytes &bytes) {
    return readFromBytes(bytes, extension, ILBM_NUM_OF_FORM_TYPES);
}

// Writes a tree into memory; the result is empty when the write failed.
inline Bytes writeBytes(const IFF_Chunk *chunk) {
    int status = 0;
    Bytes bytes = writtenBytes(chunk, extension, ILBM_NUM_OF_FORM_TYPES, &status);
    return status ? bytes : Bytes{};
}

// A DRNG as painting programs have written it: the fades flag set, but the chunk as long as the
// range without its fade part (26 bytes: 2 colour cells and 5 index cells). Peer decoders show
// such pictures.
inline Bytes paintedRange() {
    Bytes range = {0, 31, 0x0A, 0xAA, 0, 8, 2, 5};
    append(range, {0, 255, 0, 0, 1, 0, 255, 0});
    append(range, {2, 3, 3, 4, 4, 5, 5, 6, 6, 7});
    return chunk("DRNG", range);
}

// A 16 x 1 picture of one plane, black and white, with that range.
inline Bytes paintedPicture() {
    return group("FORM", "ILBM",
                 {bmhd(16, 1, 1), chunk("CMAP", {0, 0, 0, 0xFF, 0xFF, 0xFF}), paintedRange(),
                  chunk("BODY", {0x0F, 0xF0})});
}

// The tree read from the bytes, released at the end of the scope.
class Tree {
public:
    explicit Tree(const Bytes &bytes) : chunk_(readBytes(bytes)) {}
    explicit Tree(IFF_Chunk *chunk) : chunk_(chunk) {}
    ~Tree() {
        if (chunk_ != nullptr) {
            ILBM_free(chunk_);
        }
    }
    Tree(const Tree &) = delete;
    Tree &operator=(const Tree &) = delete;
    IFF_Chunk *get() const { return chunk_; }
    explicit operator bool() const { return chunk_ != nullptr; }

private:
    IFF_Chunk *chunk_;
};

} // namespace ilbmtest

#endif
