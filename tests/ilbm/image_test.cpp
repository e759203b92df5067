// Pictures as images: extraction from chunk trees, plane layouts, ILBM/ACBM conversion and
// ByteRun1 on whole bodies, including bodies that do not match their headers.
#include "ilbm/byterun.h"
#include "ilbm/ilbmimage.h"
#include "ilbm/interleave.h"
#include "ilbm_test_support.h"

#include <iff/iff.h>
#include <iff/rawchunk.h>

#include <gtest/gtest.h>

#include <cstring>

using namespace ilbmtest;

namespace {

Bytes form(const char *type, std::initializer_list<Bytes> children) {
    return group("FORM", type, children);
}

// The rows p0r0, p1r0, p0r1, p1r1 of a 16 x 2 x 2 picture, two bytes each.
const Bytes kInterleaved = {0x00, 0x01, 0x10, 0x11, 0x02, 0x03, 0x12, 0x13};
const Bytes kPlanar = {0x00, 0x01, 0x02, 0x03, 0x10, 0x11, 0x12, 0x13};

// The images of a tree, released at the end of the scope.
class Images {
public:
    explicit Images(IFF_Chunk *chunk)
        : images_(chunk != nullptr ? ILBM_extractImages(chunk, &length_) : nullptr) {}
    ~Images() { ILBM_freeImages(images_, length_); }
    Images(const Images &) = delete;
    Images &operator=(const Images &) = delete;
    unsigned int size() const { return length_; }
    ILBM_Image *operator[](unsigned int i) const { return images_[i]; }
    ILBM_Image **data() const { return images_; }

private:
    unsigned int length_ = 0;
    ILBM_Image **images_;
};

// A file read, its pictures extracted and every message caught, for one scope.
struct Read {
    Messages messages;
    Tree tree;
    Images images;
    explicit Read(const Bytes &file) : tree(file), images(tree.get()) {}
    ILBM_Image *first() const { return images.size() > 0 ? images[0] : nullptr; }
};

Bytes bodyOf(const IFF_RawChunk *chunk) {
    return Bytes(chunk->chunkData, chunk->chunkData + chunk->chunkSize);
}

} // namespace

TEST(IlbmImages, RowSizeIsTheWidthInWholeWords) {
    ILBM_Image *image = ILBM_createImage("ILBM");
    ILBM_BitMapHeader *header = ILBM_createBitMapHeader();
    image->bitMapHeader = header;
    const unsigned int cases[][2] = {{320, 40}, {321, 42}, {16, 2}, {1, 2}, {37, 6}, {65535, 8192}};
    for (const auto &c : cases) {
        header->w = static_cast<IFF_UWord>(c[0]);
        EXPECT_EQ(ILBM_calculateRowSize(image), c[1]) << c[0];
    }
    free(header);
    ILBM_freeImage(image);
}

TEST(IlbmImages, ConvertsBetweenInterleavedAndContiguousPlanes) {
    const Bytes cmap = chunk("CMAP", {0, 0, 0, 9, 9, 9});
    const Bytes file = form("ILBM", {bmhd(16, 2, 2), cmap, chunk("BODY", kInterleaved)});
    Read r(file);
    ASSERT_EQ(r.images.size(), 1u);
    ILBM_Image *image = r.first();
    EXPECT_TRUE(ILBM_imageIsILBM(image));
    unsigned char *planes = ILBM_deinterleave(image);
    ASSERT_NE(planes, nullptr);
    EXPECT_EQ(Bytes(planes, planes + 8), kPlanar);
    unsigned char *again = ILBM_interleave(image, planes);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(Bytes(again, again + 8), kInterleaved);
    free(planes);
    free(again);

    ASSERT_TRUE(ILBM_convertILBMToACBM(image));
    EXPECT_TRUE(ILBM_imageIsACBM(image));
    EXPECT_EQ(image->body, nullptr);
    EXPECT_EQ(writeBytes(r.tree.get()),
              form("ACBM", {bmhd(16, 2, 2), cmap, chunk("ABIT", kPlanar)}));
    EXPECT_TRUE(ILBM_check(r.tree.get()));
    EXPECT_FALSE(ILBM_convertILBMToACBM(image));
    ASSERT_TRUE(ILBM_convertACBMToILBM(image));
    EXPECT_EQ(writeBytes(r.tree.get()), file);
    EXPECT_EQ(r.messages.text(), "");
}

