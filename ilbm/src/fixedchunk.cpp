#include "fixedchunk.h"

#include <iff/error.h>
#include <iff/io.h>
#include <iff/util.h>
#include <stdlib.h>
#include <string.h>

namespace ilbm {

namespace {

template <typename T> T &at(IFF_Chunk *chunk, size_t offset) {
    return *reinterpret_cast<T *>(reinterpret_cast<char *>(chunk) + offset);
}

template <typename T> const T &at(const IFF_Chunk *chunk, size_t offset) {
    return *reinterpret_cast<const T *>(reinterpret_cast<const char *>(chunk) + offset);
}

long long fieldValue(const IFF_Chunk *chunk, const Field &field) {
    switch (field.kind) {
    case FieldKind::UByte:
        return at<IFF_UByte>(chunk, field.offset);
    case FieldKind::UWord:
        return at<IFF_UWord>(chunk, field.offset);
    case FieldKind::Word:
        return at<IFF_Word>(chunk, field.offset);
    case FieldKind::Long:
        return at<IFF_Long>(chunk, field.offset);
    case FieldKind::ByteAsUInt:
        return at<unsigned int>(chunk, field.offset);
    }
    return 0;
}

int readField(FILE *file, IFF_Chunk *chunk, const Field &field) {
    switch (field.kind) {
    case FieldKind::UByte:
        return IFF_readUByte(file, &at<IFF_UByte>(chunk, field.offset), chunk->chunkId, field.name);
    case FieldKind::UWord:
        return IFF_readUWord(file, &at<IFF_UWord>(chunk, field.offset), chunk->chunkId, field.name);
    case FieldKind::Word:
        return IFF_readWord(file, &at<IFF_Word>(chunk, field.offset), chunk->chunkId, field.name);
    case FieldKind::Long:
        return IFF_readLong(file, &at<IFF_Long>(chunk, field.offset), chunk->chunkId, field.name);
    case FieldKind::ByteAsUInt: {
        IFF_UByte byte;
        if (!IFF_readUByte(file, &byte, chunk->chunkId, field.name)) {
            return 0;
        }
        at<unsigned int>(chunk, field.offset) = byte;
        return 1;
    }
    }
    return 0;
}

int writeField(FILE *file, const IFF_Chunk *chunk, const Field &field) {
    switch (field.kind) {
    case FieldKind::UByte:
        return IFF_writeUByte(file, at<IFF_UByte>(chunk, field.offset), chunk->chunkId, field.name);
    case FieldKind::UWord:
        return IFF_writeUWord(file, at<IFF_UWord>(chunk, field.offset), chunk->chunkId, field.name);
    case FieldKind::Word:
        return IFF_writeWord(file, at<IFF_Word>(chunk, field.offset), chunk->chunkId, field.name);
    case FieldKind::Long:
        return IFF_writeLong(file, at<IFF_Long>(chunk, field.offset), chunk->chunkId, field.name);
    case FieldKind::ByteAsUInt:
        return IFF_writeUByte(file, static_cast<IFF_UByte>(at<unsigned int>(chunk, field.offset)),
                              chunk->chunkId, field.name);
    }
    return 0;
}

bool isSigned(FieldKind kind) {
    return kind == FieldKind::Word || kind == FieldKind::Long;
}

} // namespace

int fitsInChunk(const char *chunkId, IFF_Long chunkSize, long long needed) {
    if (chunkSize < 0 || needed > chunkSize) {
        IFF_error(
            "ERROR: the '%.4s' chunk of %d bytes is too small for its %lld bytes of fields!\n",
            chunkId, static_cast<int>(chunkSize), needed);
        return 0;
    }
    return 1;
}

int finishChunkBody(FILE *file, const char *chunkId, IFF_Long consumed, IFF_Long chunkSize) {
    if (chunkSize > consumed) {
        IFF_Long excess = chunkSize - consumed;
        IFF_error("WARNING: the '%.4s' chunk holds %d bytes more than its fields; they are "
                  "skipped!\n",
                  chunkId, static_cast<int>(excess));
        for (IFF_Long i = 0; i < excess; i++) {
            if (fgetc(file) == EOF) {
                IFF_error("ERROR: unexpected end of file in the body of '%.4s'!\n", chunkId);
                return 0;
            }
        }
    }
    return IFF_readPaddingByte(file, chunkSize, chunkId);
}

int finishChunkWrite(FILE *file, const char *chunkId, IFF_Long written, IFF_Long chunkSize) {
    for (IFF_Long i = written; i < chunkSize; i++) {
        if (fputc(0, file) == EOF) {
            IFF_error("ERROR: Cannot write the body of '%.4s'!\n", chunkId);
            return 0;
        }
    }
    return IFF_writePaddingByte(file, chunkSize, chunkId);
}

IFF_Chunk *createFixedChunk(const FixedChunkType &type) {
    IFF_Chunk *chunk = IFF_allocateChunk(type.chunkId, type.recordSize);
    if (chunk != nullptr) {
        chunk->chunkSize = type.size;
    }
    return chunk;
}

IFF_Chunk *readFixedChunk(FILE *file, IFF_Long chunkSize, const FixedChunkType &type) {
    if (!fitsInChunk(type.chunkId, chunkSize, type.size)) {
        return nullptr;
    }
    IFF_Chunk *chunk = createFixedChunk(type);
    if (chunk == nullptr) {
        return nullptr;
    }
    for (size_t i = 0; i < type.fieldCount; i++) {
        if (!readField(file, chunk, type.fields[i])) {
            free(chunk);
            return nullptr;
        }
    }
    if (!finishChunkBody(file, type.chunkId, type.size, chunkSize)) {
        free(chunk);
        return nullptr;
    }
    chunk->chunkSize = chunkSize;
    return chunk;
}

int writeFixedChunk(FILE *file, const IFF_Chunk *chunk, const FixedChunkType &type) {
    for (size_t i = 0; i < type.fieldCount; i++) {
        if (!writeField(file, chunk, type.fields[i])) {
            return 0;
        }
    }
    return finishChunkWrite(file, type.chunkId, type.size, chunk->chunkSize);
}

void printFixedChunk(const IFF_Chunk *chunk, unsigned int indentLevel, const FixedChunkType &type) {
    for (size_t i = 0; i < type.fieldCount; i++) {
        const Field &field = type.fields[i];
        if (field.printFormat == nullptr) {
            continue;
        }
        long long value = fieldValue(chunk, field);
        if (isSigned(field.kind) && strstr(field.printFormat, "%d") != nullptr) {
            IFF_printIndent(stdout, indentLevel, field.printFormat, static_cast<int>(value));
        } else {
            IFF_printIndent(stdout, indentLevel, field.printFormat,
                            static_cast<unsigned int>(value));
        }
    }
}

int compareFixedChunk(const IFF_Chunk *chunk1, const IFF_Chunk *chunk2,
                      const FixedChunkType &type) {
    for (size_t i = 0; i < type.fieldCount; i++) {
        const Field &field = type.fields[i];
        if (field.printFormat != nullptr &&
            fieldValue(chunk1, field) != fieldValue(chunk2, field)) {
            return 0;
        }
    }
    return 1;
}

} // namespace ilbm
