#include "commandline.h"

#include <amiga/nearestname.h>

#include <algorithm>
#include <cstdio>

namespace quillfen_cli {

namespace {

bool isHelp(std::string_view argument) {
    return argument == "--help" || argument == "-h";
}

const Option *findOption(const Command &command, std::string_view name) {
    for (const Option &option : command.options) {
        if (name == option.name) {
            return &option;
        }
    }
    return nullptr;
}

const Command *findCommand(const Program &program, std::string_view name) {
    for (const Command *command : program.commands) {
        if (name == command->name) {
            return command;
        }
    }
    return nullptr;
}

// " (did you mean 'NAME'?)" for the name nearest to a mistyped one, or nothing.
std::string didYouMean(std::string_view given, const std::vector<std::string> &names) {
    const std::optional<std::string> nearest = amiga::nearestName(given, names);
    return nearest ? " (did you mean '" + *nearest + "'?)" : "";
}

std::optional<std::int64_t> parseDigits(std::string_view text, int base) {
    if (text.empty() || text.size() > 15) {
        return std::nullopt;
    }
    std::int64_t value = 0;
    for (char c : text) {
        int digit = 0;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (base == 16 && c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        } else if (base == 16 && c >= 'A' && c <= 'F') {
            digit = c - 'A' + 10;
        } else {
            return std::nullopt;
        }
        value = value * base + digit;
    }
    return value;
}

std::string hex(std::int64_t value) {
    char text[24];
    std::snprintf(text, sizeof text, "%llx", static_cast<unsigned long long>(value));
    return text;
}

// An option as the usage shows it: "--depth N", "--mask[=inverted]".
std::string label(const Option &option) {
    std::string text = option.name;
    if (option.takes == Takes::Value) {
        text += std::string(" ") + option.argument;
    } else if (option.takes == Takes::Optional) {
        text += std::string("[=") + option.argument + "]";
    }
    return text;
}

// "  LABEL   help", the help's further lines under its first.
std::string optionLine(const std::string &left, const std::string &help, std::size_t column) {
    std::string line = "  " + left + std::string(column - left.size() + 1, ' ');
    const std::string indent(column + 3, ' ');
    for (char c : help) {
        line += c;
        if (c == '\n') {
            line += indent;
        }
    }
    return line + "\n";
}

std::string plural(std::size_t n) {
    return n == 1 ? "" : "s";
}

int printed(const std::string &text) {
    std::fputs(text.c_str(), stdout);
    return std::fflush(stdout) == 0 ? kSuccess : kTrouble;
}

} // namespace

std::optional<std::int64_t> parseDecimal(std::string_view text) {
    return parseDigits(text, 10);
}

std::optional<std::int64_t> parseHex(std::string_view text) {
    if (!text.empty() && text[0] == '$') {
        return parseDigits(text.substr(1), 16);
    }
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        return parseDigits(text.substr(2), 16);
    }
    return parseDigits(text, 16);
}

Arguments::Arguments(const Program &program, const Command &command, int argc, char **argv)
    : m_program(&program), m_command(&command) {
    bool optionsEnded = false;
    for (int i = 1; i < argc; i++) {
        const std::string_view argument = argv[i];
        if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
            m_operands.emplace_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (isHelp(argument)) {
            m_help = true;
            continue;
        }
        const std::size_t equals = argument.find('=');
        const std::string name(argument.substr(0, equals));
        const Option *option = findOption(command, name);
        if (option == nullptr) {
            std::vector<std::string> names{"--help"};
            for (const Option &known : command.options) {
                names.emplace_back(known.name);
            }
            fail("unknown option '" + name + "'" + didYouMean(name, names));
            continue;
        }
        Given given{name, std::nullopt};
        if (equals != std::string_view::npos) {
            given.value = std::string(argument.substr(equals + 1));
            if (option->takes == Takes::Nothing) {
                fail("option '" + name + "' takes no value");
                continue;
            }
            if (option->takes == Takes::Optional && *given.value != option->argument) {
                fail("option '" + name + "' takes '=" + option->argument +
                     "' or nothing, not '=" + *given.value + "'");
                continue;
            }
        } else if (option->takes == Takes::Value) {
            if (i + 1 >= argc) {
                fail("option '" + name + "' needs a value (" + option->argument + ")");
                continue;
            }
            given.value = argv[++i];
        }
        m_options.push_back(std::move(given));
    }

    const Operands &operands = command.operands;
    const std::size_t count = m_operands.size();
    if (count < operands.least || count > operands.most) {
        if (operands.least == operands.most) {
            fail("expects " + std::to_string(operands.least) + " operand" + plural(operands.least) +
                 ", not " + std::to_string(count));
        } else if (operands.most == kAnyOperands.most) {
            fail("expects at least " + std::to_string(operands.least) + " operand" +
                 plural(operands.least) + ", not " + std::to_string(count));
        } else {
            fail("expects " + std::to_string(operands.least) + " to " +
                 std::to_string(operands.most) + " operands, not " + std::to_string(count));
        }
    }
}

