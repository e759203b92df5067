// The one differential runner against netpbm's independent readers and writers, over the
// picture corpus (tests/ilbm/pictures/SOURCES.md) and pictures netpbm writes: every picture
// ilbmtoppm or pngtopnm shows, the libraries (iff, ilbm, picture) show the same; every file
// ilbmtoppm refuses, they refuse with a sentence; every ILBM they write, ilbmtoppm shows as the
// picture it came from.
#include "picture/picture.h"
#include "picture_files.h"

#include <gtest/gtest.h>

#include <random>
#include <tuple>

using namespace picturetest;

namespace {

#define REQUIRE_PEER()                                                                             \
    if (std::system("command -v ilbmtoppm >/dev/null && command -v ppmtoilbm >/dev/null && "       \
                    "command -v pnmtopng >/dev/null") != 0) {                                      \
        GTEST_SKIP() << "netpbm is not installed (scripts/install-deps installs it)";              \
    }

const std::string kPictures = QUILLFEN_PICTURES;
// pngtopnm gives a grey PNG as a PGM of its own maxval: taken to 255 and to RGB.
const char *const kPngtopnm = "sh -c 'pngtopnm \"$0\" | pamdepth 255 | ppmtoppm'";

std::vector<Rgb> shown(const picture::Picture &p) {
    std::vector<Rgb> pixels;
    for (const amiga::Rgb8 &c : picture::render(p))
        pixels.push_back({c.red, c.green, c.blue});
    return pixels;
}

// The peer's pixels of a file (a netpbm command that writes a PPM), or false when it refuses it.
bool peerPixels(const std::string &command, const std::string &path, const Folder &folder,
                unsigned *width, unsigned *height, std::vector<Rgb> *pixels) {
    return run(command + " '" + path + "' >" + folder.file("peer.ppm")) == 0 &&
           readPpm(folder.file("peer.ppm"), width, height, pixels);
}

// The file shows as the peer shows it; in HAM6, in the 4 bits a gun the chip has (ilbmtoppm
// keeps the low nibble of a colour held, the chip shows n x 17).
void expectSameAsPeer(const std::string &path, const Folder &folder, const char *mode,
                      const char *peer = "ilbmtoppm") {
    SCOPED_TRACE(path);
    unsigned width = 0, height = 0;
    std::vector<Rgb> reference;
    ASSERT_TRUE(peerPixels(peer, path, folder, &width, &height, &reference));
    std::string error;
    const auto read = picture::readPictureFile(path, &error);
    ASSERT_TRUE(read) << error;
    ASSERT_EQ(read->width, width);
    ASSERT_EQ(read->height, height);
    EXPECT_EQ(picture::describeMode(*read), mode);
    const std::uint8_t kept = std::string(mode) == "HAM6" ? 0xf0 : 0xff;
    const std::vector<Rgb> pixels = shown(*read);
    ASSERT_EQ(pixels.size(), reference.size());
    for (size_t i = 0; i < pixels.size(); i++) {
        const Rgb &a = pixels[i], &b = reference[i];
        ASSERT_EQ(
            (Rgb{std::uint8_t(a.r & kept), std::uint8_t(a.g & kept), std::uint8_t(a.b & kept)}),
            (Rgb{std::uint8_t(b.r & kept), std::uint8_t(b.g & kept), std::uint8_t(b.b & kept)}))
            << "pixel " << i % width << "," << i / width;
    }
}

// A PPM of the pixels.
std::string ppmOf(unsigned width, unsigned height, const std::vector<Rgb> &pixels) {
    std::string ppm = "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
    for (const Rgb &c : pixels)
        ppm += {static_cast<char>(c.r), static_cast<char>(c.g), static_cast<char>(c.b)};
    return ppm;
}

// A picture of the colours: each once, then stretches of one colour between noisy ones, so that
// a packer makes both runs and literals.
std::vector<Rgb> picked(const std::vector<Rgb> &palette, unsigned count, std::mt19937 &random) {
    std::vector<Rgb> pixels;
    for (unsigned i = 0; i < count; i++)
        pixels.push_back(i < palette.size()  ? palette[i]
                         : random() % 3 == 0 ? palette[random() % palette.size()]
                                             : pixels.back());
    return pixels;
}

std::vector<Rgb> randomColours(unsigned count, std::mt19937 &random) {
    std::vector<Rgb> colours;
    for (unsigned i = 0; i < count; i++)
        colours.push_back({std::uint8_t(random()), std::uint8_t(random()), std::uint8_t(i)});
    return colours;
}

} // namespace

