// quillfen-asm blitter: BLTCON0, BLTCON1 and the size register for an area-mode blit, from its
// logic function, channels, shifts, direction and fill.
#include "commands.h"
#include "output.h"

#include <amiga/blitter.h>

namespace quillfen_asm {

namespace {

namespace bl = amiga::blitter;

int run(Arguments &arguments) {
    if (!arguments.operands().empty())
        return usageError(arguments, "takes no operands, only options");
    const std::optional<std::string> function = arguments.value("--function");
    const std::optional<std::string> minterms = arguments.value("--minterms");
    if (function.has_value() == minterms.has_value())
        return usageError(arguments, "needs one of --function EXPR and --minterms HEX");

    bl::Blit blit;
    if (function) {
        std::string error;
        const std::optional<std::uint8_t> value = bl::parseFunction(*function, &error);
        if (!value)
            return usageError(arguments, "--function '" + *function + "': " + error);
        blit.minterms = *value;
        blit.function = *function;
    } else {
        const std::optional<std::int64_t> value = parseHex(*minterms);
        if (!value || *value > 0xff)
            return usageError(arguments, "--minterms takes a hexadecimal byte from 0 to ff, not '" +
                                             *minterms + "'");
        blit.minterms = static_cast<std::uint8_t>(*value);
    }
    blit.channels = bl::channelsFor(blit.minterms);
    if (const std::optional<std::string> letters = arguments.value("--channels")) {
        const std::optional<bl::Channels> channels = bl::parseChannels(*letters);
        if (!channels)
            return usageError(arguments, "--channels takes the letters A, B, C and D, each at most "
                                         "once, not '" +
                                             *letters + "'");
        blit.channels = *channels;
    }
    const std::optional<std::int64_t> aShift =
        arguments.number("--ashift", 0, Base::Decimal, 0, 15);
    const std::optional<std::int64_t> bShift =
        arguments.number("--bshift", 0, Base::Decimal, 0, 15);
    const std::optional<std::int64_t> width =
        arguments.number("--width", 0, Base::Decimal, 1, 1000000);
    const std::optional<std::int64_t> height =
        arguments.number("--height", 0, Base::Decimal, 1, 1000000);
    if (!arguments.ok())
        return usageError(arguments);
    blit.aShift = static_cast<int>(*aShift);
    blit.bShift = static_cast<int>(*bShift);
    blit.descending = arguments.has("--desc");
    if (const std::optional<std::string> fill = arguments.value("--fill")) {
        if (*fill == "inclusive")
            blit.fill = bl::Fill::Inclusive;
        else if (*fill == "exclusive")
            blit.fill = bl::Fill::Exclusive;
        else
            return usageError(arguments,
                              "--fill takes inclusive or exclusive, not '" + *fill + "'");
    }
    blit.fillCarryIn = arguments.has("--fci");
    if (blit.fillCarryIn && blit.fill == bl::Fill::None)
        return usageError(arguments, "--fci is the fill carry-in: it needs --fill");
    if (arguments.has("--width") != arguments.has("--height"))
        return usageError(arguments, "--width and --height go together");
    blit.widthWords = static_cast<int>(*width);
    blit.heightLines = static_cast<int>(*height);
    if (bl::sizeFit(blit.widthWords, blit.heightLines) == bl::SizeFit::Invalid) {
        std::fprintf(stderr,
                     "quillfen-asm blitter: %d lines of %d words is more than the blitter "
                     "does in one blit (2047 words, 32767 lines)\n",
                     blit.heightLines, blit.widthWords);
        return kNegative;
    }
    return writeOutput(arguments, bl::blitterCode(blit, arguments.has("--copper")), kSuccess);
}

} // namespace

const Command blitterCommand = {
    "blitter",
    "[-o FILE] (--function EXPR | --minterms HEX) [--channels ABCD] [--ashift N] [--bshift N] "
    "[--desc] "
    "[--fill inclusive|exclusive] [--fci] [--width WORDS --height LINES] [--copper]",
    "BLTCON0, BLTCON1 and BLTSIZE for an area-mode blit.",
    "BLTCON0, BLTCON1 and BLTSIZE for an area-mode blit.\n"
    "\nThe function is an expression over the sources A, B and C: not is ! or ~ before\n"
    "or ' after, and is & or * or two terms side by side, or is + or |, exclusive or\n"
    "is ^, with parentheses; 0 and 1 are constants. A cookie-cut (A the mask, B the\n"
    "bob, C the background) is AB+!AC, minterms $ca. The channels default to the\n"
    "sources the function reads, and D. A fill works descending, so --fill sets DESC.\n"
    "A size of 1-64 words and 1-1024 lines is BLTSIZE; larger blits, up to 2047 words\n"
    "and 32767 lines, are BLTSIZV and BLTSIZH (ECS and AGA only). Line mode is left out.\n"
    "\nExample: quillfen-asm blitter --function AB+!AC --ashift 4 --bshift 4 "
    "--width 4 --height 20\n",
    {
        {"--function", "the logic function over A, B and C, e.g. AB+!AC", Takes::Value, "EXPR"},
        {"--minterms", "the function byte itself, e.g. ca", Takes::Value, "HEX"},
        {"--channels", "the DMA channels used (default: the sources read, and D)", Takes::Value,
         "ABCD"},
        {"--ashift", "shift of source A, 0-15 pixels to the right", Takes::Value, "N"},
        {"--bshift", "shift of source B, 0-15 pixels to the right", Takes::Value, "N"},
        {"--desc", "descending: addresses count down (overlapping copies)"},
        {"--fill", "area fill: inclusive or exclusive", Takes::Value, "MODE"},
        {"--fci", "fill carry-in: start each line inside the fill"},
        {"--width", "width of the blit in words", Takes::Value, "WORDS"},
        {"--height", "height of the blit in lines", Takes::Value, "LINES"},
        {"--copper", "copper MOVEs (dc.w) instead of move.w"},
        kOutputOption,
    },
    run,
};

} // namespace quillfen_asm
