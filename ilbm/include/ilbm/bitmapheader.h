#ifndef ILBM_BITMAPHEADER_H
#define ILBM_BITMAPHEADER_H

#include <iff/chunk.h>
#include <iff/io.h>
#include <stdio.h>

#define ILBM_ID_BMHD "BMHD"

/* Both are stored as unsigned ints, so that any byte read from a file is a valid value. */
typedef enum : unsigned int {
    ILBM_MSK_NONE = 0,
    ILBM_MSK_HAS_MASK = 1,
    ILBM_MSK_HAS_TRANSPARENT_COLOR = 2,
    ILBM_MSK_LASSO = 3
} ILBM_Masking;

typedef enum : unsigned int { ILBM_CMP_NONE = 0, ILBM_CMP_BYTE_RUN = 1 } ILBM_Compression;

typedef struct {
    IFF_Group *parent;
    IFF_ID chunkId;
    IFF_Long chunkSize;

    IFF_UWord w;
    IFF_UWord h;
    IFF_Word x;
    IFF_Word y;
    IFF_UByte nPlanes;
    ILBM_Masking masking;
    ILBM_Compression compression;
    IFF_UByte pad1;
    IFF_UWord transparentColor;
    IFF_UByte xAspect;
    IFF_UByte yAspect;
    IFF_Word pageWidth;
    IFF_Word pageHeight;
} ILBM_BitMapHeader;

ILBM_BitMapHeader *ILBM_createBitMapHeader(void);
IFF_Chunk *ILBM_readBitMapHeader(FILE *file, const IFF_Long chunkSize);
int ILBM_writeBitMapHeader(FILE *file, const IFF_Chunk *chunk);
int ILBM_checkBitMapHeader(const IFF_Chunk *chunk);
void ILBM_freeBitMapHeader(IFF_Chunk *chunk);
void ILBM_printBitMapHeader(const IFF_Chunk *chunk, const unsigned int indentLevel);
int ILBM_compareBitMapHeader(const IFF_Chunk *chunk1, const IFF_Chunk *chunk2);

/* 2 to the power nPlanes for 1 to 8 planes; 0 for any other depth. */
unsigned int ILBM_calculateNumOfColors(const ILBM_BitMapHeader *bitMapHeader);

#endif
