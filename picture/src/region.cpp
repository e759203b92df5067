#include "picture/region.h"

#include <charconv>
#include <cstdint>

namespace picture {

namespace {

std::string regionText(const Region &region) {
    return std::to_string(region.x) + "," + std::to_string(region.y) + "," +
           std::to_string(region.width) + "," + std::to_string(region.height);
}

// The rows of a region of width x height values, row after row; empty stays empty.
template <typename T>
std::vector<T> cutRows(const std::vector<T> &all, unsigned width, const Region &region) {
    std::vector<T> cut;
    if (all.empty()) {
        return cut;
    }
    cut.reserve(std::size_t{region.width} * region.height);
    for (unsigned y = region.y; y < region.y + region.height; y++) {
        const auto row =
            all.begin() + static_cast<std::ptrdiff_t>(std::size_t{y} * width + region.x);
        cut.insert(cut.end(), row, row + region.width);
    }
    return cut;
}

} // namespace

std::optional<Region> parseRegion(std::string_view text) {
    unsigned values[4] = {};
    const char *at = text.data();
    const char *end = text.data() + text.size();
    for (int i = 0; i < 4; i++) {
        if (i > 0) {
            if (at == end || *at != ',') {
                return std::nullopt;
            }
            ++at;
        }
        // Digits only: from_chars would take a sign.
        if (at == end || *at < '0' || *at > '9') {
            return std::nullopt;
        }
        const std::from_chars_result read = std::from_chars(at, end, values[i]);
        if (read.ec != std::errc()) {
            return std::nullopt;
        }
        at = read.ptr;
    }
    if (at != end) {
        return std::nullopt;
    }
    return Region{values[0], values[1], values[2], values[3]};
}

std::string regionProblem(const Region &region, unsigned width, unsigned height) {
    const std::string name = "The region " + regionText(region);
    if (region.width == 0 || region.height == 0) {
        return name + " is empty: it is " +
               (region.width == 0 ? "0 pixels wide." : "0 pixels tall.");
    }
    if (std::uint64_t{region.x} + region.width > width) {
        return name + " reaches past the picture's right edge (" + std::to_string(width) +
               " pixels wide).";
    }
    if (std::uint64_t{region.y} + region.height > height) {
        return name + " reaches past the picture's bottom edge (" + std::to_string(height) +
               " pixels tall).";
    }
    return {};
}

std::optional<Picture> cutRegion(const Picture &picture, const Region &region, std::string *error) {
    if (std::string problem = regionProblem(region, picture.width, picture.height);
        !problem.empty()) {
        *error = std::move(problem);
        return std::nullopt;
    }
    Picture cut;
    cut.source = picture.source;
    cut.width = region.width;
    cut.height = region.height;
    cut.depth = picture.depth;
    cut.mode = picture.mode;
    cut.viewportMode = picture.viewportMode;
    cut.hasViewportMode = picture.hasViewportMode;
    cut.xAspect = picture.xAspect;
    cut.yAspect = picture.yAspect;
    cut.pixels = cutRows(picture.pixels, picture.width, region);
    cut.deepPixels = cutRows(picture.deepPixels, picture.width, region);
    cut.trueColour = cutRows(picture.trueColour, picture.width, region);
    cut.opacity = cutRows(picture.opacity, picture.width, region);
    cut.palette = picture.palette;
    cut.twelveBitPalette = picture.twelveBitPalette;
    cut.transparentColours = picture.transparentColours;
    for (ColourChange change : picture.colourChanges) {
        if (change.line >= region.y + region.height) {
            break;
        }
        change.line = change.line > region.y ? change.line - region.y : 0;
        cut.colourChanges.push_back(change);
    }
    if ((picture.mode == DisplayMode::Ham6 || picture.mode == DisplayMode::Ham8) && region.x > 0) {
        cut.warnings.push_back("The region starts " + std::to_string(region.x) +
                               (region.x == 1 ? " pixel" : " pixels") +
                               " into the HAM picture's rows: the first pixels of its rows "
                               "modify colours of pixels left out, and show otherwise.");
    }
    return cut;
}

std::string leftOverWarning(unsigned width, unsigned height, const std::string &wholeOf,
                            unsigned count, const std::string &one, const std::string &many,
                            const std::string &verb, unsigned rightOver, unsigned bottomOver) {
    if (rightOver == 0 && bottomOver == 0) {
        return {};
    }
    const auto counted = [](unsigned n, const char *single, const char *plural) {
        return std::to_string(n) + " " + (n == 1 ? single : plural);
    };
    std::string over =
        rightOver > 0 ? counted(rightOver, "pixel", "pixels") + " on the right" : std::string();
    if (bottomOver > 0) {
        over +=
            (over.empty() ? "" : " and ") + counted(bottomOver, "line", "lines") + " at the bottom";
    }
    return "The picture, " + std::to_string(width) + " x " + std::to_string(height) +
           " pixels, is not a whole number of " + wholeOf + "; " + std::to_string(count) +
           " whole " + (count == 1 ? one + " is " : many + " are ") + verb + ", leaving out " +
           over + ".";
}

} // namespace picture
