// Bitplanes and masks: small pictures worked out bit by bit by hand, and random pictures of awkward
// widths compared with a plain pixel-by-pixel loop written here from the layout's description
// (the library's converter works on 8, 16 and 64 pixels at a time, so the widths cross every
// one of those edges).
#include <amiga/bitplanes.h>

#include "case_table.h"
#include "plane_layout.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

using namespace amiga;

namespace {

using Bytes = std::vector<std::uint8_t>;

// The layout's description, one pixel at a time (plane_layout.h).
template <typename Pixel>
Bytes referencePlanes(const std::vector<Pixel> &pixels, unsigned width, unsigned height,
                      const BitplaneLayout &layout, const Transparency &transparency) {
    const planelayout::Mask mask = layout.mask == MaskOutput::None    ? planelayout::Mask::None
                                   : layout.mask == MaskOutput::After ? planelayout::Mask::After
                                                                      : planelayout::Mask::Only;
    return planelayout::planes(pixels, width, height, layout.depth, layout.interleaved, mask,
                               layout.invertMask,
                               [&](unsigned c) { return transparency.isTransparent(c); });
}

std::vector<BitplaneLayout> everyLayout(unsigned depth) {
    std::vector<BitplaneLayout> layouts;
    for (bool interleaved : {true, false})
        for (MaskOutput mask : {MaskOutput::None, MaskOutput::After, MaskOutput::Only})
            for (bool invert : {false, true})
                layouts.push_back({interleaved, depth, mask, invert});
    return layouts;
}

// The layout in a failure's message; its mask as MaskOutput counts: 0 none, 1 after, 2 only.
std::string describe(const BitplaneLayout &layout) {
    return std::string(layout.interleaved ? "interleaved" : "planar") + ", mask " +
           std::to_string(static_cast<int>(layout.mask)) + (layout.invertMask ? " inverted" : "") +
           ", depth " + std::to_string(layout.depth);
}

const unsigned kWidths[] = {1, 7, 8, 9, 15, 16, 17, 31, 33, 63, 64, 65, 100, 127, 129, 321};

} // namespace

// The layouts of data/bitplanes.txt, each with the bytes of a 3x2 picture worked out there.
TEST(Bitplanes, SmallPictureByHand) {
    const Bytes pixels = {1, 2, 3, 0, 3, 0};
    const Bytes mask = maskPlane(pixels.data(), 3, 2, Transparency::colour(0));
    EXPECT_EQ(mask, (Bytes{0xe0, 0x00, 0x40, 0x00}));
    for (const casetable::Row &c : casetable::rows("bitplanes.txt", "small picture")) {
        const auto has = [&](const char *word) { return c.at(0).find(word) != std::string::npos; };
        const BitplaneLayout layout{has("interleaved"), 2,
                                    has("after")  ? MaskOutput::After
                                    : has("only") ? MaskOutput::Only
                                                  : MaskOutput::None,
                                    has("inverted")};
        const Words bytes = casetable::words(c.at(1));
        EXPECT_EQ(bitplaneData(pixels.data(), 3, 2, layout, mask.data()),
                  Bytes(bytes.begin(), bytes.end()))
            << c[0];
    }
}

TEST(Bitplanes, MasksFromTransparentColoursAndFromOpacity) {
    // Colours 0 and 5 transparent; colour 9 is past the table and opaque.
    Transparency t;
    t.transparent = {true, false, false, false, false, true};
    const Bytes pixels = {0, 1, 5, 9, 5, 0, 2, 3, 0};
    // Nine pixels are one word.  0 1 0 1 0 0 1 1 | 0 -> $53 $00
    EXPECT_EQ(maskPlane(pixels.data(), 9, 1, t), (Bytes{0x53, 0x00}));
    const Transparency only5 = Transparency::colour(5);
    // 1 1 0 1 0 1 1 1 | 1 -> $d7 $80
    EXPECT_EQ(maskPlane(pixels.data(), 9, 1, only5), (Bytes{0xd7, 0x80}));
    const Bytes opacity = {0, 255, 1, 0, 0, 0, 0, 0, 7};
    EXPECT_EQ(maskPlaneFromOpacity(opacity.data(), 9, 1), (Bytes{0x60, 0x80}));
}

