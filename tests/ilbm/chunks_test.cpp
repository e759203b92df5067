// The chunk types of ILBM pictures: reading, writing, checking, printing and comparing them
// inside whole files, including files whose chunks lie about their sizes.
#include "golden_text.h"
#include "ilbm_test_support.h"

#include <iff/form.h>
#include <iff/rawchunk.h>

#include <gtest/gtest.h>

using namespace ilbmtest;

TEST(IlbmChunks, EveryChunkTypeSurvivesAWriteAndARead) {
    const Bytes file = form({
        bmhd(16, 2, 2),
        chunk("CAMG", be32(0x8004)),
        chunk("CCRT", {0xFF, 0xFF, 1, 7, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0}),
        chunk("CMAP", {0, 7, 14, 21, 28, 35, 42, 49, 56}),
        chunk("CMYK", {1, 2, 3, 4, 5, 6, 7, 8}),
        chunk("CNAM", {0, 0, 0, 1, 'r', 'e', 'd', 0, 'b', 'l', 'u', 'e', 0}),
        chunk("CRNG", {0, 0, 0x0A, 0xAA, 0, 1, 4, 9}),
        chunk("DEST", {4, 0, 0, 0x0F, 0, 0x01, 0, 0x0E}),
        chunk("DPI ", {0, 72, 0, 96}),
        // Flags 8: one colour cell, one index cell, then the fade part (one fade cell).
        chunk("DRNG", {0, 15, 0, 10, 0, 8, 1, 1, 3, 200, 100, 50, 4, 2, 1, 0, 5, 6}),
        chunk("GRAB", {0xFF, 0xFE, 0, 5}),
        chunk("SPRT", {0, 3}),
        chunk("BODY", Bytes(8, 0x5A)),
    });
    Read r(file);
    ASSERT_TRUE(r.tree);
    EXPECT_TRUE(ILBM_check(r.tree.get()));
    EXPECT_EQ(writeBytes(r.tree.get()), file);
    EXPECT_TRUE(ILBM_compare(r.tree.get(), readTree(file).get()));
    EXPECT_EQ(r.messages.text(), "");
    // The fields as read, as their printing shows them.
    const std::string out = printed([&] { ILBM_print(r.tree.get()); });
    const auto expected = golden::read(QUILLFEN_ILBM_DATA "/printed.txt");
    EXPECT_EQ(expected.size(), 12u);
    for (const auto &[chunkId, text] : expected)
        EXPECT_NE(out.find(text), std::string::npos) << chunkId << " in\n" << out;
}

// Chunks read, written, printed and checked, among them chunks whose size is not what their
// fields take: the cases and their reasons are in data/chunk_sizes.txt.
TEST(IlbmChunks, ChunksAreReadWrittenAndCheckedWithinTheirSizes) {
    const auto cases = golden::read(QUILLFEN_ILBM_DATA "/chunk_sizes.txt");
    EXPECT_EQ(cases.size(), 22u);
    const Bytes sprite = chunk("SPRT", {0, 9});
    for (const auto &[name, text] : cases) {
        SCOPED_TRACE(name);
        std::map<std::string, std::string> item =
            keyed(text, {"chunk", "read", "written", "printed", "invalid", "check"});
        const Bytes file = form({chunkOf(item["chunk"]), sprite});
        Read r(file);
        ASSERT_TRUE(r.tree);
        EXPECT_EQ(sub<ILBM_Sprite>(r.tree, 1)->spritePrecedence, 9);
        EXPECT_EQ(r.messages.text(), item["read"]);
        EXPECT_EQ(writeBytes(r.tree.get()),
                  item.count("written") ? form({chunkOf(item["written"]), sprite}) : file);
        const std::string out = printed([&] { ILBM_print(r.tree.get()); });
        EXPECT_NE(out.find(item["printed"]), std::string::npos) << out;
        r.messages.clear();
        EXPECT_EQ(static_cast<bool>(ILBM_check(r.tree.get())), item.count("invalid") == 0);
        EXPECT_EQ(r.messages.text(), item["check"]);
    }
    // The chunks that describe the picture itself stay strict: a short one refuses the file.
    for (const char *chunkId : {"BMHD", "CAMG"}) {
        Read r(form({chunk(chunkId, Bytes(3, 0)), sprite}));
        EXPECT_FALSE(r.tree) << chunkId;
        EXPECT_TRUE(r.messages.contains(std::string("ERROR: the '") + chunkId +
                                        "' chunk of 3 bytes is too small for its "))
            << r.messages.text();
    }
}

TEST(IlbmChunks, ATruncatedChunkFailsWithTheFieldsName) {
    unsigned char body[] = {1, 2, 3, 4};
    FILE *file = fmemopen(body, sizeof body, "rb");
    Messages messages;
    EXPECT_EQ(ILBM_readColorMap(file, 6), nullptr);
    fclose(file);
    EXPECT_EQ(messages.text(), "Error reading 'CMAP'.colorRegister.green\n");
}

