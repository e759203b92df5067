#ifndef ILBM_SRC_TREE_H
#define ILBM_SRC_TREE_H

/* Work on the chunk trees of pictures that the image operations share. */

#include "ilbm/ilbmimage.h"

#include <iff/chunk.h>
#include <iff/group.h>
#include <iff/list.h>

namespace ilbm {

bool isId(const IFF_Chunk *chunk, const char *chunkId);
bool isGroup(const IFF_Chunk *chunk);

/* A copy of chunk and everything it holds, belonging to no group, as the chunk types of the
   picture forms read it under formType (null for a group or outside a form); null after a
   message. */
IFF_Chunk *copyChunk(const IFF_Chunk *chunk, const char *formType);

/* Points the image's BMHD, CMAP, BODY and other single chunks at what its form holds or inherits
   from the PROPs of enclosing LISTs. */
void lookUpChunks(ILBM_Image *image);

/* Takes the PROP at index out of the LIST and releases it; the sizes above follow. */
void removeProp(IFF_List *list, unsigned int index);

/* After the form's type changed from one type to another: every CAT and LIST above it whose
   contents type was the old type (or any type, JJJJ) takes the type that all its sub-groups now
   share, or JJJJ when they differ, so that the tree still obeys the rule that a CAT or LIST holds
   groups of its contents type. */
void retypeAncestors(IFF_Form *form, const char *oldType);

} // namespace ilbm

#endif
