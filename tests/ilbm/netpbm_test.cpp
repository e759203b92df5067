// The library against netpbm's independent ILBM encoder and decoder: pictures made here are
// encoded by ppmtoilbm and decoded by this library, and pictures encoded by this library are
// decoded by ilbmtoppm, both back to the original pixels.
#include "ilbm/byterun.h"
#include "ilbm/ilbmimage.h"
#include "ilbm/interleave.h"
#include "ilbm_test_support.h"
#include "picture_files.h"

#include <iff/iff.h>
#include <iff/rawchunk.h>

#include <gtest/gtest.h>

#include <stdlib.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <random>
#include <set>
#include <sstream>
#include <string>

using namespace ilbmtest;

namespace {

using picturetest::Rgb;

struct Picture {
    unsigned int width = 0, height = 0;
    std::vector<Rgb> pixels;
    const Rgb &at(unsigned int x, unsigned int y) const { return pixels[y * width + x]; }
};

bool havePeer() {
    return std::system("command -v ppmtoilbm >/dev/null && command -v ilbmtoppm >/dev/null") == 0;
}

#define REQUIRE_PEER()                                                                             \
    if (!havePeer()) {                                                                             \
        GTEST_SKIP() << "netpbm's ppmtoilbm and ilbmtoppm are not installed "                      \
                        "(scripts/install-deps installs them)";                                    \
    }

using picturetest::Folder;
using picturetest::run;

// A palette picture: colours distinct, stretches of one colour between noisy ones, so that
// the encoder makes both runs and literals.
Picture palettePicture(unsigned int width, unsigned int height, unsigned int colours,
                       unsigned int seed) {
    std::mt19937 random(seed);
    std::set<Rgb> seen;
    std::vector<Rgb> palette;
    while (palette.size() < colours) {
        Rgb c{static_cast<unsigned char>(random()), static_cast<unsigned char>(random()),
              static_cast<unsigned char>(random())};
        if (seen.insert(c).second) {
            palette.push_back(c);
        }
    }
    Picture picture{width, height, {}};
    // Every colour appears at least once, so the encoder's palette is the whole of ours.
    for (unsigned int i = 0; i < width * height; i++) {
        if (i < colours) {
            picture.pixels.push_back(palette[i]);
        } else if (random() % 3 == 0) {
            picture.pixels.push_back(palette[random() % colours]);
        } else {
            picture.pixels.push_back(picture.pixels.back());
        }
    }
    return picture;
}

Picture truePicture(unsigned int width, unsigned int height, unsigned int seed) {
    std::mt19937 random(seed);
    Picture picture{width, height, {}};
    for (unsigned int i = 0; i < width * height; i++) {
        picture.pixels.push_back({static_cast<unsigned char>(random()),
                                  static_cast<unsigned char>(i * 3),
                                  static_cast<unsigned char>(random() % 4 == 0 ? 0 : 200)});
    }
    return picture;
}

void writePpm(const Picture &picture, const std::string &path) {
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << picture.width << " " << picture.height << "\n255\n";
    for (const Rgb &c : picture.pixels) {
        out.put(static_cast<char>(c.r)).put(static_cast<char>(c.g)).put(static_cast<char>(c.b));
    }
}

bool readPpm(const std::string &path, Picture *picture) {
    return picturetest::readPpm(path, &picture->width, &picture->height, &picture->pixels);
}

// The value of every pixel made of its bits in the planes, plane 0 the lowest bit.
std::vector<unsigned long> pixelValues(const unsigned char *planes, unsigned int width,
                                       unsigned int height, unsigned int nPlanes) {
    size_t rowSize = (width + 15) / 16 * 2;
    std::vector<unsigned long> values(static_cast<size_t>(width) * height, 0);
    for (unsigned int p = 0; p < nPlanes; p++) {
        const unsigned char *plane = planes + p * rowSize * height;
        for (unsigned int y = 0; y < height; y++) {
            for (unsigned int x = 0; x < width; x++) {
                if (plane[y * rowSize + x / 8] & (0x80 >> (x % 8))) {
                    values[y * width + x] |= 1ul << p;
                }
            }
        }
    }
    return values;
}

// Hold and modify, in the chip's 4 bits per gun: 00 takes a register, 01 sets blue, 10 red,
// 11 green; the other guns are held from the pixel to the left. The colours are 4 bits a gun.
std::vector<Rgb> holdAndModify(const std::vector<unsigned long> &values, unsigned int width,
                               unsigned int height, const ILBM_ColorMap *colorMap) {
    std::vector<Rgb> pixels;
    for (unsigned int y = 0; y < height; y++) {
        const ILBM_ColorRegister &background = colorMap->colorRegister[0];
        unsigned int r = background.red >> 4, g = background.green >> 4, b = background.blue >> 4;
        for (unsigned int x = 0; x < width; x++) {
            unsigned long v = values[y * width + x];
            unsigned int data = v & 15;
            switch (v >> 4) {
            case 0:
                r = colorMap->colorRegister[data].red >> 4;
                g = colorMap->colorRegister[data].green >> 4;
                b = colorMap->colorRegister[data].blue >> 4;
                break;
            case 1:
                b = data;
                break;
            case 2:
                r = data;
                break;
            default:
                g = data;
                break;
            }
            pixels.push_back({static_cast<unsigned char>(r), static_cast<unsigned char>(g),
                              static_cast<unsigned char>(b)});
        }
    }
    return pixels;
}

// A file read by this library, with its one picture unpacked and its planes laid out.
struct Decoded {
    IFF_Chunk *tree = nullptr;
    ILBM_Image **images = nullptr;
    unsigned int imagesLength = 0;
    ILBM_Image *image = nullptr;
    unsigned char *planes = nullptr;

