// Colour reduction: what must hold whatever the cuts, worked out from the pictures themselves.
#include "picture/reduce.h"

#include "case_files.h"
#include "made_pictures.h"
#include "picture_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <tuple>

using amiga::Rgb8;
using picture::Picture;
using picture::Rgba8;
using enum picture::Dither;

namespace {

const auto colours = &madepictures::trueColourPicture;

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
    const Picture r = picture::reduce(
        colours(4, 2, {teal, red, teal, clear, grey, faint, red, teal}), {16, false, None});
    // Colour 0 for the transparent pixels (alpha 0 and 127), then teal, red, grey.
    EXPECT_EQ(r.palette, (std::vector<Rgb8>{{0, 0, 0}, {0, 128, 128}, {255, 0, 0}, {1, 2, 3}}));
    EXPECT_EQ(r.pixels, (std::vector<std::uint8_t>{1, 2, 1, 0, 3, 0, 2, 1}));
    EXPECT_EQ(r.transparentColours, (std::vector<unsigned>{0}));
    EXPECT_EQ(std::tuple(r.depth, r.mode), std::tuple(2u, picture::DisplayMode::Indexed));

    // Without transparent pixels colour 0 is the first colour; dithering changes nothing when
    // every colour is kept.
    const Picture kept = picture::reduce(colours(3, 1, {grey, red, grey}), {2, false, Diffuse});
    EXPECT_EQ(kept.palette, (std::vector<Rgb8>{{1, 2, 3}, {255, 0, 0}}));
    EXPECT_EQ(kept.pixels, (std::vector<std::uint8_t>{0, 1, 0}));
    EXPECT_TRUE(kept.transparentColours.empty());
    EXPECT_EQ(kept.depth, 1u);

    // Rounded to 12 bits first: $12 and $13 are both $1 (17), one colour. Each gun to the nearest
    // n x 17: 8 is nearer 0 than 17, 9 nearer 17, 26 nearer 34 than 17.
    const Picture twelve = picture::reduce(
        colours(3, 1, {{0x12, 0x12, 0x12, 255}, {0x13, 0x13, 0x13, 255}, {8, 9, 26, 255}}),
        {2, true, None});
    EXPECT_EQ(twelve.palette, (std::vector<Rgb8>{{17, 17, 17}, {0, 17, 34}}));
    EXPECT_EQ(twelve.pixels, (std::vector<std::uint8_t>{0, 0, 1}));
    EXPECT_TRUE(twelve.twelveBitPalette);
}

TEST(Reduce, ManyColoursTakeTheFewestPlanesAndTransparentPixelsKeepColour0) {
    std::mt19937 random(5);
    std::vector<Rgba8> pixels;
    for (unsigned i = 0; i < 4096; i++)
        pixels.push_back(
            {std::uint8_t(random()), std::uint8_t(random()), std::uint8_t(random()), 255});
    const Picture p = colours(64, 64, pixels);
    for (auto [asked, planes] : {std::pair{2u, 1u}, std::pair{3u, 2u}, std::pair{16u, 4u},
                                 std::pair{17u, 5u}, std::pair{32u, 5u}, std::pair{256u, 8u}}) {
        SCOPED_TRACE(asked);
        const Picture r = picture::reduce(p, {asked, false, asked % 2 == 0 ? Diffuse : None});
        EXPECT_EQ(std::tuple(r.palette.size(), r.depth), std::tuple(size_t{asked}, planes));
        EXPECT_LT(*std::max_element(r.pixels.begin(), r.pixels.end()), asked);
    }
    // Every third pixel transparent: colour 0 is theirs alone, whatever the dither.
    for (size_t i = 0; i < pixels.size(); i += 3)
        pixels[i].alpha = 0;
    for (picture::Dither dither : {None, Diffuse, Ordered}) {
        const Picture r = picture::reduce(colours(64, 64, pixels), {8, false, dither});
        ASSERT_EQ(r.palette.size(), 8u);
        EXPECT_EQ(r.transparentColours, (std::vector<unsigned>{0}));
        for (size_t i = 0; i < pixels.size(); i++)
            ASSERT_EQ(r.pixels[i] == 0, i % 3 == 0) << i;
    }
}

