#include "iff/iff.h"

#include "internal.h"

#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

using namespace iff_internal;

IFF_Chunk *IFF_read(const char *filename, const IFF_Extension *extension,
                    const unsigned int extensionLength) {
    FILE *file = fopen(filename, "rb");
    if (file == nullptr) {
        // The text perror would print, sent where every other message goes.
        IFF_error("%s: %s\n", filename, strerror(errno));
        IFF_error("ERROR: cannot open file: %s\n", filename);
        return nullptr;
    }
    IFF_Chunk *chunk = IFF_readFd(file, extension, extensionLength);
    fclose(file);
    return chunk;
}

IFF_Chunk *IFF_readFd(FILE *file, const IFF_Extension *extension,
                      const unsigned int extensionLength) {
    iff_internal::ReadLevel::start();
    IFF_Chunk *chunk = IFF_readChunk(file, nullptr, extension, extensionLength);
    if (chunk == nullptr) {
        if (iff_internal::ReadLevel::failedWhole()) {
            IFF_error("ERROR: cannot open main chunk!\n");
        }
        return nullptr;
    }
    const int trailing = fgetc(file);
    if (trailing != EOF) {
        IFF_error("WARNING: Trailing IFF contents found: %d!\n", trailing);
    }
    return chunk;
}

int IFF_write(const char *filename, const IFF_Chunk *chunk, const IFF_Extension *extension,
              const unsigned int extensionLength) {
    if (chunk == nullptr) {
        // Before opening, so that no empty file is left behind.
        return IFF_writeFd(nullptr, chunk, extension, extensionLength);
    }
    FILE *file = fopen(filename, "wb");
    if (file == nullptr) {
        IFF_error("ERROR: cannot open file: %s\n", filename);
        return 0;
    }
    int status = IFF_writeFd(file, chunk, extension, extensionLength);
    // Buffered bytes that cannot be written out (a full disk) fail the write as well.
    if (fclose(file) != 0 && status) {
        IFF_error("ERROR: cannot write file: %s\n", filename);
        status = 0;
    }
    return status;
}

int IFF_writeFd(FILE *file, const IFF_Chunk *chunk, const IFF_Extension *extension,
                const unsigned int extensionLength) {
    // The entry points take the result of a read as it is, null after a failure included.
    if (chunk == nullptr) {
        IFF_error("ERROR: No chunk to write!\n");
        return 0;
    }
    return IFF_writeChunk(file, chunk, nullptr, extension, extensionLength);
}

int IFF_check(const IFF_Chunk *chunk, const IFF_Extension *extension,
              const unsigned int extensionLength) {
    if (chunk == nullptr) {
        IFF_error("ERROR: No chunk to check!\n");
        return 0;
    }
    if (IFF_compareId(chunk->chunkId, IFF_ID_FORM) != 0 &&
        IFF_compareId(chunk->chunkId, IFF_ID_CAT) != 0 &&
        IFF_compareId(chunk->chunkId, IFF_ID_LIST) != 0) {
        IFF_error("Not a valid IFF-85 file: First bytes should start with either: 'FORM', 'CAT ' "
                  "or 'LIST'\n");
        return 0;
    }
    return IFF_checkChunk(chunk, nullptr, extension, extensionLength);
}

void IFF_free(IFF_Chunk *chunk, const IFF_Extension *extension,
              const unsigned int extensionLength) {
    IFF_freeChunk(chunk, nullptr, extension, extensionLength);
}

void IFF_print(const IFF_Chunk *chunk, const unsigned int indentLevel,
               const IFF_Extension *extension, const unsigned int extensionLength) {
    if (chunk == nullptr) {
        return;
    }
    IFF_printChunk(chunk, indentLevel, nullptr, extension, extensionLength);
}

int IFF_compare(const IFF_Chunk *chunk1, const IFF_Chunk *chunk2, const IFF_Extension *extension,
                const unsigned int extensionLength) {
    if (chunk1 == nullptr || chunk2 == nullptr) {
        return chunk1 == chunk2;
    }
    return IFF_compareChunk(chunk1, chunk2, nullptr, extension, extensionLength);
}

namespace {

// The forms found so far by one search.
struct Found {
    IFF_Form **forms = nullptr;
    unsigned int length = 0;
    bool failed = false;

    void add(IFF_Form *form) {
        if (!failed && !appendToArray(&forms, &length, form)) {
            failed = true;
        }
    }

    IFF_Form **result(unsigned int *formsLength) {
        if (failed) {
            IFF_error("ERROR: Out of memory while searching forms!\n");
            free(forms);
            forms = nullptr;
            length = 0;
        }
        *formsLength = length;
        return forms;
    }
};

bool isWanted(const IFF_Form *form, const char *const *formTypes,
              const unsigned int formTypesLength) {
    for (unsigned int i = 0; i < formTypesLength; i++) {
        if (IFF_compareId(form->groupType, formTypes[i]) == 0) {
            return true;
        }
    }
    return false;
}

void searchChunk(IFF_Chunk *chunk, const char *const *formTypes, const unsigned int formTypesLength,
                 Found &found);

void searchGroup(IFF_Group *group, const char *const *formTypes, const unsigned int formTypesLength,
                 Found &found) {
    for (unsigned int i = 0; i < group->chunkLength && !found.failed; i++) {
        searchChunk(group->chunk[i], formTypes, formTypesLength, found);
    }
}

void searchChunk(IFF_Chunk *chunk, const char *const *formTypes, const unsigned int formTypesLength,
                 Found &found) {
    if (IFF_compareId(chunk->chunkId, IFF_ID_FORM) == 0) {
        IFF_Form *form = reinterpret_cast<IFF_Form *>(chunk);
        if (isWanted(form, formTypes, formTypesLength)) {
            found.add(form);
        } else {
            searchGroup(form, formTypes, formTypesLength, found);
        }
    } else if (IFF_compareId(chunk->chunkId, IFF_ID_CAT) == 0 ||
               IFF_compareId(chunk->chunkId, IFF_ID_LIST) == 0) {
        searchGroup(reinterpret_cast<IFF_Group *>(chunk), formTypes, formTypesLength, found);
    }
}

} // namespace

