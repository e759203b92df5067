// Pictures as images: extraction from chunk trees, plane layouts, ILBM/ACBM conversion and
// ByteRun1 on whole bodies, including bodies that do not match their headers.
#include "golden_text.h"
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

// The rows p0r0, p1r0, p0r1, p1r1 of a 16 x 2 x 2 picture, two bytes each; its planes whole.
const Bytes kInterleaved = {0x00, 0x01, 0x10, 0x11, 0x02, 0x03, 0x12, 0x13};
const Bytes kPlanar = {0x00, 0x01, 0x02, 0x03, 0x10, 0x11, 0x12, 0x13};
// Two colour cycling ranges, of rates 1 and 2.
const Bytes kRange1 = chunk("CRNG", {0, 0, 0, 1, 0, 1, 0, 1});
const Bytes kRange2 = chunk("CRNG", {0, 0, 0, 2, 0, 1, 0, 1});
// The header and colours of a 16 x 2 x 2 picture.
const Bytes kProperties = cat({bmhd(16, 2, 2), chunk("CMAP", {1, 2, 3})});

// A file read, its pictures extracted and every message caught, for one scope.
struct ReadImages : Read {
    unsigned int size = 0;
    ILBM_Image **images;
    explicit ReadImages(const Bytes &file)
        : Read(file), images(tree ? ILBM_extractImages(tree.get(), &size) : nullptr) {}
    ~ReadImages() { ILBM_freeImages(images, size); }
    ILBM_Image *first() const { return size > 0 ? images[0] : nullptr; }
};

Bytes bodyOf(const IFF_RawChunk *chunk) {
    return Bytes(chunk->chunkData, chunk->chunkData + chunk->chunkSize);
}

} // namespace

TEST(IlbmImages, RowSizeIsTheWidthInWholeWords) {
    ILBM_Image *image = ILBM_createImage("ILBM");
    image->bitMapHeader = ILBM_createBitMapHeader();
    const unsigned int cases[][2] = {{320, 40}, {321, 42}, {16, 2}, {1, 2}, {37, 6}, {65535, 8192}};
    for (const auto &c : cases) {
        image->bitMapHeader->w = static_cast<IFF_UWord>(c[0]);
        EXPECT_EQ(ILBM_calculateRowSize(image), c[1]) << c[0];
    }
    free(image->bitMapHeader);
    ILBM_freeImage(image);
}

// One picture's planes taken out and put back; whole trees: ConvertingTreesOfPictures...
TEST(IlbmImages, DeinterleavesAndInterleavesPlanes) {
    ReadImages r(form("ILBM", {bmhd(16, 2, 2), chunk("BODY", kInterleaved)}));
    ASSERT_EQ(r.size, 1u);
    unsigned char *planes = ILBM_deinterleave(r.first());
    ASSERT_NE(planes, nullptr);
    EXPECT_EQ(Bytes(planes, planes + 8), kPlanar);
    unsigned char *again = ILBM_interleave(r.first(), planes);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(Bytes(again, again + 8), kInterleaved);
    free(planes);
    free(again);
}

