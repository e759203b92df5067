// Helpers shared by the picture library's tests, beside the shared IFF byte builders: reading and
// writing with the picture chunk types, and trees released at the end of a scope.
#ifndef ILBM_TEST_SUPPORT_H
#define ILBM_TEST_SUPPORT_H

#include "iff_bytes.h"
#include "iff_capture.h"
#include "ilbm/ilbm.h"

namespace ilbmtest {

using namespace iffbytes;

// Writes a tree into memory; the result is empty when the write failed.
inline Bytes writeBytes(const IFF_Chunk *chunk) {
    int status = 0;
    Bytes bytes = written(chunk, extension, ILBM_NUM_OF_FORM_TYPES, &status);
    return status ? bytes : Bytes{};
}

// The tree read from the bytes, released at the end of the scope.
class Tree {
public:
    explicit Tree(const Bytes &bytes)
        : chunk_(iffbytes::readBytes(bytes, extension, ILBM_NUM_OF_FORM_TYPES)) {}
    explicit Tree(IFF_Chunk *chunk) : chunk_(chunk) {}
    ~Tree() {
        if (chunk_ != nullptr)
            ILBM_free(chunk_);
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
