#include "colourarguments.h"

namespace quillfen_asm {

std::optional<amiga::Rgb8> parseRgb(const std::string &text) {
    const std::string digits = !text.empty() && text[0] == '#' ? text.substr(1) : text;
    if (digits.size() != 6 || digits.find_first_of("$xX") != std::string::npos)
        return std::nullopt;
    const std::optional<std::int64_t> value = parseHex(digits);
    if (!value)
        return std::nullopt;
    return amiga::Rgb8{static_cast<std::uint8_t>(*value >> 16),
                       static_cast<std::uint8_t>(*value >> 8), static_cast<std::uint8_t>(*value)};
}

bool agaChipset(Arguments &arguments) {
    const std::string chipset = arguments.value("--chipset").value_or("ocs");
    if (chipset != "ocs" && chipset != "ecs" && chipset != "aga")
        arguments.fail("option '--chipset' takes ocs, ecs or aga, not '" + chipset + "'");
    return chipset == "aga";
}

} // namespace quillfen_asm