// Bodies that do not fit their headers, and what each operation does with them: the cases and
// their reasons are in data/bodies.txt.
TEST(IlbmImages, BodiesThatDoNotFitTheirHeaders) {
    const auto cases = golden::read(QUILLFEN_ILBM_DATA "/bodies.txt");
    EXPECT_EQ(cases.size(), 23u);
    for (const auto &[name, text] : cases) {
        SCOPED_TRACE(name);
        std::map<std::string, std::string> item =
            keyed(text, {"PBM", "header", "body", "not rearranged", "packs", "packed", "unpacks",
                         "unpacked", "left as it was", "says", "all it says", "silent"});
        unsigned int h[5] = {};
        std::istringstream(item["header"]) >> h[0] >> h[1] >> h[2] >> h[3] >> h[4];
        const Bytes file =
            form(item.count("PBM") ? "PBM " : "ILBM",
                 {bmhd(h[0], h[1], h[2], h[3], h[4]), chunkOf("BODY " + item["body"])});
        ReadImages r(file);
        ASSERT_EQ(r.size, 1u);
        if (item.count("not rearranged")) {
            EXPECT_EQ(ILBM_deinterleave(r.first()), nullptr);
            EXPECT_FALSE(ILBM_convertILBMToACBM(r.first()));
            EXPECT_EQ(writeBytes(r.tree.get()), file);
        }
        const auto body = [&] { return chunk("BODY", bodyOf(r.first()->body)); };
        if (item.count("packs")) {
            EXPECT_EQ(ILBM_packByteRun(r.first()) != 0, item["packs"] == "yes\n");
        }
        for (int again = 0; again < 2 && item.count("packed"); again++) {
            EXPECT_EQ(body(), chunkOf("BODY " + item["packed"]));
            EXPECT_EQ(r.first()->bitMapHeader->compression, ILBM_CMP_BYTE_RUN);
            EXPECT_TRUE(ILBM_check(r.tree.get())) << r.messages.text();
            EXPECT_TRUE(ILBM_packByteRun(r.first())); // a packed body stays as it is
        }
        if (item.count("unpacks")) {
            EXPECT_EQ(ILBM_unpackByteRun(r.first()) != 0, item["unpacks"] == "yes\n");
        }
        if (item.count("unpacked")) {
            EXPECT_EQ(body(), chunkOf("BODY " + item["unpacked"]));
            EXPECT_EQ(r.first()->bitMapHeader->compression, ILBM_CMP_NONE);
            EXPECT_TRUE(ILBM_check(r.tree.get())) << r.messages.text();
        }
        if (item.count("left as it was")) {
            EXPECT_EQ(writeBytes(r.tree.get()), file);
        }
        if (item.count("all it says") || item.count("silent")) {
            EXPECT_EQ(r.messages.text(), item["all it says"]);
        }
        std::istringstream pieces(item["says"]);
        for (std::string piece; std::getline(pieces, piece);)
            EXPECT_TRUE(r.messages.contains(piece)) << piece << " in\n" << r.messages.text();
    }
}