void Arguments::fail(std::string message) {
    if (m_error.empty()) {
        m_error = std::move(message);
    }
}

bool Arguments::has(std::string_view option) const {
    return std::any_of(m_options.begin(), m_options.end(),
                       [option](const Given &given) { return given.name == option; });
}

std::optional<std::string> Arguments::value(std::string_view option) const {
    std::optional<std::string> found;
    for (const Given &given : m_options) {
        if (given.name == option && given.value) {
            found = given.value;
        }
    }
    return found;
}

std::vector<std::string> Arguments::values(std::string_view option) const {
    std::vector<std::string> found;
    for (const Given &given : m_options) {
        if (given.name == option && given.value)
            found.push_back(*given.value);
    }
    return found;
}

std::optional<std::int64_t> Arguments::number(std::string_view option, Base base,
                                              std::int64_t minimum, std::int64_t maximum) {
    const std::optional<std::string> text = value(option);
    if (!text) {
        return std::nullopt;
    }
    const bool hexadecimal = base == Base::Hexadecimal;
    const std::optional<std::int64_t> parsed = hexadecimal ? parseHex(*text) : parseDecimal(*text);
    if (!parsed || *parsed < minimum || *parsed > maximum) {
        const std::string range =
            hexadecimal
                ? "a hexadecimal number from " + hex(minimum) + " to " + hex(maximum)
                : "a number from " + std::to_string(minimum) + " to " + std::to_string(maximum);
        fail("option '" + std::string(option) + "' takes " + range + ", not '" + *text + "'");
        return std::nullopt;
    }
    return parsed;
}

std::optional<std::int64_t> Arguments::number(std::string_view option, std::int64_t fallback,
                                              Base base, std::int64_t minimum,
                                              std::int64_t maximum) {
    if (!has(option)) {
        return fallback;
    }
    return number(option, base, minimum, maximum);
}

int usageError(const Arguments &arguments, const std::string &message) {
    const std::string program = arguments.program().name;
    const std::string command = program + " " + arguments.command().name;
    const std::string text = command + ": " + message + "\nusage: " + command + " " +
                             arguments.command().synopsis + "\n'" + command +
                             " --help' explains every option.\n";
    arguments.program().error(text.c_str());
    return kTrouble;
}

int usageError(const Arguments &arguments) {
    return usageError(arguments, arguments.error());
}

std::string usage(const Program &program, const Command &command) {
    std::string text = std::string("usage: ") + program.name + " " + command.name + " " +
                       command.synopsis + "\n" + command.description + "\nOptions:\n";
    const Option help{"--help", "print this text and exit"};
    std::size_t column = 9;
    for (const Option &option : command.options) {
        column = std::max(column, label(option).size());
    }
    for (const Option &option : command.options) {
        text += optionLine(label(option), option.help, column);
    }
    return text + optionLine(label(help), help.help, column);
}

std::string overview(const Program &program) {
    const std::string name = program.name;
    std::string text = "usage: " + name + " COMMAND ARGUMENTS...\n       " + name +
                       " COMMAND --help\n       " + name + " --help | --version\n\n" +
                       program.about + "\nCommands:\n";
    for (const Command *command : program.commands) {
        text += std::string("  ") + command->name + " " + command->synopsis + "\n      " +
                command->summary + "\n";
    }
    return text + "\nExit status: " + program.exitStatus;
}

int run(const Program &program, int argc, char **argv) {
    if (argc < 2) {
        program.error(overview(program).c_str());
        return kTrouble;
    }
    const std::string_view first = argv[1];
    const bool help = isHelp(first) || first == "help";
    const char *name = help ? (argc > 2 ? argv[2] : nullptr) : argv[1];
    const Command *command = name != nullptr ? findCommand(program, name) : nullptr;
    if (!help && (first == "--version" || first == "-V")) {
        return printed(std::string(program.name) + " " + QUILLFEN_VERSION + "\n");
    }
    if (name != nullptr && command == nullptr) {
        std::vector<std::string> names;
        for (const Command *known : program.commands) {
            names.emplace_back(known->name);
        }
        const std::string text = std::string(program.name) + ": unknown command: " + name +
                                 didYouMean(name, names) + "\nTry '" + program.name +
                                 " --help' for the list of commands.\n";
        program.error(text.c_str());
        return kTrouble;
    }
    if (help) {
        return printed(command != nullptr ? usage(program, *command) : overview(program));
    }
    Arguments arguments(program, *command, argc - 1, argv + 1);
    if (arguments.help()) {
        return printed(usage(program, *command));
    }
    if (!arguments.ok()) {
        return usageError(arguments);
    }
    return command->run(arguments);
}

} // namespace quillfen_cli
