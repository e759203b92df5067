#ifndef ILBM_SRC_ARRAY_H
#define ILBM_SRC_ARRAY_H

#include <stdlib.h>

namespace ilbm {

/*
 * Makes room for element number length (counting from 0) of an array that holds length
 * elements. The storage doubles whenever the length reaches a power of two, so a long run of
 * additions costs linear time; the record itself only keeps the length.
 */
template <typename T> bool growArray(T *&array, unsigned int length) {
    if (length != 0 && (length & (length - 1)) != 0) {
        return true;
    }
    size_t capacity = length == 0 ? 1 : static_cast<size_t>(length) * 2;
    void *grown = realloc(static_cast<void *>(array), capacity * sizeof(T));
    if (grown == nullptr) {
        return false;
    }
    array = static_cast<T *>(grown);
    return true;
}

} // namespace ilbm

#endif
