// Reading PNG and IFF pictures into the picture record: what each kind of file becomes, and the
// sentence for a file that is not a picture the library reads.
#include "picture/picture.h"
#include "picture_files.h"

#include <iff_capture.h>

#include <gtest/gtest.h>
#include <zlib.h>

#include <tuple>

using namespace picturetest;
using picture::DisplayMode;
using picture::Rgba8;
using picture::Source;

namespace {

std::optional<picture::Picture> read(const Bytes &bytes, std::string *error = nullptr) {
    std::string ignored;
    return picture::readPicture(bytes, error != nullptr ? error : &ignored);
}

std::vector<unsigned> grid(unsigned width, unsigned height, unsigned modulo) {
    std::vector<unsigned> samples;
    for (unsigned i = 0; i < width * height; i++)
        samples.push_back((i * 7 + i / width) % modulo);
    return samples;
}

} // namespace

TEST(ReadPng, PaletteAndGreyPicturesAreColourNumbersOverTheirMap) {
    // Colours in no sorted order, and at 8 bits many the pixels never use: the map is the PLTE
    // as stored; 200 and 10 are neither n x 17 nor n << 4. Grey levels, worked out by hand as
    // i x 255 / (2^depth - 1), are 12-bit colours.
    const std::vector<png_color> colours = {
        {200, 10, 10}, {0, 0, 0}, {17, 34, 51}, {255, 255, 255}, {9, 9, 200}};
    const struct {
        int type, depth;
        std::vector<std::uint8_t> levels;
    } cases[] = {
        {PNG_COLOR_TYPE_PALETTE, 1, {}},           {PNG_COLOR_TYPE_PALETTE, 2, {}},
        {PNG_COLOR_TYPE_PALETTE, 4, {}},           {PNG_COLOR_TYPE_PALETTE, 8, {}},
        {PNG_COLOR_TYPE_GRAY, 1, {0, 255}},        {PNG_COLOR_TYPE_GRAY, 2, {0, 85, 170, 255}},
        {PNG_COLOR_TYPE_GRAY, 4, {0, 17, 34, 51}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::to_string(c.type) + " " + std::to_string(c.depth));
        std::vector<png_color> plte;
        for (size_t i = 0; c.levels.empty() && i < (1u << c.depth); i++)
            plte.push_back(i < colours.size() ? colours[i] : png_color{png_byte(i), 0, 0});
        // 37 pixels a row: the last byte of a row is partly padding for every depth under 8.
        PngLayout layout = pngLayout(37, 3, c.type, c.depth, grid(37, 3, 1u << c.depth), plte);
        const auto read_ = read(pngOf(layout));
        ASSERT_TRUE(read_);
        EXPECT_EQ(
            std::tuple(read_->source, read_->mode, read_->depth, read_->palette.size()),
            std::tuple(Source::Png, DisplayMode::Indexed, unsigned(c.depth), size_t{1} << c.depth));
        std::vector<amiga::Rgb8> map;
        for (const png_color &p : plte)
            map.push_back({p.red, p.green, p.blue});
        for (std::uint8_t level : c.levels)
            map.push_back({level, level, level});
        EXPECT_TRUE(std::equal(map.begin(), map.end(), read_->palette.begin()));
        EXPECT_EQ(std::vector<unsigned>(read_->pixels.begin(), read_->pixels.end()),
                  layout.samples);
        EXPECT_TRUE(read_->transparentColours.empty());
        EXPECT_EQ(read_->twelveBitPalette, plte.empty());
    }
    // A grey colour key names the colour number of that level.
    png_color_16 key{};
    key.gray = 2;
    PngLayout keyed = pngLayout(3, 1, PNG_COLOR_TYPE_GRAY, 8, {1, 2, 3});
    keyed.colourKey = &key;
    const auto read_ = read(pngOf(keyed));
    ASSERT_TRUE(read_);
    EXPECT_EQ(read_->palette.size(), 256u);
    EXPECT_EQ(read_->palette[200], (amiga::Rgb8{200, 200, 200}));
    EXPECT_EQ(read_->transparentColours, (std::vector<unsigned>{2}));
}

