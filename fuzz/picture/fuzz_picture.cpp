// Reads any bytes as a picture, the way the window and quillfen-iff do, then uses what was read:
// shows it, works out its transparency, reduces a true-colour picture, and writes a picture of
// colour numbers as an ILBM, which must read back with the same colour numbers, colour map (the
// padding aside), display mode and transparency. Nothing read may be inconsistent, and a file
// refused must say why.
#include "picture/picture.h"
#include "picture/reduce.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

[[noreturn]] void fail(const char *what) {
    fprintf(stderr, "%s\n", what);
    abort();
}

void writeAndReadBack(const picture::Picture &p) {
    std::string error;
    const std::vector<std::uint8_t> bytes = picture::ilbmBytes(p, &error);
    if (bytes.empty()) {
        fail("a picture of colour numbers cannot be written as an ILBM");
    }
    const auto back = picture::readPicture(bytes, &error);
    if (!back) {
        fail("an ILBM written here does not read back");
    }
    if (back->pixels != p.pixels || back->width != p.width || back->height != p.height) {
        fail("an ILBM written here reads back to other colour numbers");
    }
    const size_t kept = p.palette.size() < 256 ? p.palette.size() : 256;
    if (back->palette.size() < kept) {
        fail("an ILBM written here lost colours of its map");
    }
    for (size_t i = 0; i < back->palette.size(); i++) {
        const amiga::Rgb8 expected = i < kept ? p.palette[i] : amiga::Rgb8{};
        if (!(back->palette[i] == expected)) {
            fail("an ILBM written here reads back to another colour map");
        }
    }
    if (back->mode != p.mode) {
        fail("an ILBM written here reads back in another display mode");
    }
    if (!p.opacity.empty() && back->opacity != p.opacity) {
        bool same = back->opacity.size() == p.opacity.size();
        for (size_t i = 0; same && i < p.opacity.size(); i++) {
            same = (back->opacity[i] != 0) == (p.opacity[i] != 0);
        }
        if (!same) {
            fail("an ILBM written here reads back with another mask");
        }
    }
}

// The input written to a scratch file of this process, named with the suffix; its path.
std::string writtenToAFile(const std::vector<std::uint8_t> &bytes, const char *suffix) {
    const std::string path =
        std::string(P_tmpdir) + "/fuzz-picture-" + std::to_string(getpid()) + suffix;
    FILE *file = fopen(path.c_str(), "wb");
    if (file == nullptr || fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size() ||
        fclose(file) != 0) {
        fail("the input cannot be written to a file");
    }
    return path;
}

// An IFF file read again from its file, its bodies a piece at a time, must give what its bytes
// gave.
void readFromTheFile(const std::vector<std::uint8_t> &bytes,
                     const std::optional<picture::Picture> &read, const std::string &error) {
    const std::string path = writtenToAFile(bytes, ".iff");
    std::string again;
    const auto fromFile = picture::readPicture(std::vector<std::uint8_t>(bytes), &again, 0, path);
    if (fromFile.has_value() != read.has_value() || (!read && again != error) ||
        (read && (fromFile->pixels != read->pixels || fromFile->deepPixels != read->deepPixels ||
                  fromFile->opacity != read->opacity || fromFile->warnings != read->warnings))) {
        fail("an IFF file read from its file gives another picture than its bytes");
    }
}

// A PNG reduced while it is read (a true-colour one decoded twice a row at a time), the second
// time from its bytes or from its file, must give what reducing the picture read whole gives,
// or the same refusal.
void reducedWhileRead(const std::vector<std::uint8_t> &bytes,
                      const std::optional<picture::Picture> &read, const std::string &error) {
    const std::string path = writtenToAFile(bytes, ".png");
    const picture::Reduction reduction{16, false, picture::Dither::Diffuse};
    const std::optional<picture::Picture> whole =
        read ? std::optional(picture::reduce(*read, reduction)) : std::nullopt;
    for (const std::string &from : {std::string(), path}) {
        std::string again;
        const auto reduced = picture::readReducedPicture(std::vector<std::uint8_t>(bytes),
                                                         reduction, &again, 0, from);
        if (reduced.has_value() != read.has_value() || (!read && again != error) ||
            (read && (reduced->pixels != whole->pixels || reduced->palette != whole->palette ||
                      reduced->warnings != whole->warnings ||
                      reduced->transparentColours != whole->transparentColours))) {
            fail("a PNG reduced while read gives another picture than the PNG read whole");
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const std::vector<std::uint8_t> bytes(data, data + size);
    std::string error;
    const auto read = picture::readPicture(bytes, &error);
    if (size >= 4 && (memcmp(data, "FORM", 4) == 0 || memcmp(data, "LIST", 4) == 0 ||
                      memcmp(data, "CAT ", 4) == 0)) {
        readFromTheFile(bytes, read, error);
    }
    if (size >= 8 && memcmp(data, "\x89PNG", 4) == 0 &&
        (!read || size_t{read->width} * read->height <= 4096)) {
        reducedWhileRead(bytes, read, error);
    }
    if (!read) {
        if (error.empty()) {
            fail("a refused file has no message");
        }
        return 0;
    }
    const picture::Picture &p = *read;
    const size_t count = size_t{p.width} * p.height;
    if (count == 0 || (p.pixels.size() != count && p.deepPixels.size() != count &&
                       p.trueColour.size() != count)) {
        fail("a picture read has no pixels or the wrong number of them");
    }
    if (!p.opacity.empty() && p.opacity.size() != count) {
        fail("a picture's mask is not one byte a pixel");
    }
    if (picture::render(p).size() != count) {
        fail("a picture is not shown whole");
    }
    const std::vector<std::uint8_t> opacity = picture::opacityOf(p);
    if (!opacity.empty() && opacity.size() != count) {
        fail("a picture's opacity is not one byte a pixel");
    }
    if (!p.pixels.empty()) {
        writeAndReadBack(p);
    } else if (count <= 4096) {
        for (picture::Dither dither :
             {picture::Dither::None, picture::Dither::Diffuse, picture::Dither::Ordered}) {
            const picture::Picture reduced =
                picture::reduce(p, {16, dither != picture::Dither::None, dither});
            if (reduced.pixels.size() != count || reduced.palette.empty() ||
                reduced.palette.size() > 16) {
                fail("a reduced picture has the wrong pixels or colour map");
            }
            for (std::uint8_t v : reduced.pixels) {
                if (v >= reduced.palette.size()) {
                    fail("a reduced picture has a colour number past its map");
                }
            }
            writeAndReadBack(reduced);
        }
    }
    return 0;
}