TEST(IlbmImages, ConversionRefusesPackedAndChunkyPictures) {
    const Bytes file = form(
        "ILBM", {bmhd(16, 2, 2, 0, 1), chunk("BODY", {0x07, 0, 1, 0x10, 0x11, 2, 3, 0x12, 0x13})});
    Read packed(file), chunky(form("PBM ", {bmhd(16, 2, 8), chunk("BODY", Bytes(32, 1))}));
    ASSERT_EQ(packed.images.size() + chunky.images.size(), 2u);
    EXPECT_FALSE(ILBM_convertILBMToACBM(packed.first()));
    EXPECT_FALSE(ILBM_convertACBMToILBM(packed.first()));
    EXPECT_FALSE(ILBM_convertILBMToACBM(chunky.first()));
    EXPECT_EQ(writeBytes(packed.tree.get()), file);
    EXPECT_TRUE(ILBM_imageIsPBM(chunky.first()));
    EXPECT_EQ(chunky.first()->body->chunkSize, 32);
}

TEST(IlbmImages, AMaskPlaneTravelsWithThePictureRows) {
    // Two planes and a mask: three rows per picture row.
    const Bytes body = {1, 1, 2, 2, 9, 9, 3, 3, 4, 4, 8, 8};
    Read r(form("ILBM", {bmhd(16, 2, 2, 1), chunk("BODY", body)}));
    ASSERT_EQ(r.images.size(), 1u);
    ILBM_Image *image = r.first();
    EXPECT_EQ(ILBM_calculateBodyPlanes(image), 3u);
    ASSERT_TRUE(ILBM_convertILBMToACBM(image));
    EXPECT_EQ(bodyOf(image->bitplanes), (Bytes{1, 1, 3, 3, 2, 2, 4, 4, 9, 9, 8, 8}));
    ASSERT_TRUE(ILBM_convertACBMToILBM(image));
    ASSERT_TRUE(ILBM_packByteRun(image));
    ASSERT_TRUE(ILBM_unpackByteRun(image));
    EXPECT_EQ(bodyOf(image->body), body);

    // The plane operations take and give one plane per bitplane: the mask is left out of what
    // they give, and a caller's array of two pointers is all they touch.
    unsigned char *planes = ILBM_deinterleave(image);
    ASSERT_NE(planes, nullptr);
    EXPECT_EQ(Bytes(planes, planes + 8), (Bytes{1, 1, 3, 3, 2, 2, 4, 4}));
    struct {
        unsigned char *pointers[2];
        unsigned char *beyond; // what a third pointer would read
    } destinations = {{planes + 4, planes}, nullptr};
    EXPECT_TRUE(ILBM_deinterleaveToBitplaneMemory(image, destinations.pointers));
    EXPECT_EQ(Bytes(planes, planes + 8), (Bytes{2, 2, 4, 4, 1, 1, 3, 3}));
    // Interleaving cannot make the mask from the planes, so it refuses.
    r.messages.clear();
    EXPECT_EQ(ILBM_interleave(image, planes), nullptr);
    EXPECT_EQ(ILBM_interleaveFromBitplaneMemory(image, destinations.pointers), nullptr);
    EXPECT_TRUE(r.messages.contains("mask plane")) << r.messages.text();
    free(planes);
}