TEST(ReadPng, TransparencyOfPaletteEntriesBelowHalfAlpha) {
    const std::vector<png_color> plte = {{1, 1, 1}, {2, 2, 2}, {3, 3, 3}, {4, 4, 4}};
    PngLayout layout = pngLayout(4, 1, PNG_COLOR_TYPE_PALETTE, 2, {0, 1, 2, 3}, plte);
    layout.alphas = {255, 0, 127, 128};
    const auto read_ = read(pngOf(layout));
    ASSERT_TRUE(read_);
    EXPECT_EQ(read_->transparentColours, (std::vector<unsigned>{1, 2}));
    // Entry 3's alpha of 128 is kept as opaque, and said so.
    ASSERT_EQ(read_->warnings.size(), 1u);
    EXPECT_NE(read_->warnings[0].find("partly transparent"), std::string::npos);
    EXPECT_EQ(picture::opacityOf(*read_), (std::vector<std::uint8_t>{255, 0, 0, 255}));
}

TEST(ReadPng, OtherKindsBecomeColoursWithAlpha) {
    struct Case {
        const char *name;
        PngLayout layout;
        std::vector<Rgba8> expected;
        unsigned depth;
    };
    png_color_16 key{};
    key.red = 10;
    key.green = 20;
    key.blue = 30;
    PngLayout keyed = pngLayout(2, 1, PNG_COLOR_TYPE_RGB, 8, {10, 20, 30, 10, 20, 31});
    keyed.colourKey = &key;
    const Case cases[] = {
        {"RGB",
         pngLayout(2, 1, PNG_COLOR_TYPE_RGB, 8, {1, 2, 3, 250, 251, 252}),
         {{1, 2, 3, 255}, {250, 251, 252, 255}},
         24},
        {"RGBA",
         pngLayout(2, 1, PNG_COLOR_TYPE_RGB_ALPHA, 8, {1, 2, 3, 0, 4, 5, 6, 200}),
         {{1, 2, 3, 0}, {4, 5, 6, 200}},
         32},
        {"grey and alpha",
         pngLayout(2, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 8, {7, 100, 250, 255}),
         {{7, 7, 7, 100}, {250, 250, 250, 255}},
         32},
        // 16 bits a sample keep their high byte.
        {"RGB 16",
         pngLayout(1, 1, PNG_COLOR_TYPE_RGB, 16, {0x12ab, 0xff00, 0x00ff}),
         {{0x12, 0xff, 0x00, 255}},
         24},
        {"grey 16",
         pngLayout(1, 1, PNG_COLOR_TYPE_GRAY, 16, {0x8081}),
         {{0x80, 0x80, 0x80, 255}},
         24},
        {"RGB with a colour key", keyed, {{10, 20, 30, 0}, {10, 20, 31, 255}}, 32},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const auto read_ = read(pngOf(c.layout));
        ASSERT_TRUE(read_);
        EXPECT_EQ(read_->mode, DisplayMode::TrueColour);
        EXPECT_TRUE(read_->isTrueColour());
        EXPECT_TRUE(read_->pixels.empty());
        EXPECT_EQ(read_->depth, c.depth);
        EXPECT_EQ(read_->trueColour, c.expected);
        EXPECT_EQ(picture::describeMode(*read_), c.depth == 32 ? "32-bit" : "24-bit");
    }
}

TEST(ReadPng, DamagedAndOversizedFilesAreRefusedWithASentence) {
    PngLayout layout = pngLayout(40, 40, PNG_COLOR_TYPE_RGB, 8, grid(120, 40, 256));
    const Bytes whole = pngOf(layout);
    std::string error;
    EXPECT_FALSE(read(Bytes(whole.begin(), whole.begin() + whole.size() / 2), &error));
    EXPECT_NE(error.find("PNG"), std::string::npos) << error;

    // Over 16384 pixels a side.
    PngLayout wide = pngLayout(16385, 1, PNG_COLOR_TYPE_GRAY, 1, std::vector<unsigned>(16385, 0));
    EXPECT_FALSE(read(pngOf(wide), &error));
    EXPECT_NE(error.find("16385 x 1"), std::string::npos) << error;

    // A header claiming 16000 x 16000 true colour over a few bytes of data: refused before any
    // memory is taken for it (no zlib stream expands more than 1032 times).
    Bytes hostile = pngOf(pngLayout(1, 1, PNG_COLOR_TYPE_RGB, 8, {1, 2, 3}));
    // IHDR's width and height are bytes 16-23; its CRC, 29-32, is left wrong, which libpng
    // reports as an error of its own: mend it with libpng's crc32 from zlib.
    for (int at : {16, 20}) {
        hostile[at] = 0;
        hostile[at + 1] = 0;
        hostile[at + 2] = 16000 >> 8;
        hostile[at + 3] = 16000 & 255;
    }
    uLong crc = crc32(0, hostile.data() + 12, 17);
    for (int i = 0; i < 4; i++)
        hostile[29 + i] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
    EXPECT_FALSE(read(hostile, &error));
    EXPECT_NE(error.find("too short"), std::string::npos) << error;
}

