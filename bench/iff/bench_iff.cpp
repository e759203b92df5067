// Reading and writing large trees in memory streams, each beside a plain fread or fwrite of the
// same bytes in the same run: a FORM holding one 64 MiB raw chunk, and a CAT of many small FORMs
// (10,000 and 100,000, to show that the cost grows linearly). Releasing what was read is not
// part of the read timings; releasing a tree is timed on its own.
#include <iff/iff.h>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

constexpr size_t kLargeSize = size_t(64) << 20;

IFF_Chunk *asChunk(void *record) {
    return reinterpret_cast<IFF_Chunk *>(record);
}

IFF_Chunk *raw(const char *chunkId, size_t size, unsigned int seed) {
    IFF_RawChunk *chunk = IFF_createRawChunk(chunkId);
    IFF_UByte *data = static_cast<IFF_UByte *>(malloc(size));
    for (size_t i = 0; i < size; i++) {
        data[i] = static_cast<IFF_UByte>(seed + i * 13);
    }
    IFF_setRawChunkData(chunk, data, static_cast<IFF_Long>(size));
    return asChunk(chunk);
}

IFF_Chunk *largeTree() {
    IFF_Form *form = IFF_createForm("ILBM");
    IFF_addToForm(form, raw("BODY", kLargeSize, 1));
    return asChunk(form);
}

// Each FORM: a 20-byte header, a 6-byte colour map and an odd 9-byte body (56 bytes in all).
IFF_Chunk *manyFormsTree(unsigned int forms) {
    IFF_CAT *cat = IFF_createCAT("ILBM");
    for (unsigned int i = 0; i < forms; i++) {
        IFF_Form *form = IFF_createForm("ILBM");
        IFF_addToForm(form, raw("BMHD", 20, i));
        IFF_addToForm(form, raw("CMAP", 6, i));
        IFF_addToForm(form, raw("BODY", 9, i));
        IFF_addToCAT(cat, asChunk(form));
    }
    return asChunk(cat);
}

Bytes bytesOf(const IFF_Chunk *tree) {
    char *buffer = nullptr;
    size_t length = 0;
    FILE *out = open_memstream(&buffer, &length);
    IFF_writeFd(out, tree, nullptr, 0);
    fclose(out);
    Bytes bytes(buffer, buffer + length);
    free(buffer);
    return bytes;
}

const Bytes &largeBytes() {
    static const Bytes bytes = [] {
        IFF_Chunk *tree = largeTree();
        Bytes b = bytesOf(tree);
        IFF_free(tree, nullptr, 0);
        return b;
    }();
    return bytes;
}

const Bytes &manyFormsBytes(unsigned int forms) {
    static std::map<unsigned int, Bytes> cache;
    auto found = cache.find(forms);
    if (found == cache.end()) {
        IFF_Chunk *tree = manyFormsTree(forms);
        found = cache.emplace(forms, bytesOf(tree)).first;
        IFF_free(tree, nullptr, 0);
    }
    return found->second;
}

void readTree(benchmark::State &state, const Bytes &bytes) {
    for (auto _ : state) {
        FILE *in = fmemopen(const_cast<unsigned char *>(bytes.data()), bytes.size(), "rb");
        IFF_Chunk *tree = IFF_readFd(in, nullptr, 0);
        fclose(in);
        if (tree == nullptr) {
            state.SkipWithError("read failed");
            break;
        }
        benchmark::DoNotOptimize(tree);
        state.PauseTiming();
        IFF_free(tree, nullptr, 0);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}

// The baseline: one allocation and one fread of the same bytes.
void plainRead(benchmark::State &state, const Bytes &bytes) {
    for (auto _ : state) {
        FILE *in = fmemopen(const_cast<unsigned char *>(bytes.data()), bytes.size(), "rb");
        unsigned char *copy = static_cast<unsigned char *>(malloc(bytes.size()));
        const size_t read = fread(copy, 1, bytes.size(), in);
        fclose(in);
        benchmark::DoNotOptimize(copy);
        benchmark::DoNotOptimize(read);
        state.PauseTiming();
        free(copy);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}

void writeTree(benchmark::State &state, const IFF_Chunk *tree, size_t size) {
    Bytes target(size);
    for (auto _ : state) {
        FILE *out = fmemopen(target.data(), target.size(), "wb");
        const int written = IFF_writeFd(out, tree, nullptr, 0);
        fclose(out);
        if (!written) {
            state.SkipWithError("write failed");
            break;
        }
        benchmark::DoNotOptimize(target.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * size));
}

void plainWrite(benchmark::State &state, const Bytes &bytes) {
    Bytes target(bytes.size());
    for (auto _ : state) {
        FILE *out = fmemopen(target.data(), target.size(), "wb");
        fwrite(bytes.data(), 1, bytes.size(), out);
        fclose(out);
        benchmark::DoNotOptimize(target.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}

void BM_ReadLargeChunk(benchmark::State &state) {
    readTree(state, largeBytes());
}
void BM_ReadLargeChunkBaseline(benchmark::State &state) {
    plainRead(state, largeBytes());
}

void BM_WriteLargeChunk(benchmark::State &state) {
    IFF_Chunk *tree = largeTree();
    writeTree(state, tree, largeBytes().size());
    IFF_free(tree, nullptr, 0);
}
void BM_WriteLargeChunkBaseline(benchmark::State &state) {
    plainWrite(state, largeBytes());
}

void BM_ReadManyForms(benchmark::State &state) {
    readTree(state, manyFormsBytes(static_cast<unsigned int>(state.range(0))));
}
void BM_ReadManyFormsBaseline(benchmark::State &state) {
    plainRead(state, manyFormsBytes(static_cast<unsigned int>(state.range(0))));
}

void BM_WriteManyForms(benchmark::State &state) {
    const unsigned int forms = static_cast<unsigned int>(state.range(0));
    IFF_Chunk *tree = manyFormsTree(forms);
    writeTree(state, tree, manyFormsBytes(forms).size());
    IFF_free(tree, nullptr, 0);
}
void BM_WriteManyFormsBaseline(benchmark::State &state) {
    plainWrite(state, manyFormsBytes(static_cast<unsigned int>(state.range(0))));
}

void BM_FreeManyForms(benchmark::State &state) {
    for (auto _ : state) {
        state.PauseTiming();
        IFF_Chunk *tree = manyFormsTree(static_cast<unsigned int>(state.range(0)));
        state.ResumeTiming();
        IFF_free(tree, nullptr, 0);
    }
}

// Building the tree in memory with the add operations, and searching it.
void BM_BuildManyForms(benchmark::State &state) {
    for (auto _ : state) {
        IFF_Chunk *tree = manyFormsTree(static_cast<unsigned int>(state.range(0)));
        benchmark::DoNotOptimize(tree);
        IFF_free(tree, nullptr, 0);
    }
}

void BM_SearchManyForms(benchmark::State &state) {
    IFF_Chunk *tree = manyFormsTree(static_cast<unsigned int>(state.range(0)));
    for (auto _ : state) {
        unsigned int count = 0;
        IFF_Form **forms = IFF_searchForms(tree, "ILBM", &count);
        benchmark::DoNotOptimize(forms);
        free(forms);
    }
    IFF_free(tree, nullptr, 0);
}

} // namespace

BENCHMARK(BM_ReadLargeChunkBaseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadLargeChunk)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteLargeChunkBaseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteLargeChunk)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadManyFormsBaseline)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadManyForms)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteManyFormsBaseline)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteManyForms)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FreeManyForms)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildManyForms)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchManyForms)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
