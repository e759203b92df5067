// The library against netpbm's independent readers: every picture ilbmtoppm or pngtopnm shows,
// this library shows the same; every file ilbmtoppm refuses, this library refuses with a sentence.
#include "picture/picture.h"
#include "picture_files.h"

#include <gtest/gtest.h>

#include <random>

using namespace picturetest;

namespace {

bool havePeer() {
    return std::system("command -v ilbmtoppm >/dev/null && command -v ppmtoilbm >/dev/null && "
                       "command -v pnmtopng >/dev/null") == 0;
}

#define REQUIRE_PEER()                                                                             \
    if (!havePeer()) {                                                                             \
        GTEST_SKIP() << "netpbm is not installed (scripts/install-deps installs it)";              \
    }

std::vector<Rgb> shown(const picture::Picture &p) {
    std::vector<Rgb> pixels;
    for (const amiga::Rgb8 &c : picture::render(p)) {
        pixels.push_back({c.red, c.green, c.blue});
    }
    return pixels;
}

// The peer's view of a file: ilbmtoppm's (or another netpbm reader's) pixels, or false when it
// refuses the file.
bool peerPixels(const std::string &command, const std::string &path, const Folder &folder,
                unsigned *width, unsigned *height, std::vector<Rgb> *pixels) {
    return run(command + " '" + path + "' >" + folder.file("peer.ppm")) == 0 &&
           readPpm(folder.file("peer.ppm"), width, height, pixels);
}

void expectSameAsPeer(const std::string &path, const Folder &folder, bool fourBits = false) {
    unsigned width = 0, height = 0;
    std::vector<Rgb> reference;
    ASSERT_TRUE(peerPixels("ilbmtoppm", path, folder, &width, &height, &reference));
    std::string error;
    const auto read = picture::readPictureFile(path, &error);
    ASSERT_TRUE(read) << error;
    ASSERT_EQ(read->width, width);
    ASSERT_EQ(read->height, height);
    const std::vector<Rgb> pixels = shown(*read);
    const std::uint8_t kept = fourBits ? 0xf0 : 0xff; // the bits of the guns that must agree
    auto cut = [kept](const Rgb &c) {
        return Rgb{static_cast<std::uint8_t>(c.r & kept), static_cast<std::uint8_t>(c.g & kept),
                   static_cast<std::uint8_t>(c.b & kept)};
    };
    for (size_t i = 0; i < pixels.size(); i++) {
        const Rgb expected = cut(reference[i]);
        const Rgb got = cut(pixels[i]);
        ASSERT_EQ(got, expected) << "pixel " << i % width << "," << i / width;
    }
}

} // namespace

