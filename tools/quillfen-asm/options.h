// The command line of one quillfen-asm command: the options it knows, each a flag or an option
// with a value ("--width 320" or "--width=320"), and the operands.
#pragma once

#include <cstdint>
#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace quillfen_asm {

// Exit statuses: done; a negative answer (the input holds something the hardware cannot do);
// bad usage or unreadable input.
constexpr int kSuccess = 0;
constexpr int kNegative = 1;
constexpr int kTrouble = 2;

class Arguments;

struct OptionSpec {
    const char *name;     // "--width"
    bool takesValue;      // "--width 320"; else a flag
    const char *argument; // the value's name in the help, e.g. "N"
    const char *help;     // one line
};

struct Command {
    const char *name;
    const char *synopsis; // the arguments as the usage line shows them
    const char *summary;  // one sentence for the program's own --help
    const char *details;  // further lines for the command's --help (may be empty)
    std::vector<OptionSpec> options;
    int (*run)(Arguments &arguments);
};

class Arguments {
public:
    // Reads argv[1…argc-1] against the command's options. On failure error() says why.
    Arguments(const Command &command, int argc, char **argv);

    bool ok() const { return m_error.empty(); }
    const std::string &error() const { return m_error; }
    bool help() const { return m_help; }

    bool has(const std::string &name) const;
    // The last value given for an option, if any.
    std::optional<std::string> value(const std::string &name) const;
    const std::vector<std::string> &operands() const { return m_operands; }
    const Command &command() const { return *m_command; }

    // A value as a number: decimal, or hexadecimal (with or without '$' or '0x') when hex is
    // true. On a bad value, records the error and gives nullopt; a missing option gives
    // fallback.
    std::optional<std::int64_t> number(const std::string &name, std::int64_t fallback, bool hex,
                                       std::int64_t minimum, std::int64_t maximum);
    // Records a usage error of the command's own (a bad combination of options, say).
    void fail(std::string message) {
        if (m_error.empty())
            m_error = std::move(message);
    }

private:
    const Command *m_command;
    std::multimap<std::string, std::string> m_values;
    std::vector<std::string> m_operands;
    std::string m_error;
    bool m_help = false;
};

// Writes the command's usage and options.
void printUsage(const Command &command, std::FILE *out);
// "quillfen-asm NAME: message" and the usage line on standard error; gives kTrouble.
int usageError(const Command &command, const std::string &message);

// Parses a hexadecimal number with or without '$' or '0x'; nullopt when it is not one.
std::optional<std::int64_t> parseHex(const std::string &text);
std::optional<std::int64_t> parseDecimal(const std::string &text);

} // namespace quillfen_asm
