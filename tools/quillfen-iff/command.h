// The command table of quillfen-iff. Each command lives in a file of its own or with related
// ones, and adds itself before main runs:
//
//     static int run(int argc, char **argv) { ... }  // argv[0] is the command's name
//     QUILLFEN_IFF_COMMAND(show, {"show", "FILE", "Shows something about FILE.", run});
//
// A format library teaches every command its chunk types the same way:
//
//     QUILLFEN_IFF_EXTENSION(ilbm, ILBM_extension, ILBM_NUM_OF_FORM_TYPES);
//
// All registered extension tables are merged into one, sorted by form type.
#ifndef QUILLFEN_IFF_COMMAND_H
#define QUILLFEN_IFF_COMMAND_H

#include <iff/iff.h>

#include <vector>

namespace quillfen_iff {

// Exit statuses: success (valid, equal), a negative answer (invalid, different), and a command
// that could not do its work (bad usage, a file that cannot be opened or read).
constexpr int kSuccess = 0;
constexpr int kNegative = 1;
constexpr int kTrouble = 2;

struct Command {
    const char *name;
    const char *arguments; // as shown in the usage line, e.g. "FILE FILE"
    const char *help;      // one sentence
    int (*run)(int argc, char **argv);
};

bool registerCommand(const Command &command);
bool registerExtension(const IFF_Extension *extension, unsigned int extensionLength);

// The registered commands, sorted by name.
const std::vector<Command> &commands();
const Command *findCommand(const char *name);

// The merged extension table of every registered format.
const IFF_Extension *extension();
unsigned int extensionLength();

// Reports the usage of command on standard error and gives kTrouble.
int usageError(const Command &command);

// Reads a whole file ("-" is standard input) with the merged table. Null on failure, with
// *status set to kTrouble when the file cannot be opened and kNegative when it is not IFF.
IFF_Chunk *readFile(const char *name, int *status);

} // namespace quillfen_iff

#define QUILLFEN_IFF_COMMAND(tag, ...)                                                             \
    static const bool quillfen_iff_command_##tag = quillfen_iff::registerCommand(__VA_ARGS__)
#define QUILLFEN_IFF_EXTENSION(tag, table, length)                                                 \
    static const bool quillfen_iff_extension_##tag = quillfen_iff::registerExtension(table, length)

#endif
