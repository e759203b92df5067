// The commands for ILBM, ACBM and PBM pictures: ByteRun1, layout conversion, the bitplanes for
// incbin and the colour map as assembly data. The picture chunk types also become known to
// print, check and compare.
#include "command.h"

#include <ilbm/byterun.h>
#include <ilbm/ilbm.h>
#include <ilbm/ilbmimage.h>
#include <ilbm/interleave.h>

#include <iff/rawchunk.h>

#include <amiga/colourcode.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <initializer_list>
#include <string>
#include <vector>

using quillfen_iff::kNegative;
using quillfen_iff::kSuccess;
using quillfen_iff::kTrouble;

QUILLFEN_IFF_EXTENSION(ilbm, extension, ILBM_NUM_OF_FORM_TYPES);

namespace {

/* A picture file read whole ("-" is the standard input), with its pictures. */
class Pictures {
public:
    explicit Pictures(const char *path) : path_(path) {
        tree_ = quillfen_iff::readFile(path, &status_);
        if (tree_ != NULL) {
            images_ = ILBM_extractImages(tree_, &length_);
        }
    }
    ~Pictures() {
        ILBM_freeImages(images_, length_);
        if (tree_ != NULL) {
            ILBM_free(tree_);
        }
    }
    Pictures(const Pictures &) = delete;
    Pictures &operator=(const Pictures &) = delete;

    /* kSuccess when the file was read and holds at least one picture; else the exit status,
       after a message. */
    int status(const char *command) const {
        if (tree_ == NULL) {
            return status_;
        }
        if (images_ == NULL || length_ == 0) {
            fprintf(stderr, "quillfen-iff %s: %s: no picture with a bitmap header\n", command,
                    path_);
            return kNegative;
        }
        return kSuccess;
    }

    IFF_Chunk *tree() const { return tree_; }
    unsigned int size() const { return length_; }
    ILBM_Image *operator[](unsigned int i) const { return images_[i]; }

private:
    const char *path_;
    int status_ = kSuccess;
    IFF_Chunk *tree_ = NULL;
    ILBM_Image **images_ = NULL;
    unsigned int length_ = 0;
};

/* The command line of one subcommand: options it knows, and the rest as operands. */
struct Arguments {
    std::vector<const char *> operands;
    std::vector<std::string> options;
    bool help = false;
    const char *unknown = NULL;

    Arguments(int argc, char **argv, std::initializer_list<const char *> known) {
        for (int i = 1; i < argc; i++) {
            const char *a = argv[i];
            if (strcmp(a, "--help") == 0 || strcmp(a, "-h") == 0) {
                help = true;
            } else if (a[0] == '-' && a[1] != '\0') {
                bool found = false;
                for (const char *k : known) {
                    found = found || strcmp(a, k) == 0;
                }
                if (found) {
                    options.push_back(a);
                } else if (unknown == NULL) {
                    unknown = a;
                }
            } else {
                operands.push_back(a);
            }
        }
    }

