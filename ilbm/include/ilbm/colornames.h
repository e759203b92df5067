#ifndef ILBM_CNAM_H
#define ILBM_CNAM_H

#include <iff/chunk.h>
#include <iff/io.h>
#include <stdio.h>

#define ILBM_ID_CNAM "CNAM"

typedef struct {
    IFF_Group *parent;
    IFF_ID chunkId;
    IFF_Long chunkSize;

    IFF_UWord startingColor;
    IFF_UWord endingColor;
    unsigned int colorNamesLength;
    char **colorNames;
} ILBM_ColorNames;

ILBM_ColorNames *ILBM_createColorNames(void);
IFF_Chunk *ILBM_readColorNames(FILE *file, const IFF_Long chunkSize);
int ILBM_writeColorNames(FILE *file, const IFF_Chunk *chunk);
int ILBM_checkColorNames(const IFF_Chunk *chunk);
void ILBM_freeColorNames(IFF_Chunk *chunk);
void ILBM_printColorNames(const IFF_Chunk *chunk, const unsigned int indentLevel);
int ILBM_compareColorNames(const IFF_Chunk *chunk1, const IFF_Chunk *chunk2);

/* Appends a copy of the text, adding its length and zero byte to chunkSize; 1, or 0 when
   memory runs out. */
int ILBM_addColorName(ILBM_ColorNames *colorNames, const char *colorName);

#endif
