// Dispatch through the chunk table, printing, and size bookkeeping up the parents.
#include "golden_text.h"
#include "testing.h"

#include <gtest/gtest.h>

using namespace ifftest;

TEST(IffPrint, TreeWithEachKindOfChunk) {
    // The HEAD in the FORM of type TEST and in the PROP of type FUZZ are the chunk table's; the
    // one directly in the LIST, under no form type, is raw bytes.
    const Tree tree = read(group(
        "LIST", "TEST",
        {group("FORM", "TEST",
               {chunk("HEAD", be16(7)), chunk("DATA", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0xff, 0x10}),
                chunk("TEXT", text("Hello 'Amiga'\n"))}),
         chunk("HEAD", be16(7)), group("PROP", "FUZZ", {chunk("HEAD", {1, 2, 3})})}));
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(printed([&] { IFF_print(tree.get(), 0, fuzzExtension, fuzzExtensionLength); }),
              golden::read(QUILLFEN_IFF_TEST_DATA "/printed.txt").at("list"));
}

TEST(IffChunk, DataReplacedAndSizesUpdatedUpTheParents) {
    IFF_CAT *outer = IFF_createCAT("TEST");
    IFF_List *list = IFF_createList("TEST");
    IFF_Prop *prop = IFF_createProp("TEST");
    IFF_RawChunk *raw = IFF_createRawChunk("TEXT");
    ASSERT_TRUE(IFF_setTextData(raw, "abc"));
    ASSERT_TRUE(IFF_addToProp(prop, asChunk(raw)) && IFF_addPropToList(list, prop) &&
                IFF_addToCAT(outer, asChunk(list)));
    const Tree tree = own(outer);
    EXPECT_EQ(prop->chunkSize, 4 + 8 + 4);
    EXPECT_EQ(write(asChunk(prop)), group("PROP", "TEST", {chunk("TEXT", text("abc"))}));
    EXPECT_EQ(list->chunkSize, 4 + 8 + 16);
    EXPECT_EQ(outer->chunkSize, 4 + 8 + 28);

    // Replacing the data hands the old data back: it is still whole, and the caller's to free.
    IFF_UByte *old = raw->chunkData;
    IFF_setRawChunkData(raw, static_cast<IFF_UByte *>(calloc(10, 1)), 10);
    EXPECT_EQ(old[2], 'c');
    free(old);
    IFF_updateChunkSizes(asChunk(raw));
    EXPECT_EQ(prop->chunkSize, 4 + 8 + 10);
    EXPECT_EQ(list->chunkSize, 4 + 8 + 22);
    EXPECT_EQ(outer->chunkSize, 4 + 8 + 34);
    EXPECT_TRUE(check(tree.get()));
    // Text replaces the data the chunk held, which it releases.
    ASSERT_TRUE(IFF_setTextData(raw, ""));
    EXPECT_EQ(raw->chunkSize, 0);
    EXPECT_EQ(raw->chunkData, nullptr);
}
