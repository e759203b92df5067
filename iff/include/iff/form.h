#ifndef IFF_FORM_H
#define IFF_FORM_H

#include "iff/group.h"

#include <stdio.h>

#define IFF_ID_FORM "FORM"

typedef IFF_Group IFF_Form;

IFF_Form *IFF_createForm(const char *formType);
int IFF_addToForm(IFF_Form *form, IFF_Chunk *chunk);
IFF_Form *IFF_readForm(FILE *file, const IFF_Long chunkSize, const IFF_Extension *extension,
                       const unsigned int extensionLength);
int IFF_writeForm(FILE *file, const IFF_Form *form, const IFF_Extension *extension,
                  const unsigned int extensionLength);
/* Form types: valid IDs without lowercase letters or full stops, and none of the reserved IDs. */
int IFF_checkFormType(const IFF_ID formType);
int IFF_checkForm(const IFF_Form *form, const IFF_Extension *extension,
                  const unsigned int extensionLength);
void IFF_freeForm(IFF_Form *form, const IFF_Extension *extension,
                  const unsigned int extensionLength);
void IFF_printForm(const IFF_Form *form, const unsigned int indentLevel,
                   const IFF_Extension *extension, const unsigned int extensionLength);
int IFF_compareForm(const IFF_Form *form1, const IFF_Form *form2, const IFF_Extension *extension,
                    const unsigned int extensionLength);
void IFF_updateFormChunkSizes(IFF_Form *form);

#endif