namespace {

// 17 x 2 pixels of 3 planes: the 17th column makes each plane row two words.
const std::vector<std::uint32_t> kValues = {0, 1, 2, 3, 4, 5, 6, 7, 7, 6, 5, 4, 3, 2, 1, 0, 7,
                                            1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 7};
const std::vector<std::uint8_t> kMask = {1, 1, 0, 0, 1, 1, 0, 0, 1, 1, 0, 0, 1, 1, 0, 0, 1,
                                         0, 0, 0, 0, 1, 1, 1, 1, 0, 0, 0, 0, 1, 1, 1, 1, 1};

Bytes threePlanePicture(unsigned masking) {
    using namespace iffbytes;
    const Bytes body = interleavedBody(17, 2, 3, kValues, masking == 1 ? &kMask : nullptr);
    return group(
        "FORM", "ILBM",
        {bmhd(17, 2, 3, masking, 0, 0, 5),
         cmapOf({0x000000, 0x110000, 0x002200, 0x000033, 0x440000, 0x005500, 0x000066, 0xffffff}),
         chunk("BODY", body)});
}

} // namespace

TEST(ReadIlbm, PlanesBecomeColourNumbersAndTheMaskOpacity) {
    const auto read_ = read(threePlanePicture(1));
    ASSERT_TRUE(read_);
    EXPECT_EQ(read_->source, Source::Ilbm);
    EXPECT_EQ(read_->mode, DisplayMode::Indexed);
    EXPECT_EQ(std::vector<std::uint32_t>(read_->pixels.begin(), read_->pixels.end()), kValues);
    std::vector<std::uint8_t> opaque;
    for (std::uint8_t alpha : read_->opacity)
        opaque.push_back(alpha != 0);
    EXPECT_EQ(opaque, kMask);
    EXPECT_EQ(read_->palette[3], (amiga::Rgb8{0, 0, 0x33}));
    // $11, $22, $33 ... are 12-bit colours, and so is $ff.
    EXPECT_TRUE(read_->twelveBitPalette);
    EXPECT_TRUE(read_->transparentColours.empty());

    // Masking 2: the BMHD's transparent colour.
    const auto coloured = read(threePlanePicture(2));
    ASSERT_TRUE(coloured);
    EXPECT_TRUE(coloured->opacity.empty());
    EXPECT_EQ(coloured->transparentColours, (std::vector<unsigned>{5}));
    EXPECT_EQ(coloured->pixels, read_->pixels);
}

TEST(ReadIlbm, PackedAcbmAndPbmBodiesGiveTheSamePixels) {
    using namespace iffbytes;
    const Bytes cmap = cmapOf({0, 0xffffff});
    // 3 x 2 of one plane, values 1 0 1 / 0 1 1: rows $a0 $00 and $60 $00.
    const struct {
        Bytes file;
        Source source;
        unsigned depth;
        std::vector<std::uint8_t> pixels;
    } cases[] = {
        // ByteRun1 by hand: a literal of n bytes is n-1 then the bytes; a run of n is 1-n then
        // the byte.
        {group("FORM", "ILBM",
               {bmhd(3, 2, 1, 0, 1), cmap, chunk("BODY", {0x01, 0xa0, 0x00, 0x01, 0x60, 0x00})}),
         Source::Ilbm,
         1,
         {1, 0, 1, 0, 1, 1}},
        // ACBM: the plane whole in an ABIT.
        {group("FORM", "ACBM", {bmhd(3, 2, 1), cmap, chunk("ABIT", {0xa0, 0x00, 0x60, 0x00})}),
         Source::Acbm,
         1,
         {1, 0, 1, 0, 1, 1}},
        // PBM: a byte a pixel, rows padded to an even length; packed as a run of 4 and a literal.
        {group("FORM", "PBM ",
               {bmhd(3, 2, 8, 0, 1), cmap,
                chunk("BODY", {0xfd, 0x01, 0x03, 0x00, 0x01, 0x01, 0x00})}),
         Source::Pbm,
         8,
         {1, 1, 1, 0, 1, 1}},
    };
    for (const auto &c : cases) {
        const auto read_ = read(c.file);
        ASSERT_TRUE(read_);
        EXPECT_EQ(std::tuple(read_->source, read_->depth, read_->pixels),
                  std::tuple(c.source, c.depth, c.pixels));
    }

    // A PBM of 2 planes whose bytes say more: $07 is colour 3 of its 4, $ff colour 3, $04
    // colour 0; the reader says so.
    const auto over = read(group("FORM", "PBM ",
                                 {bmhd(3, 1, 2), cmapOf({0, 0x111111, 0x222222, 0x333333}),
                                  chunk("BODY", {0x07, 0xff, 0x04, 0x00})}));
    ASSERT_TRUE(over);
    EXPECT_EQ(over->pixels, (std::vector<std::uint8_t>{3, 3, 0}));
    ASSERT_FALSE(over->warnings.empty());
    EXPECT_NE(over->warnings.back().find("3 pixels have a colour number past the picture's 2 "
                                         "planes"),
              std::string::npos)
        << over->warnings.back();
}