TEST(PeerIlbm, RealPicturesShowAsIlbmtoppmShowsThem) {
    REQUIRE_PEER();
    // Pictures written by other programs (tests/ilbm/pictures/SOURCES.md).
    Folder folder;
    struct Case {
        const char *name;
        picture::Source source;
        const char *mode;
    };
    const Case cases[] = {
        {"brush-transparent-color.iff", picture::Source::Ilbm, "indexed"},
        {"gradient.iff", picture::Source::Ilbm, "indexed"},
        {"gradient-uncompressed.iff", picture::Source::Ilbm, "indexed"},
        {"ham6.iff", picture::Source::Ilbm, "HAM6"},
        {"serenity-24bit.iff", picture::Source::Ilbm, "24-bit"},
        {"small-24bit.iff", picture::Source::Ilbm, "24-bit"},
        {"test-stencil.iff", picture::Source::Ilbm, "indexed"},
        {"serenity.lbm", picture::Source::Pbm, "indexed"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = std::string(QUILLFEN_PICTURES) + "/" + c.name;
        // HAM6 is shown as OCS/ECS shows it, 4 bits a gun (n x 17); ilbmtoppm keeps the low
        // nibble of the colour held, so the guns agree in the bits the chip has.
        const bool ham = std::string(c.mode) == "HAM6";
        expectSameAsPeer(path, folder, ham);
        std::string error;
        const auto read = picture::readPictureFile(path, &error);
        ASSERT_TRUE(read);
        EXPECT_EQ(read->source, c.source);
        EXPECT_EQ(picture::describeMode(*read), c.mode);
    }
    // What the masked and the transparent-colour pictures say about their transparency.
    const auto stencil =
        picture::readPictureFile(std::string(QUILLFEN_PICTURES) + "/test-stencil.iff", nullptr);
    ASSERT_TRUE(stencil);
    EXPECT_EQ(stencil->opacity.size(), 320u * 200u);
    const auto brush = picture::readPictureFile(
        std::string(QUILLFEN_PICTURES) + "/brush-transparent-color.iff", nullptr);
    ASSERT_TRUE(brush);
    EXPECT_EQ(brush->transparentColours.size(), 1u);
}

TEST(PeerIlbm, BrokenFilesAreRefusedAsIlbmtoppmRefusesThem) {
    REQUIRE_PEER();
    Folder folder;
    for (const char *name : {"incorrect-cmap-size.iff", "incorrect-uncompressed-size.iff",
                             "missing-body-chunk.iff", "oss-fuzz-testcase-62033.iff",
                             "oss-fuzz-testcase-63296.iff", "truncated-bmhd-chunk.iff"}) {
        SCOPED_TRACE(name);
        const std::string path = std::string(QUILLFEN_PICTURES) + "/" + name;
        unsigned width = 0, height = 0;
        std::vector<Rgb> reference;
        EXPECT_FALSE(peerPixels("ilbmtoppm", path, folder, &width, &height, &reference));
        std::string error;
        EXPECT_FALSE(picture::readPictureFile(path, &error));
        EXPECT_EQ(error.rfind("'" + path + "': ", 0), 0u) << error;
        EXPECT_EQ(error.back(), '.');
    }
}

TEST(PeerIlbm, ExtraHalfBriteAsIlbmtoppmShowsIt) {
    REQUIRE_PEER();
    using namespace iffbytes;
    // 64 x 2 pixels, every value 0-63 in each row, over 32 colours of every kind of gun.
    std::vector<std::uint32_t> colours, values;
    std::mt19937 random(7);
    for (unsigned i = 0; i < 32; i++) {
        colours.push_back(random() & 0xffffff);
    }
    for (unsigned i = 0; i < 128; i++) {
        values.push_back((i * 5) % 64);
    }
    Folder folder;
    ASSERT_TRUE(iffbytes::save(folder.file("ehb.iff"),
                               group("FORM", "ILBM",
                                     {bmhd(64, 2, 6), cmapOf(colours), camgOf(0x80),
                                      chunk("BODY", interleavedBody(64, 2, 6, values))})));
    expectSameAsPeer(folder.file("ehb.iff"), folder);
}

TEST(PeerIlbm, ShamAndPchgPicturesAsIlbmtoppmShowsThem) {
    REQUIRE_PEER();
    using namespace iffbytes;
    const unsigned width = 40, height = 9;
    std::mt19937 random(11);
    // A HAM row's first pixel modifies COLOR00 on the Amiga (HRM, "Hold-and-Modify Mode"),
    // which ilbmtoppm does not do; here every row starts from a register, as HAM pictures do.
    auto pixels = [&](unsigned planes) {
        std::vector<std::uint32_t> values;
        for (unsigned i = 0; i < width * height; i++) {
            values.push_back(random() % (i % width == 0 ? 16 : 1u << planes));
        }
        return values;
    };
    std::vector<std::uint32_t> colours;
    for (unsigned i = 0; i < 32; i++) {
        colours.push_back(random() & 0xf0f0f0);
    }
    // SHAM: a palette of 16 random 12-bit colours for every line.
    Bytes sham = be16(0);
    for (unsigned i = 0; i < 16 * height; i++) {
        append(sham, be16(static_cast<std::uint16_t>(random() & 0xfff)));
    }
    // PCHG: lines 0, 3, 4 and 8 change random registers, small (12-bit, 0-31) or big (24-bit).
    PchgHeader small;
    small.lineCount = height;
    small.changedLines = 4;
    small.maxChanges = 3;
    small.totalChanges = 12;
    PchgHeader big = small;
    big.flags = 2;
    Bytes smallData = be32(0x98800000), bigData = be32(0x98800000); // lines 0, 3, 4, 8
    for (unsigned line = 0; line < 4; line++) {
        append(smallData, {2, 1});
        append(bigData, be16(3));
        for (unsigned c = 0; c < 3; c++) {
            const unsigned reg = random() % 16;
            append(smallData, be16(static_cast<std::uint16_t>(reg << 12 | (random() & 0xfff))));
            append(bigData, cat({be16(static_cast<std::uint16_t>(random() % 32)), {0}}));
            for (int gun = 0; gun < 3; gun++) {
                bigData.push_back(static_cast<unsigned char>(random()));
            }
        }
    }
    PchgHeader packed = small;
    packed.compression = 1;
    struct Case {
        const char *name;
        unsigned planes;
        std::uint32_t camg;
        Bytes changes;
    } cases[] = {
        {"SHAM, HAM6", 6, 0x800, chunk("SHAM", sham)},
        {"PCHG small", 5, 0, pchg(small, smallData)},
        {"PCHG big", 5, 0, pchg(big, bigData)},
        {"PCHG small, Huffman-coded", 5, 0, pchg(packed, pchgHuffman(smallData))},
    };
    Folder folder;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(iffbytes::save(
            folder.file("lines.iff"),
            group("FORM", "ILBM",
                  {bmhd(width, height, c.planes), cmapOf(colours), camgOf(c.camg), c.changes,
                   chunk("BODY", interleavedBody(width, height, c.planes, pixels(c.planes)))})));
        const auto read = picture::readPictureFile(folder.file("lines.iff"), nullptr);
        ASSERT_TRUE(read);
        EXPECT_FALSE(read->colourChanges.empty());
        EXPECT_TRUE(read->warnings.empty()) << read->warnings[0];
        expectSameAsPeer(folder.file("lines.iff"), folder, c.camg != 0);
    }
}

