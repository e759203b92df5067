// Colour reduction: what must hold whatever the cuts, worked out from the pictures themselves.
#include "picture/reduce.h"

#include "made_pictures.h"
#include "picture_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <random>
#include <tuple>

using amiga::Rgb8;
using picture::Picture;
using picture::Rgba8;
using enum picture::Dither;

namespace {

Picture colours(unsigned width, unsigned height, std::vector<Rgba8> pixels) {
    Picture p;
    p.width = width;
    p.height = height;
    p.depth = 32;
    p.mode = picture::DisplayMode::TrueColour;
    p.trueColour = std::move(pixels);
    return p;
}

// Red across, green down, blue still: every (red, green) pair of 0-255 once. With `checked`,
// blue is 90 and 91 in a chequerboard, 131072 colours in all.
Picture gradient(bool checked = false) {
    std::vector<Rgba8> pixels;
    for (unsigned y = 0; y < 256; y++) {
        for (unsigned x = 0; x < 256; x++) {
            pixels.push_back({static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y),
                              static_cast<std::uint8_t>(checked ? 90 + (x + y) % 2 : 90), 255});
        }
    }
    return colours(256, 256, pixels);
}

double meanSquaredError(const Picture &original, const Picture &reduced) {
    const std::vector<Rgb8> shown = picture::render(reduced);
    double sum = 0;
    for (size_t i = 0; i < shown.size(); i++) {
        const Rgba8 &o = original.trueColour[i];
        const double dr = o.red - shown[i].red, dg = o.green - shown[i].green,
                     db = o.blue - shown[i].blue;
        sum += dr * dr + dg * dg + db * db;
    }
    return sum / static_cast<double>(shown.size());
}

} // namespace

TEST(Reduce, FewColoursAreKeptExactlyInTheOrderTheyAppear) {
    // Alpha 128 is the least that counts as opaque.
    const Rgba8 red{255, 0, 0, 255}, teal{0, 128, 128, 255}, grey{1, 2, 3, 128}, clear{9, 9, 9, 0},
        faint{200, 0, 0, 127};
    const Picture p = colours(4, 2, {teal, red, teal, clear, grey, faint, red, teal});
    const Picture r = picture::reduce(p, {16, false, None});
    // Colour 0 for the transparent pixels (alpha 0 and 127), then teal, red, grey.
    EXPECT_EQ(r.palette, (std::vector<Rgb8>{{0, 0, 0}, {0, 128, 128}, {255, 0, 0}, {1, 2, 3}}));
    EXPECT_EQ(r.pixels, (std::vector<std::uint8_t>{1, 2, 1, 0, 3, 0, 2, 1}));
    EXPECT_EQ(r.transparentColours, (std::vector<unsigned>{0}));
    EXPECT_EQ(r.depth, 2u);
    EXPECT_EQ(r.mode, picture::DisplayMode::Indexed);
    EXPECT_EQ(picture::opacityOf(r),
              (std::vector<std::uint8_t>{255, 255, 255, 0, 255, 0, 255, 255}));

    // Without transparent pixels colour 0 is the first colour; dithering changes nothing when
    // every colour is kept.
    const Picture opaque = colours(3, 1, {grey, red, grey});
    const Picture kept = picture::reduce(opaque, {2, false, Diffuse});
    EXPECT_EQ(kept.palette, (std::vector<Rgb8>{{1, 2, 3}, {255, 0, 0}}));
    EXPECT_EQ(kept.pixels, (std::vector<std::uint8_t>{0, 1, 0}));
    EXPECT_TRUE(kept.transparentColours.empty());
    EXPECT_EQ(kept.depth, 1u);

    // Rounded to 12 bits first: $12 and $13 are both $1 (17), one colour.
    const Picture close = colours(2, 1, {{0x12, 0x12, 0x12, 255}, {0x13, 0x13, 0x13, 255}});
    const Picture twelve = picture::reduce(close, {2, true, None});
    EXPECT_EQ(twelve.palette, (std::vector<Rgb8>{{17, 17, 17}}));
    EXPECT_EQ(twelve.pixels, (std::vector<std::uint8_t>{0, 0}));
    EXPECT_TRUE(twelve.twelveBitPalette);
    // Each gun to the nearest n x 17: 8 is nearer 0 than 17, 9 nearer 17, 26 nearer 34 than 17.
    const Picture edges = picture::reduce(colours(1, 1, {{8, 9, 26, 255}}), {2, true, None});
    EXPECT_EQ(edges.palette, (std::vector<Rgb8>{{0, 17, 34}}));
}

