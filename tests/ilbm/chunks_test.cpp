// The chunk types of ILBM pictures: reading, writing, checking, printing and comparing them
// inside whole files, including files whose chunks lie about their sizes.
#include "ilbm_test_support.h"

#include <iff/form.h>
#include <iff/group.h>
#include <iff/rawchunk.h>

#include <gtest/gtest.h>

#include <cstring>

using namespace ilbmtest;

namespace {

IFF_Chunk *subChunk(const Tree &tree, unsigned int index) {
    const IFF_Group *group = reinterpret_cast<const IFF_Group *>(tree.get());
    return index < group->chunkLength ? group->chunk[index] : nullptr;
}

template <typename T> T *sub(const Tree &tree, unsigned int index) {
    return reinterpret_cast<T *>(subChunk(tree, index));
}

Bytes palette(unsigned int colours) {
    Bytes body;
    for (unsigned int i = 0; i < colours * 3; i++)
        body.push_back(static_cast<unsigned char>(i * 7));
    return body;
}

Bytes form(std::initializer_list<Bytes> children) {
    return group("FORM", "ILBM", children);
}

// A file read into a tree, every message caught, for one scope.
struct Read {
    Messages messages;
    Tree tree;
    explicit Read(const Bytes &file) : tree(file) {}
};

} // namespace

// The fields of each record as read are checked by their printing (PrintsOneLinePerField...).
TEST(IlbmChunks, ReadsAPictureFormIntoItsRecordsAndWritesTheSameBytes) {
    Bytes file = form({bmhd(320, 200, 5), chunk("CMAP", palette(32)), chunk("BODY", Bytes(40, 1))});
    Read r(file);
    EXPECT_EQ(sub<ILBM_ColorMap>(r.tree, 1)->colorRegisterLength, 32u);
    EXPECT_TRUE(ILBM_check(r.tree.get()));
    EXPECT_EQ(writeBytes(r.tree.get()), file);
    Tree again(writeBytes(r.tree.get()));
    EXPECT_TRUE(ILBM_compare(r.tree.get(), again.get()));
    EXPECT_EQ(r.messages.text(), "");
}

TEST(IlbmChunks, EveryChunkTypeSurvivesAWriteAndARead) {
    Bytes file = form({
        bmhd(16, 2, 2),
        chunk("CAMG", be32(0x8004)),
        chunk("CCRT", {0xFF, 0xFF, 1, 7, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0}),
        chunk("CMAP", palette(3)),
        chunk("CMYK", {1, 2, 3, 4, 5, 6, 7, 8}),
        chunk("CNAM", {0, 0, 0, 1, 'r', 'e', 'd', 0, 'b', 'l', 'u', 'e', 0}),
        chunk("CRNG", {0, 0, 0x0A, 0xAA, 0, 1, 4, 9}),
        chunk("DEST", {4, 0, 0, 0x0F, 0, 0x01, 0, 0x0E}),
        chunk("DPI ", {0, 72, 0, 96}),
        chunk("DRNG", {0, 15, 0, 10, 0, 1, 1, 1, 3, 200, 100, 50, 4, 2}),
        chunk("GRAB", {0xFF, 0xFE, 0, 5}),
        chunk("SPRT", {0, 3}),
        chunk("BODY", Bytes(8, 0x5A)),
    });
    Messages messages;
    Tree tree(file);
    ASSERT_TRUE(tree);
    EXPECT_TRUE(ILBM_check(tree.get()));
    EXPECT_EQ(writeBytes(tree.get()), file);

    EXPECT_EQ(sub<ILBM_Viewport>(tree, 1)->viewportMode, 0x8004);
    auto *cycleInfo = sub<ILBM_CycleInfo>(tree, 2);
    EXPECT_EQ(cycleInfo->direction, -1);
    EXPECT_EQ(cycleInfo->end, 7);
    EXPECT_EQ(cycleInfo->microSeconds, 3);
    EXPECT_EQ(sub<ILBM_CMYKMap>(tree, 4)->cmykRegister[1].black, 8);
    auto *names = sub<ILBM_ColorNames>(tree, 5);
    ASSERT_EQ(names->colorNamesLength, 2u);
    EXPECT_STREQ(names->colorNames[1], "blue");
    EXPECT_EQ(sub<ILBM_ColorRange>(tree, 6)->rate, 0x0AAA);
    EXPECT_EQ(sub<ILBM_DestMerge>(tree, 7)->planeMask, 0x0E);
    EXPECT_EQ(sub<ILBM_DPIHeader>(tree, 8)->dpiY, 96);
    auto *drange = sub<ILBM_DRange>(tree, 9);
    ASSERT_EQ(drange->ntrue, 1);
    EXPECT_EQ(drange->dcolor[0].g, 100);
    EXPECT_EQ(drange->dindex[0].index, 2);
    EXPECT_EQ(sub<ILBM_Grab>(tree, 10)->x, -2);
    EXPECT_EQ(sub<ILBM_Sprite>(tree, 11)->spritePrecedence, 3);
    EXPECT_EQ(messages.text(), "");
}

