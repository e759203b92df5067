#pragma once
#include "registers/Register.h"

#include <QList>
#include <memory>

// The machine library's register database, as the Registers tool's registers.
// Reading it is a large piece of work that the tool on show at start-up does
// not need, so the program starts it on a worker thread once the window has
// been painted (preload) and the Registers tool takes the result when it
// builds its pop-up, usually long after the read has finished.
class RegisterDatabase {
public:
    // Starts reading the database in the background; the application waits for
    // the read before it quits. Calling it again while a read is waiting to be
    // taken does nothing.
    static void preload();

    // The registers of the database, in document order, as AGA has them: the
    // preloaded read when there is one waiting (it waits for it to finish), else a
    // fresh read. Each call hands out registers of its own.
    static QList<std::shared_ptr<Register>> take();

    // Waits until a background read, when one is running, has finished; its
    // result stays there to be taken.
    static void waitForPreload();

    // Reads the database now, on the calling thread.
    static QList<std::shared_ptr<Register>> read();

    // The registers of a database document's records, as the chipset has them.
    static QList<std::shared_ptr<Register>>
    registersOf(const std::vector<amiga::RegisterLayout> &records, amiga::Chipset chipset);
};
