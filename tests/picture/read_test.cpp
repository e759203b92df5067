// Reading PNG and IFF pictures into the picture record: what each kind of file becomes, and the
// sentence for a file that is not a picture the library reads.
#include "case_files.h"
#include "picture/linecolours.h"
#include "picture/picture.h"
#include "picture_files.h"

#include <iff_capture.h>

#include <gtest/gtest.h>
#include <zlib.h>

#include <iomanip>
#include <iterator>
#include <sstream>
#include <tuple>

using namespace picturetest;
using namespace iffbytes;
using picture::DisplayMode;
using picture::Rgba8;
using picture::Source;

TEST(ReadPng, PaletteAndGreyPicturesAreColourNumbersOverTheirMap) {
    // Colours in no sorted order, and at 8 bits many the pixels never use: the map is the PLTE
    // as stored; 200 and 10 are neither n x 17 nor n << 4. Grey levels, worked out by hand as
    // i x 255 / (2^depth - 1), are 12-bit colours up to 4 bits. Palette entries below half alpha
    // are transparent, and 128 is kept as opaque, said so; a grey colour key names the colour
    // number of that level.
    const std::vector<png_color> colours = {
        {200, 10, 10}, {0, 0, 0}, {17, 34, 51}, {255, 255, 255}, {9, 9, 200}};
    const struct {
        int type, depth;
        std::vector<std::uint8_t> levels;
        std::vector<png_byte> alphas; // a palette's tRNS, or a grey picture's key
        std::vector<unsigned> transparent;
    } cases[] = {
        {PNG_COLOR_TYPE_PALETTE, 1, {}, {}, {}},
        {PNG_COLOR_TYPE_PALETTE, 2, {}, {255, 0, 127, 128}, {1, 2}},
        {PNG_COLOR_TYPE_PALETTE, 4, {}, {}, {}},
        {PNG_COLOR_TYPE_PALETTE, 8, {}, {}, {}},
        {PNG_COLOR_TYPE_GRAY, 1, {0, 255}, {}, {}},
        {PNG_COLOR_TYPE_GRAY, 2, {0, 85, 170, 255}, {}, {}},
        {PNG_COLOR_TYPE_GRAY, 4, {0, 17, 34, 51}, {}, {}},
        {PNG_COLOR_TYPE_GRAY, 8, {0, 1, 2, 3}, {2}, {2}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::to_string(c.type) + " " + std::to_string(c.depth));
        std::vector<png_color> plte;
        for (size_t i = 0; c.levels.empty() && i < (1u << c.depth); i++)
            plte.push_back(i < colours.size() ? colours[i] : png_color{png_byte(i), 0, 0});
        // 37 pixels a row: the last byte of a row is partly padding for every depth under 8.
        std::vector<unsigned> samples;
        for (unsigned i = 0; i < 37 * 3; i++)
            samples.push_back((i * 7 + i / 37) % (1u << c.depth));
        PngLayout layout = pngLayout(37, 3, c.type, c.depth, samples, plte);
        png_color_16 key{0, 0, 0, 0, c.alphas.empty() ? png_uint_16{0} : c.alphas[0]};
        if (!plte.empty())
            layout.alphas = c.alphas;
        else if (!c.alphas.empty())
            layout.colourKey = &key;
        const Bytes png = pngOf(layout);
        const auto read_ = picture::readPicture(png, nullptr);
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
        // A palette PNG's colour map alone is its PLTE, in order.
        if (c.levels.empty())
            EXPECT_EQ(picture::readColourMap(png, nullptr), map);
        EXPECT_EQ(std::vector<unsigned>(read_->pixels.begin(), read_->pixels.end()), samples);
        EXPECT_EQ(std::tuple(read_->transparentColours, read_->twelveBitPalette),
                  std::tuple(c.transparent, plte.empty() && c.depth < 8));
        EXPECT_EQ(read_->warnings,
                  std::vector<std::string>(c.alphas.size() == 4,
                                           "1 palette colour is partly transparent "
                                           "(alpha 128 or more) and taken as opaque"));
    }
}

