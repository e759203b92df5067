// Colour reduction, written here rather than taken from a library, in three steps:
//
// 1. A first map by cuts (after Wan, Wong and Prusinkiewicz, "Variance-based color space
//    quantization for frame buffer display", 1988): the distinct colours, each weighted by its
//    pixels, start in one box; the box of the greatest squared error about its mean is cut
//    across the gun of the greatest error, between the two values where the halves' squared
//    errors add up to the least, until there are as many boxes as colours; each box's colour is
//    its weighted mean.
// 2. Lloyd's iteration (k-means) refines it: every colour of the picture goes to its nearest
//    colour of the map, each colour of the map moves to the weighted mean of the colours that
//    went to it, until none moves (or after kRounds rounds). A colour of the map that no colour
//    goes to, or that another already is, moves to the colour of the picture served worst (its
//    pixels times its squared distance). Jumps follow (improveByJumps): the colour the map misses
//    least moves to the colour served worst and the map is refined again, kept when the error
//    is less; they find maps 0.1-0.4 dB better at 16 and 32 colours than the iteration alone.
//    For OCS/ECS that map is moved onto the 12-bit lattice, and so are the cuts made there, and
//    both are refined there (the better kept), the map's colours on the lattice all the while: each
//    gun a whole n x 17, the lattice point nearest the mean, which for the colours that went to it
//    is the best 12-bit colour there is (a gun's squared error is least at the multiple of 17
//    nearest its mean); a search of the lattice points around each colour of the map
//    (searchLattice) follows: the 12-bit map is chosen among 12-bit colours, not rounded to them
//    afterwards. Maps of up to 32 colours are searched wider (more starts, drawn by k-means++,
//    and hops around the best map; see reduce()). Distances are straight lines in RGB: the same
//    iteration in OKLab scored 0.3-0.9 dB lower PSNR at 16 and 32 colours, and up to 0.5 dB at 256,
//    on the pictures measured with bench/picture/psnr_table.cpp.
// 3. Every pixel takes its nearest colour: plainly, or with Floyd-Steinberg error diffusion, or
//    with an ordered (Bayer 8 x 8) dither that depends on the pixel's place alone, so that what
//    does not change between the frames of an animation does not flicker.
//
// The choices a user sees:
// - pixels with alpha below 128 are transparent and take colour 0, black, which is kept for them
//   (no other pixel takes it);
// - a picture with no more distinct colours than asked (after rounding to 12 bits when asked)
//   keeps them exactly, numbered in the order they first appear, row by row, left to right;
// - otherwise the map is in the order of the cuts; of equally near colours a pixel takes the
//   lowest number; the map depends on the picture's colours and their counts, not on where
//   they are;
// - Floyd-Steinberg carries 7/16 of the error ahead, 3/16 behind below, 5/16 below, 1/16 ahead
//   below, in serpentine order (rows alternately left to right and right to left, which keeps
//   the error from drifting one way); the colour wanted is held within 0-255, so the error
//   cannot grow where the map's colours do not reach; transparent pixels neither take nor pass
//   on error;
// - the ordered dither adds to each gun (t - 1/2) x the map's spacing, rounded: t is
//   (b + 1/2) / 64 for the entry b (0-63) of the 8 x 8 Bayer matrix at (x mod 8, y mod 8), the
//   spacing the median distance of a colour of the map to its nearest other one over sqrt 3
//   (a gun's step between two greys that far apart).
#include "picture/reduce.h"

#include "internal.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <unordered_map>
#include <unordered_set>

namespace picture {

namespace {

// Further starts and hops for OCS/ECS maps of at most 16 and 32 colours (see reduce()).
constexpr unsigned kDraws = 8, kHops = 10;

using amiga::Rgb8;

struct Entry {
    std::array<int, 3> rgb;
    std::uint64_t weight;
};

// A pixel's gun to 12 bits: the nearest n x 17.
std::uint8_t twelveBitGun(int value) {
    return static_cast<std::uint8_t>((std::clamp(value, 0, 255) + 8) / 17 * 17);
}

// The point of the target's lattice nearest a mean: a whole value for 24 bits, the nearest
// n x 17 for 12.
std::uint8_t latticeGun(double mean, bool twelveBit) {
    const double step = twelveBit ? 17 : 1;
    return static_cast<std::uint8_t>(std::clamp(std::lround(mean / step) * step, 0.0, 255.0));
}

Rgb8 latticeColour(const std::array<double, 3> &mean, bool twelveBit) {
    return {latticeGun(mean[0], twelveBit), latticeGun(mean[1], twelveBit),
            latticeGun(mean[2], twelveBit)};
}

std::uint32_t keyOf(Rgb8 c) {
    return std::uint32_t{c.red} << 16 | std::uint32_t{c.green} << 8 | c.blue;
}

long distance(const std::array<int, 3> &a, Rgb8 b) {
    const long dr = a[0] - b.red, dg = a[1] - b.green, db = a[2] - b.blue;
    return dr * dr + dg * dg + db * db;
}

long distance(Rgb8 a, Rgb8 b) {
    return distance(std::array<int, 3>{a.red, a.green, a.blue}, b);
}

// The weighted sums of a run of entries: weight, the guns and their squares.
struct Moments {
    double weight = 0;
    std::array<double, 3> sum{0, 0, 0}, squares{0, 0, 0};