TEST(Reduce, DepthIsTheFewestPlanesForTheColours) {
    std::mt19937 random(5);
    std::vector<Rgba8> pixels;
    for (unsigned i = 0; i < 4096; i++) {
        pixels.push_back({static_cast<std::uint8_t>(random()), static_cast<std::uint8_t>(random()),
                          static_cast<std::uint8_t>(random()), 255});
    }
    const Picture p = colours(64, 64, pixels);
    for (auto [asked, planes] : {std::pair{2u, 1u}, std::pair{3u, 2u}, std::pair{16u, 4u},
                                 std::pair{17u, 5u}, std::pair{32u, 5u}, std::pair{256u, 8u}}) {
        SCOPED_TRACE(asked);
        const Picture r = picture::reduce(p, {asked, false, asked % 2 == 0 ? Diffuse : None});
        EXPECT_EQ(r.palette.size(), asked);
        EXPECT_EQ(r.depth, planes);
        for (std::uint8_t v : r.pixels) {
            ASSERT_LT(v, asked);
        }
    }
}

TEST(Reduce, AGradientTo16ColoursIsWithinTheErrorOf16EqualSquares) {
    // The picture's colours fill a 256 x 256 square of the red-green plane evenly. No 16 boxes
    // do better than 16 squares of 64 x 64, each shown by its centre: a gun spread evenly over
    // 64 values has a mean squared error of 64^2 / 12 about the middle, so the best mean squared
    // error is 2 x 64^2 / 12 = 682.7 (26.1 as a distance). The guns' integer steps and rounding
    // add under half a step a gun: allow 5 per cent more. Blue, the same everywhere, is kept.
    // The chequered blue (131072 colours, cut by cells of 8 x 8 x 8 rather than colour by
    // colour) adds at most 0.5^2 to it.
    for (bool checked : {false, true}) {
        SCOPED_TRACE(checked);
        const Picture p = gradient(checked);
        const Picture r = picture::reduce(p, {16, false, None});
        ASSERT_EQ(r.palette.size(), 16u);
        const double best = 2.0 * 64 * 64 / 12;
        EXPECT_LT(meanSquaredError(p, r), best * 1.05);
        for (const Rgb8 &c : r.palette) {
            // 90.5 on the chequerboard, rounded either way.
            EXPECT_TRUE(c.blue == 90 || (checked && c.blue == 91)) << int{c.blue};
        }
    }
}