    explicit Decoded(const std::string &path, bool unpack = true) {
        tree = ILBM_read(path.c_str());
        if (tree == nullptr) {
            return;
        }
        images = ILBM_extractImages(tree, &imagesLength);
        if (imagesLength != 1) {
            return;
        }
        image = images[0];
        if (unpack && image->body != nullptr && ILBM_unpackByteRun(image)) {
            planes = ILBM_deinterleave(image);
        }
    }
    ~Decoded() {
        free(planes);
        ILBM_freeImages(images, imagesLength);
        if (tree != nullptr) {
            ILBM_free(tree);
        }
    }
    Decoded(const Decoded &) = delete;
    Decoded &operator=(const Decoded &) = delete;
};

void expectPalettePicture(const Picture &picture, const std::string &path,
                          unsigned int expectedPlanes) {
    Messages messages;
    Decoded decoded(path);
    ASSERT_NE(decoded.tree, nullptr) << messages.text();
    ASSERT_NE(decoded.image, nullptr) << messages.text();
    // ppmtoilbm's pad1 of 0x80 only warns.
    EXPECT_TRUE(ILBM_check(decoded.tree)) << messages.text();
    const ILBM_Image *image = decoded.image;
    const ILBM_BitMapHeader *header = image->bitMapHeader;
    EXPECT_EQ(header->w, picture.width);
    EXPECT_EQ(header->h, picture.height);
    EXPECT_EQ(header->nPlanes, expectedPlanes);
    EXPECT_EQ(header->pageWidth, static_cast<IFF_Word>(picture.width));
    ASSERT_NE(image->colorMap, nullptr);

    std::set<Rgb> colours(picture.pixels.begin(), picture.pixels.end());
    std::set<Rgb> mapped;
    for (unsigned int i = 0; i < image->colorMap->colorRegisterLength; i++) {
        const ILBM_ColorRegister &r = image->colorMap->colorRegister[i];
        mapped.insert({r.red, r.green, r.blue});
    }
    EXPECT_EQ(mapped, colours);

    ASSERT_NE(decoded.planes, nullptr) << messages.text();
    EXPECT_EQ(header->compression, ILBM_CMP_NONE);
    std::vector<unsigned long> values =
        pixelValues(decoded.planes, picture.width, picture.height, expectedPlanes);
    for (unsigned int i = 0; i < values.size(); i++) {
        ASSERT_LT(values[i], image->colorMap->colorRegisterLength) << "pixel " << i;
        const ILBM_ColorRegister &r = image->colorMap->colorRegister[values[i]];
        ASSERT_EQ((Rgb{r.red, r.green, r.blue}), picture.pixels[i]) << "pixel " << i;
    }
}

} // namespace

