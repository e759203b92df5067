#include "ilbm/colormap.h"

#include "array.h"
#include "fixedchunk.h"

#include <iff/error.h>
#include <iff/util.h>
#include <stdlib.h>

ILBM_ColorMap *ILBM_createColorMap(void) {
    return reinterpret_cast<ILBM_ColorMap *>(
        IFF_allocateChunk(ILBM_ID_CMAP, sizeof(ILBM_ColorMap)));
}

ILBM_ColorRegister *ILBM_addColorRegisterInColorMap(ILBM_ColorMap *colorMap) {
    if (!ilbm::growArray(colorMap->colorRegister, colorMap->colorRegisterLength)) {
        return nullptr;
    }
    ILBM_ColorRegister *colorRegister = &colorMap->colorRegister[colorMap->colorRegisterLength++];
    colorRegister->red = colorRegister->green = colorRegister->blue = 0;
    colorMap->chunkSize += 3;
    return colorRegister;
}

IFF_Chunk *ILBM_readColorMap(FILE *file, const IFF_Long chunkSize) {
    if (!ilbm::fitsInChunk(ILBM_ID_CMAP, chunkSize, 0)) {
        return nullptr;
    }
    ILBM_ColorMap *colorMap = ILBM_createColorMap();
    if (colorMap == nullptr) {
        return nullptr;
    }
    IFF_Chunk *chunk = reinterpret_cast<IFF_Chunk *>(colorMap);

    /* Only whole registers inside the chunk are read; a partial one at the end is skipped. */
    IFF_Long registers = chunkSize / 3;
    for (IFF_Long i = 0; i < registers; i++) {
        ILBM_ColorRegister *colorRegister = ILBM_addColorRegisterInColorMap(colorMap);
        if (colorRegister == nullptr ||
            !IFF_readUByte(file, &colorRegister->red, colorMap->chunkId, "colorRegister.red") ||
            !IFF_readUByte(file, &colorRegister->green, colorMap->chunkId, "colorRegister.green") ||
            !IFF_readUByte(file, &colorRegister->blue, colorMap->chunkId, "colorRegister.blue")) {
            ILBM_freeColorMap(chunk);
            free(colorMap);
            return nullptr;
        }
    }
    if (!ilbm::finishChunkBody(file, ILBM_ID_CMAP, colorMap->chunkSize, chunkSize)) {
        ILBM_freeColorMap(chunk);
        free(colorMap);
        return nullptr;
    }
    colorMap->chunkSize = chunkSize;
    return chunk;
}

int ILBM_writeColorMap(FILE *file, const IFF_Chunk *chunk) {
    const ILBM_ColorMap *colorMap = reinterpret_cast<const ILBM_ColorMap *>(chunk);
    for (unsigned int i = 0; i < colorMap->colorRegisterLength; i++) {
        const ILBM_ColorRegister *colorRegister = &colorMap->colorRegister[i];
        if (!IFF_writeUByte(file, colorRegister->red, colorMap->chunkId, "colorRegister.red") ||
            !IFF_writeUByte(file, colorRegister->green, colorMap->chunkId, "colorRegister.green") ||
            !IFF_writeUByte(file, colorRegister->blue, colorMap->chunkId, "colorRegister.blue")) {
            return 0;
        }
    }
    return ilbm::finishChunkWrite(file, ILBM_ID_CMAP,
                                  static_cast<IFF_Long>(colorMap->colorRegisterLength * 3),
                                  colorMap->chunkSize);
}

int ILBM_checkColorMap(const IFF_Chunk *) {
    return 1;
}

long long ilbm::fieldsSizeOfColorMap(const IFF_Chunk *chunk) {
    return 3LL * reinterpret_cast<const ILBM_ColorMap *>(chunk)->colorRegisterLength;
}

void ILBM_freeColorMap(IFF_Chunk *chunk) {
    ILBM_ColorMap *colorMap = reinterpret_cast<ILBM_ColorMap *>(chunk);
    free(colorMap->colorRegister);
    colorMap->colorRegister = nullptr;
    colorMap->colorRegisterLength = 0;
}

void ILBM_printColorMap(const IFF_Chunk *chunk, const unsigned int indentLevel) {
    const ILBM_ColorMap *colorMap = reinterpret_cast<const ILBM_ColorMap *>(chunk);
    for (unsigned int i = 0; i < colorMap->colorRegisterLength; i++) {
        const ILBM_ColorRegister *r = &colorMap->colorRegister[i];
        IFF_printIndent(stdout, indentLevel, "{ red = %x, green = %x, blue = %x };\n",
                        static_cast<unsigned int>(r->red), static_cast<unsigned int>(r->green),
                        static_cast<unsigned int>(r->blue));
    }
}

int ILBM_compareColorMap(const IFF_Chunk *chunk1, const IFF_Chunk *chunk2) {
    const ILBM_ColorMap *a = reinterpret_cast<const ILBM_ColorMap *>(chunk1);
    const ILBM_ColorMap *b = reinterpret_cast<const ILBM_ColorMap *>(chunk2);
    if (a->colorRegisterLength != b->colorRegisterLength) {
        return 0;
    }
    for (unsigned int i = 0; i < a->colorRegisterLength; i++) {
        const ILBM_ColorRegister &x = a->colorRegister[i];
        const ILBM_ColorRegister &y = b->colorRegister[i];
        if (x.red != y.red || x.green != y.green || x.blue != y.blue) {
            return 0;
        }
    }
    return 1;
}