TEST(ReadIlbm, CamgAndDepthChooseTheDisplayModeAndNoCamgSavesNone) {
    using namespace iffbytes;
    struct Case {
        unsigned planes;
        std::uint32_t camg;
        DisplayMode mode;
        const char *described;
    };
    // CAMG bits: EXTRA_HALFBRITE $80, HAM $800, HIRES $8000 (graphics/view.h).
    const Case cases[] = {
        {6, 0x80, DisplayMode::ExtraHalfbrite, "EHB"}, {6, 0x800, DisplayMode::Ham6, "HAM6"},
        {8, 0x800, DisplayMode::Ham8, "HAM8"},         {5, 0x8000, DisplayMode::Indexed, "indexed"},
        {24, 0, DisplayMode::TrueColour, "24-bit"},    {32, 0, DisplayMode::TrueColour, "32-bit"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.described);
        std::vector<std::uint32_t> values = {0, 0xffffffffu >> (32 - c.planes),
                                             0x123456 & (0xffffffffu >> (32 - c.planes))};
        const auto read_ = read(group("FORM", "ILBM",
                                      {bmhd(3, 1, c.planes), cmapOf({0, 0xffffff}), camgOf(c.camg),
                                       chunk("BODY", interleavedBody(3, 1, c.planes, values))}));
        ASSERT_TRUE(read_);
        EXPECT_EQ(read_->mode, c.mode);
        // The builder's BMHD says 10:11, a PAL lores pixel.
        EXPECT_EQ(
            std::tuple(read_->hasViewportMode, read_->viewportMode, read_->xAspect, read_->yAspect),
            std::tuple(true, c.camg, 10u, 11u));
        EXPECT_EQ(picture::describeMode(*read_), c.described);
        if (c.planes > 8) {
            EXPECT_TRUE(read_->pixels.empty());
            EXPECT_EQ(read_->deepPixels, values);
            EXPECT_TRUE(read_->isTrueColour());
        } else {
            EXPECT_EQ(std::vector<std::uint32_t>(read_->pixels.begin(), read_->pixels.end()),
                      values);
        }
    }
    // Without a CAMG the picture saves no display mode.
    const auto plain = read(
        group("FORM", "ILBM", {bmhd(3, 1, 1), chunk("BODY", interleavedBody(3, 1, 1, {1, 0, 1}))}));
    ASSERT_TRUE(plain);
    EXPECT_FALSE(plain->hasViewportMode);
    EXPECT_EQ(plain->viewportMode, 0u);
}

