// The readers of palette changes on any bytes as a chunk's data: the SHAM reader (FUZZ_SHAM) or
// the PCHG reader (FUZZ_PCHG), for a picture of the height (and, for SHAM, interlace) the first
// two bytes give. What they give must be a picture's changes: in line order, on lines the picture
// has, to registers the Amiga has (0-15 for SHAM); a chunk refused must say why.
#include "picture/linecolours.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>

namespace {

[[noreturn]] void fail(const char *what) {
    fprintf(stderr, "%s\n", what);
    abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 2) {
        return 0;
    }
    const unsigned height = 1 + (data[0] << 8 | data[1]) % 1024;
    const std::span<const std::uint8_t> chunk(data + 2, size - 2);
    std::string error;
#ifdef FUZZ_SHAM
    const std::vector<amiga::Rgb8> palette(8, amiga::Rgb8{1, 2, 3});
    const auto changes = picture::readSham(chunk, palette, height, (data[0] & 0x80) != 0, &error);
    const unsigned registers = 16;
#else
    const auto changes = picture::readPchg(chunk, height, &error);
    const unsigned registers = 256;
#endif
    if (!changes) {
        if (error.empty()) {
            fail("a refused chunk has no message");
        }
        return 0;
    }
    for (size_t i = 0; i < changes->size(); i++) {
        const picture::ColourChange &change = (*changes)[i];
        if (change.line >= height || change.colourRegister >= registers) {
            fail("a change is outside the picture's lines or the registers");
        }
        if (i > 0 && change.line < (*changes)[i - 1].line) {
            fail("the changes are not in line order");
        }
    }
    return 0;
}