TEST(IlbmImages, BodiesOfTheWrongLengthLoseNothing) {
    // Longer than the picture: the extra bytes stay behind the rearranged rows, and packing,
    // which would drop them, refuses.
    const Bytes file =
        form("ILBM", {bmhd(16, 2, 2), chunk("BODY", cat({kInterleaved, {0xEE, 0xEF}}))});
    Read longer(file);
    ASSERT_TRUE(ILBM_convertILBMToACBM(longer.first()));
    EXPECT_EQ(bodyOf(longer.first()->bitplanes), cat({kPlanar, {0xEE, 0xEF}}));
    ASSERT_TRUE(ILBM_convertACBMToILBM(longer.first()));
    EXPECT_EQ(writeBytes(longer.tree.get()), file);
    EXPECT_FALSE(ILBM_packByteRun(longer.first()));
    EXPECT_TRUE(longer.messages.contains("more than the picture"));

    // Shorter than the picture: nothing is read beyond it.
    const Bytes shortFile = form("ILBM", {bmhd(16, 2, 2), chunk("BODY", {1, 2, 3})});
    Read shorter(shortFile);
    EXPECT_EQ(ILBM_deinterleave(shorter.first()), nullptr);
    EXPECT_FALSE(ILBM_convertILBMToACBM(shorter.first()));
    EXPECT_FALSE(ILBM_packByteRun(shorter.first()));
    EXPECT_TRUE(shorter.messages.contains("holds 3 bytes, while the picture needs 8"));
    EXPECT_EQ(writeBytes(shorter.tree.get()), shortFile);
}

TEST(IlbmImages, HeadersThatDescribeNoUsablePicture) {
    const unsigned int cases[][3] = {{16, 2, 0}, {16, 2, 33}, {0, 2, 2}, {16, 0, 2}};
    for (const auto &c : cases) {
        const Bytes file = form("ILBM", {bmhd(c[0], c[1], c[2], 0, 1), chunk("BODY", {0x81, 7})});
        Read r(file);
        ASSERT_EQ(r.images.size(), 1u);
        ILBM_Image *image = r.first();
        EXPECT_FALSE(ILBM_unpackByteRun(image));
        image->bitMapHeader->compression = ILBM_CMP_NONE;
        EXPECT_FALSE(ILBM_packByteRun(image));
        EXPECT_EQ(ILBM_deinterleave(image), nullptr);
        EXPECT_FALSE(ILBM_convertILBMToACBM(image));
        EXPECT_NE(r.messages.text(), "");
        image->bitMapHeader->compression = ILBM_CMP_BYTE_RUN;
        EXPECT_EQ(writeBytes(r.tree.get()), file);
    }
}

TEST(IlbmImages, APictureFarLargerThanItsPackedBodyIsNotAllocated) {
    const struct {
        unsigned int w, h;
        const char *message;
    } cases[] = {{65535, 65535, "does not fit in a chunk"},
                 {4096, 4096, "cannot hold the picture's 16777216 bytes"}};
    for (const auto &c : cases) {
        Read r(form("ILBM", {bmhd(c.w, c.h, 8, 0, 1), chunk("BODY", {0x81, 0, 0x81, 0})}));
        EXPECT_FALSE(ILBM_unpackByteRun(r.first()));
        EXPECT_TRUE(r.messages.contains(c.message)) << r.messages.text();
        EXPECT_EQ(r.first()->body->chunkSize, 4);
    }
}

TEST(IlbmImages, PacksAndUnpacksBodiesRowByRowAndKeepsSizesRight) {
    // 16 x 3 x 2: each plane row packs by itself, runs never cross a row; packing a packed body
    // does nothing.
    const Bytes file =
        form("ILBM", {bmhd(16, 3, 2), chunk("BODY", {5, 5, 5, 5, 1, 2, 7, 7, 7, 7, 9, 9})});
    const Bytes packed = {0xFF, 5, 0xFF, 5, 0x01, 1, 2, 0xFF, 7, 0xFF, 7, 0xFF, 9};
    Read r(file);
    for (int twice = 0; twice < 2; twice++) {
        ASSERT_TRUE(ILBM_packByteRun(r.first()));
        EXPECT_EQ(writeBytes(r.tree.get()),
                  form("ILBM", {bmhd(16, 3, 2, 0, 1), chunk("BODY", packed)}));
    }
    EXPECT_TRUE(ILBM_check(r.tree.get()));
    ASSERT_TRUE(ILBM_unpackByteRun(r.first()));
    EXPECT_EQ(writeBytes(r.tree.get()), file);
    EXPECT_TRUE(ILBM_check(r.tree.get()));
    EXPECT_EQ(r.messages.text(), "");
}

