// The commands for ILBM, ACBM and PBM pictures: ByteRun1, layout conversion, the bitplanes for
// incbin and the colour map as assembly data.
#include "command.h"

#include <ilbm/byterun.h>
#include <ilbm/ilbm.h>
#include <ilbm/ilbmimage.h>
#include <ilbm/interleave.h>

#include <iff/rawchunk.h>

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

void printAgaPalette(const ILBM_ColorMap *colorMap) {
    static const char bankDigits[] = "02468ace";
    printf("; AGA: %u colours as copper list data\n", colorMap->colorRegisterLength);
    for (unsigned int bank = 0; bank * 32 < colorMap->colorRegisterLength && bank < 8; bank++) {
        for (unsigned int half = 0; half < 2; half++) {
            printf("\tdc.w BPLCON3,$%c%c00\n", bankDigits[bank], half == 0 ? '0' : '2');
            for (unsigned int i = bank * 32;
                 i < colorMap->colorRegisterLength && i < bank * 32 + 32; i++) {
                const ILBM_ColorRegister &c = colorMap->colorRegister[i];
                unsigned int shift = half == 0 ? 4 : 0;
                printf("\tdc.w COLOR%.2u,$0%x%x%x\n", i - bank * 32, (c.red >> shift) & 15u,
                       (c.green >> shift) & 15u, (c.blue >> shift) & 15u);
            }
        }
    }
    if (colorMap->colorRegisterLength > 256) {
        printf("; the %u colours beyond 256 have no register\n",
               colorMap->colorRegisterLength - 256);
    }
}

void printOcsPalette(const ILBM_ColorMap *colorMap) {
    printf("; OCS/ECS: %u colours as 12-bit $0RGB words\n", colorMap->colorRegisterLength);
    for (unsigned int i = 0; i < colorMap->colorRegisterLength; i++) {
        const ILBM_ColorRegister &c = colorMap->colorRegister[i];
        printf("%s$0%x%x%x%s", i % 8 == 0 ? "\tdc.w " : ",", c.red >> 4u, c.green >> 4u,
               c.blue >> 4u, i % 8 == 7 || i + 1 == colorMap->colorRegisterLength ? "\n" : "");
    }
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
