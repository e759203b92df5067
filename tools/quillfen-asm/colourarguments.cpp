#include "colourarguments.h"

namespace quillfen_asm {

bool agaChipset(Arguments &arguments) {
    const std::string chipset = arguments.value("--chipset").value_or("ocs");
    if (chipset != "ocs" && chipset != "ecs" && chipset != "aga")
        arguments.fail("option '--chipset' takes ocs, ecs or aga, not '" + chipset + "'");
    return chipset == "aga";
}

} // namespace quillfen_asm
