// The one differential runner against netpbm's independent readers and writers, over the
// picture corpus (tests/ilbm/pictures/SOURCES.md) and pictures netpbm writes: every picture
// ilbmtoppm or pngtopnm shows, the libraries (iff, ilbm, picture) show the same; every file
// ilbmtoppm refuses, they refuse with a sentence; every ILBM they write, ilbmtoppm shows as the
// picture it came from.
#include "picture/picture.h"
#include "picture_files.h"
#include "run_program.h"

#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <random>
#include <sstream>

using namespace iffbytes;
using namespace picturetest;

namespace {

using testprogram::run;

#define REQUIRE_PEER()                                                                             \
    if (run("for p in ilbmtoppm ppmtoilbm pnmtopng; do command -v $p || exit 1; done", "").status) \
    GTEST_SKIP() << "netpbm is not installed (scripts/install-deps installs it)"

// The peer's pixels of a file (a netpbm command that writes a PPM); empty when it refuses it.
std::vector<Rgb> peerPixels(const std::string &command, const std::string &path,
                            const Folder &folder, unsigned *width, unsigned *height) {
    std::vector<Rgb> pixels;
    if (run(command, "'" + path + "' >" + folder.file("peer.ppm")).status != 0 ||
        !readPpm(folder.file("peer.ppm"), width, height, &pixels))
        pixels.clear();
    return pixels;
}

// The file shows as the peer shows it; in HAM6, in the 4 bits a gun the chip has (ilbmtoppm
// keeps the low nibble of a colour held, the chip shows n x 17). pngtopnm gives a grey PNG as a
// PGM of its own maxval: taken to 255 and to RGB.
void expectSameAsPeer(const std::string &path, const Folder &folder, const std::string &mode,
                      bool png = false) {
    SCOPED_TRACE(path);
    unsigned width = 0, height = 0;
    std::vector<Rgb> peer =
        peerPixels(png ? "sh -c 'pngtopnm \"$0\" | pamdepth 255 | ppmtoppm'" : "ilbmtoppm", path,
                   folder, &width, &height);
    ASSERT_FALSE(peer.empty());
    std::string error;
    const auto read = picture::readPictureFile(path, &error);
    ASSERT_TRUE(read) << error;
    ASSERT_EQ(std::tuple(read->width, read->height, picture::describeMode(*read)),
              std::tuple(width, height, mode));
    const std::uint8_t kept = mode == "HAM6" ? 0xf0 : 0xff;
    const std::vector<amiga::Rgb8> shown = picture::render(*read);
    for (size_t i = 0; i < shown.size(); i++) {
        const Rgb ours{shown[i].red, shown[i].green, shown[i].blue};
        for (int g = 0; g < 3; g++)
            ASSERT_EQ(ours[g] & kept, peer[i][g] & kept)
                << "pixel " << i % width << "," << i / width;
    }
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

} // namespace

TEST(Peers, TheCorpusAndAShamPictureShowAsIlbmtoppmShowsThem) {
    REQUIRE_PEER();
    Folder folder;
    const std::string pictures = QUILLFEN_PICTURES "/";
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
    Bytes sham = be16(0);
    for (unsigned i = 0; i < 16 * 9; i++)
        append(sham, be16(static_cast<std::uint16_t>(random() & 0xfff)));
    ASSERT_TRUE(save(folder.file("sham.iff"),
                     group("FORM", "ILBM",
                           {bmhd(40, 9, 6), cmapOf(colours), camgOf(0x800), chunk("SHAM", sham),
                            chunk("BODY", interleavedBody(40, 9, 6, values))})));
    expectSameAsPeer(folder.file("sham.iff"), folder, "HAM6");
    for (std::istringstream &line : linesOf("shows")) {
        std::string name, mode;
        line >> name >> mode;
        expectSameAsPeer(pictures + name, folder, mode);
    }
    for (std::istringstream &line : linesOf("refused")) {
        unsigned width = 0, height = 0;
        std::string error;
        EXPECT_TRUE(
            peerPixels("ilbmtoppm", pictures + line.str(), folder, &width, &height).empty());
        EXPECT_FALSE(picture::readPictureFile(pictures + line.str(), &error));
        EXPECT_FALSE(error.empty()) << line.str();
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
        // A number of random colours, each once, then stretches of one colour between noisy
        // ones, so that a packer makes both runs and literals.
        std::vector<Rgb> palette(std::isdigit(kind[0]) ? std::stoi(kind) : 0), pixels;
        for (unsigned i = 0; i < palette.size(); i++)
            palette[i] = {std::uint8_t(random()), std::uint8_t(random()), std::uint8_t(i)};
        std::string ppm = "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
        for (unsigned i = 0; i < width * height; i++) {
            const unsigned x = i % width, y = i / width;
            if (i < palette.size())
                pixels.push_back(palette[i]);
            else if (!palette.empty())
                pixels.push_back(random() % 3 == 0 ? palette[random() % palette.size()]
                                                   : pixels.back());
            else if (kind == "photo")
                pixels.push_back(
                    {std::uint8_t(x * 255 / width), std::uint8_t(y * 11), std::uint8_t(x * y)});
            else
                pixels.push_back({std::uint8_t(random()), std::uint8_t(i * 3),
                                  std::uint8_t(random() % 4 == 0 ? 0 : 200)});
            ppm.append(pixels.back().begin(), pixels.back().end());
        }
        const std::string in = folder.file("in.ppm"), out = folder.file("out");
        ASSERT_TRUE(save(in, Bytes(ppm.begin(), ppm.end())));
        ASSERT_EQ(run(command, in + " >" + out).status, 0);
        const bool png = command.rfind("pnmtopng", 0) == 0;
        expectSameAsPeer(out, folder, mode, png);
        if (!png || mode != "indexed")
            continue;
        std::string error;
        const auto read = picture::readPictureFile(out, &error);
        ASSERT_TRUE(read) << error;
        ASSERT_TRUE(save(in, picture::ilbmBytes(*read, &error))) << error;
        unsigned w = 0, h = 0;
        EXPECT_EQ(peerPixels("ilbmtoppm", in, folder, &w, &h), pixels);
        EXPECT_EQ(std::tuple(w, h), std::tuple(width, height));
    }
}
