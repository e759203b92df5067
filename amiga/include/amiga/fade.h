// Palette fades: a palette stepped to black, to white, to one colour or to a second palette, as
// tables of colour words that a program copies to the colour registers step by step.
#pragma once

#include "amiga/colourwords.h"

#include <cstddef>
#include <string>
#include <vector>

namespace amiga {

// Step k of steps (0 to steps - 1): each 8-bit gun of each entry blended k / (steps - 1) of the
// way from the palette to the target, rounded to 8 bits (the first step is the palette, the last
// the target). Entries with no target entry fade to black. Fewer than two steps: no steps.
std::vector<std::vector<Rgb8>> fadeSteps(const std::vector<Rgb8> &palette,
                                         const std::vector<Rgb8> &targets, int steps);
// The same to one colour for every entry.
std::vector<std::vector<Rgb8>> fadeSteps(const std::vector<Rgb8> &palette, Rgb8 target, int steps);

// How fadeCode names a single target colour: "black", "white" or "$rrggbb".
std::string fadeTargetName(Rgb8 target);
// How fadeCode names a second palette as the target.
inline constexpr const char *kFadeToSecondPalette = "a second palette";

// The steps as data: a ';' line that says what follows, then for each step a label ("fade0:",
// "fade1:", ...) and its words, eight a dc.w line. OCS/ECS: each colour's 12-bit word (its high
// nibbles). AGA: every colour's high half, then every colour's low half. what says what the
// palette fades to (fadeTargetName() or kFadeToSecondPalette). With what the table holds, for a
// status line: nothing there needs to be read back out of the text.
struct FadeTable {
    std::string text;        // empty without steps or colours
    std::size_t steps = 0;   // the steps written; 0 when there is nothing to fade
    std::size_t colours = 0; // the colours of each step
    std::size_t words = 0;   // the words of all steps (2 bytes each)
    std::size_t bytes() const { return words * 2; }
};
FadeTable fadeTable(const std::vector<std::vector<Rgb8>> &steps, bool aga, const std::string &what);
// Its text alone.
std::string fadeCode(const std::vector<std::vector<Rgb8>> &steps, bool aga,
                     const std::string &what);

} // namespace amiga
