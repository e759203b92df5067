#include "options.h"

#include <cctype>
#include <cstring>

namespace quillfen_asm {

namespace {

const OptionSpec *findOption(const Command &command, const std::string &name) {
    for (const OptionSpec &option : command.options)
        if (name == option.name)
            return &option;
    return nullptr;
}

std::optional<std::int64_t> parseDigits(const std::string &text, int base) {
    if (text.empty() || text.size() > 15)
        return std::nullopt;
    std::int64_t value = 0;
    for (char c : text) {
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return std::nullopt;
        value = value * base + digit;
    }
    return value;
}

} // namespace

std::optional<std::int64_t> parseHex(const std::string &text) {
    if (!text.empty() && text[0] == '$')
        return parseDigits(text.substr(1), 16);
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        return parseDigits(text.substr(2), 16);
    return parseDigits(text, 16);
}

std::optional<std::int64_t> parseDecimal(const std::string &text) {
    return parseDigits(text, 10);
}

Arguments::Arguments(const Command &command, int argc, char **argv) : m_command(&command) {
    bool operandsOnly = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (operandsOnly || a.size() < 2 || a[0] != '-') {
            m_operands.push_back(a); // "-" alone is the standard input
            continue;
        }
        if (a == "--") {
            operandsOnly = true;
            continue;
        }
        if (a == "--help" || a == "-h") {
            m_help = true;
            continue;
        }
        const std::size_t equals = a.find('=');
        const std::string name = a.substr(0, equals);
        const OptionSpec *option = findOption(command, name);
        if (option == nullptr) {
            fail("unknown option '" + name + "'");
            continue;
        }
        if (!option->takesValue) {
            if (equals != std::string::npos)
                fail("option '" + name + "' takes no value");
            m_values.emplace(name, std::string());
        } else if (equals != std::string::npos) {
            m_values.emplace(name, a.substr(equals + 1));
        } else if (i + 1 < argc) {
            m_values.emplace(name, argv[++i]);
        } else {
            fail("option '" + name + "' needs a value");
        }
    }
}

bool Arguments::has(const std::string &name) const {
    return m_values.count(name) != 0;
}

std::optional<std::string> Arguments::value(const std::string &name) const {
    auto range = m_values.equal_range(name);
    if (range.first == range.second)
        return std::nullopt;
    return std::prev(range.second)->second;
}

std::optional<std::int64_t> Arguments::number(const std::string &name, std::int64_t fallback,
                                              bool hex, std::int64_t minimum,
                                              std::int64_t maximum) {
    const std::optional<std::string> text = value(name);
    if (!text)
        return fallback;
    const std::optional<std::int64_t> parsed = hex ? parseHex(*text) : parseDecimal(*text);
    if (!parsed || *parsed < minimum || *parsed > maximum) {
        char range[96];
        if (hex)
            std::snprintf(range, sizeof range, "a hexadecimal number from %llx to %llx",
                          static_cast<long long>(minimum), static_cast<long long>(maximum));
        else
            std::snprintf(range, sizeof range, "a number from %lld to %lld",
                          static_cast<long long>(minimum), static_cast<long long>(maximum));
        fail("option '" + name + "' takes " + range + ", not '" + *text + "'");
        return std::nullopt;
    }
    return parsed;
}

void printUsage(const Command &command, std::FILE *out) {
    std::fprintf(out, "usage: quillfen-asm %s %s\n%s\n", command.name, command.synopsis,
                 command.summary);
    if (command.details != nullptr && command.details[0] != '\0')
        std::fprintf(out, "%s", command.details);
    if (!command.options.empty())
        std::fprintf(out, "\nOptions:\n");
    for (const OptionSpec &option : command.options) {
        std::string left = option.name;
        if (option.takesValue)
            left += std::string(" ") + option.argument;
        std::fprintf(out, "  %-22s %s\n", left.c_str(), option.help);
    }
    std::fprintf(out, "  %-22s %s\n", "--help", "show this help and exit");
}

int usageError(const Command &command, const std::string &message) {
    std::fprintf(stderr,
                 "quillfen-asm %s: %s\nusage: quillfen-asm %s %s\n"
                 "'quillfen-asm %s --help' explains every option.\n",
                 command.name, message.c_str(), command.name, command.synopsis, command.name);
    return kTrouble;
}

} // namespace quillfen_asm
