// What both programs do when they are interrupted: the new file of a write under way is removed
// (the file it was to replace stays as it was), and the program ends with the shell's status
// for the signal: 130 for SIGINT, 143 for SIGTERM, 129 for SIGHUP.
#pragma once

namespace quillfen_cli {

// Installs the handlers for SIGINT, SIGTERM and SIGHUP. A signal that was ignored when the program
// started (nohup) stays ignored. SIGXFSZ is ignored: a write past the file size limit fails.
void removeUnfinishedFileOnSignals();

} // namespace quillfen_cli
