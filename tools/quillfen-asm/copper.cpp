// quillfen-asm copper: a copper list read back as instructions, each explained.
#include "commands.h"
#include "output.h"

#include <amiga/copperlist.h>
#include <amiga/copperread.h>

#include <picture/files.h>

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace quillfen_asm {

bool readCopperListFile(const char *command, const std::string &path, bool binary,
                        std::size_t offset, std::vector<std::uint16_t> *words) {
    std::vector<std::uint8_t> bytes;
    std::string message;
    if (!picture::readWholeFile(path, {picture::kCopperListLimit, "copper list"}, &bytes,
                                &message)) {
        std::fprintf(stderr, "quillfen-asm %s: %s\n", command, message.c_str());
        return false;
    }
    const amiga::CopperRead read =
        binary ? amiga::readCopperBinary({bytes.data(), bytes.size()}, offset)
               : amiga::readCopperText(
                     std::string_view(reinterpret_cast<const char *>(bytes.data()), bytes.size()));
    if (!read.ok()) {
        for (const amiga::CopperReadError &error : read.errors) {
            if (error.line > 0)
                std::fprintf(stderr, "%s:%zu: %s\n", path.c_str(), error.line,
                             error.message.c_str());
            else
                std::fprintf(stderr, "%s: %s\n", path.c_str(), error.message.c_str());
        }
        return false;
    }
    *words = read.words;
    return true;
}

namespace {

int runCopper(Arguments &arguments) {
    if (arguments.operands().size() != 1)
        arguments.fail("takes one FILE, or - for standard input");
    const amiga::Chipset chipset = chipsetOption(arguments, "ocs").value_or(amiga::Chipset::Ocs);
    // A byte offset as a memory view shows it ($400, 0x400) or in decimal.
    const std::string offsetText = arguments.value("--offset").value_or("");
    const bool hexOffset = offsetText.rfind('$', 0) == 0 || offsetText.rfind("0x", 0) == 0;
    const auto offset =
        arguments.number("--offset", 0, hexOffset ? Base::Hexadecimal : Base::Decimal, 0,
                         static_cast<std::int64_t>(picture::kCopperListLimit));
    if (arguments.has("--offset") && !arguments.has("--binary"))
        arguments.fail("'--offset' needs '--binary'");
    if (!arguments.ok())
        return usageError(arguments);

    const std::string &path = arguments.operands()[0];
    std::vector<std::uint16_t> words;
    if (!readCopperListFile("copper", path, arguments.has("--binary"),
                            static_cast<std::size_t>(*offset), &words))
        return kTrouble;
    const std::vector<amiga::RegisterLayout> *registers = registerDatabase("copper");
    if (registers == nullptr)
        return kTrouble;
    amiga::CopperListOptions options;
    options.explain = amiga::explainThroughDatabase(*registers, chipset);
    // ECS has the colour registers of OCS.
    options.chipset = chipset == amiga::Chipset::Aga ? amiga::CopperFrame::Chipset::Aga
                                                     : amiga::CopperFrame::Chipset::Ocs;
    if (arguments.has("--ntsc"))
        options.frameLines = amiga::CopperFrame::kNtscLines;
    const amiga::CopperListing listing = amiga::disassemble(words, options);
    const std::string text = amiga::copperListingText(listing);
    return writeOutput(arguments, text, listing.cannotPerform ? kNegative : kSuccess);
}

} // namespace

const Command copperCommand = {
    "copper",
    "[-o FILE] [--binary] [--offset N] [--chipset ocs|ecs|aga] [--ntsc] FILE|-",
    "Reads a copper list back: one dc.w line per instruction, with what it does as a comment.",
    "Reads a copper list back: one dc.w line per instruction, with what it does as a comment.\n"
    "FILE holds dc.w/dc.l lines, or hexadecimal words as an emulator's memory view shows them;\n"
    "with --binary, big-endian words. Problems are printed as ';' lines before the instruction\n"
    "they concern. The text assembles back to the words read. Exit status 1 when the list holds\n"
    "an instruction the copper cannot perform (a MOVE to $000-$03e, a lone last word).\n",
    {
        {"--binary", "FILE is binary: big-endian words"},
        {"--offset",
         "with --binary, the byte where the list starts: decimal, or $hex or 0xhex (default 0)",
         Takes::Value, "N"},
        {"--chipset",
         "ocs, ecs or aga: bits are named as that chipset has them; AGA follows BPLCON3's bank "
         "and LOCT (default ocs)",
         Takes::Value, "NAME"},
        {"--ntsc", "run the list over an NTSC frame (262 lines, to $105) rather than PAL (312)"},
        kOutputOption,
    },
    runCopper,
};

} // namespace quillfen_asm
