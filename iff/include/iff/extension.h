#ifndef IFF_EXTENSION_H
#define IFF_EXTENSION_H

#include "iff/chunk.h"

#include <stdio.h>

/* One row of a form's chunk table: the operations of one chunk type. */
struct IFF_FormExtension {
    const char *chunkId;
    IFF_Chunk *(*readChunk)(FILE *file, const IFF_Long chunkSize);
    int (*writeChunk)(FILE *file, const IFF_Chunk *chunk);
    int (*checkChunk)(const IFF_Chunk *chunk);
    void (*freeChunk)(IFF_Chunk *chunk); /* releases what the record owns, not the record */
    void (*printChunk)(const IFF_Chunk *chunk, const unsigned int indentLevel);
    int (*compareChunk)(const IFF_Chunk *chunk1, const IFF_Chunk *chunk2);
};

/* One row of the top table: a form type and its chunk table. Both tables must be sorted by their
   keys in ascending IFF_compareId order, with unique keys: they are searched by binary search. */
struct IFF_Extension {
    const char *formType;
    unsigned int formExtensionsLength;
    const IFF_FormExtension *formExtensions;
};

/* The row for chunkId in the chunk table of formType, or null (always null for a null form
   type). */
const IFF_FormExtension *IFF_findFormExtension(const char *formType, const char *chunkId,
                                               const IFF_Extension *extension,
                                               const unsigned int extensionLength);

#endif
