// quillfen-iff's commands: one table, one argument parser, and what the commands share. The
// commands are plain functions of a static library, so that the program's main and the fuzz
// target of the command line run the same code.
//
// Exit statuses, the same for every command:
//   0  done: the file is valid, the files are equal, the output is written;
//   1  a negative answer: the file is not valid IFF-85 (or cannot be parsed as such), the files
//      differ, the file holds no usable picture, a picture cannot be converted;
//   2  bad usage, or a file that cannot be opened, read or written.
#ifndef QUILLFEN_IFF_COMMAND_H
#define QUILLFEN_IFF_COMMAND_H

#include <iff/iff.h>

#include <cstddef>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quillfen_iff {

constexpr int kSuccess = 0;
constexpr int kNegative = 1;
constexpr int kTrouble = 2;

struct Command;

// An option given: its name and, for an option with a value, the value.
struct Given {
    const char *name;
    std::string value;
    bool valued = false; // "--mask=inverted", not "--mask"
};

// A command line after parsing: the options given and the operands, in order.
struct Invocation {
    const Command *command;
    std::vector<Given> options;
    std::vector<const char *> operands;

    bool has(const char *option) const;
    // The value given last for an option, if any.
    std::optional<std::string> value(const char *option) const;
};

// How an option takes a value.
enum class Takes {
    Nothing,  // --planar
    Value,    // --depth N or --depth=N
    Optional, // --mask or --mask=inverted
};

struct Option {
    const char *name; // "--planar"
    const char *help; // one line, or lines that the usage text indents
    Takes takes = Takes::Nothing;
    const char *argument = nullptr; // the value's name in the usage: "N", "inverted"
};

struct Command {
    const char *name;
    const char *synopsis;    // the usage line after the name, e.g. "[--planar] FILE OUT"
    const char *summary;     // one line for the overview
    const char *description; // the lines of the usage text under the usage line
    std::vector<Option> options;
    size_t operands;
    int (*run)(const Invocation &invocation);
    size_t optionalOperands = 0; // operands that may follow the required ones
};

// The commands, sorted by name.
const std::vector<Command> &commands();
const Command *findCommand(const char *name);

// The whole program: quillfen-iff COMMAND ARGUMENTS..., quillfen-iff --help, quillfen-iff help
// COMMAND. Gives the exit status.
int run(int argc, char **argv);

// Parses argv (argv[0] is the command's name) and runs the command: --help prints its usage on
// the standard output; an unknown option or a wrong number of operands is a usage error.
int runCommand(const Command &command, int argc, char **argv);

// The command's usage text: the usage line, its description and its options.
void printUsage(const Command &command, FILE *out);

// A usage error: what is wrong (a sentence), then the usage text, on the standard error. Gives
// kTrouble.
int usageError(const Invocation &invocation, const char *format, ...)
    __attribute__((format(printf, 2, 3)));

// Reports a message of the command, "quillfen-iff NAME: ...", through IFF_error.
void report(const Invocation &invocation, const char *format, ...)
    __attribute__((format(printf, 2, 3)));

// The chunk types every command knows: those of the picture forms.
const IFF_Extension *extension();
unsigned int extensionLength();

// A tree read by a command, released with the commands' extension table.
struct TreeRelease {
    void operator()(IFF_Chunk *chunk) const;
};
using Tree = std::unique_ptr<IFF_Chunk, TreeRelease>;

// Reads a whole file ("-" is the standard input). Null on failure, after a message, with *status
// kTrouble when the file cannot be opened or read and kNegative when its bytes are not IFF-85.
Tree readFile(const Invocation &invocation, const char *path, int *status);

// Reads a whole file ("-" is the standard input) into bytes. false after a message when it
// cannot be opened or read.
bool readBytes(const Invocation &invocation, const char *path, std::vector<unsigned char> *bytes);

// Writes bytes to path ("-" is the standard output). A file that cannot be written whole is
// removed again. kSuccess, or kTrouble after a message.
int writeFile(const Invocation &invocation, const char *path, const unsigned char *data,
              size_t size);

// The commands of the table.
int runPrint(const Invocation &invocation);
int runCheck(const Invocation &invocation);
int runCompare(const Invocation &invocation);
int runUnpack(const Invocation &invocation);
int runPack(const Invocation &invocation);
int runAcbm(const Invocation &invocation);
int runIlbm(const Invocation &invocation);
int runRaw(const Invocation &invocation);
int runPalette(const Invocation &invocation);
int runSprite(const Invocation &invocation);

} // namespace quillfen_iff

#endif
