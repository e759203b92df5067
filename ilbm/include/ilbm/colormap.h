#ifndef ILBM_CMAP_H
#define ILBM_CMAP_H

#include <iff/chunk.h>
#include <iff/io.h>
#include <stdio.h>

#define ILBM_ID_CMAP "CMAP"

typedef struct {
    IFF_UByte red;
    IFF_UByte green;
    IFF_UByte blue;
} ILBM_ColorRegister;

typedef struct {
    IFF_Group *parent;
    IFF_ID chunkId;
    IFF_Long chunkSize;

    unsigned int colorRegisterLength;
    ILBM_ColorRegister *colorRegister;
} ILBM_ColorMap;

ILBM_ColorMap *ILBM_createColorMap(void);
IFF_Chunk *ILBM_readColorMap(FILE *file, const IFF_Long chunkSize);
int ILBM_writeColorMap(FILE *file, const IFF_Chunk *chunk);
int ILBM_checkColorMap(const IFF_Chunk *chunk);
void ILBM_freeColorMap(IFF_Chunk *chunk);
void ILBM_printColorMap(const IFF_Chunk *chunk, const unsigned int indentLevel);
int ILBM_compareColorMap(const IFF_Chunk *chunk1, const IFF_Chunk *chunk2);

/* Appends a register (to be filled by the caller), adding its 3 bytes to chunkSize; null when
   memory runs out. */
ILBM_ColorRegister *ILBM_addColorRegisterInColorMap(ILBM_ColorMap *colorMap);

#endif
