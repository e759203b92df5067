#ifndef ILBM_CMYK_H
#define ILBM_CMYK_H

#include <iff/chunk.h>
#include <iff/io.h>
#include <stdio.h>

#define ILBM_ID_CMYK "CMYK"

typedef struct {
    IFF_UByte cyan;
    IFF_UByte magenta;
    IFF_UByte yellow;
    IFF_UByte black;
} ILBM_CMYKRegister;

typedef struct {
    IFF_Group *parent;
    IFF_ID chunkId;
    IFF_Long chunkSize;

    unsigned int cmykRegisterLength;
    ILBM_CMYKRegister *cmykRegister;
} ILBM_CMYKMap;

ILBM_CMYKMap *ILBM_createCMYKMap(void);
IFF_Chunk *ILBM_readCMYKMap(FILE *file, const IFF_Long chunkSize);
int ILBM_writeCMYKMap(FILE *file, const IFF_Chunk *chunk);
int ILBM_checkCMYKMap(const IFF_Chunk *chunk);
void ILBM_freeCMYKMap(IFF_Chunk *chunk);
void ILBM_printCMYKMap(const IFF_Chunk *chunk, const unsigned int indentLevel);
int ILBM_compareCMYKMap(const IFF_Chunk *chunk1, const IFF_Chunk *chunk2);

/* Appends a register (to be filled by the caller), adding its 4 bytes to chunkSize; null when
   memory runs out. */
ILBM_CMYKRegister *ILBM_addCMYKRegisterInCMYKMap(ILBM_CMYKMap *cmykMap);

#endif
