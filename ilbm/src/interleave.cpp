#include "ilbm/interleave.h"

#include "geometry.h"
#include "tree.h"

#include <iff/chunk.h>
#include <iff/error.h>
#include <iff/group.h>
#include <iff/iff.h>
#include <stdlib.h>
#include <string.h>

#include <vector>

namespace {

/* The geometry of a picture whose planes can be rearranged: ILBM or ACBM, uncompressed. */
int planeGeometry(const ILBM_Image *image, ilbm::BodyGeometry *geometry) {
    if (ILBM_imageIsPBM(image)) {
        IFF_error("ERROR: a 'PBM ' picture has no bitplanes!\n");
        return 0;
    }
    return ilbm::bodyGeometry(image, geometry);
}

void planePointers(unsigned char *planes, const ilbm::BodyGeometry &geometry, unsigned int count,
                   unsigned char **pointers) {
    for (unsigned int p = 0; p < count; p++) {
        pointers[p] = planes + static_cast<size_t>(p) * geometry.rowSize * geometry.height;
    }
}

/*
 * Rearranges the planes held by one raw chunk, the mask plane among them, into a new buffer of
 * the chunk's size. Bytes after the picture's rows are carried over unchanged, so nothing in the
 * chunk is lost.
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
        planePointers(data, geometry, geometry.planes, pointers);
        ILBM_deinterleaveRows(chunk->chunkData, geometry.planes, geometry.rowSize, geometry.height,
                              pointers);
    } else {
        planePointers(chunk->chunkData, geometry, geometry.planes, pointers);
        ILBM_interleaveRows(pointers, geometry.planes, geometry.rowSize, geometry.height, data);
    }
    memcpy(data + geometry.size, chunk->chunkData + geometry.size, size - geometry.size);
    return data;
}

/* Gives a raw chunk the rearranged data and the other layout's chunk ID. */
void replaceData(IFF_RawChunk *chunk, unsigned char *data, bool toPlanes) {
    free(chunk->chunkData);
    chunk->chunkData = data;
    IFF_createId(chunk->chunkId, toPlanes ? ILBM_ID_ABIT : ILBM_ID_BODY);
}

/* A copy of a PROP of the old form type as a PROP of the new one, with the picture data it holds
   rearranged for the new layout; null after a message. */
IFF_Prop *convertedProp(const ILBM_Image *image, const IFF_Prop *prop, const char *to,
                        bool toPlanes) {
    IFF_Prop *copy = reinterpret_cast<IFF_Prop *>(
        ilbm::copyChunk(reinterpret_cast<const IFF_Chunk *>(prop), nullptr));
    if (copy == nullptr) {
        return nullptr;
    }
    IFF_createId(copy->groupType, to);
    IFF_RawChunk *data = reinterpret_cast<IFF_RawChunk *>(
        IFF_getDataChunkFromForm(copy, toPlanes ? ILBM_ID_BODY : ILBM_ID_ABIT));
    if (data != nullptr) {
        /* The data is laid out as the PROP's own BMHD says, or else as the picture's. */
        ILBM_Image described = *image;
        ILBM_BitMapHeader *header =
            reinterpret_cast<ILBM_BitMapHeader *>(IFF_getDataChunkFromForm(copy, ILBM_ID_BMHD));
        if (header != nullptr) {
            described.bitMapHeader = header;
        }
        unsigned char *rearranged = nullptr;
        if (IFF_getDataChunkFromForm(copy, toPlanes ? ILBM_ID_ABIT : ILBM_ID_BODY) != nullptr) {
            IFF_error("ERROR: a 'PROP' holds both a 'BODY' and an 'ABIT' chunk!\n");
        } else if (described.bitMapHeader->compression != ILBM_CMP_NONE) {
            IFF_error("ERROR: the 'BODY' of a 'PROP' is compressed; it must be unpacked first!\n");
        } else {
            rearranged = rearrange(&described, data, toPlanes);
        }
        if (rearranged == nullptr) {
            ILBM_free(reinterpret_cast<IFF_Chunk *>(copy));
            return nullptr;
        }
        replaceData(data, rearranged, toPlanes);
    }
    return copy;
}

/* Whether the FORM takes any chunk from the PROP: one whose ID it does not hold itself. */
bool inheritsFrom(const IFF_Form *form, const IFF_Prop *prop) {
    for (unsigned int i = 0; i < prop->chunkLength; i++) {
        if (IFF_getDataChunkFromForm(form, prop->chunk[i]->chunkId) == nullptr) {
            return true;
        }
    }
    return false;
}

/* A LIST above the picture's FORM whose PROP of the old form type the FORM inherits from, and
   the PROP of the new form type that takes over that role. */
struct PropLevel {
    IFF_List *list;
    IFF_Prop *from;
    IFF_Prop *to;
    bool added; /* to is a new PROP, not yet in the list */
};

void releasePlanned(std::vector<PropLevel> &levels) {
    for (PropLevel &level : levels) {
        if (level.added) {
            ILBM_free(reinterpret_cast<IFF_Chunk *>(level.to));
        }
    }
}

/*
 * Finds, for every LIST above the FORM whose PROP of the old type the FORM inherits from, the
 * PROP of the new type that will hold the same properties: one already in the LIST when it holds
 * exactly them, else a new converted copy. false after a message when a LIST holds a PROP of the
 * new type with other properties: renaming the FORM would then change what it inherits.
 */
bool planPropLevels(const ILBM_Image *image, const char *from, const char *to, bool toPlanes,
                    std::vector<PropLevel> *levels) {
    for (IFF_Group *group = image->form->parent; group != nullptr; group = group->parent) {
        if (!ilbm::isId(reinterpret_cast<IFF_Chunk *>(group), "LIST")) {
            continue;
        }
        IFF_List *list = reinterpret_cast<IFF_List *>(group);
        IFF_Prop *fromProp = IFF_getPropFromList(list, from);
        if (fromProp == nullptr || !inheritsFrom(image->form, fromProp)) {
            continue;
        }
        IFF_Prop *converted = convertedProp(image, fromProp, to, toPlanes);
        if (converted == nullptr) {
            releasePlanned(*levels);
            return false;
        }
        IFF_Prop *toProp = IFF_getPropFromList(list, to);
        if (toProp == nullptr) {
            levels->push_back({list, fromProp, converted, true});
            continue;
        }
        const bool same = ILBM_compare(reinterpret_cast<IFF_Chunk *>(toProp),
                                       reinterpret_cast<IFF_Chunk *>(converted));
        ILBM_free(reinterpret_cast<IFF_Chunk *>(converted));
        if (!same) {
            IFF_error("ERROR: a 'LIST' holds a 'PROP' of type '%s' with other properties than "
                      "its 'PROP' of type '%s'; the picture is left as it is!\n",
                      to, from);
            releasePlanned(*levels);
            return false;
        }
        levels->push_back({list, fromProp, toProp, false});
    }
    return true;
}

/* Whether any FORM of the form type is left below the LIST, which may inherit from its PROP. */
bool holdsForms(IFF_List *list, const char *formType) {
    unsigned int count = 0;
    const char *formTypes[] = {formType};
    free(IFF_searchFormsInList(list, formTypes, 1, &count));
    return count > 0;
}

/* An image made in memory: its data chunk is rearranged where it is. */
int convertDetached(ILBM_Image *image, const char *to, bool toPlanes) {
    IFF_RawChunk *&source = toPlanes ? image->body : image->bitplanes;
    IFF_RawChunk *&target = toPlanes ? image->bitplanes : image->body;
    if (source != nullptr) {
        unsigned char *data = rearrange(image, source, toPlanes);
        if (data == nullptr) {
            return 0;
        }
        replaceData(source, data, toPlanes);
        target = source;
        source = nullptr;
        IFF_Group *parent = target->parent;
        if (parent != nullptr && ilbm::isId(reinterpret_cast<IFF_Chunk *>(parent), "FORM")) {
            IFF_createId(parent->groupType, to);
        }
    }
    IFF_createId(image->formType, to);
    return 1;
}

int convert(ILBM_Image *image, const char *from, const char *to, bool toPlanes) {
    if (IFF_compareId(image->formType, from) != 0 || image->bitMapHeader == nullptr ||
        image->bitMapHeader->compression != ILBM_CMP_NONE) {
        return 0;
    }
    IFF_RawChunk *source = toPlanes ? image->body : image->bitplanes;
    IFF_RawChunk *target = toPlanes ? image->bitplanes : image->body;
    if (source != nullptr && target != nullptr) {
        IFF_error("ERROR: the picture has both a 'BODY' and an 'ABIT' chunk!\n");
        return 0;
    }
    if (image->form == nullptr) {
        return convertDetached(image, to, toPlanes);
    }

    /* Everything that can fail first, so that a picture that cannot be converted stays as it
       was. The FORM's own data is rearranged; data it inherits is rearranged once, in the PROP
       of the new type that every picture of the LIST shares. */
    std::vector<PropLevel> levels;
    if (!planPropLevels(image, from, to, toPlanes, &levels)) {
        return 0;
    }
    const bool ownData = source != nullptr && source->parent == image->form;
    unsigned char *data = ownData ? rearrange(image, source, toPlanes) : nullptr;
    if (ownData && data == nullptr) {
        releasePlanned(levels);
        return 0;
    }
    for (size_t i = 0; i < levels.size(); i++) {
        if (levels[i].added && !IFF_addPropToList(levels[i].list, levels[i].to)) {
            for (size_t j = i; j < levels.size(); j++) {
                if (levels[j].added) {
                    ILBM_free(reinterpret_cast<IFF_Chunk *>(levels[j].to));
                }
            }
            free(data);
            return 0;
        }
        IFF_updateChunkSizes(reinterpret_cast<IFF_Chunk *>(levels[i].list));
    }

    if (ownData) {
        replaceData(source, data, toPlanes);
    }
    IFF_createId(image->form->groupType, to);
    IFF_createId(image->formType, to);
    ilbm::lookUpChunks(image);

    /* A PROP of the old type that no picture of that type is left to use goes. */
    for (const PropLevel &level : levels) {
        if (!holdsForms(level.list, from)) {
            for (unsigned int i = 0; i < level.list->propLength; i++) {
                if (level.list->prop[i] == level.from) {
                    ilbm::removeProp(level.list, i);
                    break;
                }
            }
        }
    }
    ilbm::retypeAncestors(image->form, from);
    return 1;
}

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

/* The geometry of a picture to interleave from one pointer per plane: it may not have a mask,
   which the planes do not give. */
int interleaveGeometry(const ILBM_Image *image, ilbm::BodyGeometry *geometry) {
    if (!planeGeometry(image, geometry)) {
        return 0;
    }
    if (geometry->planes != image->bitMapHeader->nPlanes) {
        IFF_error("ERROR: the picture has a mask plane, which its bitplanes do not give; it "
                  "cannot be interleaved from them!\n");
        return 0;
    }
    return 1;
}

/* Copies the BODY's plane rows to one destination per plane, leaving out a mask plane. */
void copyPlaneRows(const ILBM_Image *image, const ilbm::BodyGeometry &geometry,
                   unsigned char *const *planes) {
    const unsigned int nPlanes = image->bitMapHeader->nPlanes;
    const unsigned char *source = image->body->chunkData;
    for (unsigned int r = 0; r < geometry.height; r++) {
        const size_t offset = static_cast<size_t>(r) * geometry.rowSize;
        for (unsigned int p = 0; p < geometry.planes; p++, source += geometry.rowSize) {
            if (p < nPlanes) {
                memcpy(planes[p] + offset, source, geometry.rowSize);
            }
        }
    }
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
    copyPlaneRows(image, geometry, bitplanePointers);
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
    const unsigned int nPlanes = image->bitMapHeader->nPlanes;
    unsigned char *planes =
        static_cast<unsigned char *>(malloc(geometry.rowSize * geometry.height * nPlanes));
    if (planes == nullptr) {
        return nullptr;
    }
    unsigned char *pointers[ilbm::kMaxBodyPlanes];
    planePointers(planes, geometry, nPlanes, pointers);
    copyPlaneRows(image, geometry, pointers);
    return planes;
}

unsigned char *ILBM_interleaveFromBitplaneMemory(const ILBM_Image *image,
                                                 unsigned char **bitplanePointers) {
    ilbm::BodyGeometry geometry;
    if (!interleaveGeometry(image, &geometry)) {
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
    if (!interleaveGeometry(image, &geometry)) {
        return nullptr;
    }
    unsigned char *pointers[ilbm::kMaxBodyPlanes];
    planePointers(bitplanes, geometry, geometry.planes, pointers);
    return ILBM_interleaveFromBitplaneMemory(image, pointers);
}

int ILBM_convertILBMToACBM(ILBM_Image *image) {
    return convert(image, ILBM_ID_ILBM, ILBM_ID_ACBM, true);
}

int ILBM_convertACBMToILBM(ILBM_Image *image) {
    return convert(image, ILBM_ID_ACBM, ILBM_ID_ILBM, false);
}
