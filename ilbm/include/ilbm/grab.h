#ifndef ILBM_GRAB_H
#define ILBM_GRAB_H

#include <iff/chunk.h>
#include <iff/io.h>
#include <stdio.h>

#define ILBM_ID_GRAB "GRAB"

typedef struct {
    IFF_Group *parent;
    IFF_ID chunkId;
    IFF_Long chunkSize;

    IFF_Word x;
    IFF_Word y;
} ILBM_Grab;

ILBM_Grab *ILBM_createGrab(void);
IFF_Chunk *ILBM_readGrab(FILE *file, const IFF_Long chunkSize);
int ILBM_writeGrab(FILE *file, const IFF_Chunk *chunk);
int ILBM_checkGrab(const IFF_Chunk *chunk);
void ILBM_freeGrab(IFF_Chunk *chunk);
void ILBM_printGrab(const IFF_Chunk *chunk, const unsigned int indentLevel);
int ILBM_compareGrab(const IFF_Chunk *chunk1, const IFF_Chunk *chunk2);

#endif
