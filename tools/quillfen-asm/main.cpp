// quillfen-asm COMMAND [OPTIONS]: assembler data for Amiga programs, printed ready to paste or
// to include: display set-up, copper lists, gradients, fades, register words, blitter set-up.
#include "commands.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

using namespace quillfen_asm;

// Every command, in the order the help lists them.
const std::vector<const Command *> commands = {&displayCommand, &copperCommand,   &registerCommand,
                                               &blitterCommand, &gradientCommand, &fadeCommand};

void usage(std::FILE *out) {
    std::fprintf(out, "usage: quillfen-asm COMMAND [OPTIONS]\n"
                      "       quillfen-asm COMMAND --help\n"
                      "\n"
                      "Writes assembler data for Amiga programs: every line is ready to paste "
                      "into a\nMotorola-syntax source.\n"
                      "\n"
                      "Commands:\n");
    for (const Command *command : commands)
        std::fprintf(out, "  %s %s\n      %s\n", command->name, command->synopsis,
                     command->summary);
    std::fprintf(out, "\nExit status: 0 done, 1 the input asks for something the hardware "
                      "cannot do,\n2 bad usage or unreadable input.\n");
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 2) {
        usage(stderr);
        return kTrouble;
    }
    if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0 ||
        std::strcmp(argv[1], "help") == 0) {
        usage(stdout);
        return kSuccess;
    }
    for (const Command *command : commands) {
        if (std::strcmp(argv[1], command->name) != 0)
            continue;
        Arguments arguments(*command, argc - 1, argv + 1);
        if (arguments.help()) {
            printUsage(*command, stdout);
            return kSuccess;
        }
        if (!arguments.ok())
            return usageError(*command, arguments.error());
        return command->run(arguments);
    }
    std::fprintf(stderr, "quillfen-asm: unknown command '%s'\n", argv[1]);
    usage(stderr);
    return kTrouble;
}