TEST(ReadPng, OtherKindsBecomeColoursWithAlpha) {
    png_color_16 key{0, 10, 20, 30, 0};
    PngLayout keyed = pngLayout(2, 1, PNG_COLOR_TYPE_RGB, 8, {10, 20, 30, 10, 20, 31});
    keyed.colourKey = &key;
    // 16 bits a sample keep their high byte.
    const struct {
        PngLayout layout;
        std::vector<Rgba8> expected;
        unsigned depth;
    } cases[] = {
        {pngLayout(2, 1, PNG_COLOR_TYPE_RGB_ALPHA, 8, {1, 2, 3, 0, 4, 5, 6, 200}),
         {{1, 2, 3, 0}, {4, 5, 6, 200}},
         32},
        {pngLayout(2, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 8, {7, 100, 250, 255}),
         {{7, 7, 7, 100}, {250, 250, 250, 255}},
         32},
        {pngLayout(1, 1, PNG_COLOR_TYPE_RGB, 16, {0x12ab, 0xff00, 0x00ff}),
         {{0x12, 0xff, 0, 255}},
         24},
        {pngLayout(1, 1, PNG_COLOR_TYPE_GRAY, 16, {0x8081}), {{0x80, 0x80, 0x80, 255}}, 24},
        {keyed, {{10, 20, 30, 0}, {10, 20, 31, 255}}, 32},
    };
    for (const auto &c : cases) {
        const auto read_ = picture::readPicture(pngOf(c.layout), nullptr);
        ASSERT_TRUE(read_);
        std::string error;
        EXPECT_FALSE(picture::readColourMap(pngOf(c.layout), &error));
        EXPECT_NE(error.find("true-colour picture has no colour map"), std::string::npos) << error;
        EXPECT_EQ(std::tuple(read_->mode, read_->pixels.empty(), read_->depth, read_->trueColour),
                  std::tuple(DisplayMode::TrueColour, true, c.depth, c.expected))
            << c.layout.colourType << " " << c.layout.bitDepth;
    }
}

TEST(ReadPng, DamagedAndOversizedFilesAreRefusedWithASentence) {
    std::vector<unsigned> samples(120 * 40);
    for (unsigned i = 0; i < samples.size(); i++)
        samples[i] = i * 7 % 256;
    const Bytes whole = pngOf(pngLayout(40, 40, PNG_COLOR_TYPE_RGB, 8, samples));
    std::string error;
    EXPECT_FALSE(
        picture::readPicture(Bytes(whole.begin(), whole.begin() + whole.size() / 2), &error));
    EXPECT_NE(error.find("PNG"), std::string::npos) << error;

    // Over 16384 pixels a side.
    PngLayout wide = pngLayout(16385, 1, PNG_COLOR_TYPE_GRAY, 1, std::vector<unsigned>(16385, 0));
    EXPECT_FALSE(picture::readPicture(pngOf(wide), &error));
    EXPECT_NE(error.find("16385 x 1"), std::string::npos) << error;

    // A header claiming 16000 x 16000 true colour over a few bytes of data: refused before any
    // memory is taken for it (no zlib stream expands more than 1032 times).
    Bytes hostile = pngOf(pngLayout(1, 1, PNG_COLOR_TYPE_RGB, 8, {1, 2, 3}));
    // IHDR's width and height are bytes 16-23; its CRC, 29-32, is left wrong, which libpng
    // reports as an error of its own: mend it with libpng's crc32 from zlib.
    for (int at : {16, 20}) {
        hostile[at + 2] = 16000 >> 8;
        hostile[at + 3] = 16000 & 255;
    }
    uLong crc = crc32(0, hostile.data() + 12, 17);
    for (int i = 0; i < 4; i++)
        hostile[29 + i] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
    EXPECT_FALSE(picture::readPicture(hostile, &error));
    EXPECT_NE(error.find("too short"), std::string::npos) << error;
}

