// quillfen-iff raw: the planes, masks and chunky bytes of ILBMs, PBMs and PNGs, and the colours
// of true-colour PNGs reduced first. The bytes expected are worked out from the pictures' pixels
// (testing.h), as the Hardware Reference Manual lays out planes and blitter masks.
#include "testing.h"

#include <gtest/gtest.h>

#include <set>

using namespace ifftool;
using iffbytes::bmhd;
using iffbytes::chunk;
using iffbytes::group;
using iffbytes::save;

namespace {

// 20 x 3 (two words a row, the last 12 bits padding), colours 0-4 of a map of 8.
Indexed fiveColours() {
    Indexed picture{20, 3, {}, {}};
    for (unsigned y = 0; y < picture.height; y++) {
        for (unsigned x = 0; x < picture.width; x++) {
            picture.pixels.push_back(static_cast<std::uint8_t>((x + 2 * y) % 5));
        }
    }
    for (std::uint8_t i = 0; i < 8; i++) {
        picture.palette.push_back({static_cast<std::uint8_t>(i * 0x20), 0x40, 0xf0});
    }
    return picture;
}

std::string raw(const std::string &options, const std::string &in, const std::string &out) {
    const testprogram::Outcome outcome = tool("raw " + options + " " + in + " " + out);
    EXPECT_EQ(outcome.status, 0) << options << ": " << outcome.err;
    return outcome.err;
}

} // namespace

TEST(QuillfenIffRaw, FromTheStandardInputToTheStandardOutput) {
    Folder folder;
    const Indexed picture = fiveColours();
    savePng(folder.file("p.png"), picture, 4);
    const std::string piped = std::string(QUILLFEN_IFF_TOOL) + " raw --mask - - <" +
                              folder.file("p.png") + " >" + folder.file("piped.raw");
    EXPECT_EQ(std::system(piped.c_str()), 0);
    EXPECT_EQ(load(folder.file("piped.raw")), expectedPlanes(picture, 3, true, Mask::After));
}

TEST(QuillfenIffRaw, AnIlbmAndTheSamePictureAsPngGiveTheSameBytes) {
    Folder folder;
    const Indexed picture = fiveColours();
    save(folder.file("p.iff"), ilbmOf(picture, 3));
    savePng(folder.file("p8.png"), picture, 8);
    savePng(folder.file("p4.png"), picture, 4);
    struct Case {
        const char *options;
        Bytes expected;
    } cases[] = {
        {"", expectedPlanes(picture, 3, true, Mask::None)},
        {"--planar", expectedPlanes(picture, 3, false, Mask::None)},
        {"--mask", expectedPlanes(picture, 3, true, Mask::After)},
        {"--mask=inverted", expectedPlanes(picture, 3, true, Mask::After, {0}, true)},
        {"--mask-only", expectedPlanes(picture, 3, true, Mask::Only)},
        {"--planar --mask", expectedPlanes(picture, 3, false, Mask::After)},
        {"--planar --mask-only=inverted", expectedPlanes(picture, 3, false, Mask::Only, {0}, true)},
        {"--depth 4 --mask", expectedPlanes(picture, 4, true, Mask::After)},
        {"--transparent 3 --mask", expectedPlanes(picture, 3, true, Mask::After, {3})},
        {"--transparent=4 --planar --mask-only",
         expectedPlanes(picture, 3, false, Mask::Only, {4})},
        {"--chunky", Bytes(picture.pixels.begin(), picture.pixels.end())},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.options);
        for (const char *input : {"p.iff", "p8.png", "p4.png"}) {
            const std::string out = folder.file(std::string(input) + ".raw");
            raw(c.options, folder.file(input), out);
            EXPECT_EQ(load(out), c.expected) << input;
        }
    }
    // Fewer planes than the colours need: the higher bits are dropped, with a warning.
    for (const char *input : {"p.iff", "p8.png"}) {
        const std::string err = raw("--depth 2", folder.file(input), folder.file("two.raw"));
        Indexed low = picture;
        for (std::uint8_t &pixel : low.pixels) {
            pixel &= 3;
        }
        EXPECT_EQ(load(folder.file("two.raw")), expectedPlanes(low, 2, true, Mask::None));
        EXPECT_NE(err.find("Colour numbers up to 4 need more than 2 planes"), std::string::npos)
            << err;
        // Chunky bytes keep the same two bits.
        raw("--depth 2 --chunky", folder.file(input), folder.file("two.chunky"));
        EXPECT_EQ(load(folder.file("two.chunky")), Bytes(low.pixels.begin(), low.pixels.end()));
    }
}

