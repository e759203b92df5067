#include "ilbm/colorrange.h"

#include "fixedchunk.h"

#include <iff/error.h>
#include <stddef.h>

namespace {

#define FIELD(name, kind, format)                                                                  \
    { #name, ilbm::FieldKind::kind, offsetof(ILBM_ColorRange, name), format }
const ilbm::Field fields[] = {
    FIELD(pad1, Word, "pad1 = %d;\n"),     FIELD(rate, Word, "rate = %d;\n"),
    FIELD(active, Word, "active = %d;\n"), FIELD(low, UByte, "low = %u;\n"),
    FIELD(high, UByte, "high = %u;\n"),
};
#undef FIELD

const ilbm::FixedChunkType type = {
    ILBM_ID_CRNG, 8, sizeof(ILBM_ColorRange), fields, sizeof fields / sizeof fields[0], false};

} // namespace

ILBM_FIXED_CHUNK_OPERATIONS(ColorRange, type)

int ILBM_checkColorRange(const IFF_Chunk *chunk) {
    if (!ilbm::checkFixedChunk(chunk, type)) {
        return 0;
    }
    if (reinterpret_cast<const ILBM_ColorRange *>(chunk)->pad1 != 0) {
        IFF_error("WARING: 'CRNG'.pad1 is not 0!\n");
    }
    return 1;
}
