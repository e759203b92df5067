#include "amiga/fade.h"

#include "amiga/asmtext.h"

#include <cmath>

namespace amiga {

namespace {

std::uint8_t blend(int from, int to, int step, int last) {
    return static_cast<std::uint8_t>(
        std::lround(from + (to - from) * static_cast<double>(step) / last));
}

constexpr std::size_t kWordsPerLine = 8;

void writeWords(AsmWriter &out, const std::vector<std::uint16_t> &words) {
    for (std::size_t i = 0; i < words.size(); i += kWordsPerLine) {
        std::vector<std::string> operands;
        for (std::size_t j = i; j < words.size() && j < i + kWordsPerLine; ++j)
            operands.push_back(word(words[j]));
        out.dcw(operands);
    }
}

} // namespace

std::vector<std::vector<Rgb8>> fadeSteps(const std::vector<Rgb8> &palette,
                                         const std::vector<Rgb8> &targets, int steps) {
    if (steps < 2)
        return {};
    std::vector<std::vector<Rgb8>> out(static_cast<std::size_t>(steps));
    for (int k = 0; k < steps; ++k) {
        out[k].reserve(palette.size());
        for (std::size_t i = 0; i < palette.size(); ++i) {
            const Rgb8 from = palette[i];
            const Rgb8 to = i < targets.size() ? targets[i] : Rgb8{};
            out[k].push_back({blend(from.red, to.red, k, steps - 1),
                              blend(from.green, to.green, k, steps - 1),
                              blend(from.blue, to.blue, k, steps - 1)});
        }
    }
    return out;
}

std::vector<std::vector<Rgb8>> fadeSteps(const std::vector<Rgb8> &palette, Rgb8 target, int steps) {
    return fadeSteps(palette, std::vector<Rgb8>(palette.size(), target), steps);
}

std::string fadeTargetName(Rgb8 target) {
    if (target == Rgb8{})
        return "black";
    if (target == Rgb8{255, 255, 255})
        return "white";
    return hex(static_cast<std::uint32_t>(target.red << 16 | target.green << 8 | target.blue), 6);
}

FadeTable fadeTable(const std::vector<std::vector<Rgb8>> &steps, bool aga,
                    const std::string &what) {
    FadeTable table;
    if (steps.empty() || steps.front().empty())
        return table;
    const std::size_t colours = steps.front().size();
    const std::string count = std::to_string(colours) + (colours == 1 ? " colour" : " colours");
    AsmWriter out;
    out.comment("fade of " + count + " to " + what + " in " + std::to_string(steps.size()) +
                " steps, " +
                (aga ? "AGA: a step is the high halves (LOCT clear), then the low halves (LOCT "
                       "set)"
                     : "OCS/ECS: a step is one 12-bit word a colour"));
    for (std::size_t k = 0; k < steps.size(); ++k) {
        out.label("fade" + std::to_string(k));
        std::vector<std::uint16_t> words;
        for (const Rgb8 &c : steps[k])
            words.push_back(highWord(c));
        if (aga)
            for (const Rgb8 &c : steps[k])
                words.push_back(lowWord(c));
        writeWords(out, words);
        table.words += words.size();
    }
    table.text = out.take();
    table.steps = steps.size();
    table.colours = colours;
    return table;
}

std::string fadeCode(const std::vector<std::vector<Rgb8>> &steps, bool aga,
                     const std::string &what) {
    return fadeTable(steps, aga, what).text;
}

} // namespace amiga