// Chunks whose size is not what their fields take: read as far as they go (the rest as zeros,
// never from the next chunk's bytes), written back at their size (bytes past the fields as they
// were, or as zeros where the record does not hold them), the next chunk read from its own bytes
// (a SPRT of precedence 9 after each), a warning when read and an error when checked.
TEST(IlbmChunks, ChunksOfSizesOtherThanTheirFieldsStayInsideThemselves) {
    const struct {
        Bytes chunk;
        const char *warning; // "" for none
        bool valid, sameBytes;
    } cases[] = {
        {chunk("CMAP", palette(3)), "", true, true}, // odd: a padding byte
        {chunk("CMAP", {}), "", true, true},
        // Two whole registers and one byte of a third.
        {chunk("CMAP", {1, 2, 3, 4, 5, 6, 7}), "WARNING", true, false},
        // Longer than its fields: the extra bytes skipped and kept in the size.
        {chunk("CAMG", {0, 0, 0x80, 0x04, 0xAA, 0xBB}), "WARNING", true, false},
        {chunk("GRAB", {0, 1, 0x7f}),
         "WARNING: the 'GRAB' chunk of 3 bytes is too small for its 4 bytes of fields; those "
         "past its end are read as 0!\n",
         false, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.chunk.begin(), c.chunk.begin() + 4));
        const Bytes file = form({c.chunk, chunk("SPRT", {0, 9})});
        Read r(file);
        ASSERT_TRUE(r.tree);
        EXPECT_EQ(sub<ILBM_Sprite>(r.tree, 1)->spritePrecedence, 9);
        EXPECT_TRUE(*c.warning ? r.messages.contains(c.warning) : r.messages.text().empty())
            << r.messages.text();
        const Bytes written = writeBytes(r.tree.get());
        if (c.sameBytes) {
            EXPECT_EQ(written, file);
        } else {
            EXPECT_EQ(written.size(), file.size());
        }
        r.messages.clear();
        EXPECT_EQ(static_cast<bool>(ILBM_check(r.tree.get())), c.valid) << r.messages.text();
    }
    Read partial(form({chunk("CMAP", {1, 2, 3, 4, 5, 6, 7})}));
    EXPECT_EQ(sub<ILBM_ColorMap>(partial.tree, 0)->colorRegisterLength, 2u);
    Read camg(form({chunk("CAMG", {0, 0, 0x80, 0x04, 0xAA, 0xBB})}));
    EXPECT_EQ(sub<ILBM_Viewport>(camg.tree, 0)->viewportMode, 0x8004);
    Read grab(form({chunk("GRAB", {0, 1, 0x7f})}));
    EXPECT_EQ(sub<ILBM_Grab>(grab.tree, 0)->x, 1);
    EXPECT_EQ(sub<ILBM_Grab>(grab.tree, 0)->y, 0x7f00);
    EXPECT_FALSE(ILBM_check(grab.tree.get()));
    EXPECT_TRUE(grab.messages.contains(
        "ERROR: the 'GRAB' chunk of 3 bytes is too small for its 4 bytes of fields!\n"));
    // The chunks that describe the picture itself stay strict: a short one refuses the file.
    for (const char *chunkId : {"BMHD", "CAMG"}) {
        Read r(form({chunk(chunkId, Bytes(3, 0)), chunk("SPRT", {0, 9})}));
        EXPECT_FALSE(r.tree) << chunkId;
        EXPECT_TRUE(r.messages.contains(std::string("ERROR: the '") + chunkId +
                                        "' chunk of 3 bytes is too small"))
            << r.messages.text();
    }
}

