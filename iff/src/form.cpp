#include "iff/form.h"

#include "iff/cat.h"
#include "iff/error.h"
#include "iff/id.h"
#include "iff/list.h"
#include "iff/prop.h"

#include <stdio.h>
#include <string.h>

namespace {

#define IFF_GROUPTYPE_FORM "formType"

int checkFormSubChunk(const IFF_Group *, const IFF_Chunk *subChunk) {
    if (IFF_compareId(subChunk->chunkId, IFF_ID_PROP) == 0) {
        IFF_error("ERROR: Element with chunk Id: '");
        IFF_errorId(subChunk->chunkId);
        IFF_error("' not allowed in FORM chunk!\n");
        return 0;
    }
    return 1;
}

bool isReservedFormType(const IFF_ID formType) {
    static const char *const reserved[] = {IFF_ID_LIST, IFF_ID_FORM, IFF_ID_PROP, IFF_ID_CAT,
                                           "JJJJ"};
    for (const char *id : reserved) {
        if (memcmp(formType, id, sizeof(IFF_ID)) == 0) {
            return true;
        }
    }
    // LIS1 to LIS9, FOR1 to FOR9 and CAT1 to CAT9
    static const char *const numbered[] = {"LIS", "FOR", "CAT"};
    for (const char *stem : numbered) {
        if (memcmp(formType, stem, 3) == 0 && formType[3] >= '1' && formType[3] <= '9') {
            return true;
        }
    }
    return false;
}

} // namespace

IFF_Form *IFF_createForm(const char *formType) {
    return IFF_createGroup(IFF_ID_FORM, formType);
}

int IFF_addToForm(IFF_Form *form, IFF_Chunk *chunk) {
    return IFF_addToGroup(form, chunk);
}

IFF_Form *IFF_readForm(FILE *file, const IFF_Long chunkSize, const IFF_Extension *extension,
                       const unsigned int extensionLength) {
    return IFF_readGroup(file, IFF_ID_FORM, chunkSize, IFF_GROUPTYPE_FORM, 1, extension,
                         extensionLength);
}

int IFF_writeForm(FILE *file, const IFF_Form *form, const IFF_Extension *extension,
                  const unsigned int extensionLength) {
    return IFF_writeGroup(file, form, form->groupType, IFF_GROUPTYPE_FORM, extension,
                          extensionLength);
}

int IFF_checkFormType(const IFF_ID formType) {
    if (!IFF_checkId(formType)) {
        return 0;
    }
    for (unsigned int i = 0; i < sizeof(IFF_ID); i++) {
        if ((formType[i] >= 'a' && formType[i] <= 'z') || formType[i] == '.') {
            IFF_error("No lowercase characters or punctuation marks allowed in a form type ID!\n");
            return 0;
        }
    }
    if (isReservedFormType(formType)) {
        IFF_error("Form type: '");
        IFF_errorId(formType);
        IFF_error("' not allowed!\n");
        return 0;
    }
    return 1;
}

int IFF_checkForm(const IFF_Form *form, const IFF_Extension *extension,
                  const unsigned int extensionLength) {
    return IFF_checkGroup(form, IFF_checkFormType, checkFormSubChunk, form->groupType, extension,
                          extensionLength);
}

void IFF_freeForm(IFF_Form *form, const IFF_Extension *extension,
                  const unsigned int extensionLength) {
    IFF_freeGroup(form, form->groupType, extension, extensionLength);
}

void IFF_printForm(const IFF_Form *form, const unsigned int indentLevel,
                   const IFF_Extension *extension, const unsigned int extensionLength) {
    IFF_printGroup(form, indentLevel, form->groupType, IFF_GROUPTYPE_FORM, extension,
                   extensionLength);
}

int IFF_compareForm(const IFF_Form *form1, const IFF_Form *form2, const IFF_Extension *extension,
                    const unsigned int extensionLength) {
    return IFF_compareGroup(form1, form2, form1->groupType, extension, extensionLength);
}

void IFF_updateFormChunkSizes(IFF_Form *form) {
    IFF_updateGroupChunkSizes(form);
}
