#include "ilbm/dpiheader.h"

#include "fixedchunk.h"

#include <iff/error.h>
#include <stddef.h>

namespace {

#define FIELD(name, kind, format)                                                                  \
    { #name, ilbm::FieldKind::kind, offsetof(ILBM_DPIHeader, name), format }
const ilbm::Field fields[] = {
    FIELD(dpiX, UWord, "dpiX = %u;\n"),
    FIELD(dpiY, UWord, "dpiY = %u;\n"),
};
#undef FIELD

const ilbm::FixedChunkType type = {
    ILBM_ID_DPI, 4, sizeof(ILBM_DPIHeader), fields, sizeof fields / sizeof fields[0], false};

} // namespace

ILBM_FIXED_CHUNK_OPERATIONS(DPIHeader, type)

int ILBM_checkDPIHeader(const IFF_Chunk *chunk) {
    return ilbm::checkFixedChunk(chunk, type);
}
