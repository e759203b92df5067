// Files from elsewhere: sizes that cannot be, truncation, endless nesting and odd bytes.
#include "scratch_files.h"
#include "testing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

using namespace ifftest;

namespace {

// Reads through a stream that can neither seek nor tell its length, as a pipe.
IFF_Chunk *readUnseekably(const Bytes &bytes, const IFF_Extension *extension = nullptr,
                          unsigned int extensionLength = 0) {
    std::pair<const Bytes *, size_t> stream{&bytes, 0}; // the bytes, and how many were read
    cookie_io_functions_t functions{};
    functions.read = [](void *cookie, char *buffer, size_t size) -> ssize_t {
        auto &[all, at] = *static_cast<std::pair<const Bytes *, size_t> *>(cookie);
        const size_t n = std::min(size, all->size() - at);
        std::copy_n(all->begin() + static_cast<long>(at), n, buffer);
        at += n;
        return static_cast<ssize_t>(n);
    };
    FILE *file = fopencookie(&stream, "rb", functions);
    IFF_Chunk *chunk = IFF_readFd(file, extension, extensionLength);
    fclose(file);
    return chunk;
}

Bytes nested(unsigned int depth) {
    Bytes inner = group("FORM", "TEST", {chunk("DATA", {1, 2, 3})});
    for (unsigned int i = 1; i < depth; i++)
        inner = group(i % 2 ? "CAT " : "LIST", "TEST", {inner});
    return inner;
}

} // namespace

