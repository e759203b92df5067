#include "registers/RegisterDatabase.h"

#include <QCoreApplication>
#include <QString>
#include <QThread>
#include <future>
#include <mutex>

namespace {

std::mutex pendingLock;
std::future<QList<std::shared_ptr<Register>>> pending;

} // namespace

void RegisterDatabase::preload() {
    // Qt takes the first thread that asks for its thread data as the main
    // thread. The worker must not be that thread: it would make the
    // QApplication built next a stranger in its own process.
    QThread::currentThread();
    std::lock_guard<std::mutex> guard(pendingLock);
    if (pending.valid())
        return;
    pending = std::async(std::launch::async, &RegisterDatabase::read);
    // The read works on the machine library's database, which goes with the process's
    // static data on its way out: an application quit before the read is done (a window
    // closed at once) waits for it first.
    if (const QCoreApplication *application = QCoreApplication::instance())
        QObject::connect(application, &QCoreApplication::aboutToQuit,
                         &RegisterDatabase::waitForPreload);
}

QList<std::shared_ptr<Register>> RegisterDatabase::take() {
    std::future<QList<std::shared_ptr<Register>>> preloaded;
    {
        std::lock_guard<std::mutex> guard(pendingLock);
        preloaded = std::move(pending);
    }
    return preloaded.valid() ? preloaded.get() : read();
}

void RegisterDatabase::waitForPreload() {
    std::lock_guard<std::mutex> guard(pendingLock);
    if (pending.valid())
        pending.wait();
}

QList<std::shared_ptr<Register>> RegisterDatabase::read() {
    return registersOf(amiga::registerDatabase(), amiga::Chipset::Aga);
}

QList<std::shared_ptr<Register>>
RegisterDatabase::registersOf(const std::vector<amiga::RegisterLayout> &records,
                              amiga::Chipset chipset) {
    QList<std::shared_ptr<Register>> registers;
    registers.reserve(static_cast<qsizetype>(records.size()));
    for (const amiga::RegisterLayout &record : records)
        registers.append(Register::fromLayout(record, chipset));
    return registers;
}
