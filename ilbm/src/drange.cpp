#include "ilbm/drange.h"

#include "array.h"
#include "fixedchunk.h"

#include <iff/error.h>
#include <iff/util.h>
#include <stdlib.h>

namespace {

bool hasFades(const ILBM_DRange *drange) {
    return (drange->flags & ILBM_RNG_FADE) != 0;
}

void release(ILBM_DRange *drange) {
    ILBM_freeDRange(reinterpret_cast<IFF_Chunk *>(drange));
    free(drange);
}

/* The bytes the record's fields take in the file. */
IFF_Long fieldSize(const ILBM_DRange *drange) {
    IFF_Long size = 8 + 4 * drange->ntrue + 2 * drange->nregs;
    if (hasFades(drange)) {
        size += 2 + 2 * drange->nfades;
    }
    return size;
}

template <typename T> T *addCell(T *&cells, IFF_UByte &count, IFF_Long &chunkSize, int size) {
    if (count == 255 || !ilbm::growArray(cells, count)) {
        return nullptr;
    }
    T *cell = &cells[count++];
    *cell = T{};
    chunkSize += size;
    return cell;
}

} // namespace

ILBM_DRange *ILBM_createDRange(const IFF_Word flags) {
    ILBM_DRange *drange =
        reinterpret_cast<ILBM_DRange *>(IFF_allocateChunk(ILBM_ID_DRNG, sizeof(ILBM_DRange)));
    if (drange != nullptr) {
        drange->flags = flags;
        drange->chunkSize = 8;
        if (hasFades(drange)) {
            drange->chunkSize += 2;
        }
    }
    return drange;
}

ILBM_DColor *ILBM_addDColorToDRange(ILBM_DRange *drange) {
    return addCell(drange->dcolor, drange->ntrue, drange->chunkSize, 4);
}

ILBM_DIndex *ILBM_addDIndexToDRange(ILBM_DRange *drange) {
    return addCell(drange->dindex, drange->nregs, drange->chunkSize, 2);
}

ILBM_DFade *ILBM_addDFadeToDRange(ILBM_DRange *drange) {
    return addCell(drange->dfade, drange->nfades, drange->chunkSize, 2);
}

IFF_Chunk *ILBM_readDRange(FILE *file, const IFF_Long chunkSize) {
    if (!ilbm::fitsInChunk(ILBM_ID_DRNG, chunkSize, 0)) {
        return nullptr;
    }
    ILBM_DRange *drange = ILBM_createDRange(0);
    if (drange == nullptr) {
        return nullptr;
    }
    // Read as far as the chunk goes: a range that says it has fades but stops before them (as
    // painting programs have written them) reads with no fades, and is written as it was.
    ilbm::BodyReader body(file, ILBM_ID_DRNG, chunkSize);
    IFF_UByte ntrue, nregs;
    if (!body.ubyte(&drange->min, "min") || !body.ubyte(&drange->max, "max") ||
        !body.word(&drange->rate, "rate") || !body.word(&drange->flags, "flags") ||
        !body.ubyte(&ntrue, "ntrue") || !body.ubyte(&nregs, "nregs")) {
        release(drange);
        return nullptr;
    }
    for (unsigned int i = 0; i < ntrue; i++) {
        ILBM_DColor *dcolor = ILBM_addDColorToDRange(drange);
        if (dcolor == nullptr || !body.ubyte(&dcolor->cell, "dcolor.cell") ||
            !body.ubyte(&dcolor->r, "dcolor.r") || !body.ubyte(&dcolor->g, "dcolor.g") ||
            !body.ubyte(&dcolor->b, "dcolor.b")) {
            release(drange);
            return nullptr;
        }
    }
    for (unsigned int i = 0; i < nregs; i++) {
        ILBM_DIndex *dindex = ILBM_addDIndexToDRange(drange);
        if (dindex == nullptr || !body.ubyte(&dindex->cell, "dindex.cell") ||
            !body.ubyte(&dindex->index, "dindex.index")) {
            release(drange);
            return nullptr;
        }
    }
    if (hasFades(drange)) {
        IFF_UByte nfades;
        if (!body.ubyte(&nfades, "nfades") || !body.ubyte(&drange->pad, "pad")) {
            release(drange);
            return nullptr;
        }
        for (unsigned int i = 0; i < nfades; i++) {
            ILBM_DFade *dfade = ILBM_addDFadeToDRange(drange);
            if (dfade == nullptr || !body.ubyte(&dfade->cell, "dfade.cell") ||
                !body.ubyte(&dfade->fade, "dfade.fade")) {
                release(drange);
                return nullptr;
            }
        }
    }
    if (!body.finish()) {
        release(drange);
        return nullptr;
    }
    drange->chunkSize = chunkSize;
    return reinterpret_cast<IFF_Chunk *>(drange);
}