TEST(QuillfenIffRaw, TheMaskComesFromThePicturesOwnMaskOrTransparentColour) {
    Folder folder;
    const Indexed picture = fiveColours();
    // An ILBM with a mask plane (masking 1): each BODY row's plane rows and then its mask row,
    // which is what --mask writes back; the mask here is a pattern of its own, not colour 0.
    Bytes body;
    Bytes mask;
    for (unsigned y = 0; y < picture.height; y++) {
        for (unsigned p = 0; p < 3; p++) {
            iffbytes::append(body, planeRow(picture, y, p));
        }
        const Bytes row = {static_cast<std::uint8_t>(0xa5 + y), 0x3c, 0xf0, 0x00};
        iffbytes::append(body, row);
        iffbytes::append(mask, row);
    }
    save(folder.file("masked.iff"),
         group("FORM", "ILBM", {bmhd(20, 3, 3, 1), chunk("BODY", body)}));
    raw("--mask", folder.file("masked.iff"), folder.file("m.raw"));
    EXPECT_EQ(load(folder.file("m.raw")), body);
    raw("--mask-only --planar", folder.file("masked.iff"), folder.file("o.raw"));
    EXPECT_EQ(load(folder.file("o.raw")), mask);
    // Without options the mask plane is left out, as raw always did.
    raw("", folder.file("masked.iff"), folder.file("n.raw"));
    EXPECT_EQ(load(folder.file("n.raw")), expectedPlanes(picture, 3, true, Mask::None));
    // --transparent overrides the picture's own mask.
    raw("--transparent 2 --mask", folder.file("masked.iff"), folder.file("t.raw"));
    EXPECT_EQ(load(folder.file("t.raw")), expectedPlanes(picture, 3, true, Mask::After, {2}));

    // An ILBM whose transparent colour is 3 (masking 2), and a PNG whose colour 1 has alpha 0.
    Bytes cmap;
    for (const Colour &c : picture.palette) {
        iffbytes::append(cmap, {c.r, c.g, c.b});
    }
    save(folder.file("colour.iff"),
         group("FORM", "ILBM",
               {bmhd(20, 3, 3, 2, 0, 0, 3), chunk("CMAP", cmap),
                chunk("BODY", expectedPlanes(picture, 3, true, Mask::None))}));
    raw("--mask", folder.file("colour.iff"), folder.file("c.raw"));
    EXPECT_EQ(load(folder.file("c.raw")), expectedPlanes(picture, 3, true, Mask::After, {3}));
    savePng(folder.file("alpha.png"), picture, 8, {255, 0, 255});
    raw("--mask-only", folder.file("alpha.png"), folder.file("a.raw"));
    EXPECT_EQ(load(folder.file("a.raw")), expectedPlanes(picture, 3, true, Mask::Only, {1}));
}

TEST(QuillfenIffRaw, APbmGivesItsPlanes) {
    // A chunky PBM of 8 planes: rows of one byte a pixel (an even number of them).
    Folder folder;
    const Indexed picture = fiveColours();
    save(folder.file("p.pbm"), group("FORM", "PBM ",
                                     {bmhd(20, 3, 8), chunk("BODY", Bytes(picture.pixels.begin(),
                                                                          picture.pixels.end()))}));
    raw("", folder.file("p.pbm"), folder.file("p.raw"));
    EXPECT_EQ(load(folder.file("p.raw")), expectedPlanes(picture, 8, true, Mask::None));
    raw("--planar --depth 3 --mask", folder.file("p.pbm"), folder.file("d.raw"));
    EXPECT_EQ(load(folder.file("d.raw")), expectedPlanes(picture, 3, false, Mask::After));
}

TEST(QuillfenIffRaw, TrueColourIsRefusedUnlessReduced) {
    Folder folder;
    // 16 x 16 colours, all different: red across, green down.
    std::vector<std::uint32_t> colours;
    for (unsigned y = 0; y < 16; y++) {
        for (unsigned x = 0; x < 16; x++) {
            colours.push_back((x * 16 + 8) << 16 | (y * 16 + 8) << 8 | 0x80);
        }
    }
    const std::string photo = folder.file("photo.png");
    saveRgbPng(photo, 16, 16, colours);
    for (const char *command : {"raw", "sprite", "ilbm"}) {
        const std::string out = folder.file(std::string(command) + ".out");
        const testprogram::Outcome refused = tool(std::string(command) + " " + photo + " " + out);
        EXPECT_EQ(refused.status, 1) << command;
        EXPECT_NE(refused.err.find("'" + photo +
                                   "' is a true-colour picture of 256 colours; save it as an "
                                   "indexed PNG or ask for --reduce N"),
                  std::string::npos)
            << refused.err;
        EXPECT_FALSE(exists(out)) << command;
    }
    EXPECT_EQ(tool("palette --format words " + photo).status, 1);

    for (const char *options : {"--reduce 32", "--reduce 32 --dither",
                                "--reduce 32 --dither=ordered", "--reduce 7 --chipset aga"}) {
        SCOPED_TRACE(options);
        const unsigned most = std::string(options).find("7") != std::string::npos ? 7 : 32;
        raw(std::string(options) + " --chunky", photo, folder.file("c.raw"));
        const Bytes chunky = load(folder.file("c.raw"));
        ASSERT_EQ(chunky.size(), 256u);
        std::set<std::uint8_t> used(chunky.begin(), chunky.end());
        EXPECT_LE(used.size(), most);
        EXPECT_LT(*used.rbegin(), most);
        succeeds("palette --format rgb8 --binary " + std::string(options) + " " + photo + " " +
                 folder.file("p.bin"));
        EXPECT_LE(load(folder.file("p.bin")).size(), most * 4);
    }

    // A picture of no more colours than asked for keeps them exactly (AGA: 24-bit colours):
    // every pixel's colour number names its colour in the new map.
    const std::vector<std::uint32_t> three = {0x123456, 0xfedcba, 0x0080ff, 0x123456};
    saveRgbPng(folder.file("three.png"), 2, 2, three);
    raw("--reduce 4 --chipset aga --chunky", folder.file("three.png"), folder.file("t.raw"));
    succeeds("palette --reduce 4 --chipset aga --format rgb8 --binary " + folder.file("three.png") +
             " " + folder.file("t.pal"));
    const Bytes numbers = load(folder.file("t.raw"));
    const Bytes map = load(folder.file("t.pal"));
    ASSERT_EQ(numbers.size(), 4u);
    for (size_t i = 0; i < 4; i++) {
        ASSERT_LT(numbers[i] * 4u + 3, map.size());
        const std::uint32_t colour = static_cast<std::uint32_t>(
            map[numbers[i] * 4 + 1] << 16 | map[numbers[i] * 4 + 2] << 8 | map[numbers[i] * 4 + 3]);
        EXPECT_EQ(colour, three[i]) << i;
    }
}

