#ifndef ILBM_CAMG_H
#define ILBM_CAMG_H

#include <iff/chunk.h>
#include <iff/io.h>
#include <stdio.h>

#define ILBM_ID_CAMG "CAMG"

typedef struct {
    IFF_Group *parent;
    IFF_ID chunkId;
    IFF_Long chunkSize;

    IFF_Long viewportMode;
} ILBM_Viewport;

ILBM_Viewport *ILBM_createViewport(void);
IFF_Chunk *ILBM_readViewport(FILE *file, const IFF_Long chunkSize);
int ILBM_writeViewport(FILE *file, const IFF_Chunk *chunk);
int ILBM_checkViewport(const IFF_Chunk *chunk);
void ILBM_freeViewport(IFF_Chunk *chunk);
void ILBM_printViewport(const IFF_Chunk *chunk, const unsigned int indentLevel);
int ILBM_compareViewport(const IFF_Chunk *chunk1, const IFF_Chunk *chunk2);

#endif
