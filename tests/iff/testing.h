// Shared helpers of the IFF tests: byte builders, in-memory files, captured messages and output.
#ifndef IFF_TESTS_TESTING_H
#define IFF_TESTS_TESTING_H

#include <iff/iff.h>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace ifftest {

using Bytes = std::vector<unsigned char>;

// Big-endian building blocks, concatenated with cat().
Bytes id(const char *text);
Bytes be16(uint16_t value);
Bytes be32(uint32_t value);
Bytes cat(std::initializer_list<Bytes> parts);
// A chunk: its ID, the size of body (or declaredSize when given), the body and the padding byte
// of an odd body.
Bytes chunk(const char *chunkId, const Bytes &body, int64_t declaredSize = -1);
// A group: ID, size, type, then the sub-chunks.
Bytes group(const char *chunkId, const char *type, std::initializer_list<Bytes> subChunks,
            int64_t declaredSize = -1);

// A seekable temporary file holding bytes, positioned at its start. Closed on destruction.
class MemoryFile {
public:
    explicit MemoryFile(const Bytes &bytes);
    ~MemoryFile();
    MemoryFile(const MemoryFile &) = delete;
    MemoryFile &operator=(const MemoryFile &) = delete;
    FILE *get() const { return file; }
    long position() const { return ftell(file); }

private:
    FILE *file;
};

// Every message sent through IFF_error while it lives.
class Messages {
public:
    Messages();
    ~Messages();
    Messages(const Messages &) = delete;
    Messages &operator=(const Messages &) = delete;
    std::string text() const;
    void clear();
};

// What fn prints to the standard output.
std::string printed(const std::function<void()> &fn);

// The bytes IFF_writeFd gives for chunk (and its result through *status).
Bytes written(const IFF_Chunk *chunk, const IFF_Extension *extension = nullptr,
              unsigned int extensionLength = 0, int *status = nullptr);

// Reads a whole file image with IFF_readFd.
IFF_Chunk *readBytes(const Bytes &bytes, const IFF_Extension *extension = nullptr,
                     unsigned int extensionLength = 0);

IFF_RawChunk *rawChunk(const char *chunkId, const Bytes &body);

// A test chunk type "HEAD": one big-endian word "value", 2 bytes. Known under the form types
// "TEST" and "TSTB"; "ZZZZ" is a second row (of the same record) for the table searches.
struct Head {
    IFF_Group *parent;
    IFF_ID chunkId;
    IFF_Long chunkSize;
    IFF_UWord value;
};
extern const IFF_Extension testExtension[];
extern const unsigned int testExtensionLength;
Head *createHead(IFF_UWord value);

} // namespace ifftest

#endif
