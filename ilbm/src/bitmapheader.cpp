#include "ilbm/bitmapheader.h"

#include "fixedchunk.h"

#include <iff/error.h>
#include <stddef.h>

namespace {

#define FIELD(name, kind, format)                                                                  \
    { #name, ilbm::FieldKind::kind, offsetof(ILBM_BitMapHeader, name), format }
const ilbm::Field fields[] = {
    FIELD(w, UWord, "w = %u;\n"),
    FIELD(h, UWord, "h = %u;\n"),
    FIELD(x, Word, "x = %d;\n"),
    FIELD(y, Word, "y = %d;\n"),
    FIELD(nPlanes, UByte, "nPlanes = %u;\n"),
    FIELD(masking, ByteAsUInt, "masking = %u;\n"),
    FIELD(compression, ByteAsUInt, "compression = %u;\n"),
    FIELD(pad1, UByte, nullptr),
    FIELD(transparentColor, UWord, nullptr),
    FIELD(xAspect, UByte, "xAspect = %u;\n"),
    FIELD(yAspect, UByte, "yAspect = %u;\n"),
    FIELD(pageWidth, Word, "pageWidth = %d;\n"),
    FIELD(pageHeight, Word, "pageHeight = %d;\n"),
};
#undef FIELD

static_assert(sizeof(ILBM_Masking) == sizeof(unsigned int));
static_assert(sizeof(ILBM_Compression) == sizeof(unsigned int));

const ilbm::FixedChunkType type = {
    ILBM_ID_BMHD, 20, sizeof(ILBM_BitMapHeader), fields, sizeof fields / sizeof fields[0], true};

} // namespace

ILBM_FIXED_CHUNK_OPERATIONS(BitMapHeader, type)

int ILBM_checkBitMapHeader(const IFF_Chunk *chunk) {
    const ILBM_BitMapHeader *bitMapHeader = reinterpret_cast<const ILBM_BitMapHeader *>(chunk);
    if (!ilbm::checkFixedChunk(chunk, type)) {
        return 0;
    }

    if (!(bitMapHeader->nPlanes <= 8 || bitMapHeader->nPlanes == 24 ||
          bitMapHeader->nPlanes == 32)) {
        IFF_error("Unsupported 'BMHD'.nPlanes value: %u (0 to 8, 24 or 32 expected)!\n",
                  bitMapHeader->nPlanes);
        return 0;
    }
    if (static_cast<unsigned int>(bitMapHeader->masking) > ILBM_MSK_LASSO) {
        IFF_error("Invalid 'BMHD'.masking value!\n");
        return 0;
    }
    if (static_cast<unsigned int>(bitMapHeader->compression) > ILBM_CMP_BYTE_RUN) {
        IFF_error("Invalid 'BMHD'.compression value!\n");
        return 0;
    }
    if (bitMapHeader->pad1 != 0) {
        IFF_error("WARNING: 'BMHD'.pad1 is not 0!\n");
    }
    return 1;
}

unsigned int ILBM_calculateNumOfColors(const ILBM_BitMapHeader *bitMapHeader) {
    if (bitMapHeader->nPlanes >= 1 && bitMapHeader->nPlanes <= 8) {
        return 1u << bitMapHeader->nPlanes;
    }
    return 0;
}