TEST(PeerIlbm, Ham8AndHam6AsPpmtoilbmWritesThem) {
    REQUIRE_PEER();
    Folder folder;
    // A photo-like picture: smooth gradients that HAM follows gun by gun.
    const unsigned width = 97, height = 23;
    std::string ppm = "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
    for (unsigned y = 0; y < height; y++) {
        for (unsigned x = 0; x < width; x++) {
            ppm += static_cast<char>(x * 255 / width);
            ppm += static_cast<char>(y * 11);
            ppm += static_cast<char>((x * y) % 256);
        }
    }
    ASSERT_TRUE(iffbytes::save(folder.file("in.ppm"), Bytes(ppm.begin(), ppm.end())));
    for (const char *option : {"-ham8", "-ham6"}) {
        SCOPED_TRACE(option);
        ASSERT_EQ(run(std::string("ppmtoilbm ") + option + " " + folder.file("in.ppm") + " >" +
                      folder.file("ham.iff")),
                  0);
        const auto read = picture::readPictureFile(folder.file("ham.iff"), nullptr);
        ASSERT_TRUE(read);
        const bool eight = std::string(option) == "-ham8";
        EXPECT_EQ(picture::describeMode(*read), eight ? "HAM8" : "HAM6");
        expectSameAsPeer(folder.file("ham.iff"), folder, !eight);
    }
}

TEST(PeerPng, PicturesPnmtopngWritesShowAsPngtopnmShowsThem) {
    REQUIRE_PEER();
    Folder folder;
    const unsigned width = 29, height = 7;
    std::mt19937 random(3);
    // Few colours (pnmtopng makes a palette PNG), greys (a grey PNG), many colours (an RGB PNG,
    // which -force keeps from becoming a palette).
    std::string few = "P6\n29 7\n255\n", grey = "P5\n29 7\n255\n", many = "P6\n29 7\n255\n";
    const unsigned char palette[5][3] = {
        {0, 0, 0}, {255, 0, 0}, {12, 34, 56}, {255, 255, 255}, {1, 2, 3}};
    for (unsigned i = 0; i < width * height; i++) {
        const unsigned char *c = palette[random() % 5];
        few.append(reinterpret_cast<const char *>(c), 3);
        grey += static_cast<char>(random() % 4 * 85);
        for (int k = 0; k < 3; k++) {
            many += static_cast<char>(random());
        }
    }
    struct Case {
        const char *name;
        const std::string *pnm;
        const char *options;
        bool indexed;
    };
    const Case cases[] = {{"palette", &few, "", true},
                          {"palette, interlaced", &few, "-interlace", true},
                          {"grey", &grey, "", true},
                          {"RGB", &many, "-force", false},
                          {"RGB, interlaced", &many, "-force -interlace", false}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(iffbytes::save(folder.file("in.pnm"), Bytes(c.pnm->begin(), c.pnm->end())));
        ASSERT_EQ(run(std::string("pnmtopng ") + c.options + " " + folder.file("in.pnm") + " >" +
                      folder.file("out.png")),
                  0);
        unsigned w = 0, h = 0;
        std::vector<Rgb> reference;
        // pngtopnm gives a grey PNG as a PGM of its own maxval: taken to 255 and to RGB.
        ASSERT_TRUE(peerPixels("sh -c 'pngtopnm \"$0\" | pamdepth 255 | ppmtoppm'",
                               folder.file("out.png"), folder, &w, &h, &reference));
        std::string error;
        const auto read = picture::readPictureFile(folder.file("out.png"), &error);
        ASSERT_TRUE(read) << error;
        EXPECT_EQ(read->pixels.empty(), !c.indexed);
        EXPECT_EQ(shown(*read), reference);
    }
}

