// Whatever the bytes: read, check, print, write, read the written bytes back and compare. Every
// tree that reads can be written, and what is written reads back. A tree that passes the check
// reads back equal to itself; one that does not (its groups' sizes disagree with their sub-chunks,
// which are written as the sub-chunks take them) reads back as a tree that writes the very same
// bytes again.
#include "fuzz_extension.h"

#include <iff/iff.h>

#include <stdarg.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/types.h>

#include <vector>

namespace {

void silent(const char *, va_list) {}

// The input once more as a stream that can neither seek nor tell its length, like a pipe.
struct Unseekable {
    const uint8_t *data;
    size_t size;
    size_t position;
};

ssize_t readUnseekable(void *cookie, char *buffer, size_t size) {
    Unseekable *stream = static_cast<Unseekable *>(cookie);
    const size_t left = stream->size - stream->position;
    const size_t n = size < left ? size : left;
    memcpy(buffer, stream->data + stream->position, n);
    stream->position += n;
    return static_cast<ssize_t>(n);
}

IFF_Chunk *readUnseekably(const uint8_t *data, size_t size) {
    Unseekable stream = {data, size, 0};
    cookie_io_functions_t functions = {readUnseekable, nullptr, nullptr, nullptr};
    FILE *in = fopencookie(&stream, "rb", functions);
    if (in == nullptr) {
        abort();
    }
    IFF_Chunk *tree = IFF_readFd(in, fuzzExtension, fuzzExtensionLength);
    fclose(in);
    return tree;
}

bool writeToMemory(const IFF_Chunk *tree, std::vector<uint8_t> *bytes) {
    char *buffer = nullptr;
    size_t length = 0;
    FILE *out = open_memstream(&buffer, &length);
    if (out == nullptr) {
        abort();
    }
    const int written = IFF_writeFd(out, tree, fuzzExtension, fuzzExtensionLength);
    fclose(out);
    bytes->assign(buffer, buffer + length);
    free(buffer);
    return written != 0;
}

IFF_Chunk *readFromMemory(std::vector<uint8_t> &bytes) {
    FILE *in = fmemopen(bytes.data(), bytes.size(), "rb");
    if (in == nullptr) {
        abort();
    }
    IFF_Chunk *tree = IFF_readFd(in, fuzzExtension, fuzzExtensionLength);
    fclose(in);
    return tree;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    IFF_errorCallback = silent;
    if (freopen("/dev/null", "w", stdout) == nullptr) {
        abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size == 0) {
        return 0;
    }
    FILE *in = fmemopen(const_cast<uint8_t *>(data), size, "rb");
    if (in == nullptr) {
        return 0;
    }
    IFF_Chunk *tree = IFF_readFd(in, fuzzExtension, fuzzExtensionLength);
    fclose(in);

    // Without the stream's length to refuse impossible sizes early, reading must come to the
    // same result: the same tree, or a failure.
    IFF_Chunk *unseekable = readUnseekably(data, size);
    if ((tree == nullptr) != (unseekable == nullptr) ||
        (tree != nullptr && !IFF_compare(tree, unseekable, fuzzExtension, fuzzExtensionLength))) {
        abort();
    }
    IFF_free(unseekable, fuzzExtension, fuzzExtensionLength);
    if (tree == nullptr) {
        return 0;
    }
    const int valid = IFF_check(tree, fuzzExtension, fuzzExtensionLength);
    IFF_print(tree, 0, fuzzExtension, fuzzExtensionLength);

    std::vector<uint8_t> bytes;
    if (!writeToMemory(tree, &bytes) || bytes.empty()) {
        abort(); // a tree that was read can always be written
    }
    IFF_Chunk *again = readFromMemory(bytes);
    if (again == nullptr) {
        abort(); // what was written cannot be read
    }
    if (valid && (!IFF_compare(tree, again, fuzzExtension, fuzzExtensionLength) ||
                  !IFF_compare(again, tree, fuzzExtension, fuzzExtensionLength) ||
                  !IFF_check(again, fuzzExtension, fuzzExtensionLength))) {
        abort(); // a valid tree read back as something else
    }
    std::vector<uint8_t> rewritten;
    if (!writeToMemory(again, &rewritten) || rewritten != bytes) {
        abort(); // what was read back writes other bytes
    }

    unsigned int count = 0;
    const char *types[] = {"FUZZ", "TEST", "ILBM"};
    IFF_Form **forms = IFF_searchFormsFromArray(again, types, 3, &count);
    for (unsigned int i = 0; i < count; i++) {
        IFF_getChunkFromForm(forms[i], "HEAD");
        unsigned int heads = 0;
        free(IFF_getChunksFromForm(forms[i], "HEAD", &heads));
    }
    free(forms);

    IFF_free(again, fuzzExtension, fuzzExtensionLength);
    IFF_free(tree, fuzzExtension, fuzzExtensionLength);
    return 0;
}