    void add(const Entry &e) {
        const double w = static_cast<double>(e.weight);
        weight += w;
        for (int g = 0; g < 3; g++) {
            sum[g] += w * e.rgb[g];
            squares[g] += w * e.rgb[g] * e.rgb[g];
        }
    }
    // The squared error of the run about its mean, for one gun or all three.
    double error(int gun) const {
        return weight <= 0 ? 0 : squares[gun] - sum[gun] * sum[gun] / weight;
    }
    double error() const { return error(0) + error(1) + error(2); }
};

// The entries cut into at most `wanted` boxes, each colour the weighted mean of its box on the
// lattice. The box of the greatest squared error is cut across the gun whose error is greatest,
// where the two halves' squared errors add up to the least.
std::vector<Rgb8> varianceCut(std::vector<Entry> &entries, unsigned wanted, bool twelveBit) {
    struct Cut {
        size_t begin, end;
        Moments moments;
        bool whole = false; // not to be cut
    };
    auto cutOf = [&](size_t begin, size_t end) {
        Cut cut{begin, end, {}, end - begin < 2};
        for (size_t i = begin; i < end; i++) {
            cut.moments.add(entries[i]);
        }
        return cut;
    };
    std::vector<Cut> boxes{cutOf(0, entries.size())};
    while (boxes.size() < wanted) {
        size_t chosen = boxes.size();
        double most = 0;
        for (size_t b = 0; b < boxes.size(); b++) {
            const double error = boxes[b].moments.error();
            if (!boxes[b].whole && error > most) {
                most = error;
                chosen = b;
            }
        }
        if (chosen == boxes.size()) {
            break;
        }
        const Cut box = boxes[chosen];
        int axis = 0;
        for (int g = 1; g < 3; g++) {
            if (box.moments.error(g) > box.moments.error(axis)) {
                axis = g;
            }
        }
        // The box's moments for each value of the gun; the cut below the value where the two
        // halves' errors add up to the least.
        std::array<Moments, 256> at{};
        for (size_t i = box.begin; i < box.end; i++) {
            at[static_cast<size_t>(entries[i].rgb[axis])].add(entries[i]);
        }
        Moments lower;
        int cutAbove = -1; // the lower half holds the values up to this one
        double bestError = -1;
        for (int v = 0; v < 255; v++) {
            if (at[static_cast<size_t>(v)].weight == 0) {
                continue;
            }
            const Moments &here = at[static_cast<size_t>(v)];
            lower.weight += here.weight;
            Moments upper = box.moments;
            upper.weight -= lower.weight;
            for (int g = 0; g < 3; g++) {
                lower.sum[g] += here.sum[g];
                lower.squares[g] += here.squares[g];
                upper.sum[g] -= lower.sum[g];
                upper.squares[g] -= lower.squares[g];
            }
            if (upper.weight <= 0) {
                break;
            }
            const double error = lower.error() + upper.error();
            if (bestError < 0 || error < bestError) {
                bestError = error;
                cutAbove = v;
            }
        }
        if (cutAbove < 0) {
            // Every colour of the box has the same value of the gun (its error is rounding's).
            boxes[chosen].whole = true;
            continue;
        }
        const auto middle =
            std::partition(entries.begin() + static_cast<std::ptrdiff_t>(box.begin),
                           entries.begin() + static_cast<std::ptrdiff_t>(box.end),
                           [axis, cutAbove](const Entry &e) { return e.rgb[axis] <= cutAbove; });
        const size_t best = static_cast<size_t>(middle - entries.begin());
        boxes[chosen] = cutOf(box.begin, best);
        boxes.push_back(cutOf(best, box.end));
    }
    std::vector<Rgb8> palette;
    for (const Cut &box : boxes) {
        const double w = box.moments.weight;
        if (w > 0) {
            palette.push_back(latticeColour(
                {box.moments.sum[0] / w, box.moments.sum[1] / w, box.moments.sum[2] / w},
                twelveBit));
        }
    }
    return palette;
}

// The nearest colour of a map to a colour (of equally near ones, the lowest number), searched
// outwards from the colour's place in the map sorted by red + green + blue: two colours whose
// sums differ by s are at least s / sqrt(3) apart, so the search stops once s^2 > 3 x the
// nearest distance found.
class SortedSearch {
public:
    explicit SortedSearch(const std::vector<Rgb8> &palette) : palette_(palette) {
        for (size_t c = 0; c < palette.size(); c++) {
            order_.push_back({palette[c].red + palette[c].green + palette[c].blue,
                              static_cast<std::uint32_t>(c)});
        }
        std::sort(order_.begin(), order_.end());
    }

