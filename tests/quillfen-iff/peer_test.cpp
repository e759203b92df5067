// quillfen-iff ilbm from a PNG, checked by a peer: netpbm's ilbmtoppm decodes the ILBM written
// to the PNG's pixels, and its planes are those of the PNG.
#include "testing.h"

#include <gtest/gtest.h>

#include <set>

using namespace ifftool;

namespace {

// ilbmtoppm's picture as 0xrrggbb colours, none when it refuses the file.
std::vector<std::uint32_t> decode(const Folder &folder, const std::string &ilbm, unsigned *width,
                                  unsigned *height) {
    const std::string ppm = folder.file("decoded.ppm");
    std::vector<picturetest::Rgb> pixels;
    std::vector<std::uint32_t> colours;
    if (picturetest::run("ilbmtoppm " + ilbm + " >" + ppm) == 0 &&
        picturetest::readPpm(ppm, width, height, &pixels)) {
        for (const picturetest::Rgb &c : pixels) {
            colours.push_back(static_cast<std::uint32_t>(c.r << 16 | c.g << 8 | c.b));
        }
    }
    return colours;
}

} // namespace

TEST(QuillfenIffPeer, APngBecomesAnIlbmThatIlbmtoppmDecodesToItsPixels) {
    if (std::system("command -v ilbmtoppm >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "netpbm's ilbmtoppm is not installed";
    }
    Folder folder;
    // 21 x 4 (an odd width: the rows are padded to words), 6 colours of a map of 6.
    Indexed picture{21, 4, {}, {}};
    for (unsigned i = 0; i < 21 * 4; i++) {
        picture.pixels.push_back(static_cast<std::uint8_t>((i * 7 / 3) % 6));
    }
    for (std::uint32_t c : {0x000000u, 0xff0000u, 0x00ff00u, 0x0000ffu, 0x123456u, 0xfedcbau}) {
        picture.palette.push_back({static_cast<std::uint8_t>(c >> 16),
                                   static_cast<std::uint8_t>(c >> 8),
                                   static_cast<std::uint8_t>(c)});
    }
    const std::string png = folder.file("p.png");
    savePng(png, picture, 8);
    const std::string ilbm = folder.file("p.iff");
    succeeds("ilbm " + png + " " + ilbm);
    succeeds("check " + ilbm);
    unsigned width = 0, height = 0;
    const std::vector<std::uint32_t> decoded = decode(folder, ilbm, &width, &height);
    ASSERT_EQ(width, 21u);
    ASSERT_EQ(height, 4u);
    ASSERT_EQ(decoded.size(), picture.pixels.size());
    for (size_t i = 0; i < picture.pixels.size(); i++) {
        const Colour &c = picture.palette[picture.pixels[i]];
        EXPECT_EQ(decoded[i], static_cast<std::uint32_t>(c.r << 16 | c.g << 8 | c.b)) << i;
    }
    // Its planes, with and without a mask, are the PNG's.
    for (const char *options : {"", "--planar --mask"}) {
        succeeds(std::string("raw ") + options + " " + ilbm + " " + folder.file("i.raw"));
        succeeds(std::string("raw ") + options + " " + png + " " + folder.file("p.raw"));
        EXPECT_EQ(load(folder.file("i.raw")), load(folder.file("p.raw"))) << options;
    }

    // A true-colour PNG reduced to 16 colours: the ILBM shows at most 16.
    std::vector<std::uint32_t> colours;
    for (unsigned i = 0; i < 32 * 8; i++) {
        colours.push_back((i * 37 % 256) << 16 | (i % 32 * 8) << 8 | (i / 32 * 32));
    }
    saveRgbPng(folder.file("photo.png"), 32, 8, colours);
    succeeds("ilbm --reduce 16 --dither " + folder.file("photo.png") + " " + folder.file("r.iff"));
    const std::vector<std::uint32_t> reduced =
        decode(folder, folder.file("r.iff"), &width, &height);
    ASSERT_EQ(reduced.size(), 256u);
    EXPECT_LE(std::set<std::uint32_t>(reduced.begin(), reduced.end()).size(), 16u);
}