TEST(Reduce, DitheringKeepsTheMeanColourOfAFlatArea) {
    // 64 rows of grey 99 above 128 rows of black and 128 of white, in two colours. By pixel
    // weight (black 2/5, grey 1/5, white 2/5) grey goes with black (squared error 2 x 33^2 +
    // 66^2 = 6534 against 104^2 + 2 x 52^2 = 16224 with white): the colours are
    // (0 x 2 + 99 x 1) / 3 = 33 and 255, neither near 99.
    std::vector<Rgba8> pixels;
    for (unsigned y = 0; y < 320; y++) {
        const std::uint8_t v = y < 64 ? 99 : y < 192 ? 0 : 255;
        for (unsigned x = 0; x < 64; x++) {
            pixels.push_back({v, v, v, 255});
        }
    }
    const Picture p = colours(64, 320, pixels);
    const Picture plain = picture::reduce(p, {2, false, None});
    ASSERT_EQ(plain.palette, (std::vector<Rgb8>{{33, 33, 33}, {255, 255, 255}}));
    const Picture dithered = picture::reduce(p, {2, false, Diffuse});
    ASSERT_EQ(dithered.palette, plain.palette);
    // Floyd-Steinberg passes every pixel's error on, so over the grey rows only the error that
    // leaves below them is lost: under 255 - 33 for each of the 64 columns, 222 x 64 / 4096 =
    // 3.5 on the mean, within half a 12-bit step (17 / 2).
    auto meanOfGrey = [](const Picture &r) {
        const std::vector<Rgb8> shown = picture::render(r);
        double sum = 0;
        for (size_t i = 0; i < 64 * 64; i++) {
            sum += shown[i].red;
        }
        return sum / (64 * 64);
    };
    EXPECT_NEAR(meanOfGrey(dithered), 99, 8.5);
    EXPECT_NEAR(meanOfGrey(plain), 33, 0.01);
    // The ordered dither: the map's spacing is 222 a gun (the two greys' distance, 222 x sqrt 3,
    // over sqrt 3); the Bayer entry b adds round((b + 1/2) / 64 x 222 - 111) = round(3.469 b -
    // 109.27): 43 for b = 44, 47 for b = 45. 99 plus that is nearer 33 than 255 up to 144 (a tie
    // goes to 33), so b of 0-44 show 33 and the other 19 of the 64 thresholds 255:
    // (45 x 33 + 19 x 255) / 64 = 98.906 over every 8 x 8.
    const Picture ordered = picture::reduce(p, {2, false, Ordered});
    ASSERT_EQ(ordered.palette, plain.palette);
    EXPECT_NEAR(meanOfGrey(ordered), 6330.0 / 64, 0.001);
}

TEST(Reduce, TransparentPixelsKeepColour0WhenReducing) {
    std::vector<Rgba8> pixels;
    for (unsigned i = 0; i < 1024; i++) {
        pixels.push_back({static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i * 7),
                          static_cast<std::uint8_t>(i / 4),
                          static_cast<std::uint8_t>(i % 3 ? 255 : 0)});
    }
    const Picture p = colours(32, 32, pixels);
    for (picture::Dither dither : {None, Diffuse, Ordered}) {
        const Picture r = picture::reduce(p, {8, false, dither});
        ASSERT_EQ(r.palette.size(), 8u);
        EXPECT_EQ(r.transparentColours, (std::vector<unsigned>{0}));
        for (size_t i = 0; i < pixels.size(); i++) {
            ASSERT_EQ(r.pixels[i] == 0, i % 3 == 0) << i;
        }
    }
}

TEST(Reduce, IndexedPicturesThatFitComeBackAsTheyAre) {
    // For OCS a map of 24-bit colours does not fit: its colours are rounded, each gun to the
    // nearest n x 17 ($12 -> $11, $34 -> $33, $56 -> $55, $ee -> $ee, $01 -> $00), and numbered
    // as they first appear.
    const std::vector<Rgb8> twelve{{0x11, 0x33, 0x55}, {0xff, 0xee, 0x00}},
        full{{0x12, 0x34, 0x56}, {0xff, 0xee, 0x01}};
    struct Case {
        const std::vector<Rgb8> *palette;
        bool twelveBit;
        std::vector<Rgb8> colours;
        std::vector<std::uint8_t> pixels;
    } cases[] = {
        {&full, false, full, {1, 0}},
        {&twelve, true, twelve, {1, 0}},
        {&full, true, {{0xff, 0xee, 0x00}, {0x11, 0x33, 0x55}}, {0, 1}},
    };
    for (const Case &c : cases) {
        Picture p;
        p.width = 2;
        p.height = 1;
        p.depth = 1;
        p.pixels = {1, 0};
        p.palette = *c.palette;
        const Picture r = picture::reduce(p, {2, c.twelveBit, Diffuse});
        EXPECT_EQ(r.pixels, c.pixels);
        EXPECT_EQ(r.palette, c.colours);
    }
}

