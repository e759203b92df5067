#include "iff/list.h"

#include "internal.h"

#include "iff/cat.h"
#include "iff/chunk.h"
#include "iff/error.h"
#include "iff/id.h"
#include "iff/util.h"

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

using namespace iff_internal;

namespace {

#define IFF_GROUPTYPE_LIST "contentsType"

IFF_Group *asGroup(IFF_List *list) {
    return reinterpret_cast<IFF_Group *>(list);
}
const IFF_Group *asGroup(const IFF_List *list) {
    return reinterpret_cast<const IFF_Group *>(list);
}

void releaseList(IFF_List *list, const IFF_Extension *extension,
                 const unsigned int extensionLength) {
    IFF_freeList(list, extension, extensionLength);
    free(list);
}

} // namespace

IFF_List *IFF_createList(const char *contentsType) {
    IFF_List *list = reinterpret_cast<IFF_List *>(IFF_allocateChunk(IFF_ID_LIST, sizeof(IFF_List)));
    if (list != nullptr) {
        IFF_initGroup(asGroup(list), contentsType);
        list->propLength = 0;
        list->prop = nullptr;
    }
    return list;
}

int IFF_addToList(IFF_List *list, IFF_Chunk *chunk) {
    return IFF_addToGroup(asGroup(list), chunk);
}

int IFF_addPropToList(IFF_List *list, IFF_Prop *prop) {
    if (!appendToArray(&list->prop, &list->propLength, prop)) {
        IFF_error("ERROR: Out of memory while adding a PROP to a LIST!\n");
        return 0;
    }
    list->chunkSize =
        IFF_incrementChunkSize(list->chunkSize, reinterpret_cast<const IFF_Chunk *>(prop));
    prop->parent = asGroup(list);
    return 1;
}

IFF_List *IFF_readList(FILE *file, const IFF_Long chunkSize, const IFF_Extension *extension,
                       const unsigned int extensionLength) {
    if (!ReadLevel::enter(file)) {
        return nullptr;
    }
    IFF_List *list = nullptr;
    IFF_ID contentsType;
    if (IFF_readId(file, contentsType, IFF_ID_LIST, IFF_GROUPTYPE_LIST)) {
        list = IFF_createList("");
    }
    if (list != nullptr) {
        memcpy(list->groupType, contentsType, sizeof(IFF_ID));
        while (list->chunkSize < chunkSize) {
            IFF_Chunk *subChunk = IFF_readChunk(file, nullptr, extension, extensionLength);
            if (subChunk == nullptr) {
                if (ReadLevel::failedInGroup()) {
                    IFF_error("Error reading chunk in list!\n");
                }
                releaseList(list, extension, extensionLength);
                list = nullptr;
                break;
            }
            const int added = IFF_compareId(subChunk->chunkId, IFF_ID_PROP) == 0
                                  ? IFF_addPropToList(list, reinterpret_cast<IFF_Prop *>(subChunk))
                                  : IFF_addToList(list, subChunk);
            if (!added) {
                IFF_freeChunk(subChunk, nullptr, extension, extensionLength);
                releaseList(list, extension, extensionLength);
                list = nullptr;
                break;
            }
        }
    }
    if (list != nullptr) {
        list->chunkSize = chunkSize;
    }
    ReadLevel::leave();
    return list;
}

int IFF_writeList(FILE *file, const IFF_List *list, const IFF_Extension *extension,
                  const unsigned int extensionLength) {
    if (!IFF_writeId(file, list->groupType, list->chunkId, IFF_GROUPTYPE_LIST)) {
        IFF_error("Error writing contentsType!\n");
        return 0;
    }
    for (unsigned int i = 0; i < list->propLength; i++) {
        if (!IFF_writeChunk(file, reinterpret_cast<const IFF_Chunk *>(list->prop[i]), nullptr,
                            extension, extensionLength)) {
            IFF_error("Error writing PROP!\n");
            return 0;
        }
    }
    return IFF_writeGroupSubChunks(file, asGroup(list), nullptr, extension, extensionLength);
}

int IFF_checkList(const IFF_List *list, const IFF_Extension *extension,
                  const unsigned int extensionLength) {
    if (!IFF_checkId(list->groupType)) {
        return 0;
    }
    int64_t sum = 4;
    for (unsigned int i = 0; i < list->propLength; i++) {
        const IFF_Chunk *prop = reinterpret_cast<const IFF_Chunk *>(list->prop[i]);
        if (!IFF_checkChunk(prop, nullptr, extension, extensionLength)) {
            return 0;
        }
        sum += 8 + static_cast<int64_t>(prop->chunkSize) + (prop->chunkSize % 2 != 0);
    }
    if (!checkSubChunks(asGroup(list), IFF_checkCATSubChunk, nullptr, extension, extensionLength,
                        &sum)) {
        return 0;
    }
    return checkSize(asGroup(list), sum);
}

void IFF_freeList(IFF_List *list, const IFF_Extension *extension,
                  const unsigned int extensionLength) {
    IFF_freeGroup(asGroup(list), nullptr, extension, extensionLength);
    for (unsigned int i = 0; i < list->propLength; i++) {
        IFF_freeChunk(reinterpret_cast<IFF_Chunk *>(list->prop[i]), nullptr, extension,
                      extensionLength);
    }
    free(list->prop);
    list->prop = nullptr;
    list->propLength = 0;
}

void IFF_printList(const IFF_List *list, const unsigned int indentLevel,
                   const IFF_Extension *extension, const unsigned int extensionLength) {
    IFF_printGroupType(IFF_GROUPTYPE_LIST, list->groupType, indentLevel);
    IFF_printIndent(stdout, indentLevel, "prop = [\n");
    for (unsigned int i = 0; i < list->propLength; i++) {
        IFF_printChunk(reinterpret_cast<const IFF_Chunk *>(list->prop[i]), indentLevel + 1, nullptr,
                       extension, extensionLength);
    }
    IFF_printIndent(stdout, indentLevel, "];\n");
    IFF_printGroupSubChunks(asGroup(list), indentLevel, nullptr, extension, extensionLength);
}

int IFF_compareList(const IFF_List *list1, const IFF_List *list2, const IFF_Extension *extension,
                    const unsigned int extensionLength) {
    if (list1->propLength != list2->propLength) {
        return 0;
    }
    // Through the generic compare, so that the PROPs' IDs and sizes are compared too.
    for (unsigned int i = 0; i < list1->propLength; i++) {
        if (!IFF_compareChunk(reinterpret_cast<const IFF_Chunk *>(list1->prop[i]),
                              reinterpret_cast<const IFF_Chunk *>(list2->prop[i]), nullptr,
                              extension, extensionLength)) {
            return 0;
        }
    }
    return IFF_compareGroup(asGroup(list1), asGroup(list2), nullptr, extension, extensionLength);
}

void IFF_updateListChunkSizes(IFF_List *list) {
    IFF_updateGroupChunkSizes(asGroup(list));
    for (unsigned int i = 0; i < list->propLength; i++) {
        list->chunkSize = IFF_incrementChunkSize(
            list->chunkSize, reinterpret_cast<const IFF_Chunk *>(list->prop[i]));
    }
}
