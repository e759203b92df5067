// Whole files: reading, writing, trailing bytes, the top-level check and the queries.
#include "scratch_files.h"
#include "testing.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <unistd.h>

using namespace ifftest;

TEST(IffFile, WriteThenReadGivesAnEqualTree) {
    const Bytes expected = group(
        "CAT ", "JJJJ",
        {group("FORM", "TEST", {chunk("HEAD", be16(77)), chunk("BODY", {1, 2, 3, 4, 5})}),
         group("LIST", "TSTB",
               {group("PROP", "TSTB", {chunk("HEAD", be16(5))}), group("FORM", "TSTB", {})})});
    IFF_Chunk *top = readBytes(expected, testExtension, testExtensionLength);
    ASSERT_TRUE(IFF_check(top, testExtension, testExtensionLength));
    const testfiles::Folder folder;
    const std::string name = folder.file("tree.iff");
    Messages messages;
    ASSERT_TRUE(IFF_write(name.c_str(), top, testExtension, testExtensionLength));
    IFF_Chunk *back = IFF_read(name.c_str(), testExtension, testExtensionLength);
    EXPECT_TRUE(IFF_compare(back, top, testExtension, testExtensionLength));
    EXPECT_EQ(messages.text(), "");
    EXPECT_EQ(testfiles::load(name), std::vector<std::uint8_t>(expected.begin(), expected.end()));
    IFF_free(back, testExtension, testExtensionLength);
    IFF_free(top, testExtension, testExtensionLength);
}

TEST(IffFile, TrailingBytesOnlyWarn) {
    Messages messages;
    const Bytes form = group("FORM", "TEST", {chunk("DATA", {1, 2})});
    IFF_Chunk *tree = readBytes(cat({form, Bytes{0xc8, 0x01, 0x02}}));
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(messages.text(), "WARNING: Trailing IFF contents found: 200!\n");
    EXPECT_EQ(written(tree), form);
    IFF_free(tree, nullptr, 0);
}

TEST(IffFile, FailuresToOpenOrReadAreReported) {
    Messages messages;
    EXPECT_EQ(readBytes({}), nullptr);
    EXPECT_EQ(messages.text(), "Error reading '    '.chunkId\nERROR: cannot open main chunk!\n");

    messages.clear();
    EXPECT_EQ(IFF_read("/nonexistent/picture.iff", nullptr, 0), nullptr);
    EXPECT_EQ(messages.text(), "/nonexistent/picture.iff: No such file or directory\n"
                               "ERROR: cannot open file: /nonexistent/picture.iff\n");

    messages.clear();
    IFF_Form *form = IFF_createForm("TEST");
    EXPECT_FALSE(IFF_write("/nonexistent/out.iff", asChunk(form), nullptr, 0));
    EXPECT_EQ(messages.text(), "ERROR: cannot open file: /nonexistent/out.iff\n");

    // A disk that fills up: the failure shows when the buffered bytes are written out.
    messages.clear();
    EXPECT_FALSE(IFF_write("/dev/full", asChunk(form), nullptr, 0));
    EXPECT_EQ(messages.text(), "ERROR: cannot write file: /dev/full\n");
    IFF_free(asChunk(form), nullptr, 0);
}

TEST(IffFile, ResultOfAFailedReadIsSafeToPassOn) {
    Messages messages;
    IFF_Chunk *none = readBytes({});
    messages.clear();
    EXPECT_FALSE(IFF_check(none, nullptr, 0));
    int status = 1;
    EXPECT_TRUE(written(none, nullptr, 0, &status).empty());
    EXPECT_EQ(status, 0);
    EXPECT_EQ(printed([&] { IFF_print(none, 0, nullptr, 0); }), "");
    EXPECT_TRUE(IFF_compare(none, none, nullptr, 0));
    IFF_Form *form = IFF_createForm("TEST");
    EXPECT_FALSE(IFF_compare(none, asChunk(form), nullptr, 0));
    IFF_free(none, nullptr, 0);
    IFF_free(asChunk(form), nullptr, 0);
    EXPECT_EQ(messages.text(), "ERROR: No chunk to check!\nERROR: No chunk to write!\n");
}

TEST(IffFile, TopChunkMustBeAGroupOfTheThreeKinds) {
    Messages messages;
    for (const Bytes &bytes : {chunk("BMHD", Bytes(20, 0)), group("PROP", "ILBM", {})}) {
        IFF_Chunk *tree = readBytes(bytes);
        ASSERT_NE(tree, nullptr);
        messages.clear();
        EXPECT_FALSE(IFF_check(tree, nullptr, 0));
        EXPECT_EQ(messages.text(), "Not a valid IFF-85 file: First bytes should start with "
                                   "either: 'FORM', 'CAT ' or 'LIST'\n");
        IFF_free(tree, nullptr, 0);
    }
    IFF_RawChunk *badId = rawChunk("B\x01MD", {});
    IFF_Form *form = IFF_createForm("TEST");
    IFF_addToForm(form, asChunk(badId));
    messages.clear();
    EXPECT_FALSE(IFF_check(asChunk(form), nullptr, 0));
    EXPECT_EQ(messages.text(), "Illegal character: '\x01' in ID!\n");
    IFF_free(asChunk(form), nullptr, 0);
}

