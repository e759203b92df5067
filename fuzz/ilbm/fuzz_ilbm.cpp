// Reads any bytes as an IFF file with the picture chunk types, then does to every picture what a
// user of the library would: check, print, write and read back, unpack, de-interleave, convert to
// ACBM and back, pack (which must unpack to the same body again), and make a FORM of it.
//
// Every tree that reads can be written, and what is written reads back. A tree that passes the
// check reads back equal to itself; any other reads back as a tree that writes the same bytes
// again. A tree whose conversions succeed still passes the check if it passed before.
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

#include <vector>

namespace {

void quiet(const char *, va_list) {}

[[noreturn]] void fail(const char *what) {
    fprintf(stderr, "%s\n", what);
    abort();
}

std::vector<uint8_t> bytesOf(const IFF_Chunk *tree) {
    char *data = nullptr;
    size_t size = 0;
    FILE *file = open_memstream(&data, &size);
    if (file == nullptr) {
        abort();
    }
    const int written = ILBM_writeFd(file, tree);
    fclose(file);
    std::vector<uint8_t> bytes(data, data + size);
    free(data);
    if (!written || bytes.empty()) {
        fail("a tree that was read cannot be written");
    }
    return bytes;
}

IFF_Chunk *treeOf(std::vector<uint8_t> &bytes) {
    FILE *file = fmemopen(bytes.data(), bytes.size(), "rb");
    if (file == nullptr) {
        abort();
    }
    IFF_Chunk *tree = ILBM_readFd(file);
    fclose(file);
    return tree;
}

void roundTrip(const IFF_Chunk *tree) {
    const bool valid = ILBM_check(tree);
    std::vector<uint8_t> bytes = bytesOf(tree);
    IFF_Chunk *again = treeOf(bytes);
    if (again == nullptr) {
        fail("what was written cannot be read");
    }
    if (valid && (!ILBM_compare(tree, again) || !ILBM_compare(again, tree) || !ILBM_check(again))) {
        fail("a valid tree reads back as another");
    }
    if (bytesOf(again) != bytes) {
        fail("what was read back writes other bytes");
    }
    ILBM_free(again);
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
        /* Interleaving the planes again gives the body's picture rows back (not for a picture
           with a mask, which its planes do not give). */
        size_t size = static_cast<size_t>(image->bitMapHeader->nPlanes) *
                      ILBM_calculateRowSize(image) * image->bitMapHeader->h;
        unsigned char *again = ILBM_interleave(image, planes);
        if (again != nullptr && memcmp(again, image->body->chunkData, size) != 0) {
            fail("interleaving the de-interleaved planes changes the body");
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
            fail("a packed body does not unpack to what was packed");
        }
    }
    free(before);
}

/* A FORM made of an extracted picture holds copies: writing it reads back equal. */
void formOf(ILBM_Image *image) {
    IFF_Form *form = ILBM_convertImageToForm(image);
    if (form == nullptr) {
        return;
    }
    roundTrip(reinterpret_cast<IFF_Chunk *>(form));
    ILBM_free(reinterpret_cast<IFF_Chunk *>(form));
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

    const bool valid = ILBM_check(tree);
    ILBM_print(tree);
    roundTrip(tree);

    unsigned int imagesLength = 0;
    ILBM_Image **images = ILBM_extractImages(tree, &imagesLength);
    for (unsigned int i = 0; i < imagesLength; i++) {
        exercise(images[i]);
    }
    ILBM_checkImages(tree, images, imagesLength);
    roundTrip(tree);
    if (valid && !ILBM_check(tree)) {
        fail("converting the pictures of a valid tree makes it invalid");
    }
    ILBM_completeChunks(tree);
    roundTrip(tree);
    for (unsigned int i = 0; i < imagesLength; i++) {
        formOf(images[i]);
    }
    ILBM_freeImages(images, imagesLength);
    ILBM_free(tree);
    return 0;
}
