#include "testing.h"

#include <gtest/gtest.h>

#include <cstdarg>
#include <cstdlib>
#include <cstring>

namespace ifftest {

Bytes id(const char *text) {
    return Bytes(text, text + 4);
}

Bytes be16(uint16_t value) {
    return {static_cast<unsigned char>(value >> 8), static_cast<unsigned char>(value)};
}

Bytes be32(uint32_t value) {
    return {static_cast<unsigned char>(value >> 24), static_cast<unsigned char>(value >> 16),
            static_cast<unsigned char>(value >> 8), static_cast<unsigned char>(value)};
}

Bytes cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes &part : parts) {
        out.insert(out.end(), part.begin(), part.end());
    }
    return out;
}

Bytes chunk(const char *chunkId, const Bytes &body, int64_t declaredSize) {
    const uint32_t size = static_cast<uint32_t>(declaredSize < 0 ? body.size() : declaredSize);
    Bytes out = cat({id(chunkId), be32(size), body});
    if (body.size() % 2 != 0) {
        out.push_back(0);
    }
    return out;
}

Bytes group(const char *chunkId, const char *type, std::initializer_list<Bytes> subChunks,
            int64_t declaredSize) {
    Bytes body = id(type);
    for (const Bytes &sub : subChunks) {
        body.insert(body.end(), sub.begin(), sub.end());
    }
    return chunk(chunkId, body, declaredSize);
}

MemoryFile::MemoryFile(const Bytes &bytes) : file(tmpfile()) {
    if (!bytes.empty()) {
        fwrite(bytes.data(), 1, bytes.size(), file);
    }
    rewind(file);
}

MemoryFile::~MemoryFile() {
    fclose(file);
}

namespace {

std::string captured;

void capture(const char *formatString, va_list ap) {
    va_list copy;
    va_copy(copy, ap);
    const int length = vsnprintf(nullptr, 0, formatString, copy);
    va_end(copy);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    vsnprintf(text.data(), text.size(), formatString, ap);
    text.resize(static_cast<size_t>(length));
    captured += text;
}

} // namespace

Messages::Messages() {
    captured.clear();
    IFF_errorCallback = capture;
}

Messages::~Messages() {
    IFF_errorCallback = IFF_errorCallbackStderr;
}

std::string Messages::text() const {
    return captured;
}

void Messages::clear() {
    captured.clear();
}

std::string printed(const std::function<void()> &fn) {
    fflush(stdout);
    testing::internal::CaptureStdout();
    fn();
    fflush(stdout);
    return testing::internal::GetCapturedStdout();
}

Bytes written(const IFF_Chunk *chunk, const IFF_Extension *extension, unsigned int extensionLength,
              int *status) {
    char *buffer = nullptr;
    size_t size = 0;
    FILE *file = open_memstream(&buffer, &size);
    const int result = IFF_writeFd(file, chunk, extension, extensionLength);
    fclose(file);
    Bytes out(buffer, buffer + size);
    free(buffer);
    if (status != nullptr) {
        *status = result;
    }
    return out;
}

IFF_Chunk *readBytes(const Bytes &bytes, const IFF_Extension *extension,
                     unsigned int extensionLength) {
    MemoryFile file(bytes);
    return IFF_readFd(file.get(), extension, extensionLength);
}

IFF_RawChunk *rawChunk(const char *chunkId, const Bytes &body) {
    IFF_RawChunk *raw = IFF_createRawChunk(chunkId);
    IFF_UByte *data = nullptr;
    if (!body.empty()) {
        data = static_cast<IFF_UByte *>(malloc(body.size()));
        memcpy(data, body.data(), body.size());
    }
    IFF_setRawChunkData(raw, data, static_cast<IFF_Long>(body.size()));
    return raw;
}

namespace {

IFF_Chunk *readHead(FILE *file, const IFF_Long chunkSize) {
    Head *head = createHead(0);
    if (head == nullptr || !IFF_readUWord(file, &head->value, head->chunkId, "value")) {
        free(head);
        return nullptr;
    }
    head->chunkSize = chunkSize;
    // Skip what a longer body holds beyond the word.
    for (IFF_Long i = 2; i < chunkSize; i++) {
        if (fgetc(file) == EOF) {
            free(head);
            return nullptr;
        }
    }
    if (!IFF_readPaddingByte(file, chunkSize, head->chunkId)) {
        free(head);
        return nullptr;
    }
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
