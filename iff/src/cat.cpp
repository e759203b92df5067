#include "iff/cat.h"

#include "iff/error.h"
#include "iff/form.h"
#include "iff/id.h"
#include "iff/list.h"

#include <stdio.h>

namespace {

#define IFF_GROUPTYPE_CAT "contentsType"

int checkContentsType(const IFF_ID contentsType) {
    return IFF_checkId(contentsType);
}

} // namespace

IFF_CAT *IFF_createCAT(const char *contentsType) {
    return IFF_createGroup(IFF_ID_CAT, contentsType);
}

int IFF_addToCAT(IFF_CAT *cat, IFF_Chunk *chunk) {
    return IFF_addToGroup(cat, chunk);
}

IFF_CAT *IFF_readCAT(FILE *file, const IFF_Long chunkSize, const IFF_Extension *extension,
                     const unsigned int extensionLength) {
    return IFF_readGroup(file, IFF_ID_CAT, chunkSize, IFF_GROUPTYPE_CAT, 0, extension,
                         extensionLength);
}

int IFF_writeCAT(FILE *file, const IFF_CAT *cat, const IFF_Extension *extension,
                 const unsigned int extensionLength) {
    return IFF_writeGroup(file, cat, nullptr, IFF_GROUPTYPE_CAT, extension, extensionLength);
}

int IFF_checkCATSubChunk(const IFF_Group *group, const IFF_Chunk *subChunk) {
    const bool isForm = IFF_compareId(subChunk->chunkId, IFF_ID_FORM) == 0;
    const bool isList = IFF_compareId(subChunk->chunkId, IFF_ID_LIST) == 0;
    const bool isCAT = IFF_compareId(subChunk->chunkId, IFF_ID_CAT) == 0;
    if (!isForm && !isList && !isCAT) {
        IFF_error("ERROR: Element with chunk Id: '");
        IFF_errorId(subChunk->chunkId);
        IFF_error("' not allowed in CAT chunk!\n");
        return 0;
    }
    if (IFF_compareId(group->groupType, "JJJJ") == 0) {
        return 1;
    }
    const IFF_Group *subGroup = reinterpret_cast<const IFF_Group *>(subChunk);
    if (IFF_compareId(subGroup->groupType, group->groupType) == 0) {
        return 1;
    }
    if (isForm) {
        IFF_error("Sub form does not match contentsType of the CAT!\n");
    } else if (isList) {
        IFF_error("Sub list does not match contentsType of the CAT!\n");
    } else {
        IFF_error("Sub cat does not match contentsType of the CAT!\n");
    }
    return 0;
}

int IFF_checkCAT(const IFF_CAT *cat, const IFF_Extension *extension,
                 const unsigned int extensionLength) {
    return IFF_checkGroup(cat, checkContentsType, IFF_checkCATSubChunk, nullptr, extension,
                          extensionLength);
}

void IFF_freeCAT(IFF_CAT *cat, const IFF_Extension *extension, const unsigned int extensionLength) {
    IFF_freeGroup(cat, nullptr, extension, extensionLength);
}

void IFF_printCAT(const IFF_CAT *cat, const unsigned int indentLevel,
                  const IFF_Extension *extension, const unsigned int extensionLength) {
    IFF_printGroup(cat, indentLevel, nullptr, IFF_GROUPTYPE_CAT, extension, extensionLength);
}

int IFF_compareCAT(const IFF_CAT *cat1, const IFF_CAT *cat2, const IFF_Extension *extension,
                   const unsigned int extensionLength) {
    return IFF_compareGroup(cat1, cat2, nullptr, extension, extensionLength);
}

void IFF_updateCATChunkSizes(IFF_CAT *cat) {
    IFF_updateGroupChunkSizes(cat);
}
