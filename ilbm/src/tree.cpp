#include "tree.h"

#include "ilbm/ilbm.h"

#include <iff/error.h>
#include <iff/iff.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace ilbm {

namespace {

void ignore(const char *, va_list) {}

template <typename T> T *lookUp(const IFF_Form *form, const char *chunkId) {
    return reinterpret_cast<T *>(IFF_getChunkFromForm(form, chunkId));
}

/* The type every sub-group of the CAT or LIST shares, or JJJJ when they differ. */
void commonType(const IFF_Group *group, IFF_ID type) {
    bool first = true;
    for (unsigned int i = 0; i < group->chunkLength; i++) {
        const IFF_Chunk *sub = group->chunk[i];
        if (!isGroup(sub) || isId(sub, "PROP")) {
            continue;
        }
        const IFF_Group *subGroup = reinterpret_cast<const IFF_Group *>(sub);
        if (first) {
            memcpy(type, subGroup->groupType, sizeof(IFF_ID));
            first = false;
        } else if (memcmp(type, subGroup->groupType, sizeof(IFF_ID)) != 0) {
            memcpy(type, "JJJJ", sizeof(IFF_ID));
            return;
        }
    }
    if (first) {
        memcpy(type, group->groupType, sizeof(IFF_ID));
    }
}

} // namespace

bool isId(const IFF_Chunk *chunk, const char *chunkId) {
    return memcmp(chunk->chunkId, chunkId, sizeof(IFF_ID)) == 0;
}

bool isGroup(const IFF_Chunk *chunk) {
    return isId(chunk, "FORM") || isId(chunk, "CAT ") || isId(chunk, "LIST") || isId(chunk, "PROP");
}

IFF_Chunk *copyChunk(const IFF_Chunk *chunk, const char *formType) {
    char *data = nullptr;
    size_t size = 0;
    FILE *out = open_memstream(&data, &size);
    if (out == nullptr) {
        IFF_error("ERROR: Out of memory while copying a chunk!\n");
        return nullptr;
    }
    // The copy reads what was written a moment ago: the warnings of that read were given when
    // the chunk itself was read, and are not given again.
    void (*callback)(const char *, va_list) = IFF_errorCallback;
    IFF_errorCallback = ignore;
    const int written = IFF_writeChunk(out, chunk, formType, extension, ILBM_NUM_OF_FORM_TYPES);
    const bool closed = fclose(out) == 0;
    IFF_Chunk *copy = nullptr;
    FILE *in = written && closed ? fmemopen(data, size, "rb") : nullptr;
    if (in != nullptr) {
        copy = IFF_readChunk(in, formType, extension, ILBM_NUM_OF_FORM_TYPES);
        fclose(in);
    }
    IFF_errorCallback = callback;
    free(data);
    if (copy == nullptr) {
        IFF_error("ERROR: The '");
        IFF_errorId(chunk->chunkId);
        IFF_error("' chunk cannot be copied!\n");
    }
    return copy;
}

void lookUpChunks(ILBM_Image *image) {
    const IFF_Form *form = image->form;
    image->bitMapHeader = lookUp<ILBM_BitMapHeader>(form, ILBM_ID_BMHD);
    image->colorMap = lookUp<ILBM_ColorMap>(form, ILBM_ID_CMAP);
    image->cmykMap = lookUp<ILBM_CMYKMap>(form, ILBM_ID_CMYK);
    image->colorNames = lookUp<ILBM_ColorNames>(form, ILBM_ID_CNAM);
    image->dpiHeader = lookUp<ILBM_DPIHeader>(form, ILBM_ID_DPI);
    image->grab = lookUp<ILBM_Grab>(form, ILBM_ID_GRAB);
    image->destMerge = lookUp<ILBM_DestMerge>(form, ILBM_ID_DEST);
    image->sprite = lookUp<ILBM_Sprite>(form, ILBM_ID_SPRT);
    image->viewport = lookUp<ILBM_Viewport>(form, ILBM_ID_CAMG);
    image->body = lookUp<IFF_RawChunk>(form, ILBM_ID_BODY);
    image->bitplanes = lookUp<IFF_RawChunk>(form, ILBM_ID_ABIT);
}

void removeProp(IFF_List *list, unsigned int index) {
    IFF_Prop *prop = list->prop[index];
    memmove(&list->prop[index], &list->prop[index + 1],
            (list->propLength - index - 1) * sizeof(IFF_Prop *));
    list->propLength--;
    ILBM_free(reinterpret_cast<IFF_Chunk *>(prop));
    IFF_updateChunkSizes(reinterpret_cast<IFF_Chunk *>(list));
}

void retypeAncestors(IFF_Form *form, const char *oldType) {
    for (IFF_Group *group = form->parent; group != nullptr; group = group->parent) {
        const IFF_Chunk *chunk = reinterpret_cast<const IFF_Chunk *>(group);
        if (!isId(chunk, "CAT ") && !isId(chunk, "LIST")) {
            continue;
        }
        if (memcmp(group->groupType, oldType, sizeof(IFF_ID)) != 0 &&
            memcmp(group->groupType, "JJJJ", sizeof(IFF_ID)) != 0) {
            return;
        }
        commonType(group, group->groupType);
    }
}

} // namespace ilbm
