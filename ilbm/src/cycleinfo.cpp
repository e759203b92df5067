#include "ilbm/cycleinfo.h"

#include "fixedchunk.h"

#include <iff/error.h>
#include <stddef.h>

namespace {

#define FIELD(name, kind, format)                                                                  \
    { #name, ilbm::FieldKind::kind, offsetof(ILBM_CycleInfo, name), format }
const ilbm::Field fields[] = {
    FIELD(direction, Word, "direction = %d;\n"),
    FIELD(start, UByte, "start = %u;\n"),
    FIELD(end, UByte, "end = %u;\n"),
    FIELD(seconds, Long, "seconds = %d;\n"),
    FIELD(microSeconds, Long, "microSeconds = %d;\n"),
    FIELD(pad, Word, "pad = %d;\n"),
};
#undef FIELD

const ilbm::FixedChunkType type = {
    ILBM_ID_CCRT, 14, sizeof(ILBM_CycleInfo), fields, sizeof fields / sizeof fields[0], false};

} // namespace

ILBM_FIXED_CHUNK_OPERATIONS(CycleInfo, type)

int ILBM_checkCycleInfo(const IFF_Chunk *chunk) {
    const ILBM_CycleInfo *cycleInfo = reinterpret_cast<const ILBM_CycleInfo *>(chunk);
    if (!ilbm::checkFixedChunk(chunk, type)) {
        return 0;
    }
    if (cycleInfo->direction < -1 || cycleInfo->direction > 1) {
        IFF_error("'CCRT'.direction must be between -1 and 1\n");
        return 0;
    }
    if (cycleInfo->pad != 0) {
        IFF_error("'CCRT'.pad is not 0!\n");
    }
    return 1;
}
