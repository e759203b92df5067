#ifndef ILBM_CCRT_H
#define ILBM_CCRT_H

#include <iff/chunk.h>
#include <iff/io.h>
#include <stdio.h>

#define ILBM_ID_CCRT "CCRT"

typedef struct {
    IFF_Group *parent;
    IFF_ID chunkId;
    IFF_Long chunkSize;

    IFF_Word direction;
    IFF_UByte start;
    IFF_UByte end;
    IFF_Long seconds;
    IFF_Long microSeconds;
    IFF_Word pad;
} ILBM_CycleInfo;

ILBM_CycleInfo *ILBM_createCycleInfo(void);
IFF_Chunk *ILBM_readCycleInfo(FILE *file, const IFF_Long chunkSize);
int ILBM_writeCycleInfo(FILE *file, const IFF_Chunk *chunk);
int ILBM_checkCycleInfo(const IFF_Chunk *chunk);
void ILBM_freeCycleInfo(IFF_Chunk *chunk);
void ILBM_printCycleInfo(const IFF_Chunk *chunk, const unsigned int indentLevel);
int ILBM_compareCycleInfo(const IFF_Chunk *chunk1, const IFF_Chunk *chunk2);

#endif
