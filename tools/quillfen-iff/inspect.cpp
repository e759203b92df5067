// The commands that work on any IFF-85 file: print, check and compare.
#include "command.h"

#include <cstdio>

namespace quillfen_iff {

namespace {

int print(int argc, char **argv) {
    if (argc != 2) {
        return usageError(*findCommand("print"));
    }
    int status = kSuccess;
    IFF_Chunk *chunk = readFile(argv[1], &status);
    if (chunk == nullptr) {
        return status;
    }
    IFF_print(chunk, 0, extension(), extensionLength());
    IFF_free(chunk, extension(), extensionLength());
    return fflush(stdout) == 0 ? kSuccess : kTrouble;
}

int check(int argc, char **argv) {
    if (argc != 2) {
        return usageError(*findCommand("check"));
    }
    int status = kSuccess;
    IFF_Chunk *chunk = readFile(argv[1], &status);
    if (chunk == nullptr) {
        return status;
    }
    const int valid = IFF_check(chunk, extension(), extensionLength());
    IFF_free(chunk, extension(), extensionLength());
    if (!valid) {
        fprintf(stderr, "quillfen-iff: %s: not a valid IFF-85 file\n", argv[1]);
        return kNegative;
    }
    printf("%s: valid IFF-85 file\n", argv[1]);
    return kSuccess;
}

int compare(int argc, char **argv) {
    if (argc != 3) {
        return usageError(*findCommand("compare"));
    }
    int status = kSuccess;
    IFF_Chunk *first = readFile(argv[1], &status);
    if (first == nullptr) {
        return kTrouble;
    }
    IFF_Chunk *second = readFile(argv[2], &status);
    if (second == nullptr) {
        IFF_free(first, extension(), extensionLength());
        return kTrouble;
    }
    const int equal = IFF_compare(first, second, extension(), extensionLength());
    IFF_free(first, extension(), extensionLength());
    IFF_free(second, extension(), extensionLength());
    printf("%s\n", equal ? "equal" : "different");
    return equal ? kSuccess : kNegative;
}

} // namespace

} // namespace quillfen_iff

QUILLFEN_IFF_COMMAND(print,
                     {"print", "FILE", "Prints the chunk tree of FILE.", quillfen_iff::print});
QUILLFEN_IFF_COMMAND(check, {"check", "FILE",
                             "Checks FILE against the rules of IFF-85: exit status 0 when it "
                             "obeys them, 1 when not.",
                             quillfen_iff::check});
QUILLFEN_IFF_COMMAND(compare, {"compare", "FILE FILE",
                               "Compares the chunk trees of two files: exit status 0 when they "
                               "are equal, 1 when not.",
                               quillfen_iff::compare});