TEST(IlbmChunks, ATruncatedChunkFailsWithTheFieldsName) {
    // The chunk reader itself, on a body that ends early.
    unsigned char body[] = {1, 2, 3, 4};
    FILE *file = fmemopen(body, sizeof body, "rb");
    Messages messages;
    EXPECT_EQ(ILBM_readColorMap(file, 6), nullptr);
    fclose(file);
    EXPECT_TRUE(messages.contains("Error reading 'CMAP'.colorRegister.green\n")) << messages.text();
}

TEST(IlbmChunks, ColourNamesAreBoundedByTheirChunk) {
    const struct {
        Bytes body;
        unsigned int names;
        const char *last, *message; // the last name; what reading and checking say
    } cases[] = {
        {{0, 2, 0, 4, 'a', 0, 'b', 'c', 0, 'd', 'e', 'f', 0}, 3, "def", ""},
        // A start above the end would ask for four billion names; the chunk ends first.
        {{0, 5, 0, 1, 'x', 0},
         1,
         "x",
         "'CNAM'.startingColor: 5 cannot be greater than the 'CNAM'.endingColor: 1\n"},
        // Fewer names than the range asks for.
        {{0, 0, 0, 3, 'x', 0},
         1,
         "x",
         "The 'CNAM'.startingColor: 0 and 'CNAM'.endingColor: 3 difference do not match the "
         "length: 1\n"},
        // A name that the chunk's end cuts short is kept as far as it goes.
        {{0, 0, 0, 1, 'x', 0, 'y', 'z'},
         2,
         "yz",
         "WARNING: the 'CNAM' chunk of 8 bytes is too small for its 9 bytes of fields"},
    };
    for (const auto &c : cases) {
        const Bytes file = form({chunk("CNAM", c.body), chunk("SPRT", {0, 7})});
        Read r(file);
        ASSERT_TRUE(r.tree);
        auto *names = sub<ILBM_ColorNames>(r.tree, 0);
        ASSERT_EQ(names->colorNamesLength, c.names);
        EXPECT_STREQ(names->colorNames[c.names - 1], c.last);
        EXPECT_EQ(sub<ILBM_Sprite>(r.tree, 1)->spritePrecedence, 7);
        EXPECT_EQ(writeBytes(r.tree.get()), file);
        EXPECT_EQ(static_cast<bool>(ILBM_check(r.tree.get())), c.message[0] == 0);
        EXPECT_TRUE(r.messages.contains(c.message)) << r.messages.text();
    }
}

TEST(IlbmChunks, ColourNamesUpTo1022Characters) {
    for (size_t length : {size_t{1022}, size_t{1023}}) {
        Bytes body = {0, 0, 0, 0};
        body.insert(body.end(), length, 'n');
        body.push_back(0);
        Messages messages;
        Tree tree(form({chunk("CNAM", body)}));
        EXPECT_EQ(static_cast<bool>(tree), length == 1022) << length;
    }
}

TEST(IlbmChunks, BitMapHeaderChecks) {
    struct Case {
        unsigned int nPlanes, masking, compression, pad1;
        bool passes;
        const char *message;
    };
    const Case cases[] = {
        {24, 0, 0, 0, true, ""},
        {32, 0, 1, 0, true, ""},
        {8, 3, 1, 0, true, ""},
        {9, 0, 0, 0, false, "'BMHD'.nPlanes"},
        {5, 4, 0, 0, false, "Invalid 'BMHD'.masking value!\n"},
        {5, 0, 2, 0, false, "Invalid 'BMHD'.compression value!\n"},
        {5, 0, 1, 0x80, true, "WARNING: 'BMHD'.pad1 is not 0!\n"},
    };
    for (const Case &c : cases) {
        Messages messages;
        Tree tree(form({bmhd(16, 16, c.nPlanes, c.masking, c.compression, c.pad1)}));
        ASSERT_TRUE(tree);
        EXPECT_EQ(static_cast<bool>(ILBM_check(tree.get())), c.passes) << c.nPlanes;
        EXPECT_TRUE(messages.contains(c.message)) << messages.text();
        if (c.nPlanes == 9) {
            EXPECT_TRUE(messages.contains("9"));
        }
        // 2 to the power nPlanes for 1 to 8 planes only.
        const auto *header = reinterpret_cast<const ILBM_BitMapHeader *>(subChunk(tree, 0));
        EXPECT_EQ(ILBM_calculateNumOfColors(header),
                  c.nPlanes >= 1 && c.nPlanes <= 8 ? 1u << c.nPlanes : 0u);
    }
}