TEST(NetpbmEncodes, PalettePicturesCompressedAndNot) {
    REQUIRE_PEER();
    Folder folder;
    struct Case {
        unsigned int width, height, colours, planes;
        const char *options;
    };
    const Case cases[] = {
        {37, 11, 2, 1, ""},
        {100, 20, 5, 3, ""},
        {320, 256, 32, 5, ""},
        {37, 11, 2, 1, "-nocompress"},
        {100, 7, 16, 4, "-nocompress"},
        {1, 1, 2, 1, ""},
        {640, 3, 200, 8, "-maxplanes 8"},
        {33, 9, 256, 8, "-aga -nocompress"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height) + " " + c.options);
        Picture picture = palettePicture(c.width, c.height, c.colours, c.width + c.colours);
        writePpm(picture, folder.file("in.ppm"));
        ASSERT_EQ(run("ppmtoilbm " + std::string(c.options) + " " + folder.file("in.ppm") + " >" +
                      folder.file("out.iff")),
                  0);
        bool packed = std::string(c.options).find("-nocompress") == std::string::npos;
        {
            Messages messages;
            Decoded raw(folder.file("out.iff"), false);
            ASSERT_NE(raw.image, nullptr) << messages.text();
            EXPECT_EQ(raw.image->bitMapHeader->compression, packed ? 1u : 0u);
            EXPECT_EQ(raw.image->bitMapHeader->pad1, 0x80);
        }
        expectPalettePicture(picture, folder.file("out.iff"), c.planes);
    }
}

TEST(NetpbmEncodes, TrueColourPicturesOf24Planes) {
    REQUIRE_PEER();
    Folder folder;
    for (unsigned int width : {37u, 100u}) {
        Picture picture = truePicture(width, 5, width);
        writePpm(picture, folder.file("in.ppm"));
        ASSERT_EQ(
            run("ppmtoilbm -24force " + folder.file("in.ppm") + " >" + folder.file("out.iff")), 0);
        Messages messages;
        Decoded decoded(folder.file("out.iff"));
        ASSERT_NE(decoded.planes, nullptr) << messages.text();
        EXPECT_TRUE(ILBM_check(decoded.tree)) << messages.text();
        EXPECT_EQ(decoded.image->bitMapHeader->nPlanes, 24);
        EXPECT_EQ(decoded.image->colorMap, nullptr);
        std::vector<unsigned long> values = pixelValues(decoded.planes, width, 5, 24);
        for (unsigned int i = 0; i < values.size(); i++) {
            Rgb c{static_cast<unsigned char>(values[i]), static_cast<unsigned char>(values[i] >> 8),
                  static_cast<unsigned char>(values[i] >> 16)};
            ASSERT_EQ(c, picture.pixels[i]) << "pixel " << i;
        }
    }
}

TEST(NetpbmEncodes, AColourMapOnly) {
    REQUIRE_PEER();
    Folder folder;
    Picture picture = palettePicture(20, 4, 7, 3);
    writePpm(picture, folder.file("in.ppm"));
    ASSERT_EQ(run("ppmtoilbm -cmaponly " + folder.file("in.ppm") + " >" + folder.file("out.iff")),
              0);
    Messages messages;
    Decoded decoded(folder.file("out.iff"), false);
    ASSERT_NE(decoded.image, nullptr) << messages.text();
    EXPECT_TRUE(ILBM_check(decoded.tree)) << messages.text();
    EXPECT_EQ(decoded.image->body, nullptr);
    ASSERT_NE(decoded.image->colorMap, nullptr);
    std::set<Rgb> mapped;
    for (unsigned int i = 0; i < decoded.image->colorMap->colorRegisterLength; i++) {
        const ILBM_ColorRegister &r = decoded.image->colorMap->colorRegister[i];
        mapped.insert({r.red, r.green, r.blue});
    }
    EXPECT_EQ(mapped, std::set<Rgb>(picture.pixels.begin(), picture.pixels.end()));
}

