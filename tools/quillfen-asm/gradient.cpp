// quillfen-asm gradient: key colours blended down the screen, as the shortest copper list that
// shows them on one colour register, or as a table of colour words.
#include "colourarguments.h"
#include "commands.h"
#include "output.h"

#include <amiga/copperframe.h>
#include <amiga/gradient.h>

#include <cstdio>

namespace quillfen_asm {

namespace {

// "LINE:#rrggbb" with LINE in decimal.
std::optional<amiga::GradientKey> parseKey(const std::string &text) {
    const std::size_t colon = text.find(':');
    if (colon == std::string::npos)
        return std::nullopt;
    const std::optional<std::int64_t> line = parseDecimal(text.substr(0, colon));
    const std::optional<amiga::Rgb8> colour = amiga::rgbFromText(text.substr(colon + 1));
    if (!line || !colour || *line > 0xffff)
        return std::nullopt;
    return amiga::GradientKey{static_cast<int>(*line), *colour};
}

int runGradient(Arguments &arguments) {
    amiga::GradientRequest request;
    request.aga = agaChipset(arguments);
    if (arguments.has("--ntsc"))
        request.frameLines = amiga::CopperFrame::kNtscLines;
    const auto start = arguments.number("--start", 0x2c, Base::Hexadecimal, 0, 0x137);
    const auto lines = arguments.number("--lines", 200, Base::Decimal, 1, 312);
    const auto colourRegister =
        arguments.number("--register", 0, Base::Decimal, 0, request.aga ? 255 : 31);
    const auto hpos = arguments.number("--hpos", 0x07, Base::Hexadecimal, 0, 0xe2);
    if (const auto bplcon3 = arguments.number("--bplcon3", Base::Hexadecimal, 0, 0xffff)) {
        request.bplcon3 = static_cast<std::uint16_t>(*bplcon3);
        if (!request.aga)
            arguments.fail("'--bplcon3' needs '--chipset aga'");
    }
    const std::string blend = arguments.value("--blend").value_or("rgb");
    if (blend == "oklab")
        request.blend = amiga::GradientBlend::Oklab;
    else if (blend != "rgb")
        arguments.fail("option '--blend' takes rgb or oklab, not '" + blend + "'");
    const std::string dither = arguments.value("--dither").value_or("none");
    if (dither == "ordered")
        request.dither = amiga::GradientDither::Ordered;
    else if (dither == "diffuse")
        request.dither = amiga::GradientDither::Diffuse;
    else if (dither != "none")
        arguments.fail("option '--dither' takes none, ordered or diffuse, not '" + dither + "'");
    if (request.aga && request.dither != amiga::GradientDither::None)
        arguments.fail("'--dither' is for OCS/ECS: AGA shows every 8-bit colour");
    if (arguments.operands().empty())
        arguments.fail("give at least one key colour, LINE:#rrggbb");
    for (const std::string &operand : arguments.operands()) {
        const std::optional<amiga::GradientKey> key = parseKey(operand);
        if (!key) {
            arguments.fail("a key colour is LINE:#rrggbb with LINE in decimal, not '" + operand +
                           "'");
        } else if (lines && key->line >= *lines) {
            arguments.fail("key '" + operand + "' is past the last line of the gradient (" +
                           std::to_string(*lines - 1) + ")");
        } else {
            request.keys.push_back(*key);
        }
    }
    if (!arguments.ok())
        return usageError(arguments);

    request.firstLine = static_cast<int>(*start);
    request.lines = static_cast<int>(*lines);
    request.colourRegister = static_cast<int>(*colourRegister);
    request.horizontal = static_cast<int>(*hpos);
    const std::string code = arguments.has("--table") ? amiga::gradientTableCode(request)
                                                      : amiga::gradientCopperCode(request);
    return writeOutput(arguments, code, kSuccess);
}

} // namespace

const Command gradientCommand = {
    "gradient",
    "[-o FILE] [--start HEX] [--lines N] [--chipset ocs|ecs|aga] [--register N] [--blend "
    "rgb|oklab] "
    "[--dither none|ordered|diffuse] [--hpos HEX] [--bplcon3 HEX] [--ntsc] [--table] KEY...",
    "Prints a copper list that blends key colours line by line on one colour register, with a "
    "WAIT only where the colour changes.",
    "Prints a copper list that blends key colours line by line on one colour register, with a\n"
    "WAIT only where the colour changes.\n"
    "A KEY is LINE:#rrggbb (or LINE:rrggbb), LINE counted in decimal from the first line (0).\n"
    "Lines before the first key and after the last keep their colours. Each line's blend is\n"
    "rounded to 8 bits a gun; OCS/ECS show its high nibbles, or with --dither a 12-bit colour\n"
    "chosen so that the lines average to it. Lines past the end of the frame ($137 on PAL,\n"
    "$105 with --ntsc) are left out. The last line counts the instructions and bytes.\n",
    {
        {"--start", "the display line of the first line, 0-137 (default 2c)", Takes::Value, "HEX"},
        {"--lines", "how many lines, 1-312 (default 200)", Takes::Value, "N"},
        {"--chipset", "ocs, ecs or aga (default ocs)", Takes::Value, "NAME"},
        {"--register", "the colour register, 0-31 or on AGA 0-255 (default 0)", Takes::Value, "N"},
        {"--blend", "rgb, or oklab for even steps of lightness (default rgb)", Takes::Value,
         "NAME"},
        {"--dither", "none, ordered or diffuse, OCS/ECS only (default none)", Takes::Value, "NAME"},
        {"--hpos", "the WAITs' horizontal position, 0-e2 (default 07)", Takes::Value, "HEX"},
        {"--bplcon3",
         "AGA: the BPLCON3 value the display keeps (default 0c00, the reset value); the colour "
         "writes set the bank and LOCT bits in it and the list ends with it",
         Takes::Value, "HEX"},
        {"--ntsc", "an NTSC frame (262 lines, to $105) rather than PAL (312, to $137)"},
        {"--table", "a table of colour words, one dc.w a line, for the CPU"},
        kOutputOption,
    },
    runGradient,
};

} // namespace quillfen_asm