TEST(IlbmImages, UnpackingHostilePackedData) {
    const struct {
        Bytes packed;
        bool unpacks;
        const char *message;
    } cases[] = {
        // Exactly the 8 bytes of 16 x 2 x 2.
        {{0x02, 0x0A, 0x0B, 0x0C, 0xFC, 0x00}, true, ""},
        // Ends early: left packed.
        {{0x02, 0x0A, 0x0B, 0x0C, 0xFE, 0x00}, false, "left packed"},
        // A literal claiming more bytes than the chunk has.
        {{0x7F, 1, 2}, false, "left packed"},
        // A run past the end of the picture.
        {{0x81, 0x07}, true, "WARNING"},
        // The no-op control byte, reported once.
        {{0x80, 0x80, 0xF9, 0x01}, true, "Unknown byte run encoding byte!\n"},
        // Bytes left after the picture.
        {{0xF9, 0x01, 0x00, 0x02}, true, "WARNING"},
        {{}, false, "left packed"},
    };
    for (const auto &c : cases) {
        const Bytes file = form("ILBM", {bmhd(16, 2, 2, 0, 1), chunk("BODY", c.packed)});
        Read r(file);
        EXPECT_EQ(static_cast<bool>(ILBM_unpackByteRun(r.first())), c.unpacks);
        // A message ending in a newline is the whole text: said once.
        if (std::string(c.message).ends_with('\n')) {
            EXPECT_EQ(r.messages.text(), c.message);
        }
        EXPECT_TRUE(r.messages.contains(c.message)) << r.messages.text();
        if (c.unpacks) {
            EXPECT_EQ(r.first()->body->chunkSize, 8);
            EXPECT_TRUE(ILBM_check(r.tree.get()));
        } else {
            EXPECT_EQ(writeBytes(r.tree.get()), file);
        }
    }
}

TEST(IlbmImages, ChunkyBodiesUseEvenRowsOfOneBytePerPixel) {
    // 3 x 2 PBM: rows of 4 bytes.
    const Bytes body = {1, 2, 3, 0, 4, 4, 4, 0};
    Read r(form("PBM ", {bmhd(3, 2, 8), chunk("BODY", body)}));
    ASSERT_TRUE(ILBM_packByteRun(r.first()));
    EXPECT_EQ(bodyOf(r.first()->body), (Bytes{0x03, 1, 2, 3, 0, 0xFE, 4, 0x00, 0}));
    ASSERT_TRUE(ILBM_unpackByteRun(r.first()));
    EXPECT_EQ(bodyOf(r.first()->body), body);

    // Packed as rows of 3 bytes, without the byte that makes them even, as some programs write
    // them: each row is padded as it is unpacked.
    Read uneven(form("PBM ", {bmhd(3, 2, 8, 0, 1), chunk("BODY", {0x02, 1, 2, 3, 0xFE, 4})}));
    ASSERT_TRUE(ILBM_unpackByteRun(uneven.first()));
    EXPECT_EQ(bodyOf(uneven.first()->body), body);
    EXPECT_TRUE(uneven.messages.contains("WARNING: the packed 'BODY' holds rows of 3 bytes"));
    EXPECT_EQ(uneven.first()->bitMapHeader->compression, ILBM_CMP_NONE);
    // Only a stream of exactly such rows: one byte short is still refused.
    Read cut(form("PBM ", {bmhd(3, 2, 8, 0, 1), chunk("BODY", {0x02, 1, 2, 3, 0xFF, 4})}));
    EXPECT_FALSE(ILBM_unpackByteRun(cut.first()));
    EXPECT_TRUE(cut.messages.contains("left packed")) << cut.messages.text();
}