TEST(NetpbmEncodes, HoldAndModifyPicturesDecodeAsNetpbmDecodesThem) {
    REQUIRE_PEER();
    Folder folder;
    Picture picture = truePicture(37, 6, 11);
    writePpm(picture, folder.file("in.ppm"));
    ASSERT_EQ(run("ppmtoilbm -hamforce " + folder.file("in.ppm") + " >" + folder.file("ham.iff")),
              0);
    ASSERT_EQ(run("ilbmtoppm " + folder.file("ham.iff") + " >" + folder.file("ham.ppm")), 0);
    Picture reference;
    ASSERT_TRUE(readPpm(folder.file("ham.ppm"), &reference));

    Messages messages;
    Decoded decoded(folder.file("ham.iff"));
    ASSERT_NE(decoded.planes, nullptr) << messages.text();
    ASSERT_NE(decoded.image->viewport, nullptr);
    EXPECT_NE(decoded.image->viewport->viewportMode & 0x800, 0);
    ASSERT_EQ(decoded.image->bitMapHeader->nPlanes, 6);
    const ILBM_ColorMap *colorMap = decoded.image->colorMap;
    ASSERT_NE(colorMap, nullptr);
    ASSERT_GE(colorMap->colorRegisterLength, 16u);

    std::vector<Rgb> pixels = holdAndModify(pixelValues(decoded.planes, 37, 6, 6), 37, 6, colorMap);
    for (unsigned int i = 0; i < pixels.size(); i++) {
        const Rgb &expected = reference.pixels[i];
        ASSERT_EQ(pixels[i], (Rgb{static_cast<unsigned char>(expected.r >> 4),
                                  static_cast<unsigned char>(expected.g >> 4),
                                  static_cast<unsigned char>(expected.b >> 4)}))
            << "pixel " << i;
    }
}

namespace {

// Builds a palette picture with this library and writes it, packed or not.
void writeWithLibrary(const Picture &picture, const std::vector<Rgb> &palette, unsigned int nPlanes,
                      bool pack, const std::string &path) {
    ILBM_Image *image = ILBM_createImage("ILBM");
    ILBM_BitMapHeader *header = ILBM_createBitMapHeader();
    header->w = static_cast<IFF_UWord>(picture.width);
    header->h = static_cast<IFF_UWord>(picture.height);
    header->nPlanes = static_cast<IFF_UByte>(nPlanes);
    header->xAspect = header->yAspect = 1;
    header->pageWidth = static_cast<IFF_Word>(picture.width);
    header->pageHeight = static_cast<IFF_Word>(picture.height);
    image->bitMapHeader = header;
    image->colorMap = ILBM_createColorMap();
    for (const Rgb &c : palette) {
        ILBM_ColorRegister *r = ILBM_addColorRegisterInColorMap(image->colorMap);
        r->red = c.r;
        r->green = c.g;
        r->blue = c.b;
    }

    size_t rowSize = ILBM_calculateRowSize(image);
    size_t planeSize = rowSize * picture.height;
    std::vector<unsigned char> planes(planeSize * nPlanes, 0);
    for (unsigned int y = 0; y < picture.height; y++) {
        for (unsigned int x = 0; x < picture.width; x++) {
            size_t index = 0;
            while (!(palette[index] == picture.at(x, y))) {
                index++;
            }
            for (unsigned int p = 0; p < nPlanes; p++) {
                if (index & (1u << p)) {
                    planes[p * planeSize + y * rowSize + x / 8] |=
                        static_cast<unsigned char>(0x80 >> (x % 8));
                }
            }
        }
    }
    IFF_RawChunk *body = IFF_createRawChunk("BODY");
    IFF_setRawChunkData(body, ILBM_interleave(image, planes.data()),
                        static_cast<IFF_Long>(planes.size()));
    image->body = body;
    IFF_Form *form = ILBM_convertImageToForm(image);
    ASSERT_NE(form, nullptr);
    if (pack) {
        ASSERT_TRUE(ILBM_packByteRun(image));
    }
    EXPECT_TRUE(ILBM_check(reinterpret_cast<IFF_Chunk *>(form)));
    EXPECT_TRUE(ILBM_write(path.c_str(), reinterpret_cast<IFF_Chunk *>(form)));
    ILBM_free(reinterpret_cast<IFF_Chunk *>(form));
    ILBM_freeImage(image);
}

} // namespace

