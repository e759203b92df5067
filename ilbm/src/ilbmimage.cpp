#include "ilbm/ilbmimage.h"

#include "array.h"
#include "geometry.h"
#include "tree.h"

#include <iff/error.h>
#include <iff/iff.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <vector>

namespace {

IFF_Chunk *chunkOf(void *record) {
    return static_cast<IFF_Chunk *>(record);
}

template <typename T> int appendPointer(T **&array, unsigned int &length, T *element) {
    if (!ilbm::growArray(array, length)) {
        return 0;
    }
    array[length++] = element;
    return 1;
}

/* Points the entries of one of the image's arrays that held chunk at its replacement. */
template <typename T>
void replacePointer(T **array, unsigned int length, const IFF_Chunk *chunk,
                    IFF_Chunk *replacement) {
    for (unsigned int i = 0; i < length; i++) {
        if (chunkOf(array[i]) == chunk) {
            array[i] = reinterpret_cast<T *>(replacement);
        }
    }
}

/* Collects every own chunk of one ID into one of the image's arrays. */
template <typename T>
int collect(ILBM_Image *image, const IFF_Form *form, const char *chunkId,
            int (*add)(ILBM_Image *, T *)) {
    unsigned int length = 0;
    IFF_Chunk **chunks = IFF_getChunksFromForm(form, chunkId, &length);
    for (unsigned int i = 0; i < length; i++) {
        if (!add(image, reinterpret_cast<T *>(chunks[i]))) {
            free(chunks);
            return 0;
        }
    }
    free(chunks);
    return 1;
}

ILBM_Image *imageFromForm(IFF_Form *form) {
    char formType[5] = {0};
    memcpy(formType, form->groupType, 4);
    ILBM_Image *image = ILBM_createImage(formType);
    if (image == nullptr) {
        return nullptr;
    }
    image->form = form;
    ilbm::lookUpChunks(image);
    if (!collect(image, form, ILBM_ID_CRNG, ILBM_addColorRangeToImage) ||
        !collect(image, form, ILBM_ID_DRNG, ILBM_addDRangeToImage) ||
        !collect(image, form, ILBM_ID_CCRT, ILBM_addCycleInfoToImage)) {
        ILBM_freeImage(image);
        return nullptr;
    }
    return image;
}

} // namespace

ILBM_Image *ILBM_createImage(const char *formType) {
    ILBM_Image *image = static_cast<ILBM_Image *>(calloc(1, sizeof(ILBM_Image)));
    if (image != nullptr) {
        IFF_createId(image->formType, formType);
    }
    return image;
}

ILBM_Image **ILBM_extractImages(IFF_Chunk *chunk, unsigned int *imagesLength) {
    static const char *formTypes[] = {ILBM_ID_ACBM, ILBM_ID_ILBM, ILBM_ID_PBM};
    unsigned int formsLength = 0;
    IFF_Form **forms = IFF_searchFormsFromArray(chunk, formTypes, 3, &formsLength);
    *imagesLength = 0;

    if (formsLength == 0) {
        IFF_error("No form with formType: 'ACBM', 'ILBM' or 'PBM ' found!\n");
        free(forms);
        return nullptr;
    }

    ILBM_Image **images = static_cast<ILBM_Image **>(malloc(formsLength * sizeof(ILBM_Image *)));
    if (images == nullptr) {
        free(forms);
        return nullptr;
    }
    unsigned int length = 0;
    for (unsigned int i = 0; i < formsLength; i++) {
        if (IFF_getChunkFromForm(forms[i], ILBM_ID_BMHD) == nullptr) {
            continue;
        }
        ILBM_Image *image = imageFromForm(forms[i]);
        if (image == nullptr) {
            ILBM_freeImages(images, length);
            free(forms);
            return nullptr;
        }
        images[length++] = image;
    }
    free(forms);

    if (length < formsLength) {
        /* Keep at least one slot, so that an empty result is not mistaken for a failure. */
        void *trimmed = realloc(images, (length > 0 ? length : 1) * sizeof(ILBM_Image *));
        if (trimmed != nullptr) {
            images = static_cast<ILBM_Image **>(trimmed);
        }
    }
    *imagesLength = length;
    return images;
}