TEST(IlbmChunks, ComparisonIgnoresOnlyWhatIsNotPrinted) {
    Messages messages;
    Tree a(form({bmhd(16, 16, 4, 0, 0, 0, 1), chunk("DRNG", {0, 1, 0, 0, 0, 8, 0, 0, 0, 7})}));
    Tree b(form({bmhd(16, 16, 4, 0, 0, 0, 2), chunk("DRNG", {0, 1, 0, 0, 0, 8, 0, 0, 0, 9})}));
    Tree c(form({bmhd(16, 16, 4, 0, 0, 0, 1), chunk("DRNG", {0, 2, 0, 0, 0, 8, 0, 0, 0, 7})}));
    Tree d(form({bmhd(17, 16, 4, 0, 0, 0, 1), chunk("DRNG", {0, 1, 0, 0, 0, 8, 0, 0, 0, 7})}));
    ASSERT_TRUE(a && b && c && d);
    EXPECT_TRUE(ILBM_compare(a.get(), b.get()));
    EXPECT_FALSE(ILBM_compare(a.get(), c.get()));
    EXPECT_FALSE(ILBM_compare(a.get(), d.get()));
    // Colour maps differ in any gun.
    Tree e(form({bmhd(16, 16, 1, 0, 0, 0, 1), chunk("CMAP", {1, 2, 3, 4, 5, 6})}));
    Tree f(form({bmhd(16, 16, 1, 0, 0, 0, 1), chunk("CMAP", {1, 2, 3, 4, 5, 7})}));
    ASSERT_TRUE(e && f);
    EXPECT_FALSE(ILBM_compare(e.get(), f.get()));
}

TEST(IlbmChunks, DRangeSizesFollowTheFadesFlag) {
    ILBM_DRange *fresh = ILBM_createDRange(8);
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(fresh->chunkSize, 10);
    ILBM_addDColorToDRange(fresh);
    ILBM_addDIndexToDRange(fresh);
    ILBM_addDFadeToDRange(fresh);
    EXPECT_EQ(fresh->chunkSize, 18);
    EXPECT_EQ(fresh->ntrue + fresh->nregs + fresh->nfades, 3);
    ILBM_freeDRange(reinterpret_cast<IFF_Chunk *>(fresh));
    free(fresh);

    Messages messages;
    Bytes fades = {0, 31, 0, 5, 0, 8, 2, 1};
    append(fades, {0, 1, 2, 3, 1, 4, 5, 6, 2, 9});
    append(fades, {3, 0, 0, 1, 1, 2, 2, 3});
    ASSERT_EQ(fades.size(), 26u);
    Tree tree(form({chunk("DRNG", fades)}));
    ASSERT_TRUE(tree);
    auto *drange = sub<ILBM_DRange>(tree, 0);
    EXPECT_EQ(drange->chunkSize, 26);
    EXPECT_EQ(drange->nfades, 3);
    EXPECT_EQ(drange->dfade[2].fade, 3);
    EXPECT_EQ(writeBytes(tree.get()), form({chunk("DRNG", fades)}));

    // Flags 1: no fade part; the bytes after belong to the next chunk.
    Tree plain(form({chunk("DRNG", {0, 31, 0, 5, 0, 1, 0, 0}), chunk("SPRT", {0, 4})}));
    ASSERT_TRUE(plain);
    EXPECT_EQ(sub<ILBM_DRange>(plain, 0)->chunkSize, 8);
    EXPECT_EQ(sub<ILBM_Sprite>(plain, 1)->spritePrecedence, 4);

    // Cell counts that claim more than the chunk holds: the cells past its end are zeros, and
    // the next chunk is read from its own bytes.
    messages.clear();
    Bytes lyingFile =
        form({chunk("DRNG", {0, 31, 0, 5, 0, 1, 40, 0, 1, 2}), chunk("SPRT", {0, 4})});
    Tree lying(lyingFile);
    ASSERT_TRUE(lying);
    EXPECT_EQ(sub<ILBM_DRange>(lying, 0)->ntrue, 40);
    EXPECT_EQ(sub<ILBM_DRange>(lying, 0)->dcolor[0].r, 2);
    EXPECT_EQ(sub<ILBM_DRange>(lying, 0)->dcolor[39].b, 0);
    EXPECT_EQ(sub<ILBM_Sprite>(lying, 1)->spritePrecedence, 4);
    EXPECT_TRUE(messages.contains("WARNING: the 'DRNG' chunk of 10 bytes is too small for its 168 "
                                  "bytes of fields"))
        << messages.text();
    EXPECT_EQ(writeBytes(lying.get()), lyingFile);
    EXPECT_FALSE(ILBM_check(lying.get()));
}

