// The commands for ILBM, ACBM and PBM pictures: ByteRun1, layout conversion, the bitplanes for
// incbin and the colour map as assembly data.
#include "command.h"

#include <ilbm/byterun.h>
#include <ilbm/ilbm.h>
#include <ilbm/ilbmimage.h>
#include <ilbm/interleave.h>

#include <iff/rawchunk.h>

#include <amiga/colourcode.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

namespace quillfen_iff {

namespace {

struct FreeRelease {
    void operator()(void *data) const { free(data); }
};
using Buffer = std::unique_ptr<unsigned char, FreeRelease>;

/* A picture file read whole ("-" is the standard input), with its pictures. */
class Pictures {
public:
    Pictures(const Invocation &invocation, const char *path)
        : invocation_(invocation), path_(path), tree_(readFile(invocation, path, &status_)) {
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
            report(invocation_, "%s: no picture with a bitmap header\n", path_);
            return kNegative;
        }
        return kSuccess;
    }

    /* As status(), for a command that uses the first picture: notes when there are several. */
    int firstPictureStatus() const {
        int result = status();
        if (result == kSuccess && length_ > 1) {
            report(invocation_, "%s holds %u pictures; the first is used\n", path_, length_);
        }
        return result;
    }

    IFF_Chunk *tree() const { return tree_.get(); }
    unsigned int size() const { return length_; }
    ILBM_Image *operator[](unsigned int i) const { return images_[i]; }

private:
    const Invocation &invocation_;
    const char *path_;
    int status_ = kSuccess;
    Tree tree_;
    ILBM_Image **images_ = nullptr;
    unsigned int length_ = 0;
};

void ignore(const char *, va_list) {}

/* The tree as a file: its bytes, or an empty buffer after a message. */
std::vector<unsigned char> bytesOf(const Invocation &invocation, const IFF_Chunk *tree) {
    char *data = nullptr;
    size_t size = 0;
    FILE *memory = open_memstream(&data, &size);
    if (memory == nullptr) {
        report(invocation, "out of memory\n");
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
    void (*callback)(const char *, va_list) = IFF_errorCallback;
    IFF_errorCallback = ignore;
    FILE *memory = fmemopen(bytes.data(), bytes.size(), "rb");
    Tree tree(memory != nullptr ? IFF_readFd(memory, extension(), extensionLength()) : nullptr);
    if (memory != nullptr) {
        fclose(memory);
    }
    unsigned int found = 0;
    ILBM_Image **images = tree != nullptr ? ILBM_extractImages(tree.get(), &found) : nullptr;
    ILBM_freeImages(images, found);
    IFF_errorCallback = callback;
    return tree != nullptr && ILBM_check(tree.get()) && found == pictures;
}

/* Applies one operation to every picture of FILE and writes the tree to OUT, when what it writes
   is a valid file that holds the pictures. */
int transform(const Invocation &invocation, int (*apply)(ILBM_Image *, bool), bool flag = false) {
    const char *path = invocation.operands[0];
    Pictures pictures(invocation, path);
    if (int status = pictures.status(); status != kSuccess) {
        return status;
    }
    for (unsigned int i = 0; i < pictures.size(); i++) {
        if (!apply(pictures[i], flag)) {
            report(invocation, "picture %u of '%s' cannot be converted; nothing is written\n",
                   i + 1, path);
            return kNegative;
        }
    }
    /* Chunks that were read as far as they went are written whole. */
    ILBM_completeChunks(pictures.tree());
    std::vector<unsigned char> bytes = bytesOf(invocation, pictures.tree());
    if (bytes.empty()) {
        report(invocation, "the converted '%s' cannot be written; nothing is written\n", path);
        return kNegative;
    }
    if (!holdsPictures(bytes, pictures.size())) {
        report(invocation,
               "the converted '%s' would not be a valid file holding its %u picture%s; nothing "
               "is written\n",
               path, pictures.size(), pictures.size() == 1 ? "" : "s");
        return kNegative;
    }
    return writeFile(invocation, invocation.operands[1], bytes.data(), bytes.size());
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

} // namespace

int runUnpack(const Invocation &invocation) {
    return transform(invocation, unpack);
}

int runPack(const Invocation &invocation) {
    return transform(invocation, pack);
}

int runAcbm(const Invocation &invocation) {
    return transform(invocation, toAcbm);
}

int runIlbm(const Invocation &invocation) {
    return transform(invocation, toIlbm, invocation.has("--pack"));
}

int runRaw(const Invocation &invocation) {
    const char *path = invocation.operands[0];
    const bool planar = invocation.has("--planar");
    Pictures pictures(invocation, path);
    if (int status = pictures.firstPictureStatus(); status != kSuccess) {
        return status;
    }
    ILBM_Image *image = pictures[0];
    if (ILBM_imageIsPBM(image)) {
        report(invocation, "'%s' is a chunky PBM picture, without bitplanes\n", path);
        return kNegative;
    }
    /* An ILBM's planes are in its BODY, interleaved; an ACBM's in its ABIT, whole. */
    const bool whole = ILBM_imageIsACBM(image);
    const IFF_RawChunk *data = whole ? image->bitplanes : image->body;
    if (data == nullptr) {
        report(invocation, "the %s picture in '%s' has no %s\n", whole ? "ACBM" : "ILBM", path,
               whole ? "ABIT" : "BODY");
        return kNegative;
    }
    if (!whole && !ILBM_unpackByteRun(image)) {
        report(invocation, "the picture in '%s' cannot be unpacked\n", path);
        return kNegative;
    }
    if (image->bitMapHeader->compression != ILBM_CMP_NONE) {
        report(invocation, "the ABIT in '%s' is compressed (%u), which ACBM pictures are not\n",
               path, static_cast<unsigned int>(image->bitMapHeader->compression));
        return kNegative;
    }
    const unsigned int bodyPlanes = ILBM_calculateBodyPlanes(image);
    if (bodyPlanes == 0) {
        report(invocation, "the picture in '%s' has no bitplanes to write\n", path);
        return kNegative;
    }
    const unsigned int nPlanes = image->bitMapHeader->nPlanes;
    const size_t rowSize = ILBM_calculateRowSize(image);
    const unsigned int height = image->bitMapHeader->h;
    const size_t planeSize = rowSize * height;
    const size_t size = planeSize * nPlanes;
    if (static_cast<size_t>(data->chunkSize) < planeSize * bodyPlanes) {
        report(invocation, "the %s in '%s' holds %d bytes, the picture needs %zu\n",
               whole ? "ABIT" : "BODY", path, static_cast<int>(data->chunkSize),
               planeSize * bodyPlanes);
        return kNegative;
    }

    /* Whole planes are the ABIT's first bytes; planes interleaved without a mask, the BODY's. */
    const unsigned char *bytes = data->chunkData;
    Buffer rearranged;
    if (!whole && (planar || bodyPlanes != nPlanes)) {
        rearranged.reset(ILBM_deinterleave(image));
        if (rearranged == nullptr) {
            report(invocation, "the picture in '%s' cannot be laid out\n", path);
            return kNegative;
        }
        bytes = rearranged.get();
    }
    if (!planar && (whole || bodyPlanes != nPlanes)) {
        std::vector<const unsigned char *> planes(nPlanes);
        for (unsigned int p = 0; p < nPlanes; p++) {
            planes[p] = bytes + p * planeSize;
        }
        Buffer interleaved(static_cast<unsigned char *>(malloc(size)));
        if (interleaved == nullptr) {
            report(invocation, "out of memory\n");
            return kTrouble;
        }
        ILBM_interleaveRows(planes.data(), nPlanes, rowSize, height, interleaved.get());
        rearranged = std::move(interleaved);
        bytes = rearranged.get();
    }
    return writeFile(invocation, invocation.operands[1], bytes, size);
}

int runPalette(const Invocation &invocation) {
    const char *path = invocation.operands[0];
    Pictures pictures(invocation, path);
    if (int status = pictures.firstPictureStatus(); status != kSuccess) {
        return status;
    }
    const ILBM_ColorMap *colorMap = pictures[0]->colorMap;
    if (colorMap == nullptr || colorMap->colorRegisterLength == 0) {
        report(invocation, "the picture in '%s' has no colour map\n", path);
        return kNegative;
    }
    bool aga = invocation.has("--aga") || !invocation.has("--ocs");
    bool ocs = invocation.has("--ocs") || !invocation.has("--aga");
    if (aga) {
        printAgaPalette(colorMap);
    }
    if (ocs) {
        printOcsPalette(colorMap);
    }
    return kSuccess;
}

} // namespace quillfen_iff
