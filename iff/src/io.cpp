#include "iff/io.h"

#include "iff/error.h"

#include <stdio.h>

namespace {

template <typename T>
int readBigEndian(FILE *file, T *value, const IFF_ID chunkId, const char *attributeName) {
    unsigned char bytes[sizeof(T)];
    if (fread(bytes, sizeof(bytes), 1, file) < 1) {
        IFF_readError(chunkId, attributeName);
        return 0;
    }
    IFF_ULong composed = 0;
    for (unsigned char byte : bytes) {
        composed = (composed << 8) | byte;
    }
    *value = static_cast<T>(composed);
    return 1;
}

template <typename T>
int writeBigEndian(FILE *file, const T value, const IFF_ID chunkId, const char *attributeName) {
    unsigned char bytes[sizeof(T)];
    IFF_ULong bits = static_cast<IFF_ULong>(value);
    for (unsigned int i = sizeof(T); i > 0; i--) {
        bytes[i - 1] = static_cast<unsigned char>(bits & 0xff);
        bits >>= 8;
    }
    if (fwrite(bytes, sizeof(bytes), 1, file) < 1) {
        IFF_writeError(chunkId, attributeName);
        return 0;
    }
    return 1;
}

} // namespace

int IFF_readUByte(FILE *file, IFF_UByte *value, const IFF_ID chunkId, const char *attributeName) {
    const int byte = fgetc(file);
    if (byte == EOF) {
        IFF_readError(chunkId, attributeName);
        return 0;
    }
    *value = static_cast<IFF_UByte>(byte);
    return 1;
}

int IFF_writeUByte(FILE *file, const IFF_UByte value, const IFF_ID chunkId,
                   const char *attributeName) {
    if (fputc(value, file) == EOF) {
        IFF_writeError(chunkId, attributeName);
        return 0;
    }
    return 1;
}

int IFF_readUWord(FILE *file, IFF_UWord *value, const IFF_ID chunkId, const char *attributeName) {
    return readBigEndian(file, value, chunkId, attributeName);
}

int IFF_writeUWord(FILE *file, const IFF_UWord value, const IFF_ID chunkId,
                   const char *attributeName) {
    return writeBigEndian(file, value, chunkId, attributeName);
}

int IFF_readWord(FILE *file, IFF_Word *value, const IFF_ID chunkId, const char *attributeName) {
    return readBigEndian(file, value, chunkId, attributeName);
}

int IFF_writeWord(FILE *file, const IFF_Word value, const IFF_ID chunkId,
                  const char *attributeName) {
    return writeBigEndian(file, value, chunkId, attributeName);
}

int IFF_readULong(FILE *file, IFF_ULong *value, const IFF_ID chunkId, const char *attributeName) {
    return readBigEndian(file, value, chunkId, attributeName);
}

int IFF_writeULong(FILE *file, const IFF_ULong value, const IFF_ID chunkId,
                   const char *attributeName) {
    return writeBigEndian(file, value, chunkId, attributeName);
}

int IFF_readLong(FILE *file, IFF_Long *value, const IFF_ID chunkId, const char *attributeName) {
    return readBigEndian(file, value, chunkId, attributeName);
}

int IFF_writeLong(FILE *file, const IFF_Long value, const IFF_ID chunkId,
                  const char *attributeName) {
    return writeBigEndian(file, value, chunkId, attributeName);
}

int IFF_readPaddingByte(FILE *file, const IFF_Long chunkSize, const IFF_ID chunkId) {
    if (chunkSize % 2 == 0) {
        return 1;
    }
    const int byte = fgetc(file);
    if (byte == EOF) {
        IFF_error("Unexpected end of file, while reading padding byte of '");
        IFF_errorId(chunkId);
        IFF_error("'\n");
        return 0;
    }
    if (byte != 0) {
        IFF_error("WARNING: Padding byte is non-zero!\n");
    }
    return 1;
}

int IFF_writePaddingByte(FILE *file, const IFF_Long chunkSize, const IFF_ID chunkId) {
    if (chunkSize % 2 == 0) {
        return 1;
    }
    if (fputc(0, file) == EOF) {
        IFF_error("Cannot write padding byte of '");
        IFF_errorId(chunkId);
        IFF_error("'\n");
        return 0;
    }
    return 1;
}