TEST(IffHostile, ImpossibleSizesAreRefusedBeforeAllocating) {
    const char *const opened = "ERROR: cannot open main chunk!\n";
    const struct {
        Bytes bytes;
        bool seekable;
        std::string message;
    } cases[] = {
        {cat({id("DATA"), be32(0xfffffffc), Bytes(8, 0)}), true,
         "ERROR: Chunk 'DATA' has a negative size: -4!\n"},
        {group("FORM", "TEST", {cat({id("BODY"), be32(0x7fffffff), Bytes(4, 0)})}), true,
         "ERROR: Chunk 'BODY' declares a body of 2147483647 bytes, but only 4 are left in the "
         "file!\nError while reading chunk!\n"},
        {cat({id("FORM"), be32(0x80000000), id("TEST")}), true,
         "ERROR: Chunk 'FORM' has a negative size: -2147483648!\n"},
        // Without a length to go by, a huge body fails when the stream runs dry.
        {cat({id("BODY"), be32(0x7ffffff0), Bytes(100, 1)}), false,
         "Error reading raw chunk body of chunk: 'BODY'\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(&c - cases);
        Messages messages;
        EXPECT_EQ(c.seekable ? readBytes(c.bytes) : readUnseekably(c.bytes), nullptr);
        EXPECT_EQ(messages.text(), c.message + opened);
    }
}

TEST(IffHostile, LargeBodiesOfUnseekableStreamsArriveWhole) {
    for (size_t size : {size_t(65536), size_t(65537), size_t(300001), size_t(1) << 20}) {
        Bytes body(size);
        for (size_t i = 0; i < size; i++)
            body[i] = static_cast<unsigned char>(i * 7 + i / 251);
        const Bytes bytes = group("FORM", "TEST", {chunk("BODY", body)});
        const Tree tree(readUnseekably(bytes));
        ASSERT_NE(tree, nullptr) << size;
        const IFF_RawChunk *raw =
            reinterpret_cast<const IFF_RawChunk *>(as<IFF_Form>(tree)->chunk[0]);
        ASSERT_EQ(raw->chunkSize, static_cast<IFF_Long>(size));
        EXPECT_TRUE(std::equal(body.begin(), body.end(), raw->chunkData)) << size;

        // One byte short, at any piece boundary.
        Messages messages;
        EXPECT_EQ(readUnseekably(Bytes(bytes.begin(), bytes.end() - 2)), nullptr) << size;
    }
}

TEST(IffHostile, EveryTruncationFailsCleanly) {
    const Bytes bytes = group("LIST", "TEST",
                              {group("PROP", "TEST", {chunk("HEAD", be16(9))}),
                               group("CAT ", "TEST",
                                     {group("FORM", "TEST",
                                            {chunk("HEAD", be16(1)), chunk("BODY", {1, 2, 3, 4, 5}),
                                             chunk("TEXT", {'h', 'i'})})}),
                               group("FORM", "TEST", {chunk("HEAD", {7, 8, 9})})});
    ASSERT_TRUE(check(read(bytes).get()));

    Messages messages;
    for (size_t length = 0; length < bytes.size(); length++) {
        const Bytes prefix(bytes.begin(), bytes.begin() + static_cast<long>(length));
        // Through a seekable file and through a stream that cannot tell its length.
        for (auto read : {readBytes, readUnseekably}) {
            messages.clear();
            EXPECT_EQ(read(prefix, fuzzExtension, fuzzExtensionLength), nullptr) << length;
            const std::string &text = messages.text();
            EXPECT_EQ(text.substr(text.rfind('\n', text.size() - 2) + 1),
                      "ERROR: cannot open main chunk!\n")
                << length;
        }
    }
    // Cut inside the BODY (which begins at 76: LIST 12, PROP 22, CAT 12, FORM 12, HEAD 10, BODY's
    // head 8), the read says why, that a group failed and that the file did: not once more for
    // every level it passes.
    messages.clear();
    EXPECT_EQ(readUnseekably(Bytes(bytes.begin(), bytes.begin() + 78), fuzzExtension,
                             fuzzExtensionLength),
              nullptr);
    EXPECT_EQ(messages.text(), "Error reading raw chunk body of chunk: 'BODY'\n"
                               "Error while reading chunk!\n"
                               "ERROR: cannot open main chunk!\n");
}

TEST(IffHostile, NestingDepthIsBounded) {
    Messages messages;
    const Tree deepest = read(nested(IFF_MAX_GROUP_DEPTH));
    ASSERT_NE(deepest, nullptr);
    EXPECT_TRUE(check(deepest.get()));
    EXPECT_EQ(write(deepest.get()), nested(IFF_MAX_GROUP_DEPTH));
    EXPECT_EQ(messages.text(), "");

    // One line says it all, however deep the file goes; and leaves nothing behind for the next.
    for (unsigned depth : {unsigned{IFF_MAX_GROUP_DEPTH} + 1, 1000u}) {
        messages.clear();
        EXPECT_EQ(readBytes(nested(depth)), nullptr);
        EXPECT_EQ(messages.text(), "ERROR: Groups are nested deeper than 256 levels!\n") << depth;
        EXPECT_NE(read(nested(3)), nullptr);
    }
}

TEST(IffHostile, OddIdBytesSurviveARoundTripAndBrokenRecordsFail) {
    const char zeroed[4] = {'A', '\0', '\0', 'B'};
    const char type[4] = {'\xff', 'X', '\0', 'Y'};
    const Bytes withType = group("LIST", type, {group("FORM", "TEST", {chunk(zeroed, {0x42})})});
    Messages messages;
    const Tree tree = read(withType);
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(write(tree.get()), withType);
    EXPECT_EQ(messages.text(), "");

    // A record that is broken in memory.
    const Tree raw = own(IFF_createRawChunk("DATA"));
    raw->chunkSize = 5; // but no data
    int status = 1;
    write(raw.get(), &status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(messages.text(), "Error writing raw chunk body of chunk 'DATA'\n");
}

TEST(IffHostile, InputsTheFuzzTargetsFoundReadBackOnceWritten) {
    // Found by fuzz_iff: a tree of groups whose sizes lie, which read with warnings and wrote
    // without error, while the written bytes could not be read: a chunk "HEAD" of one byte, read
    // as raw bytes inside a LIST, came to lie inside a FORM whose "HEAD" reader wants two.
    const Bytes input = testfiles::load(QUILLFEN_FUZZ_IFF_CORPUS "/iff-roundtrip-60e877d6.iff");
    ASSERT_EQ(input.size(), 577u);
    Messages messages;
    const Tree tree = read(input);
    ASSERT_NE(tree, nullptr);
    int status = 0;
    const Bytes bytes = write(tree.get(), &status);
    EXPECT_EQ(status, 1);
    const Tree again = read(bytes);
    ASSERT_NE(again, nullptr) << messages.text();
    EXPECT_EQ(messages.text().find("too short"), std::string::npos) << messages.text();
    // What was read back is written as the same bytes, and passes the size checks.
    EXPECT_EQ(write(again.get()), bytes);
    messages.clear();
    check(again.get());
    EXPECT_EQ(messages.text().find("Chunk size mismatch"), std::string::npos) << messages.text();
}
