#ifndef ILBM_ILBMIMAGE_H
#define ILBM_ILBMIMAGE_H

/* A picture view over one ILBM, ACBM or PBM form of a chunk tree. */

#include <iff/chunk.h>
#include <iff/form.h>
#include <iff/rawchunk.h>

#include "ilbm/ilbm.h"

typedef struct ILBM_Image {
    IFF_ID formType;
    ILBM_BitMapHeader *bitMapHeader;
    ILBM_ColorMap *colorMap;
    ILBM_CMYKMap *cmykMap;
    ILBM_ColorNames *colorNames;
    ILBM_DPIHeader *dpiHeader;
    ILBM_Grab *grab;
    ILBM_DestMerge *destMerge;
    ILBM_Sprite *sprite;
    ILBM_Viewport *viewport;
    unsigned int colorRangeLength;
    ILBM_ColorRange **colorRange;
    unsigned int drangeLength;
    ILBM_DRange **drange;
    unsigned int cycleInfoLength;
    ILBM_CycleInfo **cycleInfo;
    IFF_RawChunk *body;
    IFF_RawChunk *bitplanes;
    /* The FORM the picture was extracted from, whose properties may come from the PROPs of
       enclosing LISTs; null for an image made in memory. */
    IFF_Form *form;
} ILBM_Image;

ILBM_Image *ILBM_createImage(const char *formType);
ILBM_Image **ILBM_extractImages(IFF_Chunk *chunk, unsigned int *imagesLength);

/*
 * A new FORM of the image's form type holding its chunks, or null after a message. A chunk that
 * belongs to no group yet (one made for an image built in memory) moves into the new FORM, which
 * owns it from then on. A chunk that already belongs to a group (every chunk of an image that
 * ILBM_extractImages gave) is copied, so that the tree it belongs to stays whole. The image then
 * describes the new FORM: its form and its chunk pointers are those of the FORM.
 */
IFF_Form *ILBM_convertImageToForm(ILBM_Image *image);
void ILBM_freeImage(ILBM_Image *image);
void ILBM_freeImages(ILBM_Image **images, const unsigned int imagesLength);
int ILBM_checkImage(const ILBM_Image *image);
int ILBM_checkImages(const IFF_Chunk *chunk, ILBM_Image **images, const unsigned int imagesLength);

/* Each gives 1, or 0 when memory runs out. */
int ILBM_addColorRangeToImage(ILBM_Image *image, ILBM_ColorRange *colorRange);
int ILBM_addDRangeToImage(ILBM_Image *image, ILBM_DRange *drange);
int ILBM_addCycleInfoToImage(ILBM_Image *image, ILBM_CycleInfo *cycleInfo);

int ILBM_imageIsILBM(const ILBM_Image *image);
int ILBM_imageIsACBM(const ILBM_Image *image);
int ILBM_imageIsPBM(const ILBM_Image *image);

/* Bytes per row of one plane: the width rounded up to whole 16-pixel words. */
unsigned int ILBM_calculateRowSize(const ILBM_Image *image);

/* A new colour map of grey levels from black to white, one per colour of the picture. */
ILBM_ColorMap *ILBM_generateGrayscaleColorMap(const ILBM_Image *image);

/*
 * Rows per picture row in the BODY: nPlanes, plus one for the mask plane of a picture with
 * masking 1 (one row of chunky pixels for a PBM). Gives 0 after a message when the picture
 * cannot be laid out: no BMHD, no pixels, no planes or more than 32.
 */
unsigned int ILBM_calculateBodyPlanes(const ILBM_Image *image);

#endif
