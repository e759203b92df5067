#ifndef IFF_CHUNK_H
#define IFF_CHUNK_H

#include "iff/id.h"
#include "iff/io.h"

#include <stddef.h>
#include <stdio.h>

struct IFF_Group;
struct IFF_Extension;

/* The head that every chunk record begins with. chunkSize counts the body only: not the eight
   header bytes and not the padding byte of an odd-sized body. */
struct IFF_Chunk {
    IFF_Group *parent; /* the group holding this chunk (owns nothing); null at the top */
    IFF_ID chunkId;
    IFF_Long chunkSize;
};

/* Groups may nest this deep in a file; a deeper file is refused when it is read. Reading keeps
   this depth, and where the stream ends, for each thread: threads may read files at once, but
   each thread reads one stream at a time. */
#define IFF_MAX_GROUP_DEPTH 256

/* A zeroed record of chunkSize bytes with the given ID, or null when memory runs out. */
IFF_Chunk *IFF_allocateChunk(const char *chunkId, const size_t chunkSize);

/* The generic operations dispatch on the chunk ID: FORM, CAT, LIST and PROP are groups, other
   chunks are looked up in the extension table under formType (the form type of the nearest
   enclosing FORM or PROP, or null), and anything else is a raw chunk. */
IFF_Chunk *IFF_readChunk(FILE *file, const char *formType, const IFF_Extension *extension,
                         const unsigned int extensionLength);
int IFF_writeChunk(FILE *file, const IFF_Chunk *chunk, const char *formType,
                   const IFF_Extension *extension, const unsigned int extensionLength);
int IFF_checkChunk(const IFF_Chunk *chunk, const char *formType, const IFF_Extension *extension,
                   const unsigned int extensionLength);
void IFF_freeChunk(IFF_Chunk *chunk, const char *formType, const IFF_Extension *extension,
                   const unsigned int extensionLength);
void IFF_printChunk(const IFF_Chunk *chunk, const unsigned int indentLevel, const char *formType,
                    const IFF_Extension *extension, const unsigned int extensionLength);
int IFF_compareChunk(const IFF_Chunk *chunk1, const IFF_Chunk *chunk2, const char *formType,
                     const IFF_Extension *extension, const unsigned int extensionLength);

/* The running size of a group plus what the chunk occupies in it: 8 header bytes, the body and
   the padding byte of an odd body. */
IFF_Long IFF_incrementChunkSize(const IFF_Long chunkSize, const IFF_Chunk *chunk);

/* Recomputes the size of chunk (when it is a group) and of every group above it. */
void IFF_updateChunkSizes(IFF_Chunk *chunk);

#endif
