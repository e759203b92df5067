// Helpers of the IFF tests beside the shared byte builders and captures. Trees are read, written
// and checked with the fuzz target's chunk type: "HEAD" under the form types "FUZZ" and "TEST",
// a word "value" and then any further bytes, whose check refuses a value above 0x7fff.
#ifndef IFF_TESTS_TESTING_H
#define IFF_TESTS_TESTING_H

#include "fuzz_extension.h"
#include "iff_bytes.h"
#include "iff_capture.h"

#include <iff/iff.h>

#include <memory>

namespace ifftest {

using namespace iffbytes;

struct Free {
    void operator()(IFF_Chunk *chunk) const { IFF_free(chunk, fuzzExtension, fuzzExtensionLength); }
};
// A tree, released with what it holds at the end of the scope.
using Tree = std::unique_ptr<IFF_Chunk, Free>;

inline Tree read(const Bytes &bytes) {
    return Tree(readBytes(bytes, fuzzExtension, fuzzExtensionLength));
}
template <typename Record> Tree own(Record *record) {
    return Tree(asChunk(record));
}
inline Bytes write(const IFF_Chunk *chunk, int *status = nullptr) {
    return written(chunk, fuzzExtension, fuzzExtensionLength, status);
}
inline int check(const IFF_Chunk *chunk) {
    return IFF_check(chunk, fuzzExtension, fuzzExtensionLength);
}
template <typename Record> Record *as(const Tree &tree) {
    return reinterpret_cast<Record *>(tree.get());
}

} // namespace ifftest

#endif