TEST(Peers, TheCorpusAndAShamPictureShowAsIlbmtoppmShowsThem) {
    REQUIRE_PEER();
    Folder folder;
    // HAM6 with a palette of 16 random 12-bit colours for every line (the PCHG forms are held
    // byte by byte in linecolours_test.cpp). A HAM row's first pixel modifies COLOR00 on the
    // Amiga (HRM, "Hold-and-Modify Mode"), which ilbmtoppm does not do; here every row starts
    // from a register, as HAM pictures do.
    std::mt19937 random(11);
    std::vector<std::uint32_t> values, colours;
    for (unsigned i = 0; i < 40 * 9; i++)
        values.push_back(random() % (i % 40 == 0 ? 16 : 64));
    for (unsigned i = 0; i < 16; i++)
        colours.push_back(random() & 0xf0f0f0);
    Bytes sham = iffbytes::be16(0);
    for (unsigned i = 0; i < 16 * 9; i++)
        iffbytes::append(sham, iffbytes::be16(static_cast<std::uint16_t>(random() & 0xfff)));
    ASSERT_TRUE(iffbytes::save(
        folder.file("sham.iff"),
        iffbytes::group("FORM", "ILBM",
                        {iffbytes::bmhd(40, 9, 6), cmapOf(colours), camgOf(0x800),
                         iffbytes::chunk("SHAM", sham),
                         iffbytes::chunk("BODY", interleavedBody(40, 9, 6, values))})));
    const std::pair<std::string, const char *> pictures[] = {
        {kPictures + "/brush-transparent-color.iff", "indexed"},
        {kPictures + "/gradient.iff", "indexed"},
        {kPictures + "/gradient-uncompressed.iff", "indexed"},
        {kPictures + "/ham6.iff", "HAM6"},
        {kPictures + "/serenity-24bit.iff", "24-bit"},
        {kPictures + "/small-24bit.iff", "24-bit"},
        {kPictures + "/test-stencil.iff", "indexed"},
        {kPictures + "/serenity.lbm", "indexed"},
        {folder.file("sham.iff"), "HAM6"},
    };
    for (const auto &[path, mode] : pictures)
        expectSameAsPeer(path, folder, mode);
    for (const char *name : {"incorrect-cmap-size.iff", "incorrect-uncompressed-size.iff",
                             "missing-body-chunk.iff", "oss-fuzz-testcase-62033.iff",
                             "oss-fuzz-testcase-63296.iff", "truncated-bmhd-chunk.iff"}) {
        const std::string path = kPictures + "/" + name;
        unsigned width = 0, height = 0;
        std::vector<Rgb> reference;
        EXPECT_FALSE(peerPixels("ilbmtoppm", path, folder, &width, &height, &reference)) << name;
        std::string error;
        EXPECT_FALSE(picture::readPictureFile(path, &error)) << name;
        EXPECT_FALSE(error.empty()) << name;
    }
}

// Every picture netpbm writes shows as its readers show it; every palette PNG, written as an
// ILBM by the library, shows in ilbmtoppm as the picture it came from.
TEST(Peers, PicturesNetpbmWritesShowAsItsReadersShowThemAndTheirIlbmsAsTheyWere) {
    REQUIRE_PEER();
    Folder folder;
    std::mt19937 random(3);
    // A smooth photo-like picture that HAM follows gun by gun, and true colour with noise.
    std::vector<Rgb> photo, noise;
    for (unsigned i = 0; i < 97 * 23; i++) {
        const unsigned x = i % 97, y = i / 97;
        photo.push_back({std::uint8_t(x * 255 / 97), std::uint8_t(y * 11), std::uint8_t(x * y)});
        noise.push_back({std::uint8_t(random()), std::uint8_t(i * 3),
                         std::uint8_t(random() % 4 == 0 ? 0 : 200)});
    }
    const std::vector<Rgb> noisy(noise.begin(), noise.begin() + 203);
    const struct {
        const char *command;
        unsigned width, height;
        std::vector<Rgb> pixels;
        const char *mode;
    } cases[] = {
        {"ppmtoilbm", 37, 11, picked(randomColours(2, random), 37 * 11, random), "indexed"},
        {"ppmtoilbm -nocompress", 100, 7, picked(randomColours(16, random), 700, random),
         "indexed"},
        {"ppmtoilbm", 320, 256, picked(randomColours(32, random), 320 * 256, random), "indexed"},
        {"ppmtoilbm -maxplanes 8", 640, 3, picked(randomColours(200, random), 1920, random),
         "indexed"},
        {"ppmtoilbm -aga -nocompress", 33, 9, picked(randomColours(256, random), 297, random),
         "indexed"},
        {"ppmtoilbm -24force", 97, 23, noise, "24-bit"},
        {"ppmtoilbm -hamforce", 97, 23, noise, "HAM6"},
        {"ppmtoilbm -ham6", 97, 23, photo, "HAM6"},
        {"ppmtoilbm -ham8", 97, 23, photo, "HAM8"},
        {"pnmtopng", 47, 9, picked(randomColours(2, random), 47 * 9, random), "indexed"},
        {"pnmtopng", 52, 9, picked(randomColours(7, random), 52 * 9, random), "indexed"},
        {"pnmtopng -interlace", 77, 9, picked(randomColours(32, random), 77 * 9, random),
         "indexed"},
        {"pnmtopng", 245, 9, picked(randomColours(200, random), 245 * 9, random), "indexed"},
        {"pnmtopng -force", 29, 7, noisy, "24-bit"},
        {"pnmtopng -force -interlace", 29, 7, noisy, "24-bit"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.command);
        const std::string in = folder.file("in.ppm"), out = folder.file("out");
        const std::string ppm = ppmOf(c.width, c.height, c.pixels);
        ASSERT_TRUE(iffbytes::save(in, Bytes(ppm.begin(), ppm.end())));
        ASSERT_EQ(run(std::string(c.command) + " " + in + " >" + out), 0);
        const bool png = std::string(c.command).rfind("pnmtopng", 0) == 0;
        expectSameAsPeer(out, folder, c.mode, png ? kPngtopnm : "ilbmtoppm");
        if (!png || c.mode != std::string("indexed"))
            continue;
        std::string error;
        const auto read = picture::readPictureFile(out, &error);
        ASSERT_TRUE(read) << error;
        ASSERT_TRUE(iffbytes::save(folder.file("out.iff"), picture::ilbmBytes(*read, &error)))
            << error;
        unsigned width = 0, height = 0;
        std::vector<Rgb> reference;
        ASSERT_TRUE(
            peerPixels("ilbmtoppm", folder.file("out.iff"), folder, &width, &height, &reference));
        EXPECT_EQ(std::tuple(width, height), std::tuple(c.width, c.height));
        EXPECT_EQ(reference, c.pixels);
    }
}
