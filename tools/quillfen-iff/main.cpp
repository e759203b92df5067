// quillfen-iff COMMAND ARGUMENTS...: prints, checks, compares and converts IFF-85 files.
#include "command.h"
#include "signals.h"

int main(int argc, char **argv) {
    quillfen_cli::removeUnfinishedFileOnSignals();
    return quillfen_iff::run(argc, argv);
}