int ILBM_writeDRange(FILE *file, const IFF_Chunk *chunk) {
    const ILBM_DRange *drange = reinterpret_cast<const ILBM_DRange *>(chunk);
    ilbm::BodyWriter body(file, ILBM_ID_DRNG, drange->chunkSize);
    if (!body.ubyte(drange->min, "min") || !body.ubyte(drange->max, "max") ||
        !body.word(drange->rate, "rate") || !body.word(drange->flags, "flags") ||
        !body.ubyte(drange->ntrue, "ntrue") || !body.ubyte(drange->nregs, "nregs")) {
        return 0;
    }
    for (unsigned int i = 0; i < drange->ntrue; i++) {
        const ILBM_DColor &c = drange->dcolor[i];
        if (!body.ubyte(c.cell, "dcolor.cell") || !body.ubyte(c.r, "dcolor.r") ||
            !body.ubyte(c.g, "dcolor.g") || !body.ubyte(c.b, "dcolor.b")) {
            return 0;
        }
    }
    for (unsigned int i = 0; i < drange->nregs; i++) {
        const ILBM_DIndex &d = drange->dindex[i];
        if (!body.ubyte(d.cell, "dindex.cell") || !body.ubyte(d.index, "dindex.index")) {
            return 0;
        }
    }
    if (hasFades(drange)) {
        if (!body.ubyte(drange->nfades, "nfades") || !body.ubyte(drange->pad, "pad")) {
            return 0;
        }
        for (unsigned int i = 0; i < drange->nfades; i++) {
            const ILBM_DFade &f = drange->dfade[i];
            if (!body.ubyte(f.cell, "dfade.cell") || !body.ubyte(f.fade, "dfade.fade")) {
                return 0;
            }
        }
    }
    return body.finish();
}

int ILBM_checkDRange(const IFF_Chunk *chunk) {
    return ilbm::checkFieldsFit(chunk, fieldSize(reinterpret_cast<const ILBM_DRange *>(chunk)));
}

long long ilbm::fieldsSizeOfDRange(const IFF_Chunk *chunk) {
    return fieldSize(reinterpret_cast<const ILBM_DRange *>(chunk));
}

void ILBM_freeDRange(IFF_Chunk *chunk) {
    ILBM_DRange *drange = reinterpret_cast<ILBM_DRange *>(chunk);
    free(drange->dcolor);
    free(drange->dindex);
    free(drange->dfade);
    drange->dcolor = nullptr;
    drange->dindex = nullptr;
    drange->dfade = nullptr;
    drange->ntrue = drange->nregs = drange->nfades = 0;
}

void ILBM_printDRange(const IFF_Chunk *chunk, const unsigned int indentLevel) {
    const ILBM_DRange *drange = reinterpret_cast<const ILBM_DRange *>(chunk);
    IFF_printIndent(stdout, indentLevel, "min = %u;\n", static_cast<unsigned int>(drange->min));
    IFF_printIndent(stdout, indentLevel, "max = %u;\n", static_cast<unsigned int>(drange->max));
    IFF_printIndent(stdout, indentLevel, "rate = %d;\n", static_cast<int>(drange->rate));
    IFF_printIndent(stdout, indentLevel, "flags = %d;\n", static_cast<int>(drange->flags));
    IFF_printIndent(stdout, indentLevel, "ntrue = %u;\n", static_cast<unsigned int>(drange->ntrue));
    IFF_printIndent(stdout, indentLevel, "nregs = %u;\n", static_cast<unsigned int>(drange->nregs));
    for (unsigned int i = 0; i < drange->ntrue; i++) {
        const ILBM_DColor &c = drange->dcolor[i];
        IFF_printIndent(stdout, indentLevel, "{ cell = %u, r = %u, g = %u, b = %u }\n",
                        static_cast<unsigned int>(c.cell), static_cast<unsigned int>(c.r),
                        static_cast<unsigned int>(c.g), static_cast<unsigned int>(c.b));
    }
    for (unsigned int i = 0; i < drange->nregs; i++) {
        const ILBM_DIndex &d = drange->dindex[i];
        IFF_printIndent(stdout, indentLevel, "{ cell = %u, index = %u }\n",
                        static_cast<unsigned int>(d.cell), static_cast<unsigned int>(d.index));
    }
    if (hasFades(drange)) {
        IFF_printIndent(stdout, indentLevel, "nfades = %u;\n",
                        static_cast<unsigned int>(drange->nfades));
        IFF_printIndent(stdout, indentLevel, "pad = %u;\n", static_cast<unsigned int>(drange->pad));
        for (unsigned int i = 0; i < drange->nfades; i++) {
            const ILBM_DFade &f = drange->dfade[i];
            IFF_printIndent(stdout, indentLevel, "{ cell = %u, fade = %u }\n",
                            static_cast<unsigned int>(f.cell), static_cast<unsigned int>(f.fade));
        }
    }
}

int ILBM_compareDRange(const IFF_Chunk *chunk1, const IFF_Chunk *chunk2) {
    const ILBM_DRange *a = reinterpret_cast<const ILBM_DRange *>(chunk1);
    const ILBM_DRange *b = reinterpret_cast<const ILBM_DRange *>(chunk2);
    if (a->min != b->min || a->max != b->max || a->rate != b->rate || a->flags != b->flags ||
        a->ntrue != b->ntrue || a->nregs != b->nregs) {
        return 0;
    }
    for (unsigned int i = 0; i < a->ntrue; i++) {
        const ILBM_DColor &x = a->dcolor[i];
        const ILBM_DColor &y = b->dcolor[i];
        if (x.cell != y.cell || x.r != y.r || x.g != y.g || x.b != y.b) {
            return 0;
        }
    }
    for (unsigned int i = 0; i < a->nregs; i++) {
        if (a->dindex[i].cell != b->dindex[i].cell || a->dindex[i].index != b->dindex[i].index) {
            return 0;
        }
    }
    if (hasFades(a)) {
        if (a->nfades != b->nfades) {
            return 0;
        }
        for (unsigned int i = 0; i < a->nfades; i++) {
            if (a->dfade[i].cell != b->dfade[i].cell || a->dfade[i].fade != b->dfade[i].fade) {
                return 0;
            }
        }
    }
    return 1;
}