TEST(IlbmChunks, ColourNamesUpTo1022Characters) {
    for (size_t length : {size_t{1022}, size_t{1023}}) {
        Read r(form({chunk("CNAM", cat({{0, 0, 0, 0}, Bytes(length, 'n'), {0}}))}));
        EXPECT_EQ(static_cast<bool>(r.tree), length == 1022) << length;
    }
}

TEST(IlbmChunks, AHeadersColoursAreTwoToThePowerOfItsPlanesUpTo8) {
    ILBM_BitMapHeader header{};
    const unsigned int cases[][2] = {{0, 0}, {1, 2}, {5, 32}, {8, 256}, {9, 0}, {24, 0}};
    for (const auto &c : cases) {
        header.nPlanes = static_cast<IFF_UByte>(c[0]);
        EXPECT_EQ(ILBM_calculateNumOfColors(&header), c[1]) << c[0];
    }
}

TEST(IlbmChunks, ComparisonIgnoresOnlyWhatIsNotPrinted) {
    // The BMHD's width and transparent colour, the DRNG's max and pad.
    auto picture = [](unsigned int w, unsigned int transparent, unsigned char max,
                      unsigned char pad) {
        return readTree(form({bmhd(w, 16, 4, 0, 0, 0, transparent),
                              chunk("DRNG", {0, max, 0, 0, 0, 8, 0, 0, 0, pad})}));
    };
    const Tree a = picture(16, 1, 1, 7);
    EXPECT_TRUE(ILBM_compare(a.get(), picture(16, 2, 1, 9).get()));
    EXPECT_FALSE(ILBM_compare(a.get(), picture(16, 1, 2, 7).get()));
    EXPECT_FALSE(ILBM_compare(a.get(), picture(17, 1, 1, 7).get()));
    // Colour maps differ in any gun.
    const Tree e = readTree(form({chunk("CMAP", {1, 2, 3, 4, 5, 6})}));
    EXPECT_FALSE(ILBM_compare(e.get(), readTree(form({chunk("CMAP", {1, 2, 3, 4, 5, 7})})).get()));
}

// Once completed, the range is written whole, with no fades, and the file is valid.
TEST(IlbmChunks, CompletingARangeWithoutTheFadesItsFlagPromises) {
    Read r(paintedPicture());
    ASSERT_TRUE(r.tree);
    EXPECT_EQ(ILBM_completeChunks(r.tree.get()), 1u);
    // The range as painted, then nfades 0 and its pad byte.
    const Bytes whole = {0,   31, 0x0A, 0xAA, 0, 8, 2, 5, 0, 255, 0, 0, 1, 0,
                         255, 0,  2,    3,    3, 4, 4, 5, 5, 6,   6, 7, 0, 0};
    EXPECT_EQ(writeBytes(r.tree.get()),
              form({bmhd(16, 1, 1), chunk("CMAP", {0, 0, 0, 0xFF, 0xFF, 0xFF}),
                    chunk("DRNG", whole), chunk("BODY", {0x0F, 0xF0})}));
    r.messages.clear();
    EXPECT_TRUE(ILBM_check(r.tree.get())) << r.messages.text();
    EXPECT_EQ(ILBM_completeChunks(r.tree.get()), 0u);
}

TEST(IlbmChunks, ChunkTypesApplyOnlyInsidePictureForms) {
    const Bytes colours = {0, 7, 14, 21, 28, 35};
    Read r(group("CAT ", "ILBM",
                 {chunk("CMAP", colours), form({chunk("CMAP", colours)}),
                  group("FORM", "8SVX", {chunk("CMAP", colours)})}));
    ASSERT_TRUE(r.tree);
    auto *raw = sub<IFF_RawChunk>(r.tree, 0);
    EXPECT_EQ(raw->chunkSize, 6);
    EXPECT_EQ(raw->chunkData[5], 35);
    const IFF_Group *picture = sub<IFF_Group>(r.tree, 1);
    EXPECT_EQ(reinterpret_cast<ILBM_ColorMap *>(picture->chunk[0])->colorRegisterLength, 2u);
    const IFF_Group *sound = sub<IFF_Group>(r.tree, 2);
    EXPECT_EQ(reinterpret_cast<IFF_RawChunk *>(sound->chunk[0])->chunkData[0], 0);
}

// Records made in memory keep their sizes as they grow: the form they make is valid, and read
// back, says nothing and holds the same.
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
    ILBM_DRange *drange = ILBM_createDRange(ILBM_RNG_FADE);
    ILBM_addDColorToDRange(drange)->g = 1;
    ILBM_addDIndexToDRange(drange)->index = 2;
    ILBM_addDFadeToDRange(drange)->fade = 3;

    IFF_Form *picture = IFF_createForm("ILBM");
    for (IFF_Chunk *record : {asChunk(colorMap), asChunk(names), asChunk(cmyk), asChunk(drange)})
        IFF_addToForm(picture, record);
    const Tree built(asChunk(picture));
    Messages messages;
    EXPECT_TRUE(ILBM_check(built.get()));
    const Tree read = readTree(writeBytes(built.get()));
    ASSERT_TRUE(read);
    EXPECT_TRUE(ILBM_compare(built.get(), read.get()));
    EXPECT_EQ(messages.text(), "");
}
