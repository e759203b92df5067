#ifndef ILBM_DRNG_H
#define ILBM_DRNG_H

#include <iff/chunk.h>
#include <iff/io.h>
#include <stdio.h>

#define ILBM_ID_DRNG "DRNG"

#define ILBM_RNG_ACTIVE 1
#define ILBM_RNG_DP_RESERVED 4
#define ILBM_RNG_FADE 8

typedef struct {
    IFF_UByte cell;
    IFF_UByte r, g, b;
} ILBM_DColor;

typedef struct {
    IFF_UByte cell;
    IFF_UByte index;
} ILBM_DIndex;

typedef struct {
    IFF_UByte cell;
    IFF_UByte fade;
} ILBM_DFade;

typedef struct {
    IFF_Group *parent;
    IFF_ID chunkId;
    IFF_Long chunkSize;

    IFF_UByte min;
    IFF_UByte max;
    IFF_Word rate;
    IFF_Word flags;
    IFF_UByte ntrue;
    IFF_UByte nregs;
    ILBM_DColor *dcolor;
    ILBM_DIndex *dindex;
    IFF_UByte nfades;
    IFF_UByte pad;
    ILBM_DFade *dfade;
} ILBM_DRange;

ILBM_DRange *ILBM_createDRange(const IFF_Word flags);
IFF_Chunk *ILBM_readDRange(FILE *file, const IFF_Long chunkSize);
int ILBM_writeDRange(FILE *file, const IFF_Chunk *chunk);
int ILBM_checkDRange(const IFF_Chunk *chunk);
void ILBM_freeDRange(IFF_Chunk *chunk);
void ILBM_printDRange(const IFF_Chunk *chunk, const unsigned int indentLevel);
int ILBM_compareDRange(const IFF_Chunk *chunk1, const IFF_Chunk *chunk2);

/* Each appends a cell (to be filled by the caller), counts it and adds its size to chunkSize;
   null when memory runs out or the 255 cells a count can hold are used up. */
ILBM_DColor *ILBM_addDColorToDRange(ILBM_DRange *drange);
ILBM_DIndex *ILBM_addDIndexToDRange(ILBM_DRange *drange);
ILBM_DFade *ILBM_addDFadeToDRange(ILBM_DRange *drange);

#endif