    bool has(const char *option) const {
        for (const std::string &o : options) {
            if (o == option) {
                return true;
            }
        }
        return false;
    }
};

/* Handles --help, unknown options and the number of operands; -1 when the command goes on. */
int checkUsage(const Arguments &arguments, const char *command, const char *usage,
               size_t operands) {
    if (arguments.help) {
        fputs(usage, stdout);
        return kSuccess;
    }
    if (arguments.unknown != NULL) {
        fprintf(stderr, "quillfen-iff %s: unknown option '%s'\n%s", command, arguments.unknown,
                usage);
        return kTrouble;
    }
    if (arguments.operands.size() != operands) {
        fprintf(stderr, "quillfen-iff %s: expects %zu file name%s\n%s", command, operands,
                operands == 1 ? "" : "s", usage);
        return kTrouble;
    }
    return -1;
}

/* Opens OUT for writing; "-" is the standard output. */
FILE *openOutput(const char *path) {
    return strcmp(path, "-") == 0 ? stdout : fopen(path, "wb");
}

int closeOutput(FILE *file) {
    return file == stdout ? fflush(file) : fclose(file);
}

int writeTree(const char *command, const Pictures &pictures, const char *path) {
    FILE *file = openOutput(path);
    bool written = file != NULL && ILBM_writeFd(file, pictures.tree());
    if (file != NULL && closeOutput(file) != 0) {
        written = false;
    }
    if (!written) {
        fprintf(stderr, "quillfen-iff %s: cannot write '%s'\n", command, path);
        return kTrouble;
    }
    return kSuccess;
}

/* Applies one operation to every picture of FILE and writes the tree to OUT. */
int transform(int argc, char **argv, const char *usage, int (*apply)(ILBM_Image *, bool),
              std::initializer_list<const char *> known = {}, const char *option = NULL) {
    const char *command = argv[0];
    Arguments arguments(argc, argv, known);
    int usageResult = checkUsage(arguments, command, usage, 2);
    if (usageResult >= 0) {
        return usageResult;
    }
    Pictures pictures(arguments.operands[0]);
    if (int status = pictures.status(command); status != kSuccess) {
        return status;
    }
    bool flag = option != NULL && arguments.has(option);
    for (unsigned int i = 0; i < pictures.size(); i++) {
        if (!apply(pictures[i], flag)) {
            fprintf(stderr, "quillfen-iff %s: picture %u of '%s' cannot be converted\n", command,
                    i + 1, arguments.operands[0]);
            return kNegative;
        }
    }
    return writeTree(command, pictures, arguments.operands[1]);
}

const char kUnpackTrouble[] =
    "usage: quillfen-iff unpack FILE OUT\n"
    "Writes FILE to OUT with the ByteRun1 compression of every picture's BODY undone.\n";

const char kPackTrouble[] =
    "usage: quillfen-iff pack FILE OUT\n"
    "Writes FILE to OUT with every uncompressed picture BODY packed with ByteRun1, each plane\n"
    "row by itself.\n";

const char kAcbmUsage[] =
    "usage: quillfen-iff acbm FILE OUT\n"
    "Writes FILE to OUT with every ILBM picture converted to ACBM: the interleaved BODY\n"
    "becomes an ABIT of whole planes one after another (packed bodies are unpacked first).\n";

const char kIlbmUsage[] =
    "usage: quillfen-iff ilbm [--pack] FILE OUT\n"
    "Writes FILE to OUT with every ACBM picture converted to ILBM: the ABIT of whole planes\n"
    "becomes an interleaved BODY.\n"
    "  --pack  also pack the new BODY with ByteRun1\n";

const char kRawUsage[] =
    "usage: quillfen-iff raw [--planar] FILE OUT\n"
    "Writes the bitplanes of the first picture of FILE to OUT as raw bytes, ready for incbin:\n"
    "each picture row's plane rows one after another (interleaved), rows of whole 16-pixel\n"
    "words. A mask plane is left out.\n"
    "  --planar  write plane 0 whole, then plane 1, and so on\n";

const char kPaletteUsage[] =
    "usage: quillfen-iff palette [--aga | --ocs] FILE\n"
    "Prints the colour map (CMAP) of the first picture of FILE as assembly data:\n"
    "  --aga  only the copper list for AGA: BPLCON3 and COLORxx moves, high then low nibbles\n"
    "         of each bank of 32 registers\n"
    "  --ocs  only the 12-bit colours for OCS/ECS as $0RGB words\n"
    "Without an option both are printed.\n";

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

int runUnpack(int argc, char **argv) {
    return transform(argc, argv, kUnpackTrouble, unpack);
}
int runPack(int argc, char **argv) {
    return transform(argc, argv, kPackTrouble, pack);
}
int runAcbm(int argc, char **argv) {
    return transform(argc, argv, kAcbmUsage, toAcbm);
}
int runIlbm(int argc, char **argv) {
    return transform(argc, argv, kIlbmUsage, toIlbm, {"--pack"}, "--pack");
}

/* The exit status of a file that should hold a picture; notes when it holds several. */
int firstPicture(const char *command, const Pictures &pictures, const char *path) {
    int status = pictures.status(command);
    if (status == kSuccess && pictures.size() > 1) {
        fprintf(stderr, "quillfen-iff %s: %s holds %u pictures; the first is used\n", command, path,
                pictures.size());
    }
    return status;
}

int runRaw(int argc, char **argv) {
    const char *command = argv[0];
    Arguments arguments(argc, argv, {"--planar"});
    int usageResult = checkUsage(arguments, command, kRawUsage, 2);
    if (usageResult >= 0) {
        return usageResult;
    }
    const char *path = arguments.operands[0];
    Pictures pictures(path);
    if (int status = firstPicture(command, pictures, path); status != kSuccess) {
        return status;
    }
    ILBM_Image *image = pictures[0];
    if (ILBM_imageIsPBM(image)) {
        fprintf(stderr, "quillfen-iff %s: '%s' is a chunky PBM picture, without bitplanes\n",
                command, path);
        return kNegative;
    }
    if (image->body == NULL && image->bitplanes == NULL) {
        fprintf(stderr, "quillfen-iff %s: the picture in '%s' has no BODY or ABIT\n", command,
                path);
        return kNegative;
    }
    /* Whole planes first, whatever the picture's layout; an ACBM's ABIT already is. */
    if (!ILBM_unpackByteRun(image) || (ILBM_imageIsACBM(image) && !ILBM_convertACBMToILBM(image))) {
        fprintf(stderr, "quillfen-iff %s: the picture in '%s' cannot be unpacked\n", command, path);
        return kNegative;
    }
    unsigned int nPlanes = image->bitMapHeader->nPlanes;
    unsigned int bodyPlanes = ILBM_calculateBodyPlanes(image);
    size_t rowSize = ILBM_calculateRowSize(image);
    unsigned int height = image->bitMapHeader->h;
    size_t planeSize = rowSize * height;
    size_t size = planeSize * nPlanes;

    const unsigned char *data = image->body->chunkData;
    unsigned char *rearranged = NULL;
    if (arguments.has("--planar") || bodyPlanes != nPlanes) {
        rearranged = ILBM_deinterleave(image);
        if (rearranged == NULL) {
            fprintf(stderr, "quillfen-iff %s: the picture in '%s' cannot be laid out\n", command,
                    path);
            return kNegative;
        }
        data = rearranged;
        if (!arguments.has("--planar")) {
            /* Interleave again without the mask plane. */
            std::vector<const unsigned char *> planes(nPlanes);
            for (unsigned int p = 0; p < nPlanes; p++) {
                planes[p] = rearranged + p * planeSize;
            }
            unsigned char *body = static_cast<unsigned char *>(malloc(size));
            if (body == NULL) {
                free(rearranged);
                return kNegative;
            }
            ILBM_interleaveRows(planes.data(), nPlanes, rowSize, height, body);
            free(rearranged);
            rearranged = body;
            data = body;
        }
    } else if (image->body->chunkSize < 0 || static_cast<size_t>(image->body->chunkSize) < size) {
        fprintf(stderr, "quillfen-iff %s: the BODY in '%s' holds %d bytes, the picture needs %zu\n",
                command, path, static_cast<int>(image->body->chunkSize), size);
        return kNegative;
    }

    FILE *out = openOutput(arguments.operands[1]);
    bool written = out != NULL && fwrite(data, 1, size, out) == size;
    if (out != NULL && closeOutput(out) != 0) {
        written = false;
    }
    free(rearranged);
    if (!written) {
        fprintf(stderr, "quillfen-iff %s: cannot write '%s'\n", command, arguments.operands[1]);
        return kTrouble;
    }
    return kSuccess;
}

/* The colour map as the Colour tab's palette code prints it from bank 0 COLOR00: the same
   generator, so the same colours give the same text. */
void printPalette(const ILBM_ColorMap *colorMap, const amiga::ColourCodeOptions &options) {
    std::vector<amiga::Rgb8> colours;
    colours.reserve(colorMap->colorRegisterLength);
    for (unsigned int i = 0; i < colorMap->colorRegisterLength; i++) {
        const ILBM_ColorRegister &c = colorMap->colorRegister[i];
        colours.push_back({c.red, c.green, c.blue});
    }
    fputs(amiga::paletteCode(options, 0, 0, colours).c_str(), stdout);
}

void printAgaPalette(const ILBM_ColorMap *colorMap) {
    printPalette(colorMap, {true, true});
}

void printOcsPalette(const ILBM_ColorMap *colorMap) {
    printPalette(colorMap, {false, true});
}

int runPalette(int argc, char **argv) {
    const char *command = argv[0];
    Arguments arguments(argc, argv, {"--aga", "--ocs"});
    int usageResult = checkUsage(arguments, command, kPaletteUsage, 1);
    if (usageResult >= 0) {
        return usageResult;
    }
    const char *path = arguments.operands[0];
    Pictures pictures(path);
    if (int status = firstPicture(command, pictures, path); status != kSuccess) {
        return status;
    }
    const ILBM_ColorMap *colorMap = pictures[0]->colorMap;
    if (colorMap == NULL || colorMap->colorRegisterLength == 0) {
        fprintf(stderr, "quillfen-iff %s: the picture in '%s' has no colour map\n", command, path);
        return kNegative;
    }
    bool aga = arguments.has("--aga") || !arguments.has("--ocs");
    bool ocs = arguments.has("--ocs") || !arguments.has("--aga");
    if (aga) {
        printAgaPalette(colorMap);
    }
    if (ocs) {
        printOcsPalette(colorMap);
    }
    return kSuccess;
}

} // namespace

