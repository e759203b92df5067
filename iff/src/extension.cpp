#include "iff/extension.h"

#include "iff/id.h"

#include <stdlib.h>

namespace {

int compareFormType(const void *key, const void *row) {
    return IFF_compareId(static_cast<const char *>(key),
                         static_cast<const IFF_Extension *>(row)->formType);
}

int compareChunkId(const void *key, const void *row) {
    return IFF_compareId(static_cast<const char *>(key),
                         static_cast<const IFF_FormExtension *>(row)->chunkId);
}

} // namespace

const IFF_FormExtension *IFF_findFormExtension(const char *formType, const char *chunkId,
                                               const IFF_Extension *extension,
                                               const unsigned int extensionLength) {
    if (formType == nullptr || extension == nullptr || extensionLength == 0) {
        return nullptr;
    }
    const IFF_Extension *row = static_cast<const IFF_Extension *>(
        bsearch(formType, extension, extensionLength, sizeof(IFF_Extension), compareFormType));
    if (row == nullptr || row->formExtensions == nullptr || row->formExtensionsLength == 0) {
        return nullptr;
    }
    return static_cast<const IFF_FormExtension *>(
        bsearch(chunkId, row->formExtensions, row->formExtensionsLength, sizeof(IFF_FormExtension),
                compareChunkId));
}
