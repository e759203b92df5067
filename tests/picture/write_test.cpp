// Pictures written as ILBM files: the chunks read back byte by byte here, and the file read back
// through the library to the same colour numbers (ilbmtoppm shows the same pixels: peer_test).
#include "made_pictures.h"
#include "picture/picture.h"
#include "picture_files.h"

#include <iff_capture.h>
#include <ilbm/ilbm.h>

#include <gtest/gtest.h>

#include <map>

using namespace picturetest;
using madepictures::indexedPicture;
using picture::Picture;

namespace {

std::vector<std::uint8_t> ramp(unsigned count, unsigned modulo) {
    std::vector<std::uint8_t> pixels;
    for (unsigned i = 0; i < count; i++)
        pixels.push_back(static_cast<std::uint8_t>(i * 3 % modulo));
    return pixels;
}

std::uint32_t be32(const Bytes &b, size_t at) {
    return std::uint32_t{b[at]} << 24 | std::uint32_t{b[at + 1]} << 16 | b[at + 2] << 8 | b[at + 3];
}

// A BMHD's 20 bytes: at 0,0, ByteRun1, the page as large as the picture, the aspect given.
Bytes bmhdBody(unsigned width, unsigned height, unsigned planes, unsigned masking,
               unsigned transparent, std::uint8_t xAspect, std::uint8_t yAspect) {
    Bytes chunk = iffbytes::bmhd(width, height, planes, masking, 1, 0, transparent);
    chunk[8 + 14] = xAspect;
    chunk[8 + 15] = yAspect;
    return Bytes(chunk.begin() + 8, chunk.end());
}

// The chunks of a FORM ILBM by ID, walked by hand; none when its header is wrong.
std::map<std::string, Bytes> chunksOf(const Bytes &file) {
    std::map<std::string, Bytes> chunks;
    const std::string head(file.begin(), file.begin() + std::min<size_t>(file.size(), 12));
    for (size_t at = 12, size = 0;
         head.size() == 12 && head.substr(0, 4) == "FORM" && head.substr(8) == "ILBM" &&
         be32(file, 4) + 8 == file.size() && at + 8 <= file.size();
         at += 8 + size + size % 2) {
        size = be32(file, at + 4);
        chunks[std::string(file.begin() + at, file.begin() + at + 4)] =
            Bytes(file.begin() + at + 8, file.begin() + at + 8 + size);
    }
    return chunks;
}

} // namespace

TEST(IlbmBytes, PlanesColourMapAndCamgOfEachModeAndTheFileReadsBack) {
    iffbytes::Messages messages;
    using enum picture::DisplayMode;
    // No screen mode asked for: square pixels (1:1) and no resolution bits, whatever the size.
    // Indexed: the fewest planes for the map and the largest colour number, the map padded to
    // them. HAM6 uses 16 registers but keeps a longer map whole; EHB and HAM8 pad it to 32 and 64.
    const struct {
        picture::DisplayMode mode;
        unsigned width, height, colours, largest, planes, registers, camg;
    } cases[] = {
        {Indexed, 17, 3, 5, 4, 3, 8, 0},       {Indexed, 401, 2, 2, 1, 1, 2, 0},
        {Indexed, 640, 512, 16, 15, 4, 16, 0}, {Indexed, 8, 1, 1, 0, 1, 2, 0},
        {Indexed, 9, 1, 3, 9, 4, 16, 0}, // a colour number past the map needs the planes too
        {Indexed, 4, 4, 256, 255, 8, 256, 0},  {Ham6, 21, 3, 20, 15, 6, 20, 0x800},
        {Ham8, 21, 3, 20, 15, 8, 64, 0x800},   {ExtraHalfbrite, 21, 3, 20, 15, 6, 32, 0x80},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " " << c.camg);
        std::vector<amiga::Rgb8> palette;
        Bytes cmap(c.registers * 3, 0);
        for (unsigned i = 0; i < c.colours; i++) {
            const Bytes rgb{std::uint8_t(i), 1, std::uint8_t(255 - i)};
            std::copy(rgb.begin(), rgb.end(), cmap.begin() + 3 * i);
            palette.push_back({rgb[0], rgb[1], rgb[2]});
        }
        std::vector<std::uint8_t> pixels = ramp(c.width * c.height, c.largest + 1);
        pixels.back() = static_cast<std::uint8_t>(c.largest);
        const Picture p = indexedPicture(c.width, pixels, palette, c.mode);
        std::string error;
        const Bytes file = picture::ilbmBytes(p, &error);
        auto chunks = chunksOf(file);
        EXPECT_EQ(chunks["BMHD"], bmhdBody(c.width, c.height, c.planes, 0, 0, 1, 1)) << error;
        EXPECT_EQ(chunks["CMAP"], cmap);
        EXPECT_EQ(chunks["CAMG"], iffbytes::be32(c.camg));
        const auto back = picture::readPicture(file, nullptr);
        ASSERT_TRUE(back);
        EXPECT_EQ(back->mode, c.mode);
        EXPECT_EQ(picture::render(*back), picture::render(p));
        // The ilbm library's own check of what it reads.
        IFF_Chunk *tree = ILBM_readFd(iffbytes::MemoryFile(file).get());
        ASSERT_NE(tree, nullptr);
        EXPECT_TRUE(ILBM_check(tree));
        ILBM_free(tree);
    }
    EXPECT_EQ(messages.text(), "");
}

