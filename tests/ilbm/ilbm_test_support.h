// Helpers shared by the picture library's tests: IFF bytes built by hand, reading and
// writing through memory streams, and the library's messages caught as text.
#ifndef ILBM_TEST_SUPPORT_H
#define ILBM_TEST_SUPPORT_H

#include "ilbm/ilbm.h"

#include <iff/error.h>

#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace ilbmtest {

using Bytes = std::vector<unsigned char>;

inline void append(Bytes &bytes, const Bytes &more) {
    bytes.insert(bytes.end(), more.begin(), more.end());
}

inline Bytes be16(unsigned int value) {
    return {static_cast<unsigned char>(value >> 8), static_cast<unsigned char>(value)};
}

inline Bytes be32(unsigned long value) {
    return {static_cast<unsigned char>(value >> 24), static_cast<unsigned char>(value >> 16),
            static_cast<unsigned char>(value >> 8), static_cast<unsigned char>(value)};
}

inline Bytes text(const std::string &s) {
    return Bytes(s.begin(), s.end());
}

// A chunk with the given declared size (the body's length unless told) and a padding byte
// after an odd body.
inline Bytes chunk(const std::string &id, const Bytes &body, long declared = -1) {
    Bytes bytes = text(id);
    append(bytes, be32(static_cast<unsigned long>(declared < 0 ? static_cast<long>(body.size())
                                                               : declared)));
    append(bytes, body);
    if (body.size() % 2 == 1) {
        bytes.push_back(0);
    }
    return bytes;
}

inline Bytes group(const std::string &id, const std::string &type,
                   std::initializer_list<Bytes> children) {
    Bytes body = text(type);
    for (const Bytes &child : children) {
        append(body, child);
    }
    return chunk(id, body);
}

inline Bytes bmhd(unsigned int w, unsigned int h, unsigned int nPlanes, unsigned int masking = 0,
                  unsigned int compression = 0, unsigned int pad1 = 0,
                  unsigned int transparentColor = 0) {
    Bytes body = be16(w);
    append(body, be16(h));
    append(body, be16(0));
    append(body, be16(0));
    body.push_back(static_cast<unsigned char>(nPlanes));
    body.push_back(static_cast<unsigned char>(masking));
    body.push_back(static_cast<unsigned char>(compression));
    body.push_back(static_cast<unsigned char>(pad1));
    append(body, be16(transparentColor));
    body.push_back(10);
    body.push_back(11);
    append(body, be16(w));
    append(body, be16(h));
    return chunk("BMHD", body);
}

// Collects every library message while it lives.
class Messages {
public:
    Messages() : previous_(IFF_errorCallback) {
        current_ = this;
        IFF_errorCallback = &Messages::collect;
    }
    ~Messages() {
        IFF_errorCallback = previous_;
        current_ = nullptr;
    }
    Messages(const Messages &) = delete;
    Messages &operator=(const Messages &) = delete;

    const std::string &text() const { return text_; }
    bool contains(const std::string &s) const { return text_.find(s) != std::string::npos; }
    void clear() { text_.clear(); }

private:
    static void collect(const char *format, va_list ap) {
        char buffer[4096];
        vsnprintf(buffer, sizeof buffer, format, ap);
        if (current_ != nullptr) {
            current_->text_ += buffer;
        }
    }

    decltype(IFF_errorCallback) previous_;
    std::string text_;
    static inline Messages *current_ = nullptr;
};

inline IFF_Chunk *readBytes(const Bytes &bytes) {
    FILE *file = fmemopen(const_cast<unsigned char *>(bytes.data()), bytes.size(), "rb");
    if (file == nullptr) {
        return nullptr;
    }
    IFF_Chunk *chunk = ILBM_readFd(file);
    fclose(file);
    return chunk;
}

// Writes a tree into memory; the result is empty when the write failed.
inline Bytes writeBytes(const IFF_Chunk *chunk) {
    char *data = nullptr;
    size_t size = 0;
    FILE *file = open_memstream(&data, &size);
    int ok = ILBM_writeFd(file, chunk);
    fclose(file);
    Bytes bytes = ok ? Bytes(data, data + size) : Bytes{};
    free(data);
    return bytes;
}

// The tree read from the bytes, released at the end of the scope.
class Tree {
public:
    explicit Tree(const Bytes &bytes) : chunk_(readBytes(bytes)) {}
    explicit Tree(IFF_Chunk *chunk) : chunk_(chunk) {}
    ~Tree() {
        if (chunk_ != nullptr) {
            ILBM_free(chunk_);
        }
    }
    Tree(const Tree &) = delete;
    Tree &operator=(const Tree &) = delete;
    IFF_Chunk *get() const { return chunk_; }
    explicit operator bool() const { return chunk_ != nullptr; }

private:
    IFF_Chunk *chunk_;
};

} // namespace ilbmtest

#endif
