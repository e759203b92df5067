#include "ilbm/cmykmap.h"

#include "array.h"
#include "fixedchunk.h"

#include <iff/error.h>
#include <iff/util.h>
#include <stdlib.h>

ILBM_CMYKMap *ILBM_createCMYKMap(void) {
    return reinterpret_cast<ILBM_CMYKMap *>(IFF_allocateChunk(ILBM_ID_CMYK, sizeof(ILBM_CMYKMap)));
}

ILBM_CMYKRegister *ILBM_addCMYKRegisterInCMYKMap(ILBM_CMYKMap *cmykMap) {
    if (!ilbm::growArray(cmykMap->cmykRegister, cmykMap->cmykRegisterLength)) {
        return nullptr;
    }
    ILBM_CMYKRegister *cmykRegister = &cmykMap->cmykRegister[cmykMap->cmykRegisterLength++];
    cmykRegister->cyan = cmykRegister->magenta = cmykRegister->yellow = cmykRegister->black = 0;
    cmykMap->chunkSize += 4;
    return cmykRegister;
}

IFF_Chunk *ILBM_readCMYKMap(FILE *file, const IFF_Long chunkSize) {
    if (!ilbm::fitsInChunk(ILBM_ID_CMYK, chunkSize, 0)) {
        return nullptr;
    }
    ILBM_CMYKMap *cmykMap = ILBM_createCMYKMap();
    if (cmykMap == nullptr) {
        return nullptr;
    }
    IFF_Chunk *chunk = reinterpret_cast<IFF_Chunk *>(cmykMap);

    IFF_Long registers = chunkSize / 4;
    for (IFF_Long i = 0; i < registers; i++) {
        ILBM_CMYKRegister *cmykRegister = ILBM_addCMYKRegisterInCMYKMap(cmykMap);
        if (cmykRegister == nullptr ||
            !IFF_readUByte(file, &cmykRegister->cyan, cmykMap->chunkId, "cmykRegister.cyan") ||
            !IFF_readUByte(file, &cmykRegister->magenta, cmykMap->chunkId,
                           "cmykRegister.magenta") ||
            !IFF_readUByte(file, &cmykRegister->yellow, cmykMap->chunkId, "cmykRegister.yellow") ||
            !IFF_readUByte(file, &cmykRegister->black, cmykMap->chunkId, "cmykRegister.black")) {
            ILBM_freeCMYKMap(chunk);
            free(cmykMap);
            return nullptr;
        }
    }
    if (!ilbm::finishChunkBody(file, ILBM_ID_CMYK, cmykMap->chunkSize, chunkSize)) {
        ILBM_freeCMYKMap(chunk);
        free(cmykMap);
        return nullptr;
    }
    cmykMap->chunkSize = chunkSize;
    return chunk;
}

int ILBM_writeCMYKMap(FILE *file, const IFF_Chunk *chunk) {
    const ILBM_CMYKMap *cmykMap = reinterpret_cast<const ILBM_CMYKMap *>(chunk);
    for (unsigned int i = 0; i < cmykMap->cmykRegisterLength; i++) {
        const ILBM_CMYKRegister *cmykRegister = &cmykMap->cmykRegister[i];
        if (!IFF_writeUByte(file, cmykRegister->cyan, cmykMap->chunkId, "cmykRegister.cyan") ||
            !IFF_writeUByte(file, cmykRegister->magenta, cmykMap->chunkId,
                            "cmykRegister.magenta") ||
            !IFF_writeUByte(file, cmykRegister->yellow, cmykMap->chunkId, "cmykRegister.yellow") ||
            !IFF_writeUByte(file, cmykRegister->black, cmykMap->chunkId, "cmykRegister.black")) {
            return 0;
        }
    }
    return ilbm::finishChunkWrite(file, ILBM_ID_CMYK,
                                  static_cast<IFF_Long>(cmykMap->cmykRegisterLength * 4),
                                  cmykMap->chunkSize);
}

int ILBM_checkCMYKMap(const IFF_Chunk *) {
    return 1;
}

long long ilbm::fieldsSizeOfCMYKMap(const IFF_Chunk *chunk) {
    return 4LL * reinterpret_cast<const ILBM_CMYKMap *>(chunk)->cmykRegisterLength;
}

void ILBM_freeCMYKMap(IFF_Chunk *chunk) {
    ILBM_CMYKMap *cmykMap = reinterpret_cast<ILBM_CMYKMap *>(chunk);
    free(cmykMap->cmykRegister);
    cmykMap->cmykRegister = nullptr;
    cmykMap->cmykRegisterLength = 0;
}

void ILBM_printCMYKMap(const IFF_Chunk *chunk, const unsigned int indentLevel) {
    const ILBM_CMYKMap *cmykMap = reinterpret_cast<const ILBM_CMYKMap *>(chunk);
    for (unsigned int i = 0; i < cmykMap->cmykRegisterLength; i++) {
        const ILBM_CMYKRegister *r = &cmykMap->cmykRegister[i];
        IFF_printIndent(stdout, indentLevel,
                        "{ cyan = %x, magenta = %x, yellow = %x, black = %x };\n",
                        static_cast<unsigned int>(r->cyan), static_cast<unsigned int>(r->magenta),
                        static_cast<unsigned int>(r->yellow), static_cast<unsigned int>(r->black));
    }
}

int ILBM_compareCMYKMap(const IFF_Chunk *chunk1, const IFF_Chunk *chunk2) {
    const ILBM_CMYKMap *a = reinterpret_cast<const ILBM_CMYKMap *>(chunk1);
    const ILBM_CMYKMap *b = reinterpret_cast<const ILBM_CMYKMap *>(chunk2);
    if (a->cmykRegisterLength != b->cmykRegisterLength) {
        return 0;
    }
    for (unsigned int i = 0; i < a->cmykRegisterLength; i++) {
        const ILBM_CMYKRegister &x = a->cmykRegister[i];
        const ILBM_CMYKRegister &y = b->cmykRegister[i];
        if (x.cyan != y.cyan || x.magenta != y.magenta || x.yellow != y.yellow ||
            x.black != y.black) {
            return 0;
        }
    }
    return 1;
}
