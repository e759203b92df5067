#include "signals.h"

#include <picture/files.h>

#include <csignal>
#include <unistd.h>

namespace quillfen_cli {

namespace {

extern "C" void endOnSignal(int signal) {
    // Only what is safe in a handler: an unlink, then _exit.
    picture::removeUnfinishedFile();
    _exit(128 + signal);
}

} // namespace

void removeUnfinishedFileOnSignals() {
    // A file past the size limit (ulimit -f) is a write that fails, reported like a full disk,
    // not a signal that ends the program with the new file left behind.
    std::signal(SIGXFSZ, SIG_IGN);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction previous {};
        if (sigaction(signal, nullptr, &previous) == 0 && previous.sa_handler == SIG_IGN) {
            continue;
        }
        struct sigaction action {};
        action.sa_handler = endOnSignal;
        sigemptyset(&action.sa_mask);
        sigaction(signal, &action, nullptr);
    }
}

} // namespace quillfen_cli