TEST(Reduce, AGradientTo16ColoursIsWithinTheErrorOf16EqualSquares) {
    // Red across, green down, blue still: every (red, green) pair of 0-255 once, filling a 256 x
    // 256 square of the red-green plane evenly. No 16 boxes do better than 16 squares of 64 x 64,
    // each shown by its centre: a gun spread evenly over 64 values has a mean squared error of
    // 64^2 / 12 about the middle, so the best mean squared error is 2 x 64^2 / 12 = 682.7 (26.1
    // as a distance). The guns' integer steps and rounding add under half a step a gun: allow 5
    // per cent more. Blue, the same everywhere, is kept. With blue 90 and 91 in a chequerboard
    // (131072 colours, cut by cells of 8 x 8 x 8 rather than colour by colour) it adds at most
    // 0.5^2.
    for (bool checked : {false, true}) {
        SCOPED_TRACE(checked);
        std::vector<Rgba8> pixels;
        for (unsigned i = 0; i < 65536; i++) {
            const unsigned x = i % 256, y = i / 256;
            pixels.push_back({static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y),
                              static_cast<std::uint8_t>(checked ? 90 + (x + y) % 2 : 90), 255});
        }
        const Picture p = colours(256, 256, pixels);
        const Picture r = picture::reduce(p, {16, false, None});
        ASSERT_EQ(r.palette.size(), 16u);
        EXPECT_LT(meanSquaredError(p, r), 2.0 * 64 * 64 / 12 * 1.05);
        for (const Rgb8 &c : r.palette) // 90.5 on the chequerboard, rounded either way
            EXPECT_TRUE(c.blue == 90 || (checked && c.blue == 91)) << int{c.blue};
    }
}

TEST(Reduce, DitheringKeepsTheMeanColourOfAFlatArea) {
    // 64 rows of grey 99 above 128 rows of black and 128 of white, in two colours. By pixel
    // weight (black 2/5, grey 1/5, white 2/5) grey goes with black (squared error 2 x 33^2 +
    // 66^2 = 6534 against 104^2 + 2 x 52^2 = 16224 with white): the colours are
    // (0 x 2 + 99 x 1) / 3 = 33 and 255, neither near 99.
    std::vector<Rgba8> pixels;
    for (unsigned i = 0; i < 64 * 320; i++) {
        const std::uint8_t v = i < 64 * 64 ? 99 : i < 64 * 192 ? 0 : 255;
        pixels.push_back({v, v, v, 255});
    }
    const Picture p = colours(64, 320, pixels);
    auto meanOfGrey = [](const Picture &r) {
        const std::vector<Rgb8> shown = picture::render(r);
        double sum = 0;
        for (size_t i = 0; i < 64 * 64; i++)
            sum += shown[i].red;
        return sum / (64 * 64);
    };
    // Floyd-Steinberg passes every pixel's error on, so over the grey rows only the error that
    // leaves below them is lost: under 255 - 33 for each of the 64 columns, 222 x 64 / 4096 =
    // 3.5 on the mean, within half a 12-bit step (17 / 2).
    // The ordered dither: the map's spacing is 222 a gun (the two greys' distance, 222 x sqrt 3,
    // over sqrt 3); the Bayer entry b adds round((b + 1/2) / 64 x 222 - 111) = round(3.469 b -
    // 109.27): 43 for b = 44, 47 for b = 45. 99 plus that is nearer 33 than 255 up to 144 (a tie
    // goes to 33), so b of 0-44 show 33 and the other 19 of the 64 thresholds 255:
    // (45 x 33 + 19 x 255) / 64 = 98.906 over every 8 x 8.
    const struct {
        picture::Dither dither;
        double mean, within;
    } cases[] = {{None, 33, 0.01}, {Diffuse, 99, 8.5}, {Ordered, 6330.0 / 64, 0.001}};
    for (const auto &c : cases) {
        const Picture r = picture::reduce(p, {2, false, c.dither});
        ASSERT_EQ(r.palette, (std::vector<Rgb8>{{33, 33, 33}, {255, 255, 255}}));
        EXPECT_NEAR(meanOfGrey(r), c.mean, c.within) << static_cast<int>(c.dither);
    }
}

