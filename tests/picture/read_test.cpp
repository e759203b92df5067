// Reading PNG and IFF pictures into the picture record: what each kind of file becomes, and the
// sentence for a file that is not a picture the library reads.
#include "case_files.h"
#include "picture/linecolours.h"
#include "picture/picture.h"
#include "picture_files.h"

#include <iff_capture.h>

#include <gtest/gtest.h>
#include <zlib.h>

#include <set>
#include <sstream>
#include <tuple>

using namespace picturetest;
using namespace iffbytes;
using picture::DisplayMode;
using picture::Rgba8;

TEST(ReadPng, AHeaderClaimingMoreThanItsDataCanHoldIsRefused) {
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
    std::string error;
    EXPECT_FALSE(picture::readPicture(hostile, &error));
    EXPECT_NE(error.find("too short"), std::string::npos) << error;
}

// The cases of data/iff_pictures.txt and png_pictures.txt: PNGs of every colour type, ILBM, ACBM
// and PBM bodies, files refused, colour maps.
TEST(ReadPicture, FilesWorkedOutByHandGiveTheirPixelsOrColoursOrASentence) {
    Messages messages; // whatever the libraries say outside the reader's capture
    auto cases = casefiles::read(QUILLFEN_PICTURE_DATA "/iff_pictures.txt");
    cases.merge(casefiles::read(QUILLFEN_PICTURE_DATA "/png_pictures.txt"));
    ASSERT_EQ(cases.size(), 55u);
    // The fields the test reads: a misspelled one would leave its check out.
    const std::set<std::string> known = {
        "data",  "png",        "samples", "plte",   "trns",        "cut",
        "index", "read",       "pixels",  "opaque", "transparent", "colours",
        "mode",  "twelve-bit", "warning", "error",  "shown",       "rgba"};
    for (const auto &[name, fields] : cases) {
        SCOPED_TRACE(name);
        for (const auto &[key, value] : fields)
            EXPECT_EQ(known.count(key), 1u) << "a field the test does not know: " << key;
        auto field = [&fields](const char *key) {
            return fields.count(key) != 0 ? fields.at(key) : std::string();
        };
        auto numbersOf = [&fields](const char *key, int base = 10) {
            return casefiles::numbers(fields, key, base);
        };
        const Bytes bytes = casefiles::fileOf(fields);
        const std::string says = field("error");
        const unsigned index = numbersOf("index").empty() ? 0 : numbersOf("index")[0];
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
        if (!colours.empty()) {
            EXPECT_EQ(read_->palette, colours);
        }
        std::vector<std::uint32_t> opaque;
        for (std::uint8_t alpha : read_->opacity)
            opaque.push_back(alpha != 0);
        const std::string source = field("read").substr(0, field("read").find(' '));
        const unsigned depth = source.empty() ? 0 : std::stoul(field("read").substr(source.size()));
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
        if (!field("twelve-bit").empty()) {
            EXPECT_EQ(read_->twelveBitPalette, field("twelve-bit") == "yes");
        }
        std::vector<std::uint32_t> rgba;
        for (const Rgba8 &c : read_->trueColour)
            rgba.push_back(std::uint32_t(c.red) << 24 | c.green << 16 | c.blue << 8 | c.alpha);
        EXPECT_EQ(rgba, numbersOf("rgba", 16));
        EXPECT_EQ(read_->mode == DisplayMode::TrueColour, depth > 8);
        if (field("shown").empty())
            continue;
        // A picture with palette changes shows each line's pixels with that line's palette
        // (linecolours.h).
        const bool changes = !read_->colourChanges.empty();
        Bytes shown;
        const std::vector<amiga::Rgb8> colours_ = picture::render(*read_);
        for (size_t i = 0; i < colours_.size(); i++) {
            shown.insert(shown.end(), {colours_[i].red, colours_[i].green, colours_[i].blue});
            EXPECT_TRUE(!changes ||
                        picture::linePalette(
                            *read_, unsigned(i / read_->width))[read_->pixels[i]] == colours_[i])
                << i;
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
