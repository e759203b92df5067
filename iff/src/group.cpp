#include "iff/group.h"

#include "internal.h"

#include "iff/chunk.h"
#include "iff/error.h"
#include "iff/id.h"
#include "iff/util.h"

#include <stdint.h>
#include <stdlib.h>
#include <string.h>

using namespace iff_internal;

IFF_Group *IFF_createGroup(const char *chunkId, const char *groupType) {
    IFF_Group *group = reinterpret_cast<IFF_Group *>(IFF_allocateChunk(chunkId, sizeof(IFF_Group)));
    if (group != nullptr) {
        IFF_initGroup(group, groupType);
    }
    return group;
}

void IFF_initGroup(IFF_Group *group, const char *groupType) {
    group->chunkSize = 4;
    IFF_createId(group->groupType, groupType);
    group->chunkLength = 0;
    group->chunk = nullptr;
}

int IFF_addToGroup(IFF_Group *group, IFF_Chunk *chunk) {
    if (!appendToArray(&group->chunk, &group->chunkLength, chunk)) {
        IFF_error("ERROR: Out of memory while adding a chunk to '");
        IFF_errorId(group->chunkId);
        IFF_error("'!\n");
        return 0;
    }
    group->chunkSize = IFF_incrementChunkSize(group->chunkSize, chunk);
    chunk->parent = group;
    return 1;
}

IFF_Group *IFF_readGroup(FILE *file, const char *chunkId, const IFF_Long chunkSize,
                         const char *groupTypeName, const int groupTypeIsFormType,
                         const IFF_Extension *extension, const unsigned int extensionLength) {
    if (!ReadLevel::enter(file)) {
        return nullptr;
    }
    IFF_Group *group = nullptr;
    IFF_ID groupType;
    if (IFF_readId(file, groupType, chunkId, groupTypeName)) {
        group = IFF_createGroup(chunkId, "");
    }
    if (group != nullptr) {
        // All four bytes as read, zero bytes included.
        memcpy(group->groupType, groupType, sizeof(IFF_ID));
        const char *formType = groupTypeIsFormType ? group->groupType : nullptr;
        while (group->chunkSize < chunkSize) {
            IFF_Chunk *subChunk = IFF_readChunk(file, formType, extension, extensionLength);
            if (subChunk == nullptr) {
                if (ReadLevel::failedInGroup()) {
                    IFF_error("Error while reading chunk!\n");
                }
                IFF_freeGroup(group, formType, extension, extensionLength);
                free(group);
                group = nullptr;
                break;
            }
            if (!IFF_addToGroup(group, subChunk)) {
                IFF_freeChunk(subChunk, formType, extension, extensionLength);
                IFF_freeGroup(group, formType, extension, extensionLength);
                free(group);
                group = nullptr;
                break;
            }
        }
    }
    if (group != nullptr) {
        group->chunkSize = chunkSize;
    }
    ReadLevel::leave();
    return group;
}

int IFF_writeGroupSubChunks(FILE *file, const IFF_Group *group, const char *formType,
                            const IFF_Extension *extension, const unsigned int extensionLength) {
    for (unsigned int i = 0; i < group->chunkLength; i++) {
        if (!IFF_writeChunk(file, group->chunk[i], formType, extension, extensionLength)) {
            IFF_error("Error writing chunk!\n");
            return 0;
        }
    }
    return 1;
}

int IFF_writeGroup(FILE *file, const IFF_Group *group, const char *formType,
                   const char *groupTypeName, const IFF_Extension *extension,
                   const unsigned int extensionLength) {
    if (!IFF_writeId(file, group->groupType, group->chunkId, groupTypeName)) {
        return 0;
    }
    return IFF_writeGroupSubChunks(file, group, formType, extension, extensionLength);
}

namespace iff_internal {

bool checkSubChunks(const IFF_Group *group, IFF_SubChunkCheck subChunkCheck, const char *formType,
                    const IFF_Extension *extension, const unsigned int extensionLength,
                    int64_t *sum) {
    for (unsigned int i = 0; i < group->chunkLength; i++) {
        const IFF_Chunk *subChunk = group->chunk[i];
        if (!subChunkCheck(group, subChunk) ||
            !IFF_checkChunk(subChunk, formType, extension, extensionLength)) {
            return false;
        }
        *sum += 8 + static_cast<int64_t>(subChunk->chunkSize) + (subChunk->chunkSize % 2 != 0);
        if (*sum > INT32_MAX || *sum < INT32_MIN) {
            IFF_error("ERROR: Chunk size overflow! ");
            IFF_errorId(group->chunkId);
            IFF_error(" holds more than %d bytes!\n", INT32_MAX);
            return false;
        }
    }
    return true;
}

bool checkSize(const IFF_Group *group, const int64_t size) {
    if (size > INT32_MAX || size < INT32_MIN) {
        IFF_error("ERROR: Chunk size overflow! ");
        IFF_errorId(group->chunkId);
        IFF_error(" holds more than %d bytes!\n", INT32_MAX);
        return false;
    }
    return IFF_checkGroupChunkSize(group, static_cast<IFF_Long>(size));
}

} // namespace iff_internal

