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
                        std::size_t offset, const std::vector<amiga::CopperSymbol> &symbols,
                        amiga::CopperRead *read) {
    std::vector<std::uint8_t> bytes;
    std::string message;
    if (!picture::readWholeFile(path, {picture::kCopperListLimit, "copper list"}, &bytes,
                                &message)) {
        std::fprintf(stderr, "quillfen-asm %s: %s\n", command, message.c_str());
        return false;
    }
    *read = binary
                ? amiga::readCopperBinary({bytes.data(), bytes.size()}, offset)
                : amiga::readCopperText(
                      std::string_view(reinterpret_cast<const char *>(bytes.data()), bytes.size()),
                      symbols);
    // FILE:LINE:COLUMN: as compilers print it, so that editors go to the place.
    auto say = [&path](const amiga::CopperReadError &error, const char *kind) {
        std::string place = path;
        if (error.line > 0)
            place += ":" + std::to_string(error.line);
        if (error.column > 0)
            place += ":" + std::to_string(error.column);
        std::fprintf(stderr, "%s: %s%s\n", place.c_str(), kind, error.message.c_str());
    };
    for (const amiga::CopperReadError &error : read->errors)
        say(error, "");
    if (!read->ok())
        return false;
    for (const amiga::CopperReadError &note : read->notes)
        say(note, "note: ");
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
    std::vector<amiga::CopperSymbol> symbols;
    for (const std::string &definition : arguments.values("--define")) {
        std::string message;
        if (!amiga::readCopperSymbols(definition, &symbols, &message))
            arguments.fail("'--define': " + message);
    }
    if (!symbols.empty() && arguments.has("--binary"))
        arguments.fail("'--define' needs a text FILE, not '--binary'");
    if (!arguments.ok())
        return usageError(arguments);

    const std::string &path = arguments.operands()[0];
    amiga::CopperRead read;
    if (!readCopperListFile("copper", path, arguments.has("--binary"),
                            static_cast<std::size_t>(*offset), symbols, &read))
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
    options.unknown = read.unknown;
    // The listing is written as it is made, a piece at a time: a list as long as a whole chip
    // memory is never held as entries or as one text.
    amiga::CopperListing listing;
    std::string error;
    std::fflush(stdout);
    const bool written = picture::writeWholeFile(
        arguments.value("-o").value_or("-"),
        [&](const picture::WritePiece &write) {
            listing = amiga::writeCopperListing(read.words, options, write);
        },
        &error);
    if (!written) {
        std::fprintf(stderr, "quillfen-asm copper: %s\n", error.c_str());
        return kTrouble;
    }
    return listing.cannotPerform ? kNegative : kSuccess;
}

} // namespace

const Command copperCommand = {
    "copper",
    "[-o FILE] [--binary] [--offset N] [--define NAME=VALUE]... [--chipset ocs|ecs|aga] [--ntsc] "
    "FILE|-",
    "Reads a copper list back: one dc.w line per instruction, with what it does as a comment.",
    "Reads a copper list back: one dc.w line per instruction, with what it does as a comment.\n"
    "FILE holds assembler source (dc.w, dc.l, dc.b; equ, = and set; expressions over numbers\n"
    "and symbols), or hexadecimal words as hexdump -C, od, xxd or an emulator's memory view\n"
    "show them; with --binary, big-endian words. A word over a symbol the text does not define\n"
    "is listed as written; directives that give no words are passed over, with notes on\n"
    "standard error. Problems are printed as ';' lines before the instruction\n"
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
        {"--define",
         "give a symbol the text does not define a value (an expression of numbers); repeatable",
         Takes::Value, "NAME=VALUE"},
        {"--ntsc", "run the list over an NTSC frame (262 lines, to $105) rather than PAL (312)"},
        kOutputOption,
    },
    runCopper,
};

} // namespace quillfen_asm
