#ifndef IFF_GROUP_H
#define IFF_GROUP_H

#include "iff/chunk.h"
#include "iff/extension.h"

#include <stdio.h>

/* The record shared by FORM, CAT, PROP and (as its first part) LIST. */
struct IFF_Group {
    IFF_Group *parent;
    IFF_ID chunkId;
    IFF_Long chunkSize;

    IFF_ID groupType;         /* form type (FORM, PROP) or contents type (CAT, LIST) */
    unsigned int chunkLength; /* number of sub-chunks */
    IFF_Chunk **chunk;        /* the sub-chunks in file order, owned by the group */
};

/* Checks of a group's type field and of one sub-chunk against its group's rule. */
typedef int (*IFF_GroupTypeCheck)(const IFF_ID groupType);
typedef int (*IFF_SubChunkCheck)(const IFF_Group *group, const IFF_Chunk *subChunk);

IFF_Group *IFF_createGroup(const char *chunkId, const char *groupType);
void IFF_initGroup(IFF_Group *group, const char *groupType);

/* Appends chunk, grows chunkSize and makes the group its parent. The sub-chunk array is managed
   by the add operations only. 0 when memory runs out: the chunk is then not added and stays the
   caller's. */
int IFF_addToGroup(IFF_Group *group, IFF_Chunk *chunk);

IFF_Group *IFF_readGroup(FILE *file, const char *chunkId, const IFF_Long chunkSize,
                         const char *groupTypeName, const int groupTypeIsFormType,
                         const IFF_Extension *extension, const unsigned int extensionLength);

int IFF_writeGroup(FILE *file, const IFF_Group *group, const char *formType,
                   const char *groupTypeName, const IFF_Extension *extension,
                   const unsigned int extensionLength);
int IFF_writeGroupSubChunks(FILE *file, const IFF_Group *group, const char *formType,
                            const IFF_Extension *extension, const unsigned int extensionLength);

int IFF_checkGroup(const IFF_Group *group, IFF_GroupTypeCheck groupTypeCheck,
                   IFF_SubChunkCheck subChunkCheck, const char *formType,
                   const IFF_Extension *extension, const unsigned int extensionLength);
/* The sum of IFF_incrementChunkSize over the sub-chunks, or -1 (all ones) when one fails. */
IFF_Long IFF_checkGroupSubChunks(const IFF_Group *group, IFF_SubChunkCheck subChunkCheck,
                                 const char *formType, const IFF_Extension *extension,
                                 const unsigned int extensionLength);
int IFF_checkGroupChunkSize(const IFF_Group *group, const IFF_Long chunkSize);

/* Releases the sub-chunks and the array, not the record itself. */
void IFF_freeGroup(IFF_Group *group, const char *formType, const IFF_Extension *extension,
                   const unsigned int extensionLength);

void IFF_printGroupType(const char *groupTypeName, const IFF_ID groupType,
                        const unsigned int indentLevel);
void IFF_printGroupSubChunks(const IFF_Group *group, const unsigned int indentLevel,
                             const char *formType, const IFF_Extension *extension,
                             const unsigned int extensionLength);
void IFF_printGroup(const IFF_Group *group, const unsigned int indentLevel, const char *formType,
                    const char *groupTypeName, const IFF_Extension *extension,
                    const unsigned int extensionLength);

int IFF_compareGroup(const IFF_Group *group1, const IFF_Group *group2, const char *formType,
                     const IFF_Extension *extension, const unsigned int extensionLength);

/* chunkSize becomes 4 plus what every sub-chunk occupies. */
void IFF_updateGroupChunkSizes(IFF_Group *group);

#endif
