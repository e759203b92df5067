#ifndef ILBM_DPI_H
#define ILBM_DPI_H

#include <iff/chunk.h>
#include <iff/io.h>
#include <stdio.h>

#define ILBM_ID_DPI "DPI "

typedef struct {
    IFF_Group *parent;
    IFF_ID chunkId;
    IFF_Long chunkSize;

    IFF_UWord dpiX;
    IFF_UWord dpiY;
} ILBM_DPIHeader;

ILBM_DPIHeader *ILBM_createDPIHeader(void);
IFF_Chunk *ILBM_readDPIHeader(FILE *file, const IFF_Long chunkSize);
int ILBM_writeDPIHeader(FILE *file, const IFF_Chunk *chunk);
int ILBM_checkDPIHeader(const IFF_Chunk *chunk);
void ILBM_freeDPIHeader(IFF_Chunk *chunk);
void ILBM_printDPIHeader(const IFF_Chunk *chunk, const unsigned int indentLevel);
int ILBM_compareDPIHeader(const IFF_Chunk *chunk1, const IFF_Chunk *chunk2);

#endif
