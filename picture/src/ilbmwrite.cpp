// A picture of colour numbers as a packed ILBM file, made with the ILBM library's own records
// and writer: BMHD, CMAP, CAMG and a BODY packed with ByteRun1.
//
// The choices a user sees:
// - planes: the fewest holding every colour of the map and every colour number (at least one);
//   an EHB picture keeps 6 planes, a HAM6 picture 6 and a HAM8 picture 8, with their CAMG bit;
// - the CMAP: the colour map padded with black to 1 << planes colours (16 for HAM6, 64 for
//   HAM8, 32 for EHB: the registers those modes use; a longer map is kept up to 1 << planes);
// - transparency: the picture's own mask plane as masking 1; else exactly one transparent
//   colour as masking 2 with that transparentColor; else masking 0;
// - the screen mode: none asked for, the picture's pixels stay square (aspect 1:1, no resolution
//   bits in CAMG), unless the picture came with a mode of its own (an ILBM's CAMG), which it
//   keeps with its aspect. A mode asked for sets CAMG HIRES ($8000), SUPERHIRES ($8020) and LACE
//   ($4) (graphics/modeid.h) and the pixel shape of that mode on a PAL screen as paint programs
//   store it: 10:11 lores, 5:11 hires, 5:22 superhires, each x doubled when interlaced;
// - pageWidth and pageHeight: the picture's own width and height, as netpbm's ppmtoilbm writes.
#include "internal.h"
#include "picture/messages.h"

#include <iff/error.h>
#include <iff/form.h>
#include <iff/rawchunk.h>
#include <ilbm/byterun.h>
#include <ilbm/ilbm.h>
#include <ilbm/ilbmimage.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace picture {

namespace {

constexpr std::uint32_t kHires = 0x8000;
constexpr std::uint32_t kSuperHires = 0x8020;
constexpr std::uint32_t kLace = 0x4;
constexpr std::uint32_t kExtraHalfbrite = 0x80;
constexpr std::uint32_t kHoldAndModify = 0x800;

unsigned planesFor(unsigned colours) {
    unsigned planes = 1;
    while ((1u << planes) < colours) {
        planes++;
    }
    return planes;
}

struct ImageRelease {
    void operator()(ILBM_Image *image) const { ILBM_freeImage(image); }
};

struct FormRelease {
    void operator()(IFF_Form *form) const { ILBM_free(reinterpret_cast<IFF_Chunk *>(form)); }
};

bool fail(std::string *error, const std::string &text) {
    if (error != nullptr) {
        *error = text;
    }
    return false;
}

} // namespace

