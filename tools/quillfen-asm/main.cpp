// quillfen-asm COMMAND [OPTIONS]: assembler data for Amiga programs, printed ready to paste or
// to include: display set-up, copper lists, gradients, fades, register words, blitter set-up.
#include "commands.h"
#include "signals.h"

#include <cstdio>

namespace {

using namespace quillfen_asm;

void toStandardError(const char *text) {
    std::fputs(text, stderr);
}

} // namespace

int main(int argc, char **argv) {
    const quillfen_cli::Program program = {
        "quillfen-asm",
        "Writes assembler data for Amiga programs: every line is ready to paste into a\n"
        "Motorola-syntax source.\n",
        "0 done, 1 the input asks for something the hardware cannot do,\n"
        "2 bad usage or unreadable input.\n",
        // Every command, in the order the overview lists them.
        {&displayCommand, &copperCommand, &registerCommand, &blitterCommand, &gradientCommand,
         &fadeCommand, &frameCommand},
        toStandardError,
    };
    quillfen_cli::removeUnfinishedFileOnSignals();
    return quillfen_cli::run(program, argc, argv);
}
