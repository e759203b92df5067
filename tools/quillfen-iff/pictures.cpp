// The commands for ILBM, ACBM and PBM pictures: ByteRun1, layout conversion, the bitplanes for
// incbin and the colour map as assembly data.
#include "command.h"

#include <ilbm/byterun.h>
#include <ilbm/ilbm.h>
#include <ilbm/ilbmimage.h>
#include <ilbm/interleave.h>

#include <iff/rawchunk.h>

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

/* Writes the tree to OUT. */
int writeTree(const Invocation &invocation, IFF_Chunk *tree, const char *path) {
    char *data = nullptr;
    size_t size = 0;
    FILE *memory = open_memstream(&data, &size);
    if (memory == nullptr) {
        report(invocation, "out of memory\n");
        return kTrouble;
    }
    const int written = IFF_writeFd(memory, tree, extension(), extensionLength());
    fclose(memory);
    Buffer bytes(reinterpret_cast<unsigned char *>(data));
    if (!written) {
        report(invocation, "cannot write '%s'\n", path);
        return kTrouble;
    }
    return writeFile(invocation, path, bytes.get(), size);
}

/* Applies one operation to every picture of FILE and writes the tree to OUT. */
int transform(const Invocation &invocation, int (*apply)(ILBM_Image *, bool), bool flag = false) {
    const char *path = invocation.operands[0];
    Pictures pictures(invocation, path);
    if (int status = pictures.status(); status != kSuccess) {
        return status;
    }
    for (unsigned int i = 0; i < pictures.size(); i++) {
        if (!apply(pictures[i], flag)) {
            report(invocation, "picture %u of '%s' cannot be converted\n", i + 1, path);
            return kNegative;
        }
    }
    return writeTree(invocation, pictures.tree(), invocation.operands[1]);
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
    if (image->body == nullptr && image->bitplanes == nullptr) {
        report(invocation, "the picture in '%s' has no BODY or ABIT\n", path);
        return kNegative;
    }
    /* Whole planes first, whatever the picture's layout; an ACBM's ABIT already is. */
    if (!ILBM_unpackByteRun(image) || (ILBM_imageIsACBM(image) && !ILBM_convertACBMToILBM(image))) {
        report(invocation, "the picture in '%s' cannot be unpacked\n", path);
        return kNegative;
    }
    unsigned int nPlanes = image->bitMapHeader->nPlanes;
    unsigned int bodyPlanes = ILBM_calculateBodyPlanes(image);
    size_t rowSize = ILBM_calculateRowSize(image);
    unsigned int height = image->bitMapHeader->h;
    size_t planeSize = rowSize * height;
    size_t size = planeSize * nPlanes;

    const unsigned char *data = image->body->chunkData;
    Buffer rearranged;
    if (planar || bodyPlanes != nPlanes) {
        rearranged.reset(ILBM_deinterleave(image));
        if (rearranged == nullptr) {
            report(invocation, "the picture in '%s' cannot be laid out\n", path);
            return kNegative;
        }
        if (!planar) {
            /* Interleave again without the mask plane. */
            std::vector<const unsigned char *> planes(nPlanes);
            for (unsigned int p = 0; p < nPlanes; p++) {
                planes[p] = rearranged.get() + p * planeSize;
            }
            Buffer body(static_cast<unsigned char *>(malloc(size)));
            if (body == nullptr) {
                report(invocation, "out of memory\n");
                return kTrouble;
            }
            ILBM_interleaveRows(planes.data(), nPlanes, rowSize, height, body.get());
            rearranged = std::move(body);
        }
        data = rearranged.get();
    } else if (image->body->chunkSize < 0 || static_cast<size_t>(image->body->chunkSize) < size) {
        report(invocation, "the BODY in '%s' holds %d bytes, the picture needs %zu\n", path,
               static_cast<int>(image->body->chunkSize), size);
        return kNegative;
    }
    return writeFile(invocation, invocation.operands[1], data, size);
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
