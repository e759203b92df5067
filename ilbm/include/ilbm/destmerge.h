#ifndef ILBM_DEST_H
#define ILBM_DEST_H

#include <iff/chunk.h>
#include <iff/io.h>
#include <stdio.h>

#define ILBM_ID_DEST "DEST"

typedef struct {
    IFF_Group *parent;
    IFF_ID chunkId;
    IFF_Long chunkSize;

    IFF_UByte depth;
    IFF_UByte pad1;
    IFF_UWord planePick;
    IFF_UWord planeOnOff;
    IFF_UWord planeMask;
} ILBM_DestMerge;

ILBM_DestMerge *ILBM_createDestMerge(void);
IFF_Chunk *ILBM_readDestMerge(FILE *file, const IFF_Long chunkSize);
int ILBM_writeDestMerge(FILE *file, const IFF_Chunk *chunk);
int ILBM_checkDestMerge(const IFF_Chunk *chunk);
void ILBM_freeDestMerge(IFF_Chunk *chunk);
void ILBM_printDestMerge(const IFF_Chunk *chunk, const unsigned int indentLevel);
int ILBM_compareDestMerge(const IFF_Chunk *chunk1, const IFF_Chunk *chunk2);

#endif
