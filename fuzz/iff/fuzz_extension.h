// A small chunk type for the fuzz target, so that dispatch into an extension table is exercised:
// "HEAD" under the form types "FUZZ" and "TEST" holds a word and then any further bytes.
#ifndef IFF_FUZZ_EXTENSION_H
#define IFF_FUZZ_EXTENSION_H

#include <iff/iff.h>

struct FuzzHead {
    IFF_Group *parent;
    IFF_ID chunkId;
    IFF_Long chunkSize;

    IFF_UWord value;
    IFF_UByte *rest; /* chunkSize - 2 bytes */
};

extern const IFF_Extension fuzzExtension[];
extern const unsigned int fuzzExtensionLength;

FuzzHead *createFuzzHead(IFF_UWord value);

#endif