TEST(IlbmBytes, AScreenModeSetsItsCamgBitsAndPalPixelShape) {
    using picture::Resolution;
    // CAMG HIRES $8000, SUPER_KEY $8020, LACE $4 (graphics/modeid.h). A PAL lores pixel is 10:11
    // as paint programs store it; hires pixels are half as wide, superhires a quarter (5:22);
    // interlace halves the height, doubling x.
    const struct {
        Resolution resolution;
        bool lace;
        std::uint32_t camg;
        std::uint8_t xAspect, yAspect;
    } cases[] = {
        {Resolution::Lores, false, 0, 10, 11},
        {Resolution::Lores, true, 0x4, 20, 11},
        {Resolution::Hires, false, 0x8000, 5, 11},
        {Resolution::Hires, true, 0x8004, 10, 11},
        {Resolution::SuperHires, false, 0x8020, 5, 22},
        {Resolution::SuperHires, true, 0x8024, 10, 22},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.camg);
        Picture p = indexedPicture(4, ramp(8, 4), {{0, 0, 0}, {1, 1, 1}, {2, 2, 2}, {3, 3, 3}});
        p.mode = picture::DisplayMode::Ham6; // the mode bit stays beside the resolution's
        auto chunks = chunksOf(picture::ilbmBytes(p, nullptr, {c.resolution, c.lace}));
        EXPECT_EQ(chunks["BMHD"], bmhdBody(4, 2, 6, 0, 0, c.xAspect, c.yAspect));
        EXPECT_EQ(be32(chunks["CAMG"], 0), c.camg | 0x800);
    }
    // A picture with a display mode of its own keeps its resolution and aspect unless asked.
    Picture own = indexedPicture(4, ramp(8, 2), {{0, 0, 0}, {9, 9, 9}});
    own.hasViewportMode = true;
    own.viewportMode = 0x8004 | 0x1000; // HIRES LACE and a bit no resolution's
    own.xAspect = 20;
    own.yAspect = 11;
    for (auto [screen, camg, xAspect] :
         {std::tuple{picture::ScreenMode{}, 0x8004u, 20},
          std::tuple{picture::ScreenMode{Resolution::Lores, false}, 0u, 10}}) {
        auto chunks = chunksOf(picture::ilbmBytes(own, nullptr, screen));
        EXPECT_EQ(std::tuple(be32(chunks["CAMG"], 0), chunks["BMHD"][14]),
                  std::tuple(camg, std::uint8_t(xAspect)));
    }
}

TEST(IlbmBytes, TransparencyAsMaskPlaneOrTransparentColourAndNoColourNumbersRefused) {
    const std::vector<amiga::Rgb8> palette = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    Picture p = indexedPicture(19, ramp(38, 4), palette);
    p.transparentColours = {2};
    EXPECT_EQ(chunksOf(picture::ilbmBytes(p, nullptr))["BMHD"], bmhdBody(19, 2, 2, 2, 2, 1, 1));

    // Two transparent colours cannot be said in a BMHD: no masking.
    p.transparentColours = {1, 2};
    EXPECT_EQ(chunksOf(picture::ilbmBytes(p, nullptr))["BMHD"][9], 0);

    // The picture's own mask becomes a mask plane.
    for (unsigned i = 0; i < 38; i++)
        p.opacity.push_back(i % 5 == 0 ? 0 : 1);
    const Bytes file = picture::ilbmBytes(p, nullptr);
    EXPECT_EQ(chunksOf(file)["BMHD"][9], 1);
    const auto back = picture::readPicture(file, nullptr);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->pixels, p.pixels);
    EXPECT_EQ(back->opacity, picture::opacityOf(p));

    // A picture without colour numbers is refused.
    std::string error;
    EXPECT_TRUE(picture::ilbmBytes(madepictures::trueColourPicture(1, 1, {{1, 2, 3, 255}}), &error)
                    .empty());
    EXPECT_NE(error.find("reduced first"), std::string::npos) << error;
    EXPECT_TRUE(picture::ilbmBytes(Picture{}, &error).empty());
    EXPECT_FALSE(error.empty());
}
