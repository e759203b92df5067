// The one differential runner against netpbm's independent readers and writers, over the
// picture corpus (tests/ilbm/pictures/SOURCES.md) and pictures netpbm writes: every picture
// ilbmtoppm or pngtopnm shows, the libraries (iff, ilbm, picture) show the same; every file
// ilbmtoppm refuses, they refuse with a sentence; every ILBM they write, ilbmtoppm shows as the
// picture it came from.
#include "picture/picture.h"
#include "picture_files.h"

#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <random>
#include <sstream>
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

// The lines of data/peer_pictures.txt that begin with kind, each from its next word on.
std::vector<std::istringstream> linesOf(const std::string &kind) {
    std::vector<std::istringstream> lines;
    std::ifstream in(QUILLFEN_PEER_PICTURES);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind(kind + " ", 0) == 0)
            lines.emplace_back(line.substr(kind.size() + 1));
    }
    EXPECT_FALSE(lines.empty()) << kind;
    return lines;
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
    expectSameAsPeer(folder.file("sham.iff"), folder, "HAM6");
    for (std::istringstream &line : linesOf("shows")) {
        std::string name, mode;
        line >> name >> mode;
        expectSameAsPeer(kPictures + "/" + name, folder, mode.c_str());
    }
    for (std::istringstream &line : linesOf("refused")) {
        const std::string path = kPictures + "/" + line.str();
        unsigned width = 0, height = 0;
        std::vector<Rgb> reference;
        EXPECT_FALSE(peerPixels("ilbmtoppm", path, folder, &width, &height, &reference)) << path;
        std::string error;
        EXPECT_FALSE(picture::readPictureFile(path, &error)) << path;
        EXPECT_FALSE(error.empty()) << path;
    }
}

// Every picture netpbm writes shows as its readers show it; every palette PNG, written as an
// ILBM by the library, shows in ilbmtoppm as the picture it came from.
TEST(Peers, PicturesNetpbmWritesShowAsItsReadersShowThemAndTheirIlbmsAsTheyWere) {
    REQUIRE_PEER();
    Folder folder;
    std::mt19937 random(3);
    for (std::istringstream &line : linesOf("writes")) {
        unsigned width = 0, height = 0;
        std::string kind, mode, command;
        line >> width >> height >> kind >> mode;
        std::getline(line >> std::ws, command);
        SCOPED_TRACE(command);
        std::vector<Rgb> pixels =
            std::isdigit(kind[0])
                ? picked(randomColours(std::stoi(kind), random), width * height, random)
                : std::vector<Rgb>{};
        for (unsigned i = 0; pixels.size() < width * height; i++) {
            const unsigned x = i % width, y = i / width;
            pixels.push_back(kind == "photo" ? Rgb{std::uint8_t(x * 255 / width),
                                                   std::uint8_t(y * 11), std::uint8_t(x * y)}
                                             : Rgb{std::uint8_t(random()), std::uint8_t(i * 3),
                                                   std::uint8_t(random() % 4 == 0 ? 0 : 200)});
        }
        const std::string in = folder.file("in.ppm"), out = folder.file("out");
        const std::string ppm = ppmOf(width, height, pixels);
        ASSERT_TRUE(iffbytes::save(in, Bytes(ppm.begin(), ppm.end())));
        ASSERT_EQ(run(command + " " + in + " >" + out), 0);
        const bool png = command.rfind("pnmtopng", 0) == 0;
        expectSameAsPeer(out, folder, mode.c_str(), png ? kPngtopnm : "ilbmtoppm");
        if (!png || mode != "indexed")
            continue;
        std::string error;
        const auto read = picture::readPictureFile(out, &error);
        ASSERT_TRUE(read) << error;
        ASSERT_TRUE(iffbytes::save(folder.file("out.iff"), picture::ilbmBytes(*read, &error)))
            << error;
        unsigned w = 0, h = 0;
        std::vector<Rgb> reference;
        ASSERT_TRUE(peerPixels("ilbmtoppm", folder.file("out.iff"), folder, &w, &h, &reference));
        EXPECT_EQ(std::tuple(w, h), std::tuple(width, height));
        EXPECT_EQ(reference, pixels);
    }
}