bool ilbmPieces(const Picture &picture, std::string *error, const ScreenMode &screen,
                ProducePieces *produce) {
    const size_t count = size_t{picture.width} * picture.height;
    if (picture.pixels.empty() || picture.pixels.size() != count) {
        fail(error, picture.isTrueColour()
                        ? "the picture has colours, not colour numbers: it is reduced first"
                        : "the picture has no pixels to write");
        return false;
    }
    if (picture.width > 0xffff || picture.height > 0xffff) {
        fail(error, "the picture is larger than an ILBM holds (65535 x 65535)");
        return false;
    }
    const unsigned largest = *std::max_element(picture.pixels.begin(), picture.pixels.end());
    const unsigned mapped = static_cast<unsigned>(std::min<size_t>(picture.palette.size(), 256));
    unsigned planes = planesFor(std::max(mapped, largest + 1));
    std::uint32_t mode = 0;
    unsigned registers = 1u << planes;
    switch (picture.mode) {
    case DisplayMode::ExtraHalfbrite:
        planes = 6;
        registers = 32;
        mode = kExtraHalfbrite;
        break;
    case DisplayMode::Ham6:
        planes = 6;
        registers = 16;
        mode = kHoldAndModify;
        break;
    case DisplayMode::Ham8:
        planes = 8;
        registers = 64;
        mode = kHoldAndModify;
        break;
    default:
        break;
    }
    // A map longer than the mode's registers is kept as far as the planes reach.
    registers = std::max(registers, std::min(mapped, 1u << planes));
    unsigned xAspect = 1;
    unsigned yAspect = 1;
    if (screen.resolution != Resolution::Square) {
        const unsigned lace = screen.lace ? 2 : 1;
        switch (screen.resolution) {
        case Resolution::Lores:
            xAspect = 10 * lace;
            yAspect = 11;
            break;
        case Resolution::Hires:
            mode |= kHires;
            xAspect = 5 * lace;
            yAspect = 11;
            break;
        default:
            mode |= kSuperHires;
            xAspect = 5 * lace;
            yAspect = 22;
            break;
        }
        mode |= screen.lace ? kLace : 0;
    } else if (picture.hasViewportMode) {
        mode |= picture.viewportMode & (kSuperHires | kLace);
        if (picture.xAspect != 0 && picture.yAspect != 0) {
            xAspect = picture.xAspect;
            yAspect = picture.yAspect;
        }
    }
    const bool masked = picture.opacity.size() == count;

    const MessageCapture messages;
    // What the libraries said, after what failed.
    auto because = [&messages](std::string what) {
        for (const Message &message : messages.messages()) {
            what += "; " + message.text;
        }
        return what;
    };
    std::unique_ptr<ILBM_Image, ImageRelease> image(ILBM_createImage(ILBM_ID_ILBM));
    if (image == nullptr) {
        fail(error, "out of memory");
        return false;
    }
    image->bitMapHeader = ILBM_createBitMapHeader();
    image->colorMap = ILBM_createColorMap();
    image->viewport = ILBM_createViewport();
    image->body = IFF_createRawChunk(ILBM_ID_BODY);
    // The FORM owns the chunks from here on, and frees them whatever happens below; their
    // contents follow, and the sizes are brought up to date once they are in.
    std::unique_ptr<IFF_Form, FormRelease> form(ILBM_convertImageToForm(image.get()));
    ILBM_BitMapHeader *header = image->bitMapHeader;
    ILBM_ColorMap *colorMap = image->colorMap;
    ILBM_Viewport *viewport = image->viewport;
    IFF_RawChunk *body = image->body;
    if (form == nullptr || header == nullptr || colorMap == nullptr || viewport == nullptr ||
        body == nullptr) {
        fail(error, "out of memory");
        return false;
    }

    header->w = static_cast<IFF_UWord>(picture.width);
    header->h = static_cast<IFF_UWord>(picture.height);
    header->x = 0;
    header->y = 0;
    header->nPlanes = static_cast<IFF_UByte>(planes);
    header->compression = ILBM_CMP_NONE; // ByteRun1 once the BODY is packed below
    if (masked) {
        header->masking = ILBM_MSK_HAS_MASK;
    } else if (picture.transparentColours.size() == 1 &&
               picture.transparentColours[0] < (1u << planes)) {
        header->masking = ILBM_MSK_HAS_TRANSPARENT_COLOR;
        header->transparentColor = static_cast<IFF_UWord>(picture.transparentColours[0]);
    }
    header->xAspect = static_cast<IFF_UByte>(xAspect);
    header->yAspect = static_cast<IFF_UByte>(yAspect);
    header->pageWidth = static_cast<IFF_Word>(std::min(picture.width, 0x7fffu));
    header->pageHeight = static_cast<IFF_Word>(std::min(picture.height, 0x7fffu));

    for (unsigned i = 0; i < registers; i++) {
        ILBM_ColorRegister *colour = ILBM_addColorRegisterInColorMap(colorMap);
        if (colour == nullptr) {
            fail(error, "out of memory");
            return false;
        }
        const amiga::Rgb8 c = i < mapped ? picture.palette[i] : amiga::Rgb8{};
        colour->red = c.red;
        colour->green = c.green;
        colour->blue = c.blue;
    }
    viewport->viewportMode = static_cast<IFF_Long>(mode);

    // The planes (and the mask) interleaved row by row, as a BODY holds them, straight from the
    // colour numbers, each picture row's plane rows one after another, packed a row at a time
    // (ByteRun1 packs each plane row by itself): the planes are never held whole, nor is the
    // packed BODY. A first pass finds its size for the chunks before it; the second packs it
    // again as it is written.
    const size_t rowSize = ILBM_calculateRowSize(image.get());
    const unsigned bodyPlanes = planes + (masked ? 1 : 0);
    if (rowSize * bodyPlanes * picture.height > static_cast<size_t>(INT32_MAX)) {
        fail(error, "the picture is too large for an ILBM BODY");
        return false;
    }
    auto packRows = [&picture, planes, masked, rowSize,
                     bodyPlanes](unsigned y, std::vector<unsigned char> &rows,
                                 std::vector<unsigned char> &scratch, std::string *out) {
        rows.assign(rowSize * bodyPlanes, 0);
        scratch.resize(ILBM_byteRunRowWorstCase(rowSize));
        const std::uint8_t *row = picture.pixels.data() + size_t{y} * picture.width;
        for (unsigned x = 0; x < picture.width; x++) {
            const auto bit = static_cast<std::uint8_t>(0x80 >> (x & 7));
            for (unsigned p = 0; p < planes; p++) {
                if ((row[x] >> p) & 1) {
                    rows[p * rowSize + x / 8] |= bit;
                }
            }
            if (masked && picture.opacity[size_t{y} * picture.width + x] != 0) {
                rows[planes * rowSize + x / 8] |= bit;
            }
        }
        size_t length = 0;
        for (unsigned p = 0; p < bodyPlanes; p++) {
            const size_t packed = ILBM_packByteRunRow(rows.data() + p * rowSize, rowSize,
                                                      scratch.data(), scratch.size());
            if (out != nullptr) {
                out->append(reinterpret_cast<const char *>(scratch.data()), packed);
            }
            length += packed;
        }
        return length;
    };
    std::vector<unsigned char> rows, scratch;
    size_t packedSize = 0;
    for (unsigned y = 0; y < picture.height; y++) {
        packedSize += packRows(y, rows, scratch, nullptr);
    }
    if (packedSize > static_cast<size_t>(INT32_MAX) - 64) {
        fail(error, "the picture is too large for an ILBM BODY");
        return false;
    }
    header->compression = ILBM_CMP_BYTE_RUN;
    // The chunks with an empty BODY, the last; its size and the FORM's are set to the BODY's.
    char *data = nullptr;
    size_t size = 0;
    FILE *memory = open_memstream(&data, &size);
    if (memory == nullptr) {
        fail(error, "out of memory");
        return false;
    }
    const int written = ILBM_writeFd(memory, reinterpret_cast<const IFF_Chunk *>(form.get()));
    std::fclose(memory);
    std::string head;
    if (written && data != nullptr) {
        head.assign(data, size);
    }
    std::free(data);
    if (head.size() < 20 || head.compare(head.size() - 8, 8, std::string("BODY\0\0\0\0", 8)) != 0) {
        fail(error, because("the ILBM cannot be written"));
        return false;
    }
    auto setLong = [&head](size_t at, size_t value) {
        for (int b = 0; b < 4; b++) {
            head[at + b] = static_cast<char>(value >> (24 - 8 * b));
        }
    };
    setLong(4, head.size() - 8 + packedSize + packedSize % 2);
    setLong(head.size() - 4, packedSize);
    *produce = [head, packRows, packedSize, height = picture.height](const WritePiece &write) {
        if (!write(head)) {
            return;
        }
        std::vector<unsigned char> rows, scratch;
        std::string batch;
        for (unsigned y = 0; y < height; y++) {
            packRows(y, rows, scratch, &batch);
            if (batch.size() >= (size_t{1} << 18) || y + 1 == height) {
                if (!write(batch)) {
                    return;
                }
                batch.clear();
            }
        }
        if (packedSize % 2 != 0) {
            write(std::string_view("\0", 1));
        }
    };
    return true;
}

std::vector<std::uint8_t> ilbmBytes(const Picture &picture, std::string *error,
                                    const ScreenMode &screen) {
    ProducePieces produce;
    if (!ilbmPieces(picture, error, screen, &produce)) {
        return {};
    }
    std::vector<std::uint8_t> bytes;
    produce([&bytes](std::string_view piece) {
        bytes.insert(bytes.end(), piece.begin(), piece.end());
        return true;
    });
    return bytes;
}

} // namespace picture
