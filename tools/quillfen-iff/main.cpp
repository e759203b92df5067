// quillfen-iff COMMAND ARGUMENTS...: the entry point, which finds the command and runs it.
#include "command.h"

#include <cstdio>
#include <cstring>

namespace {

void usage(FILE *out) {
    fprintf(out, "usage: quillfen-iff COMMAND ARGUMENTS...\n"
                 "       quillfen-iff --help\n"
                 "\n"
                 "Reads IFF-85 files (FORM, CAT, LIST and PROP groups). A FILE of - is the "
                 "standard input.\n"
                 "\n"
                 "Commands:\n");
    for (const quillfen_iff::Command &command : quillfen_iff::commands()) {
        fprintf(out, "  %s %s\n      %s\n", command.name, command.arguments, command.help);
    }
    fprintf(out, "\n"
                 "Exit status: 0 success, 1 invalid or different, 2 bad usage or a file that "
                 "cannot be read.\n");
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 2) {
        usage(stderr);
        return quillfen_iff::kTrouble;
    }
    if (strcmp(argv[1], "--help") == 0 || strcmp(argv[1], "-h") == 0 ||
        strcmp(argv[1], "help") == 0) {
        usage(stdout);
        return quillfen_iff::kSuccess;
    }
    const quillfen_iff::Command *command = quillfen_iff::findCommand(argv[1]);
    if (command == nullptr) {
        fprintf(stderr, "quillfen-iff: unknown command: %s\n", argv[1]);
        usage(stderr);
        return quillfen_iff::kTrouble;
    }
    return command->run(argc - 1, argv + 1);
}