    // The number of the nearest colour; *squared its squared distance.
    std::uint32_t operator()(const std::array<int, 3> &rgb, long *squared) const {
        const int key = rgb[0] + rgb[1] + rgb[2];
        const auto at =
            std::lower_bound(order_.begin(), order_.end(), std::pair<int, std::uint32_t>{key, 0});
        std::uint32_t best = 0;
        long bestDistance = -1;
        auto consider = [&](const std::pair<int, std::uint32_t> &o) {
            const long apart = o.first - key;
            if (bestDistance >= 0 && apart * apart > 3 * bestDistance) {
                return false;
            }
            const long d = distance(rgb, palette_[o.second]);
            if (bestDistance < 0 || d < bestDistance || (d == bestDistance && o.second < best)) {
                bestDistance = d;
                best = o.second;
            }
            return true;
        };
        const size_t start = static_cast<size_t>(at - order_.begin());
        bool up = true, down = true;
        for (size_t step = 0; up || down; step++) {
            if (up) {
                up = start + step < order_.size() && consider(order_[start + step]);
            }
            if (down) {
                down = step < start && consider(order_[start - step - 1]);
            }
        }
        *squared = bestDistance;
        return best;
    }

private:
    const std::vector<Rgb8> &palette_;
    std::vector<std::pair<int, std::uint32_t>> order_; // the sums and the colours' numbers
};

// Lloyd's iteration from the map `palette` over the entries, the map kept on the target's
// lattice. An entry stays with its colour without a search when it is no farther from it than
// half the distance from that colour to its nearest other one (no other can then be nearer).
void refine(const std::vector<Entry> &entries, std::vector<Rgb8> &palette, bool twelveBit,
            unsigned kRounds = 24) {
    const size_t k = palette.size();
    if (k < 2 || entries.size() <= k) {
        return;
    }
    std::vector<std::uint32_t> owner(entries.size(), 0);
    std::vector<long> apart(k);                        // squared distance to the nearest other
    std::vector<std::array<std::uint64_t, 4>> sums(k); // red, green, blue, weight
    for (unsigned round = 0; round < kRounds; round++) {
        for (size_t c = 0; c < k; c++) {
            apart[c] = -1;
            for (size_t d = 0; d < k; d++) {
                if (d != c) {
                    const long between = distance(palette[c], palette[d]);
                    apart[c] = apart[c] < 0 ? between : std::min(apart[c], between);
                }
            }
        }
        size_t moved = 0;
        const SortedSearch search(palette);
        for (size_t i = 0; i < entries.size(); i++) {
            const std::array<int, 3> &rgb = entries[i].rgb;
            if (round > 0 && 4 * distance(rgb, palette[owner[i]]) <= apart[owner[i]]) {
                continue;
            }
            long squared = 0;
            const std::uint32_t best = search(rgb, &squared);
            moved += owner[i] != best || round == 0;
            owner[i] = best;
        }
        if (moved == 0) {
            break;
        }
        std::fill(sums.begin(), sums.end(), std::array<std::uint64_t, 4>{0, 0, 0, 0});
        for (size_t i = 0; i < entries.size(); i++) {
            auto &sum = sums[owner[i]];
            for (int g = 0; g < 3; g++) {
                sum[g] += static_cast<std::uint64_t>(entries[i].rgb[g]) * entries[i].weight;
            }
            sum[3] += entries[i].weight;
        }
        std::unordered_set<std::uint32_t> taken;
        std::vector<size_t> idle; // colours no entry went to, or taken by an earlier one
        for (size_t c = 0; c < k; c++) {
            if (sums[c][3] != 0) {
                const double w = static_cast<double>(sums[c][3]);
                palette[c] = latticeColour({static_cast<double>(sums[c][0]) / w,
                                            static_cast<double>(sums[c][1]) / w,
                                            static_cast<double>(sums[c][2]) / w},
                                           twelveBit);
            }
            if (sums[c][3] == 0 || !taken.insert(keyOf(palette[c])).second) {
                idle.push_back(c);
            }
        }
        if (idle.empty()) {
            continue;
        }
        // The idle colours go to the entries served worst, worst first, each once, skipping
        // those whose lattice point the map already holds.
        std::vector<std::pair<double, size_t>> worst;
        for (size_t i = 0; i < entries.size(); i++) {
            const double cost = static_cast<double>(entries[i].weight) *
                                static_cast<double>(distance(entries[i].rgb, palette[owner[i]]));
            if (cost > 0) {
                worst.push_back({-cost, i});
            }
        }
        const size_t look = std::min(worst.size(), idle.size() * 8);
        std::partial_sort(worst.begin(), worst.begin() + static_cast<std::ptrdiff_t>(look),
                          worst.end());
        size_t next = 0;
        for (size_t c : idle) {
            while (next < look) {
                const std::array<int, 3> &rgb = entries[worst[next++].second].rgb;
                const Rgb8 point =
                    latticeColour({double(rgb[0]), double(rgb[1]), double(rgb[2])}, twelveBit);
                if (taken.insert(keyOf(point)).second) {
                    palette[c] = point;
                    break;
                }
            }
        }
    }
}

// For a 12-bit map, the search that Lloyd's iteration cannot make: its means round to the same
// lattice point again after a small move, so a colour of the map is tried at each of the 26
// lattice points around it, and moved to the one that lowers the picture's error the most,
// colour after colour, until a sweep moves none (at most kSweeps). The entries' nearest and
// second nearest colours tell the change exactly: an entry of the colour moved goes to the new
// point or to its second nearest, whichever is nearer; any other entry to the new point if it is
// nearer than its own.
void searchLattice(const std::vector<Entry> &entries, std::vector<Rgb8> &palette) {
    // Past 64 colours each colour serves few entries and a sweep gains little: one is made.
    const unsigned kSweeps = palette.size() > 64 ? 1 : 4;
    const double kReach = 17 * std::sqrt(3.0) + 1e-6;
    const size_t k = palette.size(), n = entries.size();
    if (k < 2) {
        return;
    }
    std::vector<std::uint32_t> owner(n), second(n);
    std::vector<long> nearest(n), next(n);
    // An entry's nearest and second nearest colours, by trying every colour.
    auto place = [&](size_t i) {
        nearest[i] = next[i] = -1;
        for (size_t c = 0; c < k; c++) {
            const long d = distance(entries[i].rgb, palette[c]);
            if (nearest[i] < 0 || d < nearest[i]) {
                next[i] = nearest[i];
                second[i] = owner[i];
                nearest[i] = d;
                owner[i] = static_cast<std::uint32_t>(c);
            } else if (next[i] < 0 || d < next[i]) {
                next[i] = d;
                second[i] = static_cast<std::uint32_t>(c);
            }
        }
    };
    for (size_t i = 0; i < n; i++) {
        place(i);
    }
    std::unordered_set<std::uint32_t> taken;
    for (const Rgb8 &c : palette) {
        taken.insert(keyOf(c));
    }
    for (unsigned sweep = 0; sweep < kSweeps; sweep++) {
        bool movedAny = false;
        std::vector<size_t> near;
        for (size_t c = 0; c < k; c++) {
            // The entries a point around the colour can serve better: its own, and those whose
            // distance to it less the farthest point around it (17 x sqrt 3) is under their own.
            near.clear();
            for (size_t i = 0; i < n; i++) {
                const double reach = std::sqrt(static_cast<double>(nearest[i])) + kReach;
                if (owner[i] == c ||
                    static_cast<double>(distance(entries[i].rgb, palette[c])) < reach * reach) {
                    near.push_back(i);
                }
            }
            std::int64_t bestChange = 0;
            Rgb8 bestPoint = palette[c];
            for (int dr = -17; dr <= 17; dr += 17) {
                for (int dg = -17; dg <= 17; dg += 17) {
                    for (int db = -17; db <= 17; db += 17) {
                        const int r = palette[c].red + dr, g = palette[c].green + dg,
                                  b = palette[c].blue + db;
                        if (r < 0 || r > 255 || g < 0 || g > 255 || b < 0 || b > 255) {
                            continue;
                        }
                        const Rgb8 point{static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g),
                                         static_cast<std::uint8_t>(b)};
                        if (taken.count(keyOf(point)) != 0) {
                            continue;
                        }
                        std::int64_t change = 0;
                        for (size_t i : near) {
                            const long d = distance(entries[i].rgb, point);
                            const long now =
                                owner[i] == c ? std::min(d, next[i]) : std::min(d, nearest[i]);
                            change +=
                                static_cast<std::int64_t>(entries[i].weight) * (now - nearest[i]);
                        }
                        if (change < bestChange) {
                            bestChange = change;
                            bestPoint = point;
                        }
                    }
                }
            }
            if (bestChange < 0) {
                taken.erase(keyOf(palette[c]));
                taken.insert(keyOf(bestPoint));
                palette[c] = bestPoint;
                movedAny = true;
                for (size_t i = 0; i < n; i++) {
                    if (owner[i] == c || second[i] == c) {
                        place(i);
                        continue;
                    }
                    const long d = distance(entries[i].rgb, bestPoint);
                    if (d < nearest[i]) {
                        next[i] = nearest[i];
                        second[i] = owner[i];
                        nearest[i] = d;
                        owner[i] = static_cast<std::uint32_t>(c);
                    } else if (d < next[i]) {
                        next[i] = d;
                        second[i] = static_cast<std::uint32_t>(c);
                    }
                }
            }
        }
        if (!movedAny) {
            break;
        }
    }
}

// The picture's squared error with a map (each entry at its nearest colour, by its weight), and
// for each colour of the map what the error would grow by without it (its entries at their
// second nearest).
double mapError(const std::vector<Entry> &entries, const std::vector<Rgb8> &palette,
                std::vector<double> *loss) {
    loss->assign(palette.size(), 0);
    double total = 0;
    for (const Entry &e : entries) {
        long nearest = -1, next = -1;
        size_t owner = 0;
        for (size_t c = 0; c < palette.size(); c++) {
            const long d = distance(e.rgb, palette[c]);
            if (nearest < 0 || d < nearest) {
                next = nearest;
                nearest = d;
                owner = c;
            } else if (next < 0 || d < next) {
                next = d;
            }
        }
        const double w = static_cast<double>(e.weight);
        total += w * static_cast<double>(nearest);
        (*loss)[owner] += w * static_cast<double>(next - nearest);
    }
    return total;
}

// Lloyd's iteration and the lattice search stop at the nearest map that no small move betters.
// Farther maps are tried by jumps: the colour whose loss costs the least moves to the lattice
// point of the entry served worst, the map is refined again, and kept when its error is less.
void improveByJumps(const std::vector<Entry> &entries, std::vector<Rgb8> &palette, bool twelveBit,
                    unsigned trials) {
    // A jump that helps shows it within a few rounds; the last rounds of a long iteration
    // gain little.
    constexpr unsigned kJumpRounds = 12;
    std::vector<double> loss;
    double best = mapError(entries, palette, &loss);
    std::vector<bool> failed(palette.size(), false);
    for (unsigned t = 0; t < trials; t++) {
        size_t cheapest = palette.size();
        for (size_t c = 0; c < palette.size(); c++) {
            if (!failed[c] && (cheapest == palette.size() || loss[c] < loss[cheapest])) {
                cheapest = c;
            }
        }
        if (cheapest == palette.size()) {
            break;
        }
        // The entry served worst, by its pixels times its squared distance.
        double worst = -1;
        Rgb8 target{};
        for (const Entry &e : entries) {
            long nearest = -1;
            for (const Rgb8 &c : palette) {
                const long d = distance(e.rgb, c);
                nearest = nearest < 0 ? d : std::min(nearest, d);
            }
            const double cost = static_cast<double>(e.weight) * static_cast<double>(nearest);
            if (cost > worst) {
                worst = cost;
                target = latticeColour({double(e.rgb[0]), double(e.rgb[1]), double(e.rgb[2])},
                                       twelveBit);
            }
        }
        std::vector<Rgb8> tried = palette;
        tried[cheapest] = target;
        refine(entries, tried, twelveBit, kJumpRounds);
        if (twelveBit) {
            searchLattice(entries, tried);
        }
        std::vector<double> triedLoss;
        const double error = mapError(entries, tried, &triedLoss);
        if (error >= best) {
            failed[cheapest] = true;
            continue;
        }
        std::fill(failed.begin(), failed.end(), false);
        best = error;
        palette = tried;
        loss = triedLoss;
    }
}

// A start for Lloyd's iteration by k-means++ (Arthur and Vassilvitskii, 2007): the first colour
// an entry drawn by its pixels, each next one an entry drawn by its pixels times its squared
// distance to the nearest colour drawn so far. The draws come from a generator of a fixed seed,
// so the same picture always gets the same map.
std::vector<Rgb8> drawnStart(const std::vector<Entry> &entries, size_t k, std::uint64_t seed) {
    std::uint64_t state = seed * 0x9e3779b97f4a7c15u + 1;
    auto uniform = [&state] { // xorshift64*, a value in [0, 1)
        state ^= state >> 12;
        state ^= state << 25;
        state ^= state >> 27;
        return static_cast<double>((state * 0x2545f4914f6cdd1du) >> 11) * 0x1.0p-53;
    };
    std::vector<double> cost(entries.size());
    for (size_t i = 0; i < entries.size(); i++) {
        cost[i] = static_cast<double>(entries[i].weight);
    }
    std::vector<Rgb8> palette;
    std::unordered_set<std::uint32_t> taken;
    while (palette.size() < k) {
        double total = 0;
        for (double c : cost) {
            total += c;
        }
        if (total <= 0) {
            break;
        }
        double at = uniform() * total;
        size_t drawn = 0;
        while (drawn + 1 < entries.size() && at >= cost[drawn]) {
            at -= cost[drawn++];
        }
        const Rgb8 colour{static_cast<std::uint8_t>(entries[drawn].rgb[0]),
                          static_cast<std::uint8_t>(entries[drawn].rgb[1]),
                          static_cast<std::uint8_t>(entries[drawn].rgb[2])};
        if (!taken.insert(keyOf(colour)).second) {
            cost[drawn] = 0;
            continue;
        }
        palette.push_back(colour);
        for (size_t i = 0; i < entries.size(); i++) {
            cost[i] = std::min(cost[i], static_cast<double>(entries[i].weight) *
                                            static_cast<double>(distance(entries[i].rgb, colour)));
        }
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

// Whether an indexed picture's colour numbers and colour map are within the colours asked for,
// and for OCS/ECS its colours are 12-bit ones (each gun n x 17): such a picture is kept as it is.
bool fits(const Picture &picture, unsigned colours, bool twelveBit) {
    if (picture.pixels.empty() || picture.mode != DisplayMode::Indexed ||
        picture.palette.size() > colours) {
        return false;
    }
    if (twelveBit && !std::all_of(picture.palette.begin(), picture.palette.end(), [](Rgb8 c) {
            return c.red % 17 == 0 && c.green % 17 == 0 && c.blue % 17 == 0;
        })) {
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

// A pixel's colour as it is kept: to 12 bits when asked.
Rgb8 keptColour(const Rgba8 &c, bool twelveBit) {
    return twelveBit ? Rgb8{twelveBitGun(c.red), twelveBitGun(c.green), twelveBitGun(c.blue)}
                     : Rgb8{c.red, c.green, c.blue};
}

// The opaque pixels' distinct colours (to 12 bits when asked) in the order they first appear,
// with their pixel counts, up to `most` of them: past that, `overflow` is set and the counts
// are partial. Counted a row at a time (countDistinct).
struct Distinct {
    std::unordered_map<std::uint32_t, std::uint32_t> index; // a colour's key to its number
    std::vector<Rgb8> colours;
    std::vector<std::uint64_t> weights;
    bool overflow = false;
};

void countDistinct(Distinct *d, const Rgba8 *row, unsigned width, bool twelveBit, size_t most) {
    for (const Rgba8 *c = row; c != row + width && !d->overflow; c++) {
        if (c->alpha < 128) {
            continue;
        }
        const Rgb8 t = keptColour(*c, twelveBit);
        auto [at, added] =
            d->index.emplace(keyOf(t), static_cast<std::uint32_t>(d->colours.size()));
        if (added) {
            if (d->colours.size() == most) {
                d->overflow = true;
                break;
            }
            d->colours.push_back(t);
            d->weights.push_back(0);
        }
        d->weights[at->second]++;
    }
}

// The colours to reduce from: the picture's distinct colours, or past kMostDistinct of them the
// colours of each cell of 8 x 8 x 8 taken together as their mean, weighted by the pixels of the
// cell (Heckbert's 5 bits a gun), which keeps the iteration quick on a photograph of a million
// colours.
// Counted a row at a time: the distinct colours in a table of keys (a colour's key plus one in
// the first free place from where its hash points, 0 free) that doubles while it is half full;
// past kMostDistinct colours the table becomes the cells and is let go, the rest going to the
// cells. What is held is what the picture's colours need: a few KiB for a picture of 256.
class ColourCount {
public:
    void add(const Rgba8 *row, unsigned width) {
        for (const Rgba8 *c = row; c != row + width; c++) {
            if (c->alpha < 128) {
                continue;
            }
            if (overflowed_) {
                addToCell(c->red, c->green, c->blue, 1);
                continue;
            }
            const std::uint32_t key = keyOf({c->red, c->green, c->blue}) + 1;
            size_t at = placeOf(key);
            if (table_[at].first == 0) {
                if (++distinct_ > kMostDistinct) {
                    overflow();
                    addToCell(c->red, c->green, c->blue, 1);
                    continue;
                }
                table_[at].first = key;
                if (distinct_ * 2 > table_.size()) {
                    grow();
                    at = placeOf(key);
                }
            }
            table_[at].second++;
        }
    }

    std::vector<Entry> entries() const {
        std::vector<Entry> entries;
        if (!overflowed_) {
            // In the order of the colours' keys, as every later step needs for its result to
            // depend on the colours alone, not on where in the picture they first appear.
            std::vector<std::pair<std::uint32_t, std::uint32_t>> counted;
            for (const auto &slot : table_) {
                if (slot.first != 0) {
                    counted.push_back(slot);
                }
            }
            std::sort(counted.begin(), counted.end());
            for (const auto &[key, count] : counted) {
                const std::uint32_t k = key - 1;
                entries.push_back({{int(k >> 16), int(k >> 8 & 0xff), int(k & 0xff)}, count});
            }
            return entries;
        }
        for (const auto &cell : cells_) {
            if (cell[3] != 0) {
                const double n = static_cast<double>(cell[3]);
                const Rgb8 mean = latticeColour({static_cast<double>(cell[0]) / n,
                                                 static_cast<double>(cell[1]) / n,
                                                 static_cast<double>(cell[2]) / n},
                                                false);
                entries.push_back({{mean.red, mean.green, mean.blue}, cell[3]});
            }
        }
        return entries;
    }

private:
    static constexpr size_t kMostDistinct = 1u << 16;

    size_t placeOf(std::uint32_t key) const {
        size_t at = (key * 2654435761u) >> (32 - bits_);
        while (table_[at].first != 0 && table_[at].first != key) {
            at = (at + 1) & (table_.size() - 1);
        }
        return at;
    }

    void grow() {
        std::vector<std::pair<std::uint32_t, std::uint32_t>> old(size_t{1} << ++bits_, {0, 0});
        old.swap(table_);
        for (const auto &slot : old) {
            if (slot.first != 0) {
                table_[placeOf(slot.first)] = slot;
            }
        }
    }

    void addToCell(int red, int green, int blue, std::uint64_t count) {
        auto &cell = cells_[static_cast<size_t>((red >> 3) << 10 | (green >> 3) << 5 | blue >> 3)];
        cell[0] += static_cast<std::uint64_t>(red) * count;
        cell[1] += static_cast<std::uint64_t>(green) * count;
        cell[2] += static_cast<std::uint64_t>(blue) * count;
        cell[3] += count;
    }

    // The colours counted so far go to the cells, as if they had been counted there.
    void overflow() {
        overflowed_ = true;
        cells_.assign(1u << 15, {0, 0, 0, 0});
        for (const auto &[key, count] : table_) {
            if (key != 0) {
                const std::uint32_t k = key - 1;
                addToCell(int(k >> 16), int(k >> 8 & 0xff), int(k & 0xff), count);
            }
        }
        std::vector<std::pair<std::uint32_t, std::uint32_t>>().swap(table_);
    }

    unsigned bits_ = 10;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> table_ =
        std::vector<std::pair<std::uint32_t, std::uint32_t>>(size_t{1} << 10, {0, 0});
    size_t distinct_ = 0;
    bool overflowed_ = false;
    std::vector<std::array<std::uint64_t, 4>> cells_;
};

// The 8 x 8 Bayer matrix: each threshold 0-63 once, neighbours as far apart as they can be.
constexpr std::array<std::uint8_t, 64> kBayer = {
    0,  32, 8,  40, 2,  34, 10, 42, 48, 16, 56, 24, 50, 18, 58, 26, 12, 44, 4,  36, 14, 46,
    6,  38, 60, 28, 52, 20, 62, 30, 54, 22, 3,  35, 11, 43, 1,  33, 9,  41, 51, 19, 59, 27,
    49, 17, 57, 25, 15, 47, 7,  39, 13, 45, 5,  37, 63, 31, 55, 23, 61, 29, 53, 21};

// The map's spacing for the ordered dither: the median distance of a colour of the map (from
// `first` on) to its nearest other one, over sqrt 3: the step of each gun between two greys that
// far apart.
double spacing(const std::vector<Rgb8> &palette, unsigned first) {
    std::vector<double> apart;
    for (size_t c = first; c < palette.size(); c++) {
        long nearest = -1;
        for (size_t d = first; d < palette.size(); d++) {
            if (d != c) {
                const long between = distance(palette[c], palette[d]);
                nearest = nearest < 0 ? between : std::min(nearest, between);
            }
        }
        if (nearest >= 0) {
            apart.push_back(std::sqrt(static_cast<double>(nearest)));
        }
    }
    if (apart.empty()) {
        return 0;
    }
    std::nth_element(apart.begin(), apart.begin() + static_cast<std::ptrdiff_t>(apart.size() / 2),
                     apart.end());
    return apart[apart.size() / 2] / std::sqrt(3.0);
}

// The reduction of the colours a pass gives, in two passes: the first counts the colours, the
// second maps each row as it comes into `into` (width x height colour numbers; it may be where
// the pass reads its pixel values from, each row being read before it is written), or, when it
// is null, into the picture's own map. The header, read after the first row, gives the size,
// the screen and the warnings. Nothing when a pass fails or the two passes' rows differ.
std::optional<Picture> reduceFrom(const Picture &header, const Reduction &reduction,
                                  const detail::ColourPass &pass, std::uint8_t *into) {
    const unsigned asked = std::clamp(reduction.colours, 2u, 256u);
    const bool twelveBit = reduction.twelveBit;
    bool anyTransparent = false, uneven = false;
    // Kept up to as many colours as asked: past `room` of them (one less with a transparent
    // colour, known only at the end) there are too many to keep.
    Distinct distinct;
    ColourCount counted;
    unsigned rows = 0;
    if (!pass([&](const Rgba8 *row, unsigned width) {
            uneven = uneven || width != header.width;
            anyTransparent = anyTransparent || std::any_of(row, row + width, [](const Rgba8 &c) {
                                 return c.alpha < 128;
                             });
            countDistinct(&distinct, row, width, twelveBit, asked);
            counted.add(row, width);
            rows++;
        }) ||
        uneven || rows != header.height) {
        return std::nullopt;
    }
    const size_t count = size_t{header.width} * header.height;
    // The second pass: each row and where its colour numbers go.
    auto mapRows = [&](const std::function<void(const Rgba8 *, std::uint8_t *, unsigned)> &map) {
        unsigned y = 0;
        const bool read = pass([&](const Rgba8 *row, unsigned width) {
            if (width == header.width && y < header.height) {
                map(row, into + size_t{y} * width, y);
            }
            uneven = uneven || width != header.width;
            y++;
        });
        return read && !uneven && y == header.height;
    };

    Picture out;
    out.source = header.source;
    out.width = header.width;
    out.height = header.height;
    out.mode = DisplayMode::Indexed;
    // The screen it was made for stays (resolution, interlace, pixel shape); HAM and EHB go.
    out.viewportMode = header.viewportMode & ~std::uint32_t{0x880};
    out.hasViewportMode = header.hasViewportMode;
    out.xAspect = header.xAspect;
    out.yAspect = header.yAspect;
    out.warnings = header.warnings;
    if (into == nullptr) {
        out.pixels.assign(count, 0);
        into = out.pixels.data();
    }

    // Colour 0, black, is kept for the transparent pixels when there are any.
    const unsigned first = anyTransparent ? 1 : 0;
    if (anyTransparent) {
        out.palette.push_back(Rgb8{});
        out.transparentColours = {0};
    }
    const unsigned room = asked - first;
    out.twelveBitPalette = twelveBit;

    if (!distinct.overflow && distinct.colours.size() <= room) {
        // No more colours than asked: each kept, numbered as it first appears.
        out.palette.insert(out.palette.end(), distinct.colours.begin(), distinct.colours.end());
        const bool mapped = mapRows([&](const Rgba8 *colours, std::uint8_t *numbers, unsigned) {
            for (unsigned x = 0; x < out.width; x++) {
                const Rgba8 &c = colours[x];
                const Rgb8 t = keptColour(c, twelveBit);
                numbers[x] =
                    c.alpha < 128 ? 0 : static_cast<std::uint8_t>(first + distinct.index[keyOf(t)]);
            }
        });
        if (!mapped) {
            return std::nullopt;
        }
        out.depth = planesFor(out.palette.size());
        out.twelveBitPalette = twelveBit || detail::storesTwelveBit(out.palette);
        return out;
    }
    distinct = {};

    std::vector<Entry> entries = counted.entries();
    std::vector<Rgb8> chosen = varianceCut(entries, room, false);
    refine(entries, chosen, false);
    // Past 64 colours each jump costs much and gains little.
    const unsigned jumps = room <= 64 ? 8 : 0;
    improveByJumps(entries, chosen, false, jumps);
    if (twelveBit) {
        // Two starts on the lattice, each refined there and the better kept: cuts made on it,
        // and the 24-bit map moved onto it (which scored up to 0.1 dB better on most pictures of
        // psnr_table, and worse on some). Jumps on the lattice gained at most 0.1 dB more at
        // twice the time: none are made.
        std::vector<Rgb8> cut = varianceCut(entries, room, true);
        for (Rgb8 &c : chosen) {
            c = latticeColour({double(c.red), double(c.green), double(c.blue)}, true);
        }
        std::vector<double> loss;
        double best = -1;
        std::vector<Rgb8> kept;
        auto onLattice = [&](std::vector<Rgb8> &start) {
            refine(entries, start, true);
            searchLattice(entries, start);
            refine(entries, start, true);
            searchLattice(entries, start);
            const double error = mapError(entries, start, &loss);
            if (best < 0 || error < best) {
                best = error;
                kept = start;
            }
        };
        onLattice(cut);
        onLattice(chosen);
        // Lloyd's iteration keeps to the nearest of many maps of nearly the same error: for
        // small maps (where each is quick) more starts are made, drawn at random by k-means++,
        // and then hops: every colour of the best map so far moved to a lattice point around
        // it, the map refined again (fewer rounds, one search of the lattice), and kept when its
        // error is less (basin hopping). Both from generators of fixed seeds: the same picture gets
        // the same map. A hop costs in proportion to the entries: past 2^18 / kHops of them fewer
        // are made.
        const unsigned draws = room <= 16 ? kDraws : 0,
                       hops = room <= 32 ? static_cast<unsigned>(std::min<size_t>(
                                               kHops, (size_t{1} << 18) / entries.size()))
                                         : 0;
        for (unsigned d = 0; d < draws; d++) {
            std::vector<Rgb8> drawn = drawnStart(entries, room, d);
            refine(entries, drawn, false);
            for (Rgb8 &c : drawn) {
                c = latticeColour({double(c.red), double(c.green), double(c.blue)}, true);
            }
            onLattice(drawn);
        }
        std::uint64_t state = 88172645463325252u; // xorshift64
        for (unsigned h = 0; h < hops; h++) {
            std::vector<Rgb8> tried = kept;
            for (Rgb8 &c : tried) {
                state ^= state << 13;
                state ^= state >> 7;
                state ^= state << 17;
                const int move[3] = {int(state % 3) - 1, int(state / 3 % 3) - 1,
                                     int(state / 9 % 3) - 1};
                c = {static_cast<std::uint8_t>(std::clamp(c.red + 17 * move[0], 0, 255)),
                     static_cast<std::uint8_t>(std::clamp(c.green + 17 * move[1], 0, 255)),
                     static_cast<std::uint8_t>(std::clamp(c.blue + 17 * move[2], 0, 255))};
            }
            refine(entries, tried, true, 12);
            searchLattice(entries, tried);
            const double error = mapError(entries, tried, &loss);
            if (error < best) {
                best = error;
                kept = tried;
            }
        }
        chosen = kept;
    }
    out.palette.insert(out.palette.end(), chosen.begin(), chosen.end());
    out.depth = planesFor(out.palette.size());

    Nearest nearest(out.palette, first);
    const unsigned width = out.width;
    std::function<void(const Rgba8 *, std::uint8_t *, unsigned)> map;
    std::array<int, 64> offset{};
    // The error carried to this row and the next, a pixel either side as a margin.
    std::vector<std::array<float, 3>> thisRow, nextRow;
    if (reduction.dither == Dither::None) {
        map = [&](const Rgba8 *colours, std::uint8_t *numbers, unsigned) {
            for (unsigned x = 0; x < width; x++) {
                const Rgba8 &c = colours[x];
                numbers[x] =
                    c.alpha < 128 ? 0 : static_cast<std::uint8_t>(nearest(c.red, c.green, c.blue));
            }
        };
    } else if (reduction.dither == Dither::Ordered) {
        const double spread = spacing(out.palette, first);
        for (size_t t = 0; t < 64; t++) {
            offset[t] = static_cast<int>(std::lround((kBayer[t] + 0.5) / 64 * spread - spread / 2));
        }
        map = [&](const Rgba8 *colours, std::uint8_t *numbers, unsigned y) {
            for (unsigned x = 0; x < width; x++) {
                const Rgba8 &c = colours[x];
                if (c.alpha < 128) {
                    numbers[x] = 0;
                    continue;
                }
                const int o = offset[(y % 8) * 8 + x % 8];
                numbers[x] = static_cast<std::uint8_t>(nearest(std::clamp(c.red + o, 0, 255),
                                                               std::clamp(c.green + o, 0, 255),
                                                               std::clamp(c.blue + o, 0, 255)));
            }
        };
    } else {
        thisRow.assign(width + 2, {0, 0, 0});
        nextRow.assign(width + 2, {0, 0, 0});
        map = [&](const Rgba8 *colours, std::uint8_t *numbers, unsigned y) {
            std::fill(nextRow.begin(), nextRow.end(), std::array<float, 3>{0, 0, 0});
            const bool leftToRight = y % 2 == 0;
            const int step = leftToRight ? 1 : -1;
            for (unsigned n = 0; n < width; n++) {
                const unsigned x = leftToRight ? n : width - 1 - n;
                const Rgba8 &c = colours[x];
                if (c.alpha < 128) {
                    numbers[x] = 0;
                    continue;
                }
                const std::array<float, 3> &carried = thisRow[x + 1];
                const int wanted[3] = {
                    std::clamp(static_cast<int>(std::lround(c.red + carried[0])), 0, 255),
                    std::clamp(static_cast<int>(std::lround(c.green + carried[1])), 0, 255),
                    std::clamp(static_cast<int>(std::lround(c.blue + carried[2])), 0, 255)};
                const unsigned number = nearest(wanted[0], wanted[1], wanted[2]);
                numbers[x] = static_cast<std::uint8_t>(number);
                const Rgb8 &got = out.palette[number];
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
        };
    }
    if (!mapRows(map)) {
        return std::nullopt;
    }
    out.twelveBitPalette = twelveBit || detail::storesTwelveBit(out.palette);
    return out;
}

// A pass over the colours a picture shows: a true-colour PNG's own (read where they are, not
// copied: a picture can be as large as memory allows), or the colours any other picture shows,
// its own transparent pixels (mask plane or transparent colours) clear, rendered a row at a
// time.
detail::ColourPass rowsOf(const Picture &picture) {
    return [&picture](const detail::ColourRow &row) {
        const unsigned width = picture.width;
        if (picture.trueColour.size() == size_t{width} * picture.height) {
            for (unsigned y = 0; y < picture.height; y++) {
                row(picture.trueColour.data() + size_t{y} * width, width);
            }
            return true;
        }
        std::vector<Rgba8> colours(width);
        detail::renderRows(picture, [&](unsigned y, const Rgb8 *line) {
            for (unsigned x = 0; x < width; x++) {
                const bool clear = ownTransparent(picture, size_t{y} * width + x);
                colours[x] = {line[x].red, line[x].green, line[x].blue,
                              static_cast<std::uint8_t>(clear ? 0 : 255)};
            }
            row(colours.data(), width);
        });
        return true;
    };
}

} // namespace

Picture reduce(const Picture &picture, const Reduction &reduction) {
    if (fits(picture, reduction.colours, reduction.twelveBit)) {
        return picture;
    }
    // From memory neither pass fails.
    return reduceFrom(picture, reduction, rowsOf(picture), nullptr).value_or(Picture{});
}

std::optional<Picture> readReducedPicture(std::vector<std::uint8_t> &&bytes,
                                          const Reduction &reduction, std::string *error,
                                          unsigned index, const std::string &path) {
    std::string problem;
    if (detail::isPng(bytes) && index == 0) {
        Picture header;
        bool whole = false, again = false, twice = false;
        std::FILE *file = nullptr;
        // The second pass from the file when it can be opened again: its bytes are then let go.
        const detail::ColourPass pass = [&](const detail::ColourRow &row) {
            twice = again;
            if (again && file == nullptr) {
                file = detail::openAgain(path, bytes.size());
                if (file != nullptr) {
                    std::vector<std::uint8_t>().swap(bytes);
                }
            }
            again = true;
            return detail::readPngRows(bytes, file, &header, &problem, &whole, row);
        };
        std::optional<Picture> out = reduceFrom(header, reduction, pass, nullptr);
        if (file != nullptr) {
            std::fclose(file);
        }
        // Read whole unless it was read once already (a file that then changed).
        if (out || !whole || twice) {
            if (!out && error != nullptr) {
                *error = problem.empty() || whole ? "the PNG changed while it was read" : problem;
            }
            return out;
        }
    }
    std::optional<Picture> read = readPicture(std::move(bytes), error, index, path);
    if (!read || fits(*read, reduction.colours, reduction.twelveBit)) {
        return read;
    }
    if (!read->trueColour.empty() || read->pixels.size() != size_t{read->width} * read->height) {
        return reduce(*read, reduction);
    }
    // Colour numbers become colour numbers in place, each row rendered before it is mapped.
    std::optional<Picture> out = reduceFrom(*read, reduction, rowsOf(*read), read->pixels.data());
    if (out) {
        out->pixels = std::move(read->pixels);
    }
    return out;
}

} // namespace picture
