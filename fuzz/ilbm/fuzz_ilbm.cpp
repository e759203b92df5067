// Reads any bytes as an IFF file with the picture chunk types, then does to every picture
// what a user of the library would: check, print, write and read back, unpack, de-interleave,
// convert to ACBM and back, and pack, which must unpack to the same body again.
#include "ilbm/byterun.h"
#include "ilbm/ilbm.h"
#include "ilbm/ilbmimage.h"
#include "ilbm/interleave.h"

#include <iff/error.h>
#include <iff/rawchunk.h>

#include <stdarg.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace {

void quiet(const char *, va_list) {}

void roundTrip(const IFF_Chunk *tree) {
    char *data = nullptr;
    size_t size = 0;
    FILE *file = open_memstream(&data, &size);
    if (file == nullptr) {
        return;
    }
    int written = ILBM_writeFd(file, tree);
    fclose(file);
    if (written && size > 0) {
        FILE *input = fmemopen(data, size, "rb");
        if (input != nullptr) {
            IFF_Chunk *again = ILBM_readFd(input);
            fclose(input);
            if (again != nullptr) {
                ILBM_compare(tree, again);
                ILBM_free(again);
            }
        }
    }
    free(data);
}

void exercise(ILBM_Image *image) {
    ILBM_checkImage(image);
    ILBM_calculateRowSize(image);
    ILBM_ColorMap *grey = ILBM_generateGrayscaleColorMap(image);
    if (grey != nullptr) {
        ILBM_freeColorMap(reinterpret_cast<IFF_Chunk *>(grey));
        free(grey);
    }

    ILBM_unpackByteRun(image);
    unsigned char *planes = ILBM_deinterleave(image);
    if (planes != nullptr) {
        /* Interleaving the planes again gives the body's picture rows back. */
        size_t size = static_cast<size_t>(ILBM_calculateBodyPlanes(image)) *
                      ILBM_calculateRowSize(image) * image->bitMapHeader->h;
        unsigned char *again = ILBM_interleave(image, planes);
        if (again != nullptr && memcmp(again, image->body->chunkData, size) != 0) {
            fprintf(stderr, "interleaving the de-interleaved planes changes the body\n");
            abort();
        }
        free(again);
        free(planes);
    }
    if (ILBM_convertILBMToACBM(image)) {
        ILBM_convertACBMToILBM(image);
    }

    IFF_RawChunk *body = image->body;
    if (body == nullptr || body->chunkSize <= 0 ||
        image->bitMapHeader->compression != ILBM_CMP_NONE) {
        return;
    }
    size_t size = static_cast<size_t>(body->chunkSize);
    unsigned char *before = static_cast<unsigned char *>(malloc(size));
    memcpy(before, body->chunkData, size);
    if (ILBM_packByteRun(image) && image->bitMapHeader->compression == ILBM_CMP_BYTE_RUN) {
        if (!ILBM_unpackByteRun(image) || static_cast<size_t>(body->chunkSize) != size ||
            memcmp(before, body->chunkData, size) != 0) {
            fprintf(stderr, "a packed body does not unpack to what was packed\n");
            abort();
        }
    }
    free(before);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static bool initialised = [] {
        IFF_errorCallback = quiet;
        return freopen("/dev/null", "w", stdout) != nullptr;
    }();
    (void)initialised;
    if (size == 0) {
        return 0;
    }
    FILE *file = fmemopen(const_cast<uint8_t *>(data), size, "rb");
    if (file == nullptr) {
        return 0;
    }
    IFF_Chunk *tree = ILBM_readFd(file);
    fclose(file);
    if (tree == nullptr) {
        return 0;
    }

    ILBM_check(tree);
    ILBM_print(tree);
    roundTrip(tree);

    unsigned int imagesLength = 0;
    ILBM_Image **images = ILBM_extractImages(tree, &imagesLength);
    for (unsigned int i = 0; i < imagesLength; i++) {
        exercise(images[i]);
    }
    ILBM_checkImages(tree, images, imagesLength);
    roundTrip(tree);
    ILBM_freeImages(images, imagesLength);
    ILBM_free(tree);
    return 0;
}