TEST(IlbmImages, AnUnknownCompressionIsNeitherUnpackedNorTakenForPlanes) {
    const Bytes file = form("ILBM", {bmhd(16, 2, 2, 0, 2), chunk("BODY", kInterleaved)});
    Read r(file);
    EXPECT_FALSE(ILBM_unpackByteRun(r.first()));
    EXPECT_EQ(r.messages.text(), "ERROR: 'BMHD'.compression 2 is not ByteRun1; the 'BODY' cannot "
                                 "be unpacked!\n");
    EXPECT_EQ(ILBM_deinterleave(r.first()), nullptr);
    EXPECT_FALSE(ILBM_convertILBMToACBM(r.first()));
    EXPECT_TRUE(ILBM_packByteRun(r.first())); // nothing to do: it is not uncompressed
    EXPECT_EQ(writeBytes(r.tree.get()), file);
}

TEST(IlbmImages, ExtractsPicturesWithInheritedProperties) {
    Bytes crng1 = chunk("CRNG", {0, 0, 0, 1, 0, 1, 0, 1});
    Bytes crng2 = chunk("CRNG", {0, 0, 0, 2, 0, 1, 0, 1});
    Bytes file = group(
        "CAT ", "JJJJ",
        {group("LIST", "ILBM",
               {group("PROP", "ILBM", {bmhd(16, 2, 2), chunk("CMAP", {1, 2, 3}), crng1}),
                form("ILBM", {crng2, chunk("CCRT", Bytes(14, 0)), chunk("BODY", kInterleaved)}),
                form("ILBM", {bmhd(32, 1, 1), chunk("CMAP", {4, 5, 6, 7, 8, 9})})}),
         form("ACBM", {chunk("CMAP", {1, 1, 1})}),
         form("PBM ", {bmhd(2, 2, 8), chunk("BODY", {1, 2, 3, 4})})});
    Read r(file);
    const Images &images = r.images;
    EXPECT_TRUE(ILBM_check(r.tree.get()));
    // The ACBM form has no BMHD and is skipped.
    ASSERT_EQ(images.size(), 3u);
    ILBM_Image *first = images[0];
    EXPECT_EQ(first->bitMapHeader->w, 16);
    ASSERT_NE(first->colorMap, nullptr);
    EXPECT_EQ(first->colorMap->colorRegister[0].blue, 3);
    ASSERT_EQ(first->colorRangeLength, 1u);
    EXPECT_EQ(first->colorRange[0]->rate, 2);
    EXPECT_EQ(first->cycleInfoLength, 1u);
    EXPECT_EQ(first->drangeLength, 0u);
    EXPECT_EQ(bodyOf(first->body), kInterleaved);

    EXPECT_EQ(images[1]->bitMapHeader->w, 32);
    EXPECT_EQ(images[1]->colorMap->colorRegisterLength, 2u);
    EXPECT_EQ(images[1]->body, nullptr);
    EXPECT_EQ(images[1]->colorRangeLength, 0u);
    EXPECT_TRUE(ILBM_imageIsPBM(images[2]));
    EXPECT_TRUE(ILBM_checkImages(r.tree.get(), images.data(), images.size()));
    // A BMHD shared through the PROP cannot take the compression of one body.
    first->bitMapHeader->compression = ILBM_CMP_NONE;
    EXPECT_FALSE(ILBM_packByteRun(first));
    EXPECT_TRUE(r.messages.contains("shared"));
}

TEST(IlbmImages, AFileWithoutPicturesHasNoImages) {
    Messages messages;
    Tree tree(group("FORM", "8SVX", {chunk("VHDR", Bytes(20, 0))}));
    unsigned int length = 7;
    EXPECT_EQ(ILBM_extractImages(tree.get(), &length), nullptr);
    EXPECT_EQ(length, 0u);
    EXPECT_EQ(messages.text(), "No form with formType: 'ACBM', 'ILBM' or 'PBM ' found!\n");

    ILBM_Image *image = ILBM_createImage("ILBM");
    messages.clear();
    EXPECT_FALSE(ILBM_checkImage(image));
    EXPECT_EQ(messages.text(), "Error: no bitmap header defined!\n");
    ILBM_freeImage(image);
}