TEST(IlbmChunks, ARangeWithoutTheFadesItsFlagPromisesStillLetsThePictureRead) {
    const Bytes file = paintedPicture();
    ASSERT_EQ(paintedRange().size(), 8u + 26u);
    Messages messages;
    Tree tree(file);
    ASSERT_TRUE(tree);
    EXPECT_EQ(messages.text(), "WARNING: the 'DRNG' chunk of 26 bytes is too small for its 28 "
                               "bytes of fields; those past its end are read as 0!\n");
    auto *drange = sub<ILBM_DRange>(tree, 2);
    EXPECT_EQ(drange->chunkSize, 26);
    EXPECT_EQ(drange->flags, 8);
    EXPECT_EQ(drange->nregs, 5);
    EXPECT_EQ(drange->dindex[4].index, 7);
    EXPECT_EQ(drange->nfades, 0);
    // The palette and the body are there, and the file is written as it was read.
    EXPECT_EQ(sub<ILBM_ColorMap>(tree, 1)->colorRegisterLength, 2u);
    EXPECT_EQ(sub<IFF_RawChunk>(tree, 3)->chunkSize, 2);
    EXPECT_EQ(writeBytes(tree.get()), file);
    EXPECT_NE(printed([&] { ILBM_print(tree.get()); }).find("      nfades = 0;\n"),
              std::string::npos);
    // The check still reports the broken rule.
    messages.clear();
    EXPECT_FALSE(ILBM_check(tree.get()));
    EXPECT_EQ(messages.text(),
              "ERROR: the 'DRNG' chunk of 26 bytes is too small for its 28 bytes of fields!\n");

    // Completed, the range is written whole, with no fades, and the file is valid.
    EXPECT_EQ(ILBM_completeChunks(tree.get()), 1u);
    EXPECT_EQ(drange->chunkSize, 28);
    EXPECT_EQ(tree.get()->chunkSize, 4 + 28 + 14 + 36 + 10);
    const Bytes painted = paintedRange();
    Bytes completedRange(painted.begin() + 8, painted.end());
    append(completedRange, {0, 0});
    EXPECT_EQ(writeBytes(tree.get()),
              form({bmhd(16, 1, 1), chunk("CMAP", {0, 0, 0, 0xFF, 0xFF, 0xFF}),
                    chunk("DRNG", completedRange), chunk("BODY", {0x0F, 0xF0})}));
    messages.clear();
    EXPECT_TRUE(ILBM_check(tree.get())) << messages.text();
    EXPECT_EQ(ILBM_completeChunks(tree.get()), 0u);
}

TEST(IlbmChunks, ColourCyclingChecks) {
    Messages messages;
    Tree bad(form({chunk("CCRT", {0, 2, 1, 7, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0})}));
    ASSERT_TRUE(bad);
    EXPECT_FALSE(ILBM_check(bad.get()));
    EXPECT_TRUE(messages.contains("'CCRT'.direction must be between -1 and 1\n"));

    messages.clear();
    Tree padded(form({chunk("CCRT", {0xFF, 0xFF, 1, 7, 0, 0, 0, 2, 0, 0, 0, 3, 0, 5}),
                      chunk("CRNG", {0, 3, 0, 0, 0, 0, 1, 2})}));
    ASSERT_TRUE(padded);
    EXPECT_TRUE(ILBM_check(padded.get()));
    EXPECT_TRUE(messages.contains("'CCRT'.pad is not 0!\n"));
    EXPECT_TRUE(messages.contains("WARING: 'CRNG'.pad1 is not 0!\n"));
}

