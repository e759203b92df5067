#ifndef IFF_IFF_H
#define IFF_IFF_H

#include "iff/cat.h"
#include "iff/chunk.h"
#include "iff/error.h"
#include "iff/extension.h"
#include "iff/form.h"
#include "iff/group.h"
#include "iff/id.h"
#include "iff/io.h"
#include "iff/list.h"
#include "iff/prop.h"
#include "iff/rawchunk.h"
#include "iff/util.h"

#include <stdio.h>

/* Whole files. Every entry point takes the extension table (its first row and its number of
   rows); the caller owns a tree that was read until it passes it to IFF_free. */
IFF_Chunk *IFF_read(const char *filename, const IFF_Extension *extension,
                    const unsigned int extensionLength);
IFF_Chunk *IFF_readFd(FILE *file, const IFF_Extension *extension,
                      const unsigned int extensionLength);
int IFF_write(const char *filename, const IFF_Chunk *chunk, const IFF_Extension *extension,
              const unsigned int extensionLength);
int IFF_writeFd(FILE *file, const IFF_Chunk *chunk, const IFF_Extension *extension,
                const unsigned int extensionLength);
int IFF_check(const IFF_Chunk *chunk, const IFF_Extension *extension,
              const unsigned int extensionLength);
void IFF_free(IFF_Chunk *chunk, const IFF_Extension *extension, const unsigned int extensionLength);
void IFF_print(const IFF_Chunk *chunk, const unsigned int indentLevel,
               const IFF_Extension *extension, const unsigned int extensionLength);
int IFF_compare(const IFF_Chunk *chunk1, const IFF_Chunk *chunk2, const IFF_Extension *extension,
                const unsigned int extensionLength);

/* Form searches, depth first in file order. A FORM of a wanted type is found and not searched
   further; a LIST's PROPs are not searched. The result is a new array (release it with free) of
   pointers into the tree, or null with a count of 0 when nothing is found. */
IFF_Form **IFF_searchForms(IFF_Chunk *chunk, const char *formType, unsigned int *formsLength);
IFF_Form **IFF_searchFormsFromArray(IFF_Chunk *chunk, const char *const *formTypes,
                                    const unsigned int formTypesLength, unsigned int *formsLength);
IFF_Form **IFF_searchFormsInForm(IFF_Form *form, const char *const *formTypes,
                                 const unsigned int formTypesLength, unsigned int *formsLength);
IFF_Form **IFF_searchFormsInCAT(IFF_CAT *cat, const char *const *formTypes,
                                const unsigned int formTypesLength, unsigned int *formsLength);
IFF_Form **IFF_searchFormsInList(IFF_List *list, const char *const *formTypes,
                                 const unsigned int formTypesLength, unsigned int *formsLength);
IFF_Form **IFF_searchFormsInGroup(IFF_Group *group, const char *const *formTypes,
                                  const unsigned int formTypesLength, unsigned int *formsLength);

/* Grows target (a malloc'd array of *targetLength pointers, or null) by the pointers of source
   and adds sourceLength to *targetLength. Null when memory runs out: target and *targetLength
   are then unchanged and still the caller's. source stays the caller's. */
IFF_Form **IFF_mergeFormArray(IFF_Form **target, unsigned int *targetLength, IFF_Form **source,
                              const unsigned int sourceLength);

/* Chunk queries. The chunks found belong to the tree. */
IFF_Chunk *IFF_getDataChunkFromForm(const IFF_Form *form, const char *chunkId);
/* The FORM's own chunk, else the property of that ID from the PROP of the nearest enclosing LIST
   that has one for the FORM's type. */
IFF_Chunk *IFF_getChunkFromForm(const IFF_Form *form, const char *chunkId);
/* A new array (release it with free) of every sub-chunk with that ID; null and 0 when none. */
IFF_Chunk **IFF_getChunksFromForm(const IFF_Form *form, const char *chunkId,
                                  unsigned int *chunksLength);
IFF_Prop *IFF_getPropFromList(const IFF_List *list, const char *formType);
IFF_Chunk *IFF_getChunkFromProp(const IFF_Prop *prop, const char *chunkId);

#endif
