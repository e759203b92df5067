// Chunk heads, raw chunks, dispatch through extension tables and size bookkeeping.
#include "testing.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace ifftest;

TEST(IffRawChunk, OddBodiesArePaddedButTheirSizesAreNot) {
    const struct {
        Bytes body;
        long end; // where the next chunk begins
    } cases[] = {{{1, 2, 3}, 12}, {{}, 8}, {{9, 8}, 10}};
    for (const auto &c : cases) {
        Messages messages;
        MemoryFile file(cat({chunk("ABCD", c.body), id("NEXT")}));
        IFF_Chunk *read = IFF_readChunk(file.get(), nullptr, nullptr, 0);
        ASSERT_NE(read, nullptr);
        EXPECT_EQ(file.position(), c.end);
        const IFF_RawChunk *raw = reinterpret_cast<const IFF_RawChunk *>(read);
        EXPECT_EQ(raw->chunkSize, static_cast<IFF_Long>(c.body.size()));
        EXPECT_EQ(raw->parent, nullptr);
        EXPECT_EQ(IFF_incrementChunkSize(4, read), 4 + c.end); // the padding byte counted
        EXPECT_EQ(written(read), chunk("ABCD", c.body));
        EXPECT_EQ(messages.text(), "");
        IFF_freeChunk(read, nullptr, nullptr, 0);
    }
    Messages messages;
    MemoryFile cut(id("BMHD"));
    EXPECT_EQ(IFF_readChunk(cut.get(), nullptr, nullptr, 0), nullptr);
    EXPECT_EQ(messages.text(), "Error reading 'BMHD'.chunkSize\n");
}

TEST(IffRawChunk, PrintsBytesTenPerLineInLowerCase) {
    IFF_RawChunk *raw = rawChunk("DATA", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0xff, 0x10});
    EXPECT_EQ(printed([&] { IFF_printChunk(asChunk(raw), 1, nullptr, nullptr, 0); }),
              "  'DATA' = {\n"
              "    chunkSize = 12;\n"
              "    bytes = \n"
              "      00 01 02 03 04 05 06 07 08 09 \n"
              "      ff 10 \n"
              "    ;\n"
              "  }\n"
              "\n");
    IFF_freeChunk(asChunk(raw), nullptr, nullptr, 0);
}

TEST(IffRawChunk, TextChunksPrintVerbatim) {
    IFF_RawChunk *text = IFF_createRawChunk("TEXT");
    ASSERT_TRUE(IFF_setTextData(text, "Hello 'Amiga'\n"));
    EXPECT_EQ(text->chunkSize, 14);
    EXPECT_EQ(printed([&] { IFF_printRawChunk(text, 1); }), "  text = '\n"
                                                            "    Hello 'Amiga'\n"
                                                            "\n"
                                                            "  ';\n");
    EXPECT_EQ(written(asChunk(text)), chunk("TEXT", iffbytes::text("Hello 'Amiga'\n")));
    ASSERT_TRUE(IFF_setTextData(text, ""));
    EXPECT_EQ(text->chunkSize, 0);
    IFF_freeChunk(asChunk(text), nullptr, nullptr, 0);
}

TEST(IffRawChunk, CompareLooksAtIdSizeAndEveryByte) {
    IFF_RawChunk *a = rawChunk("DATA", {1, 2, 3});
    const struct {
        const char *chunkId;
        Bytes body;
        int same;
    } cases[] = {{"DATA", {1, 2, 3}, 1},
                 {"DATA", {1, 2, 4}, 0},
                 {"DATA", {1, 2}, 0},
                 {"DATB", {1, 2, 3}, 0}};
    for (const auto &c : cases) {
        IFF_Chunk *b = asChunk(rawChunk(c.chunkId, c.body));
        EXPECT_EQ(IFF_compareChunk(asChunk(a), b, nullptr, nullptr, 0), c.same);
        IFF_freeChunk(b, nullptr, nullptr, 0);
    }
    IFF_freeChunk(asChunk(a), nullptr, nullptr, 0);
}

TEST(IffExtension, BinarySearchFindsRowsOnlyUnderAKnownFormType) {
    const struct {
        const char *formType, *chunkId;
        bool found;
    } cases[] = {{"TEST", "HEAD", true},  {"TSTB", "ZZZZ", true},  {nullptr, "HEAD", false},
                 {"ILBM", "HEAD", false}, {"ACBM", "HEAD", false}, {"TEST", "BODY", false}};
    for (const auto &c : cases) {
        const IFF_FormExtension *row =
            IFF_findFormExtension(c.formType, c.chunkId, testExtension, testExtensionLength);
        EXPECT_EQ(std::string(row == nullptr ? "none" : row->chunkId),
                  c.found ? c.chunkId : "none");
    }
    EXPECT_EQ(IFF_findFormExtension("TEST", "HEAD", nullptr, 0), nullptr);
}

TEST(IffChunk, UpdateChunkSizesWalksUpTheParents) {
    IFF_CAT *outer = IFF_createCAT("TEST");
    IFF_Form *form = IFF_createForm("TEST");
    IFF_RawChunk *raw = rawChunk("DATA", {1, 2, 3});
    ASSERT_TRUE(IFF_addToForm(form, asChunk(raw)));
    ASSERT_TRUE(IFF_addToCAT(outer, asChunk(form)));
    EXPECT_EQ(form->chunkSize, 4 + 8 + 4);
    EXPECT_EQ(outer->chunkSize, 4 + 8 + 16);
    EXPECT_EQ(raw->parent, form);
    EXPECT_EQ(form->parent, outer);

    IFF_UByte *longer = static_cast<IFF_UByte *>(calloc(10, 1));
    // Replacing the data hands the old data back: it is still whole, and the caller's to free.
    IFF_UByte *old = raw->chunkData;
    IFF_setRawChunkData(raw, longer, 10);
    EXPECT_EQ(old[2], 3);
    free(old);
    IFF_updateChunkSizes(asChunk(raw));
    EXPECT_EQ(form->chunkSize, 4 + 8 + 10);
    EXPECT_EQ(outer->chunkSize, 4 + 8 + 22);
    EXPECT_TRUE(IFF_check(asChunk(outer), nullptr, 0));
    IFF_free(asChunk(outer), nullptr, 0);
}
