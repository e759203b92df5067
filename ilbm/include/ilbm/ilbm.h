#ifndef ILBM_ILBM_H
#define ILBM_ILBM_H

/* The ILBM, ACBM and PBM picture formats as an extension of the IFF library. */

#include <iff/chunk.h>
#include <iff/extension.h>
#include <stdio.h>

#include "ilbm/bitmapheader.h"
#include "ilbm/cmykmap.h"
#include "ilbm/colormap.h"
#include "ilbm/colornames.h"
#include "ilbm/colorrange.h"
#include "ilbm/cycleinfo.h"
#include "ilbm/destmerge.h"
#include "ilbm/dpiheader.h"
#include "ilbm/drange.h"
#include "ilbm/grab.h"
#include "ilbm/sprite.h"
#include "ilbm/viewport.h"

#define ILBM_ID_ILBM "ILBM"
#define ILBM_ID_ACBM "ACBM"
#define ILBM_ID_PBM "PBM "
#define ILBM_ID_BODY "BODY"
#define ILBM_ID_ABIT "ABIT"

#define ILBM_NUM_OF_FORM_TYPES 3
#define ILBM_NUM_OF_EXTENSION_CHUNKS 12

/* The form types, sorted, each bound to ilbmFormExtension. */
extern const IFF_Extension extension[ILBM_NUM_OF_FORM_TYPES];
/* The chunk types of the three form types, sorted by chunk ID. */
extern const IFF_FormExtension ilbmFormExtension[ILBM_NUM_OF_EXTENSION_CHUNKS];

IFF_Chunk *ILBM_read(const char *filename);
IFF_Chunk *ILBM_readFd(FILE *file);
int ILBM_write(const char *filename, const IFF_Chunk *chunk);
int ILBM_writeFd(FILE *file, const IFF_Chunk *chunk);
int ILBM_check(const IFF_Chunk *chunk);
void ILBM_free(IFF_Chunk *chunk);
void ILBM_print(const IFF_Chunk *chunk);
int ILBM_compare(const IFF_Chunk *chunk1, const IFF_Chunk *chunk2);

/* Gives every picture chunk of the tree that is shorter than its fields (one that was read as far
   as it went, such as a colour range that says it has fades but ends before them) the size of its
   fields, so that it is written whole, with zeros for the fields it lacked; the sizes of the
   groups above follow. Gives the number of chunks completed. */
unsigned int ILBM_completeChunks(IFF_Chunk *chunk);

#endif
