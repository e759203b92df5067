#include "ilbm/byterun.h"

#include "geometry.h"

#include <iff/chunk.h>
#include <iff/error.h>
#include <iff/rawchunk.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

namespace {

/*
 * Changing the compression of a BMHD that a PROP shares with other forms would misdescribe
 * their bodies, so only a BMHD of the body's own form is changed.
 */
int ownsBitMapHeader(const ILBM_Image *image) {
    const IFF_Group *headerGroup = image->bitMapHeader->parent;
    const IFF_Group *bodyGroup = image->body->parent;
    if (headerGroup != nullptr && bodyGroup != nullptr && headerGroup != bodyGroup) {
        IFF_error("ERROR: the 'BMHD' is shared with other forms; the 'BODY' is left as it "
                  "is!\n");
        return 0;
    }
    return 1;
}

void replaceBody(ILBM_Image *image, unsigned char *data, size_t size,
                 ILBM_Compression compression) {
    free(image->body->chunkData);
    IFF_setRawChunkData(image->body, data, static_cast<IFF_Long>(size));
    IFF_updateChunkSizes(reinterpret_cast<IFF_Chunk *>(image->body));
    image->bitMapHeader->compression = compression;
}

/*
 * Decodes a packed PBM body whose rows the packer took as w bytes, without the byte that makes
 * each row even (netpbm and FFmpeg read such files as well), into rows of the even length.
 * Null when the packed data is not exactly such rows.
 */
unsigned char *unpackUnevenRows(const ILBM_Image *image, const ilbm::BodyGeometry &geometry,
                                size_t packedSize, ILBM_ByteRunResult *result) {
    const size_t width = image->bitMapHeader->w;
    if (!ILBM_imageIsPBM(image) || width % 2 == 0) {
        return nullptr;
    }
    const size_t size = width * geometry.height;
    unsigned char *rows = static_cast<unsigned char *>(malloc(size));
    unsigned char *padded = static_cast<unsigned char *>(calloc(geometry.size, 1));
    if (rows == nullptr || padded == nullptr) {
        free(rows);
        free(padded);
        return nullptr;
    }
    *result = ILBM_unpackByteRunData(image->body->chunkData, packedSize, rows, size);
    if (result->written < size || result->overrun || result->consumed < packedSize) {
        free(rows);
        free(padded);
        return nullptr;
    }
    for (size_t r = 0; r < geometry.height; r++) {
        memcpy(padded + r * geometry.rowSize, rows + r * width, width);
    }
    free(rows);
    IFF_error("WARNING: the packed 'BODY' holds rows of %zu bytes, without the byte that makes "
              "them even; each row is padded!\n",
              width);
    return padded;
}

} // namespace

int ILBM_unpackByteRun(ILBM_Image *image) {
    if (image->bitMapHeader == nullptr || image->body == nullptr ||
        image->bitMapHeader->compression == ILBM_CMP_NONE) {
        return 1;
    }
    if (image->bitMapHeader->compression != ILBM_CMP_BYTE_RUN) {
        IFF_error("ERROR: 'BMHD'.compression %u is not ByteRun1; the 'BODY' cannot be "
                  "unpacked!\n",
                  static_cast<unsigned int>(image->bitMapHeader->compression));
        return 0;
    }
    ilbm::BodyGeometry geometry;
    if (!ilbm::bodyGeometry(image, &geometry) || !ownsBitMapHeader(image)) {
        return 0;
    }
    size_t packedSize =
        image->body->chunkSize > 0 ? static_cast<size_t>(image->body->chunkSize) : 0;
    /* Two packed bytes give at most 128 bytes: a picture larger than that is cut short, and
       its buffer is not worth allocating. */
    if (geometry.size / 64 > packedSize) {
        IFF_error("ERROR: the packed 'BODY' of %zu bytes cannot hold the picture's %zu bytes; "
                  "it is left packed!\n",
                  packedSize, geometry.size);
        return 0;
    }
    unsigned char *unpacked = static_cast<unsigned char *>(malloc(geometry.size));
    if (unpacked == nullptr) {
        IFF_error("ERROR: no memory for an unpacked 'BODY' of %zu bytes!\n", geometry.size);
        return 0;
    }
    ILBM_ByteRunResult result =
        ILBM_unpackByteRunData(image->body->chunkData, packedSize, unpacked, geometry.size);
    if (result.written < geometry.size) {
        unsigned char *padded = unpackUnevenRows(image, geometry, packedSize, &result);
        if (padded != nullptr) {
            free(unpacked);
            unpacked = padded;
            result.written = geometry.size;
        }
    }

    if (result.unknownControls > 0) {
        IFF_error("Unknown byte run encoding byte!\n");
    }
    if (result.written < geometry.size) {
        IFF_error("ERROR: the packed 'BODY' ends after %zu of the picture's %zu bytes; it is "
                  "left packed!\n",
                  result.written, geometry.size);
        free(unpacked);
        return 0;
    }
    if (result.overrun) {
        IFF_error("WARNING: the packed 'BODY' runs past the end of the picture!\n");
    } else if (result.consumed < packedSize) {
        IFF_error("WARNING: %zu bytes after the packed picture in the 'BODY' are dropped!\n",
                  packedSize - result.consumed);
    }
    replaceBody(image, unpacked, geometry.size, ILBM_CMP_NONE);
    return 1;
}

int ILBM_packByteRun(ILBM_Image *image) {
    if (image->bitMapHeader == nullptr || image->body == nullptr ||
        image->bitMapHeader->compression != ILBM_CMP_NONE) {
        return 1;
    }
    ilbm::BodyGeometry geometry;
    if (!ilbm::bodyGeometry(image, &geometry) || !ownsBitMapHeader(image) ||
        !ilbm::holdsBody(image->body, geometry)) {
        return 0;
    }
    if (static_cast<size_t>(image->body->chunkSize) > geometry.size) {
        IFF_error("ERROR: the 'BODY' holds %d bytes, more than the picture's %zu; it is left "
                  "as it is!\n",
                  static_cast<int>(image->body->chunkSize), geometry.size);
        return 0;
    }

    size_t rows = static_cast<size_t>(geometry.planes) * geometry.height;
    size_t capacity = ILBM_byteRunRowWorstCase(geometry.rowSize) * rows;
    unsigned char *packed = static_cast<unsigned char *>(malloc(capacity));
    if (packed == nullptr) {
        IFF_error("ERROR: no memory to pack a 'BODY' of %zu bytes!\n", geometry.size);
        return 0;
    }
    size_t length = 0;
    const unsigned char *row = image->body->chunkData;
    for (size_t r = 0; r < rows; r++, row += geometry.rowSize) {
        length += ILBM_packByteRunRow(row, geometry.rowSize, packed + length, capacity - length);
    }
    if (length > static_cast<size_t>(INT32_MAX)) {
        IFF_error("ERROR: a packed body of %zu bytes does not fit in a chunk!\n", length);
        free(packed);
        return 0;
    }
    void *trimmed = realloc(packed, length);
    if (trimmed != nullptr) {
        packed = static_cast<unsigned char *>(trimmed);
    }
    replaceBody(image, packed, length, ILBM_CMP_BYTE_RUN);
    return 1;
}