TEST(IlbmImages, GreyScaleColourMaps) {
    ILBM_Image *image = ILBM_createImage("ILBM");
    image->bitMapHeader = ILBM_createBitMapHeader();
    auto levels = [&](unsigned int nPlanes) {
        image->bitMapHeader->nPlanes = static_cast<IFF_UByte>(nPlanes);
        ILBM_ColorMap *colorMap = ILBM_generateGrayscaleColorMap(image);
        Bytes values;
        for (unsigned int i = 0; i < colorMap->colorRegisterLength; i++)
            values.push_back(colorMap->colorRegister[i].green);
        ILBM_freeColorMap(reinterpret_cast<IFF_Chunk *>(colorMap));
        free(colorMap);
        return values;
    };
    EXPECT_EQ(levels(1), (Bytes{0, 255}));
    EXPECT_EQ(levels(2), (Bytes{0, 85, 170, 255}));
    EXPECT_EQ(levels(8).size(), 256u);
    EXPECT_TRUE(levels(24).empty());
    free(image->bitMapHeader);
    ILBM_freeImage(image);
}

TEST(IlbmImages, AnImageBuiltInMemoryBecomesAForm) {
    ILBM_Image *image = ILBM_createImage("ILBM");
    ILBM_BitMapHeader *header = ILBM_createBitMapHeader();
    header->w = 16;
    header->h = 2;
    header->nPlanes = 2;
    image->bitMapHeader = header;
    image->colorMap = ILBM_generateGrayscaleColorMap(image);
    ILBM_ColorRange *range = ILBM_createColorRange();
    ILBM_addColorRangeToImage(image, range);
    IFF_RawChunk *body = IFF_createRawChunk("BODY");
    unsigned char *data = static_cast<unsigned char *>(malloc(8));
    memcpy(data, kInterleaved.data(), 8);
    IFF_setRawChunkData(body, data, 8);
    image->body = body;

    Messages messages;
    IFF_Form *built = ILBM_convertImageToForm(image);
    ASSERT_NE(built, nullptr);
    Tree tree(reinterpret_cast<IFF_Chunk *>(built));
    EXPECT_TRUE(ILBM_check(tree.get()));
    EXPECT_EQ(built->chunkLength, 4u);
    EXPECT_EQ(memcmp(built->chunk[2]->chunkId, "CRNG", 4), 0);
    EXPECT_EQ(body->parent, built);
    EXPECT_EQ(image->form, built);
    // Once in a form, the chunks are copied into a second one, which the image then describes.
    IFF_Form *second = ILBM_convertImageToForm(image);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second->chunk[0], built->chunk[0]);
    EXPECT_EQ(image->form, second);
    EXPECT_EQ(image->body, reinterpret_cast<IFF_RawChunk *>(second->chunk[3]));
    EXPECT_EQ(image->colorRange[0], reinterpret_cast<ILBM_ColorRange *>(second->chunk[2]));
    Tree copy(reinterpret_cast<IFF_Chunk *>(second));
    EXPECT_TRUE(ILBM_compare(tree.get(), copy.get()));

    // Packing the image packs the copy; the first form is left as it was.
    ASSERT_TRUE(ILBM_packByteRun(image));
    EXPECT_TRUE(ILBM_check(copy.get()));
    EXPECT_EQ(body->chunkSize, 8);
    Tree read(writeBytes(copy.get()));
    ASSERT_TRUE(read);
    EXPECT_TRUE(ILBM_compare(copy.get(), read.get()));
    EXPECT_FALSE(ILBM_compare(copy.get(), tree.get()));
    ILBM_freeImage(image);
}

