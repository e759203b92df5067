#ifndef ILBM_BYTERUN_H
#define ILBM_BYTERUN_H

/* ByteRun1, the run-length compression of ILBM picture bodies. */

#include <stddef.h>

struct ILBM_Image;

/* Outcome of decoding a ByteRun1 stream into a buffer of known size. */
typedef struct {
    size_t written;                /* bytes written to the destination */
    size_t consumed;               /* packed bytes read */
    unsigned long unknownControls; /* control bytes of -128 that were skipped */
    int truncated;                 /* the packed data ended before the destination was full */
    int overrun;                   /* a run or literal would have gone past the destination */
} ILBM_ByteRunResult;

/* Bytes one packed row of rowSize bytes can take at most. */
size_t ILBM_byteRunRowWorstCase(size_t rowSize);

/*
 * Packs one row by itself into out, which holds capacity bytes. Gives the packed length,
 * or 0 when the output would not fit (never for a capacity of ILBM_byteRunRowWorstCase).
 */
size_t ILBM_packByteRunRow(const unsigned char *row, size_t rowSize, unsigned char *out,
                           size_t capacity);

/*
 * Decodes packed bytes into dst, writing at most dstSize bytes and reading at most
 * packedSize bytes. Decoding stops as soon as dst is full. Reports nothing itself.
 */
ILBM_ByteRunResult ILBM_unpackByteRunData(const unsigned char *packed, size_t packedSize,
                                          unsigned char *dst, size_t dstSize);

/*
 * Decompresses the image's BODY in place when its BMHD says ByteRun1. Gives 1 when the
 * body is unpacked or there was nothing to do, 0 when the body was left as it was because
 * it could not be decoded (data too short, geometry unusable, memory).
 */
int ILBM_unpackByteRun(struct ILBM_Image *image);

/*
 * Compresses the image's uncompressed BODY in place, row by row. Gives 1 when packed or
 * when there was nothing to do, 0 when the body was left as it was.
 */
int ILBM_packByteRun(struct ILBM_Image *image);

#endif