TEST(QuillfenIffRaw, RealPicturesGiveTheSamePlanesEitherWay) {
    // Pictures from other programs (tests/ilbm/pictures): raw without options copies the planes
    // as stored; with --depth it decodes the pixels and lays them out again. Both must agree.
    // (small-24bit.iff is left out: its BODY holds bits in the padding past its 10 pixels,
    // which a copy keeps and a new layout clears.)
    Folder folder;
    const struct {
        const char *name;
        unsigned depth;
    } pictures[] = {{"brush-transparent-color.iff", 3},
                    {"gradient.iff", 3},
                    {"ham6.iff", 6},
                    {"serenity-24bit.iff", 24},
                    {"test-stencil.iff", 8}};
    for (const auto &p : pictures) {
        SCOPED_TRACE(p.name);
        const std::string picture = std::string(QUILLFEN_PICTURES) + "/" + p.name;
        raw("", picture, folder.file("stored.raw"));
        raw("--depth " + std::to_string(p.depth), picture, folder.file("laid.raw"));
        EXPECT_EQ(load(folder.file("laid.raw")), load(folder.file("stored.raw")));
    }
}

TEST(QuillfenIffRaw, PlanesAndPaletteComeFromOnePictureTheFirstUnlessNamed) {
    Folder folder;
    const Indexed first = fiveColours();
    Indexed second = first;
    for (std::uint8_t &pixel : second.pixels) {
        pixel = static_cast<std::uint8_t>(4 - pixel);
    }
    for (Colour &colour : second.palette) {
        colour = {0x10, static_cast<std::uint8_t>(colour.r + 1), 0x20};
    }
    save(folder.file("two.iff"), group("CAT ", "ILBM", {ilbmOf(first, 3), ilbmOf(second, 3)}));
    auto rgb8 = [](const Indexed &picture) {
        Bytes bytes;
        for (const Colour &c : picture.palette) {
            bytes.insert(bytes.end(), {0, c.r, c.g, c.b});
        }
        return bytes;
    };
    struct Case {
        const char *option;
        const Indexed &picture;
    };
    for (const Case &c :
         {Case{"", first}, Case{"--picture 1", first}, Case{"--picture 2", second}}) {
        SCOPED_TRACE(c.option);
        raw(c.option, folder.file("two.iff"), folder.file("planes.raw"));
        EXPECT_EQ(load(folder.file("planes.raw")), expectedPlanes(c.picture, 3, true, Mask::None));
        // Through the picture library too (--chunky reads it there), the same picture.
        raw(std::string(c.option) + " --chunky", folder.file("two.iff"), folder.file("chunky.raw"));
        EXPECT_EQ(load(folder.file("chunky.raw")),
                  Bytes(c.picture.pixels.begin(), c.picture.pixels.end()));
        EXPECT_EQ(tool(std::string("palette --format rgb8 --binary ") + c.option + " " +
                       folder.file("two.iff") + " " + folder.file("palette.bin"))
                      .status,
                  0);
        EXPECT_EQ(load(folder.file("palette.bin")), rgb8(c.picture));
    }
    const testprogram::Outcome third = tool("raw --picture 3 " + folder.file("two.iff") + " -");
    EXPECT_EQ(third.status, 1);
    EXPECT_NE(third.err.find("holds 2 pictures, there is no picture 3"), std::string::npos)
        << third.err;
}
