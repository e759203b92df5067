// Files from elsewhere: sizes that lie, truncation, endless nesting and odd bytes.
#include "fuzz_extension.h"
#include "scratch_files.h"
#include "testing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <unistd.h>

using namespace ifftest;

namespace {

// A stream over bytes that can neither seek nor tell its length, as a pipe.
struct Unseekable {
    Bytes bytes;
    size_t position = 0;
};

ssize_t readUnseekable(void *cookie, char *buffer, size_t size) {
    Unseekable *stream = static_cast<Unseekable *>(cookie);
    const size_t n = std::min(size, stream->bytes.size() - stream->position);
    if (n > 0) // an empty stream has no bytes to copy from (data() may be null)
        memcpy(buffer, stream->bytes.data() + stream->position, n);
    stream->position += n;
    return static_cast<ssize_t>(n);
}

IFF_Chunk *readUnseekably(const Bytes &bytes, const IFF_Extension *extension = nullptr,
                          unsigned int extensionLength = 0) {
    Unseekable stream{bytes};
    FILE *file = fopencookie(&stream, "rb", {readUnseekable, nullptr, nullptr, nullptr});
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

const Bytes kSample = group("LIST", "TEST",
                            {group("PROP", "TEST", {chunk("HEAD", be16(9))}),
                             group("CAT ", "TEST",
                                   {group("FORM", "TEST",
                                          {chunk("HEAD", be16(1)), chunk("BODY", {1, 2, 3, 4, 5}),
                                           chunk("TEXT", {'h', 'i'})})}),
                             group("FORM", "TEST", {chunk("HEAD", {7, 8, 9})})});

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
        IFF_Chunk *tree = readUnseekably(bytes);
        ASSERT_NE(tree, nullptr) << size;
        const IFF_RawChunk *raw =
            reinterpret_cast<const IFF_RawChunk *>(reinterpret_cast<IFF_Form *>(tree)->chunk[0]);
        ASSERT_EQ(raw->chunkSize, static_cast<IFF_Long>(size));
        EXPECT_TRUE(std::equal(body.begin(), body.end(), raw->chunkData)) << size;
        IFF_free(tree, nullptr, 0);

        // One byte short, at any piece boundary.
        Messages messages;
        EXPECT_EQ(readUnseekably(Bytes(bytes.begin(), bytes.end() - 2)), nullptr) << size;
    }
}

TEST(IffHostile, EveryTruncationFailsCleanly) {
    const Bytes &bytes = kSample;
    IFF_Chunk *whole = readBytes(bytes, testExtension, testExtensionLength);
    ASSERT_NE(whole, nullptr);
    ASSERT_TRUE(IFF_check(whole, testExtension, testExtensionLength));
    IFF_free(whole, testExtension, testExtensionLength);

    Messages messages;
    for (size_t length = 0; length < bytes.size(); length++) {
        const Bytes prefix(bytes.begin(), bytes.begin() + static_cast<long>(length));
        // Through a seekable file and through a stream that cannot tell its length.
        for (auto read : {readBytes, readUnseekably}) {
            messages.clear();
            EXPECT_EQ(read(prefix, testExtension, testExtensionLength), nullptr) << length;
            const std::string &text = messages.text();
            EXPECT_EQ(text.substr(text.rfind('\n', text.size() - 2) + 1),
                      "ERROR: cannot open main chunk!\n")
                << length;
        }
    }
    // A FORM cut inside a sub-chunk says why, that a group failed, and that the file did: not
    // once more for every level it passes.
    messages.clear();
    EXPECT_EQ(readUnseekably(Bytes(kSample.begin(), kSample.begin() + 78), testExtension,
                             testExtensionLength),
              nullptr);
    EXPECT_EQ(messages.text(), "Error reading raw chunk body of chunk: 'BODY'\n"
                               "Error while reading chunk!\n"
                               "ERROR: cannot open main chunk!\n");
}

TEST(IffHostile, NestingDepthIsBounded) {
    Messages messages;
    IFF_Chunk *deepest = readBytes(nested(IFF_MAX_GROUP_DEPTH));
    ASSERT_NE(deepest, nullptr);
    EXPECT_EQ(messages.text(), "");
    EXPECT_TRUE(IFF_check(deepest, nullptr, 0));
    const Bytes again = written(deepest);
    EXPECT_EQ(again, nested(IFF_MAX_GROUP_DEPTH));
    EXPECT_FALSE(printed([&] { IFF_print(deepest, 0, nullptr, 0); }).empty());
    IFF_free(deepest, nullptr, 0);

    // One line says it all, however deep the file goes.
    for (unsigned depth : {unsigned{IFF_MAX_GROUP_DEPTH} + 1, 1000u}) {
        messages.clear();
        EXPECT_EQ(readBytes(nested(depth)), nullptr);
        EXPECT_EQ(messages.text(), "ERROR: Groups are nested deeper than 256 levels!\n") << depth;
    }

    // A reader that failed deep down leaves nothing behind for the next read.
    messages.clear();
    IFF_Chunk *next = readBytes(nested(3));
    ASSERT_NE(next, nullptr);
    IFF_free(next, nullptr, 0);
    EXPECT_EQ(messages.text(), "");
}

