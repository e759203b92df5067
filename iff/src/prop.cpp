#include "iff/prop.h"

#include "iff/cat.h"
#include "iff/error.h"
#include "iff/form.h"
#include "iff/id.h"
#include "iff/list.h"

#include <stdio.h>

namespace {

#define IFF_GROUPTYPE_PROP "formType"

int checkPropSubChunk(const IFF_Group *, const IFF_Chunk *subChunk) {
    if (IFF_compareId(subChunk->chunkId, IFF_ID_FORM) == 0 ||
        IFF_compareId(subChunk->chunkId, IFF_ID_LIST) == 0 ||
        IFF_compareId(subChunk->chunkId, IFF_ID_CAT) == 0 ||
        IFF_compareId(subChunk->chunkId, IFF_ID_PROP) == 0) {
        IFF_error("ERROR: Element with chunk Id: '");
        IFF_errorId(subChunk->chunkId);
        IFF_error("' not allowed in PROP chunk!\n");
        return 0;
    }
    return 1;
}

} // namespace

IFF_Prop *IFF_createProp(const char *formType) {
    return IFF_createGroup(IFF_ID_PROP, formType);
}

int IFF_addToProp(IFF_Prop *prop, IFF_Chunk *chunk) {
    return IFF_addToGroup(prop, chunk);
}

IFF_Prop *IFF_readProp(FILE *file, const IFF_Long chunkSize, const IFF_Extension *extension,
                       const unsigned int extensionLength) {
    return IFF_readGroup(file, IFF_ID_PROP, chunkSize, IFF_GROUPTYPE_PROP, 1, extension,
                         extensionLength);
}

int IFF_writeProp(FILE *file, const IFF_Prop *prop, const IFF_Extension *extension,
                  const unsigned int extensionLength) {
    return IFF_writeGroup(file, prop, prop->groupType, IFF_GROUPTYPE_PROP, extension,
                          extensionLength);
}

int IFF_checkProp(const IFF_Prop *prop, const IFF_Extension *extension,
                  const unsigned int extensionLength) {
    return IFF_checkGroup(prop, IFF_checkFormType, checkPropSubChunk, prop->groupType, extension,
                          extensionLength);
}

void IFF_freeProp(IFF_Prop *prop, const IFF_Extension *extension,
                  const unsigned int extensionLength) {
    IFF_freeGroup(prop, prop->groupType, extension, extensionLength);
}

void IFF_printProp(const IFF_Prop *prop, const unsigned int indentLevel,
                   const IFF_Extension *extension, const unsigned int extensionLength) {
    IFF_printGroup(prop, indentLevel, prop->groupType, IFF_GROUPTYPE_PROP, extension,
                   extensionLength);
}

int IFF_compareProp(const IFF_Prop *prop1, const IFF_Prop *prop2, const IFF_Extension *extension,
                    const unsigned int extensionLength) {
    return IFF_compareGroup(prop1, prop2, prop1->groupType, extension, extensionLength);
}

void IFF_updatePropChunkSizes(IFF_Prop *prop) {
    IFF_updateGroupChunkSizes(prop);
}