TEST(IlbmChunks, ChunkTypesApplyOnlyInsidePictureForms) {
    Messages messages;
    Tree tree(group("CAT ", "ILBM",
                    {chunk("CMAP", palette(2)), form({chunk("CMAP", palette(2))}),
                     group("FORM", "8SVX", {chunk("CMAP", palette(2))})}));
    ASSERT_TRUE(tree);
    auto *raw = sub<IFF_RawChunk>(tree, 0);
    EXPECT_EQ(raw->chunkSize, 6);
    EXPECT_EQ(raw->chunkData[5], 35);
    const IFF_Group *picture = sub<IFF_Group>(tree, 1);
    EXPECT_EQ(reinterpret_cast<ILBM_ColorMap *>(picture->chunk[0])->colorRegisterLength, 2u);
    const IFF_Group *sound = sub<IFF_Group>(tree, 2);
    EXPECT_EQ(reinterpret_cast<IFF_RawChunk *>(sound->chunk[0])->chunkData[0], 0);
}

TEST(IlbmChunks, PrintsOneLinePerFieldTwoBlanksPerLevel) {
    Messages messages;
    Tree tree(form({bmhd(320, 256, 5, 0, 1), chunk("CMAP", {0x0F, 0xA0, 0x3C}),
                    chunk("DRNG", {0, 1, 0, 2, 0, 0, 1, 0, 4, 5, 6, 7})}));
    ASSERT_TRUE(tree);
    std::string out = printed([&] { ILBM_print(tree.get()); });
    EXPECT_NE(out.find("'FORM' = {\n  chunkSize = "), std::string::npos) << out;
    EXPECT_NE(out.find("    'BMHD' = {\n      chunkSize = 20;\n      w = 320;\n      h = 256;\n"
                       "      x = 0;\n      y = 0;\n      nPlanes = 5;\n      masking = 0;\n"
                       "      compression = 1;\n      xAspect = 10;\n      yAspect = 11;\n"
                       "      pageWidth = 320;\n      pageHeight = 256;\n    }\n\n"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("      { red = f, green = a0, blue = 3c };\n"), std::string::npos) << out;
    EXPECT_NE(
        out.find("      ntrue = 1;\n      nregs = 0;\n      { cell = 4, r = 5, g = 6, b = 7 }\n"),
        std::string::npos)
        << out;
}

TEST(IlbmChunks, RecordsBuiltInMemoryKeepTheirSizes) {
    ILBM_ColorMap *colorMap = ILBM_createColorMap();
    for (int i = 0; i < 5; i++)
        ILBM_addColorRegisterInColorMap(colorMap)->red = static_cast<IFF_UByte>(i);
    ILBM_ColorNames *names = ILBM_createColorNames();
    names->endingColor = 1;
    ILBM_addColorName(names, "black");
    ILBM_addColorName(names, "white");
    ILBM_CMYKMap *cmyk = ILBM_createCMYKMap();
    ILBM_addCMYKRegisterInCMYKMap(cmyk)->black = 3;
    EXPECT_EQ(colorMap->chunkSize, 15);
    EXPECT_EQ(names->chunkSize, 4 + 6 + 6);
    EXPECT_EQ(cmyk->chunkSize, 4);

    IFF_Form *picture = IFF_createForm("ILBM");
    IFF_addToForm(picture, reinterpret_cast<IFF_Chunk *>(colorMap));
    IFF_addToForm(picture, reinterpret_cast<IFF_Chunk *>(names));
    IFF_addToForm(picture, reinterpret_cast<IFF_Chunk *>(cmyk));
    Tree built(reinterpret_cast<IFF_Chunk *>(picture));
    Messages messages;
    EXPECT_TRUE(ILBM_check(built.get()));
    Tree read(writeBytes(built.get()));
    ASSERT_TRUE(read);
    EXPECT_TRUE(ILBM_compare(built.get(), read.get()));
    EXPECT_EQ(messages.text(), "");
}
