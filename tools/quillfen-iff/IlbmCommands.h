#ifndef QUILLFEN_IFF_ILBMCOMMANDS_H
#define QUILLFEN_IFF_ILBMCOMMANDS_H

/* The subcommands of quillfen-iff that work on ILBM, ACBM and PBM pictures. */

#include <stddef.h>

struct IlbmCommand {
    const char *name;
    const char *summary; /* one line for the tool's overview */
    /* argv[0] is the subcommand's name; gives the process exit code:
       0 done, 1 the file could not be read, converted or written, 2 wrong usage. */
    int (*run)(int argc, char **argv);
};

extern const IlbmCommand ilbmCommands[];
extern const size_t ilbmCommandsLength;

/* The command of that name, or null. */
const IlbmCommand *findIlbmCommand(const char *name);

#endif
