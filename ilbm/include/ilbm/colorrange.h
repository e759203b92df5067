#ifndef ILBM_CRNG_H
#define ILBM_CRNG_H

#include <iff/chunk.h>
#include <iff/io.h>
#include <stdio.h>

#define ILBM_ID_CRNG "CRNG"

typedef struct {
    IFF_Group *parent;
    IFF_ID chunkId;
    IFF_Long chunkSize;

    IFF_Word pad1;
    IFF_Word rate;
    IFF_Word active;
    IFF_UByte low;
    IFF_UByte high;
} ILBM_ColorRange;

ILBM_ColorRange *ILBM_createColorRange(void);
IFF_Chunk *ILBM_readColorRange(FILE *file, const IFF_Long chunkSize);
int ILBM_writeColorRange(FILE *file, const IFF_Chunk *chunk);
int ILBM_checkColorRange(const IFF_Chunk *chunk);
void ILBM_freeColorRange(IFF_Chunk *chunk);
void ILBM_printColorRange(const IFF_Chunk *chunk, const unsigned int indentLevel);
int ILBM_compareColorRange(const IFF_Chunk *chunk1, const IFF_Chunk *chunk2);

#endif