TEST(Reduce, IndexedPicturesThatFitComeBackAsTheyAreAndKeepTheirScreenMode) {
    // For OCS a map of 24-bit colours does not fit: its colours are rounded, each gun to the
    // nearest n x 17 ($12 -> $11, $34 -> $33, $56 -> $55, $ee -> $ee, $01 -> $00), and numbered
    // as they first appear.
    const std::vector<Rgb8> twelve{{0x11, 0x33, 0x55}, {0xff, 0xee, 0x00}},
        full{{0x12, 0x34, 0x56}, {0xff, 0xee, 0x01}};
    const struct {
        std::vector<Rgb8> palette;
        bool twelveBit;
        std::vector<Rgb8> colours;
        std::vector<std::uint8_t> pixels;
    } fits[] = {
        {full, false, full, {1, 0}},
        {twelve, true, twelve, {1, 0}},
        {full, true, {twelve[1], twelve[0]}, {0, 1}},
    };
    for (const auto &c : fits) {
        const Picture r = picture::reduce(madepictures::indexedPicture(2, {1, 0}, c.palette),
                                          {2, c.twelveBit, Diffuse});
        EXPECT_EQ(std::tie(r.pixels, r.palette), std::tie(c.pixels, c.colours)) << c.twelveBit;
    }

    // Reduced, a picture keeps its resolution, interlace and pixel shape but not HAM or EHB.
    // CAMG bits (Hardware Reference Manual, BPLCON0 as the ILBM stores it): $8000 hires, $0800
    // HAM, $0080 EHB, $0004 interlace.
    std::vector<Rgb8> reds;
    std::vector<std::uint8_t> ramp;
    for (unsigned i = 0; i < 40; i++) {
        reds.push_back({static_cast<std::uint8_t>(i * 6), 0, 0});
        ramp.push_back(static_cast<std::uint8_t>(i));
    }
    const struct {
        picture::DisplayMode mode;
        std::uint32_t camg, kept;
        unsigned xAspect;
    } modes[] = {
        {picture::DisplayMode::Ham6, 0x8804, 0x8004, 20},
        {picture::DisplayMode::ExtraHalfbrite, 0x0080, 0, 10},
        {picture::DisplayMode::Indexed, 0x8000, 0x8000, 5},
    };
    for (const auto &c : modes) {
        Picture p = madepictures::indexedPicture(40, ramp, reds, c.mode);
        p.viewportMode = c.camg;
        p.hasViewportMode = true;
        p.xAspect = c.xAspect;
        p.yAspect = 11;
        const Picture r = picture::reduce(p, {4, true, None});
        EXPECT_EQ(std::tuple(r.mode, r.viewportMode, r.hasViewportMode, r.xAspect, r.yAspect),
                  std::tuple(picture::DisplayMode::Indexed, c.kept, true, c.xAspect, 11u))
            << c.camg;
    }
}

