#include "testing.h"

#include <cstdarg>
#include <cstdlib>
#include <cstring>

namespace ifftest {

IFF_RawChunk *rawChunk(const char *chunkId, const Bytes &body) {
    IFF_RawChunk *raw = IFF_createRawChunk(chunkId);
    IFF_UByte *data = body.empty() ? nullptr : static_cast<IFF_UByte *>(malloc(body.size()));
    if (data != nullptr)
        memcpy(data, body.data(), body.size());
    IFF_setRawChunkData(raw, data, static_cast<IFF_Long>(body.size()));
    return raw;
}

namespace {

IFF_Chunk *readHead(FILE *file, const IFF_Long chunkSize) {
    Head *head = createHead(0);
    bool ok = head != nullptr && IFF_readUWord(file, &head->value, head->chunkId, "value");
    // Skip what a longer body holds beyond the word.
    for (IFF_Long i = 2; ok && i < chunkSize; i++)
        ok = fgetc(file) != EOF;
    if (!ok || !IFF_readPaddingByte(file, chunkSize, head->chunkId)) {
        free(head);
        return nullptr;
    }
    head->chunkSize = chunkSize;
    return reinterpret_cast<IFF_Chunk *>(head);
}

int writeHead(FILE *file, const IFF_Chunk *chunk) {
    const Head *head = reinterpret_cast<const Head *>(chunk);
    return IFF_writeUWord(file, head->value, head->chunkId, "value");
}

int checkHead(const IFF_Chunk *chunk) {
    if (reinterpret_cast<const Head *>(chunk)->value == 0xdead) {
        IFF_error("'HEAD'.value may not be dead!\n");
        return 0;
    }
    return 1;
}

void freeHead(IFF_Chunk *) {}

void printHead(const IFF_Chunk *chunk, const unsigned int indentLevel) {
    IFF_printIndent(stdout, indentLevel, "value = %u;\n",
                    reinterpret_cast<const Head *>(chunk)->value);
}

int compareHead(const IFF_Chunk *chunk1, const IFF_Chunk *chunk2) {
    return reinterpret_cast<const Head *>(chunk1)->value ==
           reinterpret_cast<const Head *>(chunk2)->value;
}

const IFF_FormExtension testFormExtension[] = {
    {"HEAD", readHead, writeHead, checkHead, freeHead, printHead, compareHead},
    {"ZZZZ", readHead, writeHead, checkHead, freeHead, printHead, compareHead},
};

} // namespace

const IFF_Extension testExtension[] = {
    {"ACBM", 0, nullptr},
    {"TEST", 2, testFormExtension},
    {"TSTB", 2, testFormExtension},
};
const unsigned int testExtensionLength = 3;

Head *createHead(IFF_UWord value) {
    Head *head = reinterpret_cast<Head *>(IFF_allocateChunk("HEAD", sizeof(Head)));
    if (head != nullptr) {
        head->chunkSize = 2;
        head->value = value;
    }
    return head;
}

} // namespace ifftest
