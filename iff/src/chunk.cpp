#include "iff/chunk.h"

#include "internal.h"

#include "iff/cat.h"
#include "iff/error.h"
#include "iff/extension.h"
#include "iff/form.h"
#include "iff/list.h"
#include "iff/prop.h"
#include "iff/rawchunk.h"
#include "iff/util.h"

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace iff_internal {

namespace {

struct ReadState {
    unsigned int depth = 0;
    // What of a failure was said: nothing, a group's failure, or all of it.
    enum class Told { Nothing, Group, All } told = Told::Nothing;
    bool endKnown = false;
    long end = 0;
};

// One per thread, so that threads can read files at the same time.
thread_local ReadState readState;

// Finds where the stream ends without reading it; the stream position is kept.
void measureStream(FILE *file) {
    readState.endKnown = false;
    const long position = ftell(file);
    if (position < 0) {
        return;
    }
    if (fseek(file, 0, SEEK_END) != 0) {
        clearerr(file);
        return;
    }
    const long end = ftell(file);
    if (fseek(file, position, SEEK_SET) != 0) {
        return;
    }
    if (end >= position) {
        readState.end = end;
        readState.endKnown = true;
    }
}

} // namespace

bool ReadLevel::enter(FILE *file) {
    if (readState.depth == 0) {
        measureStream(file);
    }
    if (readState.depth >= IFF_MAX_GROUP_DEPTH) {
        IFF_error("ERROR: Groups are nested deeper than %d levels!\n", IFF_MAX_GROUP_DEPTH);
        readState.told = ReadState::Told::All;
        return false;
    }
    readState.depth++;
    return true;
}

void ReadLevel::leave() {
    readState.depth--;
}

void ReadLevel::start() {
    readState.told = ReadState::Told::Nothing;
}

bool ReadLevel::failedInGroup() {
    if (readState.told != ReadState::Told::Nothing) {
        return false;
    }
    readState.told = ReadState::Told::Group;
    return true;
}

bool ReadLevel::failedWhole() {
    return readState.told != ReadState::Told::All;
}

bool remainingLength(FILE *file, long *remaining) {
    if (readState.depth == 0) {
        measureStream(file);
    }
    if (!readState.endKnown) {
        return false;
    }
    const long position = ftell(file);
    if (position < 0 || position > readState.end) {
        return false;
    }
    *remaining = readState.end - position;
    return true;
}

bool acceptBodySize(FILE *file, const IFF_ID chunkId, const IFF_Long chunkSize) {
    if (chunkSize < 0) {
        IFF_error("ERROR: Chunk '");
        IFF_errorId(chunkId);
        IFF_error("' has a negative size: %d!\n", chunkSize);
        return false;
    }
    long remaining;
    if (remainingLength(file, &remaining) && chunkSize > remaining) {
        IFF_error("ERROR: Chunk '");
        IFF_errorId(chunkId);
        IFF_error("' declares a body of %d bytes, but only %ld are left in the file!\n", chunkSize,
                  remaining);
        return false;
    }
    return true;
}

} // namespace iff_internal

using namespace iff_internal;

namespace {

enum class Kind { Form, CAT, List, Prop, Other };

// The group IDs hold no zero byte, so four-byte equality is the same as IFF_compareId and much
// cheaper on the paths that dispatch every chunk.
bool sameId(const IFF_ID chunkId, const char *groupId) {
    return memcmp(chunkId, groupId, sizeof(IFF_ID)) == 0;
}

Kind kindOf(const IFF_ID chunkId) {
    if (sameId(chunkId, IFF_ID_FORM)) {
        return Kind::Form;
    }
    if (sameId(chunkId, IFF_ID_CAT)) {
        return Kind::CAT;
    }
    if (sameId(chunkId, IFF_ID_LIST)) {
        return Kind::List;
    }
    if (sameId(chunkId, IFF_ID_PROP)) {
        return Kind::Prop;
    }
    return Kind::Other;
}

const IFF_Group *asGroup(const IFF_Chunk *chunk) {
    return reinterpret_cast<const IFF_Group *>(chunk);
}
IFF_Group *asGroup(IFF_Chunk *chunk) {
    return reinterpret_cast<IFF_Group *>(chunk);
}
const IFF_List *asList(const IFF_Chunk *chunk) {
    return reinterpret_cast<const IFF_List *>(chunk);
}
IFF_List *asList(IFF_Chunk *chunk) {
    return reinterpret_cast<IFF_List *>(chunk);
}
const IFF_RawChunk *asRaw(const IFF_Chunk *chunk) {
    return reinterpret_cast<const IFF_RawChunk *>(chunk);
}
IFF_RawChunk *asRaw(IFF_Chunk *chunk) {
    return reinterpret_cast<IFF_RawChunk *>(chunk);
}

} // namespace

