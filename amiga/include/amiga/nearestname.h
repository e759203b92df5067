// The name that a mistyped one was most likely meant to be, for "did you mean" hints: the
// nearest by edit distance, where a letter added, left out or changed, or two neighbouring
// letters swapped, each count one edit, whatever the case of the letters.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace amiga {

// The number of edits that turn a into b (case ignored).
std::size_t editDistance(std::string_view a, std::string_view b);

// The name nearest to given, when it is near enough to be a slip: at most a third of given's
// length in edits, and one edit at least. The first in the list wins a tie. Nothing when no
// name is that near.
std::optional<std::string> nearestName(std::string_view given,
                                       const std::vector<std::string> &names);

} // namespace amiga
