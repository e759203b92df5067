// What the picture library's sources share: the readers of each kind of file and the limits
// that keep a hostile file from taking all memory.
#pragma once

#include "picture/picture.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace picture::detail {

// The largest picture read: 16384 pixels a side, 256 Mi pixels in all (a 16384 x 16384 picture
// of 4-byte colours takes 1 GiB already).
constexpr unsigned kMaxSide = 16384;
constexpr std::uint64_t kMaxPixels = std::uint64_t{1} << 28;

// The sentence for a picture over the limits, or empty when it is within them.
std::string sizeProblem(const char *kind, std::uint64_t width, std::uint64_t height);

bool isPng(const std::vector<std::uint8_t> &bytes);
std::optional<Picture> readPng(const std::vector<std::uint8_t> &bytes, std::string *error);
// With `release`, the bytes (*release) are released once read into chunks; with `file` too
// (the file they were read from), a packed body is read from there again a piece at a time.
std::optional<Picture> readIff(const std::vector<std::uint8_t> &bytes, std::string *error,
                               unsigned index, std::vector<std::uint8_t> *release = nullptr,
                               std::FILE *file = nullptr);
std::vector<PictureSummary> iffPictures(const std::vector<std::uint8_t> &bytes);
// The first CMAP of the file's ILBM, ACBM or PBM forms, with or without a bitmap: no colours
// when none of those forms has one; nothing when the bytes are not an IFF file holding such a
// form.
std::optional<std::vector<amiga::Rgb8>> iffColourMap(const std::vector<std::uint8_t> &bytes,
                                                     unsigned index);

// Whether every gun of the map is a 12-bit colour's: its low nibble equal to its high nibble
// (n x 17) or zero (n << 4). False for an empty map.
bool storesTwelveBit(const std::vector<amiga::Rgb8> &palette);

// Grey levels from black to white, `levels` of them (at least 2).
std::vector<amiga::Rgb8> greyLevels(unsigned levels);

// The file the bytes were read from, open again for reading, when it is a plain file of as
// many bytes; else null (no path, the standard input, a pipe or a device, a file since changed).
std::FILE *openAgain(const std::string &path, std::size_t size);

// The picture as render shows it, a line at a time, top to bottom: each line of width colours
// handed to `each` (valid only during the call).
void renderRows(const Picture &picture,
                const std::function<void(unsigned y, const amiga::Rgb8 *line)> &each);

// The colours of a picture to reduce, a row at a time: a pass hands each row of width colours
// to `row` in order, top to bottom (valid only during the call), and answers whether every row
// was read. A pass can be made more than once and gives the same rows each time.
using ColourRow = std::function<void(const Rgba8 *row, unsigned width)>;
using ColourPass = std::function<bool(const ColourRow &row)>;

// A true-colour PNG that is not interlaced, read a row at a time: *header as readPng gives the
// picture but without its colours, then each row (RGBA) to `row`. From the bytes, or from the
// file when it is given (read from its start). False with *error set as readPng sets it; with
// *whole set instead (and no error) for a PNG that is not such a picture, which is read whole.
bool readPngRows(const std::vector<std::uint8_t> &bytes, std::FILE *file, Picture *header,
                 std::string *error, bool *whole, const ColourRow &row);

} // namespace picture::detail
