#include "ilbm/interleave.h"

#include <string.h>

void ILBM_deinterleaveRows(const unsigned char *body, unsigned int nPlanes, size_t rowSize,
                           unsigned int height, unsigned char *const *planes) {
    const unsigned char *source = body;
    for (unsigned int r = 0; r < height; r++) {
        size_t offset = static_cast<size_t>(r) * rowSize;
        for (unsigned int p = 0; p < nPlanes; p++) {
            memcpy(planes[p] + offset, source, rowSize);
            source += rowSize;
        }
    }
}

void ILBM_interleaveRows(const unsigned char *const *planes, unsigned int nPlanes, size_t rowSize,
                         unsigned int height, unsigned char *body) {
    unsigned char *target = body;
    for (unsigned int r = 0; r < height; r++) {
        size_t offset = static_cast<size_t>(r) * rowSize;
        for (unsigned int p = 0; p < nPlanes; p++) {
            memcpy(target, planes[p] + offset, rowSize);
            target += rowSize;
        }
    }
}