IFF_Chunk *IFF_allocateChunk(const char *chunkId, const size_t chunkSize) {
    if (chunkSize < sizeof(IFF_Chunk)) {
        return nullptr;
    }
    IFF_Chunk *chunk = static_cast<IFF_Chunk *>(calloc(1, chunkSize));
    if (chunk == nullptr) {
        IFF_error("ERROR: Out of memory for chunk '");
        IFF_errorId(chunkId);
        IFF_error("'!\n");
        return nullptr;
    }
    IFF_createId(chunk->chunkId, chunkId);
    return chunk;
}

IFF_Chunk *IFF_readChunk(FILE *file, const char *formType, const IFF_Extension *extension,
                         const unsigned int extensionLength) {
    IFF_ID chunkId;
    // A chunk ID that cannot be read is reported as four blanks.
    if (!IFF_readId(file, chunkId, "    ", "chunkId")) {
        return nullptr;
    }
    IFF_Long chunkSize;
    if (!IFF_readLong(file, &chunkSize, chunkId, "chunkSize")) {
        return nullptr;
    }
    if (!acceptBodySize(file, chunkId, chunkSize)) {
        return nullptr;
    }

    switch (kindOf(chunkId)) {
    case Kind::Form:
        return reinterpret_cast<IFF_Chunk *>(
            IFF_readForm(file, chunkSize, extension, extensionLength));
    case Kind::CAT:
        return reinterpret_cast<IFF_Chunk *>(
            IFF_readCAT(file, chunkSize, extension, extensionLength));
    case Kind::List:
        return reinterpret_cast<IFF_Chunk *>(
            IFF_readList(file, chunkSize, extension, extensionLength));
    case Kind::Prop:
        return reinterpret_cast<IFF_Chunk *>(
            IFF_readProp(file, chunkSize, extension, extensionLength));
    case Kind::Other:
        break;
    }
    const IFF_FormExtension *formExtension =
        IFF_findFormExtension(formType, chunkId, extension, extensionLength);
    if (formExtension != nullptr) {
        return formExtension->readChunk(file, chunkSize);
    }
    return reinterpret_cast<IFF_Chunk *>(readAcceptedRawChunk(file, chunkId, chunkSize));
}

namespace {

int64_t writtenSize(const IFF_Chunk *chunk);

// What a sub-chunk takes in its group as written: header, body and padding byte.
int64_t writtenExtent(const IFF_Chunk *chunk) {
    const int64_t size = writtenSize(chunk);
    return 8 + size + (size % 2 != 0);
}

int64_t writtenGroupSize(const IFF_Group *group) {
    int64_t size = 4;
    for (unsigned int i = 0; i < group->chunkLength; i++) {
        size += writtenExtent(group->chunk[i]);
    }
    return size;
}

// The size written in a chunk's header. A data chunk writes the size it holds. A group writes
// what its sub-chunks take as they are written, whatever size it holds: a reader finds the end
// of a group only by its size, so a group written with a size that its sub-chunks disagree with
// would end elsewhere in the file, and chunks after that point would be read into another group,
// by another chunk type's reader, or not at all. (A LIST also writes its PROPs first, which moves
// the place where such a LIST would end.) What was read can always be read back this way.
int64_t writtenSize(const IFF_Chunk *chunk) {
    switch (kindOf(chunk->chunkId)) {
    case Kind::Form:
    case Kind::CAT:
    case Kind::Prop:
        return writtenGroupSize(asGroup(chunk));
    case Kind::List: {
        const IFF_List *list = asList(chunk);
        int64_t size = writtenGroupSize(asGroup(chunk));
        for (unsigned int i = 0; i < list->propLength; i++) {
            size += writtenExtent(reinterpret_cast<const IFF_Chunk *>(list->prop[i]));
        }
        return size;
    }
    case Kind::Other:
        break;
    }
    return chunk->chunkSize;
}

// The size to write in the header of chunk, or false after a message when there is none.
bool sizeToWrite(const IFF_Chunk *chunk, IFF_Long *size) {
    if (kindOf(chunk->chunkId) == Kind::Other) {
        *size = chunk->chunkSize;
        return true;
    }
    const int64_t computed = writtenSize(chunk);
    if (computed > INT32_MAX) {
        IFF_error("ERROR: Chunk size overflow! ");
        IFF_errorId(chunk->chunkId);
        IFF_error(" holds more than %d bytes!\n", INT32_MAX);
        return false;
    }
    *size = static_cast<IFF_Long>(computed);
    if (*size != chunk->chunkSize) {
        IFF_error("WARNING: Chunk size mismatch! ");
        IFF_errorId(chunk->chunkId);
        IFF_error(" size: %d, while body has: %d; the body's size is written!\n", chunk->chunkSize,
                  *size);
    }
    return true;
}

} // namespace

