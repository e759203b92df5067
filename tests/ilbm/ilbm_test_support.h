// Helpers shared by the picture library's tests, beside the shared IFF byte builders: reading and
// writing with the picture chunk types, and trees released at the end of a scope.
#ifndef ILBM_TEST_SUPPORT_H
#define ILBM_TEST_SUPPORT_H

#include "iff_bytes.h"
#include "iff_capture.h"
#include "ilbm/ilbm.h"

#include <gtest/gtest.h>
#include <iff/group.h>

#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>

namespace ilbmtest {

using namespace iffbytes;

// A FORM of the type (an ILBM when none is given) holding the chunks.
inline Bytes form(const char *type, std::initializer_list<Bytes> children) {
    return group("FORM", type, children);
}
inline Bytes form(std::initializer_list<Bytes> children) {
    return form("ILBM", children);
}

// Writes a tree into memory; the result is empty when the write failed.
inline Bytes writeBytes(const IFF_Chunk *chunk) {
    int status = 0;
    Bytes bytes = written(chunk, extension, ILBM_NUM_OF_FORM_TYPES, &status);
    return status ? bytes : Bytes{};
}

struct FreeTree {
    void operator()(IFF_Chunk *chunk) const { ILBM_free(chunk); }
};
// A tree, released at the end of the scope.
using Tree = std::unique_ptr<IFF_Chunk, FreeTree>;

inline Tree readTree(const Bytes &bytes) {
    return Tree(readBytes(bytes, extension, ILBM_NUM_OF_FORM_TYPES));
}

// Sub-chunk index of a group as the record it is; null past the last.
template <typename T = IFF_Chunk> T *sub(const Tree &tree, unsigned int index) {
    const auto *group = reinterpret_cast<const IFF_Group *>(tree.get());
    return index < group->chunkLength ? reinterpret_cast<T *>(group->chunk[index]) : nullptr;
}

// A file read into a tree, every message caught, for one scope.
struct Read {
    Messages messages;
    Tree tree;
    explicit Read(const Bytes &file) : tree(readTree(file)) {}
};

// A chunk written as its ID and its body's bytes in hex.
inline Bytes chunkOf(const std::string &text) {
    std::istringstream in(text.substr(4));
    Bytes body;
    for (unsigned int byte; in >> std::hex >> byte;)
        body.push_back(static_cast<unsigned char>(byte));
    return chunk(text.substr(0, 4).c_str(), body);
}

// The keys of a case of a data file (golden_text.h): of "key: value" lines, the key's values one
// line each; a line without ": " is a key of the value "yes". A key not among the known ones
// fails, so that a misspelled one cannot leave its check out.
inline std::map<std::string, std::string> keyed(const std::string &text,
                                                const std::set<std::string> &known) {
    std::map<std::string, std::string> item;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        const size_t colon = line.find(": ");
        const std::string key = line.substr(0, colon);
        if (!line.empty() && known.count(key) == 0)
            ADD_FAILURE() << "a key the test does not know: " << line;
        if (colon != std::string::npos)
            item[key] += line.substr(colon + 2) + "\n";
        else if (!line.empty())
            item[line] = "yes";
    }
    return item;
}

} // namespace ilbmtest

#endif
