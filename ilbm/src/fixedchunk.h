#ifndef ILBM_SRC_FIXEDCHUNK_H
#define ILBM_SRC_FIXEDCHUNK_H

/*
 * The bodies of the picture chunks, and the chunks made of a fixed list of scalar fields (BMHD,
 * CAMG, GRAB, DEST, SPRT, DPI, CRNG, CCRT), which share one description-driven implementation of
 * the chunk operations.
 */

#include <iff/chunk.h>
#include <iff/io.h>
#include <stddef.h>
#include <stdio.h>

namespace ilbm {

/*
 * Reads the fields of one chunk body of a declared size. The body bounds them: a field that lies
 * wholly or partly beyond the body's end takes the bytes the body has and zero bytes for the rest
 * (so that a chunk written shorter than its fields, as some painting programs write their colour
 * cycling ranges, is read as far as it goes and nothing after it is taken for its fields). A read
 * fails only where the file itself ends, with the field's read-failure message.
 */
class BodyReader {
public:
    BodyReader(FILE *file, const char *chunkId, IFF_Long chunkSize);
    int ubyte(IFF_UByte *value, const char *name);
    int uword(IFF_UWord *value, const char *name);
    int word(IFF_Word *value, const char *name);
    int slong(IFF_Long *value, const char *name);
    /* The body's bytes up to its end. */
    IFF_Long left() const { return chunkSize_ - consumed_; }
    /* Warns when the fields wanted more than the body holds, skips (with a warning) what they
       left over, and reads the padding byte of an odd size. */
    int finish();

private:
    int bytes(unsigned char *out, unsigned int count, const char *name);

    FILE *file_;
    const char *chunkId_;
    IFF_Long chunkSize_;
    IFF_Long consumed_ = 0;
    long long wanted_ = 0;
};

/*
 * Writes the fields of one chunk body of the size the record holds: the bytes that lie beyond it
 * are left out (a chunk that was read short is written as it was read), and a body larger than
 * its fields is filled with zero bytes. Then the padding byte of an odd size.
 */
class BodyWriter {
public:
    BodyWriter(FILE *file, const char *chunkId, IFF_Long chunkSize);
    int ubyte(IFF_UByte value, const char *name);
    int uword(IFF_UWord value, const char *name);
    int word(IFF_Word value, const char *name);
    int slong(IFF_Long value, const char *name);
    int finish();

private:
    int bytes(const unsigned char *in, unsigned int count, const char *name);

    FILE *file_;
    const char *chunkId_;
    IFF_Long chunkSize_;
    IFF_Long written_ = 0;
};

/* A declared size that the reader refuses outright: negative, or (for a chunk whose every field
   matters, such as BMHD) smaller than needed. 0 after a message. */
int fitsInChunk(const char *chunkId, IFF_Long chunkSize, long long needed);
/* The end of a body read field by field: consumed bytes were taken; bytes left over are skipped
   with a warning (the record keeps the declared size, so the tree matches the file), then the
   padding byte of an odd size is read. */
int finishChunkBody(FILE *file, const char *chunkId, IFF_Long consumed, IFF_Long chunkSize);
/* The end of a body written field by field: fills it with zero bytes up to chunkSize, then the
   padding byte. Fails after a message when the fields took more than chunkSize. */
int finishChunkWrite(FILE *file, const char *chunkId, IFF_Long written, IFF_Long chunkSize);

/* The rule that the check of every picture chunk applies first: its size holds its fields. */
int checkFieldsFit(const IFF_Chunk *chunk, long long fieldsSize);

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
    /* A chunk whose fields describe the picture itself (BMHD, CAMG) is refused when its body is
       shorter than them; any other is read as far as it goes. */
    bool strict;
};

IFF_Chunk *createFixedChunk(const FixedChunkType &type);
IFF_Chunk *readFixedChunk(FILE *file, IFF_Long chunkSize, const FixedChunkType &type);
int writeFixedChunk(FILE *file, const IFF_Chunk *chunk, const FixedChunkType &type);
int checkFixedChunk(const IFF_Chunk *chunk, const FixedChunkType &type);
void printFixedChunk(const IFF_Chunk *chunk, unsigned int indentLevel, const FixedChunkType &type);
int compareFixedChunk(const IFF_Chunk *chunk1, const IFF_Chunk *chunk2, const FixedChunkType &type);

/* The bytes the fields of a picture chunk take in the file, as its record holds them; -1 for a
   chunk ID that is not a picture chunk. */
long long fieldsSize(const IFF_Chunk *chunk);

/* The fields size of each chunk type (fieldsSize dispatches on the chunk ID). */
long long fieldsSizeOfBitMapHeader(const IFF_Chunk *chunk);
long long fieldsSizeOfViewport(const IFF_Chunk *chunk);
long long fieldsSizeOfCycleInfo(const IFF_Chunk *chunk);
long long fieldsSizeOfColorMap(const IFF_Chunk *chunk);
long long fieldsSizeOfCMYKMap(const IFF_Chunk *chunk);
long long fieldsSizeOfColorNames(const IFF_Chunk *chunk);
long long fieldsSizeOfColorRange(const IFF_Chunk *chunk);
long long fieldsSizeOfDestMerge(const IFF_Chunk *chunk);
long long fieldsSizeOfDPIHeader(const IFF_Chunk *chunk);
long long fieldsSizeOfDRange(const IFF_Chunk *chunk);
long long fieldsSizeOfGrab(const IFF_Chunk *chunk);
long long fieldsSizeOfSprite(const IFF_Chunk *chunk);

} // namespace ilbm

/* The create, read, write, free, print and compare operations of a fixed chunk type, and its
   fields size. */
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
    }                                                                                              \
    long long ilbm::fieldsSizeOf##Stem(const IFF_Chunk *) {                                        \
        return type.size;                                                                          \
    }
#endif