TEST(IlbmImages, AnExtractedImageBecomesAFormOfCopies) {
    // The picture of a LIST whose PROP holds its header and colours: the new form holds copies
    // of all of them, and the tree it came from stays whole.
    const Bytes crng = chunk("CRNG", {0, 0, 0, 1, 0, 1, 0, 1});
    Bytes file = group("LIST", "ILBM",
                       {group("PROP", "ILBM", {bmhd(16, 2, 2), chunk("CMAP", {1, 2, 3})}),
                        form("ILBM", {crng, chunk("BODY", kInterleaved)})});
    Read r(file);
    ASSERT_EQ(r.images.size(), 1u);
    IFF_Form *built = ILBM_convertImageToForm(r.first());
    ASSERT_NE(built, nullptr) << r.messages.text();
    Tree lone(reinterpret_cast<IFF_Chunk *>(built));
    EXPECT_EQ(writeBytes(lone.get()),
              group("FORM", "ILBM",
                    {bmhd(16, 2, 2), chunk("CMAP", {1, 2, 3}), crng, chunk("BODY", kInterleaved)}));
    EXPECT_EQ(writeBytes(r.tree.get()), file);
    EXPECT_EQ(r.first()->form, built);
    EXPECT_EQ(r.first()->bitMapHeader->parent, built);
    EXPECT_EQ(r.messages.text(), "");
}

namespace {

// A LIST of two pictures sharing the header, the colours and (when bodyInProp) the body of its
// PROP; each picture has a CRNG of its own, and its own body otherwise.
Bytes listOfTwo(bool bodyInProp, const char *contentsType = "ILBM") {
    const Bytes crng1 = chunk("CRNG", {0, 0, 0, 1, 0, 1, 0, 1});
    const Bytes crng2 = chunk("CRNG", {0, 0, 0, 2, 0, 1, 0, 1});
    if (bodyInProp) {
        return group(
            "LIST", contentsType,
            {group("PROP", "ILBM",
                   {bmhd(16, 2, 2), chunk("CMAP", {1, 2, 3}), chunk("BODY", kInterleaved)}),
             form("ILBM", {crng1}), form("ILBM", {crng2})});
    }
    return group("LIST", contentsType,
                 {group("PROP", "ILBM", {bmhd(16, 2, 2), chunk("CMAP", {1, 2, 3})}),
                  form("ILBM", {crng1, chunk("BODY", kInterleaved)}),
                  form("ILBM", {crng2, chunk("BODY", kPlanar)})});
}

// Converts every picture of the tree one way, then checks the tree and its pictures.
void convertAll(const Tree &tree, int (*convert)(ILBM_Image *), const char *type) {
    Images images(tree.get());
    ASSERT_GT(images.size(), 0u);
    for (unsigned int i = 0; i < images.size(); i++) {
        ASSERT_TRUE(convert(images[i])) << i;
        EXPECT_EQ(memcmp(images[i]->formType, type, 4), 0);
        EXPECT_EQ(memcmp(images[i]->form->groupType, type, 4), 0);
    }
    Messages messages;
    EXPECT_TRUE(ILBM_check(tree.get())) << messages.text();
    // The tree written and read back holds the same pictures.
    Tree again(writeBytes(tree.get()));
    ASSERT_TRUE(again);
    Images found(again.get());
    EXPECT_EQ(found.size(), images.size());
}

} // namespace

TEST(IlbmImages, ConvertingPicturesOfAListKeepsWhatTheyInherit) {
    Messages messages;
    Tree tree(listOfTwo(false));
    ASSERT_TRUE(tree);
    convertAll(tree, ILBM_convertILBMToACBM, "ACBM");
    // The PROP moved to the new type with the forms, and so did the LIST.
    const IFF_List *list = reinterpret_cast<const IFF_List *>(tree.get());
    ASSERT_EQ(list->propLength, 1u);
    EXPECT_EQ(memcmp(list->prop[0]->groupType, "ACBM", 4), 0);
    EXPECT_EQ(memcmp(list->groupType, "ACBM", 4), 0);
    Images images(tree.get());
    ASSERT_EQ(images.size(), 2u);
    EXPECT_EQ(images[0]->bitMapHeader->w, 16);
    EXPECT_EQ(images[0]->colorMap->colorRegister[0].blue, 3);
    EXPECT_EQ(bodyOf(images[0]->bitplanes), kPlanar);
    EXPECT_EQ(bodyOf(images[1]->bitplanes), kInterleaved);

    convertAll(tree, ILBM_convertACBMToILBM, "ILBM");
    EXPECT_EQ(writeBytes(tree.get()), listOfTwo(false));
    EXPECT_EQ(messages.text(), "");
}

