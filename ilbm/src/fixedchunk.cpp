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

int readField(BodyReader &body, IFF_Chunk *chunk, const Field &field) {
    switch (field.kind) {
    case FieldKind::UByte:
        return body.ubyte(&at<IFF_UByte>(chunk, field.offset), field.name);
    case FieldKind::UWord:
        return body.uword(&at<IFF_UWord>(chunk, field.offset), field.name);
    case FieldKind::Word:
        return body.word(&at<IFF_Word>(chunk, field.offset), field.name);
    case FieldKind::Long:
        return body.slong(&at<IFF_Long>(chunk, field.offset), field.name);
    case FieldKind::ByteAsUInt: {
        IFF_UByte byte;
        if (!body.ubyte(&byte, field.name)) {
            return 0;
        }
        at<unsigned int>(chunk, field.offset) = byte;
        return 1;
    }
    }
    return 0;
}

int writeField(BodyWriter &body, const IFF_Chunk *chunk, const Field &field) {
    switch (field.kind) {
    case FieldKind::UByte:
        return body.ubyte(at<IFF_UByte>(chunk, field.offset), field.name);
    case FieldKind::UWord:
        return body.uword(at<IFF_UWord>(chunk, field.offset), field.name);
    case FieldKind::Word:
        return body.word(at<IFF_Word>(chunk, field.offset), field.name);
    case FieldKind::Long:
        return body.slong(at<IFF_Long>(chunk, field.offset), field.name);
    case FieldKind::ByteAsUInt:
        return body.ubyte(static_cast<IFF_UByte>(at<unsigned int>(chunk, field.offset)),
                          field.name);
    }
    return 0;
}

bool isSigned(FieldKind kind) {
    return kind == FieldKind::Word || kind == FieldKind::Long;
}

} // namespace

BodyReader::BodyReader(FILE *file, const char *chunkId, IFF_Long chunkSize)
    : file_(file), chunkId_(chunkId), chunkSize_(chunkSize) {}

int BodyReader::bytes(unsigned char *out, unsigned int count, const char *name) {
    wanted_ += count;
    const IFF_Long left = this->left() > 0 ? this->left() : 0;
    const unsigned int taken =
        static_cast<IFF_Long>(count) < left ? count : static_cast<unsigned int>(left);
    if (taken > 0 && fread(out, 1, taken, file_) != taken) {
        IFF_readError(chunkId_, name);
        return 0;
    }
    memset(out + taken, 0, count - taken);
    consumed_ += static_cast<IFF_Long>(taken);
    return 1;
}

int BodyReader::ubyte(IFF_UByte *value, const char *name) {
    return bytes(value, 1, name);
}

int BodyReader::uword(IFF_UWord *value, const char *name) {
    unsigned char b[2];
    if (!bytes(b, 2, name)) {
        return 0;
    }
    *value = static_cast<IFF_UWord>(b[0] << 8 | b[1]);
    return 1;
}

int BodyReader::word(IFF_Word *value, const char *name) {
    IFF_UWord bits;
    if (!uword(&bits, name)) {
        return 0;
    }
    *value = static_cast<IFF_Word>(bits);
    return 1;
}

int BodyReader::slong(IFF_Long *value, const char *name) {
    unsigned char b[4];
    if (!bytes(b, 4, name)) {
        return 0;
    }
    *value = static_cast<IFF_Long>(static_cast<IFF_ULong>(b[0]) << 24 |
                                   static_cast<IFF_ULong>(b[1]) << 16 |
                                   static_cast<IFF_ULong>(b[2]) << 8 | b[3]);
    return 1;
}

int BodyReader::finish() {
    if (wanted_ > chunkSize_) {
        IFF_error("WARNING: the '%.4s' chunk of %d bytes is too small for its %lld bytes of "
                  "fields; those past its end are read as 0!\n",
                  chunkId_, static_cast<int>(chunkSize_), wanted_);
    }
    return finishChunkBody(file_, chunkId_, consumed_, chunkSize_);
}

BodyWriter::BodyWriter(FILE *file, const char *chunkId, IFF_Long chunkSize)
    : file_(file), chunkId_(chunkId), chunkSize_(chunkSize) {}

