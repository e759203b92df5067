#ifndef ILBM_SRC_FIXEDCHUNK_H
#define ILBM_SRC_FIXEDCHUNK_H

/*
 * Chunks made of a fixed list of scalar fields (BMHD, CAMG, GRAB, DEST, SPRT, DPI, CRNG, CCRT)
 * share one description-driven implementation of the six chunk operations.
 */

#include <iff/chunk.h>
#include <stddef.h>
#include <stdio.h>

namespace ilbm {

enum class FieldKind { UByte, UWord, Word, Long, ByteAsUInt };

struct Field {
    const char *name;
    FieldKind kind;
    size_t offset;
    const char *printFormat; /* null: neither printed nor compared */
};

struct FixedChunkType {
    const char *chunkId;
    IFF_Long size;
    size_t recordSize;
    const Field *fields;
    size_t fieldCount;
};

IFF_Chunk *createFixedChunk(const FixedChunkType &type);
IFF_Chunk *readFixedChunk(FILE *file, IFF_Long chunkSize, const FixedChunkType &type);
int writeFixedChunk(FILE *file, const IFF_Chunk *chunk, const FixedChunkType &type);
void printFixedChunk(const IFF_Chunk *chunk, unsigned int indentLevel, const FixedChunkType &type);
int compareFixedChunk(const IFF_Chunk *chunk1, const IFF_Chunk *chunk2, const FixedChunkType &type);

/*
 * Body bounds shared by every ILBM chunk reader and writer. A reader gives the body's
 * declared size and what its fields took; bytes left over are skipped with a warning (the
 * record keeps the declared size, so the tree matches the file), and the padding byte of an
 * odd size is read. A writer fills a body larger than its fields with zero bytes.
 */
int fitsInChunk(const char *chunkId, IFF_Long chunkSize, long long needed);
int finishChunkBody(FILE *file, const char *chunkId, IFF_Long consumed, IFF_Long chunkSize);
int finishChunkWrite(FILE *file, const char *chunkId, IFF_Long written, IFF_Long chunkSize);

} // namespace ilbm

/* The create, read, write, free, print and compare operations of a fixed chunk type. */
#define ILBM_FIXED_CHUNK_OPERATIONS(Stem, type)                                                    \
    ILBM_##Stem *ILBM_create##Stem(void) {                                                         \
        return reinterpret_cast<ILBM_##Stem *>(ilbm::createFixedChunk(type));                      \
    }                                                                                              \
    IFF_Chunk *ILBM_read##Stem(FILE *file, const IFF_Long chunkSize) {                             \
        return ilbm::readFixedChunk(file, chunkSize, type);                                        \
    }                                                                                              \
    int ILBM_write##Stem(FILE *file, const IFF_Chunk *chunk) {                                     \
        return ilbm::writeFixedChunk(file, chunk, type);                                           \
    }                                                                                              \
    void ILBM_free##Stem(IFF_Chunk *) {}                                                           \
    void ILBM_print##Stem(const IFF_Chunk *chunk, const unsigned int indentLevel) {                \
        ilbm::printFixedChunk(chunk, indentLevel, type);                                           \
    }                                                                                              \
    int ILBM_compare##Stem(const IFF_Chunk *chunk1, const IFF_Chunk *chunk2) {                     \
        return ilbm::compareFixedChunk(chunk1, chunk2, type);                                      \
    }
#endif
