// The picture record: reading by the file's kind, what transparency a picture has, and its
// names for the user.
#include "picture/picture.h"

#include "internal.h"
#include "picture/files.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace picture {

namespace detail {

std::string sizeProblem(const char *kind, std::uint64_t width, std::uint64_t height) {
    if (width == 0 || height == 0) {
        return std::string("the ") + kind + " picture has no pixels (" + std::to_string(width) +
               " x " + std::to_string(height) + ")";
    }
    if (width > kMaxSide || height > kMaxSide || width * height > kMaxPixels) {
        return std::string("the ") + kind + " picture is " + std::to_string(width) + " x " +
               std::to_string(height) + " pixels, larger than the " + std::to_string(kMaxSide) +
               " x " + std::to_string(kMaxSide) + " that are read";
    }
    return {};
}

bool storesTwelveBit(const std::vector<amiga::Rgb8> &palette) {
    auto twelve = [](std::uint8_t gun) { return (gun & 0xf) == 0 || (gun & 0xf) == gun >> 4; };
    return !palette.empty() && std::all_of(palette.begin(), palette.end(), [&](amiga::Rgb8 c) {
        return twelve(c.red) && twelve(c.green) && twelve(c.blue);
    });
}

std::vector<amiga::Rgb8> greyLevels(unsigned levels) {
    std::vector<amiga::Rgb8> map(levels);
    for (unsigned i = 0; i < levels; i++) {
        const auto level = static_cast<std::uint8_t>(i * 255 / (levels - 1));
        map[i] = {level, level, level};
    }
    return map;
}

} // namespace detail

unsigned Picture::colourCount() const {
    return depth >= 8 ? 256u : 1u << depth;
}

std::string_view sourceName(Source source) {
    switch (source) {
    case Source::Ilbm:
        return "ILBM";
    case Source::Acbm:
        return "ACBM";
    case Source::Pbm:
        return "PBM";
    case Source::Png:
        break;
    }
    return "PNG";
}

std::string describeMode(const Picture &picture) {
    switch (picture.mode) {
    case DisplayMode::Indexed:
        return "indexed";
    case DisplayMode::ExtraHalfbrite:
        return "EHB";
    case DisplayMode::Ham6:
        return "HAM6";
    case DisplayMode::Ham8:
        return "HAM8";
    case DisplayMode::TrueColour:
        break;
    }
    return picture.depth == 32 ? "32-bit" : "24-bit";
}

std::FILE *detail::openAgain(const std::string &path, std::size_t size) {
    if (path.empty() || path == "-") {
        return nullptr;
    }
    // Not blocking: a FIFO opened for reading waits for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat status {};
    if (fd < 0) {
        return nullptr;
    }
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) ||
        static_cast<std::uint64_t>(status.st_size) != size) {
        ::close(fd);
        return nullptr;
    }
    std::FILE *file = ::fdopen(fd, "rb");
    if (file == nullptr) {
        ::close(fd);
    }
    return file;
}

namespace {

// With `release`, the bytes are released as soon as they are no longer needed.
std::optional<Picture> readBytes(const std::vector<std::uint8_t> &bytes, std::string *error,
                                 unsigned index, std::vector<std::uint8_t> *release,
                                 const std::string &path) {
    std::string problem;
    std::optional<Picture> picture;
    if (bytes.empty()) {
        problem = "the file is empty";
    } else if (detail::isPng(bytes)) {
        if (index == 0) {
            picture = detail::readPng(bytes, &problem);
        } else {
            problem = "a PNG holds one picture, there is no picture " + std::to_string(index + 1);
        }
    } else if (const std::string kind = otherKindOf(bytes); !kind.empty()) {
        problem = "it is " + kind + ", not a PNG or IFF picture";
    } else {
        std::FILE *file = release != nullptr ? detail::openAgain(path, bytes.size()) : nullptr;
        picture = detail::readIff(bytes, &problem, index, release, file);
        if (file != nullptr) {
            std::fclose(file);
        }
    }
    if (!picture && error != nullptr) {
        *error = problem;
    }
    return picture;
}

} // namespace

std::optional<Picture> readPicture(const std::vector<std::uint8_t> &bytes, std::string *error,
                                   unsigned index) {
    return readBytes(bytes, error, index, nullptr, {});
}

std::optional<Picture> readPicture(std::vector<std::uint8_t> &&bytes, std::string *error,
                                   unsigned index, const std::string &path) {
    return readBytes(bytes, error, index, &bytes, path);
}

