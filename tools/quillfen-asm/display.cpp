// quillfen-asm display: the registers that open a screen, as copper data or CPU code.
#include "commands.h"
#include "output.h"

#include <amiga/displaysetup.h>

#include <cstdio>

namespace quillfen_asm {

namespace {

int runDisplay(Arguments &arguments) {
    amiga::DisplayRequest request;
    if (!arguments.operands().empty())
        return usageError(arguments,
                          "takes no operands, only options ('" + arguments.operands()[0] + "')");
    const std::string chipset = arguments.value("--chipset").value_or("ocs");
    if (chipset == "ocs")
        request.chipset = amiga::Chipset::Ocs;
    else if (chipset == "ecs")
        request.chipset = amiga::Chipset::Ecs;
    else if (chipset == "aga")
        request.chipset = amiga::Chipset::Aga;
    else
        arguments.fail("option '--chipset' takes ocs, ecs or aga, not '" + chipset + "'");
    request.ntsc = arguments.has("--ntsc");
    if (arguments.has("--hires") && arguments.has("--superhires"))
        arguments.fail("choose one of '--hires' and '--superhires'");
    if (arguments.has("--hires"))
        request.resolution = amiga::Resolution::Hires;
    if (arguments.has("--superhires"))
        request.resolution = amiga::Resolution::SuperHires;
    request.interlace = arguments.has("--lace");
    request.interleaved = arguments.has("--interleaved");
    request.scroll = arguments.has("--scroll");

    const auto width = arguments.number("--width", 320, Base::Decimal, 1, 4096);
    const auto height = arguments.number("--height", 256, Base::Decimal, 1, 2048);
    const auto depth = arguments.number("--depth", 5, Base::Decimal, 0, 8);
    const auto fmode = arguments.number("--fmode", 0, Base::Decimal, 0, 3);
    if (arguments.has("--centre") && (arguments.has("--hstart") || arguments.has("--vstart")))
        arguments.fail("'--centre' places the window itself: leave out '--hstart' and '--vstart'");
    const auto hstart = arguments.number("--hstart", 0x81, Base::Hexadecimal, 0, 0x7ff);
    const auto vstart = arguments.number("--vstart", 0x2c, Base::Hexadecimal, 0, 0x7ff);
    if (fmode && *fmode != 0 && request.chipset != amiga::Chipset::Aga)
        arguments.fail("'--fmode' needs '--chipset aga'");
    if (request.resolution == amiga::Resolution::SuperHires &&
        request.chipset == amiga::Chipset::Ocs)
        arguments.fail("'--superhires' needs '--chipset ecs' or '--chipset aga'");
    if (!arguments.ok())
        return usageError(arguments);

    request.width = static_cast<int>(*width);
    request.height = static_cast<int>(*height);
    request.depth = static_cast<int>(*depth);
    request.fetchMode = static_cast<int>(*fmode);
    if (arguments.has("--centre")) {
        request.hstart.reset();
        request.vstart.reset();
    } else {
        request.hstart = static_cast<int>(*hstart);
        request.vstart = static_cast<int>(*vstart);
    }
    const amiga::DisplaySetup setup = amiga::displaySetup(request);
    const std::string code = amiga::displaySetupCode(setup, arguments.has("--cpu"));
    const int written = writeOutput(arguments, code, kSuccess);
    if (written != kSuccess || setup.showable())
        return written;
    for (const amiga::DisplayWarning &warning : setup.warnings)
        if (warning.refusal)
            std::fprintf(stderr, "quillfen-asm display: the hardware cannot show this screen: %s\n",
                         warning.text.c_str());
    return kNegative;
}

} // namespace

const Command displayCommand = {
    "display",
    "[-o FILE] [--width N] [--height N] [--depth N] [--chipset ocs|ecs|aga] [--ntsc] "
    "[--hires|--superhires] "
    "[--lace] [--hstart HEX --vstart HEX | --centre] [--interleaved] [--scroll] [--fmode N] "
    "[--cpu]",
    "Prints the registers that open a bitplane screen: DIWSTRT, DIWSTOP (DIWHIGH), DDFSTRT, "
    "DDFSTOP, BPLCON0 (BPLCON1), BPL1MOD, BPL2MOD (FMODE).",
    "Prints the registers that open a bitplane screen: DIWSTRT, DIWSTOP (DIWHIGH), DDFSTRT,\n"
    "DDFSTOP, BPLCON0 (BPLCON1), BPL1MOD, BPL2MOD (FMODE).\n"
    "Window positions are in lores non-interlaced units, in hexadecimal without '$' as in the\n"
    "Display tab. Problems the hardware would have with the screen are printed as ';' lines\n"
    "before the register they concern. Exit status 1 when the hardware cannot show the screen\n"
    "as asked (a window that does not close by HSTOP $1c7, a fetch outside $18-$d8, too many\n"
    "planes, a window OCS cannot place); the registers are printed all the same.\n",
    {
        {"--width", "pixels of the chosen resolution (default 320)", Takes::Value, "N"},
        {"--height", "lines, both fields together when interlaced (default 256)", Takes::Value,
         "N"},
        {"--depth", "bitplanes, 0-8 (default 5)", Takes::Value, "N"},
        {"--chipset", "ocs, ecs or aga (default ocs)", Takes::Value, "NAME"},
        {"--ntsc", "an NTSC frame (262 lines) rather than PAL (312)"},
        {"--hires", "high resolution (640 pixels across the standard window)"},
        {"--superhires", "super-high resolution (1280; ECS and AGA)"},
        {"--lace", "interlaced"},
        {"--hstart", "the window's left edge (default 81)", Takes::Value, "HEX"},
        {"--vstart", "the window's top line (default 2c)", Takes::Value, "HEX"},
        {"--centre", "centre the window in the standard screen"},
        {"--interleaved", "the planes' lines alternate in memory"},
        {"--scroll", "fetch one block more, for scrolling with BPLCON1"},
        {"--fmode", "AGA fetch mode, FMODE bits 1-0: 0-3 (default 0)", Takes::Value, "N"},
        {"--cpu", "move.w instructions instead of copper data"},
        kOutputOption,
    },
    runDisplay,
};

} // namespace quillfen_asm