IFF_Long IFF_checkGroupSubChunks(const IFF_Group *group, IFF_SubChunkCheck subChunkCheck,
                                 const char *formType, const IFF_Extension *extension,
                                 const unsigned int extensionLength) {
    int64_t sum = 0;
    if (!checkSubChunks(group, subChunkCheck, formType, extension, extensionLength, &sum)) {
        return -1;
    }
    return static_cast<IFF_Long>(sum);
}

int IFF_checkGroupChunkSize(const IFF_Group *group, const IFF_Long chunkSize) {
    if (group->chunkSize == chunkSize) {
        return 1;
    }
    IFF_error("Chunk size mismatch! ");
    IFF_errorId(group->chunkId);
    IFF_error(" size: %d, while body has: %d\n", group->chunkSize, chunkSize);
    return 0;
}

int IFF_checkGroup(const IFF_Group *group, IFF_GroupTypeCheck groupTypeCheck,
                   IFF_SubChunkCheck subChunkCheck, const char *formType,
                   const IFF_Extension *extension, const unsigned int extensionLength) {
    if (!groupTypeCheck(group->groupType)) {
        return 0;
    }
    int64_t sum = 0;
    if (!checkSubChunks(group, subChunkCheck, formType, extension, extensionLength, &sum)) {
        return 0;
    }
    return checkSize(group, sum + 4);
}

void IFF_freeGroup(IFF_Group *group, const char *formType, const IFF_Extension *extension,
                   const unsigned int extensionLength) {
    for (unsigned int i = 0; i < group->chunkLength; i++) {
        IFF_freeChunk(group->chunk[i], formType, extension, extensionLength);
    }
    free(group->chunk);
    group->chunk = nullptr;
    group->chunkLength = 0;
}

void IFF_printGroupType(const char *groupTypeName, const IFF_ID groupType,
                        const unsigned int indentLevel) {
    IFF_printIndent(stdout, indentLevel, "%s = '", groupTypeName);
    IFF_printId(groupType);
    printf("';\n");
}

void IFF_printGroupSubChunks(const IFF_Group *group, const unsigned int indentLevel,
                             const char *formType, const IFF_Extension *extension,
                             const unsigned int extensionLength) {
    IFF_printIndent(stdout, indentLevel, "[\n");
    for (unsigned int i = 0; i < group->chunkLength; i++) {
        IFF_printChunk(group->chunk[i], indentLevel + 1, formType, extension, extensionLength);
    }
    IFF_printIndent(stdout, indentLevel, "];\n");
}

void IFF_printGroup(const IFF_Group *group, const unsigned int indentLevel, const char *formType,
                    const char *groupTypeName, const IFF_Extension *extension,
                    const unsigned int extensionLength) {
    IFF_printGroupType(groupTypeName, group->groupType, indentLevel);
    IFF_printGroupSubChunks(group, indentLevel, formType, extension, extensionLength);
}

int IFF_compareGroup(const IFF_Group *group1, const IFF_Group *group2, const char *formType,
                     const IFF_Extension *extension, const unsigned int extensionLength) {
    if (memcmp(group1->groupType, group2->groupType, sizeof(IFF_ID)) != 0 ||
        group1->chunkLength != group2->chunkLength) {
        return 0;
    }
    for (unsigned int i = 0; i < group1->chunkLength; i++) {
        if (!IFF_compareChunk(group1->chunk[i], group2->chunk[i], formType, extension,
                              extensionLength)) {
            return 0;
        }
    }
    return 1;
}

void IFF_updateGroupChunkSizes(IFF_Group *group) {
    group->chunkSize = 4;
    for (unsigned int i = 0; i < group->chunkLength; i++) {
        group->chunkSize = IFF_incrementChunkSize(group->chunkSize, group->chunk[i]);
    }
}
