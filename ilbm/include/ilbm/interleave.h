#ifndef ILBM_INTERLEAVE_H
#define ILBM_INTERLEAVE_H

/*
 * Bitplane layouts: an ILBM BODY holds, for each picture row, one row of each plane in plane
 * order; an ACBM ABIT holds each plane whole, one after another. A picture with a mask
 * (masking 1) has its mask as one more plane after the others, in both layouts.
 *
 * The image operations below take and give the picture's planes, one per bitplane: 'BMHD'.nPlanes
 * pointers or contiguous planes of rowSize x h bytes each, never the mask. De-interleaving leaves
 * the mask out; interleaving refuses a picture with a mask, which its planes cannot give. The
 * conversions between ILBM and ACBM carry the mask along.
 */

#include <stddef.h>

struct ILBM_Image;

/* Copies the plane rows of an interleaved body to one destination per plane. */
void ILBM_deinterleaveRows(const unsigned char *body, unsigned int nPlanes, size_t rowSize,
                           unsigned int height, unsigned char *const *planes);

/* Copies one source per plane into an interleaved body. */
void ILBM_interleaveRows(const unsigned char *const *planes, unsigned int nPlanes, size_t rowSize,
                         unsigned int height, unsigned char *body);

/* Copies the BODY's plane rows to one destination pointer per plane (nPlanes of them, each with
   room for rowSize x h bytes). Gives 1 (also when there is no BODY), or 0 after a message when
   the BODY is compressed or does not hold the picture's rows. */
int ILBM_deinterleaveToBitplaneMemory(const struct ILBM_Image *image,
                                      unsigned char **bitplanePointers);

/* A new buffer of the nPlanes planes one after another, made from the BODY, or null. */
unsigned char *ILBM_deinterleave(const struct ILBM_Image *image);

/* A new interleaved buffer from one source pointer per plane (nPlanes of them), or null after a
   message (a picture with a mask among them). */
unsigned char *ILBM_interleaveFromBitplaneMemory(const struct ILBM_Image *image,
                                                 unsigned char **bitplanePointers);

/* A new interleaved buffer from the nPlanes planes one after another, or null. */
unsigned char *ILBM_interleave(const struct ILBM_Image *image, unsigned char *bitplanes);

/*
 * Convert an uncompressed picture from one layout to the other, giving 1, or 0 (changing nothing)
 * for a picture of the other form type, a compressed one, or one whose planes do not fit. The
 * picture's FORM takes the new form type. Properties it inherits from a PROP of its old type move
 * to a PROP of the new type in the same LIST, made once and shared by every picture converted
 * there (a BODY held in the PROP is converted once); the old PROP goes when no picture of the old
 * type is left to use it. A CAT or LIST above whose contents type was the old type takes the type
 * its groups now share, or JJJJ when they differ.
 */
int ILBM_convertILBMToACBM(struct ILBM_Image *image);
int ILBM_convertACBMToILBM(struct ILBM_Image *image);

#endif
