// Whole files: reading, writing, failures and the queries.
#include "scratch_files.h"
#include "testing.h"

#include <gtest/gtest.h>

using namespace ifftest;

TEST(IffFile, WriteThenReadGivesAnEqualTree) {
    const Bytes expected =
        group("FORM", "TEST", {chunk("HEAD", be16(77)), chunk("BODY", {1, 2, 3, 4, 5})});
    const Tree top = read(expected);
    const testfiles::Folder folder;
    const std::string name = folder.file("tree.iff");
    Messages messages;
    ASSERT_TRUE(IFF_write(name.c_str(), top.get(), fuzzExtension, fuzzExtensionLength));
    const Tree back(IFF_read(name.c_str(), fuzzExtension, fuzzExtensionLength));
    EXPECT_TRUE(IFF_compare(back.get(), top.get(), fuzzExtension, fuzzExtensionLength));
    EXPECT_EQ(messages.text(), "");
    EXPECT_EQ(testfiles::load(name), std::vector<std::uint8_t>(expected.begin(), expected.end()));
}

TEST(IffFile, FailuresAreReportedAndTheirResultIsSafeToPassOn) {
    Messages messages;
    EXPECT_EQ(readBytes({}), nullptr);
    EXPECT_EQ(messages.text(), "Error reading '    '.chunkId\nERROR: cannot open main chunk!\n");

    messages.clear();
    EXPECT_EQ(IFF_read("/nonexistent/picture.iff", nullptr, 0), nullptr);
    EXPECT_EQ(messages.text(), "/nonexistent/picture.iff: No such file or directory\n"
                               "ERROR: cannot open file: /nonexistent/picture.iff\n");

    messages.clear();
    const Tree form = own(IFF_createForm("TEST"));
    EXPECT_FALSE(IFF_write("/nonexistent/out.iff", form.get(), nullptr, 0));
    EXPECT_EQ(messages.text(), "ERROR: cannot open file: /nonexistent/out.iff\n");

    // A disk that fills up: the failure shows when the buffered bytes are written out.
    messages.clear();
    EXPECT_FALSE(IFF_write("/dev/full", form.get(), nullptr, 0));
    EXPECT_EQ(messages.text(), "ERROR: cannot write file: /dev/full\n");

    // The null tree of a failed read.
    messages.clear();
    EXPECT_FALSE(IFF_check(nullptr, nullptr, 0));
    int status = 1;
    EXPECT_TRUE(written(nullptr, nullptr, 0, &status).empty());
    EXPECT_EQ(status, 0);
    EXPECT_EQ(printed([&] { IFF_print(nullptr, 0, nullptr, 0); }), "");
    EXPECT_TRUE(IFF_compare(nullptr, nullptr, nullptr, 0));
    EXPECT_FALSE(IFF_compare(nullptr, form.get(), nullptr, 0));
    IFF_free(nullptr, nullptr, 0);
    EXPECT_EQ(messages.text(), "ERROR: No chunk to check!\nERROR: No chunk to write!\n");
}