IFF_Form *ILBM_convertImageToForm(ILBM_Image *image) {
    char formType[5] = {0};
    memcpy(formType, image->formType, 4);
    IFF_Form *form = IFF_createForm(formType);
    if (form == nullptr) {
        return nullptr;
    }
    /* In the order of a picture form: the properties, the colour cycling, then the planes. */
    std::vector<IFF_Chunk *> chunks = {
        chunkOf(image->bitMapHeader), chunkOf(image->colorMap),  chunkOf(image->cmykMap),
        chunkOf(image->colorNames),   chunkOf(image->dpiHeader), chunkOf(image->grab),
        chunkOf(image->destMerge),    chunkOf(image->sprite),    chunkOf(image->viewport),
    };
    for (unsigned int i = 0; i < image->colorRangeLength; i++) {
        chunks.push_back(chunkOf(image->colorRange[i]));
    }
    for (unsigned int i = 0; i < image->drangeLength; i++) {
        chunks.push_back(chunkOf(image->drange[i]));
    }
    for (unsigned int i = 0; i < image->cycleInfoLength; i++) {
        chunks.push_back(chunkOf(image->cycleInfo[i]));
    }
    chunks.push_back(chunkOf(image->body));
    chunks.push_back(chunkOf(image->bitplanes));
    /* Each chunk once, and only the ones the image has. */
    std::vector<IFF_Chunk *> unique;
    for (IFF_Chunk *chunk : chunks) {
        if (chunk != nullptr && std::find(unique.begin(), unique.end(), chunk) == unique.end()) {
            unique.push_back(chunk);
        }
    }
    chunks.swap(unique);

    /* Copies first: until every chunk is in, nothing the image points at is touched. */
    std::vector<IFF_Chunk *> contents;
    bool complete = true;
    for (IFF_Chunk *chunk : chunks) {
        if (!complete) {
            break;
        }
        IFF_Chunk *content = chunk->parent == nullptr ? chunk : ilbm::copyChunk(chunk, formType);
        complete = content != nullptr;
        if (complete) {
            contents.push_back(content);
        }
    }
    for (size_t i = 0; i < contents.size() && complete; i++) {
        complete = IFF_addToForm(form, contents[i]) != 0;
    }
    if (!complete) {
        /* Hand the moved chunks back to the image; drop the copies and the form. */
        for (size_t i = 0; i < contents.size(); i++) {
            const bool moved = std::find(chunks.begin(), chunks.end(), contents[i]) != chunks.end();
            if (moved) {
                contents[i]->parent = nullptr;
            } else {
                ILBM_free(contents[i]);
            }
        }
        free(form->chunk);
        free(form);
        return nullptr;
    }

    /* The image describes the new form from here on. */
    image->form = form;
    ilbm::lookUpChunks(image);
    for (size_t next = 0; next < chunks.size(); next++) {
        replacePointer(image->colorRange, image->colorRangeLength, chunks[next], contents[next]);
        replacePointer(image->drange, image->drangeLength, chunks[next], contents[next]);
        replacePointer(image->cycleInfo, image->cycleInfoLength, chunks[next], contents[next]);
    }
    return form;
}

void ILBM_freeImage(ILBM_Image *image) {
    if (image == nullptr) {
        return;
    }
    free(image->colorRange);
    free(image->drange);
    free(image->cycleInfo);
    free(image);
}

void ILBM_freeImages(ILBM_Image **images, const unsigned int imagesLength) {
    if (images == nullptr) {
        return;
    }
    for (unsigned int i = 0; i < imagesLength; i++) {
        ILBM_freeImage(images[i]);
    }
    free(images);
}

int ILBM_checkImage(const ILBM_Image *image) {
    if (image->bitMapHeader == nullptr) {
        IFF_error("Error: no bitmap header defined!\n");
        return 0;
    }
    return 1;
}

int ILBM_checkImages(const IFF_Chunk *chunk, ILBM_Image **images, const unsigned int imagesLength) {
    if (!ILBM_check(chunk)) {
        return 0;
    }
    for (unsigned int i = 0; i < imagesLength; i++) {
        if (!ILBM_checkImage(images[i])) {
            return 0;
        }
    }
    return 1;
}

int ILBM_addColorRangeToImage(ILBM_Image *image, ILBM_ColorRange *colorRange) {
    return appendPointer(image->colorRange, image->colorRangeLength, colorRange);
}

int ILBM_addDRangeToImage(ILBM_Image *image, ILBM_DRange *drange) {
    return appendPointer(image->drange, image->drangeLength, drange);
}

int ILBM_addCycleInfoToImage(ILBM_Image *image, ILBM_CycleInfo *cycleInfo) {
    return appendPointer(image->cycleInfo, image->cycleInfoLength, cycleInfo);
}

