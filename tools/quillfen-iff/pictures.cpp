// The commands for pictures: ByteRun1 and layout conversion of ILBM, ACBM and PBM pictures;
// the bitplanes, masks, sprites and palette tables of those and of PNGs, for incbin or as
// assembly data; PNGs to ILBMs, their colours reduced when asked.
#include "command.h"

#include <picture/bobs.h>
#include <picture/export.h>
#include <picture/font.h>
#include <picture/linecolours.h>
#include <picture/messages.h>
#include <picture/picture.h>
#include <picture/reduce.h>
#include <picture/region.h>
#include <picture/sheet.h>
#include <picture/tiles.h>

#include <ilbm/byterun.h>
#include <ilbm/ilbm.h>
#include <ilbm/ilbmimage.h>
#include <ilbm/interleave.h>

#include <iff/rawchunk.h>

#include <amiga/asmtext.h>
#include <amiga/carray.h>
#include <amiga/colourcode.h>

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quillfen_iff {

namespace {

using quillfen_cli::Base;
using quillfen_cli::parseHex;

struct FreeRelease {
    void operator()(void *data) const { free(data); }
};
using Buffer = std::unique_ptr<unsigned char, FreeRelease>;

/* A picture file read whole ("-" is the standard input), with its pictures: read here, or from
   bytes already read. */
class Pictures {
public:
    Pictures(const Arguments &arguments, const char *path,
             std::vector<unsigned char> *bytes = nullptr)
        : arguments_(arguments), path_(path),
          tree_(bytes != nullptr ? treeOf(arguments, path, *bytes, &status_)
                                 : readFile(arguments, path, &status_)) {
        if (tree_ != nullptr) {
            images_ = ILBM_extractImages(tree_.get(), &length_);
        }
    }
    ~Pictures() { ILBM_freeImages(images_, length_); }
    Pictures(const Pictures &) = delete;
    Pictures &operator=(const Pictures &) = delete;

    /* kSuccess when the file was read and holds at least one picture; else the exit status,
       after a message. */
    int status() const {
        if (tree_ == nullptr) {
            return status_;
        }
        if (images_ == nullptr || length_ == 0) {
            report(arguments_, "%s: no picture with a bitmap header\n", path_);
            return kNegative;
        }
        return kSuccess;
    }

    /* As status(), for a command that uses the picture of that index (0 the first): notes
       when there are several, refuses an index past the last. */
    int pictureStatus(unsigned int index) const {
        int result = status();
        if (result == kSuccess && index >= length_) {
            report(arguments_, "%s holds %u picture%s, there is no picture %u\n", path_, length_,
                   length_ == 1 ? "" : "s", index + 1);
            return kNegative;
        }
        if (result == kSuccess && length_ > 1) {
            if (index == 0) {
                report(arguments_, "%s holds %u pictures; the first is used\n", path_, length_);
            } else {
                report(arguments_, "%s holds %u pictures; picture %u is used\n", path_, length_,
                       index + 1);
            }
        }
        return result;
    }

    IFF_Chunk *tree() const { return tree_.get(); }
    unsigned int size() const { return length_; }
    ILBM_Image *operator[](unsigned int i) const { return images_[i]; }

private:
    const Arguments &arguments_;
    const char *path_;
    int status_ = kSuccess;
    Tree tree_;
    ILBM_Image **images_ = nullptr;
    unsigned int length_ = 0;
};

/* The tree as a file: its bytes, or an empty buffer after a message. */
std::vector<unsigned char> bytesOf(const Arguments &arguments, const IFF_Chunk *tree) {
    char *data = nullptr;
    size_t size = 0;
    FILE *memory = open_memstream(&data, &size);
    if (memory == nullptr) {
        report(arguments, "out of memory\n");
        return {};
    }
    const int written = IFF_writeFd(memory, tree, extension(), extensionLength());
    fclose(memory);
    Buffer owner(reinterpret_cast<unsigned char *>(data));
    if (!written || size == 0) {
        return {};
    }
    return std::vector<unsigned char>(owner.get(), owner.get() + size);
}

/*
 * Whether the bytes of a converted file read back as a valid file holding as many pictures as the
 * file read: a conversion writes nothing else. The messages of the reading were given when the
 * file itself was read; those of the check say what is wrong.
 */
bool holdsPictures(std::vector<unsigned char> &bytes, unsigned int pictures) {
    Tree tree;
    unsigned int found = 0;
    {
        const picture::MessageCapture reading; // said already, when the file itself was read
        FILE *memory = fmemopen(bytes.data(), bytes.size(), "rb");
        tree.reset(memory != nullptr ? IFF_readFd(memory, extension(), extensionLength())
                                     : nullptr);
        if (memory != nullptr) {
            fclose(memory);
        }
        ILBM_Image **images = tree != nullptr ? ILBM_extractImages(tree.get(), &found) : nullptr;
        ILBM_freeImages(images, found);
    }
    return tree != nullptr && ILBM_check(tree.get()) && found == pictures;
}

/* Whether two readings show the same picture: its size, pixel values or colours, colour map,
   display mode and transparency, whatever its layout or compression. */
bool samePicture(const picture::Picture &a, const picture::Picture &b) {
    return a.width == b.width && a.height == b.height && a.depth == b.depth && a.mode == b.mode &&
           a.pixels == b.pixels && a.deepPixels == b.deepPixels && a.trueColour == b.trueColour &&
           a.palette == b.palette && a.opacity == b.opacity &&
           a.transparentColours == b.transparentColours;
}

int pack(ILBM_Image *image, bool);

/* Applies one operation to every picture of FILE and writes the tree to OUT, when what it writes
   is a valid file that holds the pictures and shows the first as it was. */
int transform(const Arguments &arguments, int (*apply)(ILBM_Image *, bool), bool flag = false,
              std::vector<unsigned char> *bytesRead = nullptr) {
    const char *path = arguments.operands()[0].c_str();
    std::vector<unsigned char> read;
    if (bytesRead == nullptr) {
        if (!readBytes(arguments, path, &read)) {
            return kTrouble;
        }
        bytesRead = &read;
    }
    Pictures pictures(arguments, path, bytesRead);
    if (int status = pictures.status(); status != kSuccess) {
        return status;
    }
    for (unsigned int i = 0; i < pictures.size(); i++) {
        if (apply == pack && ILBM_imageIsACBM(pictures[i])) {
            /* An ACBM keeps its planes whole: its ABIT is never compressed. */
            report(arguments,
                   "picture %u of '%s' is an ACBM picture, which is never packed; it is "
                   "kept as it is\n",
                   i + 1, path);
            continue;
        }
        if (!apply(pictures[i], flag)) {
            report(arguments, "picture %u of '%s' cannot be converted; nothing is written\n", i + 1,
                   path);
            return kNegative;
        }
    }
    /* Chunks that were read as far as they went are written whole. */
    ILBM_completeChunks(pictures.tree());
    std::vector<unsigned char> bytes = bytesOf(arguments, pictures.tree());
    if (bytes.empty()) {
        report(arguments, "the converted '%s' cannot be written; nothing is written\n", path);
        return kNegative;
    }
    if (!holdsPictures(bytes, pictures.size())) {
        report(arguments,
               "the converted '%s' would not be a valid file holding its %u picture%s; nothing "
               "is written\n",
               path, pictures.size(), pictures.size() == 1 ? "" : "s");
        return kNegative;
    }
    /* What the picture readers show of the file stays as it was. */
    const std::optional<picture::Picture> before = picture::readPicture(*bytesRead, nullptr);
    const std::optional<picture::Picture> after = picture::readPicture(bytes, nullptr);
    if (before && (!after || !samePicture(*before, *after))) {
        report(arguments,
               "the converted '%s' would not show the same picture; nothing is written\n", path);
        return kNegative;
    }
    return writeFile(arguments, arguments.operands()[1].c_str(), bytes.data(), bytes.size());
}

int unpack(ILBM_Image *image, bool) {
    return ILBM_unpackByteRun(image);
}

int pack(ILBM_Image *image, bool) {
    return ILBM_packByteRun(image);
}

int toAcbm(ILBM_Image *image, bool) {
    if (!ILBM_imageIsILBM(image)) {
        return 1;
    }
    return ILBM_unpackByteRun(image) && ILBM_convertILBMToACBM(image);
}

int toIlbm(ILBM_Image *image, bool packAfter) {
    if (!ILBM_imageIsACBM(image)) {
        return 1;
    }
    return ILBM_convertACBMToILBM(image) && (!packAfter || ILBM_packByteRun(image));
}

/* Colours as the Colour tab's palette code prints them from bank 0 COLOR00: the same
   generator, so the same colours give the same text. */
void printPalette(const std::vector<amiga::Rgb8> &colours, bool aga, bool ocs,
                  std::uint16_t bplcon3) {
    if (aga) {
        fputs(amiga::paletteCode({true, true, bplcon3}, 0, 0, colours).c_str(), stdout);
    }
    if (ocs) {
        fputs(amiga::paletteCode({false, true}, 0, 0, colours).c_str(), stdout);
    }
}

bool isPng(const std::vector<unsigned char> &bytes) {
    static const unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    return bytes.size() >= sizeof signature &&
           memcmp(bytes.data(), signature, sizeof signature) == 0;
}

/* --chipset: true for aga, false for ocs (the default); anything else is a usage error. */
bool agaChipset(Arguments &arguments) {
    const std::optional<std::string> text = arguments.value("--chipset");
    if (!text || *text == "ocs") {
        return false;
    }
    if (*text != "aga") {
        arguments.fail("option '--chipset' takes ocs or aga, not '" + *text + "'");
    }
    return *text == "aga";
}

/* --reduce N with --dither and --chipset. */
std::optional<picture::Reduction> colourReduction(Arguments &arguments) {
    const std::optional<std::int64_t> colours = arguments.number("--reduce", Base::Decimal, 2, 256);
    const bool twelveBit = !agaChipset(arguments);
    if (!colours) {
        if (arguments.has("--dither")) {
            arguments.fail("--dither goes with --reduce N");
        }
        return std::nullopt;
    }
    picture::Reduction reduction;
    reduction.colours = static_cast<unsigned>(*colours);
    reduction.twelveBit = twelveBit;
    if (arguments.has("--dither")) {
        reduction.dither =
            arguments.value("--dither") ? picture::Dither::Ordered : picture::Dither::Diffuse;
    }
    return reduction;
}

/* What every picture command starts from once it has read its own options: the reduction asked
   for and the bytes of FILE. Nothing, with *status the exit status, after a usage error or when
   FILE cannot be read. */
struct Input {
    const char *path = nullptr;
    std::optional<picture::Reduction> reduction;
    std::vector<unsigned char> bytes;
    unsigned index = 0;                    // the picture of FILE: --picture N counts from 1
    std::optional<picture::Region> region; // --region X,Y,W,H: the rectangle converted
};

std::optional<Input> readInput(Arguments &arguments, int *status) {
    Input input;
    input.reduction = colourReduction(arguments);
    if (const auto picture = arguments.number("--picture", Base::Decimal, 1, 65535)) {
        input.index = static_cast<unsigned>(*picture - 1);
    }
    if (const std::optional<std::string> region = arguments.value("--region")) {
        input.region = picture::parseRegion(*region);
        if (!input.region) {
            arguments.fail("option '--region' takes X,Y,W,H, the left, top, width and height in "
                           "pixels (four decimal numbers), not '" +
                           *region + "'");
        }
    }
    if (!arguments.ok()) {
        *status = usageError(arguments);
        return std::nullopt;
    }
    input.path = arguments.operands()[0].c_str();
    if (!readBytes(arguments, input.path, &input.bytes)) {
        *status = kTrouble;
        return std::nullopt;
    }
    return input;
}

/*
 * The chosen picture of a file read whole (an ILBM, ACBM or PBM picture or a PNG), reduced when
 * asked. A true-colour PNG must be reduced: without a reduction it is refused, with its number
 * of colours. Nothing after a message, with *status set. With colourMapAlone, an IFF file that
 * holds no picture but a colour map saved alone (a BMHD and a CMAP without a BODY) gives that
 * colour map there and nothing else, with *status kSuccess and no message. Without
 * colourMapAlone the file's bytes are taken from input.
 */
std::optional<picture::Picture> loadPicture(const Arguments &arguments, Input &input, int *status,
                                            std::vector<amiga::Rgb8> *colourMapAlone = nullptr) {
    const char *path = input.path;
    const std::vector<unsigned char> &bytes = input.bytes;
    const std::optional<picture::Reduction> &reduction = input.reduction;
    std::string error;
    /* The file's bytes are handed over, to be released before the picture is made, unless a
       colour map alone may still be read from them. */
    /* A reduction is made while the picture is read: a true-colour PNG is never held whole. */
    std::optional<picture::Picture> read =
        colourMapAlone != nullptr ? picture::readPicture(bytes, &error, input.index)
        : reduction ? picture::readReducedPicture(std::move(input.bytes), *reduction, &error,
                                                  input.index, path)
                    : picture::readPicture(std::move(input.bytes), &error, input.index, path);
    if (!read) {
        // What is wrong with the file as a palette is said as every reader of a palette says it.
        if (colourMapAlone != nullptr && !reduction && !isPng(bytes)) {
            if (std::optional<std::vector<amiga::Rgb8>> colours =
                    picture::readColourMap(bytes, &error, input.index)) {
                if (input.region) {
                    report(arguments,
                           "%s: the colour map is saved alone, without pixels to cut a region "
                           "from. Nothing is written.\n",
                           path);
                    *status = kTrouble;
                    return std::nullopt;
                }
                *colourMapAlone = std::move(*colours);
                *status = kSuccess;
                return std::nullopt;
            }
        }
        report(arguments, "%s: %s\n", path, error.c_str());
        *status = kNegative;
        return std::nullopt;
    }
    for (const std::string &warning : read->warnings) {
        report(arguments, "%s: %s\n", path, warning.c_str());
    }
    if (input.region) {
        /* Cut after reading and any reduction: the colours chosen are those of the whole picture.
         */
        std::optional<picture::Picture> cut = picture::cutRegion(*read, *input.region, &error);
        if (!cut) {
            report(arguments, "%s: %s Nothing is written.\n", path, error.c_str());
            *status = kTrouble;
            return std::nullopt;
        }
        for (const std::string &warning : cut->warnings) {
            report(arguments, "%s: %s\n", path, warning.c_str());
        }
        read = std::move(cut);
    }
    if (reduction && colourMapAlone != nullptr) {
        return picture::reduce(*read, *reduction);
    } else if (reduction) {
        *status = kSuccess;
        return read;
    } else if (!read->trueColour.empty()) {
        const unsigned colours = picture::countColours(*read);
        const std::string what = colours == 0   ? std::string("with no opaque pixel")
                                 : colours == 1 ? std::string("of 1 colour")
                                                : "of " + std::to_string(colours) + " colours";
        report(arguments,
               "'%s' is a %u x %u true-colour picture (%s) %s; save it as an indexed PNG or ask "
               "for --reduce N\n",
               path, read->width, read->height, read->depth == 32 ? "RGB with alpha" : "RGB",
               what.c_str());
        *status = kNegative;
        return std::nullopt;
    }
    *status = kSuccess;
    return read;
}

/* A message as a sentence: with its full stop. */
std::string sentence(std::string text) {
    if (!text.empty() && text.back() != '.') {
        text += '.';
    }
    return text;
}

/* What an export made: its warnings, then its bytes or text written to path ("-" is the
   standard output); or its refusal. */
int writeOutput(const Arguments &arguments, const char *input, const picture::Output &output,
                const char *path) {
    for (const std::string &warning : output.warnings) {
        report(arguments, "%s: %s\n", input, warning.c_str());
    }
    if (!output.ok()) {
        report(arguments, "%s: %s Nothing is written.\n", input, sentence(output.error).c_str());
        return kNegative;
    }
    if (!output.text.empty() || output.bytes.empty()) {
        return writeFile(arguments, path,
                         reinterpret_cast<const unsigned char *>(output.text.data()),
                         output.text.size());
    }
    return writeFile(arguments, path, output.bytes.data(), output.bytes.size());
}

/* The options every sheet command sets alike: the cut, its form, the data's name and the C
   attribute. */
picture::SheetOptions sheetOf(picture::SheetCut cut, bool c, bool text, std::string name,
                              std::string attribute) {
    picture::SheetOptions options;
    options.cut = cut;
    options.form = c      ? picture::SheetForm::C
                   : text ? picture::SheetForm::Text
                          : picture::SheetForm::Binary;
    options.name = std::move(name);
    options.attribute = std::move(attribute);
    return options;
}

/* What a sheet command cut: its warnings, then its data written to out and, when second is
   given, the file that goes with it, both or neither; or its refusal. */
int writeSheet(const Arguments &arguments, const char *input, const picture::Sheet &sheet,
               const std::string &out, const std::optional<std::string> &second) {
    if (!second || !sheet.data.ok()) {
        return writeOutput(arguments, input, sheet.data, out.c_str());
    }
    for (const std::string &warning : sheet.data.warnings) {
        report(arguments, "%s: %s\n", input, warning.c_str());
    }
    const auto contents = [](const picture::Output &output) {
        return output.text.empty() ? std::string(output.bytes.begin(), output.bytes.end())
                                   : output.text;
    };
    std::string error;
    if (!picture::writeWholeFilePair(out, contents(sheet.data), *second, contents(sheet.companion),
                                     &error)) {
        report(arguments, "%s\n", error.c_str());
        return kTrouble;
    }
    return kSuccess;
}

/* The name of the data written to out: --name NAME, else out's stem, as a label and a C
   identifier ("data" for the standard output). */
std::string dataName(const Arguments &arguments, const std::string &out) {
    if (const std::optional<std::string> name = arguments.value("--name")) {
        return amiga::symbolName(*name);
    }
    return amiga::symbolName(out == "-" ? std::string()
                                        : std::filesystem::path(out).stem().string());
}

/* --format c, on the commands whose only form besides bytes is their own: true; any other
   value, or --text beside it, a usage error. */
bool cFormat(Arguments &arguments) {
    const std::optional<std::string> text = arguments.value("--format");
    if (text && *text != "c") {
        arguments.fail("option '--format' takes c (a C array), not '" + *text + "'");
    }
    if (text && arguments.has("--text")) {
        arguments.fail("--text and --format c exclude each other");
    }
    return text && *text == "c";
}

/* --c-attribute TEXT, with C output only: a line of text. --name goes with named output. */
std::string cAttribute(Arguments &arguments, bool c, bool named, const char *namedBy) {
    if (arguments.has("--name") && !named) {
        arguments.fail(std::string("--name names the data of ") + namedBy);
    }
    const std::optional<std::string> text = arguments.value("--c-attribute");
    if (!text) {
        return {};
    }
    if (!c) {
        arguments.fail("--c-attribute goes with C output");
    }
    for (const char ch : *text) {
        if (static_cast<unsigned char>(ch) < 0x20) {
            arguments.fail("option '--c-attribute' takes text of one line");
            break;
        }
    }
    return *text;
}

/* An output's bytes as a C array after a comment saying what they are, named by --name or
   OUT; a refusal stays as it is. */
void toCArray(const Arguments &arguments, picture::Output &output, const std::string &out,
              const std::string &attribute, const std::string &what) {
    if (output.ok()) {
        output.text = picture::cArrayText(what, dataName(arguments, out), output.bytes, attribute);
    }
}

/* Whether a packed body holds `height` rows of rowBytes bytes, each packed by itself. */
bool packedRows(const IFF_RawChunk *data, size_t rowBytes, unsigned int height) {
    if (data->chunkSize <= 0 || data->chunkData == nullptr) {
        return false;
    }
    const size_t stored = static_cast<size_t>(data->chunkSize);
    std::vector<unsigned char> row(rowBytes);
    size_t at = 0;
    for (unsigned int y = 0; y < height; y++) {
        const ILBM_ByteRunResult result =
            ILBM_unpackByteRunData(data->chunkData + at, stored - at, row.data(), row.size());
        if (result.written != row.size() || result.overrun) {
            return false;
        }
        at += result.consumed;
    }
    return true;
}

/* The bitplanes of an ILBM or ACBM picture as they are stored, interleaved or planar, without
   a mask plane: raw without options, as it has always been. PBM pictures are for the caller. */
int storedPlanes(const Arguments &arguments, ILBM_Image *image, bool planar) {
    const char *path = arguments.operands()[0].c_str();
    /* An ILBM's planes are in its BODY, interleaved; an ACBM's in its ABIT, whole. */
    const bool whole = ILBM_imageIsACBM(image);
    const IFF_RawChunk *data = whole ? image->bitplanes : image->body;
    if (data == nullptr) {
        report(arguments, "the %s picture in '%s' has no %s\n", whole ? "ACBM" : "ILBM", path,
               whole ? "ABIT" : "BODY");
        return kNegative;
    }
    /* A packed BODY whose every row unpacks by itself is unpacked a row at a time as it is
       written, so that the picture is never held unpacked beside its packed form; any other is
       unpacked whole first. */
    const size_t rowSize = ILBM_calculateRowSize(image);
    const unsigned int bodyPlanes = ILBM_calculateBodyPlanes(image);
    const unsigned int height = image->bitMapHeader->h;
    const bool byRow = !whole && image->bitMapHeader->compression == ILBM_CMP_BYTE_RUN &&
                       bodyPlanes > 0 && packedRows(data, rowSize * bodyPlanes, height);
    if (!whole && !byRow && !ILBM_unpackByteRun(image)) {
        report(arguments, "the picture in '%s' cannot be unpacked\n", path);
        return kNegative;
    }
    if (!byRow && image->bitMapHeader->compression != ILBM_CMP_NONE) {
        report(arguments, "the ABIT in '%s' is compressed (%u), which ACBM pictures are not\n",
               path, static_cast<unsigned int>(image->bitMapHeader->compression));
        return kNegative;
    }
    if (bodyPlanes == 0) {
        report(arguments, "the picture in '%s' has no bitplanes to write\n", path);
        return kNegative;
    }
    const unsigned int nPlanes = image->bitMapHeader->nPlanes;
    const size_t planeSize = rowSize * height;
    if (!byRow && static_cast<size_t>(data->chunkSize) < planeSize * bodyPlanes) {
        report(arguments, "the %s in '%s' holds %d bytes, the picture needs %zu\n",
               whole ? "ABIT" : "BODY", path, static_cast<int>(data->chunkSize),
               planeSize * bodyPlanes);
        return kNegative;
    }

    /* Written a row of a plane at a time from where it is stored (the planes are as large as
       the picture: they are not laid out again whole). An ILBM's BODY holds each row's planes
       one after another, the mask plane's row after them; an ACBM's ABIT holds whole planes. */
    const unsigned char *stored = data->chunkData;
    std::vector<unsigned char> unpacked(byRow ? rowSize * bodyPlanes : 0);
    size_t packedAt = 0, unpackedRow = SIZE_MAX;
    auto rowOf = [&](unsigned int plane, size_t row) -> const unsigned char * {
        if (whole) {
            return stored + plane * planeSize + row * rowSize;
        }
        if (!byRow) {
            return stored + (row * bodyPlanes + plane) * rowSize;
        }
        if (row != unpackedRow) {
            /* The rows come in order, again from the first for every plane when planar. */
            packedAt = row == 0 ? 0 : packedAt;
            packedAt += ILBM_unpackByteRunData(stored + packedAt,
                                               static_cast<size_t>(data->chunkSize) - packedAt,
                                               unpacked.data(), unpacked.size())
                            .consumed;
            unpackedRow = row;
        }
        return unpacked.data() + plane * rowSize;
    };
    /* Bits past the picture's right edge are no part of it: a row's word padding is written
       clear, as every other path lays it out, whatever the file held there. */
    const unsigned int width = image->bitMapHeader->w;
    const size_t edge = width / 8, used = (width + 7) / 8;
    const auto keep = static_cast<unsigned char>(0xff00u >> (width % 8));
    auto produce = [&](const picture::WritePiece &write) {
        std::string batch;
        batch.reserve(size_t{1} << 18);
        auto add = [&](const unsigned char *row) {
            const size_t at = batch.size();
            batch.append(reinterpret_cast<const char *>(row), rowSize);
            if (width % 16 != 0) {
                if (width % 8 != 0) {
                    batch[at + edge] = static_cast<char>(row[edge] & keep);
                }
                std::fill(batch.begin() + static_cast<std::ptrdiff_t>(at + used),
                          batch.begin() + static_cast<std::ptrdiff_t>(at + rowSize), '\0');
            }
            if (batch.size() + rowSize > batch.capacity()) {
                const bool written = write(batch);
                batch.clear();
                return written;
            }
            return true;
        };
        if (planar) {
            for (unsigned int p = 0; p < nPlanes; p++) {
                for (size_t row = 0; row < height; row++) {
                    if (!add(rowOf(p, row))) {
                        return;
                    }
                }
            }
        } else {
            for (size_t row = 0; row < height; row++) {
                for (unsigned int p = 0; p < nPlanes; p++) {
                    if (!add(rowOf(p, row))) {
                        return;
                    }
                }
            }
        }
        write(batch);
    };
    std::string error;
    if (!picture::writeWholeFile(arguments.operands()[1], produce, &error)) {
        report(arguments, "%s\n", error.c_str());
        return kTrouble;
    }
    return kSuccess;
}

/* FILE read (readInput) and its picture loaded (loadPicture), for the commands that convert a
   picture: nothing after a message, with *status set. *path: FILE as named. */
std::optional<picture::Picture> readPictureOf(Arguments &arguments, int *status,
                                              const char **path) {
    std::optional<Input> input = readInput(arguments, status);
    if (!input) {
        return std::nullopt;
    }
    *path = input->path;
    return loadPicture(arguments, *input, status);
}

/* "AxB": two decimal numbers from least to 16384 joined by joint; nothing for any other text. */
std::optional<std::pair<unsigned, unsigned>> parsePair(const std::string &text, char joint,
                                                       unsigned least) {
    const size_t at = text.find(joint);
    if (at == std::string::npos) {
        return std::nullopt;
    }
    const std::optional<std::int64_t> a = quillfen_cli::parseDecimal(text.substr(0, at));
    const std::optional<std::int64_t> b = quillfen_cli::parseDecimal(text.substr(at + 1));
    if (!a || !b || *a < least || *b < least || *a > 16384 || *b > 16384) {
        return std::nullopt;
    }
    return std::make_pair(static_cast<unsigned>(*a), static_cast<unsigned>(*b));
}

/* The value of an option of two numbers (parsePair); a usage error that says what it takes, from
   least to 16384, for any other text. Nothing when the option is not given or is wrong. */
std::optional<std::pair<unsigned, unsigned>>
pairOption(Arguments &arguments, const char *name, char joint, unsigned least, const char *takes) {
    const std::optional<std::string> text = arguments.value(name);
    if (!text) {
        return std::nullopt;
    }
    const auto pair = parsePair(*text, joint, least);
    if (!pair) {
        arguments.fail(std::string("option '") + name + "' takes " + takes + " (" +
                       std::to_string(least) + " to 16384), not '" + *text + "'");
    }
    return pair;
}

/* --x: HSTART in lores pixels, hexadecimal with or without '$' or '0x', on AGA with a fraction
   of .4, .8 or .c quarter pixels. In quarter pixels. */
std::optional<unsigned> horizontalPosition(Arguments &arguments, const std::string &text,
                                           bool aga) {
    using Problem = amiga::HorizontalStart::Problem;
    const amiga::HorizontalStart start = amiga::readHorizontalStart(text, aga);
    switch (start.problem) {
    case Problem::None:
        return start.quarters;
    case Problem::NotLoresPixels:
        arguments.fail("option '--x' takes HSTART in lores pixels, a hexadecimal number from 0 to "
                       "1ff, not '" +
                       text + "'");
        break;
    case Problem::BadFraction:
        arguments.fail("the fraction of '--x " + text +
                       "' must be .4, .8 or .c (a quarter, a half or three quarters of a "
                       "lores pixel)");
        break;
    case Problem::FractionNeedsAga:
        arguments.fail("'--x " + text +
                       "' places a sprite between lores pixels, which only AGA can do; add "
                       "--chipset aga or give a whole pixel");
        break;
    }
    return std::nullopt;
}

} // namespace

int runUnpack(Arguments &arguments) {
    return transform(arguments, unpack);
}

int runPack(Arguments &arguments) {
    return transform(arguments, pack);
}

int runAcbm(Arguments &arguments) {
    return transform(arguments, toAcbm);
}

/* --mode lores|hires|superhires[,lace]; square pixels without it. */
picture::ScreenMode screenMode(Arguments &arguments) {
    picture::ScreenMode screen;
    const std::optional<std::string> text = arguments.value("--mode");
    if (!text) {
        return screen;
    }
    std::string name = *text;
    const size_t comma = name.find(',');
    if (comma != std::string::npos) {
        screen.lace = name.substr(comma + 1) == "lace";
        name.resize(comma);
    }
    screen.resolution = name == "lores"        ? picture::Resolution::Lores
                        : name == "hires"      ? picture::Resolution::Hires
                        : name == "superhires" ? picture::Resolution::SuperHires
                                               : picture::Resolution::Square;
    if (screen.resolution == picture::Resolution::Square ||
        (comma != std::string::npos && !screen.lace)) {
        arguments.fail("option '--mode' takes lores, hires or superhires, with ,lace when "
                       "interlaced, not '" +
                       *text + "'");
    }
    return screen;
}

int runIlbm(Arguments &arguments) {
    const picture::ScreenMode screen = screenMode(arguments);
    int status = kSuccess;
    std::optional<Input> input = readInput(arguments, &status);
    if (!input) {
        return status;
    }
    auto &[path, reduction, bytes, index, region] = *input;
    if (!isPng(bytes) && !reduction && !region) {
        if (arguments.has("--picture")) {
            report(arguments,
                   "%s: --picture goes with --reduce: without it every picture of an "
                   "IFF file is written\n",
                   path);
            return kTrouble;
        }
        if (arguments.has("--mode")) {
            report(arguments,
                   "%s: --mode goes with a PNG or --reduce: without them every picture of an "
                   "IFF file keeps its own mode\n",
                   path);
            return kTrouble;
        }
        return transform(arguments, toIlbm, arguments.has("--pack"), &bytes);
    }
    std::optional<picture::Picture> picture = loadPicture(arguments, *input, &status);
    if (!picture) {
        return status;
    }
    std::vector<unsigned char>().swap(bytes); /* the file's bytes are done with */
    std::string error;
    picture::ProducePieces produce;
    if (!picture::ilbmPieces(*picture, &error, screen, &produce)) {
        report(arguments, "%s: %s Nothing is written.\n", path, sentence(error).c_str());
        return kNegative;
    }
    if (!picture::writeWholeFile(arguments.operands()[1], produce, &error)) {
        report(arguments, "%s\n", error.c_str());
        return kTrouble;
    }
    return kSuccess;
}

int runRaw(Arguments &arguments) {
    picture::RawOptions options;
    options.planar = arguments.has("--planar");
    if (const auto depth = arguments.number("--depth", Base::Decimal, 1, 32)) {
        options.depth = static_cast<unsigned>(*depth);
    }
    if (const auto colour = arguments.number("--transparent", Base::Decimal, 0, 0xffffffff)) {
        options.transparentColour = static_cast<unsigned>(*colour);
    }
    options.chunky = arguments.has("--chunky");
    const bool text = arguments.has("--text");
    const bool c = cFormat(arguments);
    const std::string attribute = cAttribute(arguments, c, text || c, "--text or --format c");
    if (arguments.has("--mask") && arguments.has("--mask-only")) {
        arguments.fail("--mask and --mask-only exclude each other");
    } else if (arguments.has("--mask")) {
        options.mask = amiga::MaskOutput::After;
        options.invertMask = arguments.value("--mask").has_value();
    } else if (arguments.has("--mask-only")) {
        options.mask = amiga::MaskOutput::Only;
        options.invertMask = arguments.value("--mask-only").has_value();
    }
    if (options.chunky && (options.planar || options.mask != amiga::MaskOutput::None)) {
        arguments.fail(
            "--chunky writes bytes, not planes: it goes with neither --planar nor a mask");
    }
    int status = kSuccess;
    std::optional<Input> input = readInput(arguments, &status);
    if (!input) {
        return status;
    }
    auto &[path, reduction, bytes, index, region] = *input;
    /* Without options, an ILBM's or ACBM's planes as stored, mask plane left out. */
    const bool plain = !options.depth && !options.transparentColour && !options.chunky &&
                       options.mask == amiga::MaskOutput::None && !reduction && !region && !text &&
                       !c;
    if (plain && !isPng(bytes)) {
        Pictures pictures(arguments, path, &bytes);
        if (int status = pictures.pictureStatus(index); status != kSuccess) {
            return status;
        }
        if (!ILBM_imageIsPBM(pictures[index])) {
            std::vector<unsigned char>().swap(bytes); /* read into chunks: done with */
            return storedPlanes(arguments, pictures[index], options.planar);
        }
    }
    const std::optional<picture::Picture> picture = loadPicture(arguments, *input, &status);
    if (!picture) {
        return status;
    }
    std::vector<unsigned char>().swap(bytes); /* the file's bytes are done with */
    const std::string &out = arguments.operands()[1];
    if (c) {
        picture::Output output = picture::rawBitplanes(*picture, options);
        toCArray(arguments, output, out, attribute,
                 output.ok() ? picture::rawDescription(*picture, options, output.bytes.size())
                             : std::string());
        return writeOutput(arguments, path, output, out.c_str());
    }
    if (text) {
        picture::Output output = picture::rawBitplanes(*picture, options);
        if (output.ok()) {
            amiga::AsmWriter lines;
            lines.comment(picture::rawDescription(*picture, options, output.bytes.size()));
            lines.label(dataName(arguments, out));
            lines.data(output.bytes.data(), output.bytes.size());
            output.text = lines.take();
        }
        return writeOutput(arguments, path, output, out.c_str());
    }
    /* Made a band at a time while written: a huge picture is not held twice. */
    picture::ProducePieces produce;
    const picture::Output checked = picture::rawBitplanePieces(*picture, options, &produce);
    for (const std::string &warning : checked.warnings) {
        report(arguments, "%s: %s\n", path, warning.c_str());
    }
    if (!checked.ok()) {
        report(arguments, "%s: %s Nothing is written.\n", path, sentence(checked.error).c_str());
        return kNegative;
    }
    std::string error;
    if (!picture::writeWholeFile(arguments.operands()[1], produce, &error)) {
        report(arguments, "%s\n", error.c_str());
        return kTrouble;
    }
    return kSuccess;
}

int runPalette(Arguments &arguments) {
    std::optional<amiga::PaletteFormat> format;
    if (const std::optional<std::string> name = arguments.value("--format")) {
        format = amiga::paletteFormatNamed(*name);
        if (!format) {
            arguments.fail("option '--format' takes words, rgb8, rgb32, loadrgb32, copper or "
                           "copper-aga, not '" +
                           *name + "'");
        }
    }
    picture::PaletteOptions options;
    options.binary = arguments.has("--binary");
    const std::optional<std::string> binaryForm = arguments.value("--binary");
    const bool c = binaryForm.has_value();
    const std::string attribute = cAttribute(arguments, c, c, "--binary=c");
    if (const auto colours = arguments.number("--colors", Base::Decimal, 1, 65535)) {
        options.colours = static_cast<unsigned>(*colours);
    }
    if (const auto bplcon3 = arguments.number("--bplcon3", Base::Hexadecimal, 0, 0xffff)) {
        options.bplcon3 = static_cast<std::uint16_t>(*bplcon3);
        if (arguments.has("--ocs") || (format && *format != amiga::PaletteFormat::CopperAga)) {
            arguments.fail("--bplcon3 goes with the AGA copper forms (--aga, --format copper-aga)");
        }
    }
    if (arguments.ok() && !format) {
        if (options.binary || options.colours) {
            arguments.fail("--binary and --colors go with --format FORMAT");
        } else if (arguments.operands().size() > 1) {
            arguments.fail("an OUT file goes with --format FORMAT; without it the palette code is "
                           "printed");
        }
    }
    if (arguments.ok() && format && (arguments.has("--aga") || arguments.has("--ocs"))) {
        arguments.fail("--aga and --ocs choose the palette code printed without --format; use "
                       "--format copper-aga or --format copper instead");
    }
    int status = kSuccess;
    std::optional<Input> input = readInput(arguments, &status);
    if (!input) {
        return status;
    }
    auto &[path, reduction, bytes, index, region] = *input;
    const bool aga = arguments.has("--aga") || !arguments.has("--ocs");
    const bool ocs = arguments.has("--ocs") || !arguments.has("--aga");
    // The colour map every reader of a palette takes, printed as code or in a format. A palette
    // saved alone is no picture, but it has the colour map asked for.
    picture::Picture alone;
    std::optional<picture::Picture> picture =
        loadPicture(arguments, *input, &status, &alone.palette);
    if (!picture) {
        if (alone.palette.empty()) {
            return status;
        }
        picture = std::move(alone);
    }
    if (!format) {
        if (picture->palette.empty()) {
            report(arguments, "the picture in '%s' has no colour map\n", path);
            return kNegative;
        }
        printPalette(picture->palette, aga, ocs, options.bplcon3);
        return kSuccess;
    }
    options.format = *format;
    const char *out = arguments.operands().size() > 1 ? arguments.operands()[1].c_str() : "-";
    picture::Output output = picture::paletteOutput(*picture, options);
    if (c) {
        toCArray(arguments, output, out, attribute,
                 "the colour map as a " + std::string(amiga::paletteFormatName(*format)) +
                     " table, " + std::to_string(output.bytes.size()) + " bytes");
    }
    return writeOutput(arguments, path, output, out);
}

int runSprite(Arguments &arguments) {
    picture::SpriteExportOptions options;
    amiga::SpriteOptions &sprite = options.sprite;
    sprite.aga = agaChipset(arguments);
    if (const std::optional<std::string> width = arguments.value("--width");
        width && arguments.ok()) {
        if (*width != "16" && *width != "32" && *width != "64") {
            arguments.fail("option '--width' takes 16, 32 or 64, not '" + *width + "'");
        } else if (*width != "16" && !sprite.aga) {
            arguments.fail("sprites of " + *width + " pixels are AGA's (FMODE); add --chipset aga");
        }
        sprite.width = static_cast<unsigned>(atoi(width->c_str()));
    }
    sprite.attached = arguments.has("--attached");
    sprite.controlWords = arguments.has("--control");
    const std::optional<std::string> x = arguments.value("--x");
    const std::optional<std::string> y = arguments.value("--y");
    if (arguments.ok() && x.has_value() != y.has_value()) {
        arguments.fail("--x and --y go together: a sprite's position is HSTART and VSTART");
    }
    if (arguments.ok() && x && y) {
        const std::optional<unsigned> quarters = horizontalPosition(arguments, *x, sprite.aga);
        const std::int64_t lines = sprite.aga ? 0x3ff : 0x1ff;
        const std::optional<std::int64_t> vstart = parseHex(*y);
        if (!vstart || *vstart > lines) {
            arguments.fail("option '--y' takes VSTART in lines, a hexadecimal number from 0 to " +
                           std::string(sprite.aga ? "3ff (AGA)" : "1ff (OCS/ECS)") + ", not '" +
                           *y + "'");
        }
        if (quarters && arguments.ok()) {
            sprite.controlWords = true;
            sprite.position = amiga::SpritePosition{*quarters, static_cast<unsigned>(*vstart)};
        }
    }
    sprite.frames = arguments.has("--frames") || arguments.has("--frame-height");
    if (const auto height = arguments.number("--frame-height", Base::Decimal, 1, 1024)) {
        sprite.frameHeight = static_cast<unsigned>(*height);
    }
    options.text = arguments.has("--text");
    const bool c = cFormat(arguments);
    const std::string attribute = cAttribute(arguments, c, c, "--format c");
    if (const auto colour = arguments.number("--transparent", Base::Decimal, 0, 255)) {
        options.transparentColour = static_cast<unsigned>(*colour);
    }
    int status = kSuccess;
    const char *path = nullptr;
    const std::optional<picture::Picture> picture = readPictureOf(arguments, &status, &path);
    if (!picture) {
        return status;
    }
    picture::Output output = picture::spriteOutput(*picture, options);
    // A picture too wide for the machine's sprites is most often a strip of frames.
    const std::string tooWide = "the machine has 8";
    if (!sprite.frames && amiga::spritesSideBySide(picture->width, sprite) > 8 &&
        output.error.size() > tooWide.size() &&
        output.error.compare(output.error.size() - tooWide.size(), tooWide.size(), tooWide) == 0) {
        output.error += std::string("; use --frames to cut the picture into frames of one ") +
                        (sprite.attached ? "attached pair" : "sprite");
    }
    if (c) {
        toCArray(arguments, output, arguments.operands()[1], attribute,
                 picture::spriteDescription(sprite, output.bytes.size()));
    }
    return writeOutput(arguments, path, output, arguments.operands()[1].c_str());
}

int runBobs(Arguments &arguments) {
    picture::BobOptions options;
    if (const auto size = pairOption(arguments, "--size", 'x', 1,
                                     "WxH, the width and height of a frame in pixels")) {
        options.width = size->first;
        options.height = size->second;
    } else if (!arguments.has("--size")) {
        arguments.fail("--size WxH, the size of a frame, is needed");
    }
    if (const auto grid =
            pairOption(arguments, "--grid", 'x', 1, "COLSxROWS, the frames across and down")) {
        options.columns = grid->first;
        options.rows = grid->second;
    }
    if (const auto spacing = pairOption(arguments, "--spacing", ',', 0,
                                        "X,Y, the pixels between frames across and down")) {
        options.spacingX = spacing->first;
        options.spacingY = spacing->second;
    }
    if (const auto count = arguments.number("--count", Base::Decimal, 1, 65535)) {
        options.count = static_cast<unsigned>(*count);
    }
    if (arguments.has("--planar") && arguments.has("--interleaved")) {
        arguments.fail("--planar and --interleaved exclude each other");
    }
    options.raw.planar = arguments.has("--planar");
    if (arguments.has("--mask")) {
        options.raw.mask = amiga::MaskOutput::After;
        options.raw.invertMask = arguments.value("--mask").has_value();
    }
    if (const auto colour = arguments.number("--transparent", Base::Decimal, 0, 255)) {
        options.raw.transparentColour = static_cast<unsigned>(*colour);
    }
    options.addWord = arguments.has("--add-word");
    options.trimEmpty = arguments.has("--trim-empty");
    const bool text = arguments.has("--text");
    const bool c = cFormat(arguments);
    const std::optional<std::string> index = arguments.value("--index");
    const std::string attribute =
        cAttribute(arguments, c, text || c || index, "--text, --format c or --index");
    int status = kSuccess;
    const char *path = nullptr;
    const std::optional<picture::Picture> picture = readPictureOf(arguments, &status, &path);
    if (!picture) {
        return status;
    }
    const std::string &out = arguments.operands()[1];
    picture::SheetOptions sheetOptions =
        sheetOf(picture::SheetCut::Bobs, c, text, dataName(arguments, out), attribute);
    sheetOptions.bobs = options;
    sheetOptions.index = index.has_value();
    return writeSheet(arguments, path, picture::cutSheet(*picture, sheetOptions), out, index);
}

int runFont(Arguments &arguments) {
    picture::FontOptions options;
    if (const auto cell = pairOption(arguments, "--cell", 'x', 1,
                                     "WxH, the width and height of a cell in pixels")) {
        options.width = cell->first;
        options.height = cell->second;
    } else if (!arguments.has("--cell")) {
        arguments.fail("--cell WxH, the size of a glyph's cell, is needed");
    }
    if (const std::optional<std::string> first = arguments.value("--first")) {
        if (const std::optional<unsigned> code = picture::parseFirstCharacter(*first)) {
            options.first = *code;
        } else {
            arguments.fail("option '--first' takes a character or its decimal code (0 to 255), "
                           "not '" +
                           *first + "'");
        }
    }
    options.proportional = arguments.has("--proportional");
    if (const auto colour = arguments.number("--transparent", Base::Decimal, 0, 255)) {
        options.raw.transparentColour = static_cast<unsigned>(*colour);
    }
    const bool text = arguments.has("--text");
    const bool c = cFormat(arguments);
    const std::string attribute = cAttribute(arguments, c, text || c, "--text or --format c");
    const std::optional<std::string> widths = arguments.value("--widths");
    if (widths && !options.proportional) {
        arguments.fail("--widths needs --proportional: a fixed font has no width table");
    }
    if (widths && (text || c)) {
        arguments.fail(std::string(text ? "--text" : "--format c") +
                       " writes the width table itself; --widths is for binary output");
    }
    int status = kSuccess;
    const char *path = nullptr;
    const std::optional<picture::Picture> picture = readPictureOf(arguments, &status, &path);
    if (!picture) {
        return status;
    }
    const std::string &out = arguments.operands()[1];
    picture::SheetOptions sheetOptions =
        sheetOf(picture::SheetCut::Font, c, text, dataName(arguments, out), attribute);
    sheetOptions.font = options;
    sheetOptions.widths = widths.has_value();
    return writeSheet(arguments, path, picture::cutSheet(*picture, sheetOptions), out, widths);
}

int runCopper(Arguments &arguments) {
    amiga::ColourCodeOptions options;
    const bool chipsetGiven = arguments.has("--chipset");
    options.aga = agaChipset(arguments);
    long top = 0x2c;
    if (const std::optional<std::string> text = arguments.value("--top")) {
        const std::optional<std::int64_t> line = parseHex(*text);
        if (!line || *line > 0x137) {
            arguments.fail("option '--top' takes the display line of the picture's first line, a "
                           "hexadecimal number from 0 to 137, not '" +
                           *text + "'");
        }
        top = static_cast<long>(line.value_or(0));
    }
    int status = kSuccess;
    const char *path = nullptr;
    const std::optional<picture::Picture> picture = readPictureOf(arguments, &status, &path);
    if (!picture) {
        return status;
    }
    if (picture->colourChanges.empty()) {
        report(arguments, "%s: the picture has no palette changes (a SHAM or PCHG chunk)\n", path);
        return kNegative;
    }
    /* An interlaced picture shows two of its lines on each line of a field. */
    const unsigned perLine = (picture->viewportMode & 0x4) != 0 ? 2 : 1;
    std::vector<amiga::LineColour> changes;
    bool deep = false;
    for (const picture::ColourChange &change : picture->colourChanges) {
        changes.push_back({top + static_cast<long>(change.line / perLine),
                           static_cast<int>(change.colourRegister), change.colour});
        deep = deep || change.colourRegister >= 32 ||
               !(amiga::fromTwelveBit(amiga::highWord(change.colour)) == change.colour);
    }
    /* Colours of 24 bits or registers past COLOR31 are AGA's, unless OCS/ECS is asked for. */
    options.aga = chipsetGiven ? options.aga : deep;
    std::string crowded;
    const std::string text = amiga::lineColoursCode(options, changes, &crowded);
    if (!crowded.empty()) {
        report(arguments, "%s: %s\n", path, crowded.c_str());
    }
    const char *out = arguments.operands().size() > 1 ? arguments.operands()[1].c_str() : "-";
    return writeFile(arguments, out, reinterpret_cast<const unsigned char *>(text.data()),
                     text.size());
}

int runTiles(Arguments &arguments) {
    picture::TileOptions options;
    const std::optional<std::string> size = arguments.value("--size");
    if (!size) {
        arguments.fail("tiles needs --size 8x8 or 16x16");
    } else if (*size == "8x8" || *size == "16x16") {
        options.size = *size == "8x8" ? 8 : 16;
    } else {
        arguments.fail("option '--size' takes 8x8 or 16x16, not '" + *size + "'");
    }
    options.dedupe = arguments.has("--dedupe");
    options.flips = arguments.has("--flips");
    if (options.flips && !options.dedupe) {
        arguments.fail("--flips goes with --dedupe");
    }
    options.planar = arguments.has("--planar");
    if (options.planar && arguments.has("--interleaved")) {
        arguments.fail("--planar and --interleaved exclude each other");
    }
    const bool text = arguments.has("--text");
    const bool c = cFormat(arguments);
    const std::string attribute = cAttribute(arguments, c, false, "");
    int status = kSuccess;
    const char *path = nullptr;
    const std::optional<picture::Picture> picture = readPictureOf(arguments, &status, &path);
    if (!picture) {
        return status;
    }
    const std::string &tilesOut = arguments.operands()[1], &mapOut = arguments.operands()[2];
    const auto label = [](const std::string &out, const char *standard) {
        return amiga::symbolName(out == "-" ? std::string(standard)
                                            : std::filesystem::path(out).stem().string());
    };
    picture::SheetOptions sheetOptions =
        sheetOf(picture::SheetCut::Tiles, c, text, label(tilesOut, "tiles"), attribute);
    sheetOptions.tiles = options;
    sheetOptions.companionName = label(mapOut, "map");
    /* The tiles alone are no use without their map: both are written, or neither. */
    return writeSheet(arguments, path, picture::cutSheet(*picture, sheetOptions), tilesOut, mapOut);
}

} // namespace quillfen_iff