int IFF_writeChunk(FILE *file, const IFF_Chunk *chunk, const char *formType,
                   const IFF_Extension *extension, const unsigned int extensionLength) {
    IFF_Long size;
    if (!sizeToWrite(chunk, &size) ||
        !IFF_writeId(file, chunk->chunkId, chunk->chunkId, "chunkId") ||
        !IFF_writeLong(file, size, chunk->chunkId, "chunkSize")) {
        return 0;
    }
    switch (kindOf(chunk->chunkId)) {
    case Kind::Form:
        return IFF_writeForm(file, asGroup(chunk), extension, extensionLength);
    case Kind::CAT:
        return IFF_writeCAT(file, asGroup(chunk), extension, extensionLength);
    case Kind::List:
        return IFF_writeList(file, asList(chunk), extension, extensionLength);
    case Kind::Prop:
        return IFF_writeProp(file, asGroup(chunk), extension, extensionLength);
    case Kind::Other:
        break;
    }
    const IFF_FormExtension *formExtension =
        IFF_findFormExtension(formType, chunk->chunkId, extension, extensionLength);
    if (formExtension != nullptr) {
        return formExtension->writeChunk(file, chunk);
    }
    return IFF_writeRawChunk(file, asRaw(chunk));
}

int IFF_checkChunk(const IFF_Chunk *chunk, const char *formType, const IFF_Extension *extension,
                   const unsigned int extensionLength) {
    if (!IFF_checkId(chunk->chunkId)) {
        return 0;
    }
    switch (kindOf(chunk->chunkId)) {
    case Kind::Form:
        return IFF_checkForm(asGroup(chunk), extension, extensionLength);
    case Kind::CAT:
        return IFF_checkCAT(asGroup(chunk), extension, extensionLength);
    case Kind::List:
        return IFF_checkList(asList(chunk), extension, extensionLength);
    case Kind::Prop:
        return IFF_checkProp(asGroup(chunk), extension, extensionLength);
    case Kind::Other:
        break;
    }
    const IFF_FormExtension *formExtension =
        IFF_findFormExtension(formType, chunk->chunkId, extension, extensionLength);
    if (formExtension != nullptr) {
        return formExtension->checkChunk(chunk);
    }
    return 1;
}

void IFF_freeChunk(IFF_Chunk *chunk, const char *formType, const IFF_Extension *extension,
                   const unsigned int extensionLength) {
    if (chunk == nullptr) {
        return;
    }
    switch (kindOf(chunk->chunkId)) {
    case Kind::Form:
        IFF_freeForm(asGroup(chunk), extension, extensionLength);
        break;
    case Kind::CAT:
        IFF_freeCAT(asGroup(chunk), extension, extensionLength);
        break;
    case Kind::List:
        IFF_freeList(asList(chunk), extension, extensionLength);
        break;
    case Kind::Prop:
        IFF_freeProp(asGroup(chunk), extension, extensionLength);
        break;
    case Kind::Other: {
        const IFF_FormExtension *formExtension =
            IFF_findFormExtension(formType, chunk->chunkId, extension, extensionLength);
        if (formExtension != nullptr) {
            formExtension->freeChunk(chunk);
        } else {
            IFF_freeRawChunk(asRaw(chunk));
        }
        break;
    }
    }
    free(chunk);
}

