#include "ilbm/grab.h"

#include "fixedchunk.h"

#include <iff/error.h>
#include <stddef.h>

namespace {

#define FIELD(name, kind, format)                                                                  \
    { #name, ilbm::FieldKind::kind, offsetof(ILBM_Grab, name), format }
const ilbm::Field fields[] = {
    FIELD(x, Word, "x = %d;\n"),
    FIELD(y, Word, "y = %d;\n"),
};
#undef FIELD

const ilbm::FixedChunkType type = {
    ILBM_ID_GRAB, 4, sizeof(ILBM_Grab), fields, sizeof fields / sizeof fields[0], false};

} // namespace

ILBM_FIXED_CHUNK_OPERATIONS(Grab, type)

int ILBM_checkGrab(const IFF_Chunk *chunk) {
    return ilbm::checkFixedChunk(chunk, type);
}