// The cases of data/iff_pictures.txt: ILBM, ACBM and PBM bodies, files refused, colour maps.
TEST(ReadIff, FilesWorkedOutByteByByteGiveTheirPixelsOrColoursOrASentence) {
    Messages messages; // whatever the libraries say outside the reader's capture
    const auto cases = casefiles::read(QUILLFEN_PICTURE_DATA "/iff_pictures.txt");
    ASSERT_EQ(cases.size(), 35u);
    for (const auto &[name, fields] : cases) {
        SCOPED_TRACE(name);
        auto field = [&fields](const char *key) {
            return fields.count(key) != 0 ? fields.at(key) : std::string();
        };
        auto numbersOf = [&field](const char *key, int base = 10) {
            std::istringstream words(field(key));
            words >> std::setbase(base);
            return std::vector<std::uint32_t>{std::istream_iterator<std::uint32_t>(words), {}};
        };
        const Bytes bytes = casefiles::bytes(field("data"));
        const std::string says = field("error");
        const unsigned index = std::stoul("0" + field("index"));
        std::vector<amiga::Rgb8> colours;
        for (std::uint32_t c : numbersOf("colours", 16))
            colours.push_back({std::uint8_t(c >> 16), std::uint8_t(c >> 8), std::uint8_t(c)});
        std::string error;
        const bool mapOnly = name.rfind("colour map", 0) == 0;
        if (!colours.empty() || mapOnly) {
            EXPECT_EQ(
                picture::readColourMap(bytes, &error, index).value_or(std::vector<amiga::Rgb8>{}),
                colours);
            EXPECT_NE(error.find(says), std::string::npos) << error;
            if (mapOnly)
                continue;
        }
        const auto read_ = picture::readPicture(bytes, &error, index);
        EXPECT_EQ(read_.has_value(), says.empty()) << error;
        EXPECT_NE(error.find(says), std::string::npos) << error;
        if (!read_)
            continue;
        if (!colours.empty())
            EXPECT_EQ(read_->palette, colours);
        std::vector<std::uint32_t> opaque;
        for (std::uint8_t alpha : read_->opacity)
            opaque.push_back(alpha != 0);
        std::istringstream kind(field("read"));
        std::string source;
        unsigned depth = 0;
        kind >> source >> depth;
        EXPECT_EQ(
            std::tuple(sourceName(read_->source), read_->depth,
                       depth > 8
                           ? read_->deepPixels
                           : std::vector<std::uint32_t>(read_->pixels.begin(), read_->pixels.end()),
                       opaque, read_->transparentColours, read_->warnings),
            std::tuple(source, depth, numbersOf("pixels"), numbersOf("opaque"),
                       numbersOf("transparent"),
                       field("warning").empty() ? std::vector<std::string>{}
                                                : std::vector<std::string>{field("warning")}));
        std::istringstream mode(field("mode"));
        std::string described, camg;
        if (mode >> described >> camg) {
            EXPECT_EQ(std::tuple(picture::describeMode(*read_), read_->hasViewportMode,
                                 read_->viewportMode, read_->xAspect, read_->yAspect),
                      std::tuple(described, camg != "none",
                                 camg != "none" ? std::stoul(camg, nullptr, 16) : 0, 10u, 11u));
        }
        if (!field("twelve-bit").empty())
            EXPECT_EQ(read_->twelveBitPalette, field("twelve-bit") == "yes");
        if (field("shown").empty())
            continue;
        // Each line's palette (linecolours.h) is the one its pixels are shown with.
        Bytes shown;
        const std::vector<amiga::Rgb8> colours_ = picture::render(*read_);
        for (size_t i = 0; i < colours_.size(); i++) {
            shown.insert(shown.end(), {colours_[i].red, colours_[i].green, colours_[i].blue});
            EXPECT_EQ(picture::linePalette(*read_, unsigned(i / read_->width))[read_->pixels[i]],
                      colours_[i]);
        }
        EXPECT_EQ(shown, casefiles::bytes(field("shown")));
    }
    EXPECT_EQ(messages.text(), "");
    // The pictures of a file, listed.
    const auto list =
        picture::listPictures(casefiles::bytes(cases.at("two pictures: 2").at("data")));
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(std::tuple(list[1].width, list[1].depth, list[1].colours), std::tuple(8u, 1u, 2u));
}
