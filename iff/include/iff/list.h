#ifndef IFF_LIST_H
#define IFF_LIST_H

#include "iff/group.h"
#include "iff/prop.h"

#include <stdio.h>

#define IFF_ID_LIST "LIST"

/* A group whose PROPs are kept apart from its other sub-chunks. It begins with the fields of
   IFF_Group and may be used as one. */
struct IFF_List {
    IFF_Group *parent;
    IFF_ID chunkId;
    IFF_Long chunkSize;

    IFF_ID groupType; /* the contents type */
    unsigned int chunkLength;
    IFF_Chunk **chunk;

    unsigned int propLength;
    IFF_Prop **prop; /* owned by the list */
};

IFF_List *IFF_createList(const char *contentsType);
int IFF_addToList(IFF_List *list, IFF_Chunk *chunk);
int IFF_addPropToList(IFF_List *list, IFF_Prop *prop);
IFF_List *IFF_readList(FILE *file, const IFF_Long chunkSize, const IFF_Extension *extension,
                       const unsigned int extensionLength);
/* Writes the PROPs first, then the other sub-chunks. */
int IFF_writeList(FILE *file, const IFF_List *list, const IFF_Extension *extension,
                  const unsigned int extensionLength);
int IFF_checkList(const IFF_List *list, const IFF_Extension *extension,
                  const unsigned int extensionLength);
void IFF_freeList(IFF_List *list, const IFF_Extension *extension,
                  const unsigned int extensionLength);
void IFF_printList(const IFF_List *list, const unsigned int indentLevel,
                   const IFF_Extension *extension, const unsigned int extensionLength);
int IFF_compareList(const IFF_List *list1, const IFF_List *list2, const IFF_Extension *extension,
                    const unsigned int extensionLength);
void IFF_updateListChunkSizes(IFF_List *list);

#endif
