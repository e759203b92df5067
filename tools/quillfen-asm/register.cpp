// quillfen-asm register NAME VALUE: the line that writes a word to a custom-chip register, with a
// comment that names its set bits and groups, as the Registers tab shows it.
#include "commands.h"
#include "output.h"

#include <amiga/nearestname.h>
#include <amiga/registercode.h>

#include <cstddef>
#include <string_view>

namespace quillfen_asm {

namespace {

int run(Arguments &arguments) {
    const std::vector<std::string> &operands = arguments.operands();
    if (operands.size() != 2)
        return usageError(arguments, "needs a register NAME and a hexadecimal VALUE");
    const std::optional<std::int64_t> value = parseHex(operands[1]);
    if (!value || *value > 0xffff)
        return usageError(arguments, "VALUE takes a hexadecimal word from 0 to ffff, not '" +
                                         operands[1] + "'");
    const bool set = arguments.has("--set");
    const bool clear = arguments.has("--clear");
    if (set && clear)
        return usageError(arguments, "--set and --clear exclude each other");
    const std::optional<amiga::Chipset> chipset = chipsetOption(arguments, "aga");
    if (!chipset)
        return usageError(arguments);

    const std::vector<amiga::RegisterLayout> *registers = registerDatabase("register");
    if (registers == nullptr)
        return kTrouble;
    const amiga::RegisterLayout *layout = amiga::findRegister(*registers, operands[0]);
    if (layout == nullptr) {
        std::vector<std::string> names;
        for (const amiga::RegisterLayout &known : *registers)
            names.push_back(known.name);
        const std::optional<std::string> nearest = amiga::nearestName(operands[0], names);
        return usageError(arguments, "no register is called '" + operands[0] + "'" +
                                         (nearest ? " (did you mean '" + *nearest + "'?)" : ""));
    }
    if ((set || clear) && !amiga::isSetClearRegister(layout->name))
        return usageError(arguments, layout->name + " has no set/clear bit: --set and --clear are "
                                                    "for DMACON, INTENA, INTREQ and ADKCON");

    const amiga::SetClear mode = set     ? amiga::SetClear::Set
                                 : clear ? amiga::SetClear::Clear
                                         : amiga::SetClear::AsGiven;
    return writeOutput(arguments,
                       amiga::registerWriteCode(amiga::layoutOn(*layout, *chipset),
                                                static_cast<std::uint16_t>(*value), mode,
                                                arguments.has("--copper")),
                       kSuccess);
}

} // namespace

const Command registerCommand = {
    "register",
    "NAME VALUE [--set|--clear] [--copper] [--chipset ocs|ecs|aga] [-o FILE]",
    "The instruction that writes VALUE to a custom-chip register, its bits named.",
    "The instruction that writes VALUE to a custom-chip register, its bits named.\n"
    "\nNAME is a register of the register database (BPLCON0, DMACON, …), in any case.\n"
    "VALUE is a hexadecimal word, with or without '$' or '0x'. The line is a move.w\n"
    "through a6, or with --copper a copper MOVE as dc.w data; its comment names the\n"
    "set bits from bit 15 down, a bit group once as NAME=value (BPU=5).\n"
    "DMACON, INTENA, INTREQ and ADKCON set or clear the bits written as 1 by bit 15:\n"
    "--set makes it 1 and --clear 0, and the comment starts SET or CLEAR.\n"
    "Bits are named as the chipset has them (BPLCON1's scroll delays count lores pixels\n"
    "on OCS and ECS, 35 ns steps on AGA); a bit the chipset lacks is named by its number.\n"
    "\nExample: quillfen-asm register BPLCON0 5200\n"
    "\tmove.w\t#$5200,BPLCON0(a6)\t; BPU=5 COLOR\n",
    {
        {"--set", "bit 15 set: the bits written as 1 are set"},
        {"--clear", "bit 15 clear: the bits written as 1 are cleared"},
        {"--copper", "a copper MOVE (dc.w NAME,$value) instead of move.w"},
        {"--chipset", "ocs, ecs or aga (default aga)", Takes::Value, "NAME"},
        kOutputOption,
    },
    run,
};

} // namespace quillfen_asm
