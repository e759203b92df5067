#include "ilbm/interleave.h"

#include "geometry.h"

#include <iff/chunk.h>
#include <iff/error.h>
#include <iff/group.h>
#include <stdlib.h>
#include <string.h>

namespace {

/* The geometry of a picture whose planes can be rearranged: ILBM or ACBM, uncompressed. */
int planeGeometry(const ILBM_Image *image, ilbm::BodyGeometry *geometry) {
    if (ILBM_imageIsPBM(image)) {
        IFF_error("ERROR: a 'PBM ' picture has no bitplanes!\n");
        return 0;
    }
    return ilbm::bodyGeometry(image, geometry);
}

void planePointers(unsigned char *planes, const ilbm::BodyGeometry &geometry,
                   unsigned char **pointers) {
    for (unsigned int p = 0; p < geometry.planes; p++) {
        pointers[p] = planes + static_cast<size_t>(p) * geometry.rowSize * geometry.height;
    }
}

/*
 * Rearranges the planes held by one raw chunk into a new buffer of the chunk's size. Bytes
 * after the picture's rows are carried over unchanged, so nothing in the chunk is lost.
 */
unsigned char *rearrange(const ILBM_Image *image, const IFF_RawChunk *chunk, bool toPlanes) {
    ilbm::BodyGeometry geometry;
    if (!planeGeometry(image, &geometry) || !ilbm::holdsBody(chunk, geometry)) {
        return nullptr;
    }
    size_t size = static_cast<size_t>(chunk->chunkSize);
    unsigned char *data = static_cast<unsigned char *>(malloc(size > 0 ? size : 1));
    if (data == nullptr) {
        return nullptr;
    }
    unsigned char *pointers[ilbm::kMaxBodyPlanes];
    if (toPlanes) {
        planePointers(data, geometry, pointers);
        ILBM_deinterleaveRows(chunk->chunkData, geometry.planes, geometry.rowSize, geometry.height,
                              pointers);
    } else {
        planePointers(chunk->chunkData, geometry, pointers);
        ILBM_interleaveRows(pointers, geometry.planes, geometry.rowSize, geometry.height, data);
    }
    memcpy(data + geometry.size, chunk->chunkData + geometry.size, size - geometry.size);
    return data;
}

/* The FORM that holds the picture's data, which is the one whose type changes. A BMHD that
   comes from a PROP is left alone: its PROP serves other forms too. */
IFF_Group *pictureForm(const ILBM_Image *image, const IFF_RawChunk *data) {
    IFF_Group *group = data != nullptr ? data->parent : image->bitMapHeader->parent;
    if (group != nullptr && memcmp(group->chunkId, "FORM", 4) == 0) {
        return group;
    }
    return nullptr;
}

int convert(ILBM_Image *image, const char *from, const char *to, bool toPlanes) {
    if (IFF_compareId(image->formType, from) != 0 || image->bitMapHeader == nullptr ||
        image->bitMapHeader->compression != ILBM_CMP_NONE) {
        return 0;
    }
    IFF_RawChunk *&source = toPlanes ? image->body : image->bitplanes;
    IFF_RawChunk *&target = toPlanes ? image->bitplanes : image->body;
    IFF_RawChunk *chunk = source;
    IFF_Group *form = pictureForm(image, chunk);

    if (chunk != nullptr) {
        if (target != nullptr) {
            IFF_error("ERROR: the picture has both a 'BODY' and an 'ABIT' chunk!\n");
            return 0;
        }
        unsigned char *data = rearrange(image, chunk, toPlanes);
        if (data == nullptr) {
            return 0;
        }
        free(chunk->chunkData);
        chunk->chunkData = data;
        IFF_createId(chunk->chunkId, toPlanes ? ILBM_ID_ABIT : ILBM_ID_BODY);
        target = chunk;
        source = nullptr;
    }
    IFF_createId(image->formType, to);
    if (form != nullptr) {
        IFF_createId(form->groupType, to);
    }
    return 1;
}

} // namespace

namespace {

/* The geometry of a BODY that can be de-interleaved as it is. */
int unpackedBodyGeometry(const ILBM_Image *image, ilbm::BodyGeometry *geometry) {
    if (!planeGeometry(image, geometry)) {
        return 0;
    }
    if (image->bitMapHeader->compression != ILBM_CMP_NONE) {
        IFF_error("ERROR: the 'BODY' is compressed; it must be unpacked first!\n");
        return 0;
    }
    return ilbm::holdsBody(image->body, *geometry);
}

} // namespace

int ILBM_deinterleaveToBitplaneMemory(const ILBM_Image *image, unsigned char **bitplanePointers) {
    if (image->body == nullptr) {
        return 1;
    }
    ilbm::BodyGeometry geometry;
    if (!unpackedBodyGeometry(image, &geometry)) {
        return 0;
    }
    ILBM_deinterleaveRows(image->body->chunkData, geometry.planes, geometry.rowSize,
                          geometry.height, bitplanePointers);
    return 1;
}

unsigned char *ILBM_deinterleave(const ILBM_Image *image) {
    ilbm::BodyGeometry geometry;
    if (image->body == nullptr) {
        IFF_error("ERROR: the picture has no 'BODY'!\n");
        return nullptr;
    }
    if (!unpackedBodyGeometry(image, &geometry)) {
        return nullptr;
    }
    unsigned char *planes = static_cast<unsigned char *>(malloc(geometry.size));
    if (planes == nullptr) {
        return nullptr;
    }
    unsigned char *pointers[ilbm::kMaxBodyPlanes];
    planePointers(planes, geometry, pointers);
    ILBM_deinterleaveRows(image->body->chunkData, geometry.planes, geometry.rowSize,
                          geometry.height, pointers);
    return planes;
}

unsigned char *ILBM_interleaveFromBitplaneMemory(const ILBM_Image *image,
                                                 unsigned char **bitplanePointers) {
    ilbm::BodyGeometry geometry;
    if (!planeGeometry(image, &geometry)) {
        return nullptr;
    }
    unsigned char *body = static_cast<unsigned char *>(malloc(geometry.size));
    if (body != nullptr) {
        ILBM_interleaveRows(bitplanePointers, geometry.planes, geometry.rowSize, geometry.height,
                            body);
    }
    return body;
}

unsigned char *ILBM_interleave(const ILBM_Image *image, unsigned char *bitplanes) {
    ilbm::BodyGeometry geometry;
    if (!planeGeometry(image, &geometry)) {
        return nullptr;
    }
    unsigned char *pointers[ilbm::kMaxBodyPlanes];
    planePointers(bitplanes, geometry, pointers);
    return ILBM_interleaveFromBitplaneMemory(image, pointers);
}

int ILBM_convertILBMToACBM(ILBM_Image *image) {
    return convert(image, ILBM_ID_ILBM, ILBM_ID_ACBM, true);
}

int ILBM_convertACBMToILBM(ILBM_Image *image) {
    return convert(image, ILBM_ID_ACBM, ILBM_ID_ILBM, false);
}
