// ILBM, ACBM and PBM pictures through the project's IFF and ILBM libraries: the file's tree is
// read from memory, its first picture taken, its body unpacked and its planes turned into
// colour numbers (or deep values), its mask plane into opacity and its CAMG into a display mode.
// The libraries' messages become the error text or the picture's warnings.
#include "internal.h"
#include "picture/linecolours.h"
#include "picture/messages.h"

#include <amiga/bitplanes.h>

#include <iff/iff.h>
#include <iff/rawchunk.h>
#include <ilbm/byterun.h>
#include <ilbm/colormap.h>
#include <ilbm/ilbm.h>
#include <ilbm/ilbmimage.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <span>

namespace picture::detail {

namespace {

constexpr std::uint32_t kExtraHalfbrite = 0x80; // CAMG EXTRA_HALFBRITE
constexpr std::uint32_t kHoldAndModify = 0x800; // CAMG HAM
constexpr std::uint32_t kLace = 0x4;            // CAMG LACE

std::string joined(const std::string &what, const MessageCapture &capture) {
    std::string text = what;
    for (const Message &message : capture.messages()) {
        text += "; " + message.text;
    }
    return text;
}

struct TreeRelease {
    void operator()(IFF_Chunk *tree) const { ILBM_free(tree); }
};

using Tree = std::unique_ptr<IFF_Chunk, TreeRelease>;

// The chunk tree of a file's bytes, read with the ILBM chunk types; null when they are not one.
Tree readTree(const std::vector<std::uint8_t> &bytes) {
    // Opened for reading only: the bytes are not written.
    FILE *file = fmemopen(const_cast<std::uint8_t *>(bytes.data()), bytes.size(), "rb");
    if (file == nullptr) {
        return nullptr;
    }
    Tree tree(ILBM_readFd(file));
    std::fclose(file);
    return tree;
}

struct Images {
    ILBM_Image **images = nullptr;
    unsigned length = 0;
    ~Images() { ILBM_freeImages(images, length); }
};

bool fail(std::string *error, const std::string &text) {
    *error = text;
    return false;
}

// The body's bytes as stored, unpacked: rows of rowSize bytes, bodyPlanes of them for every
// picture row. *data points at them: in the chunk itself when it is not packed, else in *body.
bool unpackBody(const ILBM_Image *image, const IFF_RawChunk *chunk, size_t rowSize,
                unsigned bodyPlanes, std::vector<std::uint8_t> *body, const std::uint8_t **data,
                std::string *error) {
    const ILBM_BitMapHeader *header = image->bitMapHeader;
    const char *name = ILBM_imageIsACBM(image) ? "ABIT" : "BODY";
    const size_t stored = chunk->chunkSize > 0 ? static_cast<size_t>(chunk->chunkSize) : 0;
    const size_t size = rowSize * bodyPlanes * header->h;
    if (header->compression == ILBM_CMP_NONE) {
        if (stored < size) {
            return fail(error, std::string("the ") + name + " holds " + std::to_string(stored) +
                                   " bytes, while the picture needs " + std::to_string(size));
        }
        *data = chunk->chunkData;
        return true;
    }
    *data = nullptr;
    // Two packed bytes give at most 128: a body too short for that is not worth a buffer.
    if (size / 64 > stored) {
        return fail(error, "the packed BODY of " + std::to_string(stored) +
                               " bytes cannot hold the picture's " + std::to_string(size));
    }
    body->assign(size, 0);
    ILBM_ByteRunResult result =
        ILBM_unpackByteRunData(chunk->chunkData, stored, body->data(), size);
    if (result.written < size && ILBM_imageIsPBM(image) && header->w % 2 != 0) {
        // Rows packed without the byte that makes them even, as some programs write them.
        const size_t width = header->w;
        std::vector<std::uint8_t> rows(width * header->h);
        result = ILBM_unpackByteRunData(chunk->chunkData, stored, rows.data(), rows.size());
        if (result.written == rows.size()) {
            for (size_t y = 0; y < header->h; y++) {
                std::copy_n(rows.data() + y * width, width, body->data() + y * rowSize);
            }
            result.written = size;
        }
    }
    if (result.written < size) {
        return fail(error, "the packed BODY ends after " + std::to_string(result.written) +
                               " of the picture's " + std::to_string(size) + " bytes");
    }
    *data = body->data();
    return true;
}

// Where a packed body is read from a piece at a time: the file it was read from, at `at`,
// when the file's bytes have been released. Reads nothing without a file.
struct BodyInFile {
    std::FILE *file = nullptr;
    long at = 0;
    size_t size = 0;
};

// The body's bytes read whole from the file into the chunk again, for what does not read it a
// piece at a time. False, with the error set, when the file no longer holds them.
bool loadBody(const BodyInFile &place, IFF_RawChunk *chunk, std::string *error) {
    auto *data = static_cast<IFF_UByte *>(std::malloc(place.size));
    if (data == nullptr || std::fseek(place.file, place.at, SEEK_SET) != 0 ||
        std::fread(data, 1, place.size, place.file) != place.size) {
        std::free(data);
        return fail(error, "the file's BODY cannot be read again");
    }
    chunk->chunkData = data;
    return true;
}

// Where in the bytes the data of the chunk lies, by its header and its contents; -1 when it
// is not found.
long offsetIn(const std::vector<std::uint8_t> &bytes, const IFF_RawChunk *chunk) {
    const size_t size = static_cast<size_t>(chunk->chunkSize);
    const std::uint8_t header[8] = {
        static_cast<std::uint8_t>(chunk->chunkId[0]), static_cast<std::uint8_t>(chunk->chunkId[1]),
        static_cast<std::uint8_t>(chunk->chunkId[2]), static_cast<std::uint8_t>(chunk->chunkId[3]),
        static_cast<std::uint8_t>(size >> 24),        static_cast<std::uint8_t>(size >> 16),
        static_cast<std::uint8_t>(size >> 8),         static_cast<std::uint8_t>(size)};
    // A few places that look like it at most: a file made of such headers costs no more.
    auto at = bytes.begin();
    for (int tries = 0;
         tries < 8 && (at = std::search(at, bytes.end(), header, header + 8)) != bytes.end();
         tries++) {
        const size_t data = static_cast<size_t>(at - bytes.begin()) + 8;
        if (bytes.size() - data >= size &&
            std::equal(chunk->chunkData, chunk->chunkData + size, bytes.begin() + data)) {
            return static_cast<long>(data);
        }
        ++at;
    }
    return -1;
}

std::uint32_t bitAt(const std::uint8_t *row, unsigned x) {
    return (row[x >> 3] >> (7 - (x & 7))) & 1u;
}

// The data of a chunk of the picture's FORM that the libraries keep as it is.
std::optional<std::span<const std::uint8_t>> rawChunk(const ILBM_Image *image, const char *id) {
    const IFF_Chunk *chunk =
        image->form != nullptr ? IFF_getChunkFromForm(image->form, id) : nullptr;
    if (chunk == nullptr) {
        return std::nullopt;
    }
    const auto *raw = reinterpret_cast<const IFF_RawChunk *>(chunk);
    const size_t size = raw->chunkSize > 0 && raw->chunkData != nullptr ? raw->chunkSize : 0;
    return std::span<const std::uint8_t>(raw->chunkData, size);
}

// The palette changes of a PCHG chunk, else of a SHAM chunk; one that cannot be used is named
// in a warning and the picture is shown without it.
void readColourChanges(const ILBM_Image *image, Picture *picture) {
    std::string problem;
    std::optional<std::vector<ColourChange>> changes;
    if (const auto pchg = rawChunk(image, "PCHG")) {
        changes = readPchg(*pchg, picture->height, &problem);
        if (rawChunk(image, "SHAM")) {
            picture->warnings.push_back(
                "the picture has a PCHG and a SHAM chunk; the PCHG is used");
        }
    } else if (const auto sham = rawChunk(image, "SHAM")) {
        changes = readSham(*sham, picture->palette, picture->height,
                           (picture->viewportMode & kLace) != 0, &problem);
    } else {
        return;
    }
    if (!changes) {
        picture->warnings.push_back(problem + "; the picture is shown without its changes");
        return;
    }
    picture->colourChanges = std::move(*changes);
}

bool readImage(const ILBM_Image *image, Picture *picture, std::string *error,
               const BodyInFile &place) {
    const ILBM_BitMapHeader *header = image->bitMapHeader;
    if (header == nullptr) {
        return fail(error, "the picture has no bitmap header (BMHD)");
    }
    const bool pbm = ILBM_imageIsPBM(image);
    const bool acbm = ILBM_imageIsACBM(image);
    picture->source = pbm ? Source::Pbm : acbm ? Source::Acbm : Source::Ilbm;
    const char *kind = pbm ? "PBM" : acbm ? "ACBM" : "ILBM";
    const unsigned width = header->w;
    const unsigned height = header->h;
    const unsigned planes = header->nPlanes;
    if (std::string problem = sizeProblem(kind, width, height); !problem.empty()) {
        return fail(error, problem);
    }
    if (planes == 0) {
        return fail(error, std::string("the ") + kind +
                               " holds a colour map only (BMHD nPlanes is 0), no picture");
    }
    if (planes > (pbm ? 8u : 32u)) {
        return fail(error, std::string("the ") + kind + " picture has " + std::to_string(planes) +
                               " planes; " + (pbm ? "8" : "32") + " is the most read");
    }
    IFF_RawChunk *chunk = acbm ? image->bitplanes : image->body;
    if (chunk == nullptr) {
        return fail(error,
                    std::string("the ") + kind + " picture has no " + (acbm ? "ABIT" : "BODY"));
    }
    if (header->compression > ILBM_CMP_BYTE_RUN || (acbm && header->compression != 0)) {
        return fail(error, std::string("the ") + kind + " picture is compressed with method " +
                               std::to_string(static_cast<unsigned>(header->compression)) +
                               ", which is not read (only ByteRun1 for ILBM and PBM)");
    }
    const bool masked = !pbm && header->masking == ILBM_MSK_HAS_MASK;
    const size_t rowSize = pbm ? (width + 1) & ~1u : ILBM_calculateRowSize(image);
    const unsigned bodyPlanes = pbm ? 1 : planes + (masked ? 1 : 0);
    const size_t count = size_t{width} * height;
    // An ILBM's picture row: its plane rows (and mask row) one after another, rowSize apart,
    // which is how one row of whole planes lies, so a row converts as a picture of one row.
    auto convertRow = [&](unsigned y, const std::uint8_t *rows) {
        if (planes <= 8) {
            const std::vector<std::uint8_t> row = amiga::chunkyFromPlanes(rows, width, 1, planes);
            std::copy(row.begin(), row.end(), picture->pixels.begin() + size_t{y} * width);
        } else {
            std::uint32_t *out = picture->deepPixels.data() + size_t{y} * width;
            for (unsigned p = 0; p < planes; p++) {
                for (unsigned x = 0; x < width; x++) {
                    out[x] |= bitAt(rows + p * rowSize, x) << p;
                }
            }
        }
        if (masked) {
            for (unsigned x = 0; x < width; x++) {
                picture->opacity[size_t{y} * width + x] =
                    bitAt(rows + planes * rowSize, x) ? 255 : 0;
            }
        }
    };
    if (!pbm) {
        if (planes <= 8) {
            picture->pixels.assign(count, 0);
        } else {
            picture->deepPixels.assign(count, 0);
        }
        picture->opacity.resize(masked ? count : 0);
    }
    // An ILBM's body is unpacked a picture row at a time, so that reading it holds no more
    // than the picture; a body whose runs cross rows, or too short, is unpacked whole below.
    // A body left in the file is read a piece at a time: a piece holds at least what the
    // longest packed picture row can take, while the body has that much left.
    bool converted = false;
    const bool packed = header->compression == ILBM_CMP_BYTE_RUN;
    const size_t stored = chunk->chunkSize > 0 ? static_cast<size_t>(chunk->chunkSize) : 0;
    if (!pbm && !acbm && stored > 0 &&
        (packed || stored >= size_t{height} * rowSize * bodyPlanes)) {
        std::vector<std::uint8_t> rows(rowSize * bodyPlanes);
        const size_t longestRow =
            packed ? ILBM_byteRunRowWorstCase(rowSize) * bodyPlanes : rows.size();
        std::vector<std::uint8_t> piece(chunk->chunkData == nullptr ? longestRow + (1u << 16) : 0);
        const std::uint8_t *data = chunk->chunkData;
        size_t at = 0, end = stored, unread = 0;
        converted = true;
        if (chunk->chunkData == nullptr) {
            converted = std::fseek(place.file, place.at, SEEK_SET) == 0;
            end = 0;
            unread = stored;
            data = piece.data();
        }
        for (unsigned y = 0; y < height && converted; y++) {
            if (unread > 0 && end - at < longestRow) {
                std::copy(piece.begin() + at, piece.begin() + end, piece.begin());
                end -= at;
                at = 0;
                const size_t got = std::fread(piece.data() + end, 1,
                                              std::min(unread, piece.size() - end), place.file);
                unread = got > 0 ? unread - got : 0;
                end += got;
            }
            if (packed) {
                const ILBM_ByteRunResult result =
                    ILBM_unpackByteRunData(data + at, end - at, rows.data(), rows.size());
                converted = result.written == rows.size() && !result.overrun;
                at += result.consumed;
            } else {
                converted = end - at >= rows.size();
                std::copy_n(data + at, converted ? rows.size() : 0, rows.begin());
                at += rows.size();
            }
            if (converted) {
                convertRow(y, rows.data());
            }
        }
    }
    if (chunk->chunkData == nullptr && chunk->chunkSize > 0 && !converted &&
        !loadBody(place, chunk, error)) {
        return false;
    }
    if (!converted) {
        std::vector<std::uint8_t> unpacked;
        const std::uint8_t *body = nullptr;
        if (!unpackBody(image, chunk, rowSize, bodyPlanes, &unpacked, &body, error)) {
            return false;
        }
        if (pbm) {
            picture->pixels.resize(count);
            for (unsigned y = 0; y < height; y++) {
                std::copy_n(body + y * rowSize, width, picture->pixels.data() + y * width);
            }
        } else if (acbm) {
            // Whole planes, one after another.
            const size_t planeSize = rowSize * height;
            std::vector<std::uint8_t> rows(rowSize * bodyPlanes);
            for (unsigned y = 0; y < height; y++) {
                for (unsigned p = 0; p < bodyPlanes; p++) {
                    std::copy_n(body + p * planeSize + y * rowSize, rowSize,
                                rows.begin() + p * rowSize);
                }
                convertRow(y, rows.data());
            }
        } else {
            std::fill(picture->deepPixels.begin(), picture->deepPixels.end(), 0);
            for (unsigned y = 0; y < height; y++) {
                convertRow(y, body + size_t{y} * bodyPlanes * rowSize);
            }
        }
    }

    picture->width = width;
    picture->height = height;
    picture->depth = planes;
    if (pbm) {
        // A chunky byte holds 8 bits, the picture says how many of them are its colour: a
        // colour number past its planes is not a colour of the picture, as with planes.
        if (planes < 8) {
            const auto keep = static_cast<std::uint8_t>((1u << planes) - 1);
            size_t over = 0;
            for (std::uint8_t &pixel : picture->pixels) {
                over += (pixel & ~keep) != 0 ? 1 : 0;
                pixel &= keep;
            }
            if (over > 0) {
                picture->warnings.push_back(
                    std::to_string(over) + " pixel" + (over == 1 ? " has" : "s have") +
                    " a colour number past the picture's " + std::to_string(planes) +
                    " planes; its higher bits are left out");
            }
        }
    }

    if (header->masking == ILBM_MSK_HAS_TRANSPARENT_COLOR) {
        picture->transparentColours.push_back(header->transparentColor);
    } else if (header->masking == ILBM_MSK_LASSO) {
        picture->warnings.push_back("the picture's lasso masking is not used");
    } else if (header->masking > ILBM_MSK_LASSO) {
        picture->warnings.push_back("the picture's masking " +
                                    std::to_string(static_cast<unsigned>(header->masking)) +
                                    " is unknown and not used");
    }

    if (image->colorMap != nullptr) {
        for (unsigned i = 0; i < image->colorMap->colorRegisterLength; i++) {
            const ILBM_ColorRegister &c = image->colorMap->colorRegister[i];
            picture->palette.push_back({c.red, c.green, c.blue});
        }
    }

    if (image->viewport != nullptr) {
        picture->viewportMode = static_cast<std::uint32_t>(image->viewport->viewportMode);
        picture->hasViewportMode = true;
    }
    picture->xAspect = image->bitMapHeader->xAspect;
    picture->yAspect = image->bitMapHeader->yAspect;
    if (planes == 24 || planes == 32) {
        picture->mode = DisplayMode::TrueColour;
    } else if ((picture->viewportMode & kHoldAndModify) != 0 && planes <= 8) {
        // Planes a HAM picture lacks read as 0 on the machine: 5 planes show as HAM6, 7 as HAM8.
        picture->mode = planes <= 6 ? DisplayMode::Ham6 : DisplayMode::Ham8;
    } else if ((picture->viewportMode & kExtraHalfbrite) != 0 && planes == 6) {
        picture->mode = DisplayMode::ExtraHalfbrite;
    }
    if (image->colorMap == nullptr && planes <= 8) {
        // As many grey levels as the registers the display mode uses.
        const unsigned registers = picture->mode == DisplayMode::Ham6             ? 16
                                   : picture->mode == DisplayMode::Ham8           ? 64
                                   : picture->mode == DisplayMode::ExtraHalfbrite ? 32
                                                                                  : 1u << planes;
        picture->palette = greyLevels(registers);
        picture->warnings.push_back("the picture has no colour map (CMAP); grey levels are used");
    }
    picture->twelveBitPalette = storesTwelveBit(picture->palette);
    readColourChanges(image, picture);
    return true;
}

} // namespace

std::optional<Picture> readIff(const std::vector<std::uint8_t> &bytes, std::string *error,
                               unsigned index, std::vector<std::uint8_t> *release,
                               std::FILE *file) {
    const MessageCapture messages;
    Tree tree = readTree(bytes);
    if (tree == nullptr) {
        const std::string start(bytes.begin(), bytes.begin() + std::min<size_t>(bytes.size(), 4));
        if (start == "FORM" || start == "LIST" || start == "CAT ") {
            *error = joined("the IFF file cannot be read", messages);
        } else {
            *error = "not a PNG or IFF picture (it begins with neither the PNG signature nor an "
                     "IFF FORM, LIST or CAT)";
        }
        return std::nullopt;
    }
    Images images;
    images.images = ILBM_extractImages(tree.get(), &images.length);
    if (images.images == nullptr || images.length == 0) {
        *error = joined("the IFF file holds no ILBM, ACBM or PBM picture", messages);
        return std::nullopt;
    }
    if (index >= images.length) {
        *error = "the IFF file holds " + std::to_string(images.length) +
                 (images.length == 1 ? " picture" : " pictures") + ", there is no picture " +
                 std::to_string(index + 1);
        return std::nullopt;
    }
    // With the file at hand, an ILBM's body is read from there again a piece at a time rather
    // than held beside the picture.
    BodyInFile place;
    ILBM_Image *image = images.images[index];
    if (release != nullptr && file != nullptr && image->body != nullptr &&
        image->body->chunkData != nullptr && !ILBM_imageIsPBM(image) && !ILBM_imageIsACBM(image) &&
        image->bitMapHeader != nullptr && image->bitMapHeader->compression <= ILBM_CMP_BYTE_RUN) {
        place.at = offsetIn(bytes, image->body);
        if (place.at >= 0) {
            place.file = file;
            place.size = static_cast<size_t>(image->body->chunkSize);
            std::free(image->body->chunkData);
            image->body->chunkData = nullptr;
        }
    }
    if (release != nullptr) {
        std::vector<std::uint8_t>().swap(*release);
    }
    Picture picture;
    std::string problem;
    if (!readImage(image, &picture, &problem, place)) {
        *error = joined(problem, messages);
        return std::nullopt;
    }
    if (images.length > 1) {
        picture.warnings.insert(picture.warnings.begin(),
                                index == 0 ? "the first of " + std::to_string(images.length) +
                                                 " pictures is used"
                                           : "picture " + std::to_string(index + 1) + " of " +
                                                 std::to_string(images.length) + " is used");
    }
    for (const Message &message : messages.messages()) {
        picture.warnings.push_back(message.text);
    }
    return picture;
}

std::vector<PictureSummary> iffPictures(const std::vector<std::uint8_t> &bytes) {
    const MessageCapture silenced; // only the pictures matter here
    Tree tree = readTree(bytes);
    if (tree == nullptr) {
        return {};
    }
    Images images;
    images.images = ILBM_extractImages(tree.get(), &images.length);
    std::vector<PictureSummary> pictures;
    for (unsigned int i = 0; images.images != nullptr && i < images.length; i++) {
        const ILBM_Image *image = images.images[i];
        PictureSummary summary;
        summary.source = ILBM_imageIsPBM(image)    ? Source::Pbm
                         : ILBM_imageIsACBM(image) ? Source::Acbm
                                                   : Source::Ilbm;
        if (const ILBM_BitMapHeader *header = image->bitMapHeader) {
            summary.width = header->w;
            summary.height = header->h;
            summary.depth = header->nPlanes;
        }
        if (image->colorMap != nullptr) {
            summary.colours = image->colorMap->colorRegisterLength;
        }
        pictures.push_back(summary);
    }
    return pictures;
}

std::optional<std::vector<amiga::Rgb8>> iffColourMap(const std::vector<std::uint8_t> &bytes,
                                                     unsigned index) {
    const MessageCapture silenced; // only the pictures matter here
    Tree tree = readTree(bytes);
    if (tree == nullptr) {
        return std::nullopt;
    }
    const char *const types[] = {"ILBM", "ACBM", "PBM "};
    unsigned int length = 0;
    IFF_Form **forms = IFF_searchFormsFromArray(tree.get(), types, 3, &length);
    std::optional<std::vector<amiga::Rgb8>> colours;
    if (length > index) {
        colours.emplace();
    }
    // The form of that index; for the first, the first form that has a colour map.
    for (unsigned int i = index; i < length && colours->empty() && (index == 0 || i == index);
         i++) {
        const auto *colorMap =
            reinterpret_cast<const ILBM_ColorMap *>(IFF_getChunkFromForm(forms[i], ILBM_ID_CMAP));
        if (colorMap == nullptr || colorMap->colorRegisterLength == 0) {
            continue;
        }
        for (unsigned int r = 0; r < colorMap->colorRegisterLength; r++) {
            const ILBM_ColorRegister &c = colorMap->colorRegister[r];
            colours->push_back({c.red, c.green, c.blue});
        }
    }
    std::free(forms);
    return colours;
}

} // namespace picture::detail
