#ifndef ILBM_SRC_GEOMETRY_H
#define ILBM_SRC_GEOMETRY_H

#include "ilbm/ilbmimage.h"

#include <stddef.h>

namespace ilbm {

/* Room for the plane pointers of the deepest picture handled: 32 planes and a mask. */
constexpr unsigned int kMaxBodyPlanes = 33;

/*
 * How a picture's rows lie in its body: planes rows of rowSize bytes for each of its height
 * picture rows, size bytes in all. A PBM body holds one row of chunky pixels per picture row.
 */
struct BodyGeometry {
    size_t rowSize;
    unsigned int planes;
    unsigned int height;
    size_t size;
};

/* Fills geometry from the image's BMHD; 0 after a message when the picture cannot be laid out
   (no BMHD, no pixels, no planes or more than 32, or a body too large for a chunk). */
int bodyGeometry(const ILBM_Image *image, BodyGeometry *geometry);

/* 1 when the raw chunk holds at least the geometry's bytes; else 0 after a message. */
int holdsBody(const IFF_RawChunk *chunk, const BodyGeometry &geometry);

} // namespace ilbm

#endif
