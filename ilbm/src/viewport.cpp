#include "ilbm/viewport.h"

#include "fixedchunk.h"

#include <iff/error.h>
#include <stddef.h>

namespace {

#define FIELD(name, kind, format)                                                                  \
    { #name, ilbm::FieldKind::kind, offsetof(ILBM_Viewport, name), format }
const ilbm::Field fields[] = {
    FIELD(viewportMode, Long, "viewportMode = %x;\n"),
};
#undef FIELD

const ilbm::FixedChunkType type = {
    ILBM_ID_CAMG, 4, sizeof(ILBM_Viewport), fields, sizeof fields / sizeof fields[0], true};

} // namespace

ILBM_FIXED_CHUNK_OPERATIONS(Viewport, type)

int ILBM_checkViewport(const IFF_Chunk *chunk) {
    return ilbm::checkFixedChunk(chunk, type);
}