TEST(Bitplanes, EveryLayoutMatchesThePlainLoopOnRandomPicturesAndReadsBack) {
    std::mt19937 random(42);
    for (unsigned width : kWidths) {
        for (unsigned height : {1u, 3u}) {
            Bytes pixels(static_cast<std::size_t>(width) * height);
            for (std::uint8_t &c : pixels)
                c = static_cast<std::uint8_t>(random() % 4 == 0 ? 0 : random()); // some colour 0
            for (const bool single : {true, false}) {
                Transparency transparency = Transparency::colour(single ? 0 : 3);
                if (!single) {
                    transparency.transparent.assign(256, false);
                    for (unsigned c = 0; c < 256; c += 3)
                        transparency.transparent[c] = true;
                }
                const Bytes mask = maskPlane(pixels.data(), width, height, transparency);
                for (unsigned depth = 1; depth <= 8; ++depth) {
                    for (const BitplaneLayout &layout : everyLayout(depth)) {
                        SCOPED_TRACE(testing::Message()
                                     << width << "x" << height << ", " << describe(layout)
                                     << (single ? ", colour 0 transparent" : ", a table"));
                        const Bytes expected =
                            referencePlanes(pixels, width, height, layout, transparency);
                        ASSERT_EQ(bitplaneData(pixels.data(), width, height, layout, mask.data()),
                                  expected);
                        ASSERT_EQ(
                            bitplaneDataAndMask(pixels.data(), width, height, layout, transparency),
                            expected);
                        if (!layout.interleaved && layout.mask == MaskOutput::None) {
                            Bytes low = pixels; // and back from the planes
                            for (std::uint8_t &c : low)
                                c = static_cast<std::uint8_t>(c & ((1u << depth) - 1));
                            ASSERT_EQ(chunkyFromPlanes(expected.data(), width, height, depth), low);
                        }
                    }
                }
            }
        }
    }
}

TEST(Bitplanes, WidePixelsUpTo32Planes) {
    std::mt19937 random(7);
    for (unsigned width : {1u, 9u, 17u, 33u, 70u}) {
        const unsigned height = 2;
        // Colour 0 or an odd value: the low byte is 0 exactly for colour 0, so the mask made
        // from the low bytes is the picture's own.
        std::vector<std::uint32_t> pixels(width * height);
        Bytes lowBytes(pixels.size());
        for (std::size_t i = 0; i < pixels.size(); ++i) {
            pixels[i] = random() % 5 == 0 ? 0 : static_cast<std::uint32_t>(random()) | 1u;
            lowBytes[i] = static_cast<std::uint8_t>(pixels[i]);
        }
        const Transparency transparency = Transparency::colour(0);
        const Bytes mask = maskPlane(lowBytes.data(), width, height, transparency);
        for (unsigned depth : {1u, 8u, 12u, 24u, 32u}) {
            for (const BitplaneLayout &layout : everyLayout(depth)) {
                SCOPED_TRACE(testing::Message() << width << " wide, " << describe(layout));
                ASSERT_EQ(bitplaneData(pixels.data(), width, height, layout, mask.data()),
                          referencePlanes(pixels, width, height, layout, transparency));
            }
        }
    }
}

TEST(Bitplanes, NothingForAnEmptyPictureABadDepthOrAMissingMask) {
    const Bytes pixels(16, 1);
    EXPECT_TRUE(bitplaneData(pixels.data(), 0, 1, {true, 4}, nullptr).empty());
    EXPECT_TRUE(bitplaneData(pixels.data(), 16, 0, {true, 4}, nullptr).empty());
    EXPECT_TRUE(bitplaneData(pixels.data(), 16, 1, {true, 0}, nullptr).empty());
    EXPECT_TRUE(bitplaneData(pixels.data(), 16, 1, {true, 9}, nullptr).empty());
    EXPECT_TRUE(bitplaneData(pixels.data(), 16, 1, {true, 4, MaskOutput::After}, nullptr).empty());
    const std::vector<std::uint32_t> wide(16, 1);
    EXPECT_TRUE(bitplaneData(wide.data(), 16, 1, {true, 33}, nullptr).empty());
    EXPECT_EQ(bitplaneData(wide.data(), 16, 1, {true, 32}, nullptr).size(), 64u);
    EXPECT_TRUE(chunkyFromPlanes(pixels.data(), 16, 1, 9).empty());
    EXPECT_TRUE(maskPlane(pixels.data(), 0, 5, Transparency::colour(0)).empty());
}
