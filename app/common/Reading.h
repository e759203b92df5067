#pragma once

#include <QObject>

class QThread;

// Waits here for a tool's reading thread, with no event loop of its own (nothing else runs
// meanwhile), then delivers to the tool what the thread's end posted to it: its result, at once.
void waitForReading(QObject *tool, QThread *reader);

// Starts a reading (start), waits for it as above when it runs on a thread (reader, set by
// start), and gives what the tool's finished signal said of it.
template <class Tool, class Start>
bool readAndWait(Tool *tool, void (Tool::*finished)(bool), QThread *const &reader, Start start) {
    bool result = false;
    const QMetaObject::Connection done =
        QObject::connect(tool, finished, tool, [&result](bool said) { result = said; });
    start();
    if (reader)
        waitForReading(tool, reader);
    QObject::disconnect(done);
    return result;
}
