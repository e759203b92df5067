// The command line of Quillfen's programs, quillfen-asm and quillfen-iff: a table of commands,
// each with its options and operands; one reader of the arguments; the program's overview and
// each command's usage, in one layout; numbers in decimal or hexadecimal.
//
//   PROGRAM COMMAND [OPTION | OPERAND]...    runs the command
//   PROGRAM COMMAND --help                   its usage on the standard output, status 0
//   PROGRAM --help | -h | help [COMMAND]     the overview (or the command's usage), status 0
//   PROGRAM --version | -V                   the program's name and version, status 0
//   PROGRAM                                  the overview on the standard error, status 2
//
// An option is a flag (--planar), takes a value (--width 320 or --width=320), or takes an
// optional word (--mask or --mask=inverted). Options and operands may come in any order; "--"
// ends the options, and "-" alone is an operand (the standard input or output). --help or -h
// anywhere before "--" wins over everything else on the line. An unknown option, a missing or
// unwanted value, or a wrong number of operands is a usage error; an unknown command or option
// names the nearest known one when it looks like a slip of the keyboard.
//
// Exit statuses, one rule for every command of every program:
//   0  done: the output is written, the file is valid, the files are equal;
//   1  a negative answer: the input holds or asks for something that cannot be done (a file
//      that is not valid, files that differ, a blit the hardware cannot make);
//   2  trouble: bad usage, or input or output that cannot be opened, read or written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillfen_cli {

constexpr int kSuccess = 0;
constexpr int kNegative = 1;
constexpr int kTrouble = 2;

// How an option takes a value.
enum class Takes {
    Nothing,  // --planar
    Value,    // --depth N or --depth=N
    Optional, // --mask or --mask=inverted: the one word named by the option's argument
};

struct Option {
    const char *name; // "--depth"
    const char *help; // one line, or lines that the usage indents under the first
    Takes takes = Takes::Nothing;
    const char *argument = nullptr; // the value's name in the usage ("N"), or the optional word
};

// How many operands a command takes: from least to most. A command given kAnyOperands counts
// them itself.
struct Operands {
    std::size_t least = 0;
    std::size_t most = SIZE_MAX;
};
constexpr Operands kAnyOperands{};

class Arguments;

// How a number is written: decimal, or hexadecimal with or without '$' or "0x".
enum class Base { Decimal, Hexadecimal };

struct Command {
    const char *name;
    const char *synopsis;    // the usage line after the name: "[--planar] FILE OUT"
    const char *summary;     // one line for the overview
    const char *description; // the lines of the usage under the usage line, each ending in '\n'
    std::vector<Option> options;
    int (*run)(Arguments &arguments); // gives the exit status
    Operands operands = kAnyOperands;
};

struct Program {
    const char *name;                      // "quillfen-asm"
    const char *about;                     // the overview's paragraph, lines ending in '\n'
    const char *exitStatus;                // the overview's last paragraph, after "Exit status: "
    std::vector<const Command *> commands; // in the order the overview lists them
    // Where the program's messages go: its standard error, or the channel its library reports
    // through.
    void (*error)(const char *text);
};

// Runs the program on its command line and gives the exit status.
int run(const Program &program, int argc, char **argv);

// One command's arguments after reading: the options given and the operands, in order.
// Problems found while reading, and those the command finds in the values, are kept as one
// usage error: the first.
class Arguments {
public:
    // Reads argv[1…argc-1] (argv[0] is the command's name) against the command's options, then
    // counts the operands.
    Arguments(const Program &program, const Command &command, int argc, char **argv);

    const Program &program() const { return *m_program; }
    const Command &command() const { return *m_command; }
    // --help or -h was given.
    bool help() const { return m_help; }

    bool ok() const { return m_error.empty(); }
    const std::string &error() const { return m_error; }
    // Records a usage error of the command's own (a bad value, options that exclude each
    // other), unless one is already recorded.
    void fail(std::string message);

    bool has(std::string_view option) const;
    // The value given last to an option, if any: nothing for a flag, or for an optional word
    // left out.
    std::optional<std::string> value(std::string_view option) const;
    // Every value given to an option, in order (an option given more than once).
    std::vector<std::string> values(std::string_view option) const;
    const std::vector<std::string> &operands() const { return m_operands; }

    // An option's value as a number from minimum to maximum. Nothing when the option is not
    // given, or, after recording a usage error, when its value is not such a number.
    std::optional<std::int64_t> number(std::string_view option, Base base, std::int64_t minimum,
                                       std::int64_t maximum);
    // As above, with fallback when the option is not given.
    std::optional<std::int64_t> number(std::string_view option, std::int64_t fallback, Base base,
                                       std::int64_t minimum, std::int64_t maximum);

private:
    struct Given {
        std::string name;
        std::optional<std::string> value;
    };

    const Program *m_program;
    const Command *m_command;
    std::vector<Given> m_options;
    std::vector<std::string> m_operands;
    std::string m_error;
    bool m_help = false;
};

// A usage error: "PROGRAM COMMAND: message", the usage line and where the help is, through the
// program's error channel. Gives kTrouble.
int usageError(const Arguments &arguments, const std::string &message);
// The usage error recorded in the arguments.
int usageError(const Arguments &arguments);

// The usage of a command, as --help prints it: the usage line, its description, its options.
std::string usage(const Program &program, const Command &command);
// The overview of the program: how it is called, what it does, its commands, its exit statuses.
std::string overview(const Program &program);

// A number in decimal digits; a hexadecimal one with or without '$' or "0x" (either case). At
// most 15 digits, and no sign: nothing when the text is not such a number.
std::optional<std::int64_t> parseDecimal(std::string_view text);
std::optional<std::int64_t> parseHex(std::string_view text);

} // namespace quillfen_cli
