// Writes the starting corpus of fuzz_iff into the folder given as the first argument: the kept
// inputs (fuzz/iff/corpus and the real pictures of the tests), trees built in memory and written
// by the library, and a few that break its rules.
#include "fuzz_extension.h"
#include "iff_bytes.h"
#include "kept_inputs.h"

#include <iff/iff.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

namespace {

std::string folder;
int seedNumber = 0;

IFF_Chunk *asChunk(void *record) {
    return reinterpret_cast<IFF_Chunk *>(record);
}

IFF_Chunk *raw(const char *chunkId, size_t size, unsigned int seed) {
    IFF_RawChunk *chunk = IFF_createRawChunk(chunkId);
    IFF_UByte *data = size > 0 ? static_cast<IFF_UByte *>(malloc(size)) : nullptr;
    for (size_t i = 0; i < size; i++) {
        data[i] = static_cast<IFF_UByte>(seed * 31 + i * 7);
    }
    IFF_setRawChunkData(chunk, data, static_cast<IFF_Long>(size));
    return asChunk(chunk);
}

IFF_Chunk *text(const char *words) {
    IFF_RawChunk *chunk = IFF_createRawChunk("TEXT");
    IFF_setTextData(chunk, words);
    return asChunk(chunk);
}

IFF_Form *form(const char *type, unsigned int seed) {
    IFF_Form *f = IFF_createForm(type);
    IFF_addToForm(f, asChunk(createFuzzHead(static_cast<IFF_UWord>(seed))));
    IFF_addToForm(f, raw("BODY", 3 + seed % 5, seed));
    return f;
}

std::string nextName() {
    return folder + "/seed-" + std::to_string(seedNumber++) + ".iff";
}

void save(IFF_Chunk *tree) {
    IFF_write(nextName().c_str(), tree, fuzzExtension, fuzzExtensionLength);
}

void saveBytes(const iffbytes::Bytes &bytes) {
    iffbytes::save(nextName(), bytes);
}

std::vector<unsigned char> bytesOf(IFF_Chunk *tree) {
    char *buffer = nullptr;
    size_t length = 0;
    FILE *out = open_memstream(&buffer, &length);
    IFF_writeFd(out, tree, fuzzExtension, fuzzExtensionLength);
    fclose(out);
    std::vector<unsigned char> bytes(buffer, buffer + length);
    free(buffer);
    return bytes;
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: seeds_iff FOLDER\n");
        return 2;
    }
    folder = argv[1];
    copyKeptInputs(folder);

    // A FORM with an extension chunk, an odd raw body and a text.
    IFF_Form *single = form("FUZZ", 1);
    IFF_addToForm(single, text("made by seeds_iff"));
    save(asChunk(single));

    // A CAT of FORMs of several types and a LIST with shared properties.
    IFF_CAT *catalogue = IFF_createCAT("JJJJ");
    IFF_addToCAT(catalogue, asChunk(form("FUZZ", 2)));
    IFF_addToCAT(catalogue, asChunk(form("TEST", 3)));
    IFF_List *list = IFF_createList("FUZZ");
    IFF_Prop *prop = IFF_createProp("FUZZ");
    IFF_addToProp(prop, asChunk(createFuzzHead(9)));
    IFF_addToProp(prop, raw("CMAP", 6, 4));
    IFF_addPropToList(list, prop);
    IFF_addToList(list, asChunk(form("FUZZ", 5)));
    IFF_addToList(list, asChunk(IFF_createForm("FUZZ")));
    IFF_addToCAT(catalogue, asChunk(list));
    save(asChunk(catalogue));
    save(asChunk(list));

    // Groups inside groups.
    IFF_Chunk *deep = asChunk(form("FUZZ", 6));
    for (int i = 0; i < 12; i++) {
        IFF_Group *outer = i % 3 == 0   ? IFF_createCAT("FUZZ")
                           : i % 3 == 1 ? reinterpret_cast<IFF_Group *>(IFF_createList("FUZZ"))
                                        : IFF_createForm("FUZZ");
        IFF_addToGroup(outer, deep);
        deep = asChunk(outer);
    }
    save(deep);

    // A picture-like FORM with raw chunks, and a data chunk on its own.
    IFF_Form *picture = IFF_createForm("ILBM");
    IFF_addToForm(picture, raw("BMHD", 20, 7));
    IFF_addToForm(picture, raw("CMAP", 48, 8));
    IFF_addToForm(picture, raw("BODY", 81, 9));
    save(asChunk(picture));
    IFF_Chunk *lone = raw("ANNO", 5, 10);
    save(lone);

    // Broken: a wrong group size, trailing bytes, a truncated file, bad IDs and types.
    std::vector<unsigned char> bytes = bytesOf(asChunk(picture));
    std::vector<unsigned char> broken = bytes;
    broken[7] -= 2;
    saveBytes(broken);
    broken = bytes;
    broken.insert(broken.end(), {1, 2, 3});
    saveBytes(broken);
    broken.assign(bytes.begin(), bytes.begin() + static_cast<long>(bytes.size() / 2));
    saveBytes(broken);
    broken = bytes;
    memcpy(broken.data() + 8, "il.m", 4);
    memcpy(broken.data() + 12, " BMH", 4);
    saveBytes(broken);

    IFF_free(asChunk(single), fuzzExtension, fuzzExtensionLength);
    IFF_free(asChunk(catalogue), fuzzExtension, fuzzExtensionLength);
    IFF_free(deep, fuzzExtension, fuzzExtensionLength);
    IFF_free(asChunk(picture), fuzzExtension, fuzzExtensionLength);
    IFF_free(lone, fuzzExtension, fuzzExtensionLength);
    return 0;
}
