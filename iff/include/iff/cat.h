#ifndef IFF_CAT_H
#define IFF_CAT_H

#include "iff/group.h"

#include <stdio.h>

#define IFF_ID_CAT "CAT "

typedef IFF_Group IFF_CAT;

IFF_CAT *IFF_createCAT(const char *contentsType);
int IFF_addToCAT(IFF_CAT *cat, IFF_Chunk *chunk);
IFF_CAT *IFF_readCAT(FILE *file, const IFF_Long chunkSize, const IFF_Extension *extension,
                     const unsigned int extensionLength);
int IFF_writeCAT(FILE *file, const IFF_CAT *cat, const IFF_Extension *extension,
                 const unsigned int extensionLength);
/* The rule for the sub-chunks of a CAT or LIST: FORM, LIST or CAT groups whose type matches the
   contents type (any type when it is "JJJJ"). */
int IFF_checkCATSubChunk(const IFF_Group *group, const IFF_Chunk *subChunk);
int IFF_checkCAT(const IFF_CAT *cat, const IFF_Extension *extension,
                 const unsigned int extensionLength);
void IFF_freeCAT(IFF_CAT *cat, const IFF_Extension *extension, const unsigned int extensionLength);
void IFF_printCAT(const IFF_CAT *cat, const unsigned int indentLevel,
                  const IFF_Extension *extension, const unsigned int extensionLength);
int IFF_compareCAT(const IFF_CAT *cat1, const IFF_CAT *cat2, const IFF_Extension *extension,
                   const unsigned int extensionLength);
void IFF_updateCATChunkSizes(IFF_CAT *cat);

#endif
