#ifndef IFF_RAWCHUNK_H
#define IFF_RAWCHUNK_H

#include "iff/chunk.h"

#include <stdio.h>

/* A chunk whose body the library keeps as plain bytes. */
struct IFF_RawChunk {
    IFF_Group *parent;
    IFF_ID chunkId;
    IFF_Long chunkSize;

    IFF_UByte *chunkData; /* chunkSize bytes, owned by the chunk; null when empty */
};

IFF_RawChunk *IFF_createRawChunk(const char *chunkId);

/* Stores chunkData (chunkSize bytes allocated with malloc, or null for none) and its size. The
   chunk owns chunkData from then on and releases it when it is freed. The data it held before is
   NOT released: it is the caller's again, to release with free before or after the call (or to
   keep), so that replacing the data never frees what the caller still holds or has already
   freed. */
void IFF_setRawChunkData(IFF_RawChunk *rawChunk, IFF_UByte *chunkData, const IFF_Long chunkSize);

/* Stores a copy of the characters of text (without the terminating zero) in place of the data the
   chunk held, which is released. 0 when memory runs out, leaving the chunk as it was. */
int IFF_setTextData(IFF_RawChunk *rawChunk, const char *text);

IFF_RawChunk *IFF_readRawChunk(FILE *file, const IFF_ID chunkId, const IFF_Long chunkSize);
int IFF_writeRawChunk(FILE *file, const IFF_RawChunk *rawChunk);
void IFF_freeRawChunk(IFF_RawChunk *rawChunk);
void IFF_printRawChunk(const IFF_RawChunk *rawChunk, const unsigned int indentLevel);
int IFF_compareRawChunk(const IFF_RawChunk *rawChunk1, const IFF_RawChunk *rawChunk2);

#endif
