// quillfen-asm fade: a picture's palette stepped to black, to white, to a colour or to a second
// picture's palette, as a table of colour words per step.
#include "colourarguments.h"
#include "commands.h"
#include "output.h"
#include "picturepalette.h"

#include <amiga/fade.h>

#include <cstdio>

namespace quillfen_asm {

namespace {

int runFade(Arguments &arguments) {
    const bool aga = agaChipset(arguments);
    const auto steps = arguments.number("--steps", 0, Base::Decimal, 2, 256);
    if (!arguments.has("--steps"))
        arguments.fail("give the number of steps, '--steps N'");
    if (arguments.has("--to") && arguments.has("--to-palette"))
        arguments.fail("choose one of '--to' and '--to-palette'");
    amiga::Rgb8 target;
    if (const auto to = arguments.value("--to")) {
        if (const auto colour = amiga::rgbFromText(*to))
            target = *colour;
        else
            arguments.fail("option '--to' takes a colour rrggbb or #rrggbb, not '" + *to + "'");
    }
    const auto picture = arguments.number("--picture", 1, Base::Decimal, 1, 65535);
    if (arguments.operands().size() != 1)
        arguments.fail("give one picture file, whose colour map is the palette");
    if (!arguments.ok())
        return usageError(arguments);

    const char *name = arguments.command().name;
    std::string error;
    const std::vector<amiga::Rgb8> palette = pictureColourMap(
        arguments.operands()[0], error, static_cast<unsigned>(picture.value_or(1) - 1));
    if (palette.empty()) {
        std::fprintf(stderr, "quillfen-asm %s: %s\n", name, error.c_str());
        return kTrouble;
    }
    std::vector<std::vector<amiga::Rgb8>> table;
    std::string what;
    if (const auto second = arguments.value("--to-palette")) {
        const std::vector<amiga::Rgb8> targets = pictureColourMap(*second, error);
        if (targets.empty()) {
            std::fprintf(stderr, "quillfen-asm %s: %s\n", name, error.c_str());
            return kTrouble;
        }
        table = amiga::fadeSteps(palette, targets, static_cast<int>(*steps));
        what = amiga::kFadeToSecondPalette;
    } else {
        table = amiga::fadeSteps(palette, target, static_cast<int>(*steps));
        what = amiga::fadeTargetName(target);
    }
    const std::string code = amiga::fadeCode(table, aga, what);
    return writeOutput(arguments, code, kSuccess);
}

} // namespace

const Command fadeCommand = {
    "fade",
    "[-o FILE] --steps N [--to RRGGBB | --to-palette FILE2] [--chipset ocs|ecs|aga] [--picture N] "
    "FILE",
    "Prints a fade table: the colour map of the picture FILE stepped to black, to a colour or to "
    "the colour map of FILE2.",
    "Prints a fade table: the colour map of the picture FILE stepped to black, to a colour or\n"
    "to the colour map of FILE2.\n"
    "Step k of N is each 8-bit gun blended k/(N-1) of the way, rounded to 8 bits; the first\n"
    "step is the palette, the last the target. Each step has a label (fade0, fade1, ...) and\n"
    "its words, eight a line: OCS/ECS one 12-bit word a colour (the high nibbles), AGA the\n"
    "high halves of all colours, then the low halves. Entries that FILE2 lacks fade to black.\n"
    "FILE and FILE2 are ILBM, ACBM or PBM pictures, PNGs or ILBM palette files; of a file\n"
    "that holds several pictures, the first is used (for FILE, picture N of --picture N).\n",
    {
        {"--steps", "how many steps, 2-256, the palette and the target included", Takes::Value,
         "N"},
        {"--to", "the colour to fade to, with or without '#' (default 000000)", Takes::Value,
         "RRGGBB"},
        {"--to-palette", "fade to the colour map of another picture", Takes::Value, "FILE2"},
        {"--chipset", "ocs, ecs or aga (default ocs)", Takes::Value, "NAME"},
        {"--picture", "use picture N of FILE (1 is the first, the default)", Takes::Value, "N"},
        kOutputOption,
    },
    runFade,
};

} // namespace quillfen_asm
