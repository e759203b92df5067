// Colour reduction by median cut (Heckbert, "Color Image Quantization for Frame Buffer
// Display", 1982), written here rather than taken from a library: the distinct colours, each
// weighted by its pixels, start in one box; the box whose longest side is longest is cut across
// that side at its weighted median until there are as many boxes as colours; each box's colour
// is the weighted mean of its colours, rounded to 12 bits (n x 17 a gun) or to 8.
//
// The choices a user sees:
// - pixels with alpha below 128 are transparent and take colour 0, black, which is kept for them
//   (no other pixel takes it);
// - a picture with no more distinct colours than asked (after rounding to 12 bits when asked)
//   keeps them exactly, numbered in the order they first appear, row by row, left to right;
// - otherwise the map is in the order of the cuts; every pixel takes its nearest colour
//   (straight-line distance in RGB), or with dithering the nearest to its colour plus the error
//   carried to it: Floyd-Steinberg's 7/16 ahead, 3/16 behind below, 5/16 below, 1/16 ahead
//   below, in serpentine order (rows alternately left to right and right to left, which keeps
//   the error from drifting one way); transparent pixels neither take nor pass on error.
#include "picture/reduce.h"

#include "internal.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <unordered_map>

namespace picture {

namespace {

using amiga::Rgb8;

struct Entry {
    std::array<int, 3> rgb;
    std::uint64_t weight;
};

struct Box {
    size_t begin, end; // entries [begin, end)
    int longest = 0;   // 0 red, 1 green, 2 blue
    int extent = 0;    // the longest side's length
};

std::uint8_t twelveBitGun(int value) {
    return static_cast<std::uint8_t>((std::clamp(value, 0, 255) + 8) / 17 * 17);
}

Rgb8 rounded(double red, double green, double blue, bool twelveBit) {
    auto gun = [&](double v) {
        const int nearest = static_cast<int>(std::lround(v));
        return twelveBit ? twelveBitGun(nearest)
                         : static_cast<std::uint8_t>(std::clamp(nearest, 0, 255));
    };
    return {gun(red), gun(green), gun(blue)};
}

std::uint32_t keyOf(Rgb8 c) {
    return std::uint32_t{c.red} << 16 | std::uint32_t{c.green} << 8 | c.blue;
}

void measure(const std::vector<Entry> &entries, Box &box) {
    std::array<int, 3> low{255, 255, 255}, high{0, 0, 0};
    for (size_t i = box.begin; i < box.end; i++) {
        for (int g = 0; g < 3; g++) {
            low[g] = std::min(low[g], entries[i].rgb[g]);
            high[g] = std::max(high[g], entries[i].rgb[g]);
        }
    }
    box.longest = 0;
    for (int g = 1; g < 3; g++) {
        if (high[g] - low[g] > high[box.longest] - low[box.longest]) {
            box.longest = g;
        }
    }
    box.extent = high[box.longest] - low[box.longest];
}

// Median cut of the entries into at most `wanted` boxes; their weighted means, rounded.
std::vector<Rgb8> medianCut(std::vector<Entry> &entries, unsigned wanted, bool twelveBit) {
    std::vector<Box> boxes{{0, entries.size()}};
    measure(entries, boxes[0]);
    while (boxes.size() < wanted) {
        // The box with the longest side; of equal ones, the first.
        size_t chosen = boxes.size();
        for (size_t b = 0; b < boxes.size(); b++) {
            if (boxes[b].end - boxes[b].begin > 1 &&
                (chosen == boxes.size() || boxes[b].extent > boxes[chosen].extent)) {
                chosen = b;
            }
        }
        if (chosen == boxes.size() || boxes[chosen].extent == 0) {
            break;
        }
        Box box = boxes[chosen];
        const int axis = box.longest;
        // The weighted median along the axis, by a histogram of the box's weight on it: the
        // lowest value at which half the weight is reached ends the lower box. Colours of one
        // value stay together; the top value, when it is the median, goes to the upper box.
        std::array<std::uint64_t, 256> weightAt{};
        int top = 0;
        std::uint64_t total = 0;
        for (size_t i = box.begin; i < box.end; i++) {
            weightAt[entries[i].rgb[axis]] += entries[i].weight;
            top = std::max(top, entries[i].rgb[axis]);
            total += entries[i].weight;
        }
        std::uint64_t running = 0;
        int median = 0;
        for (int v = 0; v < 256; v++) {
            running += weightAt[v];
            if (weightAt[v] != 0) {
                if (v == top) {
                    break;
                }
                median = v;
            }
            if (2 * running >= total) {
                break;
            }
        }
        const auto middle =
            std::partition(entries.begin() + static_cast<std::ptrdiff_t>(box.begin),
                           entries.begin() + static_cast<std::ptrdiff_t>(box.end),
                           [axis, median](const Entry &e) { return e.rgb[axis] <= median; });
        const size_t cut = static_cast<size_t>(middle - entries.begin());
        Box lower{box.begin, cut}, upper{cut, box.end};
        measure(entries, lower);
        measure(entries, upper);
        boxes[chosen] = lower;
        boxes.push_back(upper);
    }
    std::vector<Rgb8> palette;
    for (const Box &box : boxes) {
        double sum[3] = {0, 0, 0};
        double weight = 0;
        for (size_t i = box.begin; i < box.end; i++) {
            for (int g = 0; g < 3; g++) {
                sum[g] += static_cast<double>(entries[i].rgb[g]) * entries[i].weight;
            }
            weight += static_cast<double>(entries[i].weight);
        }
        palette.push_back(rounded(sum[0] / weight, sum[1] / weight, sum[2] / weight, twelveBit));
    }
    return palette;
}

// The nearest colour of the map from `first` on (of equally near ones, the lowest number). The
// colour cube is cut into cells of 8 x 8 x 8; the first time a colour of a cell is asked for,
// the cell keeps the colours of the map that can be nearest to any point of it: those no farther
// from the cell than the least of every colour's distance to the cell's farthest corner.
class Nearest {
public:
    Nearest(const std::vector<Rgb8> &palette, unsigned first)
        : palette_(palette), first_(first), cells_(kCells * kCells * kCells, -1) {}

