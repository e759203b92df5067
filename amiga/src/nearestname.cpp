#include "amiga/nearestname.h"

#include <algorithm>
#include <cctype>

namespace amiga {

namespace {

char folded(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

} // namespace

std::size_t editDistance(std::string_view a, std::string_view b) {
    // Three rows of the distance table: the row before the previous one is for swaps.
    std::vector<std::size_t> before(b.size() + 1), previous(b.size() + 1), row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j)
        previous[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const bool same = folded(a[i - 1]) == folded(b[j - 1]);
            row[j] = std::min({previous[j] + 1, row[j - 1] + 1, previous[j - 1] + (same ? 0 : 1)});
            if (i > 1 && j > 1 && folded(a[i - 1]) == folded(b[j - 2]) &&
                folded(a[i - 2]) == folded(b[j - 1]))
                row[j] = std::min(row[j], before[j - 2] + 1);
        }
        std::swap(before, previous);
        std::swap(previous, row);
    }
    return previous[b.size()];
}

std::optional<std::string> nearestName(std::string_view given,
                                       const std::vector<std::string> &names) {
    const std::size_t limit = std::max<std::size_t>(1, given.size() / 3);
    std::optional<std::string> nearest;
    std::size_t best = limit + 1;
    for (const std::string &name : names) {
        const std::size_t distance = editDistance(given, name);
        if (distance < best) {
            best = distance;
            nearest = name;
        }
    }
    return nearest;
}

} // namespace amiga