TEST(NetpbmDecodes, PicturesPackedByThisLibrary) {
    REQUIRE_PEER();
    Folder folder;
    struct Case {
        unsigned int width, height, colours, planes;
        bool pack;
    };
    const Case cases[] = {{37, 11, 2, 1, true},   {100, 20, 5, 3, true}, {320, 256, 32, 5, true},
                          {100, 20, 5, 3, false}, {17, 3, 256, 8, true}, {640, 8, 64, 6, true}};
    for (const Case &c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height) + "x" +
                     std::to_string(c.planes));
        Picture picture = palettePicture(c.width, c.height, c.colours, c.height);
        std::vector<Rgb> palette;
        std::set<Rgb> seen;
        for (const Rgb &p : picture.pixels) {
            if (seen.insert(p).second) {
                palette.push_back(p);
            }
        }
        Messages messages;
        writeWithLibrary(picture, palette, c.planes, c.pack, folder.file("out.iff"));
        EXPECT_EQ(messages.text(), "");
        ASSERT_EQ(run("ilbmtoppm " + folder.file("out.iff") + " >" + folder.file("out.ppm")), 0);
        Picture decoded;
        ASSERT_TRUE(readPpm(folder.file("out.ppm"), &decoded));
        ASSERT_EQ(decoded.width, picture.width);
        ASSERT_EQ(decoded.height, picture.height);
        for (size_t i = 0; i < picture.pixels.size(); i++) {
            ASSERT_EQ(decoded.pixels[i], picture.pixels[i]) << "pixel " << i;
        }
    }
}

#ifdef QUILLFEN_PICTURES

TEST(NetpbmDecodes, RealPicturesToTheSamePixelsAsThisLibrary) {
    REQUIRE_PEER();
    // Pictures written by other programs (tests/ilbm/pictures/SOURCES.md): palette, HAM,
    // 24-bit, masked and chunky ones, packed and not, of odd widths.
    Folder folder;
    for (const char *name :
         {"brush-transparent-color.iff", "gradient.iff", "gradient-uncompressed.iff", "ham6.iff",
          "serenity-24bit.iff", "small-24bit.iff", "test-stencil.iff", "serenity.lbm"}) {
        SCOPED_TRACE(name);
        const std::string path = std::string(QUILLFEN_PICTURES) + "/" + name;
        ASSERT_EQ(run("ilbmtoppm " + path + " >" + folder.file("peer.ppm")), 0);
        Picture reference;
        ASSERT_TRUE(readPpm(folder.file("peer.ppm"), &reference));

        Messages messages;
        Decoded decoded(path);
        ASSERT_NE(decoded.image, nullptr) << messages.text();
        const ILBM_Image *image = decoded.image;
        const unsigned int width = image->bitMapHeader->w;
        const unsigned int height = image->bitMapHeader->h;
        const unsigned int nPlanes = image->bitMapHeader->nPlanes;
        ASSERT_EQ(reference.width, width);
        ASSERT_EQ(reference.height, height);
        const ILBM_ColorMap *colorMap = image->colorMap;
        auto registerColour = [&](unsigned long index) {
            EXPECT_LT(index, colorMap->colorRegisterLength);
            const ILBM_ColorRegister &c = colorMap->colorRegister[index];
            return Rgb{c.red, c.green, c.blue};
        };

        std::vector<Rgb> pixels;
        bool fourBits = false;
        if (ILBM_imageIsPBM(image)) {
            // One byte a pixel, rows of an even length.
            ASSERT_EQ(image->bitMapHeader->compression, ILBM_CMP_NONE) << messages.text();
            const size_t rowSize = (width + 1) & ~1u;
            for (unsigned int y = 0; y < height; y++) {
                for (unsigned int x = 0; x < width; x++) {
                    pixels.push_back(registerColour(image->body->chunkData[y * rowSize + x]));
                }
            }
        } else {
            ASSERT_NE(decoded.planes, nullptr) << messages.text();
            std::vector<unsigned long> values = pixelValues(decoded.planes, width, height, nPlanes);
            if (nPlanes == 24) {
                for (unsigned long v : values) {
                    pixels.push_back({static_cast<unsigned char>(v),
                                      static_cast<unsigned char>(v >> 8),
                                      static_cast<unsigned char>(v >> 16)});
                }
            } else if (image->viewport != nullptr && (image->viewport->viewportMode & 0x800)) {
                pixels = holdAndModify(values, width, height, colorMap);
                fourBits = true;
            } else {
                for (unsigned long v : values) {
                    pixels.push_back(registerColour(v));
                }
            }
        }
        ASSERT_EQ(pixels.size(), reference.pixels.size());
        for (size_t i = 0; i < pixels.size(); i++) {
            Rgb expected = reference.pixels[i];
            if (fourBits) {
                expected = {static_cast<unsigned char>(expected.r >> 4),
                            static_cast<unsigned char>(expected.g >> 4),
                            static_cast<unsigned char>(expected.b >> 4)};
            }
            ASSERT_EQ(pixels[i], expected) << "pixel " << i % width << "," << i / width;
        }
    }
}

#endif