QUILLFEN_IFF_COMMAND(unpack, {"unpack", "FILE OUT",
                              "Writes FILE to OUT with every picture BODY unpacked from ByteRun1.",
                              runUnpack});
QUILLFEN_IFF_COMMAND(pack, {"pack", "FILE OUT",
                            "Writes FILE to OUT with every uncompressed picture BODY packed with "
                            "ByteRun1.",
                            runPack});
QUILLFEN_IFF_COMMAND(acbm, {"acbm", "FILE OUT",
                            "Writes FILE to OUT with every ILBM picture converted to ACBM "
                            "(contiguous planes).",
                            runAcbm});
QUILLFEN_IFF_COMMAND(ilbm, {"ilbm", "[--pack] FILE OUT",
                            "Writes FILE to OUT with every ACBM picture converted to ILBM "
                            "(interleaved planes).",
                            runIlbm});
QUILLFEN_IFF_COMMAND(raw,
                     {"raw", "[--planar] FILE OUT",
                      "Writes the bitplanes of a picture to OUT as raw bytes for incbin.", runRaw});
QUILLFEN_IFF_COMMAND(palette, {"palette", "[--aga | --ocs] FILE",
                               "Prints a picture's colour map as AGA copper data and as OCS/ECS "
                               "colour words.",
                               runPalette});
