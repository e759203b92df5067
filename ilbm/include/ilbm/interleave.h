#ifndef ILBM_INTERLEAVE_H
#define ILBM_INTERLEAVE_H

/*
 * Bitplane layouts: an ILBM BODY holds, for each picture row, one row of each plane in plane
 * order; an ACBM ABIT holds each plane whole, one after another. A picture with a mask
 * (masking 1) has its mask as one more plane after the others, in both layouts; the image
 * operations take and give ILBM_calculateBodyPlanes planes.
 */

#include <stddef.h>

struct ILBM_Image;

/* Copies the plane rows of an interleaved body to one destination per plane. */
void ILBM_deinterleaveRows(const unsigned char *body, unsigned int nPlanes, size_t rowSize,
                           unsigned int height, unsigned char *const *planes);

/* Copies one source per plane into an interleaved body. */
void ILBM_interleaveRows(const unsigned char *const *planes, unsigned int nPlanes, size_t rowSize,
                         unsigned int height, unsigned char *body);

/* Copies the BODY's plane rows to one destination pointer per plane. Gives 1, or 0 when the
   BODY does not hold the picture's rows. */
int ILBM_deinterleaveToBitplaneMemory(const struct ILBM_Image *image,
                                      unsigned char **bitplanePointers);

/* A new buffer of the planes one after another, made from the BODY, or null. */
unsigned char *ILBM_deinterleave(const struct ILBM_Image *image);

/* A new interleaved buffer from one source pointer per plane, or null. */
unsigned char *ILBM_interleaveFromBitplaneMemory(const struct ILBM_Image *image,
                                                 unsigned char **bitplanePointers);

/* A new interleaved buffer from planes one after another, or null. */
unsigned char *ILBM_interleave(const struct ILBM_Image *image, unsigned char *bitplanes);

int ILBM_convertILBMToACBM(struct ILBM_Image *image);
int ILBM_convertACBMToILBM(struct ILBM_Image *image);

#endif