int BodyWriter::bytes(const unsigned char *in, unsigned int count, const char *name) {
    const IFF_Long left = chunkSize_ - written_ > 0 ? chunkSize_ - written_ : 0;
    const unsigned int put =
        static_cast<IFF_Long>(count) < left ? count : static_cast<unsigned int>(left);
    if (put > 0 && fwrite(in, 1, put, file_) != put) {
        IFF_writeError(chunkId_, name);
        return 0;
    }
    written_ += static_cast<IFF_Long>(put);
    return 1;
}

int BodyWriter::ubyte(IFF_UByte value, const char *name) {
    return bytes(&value, 1, name);
}

int BodyWriter::uword(IFF_UWord value, const char *name) {
    const unsigned char b[2] = {static_cast<unsigned char>(value >> 8),
                                static_cast<unsigned char>(value)};
    return bytes(b, 2, name);
}

int BodyWriter::word(IFF_Word value, const char *name) {
    return uword(static_cast<IFF_UWord>(value), name);
}

int BodyWriter::slong(IFF_Long value, const char *name) {
    const IFF_ULong bits = static_cast<IFF_ULong>(value);
    const unsigned char b[4] = {
        static_cast<unsigned char>(bits >> 24), static_cast<unsigned char>(bits >> 16),
        static_cast<unsigned char>(bits >> 8), static_cast<unsigned char>(bits)};
    return bytes(b, 4, name);
}

int BodyWriter::finish() {
    return finishChunkWrite(file_, chunkId_, written_, chunkSize_);
}

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
    if (written > chunkSize) {
        IFF_error("ERROR: the fields of '%.4s' take %d bytes, more than its size of %d!\n", chunkId,
                  static_cast<int>(written), static_cast<int>(chunkSize));
        return 0;
    }
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
    if (!fitsInChunk(type.chunkId, chunkSize, type.strict ? type.size : 0)) {
        return nullptr;
    }
    IFF_Chunk *chunk = createFixedChunk(type);
    if (chunk == nullptr) {
        return nullptr;
    }
    BodyReader body(file, type.chunkId, chunkSize);
    for (size_t i = 0; i < type.fieldCount; i++) {
        if (!readField(body, chunk, type.fields[i])) {
            free(chunk);
            return nullptr;
        }
    }
    if (!body.finish()) {
        free(chunk);
        return nullptr;
    }
    chunk->chunkSize = chunkSize;
    return chunk;
}

int writeFixedChunk(FILE *file, const IFF_Chunk *chunk, const FixedChunkType &type) {
    BodyWriter body(file, type.chunkId, chunk->chunkSize);
    for (size_t i = 0; i < type.fieldCount; i++) {
        if (!writeField(body, chunk, type.fields[i])) {
            return 0;
        }
    }
    return body.finish();
}

int checkFixedChunk(const IFF_Chunk *chunk, const FixedChunkType &type) {
    return checkFieldsFit(chunk, type.size);
}

int checkFieldsFit(const IFF_Chunk *chunk, long long fieldsSize) {
    if (chunk->chunkSize < fieldsSize) {
        IFF_error("ERROR: the '%.4s' chunk of %d bytes is too small for its %lld bytes of "
                  "fields!\n",
                  chunk->chunkId, static_cast<int>(chunk->chunkSize), fieldsSize);
        return 0;
    }
    return 1;
}

long long fieldsSize(const IFF_Chunk *chunk) {
    static const struct {
        const char *chunkId;
        long long (*size)(const IFF_Chunk *);
    } types[] = {
        {"BMHD", fieldsSizeOfBitMapHeader}, {"CAMG", fieldsSizeOfViewport},
        {"CCRT", fieldsSizeOfCycleInfo},    {"CMAP", fieldsSizeOfColorMap},
        {"CMYK", fieldsSizeOfCMYKMap},      {"CNAM", fieldsSizeOfColorNames},
        {"CRNG", fieldsSizeOfColorRange},   {"DEST", fieldsSizeOfDestMerge},
        {"DPI ", fieldsSizeOfDPIHeader},    {"DRNG", fieldsSizeOfDRange},
        {"GRAB", fieldsSizeOfGrab},         {"SPRT", fieldsSizeOfSprite},
    };
    for (const auto &type : types) {
        if (memcmp(chunk->chunkId, type.chunkId, 4) == 0) {
            return type.size(chunk);
        }
    }
    return -1;
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
