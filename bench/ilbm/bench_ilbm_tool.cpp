// End to end: quillfen-iff raw of a packed 4096 x 2048 x 8 picture (8 MiB of planes) beside
// netpbm's ilbmtoppm decoding the same file, each run as its own process in the same run.
#include "ilbm/byterun.h"
#include "ilbm/ilbm.h"
#include "ilbm/ilbmimage.h"

#include <iff/form.h>
#include <iff/rawchunk.h>

#include <benchmark/benchmark.h>

#include <stdlib.h>
#include <unistd.h>

#include <random>
#include <string>

#ifndef QUILLFEN_IFF_TOOL
#error "QUILLFEN_IFF_TOOL must name the quillfen-iff executable"
#endif

namespace {

constexpr unsigned int kWidth = 4096;
constexpr unsigned int kHeight = 2048;
constexpr unsigned int kPlanes = 8;

char gFolder[] = "/tmp/quillfen-bench-XXXXXX";

std::string folder() {
    static bool made = [] {
        if (mkdtemp(gFolder) == nullptr) {
            return false;
        }
        std::atexit([] { std::system((std::string("rm -rf '") + gFolder + "'").c_str()); });
        return true;
    }();
    (void)made;
    return gFolder;
}

// A packed picture of runs and literals, as drawn pictures give, written once.
const std::string &picture() {
    static std::string path = [] {
        std::string file = folder() + "/picture.iff";
        ILBM_Image *image = ILBM_createImage("ILBM");
        ILBM_BitMapHeader *header = ILBM_createBitMapHeader();
        header->w = kWidth;
        header->h = kHeight;
        header->nPlanes = kPlanes;
        header->xAspect = header->yAspect = 1;
        header->pageWidth = static_cast<IFF_Word>(kWidth);
        header->pageHeight = static_cast<IFF_Word>(kHeight);
        image->bitMapHeader = header;
        image->colorMap = ILBM_generateGrayscaleColorMap(image);

        size_t size = static_cast<size_t>(kWidth) / 8 * kHeight * kPlanes;
        unsigned char *body = static_cast<unsigned char *>(malloc(size));
        std::mt19937 random(1985);
        for (size_t i = 0; i < size;) {
            size_t run = 2 + random() % 39;
            unsigned char value = static_cast<unsigned char>(random());
            for (size_t k = 0; k < run && i < size; k++) {
                body[i++] = value;
            }
            size_t literal = 1 + random() % 40;
            for (size_t k = 0; k < literal && i < size; k++) {
                body[i++] = static_cast<unsigned char>(random());
            }
        }
        image->body = IFF_createRawChunk("BODY");
        IFF_setRawChunkData(image->body, body, static_cast<IFF_Long>(size));
        IFF_Form *form = ILBM_convertImageToForm(image);
        ILBM_packByteRun(image);
        ILBM_write(file.c_str(), reinterpret_cast<IFF_Chunk *>(form));
        ILBM_free(reinterpret_cast<IFF_Chunk *>(form));
        ILBM_freeImage(image);
        return file;
    }();
    return path;
}

void runCommand(benchmark::State &state, const std::string &command) {
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError(("failed: " + command).c_str());
            break;
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kWidth / 8 * kHeight *
                            kPlanes);
}

void BM_QuillfenIffRaw(benchmark::State &state) {
    runCommand(state, std::string(QUILLFEN_IFF_TOOL) + " raw " + picture() + " " + folder() +
                          "/planes.raw");
}

void BM_Ilbmtoppm(benchmark::State &state) {
    if (std::system("command -v ilbmtoppm >/dev/null") != 0) {
        state.SkipWithError("netpbm's ilbmtoppm is not installed");
        return;
    }
    runCommand(state, "ilbmtoppm " + picture() + " >" + folder() + "/picture.ppm 2>/dev/null");
}

} // namespace

// The work is done in child processes: wall-clock time is what counts.
BENCHMARK(BM_QuillfenIffRaw)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_Ilbmtoppm)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