    unsigned operator()(int red, int green, int blue) {
        const int cell = ((red >> kShift) * kCells + (green >> kShift)) * kCells + (blue >> kShift);
        if (cells_[cell] < 0) {
            fill(cell, red >> kShift, green >> kShift, blue >> kShift);
        }
        const std::uint8_t *candidate = pool_.data() + cells_[cell];
        const unsigned count = *candidate++ + 1u;
        unsigned best = candidate[0];
        long bestDistance = -1;
        for (unsigned k = 0; k < count; k++) {
            const Rgb8 &c = palette_[candidate[k]];
            const long dr = red - c.red, dg = green - c.green, db = blue - c.blue;
            const long distance = dr * dr + dg * dg + db * db;
            if (bestDistance < 0 || distance < bestDistance) {
                bestDistance = distance;
                best = candidate[k];
            }
        }
        return best;
    }

private:
    static constexpr int kShift = 3;
    static constexpr int kCells = 256 >> kShift;
    static constexpr int kSide = 1 << kShift;

    // The square of the nearest and the farthest distance of a gun value from [low, low+side).
    static void span(int value, int low, long *nearest, long *farthest) {
        const int high = low + kSide - 1;
        const long below = value < low ? low - value : value > high ? value - high : 0;
        const long far = std::max(std::abs(value - low), std::abs(value - high));
        *nearest += below * below;
        *farthest += far * far;
    }

    void fill(int cell, int r, int g, int b) {
        const unsigned size = static_cast<unsigned>(palette_.size());
        std::vector<long> nearest(size, 0), farthest(size, 0);
        long bound = -1;
        for (unsigned i = first_; i < size; i++) {
            span(palette_[i].red, r * kSide, &nearest[i], &farthest[i]);
            span(palette_[i].green, g * kSide, &nearest[i], &farthest[i]);
            span(palette_[i].blue, b * kSide, &nearest[i], &farthest[i]);
            bound = bound < 0 ? farthest[i] : std::min(bound, farthest[i]);
        }
        cells_[cell] = static_cast<std::int32_t>(pool_.size());
        pool_.push_back(0); // the count less one, set below
        for (unsigned i = first_; i < size; i++) {
            if (nearest[i] <= bound) {
                pool_.push_back(static_cast<std::uint8_t>(i));
            }
        }
        pool_[static_cast<size_t>(cells_[cell])] =
            static_cast<std::uint8_t>(pool_.size() - static_cast<size_t>(cells_[cell]) - 2);
    }