TEST(ReadIlbm, FilesOfSeveralPicturesUseTheFirstUnlessAnotherIsNamed) {
    using namespace iffbytes;
    auto form = [](std::uint8_t bits, std::uint32_t colour) {
        return group("FORM", "ILBM",
                     {bmhd(8, 1, 1), cmapOf({0, colour}), chunk("BODY", {bits, 0})});
    };
    const Bytes cat = group("CAT ", "ILBM", {form(0xf0, 0xff0000), form(0x0f, 0x0000ff)});
    const auto read_ = read(cat);
    ASSERT_TRUE(read_);
    EXPECT_EQ(read_->pixels, (std::vector<std::uint8_t>{1, 1, 1, 1, 0, 0, 0, 0}));
    ASSERT_FALSE(read_->warnings.empty());
    EXPECT_EQ(read_->warnings[0], "the first of 2 pictures is used");

    // The second: its planes and its colour map, never one picture's planes with the other's.
    std::string error;
    const auto second = picture::readPicture(cat, &error, 1);
    ASSERT_TRUE(second) << error;
    EXPECT_EQ(second->pixels, (std::vector<std::uint8_t>{0, 0, 0, 0, 1, 1, 1, 1}));
    EXPECT_EQ(second->palette[1], (amiga::Rgb8{0, 0, 0xff}));
    EXPECT_EQ(second->warnings[0], "picture 2 of 2 is used");
    EXPECT_EQ(picture::readColourMap(cat, &error, 1), second->palette);
    EXPECT_EQ(picture::readColourMap(cat, &error), read_->palette);
    EXPECT_FALSE(picture::readPicture(cat, &error, 2));
    EXPECT_EQ(error, "the IFF file holds 2 pictures, there is no picture 3");

    const std::vector<picture::PictureSummary> list = picture::listPictures(cat);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(std::tuple(list[1].width, list[1].depth, list[1].colours), std::tuple(8u, 1u, 2u));
}

