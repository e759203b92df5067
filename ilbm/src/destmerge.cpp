#include "ilbm/destmerge.h"

#include "fixedchunk.h"

#include <iff/error.h>
#include <stddef.h>

namespace {

#define FIELD(name, kind, format)                                                                  \
    { #name, ilbm::FieldKind::kind, offsetof(ILBM_DestMerge, name), format }
const ilbm::Field fields[] = {
    FIELD(depth, UByte, "depth = %u;\n"),         FIELD(pad1, UByte, "pad1 = %u;\n"),
    FIELD(planePick, UWord, "planePick = %u;\n"), FIELD(planeOnOff, UWord, "planeOnOff = %u;\n"),
    FIELD(planeMask, UWord, "planeMask = %u;\n"),
};
#undef FIELD

const ilbm::FixedChunkType type = {
    ILBM_ID_DEST, 8, sizeof(ILBM_DestMerge), fields, sizeof fields / sizeof fields[0], false};

} // namespace

ILBM_FIXED_CHUNK_OPERATIONS(DestMerge, type)

int ILBM_checkDestMerge(const IFF_Chunk *chunk) {
    if (!ilbm::checkFixedChunk(chunk, type)) {
        return 0;
    }
    if (reinterpret_cast<const ILBM_DestMerge *>(chunk)->pad1 != 0) {
        IFF_error("WARNING: 'DEST'.pad1 is not 0!\n");
    }
    return 1;
}
