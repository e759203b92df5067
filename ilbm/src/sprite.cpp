#include "ilbm/sprite.h"

#include "fixedchunk.h"

#include <iff/error.h>
#include <stddef.h>

namespace {

#define FIELD(name, kind, format)                                                                  \
    { #name, ilbm::FieldKind::kind, offsetof(ILBM_Sprite, name), format }
const ilbm::Field fields[] = {
    FIELD(spritePrecedence, UWord, "spritePrecedence = %u;\n"),
};
#undef FIELD

const ilbm::FixedChunkType type = {
    ILBM_ID_SPRT, 2, sizeof(ILBM_Sprite), fields, sizeof fields / sizeof fields[0], false};

} // namespace

ILBM_FIXED_CHUNK_OPERATIONS(Sprite, type)

int ILBM_checkSprite(const IFF_Chunk *chunk) {
    return ilbm::checkFixedChunk(chunk, type);
}