TEST(IffQueries, SearchFormsDepthFirstInFileOrder) {
    // ILBMs named a, b and c, an ACBM between a and b; an ILBM inside c, and the LIST's PROP,
    // which are not searched.
    const Tree top = read(group(
        "CAT ", "JJJJ",
        {group("FORM", "ILBM",
               {chunk("CRNG", {1}), chunk("NAME", {'a'}), chunk("CRNG", {2}), chunk("CRNG", {3})}),
         group("FORM", "ACBM", {}),
         group("LIST", "ILBM",
               {group("PROP", "ILBM", {}), group("FORM", "ILBM", {chunk("NAME", {'b'})}),
                group("FORM", "ILBM", {group("FORM", "ILBM", {}), chunk("NAME", {'c'})})})}));
    ASSERT_NE(top, nullptr);
    const auto named = [](IFF_Form **forms, unsigned int count) {
        std::string names;
        for (unsigned int i = 0; i < count; i++) {
            const IFF_RawChunk *name =
                reinterpret_cast<const IFF_RawChunk *>(IFF_getDataChunkFromForm(forms[i], "NAME"));
            names += name == nullptr ? '-' : static_cast<char>(name->chunkData[0]);
        }
        free(forms);
        return names;
    };
    unsigned int count = 99;
    IFF_Form **forms = IFF_searchForms(top.get(), "ILBM", &count);
    ASSERT_EQ(count, 3u);
    unsigned int n = 5; // a FORM's chunks of one ID, in file order; none of another
    IFF_Chunk **ranges = IFF_getChunksFromForm(forms[0], "CRNG", &n);
    ASSERT_EQ(n, 3u);
    for (unsigned int i = 0; i < n; i++)
        EXPECT_EQ(reinterpret_cast<IFF_RawChunk *>(ranges[i])->chunkData[0], i + 1);
    free(ranges);
    EXPECT_EQ(IFF_getChunksFromForm(forms[0], "CMAP", &n), nullptr);
    EXPECT_EQ(n, 0u);
    EXPECT_EQ(named(forms, count), "abc");
    const char *types[] = {"ACBM", "ILBM"};
    forms = IFF_searchFormsFromArray(top.get(), types, 2, &count);
    EXPECT_EQ(named(forms, count), "a-bc");
    EXPECT_EQ(IFF_searchForms(top.get(), "8SVX", &count), nullptr);
    EXPECT_EQ(count, 0u);
}

TEST(IffQueries, PropertiesAreInheritedFromTheNearestList) {
    const Tree top = read(group(
        "LIST", "ILBM",
        {group("PROP", "ILBM", {chunk("CMAP", {1, 1, 1}), chunk("GRAB", {9, 9, 9, 9})}),
         group("FORM", "ILBM", {chunk("BODY", {0})}),
         group("FORM", "ILBM", {chunk("CMAP", {3, 3, 3})}),
         group("LIST", "ILBM",
               {group("PROP", "ACBM", {chunk("CMAP", {4, 4, 4})}),
                group("PROP", "ILBM", {chunk("CMAP", {2, 2, 2})}), group("FORM", "ILBM", {})})}));
    ASSERT_NE(top, nullptr);
    const auto firstByte = [](const IFF_Chunk *chunk) {
        return chunk == nullptr ? -1 : reinterpret_cast<const IFF_RawChunk *>(chunk)->chunkData[0];
    };
    const IFF_List *list = as<IFF_List>(top);
    const IFF_Form *plain = reinterpret_cast<const IFF_Form *>(list->chunk[0]);
    const IFF_Form *withOwn = reinterpret_cast<const IFF_Form *>(list->chunk[1]);
    const IFF_List *inner = reinterpret_cast<const IFF_List *>(list->chunk[2]);
    const IFF_Form *nested = reinterpret_cast<const IFF_Form *>(inner->chunk[0]);

    EXPECT_EQ(IFF_getDataChunkFromForm(plain, "CMAP"), nullptr);
    EXPECT_EQ(firstByte(IFF_getChunkFromForm(plain, "CMAP")), 1);
    EXPECT_EQ(firstByte(IFF_getChunkFromForm(withOwn, "CMAP")), 3);
    EXPECT_EQ(firstByte(IFF_getChunkFromForm(nested, "CMAP")), 2);
    // Not in the inner PROP: the outer LIST's PROP still gives it.
    EXPECT_EQ(firstByte(IFF_getChunkFromForm(nested, "GRAB")), 9);
    EXPECT_EQ(IFF_getChunkFromForm(nested, "CRNG"), nullptr);
    EXPECT_EQ(IFF_getPropFromList(inner, "ACBM"), inner->prop[0]);
    EXPECT_EQ(IFF_getPropFromList(inner, "PBM "), nullptr);
}
