#include "iff/rawchunk.h"

#include "internal.h"

#include "iff/error.h"
#include "iff/io.h"
#include "iff/util.h"

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace {

#define IFF_ID_TEXT "TEXT"

// Bodies up to this size are allocated at once. A larger body is allocated at once only when
// the stream has been seen to hold it; otherwise it is read in pieces of growing size, so that a
// short stream fails before much memory is taken.
constexpr size_t kFirstPiece = size_t(64) << 10;

IFF_UByte *readBody(FILE *file, const IFF_Long chunkSize) {
    const size_t size = static_cast<size_t>(chunkSize);
    size_t room = size;
    long remaining;
    if (size > kFirstPiece && !(iff_internal::remainingLength(file, &remaining) &&
                                static_cast<long>(size) <= remaining)) {
        room = kFirstPiece;
    }
    IFF_UByte *data = static_cast<IFF_UByte *>(malloc(room));
    if (data == nullptr) {
        return nullptr;
    }
    size_t filled = 0;
    for (;;) {
        const size_t read = fread(data + filled, 1, room - filled, file);
        filled += read;
        if (filled < room) {
            free(data);
            return nullptr;
        }
        if (filled == size) {
            return data;
        }
        room = room > size / 2 ? size : room * 2;
        IFF_UByte *grown = static_cast<IFF_UByte *>(realloc(data, room));
        if (grown == nullptr) {
            free(data);
            return nullptr;
        }
        data = grown;
    }
}

} // namespace

IFF_RawChunk *IFF_createRawChunk(const char *chunkId) {
    return reinterpret_cast<IFF_RawChunk *>(IFF_allocateChunk(chunkId, sizeof(IFF_RawChunk)));
}

void IFF_setRawChunkData(IFF_RawChunk *rawChunk, IFF_UByte *chunkData, const IFF_Long chunkSize) {
    rawChunk->chunkData = chunkData;
    rawChunk->chunkSize = chunkSize;
}

int IFF_setTextData(IFF_RawChunk *rawChunk, const char *text) {
    const size_t length = strlen(text);
    if (length > static_cast<size_t>(INT32_MAX)) {
        IFF_error("ERROR: Text too long for a chunk!\n");
        return 0;
    }
    IFF_UByte *data = nullptr;
    if (length > 0) {
        data = static_cast<IFF_UByte *>(malloc(length));
        if (data == nullptr) {
            IFF_error("ERROR: Out of memory for text data!\n");
            return 0;
        }
        memcpy(data, text, length);
    }
    // The text replaces the data the chunk held, which no caller holds.
    free(rawChunk->chunkData);
    IFF_setRawChunkData(rawChunk, data, static_cast<IFF_Long>(length));
    return 1;
}

IFF_RawChunk *IFF_readRawChunk(FILE *file, const IFF_ID chunkId, const IFF_Long chunkSize) {
    if (!iff_internal::acceptBodySize(file, chunkId, chunkSize)) {
        return nullptr;
    }
    return iff_internal::readAcceptedRawChunk(file, chunkId, chunkSize);
}

IFF_RawChunk *iff_internal::readAcceptedRawChunk(FILE *file, const IFF_ID chunkId,
                                                 const IFF_Long chunkSize) {
    char id[sizeof(IFF_ID) + 1] = {chunkId[0], chunkId[1], chunkId[2], chunkId[3], '\0'};
    IFF_RawChunk *rawChunk = IFF_createRawChunk(id);
    if (rawChunk == nullptr) {
        return nullptr;
    }
    // The ID may hold zero bytes: keep all four of them.
    memcpy(rawChunk->chunkId, chunkId, sizeof(IFF_ID));

    IFF_UByte *data = nullptr;
    if (chunkSize > 0) {
        data = readBody(file, chunkSize);
        if (data == nullptr) {
            IFF_error("Error reading raw chunk body of chunk: '");
            IFF_errorId(chunkId);
            IFF_error("'\n");
            free(rawChunk);
            return nullptr;
        }
    }
    if (!IFF_readPaddingByte(file, chunkSize, chunkId)) {
        free(data);
        free(rawChunk);
        return nullptr;
    }
    IFF_setRawChunkData(rawChunk, data, chunkSize);
    return rawChunk;
}

int IFF_writeRawChunk(FILE *file, const IFF_RawChunk *rawChunk) {
    if (rawChunk->chunkSize < 0 || (rawChunk->chunkSize > 0 && rawChunk->chunkData == nullptr)) {
        IFF_error("Error writing raw chunk body of chunk '");
        IFF_errorId(rawChunk->chunkId);
        IFF_error("'\n");
        return 0;
    }
    const size_t size = static_cast<size_t>(rawChunk->chunkSize);
    if (size > 0 && fwrite(rawChunk->chunkData, 1, size, file) < size) {
        IFF_error("Error writing raw chunk body of chunk '");
        IFF_errorId(rawChunk->chunkId);
        IFF_error("'\n");
        return 0;
    }
    return IFF_writePaddingByte(file, rawChunk->chunkSize, rawChunk->chunkId);
}

void IFF_freeRawChunk(IFF_RawChunk *rawChunk) {
    free(rawChunk->chunkData);
    rawChunk->chunkData = nullptr;
}

void IFF_printRawChunk(const IFF_RawChunk *rawChunk, const unsigned int indentLevel) {
    const IFF_Long size = rawChunk->chunkData == nullptr ? 0 : rawChunk->chunkSize;
    if (IFF_compareId(rawChunk->chunkId, IFF_ID_TEXT) == 0) {
        IFF_printIndent(stdout, indentLevel, "text = '\n");
        IFF_printIndent(stdout, indentLevel + 1, "%s", "");
        for (IFF_Long i = 0; i < size; i++) {
            printf("%c", rawChunk->chunkData[i]);
        }
        printf("\n");
        IFF_printIndent(stdout, indentLevel, "';\n");
    } else {
        IFF_printIndent(stdout, indentLevel, "bytes = \n");
        IFF_printIndent(stdout, indentLevel + 1, "%s", "");
        for (IFF_Long i = 0; i < size; i++) {
            if (i > 0 && i % 10 == 0) {
                printf("\n");
                IFF_printIndent(stdout, indentLevel + 1, "%s", "");
            }
            const IFF_UByte byte = rawChunk->chunkData[i];
            if (byte < 0x10) {
                printf("0");
            }
            printf("%x ", byte);
        }
        printf("\n");
        IFF_printIndent(stdout, indentLevel, ";\n");
    }
}

int IFF_compareRawChunk(const IFF_RawChunk *rawChunk1, const IFF_RawChunk *rawChunk2) {
    if (rawChunk1->chunkSize <= 0) {
        return 1;
    }
    if (rawChunk1->chunkData == nullptr || rawChunk2->chunkData == nullptr) {
        return rawChunk1->chunkData == rawChunk2->chunkData;
    }
    return memcmp(rawChunk1->chunkData, rawChunk2->chunkData,
                  static_cast<size_t>(rawChunk1->chunkSize)) == 0;
}
