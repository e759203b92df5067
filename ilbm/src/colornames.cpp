#include "ilbm/colornames.h"

#include "array.h"
#include "fixedchunk.h"

#include <iff/error.h>
#include <iff/util.h>
#include <stdlib.h>
#include <string.h>

namespace {

constexpr size_t kNameBufferSize = 1024;

void release(ILBM_ColorNames *colorNames) {
    ILBM_freeColorNames(reinterpret_cast<IFF_Chunk *>(colorNames));
    free(colorNames);
}

} // namespace

ILBM_ColorNames *ILBM_createColorNames(void) {
    ILBM_ColorNames *colorNames = reinterpret_cast<ILBM_ColorNames *>(
        IFF_allocateChunk(ILBM_ID_CNAM, sizeof(ILBM_ColorNames)));
    if (colorNames != nullptr) {
        colorNames->chunkSize = 4;
    }
    return colorNames;
}

int ILBM_addColorName(ILBM_ColorNames *colorNames, const char *colorName) {
    size_t length = strlen(colorName);
    char *copy = static_cast<char *>(malloc(length + 1));
    if (copy == nullptr || !ilbm::growArray(colorNames->colorNames, colorNames->colorNamesLength)) {
        free(copy);
        return 0;
    }
    memcpy(copy, colorName, length + 1);
    colorNames->colorNames[colorNames->colorNamesLength++] = copy;
    colorNames->chunkSize += static_cast<IFF_Long>(length + 1);
    return 1;
}

IFF_Chunk *ILBM_readColorNames(FILE *file, const IFF_Long chunkSize) {
    if (!ilbm::fitsInChunk(ILBM_ID_CNAM, chunkSize, 0)) {
        return nullptr;
    }
    ILBM_ColorNames *colorNames = ILBM_createColorNames();
    if (colorNames == nullptr) {
        return nullptr;
    }
    ilbm::BodyReader body(file, ILBM_ID_CNAM, chunkSize);
    if (!body.uword(&colorNames->startingColor, "startingColor") ||
        !body.uword(&colorNames->endingColor, "endingColor")) {
        release(colorNames);
        return nullptr;
    }

    /* The range gives the number of names, but the chunk's end bounds them: a range whose
       start lies above its end would otherwise ask for four billion names. A name that the
       chunk's end cuts short is kept as far as it goes. */
    unsigned int wanted = static_cast<unsigned int>(colorNames->endingColor) -
                          static_cast<unsigned int>(colorNames->startingColor) + 1;
    char name[kNameBufferSize];
    while (colorNames->colorNamesLength < wanted && body.left() > 0) {
        size_t length = 0;
        for (;;) {
            IFF_UByte c;
            if (!body.ubyte(&c, "colorNames")) {
                release(colorNames);
                return nullptr;
            }
            name[length++] = static_cast<char>(c);
            if (c == 0) {
                break;
            }
            if (length == kNameBufferSize - 1) {
                IFF_error("ERROR: a 'CNAM' colour name is longer than %u characters!\n",
                          static_cast<unsigned int>(kNameBufferSize - 2));
                release(colorNames);
                return nullptr;
            }
        }
        if (!ILBM_addColorName(colorNames, name)) {
            release(colorNames);
            return nullptr;
        }
    }

    if (!body.finish()) {
        release(colorNames);
        return nullptr;
    }
    colorNames->chunkSize = chunkSize;
    return reinterpret_cast<IFF_Chunk *>(colorNames);
}

int ILBM_writeColorNames(FILE *file, const IFF_Chunk *chunk) {
    const ILBM_ColorNames *colorNames = reinterpret_cast<const ILBM_ColorNames *>(chunk);
    ilbm::BodyWriter body(file, ILBM_ID_CNAM, colorNames->chunkSize);
    if (!body.uword(colorNames->startingColor, "startingColor") ||
        !body.uword(colorNames->endingColor, "endingColor")) {
        return 0;
    }
    for (unsigned int i = 0; i < colorNames->colorNamesLength; i++) {
        const char *name = colorNames->colorNames[i];
        for (size_t j = 0, length = strlen(name) + 1; j < length; j++) {
            if (!body.ubyte(static_cast<IFF_UByte>(name[j]), "colorNames")) {
                return 0;
            }
        }
    }
    return body.finish();
}

long long ilbm::fieldsSizeOfColorNames(const IFF_Chunk *chunk) {
    const ILBM_ColorNames *colorNames = reinterpret_cast<const ILBM_ColorNames *>(chunk);
    long long size = 4;
    for (unsigned int i = 0; i < colorNames->colorNamesLength; i++) {
        size += static_cast<long long>(strlen(colorNames->colorNames[i])) + 1;
    }
    return size;
}

int ILBM_checkColorNames(const IFF_Chunk *chunk) {
    const ILBM_ColorNames *colorNames = reinterpret_cast<const ILBM_ColorNames *>(chunk);
    if (!ilbm::checkFieldsFit(chunk, ilbm::fieldsSizeOfColorNames(chunk))) {
        return 0;
    }
    unsigned int start = colorNames->startingColor;
    unsigned int end = colorNames->endingColor;
    if (start > end) {
        IFF_error("'CNAM'.startingColor: %u cannot be greater than the 'CNAM'.endingColor: %u\n",
                  start, end);
        return 0;
    }
    if (end - start + 1 != colorNames->colorNamesLength) {
        IFF_error("The 'CNAM'.startingColor: %u and 'CNAM'.endingColor: %u difference do not "
                  "match the length: %u\n",
                  start, end, colorNames->colorNamesLength);
        return 0;
    }
    return 1;
}

void ILBM_freeColorNames(IFF_Chunk *chunk) {
    ILBM_ColorNames *colorNames = reinterpret_cast<ILBM_ColorNames *>(chunk);
    for (unsigned int i = 0; i < colorNames->colorNamesLength; i++) {
        free(colorNames->colorNames[i]);
    }
    free(colorNames->colorNames);
    colorNames->colorNames = nullptr;
    colorNames->colorNamesLength = 0;
}

void ILBM_printColorNames(const IFF_Chunk *chunk, const unsigned int indentLevel) {
    const ILBM_ColorNames *colorNames = reinterpret_cast<const ILBM_ColorNames *>(chunk);
    IFF_printIndent(stdout, indentLevel, "startingColor = %u;\n",
                    static_cast<unsigned int>(colorNames->startingColor));
    IFF_printIndent(stdout, indentLevel, "endingColor = %u;\n",
                    static_cast<unsigned int>(colorNames->endingColor));
    for (unsigned int i = 0; i < colorNames->colorNamesLength; i++) {
        IFF_printIndent(stdout, indentLevel, "{ \"%s\" };\n", colorNames->colorNames[i]);
    }
}

int ILBM_compareColorNames(const IFF_Chunk *chunk1, const IFF_Chunk *chunk2) {
    const ILBM_ColorNames *a = reinterpret_cast<const ILBM_ColorNames *>(chunk1);
    const ILBM_ColorNames *b = reinterpret_cast<const ILBM_ColorNames *>(chunk2);
    if (a->startingColor != b->startingColor || a->endingColor != b->endingColor ||
        a->colorNamesLength != b->colorNamesLength) {
        return 0;
    }
    for (unsigned int i = 0; i < a->colorNamesLength; i++) {
        if (strcmp(a->colorNames[i], b->colorNames[i]) != 0) {
            return 0;
        }
    }
    return 1;
}
