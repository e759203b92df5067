#include "ilbm/ilbm.h"

#include "fixedchunk.h"

#include <iff/iff.h>
#include <stdint.h>
#include <string.h>

#define ROW(id, stem)                                                                              \
    {                                                                                              \
        id, ILBM_read##stem, ILBM_write##stem, ILBM_check##stem, ILBM_free##stem,                  \
            ILBM_print##stem, ILBM_compare##stem                                                   \
    }

const IFF_FormExtension ilbmFormExtension[ILBM_NUM_OF_EXTENSION_CHUNKS] = {
    ROW("BMHD", BitMapHeader), ROW("CAMG", Viewport),  ROW("CCRT", CycleInfo),
    ROW("CMAP", ColorMap),     ROW("CMYK", CMYKMap),   ROW("CNAM", ColorNames),
    ROW("CRNG", ColorRange),   ROW("DEST", DestMerge), ROW("DPI ", DPIHeader),
    ROW("DRNG", DRange),       ROW("GRAB", Grab),      ROW("SPRT", Sprite),
};

#undef ROW

const IFF_Extension extension[ILBM_NUM_OF_FORM_TYPES] = {
    {"ACBM", ILBM_NUM_OF_EXTENSION_CHUNKS, ilbmFormExtension},
    {"ILBM", ILBM_NUM_OF_EXTENSION_CHUNKS, ilbmFormExtension},
    {"PBM ", ILBM_NUM_OF_EXTENSION_CHUNKS, ilbmFormExtension},
};

IFF_Chunk *ILBM_read(const char *filename) {
    return IFF_read(filename, extension, ILBM_NUM_OF_FORM_TYPES);
}

IFF_Chunk *ILBM_readFd(FILE *file) {
    return IFF_readFd(file, extension, ILBM_NUM_OF_FORM_TYPES);
}

int ILBM_write(const char *filename, const IFF_Chunk *chunk) {
    return IFF_write(filename, chunk, extension, ILBM_NUM_OF_FORM_TYPES);
}

int ILBM_writeFd(FILE *file, const IFF_Chunk *chunk) {
    return IFF_writeFd(file, chunk, extension, ILBM_NUM_OF_FORM_TYPES);
}

int ILBM_check(const IFF_Chunk *chunk) {
    return IFF_check(chunk, extension, ILBM_NUM_OF_FORM_TYPES);
}

void ILBM_free(IFF_Chunk *chunk) {
    IFF_free(chunk, extension, ILBM_NUM_OF_FORM_TYPES);
}

void ILBM_print(const IFF_Chunk *chunk) {
    IFF_print(chunk, 0, extension, ILBM_NUM_OF_FORM_TYPES);
}

int ILBM_compare(const IFF_Chunk *chunk1, const IFF_Chunk *chunk2) {
    return IFF_compare(chunk1, chunk2, extension, ILBM_NUM_OF_FORM_TYPES);
}

namespace {

unsigned int completeChunks(IFF_Chunk *chunk, const char *formType) {
    if (memcmp(chunk->chunkId, "FORM", 4) == 0 || memcmp(chunk->chunkId, "PROP", 4) == 0 ||
        memcmp(chunk->chunkId, "CAT ", 4) == 0 || memcmp(chunk->chunkId, "LIST", 4) == 0) {
        IFF_Group *group = reinterpret_cast<IFF_Group *>(chunk);
        const bool form =
            memcmp(chunk->chunkId, "FORM", 4) == 0 || memcmp(chunk->chunkId, "PROP", 4) == 0;
        const char *subFormType = form ? group->groupType : nullptr;
        unsigned int completed = 0;
        for (unsigned int i = 0; i < group->chunkLength; i++) {
            completed += completeChunks(group->chunk[i], subFormType);
        }
        if (memcmp(chunk->chunkId, "LIST", 4) == 0) {
            IFF_List *list = reinterpret_cast<IFF_List *>(chunk);
            for (unsigned int i = 0; i < list->propLength; i++) {
                completed += completeChunks(reinterpret_cast<IFF_Chunk *>(list->prop[i]), nullptr);
            }
        }
        return completed;
    }
    if (IFF_findFormExtension(formType, chunk->chunkId, extension, ILBM_NUM_OF_FORM_TYPES) ==
        nullptr) {
        return 0;
    }
    const long long size = ilbm::fieldsSize(chunk);
    if (size <= chunk->chunkSize || size > INT32_MAX) {
        return 0;
    }
    chunk->chunkSize = static_cast<IFF_Long>(size);
    IFF_updateChunkSizes(chunk);
    return 1;
}

} // namespace

unsigned int ILBM_completeChunks(IFF_Chunk *chunk) {
    return chunk == nullptr ? 0 : completeChunks(chunk, nullptr);
}