TEST(Reduce, MapsKeepPicturesAtLeastAsWellAsPngquant) {
    // Floors from pngquant 2.17 (--nofs, default speed) on the same pictures, PSNR in dB over the
    // three guns without dithering: 24-bit maps at least as good as pngquant's; 12-bit maps
    // 0.5 dB above pngquant's map with its colours rounded to 12 bits (each gun to the nearest
    // n x 17), its pixels' numbers kept.
    const Picture photo = madepictures::photoLike(64, 64, 3);
    const Picture drawing = madepictures::drawingLike(128, 96);
    const struct {
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
    for (const auto &c : cases) {
        const Picture r = picture::reduce(*c.picture, {c.colours, c.twelveBit, None});
        const double psnr = 10 * std::log10(255.0 * 255.0 * 3 / meanSquaredError(*c.picture, r));
        EXPECT_GE(psnr, c.pngquant + c.margin) << (c.picture == &photo ? "photo " : "drawing ")
                                               << c.colours << (c.twelveBit ? " OCS" : " AGA");
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
        for (Rgb8 &c : rounded.palette)
            c = {std::uint8_t((c.red + 8) / 17 * 17), std::uint8_t((c.green + 8) / 17 * 17),
                 std::uint8_t((c.blue + 8) / 17 * 17)};
        const Picture chosen = picture::reduce(photo, {asked, true, None});
        EXPECT_LT(meanSquaredError(photo, chosen), meanSquaredError(photo, rounded) * 0.97);
        const std::vector<Rgb8> &map = chosen.palette;
        ASSERT_TRUE(chosen.twelveBitPalette);
        for (const Rgb8 &c : map) // a 12-bit gun n shows as n x 17 ($f is 255)
            ASSERT_EQ(c.red % 17 + c.green % 17 + c.blue % 17, 0);

        // Moving colour c to p leaves a pixel of c at the nearer of p and its second nearest
        // colour, any other pixel at the nearer of p and its own.
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
                    std::find(map.begin(), map.end(), p) != map.end())
                    continue;
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
    for (unsigned i = 0; i < 32 * 16; i++)
        swapped.trueColour[i] = frame.trueColour[i / 32 * 32 + (i + 16) % 32];
    for (picture::Dither dither : {None, Diffuse, Ordered}) {
        for (bool twelveBit : {false, true}) {
            SCOPED_TRACE(testing::Message() << static_cast<int>(dither) << twelveBit);
            const Picture once = picture::reduce(frame, {16, twelveBit, dither});
            EXPECT_EQ(picture::reduce(frame, {16, twelveBit, dither}).pixels, once.pixels);
            if (dither == Diffuse)
                continue;
            const Picture other = picture::reduce(swapped, {16, twelveBit, dither});
            ASSERT_EQ(other.palette, once.palette);
            for (unsigned i = 0; i < 32 * 16; i++)
                ASSERT_EQ(other.pixels[i], once.pixels[i / 32 * 32 + (i + 16) % 32]) << i;
        }
    }
}

// A file read from its path (an ILBM's packed body in pieces) gives what its bytes give; reduced
// while it is read (a true-colour PNG decoded twice a row at a time, other pictures mapped in
// place) it gives what reducing the picture read whole gives, byte for byte; a file that cannot
// be read says what readPicture says.
TEST(ReadPictureFile, ReadFromTheFileAndReducedWhileReadGivesWhatTheBytesGive) {
    using namespace picturetest;
    using namespace iffbytes;
    std::mt19937 random(7);
    auto samples = [&](size_t count) {
        std::vector<unsigned> values(count);
        std::generate(values.begin(), values.end(), [&] { return random() % 256; });
        return values;
    };
    PngLayout interlaced = pngLayout(33, 17, PNG_COLOR_TYPE_RGB, 8, samples(33 * 17 * 3));
    interlaced.interlaced = true;
    const Bytes rgba = pngOf(pngLayout(40, 30, PNG_COLOR_TYPE_RGB_ALPHA, 8, samples(40 * 30 * 4)));
    // Literal rows whose bytes change with the row, so that a row read from the wrong place
    // shows; 12000 rows of 2 planes and a mask pack to 108000 bytes, more than one piece read.
    Bytes rows;
    for (unsigned y = 0; y < 12000 * 3; y++)
        append(rows, {0x01, static_cast<std::uint8_t>(y / 3 * 7 + y % 3),
                      static_cast<std::uint8_t>(y / 3)});
    const picture::Reduction plain{16, false, None};
    struct Case {
        std::string what;
        Bytes file;
        picture::Reduction reduction;
        bool fromFile; // reduced from the file, not the bytes
    };
    std::vector<Case> cases = {
        {"RGBA, diffused", rgba, {16, false, Diffuse}, false},
        {"RGBA, ordered, 12-bit", rgba, {16, true, Ordered}, true},
        {"RGBA, plain", rgba, {5, false, None}, true},
        // Past 65536 colours the colours are counted in cells.
        {"many colours",
         pngOf(pngLayout(300, 300, PNG_COLOR_TYPE_RGB, 8, samples(300 * 300 * 3))),
         {24, false, Diffuse},
         true},
        {"interlaced", pngOf(interlaced), {16, false, Diffuse}, true},
        {"ILBM in pieces", group("FORM", "ILBM", {bmhd(16, 12000, 2, 1, 1), chunk("BODY", rows)}),
         plain, true},
    };
    // Every file of read_test's cases: PNGs of every kind, kept or mapped in place; IFF files
    // packed or not, short, masked, after another picture.
    for (const char *file : {"/iff_pictures.txt", "/png_pictures.txt"}) {
        for (const auto &[name, fields] :
             casefiles::read(QUILLFEN_PICTURE_DATA + std::string(file)))
            cases.push_back({name, casefiles::fileOf(fields), {16, false, Diffuse}, true});
    }
    const Folder folder;
    const std::string path = folder.file("p");
    for (const auto &c : cases) {
        ASSERT_TRUE(iffbytes::save(path, c.file));
        for (unsigned index : {0u, 1u}) {
            SCOPED_TRACE(testing::Message() << c.what << ", picture " << index);
            std::string error, fileError, reducedError;
            const std::optional<Picture> read = picture::readPicture(c.file, &error, index);
            const auto fromFile = picture::readPicture(Bytes(c.file), &fileError, index, path);
            const auto reduced = picture::readReducedPicture(
                Bytes(c.file), c.reduction, &reducedError, index, c.fromFile ? path : "");
            ASSERT_EQ(std::tuple(fromFile.has_value(), reduced.has_value()),
                      std::tuple(read.has_value(), read.has_value()));
            if (!read) {
                EXPECT_EQ(std::tie(fileError, reducedError), std::tie(error, error));
                continue;
            }
            EXPECT_EQ(std::tie(fromFile->pixels, fromFile->opacity, fromFile->trueColour),
                      std::tie(read->pixels, read->opacity, read->trueColour));
            const Picture whole = picture::reduce(*read, c.reduction);
            EXPECT_EQ(std::tie(reduced->pixels, reduced->palette, reduced->transparentColours,
                               reduced->warnings, reduced->width, reduced->height, reduced->depth,
                               reduced->mode, reduced->twelveBitPalette),
                      std::tie(whole.pixels, whole.palette, whole.transparentColours,
                               whole.warnings, whole.width, whole.height, whole.depth, whole.mode,
                               whole.twelveBitPalette));
        }
    }
    // A file's sentence names it.
    ASSERT_TRUE(iffbytes::save(path, iffbytes::text("not a picture")));
    std::string error;
    EXPECT_FALSE(picture::readPictureFile(path, &error));
    EXPECT_EQ(error.rfind("'" + path + "': ", 0), 0u) << error;
}