IFF_Form **IFF_searchForms(IFF_Chunk *chunk, const char *formType, unsigned int *formsLength) {
    const char *formTypes[] = {formType};
    return IFF_searchFormsFromArray(chunk, formTypes, 1, formsLength);
}

IFF_Form **IFF_searchFormsFromArray(IFF_Chunk *chunk, const char *const *formTypes,
                                    const unsigned int formTypesLength, unsigned int *formsLength) {
    Found found;
    searchChunk(chunk, formTypes, formTypesLength, found);
    return found.result(formsLength);
}

IFF_Form **IFF_searchFormsInForm(IFF_Form *form, const char *const *formTypes,
                                 const unsigned int formTypesLength, unsigned int *formsLength) {
    Found found;
    if (isWanted(form, formTypes, formTypesLength)) {
        found.add(form);
    } else {
        searchGroup(form, formTypes, formTypesLength, found);
    }
    return found.result(formsLength);
}

IFF_Form **IFF_searchFormsInCAT(IFF_CAT *cat, const char *const *formTypes,
                                const unsigned int formTypesLength, unsigned int *formsLength) {
    return IFF_searchFormsInGroup(cat, formTypes, formTypesLength, formsLength);
}

IFF_Form **IFF_searchFormsInList(IFF_List *list, const char *const *formTypes,
                                 const unsigned int formTypesLength, unsigned int *formsLength) {
    return IFF_searchFormsInGroup(reinterpret_cast<IFF_Group *>(list), formTypes, formTypesLength,
                                  formsLength);
}

IFF_Form **IFF_searchFormsInGroup(IFF_Group *group, const char *const *formTypes,
                                  const unsigned int formTypesLength, unsigned int *formsLength) {
    Found found;
    searchGroup(group, formTypes, formTypesLength, found);
    return found.result(formsLength);
}

IFF_Form **IFF_mergeFormArray(IFF_Form **target, unsigned int *targetLength, IFF_Form **source,
                              const unsigned int sourceLength) {
    if (sourceLength == 0) {
        return target;
    }
    const unsigned int length = *targetLength;
    if (sourceLength > UINT_MAX - length ||
        static_cast<size_t>(length) + sourceLength > SIZE_MAX / sizeof(IFF_Form *)) {
        return nullptr;
    }
    IFF_Form **merged = static_cast<IFF_Form **>(
        realloc(target, (static_cast<size_t>(length) + sourceLength) * sizeof(IFF_Form *)));
    if (merged == nullptr) {
        return nullptr;
    }
    memcpy(merged + length, source, sourceLength * sizeof(IFF_Form *));
    *targetLength = length + sourceLength;
    return merged;
}

IFF_Chunk *IFF_getDataChunkFromForm(const IFF_Form *form, const char *chunkId) {
    for (unsigned int i = 0; i < form->chunkLength; i++) {
        if (IFF_compareId(form->chunk[i]->chunkId, chunkId) == 0) {
            return form->chunk[i];
        }
    }
    return nullptr;
}

IFF_Chunk *IFF_getChunkFromForm(const IFF_Form *form, const char *chunkId) {
    IFF_Chunk *chunk = IFF_getDataChunkFromForm(form, chunkId);
    for (const IFF_Group *group = form->parent; chunk == nullptr && group != nullptr;
         group = group->parent) {
        if (IFF_compareId(group->chunkId, IFF_ID_LIST) != 0) {
            continue;
        }
        const IFF_Prop *prop =
            IFF_getPropFromList(reinterpret_cast<const IFF_List *>(group), form->groupType);
        if (prop != nullptr) {
            chunk = IFF_getChunkFromProp(prop, chunkId);
        }
    }
    return chunk;
}

IFF_Chunk **IFF_getChunksFromForm(const IFF_Form *form, const char *chunkId,
                                  unsigned int *chunksLength) {
    IFF_Chunk **chunks = nullptr;
    unsigned int length = 0;
    for (unsigned int i = 0; i < form->chunkLength; i++) {
        if (IFF_compareId(form->chunk[i]->chunkId, chunkId) == 0 &&
            !appendToArray(&chunks, &length, form->chunk[i])) {
            IFF_error("ERROR: Out of memory while collecting chunks!\n");
            free(chunks);
            chunks = nullptr;
            length = 0;
            break;
        }
    }
    *chunksLength = length;
    return chunks;
}

IFF_Prop *IFF_getPropFromList(const IFF_List *list, const char *formType) {
    for (unsigned int i = 0; i < list->propLength; i++) {
        if (IFF_compareId(list->prop[i]->groupType, formType) == 0) {
            return list->prop[i];
        }
    }
    return nullptr;
}

IFF_Chunk *IFF_getChunkFromProp(const IFF_Prop *prop, const char *chunkId) {
    return IFF_getDataChunkFromForm(prop, chunkId);
}
