// quillfen-asm frame: the frame a copper list and its chip data make, as a PNG, or what made
// one of its pixels.
#include "commands.h"

#include <amiga/displaymodel.h>

#include <picture/files.h>
#include <picture/pngwrite.h>

#include <cstdio>
#include <string>
#include <vector>

namespace quillfen_asm {

namespace {

// Hexadecimal numbers separated by commas, count of them; false for anything else.
bool hexList(const std::string &text, std::size_t count, std::vector<int> *numbers) {
    numbers->clear();
    std::size_t from = 0;
    while (from <= text.size()) {
        const std::size_t comma = std::min(text.find(',', from), text.size());
        const std::optional<std::int64_t> n = parseHex(text.substr(from, comma - from));
        if (!n || *n > 0xffff)
            return false;
        numbers->push_back(static_cast<int>(*n));
        from = comma + 1;
    }
    return numbers->size() == count;
}

int runFrame(Arguments &arguments) {
    if (arguments.operands().size() != 1)
        arguments.fail("takes one LIST file");
    const std::optional<amiga::Chipset> chipset = chipsetOption(arguments, "ocs");
    amiga::FrameRequest request;
    request.setup.chipset = chipset.value_or(amiga::Chipset::Ocs);
    request.setup.ntsc = arguments.has("--ntsc");
    request.setup.spriteDma = arguments.has("--sprites");
    const std::string columns = arguments.value("--columns").value_or("hires");
    if (columns != "hires" && columns != "shres")
        arguments.fail("option '--columns' takes hires or shres, not '" + columns + "'");
    request.setup.superhiresColumns = columns == "shres";
    const auto copperAddress =
        arguments.number("--copper-addr", 0x1000, Base::Hexadecimal, 0, 0x1ffffc);
    if (copperAddress && *copperAddress % 4 != 0)
        arguments.fail("option '--copper-addr' needs an address that is a multiple of 4");
    request.setup.copperAddress = static_cast<std::uint32_t>(copperAddress.value_or(0x1000));
    const auto chipSize = arguments.number("--chip-size", 0, Base::Hexadecimal, 0, 0x200000);
    request.chipSize = static_cast<std::uint32_t>(chipSize.value_or(0));

    amiga::FrameRegion region = amiga::visibleRegion(request.setup.ntsc);
    std::vector<int> numbers;
    if (const auto text = arguments.value("--region")) {
        if (hexList(*text, 4, &numbers))
            region = {numbers[0], numbers[1], numbers[2], numbers[3]};
        else
            arguments.fail("option '--region' takes H0,V0,H1,V1 in hexadecimal, not '" + *text +
                           "'");
    }
    std::vector<int> explain;
    if (const auto text = arguments.value("--explain")) {
        if (!hexList(*text, 2, &explain))
            arguments.fail("option '--explain' takes H,V in hexadecimal, not '" + *text + "'");
    }
    if (!arguments.has("-o") && !arguments.has("--explain"))
        arguments.fail("needs -o OUT.png (or --explain H,V)");
    struct Chip {
        std::uint32_t address;
        std::string path;
    };
    std::vector<Chip> chips;
    for (const std::string &value : arguments.values("--chip")) {
        const std::size_t colon = value.find(':');
        const auto address =
            colon == std::string::npos ? std::nullopt : parseHex(value.substr(0, colon));
        if (!address || colon + 1 >= value.size() || *address > 0xffffff) {
            arguments.fail("option '--chip' takes ADDR:FILE, the address in hexadecimal, not '" +
                           value + "'");
            break;
        }
        chips.push_back({static_cast<std::uint32_t>(*address), value.substr(colon + 1)});
    }
    if (!arguments.ok())
        return usageError(arguments);

    const bool binary = arguments.has("--binary");
    // Words over symbols the list does not define read as 0 (a note names the symbols).
    amiga::CopperRead read;
    if (!readCopperListFile("frame", arguments.operands()[0], binary, 0, {}, &read))
        return kTrouble;
    request.list = std::move(read.words);
    if (const auto second = arguments.value("--lace-short")) {
        if (!readCopperListFile("frame", *second, binary, 0, {}, &read))
            return kTrouble;
        request.shortList = std::move(read.words);
        request.hasShortList = true;
    }
    for (const Chip &chip : chips) {
        amiga::ChipPlacement piece;
        piece.address = chip.address;
        piece.name = picture::fileName(chip.path);
        std::string message;
        if (!picture::readWholeFile(chip.path, {std::size_t{2} << 20, "chip data"}, &piece.data,
                                    &message)) {
            std::fprintf(stderr, "quillfen-asm frame: %s\n", message.c_str());
            return kTrouble;
        }
        request.chip.push_back(std::move(piece));
    }

    std::string message;
    if (!explain.empty()) {
        std::string text;
        if (!amiga::explainPixel(request, explain[0], explain[1], &text, &message)) {
            std::fprintf(stderr, "quillfen-asm frame: %s\n", message.c_str());
            return kTrouble;
        }
        std::fputs(text.c_str(), stdout);
        std::fflush(stdout);
        if (!arguments.has("-o"))
            return kSuccess;
    }
    amiga::FramePicture frame;
    if (!amiga::drawFrame(request, region, &frame, &message)) {
        std::fprintf(stderr, "quillfen-asm frame: %s\n", message.c_str());
        return kTrouble;
    }
    for (const std::string &note : frame.notes)
        std::fprintf(stderr, "quillfen-asm frame: note: %s\n", note.c_str());
    const std::vector<std::uint8_t> png = picture::rgbPng(frame.columns, frame.rows, frame.pixels);
    const std::string path = *arguments.value("-o");
    if (png.empty() || !picture::writeWholeFile(path, png.data(), png.size(), &message)) {
        std::fprintf(stderr, "quillfen-asm frame: %s\n",
                     png.empty() ? "the PNG could not be made" : message.c_str());
        return kTrouble;
    }
    return kSuccess;
}

} // namespace

const Command frameCommand = {
    "frame",
    "[--chip ADDR:FILE]... [--copper-addr ADDR] [--chipset ocs|ecs|aga] [--ntsc] "
    "[--lace-short LIST2] [--sprites] [--region H0,V0,H1,V1] [--columns hires|shres] "
    "[--explain H,V] [-o OUT.png] LIST",
    "Draws the frame a copper list shows with its chip data, as a PNG.",
    "Draws the frame a copper list shows with its chip data, as a PNG: one column per hires\n"
    "pixel (a lores pixel is two), one row per line; interlaced (a short frame's list, or\n"
    "BPLCON0's LACE set), two rows a line, the long frame's first. The display chips start as\n"
    "start-up code leaves them (DMACON DMAEN|BPLEN|COPEN, BPLCON0 $0200, BPLCON3 $0c00,\n"
    "BPLCON4 $0011, colours 0, sprites off) and the copper starts at the list every frame.\n"
    "LIST is read as the copper command reads it. Addresses and positions are hexadecimal;\n"
    "positions are lores pixels H and lines V. The blitter, the CPU and collisions are not\n"
    "modelled. Exit status 2 for chip data past chip memory or overlapping, and a region\n"
    "outside the frame; a list that never ends is cut at the frame's end, with a note.\n",
    {
        {"--chip", "put FILE's bytes into chip memory at ADDR (hexadecimal); repeatable",
         Takes::Value, "ADDR:FILE"},
        {"--copper-addr",
         "where the list goes in chip memory (hexadecimal, default 1000); the "
         "short frame's list follows it",
         Takes::Value, "ADDR"},
        {"--chip-size", "bytes of chip memory, hexadecimal (default 80000 OCS/ECS, 200000 AGA)",
         Takes::Value, "N"},
        {"--chipset", "ocs, ecs or aga (default ocs)", Takes::Value, "NAME"},
        {"--ntsc", "an NTSC frame (262 lines) rather than PAL (312)"},
        {"--lace-short", "the short frame's list of an interlaced picture (LIST: the long one's)",
         Takes::Value, "LIST2"},
        {"--sprites", "sprite DMA on (DMACON SPREN) from the start"},
        {"--binary", "the lists are binary: big-endian words"},
        {"--region",
         "the part drawn, in lores pixels and lines, the last two excluded (default the visible "
         "frame: 5c,1a,1d4,138 PAL, 5c,15,1d4,106 NTSC)",
         Takes::Value, "H0,V0,H1,V1"},
        {"--columns", "hires (default) or shres: one column per superhires pixel", Takes::Value,
         "KIND"},
        {"--explain",
         "print what made the pixel at lores H, line V: source, plane bits, colour "
         "register and the copper instruction that set it",
         Takes::Value, "H,V"},
        {"-o", "write the PNG to FILE, replacing it only when all is written", Takes::Value,
         "FILE"},
    },
    runFrame,
};

} // namespace quillfen_asm
