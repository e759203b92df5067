#include "command.h"

#include <ilbm/ilbm.h>

#include <cerrno>
#include <cstdarg>
#include <cstring>
#include <string>
#include <unistd.h>

namespace quillfen_iff {

namespace {

const std::vector<Command> kCommands = {
    {"acbm",
     "FILE OUT",
     "Writes FILE to OUT with every ILBM picture converted to ACBM (contiguous planes).",
     "Writes FILE to OUT with every ILBM picture converted to ACBM: the interleaved BODY\n"
     "becomes an ABIT of whole planes one after another (packed bodies are unpacked first).\n",
     {},
     2,
     runAcbm},
    {"check",
     "FILE",
     "Checks FILE against the rules of IFF-85: exit status 0 when it obeys them, 1 when not.",
     "Checks FILE against the rules of IFF-85 and of the picture chunks it holds. The first\n"
     "broken rule is reported; the exit status is 0 when FILE obeys every rule, 1 when not.\n",
     {},
     1,
     runCheck},
    {"compare",
     "FILE FILE",
     "Compares the chunk trees of two files: exit status 0 when they are equal, 1 when not.",
     "Compares the chunk trees of two files and prints \"equal\" or \"different\": the same "
     "chunks\n"
     "with the same sizes and contents in the same order. The exit status is 0 when they are\n"
     "equal, 1 when not.\n",
     {},
     2,
     runCompare},
    {"ilbm",
     "[--pack] FILE OUT",
     "Writes FILE to OUT with every ACBM picture converted to ILBM (interleaved planes).",
     "Writes FILE to OUT with every ACBM picture converted to ILBM: the ABIT of whole planes\n"
     "becomes an interleaved BODY.\n",
     {{"--pack", "also pack the new BODY with ByteRun1"}},
     2,
     runIlbm},
    {"pack",
     "FILE OUT",
     "Writes FILE to OUT with every uncompressed picture BODY packed with ByteRun1.",
     "Writes FILE to OUT with every uncompressed picture BODY packed with ByteRun1, each plane\n"
     "row by itself.\n",
     {},
     2,
     runPack},
    {"palette",
     "[--aga | --ocs] FILE",
     "Prints a picture's colour map as AGA and as OCS/ECS copper data, as the Colour tab does.",
     "Prints the colour map (CMAP) of the first picture of FILE as copper list data from\n"
     "COLOR00 on, the same text as the Colour tab's palette code. Without an option both\n"
     "forms are printed.\n",
     {{"--aga", "only the AGA form: BPLCON3 and COLORxx moves, every high half, then every\n"
                "            low half, bank by bank, then BPLCON3 with LOCT clear"},
      {"--ocs", "only the OCS/ECS form: COLORxx moves of 12-bit colours (high nibbles)"}},
     1,
     runPalette},
    {"print",
     "FILE",
     "Prints the chunk tree of FILE.",
     "Prints the chunk tree of FILE on the standard output, two blanks per nesting level.\n",
     {},
     1,
     runPrint},
    {"raw",
     "[--planar] FILE OUT",
     "Writes the bitplanes of a picture to OUT as raw bytes for incbin.",
     "Writes the bitplanes of the first picture of FILE to OUT as raw bytes, ready for incbin:\n"
     "each picture row's plane rows one after another (interleaved), rows of whole 16-pixel\n"
     "words. A mask plane is left out.\n",
     {{"--planar", "write plane 0 whole, then plane 1, and so on"}},
     2,
     runRaw},
    {"unpack",
     "FILE OUT",
     "Writes FILE to OUT with every picture BODY unpacked from ByteRun1.",
     "Writes FILE to OUT with the ByteRun1 compression of every picture's BODY undone.\n",
     {},
     2,
     runUnpack},
};

bool isHelp(const char *argument) {
    return strcmp(argument, "--help") == 0 || strcmp(argument, "-h") == 0;
}

void printOverview(FILE *out) {
    fprintf(out, "usage: quillfen-iff COMMAND ARGUMENTS...\n"
                 "       quillfen-iff COMMAND --help\n"
                 "       quillfen-iff --help\n"
                 "\n"
                 "Reads IFF-85 files (FORM, CAT, LIST and PROP groups) and the ILBM, ACBM and PBM "
                 "pictures in them.\n"
                 "A FILE of - is the standard input, an OUT of - the standard output.\n"
                 "\n"
                 "Commands:\n");
    for (const Command &command : commands()) {
        fprintf(out, "  %s %s\n      %s\n", command.name, command.synopsis, command.summary);
    }
    fprintf(out, "\n"
                 "Exit status: 0 done (valid, equal), 1 invalid or different (or no usable "
                 "picture), 2 bad usage or a file that cannot be opened, read or written.\n");
}

// A usage error: what is wrong, then the usage text, on the standard error.
int usageError(const Invocation &invocation, const char *format, ...)
    __attribute__((format(printf, 2, 3)));

int usageError(const Invocation &invocation, const char *format, ...) {
    va_list ap;
    va_start(ap, format);
    char text[512];
    vsnprintf(text, sizeof text, format, ap);
    va_end(ap);
    report(invocation, "%s\n", text);
    char *usage = nullptr;
    size_t size = 0;
    FILE *out = open_memstream(&usage, &size);
    if (out != nullptr) {
        printUsage(*invocation.command, out);
        fclose(out);
        IFF_error("%s", usage);
        free(usage);
    }
    return kTrouble;
}

} // namespace

bool Invocation::has(const char *option) const {
    for (const char *given : options) {
        if (strcmp(given, option) == 0) {
            return true;
        }
    }
    return false;
}

const std::vector<Command> &commands() {
    return kCommands;
}

const Command *findCommand(const char *name) {
    for (const Command &command : kCommands) {
        if (strcmp(command.name, name) == 0) {
            return &command;
        }
    }
    return nullptr;
}

void printUsage(const Command &command, FILE *out) {
    fprintf(out, "usage: quillfen-iff %s %s\n%s", command.name, command.synopsis,
            command.description);
    for (const Option &option : command.options) {
        fprintf(out, "  %-9s %s\n", option.name, option.help);
    }
    fprintf(out, "  %-9s %s\n", "--help", "print this text and exit");
}

int runCommand(const Command &command, int argc, char **argv) {
    Invocation invocation{&command, {}, {}};
    bool optionsEnd = false;
    for (int i = 1; i < argc; i++) {
        const char *argument = argv[i];
        if (optionsEnd || argument[0] != '-' || argument[1] == '\0') {
            invocation.operands.push_back(argument);
        } else if (strcmp(argument, "--") == 0) {
            optionsEnd = true;
        } else if (isHelp(argument)) {
            printUsage(command, stdout);
            return fflush(stdout) == 0 ? kSuccess : kTrouble;
        } else {
            bool known = false;
            for (const Option &option : command.options) {
                known = known || strcmp(option.name, argument) == 0;
            }
            if (!known) {
                return usageError(invocation, "unknown option '%s'", argument);
            }
            invocation.options.push_back(argument);
        }
    }
    if (invocation.operands.size() != command.operands) {
        return usageError(invocation, "expects %zu operand%s, not %zu", command.operands,
                          command.operands == 1 ? "" : "s", invocation.operands.size());
    }
    return command.run(invocation);
}

int run(int argc, char **argv) {
    if (argc < 2) {
        char *text = nullptr;
        size_t size = 0;
        FILE *out = open_memstream(&text, &size);
        if (out != nullptr) {
            printOverview(out);
            fclose(out);
            IFF_error("%s", text);
            free(text);
        }
        return kTrouble;
    }
    if (isHelp(argv[1]) || strcmp(argv[1], "help") == 0) {
        const Command *command = argc > 2 ? findCommand(argv[2]) : nullptr;
        if (argc > 2 && command == nullptr) {
            IFF_error("quillfen-iff: unknown command: %s\n", argv[2]);
            return kTrouble;
        }
        if (command != nullptr) {
            printUsage(*command, stdout);
        } else {
            printOverview(stdout);
        }
        return fflush(stdout) == 0 ? kSuccess : kTrouble;
    }
    const Command *command = findCommand(argv[1]);
    if (command == nullptr) {
        IFF_error("quillfen-iff: unknown command: %s\n", argv[1]);
        IFF_error("Try 'quillfen-iff --help' for the list of commands.\n");
        return kTrouble;
    }
    return runCommand(*command, argc - 1, argv + 1);
}

void report(const Invocation &invocation, const char *format, ...) {
    va_list ap;
    va_start(ap, format);
    va_list copy;
    va_copy(copy, ap);
    const int length = vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text(length > 0 ? static_cast<size_t>(length) + 1 : 1, '\0');
    vsnprintf(text.data(), text.size(), format, ap);
    va_end(ap);
    IFF_error("quillfen-iff %s: %s", invocation.command->name, text.c_str());
}

const IFF_Extension *extension() {
    return ::extension;
}

unsigned int extensionLength() {
    return ILBM_NUM_OF_FORM_TYPES;
}

void TreeRelease::operator()(IFF_Chunk *chunk) const {
    IFF_free(chunk, extension(), extensionLength());
}

Tree readFile(const Invocation &invocation, const char *path, int *status) {
    const bool standardInput = strcmp(path, "-") == 0;
    FILE *file = standardInput ? stdin : fopen(path, "rb");
    if (file == nullptr) {
        report(invocation, "%s: %s\n", path, strerror(errno));
        *status = kTrouble;
        return nullptr;
    }
    Tree tree(IFF_readFd(file, extension(), extensionLength()));
    const bool failed = ferror(file) != 0;
    const int error = errno;
    if (!standardInput) {
        fclose(file);
    }
    if (tree == nullptr && failed) {
        report(invocation, "%s: cannot be read: %s\n", path, strerror(error));
        *status = kTrouble;
    } else if (tree == nullptr) {
        report(invocation, "%s: not a readable IFF-85 file\n", path);
        *status = kNegative;
    } else {
        *status = kSuccess;
    }
    return tree;
}

int writeFile(const Invocation &invocation, const char *path, const unsigned char *data,
              size_t size) {
    const bool standardOutput = strcmp(path, "-") == 0;
    FILE *file = standardOutput ? stdout : fopen(path, "wb");
    bool written = file != nullptr && fwrite(data, 1, size, file) == size;
    int error = errno;
    if (file != nullptr && (standardOutput ? fflush(file) : fclose(file)) != 0) {
        written = false;
        error = errno;
    }
    if (written) {
        return kSuccess;
    }
    if (file != nullptr && !standardOutput) {
        unlink(path);
    }
    report(invocation, "cannot write '%s': %s\n", path, strerror(error));
    return kTrouble;
}

} // namespace quillfen_iff
