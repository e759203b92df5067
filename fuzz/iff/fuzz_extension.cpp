#include "fuzz_extension.h"

#include <stdlib.h>
#include <string.h>

namespace {

IFF_Chunk *readHead(FILE *file, const IFF_Long chunkSize) {
    if (chunkSize < 2) {
        IFF_error("'HEAD' is too short!\n");
        return nullptr;
    }
    FuzzHead *head = createFuzzHead(0);
    if (head == nullptr) {
        return nullptr;
    }
    head->chunkSize = chunkSize;
    const size_t rest = static_cast<size_t>(chunkSize) - 2;
    if (!IFF_readUWord(file, &head->value, head->chunkId, "value")) {
        free(head);
        return nullptr;
    }
    // In growing pieces: a stream that cannot tell its length may hold far less than declared.
    size_t filled = 0;
    while (filled < rest) {
        const size_t room =
            filled == 0 ? (rest < 4096 ? rest : 4096) : (filled > rest / 2 ? rest : filled * 2);
        IFF_UByte *grown = static_cast<IFF_UByte *>(realloc(head->rest, room));
        if (grown == nullptr) {
            break;
        }
        head->rest = grown;
        const size_t read = fread(head->rest + filled, 1, room - filled, file);
        filled += read;
        if (filled < room) {
            break;
        }
    }
    if (filled < rest) {
        IFF_readError(head->chunkId, "rest");
        free(head->rest);
        free(head);
        return nullptr;
    }
    if (!IFF_readPaddingByte(file, chunkSize, head->chunkId)) {
        free(head->rest);
        free(head);
        return nullptr;
    }
    return reinterpret_cast<IFF_Chunk *>(head);
}

int writeHead(FILE *file, const IFF_Chunk *chunk) {
    const FuzzHead *head = reinterpret_cast<const FuzzHead *>(chunk);
    if (!IFF_writeUWord(file, head->value, head->chunkId, "value")) {
        return 0;
    }
    const size_t rest = static_cast<size_t>(head->chunkSize) - 2;
    if (rest > 0 && fwrite(head->rest, 1, rest, file) < rest) {
        IFF_writeError(head->chunkId, "rest");
        return 0;
    }
    return IFF_writePaddingByte(file, head->chunkSize, head->chunkId);
}

int checkHead(const IFF_Chunk *chunk) {
    if (reinterpret_cast<const FuzzHead *>(chunk)->value > 0x7fff) {
        IFF_error("'HEAD'.value out of range!\n");
        return 0;
    }
    return 1;
}

void freeHead(IFF_Chunk *chunk) {
    free(reinterpret_cast<FuzzHead *>(chunk)->rest);
}

void printHead(const IFF_Chunk *chunk, const unsigned int indentLevel) {
    IFF_printIndent(stdout, indentLevel, "value = %u;\n",
                    reinterpret_cast<const FuzzHead *>(chunk)->value);
}

int compareHead(const IFF_Chunk *chunk1, const IFF_Chunk *chunk2) {
    const FuzzHead *head1 = reinterpret_cast<const FuzzHead *>(chunk1);
    const FuzzHead *head2 = reinterpret_cast<const FuzzHead *>(chunk2);
    const size_t rest = static_cast<size_t>(head1->chunkSize) - 2;
    return head1->value == head2->value &&
           (rest == 0 || memcmp(head1->rest, head2->rest, rest) == 0);
}

const IFF_FormExtension headTable[] = {
    {"HEAD", readHead, writeHead, checkHead, freeHead, printHead, compareHead},
};

} // namespace

const IFF_Extension fuzzExtension[] = {
    {"FUZZ", 1, headTable},
    {"TEST", 1, headTable},
};
const unsigned int fuzzExtensionLength = 2;

FuzzHead *createFuzzHead(IFF_UWord value) {
    FuzzHead *head = reinterpret_cast<FuzzHead *>(IFF_allocateChunk("HEAD", sizeof(FuzzHead)));
    if (head != nullptr) {
        head->chunkSize = 2;
        head->value = value;
    }
    return head;
}