TEST(PeerIlbm, IlbmBytesOfAPngShowAsIlbmtoppmShowsThem) {
    REQUIRE_PEER();
    Folder folder;
    std::mt19937 random(11);
    for (unsigned colours : {2u, 7u, 32u, 200u}) {
        SCOPED_TRACE(colours);
        const unsigned width = 45 + colours, height = 9;
        std::vector<Rgb> palette;
        for (unsigned i = 0; i < colours; i++) {
            palette.push_back({static_cast<std::uint8_t>(random()),
                               static_cast<std::uint8_t>(random()), static_cast<std::uint8_t>(i)});
        }
        std::string ppm = "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
        std::vector<Rgb> pixels;
        for (unsigned i = 0; i < width * height; i++) {
            const Rgb c = palette[i < colours ? i : random() % colours];
            pixels.push_back(c);
            ppm += static_cast<char>(c.r);
            ppm += static_cast<char>(c.g);
            ppm += static_cast<char>(c.b);
        }
        ASSERT_TRUE(iffbytes::save(folder.file("in.ppm"), Bytes(ppm.begin(), ppm.end())));
        ASSERT_EQ(run("pnmtopng " + folder.file("in.ppm") + " >" + folder.file("in.png")), 0);
        std::string error;
        const auto png = picture::readPictureFile(folder.file("in.png"), &error);
        ASSERT_TRUE(png) << error;
        ASSERT_FALSE(png->pixels.empty());
        const Bytes ilbm = picture::ilbmBytes(*png, &error);
        ASSERT_FALSE(ilbm.empty()) << error;
        ASSERT_TRUE(iffbytes::save(folder.file("out.iff"), ilbm));
        unsigned w = 0, h = 0;
        std::vector<Rgb> reference;
        ASSERT_TRUE(peerPixels("ilbmtoppm", folder.file("out.iff"), folder, &w, &h, &reference));
        EXPECT_EQ(w, width);
        EXPECT_EQ(h, height);
        EXPECT_EQ(reference, pixels);
        const auto back = picture::readPicture(ilbm, &error);
        ASSERT_TRUE(back) << error;
        EXPECT_EQ(back->pixels, png->pixels);
    }
}

TEST(PeerPng, ATransparentColourPnmtopngNamesIsTheMapsTransparentColour) {
    REQUIRE_PEER();
    Folder folder;
    const std::string ppm = std::string("P6\n3 1\n255\n") + '\xff' + '\0' + '\0' + '\0' + '\xff' +
                            '\0' + '\0' + '\0' + '\xff';
    ASSERT_TRUE(iffbytes::save(folder.file("in.ppm"), Bytes(ppm.begin(), ppm.end())));
    ASSERT_EQ(run("pnmtopng -transparent =rgb:00/ff/00 " + folder.file("in.ppm") + " >" +
                  folder.file("out.png")),
              0);
    std::string error;
    const auto read = picture::readPictureFile(folder.file("out.png"), &error);
    ASSERT_TRUE(read) << error;
    ASSERT_FALSE(read->pixels.empty());
    ASSERT_EQ(read->transparentColours.size(), 1u);
    const unsigned green = read->transparentColours[0];
    ASSERT_LT(green, read->palette.size());
    EXPECT_EQ(read->palette[green], (amiga::Rgb8{0, 255, 0}));
    EXPECT_EQ(picture::opacityOf(*read), (std::vector<std::uint8_t>{255, 0, 255}));
}