TEST(Reduce, TheScreenModeAndPixelShapeStayButHamAndEhbGo) {
    // CAMG bits (Hardware Reference Manual, BPLCON0 as the ILBM stores it): $8000 hires,
    // $0800 HAM, $0080 EHB, $0004 interlace.
    struct Case {
        picture::DisplayMode mode;
        std::uint32_t camg, kept;
        unsigned xAspect, yAspect;
    } cases[] = {
        {picture::DisplayMode::Ham6, 0x8804, 0x8004, 20, 11},
        {picture::DisplayMode::ExtraHalfbrite, 0x0080, 0, 10, 11},
        {picture::DisplayMode::Indexed, 0x8000, 0x8000, 5, 11},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.camg);
        Picture p;
        p.source = picture::Source::Ilbm;
        p.width = 40;
        p.height = 1;
        p.depth = 6;
        p.mode = c.mode;
        p.viewportMode = c.camg;
        p.hasViewportMode = true;
        p.xAspect = c.xAspect;
        p.yAspect = c.yAspect;
        for (unsigned i = 0; i < 40; i++) {
            p.palette.push_back({static_cast<std::uint8_t>(i * 6), 0, 0});
            p.pixels.push_back(static_cast<std::uint8_t>(i));
        }
        const Picture r = picture::reduce(p, {4, true, None});
        EXPECT_EQ(r.mode, picture::DisplayMode::Indexed);
        EXPECT_EQ(r.viewportMode, c.kept);
        EXPECT_TRUE(r.hasViewportMode);
        EXPECT_EQ(r.xAspect, c.xAspect);
        EXPECT_EQ(r.yAspect, c.yAspect);
    }
}

TEST(Reduce, MapsKeepPicturesAtLeastAsWellAsPngquant) {
    // Floors from pngquant 2.17 (--nofs, default speed) on the same pictures, PSNR in dB over the
    // three guns without dithering: 24-bit maps at least as good as pngquant's; 12-bit maps
    // 0.5 dB above pngquant's map with its colours rounded to 12 bits (each gun to the nearest
    // n x 17), its pixels' numbers kept.
    const Picture photo = madepictures::photoLike(64, 64, 3);
    const Picture drawing = madepictures::drawingLike(128, 96);
    struct Case {
        const Picture *picture;
        unsigned colours;
        bool twelveBit;
        double pngquant, margin;
    } cases[] = {
        {&photo, 16, false, 28.03, 0},    {&photo, 32, false, 30.77, 0},
        {&photo, 16, true, 27.15, 0.5},   {&photo, 32, true, 29.23, 0.5},
        {&drawing, 16, false, 26.81, 0},  {&drawing, 32, false, 31.51, 0},
        {&drawing, 16, true, 26.06, 0.5}, {&drawing, 32, true, 29.59, 0.5},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << (c.picture == &photo ? "photo " : "drawing ")
                                        << c.colours << (c.twelveBit ? " OCS" : " AGA"));
        const Picture r = picture::reduce(*c.picture, {c.colours, c.twelveBit, None});
        const double psnr = 10 * std::log10(255.0 * 255.0 * 3 / meanSquaredError(*c.picture, r));
        EXPECT_GE(psnr, c.pngquant + c.margin);
    }
}