TEST(ReadIlbm, BrokenFilesAreRefusedWithASentenceAndNothingOnStandardError) {
    using namespace iffbytes;
    iffbytes::Messages messages; // whatever the libraries say outside the reader's capture
    auto cut = [](const Bytes &bytes, size_t length) {
        return Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
    };
    struct Case {
        const char *name;
        Bytes bytes;
        const char *says;
    };
    const Case cases[] = {
        {"empty", {}, "empty"},
        {"text", text("hello, world"), "not a PNG or IFF picture"},
        {"no picture", group("FORM", "8SVX", {chunk("VHDR", Bytes(20, 0))}), "no ILBM"},
        {"cut short", cut(group("FORM", "ILBM", {bmhd(16, 1, 1)}), 20),
         "the IFF file cannot be read"},
        {"no body", group("FORM", "ILBM", {bmhd(16, 1, 1)}), "no BODY"},
        {"short body", group("FORM", "ILBM", {bmhd(16, 4, 2), chunk("BODY", Bytes(6, 0))}),
         "holds 6 bytes, while the picture needs 16"},
        {"short packed body",
         group("FORM", "ILBM", {bmhd(16, 4, 2, 0, 1), chunk("BODY", {0xf9, 0})}), "ends after 8"},
        {"colour map only", group("FORM", "ILBM", {bmhd(16, 4, 0), cmapOf({0})}), "colour map"},
        {"huge", group("FORM", "ILBM", {bmhd(65535, 65535, 1), chunk("BODY", {0})}), "larger"},
        {"unknown compression",
         group("FORM", "ILBM", {bmhd(16, 1, 1, 0, 2), chunk("BODY", {0, 0})}), "method 2"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        std::string error;
        EXPECT_FALSE(read(c.bytes, &error));
        EXPECT_NE(error.find(c.says), std::string::npos) << error;
        // Bytes handed over are released as soon as they are read: the sentence is the same.
        std::string handedOver;
        EXPECT_FALSE(picture::readPicture(Bytes(c.bytes), &handedOver));
        EXPECT_EQ(handedOver, error);
    }
    EXPECT_EQ(messages.text(), "");
}

TEST(ReadPictureFile, NamesTheFileInItsSentence) {
    Folder folder;
    std::string error;
    EXPECT_FALSE(picture::readPictureFile(folder.file("absent.png"), &error));
    EXPECT_NE(error.find("absent.png' cannot be opened"), std::string::npos) << error;
    ASSERT_TRUE(iffbytes::save(folder.file("text.iff"), iffbytes::text("not a picture")));
    EXPECT_FALSE(picture::readPictureFile(folder.file("text.iff"), &error));
    EXPECT_EQ(error.rfind("'" + folder.file("text.iff") + "': ", 0), 0u) << error;
}

TEST(ReadPictureFile, PackedBodiesReadAgainFromTheFileGiveWhatTheBytesGive) {
    using namespace iffbytes;
    Folder folder;
    // Literal rows whose bytes change with the row, so that a row read from the wrong place
    // shows; 12000 rows of 2 planes and a mask pack to 108000 bytes, more than one piece read.
    Bytes rows;
    for (unsigned y = 0; y < 12000; y++) {
        for (unsigned p = 0; p < 3; p++) {
            append(rows,
                   {0x01, static_cast<std::uint8_t>(y * 7 + p), static_cast<std::uint8_t>(y)});
        }
    }
    const struct {
        const char *name;
        Bytes file;
    } cases[] = {
        {"rows packed alone",
         group("FORM", "ILBM", {bmhd(16, 12000, 2, 1, 1), chunk("BODY", rows)})},
        // One run of 12 over all three rows: unpacked whole.
        {"a run across rows",
         group("FORM", "ILBM", {bmhd(16, 3, 2, 0, 1), chunk("BODY", {0xf5, 0x5a})})},
        {"short", group("FORM", "ILBM", {bmhd(16, 4, 2, 0, 1), chunk("BODY", {0xf9, 0})})},
        {"not packed",
         group("FORM", "ILBM", {bmhd(16, 2, 1, 1), chunk("BODY", {1, 2, 3, 4, 5, 6, 7, 8})})},
        {"not packed, short", group("FORM", "ILBM", {bmhd(16, 2, 1), chunk("BODY", {1, 2, 3})})},
        {"after another picture",
         group("CAT ", "ILBM",
               {group("FORM", "ILBM", {bmhd(16, 1, 1, 0, 1), chunk("BODY", {0x01, 1, 2})}),
                group("FORM", "ILBM", {bmhd(16, 1, 1, 0, 1), chunk("BODY", {0x01, 3, 4})})})},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = folder.file("p.iff");
        ASSERT_TRUE(save(path, c.file));
        for (unsigned index : {0u, 1u}) {
            std::string fromBytes, fromFile;
            const auto expected = picture::readPicture(c.file, &fromBytes, index);
            const auto read_ = picture::readPicture(Bytes(c.file), &fromFile, index, path);
            ASSERT_EQ(read_.has_value(), expected.has_value()) << fromFile;
            EXPECT_EQ(fromFile, fromBytes);
            if (expected) {
                EXPECT_EQ(read_->pixels, expected->pixels);
                EXPECT_EQ(read_->opacity, expected->opacity);
            }
        }
    }
}

TEST(ReadColourMap, PicturesAndPalettesSavedAlone) {
    using iffbytes::group;
    // A palette saved alone: a BMHD and a CMAP, no BODY. No picture, but a colour map.
    const Bytes paletteFile = group(
        "FORM", "ILBM", {iffbytes::bmhd(320, 256, 2), cmapOf({0x000000, 0xff8000, 0x123456})});
    std::string error;
    EXPECT_FALSE(picture::readPicture(paletteFile, &error));
    const auto colours = picture::readColourMap(paletteFile, &error);
    ASSERT_TRUE(colours) << error;
    EXPECT_EQ(*colours, (std::vector<amiga::Rgb8>{{0, 0, 0}, {0xff, 0x80, 0}, {0x12, 0x34, 0x56}}));

    // The first picture form with a CMAP, inside a CAT.
    const Bytes twoPalettes =
        group("CAT ", "ILBM",
              {group("FORM", "ILBM", {iffbytes::bmhd(16, 1, 1)}),
               group("FORM", "ILBM", {iffbytes::bmhd(16, 1, 1), cmapOf({0xffffff})})});
    const auto second = picture::readColourMap(twoPalettes, &error);
    ASSERT_TRUE(second) << error;
    EXPECT_EQ(*second, (std::vector<amiga::Rgb8>{{0xff, 0xff, 0xff}}));

    // A palette PNG: its PLTE, in order.
    const auto png = picture::readColourMap(
        pngOf(pngLayout(2, 1, PNG_COLOR_TYPE_PALETTE, 8, {1, 0}, {{0, 0, 0xff}, {0, 0xff, 0}})),
        &error);
    ASSERT_TRUE(png) << error;
    EXPECT_EQ(*png, (std::vector<amiga::Rgb8>{{0, 0, 0xff}, {0, 0xff, 0}}));

    // No colour map anywhere; a true-colour picture; not a picture at all.
    EXPECT_FALSE(picture::readColourMap(group("FORM", "ILBM", {iffbytes::bmhd(16, 1, 0)}), &error));
    EXPECT_NE(error.find("no colour map"), std::string::npos) << error;
    EXPECT_FALSE(
        picture::readColourMap(pngOf(pngLayout(1, 1, PNG_COLOR_TYPE_RGB, 8, {1, 2, 3})), &error));
    EXPECT_NE(error.find("true-colour picture has no colour map"), std::string::npos) << error;
    EXPECT_FALSE(picture::readColourMap(iffbytes::text("GIF89a"), &error));
    EXPECT_NE(error.find("not a PNG or IFF picture"), std::string::npos) << error;
}