TEST(IffQueries, SearchFormsDepthFirstInFileOrder) {
    const Bytes tree =
        group("CAT ", "JJJJ",
              {group("FORM", "ILBM",
                     {chunk("CRNG", {1}), chunk("NAME", {'a'}), chunk("BODY", {}),
                      chunk("CRNG", {2}), chunk("CRNG", {3})}),
               group("FORM", "ACBM", {}),
               group("LIST", "ILBM",
                     {group("PROP", "ILBM", {}), group("FORM", "ILBM", {chunk("NAME", {'b'})}),
                      group("FORM", "ILBM", {group("FORM", "ILBM", {}), chunk("NAME", {'c'})})})});
    IFF_Chunk *top = readBytes(tree);
    ASSERT_NE(top, nullptr);
    unsigned int count = 99;
    IFF_Form **forms = IFF_searchForms(top, "ILBM", &count);
    ASSERT_EQ(count, 3u);
    std::string names;
    for (unsigned int i = 0; i < count; i++) {
        const IFF_RawChunk *name =
            reinterpret_cast<const IFF_RawChunk *>(IFF_getDataChunkFromForm(forms[i], "NAME"));
        ASSERT_NE(name, nullptr);
        names += static_cast<char>(name->chunkData[0]);
    }
    EXPECT_EQ(names, "abc");
    unsigned int n = 5; // a FORM's chunks of one ID, in file order; none of another
    IFF_Chunk **ranges = IFF_getChunksFromForm(forms[0], "CRNG", &n);
    ASSERT_EQ(n, 3u);
    for (unsigned int i = 0; i < n; i++)
        EXPECT_EQ(reinterpret_cast<IFF_RawChunk *>(ranges[i])->chunkData[0], i + 1);
    free(ranges);
    EXPECT_EQ(IFF_getChunksFromForm(forms[0], "CMAP", &n), nullptr);
    EXPECT_EQ(n, 0u);
    free(forms);

    const char *types[] = {"ACBM", "ILBM"};
    forms = IFF_searchFormsFromArray(top, types, 2, &count);
    EXPECT_EQ(count, 4u);
    EXPECT_EQ(Bytes(forms[1]->groupType, forms[1]->groupType + 4), id("ACBM"));
    free(forms);

    count = 99;
    EXPECT_EQ(IFF_searchForms(top, "8SVX", &count), nullptr);
    EXPECT_EQ(count, 0u);
    IFF_Chunk *inner = reinterpret_cast<IFF_Group *>(top)->chunk[0];
    forms = IFF_searchForms(inner, "ILBM", &count);
    ASSERT_EQ(count, 1u);
    EXPECT_EQ(asChunk(forms[0]), inner);
    free(forms);
    IFF_free(top, nullptr, 0);
}

TEST(IffQueries, PropertiesAreInheritedFromTheNearestList) {
    const Bytes cmapOuter = chunk("CMAP", {1, 1, 1});
    const Bytes cmapInner = chunk("CMAP", {2, 2, 2});
    const Bytes tree =
        group("LIST", "ILBM",
              {group("PROP", "ILBM", {cmapOuter, chunk("GRAB", {9, 9, 9, 9})}),
               group("FORM", "ILBM", {chunk("BODY", {0})}),
               group("FORM", "ILBM", {chunk("CMAP", {3, 3, 3})}),
               group("LIST", "ILBM",
                     {group("PROP", "ACBM", {chunk("CMAP", {4, 4, 4})}),
                      group("PROP", "ILBM", {cmapInner}), group("FORM", "ILBM", {})})});
    IFF_Chunk *top = readBytes(tree);
    ASSERT_NE(top, nullptr);
    const IFF_List *list = reinterpret_cast<const IFF_List *>(top);
    auto firstByte = [](const IFF_Chunk *chunk) {
        return chunk == nullptr ? -1 : reinterpret_cast<const IFF_RawChunk *>(chunk)->chunkData[0];
    };
    const IFF_Form *plain = reinterpret_cast<const IFF_Form *>(list->chunk[0]);
    const IFF_Form *own = reinterpret_cast<const IFF_Form *>(list->chunk[1]);
    const IFF_List *innerList = reinterpret_cast<const IFF_List *>(list->chunk[2]);
    const IFF_Form *nested = reinterpret_cast<const IFF_Form *>(innerList->chunk[0]);

    EXPECT_EQ(IFF_getDataChunkFromForm(plain, "CMAP"), nullptr);
    EXPECT_EQ(firstByte(IFF_getChunkFromForm(plain, "CMAP")), 1);
    EXPECT_EQ(firstByte(IFF_getChunkFromForm(own, "CMAP")), 3);
    EXPECT_EQ(firstByte(IFF_getChunkFromForm(nested, "CMAP")), 2);
    // Not in the inner PROP: the outer LIST's PROP still gives it.
    EXPECT_EQ(firstByte(IFF_getChunkFromForm(nested, "GRAB")), 9);
    EXPECT_EQ(IFF_getChunkFromForm(nested, "CRNG"), nullptr);

    EXPECT_EQ(IFF_getPropFromList(innerList, "ACBM"), innerList->prop[0]);
    EXPECT_EQ(IFF_getPropFromList(innerList, "PBM "), nullptr);
    EXPECT_EQ(firstByte(IFF_getChunkFromProp(innerList->prop[1], "CMAP")), 2);
    IFF_free(top, nullptr, 0);
}