    const std::vector<Rgb8> &palette_;
    unsigned first_;
    std::vector<std::int32_t> cells_; // where each cell's candidates start in pool_, or -1
    std::vector<std::uint8_t> pool_;  // for each cell: the count less one, then the numbers
};

unsigned planesFor(size_t colours) {
    unsigned planes = 1;
    while ((size_t{1} << planes) < colours) {
        planes++;
    }
    return planes;
}

} // namespace

namespace {

// Whether an indexed picture's colour numbers and colour map are within the colours asked for:
// such a picture is kept as it is.
bool fits(const Picture &picture, unsigned colours) {
    if (picture.pixels.empty() || picture.mode != DisplayMode::Indexed ||
        picture.palette.size() > colours) {
        return false;
    }
    return std::all_of(picture.pixels.begin(), picture.pixels.end(),
                       [colours](std::uint8_t pixel) { return pixel < colours; });
}

// Whether pixel i is transparent by the picture's own mask plane or transparent colours.
bool ownTransparent(const Picture &picture, size_t i) {
    if (!picture.opacity.empty()) {
        return i < picture.opacity.size() && picture.opacity[i] == 0;
    }
    const std::uint32_t value = !picture.deepPixels.empty() ? picture.deepPixels[i]
                                : i < picture.pixels.size() ? picture.pixels[i]
                                                            : 0;
    return std::find(picture.transparentColours.begin(), picture.transparentColours.end(), value) !=
           picture.transparentColours.end();
}

} // namespace

Picture reduce(const Picture &picture, const Reduction &reduction) {
    if (fits(picture, reduction.colours)) {
        return picture;
    }
    const size_t count = size_t{picture.width} * picture.height;
    // The colours to reduce, with alpha: a PNG's own, or the colours any other picture shows,
    // its own transparent pixels (mask plane or transparent colours) clear.
    std::vector<Rgba8> colours = picture.trueColour;
    if (colours.size() != count) {
        colours.assign(count, Rgba8{});
        const std::vector<Rgb8> shown = render(picture);
        for (size_t i = 0; i < count && i < shown.size(); i++) {
            colours[i] = {shown[i].red, shown[i].green, shown[i].blue,
                          static_cast<std::uint8_t>(ownTransparent(picture, i) ? 0 : 255)};
        }
    }
    const unsigned asked = std::clamp(reduction.colours, 2u, 256u);
    const bool twelveBit = reduction.twelveBit;
    auto target = [&](const Rgba8 &c) {
        return twelveBit ? Rgb8{twelveBitGun(c.red), twelveBitGun(c.green), twelveBitGun(c.blue)}
                         : Rgb8{c.red, c.green, c.blue};
    };

    // The distinct colours in the order they first appear, with their pixel counts; past
    // kMostDistinct of them, the colours of each cell of 8 x 8 x 8 are taken together as their
    // mean, weighted by the pixels of the cell (Heckbert's 5 bits a gun), which keeps the cuts
    // quick on a photograph of a million colours.
    constexpr size_t kMostDistinct = 1u << 16;
    bool anyTransparent = false;
    bool overflow = false;
    std::unordered_map<std::uint32_t, std::uint32_t> index;
    std::vector<Rgb8> distinct;
    std::vector<std::uint64_t> weights;
    for (const Rgba8 &c : colours) {
        if (c.alpha < 128) {
            anyTransparent = true;
            continue;
        }
        if (overflow) {
            continue;
        }
        const Rgb8 t = target(c);
        auto [at, added] = index.emplace(keyOf(t), static_cast<std::uint32_t>(distinct.size()));
        if (added) {
            distinct.push_back(t);
            weights.push_back(0);
            overflow = distinct.size() > kMostDistinct;
        }
        weights[at->second]++;
    }
    if (overflow) {
        index.clear();
        std::vector<std::array<std::uint64_t, 4>> cells(1u << 15, {0, 0, 0, 0});
        for (const Rgba8 &c : colours) {
            if (c.alpha >= 128) {
                const Rgb8 t = target(c);
                auto &cell = cells[(t.red >> 3) << 10 | (t.green >> 3) << 5 | t.blue >> 3];
                cell[0] += t.red;
                cell[1] += t.green;
                cell[2] += t.blue;
                cell[3]++;
            }
        }
        distinct.clear();
        weights.clear();
        for (const auto &cell : cells) {
            if (cell[3] != 0) {
                const double n = static_cast<double>(cell[3]);
                distinct.push_back(rounded(static_cast<double>(cell[0]) / n,
                                           static_cast<double>(cell[1]) / n,
                                           static_cast<double>(cell[2]) / n, false));
                weights.push_back(cell[3]);
            }
        }
    }

    Picture out;
    out.source = picture.source;
    out.width = picture.width;
    out.height = picture.height;
    out.mode = DisplayMode::Indexed;
    out.viewportMode = picture.viewportMode & ~std::uint32_t{0x880};
    out.warnings = picture.warnings;
    out.pixels.assign(count, 0);

    // Colour 0, black, is kept for the transparent pixels when there are any.
    const unsigned first = anyTransparent ? 1 : 0;
    if (anyTransparent) {
        out.palette.push_back(Rgb8{});
    }
    const unsigned room = asked - first;

    std::vector<std::uint32_t> numberOf(distinct.size());
    const bool exact = !overflow && distinct.size() <= room;
    if (exact) {
        for (size_t i = 0; i < distinct.size(); i++) {
            numberOf[i] = static_cast<std::uint32_t>(out.palette.size());
            out.palette.push_back(distinct[i]);
        }
    } else {
        std::vector<Entry> entries;
        entries.reserve(distinct.size());
        for (size_t i = 0; i < distinct.size(); i++) {
            entries.push_back({{distinct[i].red, distinct[i].green, distinct[i].blue}, weights[i]});
        }
        for (const Rgb8 &c : medianCut(entries, room, twelveBit)) {
            out.palette.push_back(c);
        }
    }

    if (exact) {
        for (size_t i = 0; i < count; i++) {
            const Rgba8 &c = colours[i];
            out.pixels[i] =
                c.alpha < 128 ? 0 : static_cast<std::uint8_t>(numberOf[index[keyOf(target(c))]]);
        }
    } else if (!reduction.dither) {
        Nearest nearest(out.palette, first);
        for (size_t i = 0; i < count; i++) {
            const Rgba8 &c = colours[i];
            out.pixels[i] =
                c.alpha < 128 ? 0 : static_cast<std::uint8_t>(nearest(c.red, c.green, c.blue));
        }
    } else {
        Nearest nearest(out.palette, first);
        const unsigned width = picture.width;
        // The error carried to this row and the next, a pixel either side as a margin.
        std::vector<std::array<float, 3>> thisRow(width + 2), nextRow(width + 2);
        for (unsigned y = 0; y < picture.height; y++) {
            std::fill(nextRow.begin(), nextRow.end(), std::array<float, 3>{0, 0, 0});
            const bool leftToRight = y % 2 == 0;
            const int step = leftToRight ? 1 : -1;
            for (unsigned n = 0; n < width; n++) {
                const unsigned x = leftToRight ? n : width - 1 - n;
                const size_t i = size_t{y} * width + x;
                const Rgba8 &c = colours[i];
                if (c.alpha < 128) {
                    out.pixels[i] = 0;
                    continue;
                }
                const std::array<float, 3> &carried = thisRow[x + 1];
                const int wanted[3] = {
                    std::clamp(static_cast<int>(std::lround(c.red + carried[0])), 0, 255),
                    std::clamp(static_cast<int>(std::lround(c.green + carried[1])), 0, 255),
                    std::clamp(static_cast<int>(std::lround(c.blue + carried[2])), 0, 255)};
                const unsigned chosen = nearest(wanted[0], wanted[1], wanted[2]);
                out.pixels[i] = static_cast<std::uint8_t>(chosen);
                const Rgb8 &got = out.palette[chosen];
                // The error of the colour wanted, within 0-255, so that it cannot grow without
                // end where the map's colours do not reach.
                const float error[3] = {static_cast<float>(wanted[0] - got.red),
                                        static_cast<float>(wanted[1] - got.green),
                                        static_cast<float>(wanted[2] - got.blue)};
                const size_t ahead = x + 1 + step, behind = x + 1 - step;
                for (int g = 0; g < 3; g++) {
                    thisRow[ahead][g] += error[g] * 7 / 16;
                    nextRow[behind][g] += error[g] * 3 / 16;
                    nextRow[x + 1][g] += error[g] * 5 / 16;
                    nextRow[ahead][g] += error[g] * 1 / 16;
                }
            }
            std::swap(thisRow, nextRow);
        }
    }

    if (anyTransparent) {
        out.transparentColours = {0};
    }
    out.depth = planesFor(out.palette.size());
    out.twelveBitPalette = twelveBit || detail::storesTwelveBit(out.palette);
    return out;
}

} // namespace picture