int ILBM_imageIsILBM(const ILBM_Image *image) {
    return IFF_compareId(image->formType, ILBM_ID_ILBM) == 0;
}

int ILBM_imageIsACBM(const ILBM_Image *image) {
    return IFF_compareId(image->formType, ILBM_ID_ACBM) == 0;
}

int ILBM_imageIsPBM(const ILBM_Image *image) {
    return IFF_compareId(image->formType, ILBM_ID_PBM) == 0;
}

unsigned int ILBM_calculateRowSize(const ILBM_Image *image) {
    if (image->bitMapHeader == nullptr) {
        return 0;
    }
    unsigned int w = image->bitMapHeader->w;
    return w % 16 == 0 ? w / 16 * 2 : (w / 16 + 1) * 2;
}

ILBM_ColorMap *ILBM_generateGrayscaleColorMap(const ILBM_Image *image) {
    ILBM_ColorMap *colorMap = ILBM_createColorMap();
    if (colorMap == nullptr || image->bitMapHeader == nullptr) {
        return colorMap;
    }
    unsigned int numOfColors = ILBM_calculateNumOfColors(image->bitMapHeader);
    for (unsigned int i = 0; i < numOfColors; i++) {
        ILBM_ColorRegister *colorRegister = ILBM_addColorRegisterInColorMap(colorMap);
        if (colorRegister == nullptr) {
            ILBM_freeColorMap(chunkOf(colorMap));
            free(colorMap);
            return nullptr;
        }
        IFF_UByte level = static_cast<IFF_UByte>(i * 255 / (numOfColors - 1));
        colorRegister->red = colorRegister->green = colorRegister->blue = level;
    }
    return colorMap;
}

unsigned int ILBM_calculateBodyPlanes(const ILBM_Image *image) {
    ilbm::BodyGeometry geometry;
    return ilbm::bodyGeometry(image, &geometry) ? geometry.planes : 0;
}

namespace ilbm {

int bodyGeometry(const ILBM_Image *image, BodyGeometry *geometry) {
    const ILBM_BitMapHeader *bitMapHeader = image->bitMapHeader;
    if (bitMapHeader == nullptr) {
        IFF_error("Error: no bitmap header defined!\n");
        return 0;
    }
    if (bitMapHeader->w == 0 || bitMapHeader->h == 0) {
        IFF_error("ERROR: the picture has no pixels: 'BMHD'.w: %u, 'BMHD'.h: %u\n",
                  static_cast<unsigned int>(bitMapHeader->w),
                  static_cast<unsigned int>(bitMapHeader->h));
        return 0;
    }
    if (ILBM_imageIsPBM(image)) {
        if (bitMapHeader->nPlanes != 8) {
            IFF_error("ERROR: a 'PBM ' picture needs 8 planes, not 'BMHD'.nPlanes: %u\n",
                      static_cast<unsigned int>(bitMapHeader->nPlanes));
            return 0;
        }
        /* One byte per pixel, rows padded to an even length. */
        geometry->rowSize = (static_cast<size_t>(bitMapHeader->w) + 1) & ~static_cast<size_t>(1);
        geometry->planes = 1;
    } else {
        if (bitMapHeader->nPlanes == 0 || bitMapHeader->nPlanes > 32) {
            IFF_error("ERROR: pictures of 'BMHD'.nPlanes: %u cannot be handled (1 to 32)\n",
                      static_cast<unsigned int>(bitMapHeader->nPlanes));
            return 0;
        }
        geometry->rowSize = ILBM_calculateRowSize(image);
        /* A mask plane follows the picture's planes in every picture row. */
        geometry->planes =
            bitMapHeader->nPlanes + (bitMapHeader->masking == ILBM_MSK_HAS_MASK ? 1 : 0);
    }
    geometry->height = bitMapHeader->h;
    geometry->size = geometry->rowSize * geometry->planes * geometry->height;
    if (geometry->size > static_cast<size_t>(INT32_MAX)) {
        IFF_error("ERROR: a picture body of %zu bytes does not fit in a chunk!\n", geometry->size);
        return 0;
    }
    return 1;
}

int holdsBody(const IFF_RawChunk *chunk, const BodyGeometry &geometry) {
    if (chunk->chunkSize < 0 || static_cast<size_t>(chunk->chunkSize) < geometry.size) {
        IFF_error("ERROR: the '%.4s' chunk holds %d bytes, while the picture needs %zu!\n",
                  chunk->chunkId, static_cast<int>(chunk->chunkSize), geometry.size);
        return 0;
    }
    return 1;
}

} // namespace ilbm
