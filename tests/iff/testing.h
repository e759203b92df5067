// Helpers of the IFF tests beside the shared byte builders: in-memory files, captured output and
// a chunk type of their own.
#ifndef IFF_TESTS_TESTING_H
#define IFF_TESTS_TESTING_H

#include "iff_bytes.h"
#include "iff_capture.h"

#include <iff/iff.h>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace ifftest {

using namespace iffbytes;

// What fn prints to the standard output.
std::string printed(const std::function<void()> &fn);

// The bytes IFF_writeFd gives for chunk (and its result through *status).
inline Bytes written(const IFF_Chunk *chunk, const IFF_Extension *extension = nullptr,
                     unsigned int extensionLength = 0, int *status = nullptr) {
    return writtenBytes(chunk, extension, extensionLength, status);
}

// Reads a whole file image with IFF_readFd.
inline IFF_Chunk *readBytes(const Bytes &bytes, const IFF_Extension *extension = nullptr,
                            unsigned int extensionLength = 0) {
    return readFromBytes(bytes, extension, extensionLength);
}

IFF_RawChunk *rawChunk(const char *chunkId, const Bytes &body);

// A test chunk type "HEAD": one big-endian word "value", 2 bytes. Known under the form types
// "TEST" and "TSTB"; "ZZZZ" is a second row (of the same record) for the table searches.
struct Head {
    IFF_Group *parent;
    IFF_ID chunkId;
    IFF_Long chunkSize;
    IFF_UWord value;
};
extern const IFF_Extension testExtension[];
extern const unsigned int testExtensionLength;
Head *createHead(IFF_UWord value);

} // namespace ifftest

#endif