TEST(IlbmImages, ABodySharedThroughAPropIsConvertedOnce) {
    Read r(listOfTwo(true));
    const Tree &tree = r.tree;
    const Images &images = r.images;
    Messages &messages = r.messages;
    ASSERT_EQ(images.size(), 2u);
    ASSERT_EQ(images[0]->body, images[1]->body);
    ASSERT_TRUE(ILBM_convertILBMToACBM(images[0]));
    // Half way: a PROP for each type, the LIST of both types.
    const IFF_List *list = reinterpret_cast<const IFF_List *>(tree.get());
    EXPECT_EQ(list->propLength, 2u);
    EXPECT_EQ(memcmp(list->groupType, "JJJJ", 4), 0);
    EXPECT_TRUE(ILBM_check(tree.get())) << messages.text();
    ASSERT_TRUE(ILBM_convertILBMToACBM(images[1]));
    // One ABIT, of the planes one after another, shared by both.
    ASSERT_EQ(list->propLength, 1u);
    EXPECT_EQ(images[0]->bitplanes, images[1]->bitplanes);
    EXPECT_EQ(images[0]->bitplanes->parent, list->prop[0]);
    EXPECT_EQ(bodyOf(images[0]->bitplanes), kPlanar);
    EXPECT_EQ(images[0]->body, nullptr);
    EXPECT_TRUE(ILBM_check(tree.get())) << messages.text();

    convertAll(tree, ILBM_convertACBMToILBM, "ILBM");
    // JJJJ, once the LIST's forms share a type again, becomes that type.
    EXPECT_EQ(writeBytes(tree.get()), listOfTwo(true));
}

TEST(IlbmImages, CatsTakeTheTypeOfTheirConvertedPictures) {
    Messages messages;
    Tree tree(group("CAT ", "ILBM",
                    {form("ILBM", {bmhd(16, 2, 2), chunk("BODY", kInterleaved)}),
                     group("CAT ", "ILBM", {listOfTwo(false)})}));
    ASSERT_TRUE(tree);
    convertAll(tree, ILBM_convertILBMToACBM, "ACBM");
    EXPECT_EQ(memcmp(reinterpret_cast<IFF_Group *>(tree.get())->groupType, "ACBM", 4), 0);

    // A CAT of other pictures as well takes JJJJ; one of another type is left alone.
    Tree mixed(group("CAT ", "ILBM",
                     {form("ILBM", {bmhd(16, 2, 2), chunk("BODY", kInterleaved)}),
                      form("ILBM", {chunk("CMAP", {1, 2, 3})})}));
    convertAll(mixed, ILBM_convertILBMToACBM, "ACBM");
    EXPECT_EQ(memcmp(reinterpret_cast<IFF_Group *>(mixed.get())->groupType, "JJJJ", 4), 0);
}

TEST(IlbmImages, APropOfTheNewTypeWithOtherPropertiesStopsTheConversion) {
    Bytes file = group("LIST", "JJJJ",
                       {group("PROP", "ILBM", {bmhd(16, 2, 2), chunk("CMAP", {1, 2, 3})}),
                        group("PROP", "ACBM", {bmhd(16, 2, 2), chunk("CMAP", {9, 9, 9})}),
                        form("ILBM", {chunk("BODY", kInterleaved)})});
    Read r(file);
    ASSERT_EQ(r.images.size(), 1u);
    EXPECT_FALSE(ILBM_convertILBMToACBM(r.first()));
    EXPECT_TRUE(r.messages.contains("'PROP' of type 'ACBM' with other properties"))
        << r.messages.text();
    EXPECT_EQ(writeBytes(r.tree.get()), file);
}