TEST(Reduce, TwelveBitMapsAreChosenAmongTwelveBitColoursNotRoundedAfterwards) {
    // The 24-bit map of the same picture with its colours rounded to 12 bits (each gun to the
    // nearest n x 17), the pixels' numbers kept, is what rounding afterwards gives; choosing
    // among 12-bit colours must lose at least 3 per cent less (0.13 dB). And no colour of the
    // map moved alone to one of the 26 lattice points around it (n x 17 a gun, one step up or
    // down) lowers the error, which is found here by trying every such move over every pixel.
    const Picture photo = madepictures::photoLike(64, 64, 3);
    auto apart = [](const Rgba8 &a, Rgb8 b) {
        const long dr = a.red - b.red, dg = a.green - b.green, db = a.blue - b.blue;
        return dr * dr + dg * dg + db * db;
    };
    for (unsigned asked : {8u, 16u, 64u}) {
        SCOPED_TRACE(asked);
        Picture rounded = picture::reduce(photo, {asked, false, None});
        for (Rgb8 &c : rounded.palette) {
            c = {static_cast<std::uint8_t>((c.red + 8) / 17 * 17),
                 static_cast<std::uint8_t>((c.green + 8) / 17 * 17),
                 static_cast<std::uint8_t>((c.blue + 8) / 17 * 17)};
        }
        const Picture chosen = picture::reduce(photo, {asked, true, None});
        EXPECT_LT(meanSquaredError(photo, chosen), meanSquaredError(photo, rounded) * 0.97)
            << meanSquaredError(photo, rounded);

        // Moving colour c to p leaves a pixel of c at the nearer of p and its second nearest
        // colour, any other pixel at the nearer of p and its own.
        const std::vector<Rgb8> &map = chosen.palette;
        ASSERT_TRUE(chosen.twelveBitPalette);
        for (const Rgb8 &c : map) { // a 12-bit gun n shows as n x 17 ($f is 255)
            ASSERT_EQ(c.red % 17 + c.green % 17 + c.blue % 17, 0);
        }
        std::vector<std::array<long, 3>> near; // nearest, second nearest, the nearest's number
        for (const Rgba8 &pixel : photo.trueColour) {
            std::array<long, 3> n{1L << 40, 1L << 40, 0};
            for (size_t c = 0; c < map.size(); c++) {
                const long d = apart(pixel, map[c]);
                n = d < n[0] ? std::array<long, 3>{d, n[0], long(c)}
                             : std::array<long, 3>{n[0], std::min(n[1], d), n[2]};
            }
            near.push_back(n);
        }
        for (size_t c = 0; c < map.size(); c++) {
            for (int step = 0; step < 27; step++) {
                const int r = map[c].red + (step % 3 - 1) * 17,
                          g = map[c].green + (step / 3 % 3 - 1) * 17,
                          b = map[c].blue + (step / 9 - 1) * 17;
                const Rgb8 p{std::uint8_t(r), std::uint8_t(g), std::uint8_t(b)};
                if (std::max({r, g, b}) > 255 || std::min({r, g, b}) < 0 ||
                    std::find(map.begin(), map.end(), p) != map.end()) {
                    continue;
                }
                long change = 0;
                for (size_t i = 0; i < near.size(); i++) {
                    change += std::min(apart(photo.trueColour[i], p),
                                       near[i][2] == long(c) ? near[i][1] : near[i][0]) -
                              near[i][0];
                }
                ASSERT_GE(change, 0) << "colour " << c << " to " << r << "," << g << "," << b;
            }
        }
    }
}

TEST(Reduce, AnOrderedDitherDependsOnTheColoursAndThePlaceAlone) {
    // An animation's frames: the same frame twice gives the same pixels with every dither; a
    // frame whose two halves change places (the same colours, so the same map) gives each half
    // the same pixels as before with the ordered dither, the halves being 8 x 8 blocks apart.
    const Picture frame = madepictures::photoLike(32, 16, 11);
    Picture swapped = frame;
    for (unsigned y = 0; y < 16; y++) {
        for (unsigned x = 0; x < 32; x++) {
            swapped.trueColour[y * 32 + x] = frame.trueColour[y * 32 + (x + 16) % 32];
        }
    }
    for (picture::Dither dither : {None, Diffuse, Ordered}) {
        for (bool twelveBit : {false, true}) {
            SCOPED_TRACE(testing::Message() << static_cast<int>(dither) << twelveBit);
            const Picture once = picture::reduce(frame, {16, twelveBit, dither});
            EXPECT_EQ(picture::reduce(frame, {16, twelveBit, dither}).pixels, once.pixels);
            if (dither == Diffuse) {
                continue;
            }
            const Picture other = picture::reduce(swapped, {16, twelveBit, dither});
            ASSERT_EQ(other.palette, once.palette);
            for (unsigned y = 0; y < 16; y++) {
                for (unsigned x = 0; x < 32; x++) {
                    ASSERT_EQ(other.pixels[y * 32 + x], once.pixels[y * 32 + (x + 16) % 32])
                        << x << "," << y;
                }
            }
        }
    }
}

