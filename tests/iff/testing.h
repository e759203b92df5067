// Helpers of the IFF tests beside the shared byte builders: captured output and a chunk type of
// their own.
#ifndef IFF_TESTS_TESTING_H
#define IFF_TESTS_TESTING_H

#include "iff_bytes.h"
#include "iff_capture.h"

#include <iff/iff.h>

#include <string>

namespace ifftest {

using namespace iffbytes;

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