TEST(IlbmImages, AMaskPlaneTravelsWithThePictureRows) {
    // Two planes and a mask: three rows per picture row.
    const Bytes body = {1, 1, 2, 2, 9, 9, 3, 3, 4, 4, 8, 8};
    ReadImages r(form("ILBM", {bmhd(16, 2, 2, 1), chunk("BODY", body)}));
    ASSERT_EQ(r.size, 1u);
    ILBM_Image *image = r.first();
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

TEST(IlbmImages, ABodyLongerThanThePictureLosesNothing) {
    // Longer than the picture: the extra bytes stay behind the rearranged rows, and packing,
    // which would drop them, refuses.
    const Bytes file =
        form("ILBM", {bmhd(16, 2, 2), chunk("BODY", cat({kInterleaved, {0xEE, 0xEF}}))});
    ReadImages longer(file);
    ASSERT_TRUE(ILBM_convertILBMToACBM(longer.first()));
    EXPECT_EQ(bodyOf(longer.first()->bitplanes), cat({kPlanar, {0xEE, 0xEF}}));
    ASSERT_TRUE(ILBM_convertACBMToILBM(longer.first()));
    EXPECT_EQ(writeBytes(longer.tree.get()), file);
    EXPECT_FALSE(ILBM_packByteRun(longer.first()));
    EXPECT_TRUE(longer.messages.contains("more than the picture"));
}

// Each picture as the form of copies it becomes: the first inherits the header and the colours
// of the PROP and has its own range in place of the PROP's. The tree stays as it was.
TEST(IlbmImages, ExtractsPicturesWithInheritedProperties) {
    const Bytes file = group(
        "CAT ", "JJJJ",
        {group("LIST", "ILBM",
               {group("PROP", "ILBM", {kProperties, kRange1}),
                form("ILBM", {kRange2, chunk("CCRT", Bytes(14, 0)), chunk("BODY", kInterleaved)}),
                form("ILBM", {bmhd(32, 1, 1), chunk("CMAP", {4, 5, 6, 7, 8, 9})})}),
         form("ACBM", {chunk("CMAP", {1, 1, 1})}),
         form("PBM ", {bmhd(2, 2, 8), chunk("BODY", {1, 2, 3, 4})})});
    ReadImages r(file);
    EXPECT_TRUE(ILBM_checkImages(r.tree.get(), r.images, r.size));
    // The ACBM form has no BMHD and is skipped.
    ASSERT_EQ(r.size, 3u);
    EXPECT_TRUE(ILBM_imageIsPBM(r.images[2]));
    // A BMHD shared through the PROP cannot take the compression of one body.
    EXPECT_FALSE(ILBM_packByteRun(r.images[0]));
    EXPECT_TRUE(r.messages.contains("'BMHD' is shared")) << r.messages.text();

    r.messages.clear();
    const Tree first(asChunk(ILBM_convertImageToForm(r.images[0])));
    EXPECT_EQ(writeBytes(first.get()),
              form("ILBM", {kProperties, kRange2, chunk("CCRT", Bytes(14, 0)),
                            chunk("BODY", kInterleaved)}));
    const Tree second(asChunk(ILBM_convertImageToForm(r.images[1])));
    EXPECT_EQ(writeBytes(second.get()),
              form("ILBM", {bmhd(32, 1, 1), chunk("CMAP", {4, 5, 6, 7, 8, 9})}));
    EXPECT_EQ(writeBytes(r.tree.get()), file);
    EXPECT_EQ(r.messages.text(), "");
}

TEST(IlbmImages, AFileWithoutPicturesHasNoImages) {
    Read r(group("FORM", "8SVX", {chunk("VHDR", Bytes(20, 0))}));
    unsigned int length = 7;
    EXPECT_EQ(ILBM_extractImages(r.tree.get(), &length), nullptr);
    EXPECT_EQ(length, 0u);
    EXPECT_EQ(r.messages.text(), "No form with formType: 'ACBM', 'ILBM' or 'PBM ' found!\n");
}

// An image made in memory becomes a form of its own chunks; made again, a form of copies, which
// the image then describes, the first form left as it was.
TEST(IlbmImages, AnImageBuiltInMemoryBecomesAForm) {
    ILBM_Image *image = ILBM_createImage("ILBM");
    ILBM_BitMapHeader *header = ILBM_createBitMapHeader();
    header->w = header->pageWidth = 16;
    header->h = header->pageHeight = 2;
    header->nPlanes = 2;
    header->xAspect = 10;
    header->yAspect = 11;
    image->bitMapHeader = header;
    image->colorMap = ILBM_generateGrayscaleColorMap(image);
    ILBM_addColorRangeToImage(image, ILBM_createColorRange());
    IFF_RawChunk *body = IFF_createRawChunk("BODY");
    auto *data = static_cast<unsigned char *>(malloc(8));
    memcpy(data, kInterleaved.data(), 8);
    IFF_setRawChunkData(body, data, 8);
    image->body = body;
    // In the order of a picture form; four grey levels, 255 / 3 apart.
    auto picture = [](unsigned int compression, const Bytes &planes) {
        return form("ILBM", {bmhd(16, 2, 2, 0, compression),
                             chunk("CMAP", {0, 0, 0, 85, 85, 85, 170, 170, 170, 255, 255, 255}),
                             chunk("CRNG", Bytes(8, 0)), chunk("BODY", planes)});
    };

    Messages messages;
    const Tree first(asChunk(ILBM_convertImageToForm(image)));
    ASSERT_TRUE(first);
    EXPECT_EQ(writeBytes(first.get()), picture(0, kInterleaved));
    EXPECT_EQ(asChunk(body->parent), first.get());
    const Tree second(asChunk(ILBM_convertImageToForm(image)));
    ASSERT_TRUE(second);
    EXPECT_EQ(asChunk(image->form), second.get());
    EXPECT_EQ(image->colorRange[0], sub<ILBM_ColorRange>(second, 2));
    // Packing the image packs the copy: each plane row a literal of its two bytes.
    ASSERT_TRUE(ILBM_packByteRun(image));
    EXPECT_EQ(writeBytes(second.get()),
              picture(1, {1, 0x00, 0x01, 1, 0x10, 0x11, 1, 0x02, 0x03, 1, 0x12, 0x13}));
    EXPECT_EQ(writeBytes(first.get()), picture(0, kInterleaved));
    EXPECT_EQ(messages.text(), "");
    ILBM_freeImage(image);
}

namespace {

// A LIST of two pictures of the type that share the header and the colours of its PROP, each with
// a colour range of its own and its planes in a chunk of the ID given.
Bytes listOfTwo(const char *type, const char *planesId, const Bytes &first, const Bytes &second) {
    return group("LIST", type,
                 {group("PROP", type, {kProperties}), form(type, {kRange1, chunk(planesId, first)}),
                  form(type, {kRange2, chunk(planesId, second)})});
}

} // namespace

TEST(IlbmImages, ABodySharedThroughAPropIsConvertedOnce) {
    const Bytes ilbmProp = group("PROP", "ILBM", {kProperties, chunk("BODY", kInterleaved)});
    const Bytes acbmProp = group("PROP", "ACBM", {kProperties, chunk("ABIT", kPlanar)});
    const Bytes file =
        group("LIST", "ILBM", {ilbmProp, form("ILBM", {kRange1}), form("ILBM", {kRange2})});
    ReadImages r(file);
    ASSERT_EQ(r.size, 2u);
    ASSERT_EQ(r.images[0]->body, r.images[1]->body);
    ASSERT_TRUE(ILBM_convertILBMToACBM(r.images[0]));
    // Half way: a PROP for each type, the LIST of both types.
    EXPECT_EQ(writeBytes(r.tree.get()),
              group("LIST", "JJJJ",
                    {ilbmProp, acbmProp, form("ACBM", {kRange1}), form("ILBM", {kRange2})}));
    ASSERT_TRUE(ILBM_convertILBMToACBM(r.images[1]));
    // One ABIT, shared by both.
    EXPECT_EQ(writeBytes(r.tree.get()),
              group("LIST", "ACBM", {acbmProp, form("ACBM", {kRange1}), form("ACBM", {kRange2})}));
    EXPECT_EQ(r.images[0]->bitplanes, r.images[1]->bitplanes);

    for (unsigned int i = 0; i < r.size; i++)
        ASSERT_TRUE(ILBM_convertACBMToILBM(r.images[i])) << i;
    EXPECT_EQ(writeBytes(r.tree.get()), file);
}

// Trees of pictures converted one picture at a time, ILBM to ACBM and back. The PROP and the
// LIST take the new type with the forms (the second picture's rows, taken as interleaved, are the
// first picture's planes); a CAT of other pictures as well takes JJJJ, a picture without a header
// is left alone. A LIST's PROP of the new type with other properties stops the conversion.
TEST(IlbmImages, ConvertingTreesOfPicturesKeepsWhatTheyInherit) {
    const Bytes picture = form("ILBM", {bmhd(16, 2, 2), chunk("BODY", kInterleaved)});
    const Bytes converted = form("ACBM", {bmhd(16, 2, 2), chunk("ABIT", kPlanar)});
    const Bytes list = listOfTwo("ILBM", "BODY", kInterleaved, kPlanar);
    const Bytes acbmList = listOfTwo("ACBM", "ABIT", kPlanar, kInterleaved);
    const Bytes other = form("ILBM", {chunk("CMAP", {1, 2, 3})});
    const Bytes propOfOthers =
        group("LIST", "JJJJ",
              {group("PROP", "ILBM", {kProperties}),
               group("PROP", "ACBM", {bmhd(16, 2, 2), chunk("CMAP", {9, 9, 9})}),
               form("ILBM", {chunk("BODY", kInterleaved)})});
    const struct {
        Bytes file, acbm;
        const char *refusal;
    } cases[] = {
        {list, acbmList, nullptr},
        {group("CAT ", "ILBM", {picture, group("CAT ", "ILBM", {list})}),
         group("CAT ", "ACBM", {converted, group("CAT ", "ACBM", {acbmList})}), nullptr},
        {group("CAT ", "ILBM", {picture, other}), group("CAT ", "JJJJ", {converted, other}),
         nullptr},
        {propOfOthers, propOfOthers, "'PROP' of type 'ACBM' with other properties"},
    };
    for (const auto &c : cases) {
        ReadImages r(c.file);
        ASSERT_GT(r.size, 0u);
        for (unsigned int i = 0; i < r.size; i++)
            EXPECT_EQ(ILBM_convertILBMToACBM(r.images[i]), c.refusal == nullptr) << i;
        EXPECT_EQ(writeBytes(r.tree.get()), c.acbm);
        if (c.refusal != nullptr) {
            EXPECT_TRUE(r.messages.contains(c.refusal)) << r.messages.text();
            continue;
        }
        for (unsigned int i = 0; i < r.size; i++)
            ASSERT_TRUE(ILBM_convertACBMToILBM(r.images[i])) << i;
        EXPECT_EQ(writeBytes(r.tree.get()), c.file);
        EXPECT_EQ(r.messages.text(), "");
    }
}