void IFF_printChunk(const IFF_Chunk *chunk, const unsigned int indentLevel, const char *formType,
                    const IFF_Extension *extension, const unsigned int extensionLength) {
    IFF_printIndent(stdout, indentLevel, "'");
    IFF_printId(chunk->chunkId);
    printf("' = {\n");
    IFF_printIndent(stdout, indentLevel + 1, "chunkSize = %d;\n", chunk->chunkSize);

    switch (kindOf(chunk->chunkId)) {
    case Kind::Form:
        IFF_printForm(asGroup(chunk), indentLevel + 1, extension, extensionLength);
        break;
    case Kind::CAT:
        IFF_printCAT(asGroup(chunk), indentLevel + 1, extension, extensionLength);
        break;
    case Kind::List:
        IFF_printList(asList(chunk), indentLevel + 1, extension, extensionLength);
        break;
    case Kind::Prop:
        IFF_printProp(asGroup(chunk), indentLevel + 1, extension, extensionLength);
        break;
    case Kind::Other: {
        const IFF_FormExtension *formExtension =
            IFF_findFormExtension(formType, chunk->chunkId, extension, extensionLength);
        if (formExtension != nullptr) {
            formExtension->printChunk(chunk, indentLevel + 1);
        } else {
            IFF_printRawChunk(asRaw(chunk), indentLevel + 1);
        }
        break;
    }
    }
    IFF_printIndent(stdout, indentLevel, "}\n\n");
}

int IFF_compareChunk(const IFF_Chunk *chunk1, const IFF_Chunk *chunk2, const char *formType,
                     const IFF_Extension *extension, const unsigned int extensionLength) {
    if (memcmp(chunk1->chunkId, chunk2->chunkId, sizeof(IFF_ID)) != 0 ||
        chunk1->chunkSize != chunk2->chunkSize) {
        return 0;
    }
    switch (kindOf(chunk1->chunkId)) {
    case Kind::Form:
        return IFF_compareForm(asGroup(chunk1), asGroup(chunk2), extension, extensionLength);
    case Kind::CAT:
        return IFF_compareCAT(asGroup(chunk1), asGroup(chunk2), extension, extensionLength);
    case Kind::List:
        return IFF_compareList(asList(chunk1), asList(chunk2), extension, extensionLength);
    case Kind::Prop:
        return IFF_compareProp(asGroup(chunk1), asGroup(chunk2), extension, extensionLength);
    case Kind::Other:
        break;
    }
    const IFF_FormExtension *formExtension =
        IFF_findFormExtension(formType, chunk1->chunkId, extension, extensionLength);
    if (formExtension != nullptr) {
        return formExtension->compareChunk(chunk1, chunk2);
    }
    return IFF_compareRawChunk(asRaw(chunk1), asRaw(chunk2));
}

IFF_Long IFF_incrementChunkSize(const IFF_Long chunkSize, const IFF_Chunk *chunk) {
    // Sizes read from a file can be anything: add without signed overflow (the sum wraps).
    uint32_t size = static_cast<uint32_t>(chunkSize) + 8u + static_cast<uint32_t>(chunk->chunkSize);
    if (chunk->chunkSize % 2 != 0) {
        size++;
    }
    return static_cast<IFF_Long>(size);
}

void IFF_updateChunkSizes(IFF_Chunk *chunk) {
    while (chunk != nullptr) {
        switch (kindOf(chunk->chunkId)) {
        case Kind::Form:
            IFF_updateFormChunkSizes(asGroup(chunk));
            break;
        case Kind::CAT:
            IFF_updateCATChunkSizes(asGroup(chunk));
            break;
        case Kind::List:
            IFF_updateListChunkSizes(asList(chunk));
            break;
        case Kind::Prop:
            IFF_updatePropChunkSizes(asGroup(chunk));
            break;
        case Kind::Other:
            break;
        }
        chunk = reinterpret_cast<IFF_Chunk *>(chunk->parent);
    }
}
