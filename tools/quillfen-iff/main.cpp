// quillfen-iff COMMAND ARGUMENTS...: prints, checks, compares and converts IFF-85 files.
#include "command.h"

int main(int argc, char **argv) {
    return quillfen_iff::run(argc, argv);
}
