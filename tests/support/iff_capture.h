// The iff library seen from a test: every message it sends while a Messages lives, what it
// prints, and trees read from and written to memory.
#ifndef QUILLFEN_TESTS_IFF_CAPTURE_H
#define QUILLFEN_TESTS_IFF_CAPTURE_H

#include "iff_bytes.h"

#include <iff/iff.h>

#include <gtest/gtest.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

namespace iffbytes {

// Collects every message sent through IFF_error on this thread while it lives, then gives the
// callback back to whoever had it.
class Messages {
public:
    Messages() : previous_(IFF_errorCallback), outer_(current()) {
        current() = this;
        IFF_errorCallback = &Messages::collect;
    }
    ~Messages() {
        IFF_errorCallback = previous_;
        current() = outer_;
    }
    Messages(const Messages &) = delete;
    Messages &operator=(const Messages &) = delete;

    const std::string &text() const { return text_; }
    bool contains(const std::string &part) const { return text_.find(part) != std::string::npos; }
    void clear() { text_.clear(); }

private:
    static Messages *&current() {
        static thread_local Messages *messages = nullptr;
        return messages;
    }

    static void collect(const char *format, va_list ap) {
        char *text = nullptr;
        if (current() != nullptr && vasprintf(&text, format, ap) >= 0) {
            current()->text_ += text;
            free(text);
        }
    }

    decltype(IFF_errorCallback) previous_;
    Messages *outer_;
    std::string text_;
};

// The bytes that fn writes to a stream.
inline Bytes streamed(const std::function<void(FILE *)> &fn) {
    char *buffer = nullptr;
    size_t size = 0;
    FILE *file = open_memstream(&buffer, &size);
    fn(file);
    fclose(file);
    Bytes out(buffer, buffer + size);
    free(buffer);
    return out;
}

// The bytes IFF_writeFd gives for chunk, and its result through *status.
inline Bytes written(const IFF_Chunk *chunk, const IFF_Extension *extension = nullptr,
                     unsigned int extensionLength = 0, int *status = nullptr) {
    int result = 0;
    Bytes out = streamed(
        [&](FILE *file) { result = IFF_writeFd(file, chunk, extension, extensionLength); });
    if (status != nullptr)
        *status = result;
    return out;
}

// What fn prints to the standard output.
inline std::string printed(const std::function<void()> &fn) {
    fflush(stdout);
    testing::internal::CaptureStdout();
    fn();
    fflush(stdout);
    return testing::internal::GetCapturedStdout();
}

// Any record of the library as the chunk it begins with.
template <typename Record> IFF_Chunk *asChunk(Record *record) {
    return reinterpret_cast<IFF_Chunk *>(record);
}

// A seekable temporary file holding bytes, positioned at its start. Closed on destruction.
class MemoryFile {
public:
    explicit MemoryFile(const Bytes &bytes) : file_(tmpfile()) {
        if (file_ != nullptr && !bytes.empty())
            fwrite(bytes.data(), 1, bytes.size(), file_);
        if (file_ != nullptr)
            rewind(file_);
    }
    ~MemoryFile() {
        if (file_ != nullptr)
            fclose(file_);
    }
    MemoryFile(const MemoryFile &) = delete;
    MemoryFile &operator=(const MemoryFile &) = delete;
    FILE *get() const { return file_; }
    long position() const { return ftell(file_); }

private:
    FILE *file_;
};

// A whole file image read with IFF_readFd from a seekable stream.
inline IFF_Chunk *readBytes(const Bytes &bytes, const IFF_Extension *extension = nullptr,
                            unsigned int extensionLength = 0) {
    const MemoryFile file(bytes);
    return file.get() != nullptr ? IFF_readFd(file.get(), extension, extensionLength) : nullptr;
}

} // namespace iffbytes

#endif