// Reducing while the file is read (a true-colour PNG decoded twice a row at a time, other
// pictures mapped in place) gives what reducing the picture read whole gives, byte for byte;
// a file that cannot be read says what readPicture says.
TEST(Reduce, ReducingWhileReadingGivesWhatReducingThePictureReadWholeGives) {
    using picturetest::pngLayout;
    std::mt19937 random(7);
    auto samples = [&](size_t count, unsigned range) {
        std::vector<unsigned> values(count);
        for (unsigned &v : values) {
            v = random() % range;
        }
        return values;
    };
    std::vector<unsigned> alpha = samples(40 * 30 * 4, 256), few(48 * 3);
    for (size_t i = 0; i < few.size(); i++) {
        few[i] = (i / 3 % 5) * 60 + i % 3; // 5 colours
    }
    std::vector<png_color> greys(256);
    for (unsigned i = 0; i < 256; i++) {
        greys[i] = {static_cast<png_byte>(i), static_cast<png_byte>(i / 2), 40};
    }
    picturetest::PngLayout interlaced =
        pngLayout(33, 17, PNG_COLOR_TYPE_RGB, 8, samples(33 * 17 * 3, 256));
    interlaced.interlaced = true;
    picturetest::PngLayout indexed =
        pngLayout(50, 20, PNG_COLOR_TYPE_PALETTE, 8, samples(50 * 20, 256), greys);
    indexed.alphas = {0, 255, 10};
    const picturetest::Bytes rgba =
        picturetest::pngOf(pngLayout(40, 30, PNG_COLOR_TYPE_RGB_ALPHA, 8, alpha));
    struct Case {
        const char *what;
        picturetest::Bytes file;
        picture::Reduction reduction;
        bool fromFile; // the second pass from the file, not the bytes
    };
    const Case cases[] = {
        {"RGBA, diffused", rgba, {16, false, Diffuse}, false},
        {"RGBA, ordered, 12-bit", rgba, {16, true, Ordered}, true},
        {"RGBA, plain", rgba, {5, false, None}, true},
        // Past 65536 colours the colours are counted in cells.
        {"many colours",
         picturetest::pngOf(
             pngLayout(300, 300, PNG_COLOR_TYPE_RGB, 8, samples(300 * 300 * 3, 256))),
         {24, false, Diffuse},
         true},
        {"few colours, kept",
         picturetest::pngOf(pngLayout(16, 3, PNG_COLOR_TYPE_RGB, 8, few)),
         {8, false, None},
         true},
        {"interlaced, read whole", picturetest::pngOf(interlaced), {16, false, Diffuse}, true},
        {"indexed, in place", picturetest::pngOf(indexed), {4, false, Diffuse}, false},
        {"cut short",
         picturetest::Bytes(rgba.begin(), rgba.begin() + 200),
         {16, false, None},
         true},
    };
    const std::string path = testing::TempDir() + "reduce-while-reading.png";
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        if (c.fromFile) {
            std::ofstream(path, std::ios::binary)
                .write(reinterpret_cast<const char *>(c.file.data()),
                       static_cast<std::streamsize>(c.file.size()));
        }
        std::string wholeError, error;
        const std::optional<Picture> read = picture::readPicture(c.file, &wholeError);
        const std::optional<Picture> reduced = picture::readReducedPicture(
            picturetest::Bytes(c.file), c.reduction, &error, 0, c.fromFile ? path : "");
        ASSERT_EQ(reduced.has_value(), read.has_value());
        if (!read) {
            EXPECT_EQ(error, wholeError);
            continue;
        }
        const Picture whole = picture::reduce(*read, c.reduction);
        EXPECT_EQ(reduced->pixels, whole.pixels);
        EXPECT_EQ(reduced->palette, whole.palette);
        EXPECT_EQ(reduced->transparentColours, whole.transparentColours);
        EXPECT_EQ(reduced->warnings, whole.warnings);
        EXPECT_EQ(
            std::tie(reduced->width, reduced->height, reduced->depth, reduced->mode,
                     reduced->twelveBitPalette),
            std::tie(whole.width, whole.height, whole.depth, whole.mode, whole.twelveBitPalette));
    }
    std::remove(path.c_str());
}
