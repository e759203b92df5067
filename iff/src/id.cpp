#include "iff/id.h"

#include "internal.h"

#include "iff/error.h"

#include <stdio.h>
#include <string.h>

void IFF_createId(IFF_ID id, const char *text) {
    unsigned int i = 0;
    for (; i < sizeof(IFF_ID) && text[i] != '\0'; i++) {
        id[i] = text[i];
    }
    for (; i < sizeof(IFF_ID); i++) {
        id[i] = '\0';
    }
}

int IFF_compareId(const IFF_ID id1, const IFF_ID id2) {
    return strncmp(id1, id2, sizeof(IFF_ID));
}

int IFF_readId(FILE *file, IFF_ID id, const IFF_ID chunkId, const char *attributeName) {
    if (fread(id, sizeof(IFF_ID), 1, file) < 1) {
        IFF_readError(chunkId, attributeName);
        return 0;
    }
    return 1;
}

int IFF_writeId(FILE *file, const IFF_ID id, const IFF_ID chunkId, const char *attributeName) {
    if (fwrite(id, sizeof(IFF_ID), 1, file) < 1) {
        IFF_writeError(chunkId, attributeName);
        return 0;
    }
    return 1;
}

int IFF_checkId(const IFF_ID id) {
    for (unsigned int i = 0; i < sizeof(IFF_ID); i++) {
        const signed char c = static_cast<signed char>(id[i]);
        if (c < 0x20 || c > 0x7e) {
            IFF_error("Illegal character: '%c' in ID!\n", id[i]);
            return 0;
        }
    }
    if (id[0] == ' ') {
        IFF_error("Spaces may not precede an ID!\n");
        return 0;
    }
    return 1;
}

iff_internal::ReadableId::ReadableId(const IFF_ID id) {
    char *end = text;
    for (unsigned int i = 0; i < sizeof(IFF_ID); i++) {
        const unsigned char c = static_cast<unsigned char>(id[i]);
        if (c == '\\') {
            *end++ = '\\';
            *end++ = '\\';
        } else if (c >= 0x20 && c <= 0x7e) {
            *end++ = static_cast<char>(c);
        } else {
            end += snprintf(end, 5, "\\x%02x", c);
        }
    }
    *end = '\0';
}

void IFF_printId(const IFF_ID id) {
    fputs(iff_internal::ReadableId(id).text, stdout);
}
