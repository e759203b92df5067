// quillfen-iff's commands: their table and what they share. The commands are plain functions of
// a static library, so that the program's main and the fuzz target of the command line run the
// same code; the command line itself is the one quillfen-asm reads too (commandline.h).
//
// Exit statuses, the same for every command:
//   0  done: the file is valid, the files are equal, the output is written;
//   1  a negative answer: the file is not valid IFF-85 (or cannot be parsed as such), the files
//      differ, the file holds no usable picture, a picture cannot be converted;
//   2  bad usage, or a file that cannot be opened, read or written.
#ifndef QUILLFEN_IFF_COMMAND_H
#define QUILLFEN_IFF_COMMAND_H

#include "commandline.h"

#include <iff/iff.h>

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace quillfen_iff {

using quillfen_cli::Arguments;
using quillfen_cli::Command;
using quillfen_cli::kNegative;
using quillfen_cli::kSuccess;
using quillfen_cli::kTrouble;
using quillfen_cli::usageError;

// The whole program: quillfen-iff COMMAND ARGUMENTS..., quillfen-iff --help, quillfen-iff help
// COMMAND. Gives the exit status. Every message goes through IFF_error.
int run(int argc, char **argv);

// Reports a message of the command, "quillfen-iff NAME: ...", through IFF_error.
void report(const Arguments &arguments, const char *format, ...)
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
Tree readFile(const Arguments &arguments, const char *path, int *status);

// The bytes of a file already read, as a tree: null after a message when they are not IFF-85
// (*status kNegative).
Tree treeOf(const Arguments &arguments, const char *path, std::vector<unsigned char> &bytes,
            int *status);

// Reads a whole file ("-" is the standard input) into bytes, at most the 1 GiB of the largest
// picture. false after a message when it cannot be opened or read or is larger.
bool readBytes(const Arguments &arguments, const char *path, std::vector<unsigned char> *bytes);

// Writes bytes to path ("-" is the standard output) whole or not at all: a target that cannot
// be written is left as it was. kSuccess, or kTrouble after a message.
int writeFile(const Arguments &arguments, const char *path, const unsigned char *data, size_t size);

// The commands of the table.
int runPrint(Arguments &arguments);
int runCheck(Arguments &arguments);
int runCompare(Arguments &arguments);
int runUnpack(Arguments &arguments);
int runPack(Arguments &arguments);
int runAcbm(Arguments &arguments);
int runIlbm(Arguments &arguments);
int runRaw(Arguments &arguments);
int runPalette(Arguments &arguments);
int runSprite(Arguments &arguments);
int runCopper(Arguments &arguments);
int runBobs(Arguments &arguments);
int runFont(Arguments &arguments);
int runTiles(Arguments &arguments);

} // namespace quillfen_iff

#endif
