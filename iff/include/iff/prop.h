#ifndef IFF_PROP_H
#define IFF_PROP_H

#include "iff/group.h"

#include <stdio.h>

#define IFF_ID_PROP "PROP"

typedef IFF_Group IFF_Prop;

IFF_Prop *IFF_createProp(const char *formType);
int IFF_addToProp(IFF_Prop *prop, IFF_Chunk *chunk);
IFF_Prop *IFF_readProp(FILE *file, const IFF_Long chunkSize, const IFF_Extension *extension,
                       const unsigned int extensionLength);
int IFF_writeProp(FILE *file, const IFF_Prop *prop, const IFF_Extension *extension,
                  const unsigned int extensionLength);
int IFF_checkProp(const IFF_Prop *prop, const IFF_Extension *extension,
                  const unsigned int extensionLength);
void IFF_freeProp(IFF_Prop *prop, const IFF_Extension *extension,
                  const unsigned int extensionLength);
void IFF_printProp(const IFF_Prop *prop, const unsigned int indentLevel,
                   const IFF_Extension *extension, const unsigned int extensionLength);
int IFF_compareProp(const IFF_Prop *prop1, const IFF_Prop *prop2, const IFF_Extension *extension,
                    const unsigned int extensionLength);
void IFF_updatePropChunkSizes(IFF_Prop *prop);

#endif