namespace {

// A reader of a file's bytes applied to a file: the error names the file.
template <typename Result, typename Read>
std::optional<Result> readFile(const std::string &path, std::string *error, Read read) {
    std::vector<std::uint8_t> bytes;
    const std::string name = fileName(path);
    std::string problem;
    if (!readWholeFile(path, ReadLimit{}, &bytes, &problem)) {
        if (error != nullptr) {
            *error = problem;
        }
        return std::nullopt;
    }
    std::optional<Result> result = read(bytes, &problem);
    if (!result && error != nullptr) {
        *error = name + ": " + problem + ".";
    }
    return result;
}

} // namespace

std::optional<Picture> readPictureFile(const std::string &path, std::string *error,
                                       unsigned index) {
    return readFile<Picture>(path, error, [index, &path](auto &bytes, std::string *problem) {
        return readPicture(std::move(bytes), problem, index, path);
    });
}

std::optional<std::vector<amiga::Rgb8>> readColourMap(const std::vector<std::uint8_t> &bytes,
                                                      std::string *error, unsigned index) {
    std::string problem;
    if (std::optional<Picture> picture = readPicture(bytes, &problem, index)) {
        if (!picture->palette.empty()) {
            return std::move(picture->palette);
        }
        problem = picture->isTrueColour() ? "the true-colour picture has no colour map"
                                          : "the picture has no colour map";
    } else if (!detail::isPng(bytes)) {
        // A palette saved alone is no picture, but its colour map is what is asked for.
        if (std::optional<std::vector<amiga::Rgb8>> colours = detail::iffColourMap(bytes, index)) {
            if (!colours->empty()) {
                return colours;
            }
            problem = index == 0 ? "its pictures have no colour map (CMAP)"
                                 : "its picture " + std::to_string(index + 1) +
                                       " has no colour map (CMAP)";
        }
    }
    if (error != nullptr) {
        *error = problem;
    }
    return std::nullopt;
}

std::optional<std::vector<amiga::Rgb8>> readColourMapFile(const std::string &path,
                                                          std::string *error, unsigned index) {
    return readFile<std::vector<amiga::Rgb8>>(path, error,
                                              [index](const auto &bytes, std::string *problem) {
                                                  return readColourMap(bytes, problem, index);
                                              });
}

std::vector<PictureSummary> listPictures(const std::vector<std::uint8_t> &bytes) {
    if (bytes.empty()) {
        return {};
    }
    if (detail::isPng(bytes)) {
        std::string ignored;
        const std::optional<Picture> png = detail::readPng(bytes, &ignored);
        if (!png) {
            return {};
        }
        return {{Source::Png, png->width, png->height, png->depth,
                 static_cast<unsigned>(png->palette.size())}};
    }
    return detail::iffPictures(bytes);
}

std::vector<std::uint8_t> opacityOf(const Picture &picture,
                                    std::optional<unsigned> transparentColour) {
    const bool deep = picture.pixels.empty();
    if (deep && picture.deepPixels.empty()) {
        return {};
    }
    const size_t count = deep ? picture.deepPixels.size() : picture.pixels.size();
    auto value = [&](size_t i) -> std::uint32_t {
        return deep ? picture.deepPixels[i] : picture.pixels[i];
    };
    std::vector<std::uint8_t> opacity(count);
    if (!transparentColour && picture.opacity.size() == count) {
        for (size_t i = 0; i < count; i++) {
            opacity[i] = picture.opacity[i] != 0 ? 255 : 0;
        }
        return opacity;
    }
    std::vector<unsigned> transparent;
    if (transparentColour) {
        transparent.push_back(*transparentColour);
    } else if (!picture.transparentColours.empty()) {
        transparent = picture.transparentColours;
    } else {
        transparent.push_back(0);
    }
    for (size_t i = 0; i < count; i++) {
        const bool clear =
            std::find(transparent.begin(), transparent.end(), value(i)) != transparent.end();
        opacity[i] = clear ? 0 : 255;
    }
    return opacity;
}

unsigned countColours(const Picture &picture, unsigned limit) {
    // One bit for each of the 2^24 colours.
    std::vector<std::uint64_t> seen((1u << 24) / 64, 0);
    unsigned count = 0;
    auto add = [&](std::uint32_t rgb) {
        std::uint64_t &word = seen[rgb >> 6];
        const std::uint64_t bit = std::uint64_t{1} << (rgb & 63);
        if ((word & bit) == 0) {
            word |= bit;
            count++;
        }
        return count < limit;
    };
    if (!picture.trueColour.empty()) {
        for (const Rgba8 &c : picture.trueColour) {
            if (c.alpha >= 128 && !add(std::uint32_t{c.red} << 16 | c.green << 8 | c.blue)) {
                break;
            }
        }
        return std::min(count, limit);
    }
    for (const amiga::Rgb8 &c : render(picture)) {
        if (!add(std::uint32_t{c.red} << 16 | c.green << 8 | c.blue)) {
            break;
        }
    }
    return std::min(count, limit);
}

} // namespace picture
