// Helpers shared by the sources of the library, not part of its interface.
#ifndef IFF_INTERNAL_H
#define IFF_INTERNAL_H

#include "iff/chunk.h"
#include "iff/group.h"
#include "iff/rawchunk.h"

#include <limits.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>

namespace iff_internal {

// An ID as text that shows every byte: printable ASCII as it is, a backslash as two, and any
// other byte (a zero byte, say) as \x and two hexadecimal digits. At most 16 characters.
struct ReadableId {
    char text[4 * 4 + 1];
    explicit ReadableId(const IFF_ID id);
};

// Appends element to an array that only this library allocates and grows. The array's room is
// the smallest power of two that holds length elements, so it is reallocated only when length
// reaches a power of two and n appends cost O(n) in all. 0 when memory runs out, leaving the
// array and its length unchanged.
template <typename T> int appendToArray(T ***array, unsigned int *length, T *element) {
    const unsigned int n = *length;
    if ((n & (n - 1)) == 0) {
        if (n > UINT_MAX / 2 || static_cast<size_t>(n) * 2 > SIZE_MAX / sizeof(T *)) {
            return 0;
        }
        const size_t room = n == 0 ? 1 : static_cast<size_t>(n) * 2;
        T **grown = static_cast<T **>(realloc(*array, room * sizeof(T *)));
        if (grown == nullptr) {
            return 0;
        }
        *array = grown;
    }
    (*array)[n] = element;
    *length = n + 1;
    return 1;
}

// Reading keeps track of how deep groups are nested and of where the stream ends, so that a
// hostile file can neither nest groups without end nor make the reader allocate a body that
// the stream cannot hold.
struct ReadLevel {
    // Enters one more group level; false (after a message) when that would be too deep.
    static bool enter(FILE *file);
    static void leave();
    // A read says why it failed once, not once more for every group it was nested in. start()
    // begins a read. failedInGroup() gives whether a group is the first to fail (and so says so);
    // failedWhole() whether the read as a whole still has to say it failed: not after a message
    // that says all (groups nested too deep).
    static void start();
    static bool failedInGroup();
    static bool failedWhole();
};

// Whether the stream can tell how many bytes are left; the count goes to *remaining.
bool remainingLength(FILE *file, long *remaining);

// Refuses, with a message, a declared body size that is negative or longer than what is left
// of the stream.
bool acceptBodySize(FILE *file, const IFF_ID chunkId, const IFF_Long chunkSize);

// IFF_readRawChunk for a size that acceptBodySize has already let through.
IFF_RawChunk *readAcceptedRawChunk(FILE *file, const IFF_ID chunkId, const IFF_Long chunkSize);

// The sub-chunk checks of a group, summing into *sum what the sub-chunks occupy; false after the
// first failure, or when the sum no longer fits a chunk size.
bool checkSubChunks(const IFF_Group *group, IFF_SubChunkCheck subChunkCheck, const char *formType,
                    const IFF_Extension *extension, const unsigned int extensionLength,
                    int64_t *sum);
// IFF_checkGroupChunkSize for a computed size that may not fit a chunk size.
bool checkSize(const IFF_Group *group, const int64_t size);

} // namespace iff_internal

#endif