TEST(IffHostile, SubChunksOverrunningTheirGroupAreReadAndWrittenWithTheirSize) {
    // The FORM declares 12 bytes but its sub-chunk takes 4 + 8 + 20: the size read is left for
    // the check to report (group_test), the body's size is written.
    IFF_Chunk *tree = readBytes(group("FORM", "TEST", {chunk("DATA", Bytes(20, 5))}, 12));
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(reinterpret_cast<IFF_Form *>(tree)->chunkLength, 1u);
    EXPECT_EQ(tree->chunkSize, 12);
    Messages messages;
    EXPECT_EQ(written(tree), group("FORM", "TEST", {chunk("DATA", Bytes(20, 5))}));
    IFF_free(tree, nullptr, 0);

    // Declared sizes below the type field.
    messages.clear();
    tree = readBytes(group("CAT ", "TEST", {}, 0));
    ASSERT_NE(tree, nullptr);
    EXPECT_FALSE(IFF_check(tree, nullptr, 0));
    EXPECT_EQ(messages.text(), "Chunk size mismatch! CAT  size: 0, while body has: 4\n");
    IFF_free(tree, nullptr, 0);
}

TEST(IffHostile, OddIdBytesSurviveARoundTrip) {
    const char zeroed[4] = {'A', '\0', '\0', 'B'};
    const char type[4] = {'\xff', 'X', '\0', 'Y'};
    const Bytes withType = group("LIST", type, {group("FORM", "TEST", {chunk(zeroed, {0x42})})});
    Messages messages;
    IFF_Chunk *tree = readBytes(withType);
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(written(tree), withType);
    IFF_Chunk *again = readBytes(written(tree));
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(IFF_compare(tree, again, nullptr, 0));
    IFF_free(again, nullptr, 0);
    IFF_free(tree, nullptr, 0);
}

TEST(IffHostile, BrokenInMemoryRecordsFailToWrite) {
    Messages messages;
    IFF_RawChunk *raw = IFF_createRawChunk("DATA");
    raw->chunkSize = 5; // but no data
    int status = 1;
    written(asChunk(raw), nullptr, 0, &status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(messages.text(), "Error writing raw chunk body of chunk 'DATA'\n");
    raw->chunkSize = 0;
    IFF_freeChunk(asChunk(raw), nullptr, nullptr, 0);
}

TEST(IffHostile, GroupsWhoseSizesLieAreWrittenWithTheSizeOfWhatTheyHold) {
    // The LIST says it ends one byte into its PROP, which it read after its FORM. Written with
    // that size and its PROP first, it would end after the PROP, and the FORM would be read at
    // the top, outside it, as trailing bytes.
    const Bytes form = group("FORM", "TEST", {chunk("HEAD", be16(3))});
    const Bytes prop =
        group("PROP", "TEST", {chunk("HEAD", be16(4)), chunk("TEXT", Bytes(20, 'x'))});
    const int64_t declared = 4 + static_cast<int64_t>(form.size()) + 1;
    Messages messages;
    IFF_Chunk *tree = readBytes(group("LIST", "TEST", {form, prop}, declared), testExtension,
                                testExtensionLength);
    ASSERT_NE(tree, nullptr);
    messages.clear();
    const Bytes bytes = written(tree, testExtension, testExtensionLength);
    EXPECT_EQ(bytes, group("LIST", "TEST", {prop, form}));
    EXPECT_EQ(messages.text(),
              "WARNING: Chunk size mismatch! LIST size: " + std::to_string(declared) +
                  ", while body has: " + std::to_string(4 + form.size() + prop.size()) +
                  "; the body's size is written!\n");
    IFF_Chunk *again = readBytes(bytes, testExtension, testExtensionLength);
    ASSERT_NE(again, nullptr);
    const IFF_List *list = reinterpret_cast<const IFF_List *>(again);
    EXPECT_EQ(list->propLength, 1u);
    EXPECT_EQ(list->chunkLength, 1u);
    EXPECT_TRUE(IFF_check(again, testExtension, testExtensionLength));
    IFF_free(again, testExtension, testExtensionLength);
    IFF_free(tree, testExtension, testExtensionLength);
}

TEST(IffHostile, InputsTheFuzzTargetsFoundReadBackOnceWritten) {
    // Found by fuzz_iff: a tree of groups whose sizes lie, which read with warnings and wrote
    // without error, while the written bytes could not be read: a chunk "HEAD" of one byte, read
    // as raw bytes inside a LIST, came to lie inside a FORM whose "HEAD" reader wants two.
    const Bytes input = testfiles::load(QUILLFEN_FUZZ_IFF_CORPUS "/iff-roundtrip-60e877d6.iff");
    ASSERT_EQ(input.size(), 577u);
    Messages messages;
    IFF_Chunk *tree = readBytes(input, fuzzExtension, fuzzExtensionLength);
    ASSERT_NE(tree, nullptr);
    int status = 0;
    const Bytes bytes = written(tree, fuzzExtension, fuzzExtensionLength, &status);
    EXPECT_EQ(status, 1);
    IFF_Chunk *again = readBytes(bytes, fuzzExtension, fuzzExtensionLength);
    ASSERT_NE(again, nullptr) << messages.text();
    EXPECT_EQ(messages.text().find("too short"), std::string::npos) << messages.text();
    // What was read back is written as the same bytes, and passes the size checks.
    EXPECT_EQ(written(again, fuzzExtension, fuzzExtensionLength), bytes);
    messages.clear();
    IFF_check(again, fuzzExtension, fuzzExtensionLength);
    EXPECT_EQ(messages.text().find("Chunk size mismatch"), std::string::npos) << messages.text();
    IFF_free(again, fuzzExtension, fuzzExtensionLength);
    IFF_free(tree, fuzzExtension, fuzzExtensionLength);
}
