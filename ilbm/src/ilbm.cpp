#include "ilbm/ilbm.h"

#include <iff/iff.h>

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
