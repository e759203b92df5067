#ifndef ILBM_SPRT_H
#define ILBM_SPRT_H

#include <iff/chunk.h>
#include <iff/io.h>
#include <stdio.h>

#define ILBM_ID_SPRT "SPRT"

typedef struct {
    IFF_Group *parent;
    IFF_ID chunkId;
    IFF_Long chunkSize;

    IFF_UWord spritePrecedence;
} ILBM_Sprite;

ILBM_Sprite *ILBM_createSprite(void);
IFF_Chunk *ILBM_readSprite(FILE *file, const IFF_Long chunkSize);
int ILBM_writeSprite(FILE *file, const IFF_Chunk *chunk);
int ILBM_checkSprite(const IFF_Chunk *chunk);
void ILBM_freeSprite(IFF_Chunk *chunk);
void ILBM_printSprite(const IFF_Chunk *chunk, const unsigned int indentLevel);
int ILBM_compareSprite(const IFF_Chunk *chunk1, const IFF_Chunk *chunk2);

#endif
